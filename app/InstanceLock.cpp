#include "app/InstanceLock.h"

#include "platform/DataFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <system_error>
#include <utility>

namespace meridavolt {

std::optional<InstanceLock> InstanceLock::acquire(const std::filesystem::path& file)
{
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    // Close-on-exec, so that applications we start never inherit the lock.
    const int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) return std::nullopt;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return std::nullopt;
    }
    return InstanceLock(descriptor);
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept
{
    if (this != &other) {
        if (descriptor_ >= 0) ::close(descriptor_);
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
