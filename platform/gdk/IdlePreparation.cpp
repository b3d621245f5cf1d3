#include "platform/gdk/IdlePreparation.h"

#include <gdkmm/frameclock.h>
#include <glibmm/main.h>
#include <gtk/gtk.h>

namespace meridavolt {

IdleAfterFirstFrame::IdleAfterFirstFrame(Gtk::Widget& widget, std::vector<std::function<void()>> steps)
    : widget_(widget), steps_(std::move(steps))
{
    if (widget_.get_mapped()) watchFrames();
    else mapped_ = widget_.signal_map().connect([this] { watchFrames(); });
}

IdleAfterFirstFrame::~IdleAfterFirstFrame()
{
    mapped_.disconnect();
    painted_.disconnect();
    idle_.disconnect();
}

void IdleAfterFirstFrame::watchFrames()
{
    mapped_.disconnect();
    // After the toolkit's own handler, which draws the window.
    painted_ = widget_.get_frame_clock()->signal_paint().connect(
        [this] {
            painted_.disconnect();
            idle_ = Glib::signal_idle().connect([this] { return runNextStep(); }, Glib::PRIORITY_LOW);
        },
        true);
}

bool IdleAfterFirstFrame::runNextStep()
{
    if (next_ < steps_.size()) steps_[next_++]();
    return next_ < steps_.size();
}

namespace {

// Loads a named icon of an image as the image will when it is first drawn:
// the theme's index and folders the first time, the picture itself.
void loadIcon(GtkImage* image)
{
    if (gtk_image_get_storage_type(image) != GTK_IMAGE_ICON_NAME) return;
    GtkWidget* widget = GTK_WIDGET(image);
    constexpr int normalIconSize = 16;
    const int size = gtk_image_get_pixel_size(image) > 0 ? gtk_image_get_pixel_size(image) : normalIconSize;
    GtkIconPaintable* icon = gtk_icon_theme_lookup_icon(
        gtk_icon_theme_get_for_display(gtk_widget_get_display(widget)), gtk_image_get_icon_name(image), nullptr, size,
        gtk_widget_get_scale_factor(widget), gtk_widget_get_direction(widget), GtkIconLookupFlags(0));
    GtkSnapshot* snapshot = gtk_snapshot_new();
    gdk_paintable_snapshot(GDK_PAINTABLE(icon), GDK_SNAPSHOT(snapshot), size, size);
    if (GskRenderNode* node = gtk_snapshot_free_to_node(snapshot)) gsk_render_node_unref(node);
    g_object_unref(icon);
}

// Draws a label's text once where nobody sees it, so that its fonts'
// glyphs are rendered before its first frame needs them.
void drawText(GtkLabel* label, cairo_t* canvas)
{
    pango_cairo_show_layout(canvas, gtk_label_get_layout(label));
}

// Realizes a widget and all it holds and loads their icons, as their first
// mapping and drawing would.
void readyTree(GtkWidget* widget, cairo_t* canvas)
{
    gtk_widget_realize(widget);
    if (GTK_IS_IMAGE(widget)) loadIcon(GTK_IMAGE(widget));
    if (GTK_IS_LABEL(widget)) drawText(GTK_LABEL(widget), canvas);
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child; child = gtk_widget_get_next_sibling(child)) {
        readyTree(child, canvas);
    }
}

}  // namespace

void layOutUnshown(Gtk::Widget& widget, int width, int height)
{
    int minimum = 0;
    int natural = 0;
    int minimumBaseline = -1;
    int naturalBaseline = -1;
    widget.measure(Gtk::Orientation::HORIZONTAL, -1, minimum, natural, minimumBaseline, naturalBaseline);
    if (width < 0) width = natural;
    widget.measure(Gtk::Orientation::VERTICAL, width, minimum, natural, minimumBaseline, naturalBaseline);
    if (height < 0) height = natural;
    widget.size_allocate(Gtk::Allocation(0, 0, width, height), -1);

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 64);
    cairo_t* canvas = cairo_create(surface);
    readyTree(widget.gobj(), canvas);
    cairo_destroy(canvas);
    cairo_surface_destroy(surface);
}

}  // namespace meridavolt
