// random: prints uniformly random cubes as facelet strings, drawn from the program's random
// generator seeded with the time of day or a given seed.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>

#include "command.hpp"
#include "cube/facelet_cube.hpp"
#include "cube/random.hpp"
#include "facelet_input.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "random";
constexpr const char* kUsage =
    "usage: tesserix-cli random [-n N] [--seed S] [--centers]\n"
    "Prints N (default 1) random cubes, each equally likely, as facelet strings. The\n"
    "generator is seeded with the time of day in milliseconds, or with S (0..4294967295)\n"
    "so that the same cubes come again. --centers adds the six random centre\n"
    "orientations (U R F D L B).\n";

// A whole decimal number in 0..limit, the whole text used.
bool parseNumber(const std::string& text, std::uint64_t limit, std::uint64_t& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end && value <= limit;
}

int runRandom(const Args& given) {
    Args args = given;
    const bool showCenters = takeFlag(args, "--centers");
    const std::string countText = takeOption(args, "-n", "1");
    constexpr const char* kNoSeed = "\n";  // no typed option value can be a line end
    const std::string seedText = takeOption(args, "--seed", kNoSeed);
    const bool seeded = seedText != kNoSeed;
    if (hasUnknownOption(kName, args)) return kExitError;
    if (!args.empty()) {
        std::fprintf(stderr, "tesserix-cli %s: unexpected argument %s\n", kName, args.front().c_str());
        return kExitError;
    }
    std::uint64_t count = 0, seed = 0;
    if (!parseNumber(countText, 100000000, count)) {
        std::fprintf(stderr, "tesserix-cli %s: -n: not a number of cubes: %s\n", kName, countText.c_str());
        return kExitError;
    }
    if (seeded && !parseNumber(seedText, UINT32_MAX, seed)) {
        std::fprintf(stderr, "tesserix-cli %s: --seed: not a number 0..4294967295: %s\n", kName, seedText.c_str());
        return kExitError;
    }
    MersenneTwister rng(seeded ? static_cast<std::uint32_t>(seed) : MersenneTwister::timeOfDaySeed());
    for (std::uint64_t i = 0; i < count; ++i) {
        FaceletCube cube;
        randomCube(cube, rng);
        std::printf("%s\n", faceletLine(cube, showCenters).c_str());
    }
    return kExitOk;
}

Register reg(kName, "print random cubes as facelet strings", kUsage, runRandom);

}  // namespace
}  // namespace tx::cli
