// The memory panel in the real main window, over the store as the application
// makes it (the X11 clipboard, real images, the pins file on disk).
#include "clipboard/view/SystemClipboardStore.h"
#include "desktop/view/DesktopContentView.h"
#include "fakes/TemporaryFolder.h"
#include "model/LibraryRepository.h"
#include "platform/SettingsFile.h"
#include "clipboard/gdk/ClipboardProcess.h"
#include "clipboard/gdk/TestImages.h"
#include "platform/glib/MainLoopScheduler.h"
#include "web/webkit/WebKitEngineFactory.h"
#include "support/AccessibleName.h"
#include "support/InProcessState.h"
#include "support/LocalHttpServer.h"
#include "support/MainLoopWait.h"
#include "LauncherDesktop.h"
#include "XdoPointer.h"
#include "../RecordingWorkspace.h"

#include <gtest/gtest.h>
#include <gtkmm/init.h>
#include <gtkmm/window.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

// Last: Xlib's macros would clash with the headers above.
#include <gdk/x11/gdkx.h>

namespace meridavolt::desktoptest {
namespace {

using namespace std::chrono_literals;
using meridavolt::testing::runMainLoopFor;
using meridavolt::testing::waitUntil;

// Where a surface lies on the screen: x, y, width, height.
std::array<int, 4> screenArea(Gdk::Surface& surface)
{
    Display* display = gdk_x11_display_get_xdisplay(surface.get_display()->gobj());
    const ::Window window = gdk_x11_surface_get_xid(surface.gobj());
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

// What a click on the button does (its "clicked" signal), at once.
void click(Gtk::Button& button)
{
    g_signal_emit_by_name(button.gobj(), "clicked");
}

using meridavolt::testing::namedAs;

// The lines a label shows, after the toolkit has laid it out.
int shownLines(Gtk::Label& label)
{
    return label.get_layout()->get_line_count();
}

class ClipboardPanelWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gtk_init();
        Gtk::init_gtkmm_internals();
    }

    void SetUp() override
    {
        meridavolt::testing::useTemporaryHome(folder_);
        server_.serve("/notes", "<!doctype html><title>notes</title><body><h1>notes</h1></body>");
        ServiceLibrary library;
        library.services = {
            Service{"notes", "Notes", "globe", server_.url("/notes"), LaunchMode::embedded, std::nullopt, {}}};
        JSONLibraryRepository().save(library);
        settings_ = std::make_unique<SettingsFile>(SettingsFile::defaultPath());
        meridavolt::testing::markMigrationsDone(*settings_);
        engines_ = std::make_unique<WebKitEngineFactory>();
        model_ = std::make_unique<AppModel>(AppModelServices{
            nullptr, nullptr, *settings_, SystemClock::shared(), MainLoopScheduler::shared(), workspace_,
            engines_->engineFactory(), [this] { return makeSystemClipboardStore(*settings_, pinsPath()); }, nullptr});
        window_ = std::make_unique<Gtk::Window>();
        window_->set_default_size(1120, 780);
        view_ = std::make_unique<DesktopContentView>(*model_, *settings_, MainLoopScheduler::shared());
        window_->set_child(*view_);
        window_->present();
        ASSERT_TRUE(waitUntil([&] { return view_->get_mapped() && view_->get_width() > 0; }));
        runMainLoopFor(100ms);
    }

    void TearDown() override
    {
        window_->unset_child();
        view_.reset();
        window_->destroy();
        model_.reset();
        engines_.reset();
        runMainLoopFor(50ms);
    }

    std::filesystem::path pinsPath() const { return folder_ / "data" / "MERIDAVOLT" / "pinned-memory.json"; }
    ClipboardStore& store() { return model_->clipboard(); }
    ClipboardPopover& popover() { return view_->toolbar().clipboardPopover(); }
    ClipboardPanel& panel() { return popover().panel(); }

