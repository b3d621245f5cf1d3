// Drag and drop between the memory panel and another application: a GTK
// program in a process of its own drags texts and files onto the panel's
// rows, and receives a dragged image row, over the real X11 drag protocol.
#include "clipboard/view/ClipboardPanel.h"
#include "clipboard/view/MemoryShelf.h"
#include "clipboard/view/SystemClipboardStore.h"
#include "fakes/FakeWebEngine.h"
#include "fakes/FakeWorkspace.h"
#include "fakes/MemoryRepositories.h"
#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"
#include "platform/Clock.h"
#include "clipboard/gdk/TestImages.h"
#include "platform/glib/MainLoopScheduler.h"
#include "support/MainLoopWait.h"
#include "support/ResidentMemory.h"
#include "clipboard/window/HelperProgram.h"

#include <gtest/gtest.h>
#include <gtkmm/init.h>
#include <gtkmm/window.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

// Last: Xlib's macros would clash with the headers above.
#include <gdk/x11/gdkx.h>

namespace meridavolt {
namespace {

using namespace std::chrono_literals;
using testing::runMainLoopFor;
using testing::waitUntil;

void xdotool(const std::string& arguments)
{
    g_spawn_command_line_sync(("xdotool " + arguments).c_str(), nullptr, nullptr, nullptr, nullptr);
}

class MemoryDragAndDrop : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gtk_init();
        Gtk::init_gtkmm_internals();
    }

    void SetUp() override
    {
        ::setenv("XDG_CACHE_HOME", (folder_ / "cache").c_str(), 1);
        settings_.setBool(AppModel::canvaMigrationKey, true);
        settings_.setBool(AppModel::youTubeMigrationKey, true);
        auto library = std::make_unique<fakes::MemoryLibraryRepository>();
        library->store.stored = ServiceLibrary{};
        auto workSets = std::make_unique<fakes::MemoryWorkSetRepository>();
        workSets->store.stored = std::vector<WorkSet>{};
        model_ = std::make_unique<AppModel>(AppModelServices{
            std::move(library), std::move(workSets), settings_, SystemClock::shared(), MainLoopScheduler::shared(),
            workspace_, [] { return std::make_unique<fakes::FakeWebEngine>(); },
            [this] { return makeSystemClipboardStore(settings_, folder_ / "pinned-memory.json", false); }, nullptr});
        window_ = std::make_unique<Gtk::Window>();
        window_->set_default_size(430, 760);
        panel_ = std::make_unique<ClipboardPanel>(*model_);
        window_->set_child(*panel_);
        window_->present();
        ASSERT_TRUE(waitUntil([&] { return panel_->get_mapped() && panel_->get_width() > 0; }));
        runMainLoopFor(100ms);
    }

    void TearDown() override
    {
        window_->unset_child();
        panel_.reset();
        window_->destroy();
        model_.reset();
        runMainLoopFor(50ms);
    }

    ClipboardStore& store() { return model_->clipboard(); }

    std::vector<std::string> texts()
    {
        std::vector<std::string> all;
        for (const auto& entry : store().history().entries) all.push_back(entry.text);
        return all;
    }

    std::string ourWindow() { return windowOf(*window_); }

    static std::string windowOf(Gtk::Widget& widget)
    {
        return std::to_string(gdk_x11_surface_get_xid(widget.get_native()->get_surface()->gobj()));
    }

    // The point of a widget of ours, in its window's coordinates.
    std::pair<int, int> pointOf(Gtk::Widget& widget)
    {
        auto& window = dynamic_cast<Gtk::Window&>(*widget.get_root());
        double x = 0, y = 0, sx = 0, sy = 0;
        widget.translate_coordinates(window, widget.get_width() / 2.0, widget.get_height() / 2.0, x, y);
        gtk_native_get_surface_transform(GTK_NATIVE(window.gobj()), &sx, &sy);
        return {int(x + sx), int(y + sy)};
    }

    // Starts a helper beside our window.
    std::unique_ptr<DragHelper> startHelper(const std::vector<std::string>& arguments)
    {
        auto helper = std::make_unique<DragHelper>(arguments);
        EXPECT_NE(helper->windowID(), "0");
        xdotool("windowmove --sync " + helper->windowID() + " 900 100");
        runMainLoopFor(200ms);
        return helper;
    }

    // A hand's drag from the helper's window onto a widget of ours.
    void dragFromHelper(DragHelper& helper, Gtk::Widget& target)
    {
        const std::string from = helper.windowID();
        xdotool("mousemove --window " + from + " 150 100");
        runMainLoopFor(100ms);
        xdotool("mousedown 1");
        for (int step = 1; step <= 4; ++step) {
            xdotool("mousemove --window " + from + " " + std::to_string(150 - step * 10) + " 100");
            runMainLoopFor(40ms);
        }
        const auto [x, y] = pointOf(target);
        for (int step = 0; step < 6; ++step) {
            xdotool("mousemove --window " + windowOf(target) + " " + std::to_string(x + 5 - step) + " " +
                    std::to_string(y));
            runMainLoopFor(60ms);
        }
        xdotool("mouseup 1");
        runMainLoopFor(200ms);
    }

