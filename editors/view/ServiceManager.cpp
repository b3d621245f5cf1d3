#include "editors/view/ServiceManager.h"

#include "desktop/view/DesktopStyle.h"
#include "editors/view/EditorStyle.h"
#include "platform/Text.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/dragsource.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/gestureclick.h>

#include <algorithm>
#include <utility>

namespace meridavolt {

namespace {

constexpr int symbolWidth = 26;

Gtk::Label* makeNameLabel(const std::string& name)
{
    auto* label = Gtk::make_managed<Gtk::Label>(name);
    label->set_halign(Gtk::Align::START);
    label->set_hexpand(true);
    label->set_ellipsize(Pango::EllipsizeMode::END);
    label->set_single_line_mode(true);
    return label;
}

Gtk::Label& sectionTitle(Gtk::Label& label)
{
    label.add_css_class("editor-section");
    label.set_halign(Gtk::Align::START);
    return label;
}

}  // namespace

ServiceManager::ServiceManager(AppModel& model)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 0),
      model_(model),
      manager_(model),
      brandLink_(model, ServiceManagerModel::makerHomePage()),
      editorSheet_(*this, [this] { return editing_.has_value() || addingWebsite_; },
                   [this] {
                       editing_.reset();
                       addingWebsite_ = false;
                   })
{
    ensureEditorStyle();
    header_.set_show_title_buttons(false);
    header_.pack_end(done_);
    done_.add_css_class("suggested-action");
    done_.signal_clicked().connect([this] { model_.setManaging(false); });

    for (auto* list : {&mine_, &add_}) {
        list->add_css_class("editor-list");
        list->set_selection_mode(Gtk::SelectionMode::NONE);
        list->set_activate_on_single_click(true);
    }
    column_.set_margin(8);
    column_.append(sectionTitle(mineTitle_));
    column_.append(mine_);
    column_.append(sectionTitle(addTitle_));
    column_.append(add_);
    brandLink_.set_margin_top(12);
    column_.append(brandLink_);
    scroller_.set_child(column_);
    scroller_.set_vexpand(true);
    scroller_.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    append(scroller_);

    mine_.signal_row_activated().connect([this](Gtk::ListBoxRow* row) {
        const auto id = idAt(row);
        if (!id) return;
        for (const auto& service : manager_.services())
            if (service.id == *id) return openEditor(service);
    });
    add_.signal_row_activated().connect([this](Gtk::ListBoxRow* row) {
        const auto index = static_cast<std::size_t>(row->get_index());
        if (index < shownAddable_.size()) manager_.add(shownAddable_[index]);
        else openEditor(std::nullopt);
    });

    installListControllers();
    libraryChanged_ = model_.libraryChanged.connect([this] { rebuildLater_.schedule(); });
    rebuild();
}

ServiceManager::~ServiceManager() { contextMenu_.unparent(); }

void ServiceManager::installListControllers()
{
    // A popover of one plain button rather than a menu model: nothing of it
    // watches actions while the rows beneath it are rebuilt.
    deleteButton_.add_css_class("flat");
    deleteButton_.add_css_class("destructive-action");
    deleteButton_.signal_clicked().connect([this] {
        contextMenu_.popdown();
        if (contextID_) manager_.remove(*contextID_);
    });
    contextMenu_.set_child(deleteButton_);
    contextMenu_.set_has_arrow(false);
    contextMenu_.set_parent(*this);
    // However the menu closes, the keyboard goes back to the row it was for
    // (and from there to a neighbour when "削除" removed that row).
    contextMenu_.signal_closed().connect([this] {
        if (auto* row = rowOf(contextID_)) row->grab_focus();
    });

    auto contextClick = Gtk::GestureClick::create();
    contextClick->set_button(GDK_BUTTON_SECONDARY);
    contextClick->signal_pressed().connect([this, gesture = contextClick.get()](int, double, double y) {
        if (auto* row = mine_.get_row_at_y(int(y))) {
            gesture->set_state(Gtk::EventSequenceState::CLAIMED);
            popupContextMenu(*row);
        }
    });
    mine_.add_controller(contextClick);

    auto keys = Gtk::EventControllerKey::create();
    keys->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType state) {
            auto* row = focusedListRow();
            const auto id = idAt(row);
            if (!id) return false;
            const bool shift = (state & Gdk::ModifierType::SHIFT_MASK) == Gdk::ModifierType::SHIFT_MASK;
            if (key == GDK_KEY_Delete || key == GDK_KEY_KP_Delete) {
                manager_.remove(*id);
                return true;
            }
            if (key == GDK_KEY_Menu || (shift && key == GDK_KEY_F10)) {
                popupContextMenu(*row);
                return true;
            }
            return false;
        },
        false);
    mine_.add_controller(keys);

    drop_ = Gtk::DropTarget::create(Glib::Value<Glib::ustring>::value_type(), Gdk::DragAction::MOVE);
    drop_->signal_motion().connect(
        [this](double, double y) {
            if (auto* row = mine_.get_row_at_y(int(y))) mine_.drag_highlight_row(*row);
            return Gdk::DragAction::MOVE;
        },
        false);
    drop_->signal_leave().connect([this] { mine_.drag_unhighlight_row(); });
    drop_->signal_drop().connect([this](const Glib::ValueBase& value, double, double y) { return dropped(value, y); },
                                 false);
    mine_.add_controller(drop_);
}

