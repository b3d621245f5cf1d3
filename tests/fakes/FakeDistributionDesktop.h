#pragma once

#include "update/DistributionFileViewer.h"
#include "update/DistributionSavePanel.h"

#include <vector>

namespace meridavolt::fakes {

// A save panel that waits for the test to choose or cancel.
class FakeDistributionSavePanel final : public DistributionSavePanel {
public:
    void chooseSaveLocation(const std::string& suggestedName, Completion completion) override
    {
        suggestedNames.push_back(suggestedName);
        pending = std::move(completion);
    }

    bool isOpen() const { return static_cast<bool>(pending); }
    void choose(std::optional<std::filesystem::path> destination)
    {
        auto completion = std::move(pending);
        pending = nullptr;
        completion(std::move(destination));
    }

    std::vector<std::string> suggestedNames;
    Completion pending;
};

// Records the files it was asked to show.
class FakeDistributionFileViewer final : public DistributionFileViewer {
public:
    void revealFile(const std::filesystem::path& file) override { revealed.push_back(file); }
    std::vector<std::filesystem::path> revealed;
};

}  // namespace meridavolt::fakes
