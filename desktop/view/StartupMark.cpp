#include "desktop/view/StartupMark.h"

#include "desktop/StartupMarkGeometry.h"
#include "desktop/view/DesktopStyle.h"
#include "desktop/view/SwitchMark.h"
#include "model/Catalog.h"
#include "platform/SymbolIcons.h"

#include <gdkmm/frameclock.h>
#include <gtkmm/icontheme.h>
#include <gtkmm/snapshot.h>
#include <gtkmm/stylecontext.h>
#include <pangomm/layout.h>

namespace meridavolt {

namespace {

std::vector<std::string> catalogueSymbols()
{
    std::vector<std::string> symbols;
    for (const auto& service : Catalog::all()) symbols.push_back(service.symbol);
    return symbols;
}

double seconds(std::chrono::milliseconds duration)
{
    return std::chrono::duration<double>(duration).count();
}

}  // namespace

StartupMark::StartupMark(AppModel& model, Scheduler& scheduler)
    : model_(model),
      sequence_(scheduler, catalogueSymbols(),
                StartupSequence::Hooks{[this] { return model_.hasShownStartup(); },
                                       [this] { model_.setHasShownStartup(true); },
                                       [this] { return model_.selectedID().has_value(); }, [] { return reduceMotion(); },
                                       [this] { model_.finishStartup(); },
                                       // Rounded up, so that rounding never makes a wait longer.
                                       [] { return std::chrono::milliseconds((g_get_monotonic_time() + 999) / 1000); }}),
      tileScale_(startup::tileScale(StartupMarkState{}, reduceMotion())),
      taglineBlur_(startup::taglineBlur(StartupMarkState{}, reduceMotion()))
{
    ensureDesktopStyle();
    set_overflow(Gtk::Overflow::HIDDEN);
    set_hexpand(true);
    set_vexpand(true);
    set_can_target(false);
    setAccessibleLabel(*this, "MERIDAVOLT");
    sequenceChanged_ = sequence_.changed.connect(
        [this](StartupChange change, std::chrono::milliseconds duration) { follow(change, duration); });
    signal_map().connect([this] { sequence_.start(); });
    // A hidden window is gone for its user: its animation must not open a
    // service behind their back. Shown again, the mark stands still.
    unmapped_ = signal_unmap().connect([this] { sequence_.cancel(); });
}

StartupMark::~StartupMark()
{
    // The sequence dies with the mark; nothing may be drawn on the way out.
    unmapped_.disconnect();
    sequenceChanged_.disconnect();
    if (tick_) remove_tick_callback(tick_);
}

Gtk::SizeRequestMode StartupMark::get_request_mode_vfunc() const
{
    return Gtk::SizeRequestMode::CONSTANT_SIZE;
}

void StartupMark::measure_vfunc(Gtk::Orientation, int, int& minimum, int& natural, int& minimumBaseline,
                                int& naturalBaseline) const
{
    minimum = 0;
    natural = 0;
    minimumBaseline = naturalBaseline = -1;
}

double StartupMark::now() const
{
    auto clock = const_cast<StartupMark*>(this)->get_frame_clock();
    return clock ? clock->get_frame_time() / 1e6 : g_get_monotonic_time() / 1e6;
}

void StartupMark::follow(StartupChange change, std::chrono::milliseconds duration)
{
    const auto& state = sequence_.state();
    const bool still = reduceMotion();
    const double time = now();
    switch (change) {
    case StartupChange::arrived:
        tileScale_.animate(startup::tileScale(state, still), seconds(duration), time);
        break;
    case StartupChange::captionVisible:
        tileRise_.animate(state.captionVisible ? 108 : 0, seconds(duration), time);
        taglineOpacity_.animate(startup::taglineOpacity(state), seconds(duration), time);
        taglineBlur_.animate(startup::taglineBlur(state, still), seconds(duration), time);
        break;
    case StartupChange::flashingSymbol:
        break;
    }
    keepTicking();
    queue_draw();
}

void StartupMark::keepTicking()
{
    if (tick_) return;
    tick_ = add_tick_callback([this](const Glib::RefPtr<Gdk::FrameClock>& clock) {
        const double time = clock->get_frame_time() / 1e6;
        queue_draw();
        if (tileScale_.isAnimating(time) || tileRise_.isAnimating(time) || taglineOpacity_.isAnimating(time) ||
            taglineBlur_.isAnimating(time))
            return true;
        tick_ = 0;
        return false;
    });
}

void StartupMark::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot)
{
    const double width = get_width();
    const double height = get_height();
    if (width <= 0 || height <= 0) return;
    const double time = now();
    drawTagline(snapshot, width, height, time);
    drawTile(snapshot, width, height, time);
}

