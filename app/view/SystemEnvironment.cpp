#include "app/view/SystemEnvironment.h"

#include "clipboard/view/SystemClipboardStore.h"
#include "platform/glib/MainLoopScheduler.h"

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
        nullptr,
    });
}

}  // namespace meridavolt
