#pragma once

#include "model/Service.h"

#include <string>
#include <vector>

namespace meridavolt {

// A named, ordered set of full service copies; each copy's `url` is the page
// the set opens for that service.
struct WorkSet {
    std::string id{};  // a UUID in its upper-case text form
    std::string name{};
    std::vector<Service> services{};

    // Whether the set may be saved, applied or loaded: a name that is not
    // blank, at least one service, unique service ids, and every page an
    // address that WebsiteURL::parse accepts.
    bool isValid() const;

    // The two starter sets, made anew (with new ids) on every call.
    static std::vector<WorkSet> presets();

    friend bool operator==(const WorkSet&, const WorkSet&) = default;
};

}  // namespace meridavolt
