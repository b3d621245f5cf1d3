#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace meridavolt {

// Reads an image file the user chose or dropped: a regular file of at most
// maxBytes. Nothing for anything else (folders, devices, pipes, unreadable or
// larger files); never reads more than maxBytes + 1 bytes and never blocks on
// a pipe.
std::optional<std::string> readImageFile(const std::filesystem::path& path, std::size_t maxBytes);

}  // namespace meridavolt
