#include "desktop/ServiceMenu.h"

namespace meridavolt {

namespace {

using Kind = ServiceMenuItem::Kind;

ServiceMenuItem item(Kind kind, std::string title, std::optional<std::string> url = std::nullopt, bool enabled = true)
{
    return ServiceMenuItem{kind, std::move(title), std::move(url), enabled};
}

void appendQuickActions(std::vector<ServiceMenuItem>& items, const Service& service)
{
    for (const auto& action : service.actions) items.push_back(item(Kind::quickAction, action.title, action.url));
}

}  // namespace

std::vector<ServiceMenuItem> serviceContextMenu(const Service& service, bool isFirstService)
{
    std::vector<ServiceMenuItem> items{item(Kind::open, "開く")};
    if (service.mode == LaunchMode::embedded) {
        items.push_back(item(Kind::openLeft, "左側に並べる"));
        items.push_back(item(Kind::openRight, "右側に並べる"));
    }
    appendQuickActions(items, service);
    items.push_back(item(Kind::launch, "外部で開く"));
    items.push_back(item(Kind::divider, ""));
    items.push_back(item(Kind::moveToTop, "一番上へ移動・起動時に開く", std::nullopt, !isFirstService));
    return items;
}

std::vector<ServiceMenuItem> quickActionSheetItems(const Service& service)
{
    std::vector<ServiceMenuItem> items{item(Kind::open, "開く")};
    appendQuickActions(items, service);
    items.push_back(item(Kind::launch, "外部で開く"));
    return items;
}

}  // namespace meridavolt
