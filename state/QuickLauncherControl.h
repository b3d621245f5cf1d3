#pragma once

namespace meridavolt {

// What the application state and its menu need of the quick launcher, which
// is built on top of the state (desktop/) and handed back to it when the
// state is created.
class QuickLauncherControl {
public:
    virtual ~QuickLauncherControl() = default;
    // Shows the launcher when hidden, hides it when shown.
    virtual void toggle() = 0;
    // Builds ahead what the launcher's first showing needs, so that it shows
    // as fast as later; called while the application is idle after start-up.
    virtual void prepare() = 0;
};

}  // namespace meridavolt
