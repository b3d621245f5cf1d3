#pragma once

#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"
#include "platform/glib/MainLoopScheduler.h"
#include "web/webkit/WebKitEngine.h"
#include "web/webkit/WebKitEngineFactory.h"
#include "support/LocalHttpServer.h"
#include "support/MainLoopWait.h"
#include "web/WebSession.h"

#include <gtk/gtk.h>
#include <webkit/webkit.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace meridavolt::testing {

// Real WebKitGTK sessions in a window, with website data in a fresh folder,
// against pages of a local server.
class WebKitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gtk_init(); }

    void SetUp() override
    {
        window_ = GTK_WINDOW(gtk_window_new());
        gtk_window_set_default_size(window_, 800, 600);
        gtk_window_present(window_);
    }

    void TearDown() override
    {
        closeSessions();
        gtk_window_destroy(window_);
        runMainLoopFor(std::chrono::milliseconds(20));
    }

    WebKitEngineFactory::Folders folders() const
    {
        return {folder_ / "data", folder_ / "cache", folder_ / "filters"};
    }

    WebKitEngineFactory& factory()
    {
        // Test displays have no GPU: the engines draw as the program draws them there.
        if (!factory_) factory_ = std::make_unique<WebKitEngineFactory>(folders(), WebKitEngineFactory::Acceleration::never);
        return *factory_;
    }

    // A session whose web view is shown in the test window.
    WebSession& openSession(const std::string& url)
    {
        sessions_.push_back(
            std::make_unique<WebSession>(url, factory().makeEngine(), settings_, MainLoopScheduler::shared()));
        WebSession& session = *sessions_.back();
        GtkWidget* view = WebKitEngine::widgetOf(session.engine());
        gtk_window_set_child(window_, view);
        return session;
    }

    void closeSessions()
    {
        gtk_window_set_child(window_, nullptr);
        sessions_.clear();
    }

    // Waits until the session shows this address with its load finished.
    static bool waitForPage(WebSession& session, const std::string& url)
    {
        return waitUntil([&] {
            return !session.loading() && session.engine().currentAddress() == url && session.currentURL() == url;
        });
    }

    // Runs a function body in our script world and waits for its boolean.
    static std::optional<bool> runScript(WebSession& session, const std::string& body,
                                         WebEngine::ScriptArguments arguments = {})
    {
        bool done = false;
        std::optional<bool> answer;
        session.engine().runScript(body, arguments, [&](std::optional<bool> result) {
            answer = result;
            done = true;
        });
        waitUntil([&] { return done; });
        return answer;
    }

    // Runs a function body and returns its result as text; in our script
    // world, or in the page's own world when `world` is null.
    static std::string evaluateText(WebSession& session, const std::string& body,
                                    const char* world = scriptWorldName)
    {
        struct Result {
            bool done = false;
            std::string text;
        } result;
        webkit_web_view_call_async_javascript_function(
            static_cast<WebKitEngine&>(session.engine()).webView(), body.c_str(), -1, nullptr, world, nullptr,
            nullptr,
            [](GObject* view, GAsyncResult* async, gpointer data) {
                auto* result = static_cast<Result*>(data);
                GError* error = nullptr;
                JSCValue* value =
                    webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(view), async, &error);
                if (value) {
                    gchar* text = jsc_value_to_string(value);
                    result->text = text;
                    g_free(text);
                    g_object_unref(value);
                } else {
                    result->text = std::string("error: ") + error->message;
                    g_error_free(error);
                }
                result->done = true;
            },
            &result);
        waitUntil([&] { return result.done; });
        return result.text;
    }

    fakes::TemporaryFolder folder_;
    fakes::MemorySettings settings_;
    LocalHttpServer server_;
    GtkWindow* window_ = nullptr;
    std::unique_ptr<WebKitEngineFactory> factory_;
    std::vector<std::unique_ptr<WebSession>> sessions_;
};

}  // namespace meridavolt::testing
