#include "update/JSONFields.h"

#include "platform/Base64.h"
#include "update/DistributionError.h"

#include <limits>

namespace meridavolt::jsonFields {

namespace {

const nlohmann::json& required(const nlohmann::json& object, const char* key)
{
    auto found = object.find(key);
    if (found == object.end()) throw DistributionDecodingError(std::string("missing key ") + key);
    return *found;
}

}  // namespace

nlohmann::json parseObject(std::string_view json)
{
    nlohmann::json value = nlohmann::json::parse(json, nullptr, false);
    if (value.is_discarded()) throw DistributionDecodingError("not a JSON text");
    if (!value.is_object()) throw DistributionDecodingError("not a JSON object");
    return value;
}

std::string requiredString(const nlohmann::json& object, const char* key)
{
    const auto& value = required(object, key);
    if (!value.is_string()) throw DistributionDecodingError(std::string("not a string: ") + key);
    return value.get<std::string>();
}

std::string requiredBytes(const nlohmann::json& object, const char* key)
{
    auto bytes = decodeBase64(requiredString(object, key));
    if (!bytes) throw DistributionDecodingError(std::string("not base64: ") + key);
    return *bytes;
}

std::int64_t requiredInt64(const nlohmann::json& object, const char* key)
{
    const auto& value = required(object, key);
    if (value.is_number_integer() && !value.is_number_unsigned()) return value.get<std::int64_t>();
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return static_cast<std::int64_t>(number);
        }
    }
    throw DistributionDecodingError(std::string("not a 64-bit integer: ") + key);
}

}  // namespace meridavolt::jsonFields
