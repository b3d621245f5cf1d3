#include "update/view/FileChooserSavePanel.h"

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
    auto diskImages = Gtk::FileFilter::create();
    diskImages->set_name("ディスクイメージ");
    diskImages->add_mime_type("application/x-apple-diskimage");
    diskImages->add_suffix("dmg");

    chooser_ = Gtk::FileChooserNative::create("更新を保存", Gtk::FileChooser::Action::SAVE, "保存", "キャンセル");
    if (auto* parent = activeWindow()) chooser_->set_transient_for(*parent);
    chooser_->set_modal(true);
    chooser_->add_filter(diskImages);
    chooser_->set_filter(diskImages);
    chooser_->set_current_name(suggestedName);
    chooser_->signal_response().connect([this, completion = std::move(completion)](int response) {
        std::optional<std::filesystem::path> destination;
        if (response == Gtk::ResponseType::ACCEPT) {
            if (auto file = chooser_->get_file(); file && !file->get_path().empty()) destination = file->get_path();
        }
        // The chooser may go only after its signal has returned.
        Glib::signal_idle().connect_once([chooser = chooser_] {});
        chooser_.reset();
        completion(destination);
    });
    chooser_->show();
}

}  // namespace meridavolt
