// The maneuver commands of tesserix-cli, run as processes: apply, inverse and random.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cli_runner.hpp"
#include "cube/facelet_cube.hpp"
#include "cube/notation.hpp"
#include "cube/random.hpp"

namespace {

const std::string kSolved = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";
// The solved cube after a clockwise R turn.
const std::string kAfterR = "UUFUUFUUFRRRRRRRRRFFDFFDFFDDDBDDBDDBLLLLLLLLLUBBUBBUBB";

using tx::testing::CliResult;

CliResult cli(const std::vector<std::string>& args, const std::string& input = "") {
    return tx::testing::runCli(args, input);
}

std::string appliedInProcess(const std::string& field) {
    tx::FaceletCube c;
    tx::applyManeuverField(c, field);
    return c.faceletString();
}

// ---- apply ------------------------------------------------------------------------------

TEST(CliApply, FaceTurnsAndTheEmptyManeuver) {
    const CliResult r = cli({"apply", "R", "", "R R'", "(R U R' U')6"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.lines(), (std::vector<std::string>{kAfterR, kSolved, kSolved, kSolved}));
    EXPECT_EQ(r.err, "");
}

TEST(CliApply, FieldNotationAndGroups) {
    const CliResult r = cli({"apply", "U-1", "U-", "U'", "U3", "(R U)2F", "R U R U F", "R U2 F'  (3f)", "U2s", "Us2"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto l = r.lines();
    ASSERT_EQ(l.size(), 9u);
    EXPECT_EQ(l[0], l[2]);
    EXPECT_EQ(l[1], l[2]);
    EXPECT_EQ(l[3], l[2]);
    EXPECT_NE(l[2], kSolved);
    EXPECT_EQ(l[4], l[5]);
    EXPECT_EQ(l[6], appliedInProcess("R U2 F'"));
    EXPECT_EQ(l[7], l[8]);
    EXPECT_EQ(l[8], appliedInProcess("U2 D2"));
}

TEST(CliApply, SuperscriptTwoFromATerminal) {
    // UTF-8 "U²" and the 8-bit byte 178 are both the half turn.
    const CliResult r = cli({"apply", "U\xC2\xB2", "U\xB2", "U2"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto l = r.lines();
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0], l[2]);
    EXPECT_EQ(l[1], l[2]);
}

TEST(CliApply, StdinAndCentres) {
    const CliResult r = cli({"apply", "--centers", "-"}, "R\nx y\r\nUs // pair\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.lines(), (std::vector<std::string>{kAfterR + " centers 0 1 0 0 0 0", kSolved + " centers 0 0 0 0 0 0",
                                                   appliedInProcess("U D'") + " centers 1 0 0 3 0 0"}));
}

TEST(CliApply, PieceListSetsTheCube) {
    const CliResult turned = cli({"apply", "R U F"});
    ASSERT_EQ(turned.code, 0);
    const CliResult pieces = cli({"pieces", turned.lines().at(0)});
    ASSERT_EQ(pieces.code, 0) << pieces.err;
    const CliResult r = cli({"apply", pieces.lines().at(0)});
    EXPECT_EQ(r.out, turned.out);
}

TEST(CliApply, UsageErrors) {
    const CliResult none = cli({"apply"});
    EXPECT_EQ(none.code, 2);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("no maneuver"), std::string::npos);
    EXPECT_EQ(cli({"apply", "--bogus", "R"}).code, 2);
    EXPECT_EQ(cli({"apply", "--help"}).code, 0);
}

// ---- inverse ----------------------------------------------------------------------------

TEST(CliInverse, InvertsTextsAndKeepsTheMark) {
    const CliResult r = cli({"inverse", "R U2 F'  (3f)", "R U", "x E' y2"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.lines(), (std::vector<std::string>{"F U2 R'  (3f)", "U' R' ", "y2 E x' "}));
}

TEST(CliInverse, StatusTextsOnlyWithOptimal) {
    const CliResult plain = cli({"inverse", "Status: Not Running"});
    EXPECT_NE(plain.out, "Status: Not Running\n");
    const CliResult optimal = cli({"inverse", "--optimal", "Status: Not Running", "R U2 F'  (3f*)"});
    EXPECT_EQ(optimal.code, 0);
    EXPECT_EQ(optimal.lines(), (std::vector<std::string>{"Status: Not Running", "F U2 R'  (3f*)"}));
}

TEST(CliInverse, StdinAndAppliedInverseRestores) {
    const CliResult r = cli({"inverse", "-"}, "R U2 F' D  (4f)\nUs2 Ra'\n");
    ASSERT_EQ(r.code, 0) << r.err;
    const auto l = r.lines();
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0], "D' F U2 R'  (4f)");
    const CliResult back = cli({"apply", "R U2 F' D " + l[0], "Us2 Ra' " + l[1]});
    EXPECT_EQ(back.lines(), (std::vector<std::string>{kSolved, kSolved}));
    EXPECT_EQ(cli({"inverse"}).code, 2);
}

