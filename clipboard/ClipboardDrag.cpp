#include "clipboard/ClipboardDrag.h"

#include <glib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <memory>

namespace meridavolt {

std::string MemoryDrag::toJSON() const
{
    try {
        return nlohmann::json{{"id", id}, {"text", text}}.dump();
    } catch (const nlohmann::json::exception&) {
        return {};  // invalid UTF-8: the entry can still be dragged out, not moved
    }
}

std::optional<MemoryDrag> MemoryDrag::fromJSON(std::string_view json)
{
    const auto object = nlohmann::json::parse(json, nullptr, false);
    if (!object.is_object()) return std::nullopt;
    auto id = object.find("id");
    auto text = object.find("text");
    if (id == object.end() || text == object.end() || !id->is_string() || !text->is_string()) return std::nullopt;
    return MemoryDrag{id->get<std::string>(), text->get<std::string>()};
}

DragOffer dragProvider(const ClipboardEntry& entry)
{
    DragOffer offer;
    offer.memoryDrag = MemoryDrag{entry.id, entry.text}.toJSON();
    if (entry.imageData) {
        offer.png = entry.imageData;
    } else {
        offer.text = entry.text;
    }
    return offer;
}

bool offersAcceptedType(const std::vector<std::string>& types)
{
    return std::any_of(types.begin(), types.end(), [](const std::string& type) {
        if (type.starts_with("image/")) return true;  // "image/*"
        return std::find(acceptedTypes.begin(), acceptedTypes.end(), type) != acceptedTypes.end();
    });
}

std::optional<std::string> imageType(const std::vector<std::string>& types)
{
    for (const auto& type : types) {
        if (std::find(rasterTypes.begin(), rasterTypes.end(), type) != rasterTypes.end()) return type;
        if (type.starts_with("image/") && type.size() > 6) return type;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> localFilePath(const std::string& uri)
{
    gchar* host = nullptr;
    gchar* path = g_filename_from_uri(uri.c_str(), &host, nullptr);
    std::unique_ptr<gchar, decltype(&g_free)> ownedHost(host, g_free), ownedPath(path, g_free);
    if (!path) return std::nullopt;
    // A file on another machine is only an address here.
    if (host && *host && g_ascii_strcasecmp(host, "localhost") != 0 && g_strcmp0(host, g_get_host_name()) != 0) {
        return std::nullopt;
    }
    return std::filesystem::path(path);
}

}  // namespace meridavolt
