// check: runs the consistency checks that a cube passes before it is accepted, one facelet
// string per line, and prints "ok", "corrected" or "invalid" with the resulting facelets.
#include <cstdio>

#include "command.hpp"
#include "facelet_input.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "check";
constexpr const char* kCannotSolve = "Cube cannot be solved. Missing or wrong facelet colors!";

int runCheck(const Args& given) {
    Args args = given;
    if (takeFlag(args, "--help")) {
        std::printf(
            "usage: tesserix-cli check [FACELETS...|-]\n"
            "Checks each facelet string (54 face letters U R F D L B; stdin, one per line, when\n"
            "none is given). Prints per cube: \"ok\", \"corrected\" (twist, flip or parity fixed)\n"
            "or \"invalid\" (impossible or repeated pieces; their facelets shown as N), then the\n"
            "facelets after the checks. Exit code 1 when any cube was not ok.\n");
        return kExitOk;
    }
    if (hasUnknownOption(kName, args)) return kExitError;
    int exitCode = kExitOk;
    std::size_t lineNo = 0;
    for (const auto& line : inputLines(args, true)) {
        ++lineNo;
        std::string error;
        auto cube = parseFaceletString(line, error);
        if (!cube) {
            reportLine(kName, lineNo, error);
            std::printf("invalid\n");
            exitCode = kExitInvalid;
            continue;
        }
        int corrections = 0;
        const bool unchanged = cube->checkAll(&corrections);
        const char* verdict = "ok";
        if (!cube->isComplete()) {
            verdict = "invalid";
            reportLine(kName, lineNo, kCannotSolve);
        } else if (!unchanged) {
            verdict = "corrected";
            if (corrections & kCorrectedTwist) reportLine(kName, lineNo, std::string(kTwistErrorText));
            if (corrections & kCorrectedFlip) reportLine(kName, lineNo, std::string(kFlipErrorText));
            if (corrections & kCorrectedParity) reportLine(kName, lineNo, std::string(kParityErrorText));
        }
        if (!unchanged) exitCode = kExitInvalid;
        std::printf("%s %s\n", verdict, cube->faceletString().c_str());
    }
    return exitCode;
}

Register reg(kName, "check facelet strings and correct twist, flip and parity", runCheck);

}  // namespace
}  // namespace tx::cli
