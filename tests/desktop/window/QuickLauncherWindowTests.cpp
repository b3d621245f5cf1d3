// The quick launcher on a real desktop: openbox manages a private display,
// another application's window holds the focus, keys come from xdotool
// through the X server, and the clipboard is read back with xclip.
#include "LauncherDesktop.h"

#include "clipboard/view/SystemClipboardStore.h"
#include "desktop/QuickLauncher.h"
#include "desktop/view/DesktopContentView.h"
#include "desktop/view/GtkLauncherWindows.h"
#include "fakes/FakeWebEngine.h"
#include "fakes/FakeWorkspace.h"
#include "fakes/MemoryRepositories.h"
#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"
#include "clipboard/gdk/ClipboardProcess.h"
#include "clipboard/gdk/TestImages.h"
#include "platform/gdk/X11GlobalHotKey.h"
#include "platform/glib/MainLoopScheduler.h"
#include "support/InProcessState.h"
#include "support/MainLoopWait.h"

#include <gtest/gtest.h>
#include <gdkmm/frameclock.h>
#include <gtkmm/init.h>
#include <gtkmm/window.h>
// After the test framework: Xlib defines None.
#include <X11/Xlib.h>
#include <gdk/x11/gdkx.h>

#include <memory>
#include <optional>
#include <string>

namespace meridavolt::desktoptest {
namespace {

using namespace std::chrono_literals;
using meridavolt::testing::runMainLoopFor;
using meridavolt::testing::waitUntil;

constexpr const char* hotKey = "ctrl+alt+space";
const std::string longName = "Long_name <b>" + std::string(987, 'n');

Window xidOf(Gtk::Window& window)
{
    return window.get_surface() ? gdk_x11_surface_get_xid(window.get_surface()->gobj()) : 0;
}

class QuickLauncherOnDesktop : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gtk_init();
        Gtk::init_gtkmm_internals();
    }

    void SetUp() override
    {
        meridavolt::testing::markMigrationsDone(settings_);
        mainWindow_.set_title("MERIDAVOLT");
        mainWindow_.set_default_size(700, 500);
        mainWindow_.set_hide_on_close(true);
    }

    void TearDown() override
    {
        model_.reset();
        mainWindow_.set_visible(false);
        runMainLoopFor(50ms);
    }

    // The application state on a library of an embedded and an external
    // service, the real clipboard, and the launcher as the application builds it.
    void start(bool withWindowManager = true)
    {
        if (withWindowManager) {
            ASSERT_TRUE(desktop_.startWindowManager()) << "openbox did not start (bash scripts/install-deps.sh)";
        }
        auto library = std::make_unique<fakes::MemoryLibraryRepository>();
        library->store.stored = ServiceLibrary{};
        library->store.stored->services = {
            Service{"mail", "Mail_Box <b>", "square.and.pencil", "https://mail.example/", LaunchMode::embedded,
                    std::nullopt, {}},
            Service{"chat", "Chat", "message.fill", "https://chat.example/", LaunchMode::external, std::nullopt, {}},
            Service{"long", longName, "globe", "https://long.example/", LaunchMode::embedded, std::nullopt, {}},
        };
        auto workSets = std::make_unique<fakes::MemoryWorkSetRepository>();
        workSets->store.stored = std::vector<WorkSet>{};
        model_ = std::make_unique<AppModel>(AppModelServices{
            std::move(library), std::move(workSets), settings_, SystemClock::shared(), MainLoopScheduler::shared(),
            workspace_, [] { return std::make_unique<fakes::FakeWebEngine>(); },
            [this] { return makeSystemClipboardStore(settings_, folder_ / "pinned-memory.json", false); },
            [this](AppModel& model) {
                auto windows = std::make_unique<GtkLauncherWindows>(model, [this] {
                    ++mainWindowShowings_;
                    mainWindow_.present();
                });
                windows_ = windows.get();
                auto made = std::make_unique<QuickLauncher>(model, std::move(windows), makeSessionHotKey());
                launcher_ = made.get();
                return made;
            }});
    }