    ClipboardEntry remember(const std::string& text)
    {
        store().receive(text);
        return store().history().entries.front();
    }

    bool panelShown() { return popover().get_mapped() && panel().get_width() > 0; }

    fakes::TemporaryFolder folder_;
    meridavolt::testing::LocalHttpServer server_;
    RecordingWorkspace workspace_;
    std::unique_ptr<SettingsFile> settings_;
    std::unique_ptr<WebKitEngineFactory> engines_;
    std::unique_ptr<AppModel> model_;
    std::unique_ptr<Gtk::Window> window_;
    std::unique_ptr<DesktopContentView> view_;
};

TEST_F(ClipboardPanelWindow, OpensWithTheCountsAndEveryWayOfClosingClearsTheFlag)
{
    for (const char* text : {"one", "two", "three"}) remember(text);
    store().togglePin(store().history().entries[2]);

    model_->openClipboard();  // what Ctrl+Shift+V and the memory button call
    ASSERT_TRUE(waitUntil([&] { return panelShown(); }));
    EXPECT_EQ(panel().countsLabel().get_text(), "一時 3/30・固定 1");
    EXPECT_GE(panel().get_width(), 300);
    EXPECT_LE(panel().get_width() + 40, 430);
    EXPECT_GE(panel().get_height() + 40, 410);
    EXPECT_LE(panel().get_height() + 40, 650);
    // The pin first, then the temporary entries not pinned.
    const auto& history = store().history().entries;
    EXPECT_EQ(panel().shownIDs(), (std::vector<std::string>{history[2].id, history[0].id, history[1].id}));

    // A search narrows the rows but never the counts.
    panel().searchEntry().set_text("TW");
    EXPECT_EQ(panel().shownIDs(), std::vector<std::string>{history[1].id});
    EXPECT_EQ(panel().countsLabel().get_text(), "一時 3/30・固定 1");

    click(panel().closeButton());
    EXPECT_FALSE(model_->showingClipboard());
    ASSERT_TRUE(waitUntil([&] { return !popover().get_mapped(); }));

    // Each opening starts with an empty search.
    model_->openClipboard();
    ASSERT_TRUE(waitUntil([&] { return panelShown(); }));
    EXPECT_EQ(panel().searchEntry().get_text(), "");
    EXPECT_EQ(panel().shownIDs().size(), 3u);

    runMainLoopFor(200ms);
    XdoPointer(*window_).keyDown("Escape").keyUp("Escape");
    ASSERT_TRUE(waitUntil([&] { return !model_->showingClipboard(); })) << "Escape left the flag set";
    EXPECT_FALSE(popover().get_mapped());
}

TEST_F(ClipboardPanelWindow, AClickOnTheMemoryButtonOpensThePanelOverIt)
{
    remember("one");
    XdoPointer(*window_).moveTo(view_->memoryButton()).click();
    ASSERT_TRUE(waitUntil([&] { return panelShown(); })) << "the memory button did not open the panel";
    EXPECT_TRUE(model_->showingClipboard());
    EXPECT_EQ(panel().countsLabel().get_text(), "一時 1/30・固定 0");
    EXPECT_GT(popover().get_height(), 410);
}

TEST_F(ClipboardPanelWindow, ACopyInAnotherProgramShowsInTheOpenPanelWithoutRebuildingIt)
{
    const ClipboardEntry first = remember("first");
    model_->openClipboard();
    ASSERT_TRUE(waitUntil([&] { return panelShown(); }));
    ClipboardPanelRow* firstRow = panel().row(first.id);
    ASSERT_NE(firstRow, nullptr);
    panel().searchEntry().set_text("i");  // "first" and the copy both match

    fakes::writeBytes(folder_ / "copy.txt", "copied in xterm <b>&amp;</b>");
    meridavolt::testing::XclipCopy copy(folder_ / "copy.txt", "UTF8_STRING");
    ASSERT_TRUE(waitUntil([&] { return store().history().entries.size() == 2; }));
    const ClipboardEntry copied = store().history().entries.front();
    EXPECT_EQ(panel().shownIDs(), (std::vector<std::string>{copied.id, first.id}));
    EXPECT_EQ(panel().row(first.id), firstRow) << "the row of the older entry was rebuilt";
    EXPECT_EQ(panel().searchEntry().get_text(), "i");
    EXPECT_EQ(panel().countsLabel().get_text(), "一時 2/30・固定 0");
    EXPECT_EQ(panel().row(copied.id)->textLabel().get_text(), "copied in xterm <b>&amp;</b>") << "shown as markup";
    EXPECT_EQ(panel().statusLabel().get_text(), "保存しました");

    // Typing hides rows; it never builds them again.
    panel().searchEntry().set_text("copied");
    EXPECT_EQ(panel().shownIDs(), std::vector<std::string>{copied.id});
    panel().searchEntry().set_text("");
    EXPECT_EQ(panel().shownIDs(), (std::vector<std::string>{copied.id, first.id}));
    EXPECT_EQ(panel().row(first.id), firstRow);
}

TEST_F(ClipboardPanelWindow, PinAndUnpinRewriteThePinsFileAndABrokenWriteKeepsAPinnedEntryOnDelete)
{
    const ClipboardEntry entry = remember("keep me");
    model_->openClipboard();
    ASSERT_TRUE(waitUntil([&] { return panelShown(); }));

    click(panel().row(entry.id)->pinButton());
    EXPECT_NE(fakes::readBytes(pinsPath()).find(entry.id), std::string::npos);
    EXPECT_EQ(panel().countsLabel().get_text(), "一時 1/30・固定 1");
    click(panel().row(entry.id)->pinButton());
    EXPECT_EQ(fakes::readBytes(pinsPath()), "[]");
    click(panel().row(entry.id)->pinButton());
    const std::string pinned = fakes::readBytes(pinsPath());

    {
        // The pins file may not grow past what it is, nor shrink through a new file.
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        auto previous = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1, saved.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        click(panel().row(entry.id)->deleteButton());
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
    }
    EXPECT_EQ(store().status(), "固定メモリーを保存できませんでした");
    EXPECT_EQ(fakes::readBytes(pinsPath()), pinned);
    EXPECT_TRUE(store().isPinned(entry));
    EXPECT_EQ(store().history().entries.size(), 1u);
    EXPECT_NE(panel().row(entry.id), nullptr);

    click(panel().row(entry.id)->deleteButton());
    runMainLoopFor(50ms);
    EXPECT_FALSE(store().isPinned(entry));
    EXPECT_TRUE(store().history().entries.empty());
    EXPECT_EQ(panel().row(entry.id), nullptr);
    EXPECT_EQ(panel().placeholder(), clipboardpanel::Placeholder::empty);
    EXPECT_TRUE(panelShown());
}

TEST_F(ClipboardPanelWindow, ClearingAsksFirstKeepsThePinsAndThePanelStaysOpen)
{
    remember("a");
    const ClipboardEntry pin = remember("b");
    store().togglePin(pin);
    model_->openClipboard();
    ASSERT_TRUE(waitUntil([&] { return panelShown(); }));
    EXPECT_TRUE(panel().clearButton().get_sensitive());

    click(panel().clearButton());
    ASSERT_NE(panel().confirmation(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return panel().confirmation()->get_mapped(); }));
    EXPECT_EQ(panel().confirmation()->property_text().get_value(), "一時履歴を消去しますか？固定メモリーは残ります。");
    EXPECT_TRUE(model_->showingClipboard());
    // Each answer is named by its title once: no label widget names it again.
    for (auto [response, title] :
         {std::pair{Gtk::ResponseType::CANCEL, "キャンセル"}, {Gtk::ResponseType::ACCEPT, "一時履歴を消去"}}) {
        auto* answer = panel().confirmation()->get_widget_for_response(response);
        EXPECT_TRUE(namedAs(*answer, title));
        EXPECT_FALSE(gtk_test_accessible_has_relation(GTK_ACCESSIBLE(answer->gobj()), GTK_ACCESSIBLE_RELATION_LABELLED_BY))
            << title;
    }
    EXPECT_TRUE(namedAs(panel().searchEntry(), "履歴を検索"));
    panel().confirmation()->response(Gtk::ResponseType::ACCEPT);

