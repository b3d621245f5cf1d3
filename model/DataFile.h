#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>

namespace meridavolt {

// The largest services or work-sets file read or written: far beyond any
// library a person builds, and small enough that reading it stays quick.
inline constexpr std::size_t maximumDataFileBytes = 4 * 1024 * 1024;

// Reads and parses a data file without ever writing to it. None when the file
// does not exist; a read failure, or a file over maximumDataFileBytes, throws
// FileError; text that is not JSON (or not UTF-8), or that goes past the
// reader's nesting and value limits (parseDataFileJSON), throws DecodingError.
std::optional<nlohmann::json> readDataFile(const std::filesystem::path& path);

// Encodes and atomically writes a data file. Content that has no JSON form
// (EncodingError, or text that is not UTF-8), or whose file the reader would
// refuse as too large, is refused with FileError fileWriteInvalidFileName
// before the disk is touched.
void writeDataFile(const std::filesystem::path& path, const std::function<nlohmann::json()>& encode);

}  // namespace meridavolt
