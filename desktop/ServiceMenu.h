#pragma once

#include "model/Service.h"

#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// One entry of a service button's context menu or of its quick-action sheet.
struct ServiceMenuItem {
    enum class Kind {
        open,          // activate the service on its home page
        openLeft,      // open it beside the current service, on the left
        openRight,     // ... on the right
        quickAction,   // activate it on `url`
        launch,        // hand it to another application
        divider,
        moveToTop,     // make it the first service, the one opened at start-up
    };
    Kind kind;
    std::string title;
    std::optional<std::string> url;
    bool enabled = true;

    friend bool operator==(const ServiceMenuItem&, const ServiceMenuItem&) = default;
};

// The context menu; the side-by-side items exist only for services shown in the window.
std::vector<ServiceMenuItem> serviceContextMenu(const Service& service, bool isFirstService);

// The ways to open a service offered by its quick-action sheet, after its header.
std::vector<ServiceMenuItem> quickActionSheetItems(const Service& service);

}  // namespace meridavolt
