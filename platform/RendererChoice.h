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
    std::optional<std::string> gdkDebug;                  // GDK_DEBUG
    std::optional<std::string> webkitDisableDMABuf;       // WEBKIT_DISABLE_DMABUF_RENDERER
    std::optional<std::string> webkitRenderDevice;        // WEBKIT_WEB_RENDER_DEVICE_FILE
};

// How the window and the web views draw.
struct RendererChoice {
    // The toolkit renderer to name in GSK_RENDERER before the first window;
    // none leaves the toolkit's own choice (or the user's) alone.
    std::optional<std::string> gskRenderer;
    // The GDK_DEBUG to name so that the toolkit never opens OpenGL (the
    // user's own flags kept); none leaves it alone.
    std::optional<std::string> gdkDebug;
    // True: every web view draws without accelerated compositing.
    bool webAccelerationNever = false;
    // The WebKit variables to name so that the UI process never opens EGL:
    // frames come over in shared memory, and no render device is looked for.
    std::optional<std::string> webkitDisableDMABuf;
    std::optional<std::string> webkitRenderDevice;
};

// On software GL the toolkit's GL renderer and WebKit's compositing only
// rasterise on the CPU, at a large cost in memory and start-up time: the
// cairo renderer and plain web drawing are lighter there, and nothing then
// needs the GL driver in the UI process, so neither the toolkit nor WebKit
// is let load it (about 9 MB each process). With a GPU the toolkit's
// defaults stay. A variable the user set always wins.
RendererChoice chooseRenderer(DisplayGL gl, const RendererEnvironment& environment);

}  // namespace meridavolt
