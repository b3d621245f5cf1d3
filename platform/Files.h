#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// Reads a whole file. Returns nothing when the file does not exist; throws
// FileError on any other failure, and when the file is larger than maxBytes
// (only maxBytes + 1 bytes are ever read).
std::optional<std::string> readFileIfExists(const std::filesystem::path& path,
                                            std::size_t maxBytes = static_cast<std::size_t>(-1));

// Replaces the file's content all at once: the bytes go to a temporary file in
// the same folder, are flushed to disk, and the temporary file is renamed over
// the old one. A failure leaves the old file as it was and throws FileError.
// The folder is created first when it is missing.
void writeFileAtomically(const std::filesystem::path& path, const std::string& bytes);

// Removes the temporary files that writeFileAtomically leaves when the process
// is killed mid-write: for each name, the regular files of the folder named
// "." + name + ".meridavolt-save-" and six letters or digits. Nothing else is
// touched. Only for a process that knows no other process writes these files
// right now.
void removeStaleTemporaryFiles(const std::filesystem::path& folder, const std::vector<std::string>& fileNames);

}  // namespace meridavolt
