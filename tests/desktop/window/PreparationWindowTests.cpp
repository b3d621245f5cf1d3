// Once the window is drawn, the memory panel is shown once where nobody sees
// it, so that its first opening is as fast as the later ones. A window hidden
// meanwhile ends that showing, and its next showing prepares the panel again.
#include "DesktopWindowFixture.h"

#include <gdkmm/frameclock.h>

namespace meridavolt::desktoptest {
namespace {

using namespace std::chrono_literals;
using meridavolt::testing::runMainLoopFor;
using meridavolt::testing::waitUntil;
using Steady = std::chrono::steady_clock;

// Notes when a frame clock last went through a frame, while it lives.
class FrameWatch {
public:
    explicit FrameWatch(GdkFrameClock* clock) : clock_(clock)
    {
        handler_ = g_signal_connect(clock_, "after-paint", G_CALLBACK(+[](GdkFrameClock*, gpointer last) {
                                        *static_cast<Steady::time_point*>(last) = Steady::now();
                                    }),
                                    &last_);
    }
    ~FrameWatch() { g_signal_handler_disconnect(clock_, handler_); }
    FrameWatch(const FrameWatch&) = delete;
    FrameWatch& operator=(const FrameWatch&) = delete;

    // Whether the clock goes through no frame for `pause`, within some seconds.
    bool goesQuietFor(std::chrono::milliseconds pause)
    {
        return waitUntil([&] { return Steady::now() - last_ > pause; }, 10s);
    }

private:
    GdkFrameClock* clock_;
    gulong handler_ = 0;
    Steady::time_point last_ = Steady::now();
};

TEST_F(DesktopWindowTest, AWindowHiddenWhileItsMemoryPanelIsPreparedPreparesItAgainWhenShownAndThenAsksForNoFrames)
{
    open();
    ClipboardPopover& panel = view_->toolbar().clipboardPopover();
    // Shown without the user asking for it: the preparation's unseen showing.
    ASSERT_TRUE(waitUntil([&] { return panel.get_visible(); }));
    ASSERT_FALSE(model_->showingClipboard());
    // The clock that paints the panel's frames, kept: hiding takes the panel's surface away.
    const Glib::RefPtr<Gdk::FrameClock> clock = panel.get_frame_clock();

    window_->set_visible(false);
    EXPECT_FALSE(panel.get_visible()) << "the unseen showing outlived its window";
    // The window stays hidden a moment, long enough for the toolkit to hear of it.
    runMainLoopFor(300ms);

    window_->present();
    EXPECT_TRUE(waitUntil([&] { return panel.get_visible(); })) << "the panel was not prepared again";
    EXPECT_TRUE(waitUntil([&] { return !panel.get_visible(); })) << "the unseen showing did not end";
    EXPECT_FALSE(model_->showingClipboard());
    // Nothing moves in the window: once the panel is drawn, no frame is asked for.
    EXPECT_TRUE(FrameWatch(clock->gobj()).goesQuietFor(300ms)) << "frames went on after the preparation";
}

}  // namespace
}  // namespace meridavolt::desktoptest
