#include "AppModelHarness.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

using testing::AppModelHarness;
using namespace std::chrono_literals;

constexpr const char* copiedOnly = "コピーしました。入力欄で貼り付けてください";

ClipboardEntry textEntry(const std::string& text)
{
    return ClipboardEntry{"6A1B5C3D-0000-4000-8000-000000000001", text, Date{1}, std::nullopt, std::nullopt};
}

class ClipboardBridge : public ::testing::Test {
protected:
    ClipboardBridge() : model(harness.start()) {}

    // The page scripts the state ran in a service's page: the probe has no
    // arguments, the paste carries the text.
    std::vector<std::size_t> scripts(const std::string& id, bool paste) const
    {
        std::vector<std::size_t> found;
        const auto& all = harness.engine(id).scripts;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i].arguments.count("text") == static_cast<std::size_t>(paste)) found.push_back(i);
        }
        return found;
    }
    void answerProbe(const std::string& id, bool editable)
    {
        harness.engine(id).finishScript(scripts(id, false).back(), editable);
    }
    // Opens the panel over a page whose text field has the focus.
    void openOverField(const std::string& id)
    {
        harness.activate(id);
        model.openClipboard();
        answerProbe(id, true);
        ASSERT_TRUE(model.canPasteClipboard());
    }

    AppModelHarness harness;
    AppModel& model;
};

TEST_F(ClipboardBridge, WithNothingSelectedThePanelOpensAndATextIsOnlyCopied)
{
    model.openClipboard();
    EXPECT_TRUE(model.showingClipboard());
    EXPECT_TRUE(model.sessions().empty());
    EXPECT_FALSE(model.pasteServiceID());
    EXPECT_FALSE(model.startupSelection().pending);

    model.pasteClipboardEntry(textEntry("hello"));
    EXPECT_EQ(harness.pasteboard->content.string, "hello");
    EXPECT_EQ(model.clipboard().status(), copiedOnly);
    EXPECT_TRUE(model.showingClipboard());
}

TEST_F(ClipboardBridge, ATextGoesIntoTheRememberedField160MillisecondsAfterThePanelCloses)
{
    openOverField("a");
    model.pasteClipboardEntry(textEntry("こんにちは"));
    EXPECT_EQ(harness.pasteboard->content.string, "こんにちは");
    EXPECT_FALSE(model.showingClipboard());
    EXPECT_FALSE(model.canPasteClipboard());

    harness.scheduler.advance(159ms);
    EXPECT_TRUE(scripts("a", true).empty());
    harness.scheduler.advance(1ms);
    auto pastes = scripts("a", true);
    ASSERT_EQ(pastes.size(), 1u);
    EXPECT_EQ(harness.engine("a").scripts[pastes[0]].arguments.at("text"), "こんにちは");

    harness.engine("a").finishScript(pastes[0], true);
    EXPECT_EQ(model.clipboard().status(), "貼り付けました");
    EXPECT_FALSE(model.error());
}

TEST_F(ClipboardBridge, TheFocusedPaneIsTheTarget)
{
    harness.activate("a");
    model.openBeside(harness.service("b"), false);
    model.openClipboard();
    EXPECT_EQ(model.pasteServiceID(), "b");
    EXPECT_EQ(scripts("b", false).size(), 1u);
    EXPECT_TRUE(scripts("a", false).empty());
}

TEST_F(ClipboardBridge, AnImageIsAlwaysOnlyCopied)
{
    openOverField("a");
    ClipboardEntry image = textEntry(ClipboardEntry::imageText);
    image.imageData = SharedBytes(std::string("\x89PNG", 4));
    model.pasteClipboardEntry(image);
    EXPECT_EQ(model.clipboard().status(), "画像をコピーしました。画像対応の入力欄で貼り付けてください");
    EXPECT_TRUE(model.canPasteClipboard());
    EXPECT_TRUE(model.showingClipboard());
    harness.scheduler.advance(1s);
    EXPECT_TRUE(scripts("a", true).empty());
    EXPECT_EQ(harness.pasteboard->writes, 1);
}

TEST_F(ClipboardBridge, AnAnswerAfterThePanelClosedIsIgnored)
{
    harness.activate("a");
    model.openClipboard();
    model.setShowingClipboard(false);
    answerProbe("a", true);
    EXPECT_FALSE(model.canPasteClipboard());
}

TEST_F(ClipboardBridge, AnAnswerForAnEarlierOpeningIsIgnored)
{
    harness.activate("a");
    model.openClipboard();
    const std::size_t firstProbe = scripts("a", false).back();
    harness.activate("b");
    model.openClipboard();
    harness.engine("a").finishScript(firstProbe, true);
    EXPECT_FALSE(model.canPasteClipboard());
    answerProbe("b", true);
    EXPECT_TRUE(model.canPasteClipboard());
}

TEST_F(ClipboardBridge, AnAnswerAfterTheFocusMovedIsIgnored)
{
    harness.activate("a");
    model.openClipboard();
    model.setFocusedPaneID(std::string("b"));
    answerProbe("a", true);
    EXPECT_FALSE(model.canPasteClipboard());
}

TEST_F(ClipboardBridge, SwitchingServiceBeforeThePasteOnlyCopies)
{
    openOverField("a");
    harness.activate("b");
    model.pasteClipboardEntry(textEntry("x"));
    EXPECT_EQ(model.clipboard().status(), copiedOnly);
    EXPECT_TRUE(model.showingClipboard());
    harness.scheduler.advance(1s);
    EXPECT_TRUE(scripts("a", true).empty());
}

TEST_F(ClipboardBridge, SwitchingServiceDuringThePauseDropsThePasteSilently)
{
    openOverField("a");
    model.pasteClipboardEntry(textEntry("x"));
    harness.scheduler.advance(100ms);
    harness.activate("b");
    harness.scheduler.advance(100ms);
    EXPECT_TRUE(scripts("a", true).empty());
    EXPECT_FALSE(model.error());
    EXPECT_EQ(model.clipboard().status(), "コピーしました");
}

TEST_F(ClipboardBridge, APageThatRefusesTheTextRaisesTheAlertAndKeepsItCopied)
{
    openOverField("a");
    model.pasteClipboardEntry(textEntry("too long"));
    harness.scheduler.advance(160ms);
    harness.engine("a").finishScript(scripts("a", true).at(0), false);
    EXPECT_EQ(model.error(), "コピーしました。この入力欄には直接貼れないため、通常の貼り付け操作を使ってください。");
    EXPECT_EQ(harness.pasteboard->content.string, "too long");
    EXPECT_NE(model.clipboard().status(), "貼り付けました");
}

TEST_F(ClipboardBridge, OneProbeServesOnePaste)
{
    openOverField("a");
    model.pasteClipboardEntry(textEntry("one"));
    model.pasteClipboardEntry(textEntry("two"));
    EXPECT_EQ(model.clipboard().status(), copiedOnly);
    harness.scheduler.advance(160ms);
    EXPECT_EQ(scripts("a", true).size(), 1u);
}

TEST_F(ClipboardBridge, APauseThatOutlivesTheStateDoesNothing)
{
    openOverField("a");
    model.pasteClipboardEntry(textEntry("x"));
    harness.model.reset();
    EXPECT_EQ(harness.scheduler.pendingCount(), 0u);
}

}  // namespace
}  // namespace meridavolt
