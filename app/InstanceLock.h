#pragma once

#include <filesystem>

namespace meridavolt {

// Keeps two processes from working on the same data folder. A second launch
// normally reaches the running process through the session bus and never
// gets here; without a bus (or with two buses over one home folder) this lock
// is what stops a second process from writing the same files. The lock is an
// advisory lock on a file, released by the system when the process ends,
// however it ends.
class InstanceLock {
public:
    enum class State {
        held,
        // Another process holds it: this one must not work on the folder.
        heldByAnotherProcess,
        // The lock file cannot be opened or locked (a read-only or unusable
        // folder): no other process is known, so the program still starts.
        unavailable,
    };

    // Takes the lock, creating the file and its folder when it can.
    static InstanceLock acquire(const std::filesystem::path& file);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&& other) noexcept;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    State state() const { return state_; }

    // "instance.lock" in the application's data folder.
    static std::filesystem::path defaultFile();

private:
    InstanceLock(State state, int descriptor) : state_(state), descriptor_(descriptor) {}
    State state_;
    int descriptor_ = -1;
};

}  // namespace meridavolt
