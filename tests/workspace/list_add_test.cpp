// Adding cubes: the isomorphism test and its questions, random cubes, inverses, expansion.
#include "list_support.hpp"

#include "cube/facelet_symmetry.hpp"
#include "cube/notation.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx {
namespace {

using testing::cubeOf;
using testing::ListRig;
using testing::randomFaceletCube;
using testing::solves;

AddRequest interactive() {
    AddRequest how;
    how.interactive = true;
    return how;
}

TEST(IsoKey, AgreesWithTheSymmetricComparison) {
    MersenneTwister rng(7);
    int isomorphicPairs = 0;
    for (int i = 0; i < 300; ++i) {
        FaceletCube a = randomFaceletCube(rng);
        a.centersCount = i % 3 == 0;
        if (i % 5 == 0) {  // some facelets unknown: partially defined cubes compare too
            for (int k = 0; k < 6; ++k) {
                const int p = int(rng.below(54));
                if (p % 9 != 4) a.f[p] = kUndefinedFacelet;
            }
        }
        FaceletCube b;
        switch (i % 4) {
            case 0: b = symmetricImage(a, int(rng.below(48))); break;
            case 1: b = randomFaceletCube(rng), b.centersCount = a.centersCount; break;
            case 2:
                b = symmetricImage(a, int(rng.below(48)));
                b.centerOri[rng.below(6)] ^= 1;  // differs only in a centre
                break;
            default:
                if (!inverseCube(a, b)) b = a;
                b = symmetricImage(b, int(rng.below(48)));
                break;
        }
        const bool expected = isomorphic(a, b, false, 0, false);
        isomorphicPairs += expected;
        EXPECT_EQ(isoKey(a) == isoKey(b), expected) << "case " << i;
    }
    EXPECT_GT(isomorphicPairs, 50);  // both outcomes were exercised
}

TEST(AddCube, AskedAboutARotationWithTheEntryNumber) {
    ListRig rig;
    MersenneTwister rng(11);
    const FaceletCube a = randomFaceletCube(rng), b = randomFaceletCube(rng);
    ASSERT_TRUE(rig.list.addCube(b, interactive()));
    ASSERT_TRUE(rig.list.addCube(a, interactive()));
    ASSERT_TRUE(rig.prompts.shown.empty());
    EXPECT_TRUE(rig.list.modified);

    rig.prompts.answers = {Answer::No};
    EXPECT_EQ(rig.list.addCube(symmetricImage(a, 21), interactive()), nullptr);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text, "Cube 2 is isomorphic to the Cube you want to add. Proceed?");
    EXPECT_EQ(rig.prompts.shown[0].caption, "Maneuver Window");
    EXPECT_EQ(rig.prompts.shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(rig.list.size(), 2u);

    rig.prompts.answers = {Answer::Yes};
    auto added = rig.list.addCube(symmetricImage(a, 37), interactive());
    ASSERT_TRUE(added);
    EXPECT_EQ(rig.list.size(), 3u);
    EXPECT_EQ(rig.list.entries().back(), added);
    EXPECT_EQ(added->cube.f, symmetricImage(a, 37).f);
}

TEST(AddCube, NonInteractiveSkipsIsomorphicCubesSilently) {
    ListRig rig;
    MersenneTwister rng(12);
    const FaceletCube a = randomFaceletCube(rng);
    AddRequest quiet;
    ASSERT_TRUE(rig.list.addCube(a, quiet));
    EXPECT_EQ(rig.list.addCube(symmetricImage(a, 3), quiet), nullptr);
    EXPECT_TRUE(rig.prompts.shown.empty());
    // The centre mode is part of the cube: counted centres make another cube.
    AddRequest centres;
    centres.centersCount = true;
    EXPECT_TRUE(rig.list.addCube(a, centres));
    rig.list.isoCheck = false;
    EXPECT_TRUE(rig.list.addCube(a, quiet));
    EXPECT_EQ(rig.list.size(), 3u);
}

TEST(AddCube, InverseCountsOnlyWithIsoInvInclude) {
    MersenneTwister rng(13);
    FaceletCube a, inv;
    do {
        a = randomFaceletCube(rng);
        ASSERT_TRUE(inverseCube(a, inv));
    } while (isomorphic(a, inv, false, 0, false));
    const FaceletCube invTurned = symmetricImage(inv, 29);
    {
        ListRig rig;
        rig.list.addCube(a, {});
        EXPECT_TRUE(rig.list.addCube(invTurned, {}));
    }
    {
        ListRig rig;
        rig.list.options.isoInvInclude = true;
        rig.list.addCube(a, {});
        EXPECT_EQ(rig.list.addCube(invTurned, {}), nullptr);
        rig.prompts.answers = {Answer::No};
        EXPECT_EQ(rig.list.addCube(invTurned, interactive()), nullptr);
        ASSERT_EQ(rig.prompts.shown.size(), 1u);
        EXPECT_EQ(rig.prompts.shown[0].text, "Cube 1 is isomorphic to the Cube you want to add. Proceed?");
    }
}

TEST(AddCube, KeepsEveryEntryInOrderBeyondTheInitialCapacity) {
    ListRig rig;
    MersenneTwister rng(14);
    std::vector<FaceletCube> cubes;
    for (int i = 0; i < 37; ++i) {
        cubes.push_back(randomFaceletCube(rng));
        ASSERT_TRUE(rig.list.addCube(cubes.back(), {}));
    }
    ASSERT_EQ(rig.list.size(), cubes.size());
    for (std::size_t i = 0; i < cubes.size(); ++i) EXPECT_EQ(rig.list.at(int(i)).cube.f, cubes[i].f);
    // A cube found by the cache stays found after the entry changed under it.
    rig.list.at(5).cube = cubes[0];
    EXPECT_EQ(rig.list.findIsomorphic(cubes[5]), -1);
    EXPECT_EQ(rig.list.findIsomorphic(symmetricImage(cubes[0], 9)), 0);
}

TEST(AddCube, CopiesTextsAndSetsTheRowFlags) {
    ListRig rig;
    Entry source;
    source.cube = cubeOf("R U");
    source.setSolverText("U' R'  (2f)", 2);
    source.patternName = "two";
    source.bestLength = 2;
    source.selected = true;
    AddRequest how;
    how.showSolver = false;
    how.cubieSubset = 2;
    auto e = rig.list.addCube(source, how);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->solverText, source.solverText);
    EXPECT_EQ(e->patternName, "two");
    EXPECT_EQ(e->bestLength, 2);
    EXPECT_FALSE(e->showSolver);
    EXPECT_EQ(e->cubieSubset, 2);
    EXPECT_FALSE(e->selected);
    EXPECT_FALSE(e->searchRunning);
    EXPECT_EQ(e->optimalText, "Status: Not Running");
}

