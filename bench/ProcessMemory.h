#pragma once

#include <fstream>
#include <string>

namespace meridavolt::bench {

// A process's memory from /proc/<pid>/smaps_rollup, in kB; all zero when it
// cannot be read (the process is gone).
struct ProcessMemory {
    long rss = 0;
    long pss = 0;
    long privateKilobytes = 0;
};

inline ProcessMemory processMemory(const std::string& pid = "self")
{
    std::ifstream rollup("/proc/" + pid + "/smaps_rollup");
    ProcessMemory memory;
    std::string line;
    while (std::getline(rollup, line)) {
        const auto value = [&] { return std::stol(line.substr(line.find(':') + 1)); };
        if (line.rfind("Rss:", 0) == 0) memory.rss = value();
        if (line.rfind("Pss:", 0) == 0) memory.pss = value();
        if (line.rfind("Private_Clean:", 0) == 0 || line.rfind("Private_Dirty:", 0) == 0) {
            memory.privateKilobytes += value();
        }
    }
    return memory;
}

inline double pssMegabytes(const std::string& pid = "self") { return processMemory(pid).pss / 1024.0; }

}  // namespace meridavolt::bench
