#pragma once

#include "desktop/LauncherWindowSystem.h"
#include "desktop/view/QuickLauncherWindow.h"
#include "state/AppModel.h"

#include <functional>
#include <memory>

namespace meridavolt {

// The launcher's desktop on GTK and X11: its window, made when prepared or
// first shown, the X11 focus of other applications' windows, and the
// application's main window through `showMainWindow`.
class GtkLauncherWindows final : public LauncherWindowSystem {
public:
    GtkLauncherWindows(AppModel& model, std::function<void()> showMainWindow);
    ~GtkLauncherWindows() override;

    void setActions(LauncherActions actions) override { actions_ = std::move(actions); }
    std::optional<FocusedWindow> focusedWindow() override;
    bool launcherShown() override;
    void showLauncher(std::uint32_t time) override;
    void prepareLauncher() override;
    void hideLauncher() override;
    void focusWindow(const FocusedWindow& window) override;
    void showMainWindow() override { showMainWindow_(); }

    // None until prepared or first shown.
    QuickLauncherWindow* window() { return window_.get(); }

private:
    // The window, made on first use.
    QuickLauncherWindow& made();

    AppModel& model_;
    std::function<void()> showMainWindow_;
    LauncherActions actions_;
    std::unique_ptr<QuickLauncherWindow> window_;
};

// The launcher as the application runs it: this window system and the
// session's hot key. `showMainWindow` brings the main window back, also
// after it was closed.
std::unique_ptr<QuickLauncherControl> makeSystemQuickLauncher(AppModel& model, std::function<void()> showMainWindow);

}  // namespace meridavolt
