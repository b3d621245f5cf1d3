#include <gtest/gtest.h>

#include "clipboard/view/SystemClipboardStore.h"
#include "clipboard/window/HelperProgram.h"
#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"
#include "clipboard/gdk/ClipboardProcess.h"
#include "clipboard/tesseract/RenderedText.h"
#include "support/MainLoopWait.h"
#include "support/ResidentMemory.h"

#include <gtk/gtk.h>

namespace meridavolt {
namespace {

using testing::waitUntil;

// The store as the application makes it, end to end: a screenshot copied by
// another program is captured, its text recognised and stored, and the text
// copied back out for other programs.
class SystemClipboardStore : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gtk_init(); }

    fakes::TemporaryFolder folder;
    fakes::MemorySettings settings;
};

TEST_F(SystemClipboardStore, ACopiedScreenshotIsCapturedRecognisedAndItsTextPastedElsewhere)
{
    auto store = makeSystemClipboardStore(settings, folder / "pinned-memory.json");
    fakes::writeBytes(folder / "shot.png", testing::renderedTextPNG("会議は午後三時から\nMeeting at 3 PM", 28, 700, 160));
    testing::XclipCopy copy(folder / "shot.png", "image/png");

    ASSERT_TRUE(waitUntil([&] { return !store->history().entries.empty(); }, std::chrono::seconds(10)));
    const ClipboardEntry screenshot = store->history().entries.front();
    ASSERT_TRUE(screenshot.isImage());

    store->recognizeText(screenshot);
    EXPECT_TRUE(store->recognizing());
    ASSERT_TRUE(waitUntil([&] { return !store->recognizing(); }, std::chrono::seconds(30)));
    EXPECT_EQ(store->status(), "文字を取り出しました。履歴からコピーできます");
    ASSERT_EQ(store->history().entries.size(), 2u);
    const ClipboardEntry text = store->history().entries.front();
    EXPECT_NE(text.text.find("会議"), std::string::npos) << text.text;
    EXPECT_NE(text.text.find("Meeting at 3 PM"), std::string::npos) << text.text;

    store->copy(text);
    EXPECT_EQ(testing::pasteWithXclip("UTF8_STRING"), text.text);
}

TEST_F(SystemClipboardStore, AnImageFileIsImportedThroughTheWorkerAndStored)
{
    auto store = makeSystemClipboardStore(settings, folder / "pinned-memory.json", false);
    fakes::writeBytes(folder / "text.png", testing::renderedTextPNG("x", 20, 300, 100));
    bool done = false;
    store->importImage(folder / "text.png", std::nullopt, [&] { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done; }, std::chrono::seconds(10)));
    EXPECT_EQ(store->status(), "画像を保存しました");
    ASSERT_EQ(store->history().entries.size(), 1u);
}

// Another program whose copy streams without end: the capture reads up to
// its limit or its time and stops the transfer there, so the memory stays
// near where it was and is given back afterwards.
TEST_F(SystemClipboardStore, AnEndlessCopyIsCutOffAndItsMemoryGivenBack)
{
    using namespace std::chrono_literals;
    auto store = makeSystemClipboardStore(settings, folder / "pinned-memory.json");
    const double before = testing::residentMiB();
    double peak = before;
    const std::vector<std::pair<std::string, std::string>> refusals{
        {"text/plain;charset=utf-8", "空の内容・100KBを超えるテキストは保存できません"},
        {"image/png", "この画像は保存できません（形式・サイズを確認してください）"}};
    for (const auto& [type, refusal] : refusals) {
        store->setStatus(std::nullopt);
        DragHelper endless({"copy-endless", type});
        ASSERT_TRUE(waitUntil([&] { return store->status().has_value(); }, 10s)) << type;
        peak = std::max(peak, testing::peakResidentMiBFor(3s));
        // Cut at the limit: refused; cut at the time limit: nothing usable came.
        EXPECT_TRUE(store->status() == refusal || store->status() == "画像・テキスト・URLをコピーしてください")
            << type << ": " << store->status().value_or("");
    }
    EXPECT_TRUE(store->history().entries.empty());
    EXPECT_LT(peak - before, 64) << before << " MiB before, " << peak << " MiB at most";
    testing::runMainLoopFor(5s);
    const double after = testing::residentMiB();
    testing::printResidentFigures("endless copies", before, peak, after);
    EXPECT_LT(after - before, 64) << "the memory was not given back";
}

}  // namespace
}  // namespace meridavolt
