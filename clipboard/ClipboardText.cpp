#include "clipboard/ClipboardText.h"

#include "platform/Text.h"

#include <glib.h>

namespace meridavolt {

std::optional<std::string> decodeClipboardText(std::string bytes, const std::string& type, bool oversize)
{
    if (oversize) return bytes;
    while (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    if (isValidUTF8(bytes)) return bytes;
    if (type != "STRING" && type != "text/plain") return std::nullopt;
    gsize written = 0;
    gchar* converted =
        g_convert(bytes.data(), static_cast<gssize>(bytes.size()), "UTF-8", "ISO-8859-1", nullptr, &written, nullptr);
    if (!converted) return std::nullopt;
    std::string text(converted, written);
    g_free(converted);
    return text;
}

namespace {

// Calls `take` with each address until it returns false.
template <typename Take>
void eachURI(std::string_view list, Take take)
{
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find('\n', start);
        if (end == std::string_view::npos) end = list.size();
        std::string line = trimWhitespace(list.substr(start, end - start));
        if (!line.empty() && line.front() != '#' && isValidUTF8(line) && !take(std::move(line))) return;
        start = end + 1;
    }
}

}  // namespace

std::vector<std::string> uriListEntries(std::string_view list)
{
    std::vector<std::string> uris;
    eachURI(list, [&](std::string uri) {
        uris.push_back(std::move(uri));
        return true;
    });
    return uris;
}

std::optional<std::string> firstURI(std::string_view list)
{
    std::optional<std::string> first;
    eachURI(list, [&](std::string uri) {
        first = std::move(uri);
        return false;
    });
    return first;
}

}  // namespace meridavolt
