#include "ModelSamples.h"
#include "model/Catalog.h"
#include "model/WebsiteURL.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

TEST(CatalogTests, theRowsAreTheThirteenServicesInOrder)
{
    EXPECT_EQ(samples::idsOf(Catalog::all()),
              (std::vector<std::string>{"safari", "youtube", "x", "instagram", "tiktok", "note", "line", "chatgpt",
                                        "drive", "chrome", "canva", "deepl", "amazon"}));
    std::vector<std::string> names, symbols;
    for (const auto& row : Catalog::all()) {
        names.push_back(row.name);
        symbols.push_back(row.symbol);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Safari", "YouTube", "X", "Instagram", "TikTok", "note", "LINE",
                                               "ChatGPT", "Google Drive", "Chrome", "Canva", "DeepL", "Amazon"}));
    EXPECT_EQ(symbols, (std::vector<std::string>{"safari", "play.rectangle.fill", "xmark", "camera", "music.note",
                                                 "square.and.pencil", "message.fill", "sparkle", "folder",
                                                 "circle.hexagongrid", "paintpalette", "character.bubble", "cart"}));
}

TEST(CatalogTests, theFirstLaunchLibraryIsTheFirstSixRows)
{
    EXPECT_EQ(samples::idsOf(Catalog::initial()),
              (std::vector<std::string>{"safari", "youtube", "x", "instagram", "tiktok", "note"}));
    for (std::size_t i = 0; i < Catalog::initial().size(); ++i) EXPECT_EQ(Catalog::initial()[i], Catalog::all()[i]);
}

TEST(CatalogTests, theOfferedRowsAreAllRowsAndShareTheTimeOfTheFirstRead)
{
    EXPECT_EQ(Catalog::available(), Catalog::all());
    const Date first = Catalog::all().front().modifiedAt;
    for (const auto& row : Catalog::all()) EXPECT_EQ(row.modifiedAt, first) << row.id;
}

TEST(CatalogTests, onlyLineHasAnAppAddressAndRowsSevenToTenOpenOutside)
{
    const auto& rows = Catalog::all();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool outside = i >= 6 && i <= 9;
        EXPECT_EQ(rows[i].mode, outside ? LaunchMode::external : LaunchMode::embedded) << rows[i].id;
        EXPECT_EQ(rows[i].appURL.has_value(), rows[i].id == "line") << rows[i].id;
    }
    EXPECT_EQ(Catalog::find("line")->appURL, "line://");
}

TEST(CatalogTests, everyAddressIsAnAcceptedHttpsAddressWithThePathsGiven)
{
    for (const auto& row : Catalog::all()) {
        EXPECT_EQ(WebsiteURL::parse(row.url), row.url) << row.id;
        EXPECT_EQ(row.url.rfind("https://", 0), 0u) << row.id;
        for (const auto& action : row.actions) EXPECT_EQ(WebsiteURL::parse(action.url), action.url) << action.url;
    }
    EXPECT_EQ(Catalog::find("safari")->url, Catalog::find("chrome")->url);
    EXPECT_TRUE(Catalog::find("line")->url.ends_with("/R/nv/chat"));
    EXPECT_TRUE(Catalog::find("deepl")->url.ends_with("/translator"));
    EXPECT_TRUE(Catalog::find("amazon")->url.ends_with(".co.jp/"));
    EXPECT_FALSE(Catalog::find("youtube")->url.ends_with("/"));
}

TEST(CatalogTests, quickActionsHaveTheirJapaneseTitlesAndPathsInOrder)
{
    auto actionsOf = [](const char* id) {
        std::vector<std::string> described;
        for (const auto& action : Catalog::find(id)->actions) {
            auto path = action.url.substr(action.url.find('/', std::string("https://").size()));
            described.push_back(action.title + " " + path);
        }
        return described;
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(actionsOf("youtube"), (Texts{"登録チャンネル /feed/subscriptions", "履歴 /feed/history"}));
    EXPECT_EQ(actionsOf("x"), (Texts{"投稿する /compose/post", "ブックマーク /i/bookmarks"}));
    EXPECT_EQ(actionsOf("instagram"), (Texts{"メッセージ /direct/inbox/"}));
    EXPECT_EQ(actionsOf("note"), (Texts{"記事を書く /notes/new", "ダッシュボード /sitesettings/stats"}));
    EXPECT_TRUE(Catalog::find("tiktok")->actions.empty());
}

TEST(CatalogTests, copiesAreIndependentOfTheCatalogue)
{
    Service copy = *Catalog::find("x");
    copy.name = "Edited";
    EXPECT_EQ(Catalog::find("x")->name, "X");
    EXPECT_EQ(Catalog::find("brave"), nullptr);
}

}  // namespace
}  // namespace meridavolt
