// Rotating, reflecting and inverting entries; symmetry names and arranging; sorting; texts.
#include "list_support.hpp"

#include "cube/facelet_symmetry.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx {
namespace {

using testing::cubeOf;
using testing::ListRig;
using testing::randomFaceletCube;
using testing::solves;

TEST(Transform, RotationsAndReflectionCarryTheManeuvers) {
    ListRig rig;
    MersenneTwister rng(41);
    auto e = testing::entryWithManeuver(rng, 12);
    e->setOptimalStatus("Status: Not running");
    auto o = testing::entryWithManeuver(rng, 10, true);
    rig.list.addCube(*e, {});
    rig.list.addCube(*o, {});
    for (int step = 0; step < 40; ++step) {
        const int s = int(rng.below(4));
        for (int i = 0; i < 2; ++i) {
            FaceletCube expected = rig.list.at(i).cube;
            applyBasicSymmetry(expected, s);
            rig.list.transformEntry(i, s);
            EXPECT_EQ(rig.list.at(i).cube.f, expected.f);
        }
        EXPECT_TRUE(solves(rig.list.at(0).cube, rig.list.at(0).solverText)) << "step " << step;
        EXPECT_EQ(rig.list.at(0).optimalText, "Status: Not running");
        EXPECT_TRUE(solves(rig.list.at(1).cube, rig.list.at(1).optimalText)) << "step " << step;
        EXPECT_NE(rig.list.at(1).optimalText.find("(10f*)"), std::string::npos);
    }
    EXPECT_EQ(rig.list.at(0).bestLength, 12);
    EXPECT_TRUE(rig.prompts.shown.empty());
}

TEST(Invert, ASelfInverseCubeAsksNothingAboutItself) {
    ListRig rig;
    Entry e;
    e.cube = cubeOf("R2 L2 U2 D2");
    e.setSolverText("D2 U2 L2 R2  (4f)", 4);
    rig.list.addCube(e, {});
    rig.list.addCube(cubeOf("F"), {});
    EXPECT_TRUE(rig.list.invertEntry(0));
    EXPECT_TRUE(rig.prompts.shown.empty());
    EXPECT_EQ(rig.list.at(0).cube.f, e.cube.f);
    EXPECT_TRUE(solves(rig.list.at(0).cube, rig.list.at(0).solverText));
}

TEST(Invert, AsksForEachIsomorphicEntry) {
    ListRig rig;
    MersenneTwister rng(42);
    auto a = testing::entryWithManeuver(rng, 11);
    FaceletCube inv;
    ASSERT_TRUE(inverseCube(a->cube, inv));
    ASSERT_FALSE(isomorphic(a->cube, inv, false, 0, false));
    rig.list.addCube(*a, {});
    rig.list.isoCheck = false;
    rig.list.addCube(randomFaceletCube(rng), {});
    rig.list.addCube(symmetricImage(inv, 7), {});
    rig.list.addCube(symmetricImage(inv, 30), {});

    rig.prompts.answers = {Answer::No};
    EXPECT_FALSE(rig.list.invertEntry(0));
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text, "Cube 3 is isomorphic to the inverted cube. Proceed?");
    EXPECT_EQ(rig.prompts.shown[0].caption, "Maneuver Window");
    EXPECT_EQ(rig.list.at(0).cube.f, a->cube.f);

    rig.prompts.shown.clear();
    rig.prompts.answers = {Answer::Yes, Answer::Yes};
    EXPECT_TRUE(rig.list.invertEntry(0));
    ASSERT_EQ(rig.prompts.shown.size(), 2u);
    EXPECT_EQ(rig.prompts.shown[1].text, "Cube 4 is isomorphic to the inverted cube. Proceed?");
    EXPECT_EQ(rig.list.at(0).cube.f, inv.f);
    EXPECT_EQ(rig.list.at(0).solverText, inverseManeuver(a->solverText));
    EXPECT_TRUE(solves(rig.list.at(0).cube, rig.list.at(0).solverText));
}

TEST(SymmetryInfo, NamesTheClassWithTheAntisymmetry) {
    ListRig rig;
    rig.list.isoCheck = false;
    rig.list.addCube(FaceletCube(), {});                                              // solved
    rig.list.addCube(cubeOf("U R2 F B R B2 R U2 L B2 R U' D' R2 F R' L B2 U2 F2"), {});  // superflip
    MersenneTwister rng(43);
    rig.list.addCube(randomFaceletCube(rng), {});
    rig.list.addCube(cubeOf("U"), {});
    rig.list.addCube(cubeOf("U2 D2"), {});
    rig.list.at(1).patternName = "superflip";
    rig.list.selectAll();
    rig.list.at(4).selected = false;
    rig.list.addSymmetryInfoForSelected();
    EXPECT_EQ(rig.list.at(0).patternName, "Oh{I}");
    EXPECT_EQ(rig.list.at(1).patternName, "superflip, Oh{I}");
    EXPECT_EQ(rig.list.at(2).patternName, "C1");
    EXPECT_EQ(rig.list.at(3).patternName, "C4{C4v}");  // the reflections turn U into U'

    EXPECT_EQ(rig.list.at(4).patternName, "");
    EXPECT_TRUE(rig.list.modified);

    const SymmetryMasks m = symmetryMasks(cubeOf("U"));
    EXPECT_EQ(m.symmetry, 0x55u);
    EXPECT_EQ(m.antisymmetry, 0xAAu);
    EXPECT_EQ(symmetryClassText(cubeOf("U2 D2")), "D4h{I}");
}

