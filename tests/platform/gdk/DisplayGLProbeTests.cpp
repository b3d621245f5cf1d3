#include "platform/gdk/DisplayGLProbe.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

// The test display (Xvfb) offers no direct rendering: whatever GPU the
// machine has, Mesa's EGL draws there with its software driver.
TEST(DisplayGLProbe, AVirtualDisplayIsSoftwareGLForEGLAndForTheWholeCheck)
{
    EXPECT_EQ(driverOfXDisplay(), DisplayGL::software);
    EXPECT_EQ(probeDisplayGL(), DisplayGL::software);
}

}  // namespace
}  // namespace meridavolt
