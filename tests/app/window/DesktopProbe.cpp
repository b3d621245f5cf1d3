#include "DesktopProbe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gio/gio.h>

#include <chrono>
#include <functional>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <thread>
#include <utility>

namespace meridavolt::testing {

namespace {

constexpr const char* applicationBusName = "com.pellowright.meridavolt";
constexpr const char* applicationObjectPath = "/com/pellowright/meridavolt";

GDBusConnection* connectTo(const std::string& address)
{
    GError* error = nullptr;
    auto flags = static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                   G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    GDBusConnection* connection = g_dbus_connection_new_for_address_sync(address.c_str(), flags, nullptr, nullptr,
                                                                         &error);
    if (!connection) {
        std::string message = error ? error->message : "no connection";
        g_clear_error(&error);
        throw std::runtime_error(message);
    }
    return connection;
}

GVariant* call(GDBusConnection* connection, const char* path, const char* interface, const char* method,
               GVariant* parameters, const char* replyType)
{
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(connection, applicationBusName, path, interface, method, parameters,
                                                  G_VARIANT_TYPE(replyType), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr,
                                                  &error);
    g_clear_error(&error);
    return reply;
}

// The menu bar as the application exports it on the bus: every menu by its
// group and number, the menu bar itself being (0, 0).
using MenuID = std::pair<guint32, guint32>;
constexpr MenuID menuBarID{0, 0};

struct ExportedItem {
    std::string label;
    std::optional<MenuID> section;
    std::optional<MenuID> submenu;
};
using ExportedMenus = std::map<MenuID, std::vector<ExportedItem>>;

std::optional<MenuID> linkOf(GVariant* item, const char* link)
{
    MenuID target;
    if (!g_variant_lookup(item, link, "(uu)", &target.first, &target.second)) return std::nullopt;
    return target;
}

ExportedMenus exportedMenus(const std::string& busAddress)
{
    GDBusConnection* connection = connectTo(busAddress);
    const std::string path = std::string(applicationObjectPath) + "/menus/menubar";
    GVariantBuilder groups;
    g_variant_builder_init(&groups, G_VARIANT_TYPE("au"));
    for (guint32 group = 0; group < 16; ++group) g_variant_builder_add(&groups, "u", group);
    GVariant* reply = call(connection, path.c_str(), "org.gtk.Menus", "Start", g_variant_new("(au)", &groups),
                           "(a(uuaa{sv}))");
    ExportedMenus exported;
    if (reply) {
        GVariantIter* menus = nullptr;
        g_variant_get(reply, "(a(uuaa{sv}))", &menus);
        MenuID id;
        GVariantIter* items = nullptr;
        while (g_variant_iter_next(menus, "(uuaa{sv})", &id.first, &id.second, &items)) {
            std::vector<ExportedItem>& entries = exported[id];
            GVariant* item = nullptr;
            while ((item = g_variant_iter_next_value(items))) {
                const char* label = nullptr;
                g_variant_lookup(item, "label", "&s", &label);
                entries.push_back({label ? label : "", linkOf(item, ":section"), linkOf(item, ":submenu")});
                g_variant_unref(item);
            }
            g_variant_iter_free(items);
        }
        g_variant_iter_free(menus);
        g_variant_unref(reply);
    }
    g_object_unref(connection);
    return exported;
}

// A window can vanish between finding it and looking at it (its process
// ended): the request then fails quietly instead of ending the test program.
int ignoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

struct DesktopProbe::Connection {
    Display* display = nullptr;
};

DesktopProbe::DesktopProbe() : x_(new Connection)
{
    // The display may refuse a connection for a moment while other tests' processes come and go.
    for (int attempt = 0; attempt < 50 && !x_->display; ++attempt) {
        x_->display = XOpenDisplay(nullptr);
        if (!x_->display) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (!x_->display) throw std::runtime_error("no X display (run under xvfb-run)");
    XSetErrorHandler(ignoreError);
}

DesktopProbe::~DesktopProbe()
{
    XCloseDisplay(x_->display);
    delete x_;
}

std::set<DesktopProbe::WindowID> DesktopProbe::windowsOf(pid_t pid, bool shownOnly)
{
    Display* display = x_->display;
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::set<WindowID> found;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return found;
    for (unsigned i = 0; i < count; ++i) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items,
                               &after, &data) == Success &&
            data && items == 1) {
            const auto owner = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
            if (owner == pid && (!shownOnly || isShown(children[i]))) found.insert(children[i]);
        }
        if (data) XFree(data);
    }
    if (children) XFree(children);
    return found;
}

std::set<DesktopProbe::WindowID> DesktopProbe::shownWindows(pid_t pid) { return windowsOf(pid, true); }

std::set<DesktopProbe::WindowID> DesktopProbe::topLevelWindows(const std::function<bool(WindowID)>& keep)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::set<WindowID> found;
    if (!XQueryTree(x_->display, DefaultRootWindow(x_->display), &root, &parent, &children, &count)) return found;
    for (unsigned i = 0; i < count; ++i)
        if (keep(children[i])) found.insert(children[i]);
    if (children) XFree(children);
    return found;
}

