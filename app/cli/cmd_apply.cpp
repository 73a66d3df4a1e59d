// apply: applies maneuver texts, as typed into the main window's maneuver field, to the solved
// cube and prints the facelet string of the result.
#include <cstdio>
#include <string>
#include <string_view>

#include "command.hpp"
#include "cube/facelet_cube.hpp"
#include "cube/notation.hpp"
#include "facelet_input.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "apply";

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the UTF-8 sequence starting at i, or 0 when the bytes there are no valid sequence.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto b = static_cast<unsigned char>(text[i]);
    const std::size_t n = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (n == 0 || (n == 2 && b < 0xC2) || i + n > text.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if (!isContinuation(static_cast<unsigned char>(text[i + k]))) return 0;
    return n;
}

// The field works on 8-bit text; a terminal usually hands over UTF-8. Valid UTF-8 is turned
// into 8-bit text (characters up to U+00FF become their byte, so a superscript two is byte
// 178; others become "?"); anything else is taken as 8-bit text already.
std::string toLatin1(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = sequenceLength(text, i);
        if (n == 0) return std::string(text);
        const auto b = static_cast<unsigned char>(text[i]);
        if (n == 1)
            out += static_cast<char>(b);
        else if (n == 2 && b <= 0xC3)
            out += static_cast<char>(((b & 0x03) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F));
        else
            out += '?';
        i += n;
    }
    return out;
}

int runApply(const Args& given) {
    Args args = given;
    if (takeFlag(args, "--help")) {
        std::printf(
            "usage: tesserix-cli apply [--centers] MANEUVER...|-\n"
            "Applies each maneuver to the solved cube as the maneuver field does (U' U3 U-1 U-\n"
            "are inverse turns, U2 or U followed by a superscript two a half turn, Us and Ua face\n"
            "pairs, groups such as (R U R' U')3, text after // ignored) and prints the facelet\n"
            "string. With - the maneuvers are read from stdin, one per line. --centers adds\n"
            "the six centre orientations (U R F D L B).\n");
        return kExitOk;
    }
    const bool showCenters = takeFlag(args, "--centers");
    if (hasUnknownOption(kName, args)) return kExitError;
    if (args.empty()) {
        std::fprintf(stderr, "tesserix-cli %s: no maneuver given (use - to read stdin)\n", kName);
        return kExitError;
    }
    for (const auto& line : inputLines(args, false)) {
        FaceletCube cube;
        applyManeuverField(cube, toLatin1(line));
        std::string out = cube.faceletString();
        if (showCenters) {
            out += " centers";
            for (auto o : cube.centerOri) {
                out += ' ';
                out += std::to_string(o);
            }
        }
        std::printf("%s\n", out.c_str());
    }
    return kExitOk;
}

Register reg(kName, "apply maneuvers to the solved cube and print the facelets", runApply);

}  // namespace
}  // namespace tx::cli