TEST(AddFromEditor, RefusesInconsistentAndIncompleteCubes) {
    FaceletEditor editor;
    ListRig rig;
    // Two U stickers on one edge cannot be.
    editor.cube().f[7] = U;
    editor.cube().f[19] = U;
    EXPECT_EQ(rig.list.addFromEditor(editor, true), EditorAdd::Inconsistent);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text,
              "Some inconsistent facelet colors have been removed. Please verify the configuration!");
    EXPECT_EQ(rig.prompts.shown[0].caption, "Facelet Editor");
    EXPECT_TRUE(rig.list.empty());

    editor.cube().reset();
    editor.cube().f[8] = kUndefinedFacelet;  // the UFR corner half known
    rig.prompts.shown.clear();
    EXPECT_EQ(rig.list.addFromEditor(editor, true), EditorAdd::Incomplete);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text, "The definition of the facelet colors is incomplete!");
    EXPECT_TRUE(rig.list.empty());
}

// With centres counting, a quarter turn of the corners needs a centre turned a quarter too;
// the editor's cube with all centres straight is no cube and is not added.
TEST(AddFromEditor, RefusesCentresThatDoNotFitTheCorners) {
    FaceletEditor editor;
    ListRig rig;
    rig.list.options.fixCenterFacelets = true;
    applyManeuver(editor.cube(), "R");
    editor.cube().centersCount = true;
    ASSERT_EQ(editor.cube().centerOri[R], 1);
    editor.cube().centerOri[R] = 0;
    EXPECT_EQ(rig.list.addFromEditor(editor, false), EditorAdd::Inconsistent);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text, kCenterParityMessage);
    EXPECT_TRUE(rig.list.empty());
    // Without centres counting the same cube is fine; with the centre turned it is fine too.
    rig.list.options.fixCenterFacelets = false;
    editor.cube().centersCount = false;
    EXPECT_EQ(rig.list.addFromEditor(editor, false), EditorAdd::Added);
    rig.list.options.fixCenterFacelets = true;
    editor.cube().centersCount = true;
    editor.cube().centerOri[R] = 3;
    rig.list.isoCheck = false;
    EXPECT_EQ(rig.list.addFromEditor(editor, false), EditorAdd::Added);
    EXPECT_EQ(rig.list.size(), 2u);
    for (std::size_t i = 1; i < rig.prompts.shown.size(); ++i)
        EXPECT_NE(rig.prompts.shown[i].text, kCenterParityMessage);
}

