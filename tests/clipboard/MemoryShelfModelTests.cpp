#include "clipboard/MemoryShelfModel.h"
#include "StoreFixture.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

TEST(MemoryCardMetrics, CardSizesFollowTheHeightTheHostGives)
{
    const auto small = memoryCardMetrics(54, false);
    EXPECT_EQ(small.height, 54);
    EXPECT_EQ(small.thumbnailHeight, 14);  // 11 raised to 14
    EXPECT_EQ(small.maximumLines, 2);      // ⌊14 / 14⌋ = 1 raised to 2
    EXPECT_EQ(small.padding, 10);
    EXPECT_EQ(small.spacing, 7);
    EXPECT_EQ(small.minimumTextHeight, 28);

    const auto tall = memoryCardMetrics(180, false);
    EXPECT_EQ(tall.height, 180);
    EXPECT_EQ(tall.thumbnailHeight, 137);
    EXPECT_EQ(tall.maximumLines, 10);

    const auto compactSmall = memoryCardMetrics(54, true);
    EXPECT_EQ(compactSmall.height, 54);
    EXPECT_EQ(compactSmall.thumbnailHeight, 22);
    EXPECT_EQ(compactSmall.maximumLines, 1);
    EXPECT_EQ(compactSmall.padding, 7);
    EXPECT_EQ(compactSmall.spacing, 4);
    EXPECT_EQ(compactSmall.minimumTextHeight, 14);

    const auto compactTall = memoryCardMetrics(180, true);
    EXPECT_EQ(compactTall.thumbnailHeight, 148);
    EXPECT_EQ(compactTall.maximumLines, 10);

    // The quotient is cut toward zero: 67 gives ⌊27 / 14⌋ = 1, 68 gives 2.
    EXPECT_EQ(memoryCardMetrics(67, true).maximumLines, 1);
    EXPECT_EQ(memoryCardMetrics(68, true).maximumLines, 2);
    // Under 40 the negative quotient is cut toward zero too, then raised.
    EXPECT_EQ(memoryCardMetrics(20, true).maximumLines, 1);
    EXPECT_EQ(memoryCardMetrics(20, true).thumbnailHeight, 14);

    EXPECT_EQ(MemoryCardMetrics::maximumWidth, 175);
    EXPECT_EQ(MemoryCardMetrics::previewCharacters, 160u);
}

ClipboardEntry textEntry(const std::string& id, const std::string& text)
{
    return ClipboardEntry{id, text, Date{}, std::nullopt, std::nullopt};
}

ClipboardEntry imageEntry(const std::string& id)
{
    return ClipboardEntry{id, ClipboardEntry::imageText, Date{}, SharedBytes("png"), SharedBytes("thumb")};
}

std::vector<std::string> slotIDs(const MemoryShelfSlots& slots)
{
    std::vector<std::string> ids;
    for (const auto& slot : slots) ids.push_back(slot ? slot->id : "-");
    return ids;
}

using MemoryShelfSlotsFromStore = StoreFixture;

TEST_F(MemoryShelfSlotsFromStore, OnePinThenTheFirstTemporaryEntriesThatAreNotPinned)
{
    auto& store = makeStore(false);
    for (const char* text : {"e", "d", "c", "b", "a"}) store.receive(text);  // history a b c d e
    store.togglePin(store.history().entries[0]);                             // "a" pinned, still in the history
    const auto slots = memoryShelfSlots(store.pinned(), store.history().entries);
    ASSERT_TRUE(slots[0] && slots[1] && slots[2]);
    EXPECT_EQ(slots[0]->text, "a");
    EXPECT_EQ(slots[1]->text, "b");
    EXPECT_EQ(slots[2]->text, "c");
    // The same three the panel's list starts with.
    const auto listed = store.matching("");
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(slots[i]->id, listed[i].id);
}

TEST_F(MemoryShelfSlotsFromStore, ThreePinsTakeEverySlotAndAnEmptyMemoryLeavesThreeDropSlots)
{
    auto& store = makeStore(false);
    EXPECT_EQ(slotIDs(memoryShelfSlots(store.pinned(), store.history().entries)),
              (std::vector<std::string>{"-", "-", "-"}));
    for (const char* text : {"one", "two", "three", "four"}) store.receive(text);
    for (int i = 0; i < 3; ++i) store.togglePin(store.history().entries[std::size_t(i)]);
    store.receive("newest");
    const auto slots = memoryShelfSlots(store.pinned(), store.history().entries);
    EXPECT_EQ(slots[0]->text, "two");  // newest pin first
    EXPECT_EQ(slots[1]->text, "three");
    EXPECT_EQ(slots[2]->text, "four");

    // Fewer entries than slots: the rest are empty.
    const std::vector<ClipboardEntry> none;
    EXPECT_EQ(slotIDs(memoryShelfSlots(none, {textEntry("A", "x")})), (std::vector<std::string>{"A", "-", "-"}));
}

