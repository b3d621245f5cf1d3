// The paste from the clipboard memory into a page, end to end: the state as
// the application wires it (real WebKit sessions, the real X11 clipboard, the
// GLib main loop), a local page shown in a window, and the field's value read
// back from the page.
#include "clipboard/view/ClipboardPopover.h"
#include "clipboard/view/SystemClipboardStore.h"
#include "fakes/FakeWorkspace.h"
#include "fakes/MemoryRepositories.h"
#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"
#include "clipboard/gdk/ClipboardProcess.h"
#include "platform/glib/MainLoopScheduler.h"
#include "web/webkit/WebKitEngine.h"
#include "web/webkit/WebKitEngineFactory.h"
#include "state/AppModel.h"
#include "support/InProcessState.h"
#include "support/LocalHttpServer.h"
#include "support/MainLoopWait.h"
#include "web/view/BrowserPane.h"

#include <gtest/gtest.h>
#include <gtkmm/init.h>
#include <gtkmm/box.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>
#include <webkit/webkit.h>

#include <memory>
#include <string>

namespace meridavolt {
namespace {

using namespace std::chrono_literals;
using testing::pasteWithXclip;
using testing::waitUntil;

constexpr const char* pastedText = "貼り付けました";
constexpr const char* copiedOnlyText = "コピーしました。入力欄で貼り付けてください";
constexpr const char* refusedText =
    "コピーしました。この入力欄には直接貼れないため、通常の貼り付け操作を使ってください。";

// A page whose one field takes the focus as soon as it loads, and which
// records what its own input handler saw.
std::string pageWithField(const std::string& attributes)
{
    return "<!doctype html><html><body><label>メモ <input id=field " + attributes +
           "></label><script>"
           "const field = document.getElementById('field');"
           "window.seenByPage = '';"
           "field.addEventListener('input', () => { window.seenByPage = field.value; });"
           "field.focus();"
           "</script></body></html>";
}

class ClipboardPasteEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gtk_init();
        Gtk::init_gtkmm_internals();
    }

    void SetUp() override
    {
        testing::markMigrationsDone(settings_);
        engines_ = std::make_unique<WebKitEngineFactory>(
            WebKitEngineFactory::Folders{folder_ / "data", folder_ / "cache", folder_ / "filters"});
    }

    void TearDown() override
    {
        popover_.reset();
        if (window_) {
            window_->unset_child();
            pane_.reset();
            window_->destroy();
        }
        model_.reset();
        engines_.reset();
        testing::runMainLoopFor(50ms);
    }

    // Starts the state on a library of one embedded service at `path`,
    // activates it and shows its page in a window, with the field focused.
    void openServiceAt(const std::string& path, const std::string& page)
    {
        server_.serve(path, page);
        service_ = Service{"notes", "Notes", "globe", server_.url(path), LaunchMode::embedded, std::nullopt, {}};
        auto library = std::make_unique<fakes::MemoryLibraryRepository>();
        library->store.stored = ServiceLibrary{};
        library->store.stored->services = {service_};
        auto workSets = std::make_unique<fakes::MemoryWorkSetRepository>();
        workSets->store.stored = std::vector<WorkSet>{};
        model_ = std::make_unique<AppModel>(AppModelServices{
            std::move(library), std::move(workSets), settings_, SystemClock::shared(), MainLoopScheduler::shared(),
            workspace_, engines_->engineFactory(),
            [this] { return makeSystemClipboardStore(settings_, folder_ / "pinned-memory.json"); }, nullptr});

        model_->activate(service_);
        WebSession& live = session();
        window_ = std::make_unique<Gtk::Window>();
        window_->set_default_size(900, 600);
        pane_ = std::make_unique<BrowserPane>(live, [](const std::string&) {});
        pane_->set_vexpand(true);
        column_.append(anchor_);
        column_.append(*pane_);
        window_->set_child(column_);
        window_->present();

        ASSERT_TRUE(waitUntil([&] { return !live.loading() && live.currentURL() == service_.url; }))
            << "the page did not load";
        ASSERT_TRUE(waitUntil([&] { return evaluate("return document.activeElement.id;") == "field"; }))
            << "the page did not focus its field";
    }

