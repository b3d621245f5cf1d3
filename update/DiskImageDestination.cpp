#include "update/DiskImageDestination.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace meridavolt {

namespace {

constexpr std::string_view diskImageExtension = ".dmg";

bool namesDiskImage(const std::string& name)
{
    if (name.size() < diskImageExtension.size()) return false;
    return std::equal(diskImageExtension.begin(), diskImageExtension.end(), name.end() - diskImageExtension.size(),
                      [](char wanted, char given) { return std::tolower(static_cast<unsigned char>(given)) == wanted; });
}

}  // namespace

DiskImageDestination DiskImageDestination::of(const std::filesystem::path& chosen)
{
    if (namesDiskImage(chosen.filename().string())) return {chosen, false};
    std::filesystem::path completed = chosen;
    completed += diskImageExtension;
    // A link counts as what is there: the atomic write replaces the link itself.
    std::error_code unreadable;
    const bool occupied = std::filesystem::exists(std::filesystem::symlink_status(completed, unreadable));
    return {completed, occupied};
}

std::string replaceQuestion(const std::filesystem::path& path)
{
    return "「" + path.filename().string() + "」はすでに存在します。置き換えますか？";
}

}  // namespace meridavolt
