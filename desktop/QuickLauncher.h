#pragma once

#include "desktop/LauncherWindowSystem.h"
#include "platform/GlobalHotKey.h"
#include "state/AppModel.h"
#include "state/QuickLauncherControl.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace meridavolt {

// The small floating window on Ctrl+Alt+Space that searches the services and
// the clipboard memory from any application: it remembers which window had
// the focus when it opened and gives the focus back when it closes, so that a
// copied entry can be pasted where the user was. Main thread only; lives as
// long as the application state that owns it.
class QuickLauncher final : public QuickLauncherControl {
public:
    static constexpr const char* registrationFailedText =
        "Ctrl+Alt+Spaceを登録できませんでした。「サービス」メニューからミニ画面を開けます。";

    // Takes the hot key (`hotKey` none: the session offers none); a failure is
    // reported once in the clipboard's status and the menu still opens the launcher.
    QuickLauncher(AppModel& model, std::unique_ptr<LauncherWindowSystem> windows, std::unique_ptr<GlobalHotKey> hotKey);

    // Shows the launcher when hidden, hides it when shown.
    void toggle() override { toggle(0); }
    // The same for an event with a timestamp (the hot key's press).
    void toggle(std::uint32_t time);
    void prepare() override { windows_->prepareLauncher(); }
    // Hides the launcher and gives the focus back to the window it was opened
    // over, unless that was one of ours.
    void dismiss();
    // Hides the launcher and shows the service: in the main window, brought to
    // the front, or outside the application, with nothing of ours raised and
    // the focus given back as by `dismiss`.
    void open(const Service& service);

    // Whether the user sees the launcher (see LauncherWindowSystem).
    bool shown() const { return windows_->launcherShown(); }
    const std::optional<FocusedWindow>& previousWindow() const { return previousWindow_; }

private:
    // Gives the focus back to the window the launcher was opened over, unless that was one of ours.
    void returnFocus();

    AppModel& model_;
    std::unique_ptr<LauncherWindowSystem> windows_;
    std::unique_ptr<GlobalHotKey> hotKey_;
    std::optional<FocusedWindow> previousWindow_;
};

}  // namespace meridavolt
