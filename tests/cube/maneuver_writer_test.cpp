// The written form of the searches' maneuvers (face-turn form and middle-layer form) and the
// transformation of maneuver texts by the basic symmetries.
#include <gtest/gtest.h>

#include "random_text.hpp"

#include <random>
#include <string>
#include <vector>

#include "cube/cubie_cube.hpp"
#include "cube/facelet_cube.hpp"
#include "cube/facelet_symmetry.hpp"
#include "cube/notation.hpp"

namespace tx {
namespace {

std::string write(std::vector<Move> moves, char metric, bool slice, bool star = false) {
    return writeManeuver(moves.data(), int(moves.size()), metric, slice, star);
}

// The solved facelet cube moved by the cubie-level moves, centre orientations included.
FaceletCube cubieResult(const std::vector<Move>& moves) {
    CubieCube c;
    for (const Move& m : moves) c.applyMove(3 * m.axis + m.power - 1);
    FaceletCube f;
    f.setFromCubieCube(c);
    return f;
}

std::vector<Move> randomMoves(std::mt19937& rng, int n, int axes) {
    std::vector<Move> moves(n);
    for (Move& m : moves) {
        m.axis = std::uint8_t(rng() % axes);
        m.power = std::uint8_t(1 + rng() % 3);
    }
    return moves;
}

FaceletCube read(std::string_view text) {
    FaceletCube c;
    applyManeuver(c, text);
    return c;
}

// ---- face-turn form -----------------------------------------------------------------------

TEST(ManeuverWriter, FaceTurnForm) {
    EXPECT_EQ(write({{R, 1}, {U, 2}, {F, 3}}, 'f', false), "R U2 F'  (3f)");
    EXPECT_EQ(write({{R, 1}, {U, 2}, {F, 3}}, 'f', false, true), "R U2 F'  (3f*)");
    EXPECT_EQ(write({{D, 1}, {L, 2}, {B, 3}, {U, 1}}, 's', false), "D L2 B' U  (4s)");
    EXPECT_EQ(write({{6, 1}, {7, 2}, {8, 3}}, 'f', false), "Us Rs2 Fs'  (3f)");
    EXPECT_EQ(write({}, 'f', false), " (0f)");
    std::vector<Move> twenty(20, Move{R, 2});
    EXPECT_EQ(write(twenty, 'f', false, true).substr(60), " (20f*)");
}

TEST(ManeuverWriter, FaceTurnFormReadsBackAsTheCubieMoves) {
    std::mt19937 rng(21);
    for (int trial = 0; trial < 3000; ++trial) {
        const auto moves = randomMoves(rng, int(rng() % 25), kAxes);
        const std::string text = write(moves, 'f', false);
        FaceletCube c;
        const ApplyResult r = applyManeuver(c, text);
        ASSERT_EQ(c, cubieResult(moves)) << text;
        EXPECT_EQ(r.moves, int(moves.size()));
        EXPECT_EQ(countFaceTurns(text), [&] {
            int n = 0;
            for (const Move& m : moves) n += m.axis >= 6 ? 2 : 1;
            return n;
        }());
    }
}

// ---- middle-layer form ----------------------------------------------------------------

TEST(ManeuverWriter, SliceModeSinglePairs) {
    EXPECT_EQ(write({{7, 1}}, 's', true), "M x  (1s)");
    EXPECT_EQ(write({{6, 1}}, 's', true), "E y  (1s)");
    EXPECT_EQ(write({{8, 1}}, 's', true), "S' z  (1s)");
    EXPECT_EQ(write({{6, 2}}, 's', true), "E2 y2  (1s)");
    EXPECT_EQ(write({{7, 3}}, 's', true), "M' x'  (1s)");
    // Face moves alone are written as they are, with no rotation.
    EXPECT_EQ(write({{R, 1}, {U, 3}}, 's', true, true), "R U'  (2s*)");
    // After M the U centre stands on F: a later U move is written F.
    EXPECT_EQ(write({{7, 1}, {U, 1}}, 's', true), "M F x  (2s)");
}

TEST(ManeuverWriter, SliceModeUsWrittenAsEyTurnsLikeUAndDPrime) {
    const FaceletCube expected = cubieResult({{U, 1}, {D, 3}});
    EXPECT_EQ(read("E y"), expected);
    EXPECT_EQ(read(write({{6, 1}}, 's', true)), expected);
}

TEST(ManeuverWriter, SliceModeReadsBackAsTheCubieMovesWithCentresHome) {
    std::mt19937 rng(22);
    for (int trial = 0; trial < 3000; ++trial) {
        const auto moves = randomMoves(rng, int(rng() % 25), kAxes);
        const std::string text = write(moves, 's', true);
        FaceletCube c;
        const ApplyResult r = applyManeuver(c, text);
        // The closing rotations bring every centre home, so the facelets, and the centre
        // orientations, are those of the cubie-level moves.
        ASSERT_TRUE(c.centersInPlace()) << text;
        ASSERT_EQ(c, cubieResult(moves)) << text;
        EXPECT_EQ(r.moves, int(moves.size())) << text;
        // No token of the middle-layer form is a face pair.
        EXPECT_EQ(text.find('s'), text.size() - 2) << text;
        // At most two closing rotations.
        int rotations = 0;
        for (char ch : text) rotations += ch == 'x' || ch == 'y' || ch == 'z';
        EXPECT_LE(rotations, 2) << text;
    }
}

// ---- transformation ---------------------------------------------------------------------

TEST(ManeuverTransform, Examples) {
    EXPECT_EQ(transformManeuver("R U2 F'", 3), "L' U2 F");
    EXPECT_EQ(transformManeuver("R", 0), "F");
    EXPECT_EQ(transformManeuver("M", 0), "S'");
    EXPECT_EQ(transformManeuver("U R F D L B", 0), "R F U L B D");
    EXPECT_EQ(transformManeuver("E M S x y z", 1), "E' M' S x' y' z");
    EXPECT_EQ(transformManeuver("E2 M' S x y' z2", 2), "E2 S M z y' x2");
    EXPECT_EQ(transformManeuver("U2 M x' y", 3), "U2 M x' y'");
    // The length mark and the star pass unchanged; outer blanks go.
    EXPECT_EQ(transformManeuver("  R U2 F'  (3f*)  ", 3), "L' U2 F  (3f*)");
    EXPECT_EQ(transformManeuver("", 0), "");
}

TEST(ManeuverTransform, FaceletPairsKeepTheirSuffix) {
    EXPECT_EQ(transformManeuver("Us", 3), "Us'");
    EXPECT_EQ(transformManeuver("Us2 Ra'", 0), "Rs2 Fa'");
    EXPECT_EQ(transformManeuver("Ua R", 3), "Ua' L'");
    EXPECT_EQ(transformManeuver("Rs' F", 3), "Ls F'");
}

std::string randomText(std::mt19937& rng, int tokens) { return testing::randomText(rng, tokens, false); }

// Turning a cube by basic symmetry s and then applying the transformed text gives the same
// cube as applying the text and then turning: sym(C * T) = sym(C) * transform(T). In
// particular a text that solves C solves the turned cube once transformed.
TEST(ManeuverTransform, CommutesWithTheFaceletSymmetries) {
    std::mt19937 rng(23);
    for (int trial = 0; trial < 1500; ++trial) {
        FaceletCube start;
        for (int i = 0; i < 25; ++i) start.turn(int(rng() % kFaceletTurns));
        const std::string text = randomText(rng, int(rng() % 15));
        for (int s = 0; s < 4; ++s) {
            FaceletCube a = start;
            applyManeuver(a, text);
            applyBasicSymmetry(a, s);
            FaceletCube b = start;
            applyBasicSymmetry(b, s);
            const std::string transformed = transformManeuver(text, s);
            const ApplyResult r = applyManeuver(b, transformed);
            ASSERT_EQ(a, b) << "s=" << s << " '" << text << "' -> '" << transformed << "'";
            FaceletCube scratch;
            EXPECT_EQ(r.moves, applyManeuver(scratch, text).moves) << text;
        }
    }
}

TEST(ManeuverTransform, SolvingTextSolvesTheTurnedCube) {
    std::mt19937 rng(24);
    for (int trial = 0; trial < 500; ++trial) {
        const auto moves = randomMoves(rng, 1 + int(rng() % 20), kAxes);
        const bool slice = rng() % 2;
        const std::string solver = write(moves, slice ? 's' : 'f', slice);
        // The cube that `solver` solves: the inverse applied to the solved cube.
        FaceletCube cube = read(inverseManeuver(solver));
        for (int s = 0; s < 4; ++s) {
            FaceletCube turned = cube;
            applyBasicSymmetry(turned, s);
            applyManeuver(turned, transformManeuver(solver, s));
            ASSERT_EQ(turned, FaceletCube()) << "s=" << s << " " << solver;
        }
    }
}

TEST(ManeuverTransform, RepeatedTransformationsReturnTheText) {
    std::mt19937 rng(25);
    const int order[4] = {3, 2, 4, 2};
    for (int trial = 0; trial < 300; ++trial) {
        const auto moves = randomMoves(rng, 1 + int(rng() % 20), 6);
        const std::string text = write(moves, 'f', false);
        for (int s = 0; s < 4; ++s) {
            std::string t = text;
            for (int i = 0; i < order[s]; ++i) t = transformManeuver(t, s);
            EXPECT_EQ(t, text) << s;
        }
    }
}

}  // namespace
}  // namespace tx
