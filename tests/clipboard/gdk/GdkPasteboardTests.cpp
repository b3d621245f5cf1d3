// gtest first: Xlib defines None and Bool as macros.
#include <gtest/gtest.h>

#include "ClipboardProcess.h"
#include "TestImages.h"
#include "X11ClipboardOwner.h"
#include "clipboard/ClipboardStore.h"
#include "fakes/FakeTextRecognizer.h"
#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"
#include "clipboard/gdk/GdkPasteboard.h"
#include "clipboard/gdk/GdkPixbufImageCodec.h"
#include "platform/glib/MainLoopScheduler.h"
#include "support/MainLoopWait.h"

#include <gdk/x11/gdkx.h>
#include <gtk/gtk.h>

#include <algorithm>

namespace meridavolt {
namespace {

using testing::pasteWithXclip;
using testing::waitUntil;
using testing::X11ClipboardOwner;
using testing::XclipCopy;

// A capture takes one poll plus the fetch: well inside this on an idle machine.
constexpr auto captureWait = std::chrono::seconds(5);

class GdkPasteboardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gtk_init(); }

    void SetUp() override
    {
        // Each test starts from a clipboard that nobody owns.
        clearClipboard();
        pasteboard = std::make_shared<GdkPasteboard>(gdk_display_get_default());
    }

    void TearDown() override
    {
        store.reset();
        pasteboard.reset();
    }

    static void clearClipboard()
    {
        Display* display = gdk_x11_display_get_xdisplay(gdk_display_get_default());
        XSetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False), None, CurrentTime);
        XSync(display, False);
        testing::runMainLoopFor(std::chrono::milliseconds(50));
    }

    ClipboardStore& makeStore()
    {
        store = std::make_unique<ClipboardStore>(
            ClipboardServices{pasteboard, MainLoopScheduler::shared(), settings, SystemClock::shared(),
                              std::make_shared<GdkPixbufImageCodec>(), std::make_shared<fakes::FakeTextRecognizer>(),
                              std::make_shared<ThreadWorker>()},
            folder / "pinned-memory.json", true);
        return *store;
    }

    std::filesystem::path file(const std::string& name, const std::string& bytes)
    {
        fakes::writeBytes(folder / name, bytes);
        return folder / name;
    }

    bool historyHas(const std::string& text) const
    {
        for (const auto& entry : store->history().entries) {
            if (entry.text == text) return true;
        }
        return false;
    }


    fakes::TemporaryFolder folder;
    fakes::MemorySettings settings;
    std::shared_ptr<GdkPasteboard> pasteboard;
    std::unique_ptr<ClipboardStore> store;
};

TEST_F(GdkPasteboardTest, ATextCopiedByAnotherClientIsCaptured)
{
    makeStore();
    XclipCopy copy(file("text", "こんにちは clipboard"), "UTF8_STRING");
    ASSERT_TRUE(waitUntil([&] { return historyHas("こんにちは clipboard"); }, captureWait));
    EXPECT_EQ(store->status(), "保存しました");
}

TEST_F(GdkPasteboardTest, WhatWasCopiedBeforeStartIsNotCapturedButTheCaptureButtonTakesIt)
{
    const auto count = pasteboard->changeCount();
    XclipCopy copy(file("text", "before start"), "UTF8_STRING");
    // Let xclip take the clipboard before the store comes.
    ASSERT_TRUE(waitUntil([&] { return pasteboard->changeCount() != count; }, captureWait));
    pasteboard = std::make_shared<GdkPasteboard>(gdk_display_get_default());
    makeStore();
    testing::runMainLoopFor(std::chrono::milliseconds(1500));
    EXPECT_TRUE(store->history().entries.empty());

    store->capture();
    EXPECT_TRUE(waitUntil([&] { return historyHas("before start"); }, captureWait));
}

TEST_F(GdkPasteboardTest, ACopyMarkedByAPasswordManagerIsSkippedWithoutReadingIt)
{
    makeStore();
    for (const char* marker : {"x-kde-passwordManagerHint", "org.nspasteboard.ConcealedType"}) {
        const auto count = pasteboard->changeCount();
        X11ClipboardOwner owner(X11ClipboardOwner::Targets{{"UTF8_STRING", "hunter2"}, {marker, "secret"}});
        ASSERT_TRUE(waitUntil([&] { return pasteboard->changeCount() != count; }, captureWait)) << marker;
        ASSERT_TRUE(waitUntil([&] { return store->status() == std::optional<std::string>("保存対象外のコピーです"); },
                              captureWait))
            << marker;
        EXPECT_TRUE(store->history().entries.empty()) << marker;
        // Only the targets are asked for, never the content.
        for (const auto& target : owner.requested()) EXPECT_EQ(target, "TARGETS") << marker;
        store->setStatus(std::nullopt);
    }
}

