#pragma once

#include "web/WebEngine.h"

#include <algorithm>
#include <string>
#include <vector>

namespace meridavolt::fakes {

// A web engine that records what the session asks of it and lets the test
// play the engine's events. Scripts and compilations wait until the test
// completes them.
class FakeWebEngine final : public WebEngine {
public:
    struct ScriptCall {
        std::string functionBody;
        ScriptArguments arguments;
        ScriptCompletion completion;
    };
    struct Compilation {
        std::string identifier;
        std::string json;
        CompileCompletion completion;
    };
    class RuleList final : public ContentRuleList {};

    // --- what the session asked for ---
    std::vector<std::string> loads;  // every address passed to load(), in order
    int reloadCount = 0;
    int stopCount = 0;
    int backCount = 0;
    int forwardCount = 0;
    int pauseCount = 0;
    std::vector<ScriptCall> scripts;
    std::vector<Compilation> compilations;
    std::vector<std::shared_ptr<ContentRuleList>> attached;  // currently attached lists
    WebEngineDelegate* delegate = nullptr;

    // --- what the engine reports when asked ---
    std::optional<std::string> address;
    bool back = false;
    bool forward = false;

    // --- WebEngine ---
    void setDelegate(WebEngineDelegate* newDelegate) override { delegate = newDelegate; }
    void load(const std::string& target) override { loads.push_back(target); }
    void reload() override { ++reloadCount; }
    void stop() override { ++stopCount; }
    void goBack() override { ++backCount; }
    void goForward() override { ++forwardCount; }
    std::optional<std::string> currentAddress() const override { return address; }
    bool canGoBack() const override { return back; }
    bool canGoForward() const override { return forward; }
    void runScript(const std::string& functionBody, const ScriptArguments& arguments,
                   ScriptCompletion completion) override
    {
        scripts.push_back({functionBody, arguments, std::move(completion)});
    }
    void pauseMedia() override { ++pauseCount; }
    void compileContentRuleList(const std::string& identifier, const std::string& json,
                                CompileCompletion completion) override
    {
        compilations.push_back({identifier, json, std::move(completion)});
    }
    void attachContentRuleList(const std::shared_ptr<ContentRuleList>& rules) override
    {
        attached.push_back(rules);
    }
    void detachContentRuleList(const std::shared_ptr<ContentRuleList>& rules) override
    {
        std::erase(attached, rules);
    }

    // --- playing the engine's side ---
    // Moves to an address as a finished navigation would, reporting each step.
    void navigate(const std::string& target)
    {
        delegate->loadStarted();
        delegate->loadingChanged(true);
        address = target;
        delegate->addressChanged();
        delegate->loadCommitted();
        delegate->loadFinished();
        delegate->loadingChanged(false);
    }
    void fail(LoadError::Kind kind, std::string message = "failed")
    {
        delegate->loadFailed(LoadError{kind, std::move(message)});
    }
    void setHistory(bool canGoBack, bool canGoForward)
    {
        back = canGoBack;
        forward = canGoForward;
        delegate->historyChanged();
    }
    void finishScript(std::size_t index, std::optional<bool> result)
    {
        auto completion = std::move(scripts.at(index).completion);
        completion(result);
    }
    void finishCompilation(std::size_t index, bool succeeded)
    {
        auto completion = std::move(compilations.at(index).completion);
        if (succeeded) {
            completion(std::make_shared<RuleList>(), std::nullopt);
        } else {
            completion(nullptr, std::string("compile error"));
        }
    }
};

}  // namespace meridavolt::fakes
