#include "app/InstanceLock.h"

#include "fakes/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace meridavolt {
namespace {

using State = InstanceLock::State;

// What another process finds when it tries the lock right now; with
// readOnly, a process that may not write to the lock's folder (root gives
// up its rights for that, as the folder's permissions would not stop it).
State anotherProcessFinds(const std::filesystem::path& file, bool readOnly = false)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (readOnly && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(99);
        ::_exit(static_cast<int>(InstanceLock::acquire(file).state()));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return static_cast<State>(WEXITSTATUS(status));
}

TEST(InstanceLock, OneHolderAtATimeAndReleasedWithItsHolder)
{
    fakes::TemporaryFolder folder;
    const auto file = folder / "data/MERIDAVOLT/instance.lock";
    {
        auto lock = InstanceLock::acquire(file);
        ASSERT_EQ(lock.state(), State::held);
        EXPECT_EQ(anotherProcessFinds(file), State::heldByAnotherProcess);
        EXPECT_EQ(InstanceLock::acquire(file).state(), State::heldByAnotherProcess);

        InstanceLock moved = std::move(lock);
        EXPECT_EQ(moved.state(), State::held);
        EXPECT_EQ(anotherProcessFinds(file), State::heldByAnotherProcess);
    }
    EXPECT_EQ(anotherProcessFinds(file), State::held);
}

TEST(InstanceLock, AFolderThatCannotBeWrittenIsNoSecondInstance)
{
    fakes::TemporaryFolder folder;
    fakes::writeBytes(folder / "file", "x");
    EXPECT_EQ(InstanceLock::acquire(folder / "file/instance.lock").state(), State::unavailable);

    // A read-only folder without the lock file: nothing to lock, the program starts.
    std::filesystem::create_directories(folder / "empty");
    std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
    std::filesystem::permissions(folder / "empty", std::filesystem::perms::owner_read |
                                                       std::filesystem::perms::owner_exec |
                                                       std::filesystem::perms::others_read |
                                                       std::filesystem::perms::others_exec);
    EXPECT_EQ(anotherProcessFinds(folder / "empty/instance.lock", true), State::unavailable);

    // With the file of an earlier run, the lock still works there.
    const auto file = folder / "earlier/instance.lock";
    ASSERT_EQ(InstanceLock::acquire(file).state(), State::held);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::others_read);
    std::filesystem::permissions(file.parent_path(), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_exec |
                                                         std::filesystem::perms::others_read |
                                                         std::filesystem::perms::others_exec);
    EXPECT_EQ(anotherProcessFinds(file, true), State::held);
    auto lock = InstanceLock::acquire(file);
    ASSERT_EQ(lock.state(), State::held);
    EXPECT_EQ(anotherProcessFinds(file, true), State::heldByAnotherProcess);

    for (const char* name : {"empty", "earlier"}) std::filesystem::permissions(folder / name, std::filesystem::perms::all);
}

}  // namespace
}  // namespace meridavolt
