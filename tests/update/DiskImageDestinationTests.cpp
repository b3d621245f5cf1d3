#include "fakes/TemporaryFolder.h"
#include "update/DiskImageDestination.h"

#include <gtest/gtest.h>

#include <fstream>

namespace meridavolt {
namespace {

class DiskImageDestinationTest : public ::testing::Test {
protected:
    void create(const std::string& name) { std::ofstream(folder / name) << "old"; }

    fakes::TemporaryFolder folder;
};

TEST_F(DiskImageDestinationTest, ANameWithoutTheExtensionGetsIt)
{
    const auto destination = DiskImageDestination::of(folder / "update");
    EXPECT_EQ(destination.path, folder / "update.dmg");
    EXPECT_FALSE(destination.asksBeforeReplacing);

    EXPECT_EQ(DiskImageDestination::of(folder / "MERIDAVOLT-2.1.0").path, folder / "MERIDAVOLT-2.1.0.dmg");
    EXPECT_EQ(DiskImageDestination::of(folder / "update.dmg.txt").path, folder / "update.dmg.txt.dmg");
}

TEST_F(DiskImageDestinationTest, ANameWithTheExtensionStaysAsTheChooserConfirmedIt)
{
    create("update.dmg");
    create("Upper.DMG");
    for (const char* name : {"update.dmg", "Upper.DMG", "new.Dmg"}) {
        const auto destination = DiskImageDestination::of(folder / name);
        EXPECT_EQ(destination.path, folder / name);
        EXPECT_FALSE(destination.asksBeforeReplacing) << name;
    }
}

TEST_F(DiskImageDestinationTest, AFileTheCompletedNameWouldReplaceIsAskedAbout)
{
    create("update.dmg");
    create("typed");
    EXPECT_TRUE(DiskImageDestination::of(folder / "update").asksBeforeReplacing);
    EXPECT_FALSE(DiskImageDestination::of(folder / "typed").asksBeforeReplacing);

    // A dangling link is there too: saving would replace it.
    std::filesystem::create_symlink(folder / "gone", folder / "linked.dmg");
    EXPECT_TRUE(DiskImageDestination::of(folder / "linked").asksBeforeReplacing);
}

}  // namespace
}  // namespace meridavolt
