#include "model/WebsiteURL.h"

#include "platform/Text.h"
#include "platform/UriAuthority.h"

#include <glib.h>

#include <memory>

namespace meridavolt::WebsiteURL {

namespace {

bool containsWhitespace(std::string_view text)
{
    for (const char* c = text.data(); c < text.data() + text.size(); c = g_utf8_next_char(c)) {
        const char* next = g_utf8_next_char(c);
        if (isBlank(std::string_view(c, static_cast<std::size_t>(next - c)))) return true;
    }
    return false;
}

bool isWebAddress(const std::string& text)
{
    std::unique_ptr<GUri, decltype(&g_uri_unref)> uri(g_uri_parse(text.c_str(), G_URI_FLAGS_NONE, nullptr),
                                                      &g_uri_unref);
    if (!uri) return false;
    const char* scheme = g_uri_get_scheme(uri.get());
    if (!scheme) return false;
    gchar* lowered = g_ascii_strdown(scheme, -1);
    const std::string lowerScheme = lowered;
    g_free(lowered);
    if (lowerScheme != "https" && lowerScheme != "http") return false;

    const char* host = g_uri_get_host(uri.get());
    if (!host || *host == '\0') return false;
    // Any user information, even an empty one before "@", is refused.
    return g_uri_get_userinfo(uri.get()) == nullptr;
}

}  // namespace

std::optional<std::string> parse(std::string_view text)
{
    if (!isValidUTF8(text)) return std::nullopt;
    std::string address = trimWhitespace(text);
    if (address.empty()) return std::nullopt;
    if (containsWhitespace(address)) return std::nullopt;
    if (address.find('\0') != std::string::npos) return std::nullopt;
    if (address.find("://") == std::string::npos) address = "https://" + address;
    if (!hasUnambiguousHost(address) || !isWebAddress(address)) return std::nullopt;
    return address;
}

}  // namespace meridavolt::WebsiteURL
