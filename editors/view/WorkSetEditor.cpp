#include "editors/view/WorkSetEditor.h"

#include "desktop/view/DesktopStyle.h"
#include "editors/view/EditorStyle.h"
#include "platform/Text.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/shortcut.h>
#include <gtkmm/shortcutaction.h>
#include <gtkmm/shortcutcontroller.h>
#include <gtkmm/shortcuttrigger.h>

#include <algorithm>

namespace meridavolt {

namespace {

constexpr int addMenuHeight = 320;
// The add menu's own frame and shadow beside its content.
constexpr int addMenuFrame = 24;

}  // namespace

WorkSetEditor::WorkSetEditor(AppModel& model, const WorkSet& original, std::function<void()> dismiss)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 16), editor_(model, original), dismiss_(std::move(dismiss))
{
    ensureEditorStyle();
    set_margin(24);

    title_.add_css_class("editor-heading");
    title_.set_halign(Gtk::Align::START);
    append(title_);

    name_.set_placeholder_text(WorkSetEditorModel::namePlaceholder);
    setAccessibleLabel(name_, WorkSetEditorModel::namePlaceholder);
    name_.set_text(editor_.name);
    name_.signal_changed().connect([this] {
        editor_.name = name_.get_text();
        refresh();
    });
    append(name_);

    scroller_.set_child(list_);
    scroller_.set_vexpand(true);
    scroller_.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    append(scroller_);

    // A popover of plain buttons: service names are shown as typed, never as
    // mnemonics or markup.
    add_.set_label(WorkSetEditorModel::addTitle);
    add_.set_halign(Gtk::Align::START);
    addScroller_.set_child(addBox_);
    // Names take the width they need up to the sheet's: a scroller that never
    // scrolls sideways would ask for no more than an ellipsis.
    addScroller_.set_policy(Gtk::PolicyType::EXTERNAL, Gtk::PolicyType::AUTOMATIC);
    addScroller_.set_max_content_height(addMenuHeight);
    addScroller_.set_propagate_natural_height(true);
    addScroller_.set_propagate_natural_width(true);
    addPopover_.set_child(addScroller_);
    // Opens from the button's start towards the sheet's far side, so that a
    // menu no wider than the sheet's content stays inside the window.
    addPopover_.set_halign(Gtk::Align::START);
    add_.set_popover(addPopover_);
    add_.set_create_popup_func([this] { addScroller_.set_max_content_width(addMenuWidth()); });
    append(add_);

    spacer_.set_hexpand(true);
    bottom_.append(spacer_);
    bottom_.append(cancel_);
    bottom_.append(save_);
    save_.add_css_class("suggested-action");
    cancel_.signal_clicked().connect([this] { dismiss_(); });
    save_.signal_clicked().connect([this] { trySave(); });
    append(bottom_);

    auto keys = Gtk::ShortcutController::create();
    keys->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    // Return saves from anywhere in the sheet, the page fields included, but
    // chooses in the open add menu.
    auto save = Gtk::CallbackAction::create(
        [this](Gtk::Widget&, const Glib::VariantBase&) { return !addPopover_.get_visible() && trySave(); });
    for (guint key : {GDK_KEY_Return, GDK_KEY_KP_Enter})
        keys->add_shortcut(Gtk::Shortcut::create(Gtk::KeyvalTrigger::create(key), save));
    add_controller(keys);

    rebuildRows();
}

SheetFrame WorkSetEditor::sheetFrame() const
{
    return SheetFrame{WorkSetEditorModel::title, 310, 460, 520, 580, 620};
}

bool WorkSetEditor::trySave()
{
    if (!editor_.valid()) return false;
    editor_.save();
    dismiss_();
    return true;
}

void WorkSetEditor::rebuildRows()
{
    const auto keyboard = focusedRowButton();
    while (auto* child = list_.get_first_child()) list_.remove(*child);
    rows_.clear();
    shownIDs_.clear();
    for (const auto& service : editor_.services()) {
        list_.append(*makeRow(service));
        shownIDs_.push_back(service.id);
    }
    rebuildAddChoices();
    refresh();
    if (keyboard) giveKeyboardBack(*keyboard);
}

std::optional<WorkSetEditor::KeyboardButton> WorkSetEditor::focusedRowButton()
{
    auto* focus = get_root() ? get_root()->get_focus() : nullptr;
    if (!focus) return std::nullopt;
    for (std::size_t index = 0; index < shownIDs_.size(); ++index) {
        for (auto which : {RowButton::up, RowButton::down, RowButton::remove})
            if (rowButton(shownIDs_[index], which) == focus) return KeyboardButton{shownIDs_[index], index, which};
    }
    return std::nullopt;
}

