// The symmetry, pattern and "bench symmetry" commands, run as processes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_runner.hpp"
#include "support/temp_folder.hpp"

namespace {

using tx::testing::CliResult;
using tx::testing::runCli;

const std::string kSolved = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";
const std::string kPonsAsinorum = "UDUDUDUDURLRLRLRLRFBFBFBFBFDUDUDUDUDLRLRLRLRLBFBFBFBFB";

std::filesystem::path examples() {
    return std::filesystem::path(TESSERIX_SOURCE_DIR) / "examples";
}

// Bad input: exit code 2, nothing on stdout, one line on stderr.
void expectRefused(const std::vector<std::string>& args, const std::string& inError) {
    const CliResult r = runCli(args);
    EXPECT_EQ(r.code, 2) << args[1];
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find(inError), std::string::npos) << r.err;
}

TEST(SymmetryCli, ListsTheCubesOfAGroupInOrder) {
    const CliResult r = runCli({"symmetry", "--group", "Oh"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.lines(), (std::vector<std::string>{kSolved, kPonsAsinorum}));
    EXPECT_NE(r.err.find("2 found"), std::string::npos) << r.err;
    // All four cubes with full symmetry once higher symmetry and every colour count are allowed.
    const CliResult all = runCli({"symmetry", "--group", "0", "--colours", "1,2,3,4,5,6", "--count"});
    EXPECT_EQ(all.out, "4\n");
}

TEST(SymmetryCli, OptionsFollowTheTab) {
    auto count = [](std::vector<std::string> args) {
        args.insert(args.begin(), "symmetry");
        args.push_back("--count");
        const CliResult r = runCli(args);
        EXPECT_EQ(r.code, 0) << r.err;
        return std::stol(r.out);
    };
    EXPECT_EQ(count({"--group", "C2v (a1)", "--higher", "--isomorphs", "--colours", "123456"}), 65536);
    EXPECT_GT(count({"--group", "C4", "--higher"}), count({"--group", "C4"}));
    EXPECT_GT(count({"--group", "C4", "--isomorphs"}), count({"--group", "C4"}));
    EXPECT_LT(count({"--group", "17", "--colours", "123", "--continuous"}), count({"--group", "17", "--colours", "123"}));
    EXPECT_EQ(count({"--group", "12", "--higher", "--colours", "123456", "--self-inverse"}) +
                  count({"--group", "12", "--higher", "--colours", "123456", "--not-self-inverse"}),
              count({"--group", "12", "--higher", "--colours", "123456"}));
    EXPECT_GT(count({"--group", "D4h", "--antisymmetry", "C4h", "--higher", "--colours", "123456"}), 0);
    EXPECT_GT(count({"--group", "C2v (a2)", "--antisymmetry", "Cs (a)", "--colours", "123"}), 0);  // row 33
    EXPECT_GT(count({"--group", "13", "--pieces", "edges-only", "--higher", "--colours", "123456"}), 0);
    EXPECT_GT(count({"--group", "13", "--pieces", "edges", "--higher", "--colours", "123456"}), 0);
}

TEST(SymmetryCli, BadInputIsRefusedBeforeAnySearch) {
    expectRefused({"symmetry"}, "--group G is required");
    expectRefused({"symmetry", "--group"}, "--group needs a value");
    expectRefused({"symmetry", "--group", "Q7"}, "unknown group 'Q7'");
    expectRefused({"symmetry", "--group", "35"}, "unknown group '35'");
    // Row numbers are read as every number of the command line: whole, in range, nothing else.
    for (const char* bad : {"-1", "+3", "1e1", "17abc", "3 4", "0x11"})
        expectRefused({"symmetry", "--group", bad}, "unknown group '" + std::string(bad) + "'");
    expectRefused({"symmetry", "--group", "D4h", "--antisymmetry", "35"}, "unknown group '35'");
    expectRefused({"symmetry", "--group", "D4h", "--antisymmetry", "C3"}, "not a subgroup of index 2 of D4h");
    expectRefused({"symmetry", "--group", "Oh", "--antisymmetry", "T"}, "not a subgroup of index 2");
    expectRefused({"symmetry", "--group", "0", "--colours", "17"}, "--colours takes the digits 1 to 6");
    expectRefused({"symmetry", "--group", "0", "--pieces", "centres"}, "unknown --pieces mode 'centres'");
    expectRefused({"symmetry", "--group", "0", "--self-inverse", "--not-self-inverse"}, "exclude each other");
    expectRefused({"symmetry", "--group", "0", "--continuous", "--pieces", "edges"}, "--continuous needs");
    expectRefused({"symmetry", "--group", "0", "--fast"}, "unknown option --fast");
}

TEST(PatternCli, ListsTheCubesOfThePatternFile) {
    const CliResult r = runCli({"pattern", (examples() / "checkerboard.pat").string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = r.lines();
    ASSERT_GT(lines.size(), 1u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), kPonsAsinorum), lines.end());
    EXPECT_NE(r.err.find(std::to_string(lines.size()) + " found"), std::string::npos) << r.err;
    const CliResult counted = runCli({"pattern", (examples() / "checkerboard.pat").string(), "--count"});
    EXPECT_EQ(counted.out, std::to_string(lines.size()) + "\n");
    const CliResult continuous = runCli({"pattern", "--continuous", (examples() / "spots.pat").string()});
    EXPECT_EQ(continuous.code, 0);
}

TEST(PatternCli, MalformedOrMissingFilesAreRefused) {
    const tx::testing::TempFolder folder("pattern-cli");
    const auto file = folder / "bad.pat";
    tx::testing::writeFile(file, "row 1 faces U\n1 1 1\n1 9 1\n1 1 1\n");
    expectRefused({"pattern", file.string()}, "line 3: palette values are 1 to 6, found '9'");
    expectRefused({"pattern", (folder / "no-such.pat").string()}, "cannot read the file");
    expectRefused({"pattern", folder.path().string()}, "cannot read the file");
    expectRefused({"pattern"}, "expected one pattern file");
    const CliResult help = runCli({"pattern", "--help"});
    EXPECT_NE(help.out.find("row 1 faces U R F D L B"), std::string::npos);
}

TEST(BenchCli, SymmetryPrintsCountAndTimePerGroup) {
    const CliResult r = runCli({"bench", "symmetry", "--rows", "3-5"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 4u) << r.out;
    EXPECT_NE(lines[0].find("D3d"), std::string::npos);
    EXPECT_NE(lines[0].find("16 cubes (list: 16)"), std::string::npos);
    EXPECT_NE(lines[2].find("48 cubes (list: 48)"), std::string::npos);
    EXPECT_NE(lines[3].find("rows 3-5: 88 cubes"), std::string::npos);
    EXPECT_EQ(runCli({"bench", "symmetry", "--rows", "9-3"}).code, 2);
}

}  // namespace
