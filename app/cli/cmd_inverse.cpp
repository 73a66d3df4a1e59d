// inverse: prints the inverse of maneuver texts (the generator of a solving maneuver and back),
// the length mark copied unchanged.
#include <cstdio>
#include <string>
#include <string_view>

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

// "(" digits metric-letter ["*"] ")": a length mark as the program writes it.
bool isLengthMark(std::string_view mark) {
    std::size_t i = 1, digits = 0;
    while (i < mark.size() && mark[i] >= '0' && mark[i] <= '9') ++i, ++digits;
    if (mark.empty() || mark[0] != '(' || digits == 0 || digits > 3 || i >= mark.size()) return false;
    if (mark[i] != 'f' && mark[i] != 's' && mark[i] != 'q') return false;
    if (++i < mark.size() && mark[i] == '*') ++i;
    return i + 1 == mark.size() && mark[i] == ')';
}

// The inverse as printed. The moves are written by the inversion itself; the length mark is
// copied from the input, so it is kept only when it is one, and whatever else stood there
// (control characters, raw bytes) is not written to the terminal or a file. A status text
// keeps its printable characters.
std::string printableInverse(const std::string& line, bool optimal) {
    const std::string inverse = optimal ? inverseOptimalText(line) : inverseManeuver(line);
    if (optimal && line.find("Status") != std::string::npos) {
        std::string kept;
        for (char ch : inverse)
            if (ch >= ' ' && ch <= '~') kept += ch;
        return kept;
    }
    const auto open = inverse.find('(');
    if (open == std::string::npos || isLengthMark(std::string_view(inverse).substr(open))) return inverse;
    return inverse.substr(0, open - 1);  // without the blank put before the mark
}

int runInverse(const Args& given) {
    Args args = given;
    const bool optimal = takeFlag(args, "--optimal");
    if (hasUnknownOption(kName, args)) return kExitError;
    if (args.empty()) {
        std::fprintf(stderr, "tesserix-cli %s: no maneuver given (use - to read stdin)\n", kName);
        return kExitError;
    }
    for (const auto& line : inputLines(args, false)) {
        std::printf("%s\n", printableInverse(line, optimal).c_str());
    }
    return kExitOk;
}

Register reg(kName, "print the inverse of maneuvers", kUsage, runInverse);

}  // namespace
}  // namespace tx::cli
