#include "platform/RendererChoice.h"

namespace meridavolt {

RendererChoice chooseRenderer(DisplayGL gl, const RendererEnvironment& environment)
{
    RendererChoice choice;
    if (gl != DisplayGL::software) return choice;
    // An empty GSK_RENDERER names no renderer; any WEBKIT_DISABLE_COMPOSITING_MODE
    // value is a choice ("0" keeps compositing on, anything else turns it off).
    const bool userPickedRenderer = environment.gskRenderer && !environment.gskRenderer->empty();
    if (!userPickedRenderer) choice.gskRenderer = "cairo";
    choice.webAccelerationNever = !environment.webkitDisableCompositing.has_value();
    return choice;
}

}  // namespace meridavolt
