#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <unistd.h>
#include <unordered_map>

#include "cube/symmetry.hpp"
#include "tables/coord_cube.hpp"
#include "tables/prune_generate.hpp"
#include "tables/prune_spaces.hpp"
#include "tables/table_files.hpp"
#include "support/temp_folder.hpp"
#include "support/test_tables.hpp"

namespace tx {
namespace {

class PruneTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tables.ready()); }
    // Loading from files skips the analysis that finds the class stabilisers.
    static const Stabilisers& stabilisers() {
        static const Stabilisers s = [] {
            Stabilisers made;
            computeStabilisers(*testing::loadTestTables().coords, made);
            return made;
        }();
        return s;
    }
    const TableSet& tables = testing::loadTestTables();
    const CoordTables& t = *tables.coords;
    const StandardTables& p = *tables.standard;
};

TEST(PackedLayout, DigitRuleAndTritTables) {
    for (int v = 0; v < 243; ++v) {
        int back = 0;
        for (int j = 4; j >= 0; --j) back = back * 3 + tritDigits[v][j];
        EXPECT_EQ(back, v);
    }
    EXPECT_EQ(nextDepth[5][5 % 3], 5);
    EXPECT_EQ(nextDepth[5][6 % 3], 6);
    EXPECT_EQ(nextDepth[5][4 % 3], 4);
    TwoBitTable two;
    two.reset(20);  // B = 4 bytes; entries 16..19 are the fifth digits
    for (int k = 0; k < 20; ++k) two.set(static_cast<std::uint64_t>(k), k % 3);
    PackedTable packed;
    packTable(two, packed);
    ASSERT_EQ(packed.bytes.size(), 4u);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(packed.get(static_cast<std::uint64_t>(k)), k % 3) << k;
    // Entry 4B = 16 is digit 4 of byte 0.
    EXPECT_EQ(packed.bytes[0] / 81, 16 % 3);
}

TEST_F(PruneTest, GoalAndFirstStep) {
    EXPECT_EQ(p.phase1.get(0), 0);
    EXPECT_EQ(p.phase2.get(0), 0);
    EXPECT_EQ(p.corner.get(0), 0);
    for (int m = 0; m < kFaceMoves; ++m) {
        CubieCube c;
        c.applyMove(m);
        CoordCube cc(t, c);
        EXPECT_EQ(p.phase1.get(phase1Index(t, cc.axis[0].flipSliceClass, cc.axis[0].flipSliceSym, cc.axis[0].twist)),
                  isPhase2Move(m) ? 0 : 1);
        EXPECT_EQ(phase1Distance(tables, cc.axis[0].flipSliceClass, cc.axis[0].flipSliceSym, cc.axis[0].twist),
                  isPhase2Move(m) ? 0 : 1);
        EXPECT_EQ(cornerDistance(tables, c.cornerPerm(), c.twist()), 1);
    }
    for (std::uint8_t b : p.phase1.bytes) ASSERT_LE(b, 242);
    for (std::uint8_t b : p.phase2.bytes) ASSERT_LE(b, 242);
}

// Breadth-first search from the goal over raw coordinates, up to maxDepth.
template <class Key, class Step>
std::unordered_map<Key, int> bruteForce(Key start, const std::vector<int>& moves, int maxDepth, Step step) {
    std::unordered_map<Key, int> depth{{start, 0}};
    std::vector<Key> frontier{start};
    for (int d = 0; d < maxDepth; ++d) {
        std::vector<Key> next;
        for (Key k : frontier)
            for (int m : moves) {
                Key n = step(k, m);
                if (depth.emplace(n, d + 1).second) next.push_back(n);
            }
        frontier.swap(next);
    }
    return depth;
}

TEST_F(PruneTest, ExactDistancesMatchBruteForceNearTheGoal) {
    auto moves = tableMoves(false, false);
    // Phase 1: (twist, flip, slice).
    auto key1 = [](std::uint64_t tw, std::uint64_t fl, std::uint64_t sl) { return (tw * 2048 + fl) * 495 + sl; };
    auto phase1 = bruteForce<std::uint64_t>(0, moves, 5, [&](std::uint64_t k, int m) {
        std::uint64_t sl = k % 495, fl = k / 495 % 2048, tw = k / 495 / 2048;
        return key1(t.twistMove[tw * kMoves + m], t.flipMove[fl * kMoves + m], t.sliceMove[sl * kMoves + m]);
    });
    int checked = 0;
    for (const auto& [k, d] : phase1) {
        if (++checked % 7 != 0) continue;
        CubieCube c;
        c.setSlice(static_cast<int>(k % 495));
        c.setFlip(static_cast<int>(k / 495 % 2048));
        c.setTwist(static_cast<int>(k / 495 / 2048));
        int fs = flipSliceClassOf(t, c);
        ASSERT_EQ(phase1Distance(tables, fs >> 4, fs & 15, c.twist()), d);
    }
    // Corner table: (cornerPerm, twist).
    auto corners = bruteForce<std::uint64_t>(0, moves, 5, [&](std::uint64_t k, int m) {
        return std::uint64_t(t.cornerPermMove[(k / 2187) * kMoves + m]) * 2187 + t.twistMove[(k % 2187) * kMoves + m];
    });
    checked = 0;
    for (const auto& [k, d] : corners)
        if (++checked % 5 == 0) {
            ASSERT_EQ(cornerDistance(tables, static_cast<int>(k / 2187), static_cast<int>(k % 2187)), d);
        }
    // Phase 2: (cornerPerm, udEdgePerm) with the phase-2 moves.
    auto p2moves = tableMoves(false, true);
    auto phase2 = bruteForce<std::uint64_t>(0, p2moves, 6, [&](std::uint64_t k, int m) {
        return std::uint64_t(t.cornerPermMove[(k / 40320) * kMoves + m]) * 40320 + t.udEdgePermMove[(k % 40320) * kMoves + m];
    });
    checked = 0;
    for (const auto& [k, d] : phase2)
        if (++checked % 5 == 0) {
            ASSERT_EQ(phase2Distance(tables, static_cast<int>(k / 40320), static_cast<int>(k % 40320)), d);
        }
    for (int c = 0; c < kCornerPerms; ++c) ASSERT_LE(p.cornerPermDepth[c], 13);
}