    QuickLauncherWindow& window() { return *windows_->window(); }
    QuickLauncherView& view() { return window().view(); }

    bool launcherActive()
    {
        return windows_->window() && desktop_.activeWindow() == xidOf(window()) && window().is_active();
    }

    // Presses the hot key and waits until the launcher has the focus.
    void openWithHotKey()
    {
        ASSERT_TRUE(LauncherDesktop::xdotool(std::string("key ") + hotKey));
        ASSERT_TRUE(waitUntil([&] { return launcherActive(); })) << "the launcher did not take the focus";
    }

    bool searchFieldFocused()
    {
        Gtk::Widget* focus = window().get_focus();
        return focus && (focus == &view().searchField() || focus->is_ancestor(view().searchField()));
    }

    bool focusBackOn(Window expected)
    {
        return waitUntil([&] { return !launcher_->shown() && desktop_.activeWindow() == expected; });
    }

    fakes::TemporaryFolder folder_;
    fakes::MemorySettings settings_;
    fakes::FakeWorkspace workspace_;
    LauncherDesktop desktop_;
    Gtk::Window mainWindow_;
    int mainWindowShowings_ = 0;
    std::unique_ptr<AppModel> model_;
    GtkLauncherWindows* windows_ = nullptr;
    QuickLauncher* launcher_ = nullptr;
};

TEST_F(QuickLauncherOnDesktop, TheHotKeyFloatsTheLauncherOverAnotherApplicationAndASecondPressGivesTheFocusBack)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const Window helper = desktop_.openHelperWindow();
    ASSERT_EQ(desktop_.activeWindow(), helper);
    EXPECT_EQ(model_->clipboard().status(), std::nullopt);

    ASSERT_NO_FATAL_FAILURE(openWithHotKey());
    const Window launcher = xidOf(window());
    EXPECT_TRUE(searchFieldFocused());
    EXPECT_EQ(desktop_.title(launcher), "MERIDAVOLT MINI · Ctrl+Alt+Space");
    ASSERT_TRUE(waitUntil([&] { return desktop_.netWMState(launcher).count("_NET_WM_STATE_ABOVE") > 0; }));
    const auto state = desktop_.netWMState(launcher);
    EXPECT_TRUE(state.count("_NET_WM_STATE_SKIP_TASKBAR"));
    EXPECT_TRUE(state.count("_NET_WM_STATE_SKIP_PAGER"));
    // On every workspace; openbox says so by the desktop number alone, without the sticky state.
    EXPECT_EQ(desktop_.desktopOf(launcher), 0xFFFFFFFFul);
    const auto frame = desktop_.frame(launcher);
    EXPECT_EQ(frame.width, 460);
    EXPECT_EQ(frame.height, 500);
    // The 1600 x 1000 screen's centre; the title bar may push the client area down a little.
    EXPECT_NEAR(frame.x + frame.width / 2, 800, 8);
    EXPECT_NEAR(frame.y + frame.height / 2, 500, 40);
    // A long name is cut with an ellipsis after 39 characters.
    EXPECT_EQ(view().shownServices(),
              (std::vector<std::string>{"Mail_Box <b>", "Chat", longName.substr(0, 39) + "…"}));

    // Typing filters; Return in the field changes nothing.
    ASSERT_TRUE(LauncherDesktop::xdotool("type --delay 30 CHA"));
    ASSERT_TRUE(waitUntil([&] { return view().searchField().get_text() == "CHA"; }));
    EXPECT_EQ(view().shownServices(), std::vector<std::string>{"Chat"});
    ASSERT_TRUE(LauncherDesktop::xdotool("key Return"));
    runMainLoopFor(300ms);
    EXPECT_TRUE(launcher_->shown());
    EXPECT_TRUE(workspace_.opened.empty());
    EXPECT_EQ(view().searchField().get_text(), "CHA");

    ASSERT_TRUE(LauncherDesktop::xdotool(std::string("key ") + hotKey));
    EXPECT_TRUE(focusBackOn(helper)) << "the other application did not get the focus back";
    EXPECT_FALSE(desktop_.mapped(launcher));

    // Shown again: the same window, the last query, the focus in the field.
    ASSERT_NO_FATAL_FAILURE(openWithHotKey());
    EXPECT_EQ(xidOf(window()), launcher);
    EXPECT_EQ(view().searchField().get_text(), "CHA");
    EXPECT_TRUE(searchFieldFocused());
    ASSERT_TRUE(LauncherDesktop::xdotool("key Escape"));
    EXPECT_TRUE(focusBackOn(helper));
    EXPECT_EQ(mainWindowShowings_, 0);
}