    EXPECT_TRUE(store().history().entries.empty());
    EXPECT_EQ(store().pinned().size(), 1u);
    EXPECT_EQ(store().status(), "履歴を消去しました");
    EXPECT_TRUE(model_->showingClipboard());
    ASSERT_TRUE(waitUntil([&] { return panelShown(); })) << "the panel did not come back after the dialog";
    EXPECT_FALSE(panel().clearButton().get_sensitive());
    EXPECT_EQ(panel().countsLabel().get_text(), "一時 0/30・固定 1");
    EXPECT_EQ(panel().shownIDs(), std::vector<std::string>{pin.id});

    // With pins but nothing matching: "見つかりませんでした".
    panel().searchEntry().set_text("zzz");
    EXPECT_EQ(panel().placeholder(), clipboardpanel::Placeholder::notFound);
}

// On a desktop with a window manager, while the clear question shows, the user goes to another program.
TEST_F(ClipboardPanelWindow, WhileTheClearQuestionShowsAnotherProgramTakesClicksAndKeysAndKeepsThem)
{
    LauncherDesktop desktop;
    ASSERT_TRUE(desktop.startWindowManager());
    remember("a");
    const Window helper = desktop.openHelperWindow();
    // Beside the main window, where a click reaches it.
    ASSERT_TRUE(LauncherDesktop::xdotool("windowmove --sync " + std::to_string(helper) + " 1400 700"));
    XdoPointer(*window_).moveTo(view_->memoryButton()).click();
    ASSERT_TRUE(waitUntil([&] { return panelShown() && window_->is_active(); }));
    XdoPointer(popover()).moveTo(panel().clearButton()).click();
    ASSERT_TRUE(waitUntil([&] { return panel().confirmation() && panel().confirmation()->is_active(); }));
    const Window question = std::stoul(XdoPointer(*panel().confirmation()).windowID());

    const auto place = desktop.frame(helper);
    const std::string point = std::to_string(place.x + 20) + " " + std::to_string(place.y + 20);
    ASSERT_TRUE(LauncherDesktop::xdotool("mousemove --sync " + point + " click 1"));
    ASSERT_TRUE(waitUntil([&] { return desktop.activeWindow() == helper; })) << "the click did not reach the program";
    ASSERT_TRUE(LauncherDesktop::xdotool("type ab"));
    ASSERT_TRUE(waitUntil([&] { return desktop.typedIntoHelper() == "ab"; })) << "the keys did not reach the program";

    // Closed as by its title bar's button, the question leaves the keyboard where the user is.
    desktop.requestClose(question);
    ASSERT_TRUE(waitUntil([&] { return !panel().showingDialog(); }));
    ASSERT_TRUE(LauncherDesktop::xdotool("type c"));
    EXPECT_TRUE(waitUntil([&] { return desktop.typedIntoHelper() == "abc"; })) << "MERIDAVOLT took the keyboard back";
    EXPECT_EQ(desktop.activeWindow(), helper);
}

