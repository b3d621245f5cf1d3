#include "web/WebAddress.h"

#include "platform/UriAuthority.h"

#include <glib.h>

#include <memory>

namespace meridavolt::WebAddress {

namespace {

std::string lowered(const char* text)
{
    std::unique_ptr<gchar, decltype(&g_free)> down(g_ascii_strdown(text, -1), &g_free);
    return down.get();
}

}  // namespace

std::optional<std::string> lowercaseScheme(std::string_view address)
{
    const std::string text(address);
    std::unique_ptr<gchar, decltype(&g_free)> scheme(g_uri_parse_scheme(text.c_str()), &g_free);
    if (!scheme) return std::nullopt;
    return lowered(scheme.get());
}

std::optional<std::string> lowercaseHost(std::string_view address)
{
    if (!hasUnambiguousHost(address)) return std::nullopt;
    const std::string text(address);
    std::unique_ptr<GUri, decltype(&g_uri_unref)> uri(g_uri_parse(text.c_str(), G_URI_FLAGS_NONE, nullptr),
                                                      &g_uri_unref);
    if (!uri) return std::nullopt;
    const char* host = g_uri_get_host(uri.get());
    if (!host || *host == '\0') return std::nullopt;
    return lowered(host);
}

bool isWeb(std::string_view address)
{
    auto scheme = lowercaseScheme(address);
    return scheme == "http" || scheme == "https";
}

bool runsScript(std::string_view address)
{
    constexpr std::string_view scheme = "javascript:";
    std::size_t matched = 0;
    for (const char c : address) {
        if (c == '\t' || c == '\n' || c == '\r') continue;
        if (matched == 0 && static_cast<unsigned char>(c) <= 0x20) continue;
        if (g_ascii_tolower(c) != scheme[matched]) return false;
        if (++matched == scheme.size()) return true;
    }
    return false;
}

}  // namespace meridavolt::WebAddress
