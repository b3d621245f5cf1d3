#include "ModelSamples.h"
#include "model/Catalog.h"
#include "model/WorkSet.h"
#include "platform/Uuid.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

using samples::idsOf;
using samples::service;

TEST(WorkSetValidityTests, theNameMustNotBeBlankAndIsNotTrimmed)
{
    EXPECT_FALSE(samples::workSet(makeUUID(), " \n\u3000", {service("a")}).isValid());
    EXPECT_FALSE(samples::workSet(makeUUID(), "", {service("a")}).isValid());
    WorkSet set = samples::workSet(makeUUID(), "  朝の作業  ", {service("a")});
    EXPECT_TRUE(set.isValid());
    EXPECT_EQ(set.name, "  朝の作業  ");
}

TEST(WorkSetValidityTests, aSetNeedsServicesWithUniqueIds)
{
    EXPECT_FALSE(samples::workSet(makeUUID(), "Set", {}).isValid());
    EXPECT_FALSE(samples::workSet(makeUUID(), "Set", {service("a", 1.0), service("a", 2.0)}).isValid());
}

TEST(WorkSetValidityTests, everyPageMustBeAWebAddress)
{
    Service line = service("line");
    line.url = "line://";
    EXPECT_FALSE(samples::workSet(makeUUID(), "Set", {service("a"), line}).isValid());
    Service file = service("file");
    file.url = "file:///home/user/notes.txt";
    EXPECT_FALSE(samples::workSet(makeUUID(), "Set", {file}).isValid());
}

TEST(WorkSetPresetTests, twoReadsGiveNewIdsButTheSameNamesAndServices)
{
    auto first = WorkSet::presets();
    auto second = WorkSet::presets();
    ASSERT_EQ(first.size(), 2u);
    ASSERT_EQ(second.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_NE(first[i].id, second[i].id);
        EXPECT_EQ(canonicalUUID(first[i].id), first[i].id);
        EXPECT_EQ(first[i].name, second[i].name);
        EXPECT_EQ(first[i].services, second[i].services);
        EXPECT_NE(first[i], second[i]);
    }
}

TEST(WorkSetPresetTests, thePresetsAreValidSetsOfCatalogueRows)
{
    auto presets = WorkSet::presets();
    EXPECT_EQ(presets[0].name, "発信");
    EXPECT_EQ(idsOf(presets[0].services), (std::vector<std::string>{"x", "note", "canva"}));
    EXPECT_EQ(presets[1].name, "調べる");
    EXPECT_EQ(idsOf(presets[1].services), (std::vector<std::string>{"safari", "chatgpt", "drive"}));
    for (const auto& preset : presets) {
        EXPECT_TRUE(preset.isValid()) << preset.name;
        for (const auto& s : preset.services) EXPECT_EQ(s, *Catalog::find(s.id));
    }
}

}  // namespace
}  // namespace meridavolt
