#include "clipboard/gdk/GdkDrops.h"

#include "clipboard/ClipboardDrag.h"
#include "clipboard/ClipboardHistory.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/ClipboardText.h"
#include "clipboard/gdk/BoundedClipboardRead.h"

#include <gdk/gdk.h>

#include <algorithm>
#include <array>
#include <chrono>

namespace meridavolt {

namespace {

constexpr std::chrono::milliseconds readTimeout{3000};
constexpr std::size_t maximumURIListBytes = 1024 * 1024;
// Text types in order of preference; the link type last.
constexpr std::array<const char*, 4> textTypes{"text/plain;charset=utf-8", "UTF8_STRING", "text/plain",
                                               "text/x-moz-url"};

using Items = std::vector<std::shared_ptr<DropItem>>;
using Done = std::function<void(Items)>;

// One drop being read: the ways are tried in order, each read only when the
// ones before gave nothing.
struct DropRead {
    DropRead(GdkDrop* dropped, Done finished)
        : drop(GDK_DROP(g_object_ref(dropped))), types(dropTypes(dropped)), done(std::move(finished))
    {
    }
    ~DropRead() { g_object_unref(drop); }
    DropRead(const DropRead&) = delete;
    DropRead& operator=(const DropRead&) = delete;

    GdkDrop* drop;
    std::vector<std::string> types;
    Done done;

    bool offers(std::string_view type) const { return std::find(types.begin(), types.end(), type) != types.end(); }
};
using Read = std::shared_ptr<DropRead>;

void readImage(const Read& read);
void readAddresses(const Read& read);
void readText(const Read& read);

std::shared_ptr<DropItem> item(std::string type, std::optional<std::string> data, std::optional<std::string> text)
{
    std::map<std::string, std::string> representations;
    if (data) representations.emplace(type, std::move(*data));
    return std::make_shared<LoadedDropItem>(std::vector<std::string>{std::move(type)}, std::move(representations),
                                            std::move(text));
}

// A browser's link: UTF-16 (or UTF-8), its address, then its title on the next line.
std::optional<std::string> linkAddress(const std::string& bytes)
{
    std::optional<std::string> text;
    if (bytes.find('\0') == std::string::npos) {
        text = decodeClipboardText(bytes, "text/x-moz-url", false);
    } else {
        gsize written = 0;
        gchar* converted = g_convert(bytes.data(), static_cast<gssize>(bytes.size() & ~std::size_t(1)), "UTF-8",
                                     "UTF-16LE", nullptr, &written, nullptr);
        if (converted) text = std::string(converted, written);
        g_free(converted);
    }
    if (!text) return text;
    if (text->starts_with("\xEF\xBB\xBF")) text->erase(0, 3);  // a byte-order mark
    return text->substr(0, text->find('\n'));
}

void readOwnEntry(const Read& read)
{
    // Only a drag of this process can carry the value; another client's
    // drop never has it, but trust is checked, not assumed.
    if (!gdk_drop_get_drag(read->drop) ||
        !gdk_content_formats_contain_gtype(gdk_drop_get_formats(read->drop), memoryDragGType())) {
        return readImage(read);
    }
    gdk_drop_read_value_async(
        read->drop, memoryDragGType(), G_PRIORITY_DEFAULT, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<Read> share(static_cast<Read*>(data));
            const GValue* value = gdk_drop_read_value_finish(GDK_DROP(source), result, nullptr);
            auto* json = value ? static_cast<const std::string*>(g_value_get_boxed(value)) : nullptr;
            if (!json || json->empty()) return readImage(*share);
            (*share)->done({item(memoryDragType, *json, std::nullopt)});
        },
        new Read(read));
}

void readImage(const Read& read)
{
    const auto type = imageType(read->types);
    if (!type) return readAddresses(read);
    readDropBounded(read->drop, *type, ClipboardStore::maximumInputImageBytes, readTimeout,
                    [read, type](std::optional<ClipboardBytes> bytes) {
                        // An oversize image is handed on capped: the store says it is too large.
                        if (!bytes || bytes->bytes.empty()) return readAddresses(read);
                        read->done({item(*type, std::move(bytes->bytes), std::nullopt)});
                    });
}

void readAddresses(const Read& read)
{
    if (!read->offers("text/uri-list")) return readText(read);
    readDropBounded(read->drop, "text/uri-list", maximumURIListBytes, readTimeout,
                    [read](std::optional<ClipboardBytes> bytes) {
                        if (!bytes || bytes->oversize) return readText(read);
                        Items items;
                        for (auto& uri : uriListEntries(bytes->bytes)) {
                            // Only as many as a drop stores: a list of 10,000 builds 30.
                            if (items.size() == maximumDropItems) break;
                            items.push_back(item("text/uri-list", uri, uri));
                        }
                        if (items.empty()) return readText(read);
                        read->done(std::move(items));
                    });
}

void readText(const Read& read)
{
    auto type = std::find_if(textTypes.begin(), textTypes.end(), [&](const char* t) { return read->offers(t); });
    if (type == textTypes.end()) return read->done({});
    const std::string chosen = *type;
    readDropBounded(read->drop, chosen, ClipboardHistory::maximumUTF8Bytes, readTimeout,
                    [read, chosen](std::optional<ClipboardBytes> bytes) {
                        if (!bytes) return read->done({});
                        auto text = chosen == "text/x-moz-url"
                                        ? linkAddress(bytes->bytes)
                                        : decodeClipboardText(std::move(bytes->bytes), chosen, bytes->oversize);
                        read->done({item(chosen, std::nullopt, std::move(text))});
                    });
}

}  // namespace

GType memoryDragGType()
{
    static const GType type = g_boxed_type_register_static(
        "MeridavoltMemoryDrag",
        [](gpointer json) -> gpointer { return new std::string(*static_cast<std::string*>(json)); },
        [](gpointer json) { delete static_cast<std::string*>(json); });
    return type;
}

std::vector<std::string> dropTypes(GdkDrop* drop)
{
    GdkContentFormats* formats = gdk_drop_get_formats(drop);
    gsize count = 0;
    const char* const* mimeTypes = gdk_content_formats_get_mime_types(formats, &count);
    std::vector<std::string> types(mimeTypes, mimeTypes + count);
    if (gdk_drop_get_drag(drop) && gdk_content_formats_contain_gtype(formats, memoryDragGType())) {
        types.insert(types.begin(), memoryDragType);
    }
    return types;
}

void readDropItems(GdkDrop* drop, std::function<void(std::vector<std::shared_ptr<DropItem>>)> done)
{
    readOwnEntry(std::make_shared<DropRead>(drop, std::move(done)));
}

}  // namespace meridavolt
