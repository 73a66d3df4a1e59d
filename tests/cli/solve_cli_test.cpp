// tesserix-cli solve and tables, run as processes on the shared test tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "cli_runner.hpp"
#include "cube/facelet_cube.hpp"
#include "cube/notation.hpp"

namespace tx {
namespace {

using testing::runCli;
using testing::testTableFolder;

const std::string kSolved = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";

testing::CliResult solve(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), {"solve", "--data-dir", testTableFolder()});
    return runCli(args, input);
}

// The maneuver solves the cube given by its facelet string.
bool solves(const std::string& facelets, const std::string& maneuver) {
    FaceletCube c;
    c.readFaceletString(facelets);
    applyManeuver(c, maneuver);
    return c.f == FaceletCube().f;
}

std::string randomCubes(int n, int seed) {
    return runCli({"random", "-n", std::to_string(n), "--seed", std::to_string(seed)}).out;
}

TEST(CliSolve, TwoPhaseSolvesEveryLineInOrder) {
    const std::string cubes = randomCubes(12, 5);
    const auto r = solve({"--jobs", "3"}, cubes);
    ASSERT_EQ(r.code, 0) << r.err;
    std::istringstream in(cubes);
    std::vector<std::string> inputs;
    for (std::string l; std::getline(in, l);) inputs.push_back(l);
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), inputs.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(solves(inputs[i], lines[i])) << lines[i];
        const int length = countFaceTurns(lines[i]);
        EXPECT_LE(length, 20);
        EXPECT_NE(lines[i].find(" (" + std::to_string(length) + "f)"), std::string::npos) << lines[i];
    }
}

TEST(CliSolve, BadLinesReportTheirReasonAndTheRunGoesOn) {
    std::string twisted = kSolved;
    std::swap(twisted[8], twisted[9]);
    std::swap(twisted[8], twisted[20]);
    const std::string input = "@R U F\n" + std::string("UUU\n") + twisted + "\n" + kSolved + "\n";
    const auto r = solve({"--engine", "specified"}, input);
    EXPECT_EQ(r.code, 1);
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "F' U' R'  (3f)");
    EXPECT_EQ(lines[1], "error: fewer than 54 facelet letters (3)");
    EXPECT_EQ(lines[2].rfind("error: twist error", 0), 0u);
    EXPECT_EQ(lines[3], "U U'  (2f)");
}

TEST(CliSolve, FastEngineIsTheDefaultAndRefusesTheSameLines) {
    std::string twisted = kSolved;
    std::swap(twisted[8], twisted[9]);
    std::swap(twisted[8], twisted[20]);
    const std::string scrambled = randomCubes(1, 23);
    const std::string input = "@R U F\nUUU\n" + twisted + "\n" + kSolved + "\n" + scrambled;
    const auto r = solve({"--times"}, input);
    EXPECT_EQ(r.code, 1);
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 5u);
    FaceletCube c;
    applyManeuver(c, "R U F");
    applyManeuver(c, lines[0]);
    EXPECT_EQ(c.f, FaceletCube().f) << lines[0];
    EXPECT_LE(countFaceTurns(lines[0]), 20);
    EXPECT_EQ(lines[1], "error: fewer than 54 facelet letters (3)");
    EXPECT_EQ(lines[2].rfind("error: twist error", 0), 0u);
    EXPECT_EQ(lines[3], "U U'  (2f)") << "the two-phase rule for the solved cube";
    EXPECT_TRUE(solves(scrambled.substr(0, 54), lines[4])) << lines[4];
    EXPECT_NE(r.err.find("cubes 3, median "), std::string::npos) << r.err;
    // A lower target is reached by asking again for shorter maneuvers.
    const auto shorter = solve({"--target", "19"}, scrambled);
    ASSERT_EQ(shorter.code, 0) << shorter.err;
    EXPECT_LE(countFaceTurns(shorter.lines().at(0)), 19);
    EXPECT_TRUE(solves(scrambled.substr(0, 54), shorter.lines()[0]));
    EXPECT_EQ(solve({"--engine", "quick"}, kSolved).code, 2);
}

