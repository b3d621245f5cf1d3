#pragma once

#include <gio/gio.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace meridavolt::testing {

// An X server of this test process's own. The clipboard is one per display:
// tests that run in parallel on a shared display would take it from each
// other. Start it before GTK opens its display; it stops with the process.
class PrivateXServer {
public:
    PrivateXServer()
    {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) throw std::runtime_error("pipe");
        GSubprocessLauncher* launcher = g_subprocess_launcher_new(G_SUBPROCESS_FLAGS_STDERR_SILENCE);
        g_subprocess_launcher_take_fd(launcher, pipeEnds[1], 3);
        GError* error = nullptr;
        process_ = g_subprocess_launcher_spawn(launcher, &error, "Xvfb", "-displayfd", "3", "-nolisten", "tcp",
                                               "-screen", "0", "1024x768x24", nullptr);
        g_object_unref(launcher);
        if (!process_) {
            ::close(pipeEnds[0]);
            throw std::runtime_error(error->message);
        }
        // Xvfb writes the display number it took once it is ready.
        std::string number;
        char c = 0;
        while (::read(pipeEnds[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(pipeEnds[0]);
        if (number.empty()) throw std::runtime_error("Xvfb did not start");
        ::setenv("DISPLAY", (":" + number).c_str(), 1);
        ::unsetenv("WAYLAND_DISPLAY");
        ::setenv("GDK_BACKEND", "x11", 1);
    }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;
    ~PrivateXServer()
    {
        g_subprocess_force_exit(process_);
        g_subprocess_wait(process_, nullptr, nullptr);
        g_object_unref(process_);
    }

    // Starts the server once for the process and initialises GTK on it.
    static void startWithGtk(void (*initialiseGtk)())
    {
        static PrivateXServer server;
        static const bool initialised = (initialiseGtk(), true);
        (void)initialised;
    }

private:
    GSubprocess* process_ = nullptr;
};

}  // namespace meridavolt::testing
