#include "clipboard/ClipboardHistory.h"

#include <gtest/gtest.h>

#include <string>

namespace meridavolt {
namespace {

constexpr std::size_t MiB = 1024 * 1024;

Date at(double seconds)
{
    return Date{seconds};
}

std::vector<std::string> texts(const ClipboardHistory& history)
{
    std::vector<std::string> result;
    for (const auto& entry : history.entries) result.push_back(entry.text);
    return result;
}

SharedBytes bytes(std::size_t size, char fill)
{
    return SharedBytes(std::string(size, fill));
}

// --- Texts

TEST(ClipboardHistoryText, AcceptsExactly100000BytesAndRefusesOneMore)
{
    ClipboardHistory history;
    EXPECT_TRUE(history.insert(std::string(100'000, 'a'), at(1)));
    EXPECT_FALSE(history.insert(std::string(100'001, 'b'), at(2)));
    ASSERT_EQ(history.entries.size(), 1u);
    EXPECT_EQ(history.entries[0].text.size(), 100'000u);
}

TEST(ClipboardHistoryText, CountsSurroundingWhitespaceAndMultibyteCharactersInTheLimit)
{
    ClipboardHistory history;
    EXPECT_FALSE(history.insert(" " + std::string(100'000, 'a'), at(1)));
    // 33,334 three-byte characters are 100,002 bytes though far fewer than 100,000 characters.
    std::string japanese;
    for (int i = 0; i < 33'334; ++i) japanese += "あ";
    EXPECT_FALSE(history.insert(japanese, at(2)));
    EXPECT_TRUE(history.entries.empty());
}

TEST(ClipboardHistoryText, RefusesBlankTextIncludingUnicodeSpaces)
{
    ClipboardHistory history;
    EXPECT_FALSE(history.insert("", at(1)));
    EXPECT_FALSE(history.insert(" \n\t\r", at(1)));
    EXPECT_FALSE(history.insert("\u3000\u00a0\u2028\v", at(1)));
    EXPECT_TRUE(history.entries.empty());
}

TEST(ClipboardHistoryText, KeepsTheTextUntrimmedAndTellsSpacedVariantsApart)
{
    ClipboardHistory history;
    history.insert("memo", at(1));
    history.insert(" memo\n", at(2));
    EXPECT_EQ(texts(history), (std::vector<std::string>{" memo\n", "memo"}));
}

TEST(ClipboardHistoryText, ReinsertedTextMovesToTheFrontWithItsIdAndTheNewTime)
{
    ClipboardHistory history;
    history.insert("first", at(1));
    history.insert("second", at(2));
    const std::string id = history.entries[1].id;
    history.insert("first", at(3));
    ASSERT_EQ(history.entries.size(), 2u);
    EXPECT_EQ(history.entries[0].text, "first");
    EXPECT_EQ(history.entries[0].id, id);
    EXPECT_EQ(history.entries[0].capturedAt, at(3));
}

TEST(ClipboardHistoryText, CanonicallyEquivalentTextsAreDuplicates)
{
    ClipboardHistory history;
    history.insert("cafe\u0301", at(1));  // e + combining acute
    const std::string id = history.entries[0].id;
    history.insert("caf\u00e9", at(2));  // precomposed é
    ASSERT_EQ(history.entries.size(), 1u);
    EXPECT_EQ(history.entries[0].id, id);
    EXPECT_EQ(history.entries[0].text, "caf\u00e9");
}

TEST(ClipboardHistoryText, TheImagePlaceholderTextLeavesImagesAlone)
{
    ClipboardHistory history;
    ASSERT_TRUE(history.insertImage(bytes(10, 'i'), bytes(5, 't'), at(1)));
    history.insert(ClipboardEntry::imageText, at(2));
    ASSERT_EQ(history.entries.size(), 2u);
    EXPECT_FALSE(history.entries[0].isImage());
    EXPECT_TRUE(history.entries[1].isImage());
}

// --- Eviction

TEST(ClipboardHistoryEviction, The31stTextRemovesTheOldestEvenWhenItWasMovedToTheFront)
{
    ClipboardHistory history;
    for (int i = 0; i < 30; ++i) history.insert("t" + std::to_string(i), at(i));
    const std::string oldest = history.entries.back().id;  // "t0"
    ASSERT_TRUE(history.move(oldest, history.entries.front().id));
    ASSERT_EQ(history.entries.front().text, "t0");

    EXPECT_TRUE(history.insert("t30", at(100)));
    ASSERT_EQ(history.entries.size(), 30u);
    for (const auto& entry : history.entries) EXPECT_NE(entry.text, "t0");
    EXPECT_EQ(history.entries.front().text, "t30");
}

TEST(ClipboardHistoryEviction, OfEqualOldestTimesTheOneNearerTheFrontGoes)
{
    ClipboardHistory history;
    for (int i = 0; i < 30; ++i) history.insert("t" + std::to_string(i), at(i < 2 ? 0 : i));
    // "t0" and "t1" share the oldest time; "t1" is nearer the front.
    history.insert("new", at(50));
    auto remaining = texts(history);
    EXPECT_EQ(std::count(remaining.begin(), remaining.end(), "t1"), 0);
    EXPECT_EQ(std::count(remaining.begin(), remaining.end(), "t0"), 1);
}

TEST(ClipboardHistoryEviction, NeverEvictsTheNewEntryWhenItsTimeTiesWithTheOldest)
{
    ClipboardHistory history;
    for (int i = 0; i < 30; ++i) history.insert("t" + std::to_string(i), at(7));  // a clock that never moves
    EXPECT_TRUE(history.insert("latest", at(7)));
    ASSERT_EQ(history.entries.size(), 30u);
    EXPECT_EQ(history.entries.front().text, "latest");
    // Of the equal times the first scanned among the others goes: the newest old one.
    auto remaining = texts(history);
    EXPECT_EQ(std::count(remaining.begin(), remaining.end(), "t29"), 0);
}

TEST(ClipboardHistoryEviction, NeverEvictsTheNewEntryWhenTheClockWentBack)
{
    ClipboardHistory history;
    for (int i = 0; i < 30; ++i) history.insert("t" + std::to_string(i), at(1000 + i));
    EXPECT_TRUE(history.insert("after clock change", at(5)));
    ASSERT_EQ(history.entries.size(), 30u);
    EXPECT_EQ(history.entries.front().text, "after clock change");
    auto remaining = texts(history);
    EXPECT_EQ(std::count(remaining.begin(), remaining.end(), "t0"), 0);
}

TEST(ClipboardHistoryEviction, ANewImageTyingWithTheOldestIsKept)
{
    ClipboardHistory history;
    for (int i = 0; i < 30; ++i) history.insert("t" + std::to_string(i), at(3));
    EXPECT_TRUE(history.insertImage(bytes(10, 'i'), bytes(5, 't'), at(3)));
    ASSERT_EQ(history.entries.size(), 30u);
    EXPECT_TRUE(history.entries.front().isImage());
}

TEST(ClipboardHistoryEviction, SixFullSizeImagesLeaveFiveAndOlderTextsGoFirst)
{
    ClipboardHistory history;
    history.insert("old text a", at(1));
    history.insert("old text b", at(2));
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(history.insertImage(bytes(12 * MiB, static_cast<char>('A' + i)), bytes(10, 't'), at(10 + i)));
        if (i == 0) history.insert("text between", at(10.5));
    }
    std::size_t images = 0;
    for (const auto& entry : history.entries) {
        if (entry.isImage()) {
            ++images;
            EXPECT_NE(entry.imageData->view().front(), 'A');
        }
    }
    EXPECT_EQ(images, 5u);
    EXPECT_EQ(history.totalImageBytes(), 60 * MiB);
    // Removed oldest first: both old texts before the first image; the
    // younger text survives.
    EXPECT_EQ(texts(history).back(), "text between");
    EXPECT_EQ(history.entries.size(), 6u);
}

// --- Images

TEST(ClipboardHistoryImage, RefusesEmptyOrOversizeBytesAndChangesNothing)
{
    ClipboardHistory history;
    history.insert("keep", at(1));
    EXPECT_FALSE(history.insertImage(bytes(10, 'i'), SharedBytes(), at(2)));
    EXPECT_FALSE(history.insertImage(SharedBytes(), bytes(10, 't'), at(2)));
    EXPECT_FALSE(history.insertImage(bytes(12'582'913, 'i'), bytes(10, 't'), at(2)));
    EXPECT_FALSE(history.insertImage(bytes(10, 'i'), bytes(524'289, 't'), at(2)));
    EXPECT_EQ(texts(history), std::vector<std::string>{"keep"});

    EXPECT_TRUE(history.insertImage(bytes(12'582'912, 'i'), bytes(524'288, 't'), at(3)));
}

TEST(ClipboardHistoryImage, SameBytesTwiceLeaveOneEntryWithTheFirstId)
{
    ClipboardHistory history;
    history.insertImage(bytes(100, 'x'), bytes(10, 't'), at(1));
    const std::string id = history.entries[0].id;
    history.insert("between", at(2));
    history.insertImage(bytes(100, 'x'), bytes(11, 'u'), at(3));
    ASSERT_EQ(history.entries.size(), 2u);
    EXPECT_EQ(history.entries[0].id, id);
    EXPECT_EQ(history.entries[0].thumbnailData->size(), 11u);
    EXPECT_EQ(history.entries[0].text, ClipboardEntry::imageText);
}

// --- Moving, removing, searching

class ClipboardHistoryOrder : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* text : {"c", "b", "a"}) history.insert(text, at(1));
        a = history.entries[0].id;
        b = history.entries[1].id;
        c = history.entries[2].id;
    }
    ClipboardHistory history;  // a, b, c
    std::string a, b, c;
};

TEST_F(ClipboardHistoryOrder, MoveReportsOnlyRealChanges)
{
    EXPECT_FALSE(history.move(a, a));
    EXPECT_FALSE(history.move(a, b));  // already directly in front of b
    EXPECT_FALSE(history.move(c, std::nullopt));  // already last
    EXPECT_FALSE(history.move("unknown", b));
    EXPECT_FALSE(history.move(a, std::string("unknown")));
    EXPECT_EQ(texts(history), (std::vector<std::string>{"a", "b", "c"}));

    EXPECT_TRUE(history.move(a, std::nullopt));
    EXPECT_EQ(texts(history), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_TRUE(history.move(a, b));
    EXPECT_EQ(texts(history), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(history.move(c, b));
    EXPECT_EQ(texts(history), (std::vector<std::string>{"a", "c", "b"}));
}

TEST_F(ClipboardHistoryOrder, RemoveAndClear)
{
    history.remove(b);
    EXPECT_EQ(texts(history), (std::vector<std::string>{"a", "c"}));
    history.remove("unknown");
    EXPECT_EQ(history.entries.size(), 2u);
    history.clear();
    EXPECT_TRUE(history.entries.empty());
}

TEST(ClipboardHistorySearch, BlankQueryListsAllAndCaseIsIgnored)
{
    ClipboardHistory history;
    history.insert("Hello WORLD", at(1));
    history.insert("ＡＢＣ straße", at(2));
    history.insert("other", at(3));
    EXPECT_EQ(history.matching("  ").size(), 3u);
    auto found = history.matching(" world ");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].text, "Hello WORLD");
    EXPECT_EQ(history.matching("STRASSE").size(), 1u);
    EXPECT_EQ(history.matching("ａｂｃ").size(), 1u);
    EXPECT_TRUE(history.matching("missing").empty());
}

}  // namespace
}  // namespace meridavolt
