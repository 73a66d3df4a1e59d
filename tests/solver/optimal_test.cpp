#include <gtest/gtest.h>

#include <unordered_map>
#include <vector>

#include "cube/symmetry.hpp"
#include "solver_support.hpp"

namespace tx {
namespace {

using testing::applyLevels;
using testing::solvesCorners;

class OptimalTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testing::loadTestTables().ready()); }
};

int solveOptimally(const CubieCube& c, IDA* out = nullptr, std::vector<int>* progress = nullptr) {
    IDA ida = testing::searchOf(c, true);
    ida.optimalMode = true;
    ida.maxLen = 31;
    if (progress) ida.onProgress = [&](int v) { progress->push_back(v); };
    int r = ida.run();
    EXPECT_TRUE(solvesCorners(applyLevels(c, ida)));
    if (out) {
        out->levels = ida.levels;
        out->length = ida.length;
        out->totalNodes = ida.totalNodes;
    }
    return r;
}

// Every position within `depth` face turns of solved with its distance, by breadth-first search.
struct Position {
    CubieCube cube;
    int distance;
};

std::vector<Position> neighbourhood(int depth) {
    auto key = [](const CubieCube& c) {
        return std::pair<std::uint64_t, std::uint32_t>((std::uint64_t(c.cornerPerm()) * 2187 + c.twist()) * 2048 + c.flip(),
                                                       c.edgePermFull());
    };
    struct Hash {
        std::size_t operator()(const std::pair<std::uint64_t, std::uint32_t>& k) const {
            return std::hash<std::uint64_t>()(k.first * 1000003u ^ k.second);
        }
    };
    std::unordered_map<std::pair<std::uint64_t, std::uint32_t>, int, Hash> seen{{key(CubieCube{}), 0}};
    std::vector<Position> all{{CubieCube{}, 0}};
    std::vector<CubieCube> frontier{CubieCube{}};
    for (int d = 0; d < depth; ++d) {
        std::vector<CubieCube> next;
        for (const CubieCube& c : frontier)
            for (int m = 0; m < kFaceMoves; ++m) {
                CubieCube n = c;
                n.applyMove(m);
                if (seen.emplace(key(n), d + 1).second) {
                    next.push_back(n);
                    all.push_back({n, d + 1});
                }
            }
        frontier.swap(next);
    }
    return all;
}

TEST_F(OptimalTest, LengthsMatchBreadthFirstSearchNearSolved) {
    auto positions = neighbourhood(5);
    ASSERT_GT(positions.size(), 600000u);
    for (std::size_t i = 1; i < positions.size(); i += 2003) {
        const Position& p = positions[i];
        IDA ida = testing::searchOf(p.cube, true);
        ida.optimalMode = true;
        ASSERT_EQ(ida.run(), p.distance);
        EXPECT_TRUE(solvesCorners(applyLevels(p.cube, ida)));
    }
}

TEST_F(OptimalTest, OneMoveCubesAndProgressMessages) {
    for (int m = 0; m < kFaceMoves; ++m) {
        CubieCube c;
        c.applyMove(m);
        std::vector<int> progress;
        EXPECT_EQ(solveOptimally(c, nullptr, &progress), 1);
        ASSERT_EQ(progress.size(), 2u);
        EXPECT_EQ(progress[0], 1);
        EXPECT_EQ(progress[1], 100);
    }
}

TEST_F(OptimalTest, ScramblesOfKnownLength) {
    // Superflip-free positions made by short maneuvers: the optimum never exceeds the scramble.
    std::mt19937 rng(61);
    for (int i = 0; i < 20; ++i) {
        CubieCube c = testing::scramble(rng, 8);
        std::vector<int> progress;
        int r = solveOptimally(c, nullptr, &progress);
        EXPECT_GE(r, 1);
        EXPECT_LE(r, 8);
        // Depth messages count up from 1 without repeats, then one solution message.
        for (std::size_t k = 0; k + 1 < progress.size(); ++k) EXPECT_EQ(progress[k], int(k) + 1);
        EXPECT_EQ(progress.back(), r + 99);
    }
}

TEST_F(OptimalTest, SymmetryRuleSavesNodesAndKeepsTheOptimum) {
    // Symmetric patterns: the same search without the symmetry rule visits more nodes.
    std::vector<std::vector<int>> patterns = {
        {4, 13, 7, 16, 1, 10},                    // all six half turns
        {1, 10, 4, 13, 1, 10, 7, 16},             // U2 D2 R2 L2 U2 D2 F2 B2
        {0, 9 + 2, 3, 12 + 2, 6, 15 + 2, 0, 9 + 2},  // U D' R L' F B' U D'
    };
    int fewer = 0;
    for (const auto& pattern : patterns) {
        CubieCube c;
        for (int m : pattern) c.applyMove(m);
        const TableSet& tables = testing::loadTestTables();
        CoordCube cc(*tables.coords, c);
        ASSERT_NE(cc.symmetryMask, 1u);
        IDA with(tables, cc, true);
        with.optimalMode = true;
        IDA without(tables, cc, true);
        without.optimalMode = true;
        without.symmetryMask = 1;
        int a = with.run(), b = without.run();
        EXPECT_EQ(a, b);
        EXPECT_TRUE(solvesCorners(applyLevels(c, with)));
        EXPECT_LE(with.totalNodes, without.totalNodes);
        fewer += with.totalNodes < without.totalNodes;
    }
    EXPECT_GE(fewer, 2);  // the Oh and D4h patterns: 6371 against 45674 nodes, 760 against 2571
}

TEST_F(OptimalTest, StopAndContinueKeepDepthAndNodes) {
    std::mt19937 rng(71);
    CubieCube c = testing::scramble(rng, 11);
    IDA ida = testing::searchOf(c, true);
    ida.optimalMode = true;
    int calls = 0;
    ida.onProgress = [&](int v) {
        if (v == 9 && calls++ == 0) ida.requestStop();
    };
    EXPECT_EQ(ida.run(), kStopped);
    const int depth = ida.depthIndex;
    const std::uint64_t nodes = ida.nodes;
    IDA copy(ida);
    copy.optimalMode = true;
    EXPECT_EQ(copy.depthIndex, depth);
    int r = copy.run();
    EXPECT_GE(r, depth + 1);
    EXPECT_GT(copy.nodes, nodes);
    EXPECT_TRUE(solvesCorners(applyLevels(c, copy)));
    IDA fresh = testing::searchOf(c, true);
    fresh.optimalMode = true;
    EXPECT_EQ(fresh.run(), r);
}

}  // namespace
}  // namespace tx
