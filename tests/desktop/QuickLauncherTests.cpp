#include "desktop/LauncherSearch.h"
#include "desktop/QuickLauncher.h"
#include "state/AppModelHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace meridavolt;

namespace {

// The desktop as a record: what the launcher asked of it, in order, with a
// focus that tests move between windows.
class FakeLauncherWindows final : public LauncherWindowSystem {
public:
    void setActions(LauncherActions given) override { actions = std::move(given); }
    std::optional<FocusedWindow> focusedWindow() override { return focused; }
    bool launcherShown() override { return shown; }
    void showLauncher(std::uint32_t time) override
    {
        shown = true;
        log.push_back("show@" + std::to_string(time));
    }
    void prepareLauncher() override {}
    void hideLauncher() override
    {
        shown = false;
        log.push_back("hide");
    }
    void focusWindow(const FocusedWindow& window) override
    {
        focused = window;
        log.push_back("focus " + std::to_string(window.id));
    }
    void showMainWindow() override { log.push_back("main"); }

    // The title bar's close button: the window goes without asking the launcher.
    void closeButton() { shown = false; }

    LauncherActions actions;
    std::optional<FocusedWindow> focused;
    bool shown = false;
    std::vector<std::string> log;
};

class FakeHotKey final : public GlobalHotKey {
public:
    explicit FakeHotKey(bool available) : available(available) {}
    bool start(Pressed handler) override
    {
        ++starts;
        if (available) pressed = std::move(handler);
        return available;
    }
    bool available;
    int starts = 0;
    Pressed pressed;
};

constexpr FocusedWindow editor{0x400007, false};
constexpr FocusedWindow ourMainWindow{0x800003, true};

struct QuickLauncherTest : ::testing::Test {
    meridavolt::testing::AppModelHarness harness;
    FakeLauncherWindows* windows = nullptr;
    FakeHotKey* hotKey = nullptr;
    QuickLauncher* launcher = nullptr;

    void start(bool keyAvailable = true, bool hotKeyExists = true)
    {
        harness.storedLibrary = meridavolt::testing::makeLibrary({"mail", "chat"});
        harness.storedLibrary->services[1].mode = LaunchMode::external;
        harness.makeQuickLauncher = [=, this](AppModel& model) {
            auto fakeWindows = std::make_unique<FakeLauncherWindows>();
            windows = fakeWindows.get();
            windows->focused = editor;
            std::unique_ptr<FakeHotKey> key;
            if (hotKeyExists) key = std::make_unique<FakeHotKey>(keyAvailable);
            hotKey = key.get();
            auto made = std::make_unique<QuickLauncher>(model, std::move(fakeWindows), std::move(key));
            launcher = made.get();
            return made;
        };
        harness.start();
    }

