#include "clipboard/view/MemoryImage.h"

#include "clipboard/gdk/GdkPixbufImageCodec.h"

#include <gtkmm/snapshot.h>

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace meridavolt {

namespace {

// The history and the pins hold at most 60 entries; room for those and for
// entries that just left, so scrolling the panel never decodes twice.
constexpr std::size_t cacheCapacity = 96;

struct CachedTexture {
    SharedBytes data;
    Glib::RefPtr<Gdk::Texture> texture;  // null: the bytes were refused
    std::uint64_t lastUse = 0;
};

// Main thread only, like every view.
class TextureCache {
public:
    Glib::RefPtr<Gdk::Texture> texture(const SharedBytes& data, const std::string& key)
    {
        ++clock_;
        if (key.empty()) return decoded(data);
        auto found = items_.find(key);
        if (found != items_.end() && found->second.data == data) {
            found->second.lastUse = clock_;
            return found->second.texture;
        }
        if (found == items_.end() && items_.size() >= cacheCapacity) evictOldest();
        items_[key] = CachedTexture{data, decoded(data), clock_};
        return items_[key].texture;
    }

private:
    static Glib::RefPtr<Gdk::Texture> decoded(const SharedBytes& data)
    {
        GdkPixbuf* pixbuf = decodeRasterImage(data.view(), MemoryImage::maximumPixels);
        if (!pixbuf) return {};
        auto texture = Glib::wrap(gdk_texture_new_for_pixbuf(pixbuf));
        g_object_unref(pixbuf);
        return texture;
    }

    void evictOldest()
    {
        auto oldest = std::min_element(items_.begin(), items_.end(), [](const auto& a, const auto& b) {
            return a.second.lastUse < b.second.lastUse;
        });
        if (oldest != items_.end()) items_.erase(oldest);
    }

    std::unordered_map<std::string, CachedTexture> items_;
    std::uint64_t clock_ = 0;
};

TextureCache& cache()
{
    static TextureCache shared;
    return shared;
}

}  // namespace

MemoryImage::MemoryImage(const SharedBytes& data, const std::string& key)
{
    setData(data, key);
}

Glib::RefPtr<Gdk::Texture> MemoryImage::texture(const SharedBytes& data, const std::string& key)
{
    return cache().texture(data, key);
}

void MemoryImage::setData(const std::optional<SharedBytes>& data, const std::string& key)
{
    auto next = data ? texture(*data, key) : Glib::RefPtr<Gdk::Texture>();
    if (next == texture_) return;
    texture_ = next;
    queue_draw();
}

Gtk::SizeRequestMode MemoryImage::get_request_mode_vfunc() const
{
    return Gtk::SizeRequestMode::CONSTANT_SIZE;
}

void MemoryImage::measure_vfunc(Gtk::Orientation, int, int& minimum, int& natural, int& minimumBaseline,
                                int& naturalBaseline) const
{
    // Resizable: the frame its host gives it (a size request, expansion) is
    // the size it draws in; it asks for nothing of its own.
    minimum = natural = 0;
    minimumBaseline = naturalBaseline = -1;
}

void MemoryImage::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot)
{
    const double width = get_width();
    const double height = get_height();
    if (!texture_ || width <= 0 || height <= 0) return;
    const double imageWidth = texture_->get_intrinsic_width();
    const double imageHeight = texture_->get_intrinsic_height();
    if (imageWidth <= 0 || imageHeight <= 0) return;
    const double scale = std::min(width / imageWidth, height / imageHeight);
    const double drawnWidth = imageWidth * scale;
    const double drawnHeight = imageHeight * scale;
    graphene_rect_t bounds = GRAPHENE_RECT_INIT(float((width - drawnWidth) / 2), float((height - drawnHeight) / 2),
                                                float(drawnWidth), float(drawnHeight));
    snapshot->append_texture(texture_, &bounds);
}

}  // namespace meridavolt
