#pragma once

#include "model/Service.h"
#include "state/AppModel.h"

#include <cstddef>
#include <set>
#include <string>
#include <vector>

namespace meridavolt {

// What the service manager sheet shows and does: the library in bar order,
// the catalogue rows that can be added, deletion without a question and
// reordering in place. Every lasting change goes through the application state.
class ServiceManagerModel {
public:
    static constexpr const char* title = "サービス";
    static constexpr const char* doneTitle = "完了";
    static constexpr const char* myServicesTitle = "マイサービス";
    static constexpr const char* addTitle = "追加";
    static constexpr const char* websiteTitle = "Webサイト";
    static constexpr const char* deleteTitle = "削除";

    explicit ServiceManagerModel(AppModel& model) : model_(model) {}

    const std::vector<Service>& services() const { return model_.library().services; }

    // Catalogue rows, in catalogue order, whose id no current service has.
    // Tombstones do not count: a deleted catalogue service is offered again.
    std::vector<Service> addable() const;
    // Adds the catalogue row unchanged, with its own time stamp.
    void add(const Service& catalogueRow) { model_.add(catalogueRow); }
    // Removes the first service with this id at once; an id that is gone meanwhile does nothing.
    void remove(const std::string& id);
    // Moves the services at `sources` (keeping their order) before the service
    // that stood at `destination`, or to the end; one library change, then one save.
    void move(const std::set<std::size_t>& sources, std::size_t destination);

    // The maker's home page, on the maker's web host.
    static std::string makerHomePage();

private:
    AppModel& model_;
};

// The list move: `items` with the entries at `sources` taken out and put, in
// their order, before the entry that stood at `destination` (at the end when
// it equals the count). Positions outside the list are ignored.
template <typename Item>
std::vector<Item> movedItems(const std::vector<Item>& items, const std::set<std::size_t>& sources,
                             std::size_t destination)
{
    std::vector<Item> moved, before, after;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (sources.count(i)) moved.push_back(items[i]);
        else if (i < destination) before.push_back(items[i]);
        else after.push_back(items[i]);
    }
    before.insert(before.end(), moved.begin(), moved.end());
    before.insert(before.end(), after.begin(), after.end());
    return before;
}

}  // namespace meridavolt
