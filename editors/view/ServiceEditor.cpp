#include "editors/view/ServiceEditor.h"

#include "desktop/view/DesktopStyle.h"
#include "editors/view/EditorStyle.h"

#include <gtkmm/stringlist.h>

namespace meridavolt {

ServiceEditor::ServiceEditor(std::optional<Service> service, std::function<void(Service)> save,
                             std::function<void()> dismiss)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 8), editor_(std::move(service), std::move(save)),
      dismiss_(std::move(dismiss))
{
    ensureEditorStyle();
    set_margin(16);

    header_.set_show_title_buttons(false);
    header_.pack_start(cancel_);
    header_.pack_end(save_);
    save_.add_css_class("suggested-action");
    cancel_.signal_clicked().connect([this] { dismiss_(); });
    save_.signal_clicked().connect([this] {
        if (editor_.save()) dismiss_();
    });

    nameTitle_.set_halign(Gtk::Align::START);
    name_.set_text(editor_.name);
    setAccessibleLabel(name_, ServiceEditorModel::nameTitle);
    address_.set_text(editor_.address);
    address_.set_placeholder_text(ServiceEditorModel::addressPlaceholder);
    setAccessibleLabel(address_, "URL");
    append(nameTitle_);
    append(name_);
    append(address_);

    mode_.set_model(Gtk::StringList::create({ServiceEditorModel::embeddedTitle, ServiceEditorModel::externalTitle}));
    mode_.set_selected(editor_.mode == LaunchMode::external ? 1 : 0);
    mode_.set_sensitive(editor_.modeEditable());
    mode_.set_hexpand(true);
    setAccessibleLabel(mode_, ServiceEditorModel::modeTitle);
    modeRow_.append(modeTitle_);
    modeRow_.append(mode_);
    modeRow_.set_margin_top(4);
    append(modeRow_);

    hint_.add_css_class("editor-hint");
    hint_.set_halign(Gtk::Align::START);
    hint_.set_wrap(true);
    append(hint_);

    name_.signal_changed().connect([this] {
        editor_.name = name_.get_text();
        refresh();
    });
    address_.signal_changed().connect([this] {
        editor_.address = address_.get_text();
        refresh();
    });
    mode_.property_selected().signal_changed().connect(
        [this] { editor_.mode = mode_.get_selected() == 1 ? LaunchMode::external : LaunchMode::embedded; });
    refresh();
}

SheetFrame ServiceEditor::sheetFrame() const
{
    return SheetFrame{editor_.title(), 320, 280, 440, -1, std::nullopt};
}

void ServiceEditor::refresh()
{
    hint_.set_visible(editor_.showsAddressHint());
    save_.set_sensitive(editor_.valid());
}

}  // namespace meridavolt