SheetFrame ServiceManager::sheetFrame() const
{
    return SheetFrame{ServiceManagerModel::title, 320, 460, 440, 600, std::nullopt};
}

void ServiceManager::rebuild()
{
    // Every save stamps the library; rows are rebuilt only when what they show changed.
    std::vector<ShownRow> rows;
    for (const auto& service : manager_.services())
        rows.push_back(ShownRow{service.id, service.name, service.symbol, service.mode});
    auto addable = manager_.addable();
    if (built_ && rows == shownRows_ && addable == shownAddable_) return;
    if (dragging_) return;  // rebuilt when the drag ends
    built_ = true;
    contextMenu_.popdown();
    const auto keyboardRow = focusedRow();
    while (auto* row = mine_.get_row_at_index(0)) mine_.remove(*row);
    while (auto* row = add_.get_row_at_index(0)) add_.remove(*row);
    shownIDs_.clear();
    for (const auto& row : rows) shownIDs_.push_back(row.id);
    shownRows_ = std::move(rows);
    shownAddable_ = std::move(addable);
    for (const auto& service : manager_.services()) mine_.append(*makeServiceRow(service));
    for (const auto& row : shownAddable_) add_.append(*makeAddRow(row.name, "plus.circle"));
    add_.append(*makeAddRow(ServiceManagerModel::websiteTitle, "globe"));
    if (keyboardRow) giveKeyboardBack(*keyboardRow);
}

Gtk::ListBoxRow* ServiceManager::focusedListRow()
{
    return dynamic_cast<Gtk::ListBoxRow*>(Glib::wrap(gtk_widget_get_focus_child(GTK_WIDGET(mine_.gobj()))));
}

std::optional<ServiceManager::KeyboardRow> ServiceManager::focusedRow()
{
    auto* row = focusedListRow();
    const auto id = idAt(row);
    if (!id) return std::nullopt;
    return KeyboardRow{*id, static_cast<std::size_t>(row->get_index())};
}

void ServiceManager::giveKeyboardBack(const KeyboardRow& place)
{
    // The same service where it is now; when it is gone, the row that took its
    // place, or the one before it at the end of the list.
    Gtk::ListBoxRow* row = rowOf(place.id);
    if (!row && !shownIDs_.empty()) row = mine_.get_row_at_index(int(std::min(place.index, shownIDs_.size() - 1)));
    if (row) row->grab_focus();
}

Gtk::ListBoxRow* ServiceManager::rowOf(const std::optional<std::string>& id)
{
    if (!id) return nullptr;
    auto found = std::find(shownIDs_.begin(), shownIDs_.end(), *id);
    return found == shownIDs_.end() ? nullptr : mine_.get_row_at_index(int(found - shownIDs_.begin()));
}

Gtk::ListBoxRow* ServiceManager::makeServiceRow(const Service& service)
{
    auto* box = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 14);
    auto* symbol = makeSymbolImage(service.symbol, 18);
    symbol->set_size_request(symbolWidth, -1);
    box->append(*symbol);
    box->append(*makeNameLabel(shownName(service.name)));
    if (service.mode == LaunchMode::external) {
        auto* external = makeSymbolImage("arrow.up.right.square");
        external->add_css_class("dim-label");
        box->append(*external);
    }
    auto* chevron = makeSymbolImage("chevron.right", 12);
    chevron->add_css_class("dim-label");
    chevron->set_opacity(0.6);
    box->append(*chevron);

    auto* row = Gtk::make_managed<Gtk::ListBoxRow>();
    row->set_child(*box);
    setAccessibleLabel(*row, service.name);
    installRowDrag(*row, service.id);
    return row;
}

Gtk::ListBoxRow* ServiceManager::makeAddRow(const std::string& title, const std::string& symbol)
{
    auto* box = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 14);
    auto* image = makeSymbolImage(symbol, 16);
    image->set_size_request(symbolWidth, -1);
    image->add_css_class("accent");
    box->append(*image);
    box->append(*makeNameLabel(title));
    auto* row = Gtk::make_managed<Gtk::ListBoxRow>();
    row->set_child(*box);
    setAccessibleLabel(*row, title);
    return row;
}

