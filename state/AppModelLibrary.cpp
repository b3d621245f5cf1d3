// AppModel: library edits and work-set operations. Every change is written at
// once; a file that could not be read at start is never written in this run.
#include "state/AppModel.h"

#include "model/WebsiteURL.h"
#include "platform/Uuid.h"
#include "state/ErrorDescription.h"

#include <algorithm>

namespace meridavolt {

namespace {

constexpr const char* libraryRefusedText = "保存データを読み込めないため、変更を保存できません。";
constexpr const char* librarySaveFailedText = "変更を保存できませんでした。\n";
constexpr const char* workSetRefusedText = "作業セットを保存できません。名前とURLを確認してください。";
constexpr const char* workSetSaveFailedText = "作業セットを保存できませんでした。";
constexpr const char* workSetRemoveFailedText = "作業セットを削除できませんでした。";
constexpr const char* newWorkSetName = "新しい作業";

}  // namespace

void AppModel::persist()
{
    if (!storageReadable_) {
        setError(libraryRefusedText);
        return;
    }
    ServiceLibrary stamped = library_;
    stamped.modifiedAt = services_.clock.now();
    setLibrary(std::move(stamped));
    try {
        repository_->save(library_);
    } catch (...) {
        setError(librarySaveFailedText + describeCurrentException());
    }
}

void AppModel::add(Service service)
{
    if (findService(service.id)) return;
    ServiceLibrary library = library_;
    library.deletedIDs.erase(service.id);
    library.services.push_back(std::move(service));
    setLibrary(std::move(library));
    persist();
}

void AppModel::update(Service service)
{
    const Service* current = findService(service.id);
    if (!current) return;
    const auto index = current - library_.services.data();
    const std::string id = service.id;
    service.modifiedAt = services_.clock.now();
    ServiceLibrary library = library_;
    library.services[static_cast<std::size_t>(index)] = std::move(service);
    setLibrary(std::move(library));

    dismissService(id);
    persist();
}

void AppModel::remove(const std::set<std::size_t>& offsets)
{
    std::vector<std::size_t> positions;
    for (std::size_t offset : offsets) {
        if (offset < library_.services.size()) positions.push_back(offset);
    }
    if (positions.empty()) return;

    ServiceLibrary library = library_;
    for (std::size_t offset : positions) {
        const std::string id = library.services[offset].id;
        ServiceSwitchHistory history = switchHistory_;
        history.remove(id);
        assignSwitchHistory(std::move(history));
        library.deletedIDs[id] = services_.clock.now();
        dismissService(id);
    }
    // From the last position first, so earlier positions still point at their services.
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        library.services.erase(library.services.begin() + static_cast<std::ptrdiff_t>(*it));
    }
    setLibrary(std::move(library));
    persist();
}

WorkSet AppModel::currentWorkSet() const
{
    std::vector<Service> services = library_.services;
    for (auto& service : services) {
        auto live = sessions_.find(service.id);
        if (live == sessions_.end() || !live->second->currentURL()) continue;
        if (auto page = WebsiteURL::parse(*live->second->currentURL())) service.url = *page;
    }
    return WorkSet{makeUUID(), newWorkSetName, std::move(services)};
}

void AppModel::saveWorkSet(WorkSet set)
{
    if (!set.isValid() || !workSetsReadable_) {
        setError(workSetRefusedText);
        return;
    }
    std::vector<WorkSet> sets = workSets_;
    auto same = std::find_if(sets.begin(), sets.end(), [&](const WorkSet& s) { return s.id == set.id; });
    if (same != sets.end()) {
        *same = std::move(set);
    } else {
        sets.push_back(std::move(set));
    }
    storeWorkSets(std::move(sets), workSetSaveFailedText);
}

void AppModel::removeWorkSet(const WorkSet& set)
{
    // The user confirmed the deletion: say why it did not happen.
    if (!workSetsReadable_) {
        setError(workSetRemoveFailedText);
        return;
    }
    std::vector<WorkSet> sets = workSets_;
    std::erase_if(sets, [&](const WorkSet& s) { return s.id == set.id; });
    storeWorkSets(std::move(sets), workSetRemoveFailedText);
}

void AppModel::storeWorkSets(std::vector<WorkSet> sets, const char* failureText)
{
    try {
        workSetRepository_->save(sets);
    } catch (...) {
        setError(failureText);
        return;
    }
    assignWorkSets(std::move(sets));
}

void AppModel::applyWorkSet(WorkSet set)
{
    closeSplit();
    ServiceLibrary library = library_;
    if (!library.apply(set, services_.clock)) return;
    setLibrary(std::move(library));
    for (const auto& service : set.services) {
        if (auto live = sessions_.find(service.id); live != sessions_.end()) live->second->load(service.url);
    }
    persist();
    setShowingWorkSets(false);
    if (!set.services.empty()) activate(set.services.front());
}

}  // namespace meridavolt
