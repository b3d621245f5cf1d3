#include "platform/RendererChoice.h"

namespace meridavolt {

namespace {

// WebKit reads the device from this variable instead of asking EGL for it;
// a path that names no device means "none".
constexpr const char* noRenderDevice = "/dev/dri/none";

}  // namespace

RendererChoice chooseRenderer(DisplayGL gl, const RendererEnvironment& environment)
{
    RendererChoice choice;
    if (gl != DisplayGL::software) return choice;
    // An empty GSK_RENDERER names no renderer; any WEBKIT_DISABLE_COMPOSITING_MODE
    // value is a choice ("0" keeps compositing on, anything else turns it off).
    const bool userPickedRenderer = environment.gskRenderer && !environment.gskRenderer->empty();
    if (!userPickedRenderer) {
        choice.gskRenderer = "cairo";
        // The cairo renderer needs no GL; GDK would still open it for WebKit's check.
        const std::string& flags = environment.gdkDebug.value_or("");
        choice.gdkDebug = flags.empty() ? "gl-disable" : flags + ",gl-disable";
    }
    choice.webAccelerationNever = !environment.webkitDisableCompositing.has_value();
    if (choice.webAccelerationNever) {
        if (!environment.webkitDisableDMABuf) choice.webkitDisableDMABuf = "1";
        if (!environment.webkitRenderDevice) choice.webkitRenderDevice = noRenderDevice;
    }
    return choice;
}

}  // namespace meridavolt
