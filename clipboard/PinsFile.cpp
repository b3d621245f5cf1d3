#include "clipboard/PinsFile.h"

#include "platform/Base64.h"
#include "clipboard/ClipboardHistory.h"
#include "clipboard/ClipboardStore.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/Json.h"

#include <nlohmann/json.hpp>

#include <set>

namespace meridavolt::PinsFile {

namespace {

// Thirty entries of five fields are under two hundred values; a file holding
// far more is damaged, and is refused before its tree costs memory.
constexpr std::size_t maximumValues = 1 + ClipboardHistory::capacity * 16;

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
    // A file over the cap is refused before any of it is read.
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(path, sizeError);
    if (!sizeError && size > ClipboardStore::maximumPinsFileBytes) throw FileError::corruptFile(name);
    auto bytes = readFileIfExists(path, ClipboardStore::maximumPinsFileBytes);
    if (!bytes) return {};

    std::vector<ClipboardEntry> pins;
    try {
        auto list = parseDataFileJSON(*bytes, maximumValues);
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

// Written by hand rather than through a JSON tree: the keys keep the entry's
// field order, and the image bytes (up to 64 MiB of them) are not copied and
// checked character by character once more. Strings and numbers still go
// through the shared encoder, so the output reads like every other data file.
std::string encode(const std::vector<ClipboardEntry>& pins)
{
    std::size_t expected = 2;
    for (const auto& pin : pins) {
        expected += pin.text.size() + 160;
        if (pin.imageData) expected += pin.imageData->size() / 3 * 4 * 9 / 8 + 16;
        if (pin.thumbnailData) expected += pin.thumbnailData->size() / 3 * 4 * 9 / 8 + 16;
    }
    std::string file;
    file.reserve(expected);
    auto appendBytes = [&file](const char* key, const std::optional<SharedBytes>& bytes) {
        if (!bytes) return;
        file += ",\"";
        file += key;
        file += "\":\"";
        // Base64 needs no escaping except the data files' "\/".
        const std::string text = encodeBase64(bytes->view());
        std::size_t start = 0;
        for (std::size_t slash = text.find('/'); slash != std::string::npos; slash = text.find('/', start)) {
            file.append(text, start, slash - start);
            file += "\\/";
            start = slash + 1;
        }
        file.append(text, start);
        file += '"';
    };
    file += '[';
    for (std::size_t i = 0; i < pins.size(); ++i) {
        const ClipboardEntry& pin = pins[i];
        if (i > 0) file += ',';
        file += "{\"id\":" + encodeDataFileJSON(pin.id);
        file += ",\"text\":" + encodeDataFileJSON(pin.text);
        file += ",\"capturedAt\":" + encodeDataFileJSON(pin.capturedAt.sinceReferenceDate);
        appendBytes("imageData", pin.imageData);
        appendBytes("thumbnailData", pin.thumbnailData);
        file += '}';
    }
    file += ']';
    return file;
}

}  // namespace meridavolt::PinsFile