TEST_F(ClipboardPanelWindow, TheSwitchFollowsAutomaticCaptureAndTheCaptureButtonTakesACopyWhenItIsOff)
{
    model_->openClipboard();
    ASSERT_TRUE(waitUntil([&] { return panelShown(); }));
    EXPECT_TRUE(panel().automaticSwitch().get_active());

    panel().automaticSwitch().set_active(false);  // the user's flip
    EXPECT_FALSE(store().automatic());
    EXPECT_EQ(SettingsFile(SettingsFile::defaultPath()).boolValue(ClipboardStore::automaticKey), false);

    fakes::writeBytes(folder_ / "copy.txt", "copied while capture was off");
    meridavolt::testing::XclipCopy copy(folder_ / "copy.txt", "UTF8_STRING");
    runMainLoopFor(1500ms);
    EXPECT_TRUE(store().history().entries.empty()) << "captured although automatic capture is off";
    click(panel().captureButton());
    ASSERT_TRUE(waitUntil([&] { return !store().history().entries.empty(); }));
    EXPECT_EQ(store().history().entries.front().text, "copied while capture was off");

    store().setAutomatic(true);  // from elsewhere: the switch shows it
    EXPECT_TRUE(panel().automaticSwitch().get_active());
}

TEST_F(ClipboardPanelWindow, WhileOneRecognitionRunsEveryImageRowReadsAndIsOff)
{
    int stored = 0;
    for (int width : {200, 240}) {
        store().receiveImage(SharedBytes(meridavolt::testing::twoColourImage(width, 120, "png")), std::nullopt,
                             [&] { ++stored; });
    }
    ASSERT_TRUE(waitUntil([&] { return stored == 2; }));
    remember("a text row has no recognition");
    model_->openClipboard();
    ASSERT_TRUE(waitUntil([&] { return panelShown(); }));
    const auto entries = store().history().entries;
    ClipboardPanelRow* firstImage = panel().row(entries[1].id);
    ClipboardPanelRow* secondImage = panel().row(entries[2].id);
    ASSERT_TRUE(firstImage && secondImage);
    EXPECT_NE(firstImage->thumbnail(), nullptr);
    EXPECT_FALSE(panel().row(entries[0].id)->recognizeButton().get_visible());
    EXPECT_TRUE(firstImage->pasteButton().get_visible());
    EXPECT_FALSE(firstImage->pasteButton().get_sensitive()) << "no page field was probed";

    EXPECT_TRUE(namedAs(firstImage->recognizeButton(), "文字を取り出す"));

    click(firstImage->recognizeButton());
    ASSERT_TRUE(store().recognizing());
    for (auto* row : {firstImage, secondImage}) {
        EXPECT_FALSE(row->recognizeButton().get_sensitive());
        EXPECT_TRUE(namedAs(row->recognizeButton(), "読取中…"));
        auto* title = dynamic_cast<Gtk::Label*>(row->recognizeButton().get_child()->get_last_child());
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->get_text(), "読取中…");
    }
    ASSERT_TRUE(waitUntil([&] { return !store().recognizing(); }, 30s));
    EXPECT_TRUE(secondImage->recognizeButton().get_sensitive());
    EXPECT_TRUE(namedAs(secondImage->recognizeButton(), "文字を取り出す"));
    EXPECT_EQ(panel().statusLabel().get_text(), "文字が見つかりませんでした");
}

