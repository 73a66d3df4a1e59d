// tesserix-cli stats: the statistics of a workspace file, as the statistics window shows them.
#include <cstdio>

#include "list_file.hpp"
#include "workspace/statistics.hpp"

namespace tx::cli {
namespace {

constexpr const char* kUsage = "usage: tesserix-cli stats FILE [--slice]\n";

int run(const Args& input) {
    Args args = input;
    const bool slice = takeFlag(args, "--slice");
    if (hasUnknownOption("stats", args)) return kExitError;
    if (args.size() != 1) {
        std::fprintf(stderr, "%s", kUsage);
        return kExitError;
    }
    ListFile file;
    if (const int code = loadListFile("stats", file, args[0], slice); code != kExitOk) return code;
    for (const std::string& line : statisticsLines(countStatistics(file.list.entries()), file.list.metricLetter()))
        std::printf("%s\n", line.c_str());
    return kExitOk;
}

Register reg("stats", "the statistics of a workspace file: maneuver lengths and antisymmetric cubes",
             std::string(kUsage) +
                 "Counts the cubes of a workspace file by the length of their maneuvers (proved optimal ones\n"
                 "apart) and the cubes with an antisymmetry, as the statistics window does. --slice reads the\n"
                 "file in slice mode (optimal maneuvers marked \"s*\").\n",
             run);

}  // namespace
}  // namespace tx::cli
