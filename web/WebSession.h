#pragma once

#include "platform/Scheduler.h"
#include "platform/Settings.h"
#include "platform/Signal.h"
#include "web/WebEngine.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace meridavolt {

// The one live web page of one service shown inside the window. It keeps its
// engine (and so its page, scroll position and form input) for its whole
// life, decides which links stay in the page, which are offered to other
// applications and which are dropped, turns load failures into a short text,
// blocks ads on the video site when enabled, and runs the page scripts that
// remember and fill the page's focused input field.
//
// Main thread only. Observers connect to `changed`, emitted once after any
// operation or engine event that changed a published field.
class WebSession final : private WebEngineDelegate {
public:
    static constexpr const char* adBlockingSettingKey = "youtubeAdBlocking";
    static constexpr std::chrono::seconds requestTimeout{60};

    static constexpr const char* processEndedText = "ページを再読み込みしてください。";
    static constexpr const char* interruptedText =
        "ページの切り替えが中断されました。再読み込みするか、Safari表示で開いてください。";
    // The engine has no request time limit of its own; the session stops a
    // request after `requestTimeout` and shows the usual system wording.
    static constexpr const char* timedOutText = "要求がタイムアウトしました。";
    static constexpr const char* adBlockingFailedText = "広告ブロックを準備できませんでした。通常表示で開いています。";

    // Starts loading `url` at once. Ad blocking starts from the stored
    // "youtubeAdBlocking" setting (on when absent).
    WebSession(std::string url, std::unique_ptr<WebEngine> engine, Settings& settings, Scheduler& scheduler);
    ~WebSession() override;
    WebSession(const WebSession&) = delete;
    WebSession& operator=(const WebSession&) = delete;

    // --- published state ---
    bool loading() const { return loading_; }
    const std::optional<std::string>& failure() const { return failure_; }
    bool canGoBack() const { return canGoBack_; }
    bool canGoForward() const { return canGoForward_; }
    // The address last requested through the session, or the last http or
    // https address the page reported.
    const std::optional<std::string>& currentURL() const { return currentURL_; }
    // A link to another application, waiting for the user's confirmation.
    const std::optional<std::string>& externalRequest() const { return externalRequest_; }
    bool adBlockingEnabled() const { return adBlockingEnabled_; }
    bool adBlockingPreparing() const { return adBlockingPreparing_; }
    const std::optional<std::string>& adBlockingError() const { return adBlockingError_; }

    Signal<> changed;

    // --- operations ---
    // Loads an address, waiting for the ad rules first when they are due. An
    // address the navigation policy cancels is not loaded: it only has the
    // policy's effect (an application link waits for the user's confirmation).
    void load(const std::string& url);
    // Copies the engine's history flags and web address into the published state.
    void refresh();
    // Reloads the page, or requests `currentURL` anew after a failure or on a blank page.
    void reload();
    void goBack();
    void goForward();
    void pauseAllMediaPlayback();
    // Flips the video-site ad blocking of this session, stores it as the
    // default for later sessions, and reloads the current page.
    void toggleAdBlocking();
    // The pane's confirmation dialog closed, whatever the answer.
    void dismissExternalRequest();

    // Remembers the page's focused text field; the completion learns whether
    // there was one. Completions run later on the main thread, and never after
    // the session is destroyed.
    void capturePasteTarget(std::function<void(bool)> completion);
    // Inserts text into the remembered field as typed input; the completion
    // learns whether it was inserted. A remembered field serves one paste.
    void pasteSavedText(const std::string& text, std::function<void(bool)> completion);

    // Whether an address belongs to the video site or one of its subdomains.
    static bool isYouTubeURL(const std::optional<std::string>& url);

    // The engine behind this session, for hosting its view.
    WebEngine& engine() { return *engine_; }

private:
    class ChangeScope;

    // WebEngineDelegate
    NavigationDecision decideNavigation(const NavigationAction& action) override;
    void newWindowRequested(const NavigationAction& action) override;
    void loadStarted() override;
    void loadCommitted() override;
    void loadFinished() override;
    void loadFailed(const LoadError& error) override;
    void webProcessTerminated() override;
    void loadingChanged(bool loading) override;
    void addressChanged() override;
    void historyChanged() override;

    void startRequest(const std::string& url);
    void requestTimedOut();
    void startAdRuleCompilation(const std::string& url);
    void adRulesCompiled(std::shared_ptr<ContentRuleList> rules, const std::optional<std::string>& error);
    void scheduleRefresh();
    void runBooleanScript(const std::string& body, const WebEngine::ScriptArguments& arguments,
                          std::function<void(bool)> completion);

    template <typename T>
    void assign(T& field, T value)
    {
        if (field == value) return;
        field = std::move(value);
        dirty_ = true;
    }

    std::unique_ptr<WebEngine> engine_;
    Settings& settings_;
    Scheduler& scheduler_;

    bool loading_ = false;
    std::optional<std::string> failure_;
    bool canGoBack_ = false;
    bool canGoForward_ = false;
    std::optional<std::string> currentURL_;
    std::optional<std::string> externalRequest_;
    bool adBlockingEnabled_ = true;
    bool adBlockingPreparing_ = false;
    std::optional<std::string> adBlockingError_;

    std::shared_ptr<ContentRuleList> adRules_;
    std::optional<std::string> pendingURL_;
    bool adRuleCompilationStarted_ = false;

    // The time limit of a request the session built itself, running until
    // a response arrives or the load fails.
    Timer requestTimer_;

    // Posted refreshes hold this weakly and do nothing once the session is gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    int changeDepth_ = 0;
    bool dirty_ = false;
};

}  // namespace meridavolt
