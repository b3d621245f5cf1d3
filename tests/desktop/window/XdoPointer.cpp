#include "XdoPointer.h"

#include "support/MainLoopWait.h"

#include <gdk/x11/gdkx.h>
#include <glib.h>

namespace meridavolt::desktoptest {

namespace {

// A widget just built has no place until the next layout: aimed at before,
// the pointer would hit whatever lies at the corner of its parent.
void waitUntilPlaced(Gtk::Widget& widget)
{
    testing::waitUntil([&] { return widget.get_mapped() && widget.get_width() > 0 && widget.get_height() > 0; });
}

void run(const std::string& command)
{
    // The server first does all this process asked (a window hidden, the
    // focus moved): the pointer and keys then meet the windows the program
    // shows now, not the ones it just took away.
    gdk_display_sync(gdk_display_get_default());
    g_spawn_command_line_sync(command.c_str(), nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

XdoPointer& XdoPointer::moveTo(Gtk::Widget& widget, std::optional<double> x, std::optional<double> y)
{
    waitUntilPlaced(widget);
    const auto [wx, wy] = windowPoint(widget, x.value_or(widget.get_width() / 2.0), y.value_or(widget.get_height() / 2.0));
    return moveToWindowPoint(wx, wy);
}

XdoPointer& XdoPointer::glideTo(Gtk::Widget& from, Gtk::Widget& to, std::optional<double> x,
                                std::optional<double> y, int steps)
{
    waitUntilPlaced(from);
    waitUntilPlaced(to);
    // The path is fixed before the first step: a drop may rebuild both widgets on the way.
    const auto [fx, fy] = windowPoint(from, from.get_width() / 2.0, from.get_height() / 2.0);
    const auto [tx, ty] = windowPoint(to, x.value_or(to.get_width() / 2.0), y.value_or(to.get_height() / 2.0));
    for (int i = 1; i <= steps; ++i) {
        moveToWindowPoint(fx + (tx - fx) * i / steps, fy + (ty - fy) * i / steps);
        testing::runMainLoopFor(std::chrono::milliseconds(30));
    }
    return *this;
}

std::pair<double, double> XdoPointer::windowPoint(Gtk::Widget& widget, double x, double y)
{
    double wx = 0, wy = 0;
    widget.translate_coordinates(surface_, x, y, wx, wy);
    return {wx, wy};
}

XdoPointer& XdoPointer::moveToWindowPoint(double x, double y)
{
    // The surface may have a margin (client-side shadow) before its widgets.
    double sx = 0, sy = 0;
    gtk_native_get_surface_transform(GTK_NATIVE(surface_.gobj()), &sx, &sy);
    run("xdotool mousemove --window " + windowID() + " " + std::to_string(int(x + sx)) + " " +
        std::to_string(int(y + sy)));
    return *this;
}

std::string XdoPointer::windowID()
{
    return std::to_string(gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(surface_.gobj()))));
}

XdoPointer& XdoPointer::step(const std::string& arguments)
{
    run("xdotool " + arguments);
    testing::runMainLoopFor(std::chrono::milliseconds(60));
    return *this;
}

void saveScreenshot(Gtk::Window& window, const std::string& path)
{
    run("import -window " + XdoPointer(window).windowID() + " " + path);
}

}  // namespace meridavolt::desktoptest
