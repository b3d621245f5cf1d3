// The memory's shelf, cards and button in the real main window, on the real
// X clipboard where a test needs another program to copy or paste.
#include "DesktopWindowFixture.h"

#include "clipboard/ClipboardPanelModel.h"
#include "clipboard/view/SystemClipboardStore.h"
#include "platform/Files.h"
#include "clipboard/gdk/ClipboardProcess.h"
#include "clipboard/gdk/TestImages.h"
#include "support/WidgetPicture.h"
#include "support/WidgetSearch.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace meridavolt::desktoptest {
namespace {

using namespace std::chrono_literals;
using meridavolt::testing::runMainLoopFor;
using meridavolt::testing::waitUntil;

class MemoryShelfWindow : public DesktopWindowTest {
protected:
    // The memory as the application makes it: watching the X clipboard.
    void startOnTheSystemClipboard()
    {
        makeClipboardStore_ = [this] { return makeSystemClipboardStore(*settings_, folder_ / "pins.json"); };
        start();
    }

    ClipboardStore& store() { return model_->clipboard(); }
    MemoryCard& card(std::size_t index) { return view_->toolbarShelf().card(index); }

    std::string shownText(MemoryCard& shown) { return shown.preview().get_text(); }

    std::vector<std::string> historyTexts()
    {
        std::vector<std::string> texts;
        for (const auto& entry : store().history().entries) texts.push_back(entry.text);
        return texts;
    }

    // The menu's labels as a right click on the card opens it.
    std::vector<std::string> openMenu(MemoryCard& target)
    {
        pointer().moveTo(target).click(3);
        EXPECT_TRUE(waitUntil([&] { return target.menu() && target.menu()->get_visible(); }));
        std::vector<std::string> labels;
        auto model = target.menuModel();
        for (int i = 0; model && i < model->get_n_items(); ++i) {
            Glib::VariantBase label;
            label = model->get_item_attribute(i, Gio::MenuModel::Attribute::LABEL, Glib::VariantType("s"));
            labels.push_back(Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(label).get());
        }
        return labels;
    }

    // Chooses a menu item as a click on it does, and lets the menu close.
    void chooseItem(MemoryCard& target, const std::string& action)
    {
        target.activate_action(std::string(MemoryCard::actionGroupName) + "." + action);
        target.menu()->popdown();
        runMainLoopFor(50ms);
    }

    nlohmann::json pinsFile() { return nlohmann::json::parse(readFileIfExists(folder_ / "pins.json").value_or("null")); }

    void writeText(const std::string& name, const std::string& text) { writeFileAtomically(folder_ / name, text); }

    // Another program copies the text, and the memory takes it.
    void copyElsewhere(const std::string& text)
    {
        writeText("copied.txt", text);
        meridavolt::testing::XclipCopy copy(folder_ / "copied.txt", "UTF8_STRING");
        ASSERT_TRUE(waitUntil([&] { return !historyTexts().empty() && historyTexts().front() == text; }, 10s)) << text;
    }
};

// The lines a label shows, after the toolkit has laid it out.
int shownLines(Gtk::Label& label)
{
    return label.get_layout()->get_line_count();
}

TEST_F(MemoryShelfWindow, ACopyInAnotherProgramShowsAsCard01AndOnTheBadgeAndAClickCopiesACardBack)
{
    startOnTheSystemClipboard();
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(shownText(card(i)), "ここにドロップ");
        EXPECT_EQ(card(i).get_tooltip_text(), "画像・テキスト・URLをドロップ");
    }
    EXPECT_EQ(view_->memoryButton().count().get_text(), "0");
    EXPECT_EQ(view_->memoryButton().get_tooltip_text(), "コピー履歴を開く（Ctrl+Shift+V）");

    // Markup and a bidi override are shown as they are, never interpreted.
    const std::string first = "<b>会議</b> &amp; \u202Eroom 3";
    writeText("first.txt", first);
    {
        meridavolt::testing::XclipCopy copy(folder_ / "first.txt", "UTF8_STRING");
        ASSERT_TRUE(waitUntil([&] { return card(0).entry() && card(0).entry()->text == first; }, 10s));
    }
    EXPECT_EQ(shownText(card(0)), first);
    EXPECT_EQ(view_->memoryButton().count().get_text(), "1");
    EXPECT_EQ(card(0).get_tooltip_text(), "クリックでコピー・ドラッグで移動");
    EXPECT_EQ(shownText(view_->stripShelf().card(0)), first);

