#pragma once

#include "fakes/TemporaryFolder.h"

#include <filesystem>
#include <map>
#include <string>

namespace meridavolt::fakes {

// A shell command that records its environment in `file` (written beside and
// moved, so a reader never sees half a record).
inline std::string recordEnvironmentCommand(const std::filesystem::path& file)
{
    const std::string part = "'" + file.string() + ".part'";
    return "env -0 > " + part + " && mv " + part + " '" + file.string() + "'";
}

// What that command recorded: name → value.
inline std::map<std::string, std::string> recordedEnvironment(const std::filesystem::path& file)
{
    std::map<std::string, std::string> variables;
    const std::string bytes = readBytes(file);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        const std::string entry = bytes.substr(start, end - start);
        const std::size_t equals = entry.find('=');
        if (equals != std::string::npos) variables[entry.substr(0, equals)] = entry.substr(equals + 1);
        start = end + 1;
    }
    return variables;
}

// The variables among `environment` that decide how GTK and WebKit draw.
inline std::map<std::string, std::string> drawingVariables(const std::map<std::string, std::string>& environment)
{
    std::map<std::string, std::string> drawing;
    for (const char* name : {"GDK_DEBUG", "GSK_RENDERER", "WEBKIT_DISABLE_COMPOSITING_MODE",
                             "WEBKIT_DISABLE_DMABUF_RENDERER", "WEBKIT_WEB_RENDER_DEVICE_FILE"}) {
        if (auto found = environment.find(name); found != environment.end()) drawing.insert(*found);
    }
    return drawing;
}

// A stand-in application installed in a desktop of the test's own (the data
// and config homes a process will use) as the default handler of `type`, a
// MIME type or "x-scheme-handler/<scheme>". Each start records the
// environment it was given.
class EnvironmentRecordingApplication {
public:
    EnvironmentRecordingApplication(const std::filesystem::path& dataHome, const std::filesystem::path& configHome,
                                    const std::string& type)
        : record_(dataHome / "environment-recorder.env")
    {
        const auto script = dataHome / "environment-recorder.sh";
        writeBytes(script, "#!/bin/sh\n" + recordEnvironmentCommand(record_) + "\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        writeBytes(dataHome / "applications/environment-recorder.desktop",
                   "[Desktop Entry]\nType=Application\nName=Environment recorder\nExec=" + script.string() +
                       " %u\nMimeType=" + type + ";\n");
        writeBytes(configHome / "mimeapps.list", "[Default Applications]\n" + type + "=environment-recorder.desktop\n");
    }

    bool started() const { return std::filesystem::exists(record_); }
    // The environment of the last start.
    std::map<std::string, std::string> environment() const { return recordedEnvironment(record_); }

private:
    std::filesystem::path record_;
};

}  // namespace meridavolt::fakes