    WebSession& session() { return *model_->sessions().at(service_.id); }

    // Runs a function body in the page's own script world, or in `world`,
    // and returns its result as text.
    std::string evaluate(const std::string& body, const char* world = nullptr)
    {
        struct Result {
            bool done = false;
            std::string text;
        };
        auto result = std::make_shared<Result>();
        webkit_web_view_call_async_javascript_function(
            static_cast<WebKitEngine&>(session().engine()).webView(), body.c_str(), -1, nullptr, world, nullptr,
            nullptr,
            [](GObject* view, GAsyncResult* async, gpointer data) {
                std::unique_ptr<std::shared_ptr<Result>> result(static_cast<std::shared_ptr<Result>*>(data));
                GError* error = nullptr;
                JSCValue* value =
                    webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(view), async, &error);
                if (value) {
                    gchar* text = jsc_value_to_string(value);
                    (*result)->text = text;
                    g_free(text);
                    g_object_unref(value);
                } else {
                    (*result)->text = std::string("error: ") + error->message;
                    g_error_free(error);
                }
                (*result)->done = true;
            },
            new std::shared_ptr<Result>(result));
        waitUntil([&] { return result->done; });
        return result->done ? result->text : "no answer";
    }

    std::string fieldValue() { return evaluate("return document.getElementById('field').value;"); }

    // A text the user copied earlier, as the memory holds it.
    ClipboardEntry storedText(const std::string& text)
    {
        model_->clipboard().receive(text);
        EXPECT_FALSE(model_->clipboard().history().entries.empty());
        const ClipboardEntry entry = model_->clipboard().history().entries.front();
        EXPECT_EQ(entry.text, text);
        return entry;
    }

    fakes::TemporaryFolder folder_;
    testing::LocalHttpServer server_;
    fakes::MemorySettings settings_;
    fakes::FakeWorkspace workspace_;
    std::unique_ptr<WebKitEngineFactory> engines_;
    Service service_;
    std::unique_ptr<AppModel> model_;
    std::unique_ptr<Gtk::Window> window_;
    std::unique_ptr<BrowserPane> pane_;
    Gtk::Box column_{Gtk::Orientation::VERTICAL, 0};
    Gtk::Label anchor_{"memory"};  // where the memory button would be
    std::unique_ptr<ClipboardPopover> popover_;
};

TEST_F(ClipboardPasteEndToEnd, ATextGoesIntoTheFocusedFieldAndOntoTheSystemClipboard)
{
    ASSERT_NO_FATAL_FAILURE(openServiceAt("/memo", pageWithField("type=text")));
    const ClipboardEntry entry = storedText("会議は15時から \"room\" '); alert(1); //");

    model_->openClipboard();
    EXPECT_TRUE(model_->showingClipboard());
    EXPECT_EQ(model_->pasteServiceID(), service_.id);
    ASSERT_TRUE(waitUntil([&] { return model_->canPasteClipboard(); })) << "the page did not report its field";

    model_->pasteClipboardEntry(entry);
    EXPECT_FALSE(model_->showingClipboard());
    EXPECT_FALSE(model_->canPasteClipboard());
    ASSERT_TRUE(waitUntil([&] { return model_->clipboard().status() == pastedText; }))
        << model_->clipboard().status().value_or("no status");

    EXPECT_EQ(fieldValue(), entry.text);
    EXPECT_EQ(evaluate("return window.seenByPage;"), entry.text) << "the page's own input handler missed it";
    EXPECT_EQ(evaluate("return document.activeElement.id;"), "field");
    EXPECT_EQ(pasteWithXclip("UTF8_STRING"), entry.text);
    EXPECT_EQ(model_->error(), std::nullopt);
}

