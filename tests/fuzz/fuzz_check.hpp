#pragma once
// Shared by the fuzz targets: a property that fails stops the run with a message, so
// libFuzzer keeps the input that broke it as a crash artifact.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

#include "platform/text.hpp"

namespace tx::fuzz {

[[noreturn]] inline void propertyFailed(const char* what, const char* file, int line) {
    std::fprintf(stderr, "\nproperty failed: %s (%s:%d)\n", what, file, line);
    std::abort();
}

// A private folder for the targets that read files, on a memory filesystem when there is one
// so that the writers' fsync costs nothing.
inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path folder = [] {
        std::error_code ec;
        std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : "/tmp";
        auto dir = base / ("tesserix-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir, ec);
        return dir;
    }();
    return folder;
}

inline std::string_view asText(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// What the workspace writer keeps of a pattern name: control characters become blanks, outer
// blanks go (a name too long for the line is shortened further).
inline std::string writtenName(const std::string& name) {
    std::string s = name;
    for (char& ch : s)
        if (static_cast<unsigned char>(ch) < ' ' || ch == '\x7F') ch = ' ';
    return std::string(trim(s));
}

inline bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace tx::fuzz

#define FUZZ_REQUIRE(condition) \
    ((condition) ? (void)0 : ::tx::fuzz::propertyFailed(#condition, __FILE__, __LINE__))
