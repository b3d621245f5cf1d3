#include "web/webkit/WebKitEngine.h"

#include "web/webkit/DroppedScriptGuard.h"
#include "web/webkit/WebKitShared.h"
#include "web/PageScripts.h"

namespace meridavolt {

namespace {

void addScript(WebKitUserContentManager* manager, WebKitUserScript* script)
{
    webkit_user_content_manager_add_script(manager, script);
    webkit_user_script_unref(script);
}

class WebKitRuleList final : public ContentRuleList {
public:
    explicit WebKitRuleList(WebKitUserContentFilter* filter) : filter(filter) {}
    ~WebKitRuleList() override { webkit_user_content_filter_unref(filter); }
    WebKitUserContentFilter* const filter;
};

// An asynchronous call's completion with the engine's cancellable: once the
// engine is gone the cancellable is cancelled and the completion dropped.
template <typename Completion>
struct PendingCall {
    PendingCall(GCancellable* cancellable, Completion completion)
        : cancellable(G_CANCELLABLE(g_object_ref(cancellable))), completion(std::move(completion))
    {
    }
    ~PendingCall() { g_object_unref(cancellable); }
    bool engineGone() const { return g_cancellable_is_cancelled(cancellable); }

    GCancellable* cancellable;
    Completion completion;
};

using ScriptCall = PendingCall<WebEngine::ScriptCompletion>;
using CompileCall = PendingCall<WebEngine::CompileCompletion>;

std::optional<std::string> requestAddress(WebKitNavigationAction* action)
{
    WebKitURIRequest* request = action ? webkit_navigation_action_get_request(action) : nullptr;
    const char* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
    if (!uri || *uri == '\0') return std::nullopt;
    return std::string(uri);
}

LoadError loadError(const GError* error)
{
    if (error->domain == WEBKIT_NETWORK_ERROR && error->code == WEBKIT_NETWORK_ERROR_CANCELLED) {
        return LoadError{LoadError::Kind::cancelled, error->message};
    }
    if (error->domain == WEBKIT_POLICY_ERROR &&
        error->code == WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE) {
        return LoadError{LoadError::Kind::interruptedByPolicyChange, error->message};
    }
    return LoadError{LoadError::Kind::other, error->message};
}

}  // namespace

// GObject signal handlers, with the engine as their data.
struct WebKitEngine::Signals {
    static gboolean decidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                 WebKitEngine* engine)
    {
        switch (type) {
        case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION:
        case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION: {
            if (!engine->delegate_) return FALSE;
            auto* action =
                webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
            if (engine->delegate_->decideNavigation({requestAddress(action)}) == NavigationDecision::allow) {
                webkit_policy_decision_use(decision);
            } else {
                webkit_policy_decision_ignore(decision);
            }
            return TRUE;
        }
        case WEBKIT_POLICY_DECISION_TYPE_RESPONSE:
            // Nothing is downloaded: what the view can show is shown, even
            // when sent as an attachment, and the rest fails the load as
            // interrupted. WebKitGTK's own answer would download both.
            if (webkit_response_policy_decision_is_mime_type_supported(WEBKIT_RESPONSE_POLICY_DECISION(decision))) {
                webkit_policy_decision_use(decision);
            } else {
                webkit_policy_decision_ignore(decision);
            }
            return TRUE;
        }
        return FALSE;
    }

    static GtkWidget* create(WebKitWebView*, WebKitNavigationAction* action, WebKitEngine* engine)
    {
        if (engine->delegate_) engine->delegate_->newWindowRequested({requestAddress(action)});
        return nullptr;  // never a second view
    }

    static void loadChanged(WebKitWebView*, WebKitLoadEvent event, WebKitEngine* engine)
    {
        if (!engine->delegate_) return;
        switch (event) {
        case WEBKIT_LOAD_STARTED: engine->delegate_->loadStarted(); break;
        case WEBKIT_LOAD_COMMITTED: engine->delegate_->loadCommitted(); break;
        case WEBKIT_LOAD_FINISHED: engine->delegate_->loadFinished(); break;
        case WEBKIT_LOAD_REDIRECTED: break;
        }
    }