// The same through the memory panel: the page's field is probed as the panel
// opens, the row's "ページに貼る" turns on with the page's answer, and a click
// closes the panel and fills the field.
TEST_F(ClipboardPasteEndToEnd, PasteToPageInThePanelFillsTheFieldThatHadTheFocus)
{
    ASSERT_NO_FATAL_FAILURE(openServiceAt("/panel", pageWithField("type=text")));
    popover_ = std::make_unique<ClipboardPopover>(*model_, anchor_);
    const ClipboardEntry entry = storedText("パネルから貼る <b>&amp;</b>");

    model_->openClipboard();
    ASSERT_TRUE(waitUntil([&] { return popover_->get_mapped(); }));
    ClipboardPanelRow* row = popover_->panel().row(entry.id);
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(waitUntil([&] { return row->pasteButton().get_sensitive(); })) << "the page's answer did not arrive";
    EXPECT_EQ(popover_->panel().pasteHintLabel().get_text(), "選択していた入力欄に貼り付けます");

    g_signal_emit_by_name(row->pasteButton().gobj(), "clicked");
    EXPECT_FALSE(model_->showingClipboard());
    ASSERT_TRUE(waitUntil([&] { return !popover_->get_mapped(); }));
    ASSERT_TRUE(waitUntil([&] { return model_->clipboard().status() == pastedText; }))
        << model_->clipboard().status().value_or("no status");
    EXPECT_EQ(fieldValue(), entry.text);
    EXPECT_EQ(evaluate("return window.seenByPage;"), entry.text);

    // Opened again, the probe starts over: the button waits for the page's answer.
    model_->openClipboard();
    EXPECT_FALSE(popover_->panel().row(entry.id)->pasteButton().get_sensitive());
}

// A password field is never remembered, so choosing a text only copies it:
// the panel stays open, the page is not touched and no alert is raised.
TEST_F(ClipboardPasteEndToEnd, APasswordFieldIsNeverFilledAndTheTextIsOnlyCopied)
{
    ASSERT_NO_FATAL_FAILURE(openServiceAt("/login", pageWithField("type=password")));
    const ClipboardEntry entry = storedText("hunter2-not-for-pages");

    model_->openClipboard();
    // The probe ran and forgot any field: our script world holds null, not undefined.
    ASSERT_TRUE(waitUntil([&] {
        return evaluate("return String(globalThis.__meridavoltPasteTarget === null);", scriptWorldName) == "true";
    }));
    EXPECT_FALSE(model_->canPasteClipboard());

    model_->pasteClipboardEntry(entry);
    EXPECT_EQ(model_->clipboard().status(), copiedOnlyText);
    EXPECT_TRUE(model_->showingClipboard());
    testing::runMainLoopFor(AppModel::pasteDelay + 300ms);

    EXPECT_EQ(fieldValue(), "");
    EXPECT_EQ(evaluate("return window.seenByPage;"), "");
    EXPECT_EQ(model_->clipboard().status(), copiedOnlyText);
    EXPECT_EQ(model_->error(), std::nullopt);
    EXPECT_EQ(pasteWithXclip("UTF8_STRING"), entry.text);
}

// The page takes the field but refuses the text (it does not fit): the field
// keeps its value, the alert says so and the text waits on the clipboard.
TEST_F(ClipboardPasteEndToEnd, AFieldThatRefusesTheTextRaisesTheAlertAndKeepsTheTextOnTheClipboard)
{
    ASSERT_NO_FATAL_FAILURE(openServiceAt("/code", pageWithField("type=text maxlength=6 value=ab")));
    const ClipboardEntry entry = storedText("1234567");  // longer than the field allows, whatever is selected

    model_->openClipboard();
    ASSERT_TRUE(waitUntil([&] { return model_->canPasteClipboard(); })) << "the page did not report its field";

    model_->pasteClipboardEntry(entry);
    EXPECT_FALSE(model_->showingClipboard());
    ASSERT_TRUE(waitUntil([&] { return model_->error().has_value(); }));
    EXPECT_EQ(model_->error(), refusedText);

    EXPECT_EQ(fieldValue(), "ab");
    EXPECT_EQ(evaluate("return window.seenByPage;"), "");
    EXPECT_NE(model_->clipboard().status(), pastedText);
    EXPECT_EQ(pasteWithXclip("UTF8_STRING"), entry.text);
}

}  // namespace
}  // namespace meridavolt
