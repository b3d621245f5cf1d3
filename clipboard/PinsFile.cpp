#include "clipboard/PinsFile.h"

#include "clipboard/ClipboardHistory.h"
#include "clipboard/ClipboardStore.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/Json.h"

#include <nlohmann/json.hpp>

#include <set>

namespace meridavolt::PinsFile {

namespace {

bool withinLimits(const std::vector<ClipboardEntry>& pins)
{
    if (pins.size() > ClipboardHistory::capacity) return false;
    std::set<std::string> ids;
    std::size_t imageBytes = 0;
    for (const auto& pin : pins) {
        if (!ids.insert(pin.id).second) return false;
        if (pin.text.size() > ClipboardHistory::maximumUTF8Bytes) return false;
        if (pin.imageData && pin.imageData->size() > ClipboardHistory::maximumImageBytes) return false;
        if (pin.thumbnailData && pin.thumbnailData->size() > ClipboardHistory::maximumThumbnailBytes) return false;
        imageBytes += pin.imageData ? pin.imageData->size() : 0;
    }
    return imageBytes <= ClipboardHistory::maximumTotalImageBytes;
}

}  // namespace

std::vector<ClipboardEntry> load(const std::filesystem::path& path)
{
    const std::string name = path.filename().string();
    auto bytes = readFileIfExists(path, ClipboardStore::maximumPinsFileBytes);
    if (!bytes) return {};

    std::vector<ClipboardEntry> pins;
    try {
        auto list = nlohmann::json::parse(*bytes);
        if (!list.is_array()) throw FileError::corruptFile(name);
        for (const auto& object : list) pins.push_back(ClipboardEntry::fromJSON(object));
    } catch (const nlohmann::json::exception&) {
        throw FileError::corruptFile(name);
    } catch (const std::invalid_argument&) {
        throw FileError::corruptFile(name);
    }
    if (!withinLimits(pins)) throw FileError::corruptFile(name);
    return pins;
}

std::string encode(const std::vector<ClipboardEntry>& pins)
{
    nlohmann::json list = nlohmann::json::array();
    for (const auto& pin : pins) list.push_back(pin.toJSON());
    return encodeDataFileJSON(list);
}

}  // namespace meridavolt::PinsFile
