// The facelet commands of tesserix-cli, run as processes: check, cubie, pieces, and apply
// with a start cube, whole-cube turns and middle layers.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "cli_runner.hpp"

namespace {

const std::string kSolved = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";
const std::string kNames = "UF UR UB UL DF DR DB DL FR FL BR BL UFR URB UBL ULF DRF DFL DLB DBR";
const std::string kCannotSolve = "Cube cannot be solved. Missing or wrong facelet colors!";

using tx::testing::CliResult;

CliResult cli(const std::vector<std::string>& args, const std::string& input = "") {
    return tx::testing::runCli(args, input);
}

// Facelet string with the URF corner's colours rotated once: a twisted corner.
std::string twistedUrf(std::string s) {
    const char u = s[8];
    s[8] = s[9];
    s[9] = s[20];
    s[20] = u;
    return s;
}

// ---- check ------------------------------------------------------------------------------

TEST(CliCheck, SolvedCubeIsOk) {
    const CliResult r = cli({"check", kSolved});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "ok\n");
    EXPECT_EQ(r.err, "");
}

TEST(CliCheck, TwistFlipAndParityAreReported) {
    std::string flipped = kSolved;
    std::swap(flipped[5], flipped[10]);  // UR edge flipped
    std::string swapped = kSolved;        // UR and UL edges exchanged
    std::swap(swapped[5], swapped[3]);
    std::swap(swapped[10], swapped[37]);
    const CliResult r = cli({"check", twistedUrf(kSolved), flipped, swapped, kSolved});
    EXPECT_EQ(r.code, 1);
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("twist error", 0), 0u);
    EXPECT_EQ(lines[1].rfind("flip error", 0), 0u);
    EXPECT_EQ(lines[2].rfind("parity error", 0), 0u);
    EXPECT_EQ(lines[3], "ok");
}

TEST(CliCheck, RepeatedCubieNamesTheRemovedFacelet) {
    std::string s = kSolved;
    s[35] = 'U';  // the DRB position painted with the URF cubie
    s[17] = 'R';
    s[51] = 'F';
    const CliResult r = cli({"check", s});
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.lines().size(), 1u);
    EXPECT_EQ(r.lines()[0].rfind("inconsistent facelet colors (facelet ", 0), 0u) << r.out;
}

TEST(CliCheck, ReadsStdinOneResultPerLine) {
    std::string lower;
    for (char c : kSolved) lower += char(c - 'A' + 'a');
    std::string spaced;
    for (std::size_t i = 0; i < kSolved.size(); ++i) spaced += std::string(1, kSolved[i]) + (i % 9 == 8 ? " " : "");
    const std::string input = kSolved + "\n" + twistedUrf(kSolved) + "\r\n" + "UUUU\n" + lower + "\n" + spaced + "\n";
    const CliResult r = cli({"check"}, input);
    EXPECT_EQ(r.code, 1);
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "ok");
    EXPECT_EQ(lines[1].rfind("twist error", 0), 0u);
    EXPECT_EQ(lines[2], "fewer than 54 facelet letters (4)");
    EXPECT_EQ(lines[3], "ok");
    EXPECT_EQ(lines[4], "ok");
    // "-" reads stdin as well.
    EXPECT_EQ(cli({"check", "-"}, kSolved + "\n").out, "ok\n");
}

TEST(CliCheck, MisplacedCentresAndBadOptionsAreRefused) {
    std::string s = kSolved;
    std::swap(s[4], s[13]);
    const CliResult r = cli({"check", s});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("centre"), std::string::npos);
    EXPECT_EQ(cli({"check", "--strict", kSolved}).code, 2);
}

// ---- cubie ------------------------------------------------------------------------------

TEST(CliCubie, SolvedAndTwistedCubes) {
    const CliResult r = cli({"cubie", kSolved, twistedUrf(kSolved)});
    EXPECT_EQ(r.code, 0) << r.err;
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              "URF0 UFL0 ULB0 UBR0 DFR0 DLF0 DBL0 DRB0 | UR0 UF0 UL0 UB0 DR0 DF0 DL0 DB0 FR0 FL0 BL0 BR0 "
              "| twist 0 flip 0 parity even");
    EXPECT_EQ(lines[1].substr(0, 5), "URF2 ");
    EXPECT_NE(lines[1].find("twist 2 flip 0 parity even"), std::string::npos);
}

TEST(CliCubie, FaceTurnMovesTheRightCubies) {
    const CliResult turned = cli({"apply", "U"});
    ASSERT_EQ(turned.code, 0);
    const CliResult r = cli({"cubie", turned.lines().at(0)});
    EXPECT_EQ(r.out,
              "UBR0 URF0 UFL0 ULB0 DFR0 DLF0 DBL0 DRB0 | UB0 UR0 UF0 UL0 DR0 DF0 DL0 DB0 FR0 FL0 BL0 BR0 "
              "| twist 0 flip 0 parity even\n");
}

TEST(CliCubie, ImpossiblePiecesAreRefused) {
    std::string s = kSolved;
    s[9] = 'D';  // U and D on the URF corner
    const CliResult r = cli({"cubie", s, kSolved});
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.lines().size(), 2u);
    EXPECT_EQ(r.lines()[0], "invalid");
    EXPECT_NE(r.err.find(kCannotSolve), std::string::npos);
}

// ---- pieces -----------------------------------------------------------------------------

