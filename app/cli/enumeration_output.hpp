#pragma once
// Output of the enumerating searches (symmetry, pattern): each cube as a facelet string on
// stdout in the order found, or only their number, with a running count on stderr.
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "command.hpp"
#include "searches/search_worker.hpp"

namespace tx::cli {

inline int printEnumeration(const char* command, SearchWorker& search, bool countOnly) {
    using Clock = std::chrono::steady_clock;
    const bool tty = ::isatty(2) != 0;
    const auto interval = tty ? std::chrono::milliseconds(200) : std::chrono::milliseconds(10000);
    auto lastShown = Clock::now();
    long long found = 0;
    auto showCount = [&](bool final) {
        if (tty)
            std::fprintf(stderr, "\r%lld found%s", found, final ? "\n" : "");
        else
            std::fprintf(stderr, "tesserix-cli %s: %lld found%s\n", command, found, final ? "" : " so far");
    };
    search.run([&](const FaceletCube& cube) {
        ++found;
        if (!countOnly) std::printf("%s\n", cube.faceletString().c_str());
        if (found % 256 == 0 && Clock::now() - lastShown >= interval) {
            if (!countOnly) std::fflush(stdout);
            showCount(false);
            lastShown = Clock::now();
        }
    });
    showCount(true);
    if (countOnly) std::printf("%lld\n", found);
    return kExitOk;
}

// The value of an option that must be followed by one; false (after saying so) when the
// option is the last argument.
inline bool takeValue(Args& args, const char* command, const std::string& name, std::string& value) {
    value = takeOption(args, name, "\n");
    if (value != "\n") return true;
    value.clear();
    if (!takeFlag(args, name)) return true;
    std::fprintf(stderr, "tesserix-cli %s: %s needs a value\n", command, name.c_str());
    return false;
}

}  // namespace tx::cli