TEST(MemoryShelfLabels, ButtonAndCardTextsArePlainAndCountOnlyWhatTheySay)
{
    EXPECT_EQ(memoryButtonLabel(0), "PELLOWRI MEMORY、0件");
    EXPECT_EQ(memoryButtonLabel(30), "PELLOWRI MEMORY、30件");
    EXPECT_STREQ(memoryButtonTooltip, "コピー履歴を開く（Ctrl+Shift+V）");

    EXPECT_EQ(memoryCardNumber(0), "01");
    EXPECT_EQ(memoryCardNumber(2), "03");

    const std::string markup = "<b>&amp; \u202Eevil</b>";
    EXPECT_EQ(memoryCardLabel(0, textEntry("A", markup)), "1、" + markup);
    EXPECT_EQ(memoryCardLabel(1, imageEntry("B")), "2、保存した画像");
    EXPECT_EQ(memoryCardLabel(2, std::nullopt), "3、ここにドロップ");

    EXPECT_EQ(memoryCardTooltip(textEntry("A", "x")), "クリックでコピー・ドラッグで移動");
    EXPECT_EQ(memoryCardTooltip(std::nullopt), "画像・テキスト・URLをドロップ");

    EXPECT_EQ(memoryCardSymbol(imageEntry("B")), "photo");
    EXPECT_EQ(memoryCardSymbol(textEntry("A", " https://example.com/a ")), "link");
    EXPECT_EQ(memoryCardSymbol(textEntry("A", "see https://example.com")), "square.on.square");
    EXPECT_EQ(memoryCardSymbol(std::nullopt), "square.on.square");
}

TEST(MemoryShelfSlots, AnEntryIsFoundByItsIdAsItNowIsOrNotAtAll)
{
    ClipboardEntry pin = textEntry("A", "pinned text");
    const std::vector<ClipboardEntry> history{textEntry("B", "b"), textEntry("A", "history copy")};
    EXPECT_EQ(memoryEntry({pin}, history, "A")->text, "pinned text");
    EXPECT_EQ(memoryEntry({}, history, "A")->text, "history copy");
    EXPECT_EQ(memoryEntry({pin}, history, "B")->text, "b");
    EXPECT_FALSE(memoryEntry({pin}, history, "C"));
}

TEST(MemoryShelfLabels, APreviewIsTheFirst160CharactersWithoutSplittingOne)
{
    // Family emoji and a flag are one character each, however many code points.
    std::string text;
    for (int i = 0; i < 100; ++i) text += "👨‍👩‍👧";
    for (int i = 0; i < 100; ++i) text += "🇯🇵";
    std::string expected;
    for (int i = 0; i < 100; ++i) expected += "👨‍👩‍👧";
    for (int i = 0; i < 60; ++i) expected += "🇯🇵";
    EXPECT_EQ(memoryCardPreview(textEntry("A", text), 2), expected);
    EXPECT_EQ(memoryCardPreview(textEntry("A", "short\nlines"), 2), "short\nlines");
    EXPECT_EQ(memoryCardPreview(std::nullopt, 2), "ここにドロップ");

    // A 100,000-byte line keeps only its beginning.
    EXPECT_EQ(memoryCardPreview(textEntry("A", std::string(100'000, 'x')), 2).size(), 160u);
}

TEST(MemoryShelfLabels, APreviewKeepsTheCardsLinesOfTheWholeText)
{
    // A card of height 78 in compact form shows two lines.
    const int lines = memoryCardMetrics(78, true).maximumLines;
    ASSERT_EQ(lines, 2);
    EXPECT_EQ(memoryCardPreview(textEntry("A", "1\n2\n3\n4\n5"), lines), "1\n2…");
    EXPECT_EQ(memoryCardPreview(textEntry("A", "1\n2\n3"), 1), "1…");
}

TEST(MemoryCardMenu, FiveItemsForAnImageFourForATextInTheirOrder)
{
    const auto image = memoryCardMenu(imageEntry("B"), true, false);
    ASSERT_EQ(image.size(), 5u);
    std::vector<std::string> labels;
    for (const auto& item : image) labels.push_back(item.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"コピー", "固定を解除", "文字を取り出す", "先頭へ", "末尾へ"}));
    EXPECT_EQ(image[2].action, MemoryCardAction::recognizeText);
    EXPECT_TRUE(image[2].enabled);
    EXPECT_FALSE(memoryCardMenu(imageEntry("B"), false, true)[2].enabled);

    const auto text = memoryCardMenu(textEntry("A", "x"), false, true);
    ASSERT_EQ(text.size(), 4u);
    EXPECT_EQ(text[1].label, "終了後も保存");
    EXPECT_EQ(text[1].action, MemoryCardAction::togglePin);
    EXPECT_EQ(text[2].action, MemoryCardAction::moveToFront);
    EXPECT_EQ(text[3].action, MemoryCardAction::moveToEnd);
    for (const auto& item : text) EXPECT_TRUE(item.enabled);
}

TEST(MemoryCardMoves, FrontAndEndMoveOnlyEntriesOfTheHistory)
{
    ClipboardHistory history;
    history.entries = {textEntry("A", "a"), textEntry("B", "b"), textEntry("C", "c")};
    auto order = [&] {
        std::string ids;
        for (const auto& entry : history.entries) ids += entry.id;
        return ids;
    };
    EXPECT_TRUE(moveToFront(history, "C"));
    EXPECT_EQ(order(), "CAB");
    EXPECT_FALSE(moveToFront(history, "C"));  // already first
    EXPECT_TRUE(moveToEnd(history, "C"));
    EXPECT_EQ(order(), "ABC");
    EXPECT_FALSE(moveToEnd(history, "C"));  // already last
    EXPECT_FALSE(moveToFront(history, "PIN-ONLY"));
    EXPECT_FALSE(moveToEnd(history, "PIN-ONLY"));
    EXPECT_EQ(order(), "ABC");

    ClipboardHistory empty;
    EXPECT_FALSE(moveToFront(empty, "A"));
    EXPECT_FALSE(moveToEnd(empty, "A"));
}

}  // namespace
}  // namespace meridavolt
