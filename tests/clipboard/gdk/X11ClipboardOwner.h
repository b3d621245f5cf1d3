#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace meridavolt::testing {

// Another X client that owns CLIPBOARD with the targets it is given, on its
// own connection and thread: the application as other programs see it. A
// target mapped to silentTarget is announced but never answered. Records the
// targets asked for.
class X11ClipboardOwner {
public:
    using Targets = std::map<std::string, std::string>;
    static constexpr const char* silentTarget = "\x01silent";

    explicit X11ClipboardOwner(Targets targets) : targets_(std::move(targets))
    {
        display_ = XOpenDisplay(nullptr);
        if (!display_) throw std::runtime_error("no display");
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
        Atom clipboard = XInternAtom(display_, "CLIPBOARD", False);
        // A real timestamp, as well-behaved owners use: a property change gives one.
        XSelectInput(display_, window_, PropertyChangeMask);
        XChangeProperty(display_, window_, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>("owner"), 5);
        XEvent event;
        XWindowEvent(display_, window_, PropertyChangeMask, &event);
        XSetSelectionOwner(display_, clipboard, window_, event.xproperty.time);
        XSync(display_, False);
        thread_ = std::thread([this] { serve(); });
    }

    X11ClipboardOwner(const X11ClipboardOwner&) = delete;
    X11ClipboardOwner& operator=(const X11ClipboardOwner&) = delete;
    ~X11ClipboardOwner()
    {
        stop_ = true;
        thread_.join();
        XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }

    std::vector<std::string> requested() const
    {
        std::lock_guard lock(mutex_);
        return requested_;
    }

    // The targets asked for by any window but `window`.
    std::vector<std::string> requestedByOthersThan(unsigned long window) const
    {
        std::lock_guard lock(mutex_);
        std::vector<std::string> targets;
        for (std::size_t i = 0; i < requested_.size(); ++i) {
            if (requestors_[i] != window) targets.push_back(requested_[i]);
        }
        return targets;
    }

private:
    void serve()
    {
        while (!stop_) {
            pollfd descriptor{ConnectionNumber(display_), POLLIN, 0};
            if (XPending(display_) == 0) ::poll(&descriptor, 1, 20);
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == SelectionRequest) answer(event.xselectionrequest);
            }
        }
    }

    void answer(const XSelectionRequestEvent& request)
    {
        char* rawName = XGetAtomName(display_, request.target);
        std::string target = rawName ? rawName : "";
        if (rawName) XFree(rawName);
        {
            std::lock_guard lock(mutex_);
            requested_.push_back(target);
            requestors_.push_back(request.requestor);
        }
        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.requestor = request.requestor;
        reply.selection = request.selection;
        reply.target = request.target;
        reply.time = request.time;
        reply.property = None;
        Atom property = request.property != None ? request.property : request.target;
        if (target == "TARGETS") {
            std::vector<Atom> atoms{XInternAtom(display_, "TARGETS", False)};
            for (const auto& offered : targets_) atoms.push_back(XInternAtom(display_, offered.first.c_str(), False));
            XChangeProperty(display_, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(atoms.data()), static_cast<int>(atoms.size()));
            reply.property = property;
        } else if (auto found = targets_.find(target); found != targets_.end()) {
            if (found->second == silentTarget) return;
            XChangeProperty(display_, request.requestor, property, request.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(found->second.data()),
                            static_cast<int>(found->second.size()));
            reply.property = property;
        }
        XSendEvent(display_, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
        XFlush(display_);
    }

    Targets targets_;
    Display* display_ = nullptr;
    Window window_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<std::string> requested_;
    std::vector<unsigned long> requestors_;
};

}  // namespace meridavolt::testing