// The window manager offers no minimising, yet a manager may minimise the
// launcher anyway, leave it on another workspace or bury it under another
// window: each time one press brings it up in front, on the workspace in view.
TEST_F(QuickLauncherOnDesktop, OnePressShowsTheLauncherWhateverTheWindowManagerDidWithIt)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const Window helper = desktop_.openHelperWindow();
    ASSERT_NO_FATAL_FAILURE(openWithHotKey());
    const Window launcher = xidOf(window());
    auto pressOnce = [&](const char* after) {
        ASSERT_TRUE(waitUntil([&] { return !launcher_->shown(); })) << after << ": still counted as shown";
        ASSERT_TRUE(LauncherDesktop::xdotool(std::string("key ") + hotKey));
        EXPECT_TRUE(waitUntil([&] { return launcherActive() && desktop_.mapped(launcher); }))
            << after << ": one press did not bring the launcher up";
        EXPECT_TRUE(searchFieldFocused()) << after;
    };

    // Titled and closable only; the manager decides what it offers (openbox
    // lets every window be minimised, so the test can).
    const auto hints = desktop_.motifHints(launcher);
    ASSERT_EQ(hints.size(), 5u);
    constexpr unsigned long functionsAndDecorations = 0x3, moveAndClose = 0x4 | 0x20;
    constexpr unsigned long allDecorations = 0x1, titleBar = 0x8, minimiseButton = 0x20, maximiseButton = 0x40;
    EXPECT_EQ(hints[0], functionsAndDecorations);
    EXPECT_EQ(hints[1], moveAndClose);
    EXPECT_EQ(hints[2] & (allDecorations | minimiseButton | maximiseButton), 0ul);
    EXPECT_EQ(hints[2] & titleBar, titleBar);
    const auto offered = desktop_.allowedActions(launcher);
    EXPECT_FALSE(offered.count("_NET_WM_ACTION_MAXIMIZE_HORZ"));
    EXPECT_FALSE(offered.count("_NET_WM_ACTION_MAXIMIZE_VERT"));
    EXPECT_FALSE(offered.count("_NET_WM_ACTION_RESIZE"));
    EXPECT_TRUE(offered.count("_NET_WM_ACTION_CLOSE"));

    ASSERT_TRUE(LauncherDesktop::xdotool("windowminimize " + std::to_string(launcher)));
    ASSERT_TRUE(waitUntil([&] { return desktop_.netWMState(launcher).count("_NET_WM_STATE_HIDDEN") > 0; }));
    ASSERT_TRUE(waitUntil([&] { return desktop_.activeWindow() == helper; }));
    ASSERT_NO_FATAL_FAILURE(pressOnce("minimised"));
    EXPECT_FALSE(desktop_.netWMState(launcher).count("_NET_WM_STATE_HIDDEN"));
    // It still remembers the window in front, and Esc goes back there.
    ASSERT_TRUE(LauncherDesktop::xdotool("key Escape"));
    EXPECT_TRUE(focusBackOn(helper));
    ASSERT_NO_FATAL_FAILURE(openWithHotKey());

    // Sent to another workspace.
    ASSERT_TRUE(LauncherDesktop::xdotool("set_desktop_for_window " + std::to_string(launcher) + " 1"));
    ASSERT_TRUE(waitUntil([&] { return desktop_.desktopOf(launcher) == 1 && !desktop_.mapped(launcher); }));
    ASSERT_NO_FATAL_FAILURE(pressOnce("on another workspace"));
    EXPECT_EQ(desktop_.currentDesktop(), 0ul);
    ASSERT_TRUE(waitUntil([&] { return desktop_.desktopOf(launcher) == 0xFFFFFFFFul; }));

    // Left on this workspace while the user went to another.
    ASSERT_TRUE(LauncherDesktop::xdotool("set_desktop_for_window " + std::to_string(launcher) + " 0"));
    ASSERT_TRUE(waitUntil([&] { return desktop_.desktopOf(launcher) == 0; }));
    ASSERT_TRUE(LauncherDesktop::xdotool("set_desktop 1"));
    ASSERT_TRUE(waitUntil([&] { return desktop_.currentDesktop() == 1 && !desktop_.mapped(launcher); }));
    ASSERT_NO_FATAL_FAILURE(pressOnce("after a workspace switch"));
    EXPECT_EQ(desktop_.currentDesktop(), 1ul) << "the user was taken to another workspace";
    ASSERT_TRUE(LauncherDesktop::xdotool("set_desktop 0"));
    ASSERT_TRUE(waitUntil([&] { return desktop_.currentDesktop() == 0 && desktop_.mapped(helper); }));

    // Under another application's window, which the user raised over it.
    desktop_.changeState(launcher, false, "_NET_WM_STATE_ABOVE");
    desktop_.changeState(helper, true, "_NET_WM_STATE_ABOVE");
    ASSERT_TRUE(LauncherDesktop::xdotool("windowsize --sync " + std::to_string(helper) + " 1200 900"));
    ASSERT_TRUE(LauncherDesktop::xdotool("windowactivate --sync " + std::to_string(helper)));
    ASSERT_TRUE(waitUntil([&] { return desktop_.stackedAbove(helper, launcher); }));
    ASSERT_NO_FATAL_FAILURE(pressOnce("under another window"));
    EXPECT_TRUE(desktop_.stackedAbove(launcher, helper));

    // Seen in front, the next press hides it as ever.
    ASSERT_TRUE(LauncherDesktop::xdotool(std::string("key ") + hotKey));
    EXPECT_TRUE(focusBackOn(helper));
    EXPECT_FALSE(desktop_.mapped(launcher));
}

