#pragma once

#include "fakes/TemporaryFolder.h"

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt::testing {

// A private session bus for the processes of one test, so that the
// application's one-process-per-session rule is tested for real and never
// meets another test's process.
class PrivateSessionBus {
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    const std::string& address() const { return address_; }

private:
    std::string address_;
    pid_t pid_ = -1;
};

// The built program, started as its own process with its own data, config
// and cache folders.
class ApplicationProcess {
public:
    // busAddress: the session bus to use; an unreachable address means none.
    // extraEnvironment: further variables for the program.
    ApplicationProcess(const fakes::TemporaryFolder& home, const std::string& busAddress,
                       const std::map<std::string, std::string>& extraEnvironment = {});
    ~ApplicationProcess();
    ApplicationProcess(const ApplicationProcess&) = delete;
    ApplicationProcess& operator=(const ApplicationProcess&) = delete;

    // Where the built program is: beside the tests' folder.
    static std::filesystem::path programPath();

    pid_t pid() const { return pid_; }
    bool running();
    // Waits for the process to end; its exit status, or none on time-out.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    // What it wrote on its error output so far.
    std::string errorOutput() const;

private:
    pid_t pid_ = -1;
    std::optional<int> exitStatus_;
    std::filesystem::path errorFile_;
};

// Polls `condition` until it holds or `timeout` passes, without running a
// main loop: for what the program does in its own process.
bool eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds timeout = std::chrono::seconds(20));

// The data and config folders a process started on `home` uses.
std::filesystem::path dataFolder(const fakes::TemporaryFolder& home);
std::filesystem::path configFolder(const fakes::TemporaryFolder& home);

}  // namespace meridavolt::testing
