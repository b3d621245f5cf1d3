#pragma once

#include "platform/RendererChoice.h"

namespace meridavolt {

// Finds out, before the toolkit opens its display, whether OpenGL on the
// display named by $DISPLAY would run on a graphics card or in software.
DisplayGL probeDisplayGL();

// The second half of the check, on its own: the driver Mesa's EGL picks for
// the X display; hardware when it cannot be told. Asked in a child process,
// so this process never maps EGL or the driver.
DisplayGL driverOfXDisplay();

// The renderer variables of this process's environment.
RendererEnvironment rendererEnvironment();

// Probes the display, chooses, and names the choice's variables in the
// environment, remembering the user's values (processUserEnvironment). Call
// before the toolkit opens its display and before the first web view: both
// read their variables once, then.
RendererChoice fitRendererToDisplay();

}  // namespace meridavolt
