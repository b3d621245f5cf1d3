#include "platform/gdk/IdlePreparation.h"

#include "platform/gdk/X11WindowView.h"

#include <gdkmm/frameclock.h>
#include <glibmm/main.h>
#include <gdk/x11/gdkx.h>
#include <gtk/gtk.h>

namespace meridavolt {

IdleAfterFirstFrame::IdleAfterFirstFrame(Gtk::Widget& widget, std::vector<std::function<void()>> steps)
    : widget_(widget), steps_(std::move(steps))
{
    mapped_ = widget_.signal_map().connect([this] { watchFrames(); });
    unmapped_ = widget_.signal_unmap().connect([this] { stop(); });
    if (widget_.get_mapped()) watchFrames();
}

IdleAfterFirstFrame::~IdleAfterFirstFrame()
{
    mapped_.disconnect();
    unmapped_.disconnect();
    stop();
}

void IdleAfterFirstFrame::watchFrames()
{
    stop();
    next_ = 0;
    // After the toolkit's own handler, which draws the window.
    painted_ = widget_.get_frame_clock()->signal_paint().connect(
        [this] {
            painted_.disconnect();
            idle_ = Glib::signal_idle().connect([this] { return runNextStep(); }, Glib::PRIORITY_LOW);
        },
        true);
}

void IdleAfterFirstFrame::stop()
{
    painted_.disconnect();
    idle_.disconnect();
}

bool IdleAfterFirstFrame::runNextStep()
{
    if (next_ < steps_.size()) steps_[next_++]();
    return next_ < steps_.size();
}

void AfterFirstDraw::watch(Gtk::Widget& shown, std::function<void()> drawn, std::function<void()> hidden)
{
    cancel();
    surface_ = gtk_native_get_surface(gtk_widget_get_native(shown.gobj()));
    clock_ = gdk_surface_get_frame_clock(surface_);
    drawn_ = std::move(drawn);
    hidden_ = std::move(hidden);
    framesShown_ = 0;
    g_object_add_weak_pointer(G_OBJECT(surface_), reinterpret_cast<gpointer*>(&surface_));
    handler_ = g_signal_connect(clock_, "after-paint", G_CALLBACK(+[](GdkFrameClock*, gpointer data) {
                                    static_cast<AfterFirstDraw*>(data)->framePainted();
                                }),
                                this);
    // A surface hidden before the server showed it is never drawn: without
    // this the frames asked for below would go on until it is shown again.
    unmapped_ = shown.signal_unmap().connect([this] {
        auto hidden = std::move(hidden_);
        cancel();
        hidden();
    });
    gdk_frame_clock_request_phase(clock_, GDK_FRAME_CLOCK_PHASE_AFTER_PAINT);
}

void AfterFirstDraw::framePainted()
{
    if (!surface_) return cancel();
    const bool shown = !GDK_IS_X11_SURFACE(surface_) || x11desktop::viewable(surface_);
    if (shown && ++framesShown_ == 2) {
        auto drawn = std::move(drawn_);
        cancel();
        drawn();
        return;
    }
    gdk_frame_clock_request_phase(clock_, GDK_FRAME_CLOCK_PHASE_AFTER_PAINT);
}

void AfterFirstDraw::cancel()
{
    if (handler_) g_signal_handler_disconnect(clock_, handler_);
    handler_ = 0;
    clock_ = nullptr;
    unmapped_.disconnect();
    if (surface_) g_object_remove_weak_pointer(G_OBJECT(surface_), reinterpret_cast<gpointer*>(&surface_));
    surface_ = nullptr;
    drawn_ = nullptr;
    hidden_ = nullptr;
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

void forEachInTree(GtkWidget* widget, const std::function<void(GtkWidget*)>& visit)
{
    visit(widget);
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child; child = gtk_widget_get_next_sibling(child)) {
        forEachInTree(child, visit);
    }
}

}  // namespace

void loadIconsAndGlyphs(Gtk::Widget& widget)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 64);
    cairo_t* canvas = cairo_create(surface);
    forEachInTree(widget.gobj(), [canvas](GtkWidget* each) {
        if (GTK_IS_IMAGE(each)) loadIcon(GTK_IMAGE(each));
        if (GTK_IS_LABEL(each)) drawText(GTK_LABEL(each), canvas);
    });
    cairo_destroy(canvas);
    cairo_surface_destroy(surface);
}

}  // namespace meridavolt
