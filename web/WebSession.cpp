#include "web/WebSession.h"

#include "web/AdBlockingRules.h"
#include "web/PageScripts.h"
#include "web/WebAddress.h"

#include <algorithm>

namespace meridavolt {

namespace {

bool isOneOf(const std::optional<std::string>& scheme, std::initializer_list<const char*> schemes)
{
    return scheme && std::any_of(schemes.begin(), schemes.end(), [&](const char* s) { return *scheme == s; });
}

}  // namespace

// Collects the published changes of one operation or engine event and emits
// `changed` once when the outermost scope ends.
class WebSession::ChangeScope {
public:
    explicit ChangeScope(WebSession& session) : session_(session) { ++session_.changeDepth_; }
    ~ChangeScope()
    {
        if (--session_.changeDepth_ > 0 || !session_.dirty_) return;
        session_.dirty_ = false;
        session_.changed.emit();
    }
    ChangeScope(const ChangeScope&) = delete;
    ChangeScope& operator=(const ChangeScope&) = delete;

private:
    WebSession& session_;
};

WebSession::WebSession(std::string url, std::unique_ptr<WebEngine> engine, Settings& settings, Scheduler& scheduler)
    : engine_(std::move(engine)), settings_(settings), scheduler_(scheduler)
{
    adBlockingEnabled_ = settings_.boolValue(adBlockingSettingKey).value_or(true);
    engine_->setDelegate(this);
    load(url);
}

WebSession::~WebSession()
{
    *alive_ = false;
    engine_->setDelegate(nullptr);
}

// --- operations ---

void WebSession::load(const std::string& url)
{
    // The engine runs a script address it is asked to load without asking the
    // policy: what the policy would turn away is turned away here, with the
    // same effect, and the page and its address stay.
    if (decideNavigation({url}) == NavigationDecision::cancel) return;
    ChangeScope scope(*this);
    assign(failure_, std::optional<std::string>());
    assign(currentURL_, std::optional<std::string>(url));
    if (isYouTubeURL(url) && adBlockingEnabled_ && !adRuleCompilationStarted_) {
        startAdRuleCompilation(url);
    } else if (adBlockingPreparing_) {
        pendingURL_ = url;  // a later request replaces an earlier parked one
    } else {
        startRequest(url);
    }
}

void WebSession::refresh()
{
    ChangeScope scope(*this);
    assign(canGoBack_, engine_->canGoBack());
    assign(canGoForward_, engine_->canGoForward());
    // Blank and blob pages keep the last web address, which is what the user
    // would reload or save in a work set.
    if (auto address = engine_->currentAddress(); address && WebAddress::isWeb(*address)) {
        assign(currentURL_, address);
    }
}

void WebSession::reload()
{
    ChangeScope scope(*this);
    auto address = engine_->currentAddress();
    if (failure_ || !address || WebAddress::lowercaseScheme(*address) == "about") {
        // The engine's own reload would repeat the failed or blank page.
        if (currentURL_) load(*currentURL_);
        return;
    }
    assign(failure_, std::optional<std::string>());
    engine_->reload();
}

void WebSession::goBack() { engine_->goBack(); }

void WebSession::goForward() { engine_->goForward(); }

void WebSession::pauseAllMediaPlayback() { engine_->pauseMedia(); }

void WebSession::toggleAdBlocking()
{
    if (adBlockingPreparing_) return;
    ChangeScope scope(*this);
    assign(adBlockingEnabled_, !adBlockingEnabled_);
    settings_.setBool(adBlockingSettingKey, adBlockingEnabled_);
    if (adRules_) {
        if (adBlockingEnabled_) {
            engine_->attachContentRuleList(adRules_);
        } else {
            engine_->detachContentRuleList(adRules_);
        }
    } else if (adBlockingEnabled_) {
        adRuleCompilationStarted_ = false;  // a failed compilation is retried on the next video-site load
    }
    assign(adBlockingError_, std::optional<std::string>());
    if (currentURL_) load(*currentURL_);
}

void WebSession::dismissExternalRequest()
{
    ChangeScope scope(*this);
    assign(externalRequest_, std::optional<std::string>());
}

void WebSession::capturePasteTarget(std::function<void(bool)> completion)
{
    runBooleanScript(PageScripts::capturePasteTarget, {}, std::move(completion));
}

void WebSession::pasteSavedText(const std::string& text, std::function<void(bool)> completion)
{
    runBooleanScript(PageScripts::pasteSavedText, {{"text", text}}, std::move(completion));
}

bool WebSession::isYouTubeURL(const std::optional<std::string>& url)
{
    if (!url) return false;
    auto host = WebAddress::lowercaseHost(*url);
    if (!host) return false;
    const std::string domain = videoSiteDomain;
    return *host == domain || host->ends_with("." + domain);
}

// --- engine events ---

NavigationDecision WebSession::decideNavigation(const NavigationAction& action)
{
    if (!action.address) return NavigationDecision::cancel;
    auto scheme = WebAddress::lowercaseScheme(*action.address);
    if (isOneOf(scheme, {"http", "https", "about", "blob"})) return NavigationDecision::allow;
    if (isOneOf(scheme, {"mailto", "tel", "line", "twitter", "x"})) {
        ChangeScope scope(*this);
        assign(externalRequest_, action.address);
    }
    return NavigationDecision::cancel;
}

void WebSession::newWindowRequested(const NavigationAction& action)
{
    // The session never opens a second view: web addresses load here, the rest is dropped.
    if (action.address && WebAddress::isWeb(*action.address)) load(*action.address);
}

void WebSession::loadStarted()
{
    ChangeScope scope(*this);
    assign(loading_, true);
    assign(failure_, std::optional<std::string>());
}

void WebSession::loadCommitted()
{
    requestTimer_.reset();  // a response arrived
}

void WebSession::loadFinished()
{
    // `loading` follows the engine's own flag, and the time limit stays: the
    // load a new request replaced reports its end after that request began.
    refresh();
}

void WebSession::loadFailed(const LoadError& error)
{
    if (error.kind == LoadError::Kind::cancelled) return;
    requestTimer_.reset();
    ChangeScope scope(*this);
    assign(loading_, false);
    assign(failure_, std::optional<std::string>(error.kind == LoadError::Kind::interruptedByPolicyChange
                                                    ? interruptedText
                                                    : error.message));
}

void WebSession::webProcessTerminated()
{
    requestTimer_.reset();
    ChangeScope scope(*this);
    assign(loading_, false);
    assign(failure_, std::optional<std::string>(processEndedText));
}

void WebSession::loadingChanged(bool loading)
{
    ChangeScope scope(*this);
    assign(loading_, loading);
}

void WebSession::addressChanged() { scheduleRefresh(); }

void WebSession::historyChanged() { scheduleRefresh(); }

// --- helpers ---

void WebSession::startRequest(const std::string& url)
{
    requestTimer_ = scheduler_.after(requestTimeout, [this] { requestTimedOut(); });
    engine_->load(url);
}

void WebSession::requestTimedOut()
{
    requestTimer_.reset();
    // A request that ended without a response (stopped, or turned away by
    // the navigation policy) left nothing to time out.
    if (!loading_) return;
    // Stopping reports a cancelled load, which is never shown: the text is set here.
    engine_->stop();
    ChangeScope scope(*this);
    assign(loading_, false);
    assign(failure_, std::optional<std::string>(timedOutText));
}

void WebSession::startAdRuleCompilation(const std::string& url)
{
    adRuleCompilationStarted_ = true;
    assign(adBlockingPreparing_, true);
    pendingURL_ = url;
    engine_->compileContentRuleList(
        adRuleListIdentifier, adBlockingRuleList(videoSiteAdRuleHosts()),
        [this](std::shared_ptr<ContentRuleList> rules, std::optional<std::string> error) {
            adRulesCompiled(std::move(rules), error);
        });
}

void WebSession::adRulesCompiled(std::shared_ptr<ContentRuleList> rules, const std::optional<std::string>& error)
{
    ChangeScope scope(*this);
    assign(adBlockingPreparing_, false);
    adRules_ = std::move(rules);
    if (adRules_ && adBlockingEnabled_) engine_->attachContentRuleList(adRules_);
    if (!adRules_ || error) assign(adBlockingError_, std::optional<std::string>(adBlockingFailedText));
    if (pendingURL_) {
        // currentURL already holds this address: it was the latest one requested.
        auto url = std::move(*pendingURL_);
        pendingURL_.reset();
        startRequest(url);
    }
}

void WebSession::scheduleRefresh()
{
    scheduler_.post([this, alive = std::weak_ptr<bool>(alive_)] {
        if (auto flag = alive.lock(); flag && *flag) refresh();
    });
}

void WebSession::runBooleanScript(const std::string& body, const WebEngine::ScriptArguments& arguments,
                                  std::function<void(bool)> completion)
{
    engine_->runScript(body, arguments, [completion = std::move(completion)](std::optional<bool> result) {
        completion(result.value_or(false));
    });
}

}  // namespace meridavolt
