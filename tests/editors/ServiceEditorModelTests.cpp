#include "editors/ServiceEditorModel.h"
#include "platform/Uuid.h"

#include <gtest/gtest.h>

#include <optional>
#include <regex>

namespace meridavolt {
namespace {

Service lineLikeService(const std::string& id)
{
    return Service{id,
                   "Chat",
                   "message.fill",
                   "https://chat.example/",
                   LaunchMode::external,
                   "line://",
                   {QuickAction{"Inbox", "https://chat.example/inbox"}},
                   Date{600000000.0}};
}

struct Recorder {
    std::optional<Service> saved;
    int calls = 0;
    std::function<void(Service)> action()
    {
        return [this](Service service) {
            saved = std::move(service);
            ++calls;
        };
    }
};

TEST(ServiceEditorModel, ANewWebsiteStartsEmptyEmbeddedAndUnsaveable)
{
    Recorder recorder;
    ServiceEditorModel editor(std::nullopt, recorder.action());
    EXPECT_EQ(editor.title(), "Webサイトを追加");
    EXPECT_EQ(editor.name, "");
    EXPECT_EQ(editor.address, "");
    EXPECT_EQ(editor.mode, LaunchMode::embedded);
    EXPECT_TRUE(editor.modeEditable());
    EXPECT_FALSE(editor.valid());
    EXPECT_FALSE(editor.showsAddressHint());
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(recorder.calls, 0);
}

TEST(ServiceEditorModel, ANewWebsiteSavesAsAGlobeWithAnUpperCaseUUIDAndTheHttpsAddress)
{
    Recorder recorder;
    ServiceEditorModel editor(std::nullopt, recorder.action());
    editor.name = "  My_<b>Site</b>\n";
    editor.address = "example.com";
    editor.mode = LaunchMode::external;
    ASSERT_TRUE(editor.valid());
    ASSERT_TRUE(editor.save());
    ASSERT_EQ(recorder.calls, 1);
    const Service& saved = *recorder.saved;
    EXPECT_TRUE(std::regex_match(saved.id, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}")))
        << saved.id;
    EXPECT_EQ(saved.name, "My_<b>Site</b>");
    EXPECT_EQ(saved.symbol, "globe");
    EXPECT_EQ(saved.url, "https://example.com");
    EXPECT_EQ(saved.mode, LaunchMode::external);
    EXPECT_FALSE(saved.appURL);
    EXPECT_TRUE(saved.actions.empty());
}

TEST(ServiceEditorModel, TheHintShowsForATypedRefusedAddressOnly)
{
    ServiceEditorModel editor(std::nullopt, [](Service) {});
    editor.name = "Name";
    for (const char* refused : {"   ", "ftp://x", "javascript:alert(1)", "file:///etc/passwd", "exa mple.com",
                                "https://user@example.com"}) {
        editor.address = refused;
        EXPECT_TRUE(editor.showsAddressHint()) << refused;
        EXPECT_FALSE(editor.valid()) << refused;
    }
    for (const char* accepted : {"example.com", "http://127.0.0.1:8080/a?b=c", "https://bücher.example/"}) {
        editor.address = accepted;
        EXPECT_FALSE(editor.showsAddressHint()) << accepted;
        EXPECT_TRUE(editor.valid()) << accepted;
    }
    editor.address = "https://example.com/" + std::string(100000, 'a');
    EXPECT_TRUE(editor.valid());
    editor.name = " \t\u3000";
    EXPECT_FALSE(editor.valid());
    editor.name = std::string(10000, 'n');
    EXPECT_TRUE(editor.valid());
}

TEST(ServiceEditorModel, ANameOrModeEditKeepsTheAppAddressAndActionsAndNeverTheIdentity)
{
    const Service original = lineLikeService("chat");
    Recorder recorder;
    ServiceEditorModel editor(original, recorder.action());
    EXPECT_EQ(editor.title(), "サービスを編集");
    EXPECT_EQ(editor.address, original.url);
    editor.name = " Renamed ";
    editor.mode = LaunchMode::embedded;
    ASSERT_TRUE(editor.save());
    Service expected = original;
    expected.name = "Renamed";
    expected.mode = LaunchMode::embedded;
    EXPECT_EQ(*recorder.saved, expected);
}

TEST(ServiceEditorModel, ANewAddressDropsTheAppAddressAndActions)
{
    const Service original = lineLikeService("chat");
    Recorder recorder;
    ServiceEditorModel editor(original, recorder.action());
    editor.address = "chat.example/other";
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(recorder.saved->url, "https://chat.example/other");
    EXPECT_FALSE(recorder.saved->appURL);
    EXPECT_TRUE(recorder.saved->actions.empty());
    EXPECT_EQ(recorder.saved->id, original.id);
    EXPECT_EQ(recorder.saved->symbol, original.symbol);
    EXPECT_EQ(recorder.saved->modifiedAt, original.modifiedAt);
}

TEST(ServiceEditorModel, AStoredAddressTheParserRefusesShowsTheHintAndBlocksSaving)
{
    Service custom = lineLikeService("custom");
    custom.url = "line://home";
    Recorder recorder;
    ServiceEditorModel editor(custom, recorder.action());
    EXPECT_TRUE(editor.showsAddressHint());
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(recorder.calls, 0);
}

TEST(ServiceEditorModel, OnlyTheMessagingAndBrowserServicesKeepTheirMode)
{
    EXPECT_FALSE(ServiceEditorModel(lineLikeService("line"), [](Service) {}).modeEditable());
    EXPECT_FALSE(ServiceEditorModel(lineLikeService("chrome"), [](Service) {}).modeEditable());
    EXPECT_TRUE(ServiceEditorModel(lineLikeService("youtube"), [](Service) {}).modeEditable());
}

}  // namespace
}  // namespace meridavolt