std::set<DesktopProbe::WindowID> DesktopProbe::shownWindowsOnDisplay()
{
    return topLevelWindows([this](WindowID window) {
        // GDK keeps 1 x 1 helper windows of its own, mapped or off screen.
        const Size extent = size(window);
        return isShown(window) && extent.width > 1 && extent.height > 1;
    });
}

std::set<DesktopProbe::WindowID> DesktopProbe::shownWindowsOfClass(const std::string& name)
{
    return topLevelWindows([this, &name](WindowID window) {
        XClassHint hint{};
        if (!XGetClassHint(x_->display, window, &hint)) return false;
        const bool named = hint.res_name && name == hint.res_name;
        if (hint.res_name) XFree(hint.res_name);
        if (hint.res_class) XFree(hint.res_class);
        return named && isShown(window);
    });
}

std::set<DesktopProbe::WindowID> DesktopProbe::allWindows(pid_t pid) { return windowsOf(pid, false); }

bool DesktopProbe::isShown(WindowID window)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(x_->display, window, &attributes)) return false;
    return attributes.map_state == IsViewable;
}

DesktopProbe::Size DesktopProbe::size(WindowID window)
{
    XWindowAttributes attributes{};
    XGetWindowAttributes(x_->display, window, &attributes);
    return {attributes.width, attributes.height};
}

DesktopProbe::Size DesktopProbe::minimumSize(WindowID window)
{
    XSizeHints hints{};
    long supplied = 0;
    if (!XGetWMNormalHints(x_->display, window, &hints, &supplied) || !(hints.flags & PMinSize)) return {};
    return {hints.min_width, hints.min_height};
}

DesktopProbe::Color DesktopProbe::pixel(WindowID window, int x, int y)
{
    XImage* image = XGetImage(x_->display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return {-1, -1, -1};
    const unsigned long value = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return {static_cast<int>((value >> 16) & 0xff), static_cast<int>((value >> 8) & 0xff),
            static_cast<int>(value & 0xff)};
}

void DesktopProbe::requestClose(WindowID window)
{
    Display* display = x_->display;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

bool DesktopProbe::pressKeys(WindowID window, const std::string& keys)
{
    const std::string command =
        "xdotool windowfocus --sync " + std::to_string(window) + " key --clearmodifiers " + keys + " 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

std::set<std::string> DesktopProbe::menuLabels(const std::string& busAddress)
{
    std::set<std::string> labels;
    for (const auto& [where, items] : exportedMenus(busAddress)) {
        for (const auto& item : items) {
            if (!item.label.empty()) labels.insert(item.label);
        }
    }
    return labels;
}

std::vector<std::vector<std::string>> DesktopProbe::menuSections(const std::string& busAddress,
                                                                 const std::string& title)
{
    const ExportedMenus menus = exportedMenus(busAddress);
    auto itemsOf = [&](const MenuID& id) {
        auto found = menus.find(id);
        return found == menus.end() ? std::vector<ExportedItem>{} : found->second;
    };
    std::vector<std::vector<std::string>> sections;
    for (const auto& top : itemsOf(menuBarID)) {
        if (top.label != title || !top.submenu) continue;
        for (const auto& item : itemsOf(*top.submenu)) {
            if (!item.section) {
                sections.push_back({item.label});
                continue;
            }
            std::vector<std::string>& labels = sections.emplace_back();
            for (const auto& inner : itemsOf(*item.section)) labels.push_back(inner.label);
        }
    }
    return sections;
}

void DesktopProbe::activateAction(const std::string& busAddress, const std::string& action)
{
    GDBusConnection* connection = connectTo(busAddress);
    GVariant* reply = call(connection, applicationObjectPath, "org.gtk.Actions", "Activate",
                           g_variant_new("(s@av@a{sv})", action.c_str(), g_variant_new_array(G_VARIANT_TYPE_VARIANT, nullptr, 0),
                                         g_variant_new_array(G_VARIANT_TYPE("{sv}"), nullptr, 0)),
                           "()");
    if (reply) g_variant_unref(reply);
    g_object_unref(connection);
}

std::optional<bool> DesktopProbe::actionEnabled(const std::string& busAddress, const std::string& action)
{
    GDBusConnection* connection = connectTo(busAddress);
    GVariant* reply = call(connection, applicationObjectPath, "org.gtk.Actions", "Describe",
                           g_variant_new("(s)", action.c_str()), "((bgav))");
    std::optional<bool> enabled;
    if (reply) {
        gboolean value = FALSE;
        g_variant_get(reply, "((bg@av))", &value, nullptr, nullptr);
        enabled = value;
        g_variant_unref(reply);
    }
    g_object_unref(connection);
    return enabled;
}

}  // namespace meridavolt::testing
