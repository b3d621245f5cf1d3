#pragma once

#include "clipboard/ClipboardStore.h"
#include "clipboard/SharedBytes.h"

#include <gdkmm/texture.h>
#include <gtkmm/widget.h>

#include <optional>
#include <string>

namespace meridavolt {

// Draws an entry's PNG thumbnail scaled to fit, keeping its aspect ratio, in
// the frame its host gives it (a size request or expansion): it asks for no
// size of its own. Bytes that cannot be decoded draw nothing.
class MemoryImage final : public Gtk::Widget {
public:
    // A thumbnail is at most 320 pixels on its longest side. The bytes may come
    // from a pins file, whose 512 KiB thumbnail could declare gigabytes of
    // pixels: anything larger than a thumbnail is refused before decoding.
    static constexpr std::size_t maximumPixels =
        std::size_t(ClipboardStore::thumbnailMaxSide) * ClipboardStore::thumbnailMaxSide;

    MemoryImage() = default;
    // `key` names the entry; views of the same entry share one texture.
    MemoryImage(const SharedBytes& data, const std::string& key);

    void setData(const std::optional<SharedBytes>& data, const std::string& key);
    bool hasImage() const { return bool(texture_); }

    // The decoded texture of an entry's bytes, from the cache when the entry's
    // bytes are unchanged; null when they are no image within the limit.
    static Glib::RefPtr<Gdk::Texture> texture(const SharedBytes& data, const std::string& key);

private:
    Gtk::SizeRequestMode get_request_mode_vfunc() const override;
    void measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural, int& minimumBaseline,
                       int& naturalBaseline) const override;
    void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;

    Glib::RefPtr<Gdk::Texture> texture_;
};

}  // namespace meridavolt