TEST(AddFromEditor, HandsPartiallyDefinedCubesOver) {
    // A cube with whole pieces left open is for the search for partially defined cubes: the
    // caller hands it over; the list neither adds it nor complains.
    FaceletEditor editor;
    ListRig rig;
    editor.emptyCorners();
    EXPECT_EQ(rig.list.addFromEditor(editor, false), EditorAdd::HandedOver);
    EXPECT_TRUE(rig.list.empty());
    EXPECT_TRUE(rig.prompts.shown.empty());
}

TEST(RandomCubes, AsksForTheNumberAndChecksIt) {
    FaceletEditor editor;
    MersenneTwister rng(5);
    ListRig rig;
    rig.prompts.inputs = {std::optional<std::string>("3")};
    EXPECT_EQ(rig.list.addRandomCubes(editor, rng), 3);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text, "Number of Random Cubes to add: ");
    EXPECT_EQ(rig.list.size(), 3u);
    EXPECT_TRUE(rig.list.isoCheck);
    for (const auto& e : rig.list.entries()) {
        EXPECT_TRUE(e->showSolver);
        EXPECT_TRUE(solvableCube(e->cube));
    }

    rig.prompts.shown.clear();
    rig.prompts.inputs = {std::optional<std::string>("ten")};
    EXPECT_EQ(rig.list.addRandomCubes(editor, rng), 0);
    ASSERT_EQ(rig.prompts.shown.size(), 2u);
    EXPECT_EQ(rig.prompts.shown[1].text, "No valid number.");
    EXPECT_EQ(rig.prompts.shown[1].caption, "");

    rig.prompts.shown.clear();
    rig.prompts.inputs = {std::optional<std::string>("0"), std::nullopt};
    EXPECT_EQ(rig.list.addRandomCubes(editor, rng), 0);
    EXPECT_EQ(rig.list.addRandomCubes(editor, rng), 0);  // cancelled
    EXPECT_EQ(rig.prompts.shown.size(), 2u);             // the two input boxes only
    EXPECT_EQ(rig.list.size(), 3u);
}