// After the main window's first frame, the launcher window and the memory
// panel's popover are each shown once where nobody sees them: the window
// manager never gets the launcher, the focus stays where it is, and both then
// open as usual.
TEST_F(QuickLauncherOnDesktop, TheLauncherAndTheMemoryPanelAreDrawnUnseenAfterTheFirstFrameAndThenOpenAsUsual)
{
    ASSERT_NO_FATAL_FAILURE(start());
    model_->clipboard().receive("会議室 B-12");
    DesktopContentView content(*model_);
    mainWindow_.set_child(content);
    std::optional<bool> preparedBeforeFirstFrame;
    mainWindow_.signal_realize().connect([&] {
        mainWindow_.get_frame_clock()->signal_paint().connect([&] {
            if (!preparedBeforeFirstFrame) preparedBeforeFirstFrame = windows_->window() != nullptr;
        });
    });
    mainWindow_.present();
    ClipboardPopover& popover = content.toolbar().clipboardPopover();

    bool launcherDrawn = false;
    bool launcherManaged = false;
    bool popoverShown = false;
    Window main = 0;
    ASSERT_TRUE(waitUntil([&] {
        if (!main && mainWindow_.get_mapped()) main = xidOf(mainWindow_);
        if (windows_->window()) {
            const Window launcher = xidOf(window());
            launcherDrawn = launcherDrawn || (launcher && desktop_.mapped(launcher));
            launcherManaged = launcherManaged || desktop_.managedWindow(QuickLauncherWindow::title) != 0;
        }
        popoverShown = popoverShown || popover.get_visible();
        return launcherDrawn && popoverShown && !window().get_visible() && !popover.get_visible();
    })) << "launcher drawn " << launcherDrawn << ", popover shown " << popoverShown;
    EXPECT_EQ(preparedBeforeFirstFrame, false) << "the preparation ran before the main window's first frame";
    EXPECT_FALSE(launcherManaged) << "the window manager took the launcher while it was prepared";
    EXPECT_FALSE(model_->showingClipboard());
    EXPECT_TRUE(popover.get_autohide());
    ASSERT_TRUE(waitUntil([&] { return desktop_.activeWindow() == main; }));

    // Then they open as ever: the launcher over the main window, the panel in its popover.
    ASSERT_NO_FATAL_FAILURE(openWithHotKey());
    EXPECT_TRUE(searchFieldFocused());
    EXPECT_EQ(view().shownMemories(), std::vector<std::string>{"会議室 B-12"});
    ASSERT_TRUE(LauncherDesktop::xdotool("key Escape"));
    ASSERT_TRUE(waitUntil([&] { return !launcher_->shown() && desktop_.activeWindow() == main; }));
    model_->openClipboard();
    EXPECT_TRUE(waitUntil([&] { return popover.panel().get_mapped() && popover.get_visible(); }));
    EXPECT_EQ(popover.panel().shownIDs().size(), 1u);
    model_->setShowingClipboard(false);
    EXPECT_TRUE(waitUntil([&] { return !popover.get_visible(); }));
    mainWindow_.unset_child();
}

