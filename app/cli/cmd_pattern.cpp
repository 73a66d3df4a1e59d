// pattern: lists the cubes whose faces each show one of the patterns of a pattern file.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "command.hpp"
#include "enumeration_output.hpp"
#include "searches/pattern_file.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "pattern";
constexpr const char* kUsage =
    "usage: tesserix-cli pattern FILE [--continuous] [--count]\n"
    "Lists every cube each of whose faces shows one of the patterns of FILE, up to rotation and\n"
    "reflection of the pattern and up to a renaming of its colours, one facelet string per line\n"
    "in the order found, with a running count on stderr. Every cube the enumeration finds is\n"
    "printed, also cubes that are symmetric images of each other.\n"
    "  --continuous  adjacent edge and corner colours follow the continuity rule\n"
    "  --count       print only the number of cubes found\n"
    "\n"
    "Pattern file: up to five rows, each a header line and three lines of three palette values:\n"
    "  row 1 faces U R F D L B   the row number 1..5 and the faces that may show the pattern\n"
    "  1 1 1                     (letters U R F D L B; \"faces none\" for none; without \"faces\"\n"
    "  1 2 1                     all six), then the 3 x 3 cells, line by line as the face is seen\n"
    "  1 1 1                     from outside; blanks between the values are optional\n"
    "Palette values: 1 red, 2 yellow, 3 lime, 4 blue, 5 white, 6 grey (a cleared cell); only\n"
    "which cells share a value counts. A row whose cells are all 6, and a row not given, takes\n"
    "part for no face. '#' starts a comment; blank lines are skipped.\n"
    "Exit code 2 when the file cannot be read or is malformed; nothing is searched then.\n";

int runPattern(const Args& given) {
    Args args = given;
    PatternSet patterns;
    const bool continuous = takeFlag(args, "--continuous");
    const bool countOnly = takeFlag(args, "--count");
    if (hasUnknownOption(kName, args)) return kExitError;
    if (args.size() != 1) {
        std::fprintf(stderr, "tesserix-cli %s: expected one pattern file (tesserix-cli pattern --help)\n", kName);
        return kExitError;
    }
    const std::string& file = args.front();
    std::error_code ec;
    std::ifstream in(file, std::ios::binary);
    if (!std::filesystem::is_regular_file(file, ec) || !in) {
        std::fprintf(stderr, "tesserix-cli %s: %s: cannot read the file\n", kName, file.c_str());
        return kExitError;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string error;
    const auto read = readPatternText(text, error);
    if (!read) {
        std::fprintf(stderr, "tesserix-cli %s: %s: %s\n", kName, file.c_str(), error.c_str());
        return kExitError;
    }
    patterns = *read;
    patterns.continuous = continuous;
    PatSearch search(patterns);
    return printEnumeration(kName, search, countOnly);
}

Register reg(kName, "list the cubes whose faces show given colour patterns", kUsage, runPattern);

}  // namespace
}  // namespace tx::cli