    writeText("second.txt", "https://example.com/second");
    {
        meridavolt::testing::XclipCopy copy(folder_ / "second.txt", "UTF8_STRING");
        ASSERT_TRUE(waitUntil([&] { return shownText(card(0)) == "https://example.com/second"; }, 10s));
    }
    EXPECT_EQ(shownText(card(1)), first);
    EXPECT_EQ(std::string(card(0).kindSymbol().get_icon_name()), iconNameForSymbol("link"));
    EXPECT_EQ(view_->memoryButton().count().get_text(), "2");

    pointer().moveTo(card(1)).click();
    ASSERT_TRUE(waitUntil([&] { return store().status() == "コピーしました"; }));
    EXPECT_EQ(meridavolt::testing::pasteWithXclip("UTF8_STRING"), first);
    // Its own copy is not captured again as a new entry.
    runMainLoopFor(1500ms);
    EXPECT_EQ(historyTexts(), (std::vector<std::string>{"https://example.com/second", first}));

    // A click on an empty slot does nothing.
    store().setStatus(std::nullopt);
    pointer().moveTo(card(2)).click();
    runMainLoopFor(100ms);
    EXPECT_EQ(store().status(), std::nullopt);

    // The button opens the panel through the state.
    pointer().moveTo(view_->memoryButton()).click();
    EXPECT_TRUE(waitUntil([&] { return model_->showingClipboard(); }));
}

