#pragma once

#include <optional>
#include <string>

namespace meridavolt {

// What the start-up check found about OpenGL on this display.
enum class DisplayGL { hardware, software };

// The renderer variables as the user's environment holds them; absent when unset.
struct RendererEnvironment {
    std::optional<std::string> gskRenderer;               // GSK_RENDERER
    std::optional<std::string> webkitDisableCompositing;  // WEBKIT_DISABLE_COMPOSITING_MODE
};

// How the window and the web views draw.
struct RendererChoice {
    // The toolkit renderer to name in GSK_RENDERER before the first window;
    // none leaves the toolkit's own choice (or the user's) alone.
    std::optional<std::string> gskRenderer;
    // True: every web view draws without accelerated compositing.
    bool webAccelerationNever = false;
};

// On software GL the toolkit's GL renderer and WebKit's compositing only
// rasterise on the CPU, at a large cost in memory and start-up time: the
// cairo renderer and plain web drawing are lighter there. With a GPU the
// toolkit's defaults stay. A variable the user set always wins.
RendererChoice chooseRenderer(DisplayGL gl, const RendererEnvironment& environment);

}  // namespace meridavolt
