#include "platform/LargeBufferReuse.h"
#include "support/Sanitizers.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>
#include <cstring>

namespace meridavolt {
namespace {

long minorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Each web frame passes through three window-sized buffers (the toolkit's
// frame, the copy of the page, the page drawn for the frame), allocated,
// filled and freed again: after the first frame, their pages are reused, not
// faulted in anew.
TEST(LargeBufferReuse, FrameBuffersFreedAndAllocatedAgainFaultNoFreshPages)
{
    if (testing::sanitizedBuild) GTEST_SKIP() << "the sanitizers bring their own allocator";
    keepLargeBuffersForReuse();
    constexpr std::size_t frameBytes = 1120 * 780 * 4;
    constexpr int frames = 20;
    auto drawFrame = [] {
        unsigned char* buffers[3];
        for (auto*& buffer : buffers) {
            buffer = static_cast<unsigned char*>(std::malloc(frameBytes));
            std::memset(buffer, 0x7f, frameBytes);
        }
        const unsigned char last = buffers[2][frameBytes - 1];
        for (auto* buffer : buffers) std::free(buffer);
        return last;
    };
    drawFrame();
    const long before = minorFaults();
    for (int i = 0; i < frames; ++i) EXPECT_EQ(drawFrame(), 0x7f);
    // Fresh pages would fault in about 2,500 times a frame.
    EXPECT_LT(minorFaults() - before, 100);
}

}  // namespace
}  // namespace meridavolt
