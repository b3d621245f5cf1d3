#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <optional>

namespace meridavolt {

// Reads and parses a data file without ever writing to it. None when the file
// does not exist; a read failure throws FileError, text that is not JSON (or
// not UTF-8) throws DecodingError. There is no size limit.
std::optional<nlohmann::json> readDataFile(const std::filesystem::path& path);

// Encodes and atomically writes a data file. Content that has no JSON form
// (EncodingError, or text that is not UTF-8) is refused with FileError
// fileWriteInvalidFileName before the disk is touched.
void writeDataFile(const std::filesystem::path& path, const std::function<nlohmann::json()>& encode);

}  // namespace meridavolt
