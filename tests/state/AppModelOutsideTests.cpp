#include "AppModelHarness.h"

#include "state/ExternalAddress.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

using testing::AppModelHarness;
using testing::makeService;
using Ids = std::vector<std::string>;

constexpr const char* openFailed = "開けませんでした。対応するアプリを確認してください。";

class Outside : public ::testing::Test {
protected:
    Outside() : model(harness.start()) {}

    static Service outside(const std::string& id, std::optional<std::string> appURL = std::nullopt)
    {
        Service service = makeService(id, LaunchMode::external);
        service.appURL = std::move(appURL);
        return service;
    }
    AppModelHarness harness;
    AppModel& model;
};

TEST_F(Outside, TheMessengerStartsItsApplicationAndNeverItsWebPage)
{
    harness.workspace.installed = {ExternalApplication::messenger};
    model.launch(outside("line", "line://"));
    EXPECT_TRUE(harness.workspace.opened.empty());
    ASSERT_EQ(harness.workspace.launches.size(), 1u);
    EXPECT_EQ(harness.workspace.launches[0].application, ExternalApplication::messenger);
    EXPECT_TRUE(harness.workspace.launches[0].urls.empty());
    harness.workspace.finishLaunch(0, std::nullopt);
    EXPECT_FALSE(model.error());
}

TEST_F(Outside, AMissingMessengerOnlySaysSo)
{
    model.launch(outside("line", "line://"));
    EXPECT_EQ(model.error(), "Mac版LINEが見つかりません。LINEをインストールしてから、もう一度開いてください。");
    EXPECT_TRUE(harness.workspace.opened.empty());
    EXPECT_TRUE(harness.workspace.launches.empty());
}

TEST_F(Outside, AMessengerThatFailsToStartIsReportedWithTheReason)
{
    harness.workspace.installed = {ExternalApplication::messenger};
    model.launchMacLINE();
    harness.workspace.finishLaunch(0, std::string("exec failed"));
    EXPECT_EQ(model.error(), "LINEを起動できませんでした。\nexec failed");
}

TEST_F(Outside, AddressesOfTheMessengerSchemeInAnyCaseStartTheMessenger)
{
    harness.workspace.installed = {ExternalApplication::messenger};
    model.openExternal("LINE://ti/p/abc");
    EXPECT_TRUE(harness.workspace.opened.empty());
    ASSERT_EQ(harness.workspace.launches.size(), 1u);
    EXPECT_EQ(harness.workspace.launches[0].application, ExternalApplication::messenger);
}

TEST_F(Outside, TheBrowserServiceOpensItsAddressInChrome)
{
    harness.workspace.installed = {ExternalApplication::chrome};
    model.launch(outside("chrome"));
    ASSERT_EQ(harness.workspace.launches.size(), 1u);
    EXPECT_EQ(harness.workspace.launches[0].application, ExternalApplication::chrome);
    EXPECT_EQ(harness.workspace.launches[0].urls, (Ids{"https://chrome.example/"}));
    harness.workspace.finishLaunch(0, std::string("no display"));
    EXPECT_EQ(model.error(), "Chromeを開けませんでした。\nno display");
}

TEST_F(Outside, AMissingChromeSaysSo)
{
    model.launch(outside("chrome"));
    EXPECT_EQ(model.error(), "Google Chromeが見つかりません。インストールしてから開いてください。");
    EXPECT_TRUE(harness.workspace.opened.empty());
}

TEST_F(Outside, ALaunchThatEndsAfterTheStateIsGoneIsIgnored)
{
    harness.workspace.installed = {ExternalApplication::chrome};
    model.launch(outside("chrome"));
    harness.model.reset();
    // The completion must not reach the destroyed state (the sanitizer build checks it).
    EXPECT_NO_THROW(harness.workspace.finishLaunch(0, std::string("too late")));
}

TEST_F(Outside, AnApplicationAddressIsTriedFirstThenTheWebAddressWithoutAMessage)
{
    harness.workspace.handles = [](const std::string& url) { return url.rfind("https:", 0) == 0; };
    model.launch(outside("chat", "chatapp://open"));
    EXPECT_EQ(harness.workspace.opened, (Ids{"chatapp://open", "https://chat.example/"}));
    EXPECT_FALSE(model.error());

    harness.workspace.handles = [](const std::string&) { return true; };
    harness.workspace.opened.clear();
    model.launch(outside("chat", "chatapp://open"));
    EXPECT_EQ(harness.workspace.opened, (Ids{"chatapp://open"}));
}

TEST_F(Outside, AnAddressNobodyTakesIsReported)
{
    harness.workspace.handles = [](const std::string&) { return false; };
    model.launch(outside("mail"));
    EXPECT_EQ(harness.workspace.opened, (Ids{"https://mail.example/"}));
    EXPECT_EQ(model.error(), openFailed);
}

TEST_F(Outside, LocalAddressesAreNeverHandedToTheDesktop)
{
    model.openExternal("file:///etc/passwd");
    EXPECT_EQ(model.error(), openFailed);
    model.setError(std::nullopt);
    model.openExternal("javascript:alert(1)");
    EXPECT_EQ(model.error(), openFailed);
    EXPECT_TRUE(harness.workspace.opened.empty());

    // An application address pointing at the machine falls back to the web address.
    model.setError(std::nullopt);
    model.launch(outside("notes", "FILE:///home/user/notes.txt"));
    EXPECT_EQ(harness.workspace.opened, (Ids{"https://notes.example/"}));
    EXPECT_FALSE(model.error());

    harness.workspace.installed = {ExternalApplication::chrome};
    Service chrome = outside("chrome");
    chrome.url = "file:///etc/passwd";
    model.launch(chrome);
    EXPECT_TRUE(harness.workspace.launches.empty());
    EXPECT_EQ(model.error(), openFailed);
}

TEST_F(Outside, LaunchingRecordsTheServiceAsCurrentSoBackReturns)
{
    harness.activate("a");
    model.launch(outside("mail"));
    EXPECT_EQ(model.switchHistory().current, "mail");
    EXPECT_EQ(model.switchHistory().previous, "a");
    EXPECT_EQ(model.previousService()->id, "a");
}

TEST(ExternalAddress, KeepsWebMailTelephoneAndApplicationSchemes)
{
    for (const char* url : {"https://a.example/", "HTTP://a.example", "mailto:x@y.example", "tel:+81312345678",
                            "slack://open", "zoommtg://join"}) {
        EXPECT_TRUE(mayOpenOutside(url)) << url;
    }
    for (const char* url : {"file:///etc/passwd", "File:/tmp/x", "data:text/html,hi", "javascript:void(0)",
                            "trash:///", "smb://server/share", "sftp://host/", "no scheme", "", "://x"}) {
        EXPECT_FALSE(mayOpenOutside(url)) << url;
    }
    EXPECT_EQ(addressScheme("LINE://x"), "line");
}

}  // namespace
}  // namespace meridavolt
