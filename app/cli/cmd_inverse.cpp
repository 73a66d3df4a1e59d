// inverse: prints the inverse of maneuver texts (the generator of a solving maneuver and back),
// the length mark copied unchanged.
#include <cstdio>
#include <string>

#include "command.hpp"
#include "cube/notation.hpp"
#include "facelet_input.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "inverse";
constexpr const char* kUsage =
    "usage: tesserix-cli inverse [--optimal] MANEUVER...|-\n"
    "Prints the inverse of each maneuver: its moves backwards, each turned the other\n"
    "way, then the length mark such as (20f) unchanged. With - the maneuvers are read\n"
    "from stdin, one per line. --optimal leaves status texts (containing \"Status\") as\n"
    "they are.\n";

int runInverse(const Args& given) {
    Args args = given;
    const bool optimal = takeFlag(args, "--optimal");
    if (hasUnknownOption(kName, args)) return kExitError;
    if (args.empty()) {
        std::fprintf(stderr, "tesserix-cli %s: no maneuver given (use - to read stdin)\n", kName);
        return kExitError;
    }
    for (const auto& line : inputLines(args, false)) {
        const std::string inverse = optimal ? inverseOptimalText(line) : inverseManeuver(line);
        std::printf("%s\n", inverse.c_str());
    }
    return kExitOk;
}

Register reg(kName, "print the inverse of maneuvers", kUsage, runInverse);

}  // namespace
}  // namespace tx::cli