    // A hand's drag from a widget of ours into the helper's window.
    void dragToHelper(Gtk::Widget& source, DragHelper& helper)
    {
        const auto [x, y] = pointOf(source);
        xdotool("mousemove --window " + ourWindow() + " " + std::to_string(x) + " " + std::to_string(y));
        runMainLoopFor(100ms);
        xdotool("mousedown 1");
        for (int step = 1; step <= 4; ++step) {
            xdotool("mousemove --window " + ourWindow() + " " + std::to_string(x + step * 10) + " " +
                    std::to_string(y));
            runMainLoopFor(40ms);
        }
        for (int step = 0; step < 6; ++step) {
            xdotool("mousemove --window " + helper.windowID() + " " + std::to_string(150 - step) + " 100");
            runMainLoopFor(60ms);
        }
        xdotool("mouseup 1");
        runMainLoopFor(200ms);
    }

    std::string fileList(const std::vector<std::filesystem::path>& files)
    {
        std::string list;
        for (const auto& file : files) {
            gchar* uri = g_filename_to_uri(file.c_str(), nullptr, nullptr);
            list += std::string(uri) + "\r\n";
            g_free(uri);
        }
        const auto path = folder_ / "list.txt";
        fakes::writeBytes(path, list);
        return path.string();
    }

    fakes::TemporaryFolder folder_;
    fakes::MemorySettings settings_;
    fakes::FakeWorkspace workspace_;
    std::unique_ptr<AppModel> model_;
    std::unique_ptr<Gtk::Window> window_;
    std::unique_ptr<ClipboardPanel> panel_;
};

TEST_F(MemoryDragAndDrop, ATextDroppedOnARowGoesInFrontOfItAndTheSourceKeepsIt)
{
    for (const char* text : {"first", "second", "third"}) store().receive(text);
    const std::string second = store().history().entries[1].id;
    auto helper = startHelper({"text", "dropped from another program"});
    dragFromHelper(*helper, *panel_->row(second));

    ASSERT_TRUE(waitUntil([&] { return store().history().entries.size() == 4; })) << "the drop did not arrive";
    EXPECT_EQ(texts(), (std::vector<std::string>{"third", "dropped from another program", "second", "first"}));
    EXPECT_EQ(store().status(), "保存しました");
    EXPECT_EQ(panel_->statusLabel().get_text(), "保存しました");
    // A copy: the source is told so and keeps its text.
    EXPECT_EQ(helper->line("drag-end"), "copy");
}

TEST_F(MemoryDragAndDrop, ThirtyFivePNGFilesStoreThirtyAndA60MiBFileGivesTheLimitMessage)
{
    std::vector<std::filesystem::path> files;
    for (int i = 0; i < 35; ++i) {
        files.push_back(folder_ / ("image " + std::to_string(i) + ".png"));
        fakes::writeBytes(files.back(), testing::twoColourImage(40 + i, 30, "png"));
    }
    auto helper = startHelper({"uris", fileList(files)});
    dragFromHelper(*helper, panel_->list());
    ASSERT_TRUE(waitUntil([&] { return store().history().entries.size() == 30 && store().status() == "画像を保存しました"; },
                          60s))
        << store().history().entries.size() << " stored";
    runMainLoopFor(300ms);
    EXPECT_EQ(store().history().entries.size(), 30u) << "more than the first 30 were stored";
    for (const auto& entry : store().history().entries) EXPECT_TRUE(entry.isImage());
    helper.reset();

    const auto big = folder_ / "big.png";
    { std::ofstream(big, std::ios::binary) << testing::twoColourImage(10, 10, "png"); }
    std::filesystem::resize_file(big, 60u * 1024 * 1024);
    auto bigHelper = startHelper({"uris", fileList({big})});
    dragFromHelper(*bigHelper, panel_->list());
    ASSERT_TRUE(waitUntil([&] { return store().status() == "画像を読み込めません（上限50MB）"; }))
        << store().status().value_or("no status");
    EXPECT_EQ(store().history().entries.size(), 30u);
}

