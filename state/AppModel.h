#pragma once

#include "clipboard/ClipboardEntry.h"
#include "clipboard/ClipboardStore.h"
#include "model/LibraryRepository.h"
#include "model/Service.h"
#include "model/ServiceLibrary.h"
#include "model/ServiceSwitchHistory.h"
#include "model/StartupSelection.h"
#include "model/WorkSet.h"
#include "model/WorkSetRepository.h"
#include "platform/Clock.h"
#include "platform/Scheduler.h"
#include "platform/Settings.h"
#include "platform/Signal.h"
#include "state/QuickLauncherControl.h"
#include "state/Workspace.h"
#include "web/WebEngine.h"
#include "web/WebSession.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace meridavolt {

class AppModel;

using ClipboardStoreFactory = std::function<std::unique_ptr<ClipboardStore>()>;
using QuickLauncherFactory = std::function<std::unique_ptr<QuickLauncherControl>(AppModel&)>;

// What the application state stands on. The host wires the real stores,
// sessions and desktop; tests pass fakes. Settings, clock, scheduler and
// workspace must outlive the state.
struct AppModelServices {
    std::unique_ptr<LibraryRepository> repository;         // none: services.json in the data folder
    std::unique_ptr<WorkSetRepository> workSetRepository;  // none: worksets.json in the data folder
    Settings& settings;
    const Clock& clock;
    Scheduler& scheduler;
    Workspace& workspace;
    WebEngineFactory makeWebEngine;  // one engine per web session
    ClipboardStoreFactory makeClipboardStore;
    QuickLauncherFactory makeQuickLauncher;  // optional; runs last, once the state is complete
};

// The one observable application state of the process: the library and the
// work sets with their files, what the workspace shows, the live web
// sessions, the clipboard memory and the one message for the user. Lives on
// the main thread. Every field is changed through a setter or an operation,
// which runs the field's observer and then emits the field's signal, so views
// always see a consistent state whoever made the change.
class AppModel {
public:
    static constexpr const char* canvaMigrationKey = "canvaEmbeddedMigration.v1";
    static constexpr const char* youTubeMigrationKey = "embeddedYouTubeDefault.v1";
    static constexpr std::size_t maximumMountedServices = 3;
    static constexpr std::chrono::milliseconds pasteDelay{160};

    // Reads the work-sets file, then the services file, runs the one-time
    // migrations and last creates the quick launcher.
    explicit AppModel(AppModelServices services);
    ~AppModel();
    AppModel(const AppModel&) = delete;
    AppModel& operator=(const AppModel&) = delete;

    // --- The library. Views that reorder it in place set it and then persist().
    const ServiceLibrary& library() const { return library_; }
    void setLibrary(ServiceLibrary library);
    Signal<> libraryChanged;

    // --- What the workspace shows.
    const std::optional<std::string>& selectedID() const { return selectedID_; }
    // The home button empties the workspace with it; the service left is paused.
    void setSelectedID(std::optional<std::string> id);
    Signal<> selectedIDChanged;

    const std::optional<std::string>& secondaryID() const { return secondaryID_; }
    Signal<> secondaryIDChanged;

    const std::optional<std::string>& focusedPaneID() const { return focusedPaneID_; }
    // A tap on a pane, the home button.
    void setFocusedPaneID(std::optional<std::string> id);
    Signal<> focusedPaneIDChanged;

    // Most recently activated last, at most three after an activation.
    const std::vector<std::string>& mountedIDs() const { return mountedIDs_; }
    Signal<> mountedIDsChanged;

    const ServiceSwitchHistory& switchHistory() const { return switchHistory_; }
    Signal<> switchHistoryChanged;

    // Derived, in library order.
    std::optional<Service> selected() const;
    std::vector<Service> mountedServices() const;
    std::optional<Service> previousService() const;

    // --- Start-up.
    bool hasShownStartup() const { return hasShownStartup_; }
    void setHasShownStartup(bool shown) { hasShownStartup_ = shown; }
    const StartupSelection& startupSelection() const { return startupSelection_; }
    // Every explicit choice of the user ends the pending start-up choice.
    void cancelStartupSelection() { startupSelection_.cancel(); }

    // --- Work sets.
    const std::vector<WorkSet>& workSets() const { return workSets_; }
    Signal<> workSetsChanged;
    bool workSetsReadable() const { return workSetsReadable_; }
    bool storageReadable() const { return storageReadable_; }

    // --- Sheets and panels; showing one cancels the start-up choice.
    bool showingWorkSets() const { return showingWorkSets_; }
    void setShowingWorkSets(bool showing);
    Signal<> showingWorkSetsChanged;

    bool managing() const { return managing_; }
    void setManaging(bool managing);
    Signal<> managingChanged;

    // The service whose quick-action sheet is shown.
    const std::optional<Service>& quickService() const { return quickService_; }
    void setQuickService(std::optional<Service> service);
    Signal<> quickServiceChanged;

    bool showingClipboard() const { return showingClipboard_; }
    void setShowingClipboard(bool showing);
    Signal<> showingClipboardChanged;

