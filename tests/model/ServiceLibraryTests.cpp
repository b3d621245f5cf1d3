#include "ModelSamples.h"
#include "fakes/FakeClock.h"
#include "model/Catalog.h"
#include "model/ServiceLibrary.h"
#include "platform/Uuid.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

using samples::idsOf;
using Ids = std::vector<std::string>;

ServiceLibrary libraryOf(const Ids& ids)
{
    ServiceLibrary library;
    for (const auto& id : ids) library.services.push_back(samples::service(id));
    library.modifiedAt = Date{1000.0};
    return library;
}

TEST(MoveServiceTests, movesBeforeAnotherOrToTheEndAndReportsARealChange)
{
    ServiceLibrary library = libraryOf({"a", "b", "c"});
    EXPECT_TRUE(library.moveService("c", "a"));
    EXPECT_EQ(idsOf(library.services), (Ids{"c", "a", "b"}));

    library = libraryOf({"a", "b", "c"});
    EXPECT_FALSE(library.moveService("a", "b"));
    EXPECT_EQ(idsOf(library.services), (Ids{"a", "b", "c"}));

    EXPECT_TRUE(library.moveService("a", std::nullopt));
    EXPECT_EQ(idsOf(library.services), (Ids{"b", "c", "a"}));

    EXPECT_FALSE(library.moveService("a", std::nullopt));
    EXPECT_EQ(idsOf(library.services), (Ids{"b", "c", "a"}));
}

TEST(MoveServiceTests, movingForwardLandsJustBeforeTheTarget)
{
    ServiceLibrary library = libraryOf({"a", "b", "c", "d"});
    EXPECT_TRUE(library.moveService("a", "d"));
    EXPECT_EQ(idsOf(library.services), (Ids{"b", "c", "a", "d"}));
}

TEST(MoveServiceTests, selfUnknownIdOrUnknownTargetChangeNothing)
{
    const ServiceLibrary original = libraryOf({"a", "b", "c"});
    ServiceLibrary library = original;
    EXPECT_FALSE(library.moveService("b", "b"));
    EXPECT_FALSE(library.moveService("z", "a"));
    EXPECT_FALSE(library.moveService("z", std::nullopt));
    EXPECT_FALSE(library.moveService("a", "z"));
    EXPECT_EQ(library, original);
}

TEST(MoveServiceTests, theModificationTimeIsLeftToTheCaller)
{
    ServiceLibrary library = libraryOf({"a", "b"});
    library.moveService("b", "a");
    EXPECT_EQ(library.modifiedAt, Date{1000.0});
}

TEST(ApplyWorkSetTests, theSetsCopiesLeadAndTheRestKeepTheirOrder)
{
    fakes::FakeClock clock(Date{5000.0});
    ServiceLibrary library = libraryOf({"a", "b", "c"});
    library.deletedIDs = {{"a", Date{1.0}}, {"c", Date{2.0}}, {"z", Date{3.0}}};
    Service cPage = samples::service("c");
    cPage.url = "https://c.example.com/page";
    Service aPage = samples::service("a");
    aPage.url = "https://a.example.com/other";

    EXPECT_TRUE(library.apply(samples::workSet(makeUUID(), "Set", {cPage, aPage}), clock));
    EXPECT_EQ(idsOf(library.services), (Ids{"c", "a", "b"}));
    EXPECT_EQ(library.services[0], cPage);
    EXPECT_EQ(library.services[1], aPage);
    EXPECT_EQ(library.deletedIDs, (std::map<std::string, Date>{{"z", Date{3.0}}}));
    EXPECT_EQ(library.modifiedAt, Date{5000.0});
}

TEST(ApplyWorkSetTests, aSetServiceMissingFromTheLibraryIsAddedAtTheHead)
{
    fakes::FakeClock clock;
    ServiceLibrary library = libraryOf({"a"});
    EXPECT_TRUE(library.apply(samples::workSet(makeUUID(), "Set", {samples::service("n")}), clock));
    EXPECT_EQ(idsOf(library.services), (Ids{"n", "a"}));
}

TEST(ApplyWorkSetTests, anInvalidSetChangesNothingNotEvenTheTime)
{
    fakes::FakeClock clock(Date{5000.0});
    const ServiceLibrary original = libraryOf({"a", "b", "c"});
    ServiceLibrary library = original;
    EXPECT_FALSE(library.apply(samples::workSet(makeUUID(), "  ", {samples::service("c")}), clock));
    EXPECT_FALSE(library.apply(samples::workSet(makeUUID(), "Set", {}), clock));
    EXPECT_EQ(library, original);
}

TEST(RestoreYouTubeDefaultTests, putsTheCatalogueRowFirstAndTombstonesBrave)
{
    fakes::FakeClock clock(Date{9000.0});
    ServiceLibrary library = libraryOf({"brave", "x", "youtube"});
    library.services[2].name = "My Tube";
    library.deletedIDs["youtube"] = Date{1.0};

    library.restoreYouTubeDefault(clock);

    EXPECT_EQ(idsOf(library.services), (Ids{"youtube", "x"}));
    Service expected = *Catalog::find("youtube");
    expected.modifiedAt = Date{9000.0};
    EXPECT_EQ(library.services[0], expected);
    EXPECT_EQ(library.deletedIDs, (std::map<std::string, Date>{{"brave", Date{9000.0}}}));
    EXPECT_EQ(library.modifiedAt, Date{9000.0});
}

TEST(RestoreYouTubeDefaultTests, aFirstLaunchLibraryBeginsWithYouTubeThenTheOtherInitialServices)
{
    fakes::FakeClock clock;
    ServiceLibrary library{.services = Catalog::initial()};
    library.restoreYouTubeDefault(clock);
    EXPECT_EQ(idsOf(library.services), (Ids{"youtube", "safari", "x", "instagram", "tiktok", "note"}));
}

}  // namespace
}  // namespace meridavolt
