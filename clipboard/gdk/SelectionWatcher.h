#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

typedef struct _GSource GSource;

namespace meridavolt {

// Watches who owns the CLIPBOARD selection of an X11 display, on a connection
// of its own whose socket is watched from the GLib main loop, and asks owners
// for their raw TARGETS list (GTK hides target names without a "/", which is
// how the private marker types are spelled). Main thread only.
class SelectionWatcher {
public:
    using Targets = std::optional<std::vector<std::string>>;

    // Throws std::runtime_error when the display cannot be opened or lacks XFixes.
    explicit SelectionWatcher(const std::string& displayName);
    ~SelectionWatcher();
    SelectionWatcher(const SelectionWatcher&) = delete;
    SelectionWatcher& operator=(const SelectionWatcher&) = delete;

    // Called with the new owner window (0 when the selection was cleared) and
    // the time of the change.
    std::function<void(unsigned long owner, unsigned long time)> ownerChanged;

    unsigned long currentOwner();

    // Asks the owner at `time` for its targets. `done` gets the names, or
    // nothing when the owner refuses or stays silent for `timeoutMilliseconds`.
    // A new request or cancelTargets() drops the pending one without calling it.
    void requestTargets(unsigned long time, unsigned timeoutMilliseconds, std::function<void(Targets)> done);
    void cancelTargets();

private:
    struct Connection;
    void handleEvent(void* event);
    void finishTargets(Targets targets);

    std::unique_ptr<Connection> connection_;
    std::function<void(Targets)> pendingTargets_;
    unsigned timeoutSource_ = 0;
    GSource* watchSource_ = nullptr;
};

}  // namespace meridavolt
