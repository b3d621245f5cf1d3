// The memory panel's promises, measured on the real window with the memory as
// full as it gets: 30 temporary entries (10 of them images) and 30 pins.
// Ctrl+Shift+V runs AppModel::openClipboard (an application action); the time
// runs from that call to the end of the paint of the panel's first frame. The
// window prepares the panel at idle once it is drawn, as in the application;
// the first opening is printed beside the later ones. A
// search keystroke runs from the entry's text change to the end of the next
// paint. Last, 30 images are dropped at once and stored through the real
// image codec. Run under a virtual display (scripts/bench.sh does).
#include "BenchSupport.h"
#include "desktop/view/DesktopContentView.h"
#include "fakes/TemporaryFolder.h"
#include "clipboard/gdk/TestImages.h"
#include "platform/glib/MainLoopScheduler.h"
#include "support/MainLoopWait.h"

#include <gdkmm/frameclock.h>
#include <gtkmm/window.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace meridavolt;
using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

struct Timing {
    double total = 0;  // from the change to the end of the paint
    double handled = 0;  // the change's own work, before any frame
    double frame = 0;  // the frame's work: from its layout to the end of its paint
};

// Runs `change`, then the main loop until `widget`'s window has painted a frame.
Timing untilPainted(Gtk::Widget& widget, const std::function<void()>& change)
{
    const auto start = steady_clock::now();
    change();
    const auto handled = steady_clock::now();
    steady_clock::time_point layout{}, painted{};
    sigc::connection layoutPhase, paint;
    auto watch = [&] {
        if (paint.connected() || !widget.get_mapped()) return;
        layoutPhase = widget.get_frame_clock()->signal_layout().connect([&] {
            if (layout == steady_clock::time_point{}) layout = steady_clock::now();
        });
        paint = widget.get_frame_clock()->signal_paint().connect(
            [&] {
                if (widget.get_mapped() && painted == steady_clock::time_point{}) painted = steady_clock::now();
            },
            true);
    };
    watch();
    testing::waitUntil(
        [&] {
            watch();
            return painted != steady_clock::time_point{};
        },
        5s);
    paint.disconnect();
    layoutPhase.disconnect();
    if (layout == steady_clock::time_point{}) layout = handled;
    return {bench::elapsedMilliseconds(painted - start), bench::elapsedMilliseconds(handled - start),
            bench::elapsedMilliseconds(painted - std::max(layout, handled))};
}

std::string picture(int i) { return testing::twoColourImage(640 + i, 480, "png"); }

}  // namespace

int main()
{
    fakes::TemporaryFolder folder;
    bench::startProcess(folder);
    bench::SystemClipboardState state(folder / "pins.json", false);
    ClipboardStore& store = state.model.clipboard();
    auto fill = [&](const std::string& prefix) {
        for (int i = 0; i < 30; ++i) {
            if (i % 3 == 0) {
                const auto png = SharedBytes(picture(i));
                store.updateHistory([&](ClipboardHistory& history) {
                    history.insertImage(png, SharedBytes(testing::twoColourImage(320, 240, "png")), Date{});
                });
            } else {
                store.receive(prefix + " " + std::to_string(i) + " " + std::string(300, 'x'));
            }
        }
    };
    // 30 pins, then 30 other temporary entries.
    fill("固定した長いテキスト");
    for (const auto& entry : std::vector<ClipboardEntry>(store.history().entries)) store.togglePin(entry);
    store.updateHistory([](ClipboardHistory& history) { history.clear(); });
    fill("履歴のテキスト");

    Gtk::Window window;
    window.set_default_size(1120, 780);
    DesktopContentView view(state.model, state.settings, MainLoopScheduler::shared());
    window.set_child(view);
    window.present();
    testing::waitUntil([&] { return view.get_mapped() && view.get_width() > 0; });
    testing::runMainLoopFor(300ms);

    ClipboardPopover& popover = view.toolbar().clipboardPopover();
    ClipboardPanel& panel = popover.panel();
    // The first opening and the later ones, each whole and without the wait
    // for the frame clock's next tick, which varies by up to a frame.
    std::vector<double> firstOpening, opening, firstWork, work;
    for (int round = 0; round < 16; ++round) {
        const Timing timing = untilPainted(panel, [&] { state.model.openClipboard(); });
        (round == 0 ? firstOpening : opening).push_back(timing.total);
        (round == 0 ? firstWork : work).push_back(timing.handled + timing.frame);
        state.model.setShowingClipboard(false);
        testing::runMainLoopFor(80ms);
    }

    state.model.openClipboard();
    testing::waitUntil([&] { return panel.get_mapped(); });
    testing::runMainLoopFor(200ms);
    std::vector<double> keystrokes, handled, frames;
    auto keystroke = [&](const std::string& text) {
        const Timing timing = untilPainted(panel, [&] { panel.searchEntry().set_text(text); });
        keystrokes.push_back(timing.total);
        handled.push_back(timing.handled);
        frames.push_back(timing.frame);
    };
    const std::string typed = "履歴のテキスト 1";
    for (int round = 0; round < 4; ++round) {
        for (std::size_t length = 1; length <= typed.size(); ++length) {
            if (length < typed.size() && (typed[length] & 0xC0) == 0x80) continue;  // whole characters only
            keystroke(typed.substr(0, length));
        }
        keystroke("");
    }
    std::printf("memory: %zu temporary entries (10 images), %zu pins; panel rows %zu\n",
                store.history().entries.size(), store.pinned().size(), panel.shownIDs().size());
    bench::printFigures("Ctrl+Shift+V -> panel painted (first)", firstOpening, 100);
    bench::printFigures("Ctrl+Shift+V -> panel painted (again)", opening, 100);
    bench::printFigures("opening's work, no frame wait (first)", firstWork, std::nullopt);
    bench::printFigures("opening's work, no frame wait (again)", work, std::nullopt);
    bench::printFigures("search keystroke: rows filtered", handled, 16);
    bench::printFigures("search keystroke: its frame, layout -> painted", frames, 16);
    bench::printFigures("search keystroke -> painted (with frame wait)", keystrokes, 33);

    // 30 images dropped at once, as a file manager or another program gives them.
    std::vector<std::shared_ptr<DropItem>> items;
    for (int i = 0; i < 30; ++i) {
        items.push_back(std::make_shared<LoadedDropItem>(std::vector<std::string>{"image/png"},
                                                         std::map<std::string, std::string>{{"image/png", picture(100 + i)}},
                                                         std::nullopt));
    }
    store.updateHistory([](ClipboardHistory& history) { history.clear(); });
    const auto dropStart = steady_clock::now();
    store.acceptDrop(std::move(items), std::nullopt);
    testing::waitUntil(
        [&] {
            return store.history().entries.size() == 30 && store.status() == std::optional<std::string>("画像を保存しました");
        },
        120s);
    std::printf("%-46s %zu images stored in %.0f ms\n", "30 dropped 640x480 images", store.history().entries.size(),
                bench::elapsedMilliseconds(steady_clock::now() - dropStart));
    window.unset_child();
    return 0;
}
