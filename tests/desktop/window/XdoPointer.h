#pragma once

#include <gtkmm/popover.h>
#include <gtkmm/widget.h>
#include <gtkmm/window.h>

#include <optional>
#include <string>
#include <utility>

namespace meridavolt::desktoptest {

// The real X pointer and keyboard, driven with xdotool, aimed at widgets of a
// window or of a popover (a surface of its own). Each step lets the main loop
// handle the events it caused.
class XdoPointer {
public:
    explicit XdoPointer(Gtk::Window& window) : surface_(window) {}
    explicit XdoPointer(Gtk::Popover& popover) : surface_(popover) {}

    // Moves to a point of `widget` (its centre by default).
    XdoPointer& moveTo(Gtk::Widget& widget, std::optional<double> x = std::nullopt,
                       std::optional<double> y = std::nullopt);
    // Moves there from the centre of `from` in small steps, as a hand does during a drag.
    XdoPointer& glideTo(Gtk::Widget& from, Gtk::Widget& to, std::optional<double> x = std::nullopt,
                        std::optional<double> y = std::nullopt, int steps = 12);

    XdoPointer& press(int button = 1) { return step("mousedown " + std::to_string(button)); }
    XdoPointer& release(int button = 1) { return step("mouseup " + std::to_string(button)); }
    XdoPointer& click(int button = 1) { return step("click " + std::to_string(button)); }
    XdoPointer& keyDown(const std::string& key) { return step("keydown " + key); }
    XdoPointer& keyUp(const std::string& key) { return step("keyup " + key); }
    // Presses and releases a combination ("ctrl+comma") in one go, as a quick
    // hand does: keys held down longer start the server's key repeat.
    XdoPointer& type(const std::string& combination) { return step("key " + combination); }

    // The X window id of the window or popover, for tools that take one.
    std::string windowID();

private:
    XdoPointer& step(const std::string& arguments);
    std::pair<double, double> windowPoint(Gtk::Widget& widget, double x, double y);
    XdoPointer& moveToWindowPoint(double x, double y);

    // The window or the popover: a widget with a surface of its own.
    Gtk::Widget& surface_;
};

// Saves a picture of the window as PNG.
void saveScreenshot(Gtk::Window& window, const std::string& path);

}  // namespace meridavolt::desktoptest