TEST_F(QuickLauncherOnDesktop, AMemoryRowPutsItsTextOnTheClipboardAndTheFocusGoesBackForThePaste)
{
    ASSERT_NO_FATAL_FAILURE(start());
    bool imageStored = false;
    model_->clipboard().receiveImage(SharedBytes(meridavolt::testing::twoColourImage(200, 120, "png")), std::nullopt,
                                     [&] { imageStored = true; });
    ASSERT_TRUE(waitUntil([&] { return imageStored; }));
    const std::string longLine(100'000, 'q');
    model_->clipboard().receive(longLine);
    model_->clipboard().receive("会議室 B-12");
    const Window helper = desktop_.openHelperWindow();

    ASSERT_NO_FATAL_FAILURE(openWithHotKey());
    EXPECT_EQ(view().shownMemories(),
              (std::vector<std::string>{"会議室 B-12", std::string(100, 'q'), ClipboardEntry::imageText}));
    EXPECT_EQ(view().shownThumbnails(), 1u);
    EXPECT_EQ(desktop_.frame(xidOf(window())).width, 460) << "a long entry widened the window";
    // No service matches, so the first row after the field is the entry's.
    ASSERT_TRUE(LauncherDesktop::xdotool("type --delay 30 b-1"));
    ASSERT_TRUE(waitUntil([&] { return view().searchField().get_text() == "b-1"; }));
    EXPECT_EQ(view().shownMemories(), std::vector<std::string>{"会議室 B-12"});
    EXPECT_TRUE(view().shownServices().empty());
    ASSERT_TRUE(LauncherDesktop::xdotool("key Tab Return"));

    EXPECT_TRUE(focusBackOn(helper));
    EXPECT_EQ(meridavolt::testing::pasteWithXclip("UTF8_STRING"), "会議室 B-12");
}

TEST_F(QuickLauncherOnDesktop, AnEmbeddedServiceComesUpInTheMainWindowAndAnExternalOneRaisesNothing)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const Window helper = desktop_.openHelperWindow();

    ASSERT_NO_FATAL_FAILURE(openWithHotKey());
    ASSERT_TRUE(LauncherDesktop::xdotool("type --delay 30 chat"));
    ASSERT_TRUE(waitUntil([&] { return view().shownServices() == std::vector<std::string>{"Chat"}; }));
    ASSERT_TRUE(LauncherDesktop::xdotool("key Tab Return"));
    ASSERT_TRUE(waitUntil([&] { return workspace_.opened == std::vector<std::string>{"https://chat.example/"}; }));
    EXPECT_FALSE(launcher_->shown());
    EXPECT_EQ(mainWindowShowings_, 0);
    runMainLoopFor(300ms);
    EXPECT_FALSE(mainWindow_.get_visible());
    EXPECT_EQ(desktop_.activeWindow(), helper);

    ASSERT_NO_FATAL_FAILURE(openWithHotKey());
    view().searchField().set_text("box <");
    ASSERT_EQ(view().shownServices(), std::vector<std::string>{"Mail_Box <b>"});
    ASSERT_TRUE(LauncherDesktop::xdotool("key Tab Return"));
    ASSERT_TRUE(waitUntil([&] { return mainWindow_.is_active() && desktop_.activeWindow() == xidOf(mainWindow_); }))
        << "the main window did not come to the front";
    EXPECT_EQ(model_->selectedID(), "mail");
    EXPECT_EQ(mainWindowShowings_, 1);
    EXPECT_FALSE(launcher_->shown());
}

