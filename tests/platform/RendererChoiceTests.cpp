#include "platform/RendererChoice.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

TEST(RendererChoice, SoftwareGLDrawsWithCairoAndWebViewsWithoutCompositing)
{
    const auto choice = chooseRenderer(DisplayGL::software, {});
    EXPECT_EQ(choice.gskRenderer, "cairo");
    EXPECT_TRUE(choice.webAccelerationNever);
}

TEST(RendererChoice, SoftwareGLKeepsTheToolkitAndWebKitFromOpeningGL)
{
    const auto choice = chooseRenderer(DisplayGL::software, {});
    EXPECT_EQ(choice.gdkDebug, "gl-disable");
    EXPECT_EQ(choice.webkitDisableDMABuf, "1");
    ASSERT_TRUE(choice.webkitRenderDevice);
    EXPECT_FALSE(choice.webkitRenderDevice->empty()) << "WebKit reads an empty device as unset";

    // The user's own debug flags stay.
    RendererEnvironment debugging;
    debugging.gdkDebug = "events";
    EXPECT_EQ(chooseRenderer(DisplayGL::software, debugging).gdkDebug, "events,gl-disable");
}

TEST(RendererChoice, TheUsersWebKitBufferSettingsWin)
{
    RendererEnvironment environment;
    environment.webkitDisableDMABuf = "0";
    environment.webkitRenderDevice = "/dev/dri/renderD128";
    const auto choice = chooseRenderer(DisplayGL::software, environment);
    EXPECT_EQ(choice.webkitDisableDMABuf, std::nullopt);
    EXPECT_EQ(choice.webkitRenderDevice, std::nullopt);
}

TEST(RendererChoice, AGPUKeepsTheToolkitDefaultsWhateverTheEnvironment)
{
    for (const RendererEnvironment& environment :
         {RendererEnvironment{}, RendererEnvironment{"gl", "0", "events", "0", "/dev/dri/renderD128"},
          RendererEnvironment{"cairo", "1", "", "1", ""}}) {
        const auto choice = chooseRenderer(DisplayGL::hardware, environment);
        EXPECT_EQ(choice.gskRenderer, std::nullopt);
        EXPECT_EQ(choice.gdkDebug, std::nullopt);
        EXPECT_FALSE(choice.webAccelerationNever);
        EXPECT_EQ(choice.webkitDisableDMABuf, std::nullopt);
        EXPECT_EQ(choice.webkitRenderDevice, std::nullopt);
    }
}

TEST(RendererChoice, TheUsersRendererWinsAndLeavesTheWebPolicyToTheCheck)
{
    RendererEnvironment environment;
    environment.gskRenderer = "gl";
    const auto gl = chooseRenderer(DisplayGL::software, environment);
    EXPECT_EQ(gl.gskRenderer, std::nullopt);
    EXPECT_EQ(gl.gdkDebug, std::nullopt) << "the GL renderer needs GL";
    EXPECT_TRUE(gl.webAccelerationNever);

    // An empty variable names no renderer.
    environment.gskRenderer = "";
    EXPECT_EQ(chooseRenderer(DisplayGL::software, environment).gskRenderer, "cairo");
}

TEST(RendererChoice, TheUsersCompositingSettingWinsEitherWay)
{
    // "0" asks WebKit to keep compositing; "1" turns it off by WebKit's own hand.
    for (const char* value : {"0", "1", ""}) {
        RendererEnvironment environment;
        environment.webkitDisableCompositing = value;
        const auto choice = chooseRenderer(DisplayGL::software, environment);
        EXPECT_FALSE(choice.webAccelerationNever) << value;
        EXPECT_EQ(choice.webkitDisableDMABuf, std::nullopt) << value;
        EXPECT_EQ(choice.gskRenderer, "cairo") << value;
    }
}

}  // namespace
}  // namespace meridavolt