TEST(CliSolve, OptimalIsStarredAndLogged) {
    const auto r = solve({"--optimal", "--log", "--times"}, "@R U2 F' L D2 B R' U F2 D'\n@R\n");
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "R'  (1f*)");
    EXPECT_EQ(lines[0].substr(lines[0].size() - 2), "*)");
    const int length = countFaceTurns(lines[0]);
    EXPECT_LE(length, 10);
    FaceletCube c;
    applyManeuver(c, "R U2 F' L D2 B R' U F2 D'");
    applyManeuver(c, lines[0]);
    EXPECT_EQ(c.f, FaceletCube().f);
    if (length >= 9) {
        EXPECT_NE(r.err.find("cube 1: Pruning Table Start Values: "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("cube 1: depth 08: "), std::string::npos) << r.err;
    }
    EXPECT_NE(r.err.find("line 2: "), std::string::npos);
    EXPECT_NE(r.err.find("cubes 2, median "), std::string::npos);
}

// The log lines' node counts: "cube N: depth DD: S s  nodes: X" without the seconds.
std::vector<std::string> loggedNodes(const std::string& err) {
    std::vector<std::string> out;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);) {
        const auto depth = line.find(": depth "), nodes = line.find("nodes: ");
        if (depth != std::string::npos && nodes != std::string::npos)
            out.push_back(line.substr(0, depth + 11) + line.substr(nodes));
    }
    std::sort(out.begin(), out.end());  // the searches of several cubes run at once
    return out;
}

TEST(CliSolve, OptimalOnThreadsGivesTheOneThreadManeuversAndCounts) {
    std::mt19937 rng(241);
    const char* const faces = "URFDLB";
    std::string cubes;
    for (int i = 0; i < 6; ++i) {
        cubes += "@";
        for (int m = 0, prev = -1; m < 11 + i % 2; ++m) {
            int face;
            do face = static_cast<int>(rng() % 6); while (face == prev);
            prev = face;
            cubes += std::string(m ? " " : "") + faces[face] + (rng() % 3 == 0 ? "2" : rng() % 2 ? "'" : "");
        }
        cubes += "\n";
    }
    const auto one = solve({"--optimal", "--log", "--threads", "1"}, cubes);
    const auto three = solve({"--optimal", "--log", "--threads", "3", "--jobs", "2"}, cubes);
    ASSERT_EQ(one.code, 0) << one.err;
    ASSERT_EQ(three.code, 0) << three.err;
    EXPECT_EQ(three.out, one.out);
    const auto nodes = loggedNodes(one.err);
    EXPECT_GE(nodes.size(), 6u);  // the depths from the ninth on are logged
    EXPECT_EQ(loggedNodes(three.err), nodes);
    EXPECT_EQ(solve({"--threads", "2"}, kSolved).code, 2);  // two-phase solving takes no threads
}

TEST(CliSolve, TripleSearchAndTargets) {
    const std::string cubes = randomCubes(4, 9);
    const auto r = solve({"--triple", "--target", "21"}, cubes);
    ASSERT_EQ(r.code, 0) << r.err;
    for (const auto& l : r.lines()) EXPECT_LE(countFaceTurns(l), 21) << l;
    EXPECT_EQ(solve({"--target", "x"}, cubes).code, 2);
    EXPECT_EQ(solve({"--frobnicate"}, cubes).code, 2);
}

TEST(CliSolve, MaxTimeGivesTheBestSoFar) {
    // Target 18 is out of reach in the time given; maneuvers of up to 20 moves are reported on the way.
    const std::string cube = randomCubes(1, 11);
    const auto r = solve({"--target", "18", "--max-time", "3"}, cube);  // room for a busy machine
    ASSERT_EQ(r.code, 0) << r.err;
    ASSERT_EQ(r.lines().size(), 1u);
    EXPECT_TRUE(solves(cube, r.lines()[0])) << r.lines()[0];
    EXPECT_LE(countFaceTurns(r.lines()[0]), 20);
}

TEST(CliTables, ListsTheLoadedFiles) {
    const auto r = runCli({"tables", "--data-dir", testTableFolder()});
    ASSERT_EQ(r.code, 0) << r.err;
    for (const char* name : {"RawFlipSlice", "flipUDslicex.move", "phase1PF.prun", "phase2P.prun", "fullCornerF.prun"}) {
        bool found = false;
        for (const auto& l : r.lines())
            if (l.rfind(name, 0) == 0 && l.find("loaded") != std::string::npos) found = true;
        EXPECT_TRUE(found) << name << "\n" << r.out;
    }
    EXPECT_EQ(runCli({"tables", "--bogus"}).code, 2);
}

}  // namespace
}  // namespace tx
