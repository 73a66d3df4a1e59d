// The tables of the search for partially defined cubes: the position coordinates, the D-face
// table against a breadth-first search over the raw D-layer positions, and the
// corner-orientation words.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <initializer_list>

#include "partial_support.hpp"
#include "searches/incomp_coords.hpp"
#include "tables/prune.hpp"

namespace tx {
namespace {

using namespace incomp;

TEST(PartialCoordinates, SlotsRoundTripAndTheDLayerAtHomeIsZero) {
    int slots[5], back[5];
    for (int v = 0; v < kEdge5; v += 7) {
        decodeSlots(v, 5, kEdgeSlots, slots);
        for (int j = 0; j < 5; ++j)
            for (int i = 0; i < j; ++i) ASSERT_NE(slots[i], slots[j]);
        ASSERT_EQ(encodeSlots(slots, 5, kEdgeSlots), v);
    }
    const CubieCube solved;
    EXPECT_EQ(dLayerCoordinate(solved.edges, edgeSlot), 0);
    EXPECT_EQ(dLayerCoordinate(solved.corners, cornerSlot), 0);
    // The first j digits of a tuple are the coordinate of its first j pieces.
    decodeSlots(kEdge4 - 1, 4, kEdgeSlots, slots);
    for (int j = 0; j < 4; ++j) back[j] = slots[j];
    EXPECT_EQ(encodeSlots(back, 2, kEdgeSlots), (kEdge4 - 1) / placements(kEdgeSlots - 2, 2));
}

TEST(PartialTables, MoveTablesFollowTheCubieModel) {
    REQUIRE_INCOMP_TABLES(true);
    const IncompTables& t = *testing::incompTables(true);
    ASSERT_EQ(t.moveCount, 27);
    CubieCube c;
    for (int m : {3, 7, 20, 14, 26, 0, 10, 22}) {
        const int edges = dLayerCoordinate(c.edges, edgeSlot), corners = dLayerCoordinate(c.corners, cornerSlot);
        unsigned word = 0, known = 0;
        for (int p = 0; p < 8; ++p) word |= static_cast<unsigned>(p == 5 ? 3 : c.corners[p].o) << (2 * p);
        for (int p = 0; p < 12; ++p) known |= static_cast<unsigned>(c.edges[p].o) << p;
        CubieCube next = c;
        next.applyMove(m);
        EXPECT_EQ(t.move4(edges, m), dLayerCoordinate(next.edges, edgeSlot));
        EXPECT_EQ(t.corner4Move[corners * 27 + m], dLayerCoordinate(next.corners, cornerSlot));
        unsigned nextFlips = 0;
        for (int p = 0; p < 12; ++p) nextFlips |= static_cast<unsigned>(next.edges[p].o) << p;
        EXPECT_EQ(t.edgeMaskMove[known * 27 + m] ^ t.edgeFlips[m], nextFlips);
        // The corner that stood at position 5 keeps its open orientation wherever it goes.
        const std::uint16_t moved = t.moveWord(static_cast<std::uint16_t>(word), m);
        for (int p = 0; p < 8; ++p) {
            const int digit = moved >> (2 * p) & 3;
            if (c.corners[5].c == next.corners[p].c) EXPECT_EQ(digit, 3);
            else EXPECT_EQ(digit, next.corners[p].o);
        }
        c = next;
    }
}

// Every entry of the D-face table against the distances of the raw positions (four D edges x
// four D corners, 11880 x 1680), found breadth-first without symmetries.
TEST(PartialTables, DFaceTableHoldsTheDistancesOfTheRawPositions) {
    REQUIRE_INCOMP_TABLES(false);
    const IncompTables& t = *testing::incompTables(false);
    EXPECT_EQ(t.dEdgeRep.size(), 1547u);
    EXPECT_EQ(t.dFace.entries, 2598960u);
    EXPECT_EQ(t.dFace.words.size(), 162435u);
    std::vector<std::uint8_t> raw(std::size_t(kEdge4) * kCorner4, 255);
    std::deque<std::uint32_t> queue{0};
    raw[0] = 0;
    while (!queue.empty()) {
        const std::uint32_t k = queue.front();
        queue.pop_front();
        const int e = static_cast<int>(k / kCorner4), c = static_cast<int>(k % kCorner4);
        for (int m = 0; m < 18; ++m) {
            const std::uint32_t n = static_cast<std::uint32_t>(t.move4(e, m)) * kCorner4 + t.corner4Move[c * 18 + m];
            if (raw[n] != 255) continue;
            raw[n] = static_cast<std::uint8_t>(raw[k] + 1);
            queue.push_back(n);
        }
    }
    int maxDistance = 0;
    for (std::uint64_t idx = 0; idx < t.dFace.entries; ++idx) {
        const int rep = t.dEdgeRep[idx / kCorner4], corners = static_cast<int>(idx % kCorner4);
        const int d = raw[std::size_t(rep) * kCorner4 + corners];
        ASSERT_NE(d, 255);
        ASSERT_EQ(t.dFace.get(idx), d % 3) << "entry " << idx;
        maxDistance = std::max(maxDistance, d);
    }
    // Exact start distances by walking, in the cube's own frame.
    for (std::uint32_t k = 1; k < raw.size(); k += 104729)
        EXPECT_EQ(t.dFaceDistance(static_cast<int>(k / kCorner4), static_cast<int>(k % kCorner4)), raw[k]);
    EXPECT_GE(maxDistance, 8);
}

// A word from eight digits, position URF first; 3 for an orientation not given.
std::uint16_t word(std::initializer_list<int> digits) {
    unsigned w = 0, p = 0;
    for (int d : digits) w |= static_cast<unsigned>(d) << (2 * p++);
    return static_cast<std::uint16_t>(w);
}

TEST(PartialTables, CornerWordsCountTheMovesToOrientTheGivenCorners) {
    REQUIRE_INCOMP_TABLES(false);
    const IncompTables& t = *testing::incompTables(false);
    EXPECT_EQ(t.wordDepth[word({3, 3, 3, 3, 3, 3, 3, 3})], 0);  // nothing given
    EXPECT_EQ(t.wordDepth[word({0, 0, 0, 0, 0, 0, 0, 0})], 0);  // every corner straight
    EXPECT_EQ(t.wordDepth[word({0, 3, 0, 3, 3, 0, 3, 3})], 0);
    // URF twisted, the others open: one quarter turn of R or F moves it to a face where it is straight.
    EXPECT_EQ(t.wordDepth[word({1, 3, 3, 3, 3, 3, 3, 3})], 1);
    // All eight given with a twist that no cube has.
    EXPECT_EQ(t.wordDepth[word({1, 0, 0, 0, 0, 0, 0, 0})], IncompTables::kUnreachable);
    // The same with one corner open is reachable, but not in one move.
    const int twoTwisted = t.wordDepth[word({1, 0, 0, 2, 0, 0, 0, 3})];
    EXPECT_GT(twoTwisted, 1);
    EXPECT_NE(twoTwisted, IncompTables::kUnreachable);
}

TEST(PartialTables, EightCornerDistancesAreExactAlongAWalk) {
    REQUIRE_INCOMP_TABLES(false);
    const IncompTables& t = *testing::incompTables(false);
    EXPECT_EQ(t.corner8Distance(0, 0), 0);
    CubieCube c;
    c.applyMove(3);  // R
    EXPECT_EQ(t.corner8Distance(c.cornerPerm(), c.twist()), 1);
    c.applyMove(1);  // U2
    EXPECT_EQ(t.corner8Distance(c.cornerPerm(), c.twist()), 2);
    // A longer walk: neighbours differ by at most one move, and no cube is further than its walk.
    int previous = 2;
    const int walk[] = {6, 10, 14, 17, 2, 5, 9, 12, 16, 0, 4, 8, 13};
    for (int i = 0; i < 13; ++i) {
        c.applyMove(walk[i]);
        const int d = t.corner8Distance(c.cornerPerm(), c.twist());
        EXPECT_LE(std::abs(d - previous), 1);
        EXPECT_LE(d, i + 3);
        previous = d;
    }
}

}  // namespace
}  // namespace tx
