#pragma once

#include "support/MainLoopWait.h"

#include <gio/gio.h>

#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace meridavolt {

// The helper program (tests/clipboard/window/helper) as another application,
// with the lines it printed so far.
class DragHelper {
public:
    explicit DragHelper(const std::vector<std::string>& arguments)
    {
        std::vector<const char*> argv{MEMORY_DRAG_HELPER};
        for (const auto& argument : arguments) argv.push_back(argument.c_str());
        argv.push_back(nullptr);
        process_ = g_subprocess_newv(argv.data(), G_SUBPROCESS_FLAGS_STDOUT_PIPE, nullptr);
        if (!process_) throw std::runtime_error("the drag helper did not start");
        lines_ = g_data_input_stream_new(g_subprocess_get_stdout_pipe(process_));
        readLine();
    }
    ~DragHelper()
    {
        g_cancellable_cancel(cancellable_);
        g_subprocess_force_exit(process_);
        g_subprocess_wait(process_, nullptr, nullptr);
        g_object_unref(lines_);
        g_object_unref(process_);
        g_object_unref(cancellable_);
    }

    // The rest of the last line starting with the word `prefix`, once one came.
    std::optional<std::string> line(const std::string& prefix,
                                    std::chrono::milliseconds timeout = std::chrono::seconds(10))
    {
        std::optional<std::string> found;
        testing::waitUntil(
            [&] {
                for (const auto& line : *received_) {
                    if (line == prefix) found = "";
                    if (line.rfind(prefix + " ", 0) == 0) found = line.substr(prefix.size() + 1);
                }
                return found.has_value();
            },
            timeout);
        return found;
    }

    // Everything it said, for failure messages.
    std::string transcript() const
    {
        std::string all;
        for (const auto& line : *received_) all += line + "\n";
        return all;
    }

    std::string windowID()
    {
        if (windowID_.empty()) windowID_ = line("window").value_or("0");
        return windowID_;
    }

private:
    using Lines = std::shared_ptr<std::vector<std::string>>;

    void readLine() { g_data_input_stream_read_line_async(lines_, G_PRIORITY_DEFAULT, cancellable_, lineArrived, new Lines(received_)); }

    // Each line read arms the next read, until the pipe ends or the read is cancelled.
    static void lineArrived(GObject* source, GAsyncResult* result, gpointer data)
    {
        std::unique_ptr<Lines> received(static_cast<Lines*>(data));
        gchar* text = g_data_input_stream_read_line_finish(G_DATA_INPUT_STREAM(source), result, nullptr, nullptr);
        if (!text) return;
        (*received)->push_back(text);
        g_free(text);
        g_data_input_stream_read_line_async(G_DATA_INPUT_STREAM(source), G_PRIORITY_DEFAULT, nullptr, lineArrived,
                                            received.release());
    }

    GSubprocess* process_ = nullptr;
    GDataInputStream* lines_ = nullptr;
    GCancellable* cancellable_ = g_cancellable_new();
    std::shared_ptr<std::vector<std::string>> received_ = std::make_shared<std::vector<std::string>>();
    std::string windowID_;
};

}  // namespace meridavolt
