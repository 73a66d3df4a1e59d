// Cubes as every command reads them: the probes that once crashed or hung the solver, piece
// lists in pieces and check, the centre parity, the solved cube under --optimal, and
// thousands of random texts through solve.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "cli_runner.hpp"
#include "cube/cube_input.hpp"
#include "cube/notation.hpp"
#include "support/random_cubes.hpp"
#include "support/temp_folder.hpp"

namespace tx {
namespace {

using testing::runCli;
using testing::testTableFolder;

const std::string kSolved = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";
const std::string kNames = "UF UR UB UL DF DR DB DL FR FL BR BL UFR URB UBL ULF DRF DFL DLB DBR";

testing::CliResult solve(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), {"solve", "--data-dir", testTableFolder()});
    return runCli(args, input);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> v;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) v.push_back(l);
    return v;
}

// The maneuver (up to its length mark) takes the cube the text describes to the solved cube.
bool solves(const std::string& cubeText, const std::string& maneuver) {
    FaceletCube c = parseCubeText(cubeText).cube;
    applyManeuver(c, std::string_view(maneuver).substr(0, maneuver.find('(')));
    return c.f == FaceletCube().f;
}

TEST(CliCubeInput, TheProbesThatCrashedAreRefusedWithCheckReasons) {
    const std::vector<std::string> probes = {
        "@BBLURUUFRDRUUBBRRDDLLFBRFLFBDLRDBURDUFLDUFLBLFDF",                       // was SIGSEGV
        "@DBRFUFFBRUBDDBRFRUFUULDLDDUBDFLLLRRFBUUBBDLFRLLR",                       // was SIGILL
        "@UR UF UB UL DF DR DB DL FR FL BR BL UFR URB UBL ULF DRF DFL DLB DBR",    // hung
        "@UF UR UB UL DF DR DB DL FR FL BR BL FRU URB UBL ULF DRF DFL DLB DBR",    // a wrong maneuver
        "@UUUUUUUURRRRRRRRFFFFFFFFDDDDDDDDLLLLLLLLBBBBBBBB",                       // "U U'" for no cube
    };
    std::string input;
    for (const auto& p : probes) input += p + "\n";
    const auto r = solve({"--max-time", "2"}, input);
    EXPECT_EQ(r.code, 1) << r.err;
    const auto check = runCli({"check"}, input);
    EXPECT_EQ(check.code, 1);
    const auto lines = r.lines(), reasons = check.lines();
    ASSERT_EQ(lines.size(), probes.size()) << r.out;
    ASSERT_EQ(reasons.size(), probes.size()) << check.out;
    for (std::size_t i = 0; i < probes.size(); ++i) {
        EXPECT_NE(reasons[i], "ok") << probes[i];
        EXPECT_EQ(lines[i], "error: " + reasons[i]) << probes[i];
    }
    EXPECT_EQ(reasons[2], "parity error (two pieces are exchanged)");
    EXPECT_EQ(reasons[3], "twist error (a corner is twisted)");
}

TEST(CliCubeInput, PiecesRefusesWhatCheckRefuses) {
    const auto good = runCli({"pieces", kNames});
    EXPECT_EQ(good.code, 0);
    EXPECT_EQ(good.out, kSolved + "\n");
    const auto bad = runCli({"pieces", "UR UF UB UL DF DR DB DL FR FL BR BL UFR URB UBL ULF DRF DFL DLB DBR"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.out, "invalid\n");
    EXPECT_NE(bad.err.find("parity error (two pieces are exchanged)"), std::string::npos) << bad.err;
    std::string flipped = kSolved;
    std::swap(flipped[7], flipped[19]);
    const auto badFacelets = runCli({"pieces", flipped});
    EXPECT_EQ(badFacelets.code, 1);
    EXPECT_NE(badFacelets.err.find("flip error"), std::string::npos) << badFacelets.err;
    // A bare piece list is a cube for solve and check as well.
    EXPECT_EQ(runCli({"check", kNames}).out, "ok\n");
    EXPECT_EQ(solve({}, kNames + "\n").out, "U U'  (2f)\n");
}

TEST(CliCubeInput, CentreParityWhenCentresCount) {
    FaceletCube quarter;
    applyManeuver(quarter, "R");
    const std::string odd = quarter.faceletString();
    const auto check = runCli({"check", "--centres", odd, "@R"});
    EXPECT_EQ(check.code, 1);
    EXPECT_EQ(check.out, "centre parity error (a centre is a quarter turn off)\nok\n");
    EXPECT_EQ(runCli({"check", odd}).out, "ok\n");
    // Refused before any table is needed: the centre tables are not in the test folder.
    const auto r = solve({"--centres"}, odd + "\n");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "error: centre parity error (a centre is a quarter turn off)\n");
}