    AppModel& model() { return *harness.model; }
};

TEST_F(QuickLauncherTest, TheHotKeyOpensOverTheWindowInFrontAndASecondPressGivesItsFocusBack)
{
    start();
    ASSERT_TRUE(hotKey->pressed);
    EXPECT_EQ(model().clipboard().status(), std::nullopt);

    hotKey->pressed(4242);
    EXPECT_TRUE(launcher->shown());
    EXPECT_EQ(launcher->previousWindow(), editor);
    windows->focused = FocusedWindow{0x1200001, true};  // the launcher took the focus

    hotKey->pressed(4300);
    EXPECT_FALSE(launcher->shown());
    EXPECT_EQ(windows->focused, editor);
    EXPECT_EQ(windows->log, (std::vector<std::string>{"show@4242", "hide", "focus " + std::to_string(editor.id)}));
    EXPECT_EQ(hotKey->starts, 1);
}

TEST_F(QuickLauncherTest, EscapeOverOurOwnWindowOrOverNoWindowLeavesTheFocusAlone)
{
    start();
    for (std::optional<FocusedWindow> before : {std::optional<FocusedWindow>(ourMainWindow),
                                                std::optional<FocusedWindow>()}) {
        windows->log.clear();
        windows->focused = before;
        launcher->toggle();
        windows->actions.close();
        EXPECT_FALSE(launcher->shown());
        EXPECT_EQ(windows->log, (std::vector<std::string>{"show@0", "hide"}));
    }
}

// The window the launcher opened over may have closed meanwhile: the request
// still goes out and the window system ignores it; nothing else happens.
TEST_F(QuickLauncherTest, DismissAlwaysReturnsToTheWindowRememberedAtTheLastShowing)
{
    start();
    launcher->toggle();
    windows->focused = FocusedWindow{0x500001, false};
    windows->actions.close();
    EXPECT_EQ(windows->focused, editor);
    // Closed with the title bar's button: hidden, the focus stays where it went.
    launcher->toggle();
    windows->focused = ourMainWindow;
    windows->closeButton();
    EXPECT_FALSE(launcher->shown());
    EXPECT_EQ(windows->focused, ourMainWindow);
    EXPECT_EQ(windows->log.back(), "show@0");
    // ...and the next toggle shows it again, over the window now in front.
    launcher->toggle();
    EXPECT_TRUE(launcher->shown());
    EXPECT_EQ(launcher->previousWindow(), ourMainWindow);
}

TEST_F(QuickLauncherTest, AnEmbeddedServiceOpensInTheMainWindowBroughtToTheFront)
{
    start();
    launcher->toggle();
    windows->actions.open(harness.service("mail"));
    EXPECT_FALSE(launcher->shown());
    EXPECT_EQ(model().selectedID(), "mail");
    EXPECT_EQ(windows->log, (std::vector<std::string>{"show@0", "hide", "main"}));
    EXPECT_TRUE(harness.workspace.opened.empty());
}

// The focus goes back to the window in front before, as for a memory entry,
// ahead of the service's own window; none of ours gets it.
TEST_F(QuickLauncherTest, AnExternalServiceGoesToTheDesktopAndTheFocusBackToTheWindowInFront)
{
    start();
    launcher->toggle();
    windows->focused = FocusedWindow{0x1200001, true};  // the launcher took the focus
    windows->actions.open(harness.service("chat"));
    EXPECT_FALSE(launcher->shown());
    EXPECT_EQ(harness.workspace.opened, std::vector<std::string>{"https://chat.example/"});
    EXPECT_EQ(model().selectedID(), std::nullopt);
    EXPECT_EQ(windows->focused, editor);
    EXPECT_EQ(windows->log, (std::vector<std::string>{"show@0", "hide", "focus " + std::to_string(editor.id)}));

    windows->log.clear();
    windows->focused = ourMainWindow;
    launcher->toggle();
    windows->actions.open(harness.service("chat"));
    EXPECT_EQ(windows->log, (std::vector<std::string>{"show@0", "hide"}));
}

TEST_F(QuickLauncherTest, AKeyThatCannotBeHadIsReportedOnceAndTheMenuStillOpensTheLauncher)
{
    for (bool sessionHasKeys : {true, false}) {
        start(false, sessionHasKeys);
        EXPECT_EQ(model().clipboard().status(), QuickLauncher::registrationFailedText);
        model().clipboard().setStatus(std::nullopt);
        model().quickLauncher()->toggle();
        EXPECT_TRUE(launcher->shown());
        EXPECT_EQ(model().clipboard().status(), std::nullopt);
    }
}

TEST(LauncherSearch, AQueryMatchesAsTypedIgnoringCase)
{
    const std::vector<std::string> names{"Google Drive", "YouTube", "ドライブ Ｍａｉｌ"};
    auto found = [&](const std::string& typed) {
        const launcherSearch::Query query(typed);
        std::vector<std::string> matching;
        for (const auto& name : names) {
            if (query.matches(name)) matching.push_back(name);
        }
        return matching;
    };
    EXPECT_EQ(found(""), names);
    EXPECT_EQ(found("DRIVE"), std::vector<std::string>{"Google Drive"});
    EXPECT_EQ(found("youtube"), std::vector<std::string>{"YouTube"});
    EXPECT_EQ(found("ｍＡｉｌ"), std::vector<std::string>{"ドライブ Ｍａｉｌ"});
    // A trailing blank is part of the query: only "Google Drive" has a blank after "Google".
    EXPECT_EQ(found("google "), std::vector<std::string>{"Google Drive"});
    EXPECT_EQ(found("tube "), std::vector<std::string>{});
    EXPECT_EQ(found(" "), (std::vector<std::string>{"Google Drive", "ドライブ Ｍａｉｌ"}));
}

// The rows, filtered by a query, list what the memory's own search finds, in its order.
TEST(LauncherSearch, MemoryRowsShowAHundredCharactersAndTheirPinAndFilterLikeTheMemory)
{
    meridavolt::testing::AppModelHarness harness;
    AppModel& model = harness.start();
    ClipboardStore& store = model.clipboard();
    std::string family;  // one user-perceived character of five code points
    for (int i = 0; i < 150; ++i) family += "👨‍👩‍👧";
    store.receive(family);
    store.receive(std::string(100'000, 'x'));
    store.receive("Short Note");
    store.receive("short NOTES, longer");
    store.togglePin(store.history().entries.back());

    const auto rows = launcherSearch::memory(store);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_TRUE(rows[0].pinned());
    EXPECT_EQ(rows[0].entry().text, family);
    std::string hundredFamilies;
    for (int i = 0; i < 100; ++i) hundredFamilies += "👨‍👩‍👧";
    EXPECT_EQ(rows[0].preview(), hundredFamilies);
    EXPECT_EQ(rows[1].preview(), "short NOTES, longer");
    EXPECT_FALSE(rows[1].pinned());
    EXPECT_EQ(rows[3].preview(), std::string(100, 'x'));

    for (const std::string typed : {"", "NOTE", "notes", "x", "xx ", "👨‍👩‍👧👨"}) {
        const launcherSearch::Query query(typed);
        std::vector<std::string> shown;
        for (const auto& row : rows) {
            if (row.matches(query)) shown.push_back(row.entry().id);
        }
        std::vector<std::string> found;
        for (const auto& entry : store.matching(typed)) found.push_back(entry.id);
        EXPECT_EQ(shown, found) << typed;
    }
    EXPECT_EQ(store.matching("NOTE").size(), 2u);
}

}  // namespace
