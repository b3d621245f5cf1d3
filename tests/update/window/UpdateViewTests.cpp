#include "fakes/FakeDistributionDesktop.h"
#include "fakes/FakeDistributionHTTP.h"
#include "fakes/ReleaseSigner.h"
#include "fakes/TemporaryFolder.h"
#include "support/MainLoopWait.h"
#include "update/DistributionConstants.h"
#include "update/ReleaseDigest.h"
#include "update/view/UpdateServices.h"
#include "update/view/UpdateView.h"

#include <gtest/gtest.h>
#include <gtkmm/init.h>

#include <algorithm>

namespace meridavolt {
namespace {

const std::string image = "image";

// What a click does: nothing on a button that is hidden or insensitive.
bool click(Gtk::Button& button)
{
    if (!button.get_visible() || !button.get_sensitive()) return false;
    g_signal_emit_by_name(button.gobj(), "clicked");
    return true;
}

class UpdateSheet : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gtk_init();
        Gtk::init_gtkmm_internals();
    }

    void SetUp() override { parent.present(); }

    std::unique_ptr<MacDistribution> makeChecker(std::optional<DistributionConfig> config)
    {
        return std::make_unique<MacDistribution>(std::move(config), 41, MacDistribution::Services{http, panel, viewer});
    }

    void offerBuild42()
    {
        const FriendRelease release("2.1.0", 42, fakes::releaseURL("MERIDAVOLT-2.1.0.dmg"), sha256Hex(image));
        http->respondLast(200, signer.manifest(release.encode()));
    }

    fakes::ReleaseSigner signer;
    std::shared_ptr<fakes::FakeDistributionHTTP> http = std::make_shared<fakes::FakeDistributionHTTP>();
    std::shared_ptr<fakes::FakeDistributionSavePanel> panel = std::make_shared<fakes::FakeDistributionSavePanel>();
    std::shared_ptr<fakes::FakeDistributionFileViewer> viewer = std::make_shared<fakes::FakeDistributionFileViewer>();
    std::unique_ptr<MacDistribution> checker = makeChecker(DistributionConfig::load(signer.configuration()));
    Gtk::Window parent;
};

TEST_F(UpdateSheet, WithoutAConfigurationTheSheetSaysSoAtOnce)
{
    checker = makeChecker(std::nullopt);
    UpdateView sheet(parent, *checker);
    sheet.present();
    EXPECT_EQ(sheet.messageLabel().get_text(), "更新の配布設定が未完了です");
    EXPECT_TRUE(sheet.checkButton().get_sensitive());
    EXPECT_FALSE(sheet.spinner().get_visible());
    EXPECT_FALSE(sheet.saveButton().get_visible());
    EXPECT_TRUE(click(sheet.checkButton()));
    EXPECT_EQ(sheet.messageLabel().get_text(), "更新の配布設定が未完了です");
    EXPECT_TRUE(http->requests.empty());
}

TEST_F(UpdateSheet, OpeningTheSheetChecksAndShowsTheOffer)
{
    UpdateView sheet(parent, *checker);
    sheet.present();
    EXPECT_TRUE(checker->showingUpdates());
    ASSERT_EQ(http->requests.size(), 1u);
    EXPECT_TRUE(sheet.spinner().get_visible());
    EXPECT_FALSE(sheet.checkButton().get_sensitive());
    EXPECT_FALSE(sheet.saveButton().get_visible());

    offerBuild42();
    EXPECT_EQ(sheet.messageLabel().get_text(), "バージョン 2.1.0 に更新できます");
    EXPECT_FALSE(sheet.spinner().get_visible());
    EXPECT_TRUE(sheet.checkButton().get_sensitive());
    EXPECT_TRUE(sheet.saveButton().get_visible());
    EXPECT_TRUE(sheet.saveButton().get_sensitive());
}