TEST_F(MemoryDragAndDrop, TenThousandAddressesStoreTheFirstThirtyAsTexts)
{
    std::string list;
    for (int i = 0; i < 10'000; ++i) list += "https://example.com/page/" + std::to_string(i) + "\r\n";
    fakes::writeBytes(folder_ / "addresses.txt", list);
    auto helper = startHelper({"uris", (folder_ / "addresses.txt").string()});
    dragFromHelper(*helper, panel_->list());
    ASSERT_TRUE(waitUntil([&] { return store().history().entries.size() == 30; })) << texts().size();
    runMainLoopFor(300ms);
    EXPECT_EQ(store().history().entries.size(), 30u);
    EXPECT_EQ(texts().front(), "https://example.com/page/29");
    EXPECT_EQ(texts().back(), "https://example.com/page/0");
    EXPECT_EQ(store().status(), "保存しました");
}

TEST_F(MemoryDragAndDrop, AnImageRowGivesAnotherProgramPNGAndAFileNameButNeverTheEntryID)
{
    const std::string png = testing::twoColourImage(64, 48, "png");
    bool done = false;
    store().receiveImage(SharedBytes(png), std::nullopt, [&] { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done; }));
    const ClipboardEntry image = store().history().entries.front();
    runMainLoopFor(100ms);

    auto helper = startHelper({"receive"});
    dragToHelper(*panel_->row(image.id)->thumbnail(), *helper);
    ASSERT_TRUE(helper->line("received", 15s)) << "the helper got no drop:\n" << helper->transcript();
    const std::string formats = helper->line("formats").value_or("");
    EXPECT_NE(formats.find("image/png"), std::string::npos) << formats;
    EXPECT_NE(formats.find("text/uri-list"), std::string::npos) << formats;
    EXPECT_EQ(formats.find("Meridavolt"), std::string::npos) << formats;
    EXPECT_EQ(formats.find("memory-entry"), std::string::npos) << formats;
    EXPECT_EQ(helper->line("png"), std::to_string(image.imageData->size()) + " 64x48");
    const std::string uris = helper->line("uris").value_or("");
    EXPECT_NE(uris.find("/MERIDAVOLT/dragged-images/"), std::string::npos) << uris;
    EXPECT_NE(uris.find("/PELLOWRI-MEMORY.png"), std::string::npos) << uris;
    EXPECT_EQ(store().history().entries.size(), 1u);
}

TEST_F(MemoryDragAndDrop, ARowDraggedOntoAnotherMovesInFrontOfItWithNoMessage)
{
    for (const char* text : {"one", "two", "three"}) store().receive(text);
    store().setStatus(std::nullopt);
    const auto& entries = store().history().entries;
    const std::string one = entries[2].id, three = entries[0].id;
    runMainLoopFor(100ms);

    const auto [fromX, fromY] = pointOf(panel_->row(one)->textLabel());
    const auto [toX, toY] = pointOf(panel_->row(three)->textLabel());
    xdotool("mousemove --window " + ourWindow() + " " + std::to_string(fromX) + " " + std::to_string(fromY));
    runMainLoopFor(100ms);
    xdotool("mousedown 1");
    for (int step = 1; step <= 10; ++step) {
        xdotool("mousemove --window " + ourWindow() + " " + std::to_string(fromX) + " " +
                std::to_string(fromY + (toY - fromY) * step / 10));
        runMainLoopFor(50ms);
    }
    // Linger over the target: under load the drop site may answer the first
    // positions late, and a release before its answer is a refused drop.
    for (int wiggle = 0; wiggle < 4; ++wiggle) {
        xdotool("mousemove --window " + ourWindow() + " " + std::to_string(fromX + wiggle % 2) + " " +
                std::to_string(toY));
        runMainLoopFor(100ms);
    }
    xdotool("mouseup 1");
    ASSERT_TRUE(waitUntil([&] { return store().history().entries.front().id == one; }));
    EXPECT_EQ(texts(), (std::vector<std::string>{"one", "three", "two"}));
    EXPECT_EQ(store().status(), std::nullopt);
    EXPECT_EQ(panel_->shownIDs().front(), one);
}