TEST(RandomCubes, CapsTheNumberAt100000) {
    FaceletEditor editor;
    MersenneTwister rng(6);
    ListRig rig;
    rig.list.options.fixCenterFacelets = true;
    rig.prompts.inputs = {std::optional<std::string>("100001")};
    EXPECT_EQ(rig.list.addRandomCubes(editor, rng), 100000);
    ASSERT_EQ(rig.prompts.shown.size(), 2u);
    EXPECT_EQ(rig.prompts.shown[1].text, "Number too big. Only 100000 Random Cubes will be added.");
    EXPECT_EQ(rig.list.size(), 100000u);
    EXPECT_TRUE(rig.list.at(99999).cube.centersCount);
    EXPECT_GE(rig.pumps, 100);  // messages processed every 1000 cubes
}

TEST(Inverses, AddsEachInverseWithTheGeneratorTexts) {
    ListRig rig;
    MersenneTwister rng(21);
    auto a = testing::entryWithManeuver(rng, 9);
    auto b = testing::entryWithManeuver(rng, 7, true);
    a->patternName = "a";
    rig.list.addCube(*a, {});
    rig.list.addCube(*b, {});
    EXPECT_EQ(rig.list.addAllInverses(), 2);
    ASSERT_EQ(rig.list.size(), 4u);
    const Entry& ia = rig.list.at(2);
    const Entry& ib = rig.list.at(3);
    FaceletCube expected;
    ASSERT_TRUE(inverseCube(a->cube, expected));
    EXPECT_EQ(ia.cube.f, expected.f);
    EXPECT_EQ(ia.solverText, inverseManeuver(a->solverText));
    EXPECT_TRUE(solves(ia.cube, ia.solverText));
    EXPECT_FALSE(ia.useOptimal);
    EXPECT_TRUE(ib.useOptimal);
    EXPECT_NE(ib.optimalText.find("*)"), std::string::npos);
    EXPECT_TRUE(solves(ib.cube, ib.optimalText));
    ASSERT_GE(rig.captions.size(), 2u);
    EXPECT_EQ(rig.captions.front(), "Adding inverse cubes, press ESC to cancel... untitled.txt - Tesserix 5.00s");
    EXPECT_EQ(rig.captions.back(), "untitled.txt - Tesserix 5.00s");
    // Now every inverse is isomorphic to an entry: nothing more is added.
    EXPECT_EQ(rig.list.addAllInverses(), 0);
    EXPECT_EQ(rig.list.size(), 4u);
}

TEST(Inverses, EscapeStopsAtTheNextPoll) {
    ListRig rig;
    MersenneTwister rng(22);
    rig.list.isoCheck = false;
    for (int i = 0; i < 2500; ++i) rig.list.addCube(randomFaceletCube(rng), {});
    rig.list.isoCheck = true;
    // Escape arrives while the window processes messages: during the isomorphism test of an
    // add (every 1000 comparisons) or between entries (every 1000 entries).
    rig.list.hooks.pump = [&] { rig.list.cancelRequested = rig.list.size() >= 3000; };
    const int added = rig.list.addAllInverses();
    EXPECT_GE(added, 500);
    EXPECT_LE(added, 501);
    EXPECT_EQ(rig.list.size(), 2500u + added);
}

TEST(Expand, AppendsAll48ImagesWithTheirOwnManeuvers) {
    ListRig rig;
    MersenneTwister rng(23);
    auto first = testing::entryWithManeuver(rng, 8);
    first->setOptimalStatus("Status: Not running");
    rig.list.addCube(*first, {});
    EXPECT_EQ(rig.list.expandFirstCube(), 48);
    ASSERT_EQ(rig.list.size(), 49u);
    EXPECT_TRUE(rig.list.isoCheck);
    EXPECT_EQ(rig.list.at(0).cube.f, first->cube.f);
    for (int k = 0; k < 48; ++k) {
        const Entry& e = rig.list.at(k + 1);
        EXPECT_EQ(e.cube.f, symmetricImage(first->cube, k).f) << k;
        EXPECT_TRUE(solves(e.cube, e.solverText)) << k;
        EXPECT_EQ(e.optimalText, "Status: Not running");
    }
}

}  // namespace
}  // namespace tx
