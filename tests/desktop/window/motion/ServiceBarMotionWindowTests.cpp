// The service bar's motion, sampled frame by frame on the real frame clock.
// These tests run alone: beside others, a busy machine may skip every frame
// of an easing that lasts a tenth of a second.
#include "desktop/window/DesktopWindowFixture.h"
#include "desktop/window/DrawnOpacity.h"

#include <gtkmm/settings.h>

#include <algorithm>
#include <cmath>

using namespace meridavolt;
using namespace meridavolt::desktoptest;
using meridavolt::testing::runMainLoopFor;
using meridavolt::testing::waitUntil;
using namespace std::chrono_literals;

namespace {

// The opacities a widget is drawn with, frame by frame, while the pointer's
// button is down on it.
std::vector<double> opacitiesWhilePressed(XdoPointer pointer, Gtk::Widget& widget)
{
    std::vector<double> opacities;
    pointer.moveTo(widget);
    const auto tick = widget.add_tick_callback([&](const Glib::RefPtr<Gdk::FrameClock>&) {
        opacities.push_back(drawnOpacity(widget));
        return true;
    });
    pointer.press();
    runMainLoopFor(400ms);
    widget.remove_tick_callback(tick);
    pointer.release();
    runMainLoopFor(300ms);
    return opacities;
}

// A busy machine may draw only one frame of the 90 ms easing, late in it:
// any frame between the two looks proves it was not a jump.
bool easesIn(const std::vector<double>& opacities)
{
    const bool between = std::any_of(opacities.begin(), opacities.end(), [](double o) { return o > 0.66 && o < 0.99; });
    return between && !opacities.empty() && std::abs(opacities.back() - 0.65) < 0.01;
}

}  // namespace

TEST_F(DesktopWindowTest, ThePressDimsEveryTileGraduallyTheSelectedOneToo)
{
    start();
    ASSERT_TRUE(clickOpen("two"));
    runMainLoopFor(300ms);
    for (const char* id : {"two", "one"}) {
        auto opacities = opacitiesWhilePressed(pointer(), serviceTile(id));
        std::string drawn;
        for (double opacity : opacities) drawn += std::to_string(opacity) + " ";
        EXPECT_TRUE(easesIn(opacities)) << id << ": " << drawn;
    }
}

namespace {

// Samples a value once per frame of `widget` from just before `action` until
// a while after it.
std::vector<double> perFrame(Gtk::Widget& widget, const std::function<double()>& sample,
                             const std::function<void()>& action)
{
    std::vector<double> samples{sample()};
    const auto tick = widget.add_tick_callback([&](const Glib::RefPtr<Gdk::FrameClock>&) {
        samples.push_back(sample());
        return true;
    });
    action();
    runMainLoopFor(400ms);
    widget.remove_tick_callback(tick);
    return samples;
}

bool anyStrictlyBetween(const std::vector<double>& values, double low, double high)
{
    return std::any_of(values.begin(), values.end(), [&](double v) { return v > low + 0.5 && v < high - 0.5; });
}

// The highlight's top once it settled on the first service chosen, then per
// frame while the second is chosen.
struct HighlightMove {
    double from;
    std::vector<double> ys;
};

HighlightMove highlightMoving(ServiceList& list, const std::function<void(const std::string&)>& choose)
{
    choose("one");
    EXPECT_TRUE(waitUntil([&] { return list.highlightFrame().has_value(); }));
    runMainLoopFor(200ms);
    const double from = list.highlightFrame()->y;
    return {from, perFrame(list, [&] { return list.highlightFrame()->y; }, [&] { choose("three"); })};
}

}  // namespace

TEST_F(DesktopWindowTest, TheHighlightSlidesFromTheOldTileToTheNewOne)
{
    start();
    auto& list = view_->serviceBar().list();
    const auto [from, ys] = highlightMoving(list, [&](const std::string& id) { choose(id); });
    const double to = serviceTile("three").get_parent()->get_allocation().get_y();
    ASSERT_GT(to, from + 100);
    EXPECT_TRUE(anyStrictlyBetween(ys, from, to)) << ys.size() << " frames";
    EXPECT_DOUBLE_EQ(ys.back(), to);
    EXPECT_DOUBLE_EQ(list.highlightFrame()->height, serviceTile("three").get_parent()->get_height());
}

TEST_F(DesktopWindowTest, ADropGlidesTheButtonsToTheirNewPlaces)
{
    start();
    auto& list = view_->serviceBar().list();
    auto& three = serviceTile("three");
    auto& one = serviceTile("one");
    const double step = three.get_parent()->get_allocation().get_y() - one.get_parent()->get_allocation().get_y();
    pointer().keyDown("ctrl").moveTo(three).press().glideTo(three, one, std::nullopt, 4);
    const auto offsets = perFrame(list, [&] { return list.drawnOffset("three").y; },
                                  [&] { pointer().release().keyUp("ctrl"); });
    ASSERT_EQ(libraryIDs(), (std::vector<std::string>{"three", "one", "two"}));
    // From where it was, two places down, to its new place at the top.
    std::string drawn;
    for (double o : offsets) drawn += std::to_string(o) + " ";
    EXPECT_TRUE(anyStrictlyBetween(offsets, 0, step)) << drawn;
    EXPECT_EQ(offsets.back(), 0);
    EXPECT_TRUE(std::none_of(offsets.begin(), offsets.end(), [&](double y) { return y > step * 2 + 0.5; }));
}

TEST_F(DesktopWindowTest, WithAnimationsOffTheHighlightAndTheButtonsJump)
{
    auto settings = Gtk::Settings::get_default();
    settings->property_gtk_enable_animations() = false;
    start();
    auto& list = view_->serviceBar().list();
    const auto [from, ys] = highlightMoving(list, [&](const std::string& id) { choose(id); });
    const double to = serviceTile("three").get_parent()->get_allocation().get_y();
    EXPECT_FALSE(anyStrictlyBetween(ys, from, to));
    EXPECT_DOUBLE_EQ(ys.back(), to);

    auto& three = serviceTile("three");
    auto& one = serviceTile("one");
    pointer().keyDown("ctrl").moveTo(three).press().glideTo(three, one, std::nullopt, 4);
    const auto offsets = perFrame(list, [&] { return list.drawnOffset("three").y; },
                                  [&] { pointer().release().keyUp("ctrl"); });
    settings->property_gtk_enable_animations() = true;
    ASSERT_EQ(libraryIDs(), (std::vector<std::string>{"three", "one", "two"}));
    EXPECT_TRUE(std::all_of(offsets.begin(), offsets.end(), [](double y) { return y == 0; }));
}