TEST_F(MemoryShelfWindow, TheCardMenuMovesAnEntryToTheFrontAndTheEnd)
{
    start();
    for (const char* text : {"c", "b", "a"}) store().receive(text);
    store().setStatus(std::nullopt);
    ASSERT_EQ(shownText(card(2)), "c");

    EXPECT_EQ(openMenu(card(2)), (std::vector<std::string>{"コピー", "終了後も保存", "先頭へ", "末尾へ"}));
    chooseItem(card(2), "move-to-front");
    EXPECT_EQ(historyTexts(), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(shownText(card(0)), "c");
    EXPECT_EQ(shownText(card(1)), "a");

    openMenu(card(0));
    chooseItem(card(0), "move-to-front");  // already first
    EXPECT_EQ(historyTexts(), (std::vector<std::string>{"c", "a", "b"}));

    openMenu(card(0));
    chooseItem(card(0), "move-to-end");
    EXPECT_EQ(historyTexts(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(shownText(card(2)), "c");
    EXPECT_EQ(store().status(), std::nullopt);
}

TEST_F(MemoryShelfWindow, ACardDraggedOntoAnotherMovesInFrontOfItAndOntoAnEmptySlotToTheEnd)
{
    start();
    for (const char* text : {"b", "a"}) store().receive(text);
    store().setStatus(std::nullopt);
    runMainLoopFor(100ms);

    // Onto the empty slot 03: an own entry dropped without a place goes to the end.
    pointer().moveTo(card(0)).press().glideTo(card(0), card(2));
    EXPECT_TRUE(waitUntil([&] { return card(2).has_css_class("targeted"); }, 2s));
    EXPECT_FALSE(card(1).has_css_class("targeted"));
    pointer().release();
    ASSERT_TRUE(waitUntil([&] { return historyTexts() == std::vector<std::string>{"b", "a"}; }, 5s))
        << ::testing::PrintToString(historyTexts());
    EXPECT_FALSE(card(2).has_css_class("targeted"));

    // Card 02 onto card 01: in front of it, keeping its id; silent, and no click.
    store().receive("c");  // history c b a
    store().setStatus(std::nullopt);
    const std::string movedID = store().history().entries[2].id;
    runMainLoopFor(100ms);
    pointer().moveTo(card(2)).press().glideTo(card(2), card(0));
    EXPECT_TRUE(waitUntil([&] { return card(0).has_css_class("targeted"); }, 2s));
    pointer().release();
    ASSERT_TRUE(waitUntil([&] { return historyTexts() == std::vector<std::string>{"a", "c", "b"}; }, 5s))
        << ::testing::PrintToString(historyTexts());
    EXPECT_EQ(store().history().entries[0].id, movedID);
    EXPECT_EQ(shownText(card(0)), "a");
    EXPECT_EQ(store().status(), std::nullopt);
}

TEST_F(MemoryShelfWindow, PinningFromTheCardMenuWritesThePinsFileAndTakesTheFirstSlot)
{
    start();
    for (const char* text : {"c", "b", "a"}) store().receive(text);
    const std::string id = store().history().entries[2].id;

    openMenu(card(2));
    chooseItem(card(2), "toggle-pin");
    ASSERT_EQ(pinsFile().size(), 1u);
    EXPECT_EQ(pinsFile()[0]["id"], id);
    // Pins first: "c" moves to slot 01 with its pin mark; the history still counts three.
    EXPECT_EQ(shownText(card(0)), "c");
    EXPECT_TRUE(card(0).pinMark().get_visible());
    EXPECT_FALSE(card(1).pinMark().get_visible());
    EXPECT_EQ(shownText(card(1)), "a");
    EXPECT_EQ(view_->memoryButton().count().get_text(), "3");

    // The keyboard opens the same menu.
    card(0).grab_focus();
    pointer().keyDown("shift").keyDown("F10").keyUp("F10").keyUp("shift");
    ASSERT_TRUE(waitUntil([&] { return card(0).menu() && card(0).menu()->get_visible(); }));
    card(0).menu()->popdown();

    EXPECT_EQ(openMenu(card(0))[1], "固定を解除");
    chooseItem(card(0), "toggle-pin");
    EXPECT_TRUE(pinsFile().empty());
    EXPECT_EQ(shownText(card(0)), "a");
    EXPECT_FALSE(card(0).pinMark().get_visible());

    // Pins alone count nothing on the button.
    for (int i = 0; i < 2; ++i) {
        store().togglePin(store().history().entries[std::size_t(i)]);
    }
    store().updateHistory([](ClipboardHistory& history) { history.clear(); });
    EXPECT_EQ(view_->memoryButton().count().get_text(), "0");
    EXPECT_EQ(shownText(card(0)), "b");
    EXPECT_EQ(shownText(card(1)), "a");
    EXPECT_EQ(shownText(card(2)), "ここにドロップ");
}

TEST_F(MemoryShelfWindow, ACardsMenuActsOnTheEntryItWasOpenedForThoughAnotherCopyTookItsSlot)
{
    startOnTheSystemClipboard();
    copyElsewhere("A");
    const std::string a = card(0).entry()->id;
    openMenu(card(0));
    copyElsewhere("B");
    ASSERT_EQ(card(0).entry()->text, "B");
    ASSERT_TRUE(card(0).menu()->get_visible());
    chooseItem(card(0), "toggle-pin");
    ASSERT_EQ(pinsFile().size(), 1u);
    EXPECT_EQ(pinsFile()[0]["id"], a);
    EXPECT_EQ(pinsFile()[0]["text"], "A");

    // Slots: A (pinned), B. "末尾へ" chosen for B after C took its slot moves B.
    ASSERT_EQ(card(1).entry()->text, "B");
    openMenu(card(1));
    copyElsewhere("C");
    ASSERT_EQ(card(1).entry()->text, "C");
    chooseItem(card(1), "move-to-end");
    EXPECT_EQ(historyTexts(), (std::vector<std::string>{"C", "A", "B"}));

    // The entry the menu was opened for is deleted meanwhile: nothing happens.
    openMenu(card(1));
    const ClipboardEntry c = *card(1).entry();
    clipboardpanel::deleteEntry(store(), c);
    ASSERT_EQ(card(1).entry()->text, "B");
    store().setStatus(std::nullopt);
    chooseItem(card(1), "toggle-pin");
    chooseItem(card(1), "copy");
    EXPECT_EQ(pinsFile().size(), 1u);
    EXPECT_EQ(store().status(), std::nullopt);
    EXPECT_EQ(historyTexts(), (std::vector<std::string>{"A", "B"}));
}

TEST_F(MemoryShelfWindow, ACardsTooltipNeverCoversItsOpenMenu)
{
    start();
    store().receive("a");
    pointer().moveTo(card(0));
    ASSERT_TRUE(waitUntil([&] { return meridavolt::testing::tooltipShown(*window_); }, 5s)) << "no tooltip over the card";

    openMenu(card(0));
    // Over the menu's first item, then back over the card just above it, as
    // a hand hesitating does: the card's tooltip would open over the menu.
    pointer().moveTo(card(0), card(0).get_width() / 2.0, card(0).get_height() / 2.0 + 25);
    runMainLoopFor(1000ms);
    EXPECT_FALSE(meridavolt::testing::tooltipShown(*window_)) << "a tooltip over the menu's item";
    pointer().moveTo(card(0), card(0).get_width() / 2.0 + 10, 6);
    runMainLoopFor(1500ms);
    EXPECT_FALSE(meridavolt::testing::tooltipShown(*window_)) << "the card's tooltip covers its menu";

    card(0).menu()->popdown();
    runMainLoopFor(50ms);
    EXPECT_TRUE(card(0).get_has_tooltip());
    EXPECT_EQ(card(0).get_tooltip_text(), "クリックでコピー・ドラッグで移動");
}

TEST_F(MemoryShelfWindow, ACardShowsNoMoreLinesThanItsHeightAllowsLineBreaksIncluded)
{
    start();
    std::string forty;
    for (int line = 1; line <= 40; ++line) forty += "line " + std::to_string(line) + "\n";
    store().receive(forty);
    // One paragraph that wraps over several lines, then a second one.
    store().receive(std::string(40, 'w') + " " + std::string(40, 'w') + "\nsecond paragraph");
    view_->layoutSettings().setMemoryPosition("top");
    auto& strip = view_->stripShelf();
    ASSERT_TRUE(waitUntil([&] { return strip.card(0).get_height() == 78 && strip.card(1).get_height() == 78; }));
    runMainLoopFor(100ms);

    // The strip's compact cards of height 78: max(1, ⌊38 / 14⌋) = 2 lines.
    for (MemoryCard* shown : {&strip.card(0), &strip.card(1)})
        EXPECT_EQ(shownLines(const_cast<Gtk::Label&>(shown->preview())), 2) << shown->entry()->text;
    // The wrapped paragraph fills both lines, cut with an ellipsis.
    EXPECT_TRUE(const_cast<Gtk::Label&>(strip.card(0).preview()).get_layout()->is_ellipsized());
    EXPECT_EQ(strip.card(1).preview().get_text(), "line 1\u2028line 2…");
    // The toolbar's compact cards of height 54 show 1 line.
    EXPECT_EQ(shownLines(const_cast<Gtk::Label&>(card(1).preview())), 1);
    EXPECT_EQ(card(1).preview().get_text(), "line 1…");
}

TEST_F(MemoryShelfWindow, TheMemoryButtonsCardTakesItsPaddingAroundTheContent)
{
    start();
    Gtk::Window window;
    ClipboardCloud button(*model_, store(), true);
    window.set_child(button);
    window.present();
    ASSERT_TRUE(waitUntil([&] { return button.get_width() > 0; }));
    runMainLoopFor(100ms);

    const auto picture = meridavolt::testing::drawWidget(button);
    ASSERT_EQ(picture.width, button.get_width() + 24) << "12 points of padding on each side";
    // The card's surface fills the padding on both sides, inside its outline.
    EXPECT_GT(picture.alpha(4, picture.height / 2), 200) << "left padding";
    EXPECT_GT(picture.alpha(picture.width - 5, picture.height / 2), 200) << "right padding";
    window.unset_child();
}

TEST_F(MemoryShelfWindow, CardsKeepTheirHostsHeightAndTheStripFollowsAResize)
{
    start();
    store().receive(std::string(100'000, 'x'));  // a one-line text far longer than a card
    store().receive("short");
    runMainLoopFor(100ms);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(card(i).get_height(), 54) << i;
        EXPECT_LE(card(i).get_width(), 175) << i;
    }
    EXPECT_LE(shownText(card(1)).size(), 160u);

    view_->layoutSettings().setMemoryPosition("top");
    ASSERT_TRUE(waitUntil([&] { return view_->memoryStrip().get_mapped(); }));
    auto& strip = view_->stripShelf();
    ASSERT_TRUE(waitUntil([&] { return strip.card(0).get_height() == 78; }));
    EXPECT_EQ(strip.card(0).get_width(), 175);

    view_->layoutSettings().setMemoryHeight(180);
    ASSERT_TRUE(waitUntil([&] { return strip.card(0).get_height() == 180; }));
    EXPECT_EQ(strip.card(1).get_height(), 180);
    EXPECT_EQ(strip.card(2).get_height(), 180);
}

TEST_F(MemoryShelfWindow, TheFullButtonGivesWayToTheShortOneWhenNarrowAndCompactNeverShowsIt)
{
    start();
    Gtk::Window narrowWindow, wideWindow;
    narrowWindow.set_resizable(false);
    ClipboardCloud narrow(*model_, store(), false), wide(*model_, store(), false), compact(*model_, store(), true);
    Gtk::Box wideRow;
    wideRow.append(wide);
    wideRow.append(compact);
    narrowWindow.set_child(narrow);
    narrowWindow.set_default_size(60, 60);
    wideWindow.set_child(wideRow);
    wideWindow.set_default_size(600, 60);
    narrowWindow.present();
    wideWindow.present();
    ASSERT_TRUE(waitUntil([&] { return narrow.get_width() > 0 && wide.get_width() > 0 && compact.get_width() > 0; }));
    runMainLoopFor(100ms);
    EXPECT_TRUE(wide.showsFullLayout());
    EXPECT_FALSE(compact.showsFullLayout());
    EXPECT_LT(compact.get_width(), wide.get_width());
    EXPECT_EQ(wide.get_height(), 44);

    // A window narrower than the full layout: the short one shows.
    EXPECT_LT(narrow.get_width(), wide.get_width());
    EXPECT_FALSE(narrow.showsFullLayout());
    narrowWindow.unset_child();
    wideWindow.unset_child();
}

// Records both shelves with a text, a link and an image: into
// $MERIDAVOLT_SCREENSHOT_DIR when set (docs/screenshots keeps the record),
// else into the test's own folder.
TEST_F(MemoryShelfWindow, ShelfScreenshots)
{
    start();
    choose("one");
    store().receive("来週の定例は木曜 15:00 から。議題：リリース計画と問い合わせ対応の振り返り");
    store().receive("https://example.com/meridavolt");
    const std::string picture = meridavolt::testing::twoColourImage(320, 200, "png");
    store().updateHistory([&](ClipboardHistory& history) {
        history.insertImage(SharedBytes(picture), SharedBytes(picture), Date{});
    });
    store().togglePin(store().history().entries[1]);
    ASSERT_TRUE(waitUntil([&] { return pageLoaded("one"); }));
    ASSERT_TRUE(card(1).thumbnail().hasImage());

    const char* folder = std::getenv("MERIDAVOLT_SCREENSHOT_DIR");
    const auto directory = folder ? std::filesystem::path(folder) : folder_.path();
    runMainLoopFor(400ms);
    saveScreenshot(*window_, (directory / "memory-shelf-toolbar.png").string());

    view_->layoutSettings().setMemoryPosition("top");
    view_->layoutSettings().setMemoryHeight(120);
    ASSERT_TRUE(waitUntil([&] { return view_->stripShelf().card(0).get_height() == 120; }));
    runMainLoopFor(400ms);
    saveScreenshot(*window_, (directory / "memory-shelf-strip.png").string());
    EXPECT_EQ(Gdk::Pixbuf::create_from_file((directory / "memory-shelf-strip.png").string())->get_width(),
              window_->get_width());
}

}  // namespace
}  // namespace meridavolt::desktoptest
