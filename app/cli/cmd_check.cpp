// tesserix-cli check: tells for each cube whether it can be solved, and why not.
#include <cstdio>

#include "command.hpp"
#include "cube/cube_input.hpp"
#include "json_output.hpp"
#include "line_reader.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "check";
constexpr const char* kUsage =
    "usage: tesserix-cli check [--centres] [--format text|json] [CUBE...|-]\n"
    "Checks each cube: a facelet string (54 face letters U R F D L B, either case; other\n"
    "characters are skipped), a piece list (48 face letters) or @ and a maneuver; stdin, one\n"
    "per line, when none is given or the argument is -. Prints \"ok\" or the reason the cube\n"
    "cannot be solved, as solve and the other commands report it, each answer as soon as its\n"
    "line is read. Exit code 1 when any cube was not ok. --centres: the centre orientations\n"
    "count (a facelet string or piece list has all six at 0), so the corner permutation must be\n"
    "even. --format json prints one JSON object per line: line, input, ok, and error when it is\n"
    "not ok.\n";

int runCheck(const Args& given) {
    Args args = given;
    CubeTextOptions options;
    options.centersCount = takeFlag(args, "--centres");
    const auto format = takeFormat(args, kName);
    if (!format || hasUnknownOption(kName, args)) return kExitError;
    int exitCode = kExitOk;
    std::size_t lineNo = 0;
    LineReader input(args, true);
    while (const auto line = input.next()) {
        const CubeText read = readCube(*line, options);
        if (!read.ok()) exitCode = kExitInvalid;
        if (*format == OutputFormat::Json) {
            nlohmann::json record = {{"line", ++lineNo}, {"input", *line}, {"ok", read.ok()}};
            if (!read.ok()) record["error"] = read.error;
            printJsonLine(record);
        } else {
            std::printf("%s\n", read.ok() ? "ok" : read.error.c_str());
            std::fflush(stdout);
        }
    }
    return exitCode;
}

Register reg(kName, "check cubes and tell why one cannot be solved (twist, flip, parity, ...)", kUsage, runCheck);

}  // namespace
}  // namespace tx::cli
