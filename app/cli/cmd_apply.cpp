// apply: applies maneuver texts, as typed into the main window's maneuver field, to the solved
// cube (or to a given one) and prints the facelet string of the result.
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
constexpr const char* kUsage =
    "usage: tesserix-cli apply [--from CUBE] [--centers] [--scheme] MANEUVER...|-\n"
    "Applies each maneuver to the solved cube, or to the cube given by --from (any form solve\n"
    "takes; a cube that cannot be solved is refused with check's reason), as the maneuver\n"
    "field does (U' U3 U-1 U- are inverse turns, U2 or U followed by a superscript two a half\n"
    "turn, Us and Ua face pairs, E M S middle layers, x y z whole-cube turns, groups such as\n"
    "(R U R' U')3, a piece list sets the cube, other characters and text after // are\n"
    "ignored) and prints the facelet string. With - the maneuvers are read from stdin, one\n"
    "per line. --centers adds the six centre orientations (U R F D L B), --scheme the\n"
    "original face whose colour each colour value U R F D L B now shows.\n";

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

// The original face whose colour each colour value shows after the maneuver: whole-cube and
// middle-layer turns rename the colour values, and the display's colour scheme follows them.
// The field is applied to six one-colour cubes; the U centre of each then holds the value its
// colour was renamed to (a centre, because a piece list in the text rewrites only the others).
std::string schemeAfter(const std::string& maneuver) {
    std::string scheme(6, 'N');
    for (int c = 0; c < 6; ++c) {
        FaceletCube oneColour;
        oneColour.f.fill(static_cast<std::uint8_t>(c));
        applyManeuverField(oneColour, maneuver);
        scheme[oneColour.f[4]] = faceLetter(c);
    }
    return scheme;
}

int runApply(const Args& given) {
    Args args = given;
    const bool showCenters = takeFlag(args, "--centers");
    const bool showScheme = takeFlag(args, "--scheme");
    const std::string from = takeOption(args, "--from", "");
    if (hasUnknownOption(kName, args)) return kExitError;
    if (args.empty()) {
        std::fprintf(stderr, "tesserix-cli %s: no maneuver given (use - to read stdin)\n", kName);
        return kExitError;
    }
    FaceletCube start;
    if (!from.empty()) {
        const CubeText read = readCube(from);
        if (!read.ok()) {
            std::fprintf(stderr, "tesserix-cli %s: --from: %s\n", kName, read.error.c_str());
            return kExitInvalid;
        }
        start = read.cube;
    }
    for (const auto& line : inputLines(args, false)) {
        FaceletCube cube = start;
        const std::string maneuver = toLatin1(line);
        applyManeuverField(cube, maneuver);
        std::string out = faceletLine(cube, showCenters);
        if (showScheme) out += " scheme " + schemeAfter(maneuver);
        std::printf("%s\n", out.c_str());
    }
    return kExitOk;
}

Register reg(kName, "apply maneuvers to the solved cube or a given one and print the facelets", kUsage, runApply);

}  // namespace
}  // namespace tx::cli
