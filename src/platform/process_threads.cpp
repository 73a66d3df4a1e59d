#include "platform/process_threads.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace tx {

int threadsFromStatus(std::string_view status) {
    constexpr std::string_view kKey = "Threads:";
    std::size_t at = 0;
    while (at < status.size()) {
        const std::size_t end = std::min(status.find('\n', at), status.size());
        const std::string_view line = status.substr(at, end - at);
        at = end + 1;
        if (!line.starts_with(kKey)) continue;
        long long value = -1;
        for (char ch : line.substr(kKey.size())) {
            if (ch == ' ' || ch == '\t') {
                if (value >= 0) break;
                continue;
            }
            if (ch < '0' || ch > '9') return -1;
            value = (value < 0 ? 0 : value) * 10 + (ch - '0');
            if (value > 1'000'000'000) return -1;
        }
        return static_cast<int>(value);
    }
    return -1;
}

int processThreadCount() {
    std::ifstream in("/proc/self/status");
    if (in) {
        const std::string status((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (const int n = threadsFromStatus(status); n > 0) return n;
    }
    std::error_code ec;
    int count = 0;
    for (std::filesystem::directory_iterator it("/proc/self/task", ec), end; !ec && it != end; it.increment(ec))
        ++count;
    return !ec && count > 0 ? count : -1;
}

}  // namespace tx
