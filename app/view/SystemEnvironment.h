#pragma once

#include "platform/SettingsFile.h"
#include "state/gio/GioWorkspace.h"
#include "web/webkit/WebKitEngineFactory.h"
#include "state/AppModel.h"

#include <memory>

namespace meridavolt {

// The real parts the application state stands on: the settings file, the
// desktop's workspace, WebKitGTK for the web sessions and the system
// clipboard. They live as long as the process.
class SystemEnvironment {
public:
    explicit SystemEnvironment(WebKitEngineFactory::Acceleration webAcceleration);
    ~SystemEnvironment();
    SystemEnvironment(const SystemEnvironment&) = delete;
    SystemEnvironment& operator=(const SystemEnvironment&) = delete;

    // The one application state, on the services and work-sets files of the data folder.
    std::unique_ptr<AppModel> makeAppModel();

private:
    SettingsFile settings_;
    GioWorkspace workspace_;
    WebKitEngineFactory::Acceleration webAcceleration_;
    std::unique_ptr<WebKitEngineFactory> engines_;
};

}  // namespace meridavolt