TEST_F(UpdateSheet, BothButtonsWaitWhileTheSavePanelAndTheDownloadRun)
{
    fakes::TemporaryFolder folder;
    UpdateView sheet(parent, *checker);
    sheet.present();
    offerBuild42();

    EXPECT_TRUE(click(sheet.saveButton()));
    ASSERT_TRUE(panel->isOpen());
    EXPECT_FALSE(sheet.checkButton().get_sensitive());
    EXPECT_FALSE(sheet.saveButton().get_sensitive());
    EXPECT_FALSE(sheet.spinner().get_visible());

    panel->choose(folder / "MERIDAVOLT-2.1.0.dmg");
    EXPECT_EQ(sheet.messageLabel().get_text(), "更新をダウンロードしています…");
    EXPECT_TRUE(sheet.spinner().get_visible());
    EXPECT_FALSE(click(sheet.checkButton()));  // insensitive: nothing happens
    EXPECT_EQ(http->requests.size(), 2u);

    http->respondLast(200, image);
    EXPECT_EQ(sheet.messageLabel().get_text(), updateMessages::saved);
    EXPECT_TRUE(sheet.saveButton().get_visible());
    EXPECT_TRUE(sheet.checkButton().get_sensitive());
}

TEST_F(UpdateSheet, ClosingTheSheetCancelsOnlyTheCheckItStarted)
{
    UpdateView sheet(parent, *checker);
    sheet.present();
    click(sheet.closeButton());
    EXPECT_FALSE(sheet.get_visible());
    EXPECT_FALSE(checker->showingUpdates());
    EXPECT_TRUE(http->requests[0].cancelled);
    http->answerLast(FetchFailure{FetchFailure::Reason::cancelled, "cancelled"});
    EXPECT_EQ(checker->updateMessage(), updateMessages::checkFailed);

    sheet.present();  // a new opening checks again
    ASSERT_EQ(http->requests.size(), 2u);
    http->respondLast(404, "");
    click(sheet.checkButton());  // a check of the button's own
    ASSERT_EQ(http->requests.size(), 3u);
    sheet.set_visible(false);
    EXPECT_FALSE(http->requests[2].cancelled);
}

TEST_F(UpdateSheet, OnlyOneSheetOpensAtATime)
{
    presentUpdateSheet(parent, *checker);
    presentUpdateSheet(parent, *checker);
    EXPECT_EQ(http->requests.size(), 1u);
    EXPECT_TRUE(checker->showingUpdates());

    int sheets = 0;
    for (auto* window : Gtk::Window::list_toplevels()) sheets += dynamic_cast<UpdateView*>(window) ? 1 : 0;
    EXPECT_EQ(sheets, 1);
    for (auto* window : Gtk::Window::list_toplevels()) {
        if (auto* sheet = dynamic_cast<UpdateView*>(window)) click(sheet->closeButton());
    }
    EXPECT_FALSE(checker->showingUpdates());
    // The closed sheet goes away once the main loop has run.
    EXPECT_TRUE(testing::waitUntil([] {
        const auto windows = Gtk::Window::list_toplevels();
        return std::none_of(windows.begin(), windows.end(),
                            [](Gtk::Window* window) { return dynamic_cast<UpdateView*>(window) != nullptr; });
    }));
}

TEST(CompiledConfiguration, RepeatsTheBuiltInFeedAddress)
{
    GBytes* bytes = g_resources_lookup_data("/com/pellowright/meridavolt/distribution-config.json",
                                            G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    ASSERT_NE(bytes, nullptr);
    gsize size = 0;
    const auto* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
    const std::string json(data, size);
    g_bytes_unref(bytes);
    const auto config = DistributionConfig::decode(json);
    EXPECT_EQ(config.updateFeedURL, std::string(releaseFeedAddress));
    // Loads exactly when the build was given a key; a build without one reports the missing configuration.
    EXPECT_EQ(DistributionConfig::load().has_value(), config.publicKey.size() == 32);
    EXPECT_EQ(makeMacDistribution()->config().has_value(), config.publicKey.size() == 32);
}

}  // namespace
}  // namespace meridavolt