TEST_F(ClipboardPanelWindow, ButtonsWithASymbolAndATitleAreNamedByTheirTitle)
{
    const ClipboardEntry entry = remember("named");
    model_->openClipboard();
    ASSERT_TRUE(waitUntil([&] { return panelShown(); }));
    EXPECT_TRUE(namedAs(panel().captureButton(), "今のコピーを保存"));
    EXPECT_TRUE(namedAs(panel().importButton(), "画像ファイルを追加"));
    EXPECT_TRUE(namedAs(panel().row(entry.id)->copyButton(), "コピー"));
    EXPECT_TRUE(namedAs(panel().row(entry.id)->pasteButton(), "ページに貼る"));
    EXPECT_TRUE(namedAs(panel().closeButton(), "閉じる"));
}

TEST_F(ClipboardPanelWindow, ARowShowsAtMostFourLinesOfTheWholeText)
{
    std::string forty;
    for (int line = 1; line <= 40; ++line) forty += "line " + std::to_string(line) + "\n";
    const ClipboardEntry lines = remember(forty);
    // One paragraph that wraps over many lines, then a second one.
    const ClipboardEntry wrapped = remember(std::string(300, 'w') + "\nsecond paragraph");
    model_->openClipboard();
    ASSERT_TRUE(waitUntil([&] { return panelShown(); }));
    runMainLoopFor(100ms);

    for (const auto* entry : {&lines, &wrapped}) {
        Gtk::Label& text = panel().row(entry->id)->textLabel();
        EXPECT_EQ(shownLines(text), 4) << entry->text;
        int layoutWidth = 0, layoutHeight = 0;
        text.get_layout()->get_pixel_size(layoutWidth, layoutHeight);
        EXPECT_LE(text.get_height(), layoutHeight + 1) << entry->text;
    }
    EXPECT_EQ(panel().row(lines.id)->textLabel().get_text(), "line 1\u2028line 2\u2028line 3\u2028line 4…");
    // The wrapped paragraph fills the four lines, cut with an ellipsis.
    EXPECT_TRUE(panel().row(wrapped.id)->textLabel().get_layout()->is_ellipsized());
}

