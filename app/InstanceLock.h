#pragma once

#include <filesystem>
#include <optional>

namespace meridavolt {

// Keeps two processes from working on the same data folder. A second launch
// normally reaches the running process through the session bus and never
// gets here; without a bus (or with two buses over one home folder) this lock
// is what stops a second process from writing the same files. The lock is an
// advisory lock on a file, released by the system when the process ends,
// however it ends.
class InstanceLock {
public:
    // Takes the lock, creating the file and its folder; none when another
    // process holds it or the file cannot be opened.
    static std::optional<InstanceLock> acquire(const std::filesystem::path& file);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&& other) noexcept;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    // "instance.lock" in the application's data folder.
    static std::filesystem::path defaultFile();

private:
    explicit InstanceLock(int descriptor) : descriptor_(descriptor) {}
    int descriptor_ = -1;
};

}  // namespace meridavolt
