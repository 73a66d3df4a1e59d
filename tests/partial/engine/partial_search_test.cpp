// The search for partially defined cubes against the facelet model: the maneuvers of each
// depth are exactly those that a walk through every allowed move sequence finds (so the first
// depth is the optimum), every printed line solves the defined facelets, and the options
// (slice moves, excluded faces, ignored centres) do what they say.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "partial_support.hpp"
#include "platform/events.hpp"

namespace tx {
namespace {

using testing::generated;
using testing::keepCubies;
using testing::keepPieces;
using testing::kCorner;
using testing::kEdge;

// The eight D-layer pieces (as cubies: keepCubies).
std::vector<testing::PieceRef> dLayer() {
    std::vector<testing::PieceRef> p;
    for (int i = 4; i < 8; ++i) p.push_back({kCorner, i});
    for (int i = 4; i < 8; ++i) p.push_back({kEdge, i});
    return p;
}

std::vector<testing::PieceRef> allCorners() {
    std::vector<testing::PieceRef> p;
    for (int i = 0; i < 8; ++i) p.push_back({kCorner, i});
    return p;
}

// Marks every facelet of a piece: its identity known, its orientation open.
void markPiece(FaceletCube& c, const std::array<std::uint8_t, 2>& facelets) {
    for (int f : facelets) c.f[f] = static_cast<std::uint8_t>(c.f[f] + kMarkOffset);
}

TEST(PartialMode, TheFourKindsOfInput) {
    const FaceletCube scrambled = generated("R U F' L2 D B'");
    // The D face and the D-layer side stickers of a solved cube, and the same pieces elsewhere.
    EXPECT_EQ(chooseIncompMode(keepPieces(generated(""), dLayer()).toCubieCube()), IncompMode::DFace);
    EXPECT_EQ(chooseIncompMode(keepCubies(scrambled, dLayer()).toCubieCube()), IncompMode::DFace);
    // Whatever stands in the D layer of a scramble is not the D layer.
    EXPECT_EQ(chooseIncompMode(keepPieces(scrambled, dLayer()).toCubieCube()), IncompMode::Plain);
    EXPECT_EQ(chooseIncompMode(keepPieces(scrambled, allCorners()).toCubieCube()), IncompMode::Corners);
    auto both = allCorners();
    for (int i = 4; i < 8; ++i) both.push_back({kEdge, i});
    EXPECT_EQ(chooseIncompMode(keepCubies(scrambled, both).toCubieCube()), IncompMode::CornersAndDFace);
    EXPECT_EQ(chooseIncompMode(keepPieces(scrambled, {{kEdge, 0}, {kCorner, 3}}).toCubieCube()), IncompMode::Plain);
    // A D-layer edge whose orientation is open leaves the D layer incomplete.
    FaceletCube marked = keepPieces(generated(""), dLayer());
    markPiece(marked, kEdgeFacelet[DF]);
    EXPECT_EQ(chooseIncompMode(marked.toCubieCube()), IncompMode::Plain);
    EXPECT_STREQ(incompModeMessage(IncompMode::CornersAndDFace), "Using 8-corner and D-Face accelerator tables.");
    EXPECT_STREQ(incompModeMessage(IncompMode::DFace), "Using D-Face accelerator table.");
    EXPECT_STREQ(incompModeMessage(IncompMode::Corners), "Using 8-corner accelerator table.");
    EXPECT_STREQ(incompModeMessage(IncompMode::Plain), "Cannot use any accelerator table.");
}

struct Case {
    const char* name;
    FaceletCube cube;
    IncompMode mode;
    int depth;  // compared with the walk up to this depth
};

std::vector<Case> faceTurnCases() {
    std::vector<Case> cases;
    cases.push_back({"three edges", keepPieces(generated("R U F' L"), {{kEdge, UF}, {kEdge, FR}, {kEdge, DB}}),
                     IncompMode::Plain, 5});
    FaceletCube corners = keepPieces(generated("F R' D2 B"), {{kCorner, URF}, {kCorner, DBL}, {kCorner, UFL}});
    for (int f : kCornerFacelet[UFL]) corners.f[f] = static_cast<std::uint8_t>(corners.f[f] + kMarkOffset);
    cases.push_back({"three corners, one of them marked", corners, IncompMode::Plain, 5});
    // Reference marks: an edge and a corner whose orientation is given, their identity open.
    FaceletCube reference = keepPieces(generated("R2 U' F"), {{kEdge, UR}, {kCorner, DFR}});
    reference.f[kEdgeFacelet[UF][0]] = kReferenceMark;
    reference.f[kCornerFacelet[ULB][1]] = kReferenceMark;
    cases.push_back({"reference marks", reference, IncompMode::Plain, 5});
    cases.push_back({"D layer", keepCubies(generated("R2 U F' U' L"), dLayer()), IncompMode::DFace, 5});
    cases.push_back({"all corners", keepPieces(generated("R U R' D"), allCorners()), IncompMode::Corners, 5});
    auto both = allCorners();
    for (int i = 4; i < 8; ++i) both.push_back({kEdge, i});
    both.push_back({kEdge, UB});
    cases.push_back({"corners and D layer", keepCubies(generated("U R U' B D'"), both), IncompMode::CornersAndDFace, 5});
    return cases;
}

TEST(PartialSearch, EachDepthHoldsExactlyTheManeuversOfTheFaceletModel) {
    REQUIRE_INCOMP_TABLES(false);
    for (const Case& c : faceTurnCases()) {
        SCOPED_TRACE(c.name);
        IncompSearch search(c.cube.toCubieCube(), {}, testing::incompTables(false));
        EXPECT_EQ(search.mode(), c.mode);
        const auto walked = testing::bruteForce(c.cube, c.depth, false);
        const auto found = testing::searchUpTo(c.cube, c.depth, {});
        int first = 0;
        for (int d = 1; d <= c.depth; ++d) {
            EXPECT_EQ(found[d - 1], walked[d - 1]) << "depth " << d;
            if (!first && !walked[d - 1].empty()) first = d;
        }
        EXPECT_GT(first, 0) << "the walk found nothing: make the case shorter";
    }
}

// Runs the search to maxDepth and checks every line against the facelet model and the marks.
void expectLinesSolve(const FaceletCube& cube, const IncompOptions& options, int maxDepth, char metric) {
    IncompSearch search(cube.toCubieCube(), options, testing::incompTables(options.sliceMoves));
    int first = 0, lines = 0;
    search.run(maxDepth, [&](const IncompReport& r) {
        if (r.kind != IncompReport::Kind::Found) return true;
        if (!first) first = r.depth;
        const std::string line = incompLine(r, metric, options.sliceMoves);
        const std::string tail = " (" + std::to_string(r.depth) + metric + (r.depth == first ? "*)" : ")");
        EXPECT_EQ(line.substr(line.size() - std::min(line.size(), tail.size())), tail) << line;
        EXPECT_TRUE(testing::solvesDefinedFacelets(cube, line, options.ignoredCenters)) << line;
        ++lines;
        return true;
    });
    EXPECT_GT(lines, 0);
}

TEST(PartialSearch, EveryLineSolvesTheDefinedFaceletsAndTheFirstDepthIsStarred) {
    REQUIRE_INCOMP_TABLES(false);
    for (const Case& c : faceTurnCases()) {
        SCOPED_TRACE(c.name);
        expectLinesSolve(c.cube, {}, 6, 'f');
    }
}

TEST(PartialSearch, SliceMovesKeepThePairRuleAndAreWrittenAsMiddleLayers) {
    REQUIRE_INCOMP_TABLES(true);
    const FaceletCube cube = keepPieces(generated("Us R Fs'"), {{kEdge, UF}, {kEdge, FR}, {kCorner, URF}, {kEdge, BL}});
    IncompOptions slice;
    slice.sliceMoves = true;
    const auto walked = testing::bruteForce(cube, 4, true);
    const auto found = testing::searchUpTo(cube, 4, slice);
    for (int d = 1; d <= 4; ++d) EXPECT_EQ(found[d - 1], walked[d - 1]) << "depth " << d;
    ASSERT_FALSE(found[2].empty());
    expectLinesSolve(cube, slice, 4, 's');

    // The text: middle layers and closing rotations, never the pair names.
    IncompSearch search(cube.toCubieCube(), slice, testing::incompTables(true));
    bool sawMiddleLayer = false;
    search.run(4, [&](const IncompReport& r) {
        const std::string line = incompLine(r, 'f', true);
        EXPECT_EQ(line.find("Us"), std::string::npos);
        EXPECT_EQ(line.find("Rs"), std::string::npos);
        EXPECT_EQ(line.find("Fs"), std::string::npos);
        for (std::size_t i = 1; i < r.moves.size(); ++i) {
            const Move a = r.moves[i - 1], b = r.moves[i];
            EXPECT_FALSE(b.axis == a.axis + 3 && a.axis < 3 && a.power + b.power == 4) << line;
            EXPECT_FALSE(b.axis >= 6 && a.axis < 6 && a.axis % 3 == b.axis - 6) << line;
            EXPECT_FALSE(a.axis >= 6 && b.axis < 6 && b.axis % 3 == a.axis - 6) << line;
        }
        for (const Move& m : r.moves) sawMiddleLayer |= m.axis >= 6;
        return true;
    });
    EXPECT_TRUE(sawMiddleLayer);
    // One slice pair alone: E then y, as U with D'.
    IncompReport pair;
    pair.moves = {{6, 1}};
    EXPECT_EQ(incompLine(pair, 's', true), "E y  (1s)");
}

TEST(PartialSearch, ExcludedFacesNeverTurn) {
    REQUIRE_INCOMP_TABLES(false);
    const FaceletCube cube = keepPieces(generated("R U2 D' B"), {{kEdge, UR}, {kEdge, BR}, {kCorner, DRB}});
    IncompOptions options;
    options.excludedFaces = 1u << F | 1u << L;
    const auto walked = testing::bruteForce(cube, 5, false, options.excludedFaces);
    const auto found = testing::searchUpTo(cube, 5, options);
    for (int d = 1; d <= 5; ++d) {
        EXPECT_EQ(found[d - 1], walked[d - 1]) << "depth " << d;
        for (const std::string& m : found[d - 1]) EXPECT_EQ(m.find_first_of("FL"), std::string::npos) << m;
    }
}

TEST(PartialSearch, IgnoredCentresMayEndTurned) {
    REQUIRE_INCOMP_TABLES(false);
    // "U R" with the U and R centres turned once each; U did not touch the kept pieces.
    FaceletCube cube = keepPieces(generated("U R"), {{kEdge, UR}, {kCorner, DFR}, {kEdge, FR}});
    cube.centersCount = true;
    ASSERT_EQ(cube.centerOri, (std::array<std::uint8_t, 6>{1, 1, 0, 0, 0, 0}));
    const auto strict = testing::searchUpTo(cube, 4, {});
    EXPECT_EQ(strict, testing::bruteForce(cube, 4, false));
    IncompOptions loose;
    loose.ignoredCenters = ignoredCenterBits(U);
    const auto free = testing::searchUpTo(cube, 4, loose);
    EXPECT_EQ(free, testing::bruteForce(cube, 4, false, 0, loose.ignoredCenters));
    // R' alone leaves the U centre turned: good only while that centre is ignored.
    EXPECT_TRUE(strict[0].empty());
    EXPECT_EQ(free[0], std::vector<std::string>{"R'"});
    for (int d = 0; d < 4; ++d)
        for (const std::string& m : strict[d]) EXPECT_NE(std::find(free[d].begin(), free[d].end(), m), free[d].end());
    expectLinesSolve(cube, loose, 4, 'f');
}

TEST(PartialSearch, DepthsFromSevenOnAreAnnounced) {
    REQUIRE_INCOMP_TABLES(false);
    // Two corners and two edges of a long scramble: the first maneuvers are seven moves or more.
    const FaceletCube cube = keepPieces(generated("R U F D L B R' U2 F' D2 L' B2"),
                                        {{kCorner, URF}, {kCorner, DBL}, {kEdge, UF}, {kEdge, BR}, {kEdge, DL}});
    IncompSearch search(cube.toCubieCube(), {}, testing::incompTables(false));
    std::vector<int> announced;
    int lastDepth = 0;
    search.run(8, [&](const IncompReport& r) {
        if (r.kind == IncompReport::Kind::Depth) {
            announced.push_back(r.depth);
            EXPECT_LT(lastDepth, r.depth);  // before any maneuver of its depth
        }
        lastDepth = r.depth;
        return true;
    });
    EXPECT_EQ(announced, (std::vector<int>{7, 8}));
}

TEST(PartialSearch, UnsolvableInputIsSaidOnce) {
    REQUIRE_INCOMP_TABLES(false);
    // Only U and R may turn: the DF edge in the L layer cannot come home.
    IncompOptions options;
    options.excludedFaces = 1u << F | 1u << D | 1u << L | 1u << B;
    const FaceletCube cube = keepPieces(generated("F L"), {{kEdge, DF}});
    std::vector<IncompReport::Kind> kinds;
    IncompSearch(cube.toCubieCube(), options, testing::incompTables(false)).run(30, [&](const IncompReport& r) {
        kinds.push_back(r.kind);
        return true;
    });
    EXPECT_EQ(kinds, std::vector<IncompReport::Kind>{IncompReport::Kind::Unsolvable});
    // All corners given with one twisted: the 8-corner table cannot stand for it.
    FaceletCube twisted = keepPieces(generated(""), allCorners());
    std::swap(twisted.f[kCornerFacelet[URF][0]], twisted.f[kCornerFacelet[URF][1]]);
    std::swap(twisted.f[kCornerFacelet[URF][1]], twisted.f[kCornerFacelet[URF][2]]);
    IncompSearch corners(twisted.toCubieCube(), {}, testing::incompTables(false));
    EXPECT_EQ(corners.mode(), IncompMode::Corners);
    EXPECT_TRUE(corners.plan().unsolvable);
}

TEST(PartialSearch, ThreadReportsInOrderUntilStoppedAndFreesItsTables) {
    REQUIRE_INCOMP_TABLES(false);
    // Two edges: many maneuvers at every depth, so the thread keeps finding.
    const FaceletCube cube = keepPieces(generated("R F"), {{kEdge, UF}, {kEdge, DR}});
    QueueEvents events;
    IncompSearch search(cube.toCubieCube(), {}, testing::incompTables(false));
    EXPECT_GT(search.plan().tableBytes(), 0u);
    std::vector<IncompReport> got;
    search.start(events, [&](const IncompReport& r) { got.push_back(r); });
    ASSERT_TRUE(events.runUntil([&] { return got.size() > 5000; }, std::chrono::seconds(60)));
    search.stop();
    const std::size_t atStop = got.size();
    events.waitAndDrain(std::chrono::milliseconds(50));
    EXPECT_EQ(got.size(), atStop);  // nothing after stop()
    EXPECT_EQ(search.plan().tableBytes(), 0u);
    int depth = 0, first = got.front().depth;
    for (const IncompReport& r : got) {
        ASSERT_GE(r.depth, depth);
        depth = r.depth;
        if (r.kind == IncompReport::Kind::Found) {
            EXPECT_EQ(r.optimal, r.depth == first);
        }
    }
    EXPECT_GT(depth, first);
}

}  // namespace
}  // namespace tx
