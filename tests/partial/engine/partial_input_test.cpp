// Partially defined cubes as text and the test whether they can be a part of any cube; the
// command line as a process.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/cli_runner.hpp"
#include "partial_support.hpp"
#include "searches/incomp_input.hpp"

namespace tx {
namespace {

constexpr const char* kSolved = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";

// The solved cube with only the facelets in `keep` defined (the centres always are).
std::string solvedWith(std::initializer_list<int> keep) {
    std::string s(54, 'N');
    for (int k = 0; k < 6; ++k) s[9 * k + 4] = kSolved[9 * k + 4];
    for (int f : keep) s[f] = kSolved[f];
    return s;
}

std::optional<std::string> problemOf(const std::string& text) {
    std::string error;
    const auto cube = parsePartialFacelets(text, error);
    if (!cube) return error;
    return partialCubeProblem(*cube);
}

TEST(PartialInput, TheWriterFormReadsBack) {
    FaceletCube cube = testing::generated("R U");
    cube.f[0] = kUndefinedFacelet;
    cube.f[47] = kUndefinedFacelet;
    cube.f[36] = kUndefinedFacelet;  // the ULB corner wholly undefined
    for (int f : kEdgeFacelet[UF]) cube.f[f] = static_cast<std::uint8_t>(cube.f[f] + kMarkOffset);
    cube.f[kEdgeFacelet[DB][0]] = kReferenceMark;
    cube.f[kEdgeFacelet[DB][1]] = kUndefinedFacelet;
    std::string error;
    const auto back = parsePartialFacelets(cube.faceletString(), error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->f, cube.f);
    // "." and blanks read as the writer's "N" and nothing.
    std::string dotted = cube.faceletString();
    std::replace(dotted.begin(), dotted.end(), 'N', '.');
    EXPECT_EQ(parsePartialFacelets(dotted.substr(0, 27) + "  " + dotted.substr(27), error)->f, cube.f);
    EXPECT_EQ(partialCubeProblem(cube), std::nullopt);
    EXPECT_FALSE(parsePartialFacelets(std::string(kSolved).substr(1), error));
    EXPECT_EQ(error, "expected 54 facelets (face letters, N or . for undefined), found 53");
}

TEST(PartialInput, WhatNoCubeCanHaveIsNamed) {
    EXPECT_EQ(problemOf(kSolved), std::nullopt);
    EXPECT_EQ(problemOf(solvedWith({})), std::nullopt);
    // Ten U stickers: the UF edge shows U twice, and U is used ten times.
    std::string ten = kSolved;
    ten[19] = 'U';
    EXPECT_EQ(problemOf(ten), "colour U is used 10 times; a cube has 9 of each");
    std::string twice = solvedWith({7, 19});
    twice[19] = 'U';
    EXPECT_EQ(problemOf(twice), "piece UF has two stickers of one colour");
    std::string opposite = solvedWith({7, 19});
    opposite[19] = 'D';
    EXPECT_EQ(problemOf(opposite), "no piece has the colours of UF");
    // The UF edge's colours also at UR.
    std::string doubled = solvedWith({7, 19, 5, 10});
    doubled[5] = 'U';
    doubled[10] = 'F';
    EXPECT_EQ(problemOf(doubled), "the UF piece occurs twice (at UR and UF)");
    EXPECT_EQ(problemOf(solvedWith({8, 9})), "piece URF is only partly defined: give all its stickers or none");
    std::string mixed = solvedWith({7, 19});
    mixed[7] = 'u';
    EXPECT_EQ(problemOf(mixed), "piece UF mixes marked and plain stickers");
    std::string reference = solvedWith({7, 19});
    reference[7] = '*';
    EXPECT_EQ(problemOf(reference), "piece UF has a reference mark beside other stickers");
    std::string centre = kSolved;
    centre[4] = 'u';
    EXPECT_EQ(problemOf(centre), "the centre facelets must read U R F D L B, in upper case");
}

TEST(PartialInput, TwistFlipAndParityCountOnlyWhereEveryPieceIsKnown) {
    // All corners with one twisted; the same with a corner left open is fine.
    FaceletCube twisted = testing::generated("");
    std::swap(twisted.f[8], twisted.f[9]);
    std::swap(twisted.f[9], twisted.f[20]);
    EXPECT_EQ(partialCubeProblem(twisted), "twist error: no cube has these corner orientations");
    for (int f : kCornerFacelet[DRB]) twisted.f[f] = kUndefinedFacelet;
    EXPECT_EQ(partialCubeProblem(twisted), std::nullopt);
    FaceletCube flipped = testing::generated("");
    std::swap(flipped.f[7], flipped.f[19]);
    EXPECT_EQ(partialCubeProblem(flipped), "flip error: no cube has these edge orientations");
    FaceletCube swapped = testing::generated("");
    for (int j = 0; j < 2; ++j) std::swap(swapped.f[kEdgeFacelet[UF][j]], swapped.f[kEdgeFacelet[UR][j]]);
    EXPECT_EQ(partialCubeProblem(swapped), "parity error: no cube has these piece positions");
    // Centres: one quarter turn of U needs an odd permutation of the pieces.
    FaceletCube centres = testing::keepPieces(testing::generated(""), {{testing::kCorner, URF}});
    centres.centersCount = true;
    EXPECT_EQ(partialCubeProblem(centres), std::nullopt);
    FaceletCube all = testing::generated("");
    all.centersCount = true;
    all.centerOri[U] = 1;
    EXPECT_EQ(partialCubeProblem(all), "parity error: the centre orientations do not fit the pieces");
    EXPECT_EQ(partialCubeProblem(all, ignoredCenterBits(R)), std::nullopt);
}

// ------------------------------------------------------------------ the command line

std::vector<std::string> partialArgs(const std::string& facelets, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"partial", facelets, "--data-dir", testing::testDataFolder()};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(PartialCli, ListsSolvingManeuversDepthByDepth) {
    REQUIRE_INCOMP_TABLES(false);
    const FaceletCube cube = testing::keepCubies(testing::generated("R2 D' F L' U2 B R D2 L F'"),
                                                 {{testing::kEdge, DR}, {testing::kEdge, DF}, {testing::kEdge, DL}});
    const auto r = testing::runCli(partialArgs(cube.faceletString(), {"--limit", "40"}));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "Cannot use any accelerator table.");
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_NE(lines.front().find("f*)"), std::string::npos);
    EXPECT_NE(lines.back().find("f)"), std::string::npos);  // depth by depth: later depths unstarred
    for (const auto& line : lines) EXPECT_TRUE(testing::solvesDefinedFacelets(cube, line)) << line;
    // The same from stdin, with "." for undefined facelets.
    std::string dotted = cube.faceletString();
    std::replace(dotted.begin(), dotted.end(), 'N', '.');
    auto fromStdin = testing::runCli({"partial", "-", "--limit", "40", "--data-dir", testing::testDataFolder()}, dotted + "\n");
    EXPECT_EQ(fromStdin.out, r.out);
}

TEST(PartialCli, OptionsExcludeFacesAllowSlicesAndCountCentres) {
    REQUIRE_INCOMP_TABLES(false);
    const FaceletCube cube = testing::keepCubies(testing::generated("R U F"), {{testing::kEdge, UF}, {testing::kEdge, BR}});
    const auto excluded = testing::runCli(partialArgs(cube.faceletString(), {"--exclude", "F,l", "--max-depth", "5"}));
    ASSERT_EQ(excluded.code, 0) << excluded.err;
    ASSERT_FALSE(excluded.lines().empty());
    for (const auto& line : excluded.lines()) EXPECT_EQ(line.find_first_of("FL"), std::string::npos) << line;
    const auto slice = testing::runCli(partialArgs(cube.faceletString(), {"--slice", "--max-depth", "3"}));
    ASSERT_EQ(slice.code, 0) << slice.err;
    bool middle = false;
    for (const auto& line : slice.lines()) {
        const std::string mark = line.substr(line.rfind(" ("));
        EXPECT_TRUE(mark.ends_with("s)") || mark.ends_with("s*)")) << line;
        middle |= line.find_first_of("EMS") != std::string::npos;
        EXPECT_TRUE(testing::solvesDefinedFacelets(cube, line)) << line;
    }
    EXPECT_TRUE(middle);
    // Only the FR edge, solved: every turn of U, D, L or B keeps it; with the U centre counting,
    // the U turns go.
    const std::string fr = solvedWith({23, 12});
    EXPECT_EQ(testing::runCli(partialArgs(fr, {"--max-depth", "1"})).lines().size(), 12u);
    const auto centres = testing::runCli(partialArgs(fr, {"--max-depth", "1", "--ignore-centres", "R,F,D,L,B"}));
    EXPECT_EQ(centres.lines().size(), 9u);
    for (const auto& line : centres.lines()) EXPECT_NE(line[0], 'U') << line;
}

TEST(PartialCli, RefusesWhatNoCubeCanHaveAndBadOptions) {
    std::string ten = kSolved;
    ten[19] = 'U';
    auto r = testing::runCli(partialArgs(ten));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "tesserix-cli partial: colour U is used 10 times; a cube has 9 of each\n");
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(testing::runCli(partialArgs(solvedWith({8, 9}))).code, 1);
    // The other commands keep refusing cubes with undefined facelets.
    EXPECT_EQ(testing::runCli({"check", solvedWith({7, 19})}).code, 1);
    EXPECT_EQ(testing::runCli({"solve", solvedWith({7, 19}), "--data-dir", testing::testDataFolder()}).code, 1);
    for (const auto& bad : std::vector<std::vector<std::string>>{{"--exclude", "U"},
                                                                   {"--exclude", "F,"},
                                                                   {"--exclude", "F", "--slice"},
                                                                   {"--ignore-centres", "X"},
                                                                   {"--max-depth", "0"},
                                                                   {"--limit", "7x"},
                                                                   {"--frobnicate"}}) {
        r = testing::runCli(partialArgs(solvedWith({7, 19}), bad));
        EXPECT_EQ(r.code, 2) << bad[0];
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

}  // namespace
}  // namespace tx