TEST(CliPieces, ConvertsBothWays) {
    const CliResult r = cli({"pieces", kSolved, kNames});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.lines(), (std::vector<std::string>{kNames, kSolved}));

    const CliResult turned = cli({"apply", "R U F' D2 L B' E x"});
    ASSERT_EQ(turned.code, 0);
    const std::string cube = turned.lines().at(0);
    const CliResult list = cli({"pieces", cube});
    ASSERT_EQ(list.code, 0);
    EXPECT_EQ(list.lines().at(0).size(), kNames.size());
    const CliResult back = cli({"pieces", list.lines().at(0)});
    EXPECT_EQ(back.lines().at(0), cube);
}

TEST(CliPieces, OtherLetterCountsAreRefused) {
    const CliResult r = cli({"pieces", kSolved.substr(0, 50)});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "invalid\n");
    EXPECT_NE(r.err.find("found 50"), std::string::npos);
}

// ---- apply: start cube, whole-cube turns and middle layers ------------------------------

TEST(CliApply, PowersAndInverses) {
    const CliResult r = cli({"apply", "R R", "R2", "R'", "R3", "R R R", "R R R R"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto l = r.lines();
    ASSERT_EQ(l.size(), 6u);
    EXPECT_EQ(l[0], l[1]);
    EXPECT_EQ(l[2], l[3]);
    EXPECT_EQ(l[3], l[4]);
    EXPECT_NE(l[0], kSolved);
    EXPECT_NE(l[2], kSolved);
    EXPECT_EQ(l[5], kSolved);
}

TEST(CliApply, FromContinuesACube) {
    const CliResult a = cli({"apply", "R U R' U'"});
    ASSERT_EQ(a.code, 0);
    EXPECT_NE(a.lines().at(0), kSolved);
    const CliResult b = cli({"apply", "--from", a.lines().at(0), "U R U' R'"});
    EXPECT_EQ(b.out, kSolved + "\n");
    const CliResult bad = cli({"apply", "--from", "UUU", "R"});
    EXPECT_EQ(bad.code, 1);  // not a cube, as for every command that takes cubes
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("--from"), std::string::npos) << bad.err;
}

TEST(CliApply, RotationsAndMiddleLayersWithCentresAndScheme) {
    const CliResult r = cli({"apply", "--centers", "--scheme", "x", "x y z", "E D U'", "M", "R U"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto l = r.lines();
    ASSERT_EQ(l.size(), 5u);
    EXPECT_EQ(l[0], kSolved + " centers 0 0 0 0 0 0 scheme FRDBLU");
    EXPECT_EQ(l[1].substr(0, 54), kSolved);
    EXPECT_EQ(l[2], kSolved + " centers 0 0 0 0 0 0 scheme UFLDBR");
    // M turns R and L' as seen from the centres.
    EXPECT_NE(l[3].substr(0, 54), kSolved);
    EXPECT_NE(l[3].find(" centers 0 1 0 0 3 0 "), std::string::npos);
    // Face turns leave the colour scheme as it is.
    EXPECT_EQ(l[4].substr(l[4].size() - 14), " scheme URFDLB");
}

// The scheme follows rotations inside groups and after a piece list, as the field reads them.
TEST(CliApply, SchemeFollowsGroupsAndPieceLists) {
    const std::string pieces = "UF UR UB UL DF DR DB DL FR FL BR BL UFR URB UBL ULF DRF DFL DLB DBR";
    const CliResult r = cli({"apply", "--scheme", "(x)3", "x x x", "(y)4", "(" + pieces + ") z"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto l = r.lines();
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[0], l[1]);
    EXPECT_EQ(l[2], kSolved + " scheme URFDLB");
    EXPECT_EQ(l[3] + "\n", cli({"apply", "--scheme", "z"}).out);
    EXPECT_NE(l[3], l[2]);
}

// apply reads like the maneuver field: characters that are no moves are passed over.
TEST(CliApply, OtherCharactersArePassedOver) {
    const CliResult r = cli({"apply", "-"}, "R U\nR, Q U\n");
    EXPECT_EQ(r.code, 0) << r.err;
    ASSERT_EQ(r.lines().size(), 2u);
    EXPECT_EQ(r.lines()[0], r.lines()[1]);
    EXPECT_NE(r.lines()[0], kSolved);
}

// Every cube reached by face, middle-layer and whole-cube turns passes the check unchanged and reads as a whole cube.
TEST(CliProperty, TurnedCubesAreConsistent) {
    std::mt19937 rng(41);
    const char* letters[] = {"U", "R", "F", "D", "L", "B", "E", "M", "S", "x", "y", "z"};
    const char* powers[] = {"", "2", "'"};
    std::string sequences;
    for (int i = 0; i < 40; ++i) {
        for (int k = 0; k < 25; ++k) sequences += std::string(letters[rng() % 12]) + powers[rng() % 3] + " ";
        sequences += "\n";
    }
    const CliResult turned = cli({"apply", "-"}, sequences);
    ASSERT_EQ(turned.code, 0) << turned.err;
    ASSERT_EQ(turned.lines().size(), 40u);
    std::string cubes;
    for (const auto& l : turned.lines()) cubes += l + "\n";
    const CliResult checked = cli({"check"}, cubes);
    EXPECT_EQ(checked.code, 0) << checked.err;
    for (std::size_t i = 0; i < 40; ++i) EXPECT_EQ(checked.lines().at(i), "ok");
    const CliResult cubies = cli({"cubie"}, cubes);
    EXPECT_EQ(cubies.code, 0) << cubies.err;
    for (const auto& l : cubies.lines()) EXPECT_NE(l.find("| twist 0 flip 0 parity even"), std::string::npos) << l;
}

}  // namespace
