#pragma once

#include "web/WebEngine.h"

#include <memory>

typedef struct _GtkWidget GtkWidget;
typedef struct _WebKitWebView WebKitWebView;
typedef struct _WebKitUserContentManager WebKitUserContentManager;
typedef struct _GCancellable GCancellable;

namespace meridavolt {

struct WebKitShared;

// A WebKitGTK web view behind our engine interface. The engine holds its own
// reference on the view, so the view survives being taken out of the widget
// tree; it is destroyed with the engine, or, when it is still in the widget
// tree then, when its parent lets it go.
class WebKitEngine final : public WebEngine {
public:
    explicit WebKitEngine(std::shared_ptr<WebKitShared> shared);
    ~WebKitEngine() override;
    WebKitEngine(const WebKitEngine&) = delete;
    WebKitEngine& operator=(const WebKitEngine&) = delete;

    // The web view, to be placed in a pane. A widget has one parent: unparent
    // it before moving it elsewhere.
    GtkWidget* widget() const;
    WebKitWebView* webView() const { return view_; }
    // The widget of a WebKit engine, or null for any other engine.
    static GtkWidget* widgetOf(WebEngine& engine);

    void setDelegate(WebEngineDelegate* delegate) override { delegate_ = delegate; }
    void load(const std::string& address) override;
    void reload() override;
    void stop() override;
    void goBack() override;
    void goForward() override;
    std::optional<std::string> currentAddress() const override;
    bool canGoBack() const override;
    bool canGoForward() const override;
    void runScript(const std::string& functionBody, const ScriptArguments& arguments,
                   ScriptCompletion completion) override;
    void pauseMedia() override;
    void compileContentRuleList(const std::string& identifier, const std::string& json,
                                CompileCompletion completion) override;
    void attachContentRuleList(const std::shared_ptr<ContentRuleList>& rules) override;
    void detachContentRuleList(const std::shared_ptr<ContentRuleList>& rules) override;

private:
    struct Signals;

    std::shared_ptr<WebKitShared> shared_;
    WebKitUserContentManager* contentManager_ = nullptr;
    WebKitWebView* view_ = nullptr;
    GCancellable* cancellable_ = nullptr;
    WebEngineDelegate* delegate_ = nullptr;
};

}  // namespace meridavolt
