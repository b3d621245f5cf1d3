#include "DesktopProbe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <gio/gio.h>

#include <chrono>
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
    // Regions of window shapes need XFixes 2; a client must name its version first.
    int eventBase = 0;
    int errorBase = 0;
    int major = 2;
    int minor = 0;
    if (!XFixesQueryExtension(x_->display, &eventBase, &errorBase) || !XFixesQueryVersion(x_->display, &major, &minor))
        throw std::runtime_error("the X display has no XFixes");
}

DesktopProbe::~DesktopProbe()
{
    XCloseDisplay(x_->display);
    delete x_;
}

struct DesktopProbe::Placement {
    int x = 0;
    int y = 0;
    Size size;
    bool viewable = false;
    bool overrideRedirect = false;
};

std::optional<DesktopProbe::Placement> DesktopProbe::placement(WindowID window)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(x_->display, window, &attributes)) return std::nullopt;
    return Placement{attributes.x, attributes.y, {attributes.width, attributes.height},
                     attributes.map_state == IsViewable, attributes.override_redirect == True};
}

bool DesktopProbe::showsSomething(WindowID window)
{
    // A window that never had a shape set has its whole rectangle as one.
    const XserverRegion shape = XFixesCreateRegionFromWindow(x_->display, window, WindowRegionBounding);
    int rectangles = 0;
    if (XRectangle* parts = XFixesFetchRegion(x_->display, shape, &rectangles)) XFree(parts);
    XFixesDestroyRegion(x_->display, shape);
    return rectangles > 0;
}

std::set<DesktopProbe::WindowID> DesktopProbe::seenWindows(bool overrideRedirect)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::set<WindowID> found;
    if (!XQueryTree(x_->display, DefaultRootWindow(x_->display), &root, &parent, &children, &count)) return found;
    for (unsigned i = 0; i < count; ++i) {
        const auto where = placement(children[i]);
        if (where && where->viewable && where->overrideRedirect == overrideRedirect && showsSomething(children[i]))
            found.insert(children[i]);
    }
    if (children) XFree(children);
    return found;
}

std::optional<pid_t> DesktopProbe::processOf(WindowID window)
{
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::optional<pid_t> pid;
    if (XGetWindowProperty(x_->display, window, XInternAtom(x_->display, "_NET_WM_PID", False), 0, 1, False,
                           XA_CARDINAL, &type, &format, &items, &after, &data) == Success &&
        data && items == 1)
        pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return pid;
}

DesktopProbe::Identity DesktopProbe::identity(WindowID window)
{
    Display* display = x_->display;
    Identity identity;
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(display, "UTF8_STRING", False), &type, &format, &items, &after,
                           &data) == Success &&
        data && format == 8)
        identity.title.assign(reinterpret_cast<char*>(data), items);
    if (data) XFree(data);
    data = nullptr;
    char* name = nullptr;
    if (identity.title.empty() && XFetchName(display, window, &name) && name) identity.title = name;
    if (name) XFree(name);

    Window owner = 0;
    if (XGetTransientForHint(display, window, &owner)) identity.transientFor = owner;

    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), 0, 1, False,
                           XA_ATOM, &type, &format, &items, &after, &data) == Success &&
        data && items == 1) {
        if (char* typeName = XGetAtomName(display, *reinterpret_cast<Atom*>(data))) {
            identity.type = typeName;
            XFree(typeName);
        }
    }
    if (data) XFree(data);
    return identity;
}

std::optional<DesktopProbe::WindowID> DesktopProbe::findWindow(pid_t pid, const Criteria& criteria)
{
    std::optional<WindowID> match;
    for (WindowID window : seenWindows(false)) {
        if (processOf(window) != pid) continue;
        const Identity found = identity(window);
        if (criteria.title && found.title != *criteria.title) continue;
        if (criteria.transientFor && found.transientFor != *criteria.transientFor) continue;
        if (criteria.type && found.type != *criteria.type) continue;
        if (match) return std::nullopt;
        match = window;
    }
    return match;
}

std::optional<DesktopProbe::WindowID> DesktopProbe::mainWindow(pid_t pid)
{
    return findWindow(pid, {.title = "MERIDAVOLT", .transientFor = 0, .type = normalType});
}

std::set<DesktopProbe::WindowID> DesktopProbe::windowsTransientFor(WindowID owner)
{
    std::set<WindowID> found;
    for (WindowID window : seenWindows(false))
        if (identity(window).transientFor == owner) found.insert(window);
    return found;
}

std::optional<DesktopProbe::WindowID> DesktopProbe::popupOver(WindowID owner)
{
    const auto under = placement(owner);
    const auto process = processOf(owner);
    if (!under || !under->viewable || !process) return std::nullopt;
    auto overlaps = [&](const Placement& above) {
        return above.x < under->x + under->size.width && under->x < above.x + above.size.width &&
               above.y < under->y + under->size.height && under->y < above.y + above.size.height;
    };
    std::optional<WindowID> match;
    for (WindowID window : seenWindows(true)) {
        const auto where = placement(window);
        if (!where || !overlaps(*where) || processOf(window) != process) continue;
        if (match) return std::nullopt;
        match = window;
    }
    return match;
}

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