TEST_F(QuickLauncherOnDesktop, OpenedFromTheMenuOverOurOwnWindowEscapeLeavesTheFocusThere)
{
    ASSERT_NO_FATAL_FAILURE(start());
    desktop_.openHelperWindow();
    mainWindow_.present();
    // The user works in our window, then picks the menu item.
    ASSERT_TRUE(waitUntil([&] {
        if (!mainWindow_.get_mapped() || !desktop_.mapped(xidOf(mainWindow_))) return false;
        if (desktop_.activeWindow() == xidOf(mainWindow_) && mainWindow_.is_active()) return true;
        LauncherDesktop::xdotool("windowactivate " + std::to_string(xidOf(mainWindow_)));
        return false;
    }));
    ASSERT_TRUE(LauncherDesktop::xdotool("key shift"));

    model_->quickLauncher()->toggle();
    ASSERT_TRUE(waitUntil([&] { return launcherActive(); }));
    EXPECT_TRUE(searchFieldFocused());
    ASSERT_TRUE(LauncherDesktop::xdotool("key Escape"));
    ASSERT_TRUE(waitUntil([&] { return !launcher_->shown(); }));
    runMainLoopFor(300ms);
    EXPECT_EQ(desktop_.activeWindow(), xidOf(mainWindow_));

    // The title bar's close button hides it without handing the focus anywhere;
    // the next toggle shows it again.
    model_->quickLauncher()->toggle();
    ASSERT_TRUE(waitUntil([&] { return launcherActive(); }));
    window().close();
    ASSERT_TRUE(waitUntil([&] { return !launcher_->shown(); }));
    model_->quickLauncher()->toggle();
    EXPECT_TRUE(waitUntil([&] { return launcherActive(); }));
}

TEST_F(QuickLauncherOnDesktop, AHeldKeyTogglesOnceAndABurstOfPressesEndsShownOrHidden)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const Window helper = desktop_.openHelperWindow();
    ASSERT_TRUE(LauncherDesktop::xdotool(std::string("keydown ") + hotKey + " sleep 1.2 keyup " + hotKey));
    ASSERT_TRUE(waitUntil([&] { return launcherActive(); }));
    runMainLoopFor(500ms);
    EXPECT_TRUE(launcher_->shown()) << "the repeats of a held key toggled it again";

    // Twenty presses as fast as the server takes them.
    std::string burst = "key --delay 5";
    for (int i = 0; i < 20; ++i) burst += std::string(" ") + hotKey;
    ASSERT_TRUE(LauncherDesktop::xdotool(burst));
    runMainLoopFor(1500ms);
    EXPECT_EQ(launcher_->shown(), desktop_.mapped(xidOf(window())));
    // Whatever it ended as, the next press still toggles it.
    const bool before = launcher_->shown();
    ASSERT_TRUE(LauncherDesktop::xdotool(std::string("key ") + hotKey));
    EXPECT_TRUE(waitUntil([&] { return launcher_->shown() != before; }));
    if (!launcher_->shown()) {
        EXPECT_TRUE(focusBackOn(helper));
    }
}

