#include "StoreFixture.h"
#include "clipboard/ClipboardPanelModel.h"

#include <cstdlib>

namespace meridavolt {
namespace {

using namespace clipboardpanel;

class ClipboardPanelModel : public StoreFixture {
protected:
    void SetUp() override { makeStore(false); }

    ClipboardEntry remember(const std::string& text)
    {
        store->receive(text);
        clock.advance(1);
        return store->history().entries.front();
    }
};

TEST_F(ClipboardPanelModel, TheCountsAreTheRawSizesAndThePlaceholderFollowsHistoryPinsAndSearch)
{
    EXPECT_EQ(countsText(0, 0), "一時 0/30・固定 0");
    EXPECT_EQ(countsText(3, 1), "一時 3/30・固定 1");
    // Empty memory: the empty state, even while a search finds nothing.
    EXPECT_EQ(placeholderFor(*store, store->matching("x").size()), Placeholder::empty);

    const ClipboardEntry pin = remember("pinned");
    store->togglePin(pin);
    store->updateHistory([](ClipboardHistory& history) { history.clear(); });
    EXPECT_EQ(placeholderFor(*store, store->matching("").size()), Placeholder::none);
    EXPECT_EQ(placeholderFor(*store, store->matching("nothing").size()), Placeholder::notFound);
}

TEST_F(ClipboardPanelModel, RowTextsAndLabels)
{
    ClipboardEntry image{"I", ClipboardEntry::imageText, Date{}, SharedBytes("png"), SharedBytes("thumb")};
    ClipboardEntry link{"L", "  https://example.com/a \n", Date{}, std::nullopt, std::nullopt};
    ClipboardEntry text{"T", "ftp://example.com", Date{}, std::nullopt, std::nullopt};
    EXPECT_STREQ(kindSymbol(image), "photo");
    EXPECT_STREQ(kindSymbol(link), "link");
    EXPECT_STREQ(kindSymbol(text), "text.alignleft");
    EXPECT_STREQ(pinLabel(true), "固定を解除");
    EXPECT_STREQ(pinLabel(false), "終了後も保存");
    EXPECT_STREQ(recognizeTitle(true), "読取中…");
    EXPECT_STREQ(recognizeTitle(false), "文字を取り出す");
    EXPECT_STREQ(pasteHint(true), "選択していた入力欄に貼り付けます");
    EXPECT_STREQ(pasteHint(false), "ページの入力欄を選んでから開くと直接貼れます");

    // 600 user-perceived characters: a family emoji is one.
    std::string family = "\U0001F468\u200D\U0001F469\u200D\U0001F467";
    std::string long_;
    for (int i = 0; i < 700; ++i) long_ += family;
    ClipboardEntry many{"M", long_, Date{}, std::nullopt, std::nullopt};
    EXPECT_EQ(rowText(many).size(), 600 * family.size());
    EXPECT_EQ(rowText(text), "ftp://example.com");
    // Four lines of the whole text, whatever the characters would allow.
    std::string forty;
    for (int line = 1; line <= 40; ++line) forty += std::to_string(line) + "\n";
    EXPECT_EQ(rowText(ClipboardEntry{"L", forty, Date{}, std::nullopt, std::nullopt}), "1\n2\n3\n4…");

    const char* zone = std::getenv("TZ");
    const std::string savedZone = zone ? zone : "";
    ::setenv("TZ", "Asia/Tokyo", 1);
    ::tzset();
    EXPECT_EQ(captureTime(Date::fromUnixSeconds(1700000000)), "07:13");  // 22:13 UTC
    if (zone) ::setenv("TZ", savedZone.c_str(), 1);
    else ::unsetenv("TZ");
    ::tzset();
}

TEST_F(ClipboardPanelModel, DeletingAPinnedEntryUnpinsFirstAndStopsWhenItStaysPinned)
{
    remember("kept");
    const ClipboardEntry gone = remember("gone");
    store->togglePin(gone);
    deleteEntry(*store, gone);
    EXPECT_FALSE(store->isPinned(gone));
    EXPECT_EQ(historyTexts(), std::vector<std::string>{"kept"});

    // The pins file cannot be written (a file stands where its folder was):
    // the entry stays pinned and in the history.
    const ClipboardEntry stays = store->history().entries.front();
    store->togglePin(stays);
    std::filesystem::remove_all(pinsPath.parent_path());
    fakes::writeBytes(pinsPath.parent_path(), "in the way");
    deleteEntry(*store, stays);
    EXPECT_TRUE(store->isPinned(stays));
    EXPECT_EQ(historyTexts(), std::vector<std::string>{"kept"});
    EXPECT_EQ(store->status(), "固定メモリーを保存できませんでした");

    // An entry only pinned leaves the history as it is.
    ClipboardEntry onlyPinned{"P", "p", Date{}, std::nullopt, std::nullopt};
    deleteEntry(*store, onlyPinned);
    EXPECT_EQ(historyTexts(), std::vector<std::string>{"kept"});
}

TEST_F(ClipboardPanelModel, ClearingEmptiesTheHistoryKeepsThePinsAndSaysSo)
{
    const ClipboardEntry pin = remember("pin");
    remember("other");
    store->togglePin(pin);
    clearHistory(*store);
    EXPECT_TRUE(store->history().entries.empty());
    EXPECT_EQ(store->pinned().size(), 1u);
    EXPECT_EQ(store->status(), "履歴を消去しました");
}

TEST_F(ClipboardPanelModel, ChoosingThirtyOneFilesImportsTheFirstThirtyInOrder)
{
    std::vector<std::filesystem::path> files;
    for (int i = 0; i < 31; ++i) {
        const std::string bytes = "image " + std::to_string(i);
        codec->images[bytes] = ScaledPNGs{"full " + std::to_string(i), "thumb"};
        files.push_back(folder / ("image" + std::to_string(i) + ".png"));
        fakes::writeBytes(files.back(), bytes);
    }
    bool done = false;
    importImages(*store, files, [&] { done = true; });
    for (int step = 0; step < 100 && !done; ++step) finishBackgroundWork();
    ASSERT_TRUE(done);
    ASSERT_EQ(store->history().entries.size(), 30u);
    EXPECT_EQ(store->history().entries.front().imageData->str(), "full 29");
    EXPECT_EQ(store->history().entries.back().imageData->str(), "full 0");
    EXPECT_EQ(codec->calls, 30);
}

}  // namespace
}  // namespace meridavolt