    static gboolean loadFailed(WebKitWebView*, WebKitLoadEvent, const char*, GError* error, WebKitEngine* engine)
    {
        if (engine->delegate_) engine->delegate_->loadFailed(loadError(error));
        return TRUE;  // the pane shows the failure over the last page, not an error page
    }

    static void processTerminated(WebKitWebView*, WebKitWebProcessTerminationReason, WebKitEngine* engine)
    {
        if (engine->delegate_) engine->delegate_->webProcessTerminated();
    }

    static void isLoadingChanged(WebKitWebView* view, GParamSpec*, WebKitEngine* engine)
    {
        if (engine->delegate_) engine->delegate_->loadingChanged(webkit_web_view_is_loading(view));
    }

    static void uriChanged(WebKitWebView*, GParamSpec*, WebKitEngine* engine)
    {
        if (engine->delegate_) engine->delegate_->addressChanged();
    }

    static void historyChanged(WebKitBackForwardList*, WebKitBackForwardListItem*, gpointer, WebKitEngine* engine)
    {
        if (engine->delegate_) engine->delegate_->historyChanged();
    }

    static void scriptFinished(GObject* source, GAsyncResult* result, gpointer data)
    {
        std::unique_ptr<ScriptCall> call(static_cast<ScriptCall*>(data));
        GError* error = nullptr;
        JSCValue* value =
            webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(source), result, &error);
        std::optional<bool> answer;
        if (value && jsc_value_is_boolean(value)) answer = jsc_value_to_boolean(value);
        if (value) g_object_unref(value);
        if (error) g_error_free(error);
        if (!call->engineGone() && call->completion) call->completion(answer);
    }

    static void filterSaved(GObject* source, GAsyncResult* result, gpointer data)
    {
        std::unique_ptr<CompileCall> call(static_cast<CompileCall*>(data));
        GError* error = nullptr;
        WebKitUserContentFilter* filter =
            webkit_user_content_filter_store_save_finish(WEBKIT_USER_CONTENT_FILTER_STORE(source), result, &error);
        std::shared_ptr<ContentRuleList> rules;
        if (filter) rules = std::make_shared<WebKitRuleList>(filter);
        std::optional<std::string> message;
        if (error) {
            message = error->message;
            g_error_free(error);
        }
        if (!call->engineGone()) call->completion(std::move(rules), message);
    }
};

WebKitEngine::WebKitEngine(std::shared_ptr<WebKitShared> shared) : shared_(std::move(shared))
{
    contentManager_ = webkit_user_content_manager_new();
    for (const std::string* source : {&PageScripts::pauseMediaRelay, &PageScripts::scriptLinkGuard}) {
        addScript(contentManager_,
                  webkit_user_script_new_for_world(source->c_str(), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                                                   WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, scriptWorldName,
                                                   nullptr, nullptr));
    }
    // The page's own world: only there can a guard reach into closed shadow roots
    // and see forms sent by script.
    addScript(contentManager_, webkit_user_script_new(PageScripts::pageWorldScriptAddressGuard.c_str(),
                                                      WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                                                      WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr));

    view_ = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "network-session", shared_->networkSession,
                                         "user-content-manager", contentManager_, nullptr));
    // Our own reference: the view lives as long as the engine, in a pane or not.
    g_object_ref_sink(view_);
    guardDroppedScriptAddresses(GTK_WIDGET(view_));
    WebKitSettings* settings = webkit_web_view_get_settings(view_);
    webkit_settings_set_enable_back_forward_navigation_gestures(settings, TRUE);
    // Scripts may open windows without a click, as links can: the session
    // shows their web addresses in this same view.
    webkit_settings_set_javascript_can_open_windows_automatically(settings, TRUE);
    if (shared_->accelerationPolicy) webkit_settings_set_hardware_acceleration_policy(settings, *shared_->accelerationPolicy);
    cancellable_ = g_cancellable_new();

    g_signal_connect(view_, "decide-policy", G_CALLBACK(Signals::decidePolicy), this);
    g_signal_connect(view_, "create", G_CALLBACK(Signals::create), this);
    g_signal_connect(view_, "load-changed", G_CALLBACK(Signals::loadChanged), this);
    g_signal_connect(view_, "load-failed", G_CALLBACK(Signals::loadFailed), this);
    g_signal_connect(view_, "web-process-terminated", G_CALLBACK(Signals::processTerminated), this);
    g_signal_connect(view_, "notify::is-loading", G_CALLBACK(Signals::isLoadingChanged), this);
    g_signal_connect(view_, "notify::uri", G_CALLBACK(Signals::uriChanged), this);
    g_signal_connect(webkit_web_view_get_back_forward_list(view_), "changed", G_CALLBACK(Signals::historyChanged),
                     this);
}

