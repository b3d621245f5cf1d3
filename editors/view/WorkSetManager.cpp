#include "editors/view/WorkSetManager.h"

#include "desktop/view/DesktopStyle.h"
#include "editors/view/EditorStyle.h"
#include "platform/Text.h"
#include "platform/gdk/KeyboardReturn.h"
#include "platform/gdk/WidgetStyle.h"

#include <glibmm/main.h>

namespace meridavolt {

WorkSetManager::WorkSetManager(AppModel& model)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 20),
      model_(model),
      manager_(model),
      editorSheet_(*this, [this] { return editing_.has_value(); }, [this] { editing_.reset(); })
{
    ensureEditorStyle();
    set_margin(24);

    heading_.add_css_class("editor-heading");
    spacer_.set_hexpand(true);
    close_.signal_clicked().connect([this] { manager_.close(); });
    header_.append(heading_);
    header_.append(spacer_);
    header_.append(close_);
    append(header_);

    list_.set_valign(Gtk::Align::START);
    scroller_.set_child(list_);
    scroller_.set_vexpand(true);
    scroller_.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::ALWAYS);
    append(scroller_);

    auto* saveRow = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 6);
    saveRow->append(*makeSymbolImage("plus"));
    saveRow->append(*Gtk::make_managed<Gtk::Label>(WorkSetManagerModel::saveCurrentTitle));
    saveCurrent_.set_child(*saveRow);
    saveCurrent_.set_halign(Gtk::Align::START);
    setAccessibleLabel(saveCurrent_, WorkSetManagerModel::saveCurrentTitle);
    saveCurrent_.signal_clicked().connect([this] { openEditor(manager_.currentSet()); });
    append(saveCurrent_);

    caption_.add_css_class("editor-caption");
    caption_.set_halign(Gtk::Align::START);
    caption_.set_wrap(true);
    append(caption_);

    workSetsChanged_ = model_.workSetsChanged.connect([this] { rebuildLater_.schedule(); });
    libraryChanged_ = model_.libraryChanged.connect([this] { saveCurrent_.set_sensitive(manager_.canSaveCurrent()); });
    rebuild();
}

WorkSetManager::~WorkSetManager()
{
    if (confirmation_) confirmation_->set_visible(false);
}

SheetFrame WorkSetManager::sheetFrame() const
{
    return SheetFrame{"作業セット", 310, 420, 540, -1, 620};
}

void WorkSetManager::rebuild()
{
    while (auto* child = list_.get_first_child()) list_.remove(*child);
    rows_.clear();
    for (const auto& set : manager_.sets()) rows_.push_back(makeRow(set));
    saveCurrent_.set_sensitive(manager_.canSaveCurrent());
}

WorkSetManager::Row WorkSetManager::makeRow(const WorkSet& set)
{
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 16);
    row->add_css_class("work-set-row");

    auto* text = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 8);
    auto* name = Gtk::make_managed<Gtk::Label>(shownName(set.name));
    name->add_css_class("editor-set-name");
    name->set_halign(Gtk::Align::START);
    name->set_ellipsize(Pango::EllipsizeMode::END);
    auto* services = Gtk::make_managed<Gtk::Label>(WorkSetManagerModel::summary(set));
    services->add_css_class("editor-caption");
    services->set_halign(Gtk::Align::START);
    services->set_xalign(0);
    services->set_wrap(true);
    services->set_wrap_mode(Pango::WrapMode::WORD_CHAR);
    services->set_lines(2);
    services->set_ellipsize(Pango::EllipsizeMode::END);
    text->append(*name);
    text->append(*services);

    Row widgets;
    widgets.summary = Gtk::make_managed<Gtk::Button>();
    widgets.summary->set_child(*text);
    widgets.summary->add_css_class("flat");
    widgets.summary->add_css_class("work-set-summary");
    widgets.summary->set_hexpand(true);
    setAccessibleLabel(*widgets.summary, set.name);
    widgets.summary->signal_clicked().connect([this, set] { manager_.open(set); });

    widgets.edit = makeSymbolButton("pencil", WorkSetManagerModel::editLabel(shownName(set.name)),
                                    WorkSetManagerModel::editLabel(set.name));
    widgets.edit->remove_css_class("flat");
    widgets.edit->set_valign(Gtk::Align::CENTER);
    widgets.edit->signal_clicked().connect([this, set] { openEditor(set); });
    widgets.remove = makeSymbolButton("trash", WorkSetManagerModel::deleteLabel(shownName(set.name)),
                                      WorkSetManagerModel::deleteLabel(set.name));
    widgets.remove->remove_css_class("flat");
    widgets.remove->set_valign(Gtk::Align::CENTER);
    widgets.remove->signal_clicked().connect([this, set] { askToDelete(set); });

    row->append(*widgets.summary);
    row->append(*widgets.edit);
    row->append(*widgets.remove);
    list_.append(*row);
    return widgets;
}

void WorkSetManager::openEditor(WorkSet set)
{
    if (editing_) return;
    editing_ = std::move(set);
    editorSheet_.setContent([this]() -> std::unique_ptr<Gtk::Widget> {
        if (!editing_) return nullptr;
        return std::make_unique<WorkSetEditor>(model_, *editing_, [this] {
            editing_.reset();
            editorSheet_.update();
        });
    });
}

void WorkSetManager::askToDelete(const WorkSet& set)
{
    auto* window = dynamic_cast<Gtk::Window*>(get_root());
    if (!window || deleting_) return;
    deleting_ = set;
    confirmation_ = std::make_unique<Gtk::MessageDialog>(*window, WorkSetManagerModel::deleteQuestion, false,
                                                         Gtk::MessageType::QUESTION, Gtk::ButtonsType::NONE, true);
    keepOneName(*confirmation_->add_button(WorkSetManagerModel::cancelTitle, Gtk::ResponseType::CANCEL));
    auto* remove = confirmation_->add_button(WorkSetManagerModel::deleteTitle, Gtk::ResponseType::ACCEPT);
    keepOneName(*remove);
    remove->add_css_class("destructive-action");
    confirmation_->set_default_response(Gtk::ResponseType::CANCEL);
    // The handler holds the set chosen when the question opened; the chosen
    // set is forgotten after the action, whatever the answer.
    confirmation_->signal_response().connect([this, chosen = set](int response) {
        if (response == Gtk::ResponseType::ACCEPT) manager_.remove(chosen);
        deleting_.reset();
        closeConfirmation();
    });
    presentTakingKeyboard(*confirmation_);
}

void WorkSetManager::closeConfirmation()
{
    if (!confirmation_) return;
    hideReturningKeyboard(*confirmation_);
    // Destroyed once its response is over.
    auto dialog = std::shared_ptr<Gtk::MessageDialog>(confirmation_.release());
    Glib::signal_idle().connect_once([dialog] {});
}

}  // namespace meridavolt