TEST(CliCubeInput, TheSolvedCubeIsOptimalWithNoMove) {
    const auto r = solve({"--optimal"}, kSolved + "\n@\n@R R'\n@R\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, " (0f*)\n (0f*)\n (0f*)\nR'  (1f*)\n");
    // The two-phase search keeps its rule for the solved cube.
    EXPECT_EQ(solve({}, kSolved + "\n").out, "U U'  (2f)\n");
}

// batch and apply --from take cubes too, and refuse them with check's reason.
TEST(CliCubeInput, BatchAndApplyRefuseWithCheckReasons) {
    const std::string twisted = "UF UR UB UL DF DR DB DL FR FL BR BL FRU URB UBL ULF DRF DFL DLB DBR";
    testing::TempFolder folder("cube-input");
    const auto in = folder / "in.txt";
    {
        std::ofstream out(in);
        out << twisted << "   //twisted\nR U\n";
    }
    const auto r = runCli({"batch", in.string(), "-o", (folder / "out.txt").string(), "--data-dir", testTableFolder()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cube 1 cannot be solved: twist error (a corner is twisted)"), std::string::npos) << r.err;
    const auto apply = runCli({"apply", "--from", twisted, "R"});
    EXPECT_EQ(apply.code, 1);
    EXPECT_EQ(apply.out, "");
    EXPECT_NE(apply.err.find("--from: twist error (a corner is twisted)"), std::string::npos) << apply.err;
}

// Thousands of texts, most of them no cube: solve never crashes or hangs, refuses exactly
// what check refuses with check's reason, and solves every cube it accepts.
TEST(CliCubeInput, RandomTextsThroughSolve) {
    std::mt19937 rng(1224);
    const std::string letters = "URFDLB";
    std::string input;
    for (int i = 0; i < 3000; ++i) {
        const FaceletCube real = testing::faceletCubeOf(testing::randomCubie(rng));
        std::string text;
        switch (i % 5) {
            case 0: text = real.faceletString(); break;
            case 1: text = real.pieceList(); break;
            case 2: text = "@" + real.pieceList(); break;
            case 3: {  // 48 random letters, eight of each: read as a piece list behind "@"
                text = std::string(8, 'U') + std::string(8, 'R') + std::string(8, 'F') + std::string(8, 'D') +
                       std::string(8, 'L') + std::string(8, 'B');
                std::shuffle(text.begin(), text.end(), rng);
                text = "@" + text;
                break;
            }
            default:
                for (int k = 0; k < (rng() % 2 ? 48 : 54); ++k) text += letters[rng() % 6];
                if (text.size() == 54)
                    for (int f = 0; f < 6; ++f) text[9 * f + 4] = letters[f];
        }
        // Some real cubes get two of their letters exchanged.
        if (i % 5 < 3 && rng() % 2) {
            const std::size_t a = text.find_first_of(letters, rng() % text.size());
            const std::size_t b = text.find_first_of(letters, rng() % text.size());
            if (a != std::string::npos && b != std::string::npos) std::swap(text[a], text[b]);
        }
        input += text + "\n";
    }
    const auto r = solve({"--target", "30", "--max-time", "20"}, input);
    ASSERT_TRUE(r.code == 0 || r.code == 1) << "exit " << r.code << "\n" << r.err.substr(0, 2000);
    const auto check = runCli({"check"}, input);
    const auto texts = linesOf(input), lines = r.lines(), reasons = check.lines();
    ASSERT_EQ(lines.size(), texts.size());
    ASSERT_EQ(reasons.size(), texts.size());
    int solved = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (reasons[i] != "ok") {
            ASSERT_EQ(lines[i], "error: " + reasons[i]) << texts[i];
            continue;
        }
        ASSERT_TRUE(solves(texts[i], lines[i])) << texts[i] << " -> " << lines[i];
        ++solved;
    }
    EXPECT_GT(solved, 900);
}

}  // namespace
}  // namespace tx
