// check: runs the consistency checks that a cube passes before it is accepted, one facelet
// string per line, and prints "ok" or the reason the cube is not valid.
#include <cstdio>

#include "command.hpp"
#include "cube_input.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "check";
constexpr const char* kUsage =
    "usage: tesserix-cli check [FACELETS...|-]\n"
    "Checks each facelet string (54 face letters U R F D L B, either case; other characters\n"
    "are skipped; stdin, one per line, when none is given or the argument is -). Prints \"ok\"\n"
    "or the reason the cube cannot be solved. Exit code 1 when any cube was not ok.\n";

int runCheck(const Args& args) {
    if (hasUnknownOption(kName, args)) return kExitError;
    int exitCode = kExitOk;
    for (const auto& line : inputLines(args, true)) {
        std::string error;
        if (parseCube(line, false, error)) {
            std::printf("ok\n");
        } else {
            std::printf("%s\n", error.c_str());
            exitCode = kExitInvalid;
        }
    }
    return exitCode;
}

Register reg(kName, "check facelet strings and report twist, flip and parity errors", kUsage, runCheck);

}  // namespace
}  // namespace tx::cli
