// check: runs the consistency checks that a cube passes before it is accepted, one facelet
// string per line, and prints "ok" or the reason the cube is not valid.
#include <cstdio>

#include "command.hpp"
#include "cube/cube_input.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "check";
constexpr const char* kUsage =
    "usage: tesserix-cli check [--centres] [CUBE...|-]\n"
    "Checks each cube: a facelet string (54 face letters U R F D L B, either case; other\n"
    "characters are skipped), a piece list (48 face letters) or @ and a maneuver; stdin, one\n"
    "per line, when none is given or the argument is -. Prints \"ok\" or the reason the cube\n"
    "cannot be solved, as solve and the other commands report it. Exit code 1 when any cube\n"
    "was not ok. --centres: the centre orientations count (a facelet string or piece list has\n"
    "all six at 0), so the corner permutation must be even.\n";

int runCheck(const Args& given) {
    Args args = given;
    CubeTextOptions options;
    options.centersCount = takeFlag(args, "--centres");
    if (hasUnknownOption(kName, args)) return kExitError;
    int exitCode = kExitOk;
    for (const auto& line : inputLines(args, true)) {
        const CubeText read = readCube(line, options);
        if (read.ok()) {
            std::printf("ok\n");
        } else {
            std::printf("%s\n", read.error.c_str());
            exitCode = kExitInvalid;
        }
    }
    return exitCode;
}

Register reg(kName, "check cubes and tell why one cannot be solved (twist, flip, parity, ...)", kUsage, runCheck);

}  // namespace
}  // namespace tx::cli
