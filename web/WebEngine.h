#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace meridavolt {

// The script world our page scripts run in. The page's own scripts live in
// another world and can neither see nor change what ours keep there.
inline constexpr const char* scriptWorldName = "meridavolt";

// What a navigation request asks for. The address is absent when the engine
// could not read one.
struct NavigationAction {
    std::optional<std::string> address;
};

enum class NavigationDecision { allow, cancel };

// A failed load as the engine reports it, sorted into the cases the session
// treats differently.
struct LoadError {
    enum class Kind {
        cancelled,                  // superseded or stopped; not worth telling the user
        interruptedByPolicyChange,  // the page was replaced by a policy decision, e.g. a response it cannot show
        other,
    };
    Kind kind = Kind::other;
    std::string message;  // the engine's own description, shown as it stands
};

// A compiled content rule list, only meaningful to the engine that compiled it.
class ContentRuleList {
public:
    virtual ~ContentRuleList() = default;
};

// Events an engine reports to its session, always on the main thread.
class WebEngineDelegate {
public:
    virtual ~WebEngineDelegate() = default;

    // Asked for every navigation of every frame, and for a link that targets
    // a new window before `newWindowRequested`. Answered at once.
    virtual NavigationDecision decideNavigation(const NavigationAction& action) = 0;
    // A page asked for a new window (a link with a blank target, window.open).
    // The engine never opens one itself.
    virtual void newWindowRequested(const NavigationAction& action) = 0;

    virtual void loadStarted() = 0;
    virtual void loadCommitted() = 0;
    virtual void loadFinished() = 0;
    virtual void loadFailed(const LoadError& error) = 0;
    virtual void webProcessTerminated() = 0;

    virtual void loadingChanged(bool loading) = 0;
    virtual void addressChanged() = 0;
    virtual void historyChanged() = 0;
};

// One embedded web view, seen from the core. The real engine is WebKitGTK
// (web/webkit); tests use tests/fakes/FakeWebEngine.h.
class WebEngine {
public:
    // Boolean result of a script, or none when it failed or returned another type.
    using ScriptCompletion = std::function<void(std::optional<bool>)>;
    // A compiled list, or none with the engine's error text.
    using CompileCompletion = std::function<void(std::shared_ptr<ContentRuleList>, std::optional<std::string> error)>;
    // Named string arguments of a script; the script sees them as variables.
    using ScriptArguments = std::map<std::string, std::string>;

    virtual ~WebEngine() = default;

    // The delegate must outlive the engine or be reset to null first.
    virtual void setDelegate(WebEngineDelegate* delegate) = 0;

    virtual void load(const std::string& address) = 0;
    virtual void reload() = 0;
    virtual void stop() = 0;
    virtual void goBack() = 0;
    virtual void goForward() = 0;

    virtual std::optional<std::string> currentAddress() const = 0;
    virtual bool canGoBack() const = 0;
    virtual bool canGoForward() const = 0;

    // Runs a function body in the main frame, in our script world. The
    // completion runs later on the main thread, and never after the engine is
    // destroyed.
    virtual void runScript(const std::string& functionBody, const ScriptArguments& arguments,
                           ScriptCompletion completion) = 0;

    // Pauses every video and audio element of every frame; fire and forget.
    virtual void pauseMedia() = 0;

    // Compiles a WebKit content rule list (JSON) under an identifier; the
    // completion runs later on the main thread, and never after the engine is
    // destroyed.
    virtual void compileContentRuleList(const std::string& identifier, const std::string& json,
                                        CompileCompletion completion) = 0;
    virtual void attachContentRuleList(const std::shared_ptr<ContentRuleList>& rules) = 0;
    virtual void detachContentRuleList(const std::shared_ptr<ContentRuleList>& rules) = 0;
};

using WebEngineFactory = std::function<std::unique_ptr<WebEngine>()>;

}  // namespace meridavolt
