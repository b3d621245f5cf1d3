#include "StoreFixture.h"

namespace meridavolt {
namespace {

using Content = fakes::FakePasteboard::Content;

class ClipboardStorePolling : public StoreFixture {};

TEST_F(ClipboardStorePolling, WhatWasCopiedBeforeStartIsNotCapturedButTheNextCopyIs)
{
    pasteboard->offerString("before start");
    makeStore();
    tick();
    tick();
    EXPECT_TRUE(store->history().entries.empty());
    EXPECT_FALSE(store->status());

    pasteboard->offerString("after start");
    tick();
    EXPECT_EQ(historyTexts(), std::vector<std::string>{"after start"});
    EXPECT_EQ(store->status(), "保存しました");
}

TEST_F(ClipboardStorePolling, ReadsTheContentOncePerChangeAndNotBeforeTheInterval)
{
    makeStore();
    pasteboard->offerString("once");
    scheduler.advance(ClipboardStore::pollInterval - std::chrono::milliseconds(1));
    EXPECT_TRUE(store->history().entries.empty());
    scheduler.advance(std::chrono::milliseconds(1));
    EXPECT_EQ(historyTexts(), std::vector<std::string>{"once"});
    const int reads = pasteboard->contentReads;
    tick();
    tick();
    EXPECT_EQ(pasteboard->contentReads, reads);
}

TEST_F(ClipboardStorePolling, OurOwnCopyIsNotCapturedBack)
{
    makeStore();
    pasteboard->offerString("from elsewhere");
    tick();
    store->copy(store->history().entries.front());
    EXPECT_EQ(pasteboard->content.string, "from elsewhere");
    EXPECT_EQ(pasteboard->writes, 1);
    EXPECT_EQ(store->status(), "コピーしました");
    const int reads = pasteboard->contentReads;
    tick();
    EXPECT_EQ(pasteboard->contentReads, reads);
    EXPECT_EQ(store->status(), "コピーしました");
}

TEST_F(ClipboardStorePolling, OurOwnCopyWhileAnotherProgramsCopyIsStillBeingReadIsNotCaptured)
{
    makeStore();
    pasteboard->slowOwner = true;
    std::vector<std::optional<std::string>> statuses;
    auto watch = store->statusChanged.connect([&] { statuses.push_back(store->status()); });
    pasteboard->offerString("theirs");
    tick();
    ASSERT_EQ(pasteboard->waiting.size(), 1u);

    store->copy(ClipboardEntry{"O", "ours", Date{1}, std::nullopt, std::nullopt});
    pasteboard->answerFetches();
    tick();
    EXPECT_TRUE(store->history().entries.empty());
    EXPECT_EQ(statuses, std::vector<std::optional<std::string>>{"コピーしました"});

    // Nothing is left waiting: the next copy made elsewhere is stored.
    pasteboard->offerString("next");
    tick();
    pasteboard->answerFetches();
    EXPECT_EQ(historyTexts(), std::vector<std::string>{"next"});
}

TEST_F(ClipboardStorePolling, CopyWritesImagesAsPNGAndLinksAsPlainText)
{
    makeStore();
    ClipboardEntry link{"A", "https://example.com", Date{1}, std::nullopt, std::nullopt};
    store->copy(link);
    EXPECT_EQ(pasteboard->content.string, "https://example.com");
    EXPECT_FALSE(pasteboard->content.url);

    ClipboardEntry image{"B", ClipboardEntry::imageText, Date{1}, SharedBytes("png bytes"), SharedBytes("thumb")};
    store->copy(image);
    ASSERT_TRUE(pasteboard->content.png);
    EXPECT_EQ(pasteboard->content.png->str(), "png bytes");
    EXPECT_FALSE(pasteboard->content.string);
}

TEST_F(ClipboardStorePolling, CopiesMadeWhileAutomaticWasOffAreNotCapturedWhenSwitchedOn)
{
    makeStore();
    store->setAutomatic(false);
    EXPECT_EQ(settings.boolValue(ClipboardStore::automaticKey), false);
    EXPECT_EQ(scheduler.pendingCount(), 0u);

    pasteboard->offerString("backlog");
    pasteboard->changed.emit();
    tick();
    store->setAutomatic(true);
    tick();
    EXPECT_TRUE(store->history().entries.empty());
    EXPECT_EQ(pasteboard->fetches, 0) << "the clipboard was read while capture was off";

    // The capture button still takes it.
    store->capture();
    EXPECT_EQ(historyTexts(), std::vector<std::string>{"backlog"});
}

TEST_F(ClipboardStorePolling, AChangeTheClipboardReportsIsCapturedAtOnceWithoutWaitingForATick)
{
    makeStore();
    pasteboard->offerString("at once");
    pasteboard->changed.emit();
    EXPECT_EQ(historyTexts(), std::vector<std::string>{"at once"});
    tick();
    EXPECT_EQ(pasteboard->fetches, 1);

    // Not when the store was made without monitoring.
    makeStore(false);
    pasteboard->offerString("unwatched");
    pasteboard->changed.emit();
    EXPECT_TRUE(store->history().entries.empty());
}

TEST_F(ClipboardStorePolling, TheAutomaticSettingIsReadBackAndDefaultsToOn)
{
    settings.setText(ClipboardStore::automaticKey, "no");  // not a Boolean
    makeStore();
    EXPECT_TRUE(store->automatic());

    store->setAutomatic(false);
    makeStore();
    EXPECT_FALSE(store->automatic());
    pasteboard->offerString("ignored");
    tick();
    EXPECT_TRUE(store->history().entries.empty());
}

TEST_F(ClipboardStorePolling, WithoutMonitorNothingPollsUntilAutomaticIsWritten)
{
    makeStore(false);
    pasteboard->offerString("unwatched");
    tick();
    EXPECT_TRUE(store->history().entries.empty());
    store->setAutomatic(true);
    pasteboard->offerString("watched");
    tick();
    EXPECT_EQ(historyTexts(), std::vector<std::string>{"watched"});
}

TEST_F(ClipboardStorePolling, TheStoreGoingAwayStopsThePoll)
{
    makeStore();
    store.reset();
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

class ClipboardStoreCapture : public StoreFixture {
protected:
    void SetUp() override { makeStore(); }
};

TEST_F(ClipboardStoreCapture, EveryPrivateMarkerSkipsTheCopyWithoutReadingIt)
{
    for (auto marker : ClipboardStore::privateTypes) {
        pasteboard->offerString("secret", {std::string(marker)});
        const int reads = pasteboard->contentReads;
        tick();
        EXPECT_EQ(store->status(), "保存対象外のコピーです") << marker;
        EXPECT_EQ(pasteboard->contentReads, reads) << marker;
    }
    EXPECT_TRUE(store->history().entries.empty());
}

TEST_F(ClipboardStoreCapture, ImageDataWinsOverTextAndPNGOverTIFF)
{
    codec->images["png"] = ScaledPNGs{"full-png", "thumb-png"};
    codec->images["tiff"] = ScaledPNGs{"full-tiff", "thumb-tiff"};
    pasteboard->offer(Content{{"image/png", "image/tiff", "text/plain"}, SharedBytes("png"), SharedBytes("tiff"),
                              "caption", std::nullopt});
    tick();
    ASSERT_EQ(store->history().entries.size(), 1u);
    EXPECT_EQ(store->history().entries[0].imageData->str(), "full-png");

    pasteboard->offer(Content{{"image/tiff", "text/plain"}, std::nullopt, SharedBytes("tiff"), "caption", {}});
    tick();
    ASSERT_EQ(store->history().entries.size(), 2u);
    EXPECT_EQ(store->history().entries[0].imageData->str(), "full-tiff");
    EXPECT_EQ(store->status(), "画像を保存しました");
}

TEST_F(ClipboardStoreCapture, ALinkAloneIsStoredAsText)
{
    pasteboard->offer(Content{{"text/uri-list"}, {}, {}, {}, "https://example.com/page"});
    tick();
    EXPECT_EQ(historyTexts(), std::vector<std::string>{"https://example.com/page"});
}

TEST_F(ClipboardStoreCapture, NothingUsableAndRefusedTextsReportWhy)
{
    pasteboard->offer(Content{{"application/x-unknown"}, {}, {}, {}, {}});
    tick();
    EXPECT_EQ(store->status(), "画像・テキスト・URLをコピーしてください");

    pasteboard->offerString("   \n");
    tick();
    EXPECT_EQ(store->status(), "空の内容・100KBを超えるテキストは保存できません");
    pasteboard->offerString(std::string(100'001, 'x'));
    tick();
    EXPECT_EQ(store->status(), "空の内容・100KBを超えるテキストは保存できません");
    EXPECT_TRUE(store->history().entries.empty());
}

TEST_F(ClipboardStoreCapture, ObserversHearOfHistoryAndStatusChanges)
{
    int historyChanges = 0;
    int statusChanges = 0;
    auto historyConnection = store->historyChanged.connect([&] { ++historyChanges; });
    auto statusConnection = store->statusChanged.connect([&] { ++statusChanges; });
    store->receive("observed");
    EXPECT_EQ(historyChanges, 1);
    EXPECT_EQ(statusChanges, 1);
    store->receive("");
    EXPECT_EQ(historyChanges, 1);
    EXPECT_EQ(statusChanges, 2);
    store->updateHistory([](ClipboardHistory& history) { history.clear(); });
    EXPECT_EQ(historyChanges, 2);
    EXPECT_TRUE(store->history().entries.empty());
}

class ClipboardStoreMatching : public StoreFixture {
protected:
    void SetUp() override { makeStore(); }
};

TEST_F(ClipboardStoreMatching, PinsComeFirstAndAnEntryBothPinnedAndInTheHistoryIsListedOnce)
{
    store->receive("alpha");
    store->receive("beta");
    store->togglePin(store->history().entries[1]);  // alpha
    auto all = store->matching("");
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].text, "alpha");
    EXPECT_EQ(all[1].text, "beta");
    EXPECT_TRUE(store->isPinned(all[0]));
    EXPECT_FALSE(store->isPinned(all[1]));
}

TEST_F(ClipboardStoreMatching, TheQueryIsNotTrimmedAndCaseIsIgnored)
{
    store->receive("prefix x");
    store->receive("xylophone");
    store->receive("MIXED Case");
    auto spaced = store->matching(" x");
    ASSERT_EQ(spaced.size(), 1u);
    EXPECT_EQ(spaced[0].text, "prefix x");
    auto folded = store->matching("mixed c");
    ASSERT_EQ(folded.size(), 1u);
    EXPECT_EQ(folded[0].text, "MIXED Case");
    EXPECT_EQ(store->matching(" ").size(), 2u);
}

// Folded texts are kept between searches; they must follow the entries.
TEST_F(ClipboardStoreMatching, KeptFoldsFollowEntriesThatChangeOrGo)
{
    store->receive("Alpha");
    ASSERT_EQ(store->matching("alp").size(), 1u);
    store->updateHistory([](ClipboardHistory& history) { history.clear(); });
    store->receive("Beta");
    EXPECT_TRUE(store->matching("alp").empty());
    EXPECT_EQ(store->matching("BET").size(), 1u);

    SearchFolds folds;
    ClipboardEntry entry = store->history().entries.front();
    EXPECT_EQ(folds.folded(entry), "beta");
    entry.text = "Gamma";
    EXPECT_EQ(folds.folded(entry), "gamma") << "same id, new text";
    folds.keepOnly({});
    EXPECT_EQ(folds.folded(entry), "gamma");
}

}  // namespace
}  // namespace meridavolt