WebKitEngine::~WebKitEngine()
{
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
    g_signal_handlers_disconnect_by_data(webkit_web_view_get_back_forward_list(view_), this);
    g_signal_handlers_disconnect_by_data(view_, this);
    g_object_unref(view_);
    g_object_unref(contentManager_);
}

GtkWidget* WebKitEngine::widget() const { return GTK_WIDGET(view_); }

GtkWidget* WebKitEngine::widgetOf(WebEngine& engine)
{
    auto* webKit = dynamic_cast<WebKitEngine*>(&engine);
    return webKit ? webKit->widget() : nullptr;
}

void WebKitEngine::load(const std::string& address) { webkit_web_view_load_uri(view_, address.c_str()); }

void WebKitEngine::reload() { webkit_web_view_reload(view_); }

void WebKitEngine::stop() { webkit_web_view_stop_loading(view_); }

void WebKitEngine::goBack() { webkit_web_view_go_back(view_); }

void WebKitEngine::goForward() { webkit_web_view_go_forward(view_); }

std::optional<std::string> WebKitEngine::currentAddress() const
{
    const char* uri = webkit_web_view_get_uri(view_);
    if (!uri || *uri == '\0') return std::nullopt;
    return std::string(uri);
}

bool WebKitEngine::canGoBack() const { return webkit_web_view_can_go_back(view_); }

bool WebKitEngine::canGoForward() const { return webkit_web_view_can_go_forward(view_); }

void WebKitEngine::runScript(const std::string& functionBody, const ScriptArguments& arguments,
                             ScriptCompletion completion)
{
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE_VARDICT);
    for (const auto& [name, value] : arguments) {
        // A GVariant string must be valid UTF-8; stray bytes become U+FFFD rather than abort the call.
        gchar* valid = g_utf8_make_valid(value.data(), static_cast<gssize>(value.size()));
        g_variant_builder_add(&builder, "{sv}", name.c_str(), g_variant_new_take_string(valid));
    }
    GVariant* variables = g_variant_ref_sink(g_variant_builder_end(&builder));
    webkit_web_view_call_async_javascript_function(view_, functionBody.c_str(), -1, variables, scriptWorldName,
                                                   nullptr, cancellable_, Signals::scriptFinished,
                                                   new ScriptCall(cancellable_, std::move(completion)));
    g_variant_unref(variables);
}

void WebKitEngine::pauseMedia() { runScript(PageScripts::pauseMedia, {}, nullptr); }

void WebKitEngine::compileContentRuleList(const std::string& identifier, const std::string& json,
                                          CompileCompletion completion)
{
    GBytes* source = g_bytes_new(json.data(), json.size());
    webkit_user_content_filter_store_save(shared_->contentFilterStore, identifier.c_str(), source, cancellable_,
                                          Signals::filterSaved, new CompileCall(cancellable_, std::move(completion)));
    g_bytes_unref(source);
}

void WebKitEngine::attachContentRuleList(const std::shared_ptr<ContentRuleList>& rules)
{
    if (auto* list = dynamic_cast<WebKitRuleList*>(rules.get())) {
        webkit_user_content_manager_add_filter(contentManager_, list->filter);
    }
}

void WebKitEngine::detachContentRuleList(const std::shared_ptr<ContentRuleList>& rules)
{
    if (auto* list = dynamic_cast<WebKitRuleList*>(rules.get())) {
        webkit_user_content_manager_remove_filter(contentManager_, list->filter);
    }
}

}  // namespace meridavolt
