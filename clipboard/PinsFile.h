#pragma once

#include "clipboard/ClipboardEntry.h"

#include <filesystem>
#include <string>
#include <vector>

namespace meridavolt {

// The pins file, pinned-memory.json: a JSON array of entries, newest pin first.
namespace PinsFile {

// Reads the pins; an absent file gives none. Throws FileError on a read
// failure, and fileReadCorruptFile when the content is not a valid list of at
// most 30 entries with unique ids within the entry and image limits.
std::vector<ClipboardEntry> load(const std::filesystem::path& path);

// The file's bytes for these pins. Throws when a text is not valid UTF-8.
std::string encode(const std::vector<ClipboardEntry>& pins);

}  // namespace PinsFile

}  // namespace meridavolt
