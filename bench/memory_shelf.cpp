// The memory shelf's promise, measured on the real window: a copy made in
// another program shows on card 01 within a frame of its capture. The memory
// holds 30 entries, 10 of them images, as a day's use leaves it; the copy is
// made with xclip and captured by the store's own poll of the X clipboard.
// Run under a virtual display (scripts/bench.sh does).
#include "BenchSupport.h"
#include "desktop/view/DesktopContentView.h"
#include "fakes/TemporaryFolder.h"
#include "clipboard/gdk/ClipboardProcess.h"
#include "clipboard/gdk/TestImages.h"
#include "platform/glib/MainLoopScheduler.h"
#include "support/MainLoopWait.h"

#include <gdkmm/frameclock.h>
#include <gtkmm/window.h>

#include <algorithm>
#include <cstdint>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

using namespace meridavolt;
using namespace std::chrono;
using namespace std::chrono_literals;

int main()
{
    fakes::TemporaryFolder folder;
    bench::startProcess(folder);
    bench::SystemClipboardState state(folder / "pins.json", true);
    ClipboardStore& store = state.model.clipboard();

    // The capture, before any view hears of it.
    steady_clock::time_point captured{};
    auto capture = store.historyChanged.connect([&] { captured = steady_clock::now(); });

    Gtk::Window window;
    window.set_default_size(1120, 780);
    DesktopContentView view(state.model, state.settings, MainLoopScheduler::shared());
    window.set_child(view);
    window.present();
    testing::waitUntil([&] { return view.get_mapped() && view.get_width() > 0; });

    for (int i = 0; i < 30; ++i) {
        if (i % 3 == 0) {
            const std::string picture = testing::twoColourImage(320, 160 + i, "png");
            store.updateHistory([&](ClipboardHistory& history) {
                history.insertImage(SharedBytes(picture), SharedBytes(picture), Date{});
            });
        } else {
            store.receive("履歴のテキスト " + std::to_string(i) + std::string(2000, 'x'));
        }
    }
    testing::runMainLoopFor(300ms);

    MemoryCard& first = view.toolbarShelf().card(0);
    auto clock = window.get_frame_clock();
    std::vector<double> toShown, toPainted, drawing;
    std::vector<std::int64_t> framesLater;
    for (int round = 0; round < 20; ++round) {
        const std::string text = "新しいコピー " + std::to_string(round);
        std::ofstream(folder / "copy.txt", std::ios::binary) << text;
        captured = {};
        steady_clock::time_point shown{}, frameStart{}, painted{};
        std::int64_t captureFrame = 0, paintedFrame = 0;
        auto shownCheck = store.historyChanged.connect([&] {
            if (std::string(first.preview().get_text()) != text || shown != steady_clock::time_point{}) return;
            shown = steady_clock::now();
            captureFrame = clock->get_frame_counter();
        });
        // The frame's layout phase starts its work; the end of its paint phase
        // (after the window has rendered) ends it.
        auto layout = clock->signal_layout().connect([&] {
            if (shown != steady_clock::time_point{} && frameStart == steady_clock::time_point{})
                frameStart = steady_clock::now();
        });
        auto paint = clock->signal_paint().connect(
            [&] {
                if (frameStart == steady_clock::time_point{} || painted != steady_clock::time_point{}) return;
                painted = steady_clock::now();
                paintedFrame = clock->get_frame_counter();
            },
            true);
        {
            testing::XclipCopy copy(folder / "copy.txt", "UTF8_STRING");
            testing::waitUntil([&] { return painted != steady_clock::time_point{}; }, 5s);
        }
        layout.disconnect();
        paint.disconnect();
        if (captured == steady_clock::time_point{} || painted == steady_clock::time_point{}) continue;
        toShown.push_back(bench::elapsedMilliseconds(shown - captured));
        toPainted.push_back(bench::elapsedMilliseconds(painted - captured));
        drawing.push_back(bench::elapsedMilliseconds(painted - frameStart));
        framesLater.push_back(paintedFrame - captureFrame);
        testing::runMainLoopFor(50ms);
    }
    if (toPainted.empty()) {
        std::printf("memory shelf: no copy was captured\n");
        return 1;
    }
    std::printf("memory: %zu entries (10 images), shelf in the toolbar\n", store.history().entries.size());
    bench::printFigures("capture -> card 01 shows it", toShown, 16.7);
    bench::printFigures("frame with card 01: layout -> painted", drawing, 16.7);
    std::printf("%-46s max %lld (target 1: the next frame)\n", "frames from the capture to card 01 painted",
                static_cast<long long>(*std::max_element(framesLater.begin(), framesLater.end())));
    std::printf("%-46s median %.2f ms (includes waiting for the display's next frame)\n",
                "capture -> card 01 painted", [&] {
                    std::sort(toPainted.begin(), toPainted.end());
                    return toPainted[toPainted.size() / 2];
                }());
    window.unset_child();
    return 0;
}