// With automatic capture off the owner of a copy is asked for nothing; the
// capture button reads it once; switching capture back on does not take it.
// (GDK's own clipboard asks every new owner for its targets, from its own
// window, to keep pasting into the application's text fields working.)
TEST_F(GdkPasteboardTest, WithAutomaticCaptureOffNothingIsAskedUntilTheCaptureButton)
{
    const unsigned long gdkWindow = gdk_x11_surface_get_xid(gdk_x11_display_get_default_group(gdk_display_get_default()));
    settings.setBool(ClipboardStore::automaticKey, false);
    makeStore();
    const auto count = pasteboard->changeCount();
    X11ClipboardOwner owner(X11ClipboardOwner::Targets{{"UTF8_STRING", "copied while off"}});
    ASSERT_TRUE(waitUntil([&] { return pasteboard->changeCount() != count; }, captureWait));
    testing::runMainLoopFor(std::chrono::milliseconds(1500));
    EXPECT_EQ(owner.requestedByOthersThan(gdkWindow), std::vector<std::string>{});

    store->setAutomatic(true);
    testing::runMainLoopFor(std::chrono::milliseconds(1500));
    EXPECT_EQ(owner.requestedByOthersThan(gdkWindow), std::vector<std::string>{});
    EXPECT_TRUE(store->history().entries.empty());

    store->capture();
    ASSERT_TRUE(waitUntil([&] { return historyHas("copied while off"); }, captureWait));
    EXPECT_EQ(owner.requestedByOthersThan(gdkWindow), (std::vector<std::string>{"TARGETS", "UTF8_STRING"}));
    EXPECT_EQ(store->history().entries.size(), 1u);
}

TEST_F(GdkPasteboardTest, AnImageCopiedAsPNGIsCapturedWithItsThumbnail)
{
    makeStore();
    XclipCopy copy(file("image.png", testing::twoColourImage(800, 400, "png")), "image/png");
    ASSERT_TRUE(waitUntil([&] { return !store->history().entries.empty(); }, captureWait));
    const ClipboardEntry& entry = store->history().entries.front();
    ASSERT_TRUE(entry.isImage());
    EXPECT_EQ(testing::decodeImage(entry.imageData->str()).width, 800);
    EXPECT_EQ(testing::decodeImage(entry.thumbnailData->str()).width, 320);
    EXPECT_EQ(store->status(), "画像を保存しました");
}

TEST_F(GdkPasteboardTest, CopyPutsTextAndImagesOnTheClipboardForOtherClientsAndIsNotCapturedBack)
{
    makeStore();
    store->copy(ClipboardEntry{"T", "テキスト to paste", Date{1}, std::nullopt, std::nullopt});
    EXPECT_EQ(pasteWithXclip("UTF8_STRING"), "テキスト to paste");

    const std::string png = testing::twoColourImage(40, 20, "png");
    store->copy(ClipboardEntry{"I", ClipboardEntry::imageText, Date{1}, SharedBytes(png), SharedBytes(png)});
    EXPECT_EQ(pasteWithXclip("image/png"), png);

    testing::runMainLoopFor(std::chrono::milliseconds(1500));
    EXPECT_TRUE(store->history().entries.empty());
    EXPECT_EQ(store->status(), "コピーしました");
}

