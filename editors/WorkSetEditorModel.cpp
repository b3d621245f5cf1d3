#include "editors/WorkSetEditorModel.h"

#include "model/Catalog.h"
#include "model/WebsiteURL.h"
#include "platform/Text.h"

#include <set>
#include <utility>

namespace meridavolt {

WorkSetEditorModel::WorkSetEditorModel(AppModel& model, const WorkSet& original)
    : name(original.name), model_(model), id_(original.id), services_(original.services)
{
    // A set that repeats an id (never saved so, but a file may hold one) keeps the first page.
    for (const auto& service : services_) addresses_.emplace(service.id, service.url);
}

std::string WorkSetEditorModel::address(const std::string& serviceID) const
{
    auto found = addresses_.find(serviceID);
    return found == addresses_.end() ? std::string() : found->second;
}

const Service* WorkSetEditorModel::first(const std::string& serviceID, std::size_t* position) const
{
    for (std::size_t i = 0; i < services_.size(); ++i) {
        if (services_[i].id != serviceID) continue;
        if (position) *position = i;
        return &services_[i];
    }
    return nullptr;
}

bool WorkSetEditorModel::canMoveUp(const std::string& serviceID) const
{
    return !services_.empty() && services_.front().id != serviceID;
}

bool WorkSetEditorModel::canMoveDown(const std::string& serviceID) const
{
    return !services_.empty() && services_.back().id != serviceID;
}

void WorkSetEditorModel::move(const std::string& serviceID, int offset)
{
    std::size_t i = 0;
    if (!first(serviceID, &i)) return;
    const auto j = static_cast<std::ptrdiff_t>(i) + offset;
    if (j < 0 || j >= static_cast<std::ptrdiff_t>(services_.size())) return;
    std::swap(services_[i], services_[static_cast<std::size_t>(j)]);
}

void WorkSetEditorModel::remove(const std::string& serviceID)
{
    std::erase_if(services_, [&](const Service& service) { return service.id == serviceID; });
}

std::vector<Service> WorkSetEditorModel::available() const
{
    std::set<std::string> seen;
    for (const auto& service : services_) seen.insert(service.id);
    std::vector<Service> offered;
    auto offer = [&](const Service& service) {
        if (seen.insert(service.id).second) offered.push_back(service);
    };
    for (const auto& service : model_.library().services) offer(service);
    for (const auto& service : Catalog::all()) offer(service);
    return offered;
}

void WorkSetEditorModel::add(const Service& service)
{
    services_.push_back(service);
    addresses_[service.id] = service.url;
}

bool WorkSetEditorModel::valid() const
{
    if (isBlank(name) || services_.empty()) return false;
    for (const auto& service : services_) {
        if (!WebsiteURL::parse(address(service.id))) return false;
    }
    return true;
}

WorkSet WorkSetEditorModel::edited() const
{
    WorkSet set{id_, trimWhitespace(name), {}};
    for (auto service : services_) {
        if (auto page = WebsiteURL::parse(address(service.id))) service.url = *page;
        set.services.push_back(std::move(service));
    }
    return set;
}

}  // namespace meridavolt
