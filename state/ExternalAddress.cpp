#include "state/ExternalAddress.h"

#include <glib.h>

#include <algorithm>
#include <array>

namespace meridavolt {

namespace {

// Schemes that name places on this machine or its file shares, or that carry
// content a handler would run.
constexpr std::array<std::string_view, 30> localSchemes{
    "file",    "data",     "javascript", "vbscript", "about",  "blob",  "filesystem", "resource",
    "view-source", "trash", "recent",    "computer", "network", "burn", "admin",      "archive",
    "x-nautilus-desktop", "smb", "sftp", "ftp",     "ftps",    "dav",   "davs",       "nfs",
    "afp",     "afc",      "mtp",        "gphoto2",  "cdda",   "google-drive"};

}  // namespace

std::optional<std::string> addressScheme(std::string_view url)
{
    const std::string text(url);
    const char* scheme = g_uri_peek_scheme(text.c_str());
    if (!scheme) return std::nullopt;
    return std::string(scheme);
}

bool mayOpenOutside(std::string_view url)
{
    auto scheme = addressScheme(url);
    if (!scheme) return false;
    return std::find(localSchemes.begin(), localSchemes.end(), *scheme) == localSchemes.end();
}

}  // namespace meridavolt
