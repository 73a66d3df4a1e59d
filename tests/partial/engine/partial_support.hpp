#pragma once
// Helpers of the tests of the search for partially defined cubes: the tables of both move
// sets (built once per test process), cubes with only some pieces defined, and the check of a
// maneuver against the facelet model (not against the search).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cube/facelet_cube.hpp"
#include "cube/notation.hpp"
#include "searches/incomp_search.hpp"
#include "searches/incomp_tables.hpp"
#include "support/test_tables.hpp"

namespace tx::testing {

inline std::shared_ptr<const IncompTables> incompTables(bool slice) {
    static std::shared_ptr<const IncompTables> built[2];
    auto& t = built[slice ? 1 : 0];
    if (!t) {
        const TableSet& set = slice ? loadSliceTestTables() : loadTestTables();
        if (set.ready()) t = buildIncompTables(set.coords, cornerTableOf(set), slice);
    }
    return t;
}

#define REQUIRE_INCOMP_TABLES(slice) \
    if (!::tx::testing::incompTables(slice)) GTEST_SKIP() << "no test tables in " << ::tx::testing::testDataFolder()

// The cube a maneuver generates from the solved cube.
inline FaceletCube generated(const std::string& maneuver) {
    FaceletCube c;
    applyManeuver(c, maneuver);
    return c;
}

enum PieceKind { kCorner, kEdge };
struct PieceRef {
    PieceKind kind;
    int position;
};

// Keeps only the facelets of the listed pieces (and the centres); everything else undefined.
inline FaceletCube keepPieces(const FaceletCube& full, const std::vector<PieceRef>& pieces) {
    FaceletCube c = full;
    c.clear();
    c.centerOri = full.centerOri;
    c.centersCount = full.centersCount;
    for (const PieceRef& p : pieces) {
        if (p.kind == kCorner)
            for (int f : kCornerFacelet[p.position]) c.f[f] = full.f[f];
        else
            for (int f : kEdgeFacelet[p.position]) c.f[f] = full.f[f];
    }
    return c;
}

// Keeps only the facelets of the listed cubies, wherever they stand.
inline FaceletCube keepCubies(const FaceletCube& full, const std::vector<PieceRef>& cubies) {
    const CubieCube c = full.toCubieCube();
    std::vector<PieceRef> at;
    for (const PieceRef& p : cubies) {
        if (p.kind == kCorner) {
            for (int i = 0; i < 8; ++i)
                if (c.corners[i].c == p.position) at.push_back({kCorner, i});
        } else {
            for (int i = 0; i < 12; ++i)
                if (c.edges[i].c == p.position) at.push_back({kEdge, i});
        }
    }
    return keepPieces(full, at);
}

// True when every defined facelet of `given` is solved once `text` is applied to it with the
// maneuver reader: plain colours on their own face, marked pieces at home in any orientation,
// reference marks on the reference facelet of their place, and centres whose orientation
// counts (and is not ignored) straight.
bool solvesDefinedFacelets(const FaceletCube& given, const std::string& text, int ignoredCenters = 0);

// Every maneuver of 1 .. maxDepth moves (face turns, or all 27 moves) that solves the defined
// facelets, found by turning the facelet model through every sequence allowed by the move
// rules; as the search writes them in face-turn form without marks.
std::vector<std::vector<std::string>> bruteForce(const FaceletCube& given, int maxDepth, bool slice,
                                                 unsigned excludedFaces = 0, int ignoredCenters = 0);

// The search's maneuvers up to maxDepth, grouped by depth, in face-turn form without marks.
std::vector<std::vector<std::string>> searchUpTo(const FaceletCube& given, int maxDepth, const IncompOptions& options);

// The maneuver of a report in face-turn form without its mark ("R U2 F'").
std::string plainMoves(const std::vector<Move>& moves);

}  // namespace tx::testing
