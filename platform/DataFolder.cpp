#include "platform/DataFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace meridavolt {

namespace {

constexpr const char* applicationFolderName = "MERIDAVOLT";

std::filesystem::path homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/tmp";
}

// The XDG base-directory rule: an absolute path from the variable, else the default below home.
std::filesystem::path xdgFolder(const char* variable, const char* fallbackBelowHome)
{
    if (const char* value = std::getenv(variable); value && *value == '/') return value;
    return homeFolder() / fallbackBelowHome;
}

}  // namespace

std::filesystem::path applicationDataFolder()
{
    return xdgFolder("XDG_DATA_HOME", ".local/share") / applicationFolderName;
}

std::filesystem::path applicationConfigFolder()
{
    return xdgFolder("XDG_CONFIG_HOME", ".config") / applicationFolderName;
}

std::filesystem::path applicationCacheFolder()
{
    return xdgFolder("XDG_CACHE_HOME", ".cache") / applicationFolderName;
}

}  // namespace meridavolt
