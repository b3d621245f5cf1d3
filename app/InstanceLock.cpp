#include "app/InstanceLock.h"

#include "platform/DataFolder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <system_error>
#include <utility>

namespace meridavolt {

InstanceLock InstanceLock::acquire(const std::filesystem::path& file)
{
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    // Close-on-exec, so that applications we start never inherit the lock.
    int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // A lock needs no write access: in a read-only folder the file left by an
    // earlier run still tells whether another process is at work.
    if (descriptor < 0) descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return InstanceLock(State::unavailable, -1);
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const State state = errno == EWOULDBLOCK ? State::heldByAnotherProcess : State::unavailable;
        ::close(descriptor);
        return InstanceLock(state, -1);
    }
    return InstanceLock(State::held, descriptor);
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept
    : state_(std::exchange(other.state_, State::unavailable)), descriptor_(std::exchange(other.descriptor_, -1))
{
}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept
{
    if (this != &other) {
        if (descriptor_ >= 0) ::close(descriptor_);
        state_ = std::exchange(other.state_, State::unavailable);
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

InstanceLock::~InstanceLock()
{
    if (descriptor_ >= 0) ::close(descriptor_);
}

std::filesystem::path InstanceLock::defaultFile() { return applicationDataFolder() / "instance.lock"; }

}  // namespace meridavolt
