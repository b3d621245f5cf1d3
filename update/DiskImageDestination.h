#pragma once

#include <filesystem>
#include <string>

namespace meridavolt {

// Where a name chosen in the save panel is saved. Only disk images are saved,
// so a name typed without ".dmg" gets it. The panel has asked about replacing
// only the name it was given: a file that the completed name would replace is
// still to be asked about.
struct DiskImageDestination {
    std::filesystem::path path;
    bool asksBeforeReplacing = false;

    static DiskImageDestination of(const std::filesystem::path& chosen);
};

// The question asked before an existing file is replaced, and its detail.
std::string replaceQuestion(const std::filesystem::path& path);
inline constexpr const char* replaceDetail = "置き換えると、今の内容は上書きされます。";
inline constexpr const char* replaceButton = "置き換える";

}  // namespace meridavolt