// Records how the open panel looks over the window: into
// $MERIDAVOLT_SCREENSHOT_DIR when set (docs/screenshots keeps the record),
// else into the test's own folder.
TEST_F(ClipboardPanelWindow, PanelScreenshot)
{
    bool stored = false;
    store().receiveImage(SharedBytes(meridavolt::testing::twoColourImage(640, 400, "png")), std::nullopt,
                         [&] { stored = true; });
    ASSERT_TRUE(waitUntil([&] { return stored; }));
    remember("https://example.com/meeting-notes");
    const ClipboardEntry pin = remember("会議室は3階の東側です。15時からの打ち合わせに資料を持ってきてください。");
    store().togglePin(pin);
    remember("Meeting moved to 3 PM — room 301, bring the printed agenda and the budget sheet.");
    const int toolbarHeight = view_->toolbar().get_height();
    model_->openClipboard();
    ASSERT_TRUE(waitUntil([&] { return panelShown(); }));
    runMainLoopFor(600ms);
    EXPECT_EQ(view_->toolbar().get_height(), toolbarHeight) << "the panel changed the toolbar's height";
    EXPECT_LT(toolbarHeight, 80);

    const char* folder = std::getenv("MERIDAVOLT_SCREENSHOT_DIR");
    const auto path = (folder ? std::filesystem::path(folder) : folder_.path()) / "memory-panel.png";
    // The popover is a surface of its own, and on a display without a
    // compositor its shadow margin is drawn black: the picture is of the
    // screen where the panel lies, with some of the popover's padding.
    const int padding = 16;
    const auto over = screenArea(*popover().get_surface());
    double surfaceX = 0, surfaceY = 0;
    popover().get_surface_transform(surfaceX, surfaceY);
    double panelX = 0, panelY = 0;
    ASSERT_TRUE(panel().translate_coordinates(popover(), 0, 0, panelX, panelY));
    const int left = over[0] + static_cast<int>(surfaceX + panelX) - padding;
    const int top = over[1] + static_cast<int>(surfaceY + panelY) - padding;
    const int width = panel().get_width() + 2 * padding, height = panel().get_height() + 2 * padding;
    const std::string command = "import -window root -crop " + std::to_string(width) + "x" + std::to_string(height) +
                                "+" + std::to_string(left) + "+" + std::to_string(top) + " +repage " + path.string();
    g_spawn_command_line_sync(command.c_str(), nullptr, nullptr, nullptr, nullptr);
    auto picture = Gdk::Pixbuf::create_from_file(path.string());
    EXPECT_EQ(picture->get_width(), width);
    EXPECT_EQ(picture->get_height(), height);
}

}  // namespace
}  // namespace meridavolt::desktoptest
