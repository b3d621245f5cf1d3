#include "desktop/QuickLauncher.h"

namespace meridavolt {

QuickLauncher::QuickLauncher(AppModel& model, std::unique_ptr<LauncherWindowSystem> windows,
                             std::unique_ptr<GlobalHotKey> hotKey)
    : model_(model), windows_(std::move(windows)), hotKey_(std::move(hotKey))
{
    // The window and the hot key belong to this object and go with it.
    windows_->setActions({[this] { dismiss(); }, [this](const Service& service) { open(service); }});
    const bool registered = hotKey_ && hotKey_->start([this](std::uint32_t time) { toggle(time); });
    if (!registered) model_.clipboard().setStatus(registrationFailedText);
}

void QuickLauncher::toggle(std::uint32_t time)
{
    if (windows_->launcherShown()) {
        dismiss();
        return;
    }
    previousWindow_ = windows_->focusedWindow();
    windows_->showLauncher(time);
}

void QuickLauncher::dismiss()
{
    windows_->hideLauncher();
    returnFocus();
}

void QuickLauncher::open(const Service& service)
{
    windows_->hideLauncher();
    if (service.mode == LaunchMode::external) {
        // Back where the user was before the service's own window comes up;
        // without a window manager nothing else would take the focus.
        returnFocus();
        model_.activate(service);
        return;
    }
    model_.activate(service);
    windows_->showMainWindow();
}

void QuickLauncher::returnFocus()
{
    if (previousWindow_ && !previousWindow_->ours) windows_->focusWindow(*previousWindow_);
}

}  // namespace meridavolt
