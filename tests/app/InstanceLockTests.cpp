#include "app/InstanceLock.h"

#include "fakes/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace meridavolt {
namespace {

// Whether another process could take the lock right now.
bool anotherProcessCanLock(const std::filesystem::path& file)
{
    const pid_t child = ::fork();
    if (child == 0) ::_exit(InstanceLock::acquire(file) ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(InstanceLock, OneHolderAtATimeAndReleasedWithItsHolder)
{
    fakes::TemporaryFolder folder;
    const auto file = folder / "data/MERIDAVOLT/instance.lock";
    {
        auto lock = InstanceLock::acquire(file);
        ASSERT_TRUE(lock);
        EXPECT_FALSE(anotherProcessCanLock(file));
        EXPECT_FALSE(InstanceLock::acquire(file));

        InstanceLock moved = std::move(*lock);
        lock.reset();
        EXPECT_FALSE(anotherProcessCanLock(file));
    }
    EXPECT_TRUE(anotherProcessCanLock(file));
}

TEST(InstanceLock, AnUnusableFileGivesNoLock)
{
    fakes::TemporaryFolder folder;
    fakes::writeBytes(folder / "file", "x");
    EXPECT_FALSE(InstanceLock::acquire(folder / "file/instance.lock"));
}

}  // namespace
}  // namespace meridavolt
