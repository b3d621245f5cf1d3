#include "model/WorkSet.h"

#include "model/Catalog.h"
#include "model/WebsiteURL.h"
#include "platform/Text.h"
#include "platform/Uuid.h"

#include <initializer_list>
#include <set>

namespace meridavolt {

namespace {

WorkSet preset(const char* name, std::initializer_list<const char*> ids)
{
    WorkSet set{makeUUID(), name, {}};
    for (const char* id : ids) {
        if (const Service* row = Catalog::find(id)) set.services.push_back(*row);
    }
    return set;
}

}  // namespace

bool WorkSet::isValid() const
{
    if (isBlank(name)) return false;
    if (services.empty()) return false;
    std::set<std::string> ids;
    for (const auto& service : services) {
        if (!ids.insert(service.id).second) return false;
    }
    for (const auto& service : services) {
        if (!WebsiteURL::parse(service.url)) return false;
    }
    return true;
}

std::vector<WorkSet> WorkSet::presets()
{
    return {
        preset("発信", {"x", "note", "canva"}),
        preset("調べる", {"safari", "chatgpt", "drive"}),
    };
}

}  // namespace meridavolt
