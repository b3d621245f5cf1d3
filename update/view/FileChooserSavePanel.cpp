#include "update/view/FileChooserSavePanel.h"

#include "platform/gdk/WidgetStyle.h"
#include "update/DiskImageDestination.h"

namespace meridavolt {

namespace {

Gtk::Window* activeWindow()
{
    for (auto* window : Gtk::Window::list_toplevels()) {
        if (window->is_active()) return window;
    }
    return nullptr;
}

}  // namespace

void FileChooserSavePanel::chooseSaveLocation(const std::string& suggestedName, Completion completion)
{
    open(suggestedName, nullptr, std::move(completion));
}

void FileChooserSavePanel::open(const std::string& suggestedName, const Glib::RefPtr<Gio::File>& folder,
                                Completion completion)
{
    auto diskImages = Gtk::FileFilter::create();
    diskImages->set_name("ディスクイメージ");
    diskImages->add_mime_type("application/x-apple-diskimage");
    diskImages->add_suffix("dmg");

    chooser_ = Gtk::FileChooserNative::create("更新を保存", Gtk::FileChooser::Action::SAVE, "保存", "キャンセル");
    if (auto* parent = activeWindow()) chooser_->set_transient_for(*parent);
    chooser_->set_modal(true);
    chooser_->add_filter(diskImages);
    chooser_->set_filter(diskImages);
    if (folder) chooser_->set_current_folder(folder);
    chooser_->set_current_name(suggestedName);
    chooser_->signal_response().connect([this, completion = std::move(completion)](int response) {
        std::optional<std::filesystem::path> chosen;
        if (response == Gtk::ResponseType::ACCEPT) {
            if (auto file = chooser_->get_file(); file && !file->get_path().empty()) chosen = file->get_path();
        }
        // The chooser may go only after its signal has returned.
        Glib::signal_idle().connect_once([chooser = chooser_] {});
        chooser_.reset();
        if (!chosen) return completion(std::nullopt);
        const auto destination = DiskImageDestination::of(*chosen);
        if (destination.asksBeforeReplacing) return askBeforeReplacing(destination.path, completion);
        completion(destination.path);
    });
    chooser_->show();
}

void FileChooserSavePanel::askBeforeReplacing(const std::filesystem::path& path, Completion completion)
{
    question_ = std::make_unique<Gtk::MessageDialog>(replaceQuestion(path), false,
                                                     Gtk::MessageType::WARNING, Gtk::ButtonsType::NONE, true);
    if (auto* parent = activeWindow()) question_->set_transient_for(*parent);
    question_->set_secondary_text(replaceDetail);
    keepOneName(*question_->add_button("キャンセル", Gtk::ResponseType::CANCEL));
    auto* replace = question_->add_button(replaceButton, Gtk::ResponseType::ACCEPT);
    replace->add_css_class("destructive-action");
    keepOneName(*replace);
    question_->set_default_response(Gtk::ResponseType::CANCEL);
    question_->signal_response().connect([this, path, completion](int response) {
        // Destroyed once its response is over.
        std::shared_ptr<Gtk::MessageDialog> answered(question_.release());
        answered->set_visible(false);
        Glib::signal_idle().connect_once([answered] {});
        if (response == Gtk::ResponseType::ACCEPT) return completion(path);
        open(path.filename().string(), Gio::File::create_for_path(path.parent_path().string()), completion);
    });
    question_->present();
}

}  // namespace meridavolt
