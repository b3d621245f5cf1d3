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

TEST(RendererChoice, AGPUKeepsTheToolkitDefaultsWhateverTheEnvironment)
{
    for (const RendererEnvironment& environment :
         {RendererEnvironment{}, RendererEnvironment{"gl", "0"}, RendererEnvironment{"cairo", "1"}}) {
        const auto choice = chooseRenderer(DisplayGL::hardware, environment);
        EXPECT_EQ(choice.gskRenderer, std::nullopt);
        EXPECT_FALSE(choice.webAccelerationNever);
    }
}

TEST(RendererChoice, TheUsersRendererWinsAndLeavesTheWebPolicyToTheCheck)
{
    const auto gl = chooseRenderer(DisplayGL::software, {"gl", std::nullopt});
    EXPECT_EQ(gl.gskRenderer, std::nullopt);
    EXPECT_TRUE(gl.webAccelerationNever);

    // An empty variable names no renderer.
    EXPECT_EQ(chooseRenderer(DisplayGL::software, {"", std::nullopt}).gskRenderer, "cairo");
}

TEST(RendererChoice, TheUsersCompositingSettingWinsEitherWay)
{
    // "0" asks WebKit to keep compositing; "1" turns it off by WebKit's own hand.
    for (const char* value : {"0", "1", ""}) {
        const auto choice = chooseRenderer(DisplayGL::software, {std::nullopt, std::string(value)});
        EXPECT_FALSE(choice.webAccelerationNever) << value;
        EXPECT_EQ(choice.gskRenderer, "cairo") << value;
    }
}

}  // namespace
}  // namespace meridavolt
