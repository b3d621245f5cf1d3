#include "PaneTestFixture.h"

#include <gtkmm/icontheme.h>

using namespace meridavolt;
using namespace meridavolt::testing;

TEST_F(PaneTest, TheAddressFieldFollowsTheSessionAndKeepsTypedText)
{
    open("https://example.com/start");
    auto& address = part<Gtk::Entry>("address");
    EXPECT_EQ(address.get_text(), "https://example.com/start");

    address.set_text("typed but not submitted");
    engine_->navigate("about:blank");  // not a web address: currentURL stays
    scheduler_.runPending();
    EXPECT_EQ(address.get_text(), "typed but not submitted");

    engine_->navigate("https://example.com/next");
    scheduler_.runPending();
    EXPECT_EQ(address.get_text(), "https://example.com/next");
}

TEST_F(PaneTest, ABareHostLoadsItsHttpsAddress)
{
    open("https://example.com");
    submitAddress("  example.org  ");
    EXPECT_EQ(engine_->loads.back(), "https://example.org");
    EXPECT_EQ(part<Gtk::Entry>("address").get_text(), "https://example.org");
    EXPECT_FALSE(shownDialog("URLを確認してください"));
}

TEST_F(PaneTest, AnAddressWithAnInnerBlankShowsTheAlertAndLoadsNothing)
{
    open("https://example.com");
    submitAddress("exa mple.com");
    EXPECT_EQ(engine_->loads.size(), 1u);
    auto* alert = shownDialog("URLを確認してください");
    ASSERT_TRUE(alert);
    EXPECT_EQ(part<Gtk::Entry>("address").get_text(), "exa mple.com");
    alert->response(Gtk::ResponseType::CANCEL);
    runMainLoopFor(std::chrono::milliseconds(20));
    EXPECT_FALSE(shownDialog("URLを確認してください"));
}

TEST_F(PaneTest, HistoryButtonsFollowTheSession)
{
    open("https://example.com");
    auto& back = part<Gtk::Button>("back");
    auto& forward = part<Gtk::Button>("forward");
    EXPECT_FALSE(back.get_sensitive());
    EXPECT_FALSE(forward.get_sensitive());
    engine_->setHistory(true, false);
    scheduler_.runPending();
    EXPECT_TRUE(back.get_sensitive());
    EXPECT_FALSE(forward.get_sensitive());
    click("back");
    EXPECT_EQ(engine_->backCount, 1);
}

TEST_F(PaneTest, TheLoadingStripShowsWhileAPageLoads)
{
    open("https://example.com");
    auto& strip = part("loadingStrip");
    EXPECT_FALSE(strip.get_visible());
    engine_->delegate->loadingChanged(true);
    EXPECT_TRUE(strip.get_visible());
    engine_->delegate->loadingChanged(false);
    EXPECT_FALSE(strip.get_visible());
}

TEST_F(PaneTest, TheShieldShowsOnlyOnTheVideoSite)
{
    open("https://example.com");
    EXPECT_FALSE(part("shield").get_visible());

    submitAddress("https://www.youtube.com/");
    auto& shield = part<Gtk::Button>("shield");
    EXPECT_TRUE(shield.get_visible());
    EXPECT_FALSE(shield.get_sensitive());  // the rule list is compiling
    EXPECT_EQ(shield.get_icon_name(), "security-high-symbolic");

    engine_->finishCompilation(0, true);
    EXPECT_TRUE(shield.get_sensitive());
    click("shield");
    EXPECT_FALSE(session_->adBlockingEnabled());
    EXPECT_EQ(shield.get_icon_name(), "security-low-symbolic");
}

TEST_F(PaneTest, AFailedRuleListShowsTheNoticeLine)
{
    open("https://m.youtube.com/");
    auto& notice = part<Gtk::Label>("adBlockingError");
    EXPECT_FALSE(notice.get_visible());
    engine_->finishCompilation(0, false);
    EXPECT_TRUE(notice.get_visible());
    EXPECT_EQ(notice.get_text(), "広告ブロックを準備できませんでした。通常表示で開いています。");
    EXPECT_EQ(part<Gtk::Button>("shield").get_icon_name(), "security-low-symbolic");
}

TEST_F(PaneTest, AnApplicationLinkAsksBeforeOpening)
{
    open("https://example.com");
    engine_->delegate->decideNavigation({"tel:0120-000-000"});
    auto* dialog = shownDialog("外部アプリで開きますか？");
    ASSERT_TRUE(dialog);
    dialog->response(Gtk::ResponseType::CANCEL);
    runMainLoopFor(std::chrono::milliseconds(20));
    EXPECT_FALSE(session_->externalRequest());
    EXPECT_FALSE(shownDialog("外部アプリで開きますか？"));
    EXPECT_TRUE(openedOutside_.empty());

    engine_->delegate->decideNavigation({"mailto:someone@example.com"});
    dialog = shownDialog("外部アプリで開きますか？");
    ASSERT_TRUE(dialog);
    dialog->response(Gtk::ResponseType::ACCEPT);
    runMainLoopFor(std::chrono::milliseconds(20));
    EXPECT_EQ(openedOutside_, std::vector<std::string>{"mailto:someone@example.com"});
    EXPECT_FALSE(session_->externalRequest());
}

TEST_F(PaneTest, AnInactivePaneKeepsTheRequestUntilItIsShown)
{
    open("https://example.com", false);
    engine_->delegate->decideNavigation({"tel:110"});
    EXPECT_FALSE(shownDialog("外部アプリで開きますか？"));
    pane_->setActive(true);
    EXPECT_TRUE(shownDialog("外部アプリで開きますか？"));
}

TEST_F(PaneTest, OpenOutsideHandsTheCurrentAddressOver)
{
    open("https://example.com/page");
    const auto icon = part<Gtk::Button>("openOutside").get_icon_name();
    EXPECT_TRUE(Gtk::IconTheme::get_for_display(pane_->get_display())->has_icon(icon)) << icon;
    click("openOutside");
    EXPECT_EQ(openedOutside_, std::vector<std::string>{"https://example.com/page"});
}

TEST_F(PaneTest, TheFailurePanelCoversThePageAndOffersReloadAndOpenOutside)
{
    open("https://example.com/page");
    auto& panel = part("failurePanel");
    EXPECT_FALSE(panel.get_visible());
    engine_->navigate("https://example.com/page");
    engine_->fail(LoadError::Kind::other, "Could not connect");
    EXPECT_TRUE(panel.get_visible());
    EXPECT_EQ(part<Gtk::Label>("failureText").get_text(), "Could not connect");

    click("failureOpenOutside");
    EXPECT_EQ(openedOutside_, std::vector<std::string>{"https://example.com/page"});

    click("failureReload");
    EXPECT_EQ(engine_->reloadCount, 0);  // a failed page is requested anew
    EXPECT_EQ(engine_->loads.back(), "https://example.com/page");
    EXPECT_FALSE(panel.get_visible());
}
