#pragma once

#include "update/DistributionSavePanel.h"

#include <gtkmm.h>

#include <memory>

namespace meridavolt {

// The desktop's native save dialog (a portal under sandboxes), offering disk
// images only. It stacks above whichever window of ours is active. A name
// typed without ".dmg" is saved with it, after asking when that would replace
// a file; declining returns to the dialog.
class FileChooserSavePanel final : public DistributionSavePanel {
public:
    void chooseSaveLocation(const std::string& suggestedName, Completion completion) override;

    // The question open before a file is replaced, or null.
    Gtk::MessageDialog* questionDialog() { return question_.get(); }

private:
    void open(const std::string& suggestedName, const Glib::RefPtr<Gio::File>& folder, Completion completion);
    void askBeforeReplacing(const std::filesystem::path& path, Completion completion);

    Glib::RefPtr<Gtk::FileChooserNative> chooser_;
    std::unique_ptr<Gtk::MessageDialog> question_;
};

}  // namespace meridavolt
