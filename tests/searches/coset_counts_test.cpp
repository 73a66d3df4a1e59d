// The numbers of positions the coset search reaches at each depth: against a breadth-first
// search over the whole cube with the cube model, for symmetric images of a cube, with and
// without the coset's symmetries, for any number of threads, and across stops.
#include <gtest/gtest.h>

#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "coset_support.hpp"
#include "cube/symmetry.hpp"
#include "cube/notation.hpp"

namespace tx {
namespace {

using testing::cosetTotals;
using testing::cubeOf;
using testing::inSubgroup;
using testing::weakBound;

class CosetCountsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testing::loadTestTables().ready()); }
};

// Corners and edges of a cube as one key.
struct CubeKey {
    std::uint64_t corners = 0, edges = 0;
    bool operator==(const CubeKey&) const = default;
};
struct CubeKeyHash {
    std::size_t operator()(const CubeKey& k) const { return std::hash<std::uint64_t>()(k.corners * 31 + k.edges); }
};
CubeKey keyOf(const CubieCube& c) {
    CubeKey k;
    for (const Piece& p : c.corners) k.corners = k.corners << 5 | std::uint64_t(p.c) << 2 | p.o;
    for (const Piece& p : c.edges) k.edges = k.edges << 5 | std::uint64_t(p.c) << 1 | p.o;
    return k;
}

// For the positions of H' within `depth` face turns of `start`: how many lie at each distance,
// by breadth-first search over the whole cube.
std::vector<std::uint64_t> breadthFirstCounts(const CubieCube& start, int depth) {
    std::vector<std::uint64_t> counts(static_cast<std::size_t>(depth) + 1, 0);
    std::unordered_set<CubeKey, CubeKeyHash> seen{keyOf(start)};
    std::vector<CubieCube> frontier{start};
    for (int d = 0;; ++d) {
        for (const CubieCube& c : frontier) counts[static_cast<std::size_t>(d)] += inSubgroup(c) ? 1 : 0;
        if (d == depth) return counts;
        std::vector<CubieCube> next;
        for (const CubieCube& c : frontier) {
            for (int m = 0; m < kFaceMoves; ++m) {
                CubieCube n = c;
                n.applyMove(m);
                if (seen.insert(keyOf(n)).second) next.push_back(n);
            }
        }
        frontier = std::move(next);
    }
}

std::vector<std::uint64_t> countsPerDepth(const std::array<std::uint64_t, kCosetTotals>& totals, int depth) {
    std::vector<std::uint64_t> counts;
    for (int d = 0; d <= depth; ++d)
        counts.push_back(totals[static_cast<std::size_t>(d)] - (d > 0 ? totals[static_cast<std::size_t>(d - 1)] : 0));
    return counts;
}


TEST_F(CosetCountsTest, identityCosetMatchesBreadthFirstSearch) {
    constexpr int kDepth = 5;
    const auto expected = breadthFirstCounts(CubieCube(), kDepth);
    EXPECT_EQ(expected[0], 1u);
    EXPECT_EQ(expected[1], 6u);  // the quarter and half turns of U and D
    const auto totals = cosetTotals(CubieCube(), weakBound(kDepth));
    EXPECT_EQ(countsPerDepth(totals, kDepth), expected);
}

TEST_F(CosetCountsTest, otherCosetsMatchBreadthFirstSearch) {
    // A coset whose cube lies in H' is H' itself; the others start away from it.
    for (const char* maneuver : {"U R2 D'", "R", "F2 L' U B"}) {
        SCOPED_TRACE(maneuver);
        const CubieCube cube = cubeOf(maneuver);
        const auto expected = breadthFirstCounts(cube, 5);
        EXPECT_EQ(countsPerDepth(cosetTotals(cube, weakBound(5)), 5), expected);
    }
}

TEST_F(CosetCountsTest, symmetricImagesHaveTheSameCounts) {
    const CubieCube cube = cubeOf("R F' U L2 B D");
    const auto counts = cosetTotals(cube, weakBound(7));
    EXPECT_GT(counts[7], 0u);
    for (int s : {1, 2, 5, 8, 11, 15}) {
        SCOPED_TRACE(s);
        EXPECT_EQ(cosetTotals(conjugate(cube, s), weakBound(7)), counts);
    }
}

TEST_F(CosetCountsTest, symmetricMarkingCountsLikeMarkingWithoutSymmetries) {
    // Cosets with 16, 8, 4 and 2 symmetries.
    for (const char* maneuver : {"", "R2", "R", "F U2"}) {
        SCOPED_TRACE(maneuver);
        const CubieCube cube = cubeOf(maneuver);
        CosetOptions plain = weakBound(maneuver[0] ? 8 : 9);
        plain.useSymmetries = false;
        const auto withSymmetries = cosetTotals(cube, weakBound(plain.maxDepth));
        EXPECT_EQ(withSymmetries, cosetTotals(cube, plain));
    }
}

TEST_F(CosetCountsTest, countsDoNotDependOnTheThreads) {
    const CubieCube cube = cubeOf("R U F");
    QueueEvents events;
    auto one = testing::runCoset(cube, weakBound(8, 1), events);
    ASSERT_TRUE(one.ended);
    for (int threads : {2, 3, 5}) {
        SCOPED_TRACE(threads);
        QueueEvents more;
        auto run = testing::runCoset(cube, weakBound(8, threads), more);
        EXPECT_EQ(run.totals, one.totals);
        // The same positions, not only as many.
        bool same = true;
        one.search->bits().forEachClear([&](std::uint32_t b) { return same = !run.search->bits().test(b); });
        EXPECT_TRUE(same);
        EXPECT_EQ(run.search->bits().count(), one.search->bits().count());
    }
}

TEST_F(CosetCountsTest, stopAndStartContinueTheCount) {
    const CubieCube cube = cubeOf("B L2 D");
    const auto uninterrupted = cosetTotals(cube, weakBound(9));
    QueueEvents events;
    auto search = CosetSearch::create(cube, testing::loadTestTables(), events, weakBound(9));
    ASSERT_TRUE(search);
    bool ended = false;
    search->onEnd = [&] { ended = true; };
    search->start();
    std::uint64_t last = 0;
    int stops = 0;
    while (!ended) {
        // A short slice of work between pauses, so even a fast machine pauses it several times.
        events.runUntil([&] { return ended; }, std::chrono::milliseconds(1));
        if (stops % 2 == 0) {
            search->stop();
        } else {  // as the window pauses: ask, then wait for every thread to have paused
            search->requestPause();
            while (!search->halted()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ++stops;
        // A search that ran to its end before the pause was asked for does not pause.
        if (!search->paused()) events.runUntil([&] { return ended; }, std::chrono::seconds(10));
        EXPECT_TRUE(search->paused() || ended);
        const std::uint64_t reached = search->reachedCount();
        EXPECT_GE(reached, last);
        // Paused, nothing moves.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(search->reachedCount(), reached);
        last = reached;
        search->start();
    }
    EXPECT_GT(stops, 1);
    EXPECT_TRUE(search->finished());
    EXPECT_EQ(search->depthTotals(), uninterrupted);
}

}  // namespace
}  // namespace tx
