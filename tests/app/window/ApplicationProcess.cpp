#include "ApplicationProcess.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace meridavolt::testing {

namespace {

std::string firstLine(FILE* stream)
{
    char buffer[512] = {};
    if (!std::fgets(buffer, sizeof buffer, stream)) return {};
    std::string line = buffer;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

// The environment of this process with some variables replaced.
std::vector<std::string> environmentWith(const std::map<std::string, std::string>& replaced)
{
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        std::string name = text.substr(0, text.find('='));
        if (!replaced.count(name)) entries.push_back(text);
    }
    for (const auto& [name, value] : replaced) entries.push_back(name + "=" + value);
    return entries;
}

}  // namespace

PrivateSessionBus::PrivateSessionBus()
{
    FILE* output = ::popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
    if (!output) throw std::runtime_error("cannot start dbus-daemon");
    address_ = firstLine(output);
    pid_ = static_cast<pid_t>(std::atoi(firstLine(output).c_str()));
    ::pclose(output);
    if (address_.empty() || pid_ <= 0) throw std::runtime_error("dbus-daemon gave no address");
}

PrivateSessionBus::~PrivateSessionBus()
{
    if (pid_ > 0) ::kill(pid_, SIGTERM);
}

std::filesystem::path dataFolder(const fakes::TemporaryFolder& home) { return home / "data/MERIDAVOLT"; }
std::filesystem::path configFolder(const fakes::TemporaryFolder& home) { return home / "config/MERIDAVOLT"; }

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

std::filesystem::path ApplicationProcess::programPath()
{
    if (const char* path = std::getenv("MERIDAVOLT_PROGRAM")) return path;
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "meridavolt";
}

ApplicationProcess::ApplicationProcess(const fakes::TemporaryFolder& home, const std::string& busAddress,
                                       const std::map<std::string, std::string>& extraEnvironment)
    : errorFile_(home / ("stderr-" + std::to_string(::getpid()) + "-" + std::to_string(std::rand()) + ".txt"))
{
    const auto program = programPath();
    if (!std::filesystem::exists(program)) {
        throw std::runtime_error("build the program first: " + program.string());
    }
    std::filesystem::create_directories(home / "runtime");
    std::filesystem::permissions(home / "runtime", std::filesystem::perms::owner_all);
    std::map<std::string, std::string> variables = extraEnvironment;
    variables.insert({
        {"HOME", home.path().string()},
        {"XDG_DATA_HOME", (home / "data").string()},
        {"XDG_CONFIG_HOME", (home / "config").string()},
        {"XDG_CACHE_HOME", (home / "cache").string()},
        {"XDG_RUNTIME_DIR", (home / "runtime").string()},
        {"DBUS_SESSION_BUS_ADDRESS", busAddress},
        {"GDK_BACKEND", "x11"},
        {"NO_AT_BRIDGE", "1"},
        {"GTK_A11Y", "none"},
    });
    auto environment = environmentWith(variables);
    std::vector<char*> envp;
    for (auto& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::string programText = program.string();
    char* argv[] = {programText.data(), nullptr};
    const int failed = ::posix_spawn(&pid_, programText.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed) throw std::runtime_error("cannot start the program");
}

ApplicationProcess::~ApplicationProcess()
{
    if (running()) {
        ::kill(pid_, SIGTERM);
        if (!waitForExit(std::chrono::seconds(5))) {
            ::kill(pid_, SIGKILL);
            waitForExit(std::chrono::seconds(5));
        }
    }
}

bool ApplicationProcess::running()
{
    if (exitStatus_) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }
    return true;
}

std::optional<int> ApplicationProcess::waitForExit(std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (running()) {
        if (std::chrono::steady_clock::now() > end) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return exitStatus_;
}

std::string ApplicationProcess::errorOutput() const { return fakes::readBytes(errorFile_); }

}  // namespace meridavolt::testing
