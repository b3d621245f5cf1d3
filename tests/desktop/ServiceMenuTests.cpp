#include "desktop/ServiceMenu.h"
#include "model/Catalog.h"

#include <gtest/gtest.h>

using namespace meridavolt;
using Kind = ServiceMenuItem::Kind;

namespace {

std::vector<Kind> kinds(const std::vector<ServiceMenuItem>& items)
{
    std::vector<Kind> result;
    for (const auto& item : items) result.push_back(item.kind);
    return result;
}

}  // namespace

TEST(ServiceContextMenu, AnEmbeddedServiceOffersBothSidesAndItsQuickActionsInOrder)
{
    const auto items = serviceContextMenu(*Catalog::find("youtube"), false);
    EXPECT_EQ(kinds(items), (std::vector<Kind>{Kind::open, Kind::openLeft, Kind::openRight, Kind::quickAction,
                                               Kind::quickAction, Kind::launch, Kind::divider, Kind::moveToTop}));
    EXPECT_EQ(items[3].title, "登録チャンネル");
    EXPECT_TRUE(items[3].url->ends_with("/feed/subscriptions"));
    EXPECT_EQ(items[4].title, "履歴");
    EXPECT_TRUE(items.back().enabled);
}

TEST(ServiceContextMenu, AServiceOpenedOutsideCannotBePlacedBeside)
{
    const auto items = serviceContextMenu(*Catalog::find("line"), false);
    EXPECT_EQ(kinds(items), (std::vector<Kind>{Kind::open, Kind::launch, Kind::divider, Kind::moveToTop}));
}

TEST(ServiceContextMenu, TheFirstServiceCannotMoveToTheTop)
{
    const auto items = serviceContextMenu(*Catalog::find("safari"), true);
    EXPECT_EQ(items.back().title, "一番上へ移動・起動時に開く");
    EXPECT_FALSE(items.back().enabled);
}

TEST(QuickActionSheet, AServiceWithoutQuickActionsOffersOnlyOpenAndOutside)
{
    const auto items = quickActionSheetItems(*Catalog::find("tiktok"));
    EXPECT_EQ(kinds(items), (std::vector<Kind>{Kind::open, Kind::launch}));
    EXPECT_EQ(items[0].title, "開く");
    EXPECT_EQ(items[1].title, "外部で開く");
}

TEST(QuickActionSheet, QuickActionsStandBetweenOpenAndOutside)
{
    const auto items = quickActionSheetItems(*Catalog::find("note"));
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[1].title, "記事を書く");
    EXPECT_EQ(items[2].title, "ダッシュボード");
    EXPECT_TRUE(items[2].url->ends_with("/sitesettings/stats"));
}