TEST(Arrange, TurnsIntoAStandardOrientation) {
    ListRig rig;
    Entry e;
    e.cube = cubeOf("R");  // C4 about the R-L axis: standard only turned onto U-D
    e.setSolverText("R'  (1f)", 1);
    rig.list.addCube(e, {});
    MersenneTwister rng(44);
    rig.list.addCube(randomFaceletCube(rng), {});
    const FaceletCube before = rig.list.at(1).cube;
    ASSERT_FALSE(standardOrientation(symmetryMasks(e.cube)));
    rig.list.selectAll();
    rig.list.arrangeSelected();
    EXPECT_TRUE(standardOrientation(symmetryMasks(rig.list.at(0).cube)));
    EXPECT_TRUE(isomorphic(rig.list.at(0).cube, e.cube, false, 0, false));
    EXPECT_TRUE(solves(rig.list.at(0).cube, rig.list.at(0).solverText));
    EXPECT_EQ(rig.list.at(1).cube.f, before.f);  // C1 is standard as it is
}

std::shared_ptr<Entry> named(const std::string& name, int length) {
    auto e = std::make_shared<Entry>();
    e->patternName = name;
    e->bestLength = length;
    return e;
}

std::vector<std::string> names(const CubeList& l) {
    std::vector<std::string> out;
    for (const auto& e : l.entries()) out.push_back(e->patternName);
    return out;
}

TEST(Sort, ByLengthWithLeadingZeroThenNameThenIndexAsText) {
    ListRig rig;
    rig.list.isoCheck = false;
    rig.list.addCube(*named("x10", 10), {});
    rig.list.addCube(*named("x9", 9), {});
    auto opt = named("opt", 25);
    opt->setOptimalManeuver("R  (1f*)", 1, true);
    opt->optimalLength = 8;
    rig.list.addCube(*opt, {});
    for (int i = 3; i < 14; ++i) rig.list.addCube(*named("same" + std::to_string(i), 20), {});
    for (int i = 3; i < 14; ++i) rig.list.at(i).patternName = "same";
    // Tag the equal entries by their former index to see their order.
    std::vector<const Entry*> equal;
    for (int i = 3; i < 14; ++i) equal.push_back(&rig.list.at(i));
    rig.list.modified = false;
    rig.list.sortByManeuverLength();
    EXPECT_TRUE(rig.list.modified);
    EXPECT_EQ(rig.list.at(0).patternName, "opt");  // 08
    EXPECT_EQ(rig.list.at(1).patternName, "x9");   // 09
    EXPECT_EQ(rig.list.at(2).patternName, "x10");
    // Former indexes 3..13 as text: 10 11 12 13 3 4 ... 9.
    const std::vector<int> order = {10, 11, 12, 13, 3, 4, 5, 6, 7, 8, 9};
    for (std::size_t k = 0; k < order.size(); ++k)
        EXPECT_EQ(&rig.list.at(int(3 + k)), equal[order[k] - 3]) << k;
}

TEST(Sort, ByNameIgnoringCase) {
    ListRig rig;
    rig.list.isoCheck = false;
    for (auto [n, l] : std::vector<std::pair<std::string, int>>{{"beta", 20}, {"Alpha", 19}, {"alpha", 18}, {"ALPHA*%35786%*0", 5}, {"", 30}})
        rig.list.addCube(*named(n, l), {});
    const std::size_t before = rig.list.size();
    rig.list.sortByPatternName();
    // "*" sorts before the digits of a length.
    EXPECT_EQ(names(rig.list), (std::vector<std::string>{"", "ALPHA*%35786%*0", "alpha", "Alpha", "beta"}));
    EXPECT_EQ(rig.list.size(), before);  // a name holding the marker mixes nothing up
}

TEST(Texts, ClipboardQuickSaveAndRows) {
    ListRig rig;
    testing::TempFolder dir("quick");
    EXPECT_FALSE(rig.list.quickSave(dir.path()));
    EXPECT_FALSE(std::filesystem::exists(dir / "ctrlFsave.txt"));
    Entry e;
    e.cube = cubeOf("R U'");
    e.setSolverText("U R'  (2f)", 2);
    rig.list.addCube(e, {});
    EXPECT_EQ(rig.list.solverClipboardText(0), "U R'  (2f)");
    EXPECT_EQ(rig.list.generatorClipboardText(0), "R U'  (2f)");
    EXPECT_EQ(rig.list.rowManeuverText(0), "U R'  (2f)");
    rig.list.toggleShowSolver(0);
    EXPECT_EQ(rig.list.rowManeuverText(0), "R U'  (2f)");
    EXPECT_TRUE(rig.list.quickSave(dir.path()));
    EXPECT_EQ(testing::readFile(dir / "ctrlFsave.txt"), "U R'");
    rig.list.at(0).setOptimalManeuver("U R'  (2f*)", 2, true);
    EXPECT_EQ(rig.list.solverClipboardText(0), "U R'  (2f*)");
    EXPECT_EQ(rig.list.generatorClipboardText(0), "R U'  (2f*)");
    EXPECT_TRUE(rig.list.quickSave(dir.path()));
    EXPECT_EQ(testing::readFile(dir / "ctrlFsave.txt"), "U R'");
    rig.list.setPatternName(0, "name");
    EXPECT_EQ(rig.list.at(0).patternName, "name");
    EXPECT_EQ(rig.list.caption(), "untitled.txt - Tesserix 5.00s");
    rig.list.workspaceFile = "/some/folder/cubes.txt";
    EXPECT_EQ(rig.list.caption(), "cubes.txt - Tesserix 5.00s");

    FaceletEditor editor;
    int shown = 0;
    rig.list.hooks.showEditorPage = [&] { ++shown; };
    rig.list.transferToEditor(0, editor);
    EXPECT_EQ(editor.cube().f, e.cube.f);
    EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace tx
