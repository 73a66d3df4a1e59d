// random: prints uniformly random cubes as facelet strings, drawn from the program's random
// generator seeded with the time of day or a given seed.
#include <cstdint>
#include <cstdio>
#include <string>

#include "command.hpp"
#include "cube/facelet_cube.hpp"
#include "cube/random.hpp"
#include "facelet_input.hpp"
#include "numbers.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "random";
constexpr const char* kUsage =
    "usage: tesserix-cli random [-n N] [--seed S] [--centers]\n"
    "Prints N (default 1) random cubes, each equally likely, as facelet strings. The\n"
    "generator is seeded with the time of day in milliseconds, or with S (0..4294967295)\n"
    "so that the same cubes come again. --centers adds the six random centre\n"
    "orientations (U R F D L B).\n";

int runRandom(const Args& given) {
    Args args = given;
    const bool showCenters = takeFlag(args, "--centers");
    const auto count = takeWholeOption(args, kName, "-n", 1, 0, 100000000);
    const auto seed = takeWholeOption(args, kName, "--seed", -1, 0, UINT32_MAX);  // -1: not given
    if (!count || !seed) return kExitError;
    if (hasUnknownOption(kName, args)) return kExitError;
    if (!args.empty()) {
        std::fprintf(stderr, "tesserix-cli %s: unexpected argument %s\n", kName, args.front().c_str());
        return kExitError;
    }
    MersenneTwister rng(*seed >= 0 ? static_cast<std::uint32_t>(*seed) : MersenneTwister::timeOfDaySeed());
    for (long long i = 0; i < *count && !std::ferror(stdout); ++i) {  // a failed write ends it
        FaceletCube cube;
        randomCube(cube, rng);
        std::printf("%s\n", faceletLine(cube, showCenters).c_str());
    }
    return kExitOk;
}

Register reg(kName, "print random cubes as facelet strings", kUsage, runRandom);

}  // namespace
}  // namespace tx::cli
