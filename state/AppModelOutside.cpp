// AppModel: services and addresses opened outside the window.
#include "state/AppModel.h"

#include "state/ExternalAddress.h"

namespace meridavolt {

namespace {

constexpr const char* openFailedText = "開けませんでした。対応するアプリを確認してください。";
constexpr const char* chromeMissingText = "Google Chromeが見つかりません。インストールしてから開いてください。";
constexpr const char* chromeFailedText = "Chromeを開けませんでした。\n";
constexpr const char* messengerMissingText =
    "Mac版LINEが見つかりません。LINEをインストールしてから、もう一度開いてください。";
constexpr const char* messengerFailedText = "LINEを起動できませんでした。\n";

}  // namespace

void AppModel::openExternal(const std::string& url)
{
    startupSelection_.cancel();
    if (addressScheme(url) == "line") {
        launchMacLINE();
        return;
    }
    if (!mayOpenOutside(url) || !services_.workspace.openURL(url)) setError(openFailedText);
}

void AppModel::launch(Service service)
{
    startupSelection_.cancel();
    ServiceSwitchHistory history = switchHistory_;
    history.visit(service.id);
    assignSwitchHistory(std::move(history));

    if (service.id == "chrome") {
        launchChrome(service.url);
        return;
    }
    if (service.id == "line") {
        launchMacLINE();
        return;
    }
    // An application address that nothing handles, or that points at the
    // machine itself, falls back to the service's web address.
    if (!service.appURL || !mayOpenOutside(*service.appURL) || !services_.workspace.openURL(*service.appURL)) {
        openExternal(service.url);
    }
}

void AppModel::launchChrome(const std::string& url)
{
    if (!services_.workspace.hasApplication(ExternalApplication::chrome)) {
        setError(chromeMissingText);
        return;
    }
    if (!mayOpenOutside(url)) {
        setError(openFailedText);
        return;
    }
    services_.workspace.launchApplication(ExternalApplication::chrome, {url},
                                          whileAlive([this](std::optional<std::string> failure) {
                                              if (failure) setError(chromeFailedText + *failure);
                                          }));
}

void AppModel::launchMacLINE()
{
    if (!services_.workspace.hasApplication(ExternalApplication::messenger)) {
        setError(messengerMissingText);
        return;
    }
    services_.workspace.launchApplication(ExternalApplication::messenger, {},
                                          whileAlive([this](std::optional<std::string> failure) {
                                              if (failure) setError(messengerFailedText + *failure);
                                          }));
}

}  // namespace meridavolt
