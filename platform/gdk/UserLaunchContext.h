#pragma once

#include <gio/gio.h>

namespace meridavolt {

// A launch context for every program this process opens through GIO: the
// display's own (so the program comes to the front), with the environment
// the user started us with where we changed ours (platform/UserEnvironment).
// A new reference; never null, also without a display.
GAppLaunchContext* newUserLaunchContext();

}  // namespace meridavolt
