#include "StoreFixture.h"

#include <sys/stat.h>

namespace meridavolt {
namespace {

constexpr const char* imageRefused = "この画像は保存できません（形式・サイズを確認してください）";
constexpr const char* fileRefused = "画像を読み込めません（上限50MB）";
constexpr const char* noText = "文字が見つかりませんでした";

class ClipboardImages : public StoreFixture {
protected:
    void SetUp() override
    {
        makeStore();
        codec->images["photo"] = ScaledPNGs{"full", "thumb"};
    }
};

// --- prepareImage

TEST_F(ClipboardImages, PrepareAsksForTheDocumentedSizesAndAPixelLimit)
{
    auto images = ClipboardStore::prepareImage(*codec, "photo");
    ASSERT_TRUE(images);
    EXPECT_EQ(images->full, "full");
    EXPECT_EQ(codec->lastFullMaxSide, 4096);
    EXPECT_EQ(codec->lastThumbnailMaxSide, 320);
    EXPECT_GT(codec->lastMaxPixelCount, 0u);
}

TEST_F(ClipboardImages, PrepareRefusesInputOver50MiBWithoutDecoding)
{
    std::string big(52'428'801, 'x');
    codec->images[big] = ScaledPNGs{"full", "thumb"};
    EXPECT_FALSE(ClipboardStore::prepareImage(*codec, big));
    EXPECT_EQ(codec->calls, 0);
    big.pop_back();
    codec->images[big] = ScaledPNGs{"full", "thumb"};
    EXPECT_TRUE(ClipboardStore::prepareImage(*codec, big));
}

TEST_F(ClipboardImages, PrepareRefusesAFullPNGOver12MiBAndEmptyResults)
{
    codec->images["huge"] = ScaledPNGs{std::string(12'582'913, 'p'), "thumb"};
    codec->images["edge"] = ScaledPNGs{std::string(12'582'912, 'p'), "thumb"};
    codec->images["no thumb"] = ScaledPNGs{"full", ""};
    EXPECT_FALSE(ClipboardStore::prepareImage(*codec, "huge"));
    EXPECT_TRUE(ClipboardStore::prepareImage(*codec, "edge"));
    EXPECT_FALSE(ClipboardStore::prepareImage(*codec, "no thumb"));
}

// --- receiveImage

TEST_F(ClipboardImages, ReportsWhileSavingAndStoresOnlyAfterTheBackgroundWork)
{
    bool done = false;
    store->receiveImage(SharedBytes("photo"), std::nullopt, [&] { done = true; });
    EXPECT_EQ(store->status(), "画像を保存中…");
    EXPECT_TRUE(store->history().entries.empty());
    worker->runAll();
    EXPECT_TRUE(store->history().entries.empty());  // the result waits for the main loop
    scheduler.runPending();
    ASSERT_EQ(store->history().entries.size(), 1u);
    EXPECT_EQ(store->history().entries[0].imageData->str(), "full");
    EXPECT_EQ(store->history().entries[0].thumbnailData->str(), "thumb");
    EXPECT_EQ(store->status(), "画像を保存しました");
    EXPECT_TRUE(done);
}

TEST_F(ClipboardImages, BytesThatAreNoImageAreRefused)
{
    store->receiveImage(SharedBytes("plain text, not an image"));
    finishBackgroundWork();
    EXPECT_EQ(store->status(), imageRefused);
    EXPECT_TRUE(store->history().entries.empty());
}

TEST_F(ClipboardImages, AnOversizeThumbnailIsRefusedByTheHistory)
{
    codec->images["wide"] = ScaledPNGs{"full", std::string(524'289, 't')};
    store->receiveImage(SharedBytes("wide"));
    finishBackgroundWork();
    EXPECT_EQ(store->status(), imageRefused);
    EXPECT_TRUE(store->history().entries.empty());
}

TEST_F(ClipboardImages, TheSameScreenshotTwiceKeepsOneEntryWithItsId)
{
    store->receiveImage(SharedBytes("photo"));
    finishBackgroundWork();
    const std::string id = store->history().entries[0].id;
    store->receive("text in between");
    store->receiveImage(SharedBytes("photo"));
    finishBackgroundWork();
    ASSERT_EQ(store->history().entries.size(), 2u);
    EXPECT_EQ(store->history().entries[0].id, id);
}

TEST_F(ClipboardImages, ANewImageIsPlacedInFrontOfTheTargetOrLeftAtTheFront)
{
    store->receive("b");
    store->receive("a");
    const std::string b = store->history().entries[1].id;
    store->receiveImage(SharedBytes("photo"), b);
    finishBackgroundWork();
    EXPECT_EQ(historyTexts(), (std::vector<std::string>{"a", ClipboardEntry::imageText, "b"}));

    codec->images["other"] = ScaledPNGs{"full 2", "thumb 2"};
    store->receiveImage(SharedBytes("other"), std::string("no such id"));
    finishBackgroundWork();
    EXPECT_EQ(store->history().entries[0].imageData->str(), "full 2");
}

TEST_F(ClipboardImages, AResultArrivingAfterTheStoreIsGoneIsDropped)
{
    bool done = false;
    store->receiveImage(SharedBytes("photo"), std::nullopt, [&] { done = true; });
    worker->runAll();
    store.reset();
    scheduler.runPending();
    EXPECT_FALSE(done);
}

// --- importImage

TEST_F(ClipboardImages, ImportReadsARegularFileThenStoresIt)
{
    fakes::writeBytes(folder / "photo.png", "photo");
    bool done = false;
    store->importImage(folder / "photo.png", std::nullopt, [&] { done = true; });
    finishBackgroundWork();
    finishBackgroundWork();
    EXPECT_TRUE(done);
    EXPECT_EQ(store->status(), "画像を保存しました");
    EXPECT_EQ(store->history().entries.size(), 1u);
}

TEST_F(ClipboardImages, ImportRefusesAFileOver50MiBWithoutHandingItOn)
{
    fakes::writeBytes(folder / "big.png", std::string(52'428'801, 'x'));
    store->importImage(folder / "big.png");
    finishBackgroundWork();
    EXPECT_EQ(store->status(), fileRefused);
    EXPECT_EQ(codec->calls, 0);
}

TEST_F(ClipboardImages, ImportRefusesWhatIsNotARegularFile)
{
    std::filesystem::create_directories(folder / "a folder.png");
    ASSERT_EQ(::mkfifo((folder / "pipe.png").c_str(), 0600), 0);
    for (const char* name : {"a folder.png", "pipe.png", "missing.png"}) {
        bool done = false;
        store->setStatus(std::nullopt);
        store->importImage(folder / name, std::nullopt, [&] { done = true; });
        finishBackgroundWork();
        EXPECT_EQ(store->status(), fileRefused) << name;
        EXPECT_TRUE(done) << name;
    }
    EXPECT_EQ(codec->calls, 0);
}

TEST_F(ClipboardImages, ImportRefusesADeviceThatNeverEnds)
{
    // /dev/zero never ends: reading it whole would never come back.
    store->importImage("/dev/zero");
    finishBackgroundWork();
    EXPECT_EQ(store->status(), fileRefused);
}

// --- recognizeText

class TextRecognition : public ClipboardImages {
protected:
    ClipboardEntry imageEntry() { return {"IMG", ClipboardEntry::imageText, Date{1}, SharedBytes("png"), SharedBytes("t")}; }
};

TEST_F(TextRecognition, StoresTheLinesAsOneTextEntry)
{
    recognizer->result = RecognizedText{"日本語の行\nEnglish line", std::nullopt};
    store->recognizeText(imageEntry());
    EXPECT_TRUE(store->recognizing());
    finishBackgroundWork();
    EXPECT_FALSE(store->recognizing());
    EXPECT_EQ(historyTexts(), std::vector<std::string>{"日本語の行\nEnglish line"});
    EXPECT_EQ(store->status(), "文字を取り出しました。履歴からコピーできます");
    EXPECT_EQ(recognizer->lastImage, "png");
}

TEST_F(TextRecognition, OnlyOneRecognitionRunsAtATime)
{
    recognizer->result = RecognizedText{"text", std::nullopt};
    store->recognizeText(imageEntry());
    store->recognizeText(imageEntry());
    EXPECT_EQ(worker->queue.size(), 1u);
    finishBackgroundWork();
    EXPECT_EQ(recognizer->calls, 1);
    store->recognizeText(imageEntry());
    finishBackgroundWork();
    EXPECT_EQ(recognizer->calls, 2);
}

TEST_F(TextRecognition, TextEntriesAreNotRecognised)
{
    store->recognizeText(ClipboardEntry{"T", "text", Date{1}, std::nullopt, std::nullopt});
    EXPECT_FALSE(store->recognizing());
    EXPECT_TRUE(worker->queue.empty());
}

TEST_F(TextRecognition, NoTextAndEmptyTextSayNothingWasFound)
{
    recognizer->result = RecognizedText{std::nullopt, std::nullopt};
    store->recognizeText(imageEntry());
    finishBackgroundWork();
    EXPECT_EQ(store->status(), noText);
    recognizer->result = RecognizedText{"", std::nullopt};
    store->recognizeText(imageEntry());
    finishBackgroundWork();
    EXPECT_EQ(store->status(), noText);
    EXPECT_TRUE(store->history().entries.empty());
}

TEST_F(TextRecognition, BlanksAloneAreNotReportedAsExtracted)
{
    recognizer->result = RecognizedText{" \n\u3000 ", std::nullopt};
    store->recognizeText(imageEntry());
    finishBackgroundWork();
    EXPECT_EQ(store->status(), noText);
    EXPECT_TRUE(store->history().entries.empty());
}

TEST_F(TextRecognition, OversizeTextKeepsTheRefusalOfReceive)
{
    recognizer->result = RecognizedText{std::string(100'001, 'a'), std::nullopt};
    store->recognizeText(imageEntry());
    finishBackgroundWork();
    EXPECT_EQ(store->status(), "空の内容・100KBを超えるテキストは保存できません");
    EXPECT_TRUE(store->history().entries.empty());
}

TEST_F(TextRecognition, AFailureIsReportedWithItsDescription)
{
    recognizer->result = RecognizedText{std::nullopt, std::string("読み込めません")};
    store->recognizeText(imageEntry());
    finishBackgroundWork();
    EXPECT_EQ(store->status(), "文字を読み取れませんでした：読み込めません");
    EXPECT_FALSE(store->recognizing());
}

}  // namespace
}  // namespace meridavolt
