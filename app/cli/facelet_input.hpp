#pragma once
// Reading cubes given on the command line as facelet strings or piece lists. The command
// line is stricter than the web server's reader: a line must hold exactly the expected number
// of face letters, so a dropped or doubled letter is reported instead of leaving a hole.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "command.hpp"
#include "cube/facelet_cube.hpp"

namespace tx::cli {

inline int countFaceLetters(std::string_view text) {
    int n = 0;
    for (char ch : text) n += colorOfLetter(ch) >= 0;
    return n;
}

// A facelet string: 54 face letters in either case, other characters ignored, with the
// centres reading U R F D L B (any other centre would give its letter two meanings).
inline std::optional<FaceletCube> parseFaceletString(std::string_view text, std::string& error) {
    const int n = countFaceLetters(text);
    if (n != kFacelets) {
        error = "expected 54 face letters, found " + std::to_string(n);
        return std::nullopt;
    }
    FaceletCube cube;
    cube.readFaceletString(text);
    if (!cube.centersInPlace()) {
        error = "the centre facelets must read U R F D L B";
        return std::nullopt;
    }
    return cube;
}

// True (after saying so) when an argument left over after option parsing looks like an option.
inline bool hasUnknownOption(const char* command, const Args& args) {
    for (const auto& a : args) {
        if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "tesserix-cli %s: unknown option %s\n", command, a.c_str());
            return true;
        }
    }
    return false;
}

inline void reportLine(const char* command, std::size_t line, const std::string& text) {
    std::fprintf(stderr, "tesserix-cli %s: line %zu: %s\n", command, line, text.c_str());
}

}  // namespace tx::cli
