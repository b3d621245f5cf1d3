#pragma once

#include <filesystem>

namespace meridavolt {

// Shows a saved file selected in the desktop's file manager. Best effort:
// failures are ignored.
class DistributionFileViewer {
public:
    virtual ~DistributionFileViewer() = default;
    virtual void revealFile(const std::filesystem::path& file) = 0;
};

}  // namespace meridavolt