TEST_F(GdkPasteboardTest, OurOwnCopyWhileASlowOwnerIsBeingReadEndsTheReadAndIsNotCapturedBack)
{
    makeStore();
    X11ClipboardOwner owner(X11ClipboardOwner::Targets{{"UTF8_STRING", X11ClipboardOwner::silentTarget}});
    auto askedForText = [&] {
        const auto asked = owner.requested();
        return std::find(asked.begin(), asked.end(), "UTF8_STRING") != asked.end();
    };
    ASSERT_TRUE(waitUntil(askedForText, captureWait));
    ASSERT_TRUE(pasteboard->fetching());

    store->copy(ClipboardEntry{"O", "ours", Date{1}, std::nullopt, std::nullopt});
    EXPECT_FALSE(pasteboard->fetching()) << "the read went on, now for our own copy";
    ASSERT_TRUE(waitUntil([&] { return !pasteboard->fetching(); }, captureWait));
    EXPECT_TRUE(store->history().entries.empty());
    EXPECT_EQ(store->status(), "コピーしました");

    XclipCopy next(file("text", "next"), "UTF8_STRING");
    ASSERT_TRUE(waitUntil([&] { return historyHas("next"); }, captureWait));
    EXPECT_FALSE(historyHas("ours"));
}

// The notice of xclip's claim is still unread when we copy: the main loop is
// busy meanwhile, as the application's can be.
TEST_F(GdkPasteboardTest, OurCopyMadeBeforeALateNoticeOfAnotherClientsCopyIsNotCapturedBack)
{
    makeStore();
    Display* display = gdk_x11_display_get_xdisplay(gdk_display_get_default());
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    XclipCopy copy(file("text", "theirs"), "UTF8_STRING");
    for (int wait = 0; wait < 500 && XGetSelectionOwner(display, clipboard) == 0; ++wait) g_usleep(10'000);
    ASSERT_NE(XGetSelectionOwner(display, clipboard), 0u);

    store->copy(ClipboardEntry{"O", "ours", Date{1}, std::nullopt, std::nullopt});
    testing::runMainLoopFor(std::chrono::milliseconds(1500));
    EXPECT_TRUE(store->history().entries.empty());
    EXPECT_EQ(store->status(), "コピーしました");
}

TEST_F(GdkPasteboardTest, ACopyFromAnotherPartOfTheApplicationIsCaptured)
{
    // Web pages and text fields inside the application copy through GDK too.
    makeStore();
    gdk_clipboard_set_text(gdk_display_get_clipboard(gdk_display_get_default()), "from a web page");
    ASSERT_TRUE(waitUntil([&] { return historyHas("from a web page"); }, captureWait));
}

TEST_F(GdkPasteboardTest, AnotherClientTakingTheClipboardFromUsIsCaptured)
{
    makeStore();
    store->copy(ClipboardEntry{"T", "ours", Date{1}, std::nullopt, std::nullopt});
    XclipCopy copy(file("text", "theirs"), "UTF8_STRING");
    ASSERT_TRUE(waitUntil([&] { return historyHas("theirs"); }, captureWait));
    EXPECT_FALSE(historyHas("ours"));
}

TEST_F(GdkPasteboardTest, AnOwnerThatNeverAnswersIsGivenUpAndTheNextKindIsRead)
{
    makeStore();
    X11ClipboardOwner owner(X11ClipboardOwner::Targets{{"image/png", X11ClipboardOwner::silentTarget}, {"UTF8_STRING", "fallback text"}});
    ASSERT_TRUE(waitUntil([&] { return historyHas("fallback text"); }, GdkPasteboard::readTimeout + captureWait));
}

TEST_F(GdkPasteboardTest, OversizeTextIsReadOnlyUpToTheLimitAndRefused)
{
    makeStore();
    XclipCopy copy(file("big", std::string(300'000, 'x')), "UTF8_STRING");
    ASSERT_TRUE(waitUntil(
        [&] { return store->status() == std::optional<std::string>("空の内容・100KBを超えるテキストは保存できません"); },
        captureWait));
    EXPECT_TRUE(store->history().entries.empty());
}

TEST_F(GdkPasteboardTest, ALinkOfferedOnlyAsAURIListIsCaptured)
{
    makeStore();
    X11ClipboardOwner owner(X11ClipboardOwner::Targets{{"text/uri-list", "# comment\r\nhttps://example.com/page\r\nhttps://example.com/2\r\n"}});
    ASSERT_TRUE(waitUntil([&] { return historyHas("https://example.com/page"); }, captureWait));
}

TEST_F(GdkPasteboardTest, Latin1TextIsConverted)
{
    makeStore();
    X11ClipboardOwner owner(X11ClipboardOwner::Targets{{"STRING", "caf\xe9"}});
    ASSERT_TRUE(waitUntil([&] { return historyHas("caf\u00e9"); }, captureWait));
}

}  // namespace
}  // namespace meridavolt
