#pragma once

#include "platform/RendererChoice.h"

namespace meridavolt {

// Finds out, before the toolkit opens its display, whether OpenGL on the
// display named by $DISPLAY would run on a graphics card or in software.
DisplayGL probeDisplayGL();

// The renderer variables of this process's environment.
RendererEnvironment rendererEnvironment();

}  // namespace meridavolt
