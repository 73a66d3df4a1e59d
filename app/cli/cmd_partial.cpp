// partial: the search for partially defined cubes. Reads one facelet string with undefined
// facelets, says on stderr which accelerator tables the search uses, and prints every maneuver
// that solves the defined facelets, depth by depth, as the search's window lists them.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

#include "command.hpp"
#include "numbers.hpp"
#include "searches/incomp_input.hpp"
#include "searches/incomp_search.hpp"
#include "table_setup.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "partial";
constexpr const char* kUsage =
    "usage: tesserix-cli partial FACELETS [--slice] [--exclude F,D,L,B] [--ignore-centres U,R,...]\n"
    "                            [--max-depth N] [--limit K] [--data-dir DIR] [--yes]\n"
    "Lists every maneuver that solves the defined facelets of a partially defined cube, shortest\n"
    "first: the maneuvers of the first depth with any carry \"*)\" in their mark. FACELETS are the\n"
    "54 facelets U1..U9 R1..R9 F1..F9 D1..D9 L1..L9 B1..B9 (- reads them from stdin): U R F D L B\n"
    "for colours, N or . for an undefined facelet, u r f d l b for a marked colour (a piece whose\n"
    "identity is known and whose orientation is open) and * for a reference mark (its orientation is\n"
    "known, its identity open); blanks and other characters are skipped. A piece is defined wholly\n"
    "or not at all.\n"
    "  --slice            slice moves are allowed (written as E, M, S with closing x, y, z)\n"
    "  --exclude LIST     faces that are not turned, any of F, D, L, B (face turns only)\n"
    "  --ignore-centres LIST  the cube counts centre orientations (all straight in FACELETS),\n"
    "                     except those of the faces listed (\"\" for none)\n"
    "  --max-depth N      search the depths 1 to N (default 20)\n"
    "  --limit K          stop after K maneuvers (default 100)\n"
    "The table of the search is made at every start (about a second). The accelerator tables used\n"
    "and \"Searching depth N\" from depth 7 on go to stderr. Exit code 1 when the facelets cannot be a\n"
    "part of any cube, 2 on a usage or system error.\n";

// A comma-separated list of face letters out of `allowed`, as bits by face; nullopt (after
// saying why) on anything else.
std::optional<unsigned> takeFaces(Args& args, const std::string& option, const std::string& allowed, bool& given) {
    auto it = std::find(args.begin(), args.end(), option);
    given = it != args.end();
    if (!given) return 0u;
    if (it + 1 == args.end()) {
        std::fprintf(stderr, "tesserix-cli %s: %s needs a list of faces\n", kName, option.c_str());
        return std::nullopt;
    }
    const std::string list = *(it + 1);
    args.erase(it, it + 2);
    unsigned faces = 0;
    std::size_t start = 0;
    while (start <= list.size() && !list.empty()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string face = list.substr(start, comma - start);
        const int c = face.size() == 1 ? colorOfLetter(face[0]) : -1;
        if (c < 0 || allowed.find(faceLetter(c)) == std::string::npos) {
            std::fprintf(stderr, "tesserix-cli %s: %s takes faces out of %s separated by commas, not '%s'\n", kName,
                         option.c_str(), allowed.c_str(), list.c_str());
            return std::nullopt;
        }
        faces |= 1u << c;
        start = comma + 1;
    }
    return faces;
}

struct PartialArgs {
    TableOptions tables;
    IncompOptions search;
    bool centres = false;
    long long maxDepth = 20, limit = 100;
    std::string facelets;
};

std::optional<PartialArgs> parseArgs(Args args) {
    PartialArgs p;
    p.tables.dataDir = takeOption(args, "--data-dir", "");
    p.tables.yes = takeFlag(args, "--yes");
    p.search.sliceMoves = p.tables.slice = takeFlag(args, "--slice");
    bool excludeGiven = false;
    const auto excluded = takeFaces(args, "--exclude", "FDLB", excludeGiven);
    const auto ignored = takeFaces(args, "--ignore-centres", "URFDLB", p.centres);
    const auto depth = takeWholeOption(args, kName, "--max-depth", 20, 1, 40);
    const auto limit = takeWholeOption(args, kName, "--limit", 100, 1, 1000000000);
    if (!excluded || !ignored || !depth || !limit || hasUnknownOption(kName, args)) return std::nullopt;
    if (excludeGiven && p.search.sliceMoves) {
        std::fprintf(stderr, "tesserix-cli %s: --exclude works with face turns only, not with --slice\n", kName);
        return std::nullopt;
    }
    if (args.empty()) {
        std::fprintf(stderr, "%s", kUsage);
        return std::nullopt;
    }
    p.search.excludedFaces = *excluded;
    for (int face = 0; face < 6; ++face)
        if (*ignored >> face & 1) p.search.ignoredCenters |= ignoredCenterBits(face);
    p.maxDepth = *depth;
    p.limit = *limit;
    if (args.size() == 1 && args[0] == "-") {
        std::getline(std::cin, p.facelets);
    } else {
        for (const auto& a : args) p.facelets += a + " ";
    }
    return p;
}

int runPartial(const Args& given) {
    const auto args = parseArgs(given);
    if (!args) return kExitError;
    std::string error;
    auto cube = parsePartialFacelets(args->facelets, error);
    if (cube) {
        cube->centersCount = args->centres;
        if (auto problem = partialCubeProblem(*cube, args->search.ignoredCenters)) error = *problem;
    }
    if (!error.empty()) {
        std::fprintf(stderr, "tesserix-cli %s: %s\n", kName, error.c_str());
        return kExitInvalid;
    }
    const auto tables = prepareTables(args->tables);
    if (!tables) return kExitError;
    const bool slice = args->search.sliceMoves;
    const char metric = slice ? 's' : 'f';
    IncompSearch search(cube->toCubieCube(), args->search,
                        buildIncompTables(tables->coords, cornerTableOf(*tables), slice));
    std::fprintf(stderr, "%s\n", incompModeMessage(search.mode()));
    long long printed = 0;
    search.run(static_cast<int>(args->maxDepth), [&](const IncompReport& r) {
        switch (r.kind) {
            case IncompReport::Kind::Depth:
                std::fprintf(stderr, "%s\n", incompDepthLine(r.depth).c_str());
                return true;
            case IncompReport::Kind::Unsolvable:
                std::fprintf(stderr, "tesserix-cli %s: no maneuver solves the defined facelets with the moves allowed\n",
                             kName);
                return false;
            case IncompReport::Kind::Found:
                break;
        }
        std::printf("%s\n", incompLine(r, metric, slice).c_str());
        std::fflush(stdout);
        return ++printed < args->limit;
    });
    return kExitOk;
}

Register reg(kName, "list the maneuvers that solve the defined facelets of a partially defined cube", kUsage,
             runPartial);

}  // namespace
}  // namespace tx::cli
