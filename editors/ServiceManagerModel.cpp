#include "editors/ServiceManagerModel.h"

#include "model/Catalog.h"
#include "update/DistributionConstants.h"

#include <algorithm>

namespace meridavolt {

std::vector<Service> ServiceManagerModel::addable() const
{
    std::set<std::string> present;
    for (const auto& service : services()) present.insert(service.id);
    std::vector<Service> rows;
    for (const auto& row : Catalog::all()) {
        if (!present.count(row.id)) rows.push_back(row);
    }
    return rows;
}

void ServiceManagerModel::remove(const std::string& id)
{
    const auto& list = services();
    auto found = std::find_if(list.begin(), list.end(), [&](const Service& s) { return s.id == id; });
    if (found == list.end()) return;
    model_.remove({static_cast<std::size_t>(found - list.begin())});
}

void ServiceManagerModel::move(const std::set<std::size_t>& sources, std::size_t destination)
{
    ServiceLibrary library = model_.library();
    library.services = movedItems(library.services, sources, destination);
    // Moved services keep their time stamps; only the library's own is stamped by persist().
    model_.setLibrary(std::move(library));
    model_.persist();
}

std::string ServiceManagerModel::makerHomePage() { return "https://" + std::string(releaseHost) + "/"; }

}  // namespace meridavolt
