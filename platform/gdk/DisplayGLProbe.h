#pragma once

#include "platform/RendererChoice.h"

namespace meridavolt {

// Finds out, before the toolkit opens its display, whether OpenGL on the
// display named by $DISPLAY would run on a graphics card or in software.
DisplayGL probeDisplayGL();

// The renderer variables of this process's environment.
RendererEnvironment rendererEnvironment();

// Probes the display, chooses, and names the chosen toolkit renderer in the
// environment. Call before the toolkit makes its first renderer: it reads
// GSK_RENDERER once, then.
RendererChoice fitRendererToDisplay();

}  // namespace meridavolt