void StartupMark::drawTile(const Glib::RefPtr<Gtk::Snapshot>& snapshot, double width, double height, double time)
{
    using namespace startup;
    const auto& symbol = sequence_.state().flashingSymbol;
    const bool showSymbol = symbol && !reduceMotion();
    const double scale = tileScale_.value(time);
    const Point centre{width / 2, height / 2 - tileRise_.value(time)};

    // The tile is drawn at its scaled size rather than scaled afterwards, so it stays sharp.
    const double side = tileSide * scale;
    const Rect tile{centre.x - side / 2, centre.y - side / 2, side, side};
    graphene_rect_t bounds = GRAPHENE_RECT_INIT(0, 0, float(width), float(height));
    {
        auto context = snapshot->append_cairo(&bounds);
        drawLogoTile(context, tile, tileCornerRadius * scale, tileLogoPadding * scale, !showSymbol);
    }
    if (!showSymbol) return;

    auto theme = Gtk::IconTheme::get_for_display(get_display());
    const int pixels = int(flashingSymbolSize * scale);
    auto icon = theme->lookup_icon(iconNameForSymbol(*symbol), pixels, 1);
    snapshot->save();
    graphene_point_t corner{float(centre.x - pixels / 2.0), float(centre.y - pixels / 2.0)};
    gtk_snapshot_translate(snapshot->gobj(), &corner);
    const GdkRGBA white{1, 1, 1, 1};
    gtk_symbolic_paintable_snapshot_symbolic(GTK_SYMBOLIC_PAINTABLE(icon->gobj()), snapshot->gobj(), pixels, pixels,
                                             &white, 1);
    snapshot->restore();
}

void StartupMark::drawTagline(const Glib::RefPtr<Gtk::Snapshot>& snapshot, double width, double height, double time)
{
    using namespace startup;
    const double opacity = taglineOpacity_.value(time);
    if (opacity <= 0.001) return;
    const double blur = taglineBlur_.value(time);
    const double frameWidth = taglineWidth(width);

    auto layout = create_pango_layout(tagline);
    layout->set_alignment(Pango::Alignment::CENTER);
    layout->set_spacing(int(taglineLineSpacing * PANGO_SCALE));
    Pango::FontDescription font;
    font.set_family("sans-serif");
    font.set_weight(Pango::Weight::HEAVY);
    font.set_absolute_size(taglineFontSize(width) * PANGO_SCALE);
    layout->set_font_description(font);
    int textWidth = 0, textHeight = 0;
    layout->get_pixel_size(textWidth, textHeight);
    // Too wide a tagline shrinks, down to four fifths of its size.
    if (textWidth > frameWidth) {
        font.set_absolute_size(taglineFontSize(width) * std::max(0.8, frameWidth / textWidth) * PANGO_SCALE);
        layout->set_font_description(font);
        layout->get_pixel_size(textWidth, textHeight);
    }

    const Point centre = taglineCentre(Size{width, height});
    snapshot->push_opacity(opacity);
    if (blur > 0.01) snapshot->push_blur(blur);
    snapshot->save();
    graphene_point_t origin{float(centre.x - textWidth / 2.0), float(centre.y - textHeight / 2.0)};
    gtk_snapshot_translate(snapshot->gobj(), &origin);
    snapshot->append_layout(layout, get_style_context()->get_color());
    snapshot->restore();
    if (blur > 0.01) snapshot->pop();
    snapshot->pop();
}

}  // namespace meridavolt
