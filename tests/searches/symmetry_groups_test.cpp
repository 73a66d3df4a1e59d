// The group list, the symmetry buttons and the group arithmetic behind them.
#include <gtest/gtest.h>

#include <bit>
#include <set>

#include "cube/symmetry.hpp"
#include "searches/symmetry_groups.hpp"

namespace tx {
namespace {

std::uint64_t bit(int k) { return std::uint64_t{1} << k; }

TEST(SymmetryGroups, EveryItemsGeneratorsCloseToItsGroupAndItsSubgroupsHaveIndexTwo) {
    const auto& items = pointGroupItems();
    ASSERT_EQ(items.size(), 33u);
    for (int row = 0; row < 33; ++row) {
        SCOPED_TRACE(row);
        const auto& item = items[row];
        std::uint64_t pressed = 0;
        for (auto name : item.generators) {
            const SymmetryButton* button = symmetryButton(name);
            ASSERT_NE(button, nullptr) << name;
            pressed |= bit(button->tag);
        }
        const SymmetryGroup g = closeGroup(pressed, 0);
        EXPECT_EQ(g.symmetries, GroupMaskTable[row].mask);
        EXPECT_EQ(g.antisymmetries, 0u);
        EXPECT_EQ(std::to_string(GroupMaskTable[row].order), item.order);
        EXPECT_EQ(std::popcount(GroupMaskTable[row].mask), GroupMaskTable[row].order);
        for (int sub : item.subgroups) EXPECT_TRUE(isIndexTwoSubgroup(row, sub)) << sub;
    }
}

TEST(SymmetryGroups, ButtonsHaveDistinctTagsAndTheTextsOfTheList) {
    std::set<int> tags;
    for (const auto& b : kSymmetryButtons) {
        EXPECT_TRUE(tags.insert(b.tag).second) << b.name;
        EXPECT_FALSE(b.hint.empty());
    }
    EXPECT_EQ(symmetryButton("SBmc")->tag, 13);
    EXPECT_EQ(symmetryButton("SB28")->tag, 28);
    EXPECT_EQ(symmetryButton("SBnone"), nullptr);
    EXPECT_EQ(pointGroupItems()[4].text, "Th ");
    EXPECT_EQ(pointGroupItems()[32].text, "C1 (Identitiy)");
    EXPECT_EQ(pointGroupItems()[21].cubes, "147,456");
    EXPECT_EQ(subgroupText(33), "Cs (a)");
    EXPECT_EQ(subgroupText(34), "Cs (b)");
    EXPECT_EQ(subgroupText(6), "T");
}

TEST(SymmetryGroups, AntisymmetryClosureOfOhOverOMarksTheReflections) {
    const std::uint64_t oh = GroupMaskTable[0].mask, o = GroupMaskTable[1].mask;
    const SymmetryGroup g = closeGroup(o, oh & ~o);
    EXPECT_EQ(g.symmetries, o);
    EXPECT_EQ(std::popcount(g.antisymmetries), 24);
    for (int k = 1; k < kSymmetries; k += 2) EXPECT_TRUE(g.antisymmetries & bit(k)) << k;  // odd: reflected
    // Generators alone: a quarter turn as symmetry and the inversion as antisymmetry.
    const SymmetryGroup c4h = closeGroup(bit(2), bit(13));
    EXPECT_EQ(c4h.symmetries, GroupMaskTable[21].mask);
    EXPECT_EQ(c4h.symmetries | c4h.antisymmetries, GroupMaskTable[12].mask);
    // A self-inverse cube: the identity as antisymmetry makes every symmetry one too.
    const SymmetryGroup selfInverse = closeGroup(GroupMaskTable[9].mask, 1);
    EXPECT_EQ(selfInverse.antisymmetries, GroupMaskTable[9].mask);
}

TEST(SymmetryGroups, NormaliserOfAntisymmetriesKeepsBothSets) {
    EXPECT_EQ(normalizer(std::uint64_t{1}), kAllSymmetries);
    EXPECT_EQ(normalizer(GroupMaskTable[0].mask), kAllSymmetries);
    // The U-axis groups are normalised by the symmetries that keep the U-D axis.
    EXPECT_EQ(normalizer(GroupMaskTable[21].mask), GroupMaskTable[7].mask);
    for (int row = 0; row < 35; ++row) {
        const std::uint64_t n = normalizer(GroupMaskTable[row].mask);
        EXPECT_EQ(n & GroupMaskTable[row].mask, GroupMaskTable[row].mask) << row;
        EXPECT_EQ(closeGroup(n, 0).symmetries, n) << row;  // a group
    }
    // Cs (b) over C1: every symmetry normalises the identity, but only those that fix the
    // mirror plane keep the antisymmetry an antisymmetry.
    const SymmetryGroup g = closeGroup(1, GroupMaskTable[27].mask & ~std::uint64_t{1});
    const std::uint64_t n = normalizer(g);
    EXPECT_LT(std::popcount(n), kSymmetries);
    const auto& t = symmetries();
    for (int s = 0; s < kSymmetries; ++s) {
        if (!(n & bit(s))) continue;
        EXPECT_EQ(t.symProduct[t.symProduct[t.symInverse[s]][7]][s], 7) << s;
    }
}

// Row numbers are the command line's to read; the names are the group list's.
TEST(SymmetryGroups, GroupsAreFoundByText) {
    EXPECT_TRUE(groupRowsNamed("17").empty());
    EXPECT_EQ(groupRowsNamed("C2v (a1)"), std::vector<int>{17});
    EXPECT_EQ(groupRowsNamed("c2v(a1)"), std::vector<int>{17});
    EXPECT_EQ(groupRowsNamed("Th"), std::vector<int>{4});
    EXPECT_EQ(groupRowsNamed("C1 (Identitiy)"), std::vector<int>{32});
    EXPECT_EQ(groupRowsNamed("C1"), std::vector<int>{32});
    EXPECT_EQ(groupRowsNamed("Cs (a)"), (std::vector<int>{30, 33}));
    EXPECT_TRUE(groupRowsNamed("35").empty());
    EXPECT_TRUE(groupRowsNamed("007").empty());
    EXPECT_TRUE(groupRowsNamed("").empty());
    EXPECT_TRUE(groupRowsNamed("Dx").empty());
    EXPECT_TRUE(isIndexTwoSubgroup(25, 33));
    EXPECT_FALSE(isIndexTwoSubgroup(25, 30));  // Cs (a) of row 30 is not inside C2v (a2)
    EXPECT_FALSE(isIndexTwoSubgroup(7, 26));
    EXPECT_FALSE(isIndexTwoSubgroup(0, 6));    // T has index 4 in Oh
}

}  // namespace
}  // namespace tx
