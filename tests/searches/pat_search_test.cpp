// The pattern search: the variants of a pattern, the face test, and the edge cases of whole
// searches (one colour, recoloured, turned and mirrored patterns, empty rows, faces without
// a pattern).
#include <gtest/gtest.h>

#include <set>

#include "search_support.hpp"
#include "searches/pat_search.hpp"

namespace tx {
namespace {

using testing::runToEnd;

std::vector<FaceletCube> found(const PatternSet& p) {
    PatSearch search(p);
    return runToEnd(search);
}

std::set<std::array<std::uint8_t, kFacelets>> asSet(const std::vector<FaceletCube>& cubes) {
    std::set<std::array<std::uint8_t, kFacelets>> s;
    for (const auto& c : cubes) s.insert(c.f);
    return s;
}

// A band: the top line in one colour, the rest in another (the side faces after a U turn),
// and a plain face for U and D.
PatternSet bandAndPlain(const PatternCells& band) {
    PatternSet p;
    p.rows[0] = band;
    p.rows[1] = {3, 3, 3, 3, 3, 3, 3, 3, 3};
    return p;
}

TEST(PatSearch, VariantsAreQuarterTurnsAndTheirMirrors) {
    const PatternCells cells = {1, 2, 3, 4, 5, 6, 1, 2, 3};
    const auto v = patternVariants(cells);
    EXPECT_EQ(v[0], cells);
    // A clockwise quarter turn: the left column becomes the top line.
    EXPECT_EQ(v[1], (PatternCells{1, 4, 1, 2, 5, 2, 3, 6, 3}));
    EXPECT_EQ(v[2], (PatternCells{3, 2, 1, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(v[4], (PatternCells{3, 2, 1, 6, 5, 4, 3, 2, 1}));  // mirror of the first
    EXPECT_EQ(patternVariants(v[3])[1], cells);  // four quarter turns
    for (int i = 0; i < 4; ++i) EXPECT_EQ(patternVariants(v[i + 4])[4], v[i]);
}

TEST(PatSearch, FaceFitsWhenColoursAndValuesCorrespondOneToOne) {
    const PatternCells cross = {1, 2, 1, 2, 2, 2, 1, 2, 1};
    const std::vector<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    const std::uint8_t fits[9] = {4, 0, 4, 0, 0, 0, 4, 0, 4};
    EXPECT_TRUE(patternFits(fits, cross, all));
    const std::uint8_t merged[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};  // two values, one colour
    EXPECT_FALSE(patternFits(merged, cross, all));
    const std::uint8_t split[9] = {4, 0, 5, 0, 0, 0, 4, 0, 4};   // one value, two colours
    EXPECT_FALSE(patternFits(split, cross, all));
    const std::uint8_t open[9] = {6, 6, 6, 6, 0, 6, 6, 6, 6};    // undefined facelets are left out
    EXPECT_TRUE(patternFits(open, cross, all));
    const std::uint8_t cornersOnly[9] = {4, 3, 4, 3, 0, 3, 4, 3, 5};
    EXPECT_FALSE(patternFits(cornersOnly, cross, {0, 2, 4, 6, 8}));
    EXPECT_TRUE(patternFits(cornersOnly, cross, {0, 2, 4, 6}));
}

TEST(PatSearch, OneColourOnEveryFaceGivesOnlyTheSolvedCube) {
    PatternSet p;
    p.rows[2] = {2, 2, 2, 2, 2, 2, 2, 2, 2};
    EXPECT_EQ(found(p), std::vector<FaceletCube>{FaceletCube()});
}

TEST(PatSearch, RecolouredTurnedAndMirroredPatternsFindTheSameCubes) {
    const auto upright = found(bandAndPlain({1, 1, 1, 2, 2, 2, 2, 2, 2}));
    ASSERT_FALSE(upright.empty());
    for (const auto& f : upright) EXPECT_TRUE(testing::solvable(f));
    FaceletCube afterU;
    afterU.turn(U);
    EXPECT_TRUE(asSet(upright).count(afterU.f));
    EXPECT_EQ(asSet(upright).size(), upright.size());
    EXPECT_EQ(found(bandAndPlain({5, 5, 5, 4, 4, 4, 4, 4, 4})), upright);  // other colours
    EXPECT_EQ(found(bandAndPlain({2, 2, 2, 2, 2, 2, 1, 1, 1})), upright);  // upside down
    EXPECT_EQ(found(bandAndPlain({1, 2, 2, 1, 2, 2, 1, 2, 2})), upright);  // turned
    PatternSet moved = bandAndPlain({1, 1, 1, 2, 2, 2, 2, 2, 2});
    std::swap(moved.rows[0], moved.rows[4]);  // the row number does not matter
    EXPECT_EQ(found(moved), upright);
}

TEST(PatSearch, MirroredAsymmetricPatternFindsTheSameCubes) {
    // An L of one colour: only a mirrored or turned drawing of it fits the same faces.
    PatternSet p;
    p.rows[0] = {1, 2, 2, 1, 2, 2, 1, 1, 2};
    p.rows[1] = {3, 3, 3, 3, 3, 3, 3, 3, 3};
    p.rows[2] = {4, 4, 4, 5, 5, 5, 5, 5, 5};
    const auto upright = found(p);
    ASSERT_FALSE(upright.empty());
    p.rows[0] = {2, 2, 1, 2, 2, 1, 2, 1, 1};
    EXPECT_EQ(found(p), upright);
}

TEST(PatSearch, EmptyRowsAndFacesWithoutAPatternFindNothing) {
    EXPECT_TRUE(found(PatternSet()).empty());
    PatternSet p = bandAndPlain({1, 1, 1, 2, 2, 2, 2, 2, 2});
    for (auto& row : p.faces) row[B] = false;  // B may show no row
    EXPECT_TRUE(found(p).empty());
    PatternSet plainOnSides;
    plainOnSides.rows[0] = {3, 3, 3, 3, 3, 3, 3, 3, 3};
    plainOnSides.faces[0] = {false, true, true, false, true, true};
    EXPECT_TRUE(found(plainOnSides).empty());  // U and D have no row
}

TEST(PatSearch, FaceBoxesRestrictWhereARowMayAppear) {
    PatternSet p = bandAndPlain({1, 1, 1, 2, 2, 2, 2, 2, 2});
    const auto anywhere = found(p);
    p.faces[0] = {false, true, true, false, true, true};  // bands on the sides only
    p.faces[1] = {true, false, false, true, false, false};  // plain U and D
    const auto restricted = found(p);
    ASSERT_FALSE(restricted.empty());
    EXPECT_LT(restricted.size(), anywhere.size());
    for (const auto& f : restricted) {
        EXPECT_TRUE(asSet(anywhere).count(f.f));
        for (int face : {U, D})
            for (int k = 0; k < 9; ++k) EXPECT_EQ(f.f[9 * face + k], f.f[9 * face + 4]);
    }
}

TEST(PatSearch, ContinuityKeepsOnlyContinuousCubes) {
    PatternSet p;
    p.rows[0] = {1, 2, 2, 1, 2, 2, 1, 1, 2};
    p.rows[1] = {3, 3, 3, 3, 3, 3, 3, 3, 3};
    p.rows[2] = {4, 4, 4, 5, 5, 5, 5, 5, 5};
    const auto all = found(p);
    p.continuous = true;
    const auto continuous = found(p);
    EXPECT_EQ(continuous.size(), testing::continuousCount(all));
    EXPECT_EQ(testing::continuousCount(continuous), continuous.size());
    EXPECT_GT(continuous.size(), 0u);
    EXPECT_LT(continuous.size(), all.size());
}

}  // namespace
}  // namespace tx
