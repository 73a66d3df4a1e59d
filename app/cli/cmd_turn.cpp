// turn: applies facelet turns to a cube and prints the facelet string. A line of turns is
// letters U R F D L B (faces), E M S (middle layers) and x y z (whole cube), each optionally
// followed by 2 (half turn), ' or 3 (quarter turn back); blanks separate them.
#include <cstdio>
#include <string>
#include <string_view>

#include "command.hpp"
#include "facelet_input.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "turn";

int turnCode(char ch) {
    switch (ch) {
        case 'U': return U;
        case 'R': return R;
        case 'F': return F;
        case 'D': return D;
        case 'L': return L;
        case 'B': return B;
        case 'x': return kTurnX;
        case 'y': return kTurnY;
        case 'z': return kTurnZ;
        case 'E': return kTurnE;
        case 'M': return kTurnM;
        case 'S': return kTurnS;
        default: return -1;
    }
}

// Applies the turns of `text`; on a character that is no turn, says where and stops.
bool applyTurns(std::string_view text, FaceletCube& cube, std::array<char, 7>& scheme, std::string& error) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == ' ' || ch == '\t' || ch == ',') continue;
        const int code = turnCode(ch);
        if (code < 0) {
            error = std::string("unknown turn '") + ch + "' at column " + std::to_string(i + 1);
            return false;
        }
        int times = 1;
        if (i + 1 < text.size()) {
            const char power = text[i + 1];
            if (power == '2') times = 2;
            if (power == '\'' || power == '3') times = 3;
            if (times > 1) ++i;
        }
        for (int t = 0; t < times; ++t) {
            cube.turn(code);
            permuteScheme(scheme, FaceletCube::renaming(code));
        }
    }
    return true;
}

int runTurn(const Args& given) {
    Args args = given;
    if (takeFlag(args, "--help")) {
        std::printf(
            "usage: tesserix-cli turn [--from FACELETS] [--centers] [--scheme] [TURNS...|-]\n"
            "Applies each line of turns (stdin, one per line, when none is given) to the solved\n"
            "cube, or to --from, and prints the facelet string. Turns: U R F D L B, E M S, x y z,\n"
            "each optionally followed by 2, ' or 3. --centers adds the six centre orientations\n"
            "(U R F D L B), --scheme the original face colour each colour value now shows.\n");
        return kExitOk;
    }
    const bool showCenters = takeFlag(args, "--centers");
    const bool showScheme = takeFlag(args, "--scheme");
    const std::string from = takeOption(args, "--from", "");
    if (hasUnknownOption(kName, args)) return kExitError;
    FaceletCube start;
    if (!from.empty()) {
        std::string error;
        auto cube = parseFaceletString(from, error);
        if (!cube) {
            std::fprintf(stderr, "tesserix-cli turn: --from: %s\n", error.c_str());
            return kExitError;
        }
        start = *cube;
    }
    int exitCode = kExitOk;
    std::size_t lineNo = 0;
    for (const auto& line : inputLines(args, true)) {
        ++lineNo;
        FaceletCube cube = start;
        std::array<char, 7> scheme = {'U', 'R', 'F', 'D', 'L', 'B', 'N'};
        std::string error;
        if (!applyTurns(line, cube, scheme, error)) {
            reportLine(kName, lineNo, error);
            std::printf("invalid\n");
            exitCode = kExitInvalid;
            continue;
        }
        std::string out = cube.faceletString();
        if (showCenters) {
            out += " centers";
            for (auto o : cube.centerOri) {
                out += ' ';
                out += std::to_string(o);
            }
        }
        if (showScheme) out += " scheme " + std::string(scheme.data(), 6);
        std::printf("%s\n", out.c_str());
    }
    return exitCode;
}

Register reg(kName, "apply face, middle-layer and whole-cube turns to a cube", runTurn);

}  // namespace
}  // namespace tx::cli