void ServiceManager::installRowDrag(Gtk::ListBoxRow& row, const std::string& id)
{
    auto source = Gtk::DragSource::create();
    source->set_actions(Gdk::DragAction::MOVE);
    // The dragged row stays until its drag has ended, even when the drop already moved it.
    source->signal_drag_begin().connect([this](const Glib::RefPtr<Gdk::Drag>&) { dragging_ = true; });
    // A drag may end after the sheet is gone (closed while the drop was still
    // being settled): the row's controller outlives this view then.
    source->signal_drag_end().connect([this, alive = std::weak_ptr<bool>(alive_)](const Glib::RefPtr<Gdk::Drag>&, bool) {
        if (alive.expired()) return;
        dragging_ = false;
        rebuildLater_.schedule();
    });
    source->signal_prepare().connect(
        [id](double, double) {
            Glib::Value<Glib::ustring> text;
            text.init(Glib::Value<Glib::ustring>::value_type());
            text.set(id);
            return Gdk::ContentProvider::create(text);
        },
        false);
    row.add_controller(source);
}

bool ServiceManager::dropped(const Glib::ValueBase& value, double y)
{
    mine_.drag_unhighlight_row();
    if (G_VALUE_HOLDS(value.gobj(), Glib::Value<Glib::ustring>::value_type()) == 0) return false;
    Glib::Value<Glib::ustring> text;
    text.init(value.gobj());
    const std::string id = text.get();
    auto source = std::find(shownIDs_.begin(), shownIDs_.end(), id);
    if (source == shownIDs_.end()) return false;
    const auto from = static_cast<std::size_t>(source - shownIDs_.begin());

    // Dropped on a row's upper half: before it; on its lower half or below the rows: after it.
    std::size_t destination = shownIDs_.size();
    if (auto* row = mine_.get_row_at_y(int(y))) {
        double rowX = 0, rowY = 0;
        mine_.translate_coordinates(*row, 0, y, rowX, rowY);
        destination = static_cast<std::size_t>(row->get_index()) + (rowY > row->get_height() / 2.0 ? 1 : 0);
    }
    if (destination == from || destination == from + 1) return true;
    // Changing the library inside the toolkit's drop handling corrupted memory
    // now and then under load: the library and every view of it change once
    // the drop is over.
    droppedMove_ = DroppedMove{id, destination};
    moveLater_.schedule();
    return true;
}

void ServiceManager::moveDropped()
{
    if (!droppedMove_) return;
    const DroppedMove move = *std::exchange(droppedMove_, std::nullopt);
    const auto& services = manager_.services();
    auto found = std::find_if(services.begin(), services.end(), [&](const Service& s) { return s.id == move.id; });
    if (found == services.end() || move.destination > services.size()) return;
    manager_.move({static_cast<std::size_t>(found - services.begin())}, move.destination);
}

std::optional<std::string> ServiceManager::idAt(const Gtk::ListBoxRow* row) const
{
    if (!row || row->get_parent() != &mine_) return std::nullopt;
    const auto index = static_cast<std::size_t>(row->get_index());
    if (index >= shownIDs_.size()) return std::nullopt;
    return shownIDs_[index];
}

void ServiceManager::popupContextMenu(Gtk::ListBoxRow& row)
{
    contextID_ = idAt(&row);
    if (!contextID_) return;
    double x = 0, y = 0;
    row.translate_coordinates(*this, row.get_width() / 2.0, row.get_height() / 2.0, x, y);
    contextMenu_.set_pointing_to(Gdk::Rectangle(int(x), int(y), 1, 1));
    contextMenu_.popup();
    deleteButton_.grab_focus();
}

void ServiceManager::openEditor(std::optional<Service> service)
{
    if (editing_ || addingWebsite_) return;
    if (service) editing_ = std::move(service);
    else addingWebsite_ = true;
    editorSheet_.setContent([this]() -> std::unique_ptr<Gtk::Widget> {
        auto dismiss = [this] { closeEditor(); };
        if (editing_) {
            return std::make_unique<ServiceEditor>(
                editing_, [this](Service edited) { model_.update(std::move(edited)); }, dismiss);
        }
        return std::make_unique<ServiceEditor>(
            std::nullopt, [this](Service added) { model_.add(std::move(added)); }, dismiss);
    });
}

void ServiceManager::closeEditor()
{
    editing_.reset();
    addingWebsite_ = false;
    editorSheet_.update();
}

}  // namespace meridavolt
