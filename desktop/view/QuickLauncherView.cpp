#include "desktop/view/QuickLauncherView.h"

#include "clipboard/view/MemoryImage.h"
#include "desktop/view/DesktopStyle.h"
#include "platform/SymbolIcons.h"
#include "platform/Text.h"

#include <glibmm/main.h>
#include <gtkmm/image.h>


namespace meridavolt {

namespace {

// A label that shows its text as typed (no markup, no mnemonic) and never
// asks for more width than the row gives it.
void plainTextLabel(Gtk::Label& label, const std::string& text)
{
    label.set_use_markup(false);
    label.set_use_underline(false);
    label.set_text(text);
    label.set_xalign(0);
    label.set_hexpand(true);
    label.set_max_width_chars(1);
    label.set_ellipsize(Pango::EllipsizeMode::END);
}

void rowButton(Gtk::Button& button, Gtk::Box& content)
{
    button.set_child(content);
    button.set_hexpand(true);
    button.set_halign(Gtk::Align::FILL);
    button.add_css_class("launcher-row");
}

}  // namespace

struct QuickLauncherView::ServiceRow {
    explicit ServiceRow(Service shown) : service(std::move(shown))
    {
        icon.set_from_icon_name(iconNameForSymbol(service.symbol));
        plainTextLabel(name, shownName(service.name));
        box.append(icon);
        box.append(name);
        rowButton(button, box);
        setAccessibleLabel(button, service.name);
    }

    Service service;
    Gtk::Button button;
    Gtk::Box box{Gtk::Orientation::HORIZONTAL, 8};
    Gtk::Image icon;
    Gtk::Label name;
};

struct QuickLauncherView::MemoryRow {
    explicit MemoryRow(launcherSearch::MemoryRow shown) : item(std::move(shown))
    {
        plainTextLabel(text, item.preview());
        text.set_wrap(true);
        text.set_wrap_mode(Pango::WrapMode::WORD_CHAR);
        text.set_lines(2);
        box.set_valign(Gtk::Align::CENTER);
        if (const auto& thumbnail = item.entry().thumbnailData) {
            image.setData(thumbnail, item.entry().id);
            image.set_size_request(thumbnailWidth, thumbnailHeight);
            image.set_valign(Gtk::Align::CENTER);
            box.append(image);
        }
        box.append(text);
        if (item.pinned()) {
            pin.set_from_icon_name(iconNameForSymbol("pin.fill"));
            pin.add_css_class("launcher-pin");
            box.append(pin);
        }
        rowButton(button, box);
        setAccessibleLabel(button, item.preview());
    }

    static constexpr int thumbnailWidth = 48;
    static constexpr int thumbnailHeight = 36;

    launcherSearch::MemoryRow item;
    Gtk::Button button;
    Gtk::Box box{Gtk::Orientation::HORIZONTAL, 8};
    MemoryImage image;
    Gtk::Label text;
    Gtk::Image pin;
};

QuickLauncherView::QuickLauncherView(AppModel& model, LauncherActions actions)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 12), model_(model), actions_(std::move(actions))
{
    ensureDesktopStyle();
    add_css_class("quick-launcher");
    set_margin(16);
    set_size_request(width - 2 * 16, height - 2 * 16);

    search_.set_placeholder_text("サービス・メモリーを検索");
    search_.set_activates_default(false);
    search_.signal_changed().connect([this] { applyQuery(); });
    append(search_);

    list_.append(header(servicesHeader_, "サービス"));
    list_.append(services_);
    list_.append(header(memoryHeader_, "メモリー · 選ぶとコピーして閉じる"));
    list_.append(memory_);
    scroller_.set_child(list_);
    scroller_.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    scroller_.set_vexpand(true);
    append(scroller_);

    append(header(hint_, "コピー後は元のアプリでCtrl+V。Escで閉じる。"));

    auto refresh = [this](bool& stale) {
        stale = true;
        if (get_mapped()) applyQuery();
    };
    connections_.push_back(model_.libraryChanged.connect([this, refresh] { refresh(servicesStale_); }));
    ClipboardStore& clipboard = model_.clipboard();
    connections_.push_back(clipboard.historyChanged.connect([this, refresh] { refresh(memoryStale_); }));
    connections_.push_back(clipboard.pinnedChanged.connect([this, refresh] { refresh(memoryStale_); }));
    applyQuery();
}

