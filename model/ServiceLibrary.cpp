#include "model/ServiceLibrary.h"

#include "model/Catalog.h"

#include <algorithm>
#include <set>

namespace meridavolt {

namespace {

std::vector<std::string> idsOf(const std::vector<Service>& services)
{
    std::vector<std::string> ids;
    ids.reserve(services.size());
    for (const auto& service : services) ids.push_back(service.id);
    return ids;
}

}  // namespace

bool ServiceLibrary::moveService(const std::string& id, const std::optional<std::string>& before)
{
    if (before == id) return false;
    auto hasID = [](const std::string& wanted) { return [&wanted](const Service& s) { return s.id == wanted; }; };
    auto moving = std::find_if(services.begin(), services.end(), hasID(id));
    if (moving == services.end()) return false;
    if (before && std::none_of(services.begin(), services.end(), hasID(*before))) return false;

    const auto oldOrder = idsOf(services);
    Service service = std::move(*moving);
    services.erase(moving);
    if (before) {
        services.insert(std::find_if(services.begin(), services.end(), hasID(*before)), std::move(service));
    } else {
        services.push_back(std::move(service));
    }
    return idsOf(services) != oldOrder;
}

bool ServiceLibrary::apply(const WorkSet& workSet, const Clock& clock)
{
    if (!workSet.isValid()) return false;
    std::set<std::string> setIDs;
    for (const auto& service : workSet.services) setIDs.insert(service.id);

    std::vector<Service> reordered = workSet.services;
    for (auto& service : services) {
        if (!setIDs.contains(service.id)) reordered.push_back(std::move(service));
    }
    services = std::move(reordered);
    for (const auto& id : setIDs) deletedIDs.erase(id);
    modifiedAt = clock.now();
    return true;
}

void ServiceLibrary::restoreYouTubeDefault(const Clock& clock)
{
    const Date now = clock.now();
    std::vector<Service> repaired;
    if (const Service* row = Catalog::find("youtube")) {
        repaired.push_back(*row);
        repaired.back().modifiedAt = now;
    }
    for (auto& service : services) {
        if (service.id != "brave" && service.id != "youtube") repaired.push_back(std::move(service));
    }
    services = std::move(repaired);
    deletedIDs.erase("youtube");
    deletedIDs["brave"] = now;
    modifiedAt = now;
}

}  // namespace meridavolt
