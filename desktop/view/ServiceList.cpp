#include "desktop/view/ServiceList.h"

#include "desktop/view/DesktopStyle.h"
#include "desktop/view/ServiceButton.h"

#include <gdkmm/frameclock.h>
#include <glib.h>
#include <gtkmm/snapshot.h>

namespace meridavolt {

namespace {

constexpr float highlightRadius = 14;
constexpr float highlightOpacity = 0.08f;

}  // namespace

ServiceList::ServiceList() : Gtk::Box(Gtk::Orientation::VERTICAL, 4) {}

ServiceList::~ServiceList()
{
    if (ticking_) remove_tick_callback(ticking_);
}

void ServiceList::select(const std::optional<std::string>& id)
{
    if (id == selected_) return;
    selected_ = id;
    // The slide starts with the first frame that draws it: opening a service
    // can hold the main loop for longer than the slide lasts, and a slide
    // timed from the change would be over before anything was drawn.
    queue_draw();
}

void ServiceList::place()
{
    std::map<std::string, Rect> frames;
    for (auto* child = get_first_child(); child; child = child->get_next_sibling()) {
        auto* button = dynamic_cast<ServiceButton*>(child);
        if (!button || !child->get_visible()) continue;
        const auto box = child->get_allocation();
        frames[button->service().id] =
            Rect{double(box.get_x()), double(box.get_y()), double(box.get_width()), double(box.get_height())};
    }
    const double time = now();
    motion_.place(frames, selected_, !reduceMotion(), time);
    // Frames are drawn for as long as anything moves.
    if (!ticking_ && motion_.isMoving(time)) {
        ticking_ = add_tick_callback([this](const Glib::RefPtr<Gdk::FrameClock>&) {
            queue_draw();
            if (motion_.isMoving(now())) return true;
            ticking_ = 0;
            return false;
        });
    }
}

void ServiceList::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot)
{
    // The box's layout manager places the buttons without telling the box:
    // every frame drawn after a layout is the first to see where they went.
    place();
    drawHighlight(snapshot);
    const double time = now();
    for (auto* child = get_first_child(); child; child = child->get_next_sibling()) {
        auto* button = dynamic_cast<ServiceButton*>(child);
        const Point offset = button ? motion_.offset(button->service().id, time) : Point{};
        const graphene_point_t shift = GRAPHENE_POINT_INIT(float(offset.x), float(offset.y));
        snapshot->save();
        gtk_snapshot_translate(snapshot->gobj(), &shift);
        snapshot_child(*child, snapshot);
        snapshot->restore();
    }
}

void ServiceList::drawHighlight(const Glib::RefPtr<Gtk::Snapshot>& snapshot)
{
    const auto frame = highlightFrame();
    if (!frame) return;
    Gdk::RGBA colour = get_style_context()->get_color();
    colour.set_alpha(colour.get_alpha() * highlightOpacity);
    const graphene_rect_t bounds =
        GRAPHENE_RECT_INIT(float(frame->x), float(frame->y), float(frame->width), float(frame->height));
    GskRoundedRect shape;
    gsk_rounded_rect_init_from_rect(&shape, &bounds, highlightRadius);
    gtk_snapshot_push_rounded_clip(snapshot->gobj(), &shape);
    gtk_snapshot_append_color(snapshot->gobj(), colour.gobj(), &bounds);
    gtk_snapshot_pop(snapshot->gobj());
}

double ServiceList::now() const
{
    // The frame clock's time, so that every part of a frame agrees on it.
    auto clock = get_frame_clock();
    const gint64 micros = clock ? clock->get_frame_time() : g_get_monotonic_time();
    return double(micros) / 1e6;
}

}  // namespace meridavolt
