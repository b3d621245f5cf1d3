#pragma once

#include "clipboard/ClipboardEntry.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meridavolt {

// The type that marks an entry dragged inside this process. It never leaves
// the process: the toolkit carries it as a value with no serialiser, so other
// applications see only the PNG or the text of a dragged entry.
inline constexpr const char* memoryDragType = "com.pellowright.meridavolt.memory-entry";

// The image types a drop's image is looked for under first, in this order.
inline constexpr std::array<std::string_view, 6> rasterTypes{"image/png", "image/jpeg", "image/tiff",
                                                             "image/heic", "image/gif", "image/bmp"};

// What a drop target of the memory registers for: the own entries, any image,
// addresses, texts and links, and the raster types.
inline constexpr std::array<std::string_view, 13> acceptedTypes{
    memoryDragType, "image/*", "text/uri-list", "text/plain;charset=utf-8", "UTF8_STRING", "text/plain",
    "text/x-moz-url", rasterTypes[0], rasterTypes[1], rasterTypes[2], rasterTypes[3], rasterTypes[4],
    rasterTypes[5]};

// The file name a receiver that saves a dragged image gives it.
inline constexpr const char* draggedImageName = "PELLOWRI-MEMORY.png";

// The most items one drop stores; later ones are ignored.
inline constexpr std::size_t maximumDropItems = 30;

// The payload of an own entry: its id and its text, as JSON {"id","text"}.
struct MemoryDrag {
    std::string id;
    std::string text;

    std::string toJSON() const;
    // Nothing unless it is an object with the string keys "id" and "text".
    static std::optional<MemoryDrag> fromJSON(std::string_view json);
};

// What dragging an entry offers: the own payload always; an image entry's PNG
// or a text entry's text for other applications.
struct DragOffer {
    std::string memoryDrag;  // JSON; empty when the text could not be encoded
    std::optional<SharedBytes> png;
    std::optional<std::string> text;
};

DragOffer dragProvider(const ClipboardEntry& entry);

// Whether a drop offering these types is taken at all.
bool offersAcceptedType(const std::vector<std::string>& types);

// The first offered type that is an image: a raster type or any "image/…".
std::optional<std::string> imageType(const std::vector<std::string>& types);

// The local path of a file: URI with no host or this machine's; nothing for
// any other address.
std::optional<std::filesystem::path> localFilePath(const std::string& uri);

}  // namespace meridavolt
