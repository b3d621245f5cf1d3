#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace meridavolt {

// Asks the user where to save the disk image.
class DistributionSavePanel {
public:
    using Completion = std::function<void(std::optional<std::filesystem::path>)>;

    virtual ~DistributionSavePanel() = default;
    // Offers only disk images and suggests the name. The completion runs once
    // on the main thread: the chosen path, or nothing when the user cancelled.
    virtual void chooseSaveLocation(const std::string& suggestedName, Completion completion) = 0;
};

}  // namespace meridavolt
