#include "clipboard/view/ClipboardCloud.h"

#include "clipboard/MemoryShelfModel.h"
#include "clipboard/view/MemoryStyle.h"
#include "platform/SymbolIcons.h"

#include <gtkmm/snapshot.h>

namespace meridavolt {

namespace {

constexpr float cornerRadius = 14;
constexpr GdkRGBA orange(float alpha)
{
    return GdkRGBA{1.0f, 149 / 255.0f, 0.0f, alpha};
}

void setUpCount(Gtk::Label& count)
{
    count.add_css_class("memory-count");
    count.set_valign(Gtk::Align::CENTER);
}

}  // namespace

ClipboardCloud::ClipboardCloud(AppModel& model, ClipboardStore& store, bool compact)
    : model_(model),
      store_(store),
      full_(compact ? nullptr : std::make_unique<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 10)),
      fitting_(full_.get(), short_)
{
    ensureMemoryStyle();
    add_css_class("memory-button");
    add_css_class("flat");
    set_size_request(-1, 44);
    set_valign(Gtk::Align::CENTER);
    set_tooltip_text(memoryButtonTooltip);

    shortSymbol_.set_from_icon_name(iconNameForSymbol("square.on.square"));
    setUpCount(shortCount_);
    short_.set_valign(Gtk::Align::CENTER);
    short_.append(shortSymbol_);
    short_.append(shortCount_);
    if (full_) {
        fullSymbol_.set_from_icon_name(iconNameForSymbol("square.on.square"));
        fullSymbol_.set_pixel_size(18);
        brand_.set_text(memoryBrand);
        brand_.add_css_class("memory-brand");
        brand_.set_single_line_mode(true);
        brand_.set_xalign(0);
        brand_.set_size_request(142, -1);
        setUpCount(fullCount_);
        full_->set_valign(Gtk::Align::CENTER);
        full_->append(fullSymbol_);
        full_->append(brand_);
        full_->append(fullCount_);
    }
    set_child(fitting_);

    signal_clicked().connect([this] { model_.openClipboard(); });
    historyChanged_ = store_.historyChanged.connect([this] { update(); });
    update();
}

void ClipboardCloud::update()
{
    const std::size_t count = store_.history().entries.size();
    shortCount_.set_text(std::to_string(count));
    fullCount_.set_text(std::to_string(count));
    setAccessibleLabel(*this, memoryButtonLabel(count));
}

void ClipboardCloud::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot)
{
    // The card takes the whole button with its padding; the content box the
    // widget's own size gives starts inside the padding.
    graphene_rect_t bounds;
    if (!gtk_widget_compute_bounds(GTK_WIDGET(gobj()), GTK_WIDGET(gobj()), &bounds)) return;
    const float width = bounds.size.width;
    const float height = bounds.size.height;
    if (width <= 0 || height <= 0) return;
    GtkSnapshot* canvas = snapshot->gobj();
    GskRoundedRect shape;
    gsk_rounded_rect_init_from_rect(&shape, &bounds, cornerRadius);

    const GdkRGBA shadow{0, 0, 0, 0.06f};
    gtk_snapshot_append_outset_shadow(canvas, &shape, &shadow, 0, 3, 0, 8);

    // The tilted orange card behind: turned -4 degrees about its centre,
    // 3 points left and 3 down.
    gtk_snapshot_save(canvas);
    const graphene_point_t centre{bounds.origin.x + width / 2 - 3, bounds.origin.y + height / 2 + 3};
    gtk_snapshot_translate(canvas, &centre);
    gtk_snapshot_rotate(canvas, -4);
    const graphene_point_t back{-bounds.origin.x - width / 2, -bounds.origin.y - height / 2};
    gtk_snapshot_translate(canvas, &back);
    gtk_snapshot_push_rounded_clip(canvas, &shape);
    const GdkRGBA tilted = orange(0.14f);
    gtk_snapshot_append_color(canvas, &tilted, &bounds);
    gtk_snapshot_pop(canvas);
    gtk_snapshot_restore(canvas);

    // The card itself, a translucent surface of the theme, outlined in orange.
    Gdk::RGBA surface("white");
    if (!get_style_context()->lookup_color("theme_base_color", surface)) surface.set_rgba(1, 1, 1);
    surface.set_alpha(0.92);
    gtk_snapshot_push_rounded_clip(canvas, &shape);
    gtk_snapshot_append_color(canvas, surface.gobj(), &bounds);
    gtk_snapshot_pop(canvas);
    const float borderWidths[4] = {1, 1, 1, 1};
    const GdkRGBA outline = orange(0.30f);
    const GdkRGBA outlines[4] = {outline, outline, outline, outline};
    gtk_snapshot_append_border(canvas, &shape, borderWidths, outlines);

    Gtk::Button::snapshot_vfunc(snapshot);
}

}  // namespace meridavolt
