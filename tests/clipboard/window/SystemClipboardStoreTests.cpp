#include <gtest/gtest.h>

#include "clipboard/view/SystemClipboardStore.h"
#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"
#include "platform/gdk/ClipboardProcess.h"
#include "platform/tesseract/RenderedText.h"
#include "support/MainLoopWait.h"

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

}  // namespace
}  // namespace meridavolt
