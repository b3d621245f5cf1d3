#pragma once

#include "update/DistributionSavePanel.h"

#include <gtkmm.h>

namespace meridavolt {

// The desktop's native save dialog (a portal under sandboxes), offering disk
// images only. It stacks above whichever window of ours is active.
class FileChooserSavePanel final : public DistributionSavePanel {
public:
    void chooseSaveLocation(const std::string& suggestedName, Completion completion) override;

private:
    Glib::RefPtr<Gtk::FileChooserNative> chooser_;
};

}  // namespace meridavolt
