#include "platform/gdk/DisplayGLProbe.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace meridavolt {
namespace {

// The test display (Xvfb) offers no direct rendering: whatever GPU the
// machine has, Mesa's EGL draws there with its software driver.
TEST(DisplayGLProbe, AVirtualDisplayIsSoftwareGLForEGLAndForTheWholeCheck)
{
    EXPECT_EQ(driverOfXDisplay(), DisplayGL::software);
    EXPECT_EQ(probeDisplayGL(), DisplayGL::software);
}

// Mesa's drivers, once loaded, stay mapped: asking for the driver must leave
// neither it nor EGL's Mesa half in this process.
TEST(DisplayGLProbe, AskingForTheDriverLeavesNoGLDriverInTheProcess)
{
    ASSERT_EQ(driverOfXDisplay(), DisplayGL::software);
    std::ifstream file("/proc/self/maps");
    const std::string maps((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    for (const char* library : {"libLLVM", "swrast_dri", "libEGL_mesa"}) {
        EXPECT_EQ(maps.find(library), std::string::npos) << library;
    }
}

}  // namespace
}  // namespace meridavolt
