// AppModel: activation, mounted panes, split and the end of start-up.
#include "state/AppModel.h"

#include <algorithm>

namespace meridavolt {

namespace {

constexpr const char* externalInSplitText = "このサービスは外部アプリで開くため、2画面表示にはできません";

}  // namespace

void AppModel::pauseMedia(const std::optional<std::string>& id)
{
    if (!id) return;
    if (auto found = sessions_.find(*id); found != sessions_.end()) found->second->pauseAllMediaPlayback();
}

void AppModel::activate(Service service, std::optional<std::string> url)
{
    startupSelection_.cancel();
    ServiceSwitchHistory history = switchHistory_;
    history.visit(service.id);
    assignSwitchHistory(std::move(history));

    if (service.mode == LaunchMode::external) {
        pauseMedia(selectedID_);
        if (url) {
            openExternal(*url);
        } else {
            launch(std::move(service));
        }
        return;
    }

    if (secondaryID_ == service.id) assignSecondaryID(std::nullopt);
    setFocusedPaneID(service.id);
    std::shared_ptr<WebSession> live = session(service);
    if (url) live->load(*url);

    std::vector<std::string> mounted = mountedIDs_;
    std::erase(mounted, service.id);
    mounted.push_back(service.id);
    if (mounted.size() > maximumMountedServices) {
        mounted.erase(mounted.begin(), mounted.end() - static_cast<std::ptrdiff_t>(maximumMountedServices));
    }
    assignMountedIDs(std::move(mounted));
    assignSelectedID(service.id);
}

std::shared_ptr<WebSession> AppModel::session(const Service& service)
{
    if (auto found = sessions_.find(service.id); found != sessions_.end()) return found->second;
    auto created = std::make_shared<WebSession>(service.url, services_.makeWebEngine(), services_.settings,
                                                services_.scheduler);
    sessions_.emplace(service.id, created);
    return created;
}

void AppModel::openBeside(Service service, bool onLeft)
{
    if (service.mode != LaunchMode::embedded) {
        setError(externalInSplitText);
        return;
    }
    startupSelection_.cancel();
    if (!selectedID_) {
        activate(std::move(service));
        return;
    }
    if (selectedID_ == service.id) return;
    if (secondaryID_ && secondaryID_ != service.id) pauseMedia(secondaryID_);
    session(service);
    if (onLeft) {
        // The current service moves to the right-hand pane and stays visible.
        assignSecondaryID(selectedID_);
        assignSelectedID(service.id);
    } else {
        assignSecondaryID(service.id);
    }
    setFocusedPaneID(service.id);
}

void AppModel::closeSplit()
{
    pauseMedia(secondaryID_);
    assignSecondaryID(std::nullopt);
    setFocusedPaneID(selectedID_);
}

void AppModel::finishStartup()
{
    // Used up whatever follows: a later end of the animation opens nothing.
    const bool hasFirstService = startupSelection_.finish(library_.services).has_value();
    if (!hasFirstService || error_) return;
    activate(library_.services.front());
}

void AppModel::unmount(const std::string& id)
{
    std::vector<std::string> mounted = mountedIDs_;
    std::erase(mounted, id);
    assignMountedIDs(std::move(mounted));
}

void AppModel::dismissService(const std::string& id)
{
    if (secondaryID_ == id) closeSplit();
    sessions_.erase(id);
    unmount(id);
    if (selectedID_ == id) {
        closeSplit();
        assignSelectedID(std::nullopt);
        setFocusedPaneID(std::nullopt);
    }
}

}  // namespace meridavolt
