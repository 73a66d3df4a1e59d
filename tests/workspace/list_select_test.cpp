// Selecting entries by clicks and taking entries out of the list.
#include "list_support.hpp"

namespace tx {
namespace {

using testing::ListRig;
using testing::randomFaceletCube;

void fill(ListRig& rig, int n) {
    MersenneTwister rng(31);
    for (int i = 0; i < n; ++i) rig.list.addCube(randomFaceletCube(rng), {});
}

std::vector<int> selected(const ListRig& rig) { return rig.list.selectedIndices(); }

TEST(Selection, EveryModifier) {
    ListRig rig;
    fill(rig, 10);
    CubeList& l = rig.list;
    l.click(2, CubeList::kNone);  // no anchor: toggles on
    EXPECT_EQ(selected(rig), (std::vector<int>{2}));
    EXPECT_EQ(l.anchor, 2);
    EXPECT_TRUE(l.selectionItemsEnabled);
    l.click(6, CubeList::kShift);
    EXPECT_EQ(selected(rig), (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(l.anchor, 6);
    l.click(4, CubeList::kShift);  // the other direction, selection replaced
    EXPECT_EQ(selected(rig), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(l.anchor, 4);
    l.click(5, CubeList::kCtrl);  // a selected entry: deselected, anchor cleared
    EXPECT_EQ(selected(rig), (std::vector<int>{4, 6}));
    EXPECT_EQ(l.anchor, -1);
    l.click(8, CubeList::kShift);  // without an anchor the entry toggles
    EXPECT_EQ(selected(rig), (std::vector<int>{4, 6, 8}));
    EXPECT_EQ(l.anchor, 8);
    l.click(1, CubeList::kCtrl);
    EXPECT_EQ(selected(rig), (std::vector<int>{1, 4, 6, 8}));
    EXPECT_EQ(l.anchor, 1);
    l.click(3, CubeList::kCtrl | CubeList::kShift);  // range added, anchor kept
    EXPECT_EQ(selected(rig), (std::vector<int>{1, 2, 3, 4, 6, 8}));
    EXPECT_EQ(l.anchor, 1);
    l.click(9, CubeList::kNone);
    EXPECT_EQ(selected(rig), (std::vector<int>{9}));
    EXPECT_EQ(l.anchor, 9);
    l.click(-1, CubeList::kNone);  // a click beside the pictures clears everything
    EXPECT_TRUE(selected(rig).empty());
    EXPECT_EQ(l.anchor, -1);
    EXPECT_FALSE(l.selectionItemsEnabled);
}

TEST(Remove, SingleEntryClosesTheGap) {
    ListRig rig;
    fill(rig, 4);
    auto second = rig.list.entries()[1];
    auto third = rig.list.entries()[2];
    rig.list.click(3, CubeList::kNone);
    rig.list.modified = false;
    const int pumpsBefore = rig.pumps;
    rig.list.removeEntry(1);
    EXPECT_GE(rig.pumps - pumpsBefore, 1001);
    EXPECT_TRUE(second->removed);
    ASSERT_EQ(rig.list.size(), 3u);
    EXPECT_EQ(rig.list.entries()[1], third);
    EXPECT_EQ(rig.list.anchor, 2);  // still the entry that was clicked
    EXPECT_TRUE(rig.list.at(2).selected);
    EXPECT_TRUE(rig.list.selectionItemsEnabled);
    EXPECT_TRUE(rig.list.modified);
}

TEST(Remove, DeleteSelectedAndTheEmptyList) {
    ListRig rig;
    fill(rig, 5);
    auto keep = rig.list.entries()[1];
    for (int i : {0, 2, 3, 4}) rig.list.at(i).selected = true;
    rig.list.deleteSelected();
    ASSERT_EQ(rig.list.size(), 1u);
    EXPECT_EQ(rig.list.entries()[0], keep);
    EXPECT_EQ(rig.list.anchor, -1);
    EXPECT_FALSE(rig.list.selectionItemsEnabled);
    std::vector<std::size_t> sizes;  // the window follows the number of entries
    rig.list.hooks.sizeChanged = [&] { sizes.push_back(rig.list.size()); };
    rig.list.removeEntry(0);
    EXPECT_TRUE(rig.list.empty());
    EXPECT_FALSE(rig.list.modified);
    EXPECT_EQ(sizes, std::vector<std::size_t>{0});
    EXPECT_EQ(rig.captions.back(), "untitled.txt - Tesserix 5.00s");
}

TEST(Clear, AsksOnlyWhenModifiedAndFromTheUser) {
    ListRig rig;
    fill(rig, 3);
    ASSERT_TRUE(rig.list.modified);
    rig.prompts.answers = {Answer::No};
    EXPECT_FALSE(rig.list.clear(true));
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text, "All changes to the Main Window will be discarded. Proceed?");
    EXPECT_EQ(rig.prompts.shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(rig.list.size(), 3u);

    EXPECT_TRUE(rig.list.clear(false));  // the web server clears without asking
    EXPECT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_TRUE(rig.list.empty());

    fill(rig, 2);
    rig.list.modified = false;
    EXPECT_TRUE(rig.list.clear(true));
    EXPECT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_TRUE(rig.list.empty());
}

TEST(MenuEnabling, ClearCopyAndSelection) {
    ListRig rig;
    EXPECT_FALSE(rig.list.clearEnabled());
    fill(rig, 2);
    EXPECT_TRUE(rig.list.clearEnabled());
    EXPECT_FALSE(rig.list.copyEnabled(0));
    rig.list.at(0).setOptimalStatus("Status: Searching depth 12...");
    EXPECT_FALSE(rig.list.copyEnabled(0));
    rig.list.at(0).setOptimalManeuver("R  (1f*)", 1, true);
    EXPECT_TRUE(rig.list.copyEnabled(0));
    rig.list.at(1).setSolverText("R  (1f)", 1);
    EXPECT_TRUE(rig.list.copyEnabled(1));
    EXPECT_FALSE(rig.list.hasSelection());
    rig.list.at(1).selected = true;
    EXPECT_TRUE(rig.list.hasSelection());
}

}  // namespace
}  // namespace tx
