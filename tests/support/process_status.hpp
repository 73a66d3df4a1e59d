#pragma once
// Figures of a process read from /proc: its threads (the "Threads:" line of its status), its
// memory mappings (every thread stack kept alive is one more) and its open descriptors.
#include <dirent.h>

#include <fstream>
#include <string>

namespace tx::testing {

// A number from a "Name:  value" line of /proc/PID/status (kB for the memory lines); -1 when
// the line or the process is missing.
inline long statusValue(const std::string& name, const std::string& pid = "self") {
    std::ifstream in("/proc/" + pid + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(name + ":", 0) == 0) return std::stol(line.substr(name.size() + 1));
    return -1;
}

inline long threadCount(const std::string& pid = "self") { return statusValue("Threads", pid); }

inline long mappingCount(const std::string& pid = "self") {
    std::ifstream in("/proc/" + pid + "/maps");
    long n = 0;
    for (std::string line; std::getline(in, line);) ++n;
    return n;
}

inline long openDescriptors(const std::string& pid = "self") {
    DIR* dir = ::opendir(("/proc/" + pid + "/fd").c_str());
    if (!dir) return -1;
    long n = 0;
    while (const dirent* e = ::readdir(dir))
        if (e->d_name[0] != '.') ++n;
    ::closedir(dir);
    return n;
}

}  // namespace tx::testing
