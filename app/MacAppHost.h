#pragma once

#include "platform/Signal.h"
#include "state/AppModel.h"
#include "update/MacDistribution.h"

#include <functional>
#include <memory>

namespace meridavolt {

// The process-long owner of the update checker and, once the window has
// first been shown, of the one application state. Neither is ever replaced.
class MacAppHost {
public:
    using ModelFactory = std::function<std::unique_ptr<AppModel>()>;

    MacAppHost(std::unique_ptr<MacDistribution> distribution, ModelFactory makeModel);
    ~MacAppHost();
    MacAppHost(const MacAppHost&) = delete;
    MacAppHost& operator=(const MacAppHost&) = delete;

    MacDistribution& distribution() { return *distribution_; }
    // Absent until start() first runs.
    AppModel* model() const { return model_.get(); }

    // Creates the application state unless it exists; later calls change nothing.
    void start();
    // Emitted once, when the state has been created.
    Signal<> modelChanged;

private:
    std::unique_ptr<MacDistribution> distribution_;
    ModelFactory makeModel_;
    std::unique_ptr<AppModel> model_;
};

}  // namespace meridavolt
