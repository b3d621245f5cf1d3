#pragma once

#include <gtkmm/native.h>
#include <gtkmm/snapshot.h>
#include <gtkmm/widget.h>
#include <gtkmm/widgetpaintable.h>

#include <vector>

namespace meridavolt::testing {

// A shown widget as its window's renderer draws it, over its whole bounds
// (padding and border included), as premultiplied BGRA.
struct WidgetPicture {
    int width = 0, height = 0;
    std::vector<guchar> bytes;
    const guchar* at(int x, int y) const { return bytes.data() + (y * width + x) * 4; }
    int alpha(int x, int y) const { return at(x, y)[3]; }
};

inline WidgetPicture drawWidget(Gtk::Widget& widget)
{
    graphene_rect_t bounds;
    if (!gtk_widget_compute_bounds(widget.gobj(), widget.gobj(), &bounds)) return {};
    const int width = int(bounds.size.width), height = int(bounds.size.height);
    WidgetPicture picture{width, height, std::vector<guchar>(std::size_t(width) * height * 4)};
    auto snapshot = Gtk::Snapshot::create();
    Gtk::WidgetPaintable::create(widget)->snapshot(snapshot, width, height);
    GskRenderNode* node = gtk_snapshot_free_to_node(GTK_SNAPSHOT(g_object_ref(snapshot->gobj())));
    if (!node) return picture;  // nothing drawn: all transparent
    const graphene_rect_t area = GRAPHENE_RECT_INIT(0, 0, float(width), float(height));
    GdkTexture* texture = gsk_renderer_render_texture(gtk_native_get_renderer(widget.get_native()->gobj()), node, &area);
    gdk_texture_download(texture, picture.bytes.data(), std::size_t(width) * 4);
    g_object_unref(texture);
    gsk_render_node_unref(node);
    return picture;
}

}  // namespace meridavolt::testing
