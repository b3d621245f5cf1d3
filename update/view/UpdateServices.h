#pragma once

#include "update/MacDistribution.h"

#include <memory>

namespace meridavolt {

// The process's update checker on the real system: the compiled-in
// configuration, the running build number, libcurl on the GLib main loop, the
// desktop's file chooser and file manager.
std::unique_ptr<MacDistribution> makeMacDistribution();

}  // namespace meridavolt