// ---- random -----------------------------------------------------------------------------

TEST(CliRandom, SeededCubesAreTheGeneratorsCubes) {
    const CliResult r = cli({"random", "-n", "5", "--seed", "1"});
    ASSERT_EQ(r.code, 0) << r.err;
    tx::MersenneTwister rng(1);
    std::vector<std::string> expected;
    for (int i = 0; i < 5; ++i) {
        tx::FaceletCube c;
        tx::randomCube(c, rng);
        expected.push_back(c.faceletString());
    }
    EXPECT_EQ(r.lines(), expected);
    EXPECT_EQ(cli({"random", "--seed=1", "-n=5"}).out, r.out);
    EXPECT_NE(cli({"random", "-n", "5", "--seed", "2"}).out, r.out);
}

TEST(CliRandom, CubesPassTheCheckUnchanged) {
    const CliResult r = cli({"random", "-n", "50", "--seed", "4294967295"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 50u);
    const std::set<std::string> distinct(lines.begin(), lines.end());
    EXPECT_EQ(distinct.size(), 50u);
    const CliResult checked = cli({"check", "-"}, r.out);
    EXPECT_EQ(checked.code, 0) << checked.err;
    for (const auto& line : checked.lines()) EXPECT_EQ(line, "ok");
}

TEST(CliRandom, DefaultsAndCentres) {
    const CliResult one = cli({"random"});
    ASSERT_EQ(one.code, 0) << one.err;
    ASSERT_EQ(one.lines().size(), 1u);
    EXPECT_EQ(one.lines()[0].size(), 54u);
    EXPECT_EQ(cli({"random", "-n", "0"}).out, "");
    const CliResult centres = cli({"random", "--centers", "--seed", "9"});
    ASSERT_EQ(centres.lines().size(), 1u);
    const std::string line = centres.lines()[0];
    ASSERT_EQ(line.substr(54, 9), " centers ");
    int sum = 0;
    for (std::size_t i = 63; i < line.size(); i += 2) sum += line[i] - '0';
    // Centre orientations and corner permutation share their parity; a reachable cube.
    tx::FaceletCube c;
    c.readFaceletString(line.substr(0, 54));
    EXPECT_EQ(sum % 2 == 0, c.toCubieCube().cornerParityEven());
}

TEST(CliRandom, BadNumbersAreRefused) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"random", "-n", "ten"},
                                                                  {"random", "-n", "-3"},
                                                                  {"random", "-n", "5x"},
                                                                  {"random", "--seed", "4294967296"},
                                                                  {"random", "--seed", ""},
                                                                  {"random", "extra"},
                                                                  {"random", "--bogus"}}) {
        const CliResult r = cli(args);
        EXPECT_EQ(r.code, 2) << args.back();
        EXPECT_EQ(r.out, "") << args.back();
        EXPECT_NE(r.err, "") << args.back();
    }
}

}  // namespace