    // The probed page has an editable field remembered.
    bool canPasteClipboard() const { return canPasteClipboard_; }
    Signal<> canPasteClipboardChanged;
    const std::optional<std::string>& pasteServiceID() const { return pasteServiceID_; }

    // --- The one message for the user; the alert's button clears it.
    const std::optional<std::string>& error() const { return error_; }
    void setError(std::optional<std::string> message);
    Signal<> errorChanged;

    // --- What the state was built on, for views with settings or timers of their own.
    Settings& settings() const { return services_.settings; }
    Scheduler& scheduler() const { return services_.scheduler; }

    // --- Owned parts.
    ClipboardStore& clipboard() { return *clipboard_; }
    QuickLauncherControl* quickLauncher() const { return quickLauncher_.get(); }
    const std::map<std::string, std::shared_ptr<WebSession>>& sessions() const { return sessions_; }

    // --- Activation, mounted panes and split.
    // Shows a service, on `url` when given; a service that opens outside is
    // handed to the desktop instead.
    void activate(Service service, std::optional<std::string> url = std::nullopt);
    // The service's live session, created (and loading its home page) on first use.
    std::shared_ptr<WebSession> session(const Service& service);
    void openBeside(Service service, bool onLeft);
    void closeSplit();
    // The end of the start-up animation: opens the first service when the
    // start-up choice is still pending and no message waits.
    void finishStartup();

    // --- Library edits and work sets; each change is saved at once.
    void persist();
    void add(Service service);
    void update(Service service);
    // Positions in the list as it stands; positions outside it are skipped.
    void remove(const std::set<std::size_t>& offsets);
    WorkSet currentWorkSet() const;
    void saveWorkSet(WorkSet set);
    void removeWorkSet(const WorkSet& set);
    void applyWorkSet(WorkSet set);

    // --- Opening outside the window.
    void openExternal(const std::string& url);
    void launch(Service service);
    void launchChrome(const std::string& url);
    void launchMacLINE();

    // --- The clipboard bridge.
    void openClipboard();
    void pasteClipboardEntry(const ClipboardEntry& entry);

private:
    void loadWorkSets();
    void loadLibrary();
    void migrateCanvaOpening();
    void migrateYouTubeDefault();
    // Records a one-time migration as done before it runs: false when it ran
    // already, or when the settings cannot remember it.
    bool beginMigration(const char* key);
    // Tells the user, once a run, that a settings change could not be stored.
    void reportUnsavedSettings();

    const Service* findService(const std::string& id) const;
    // Writes the work sets, then publishes them; a failed write keeps the old ones.
    void storeWorkSets(std::vector<WorkSet> sets, const char* failureText);

    void assignSelectedID(std::optional<std::string> id);
    void assignSecondaryID(std::optional<std::string> id);
    void assignMountedIDs(std::vector<std::string> ids);
    void assignSwitchHistory(ServiceSwitchHistory history);
    void assignWorkSets(std::vector<WorkSet> sets);
    void assignCanPasteClipboard(bool can);
    void unmount(const std::string& id);
    // An edited or removed service leaves the workspace: its session is dropped
    // so that the next display starts from its current address.
    void dismissService(const std::string& id);
    void pauseMedia(const std::optional<std::string>& id);

    std::optional<std::string> pasteTarget() const;
    void finishPasteProbe(const std::string& target, bool editable);
    void pasteAfterDelay(std::uint64_t task, std::string target, std::shared_ptr<WebSession> session,
                         std::string text);

    // Wraps a completion that may arrive after this state is gone: it then does nothing.
    template <typename Handler>
    auto whileAlive(Handler handler)
    {
        return [alive = std::weak_ptr<bool>(alive_), handler = std::move(handler)](auto&&... arguments) {
            if (!alive.expired()) handler(std::forward<decltype(arguments)>(arguments)...);
        };
    }

    AppModelServices services_;

    ServiceLibrary library_;
    std::optional<std::string> secondaryID_;
    std::optional<std::string> focusedPaneID_;
    std::unique_ptr<QuickLauncherControl> quickLauncher_;
    std::optional<std::string> selectedID_;
    std::vector<std::string> mountedIDs_;
    bool hasShownStartup_ = false;
    StartupSelection startupSelection_;
    ServiceSwitchHistory switchHistory_;
    std::vector<WorkSet> workSets_;
    bool showingWorkSets_ = false;
    std::unique_ptr<WorkSetRepository> workSetRepository_;
    bool workSetsReadable_ = true;
    std::unique_ptr<ClipboardStore> clipboard_;
    bool showingClipboard_ = false;
    bool canPasteClipboard_ = false;
    std::optional<std::string> pasteServiceID_;
    std::optional<std::string> error_;
    bool managing_ = false;
    std::optional<Service> quickService_;
    std::unique_ptr<LibraryRepository> repository_;
    std::map<std::string, std::shared_ptr<WebSession>> sessions_;
    bool storageReadable_ = true;

    std::map<std::uint64_t, Timer> pasteTimers_;
    std::uint64_t nextPasteTask_ = 0;
    bool toldSettingsUnsaved_ = false;
    Connection settingsChanges_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace meridavolt