TEST_F(PruneTest, TableNeighboursFollowCubieMoves) {
    // For every table space, the class-frame index of a cube after a move is the space's
    // neighbour of the cube's index, or one of that neighbour's symmetric images.
    std::mt19937 rng(29);
    Phase1Space s1(t, true, &stabilisers());
    CenterSpace sc(t, true, &stabilisers());
    HugeSpace sh(t, true, &stabilisers());
    for (int i = 0; i < 300; ++i) {
        CubieCube c = CubieCube::fromCoordinates(int(rng() % 40320), int(rng() % 2187),
                                                 std::uint32_t(rng() % 479001600u), int(rng() % 2048),
                                                 int(rng() % 4096));
        auto index = [&](const CubieCube& x, int which) -> std::uint64_t {
            int fs = flipSliceClassOf(t, x), cls = fs >> 4, sym = fs & 15;
            std::uint64_t ph1 = phase1Index(t, cls, sym, x.twist());
            if (which == 0) return ph1;
            if (which == 1)
                return std::uint64_t(cls) * (kCenterParities * kTwists) +
                       std::uint64_t(t.centerParityConj[x.centerParity() * 16 + sym]) * kTwists +
                       t.twistConj[x.twist() * 16 + sym];
            return std::uint64_t(t.dCornerPosConj[x.dCornerPos() * 16 + sym]) * (std::uint64_t(kFlipSliceClasses) * kTwists) + ph1;
        };
        for (int m = 0; m < kMoves; ++m) {
            CubieCube d = c;
            d.applyMove(m);
            for (int which = 0; which < 3; ++which) {
                std::uint64_t from = index(c, which), to = index(d, which);
                // The cube frame move of a class-frame index is conjugated; compare as sets.
                std::set<std::uint64_t> reachable;
                for (int mv = 0; mv < kMoves; ++mv) {
                    std::uint64_t n = which == 0 ? s1.neighbour(from, mv) : which == 1 ? sc.neighbour(from, mv) : sh.neighbour(from, mv);
                    reachable.insert(n);
                    auto add = [&](std::uint64_t img) { reachable.insert(img); };
                    if (which == 0) s1.images(n, add);
                    else if (which == 1) sc.images(n, add);
                    else sh.images(n, add);
                }
                ASSERT_TRUE(reachable.count(to)) << "space " << which << " move " << m;
            }
        }
    }
}

TEST_F(PruneTest, GenerationIsIndependentOfThreads) {
    CornerSpace space(t, false, &stabilisers());
    TwoBitTable one, two;
    auto passesOne = generateTable(space, one, 1);
    auto passesTwo = generateTable(space, two, 2);
    EXPECT_EQ(one.words, two.words);
    ASSERT_EQ(passesOne.size(), passesTwo.size());
    std::uint64_t total = 0;
    for (std::size_t d = 0; d < passesOne.size(); ++d) {
        EXPECT_EQ(passesOne[d].entries, passesTwo[d].entries);
        total += passesOne[d].entries;
    }
    EXPECT_EQ(total, CornerSpace::kEntries);
    // The loaded file holds the same entries.
    for (std::uint64_t w = 0; w < one.words.size(); ++w) ASSERT_EQ(one.words[w], p.corner.words[w]) << w;
}

TEST(TableFiles, NamesAndAtomicWrites) {
    EXPECT_EQ(modeFileName("phase1PF.prun", true), "phase1PFs.prun");
    EXPECT_EQ(modeFileName("phase1PF.prun", false), "phase1PF.prun");
    testing::TempFolder folder("files");
    const std::filesystem::path dir = folder.path();
    std::vector<std::uint8_t> data(10000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(writeTableFile(dir / "t.bin", data.data(), data.size(), 999));
    EXPECT_EQ(tableFileSize(dir / "t.bin"), 10000);
    std::vector<std::uint8_t> back(10000);
    EXPECT_TRUE(readTableFile(dir / "t.bin", back.data(), back.size(), 7));
    EXPECT_EQ(back, data);
    // A file of another size is not read as the table.
    EXPECT_FALSE(readTableFile(dir / "t.bin", back.data(), 9999));
    EXPECT_FALSE(readTableFile(dir / "t.bin", back.data(), 10001));
    EXPECT_FALSE(readTableFile(dir / "missing.bin", back.data(), 10));
    // No temporary file is left behind: only the table and its checksum manifest.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir)) files += e.is_regular_file();
    EXPECT_EQ(files, 2);
    // A write into a folder that does not exist fails without creating anything.
    EXPECT_FALSE(writeTableFile(dir / "no" / "t.bin", data.data(), data.size()));
}

}  // namespace
}  // namespace tx
