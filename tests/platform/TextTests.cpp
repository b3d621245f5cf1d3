#include "platform/Text.h"
#include "platform/Uuid.h"

#include <gtest/gtest.h>

#include <set>

using namespace meridavolt;

TEST(Text, TrimRemovesTheWholeUnicodeWhiteSpaceSet)
{
    EXPECT_EQ(trimWhitespace("  a b  "), "a b");
    EXPECT_EQ(trimWhitespace("\v\u0085\u3000\u00a0x\u2028\t\n"), "x");
    EXPECT_EQ(trimWhitespace("\u200b"), "\u200b") << "zero-width space is not White_Space";
    EXPECT_EQ(trimWhitespace(" \u3000 "), "");
    EXPECT_TRUE(isBlank("\u3000\n"));
    EXPECT_FALSE(isBlank(" a"));
}

TEST(Text, TrimKeepsInvalidBytesInTheMiddle)
{
    EXPECT_EQ(trimWhitespace(std::string(" a\xff b ")), std::string("a\xff b"));
}

TEST(Text, CharacterCountCountsGraphemeClusters)
{
    EXPECT_EQ(characterCount(""), 0u);
    EXPECT_EQ(characterCount("abc"), 3u);
    EXPECT_EQ(characterCount("日本語"), 3u);
    EXPECT_EQ(characterCount("e\u0301"), 1u) << "combining accent";
    EXPECT_EQ(characterCount("👨‍👩‍👧"), 1u) << "family emoji joined by ZWJ";
    EXPECT_EQ(characterCount("🇯🇵"), 1u) << "flag";
    EXPECT_EQ(characterCount(std::string("a\xff")), 2u);
}

TEST(Text, CharacterPrefixNeverSplitsAGraphemeCluster)
{
    EXPECT_EQ(characterPrefix("abc", 0), "");
    EXPECT_EQ(characterPrefix("abc", 2), "ab");
    EXPECT_EQ(characterPrefix("abc", 10), "abc");
    EXPECT_EQ(characterPrefix("日本語", 2), "日本");
    EXPECT_EQ(characterPrefix("e\u0301x", 1), "e\u0301");
    EXPECT_EQ(characterPrefix("👨‍👩‍👧🇯🇵", 1), "👨‍👩‍👧");
    EXPECT_EQ(characterPrefix(std::string("a\xff\xfe"), 2), std::string("a\xff"));
    const std::string huge(200000, 'x');
    EXPECT_EQ(characterPrefix(huge, 160), std::string(160, 'x'));
}

TEST(Text, FirstLinesKeepsAtMostTheCountWithAnEllipsisWhenMoreFollow)
{
    std::string forty;
    for (int line = 1; line <= 40; ++line) forty += "line " + std::to_string(line) + "\n";
    EXPECT_EQ(firstLines(forty, 4), "line 1\nline 2\nline 3\nline 4…");
    EXPECT_EQ(firstLines("a\r\nb\rc\u2028d\u2029e", 4), "a\r\nb\rc\u2028d…");
    EXPECT_EQ(firstLines("a\r\nb", 1), "a…");
    EXPECT_EQ(firstLines("a\n\nb", 2), "a\n…");
    EXPECT_EQ(firstLines("one line", 1), "one line");
    EXPECT_EQ(firstLines("two\nlines", 2), "two\nlines");
    EXPECT_EQ(firstLines("anything", 0), "");
}

TEST(Text, LineBreaksOfEveryKindAreReplacedOnceEach)
{
    EXPECT_EQ(replaceLineBreaks("a\r\nb\rc\nd\u2029e\u2028f", "|"), "a|b|c|d|e|f");
    EXPECT_EQ(replaceLineBreaks("\n\n", "|"), "||");
    EXPECT_EQ(replaceLineBreaks("日本語", "|"), "日本語");
}

TEST(Text, ShownNamesAreCutWithAnEllipsisBetweenGraphemeClusters)
{
    const std::string fits(maximumShownNameCharacters, 'a');
    EXPECT_EQ(shownName(fits), fits);
    EXPECT_EQ(shownName(fits + "b"), std::string(maximumShownNameCharacters - 1, 'a') + "…");

    // A family emoji is one character of several code points: never split.
    const std::string family = "👨‍👩‍👧";
    std::string long_;
    for (int i = 0; i < 3'000'000 / static_cast<int>(family.size()); ++i) long_ += family;
    std::string expected;
    for (std::size_t i = 0; i + 1 < maximumShownNameCharacters; ++i) expected += family;
    EXPECT_EQ(shownName(long_), expected + "…");
}

TEST(Text, SearchFoldingIgnoresCaseAndNormalisation)
{
    EXPECT_EQ(foldedForSearch("YouTube"), foldedForSearch("youtube"));
    EXPECT_EQ(foldedForSearch("Cafe\u0301"), foldedForSearch("CAFÉ"));
    EXPECT_FALSE(foldedForSearch(std::string("\xff")).empty());
}

TEST(Uuid, MadeUUIDsAreUpperCaseVersion4AndDistinct)
{
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        auto id = makeUUID();
        ASSERT_EQ(canonicalUUID(id), id);
        EXPECT_EQ(id[14], '4');
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST(Uuid, CanonicalFormAcceptsEitherCaseAndRejectsOtherText)
{
    EXPECT_EQ(canonicalUUID("a1b2c3d4-0000-4000-8000-00000000abcd"), "A1B2C3D4-0000-4000-8000-00000000ABCD");
    EXPECT_FALSE(canonicalUUID("a1b2c3d4000040008000000000000abcd"));
    EXPECT_FALSE(canonicalUUID("g1b2c3d4-0000-4000-8000-00000000abcd"));
    EXPECT_FALSE(canonicalUUID(""));
}
