#pragma once

#include "platform/Signal.h"
#include "update/DistributionConfig.h"
#include "update/DistributionFileViewer.h"
#include "update/DistributionHTTP.h"
#include "update/DistributionSavePanel.h"
#include "update/FriendRelease.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace meridavolt {

namespace updateMessages {
inline constexpr const char* ready = "更新を確認できます";
inline constexpr const char* notConfigured = "更新の配布設定が未完了です";
inline constexpr const char* upToDate = "最新バージョンです";
inline constexpr const char* checkFailed = "更新情報を確認できませんでした。今のバージョンはそのまま使えます。";
inline constexpr const char* downloading = "更新をダウンロードしています…";
inline constexpr const char* saved = "確認済みの更新を保存しました。アプリを終了し、DMG内のアプリで置き換えてください。";
inline constexpr const char* downloadFailed = "ダウンロードを確認できませんでした。更新ファイルは保存していません。";
// "バージョン 2.1.0 に更新できます"
std::string offer(const std::string& version);
}  // namespace updateMessages

// The name offered in the save panel: "MERIDAVOLT-" + version + ".dmg", with
// "/" and control characters of the version replaced so the text stays one
// plain file name.
std::string suggestedDiskImageName(const std::string& version);

// The update checker: the observable state of the update sheet and its two
// operations. Main thread only. One operation runs at a time: while a check,
// the save panel or a download is under way, both operations return at once.
class MacDistribution {
public:
    // Identifies a started check so that its starter can cancel it later.
    using OperationID = std::uint64_t;

    struct Services {
        std::shared_ptr<DistributionHTTP> http;
        std::shared_ptr<DistributionSavePanel> savePanel;
        std::shared_ptr<DistributionFileViewer> fileViewer;
    };

    // config: DistributionConfig::load() in the application; runningBuild:
    // runningBuildNumber(). Starts no request.
    MacDistribution(std::optional<DistributionConfig> config, std::int64_t runningBuild, Services services);
    ~MacDistribution();
    MacDistribution(const MacDistribution&) = delete;
    MacDistribution& operator=(const MacDistribution&) = delete;

    bool showingUpdates() const { return showingUpdates_; }
    const std::string& updateMessage() const { return updateMessage_; }
    const std::optional<FriendRelease>& release() const { return release_; }
    // A check or a download transfer is running (the sheet's spinner).
    bool updateBusy() const { return updateBusy_; }
    bool savePanelOpen() const { return savePanelOpen_; }
    // Neither operation runs and the save panel is closed: the buttons are enabled.
    bool canStartOperation() const { return !updateBusy_ && !savePanelOpen_; }
    const std::optional<DistributionConfig>& config() const { return config_; }

    void setShowingUpdates(bool showing);

    // Fetches, verifies and validates the manifest and compares its build with
    // the running one. Returns the check's id, or 0 when none started.
    OperationID checkUpdate();
    // Cancels the check with this id if it is still running; it ends as a failed check.
    void cancelCheck(OperationID check);
    // Asks where to save the offered release, downloads it, compares its
    // SHA-256 and writes it atomically, then shows it in the file manager.
    void downloadUpdate();

    // Emitted after every change of the members above.
    Signal<> changed;

private:
    void finishCheck(OperationID check, FetchResult result);
    void startDownload(const FriendRelease& release, const std::filesystem::path& destination);
    void finishDownload(const FriendRelease& release, const std::filesystem::path& destination, FetchResult result);

    std::optional<DistributionConfig> config_;
    std::int64_t runningBuild_;
    Services services_;

    bool showingUpdates_ = false;
    std::string updateMessage_ = updateMessages::ready;
    std::optional<FriendRelease> release_;
    bool updateBusy_ = false;
    bool savePanelOpen_ = false;

    OperationID lastCheck_ = 0;
    OperationID runningCheck_ = 0;
    std::unique_ptr<FetchTask> fetchTask_;
    // Answers that arrive after the checker is gone find this expired and are dropped.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace meridavolt
