#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>

namespace meridavolt::jsonFields {

// Decoding helpers for the update records. Each throws
// DistributionDecodingError naming what was wrong.
nlohmann::json parseObject(std::string_view json);
std::string requiredString(const nlohmann::json& object, const char* key);
// A base64 string field, decoded strictly.
std::string requiredBytes(const nlohmann::json& object, const char* key);
// An integer that fits in 64 bits; a fraction such as 1.5 or 1.0 is refused.
std::int64_t requiredInt64(const nlohmann::json& object, const char* key);

}  // namespace meridavolt::jsonFields
