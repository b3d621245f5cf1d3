#include "state/AppModel.h"

#include "model/Catalog.h"
#include "state/ErrorDescription.h"
#include "state/StartupMigrations.h"

#include <algorithm>

namespace meridavolt {

namespace {

constexpr const char* workSetsUnreadableText = "作業セットを読み込めませんでした。元のデータは保持しています。";
constexpr const char* libraryUnreadableText =
    "保存データを読み込めませんでした。元のデータを保護するため、変更は保存されません。";
constexpr const char* canvaMigrationFailedText =
    "Canvaの表示設定を更新できませんでした。再起動するともう一度更新します。";
constexpr const char* youTubeMigrationFailedText =
    "YouTubeの起動設定を保存できませんでした。次回起動時に再試行します。";
constexpr const char* settingsUnsavedText = "設定を保存できませんでした。設定の変更は終了すると元に戻ります。";

template <typename T>
bool assignIfChanged(T& field, T value)
{
    if (field == value) return false;
    field = std::move(value);
    return true;
}

}  // namespace

AppModel::AppModel(AppModelServices services) : services_(std::move(services))
{
    library_.services = Catalog::initial();
    library_.modifiedAt = services_.clock.now();
    workSets_ = WorkSet::presets();
    workSetRepository_ = services_.workSetRepository ? std::move(services_.workSetRepository)
                                                     : std::make_unique<JSONWorkSetRepository>();
    clipboard_ = services_.makeClipboardStore();
    repository_ = services_.repository ? std::move(services_.repository) : std::make_unique<JSONLibraryRepository>();

    settingsChanges_ = services_.settings.changed.connect([this](const std::string&) { reportUnsavedSettings(); });
    loadWorkSets();
    loadLibrary();
    migrateCanvaOpening();
    migrateYouTubeDefault();

    if (services_.makeQuickLauncher) quickLauncher_ = services_.makeQuickLauncher(*this);
}

AppModel::~AppModel() = default;

void AppModel::loadWorkSets()
{
    try {
        if (auto stored = workSetRepository_->load()) workSets_ = std::move(*stored);
    } catch (...) {
        workSetsReadable_ = false;
        error_ = workSetsUnreadableText;
    }
}

void AppModel::loadLibrary()
{
    try {
        if (auto stored = repository_->load()) library_ = std::move(*stored);
    } catch (...) {
        storageReadable_ = false;
        error_ = libraryUnreadableText;
    }
}

bool AppModel::beginMigration(const char* key)
{
    Settings& settings = services_.settings;
    // Settings that cannot be read, or written, cannot record that a migration
    // ran: it would run again at every start, undoing what the user changed
    // since. It counts as done instead.
    if (!settings.isReadable() || settings.boolValue(key).value_or(false)) return false;
    settings.setBool(key, true);
    return settings.lastWriteSucceeded();
}

void AppModel::reportUnsavedSettings()
{
    if (toldSettingsUnsaved_ || services_.settings.lastWriteSucceeded()) return;
    toldSettingsUnsaved_ = true;
    setError(settingsUnsavedText);
}

void AppModel::migrateCanvaOpening()
{
    if (!storageReadable_ || !workSetsReadable_ || !beginMigration(canvaMigrationKey)) return;
    const Date now = services_.clock.now();

    ServiceLibrary library = library_;
    for (auto& service : library.services) service = openingCanvaInside(std::move(service), now);
    std::vector<WorkSet> sets = workSets_;
    for (auto& set : sets) {
        for (auto& service : set.services) service = openingCanvaInside(std::move(service), now);
    }

    try {
        if (library != library_) {
            library.modifiedAt = now;
            repository_->save(library);
        }
        if (sets != workSets_) workSetRepository_->save(sets);
    } catch (...) {
        services_.settings.remove(canvaMigrationKey);  // tried again at the next start
        setError(canvaMigrationFailedText);
        return;
    }
    setLibrary(std::move(library));
    assignWorkSets(std::move(sets));
}

void AppModel::migrateYouTubeDefault()
{
    if (!storageReadable_ || !workSetsReadable_ || !beginMigration(youTubeMigrationKey)) return;

    ServiceLibrary library = library_;
    library.restoreYouTubeDefault(services_.clock);
    std::vector<WorkSet> sets = replacingBraveWithYouTube(workSets_);
    try {
        repository_->save(library);
        workSetRepository_->save(sets);
    } catch (...) {
        services_.settings.remove(youTubeMigrationKey);  // tried again at the next start
        setError(youTubeMigrationFailedText);
        return;
    }
    assignWorkSets(std::move(sets));
    setLibrary(std::move(library));
}

// --- Setters: each runs the field's observer, then tells the views.

void AppModel::setLibrary(ServiceLibrary library)
{
    if (assignIfChanged(library_, std::move(library))) libraryChanged.emit();
}

void AppModel::setSelectedID(std::optional<std::string> id) { assignSelectedID(std::move(id)); }

void AppModel::assignSelectedID(std::optional<std::string> id)
{
    std::optional<std::string> old = selectedID_;
    selectedID_ = std::move(id);
    // The service left stops playing, unless it is still visible beside.
    if (old && old != selectedID_ && old != secondaryID_) pauseMedia(old);
    if (old != selectedID_) selectedIDChanged.emit();
}

void AppModel::assignSecondaryID(std::optional<std::string> id)
{
    if (assignIfChanged(secondaryID_, std::move(id))) secondaryIDChanged.emit();
}

void AppModel::setFocusedPaneID(std::optional<std::string> id)
{
    if (assignIfChanged(focusedPaneID_, std::move(id))) focusedPaneIDChanged.emit();
}

void AppModel::assignMountedIDs(std::vector<std::string> ids)
{
    if (assignIfChanged(mountedIDs_, std::move(ids))) mountedIDsChanged.emit();
}

void AppModel::assignSwitchHistory(ServiceSwitchHistory history)
{
    const bool changed = history.current != switchHistory_.current || history.previous != switchHistory_.previous;
    switchHistory_ = std::move(history);
    if (changed) switchHistoryChanged.emit();
}

void AppModel::assignWorkSets(std::vector<WorkSet> sets)
{
    if (assignIfChanged(workSets_, std::move(sets))) workSetsChanged.emit();
}

void AppModel::setShowingWorkSets(bool showing)
{
    if (showing) startupSelection_.cancel();
    if (assignIfChanged(showingWorkSets_, showing)) showingWorkSetsChanged.emit();
}

void AppModel::setManaging(bool managing)
{
    if (managing) startupSelection_.cancel();
    if (assignIfChanged(managing_, managing)) managingChanged.emit();
}

void AppModel::setQuickService(std::optional<Service> service)
{
    if (service == quickService_) return;
    startupSelection_.cancel();
    quickService_ = std::move(service);
    quickServiceChanged.emit();
}

void AppModel::setShowingClipboard(bool showing)
{
    if (assignIfChanged(showingClipboard_, showing)) showingClipboardChanged.emit();
}

void AppModel::assignCanPasteClipboard(bool can)
{
    if (assignIfChanged(canPasteClipboard_, can)) canPasteClipboardChanged.emit();
}

void AppModel::setError(std::optional<std::string> message)
{
    if (assignIfChanged(error_, std::move(message))) errorChanged.emit();
}

// --- Derived members.

const Service* AppModel::findService(const std::string& id) const
{
    for (const auto& service : library_.services) {
        if (service.id == id) return &service;
    }
    return nullptr;
}

std::optional<Service> AppModel::selected() const
{
    const Service* service = selectedID_ ? findService(*selectedID_) : nullptr;
    return service ? std::optional<Service>(*service) : std::nullopt;
}

std::vector<Service> AppModel::mountedServices() const
{
    std::vector<Service> mounted;
    for (const auto& service : library_.services) {
        if (std::find(mountedIDs_.begin(), mountedIDs_.end(), service.id) != mountedIDs_.end()) {
            mounted.push_back(service);
        }
    }
    return mounted;
}

std::optional<Service> AppModel::previousService() const
{
    const Service* service = switchHistory_.previous ? findService(*switchHistory_.previous) : nullptr;
    return service ? std::optional<Service>(*service) : std::nullopt;
}

}  // namespace meridavolt