// Another program holds only the Num Lock variant: the key counts as taken,
// the status says so, and none of the variants stays grabbed by us.
TEST_F(QuickLauncherOnDesktop, AKeyHeldByAnotherProgramGivesTheStatusTextAndTheMenuStillOpensTheLauncher)
{
    ASSERT_TRUE(desktop_.grabKey("space", ControlMask | Mod1Mask | Mod2Mask));
    ASSERT_NO_FATAL_FAILURE(start());
    EXPECT_EQ(model_->clipboard().status(), QuickLauncher::registrationFailedText);
    EXPECT_TRUE(desktop_.grabKey("space", ControlMask | Mod1Mask)) << "our grab of the plain variant was kept";
    EXPECT_TRUE(desktop_.grabKey("space", ControlMask | Mod1Mask | LockMask));

    model_->quickLauncher()->toggle();
    EXPECT_TRUE(waitUntil([&] { return launcher_->shown() && desktop_.mapped(xidOf(window())); }));
}

// Without a window manager the focus is the X input focus: it still goes back,
// after Esc and after an external service, and a window that closed meanwhile
// is skipped without an X error.
TEST_F(QuickLauncherOnDesktop, WithoutAWindowManagerTheFocusGoesBackAndAVanishedWindowIsSkipped)
{
    ASSERT_NO_FATAL_FAILURE(start(false));
    const Window helper = desktop_.openHelperWindow();
    ASSERT_EQ(desktop_.inputFocus(), helper);

    ASSERT_TRUE(LauncherDesktop::xdotool(std::string("key ") + hotKey));
    ASSERT_TRUE(waitUntil([&] { return windows_->window() && window().is_active(); }));
    EXPECT_EQ(desktop_.inputFocus(), xidOf(window()));
    EXPECT_TRUE(searchFieldFocused());
    ASSERT_TRUE(LauncherDesktop::xdotool("key Escape"));
    EXPECT_TRUE(waitUntil([&] { return !launcher_->shown() && desktop_.inputFocus() == helper; }));

    // An external service chosen: the focus goes back as well.
    ASSERT_TRUE(LauncherDesktop::xdotool(std::string("key ") + hotKey));
    ASSERT_TRUE(waitUntil([&] { return launcher_->shown() && window().is_active(); }));
    view().searchField().set_text("chat");
    ASSERT_TRUE(LauncherDesktop::xdotool("key Tab Return"));
    ASSERT_TRUE(waitUntil([&] { return workspace_.opened == std::vector<std::string>{"https://chat.example/"}; }));
    EXPECT_TRUE(waitUntil([&] { return !launcher_->shown() && desktop_.inputFocus() == helper; }))
        << "the focus was left on the root window";

    ASSERT_TRUE(LauncherDesktop::xdotool(std::string("key ") + hotKey));
    ASSERT_TRUE(waitUntil([&] { return launcher_->shown() && window().is_active(); }));
    desktop_.closeHelperWindow();
    ASSERT_TRUE(LauncherDesktop::xdotool("key Escape"));
    EXPECT_TRUE(waitUntil([&] { return !launcher_->shown(); }));
    runMainLoopFor(200ms);
    ASSERT_TRUE(LauncherDesktop::xdotool(std::string("key ") + hotKey));
    EXPECT_TRUE(waitUntil([&] { return launcher_->shown() && window().is_active(); }));
}

}  // namespace
}  // namespace meridavolt::desktoptest