// The toolkit marks a drop target while a drag hovers over it; after a drop
// from another program the mark, and our own outline, are gone, and the next
// drop lands on the same row again.
TEST_F(MemoryDragAndDrop, AfterADropFromAnotherProgramTheRowAndTheCardLookAsBeforeAndTakeTheNextDrop)
{
    auto dropActive = [](Gtk::Widget& widget) {
        return (widget.get_state_flags() & Gtk::StateFlags::DROP_ACTIVE) == Gtk::StateFlags::DROP_ACTIVE;
    };
    // The text just in front of the entry with this id.
    auto textBefore = [&](const std::string& id) {
        const auto& entries = store().history().entries;
        for (std::size_t index = 1; index < entries.size(); ++index)
            if (entries[index].id == id) return entries[index - 1].text;
        return std::string();
    };
    for (const char* text : {"first", "second"}) store().receive(text);
    const std::string first = store().history().entries[1].id;
    auto& row = *panel_->row(first);
    for (const char* text : {"one from afar", "two from afar"}) {
        auto helper = startHelper({"text", text});
        dragFromHelper(*helper, row);
        ASSERT_TRUE(waitUntil([&] { return textBefore(first) == text; }))
            << text << " did not land in front of the row: " << ::testing::PrintToString(texts());
        ASSERT_TRUE(helper->line("drag-end"));
        runMainLoopFor(200ms);
        EXPECT_FALSE(dropActive(row)) << "the row keeps the toolkit's drop look after " << text;
        EXPECT_FALSE(row.has_css_class("drop-target"));
    }

    Gtk::Window shelfWindow;
    MemoryShelf shelf(store(), 78, false);
    shelfWindow.set_child(shelf);
    shelfWindow.set_default_size(600, 120);
    shelfWindow.present();
    ASSERT_TRUE(waitUntil([&] { return shelf.card(2).get_width() > 0; }));
    runMainLoopFor(200ms);
    const std::string onCard = shelf.card(2).entry()->id;
    auto helper = startHelper({"text", "onto a card"});
    dragFromHelper(*helper, shelf.card(2));
    ASSERT_TRUE(waitUntil([&] { return textBefore(onCard) == "onto a card"; })) << ::testing::PrintToString(texts());
    ASSERT_TRUE(helper->line("drag-end"));
    runMainLoopFor(200ms);
    for (std::size_t index = 0; index < 3; ++index) {
        EXPECT_FALSE(dropActive(shelf.card(index))) << "card " << index << " keeps the toolkit's drop look";
        EXPECT_FALSE(shelf.card(index).has_css_class("targeted"));
    }
    shelfWindow.unset_child();
}

// Sources that stream without end or never answer: the reads are cut at
// their limits or their time, nothing is stored, the transfers stop (the
// memory stays near where it was) and the panel goes on.
TEST_F(MemoryDragAndDrop, EndlessAndSilentSourcesAreCutOffWithoutAHangOrAnEntry)
{
    store().receive("kept");
    store().setStatus(std::nullopt);
    const double before = testing::residentMiB();
    double peak = before;
    for (const char* type : {"text/plain;charset=utf-8", "text/uri-list", "image/png"}) {
        // Cut at the limit + 1 byte (the store then refuses it) or at the time
        // limit, whichever the transfer reaches first.
        auto endless = startHelper({"endless", type});
        const auto start = std::chrono::steady_clock::now();
        dragFromHelper(*endless, panel_->list());
        peak = std::max(peak, testing::peakResidentMiBFor(4s));
        ASSERT_TRUE(endless->line("drag-end", 15s)) << type << endless->transcript();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 8s) << type << ": the read was not given up in time";
        EXPECT_EQ(texts(), std::vector<std::string>{"kept"}) << type;
        EXPECT_NE(store().status(), "画像を保存しました") << type;
        EXPECT_NE(store().status(), "保存しました") << type;
    }
    EXPECT_LT(peak - before, 64) << "the endless transfers went on: " << before << " MiB before, " << peak
                                 << " MiB at most";
    runMainLoopFor(5s);
    const double after = testing::residentMiB();
    testing::printResidentFigures("endless drops", before, peak, after);
    EXPECT_LT(after - before, 64) << "the memory was not given back";
    {
        auto silent = startHelper({"silent", "text/uri-list"});
        const auto start = std::chrono::steady_clock::now();
        dragFromHelper(*silent, panel_->list());
        ASSERT_TRUE(silent->line("drag-end", 15s)) << silent->transcript();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 8s) << "the read was not given up in time";
        EXPECT_EQ(texts(), std::vector<std::string>{"kept"});
    }
}

// A source that never answered must not hold up the drops of its type that
// come after it, at once or later.
TEST_F(MemoryDragAndDrop, ADropAfterASilentSourceOfTheSameTypeIsStored)
{
    {
        auto silent = startHelper({"silent", "text/uri-list"});
        dragFromHelper(*silent, panel_->list());
        ASSERT_TRUE(silent->line("drag-end", 15s)) << silent->transcript();
    }
    for (const std::string page : {"https://example.com/at-once", "https://example.com/ten-seconds-later"}) {
        if (page.ends_with("later")) runMainLoopFor(10s);
        fakes::writeBytes(folder_ / "one.txt", page + "\r\n");
        auto helper = startHelper({"uris", (folder_ / "one.txt").string()});
        dragFromHelper(*helper, panel_->list());
        ASSERT_TRUE(waitUntil([&] { return !texts().empty() && texts().front() == page; }, 10s))
            << page << " was not stored";
        EXPECT_EQ(store().status(), "保存しました");
    }
}

}  // namespace
}  // namespace meridavolt