void WorkSetEditor::giveKeyboardBack(const KeyboardButton& place)
{
    // The moved service keeps the keyboard, on the other arrow once it reached
    // an end; a removed one hands it to the row that took its place, or to the
    // one before it at the end, and the last one to the add menu.
    std::vector<Gtk::Button*> candidates;
    if (rows_.contains(place.id)) {
        const auto other = place.button == RowButton::up ? RowButton::down : RowButton::up;
        candidates = {rowButton(place.id, place.button), rowButton(place.id, other)};
    } else if (!shownIDs_.empty()) {
        candidates = {rowButton(shownIDs_[std::min(place.index, shownIDs_.size() - 1)], RowButton::remove)};
    }
    for (auto* button : candidates) {
        if (button->get_sensitive()) {
            button->grab_focus();
            return;
        }
    }
    add_.grab_focus();
}

Gtk::Widget* WorkSetEditor::makeRow(const Service& service)
{
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 8);
    row->add_css_class("work-set-editor-row");
    auto* header = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 4);
    // Only what is drawn is cut short; assistive technologies read the whole name.
    const std::string shown = shownName(service.name);
    auto* name = Gtk::make_managed<Gtk::Label>(shown);
    name->add_css_class("editor-service-name");
    name->set_halign(Gtk::Align::START);
    name->set_hexpand(true);
    name->set_ellipsize(Pango::EllipsizeMode::END);
    header->append(*name);

    RowWidgets widgets;
    const std::string id = service.id;
    widgets.up = makeSymbolButton("arrow.up", WorkSetEditorModel::moveUpLabel(shown),
                                  WorkSetEditorModel::moveUpLabel(service.name));
    widgets.down = makeSymbolButton("arrow.down", WorkSetEditorModel::moveDownLabel(shown),
                                    WorkSetEditorModel::moveDownLabel(service.name));
    widgets.remove = makeSymbolButton("minus.circle", WorkSetEditorModel::removeLabel(shown),
                                      WorkSetEditorModel::removeLabel(service.name));
    widgets.up->signal_clicked().connect([this, id] {
        editor_.move(id, -1);
        rebuildLater_.schedule();
    });
    widgets.down->signal_clicked().connect([this, id] {
        editor_.move(id, +1);
        rebuildLater_.schedule();
    });
    widgets.remove->signal_clicked().connect([this, id] {
        editor_.remove(id);
        rebuildLater_.schedule();
    });
    for (auto* button : {widgets.up, widgets.down, widgets.remove}) header->append(*button);
    row->append(*header);

    if (WorkSetEditorModel::hasAddressField(service)) {
        widgets.page = Gtk::make_managed<WholeTextEntry>();
        widgets.page->set_placeholder_text(WorkSetEditorModel::pagePlaceholder);
        setAccessibleLabel(*widgets.page, WorkSetEditorModel::pagePlaceholder);
        widgets.page->set_text(editor_.address(id));
        widgets.page->signal_changed().connect([this, id, entry = widgets.page] {
            editor_.setAddress(id, entry->get_text());
            refresh();
        });
        row->append(*widgets.page);
    }
    // A repeated id shows its rows; the buttons act on the first, as the model does.
    rows_.emplace(id, widgets);
    return row;
}

void WorkSetEditor::rebuildAddChoices()
{
    while (auto* child = addBox_.get_first_child()) addBox_.remove(*child);
    addChoices_.clear();
    for (const auto& service : editor_.available()) {
        auto* choice = Gtk::make_managed<Gtk::Button>(shownName(service.name));
        choice->add_css_class("flat");
        if (auto* label = dynamic_cast<Gtk::Label*>(choice->get_child())) {
            label->set_halign(Gtk::Align::START);
            label->set_ellipsize(Pango::EllipsizeMode::END);
        }
        choice->signal_clicked().connect([this, service] {
            addPopover_.popdown();
            editor_.add(service);
            rebuildLater_.schedule();
        });
        addBox_.append(*choice);
        addChoices_.push_back(choice);
    }
    add_.set_sensitive(!addChoices_.empty());
}

int WorkSetEditor::addMenuWidth() const
{
    // The menu opens at the content's start edge, so it stays inside the
    // sheet when its frame and shadow fit in the sheet's margin.
    return std::max(1, get_width() - addMenuFrame);
}

void WorkSetEditor::refresh()
{
    for (auto& [id, widgets] : rows_) {
        widgets.up->set_sensitive(editor_.canMoveUp(id));
        widgets.down->set_sensitive(editor_.canMoveDown(id));
    }
    save_.set_sensitive(editor_.valid());
}

Gtk::Entry* WorkSetEditor::pageEntry(const std::string& serviceID)
{
    auto found = rows_.find(serviceID);
    return found == rows_.end() ? nullptr : found->second.page;
}

Gtk::Button* WorkSetEditor::rowButton(const std::string& serviceID, RowButton which)
{
    auto found = rows_.find(serviceID);
    if (found == rows_.end()) return nullptr;
    switch (which) {
    case RowButton::up: return found->second.up;
    case RowButton::down: return found->second.down;
    case RowButton::remove: return found->second.remove;
    }
    return nullptr;
}

std::vector<Gtk::Button*> WorkSetEditor::addChoices() { return addChoices_; }

}  // namespace meridavolt
