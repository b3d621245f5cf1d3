#pragma once

#include <filesystem>

namespace meridavolt {

// $XDG_DATA_HOME/MERIDAVOLT (default ~/.local/share/MERIDAVOLT): where the
// services, work sets and pins live. Read from the environment on each call,
// so tests can point it elsewhere. The folder is not created here; the first
// save creates it.
std::filesystem::path applicationDataFolder();

// $XDG_CONFIG_HOME/MERIDAVOLT (default ~/.config/MERIDAVOLT): the settings file.
std::filesystem::path applicationConfigFolder();

// $XDG_CACHE_HOME/MERIDAVOLT (default ~/.cache/MERIDAVOLT): caches that can be rebuilt.
std::filesystem::path applicationCacheFolder();

}  // namespace meridavolt
