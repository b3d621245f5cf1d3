#pragma once

#include "model/LaunchMode.h"
#include "model/QuickAction.h"
#include "platform/Clock.h"
#include "platform/Date.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// One entry of the service bar. Addresses are kept as the text that was typed
// or stored, never normalised. A service made without `modifiedAt` is stamped
// with the current time, so two copies made at different moments differ.
struct Service {
    std::string id{};      // unique within a library and within a work set
    std::string name{};
    std::string symbol{};  // icon name
    std::string url{};     // home page; in a work set, the page the set opens
    LaunchMode mode = LaunchMode::embedded;
    std::optional<std::string> appURL{};  // a native application's address, such as "line://"
    std::vector<QuickAction> actions{};
    Date modifiedAt = SystemClock::shared().now();

    friend bool operator==(const Service&, const Service&) = default;
};

}  // namespace meridavolt

template <>
struct std::hash<meridavolt::QuickAction> {
    std::size_t operator()(const meridavolt::QuickAction& action) const noexcept;
};

template <>
struct std::hash<meridavolt::Service> {
    std::size_t operator()(const meridavolt::Service& service) const noexcept;
};
