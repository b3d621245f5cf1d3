#pragma once

#include "support/MainLoopWait.h"

#include <gio/gio.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace meridavolt::testing {

// xclip as another application: owns the clipboard with one type read from a
// file until someone else takes it, or until this object goes away.
class XclipCopy {
public:
    XclipCopy(const std::filesystem::path& file, const std::string& type)
    {
        GError* error = nullptr;
        process_ = g_subprocess_new(G_SUBPROCESS_FLAGS_STDOUT_SILENCE, &error, "xclip", "-quiet", "-selection",
                                    "clipboard", "-t", type.c_str(), "-i", file.c_str(), nullptr);
        if (!process_) throw std::runtime_error(error->message);
    }
    ~XclipCopy()
    {
        g_subprocess_force_exit(process_);
        g_subprocess_wait(process_, nullptr, nullptr);
        g_object_unref(process_);
    }

private:
    GSubprocess* process_ = nullptr;
};

// What another application reads from the clipboard as `type`. The main loop
// runs meanwhile, so that this process can answer when it owns the clipboard.
inline std::optional<std::string> pasteWithXclip(const std::string& type = "UTF8_STRING")
{
    GSubprocess* process = g_subprocess_new(G_SUBPROCESS_FLAGS_STDOUT_PIPE, nullptr, "xclip", "-o", "-selection",
                                            "clipboard", "-t", type.c_str(), nullptr);
    if (!process) return std::nullopt;
    struct Outcome {
        bool finished = false;
        std::optional<std::string> bytes;
    };
    // On the heap: should xclip hang past every wait, the late callback still has it.
    auto* outcome = new Outcome;
    g_subprocess_communicate_async(
        process, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto* out = static_cast<Outcome*>(data);
            GBytes* stdoutBytes = nullptr;
            if (g_subprocess_communicate_finish(G_SUBPROCESS(source), result, &stdoutBytes, nullptr, nullptr) &&
                stdoutBytes && g_subprocess_get_if_exited(G_SUBPROCESS(source)) &&
                g_subprocess_get_exit_status(G_SUBPROCESS(source)) == 0) {
                gsize size = 0;
                auto* data = static_cast<const char*>(g_bytes_get_data(stdoutBytes, &size));
                out->bytes = std::string(data, size);
            }
            if (stdoutBytes) g_bytes_unref(stdoutBytes);
            out->finished = true;
        },
        outcome);
    waitUntil([&] { return outcome->finished; }, std::chrono::seconds(10));
    if (!outcome->finished) g_subprocess_force_exit(process);
    waitUntil([&] { return outcome->finished; }, std::chrono::seconds(2));
    g_object_unref(process);
    if (!outcome->finished) return std::nullopt;
    auto bytes = std::move(outcome->bytes);
    delete outcome;
    return bytes;
}

}  // namespace meridavolt::testing
