#pragma once

#include <gtkmm/widget.h>

namespace meridavolt::desktoptest {

// The opacity a widget is drawn with now: that of the first opacity node of
// its render tree, or 1.
inline double drawnOpacity(GskRenderNode* node)
{
    if (!node) return 1;
    switch (gsk_render_node_get_node_type(node)) {
    case GSK_OPACITY_NODE:
        return gsk_opacity_node_get_opacity(node);
    case GSK_TRANSFORM_NODE:
        return drawnOpacity(gsk_transform_node_get_child(node));
    case GSK_DEBUG_NODE:
        return drawnOpacity(gsk_debug_node_get_child(node));
    case GSK_CLIP_NODE:
        return drawnOpacity(gsk_clip_node_get_child(node));
    case GSK_CONTAINER_NODE:
        for (guint i = 0; i < gsk_container_node_get_n_children(node); ++i) {
            const double opacity = drawnOpacity(gsk_container_node_get_child(node, i));
            if (opacity < 1) return opacity;
        }
        return 1;
    default:
        return 1;
    }
}

inline double drawnOpacity(Gtk::Widget& widget)
{
    GtkSnapshot* snapshot = gtk_snapshot_new();
    gtk_widget_snapshot_child(widget.get_parent()->gobj(), widget.gobj(), snapshot);
    GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
    const double opacity = drawnOpacity(node);
    if (node) gsk_render_node_unref(node);
    return opacity;
}

}  // namespace meridavolt::desktoptest