QuickLauncherView::~QuickLauncherView() { preparing_.disconnect(); }

Gtk::Label& QuickLauncherView::header(Gtk::Label& label, const char* text)
{
    label.set_text(text);
    label.set_xalign(0);
    label.set_wrap(true);
    label.add_css_class("launcher-caption");
    label.add_css_class("dim-label");
    return label;
}

void QuickLauncherView::focusSearch()
{
    applyQuery();
    search_.grab_focus();
    // Long texts are folded for search while the window comes up, before the
    // first keystroke needs them: one row at a time, so no frame waits long.
    preparing_.disconnect();
    preparing_ = Glib::signal_idle().connect([this, next = std::size_t(0)]() mutable {
        if (next >= memoryRows_.size()) return false;
        memoryRows_[next++]->item.prepareSearch();
        return true;
    });
}

void QuickLauncherView::rebuildServices()
{
    servicesStale_ = false;
    for (auto& row : serviceRows_) services_.remove(row->button);
    serviceRows_.clear();
    for (const auto& service : model_.library().services) {
        auto row = std::make_unique<ServiceRow>(service);
        row->button.signal_clicked().connect([this, service] { actions_.open(service); });
        services_.append(row->button);
        serviceRows_.push_back(std::move(row));
    }
}

void QuickLauncherView::rebuildMemory()
{
    memoryStale_ = false;
    // Rows whose entry is unchanged are kept with their decoded thumbnail.
    std::map<std::string, std::unique_ptr<MemoryRow>> previous;
    for (auto& row : memoryRows_) {
        memory_.remove(row->button);
        const std::string id = row->item.entry().id;
        previous[id] = std::move(row);
    }
    memoryRows_.clear();
    for (auto& item : launcherSearch::memory(model_.clipboard())) {
        auto kept = previous.find(item.entry().id);
        std::unique_ptr<MemoryRow> row;
        if (kept != previous.end() && kept->second->item.pinned() == item.pinned() &&
            kept->second->item.entry() == item.entry()) {
            row = std::move(kept->second);
        } else {
            row = std::make_unique<MemoryRow>(std::move(item));
            row->button.signal_clicked().connect([this, entry = row->item.entry()] {
                model_.clipboard().copy(entry);
                actions_.close();
            });
        }
        memory_.append(row->button);
        memoryRows_.push_back(std::move(row));
    }
}

void QuickLauncherView::applyQuery()
{
    if (servicesStale_) rebuildServices();
    if (memoryStale_) rebuildMemory();
    const launcherSearch::Query query(search_.get_text());
    for (auto& row : serviceRows_) row->button.set_visible(query.matches(row->service.name));
    for (auto& row : memoryRows_) row->button.set_visible(row->item.matches(query));
}

std::vector<std::string> QuickLauncherView::shownServices() const
{
    std::vector<std::string> names;
    for (const auto& row : serviceRows_) {
        if (row->button.get_visible()) names.push_back(row->name.get_text());
    }
    return names;
}

std::size_t QuickLauncherView::shownThumbnails() const
{
    std::size_t count = 0;
    for (const auto& row : memoryRows_) {
        if (row->button.get_visible() && row->image.hasImage() && row->image.get_parent()) ++count;
    }
    return count;
}

std::vector<std::string> QuickLauncherView::shownMemories() const
{
    std::vector<std::string> texts;
    for (const auto& row : memoryRows_) {
        if (row->button.get_visible()) texts.push_back(row->text.get_text());
    }
    return texts;
}

}  // namespace meridavolt
