#include "clipboard/ClipboardEntry.h"

#include "platform/Base64.h"
#include "platform/Text.h"
#include "platform/Uuid.h"

#include <glib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace meridavolt {

namespace {

using GCharPointer = std::unique_ptr<gchar, decltype(&g_free)>;

std::optional<std::string> nfc(std::string_view text)
{
    GCharPointer normalized(g_utf8_normalize(text.data(), static_cast<gssize>(text.size()), G_NORMALIZE_NFC), g_free);
    if (!normalized) return std::nullopt;
    return std::string(normalized.get());
}

bool isASCII(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool containsWhitespaceOrControl(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7f;
    }) || trimWhitespace(text).size() != text.size();
}

std::optional<SharedBytes> optionalBytes(const nlohmann::json& object, const char* key)
{
    auto found = object.find(key);
    if (found == object.end() || found->is_null()) return std::nullopt;
    if (!found->is_string()) throw std::invalid_argument(std::string(key) + " is not a string");
    auto bytes = decodeBase64(found->get_ref<const std::string&>());
    if (!bytes) throw std::invalid_argument(std::string(key) + " is not base64");
    return SharedBytes(std::move(*bytes));
}

const nlohmann::json& required(const nlohmann::json& object, const char* key)
{
    auto found = object.find(key);
    if (found == object.end()) throw std::invalid_argument(std::string("missing ") + key);
    return *found;
}

}  // namespace

bool canonicallyEqual(std::string_view a, std::string_view b)
{
    if (a == b) return true;
    if (isASCII(a) && isASCII(b)) return false;
    auto left = nfc(a);
    auto right = nfc(b);
    return left && right && *left == *right;
}

bool operator==(const ClipboardEntry& a, const ClipboardEntry& b)
{
    return a.id == b.id && canonicallyEqual(a.text, b.text) && a.capturedAt == b.capturedAt &&
           a.imageData == b.imageData && a.thumbnailData == b.thumbnailData;
}

std::optional<std::string> ClipboardEntry::webURL() const
{
    if (isImage()) return std::nullopt;
    std::string address = trimWhitespace(text);
    // A link is one address; text around or inside it makes it ordinary text.
    if (address.empty() || containsWhitespaceOrControl(address)) return std::nullopt;
    std::unique_ptr<GUri, decltype(&g_uri_unref)> uri(g_uri_parse(address.c_str(), G_URI_FLAGS_NONE, nullptr),
                                                      g_uri_unref);
    if (!uri) return std::nullopt;
    std::string scheme = g_uri_get_scheme(uri.get());
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    const char* host = g_uri_get_host(uri.get());
    if ((scheme != "http" && scheme != "https") || !host || !*host) return std::nullopt;
    return address;
}

nlohmann::json ClipboardEntry::toJSON() const
{
    nlohmann::json object = {{"id", id}, {"text", text}, {"capturedAt", capturedAt.sinceReferenceDate}};
    if (imageData) object["imageData"] = encodeBase64(imageData->view());
    if (thumbnailData) object["thumbnailData"] = encodeBase64(thumbnailData->view());
    return object;
}

ClipboardEntry ClipboardEntry::fromJSON(const nlohmann::json& object)
{
    if (!object.is_object()) throw std::invalid_argument("entry is not an object");
    const auto& id = required(object, "id");
    const auto& text = required(object, "text");
    const auto& capturedAt = required(object, "capturedAt");
    if (!id.is_string() || !text.is_string() || !capturedAt.is_number()) {
        throw std::invalid_argument("entry field of the wrong type");
    }
    auto canonicalID = canonicalUUID(id.get_ref<const std::string&>());
    if (!canonicalID) throw std::invalid_argument("id is not a UUID");
    ClipboardEntry entry;
    entry.id = *canonicalID;
    entry.text = text.get<std::string>();
    entry.capturedAt = Date{capturedAt.get<double>()};
    entry.imageData = optionalBytes(object, "imageData");
    entry.thumbnailData = optionalBytes(object, "thumbnailData");
    return entry;
}

}  // namespace meridavolt
