// symmetry: lists the cubes that a group of cube symmetries leaves unchanged (and, with an
// antisymmetry subgroup, those that the rest of the group turns into their inverse).
#include <cstdio>
#include <string>
#include <vector>

#include "command.hpp"
#include "cube/symmetry.hpp"
#include "enumeration_output.hpp"
#include "numbers.hpp"
#include "searches/sy_search.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "symmetry";
constexpr const char* kUsage =
    "usage: tesserix-cli symmetry --group G [--antisymmetry H] [--higher] [--isomorphs]\n"
    "           [--colours LIST] [--continuous] [--pieces all|edges|corners|edges-only|corners-only]\n"
    "           [--self-inverse|--not-self-inverse] [--count]\n"
    "Lists every cube c with S c S^-1 = c for all symmetries S of the group G, one facelet\n"
    "string per line in the order found, with a running count on stderr.\n"
    "  --group G          a row of the group list, 0..32 (0 Oh, 1 O, ... 32 C1), 33 and 34 for\n"
    "                     the two further two-element groups, or an item text such as \"C2v (a1)\"\n"
    "  --antisymmetry H   H is a subgroup of G of index 2: its symmetries leave the cube\n"
    "                     unchanged, the other symmetries of G turn it into its inverse\n"
    "  --higher           cubes with more symmetries than G are listed too (default: exactly G)\n"
    "  --isomorphs        list isomorphic cubes too (default: one cube per class); always on\n"
    "                     with --pieces edges-only and corners-only\n"
    "  --colours LIST     allowed numbers of colours on each face, digits 1..6 (default 12)\n"
    "  --continuous       adjacent edge and corner colours follow the continuity rule (whole\n"
    "                     cube only)\n"
    "  --pieces MODE      all: the whole cube (default); edges: only edges move, corners stay\n"
    "                     solved; corners: only corners move; edges-only: corners ignored (odd\n"
    "                     edge permutations, two corners exchanged to make them solvable);\n"
    "                     corners-only: edges ignored (likewise with two edges)\n"
    "  --self-inverse     the cube must be its own inverse\n"
    "  --not-self-inverse cubes that are their own inverse are left out\n"
    "  --count            print only the number of cubes found\n"
    "Exit code 2 for bad options; nothing is searched then.\n";

bool fail(const std::string& text) {
    std::fprintf(stderr, "tesserix-cli %s: %s\n", kName, text.c_str());
    return false;
}

bool parsePieces(const std::string& text, SymPieces& pieces) {
    if (text.empty() || text == "all") pieces = SymPieces::All;
    else if (text == "edges") pieces = SymPieces::EdgesMove;
    else if (text == "corners") pieces = SymPieces::CornersMove;
    else if (text == "edges-only") pieces = SymPieces::EdgesOnly;
    else if (text == "corners-only") pieces = SymPieces::CornersOnly;
    else return fail("unknown --pieces mode '" + text + "' (all, edges, corners, edges-only, corners-only)");
    return true;
}

// Digits 1..6, commas and blanks between them allowed.
bool parseColours(const std::string& text, unsigned& mask) {
    mask = 0;
    for (char ch : text) {
        if (ch == ',' || ch == ' ') continue;
        if (ch < '1' || ch > '6') return fail("--colours takes the digits 1 to 6, found '" + text + "'");
        mask |= 1u << (ch - '0');
    }
    if (mask == 0) return fail("--colours needs at least one number of colours 1 to 6");
    return true;
}

// The rows a --group or --antisymmetry value names: a row number 0..34 (read as every number
// of the command line is) or a name of the group list.
std::vector<int> groupRows(const std::string& text) {
    if (const auto row = parseWholeNumber(text, 0, static_cast<long long>(GroupMaskTable.size()) - 1))
        return {static_cast<int>(*row)};
    return groupRowsNamed(text);
}

bool parseGroups(const std::string& groupText, const std::string& subText, int& group, int& subgroup) {
    const auto rows = groupRows(groupText);
    if (rows.empty())
        return fail("unknown group '" + groupText + "' (a row 0..34 or a group name such as \"C2v (a1)\")");
    group = rows.front();
    subgroup = -1;
    if (subText.empty()) return true;
    const auto subRows = groupRows(subText);
    if (subRows.empty()) return fail("unknown group '" + subText + "' given to --antisymmetry");
    for (int row : subRows) {
        if (isIndexTwoSubgroup(group, row)) {
            subgroup = row;
            return true;
        }
    }
    return fail("'" + subText + "' is not a subgroup of index 2 of " + std::string(GroupMaskTable[group].name));
}

bool parseOptions(Args& args, SymSearchOptions& o, bool& countOnly) {
    std::string groupText, subText, colours, pieces;
    if (!takeValue(args, kName, "--group", groupText) || !takeValue(args, kName, "--antisymmetry", subText) ||
        !takeValue(args, kName, "--colours", colours) || !takeValue(args, kName, "--pieces", pieces))
        return false;
    o.exact = !takeFlag(args, "--higher");
    o.allowIsomorphs = takeFlag(args, "--isomorphs");
    o.continuous = takeFlag(args, "--continuous");
    const bool selfInverse = takeFlag(args, "--self-inverse");
    o.rejectSelfInverse = takeFlag(args, "--not-self-inverse");
    countOnly = takeFlag(args, "--count");
    if (hasUnknownOption(kName, args)) return false;
    if (!args.empty()) return fail("unexpected argument " + args.front());
    if (groupText.empty()) return fail("--group G is required (tesserix-cli symmetry --help)");
    int group = 0, subgroup = -1;
    if (!parseGroups(groupText, subText, group, subgroup) || !parsePieces(pieces, o.pieces)) return false;
    if (!colours.empty() && !parseColours(colours, o.colourCounts)) return false;
    if (selfInverse && o.rejectSelfInverse) return fail("--self-inverse and --not-self-inverse exclude each other");
    if (o.continuous && o.pieces != SymPieces::All) return fail("--continuous needs the whole cube (--pieces all)");
    if (o.pieces == SymPieces::EdgesOnly || o.pieces == SymPieces::CornersOnly) o.allowIsomorphs = true;
    const std::uint64_t all = GroupMaskTable[group].mask;
    const std::uint64_t inverse = selfInverse ? 1 : 0;
    if (subgroup < 0) {
        o.group = closeGroup(all, inverse);
    } else {
        const std::uint64_t sub = GroupMaskTable[subgroup].mask;
        o.group = closeGroup(sub, (all & ~sub) | inverse);
    }
    return true;
}

int runSymmetry(const Args& given) {
    Args args = given;
    SymSearchOptions options;
    bool countOnly = false;
    if (!parseOptions(args, options, countOnly)) return kExitError;
    SySearch search(options);
    return printEnumeration(kName, search, countOnly);
}

Register reg(kName, "list the cubes with a given symmetry or antisymmetry", kUsage, runSymmetry);

}  // namespace
}  // namespace tx::cli
