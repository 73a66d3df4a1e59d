// check: runs the consistency checks that a cube passes before it is accepted, one facelet
// string per line, and prints "ok" or the reason the cube is not valid.
#include <cstdio>

#include "command.hpp"
#include "cube_input.hpp"
#include "json_output.hpp"
#include "line_reader.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "check";
constexpr const char* kUsage =
    "usage: tesserix-cli check [--format text|json] [FACELETS...|-]\n"
    "Checks each facelet string (54 face letters U R F D L B, either case; other characters\n"
    "are skipped; stdin, one per line, when none is given or the argument is -). Prints \"ok\"\n"
    "or the reason the cube cannot be solved. Exit code 1 when any cube was not ok. --format json\n"
    "prints one JSON object per line: line, input, ok, and error when it is not ok.\n";

int runCheck(const Args& given) {
    Args args = given;
    const auto format = takeFormat(args, kName);
    if (!format || hasUnknownOption(kName, args)) return kExitError;
    int exitCode = kExitOk;
    std::size_t lineNo = 0;
    LineReader input(args, true);
    while (const auto line = input.next()) {
        std::string error;
        const bool ok = parseCube(*line, false, error).has_value();
        if (!ok) exitCode = kExitInvalid;
        if (*format == OutputFormat::Json) {
            nlohmann::json record = {{"line", ++lineNo}, {"input", *line}, {"ok", ok}};
            if (!ok) record["error"] = error;
            printJsonLine(record);
        } else {
            std::printf("%s\n", ok ? "ok" : error.c_str());
            std::fflush(stdout);  // each answer as soon as its line is read
        }
    }
    return exitCode;
}

Register reg(kName, "check facelet strings and report twist, flip and parity errors", kUsage, runCheck);

}  // namespace
}  // namespace tx::cli
