#include "app/view/SystemEnvironment.h"

#include "clipboard/view/SystemClipboardStore.h"
#include "desktop/view/GtkLauncherWindows.h"
#include "platform/glib/MainLoopScheduler.h"

#include <giomm/application.h>

namespace meridavolt {

SystemEnvironment::SystemEnvironment(WebKitEngineFactory::Acceleration webAcceleration)
    : settings_(SettingsFile::defaultPath()), webAcceleration_(webAcceleration)
{
}

SystemEnvironment::~SystemEnvironment() = default;

std::unique_ptr<AppModel> SystemEnvironment::makeAppModel()
{
    engines_ = std::make_unique<WebKitEngineFactory>(WebKitEngineFactory::defaultFolders(), webAcceleration_);
    return std::make_unique<AppModel>(AppModelServices{
        nullptr,
        nullptr,
        settings_,
        SystemClock::shared(),
        MainLoopScheduler::shared(),
        workspace_,
        engines_->engineFactory(),
        [this] { return makeSystemClipboardStore(settings_); },
        [](AppModel& model) {
            // A closed main window has left the application's window list:
            // the application's activation brings it back, as a new launch would.
            return makeSystemQuickLauncher(model, [] {
                if (auto application = Gio::Application::get_default()) application->activate();
            });
        },
    });
}

}  // namespace meridavolt
