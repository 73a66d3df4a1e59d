// The statistics of the cube list: the lines for known entries, the length histograms by
// metric letter, and the antisymmetry test against a brute-force check with the cube model.
#include "list_support.hpp"

#include "cube/symmetry.hpp"
#include "workspace/statistics.hpp"

namespace tx {
namespace {

using testing::cubeOf;
using testing::entryWithManeuver;

const std::string kRule(63, '-');

std::shared_ptr<Entry> pattern(const FaceletCube& cube) {
    auto e = std::make_shared<Entry>();
    e->cube = cube;
    return e;
}

std::shared_ptr<Entry> withSolver(const std::string& text) {
    auto e = std::make_shared<Entry>();
    e->cube = cubeOf(inverseManeuver(text));
    e->setSolverText(text, countFaceTurns(text));
    return e;
}

TEST(Statistics, EmptyListCountsZeroAndHasNoLengthLines) {
    const std::vector<std::string> expected = {"Number of Cubes: 0", "Cubes not solved yet: 0", kRule,
                                               "Cubes solved optimally: 0", "", kRule,
                                               "Cubes solved with Two-Phase-Algorithm: 0", "", kRule,
                                               "Cubes with antisymmetry: 0", kRule};
    EXPECT_EQ(statisticsLines(countStatistics({}), 'f'), expected);
}

TEST(Statistics, KnownEntriesGiveTheirLengthLines) {
    MersenneTwister rng(5);
    std::vector<std::shared_ptr<Entry>> list;
    for (int moves : {20, 9, 20, 18}) list.push_back(entryWithManeuver(rng, moves));
    for (int moves : {17, 18, 18}) list.push_back(entryWithManeuver(rng, moves, true));
    // An optimal maneuver that is not proven counts with the two-phase maneuvers.
    auto unproven = entryWithManeuver(rng, 12);
    unproven->setOptimalManeuver(unproven->solverText, 12, false);
    list.push_back(unproven);
    // A pattern without maneuver is not solved yet; the solved cube is its own inverse.
    list.push_back(pattern(FaceletCube()));

    const std::vector<std::string> expected = {"Number of Cubes: 9",
                                               "Cubes not solved yet: 1",
                                               kRule,
                                               "Cubes solved optimally: 3",
                                               "",
                                               "17f*:      1",
                                               "18f*:      2",
                                               kRule,
                                               "Cubes solved with Two-Phase-Algorithm: 5",
                                               "",
                                               " 9f:      1",
                                               "12f:      1",
                                               "18f:      1",
                                               "20f:      2",
                                               kRule,
                                               "Cubes with antisymmetry: 1",
                                               kRule};
    EXPECT_EQ(statisticsLines(countStatistics(list), 'f'), expected);
}

TEST(Statistics, SlicePairsCountTwoAndTheMetricLetterIsUsed) {
    // Us and Fa' are two face turns each: 2 + 1 + 2.
    auto e = withSolver("Us R2 Fa'  (3s)");
    const ListStatistics s = countStatistics({e});
    EXPECT_EQ(s.twoPhase[5], 1);
    const auto lines = statisticsLines(s, 's');
    EXPECT_NE(std::find(lines.begin(), lines.end(), " 5s:      1"), lines.end());
}

TEST(Statistics, ManeuversLongerThanThirtyAreCountedTogether) {
    std::string longText;
    for (int i = 0; i < 16; ++i) longText += "R U ";
    const ListStatistics s = countStatistics({withSolver(longText), withSolver("R U")});
    EXPECT_EQ(s.twoPhaseLonger, 1);
    const auto lines = statisticsLines(s, 'f');
    EXPECT_EQ(lines[6], "Cubes solved with Two-Phase-Algorithm: 2");
    EXPECT_EQ(lines[8], " 2f:      1");
    EXPECT_EQ(lines[9], ">30f:      1");
    EXPECT_EQ(lines[10], kRule);
}

// ------------------------------------------------------------------ antisymmetry

// S c S^-1 = c^-1 for some symmetry S, on the parts the entry is about; parts it ignores
// are set to the identity so that the products stay defined.
bool bruteForceAntisymmetric(const Entry& e) {
    CubieCube c = e.cube.toCubieCube();
    const CubieCube identity;
    if (e.cubieSubset == 1) c.edges = identity.edges;
    if (e.cubieSubset == 2) c.corners = identity.corners;
    if (c.hasUndeterminedCubie()) return false;
    if (!e.cube.centersCount) c.centers = identity.centers;
    const CubieCube inverse = c.inverse();
    for (int k = 0; k < kSymmetries; ++k)
        if (conjugate(c, k) == inverse) return true;
    return false;
}

std::vector<std::shared_ptr<Entry>> antisymmetryPopulation() {
    std::vector<std::shared_ptr<Entry>> all;
    const char* faces = "URFDLB";
    const char* powers[] = {"", "2", "'"};
    for (int a = 0; a < 6; ++a)
        for (const char* pa : powers)
            for (int b = -1; b < 6; ++b)
                for (const char* pb : powers) {
                    if (b == a || (b < 0 && pb != powers[0])) continue;
                    std::string text = std::string(1, faces[a]) + pa;
                    if (b >= 0) text += std::string(" ") + faces[b] + pb;
                    all.push_back(pattern(cubeOf(text)));
                }
    for (const char* text : {"R2 L2 U2 D2 F2 B2", "U R2 F B R B2 R U2 L B2 R U' D' R2 F R' L B2 U2 F2",
                             "R L' U D' F B' R L'", "U D' R L' F B' U D'"})
        all.push_back(pattern(cubeOf(text)));
    MersenneTwister rng(17);
    for (int i = 0; i < 40; ++i) all.push_back(pattern(testing::randomFaceletCube(rng)));
    // Corners only (edges undefined) and edges only (corners undefined).
    for (const char* text : {"R", "R U", "R2 U2", "F R U R' U' F'"}) {
        auto corners = pattern(cubeOf(text));
        auto edges = pattern(cubeOf(text));
        for (int face = 0; face < 6; ++face)
            for (int place : {1, 3, 5, 7}) corners->cube.f[static_cast<std::size_t>(9 * face + place)] = kUndefinedFacelet;
        for (int face = 0; face < 6; ++face)
            for (int place : {0, 2, 6, 8}) edges->cube.f[static_cast<std::size_t>(9 * face + place)] = kUndefinedFacelet;
        corners->cubieSubset = 1;
        edges->cubieSubset = 2;
        all.push_back(corners);
        all.push_back(edges);
    }
    // Centre orientations counted.
    for (std::uint8_t ori : {1, 2}) {
        auto e = pattern(cubeOf("R2 L2"));
        e->cube.centersCount = true;
        e->cube.centerOri[U] = ori;
        all.push_back(e);
        auto twisted = pattern(cubeOf("R U"));
        twisted->cube.centersCount = true;
        twisted->cube.centerOri[F] = ori;
        all.push_back(twisted);
    }
    return all;
}

TEST(Statistics, AntisymmetryAgreesWithBruteForce) {
    int antisymmetric = 0;
    const auto all = antisymmetryPopulation();
    for (const auto& e : all) {
        const bool expected = bruteForceAntisymmetric(*e);
        EXPECT_EQ(hasAntisymmetry(*e), expected) << e->cube.faceletString() << " subset " << e->cubieSubset;
        antisymmetric += expected ? 1 : 0;
    }
    // Both answers occur often enough for the comparison to mean something.
    EXPECT_GT(antisymmetric, 50);
    EXPECT_GT(static_cast<int>(all.size()) - antisymmetric, 50);
    EXPECT_EQ(countStatistics(all).antisymmetric, antisymmetric);
}

TEST(Statistics, AntisymmetryOfKnownCubes) {
    // Self-inverse cubes pass with the identity; a single quarter turn with a reflection.
    EXPECT_TRUE(hasAntisymmetry(*pattern(FaceletCube())));
    EXPECT_TRUE(hasAntisymmetry(*pattern(cubeOf("R2 L2 U2 D2 F2 B2"))));
    EXPECT_TRUE(hasAntisymmetry(*pattern(cubeOf("R"))));
    // A cube with unknown pieces has none; about corners only, its edges do not matter.
    auto partial = pattern(cubeOf("R"));
    partial->cube.f[1] = partial->cube.f[46] = kUndefinedFacelet;
    partial->cube.f[3] = partial->cube.f[37] = kUndefinedFacelet;
    EXPECT_FALSE(hasAntisymmetry(*partial));
    partial->cubieSubset = 1;
    EXPECT_TRUE(hasAntisymmetry(*partial));
    // A quarter-turned centre is not its own inverse, but its mirror image is.
    auto centre = pattern(FaceletCube());
    centre->cube.centersCount = true;
    centre->cube.centerOri[U] = 1;
    EXPECT_TRUE(hasAntisymmetry(*centre));
}

}  // namespace
}  // namespace tx
