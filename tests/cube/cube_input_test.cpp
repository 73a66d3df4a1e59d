// The one reader of cube texts and the validity check behind every command: forms, reasons,
// the cubie-level check of the searches, and random texts that must never pass as cubes.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cube/cube_input.hpp"
#include "cube/notation.hpp"
#include "support/random_cubes.hpp"

namespace tx {
namespace {

const std::string kSolved = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";
const std::string kNames = "UF UR UB UL DF DR DB DL FR FL BR BL UFR URB UBL ULF DRF DFL DLB DBR";

std::string reason(std::string_view text, bool centres = false) {
    CubeTextOptions o;
    o.centersCount = centres;
    return readCube(text, o).error;
}

TEST(ReadCube, TheThreeFormsGiveTheSameCube) {
    FaceletCube expected;
    applyManeuver(expected, "R U F' D2 L B");
    const CubeText facelets = readCube(expected.faceletString());
    const CubeText pieces = readCube(expected.pieceList());
    const CubeText maneuver = readCube("  @R U F' D2 L B");
    for (const CubeText* read : {&facelets, &pieces, &maneuver}) {
        EXPECT_TRUE(read->ok()) << read->error;
        EXPECT_EQ(read->cube.f, expected.f);
    }
    EXPECT_EQ(facelets.form, CubeForm::Facelets);
    EXPECT_EQ(pieces.form, CubeForm::PieceList);
    EXPECT_EQ(maneuver.form, CubeForm::Maneuver);
    // A piece list behind "@" is the maneuver field's cube description.
    EXPECT_EQ(readCube("@" + expected.pieceList()).cube.f, expected.f);
}

TEST(ReadCube, ImpossiblePieceListsGetTheReasonsOfFacelets) {
    // The probes that crashed the solver: the reader now names what is wrong.
    EXPECT_EQ(reason("@BBLURUUFRDRUUBBRRDDLLFBRFLFBDLRDBURDUFLDUFLBLFDF"),
              "inconsistent facelet colors (facelet U0 removed)");
    EXPECT_EQ(reason("@UR UF UB UL DF DR DB DL FR FL BR BL UFR URB UBL ULF DRF DFL DLB DBR"),
              "parity error (two pieces are exchanged)");
    EXPECT_EQ(reason("UF UR UB UL DF DR DB DL FR FL BR BL FRU URB UBL ULF DRF DFL DLB DBR"),
              "twist error (a corner is twisted)");
    EXPECT_EQ(reason("UF UR UB UL DF DR DB DL FR FL RB BL UFR URB UBL ULF DRF DFL DLB DBR"),
              "flip error (an edge is flipped)");
    EXPECT_EQ(reason("@UUUUUUUURRRRRRRRFFFFFFFFDDDDDDDDLLLLLLLLBBBBBBBB").rfind("inconsistent facelet colors", 0), 0u);
    // The same cube as a facelet string gets the same reason.
    FaceletCube twisted;
    twisted.readPieceList("UF UR UB UL DF DR DB DL FR FL BR BL FRU URB UBL ULF DRF DFL DLB DBR");
    EXPECT_EQ(reason(twisted.faceletString()), "twist error (a corner is twisted)");
    EXPECT_EQ(reason(kNames), "");
}

TEST(ReadCube, TextsThatAreNoCube) {
    EXPECT_EQ(reason("UUUU"), "fewer than 54 facelet letters (4)");
    EXPECT_EQ(reason(kSolved + "R"), "expected 54 face letters, found 55");
    std::string centres = kSolved;
    std::swap(centres[4], centres[13]);
    EXPECT_EQ(reason(centres), "the centre facelets must read U R F D L B");
    // Parsing alone accepts an impossible cube; only the check refuses it.
    FaceletCube flipped;
    std::swap(flipped.f[7], flipped.f[19]);
    EXPECT_TRUE(parseCubeText(flipped.faceletString()).ok());
    EXPECT_FALSE(readCube(flipped.faceletString()).ok());
}

TEST(ReadCube, CentresCountOnlyWhenAsked) {
    // A facelet string carries centre orientation 0, so an odd corner permutation (one
    // quarter turn) cannot be reached when centres count.
    FaceletCube quarter;
    applyManeuver(quarter, "R");
    EXPECT_EQ(reason(quarter.faceletString()), "");
    EXPECT_EQ(reason(quarter.faceletString(), true), "centre parity error (a centre is a quarter turn off)");
    EXPECT_EQ(reason(quarter.pieceList(), true), "centre parity error (a centre is a quarter turn off)");
    // The maneuver turns the centres with the faces: always reachable.
    EXPECT_EQ(reason("@R", true), "");
    EXPECT_EQ(reason("@R U F", true), "");
    const CubeText read = readCube("@R", {true, false});
    EXPECT_TRUE(read.cube.centersCount);
    EXPECT_EQ(read.cube.centerOri[R], 1);
}

TEST(ReadCube, WebRequestsReadTheFirstFacelets) {
    CubeTextOptions web;
    web.webRequest = true;
    EXPECT_TRUE(readCube(kSolved + "RRRR", web).ok());
    EXPECT_EQ(readCube(kSolved.substr(0, 30) + "\r" + kSolved.substr(30), web).error,
              "fewer than 54 facelet letters (30)");
    // Neither "@" nor piece lists mean anything there.
    EXPECT_FALSE(readCube("@R U", web).ok());
    EXPECT_FALSE(readCube(kNames, web).ok());
}

TEST(CubeProblem, UndefinedFaceletsAndTheCubieCheck) {
    FaceletCube open;
    open.f[20] = kUndefinedFacelet;
    EXPECT_EQ(cubeProblem(open), "incomplete cube (facelet F2 is not defined)");
    EXPECT_FALSE(cubeProblem(FaceletCube()).has_value());

    CubieCube c;
    EXPECT_FALSE(cubieProblem(c).has_value());
    c.corners[3].c = 0;  // URF twice, UBR never
    EXPECT_EQ(cubieProblem(c), "the corners are not the eight corner cubies, each once");
    c = CubieCube();
    c.edges[5].c = kNoEdge;
    EXPECT_EQ(cubieProblem(c), "the edges are not the twelve edge cubies, each once");
    c = CubieCube();
    c.corners[0].o = 3;  // a mirrored orientation: no real cube
    c.corners[1].o = 0;
    EXPECT_EQ(cubieProblem(c), "the corners are not the eight corner cubies, each once");
    c = CubieCube();
    c.edges[0].o = 1;
    EXPECT_EQ(cubieProblem(c), "flip error (an edge is flipped)");
    c = CubieCube();
    c.centers[U].o = 1;
    EXPECT_FALSE(cubieProblem(c).has_value());  // centres that do not count
    c.centersCount = true;
    EXPECT_EQ(cubieProblem(c), "centre parity error (a centre is a quarter turn off)");
}

// Random texts of the two letter forms: whatever the reader accepts is a real cube, at the
// cubie level too, and the facelets read back as the same cube; a refusal always says why.
TEST(ReadCube, RandomLettersPassOnlyAsRealCubes) {
    std::mt19937 rng(24);
    const std::string letters = "URFDLB";
    int accepted = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int n = i % 2 ? 48 : 54;
        if (i % 4 < 2) {
            // A real cube with a few of its letters changed or exchanged.
            const FaceletCube real = testing::faceletCubeOf(testing::randomCubie(rng));
            text = n == 48 ? real.pieceList() : real.faceletString();
            for (int k = int(rng() % 3); k > 0; --k) {
                std::size_t a = rng() % text.size(), b = rng() % text.size();
                if (letters.find(text[a]) == std::string::npos || letters.find(text[b]) == std::string::npos) continue;
                if (rng() % 2) std::swap(text[a], text[b]); else text[a] = letters[rng() % 6];
            }
        } else {
            for (int k = 0; k < n; ++k) text += letters[rng() % 6];
            if (n == 54)
                for (int f = 0; f < 6; ++f) text[9 * f + 4] = letters[f];
        }
        const CubeText read = readCube(text);
        if (!read.ok()) continue;
        ++accepted;
        ASSERT_FALSE(cubieProblem(read.cube.toCubieCube()).has_value()) << text;
        FaceletCube back;
        back.setFromCubieCube(read.cube.toCubieCube());
        ASSERT_EQ(back.f, read.cube.f) << text;
    }
    EXPECT_GT(accepted, 2000);  // the unchanged real cubes at least
}

}  // namespace
}  // namespace tx
