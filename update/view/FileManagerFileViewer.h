#pragma once

#include "update/DistributionFileViewer.h"

namespace meridavolt {

// Asks the desktop's file manager over D-Bus (org.freedesktop.FileManager1
// ShowItems) to show the file selected; without one, opens the folder that
// holds it. Failures are ignored.
class FileManagerFileViewer final : public DistributionFileViewer {
public:
    void revealFile(const std::filesystem::path& file) override;
};

}  // namespace meridavolt
