// One option, two spellings ("centres"/"centers"), and no giant table built without a terminal
// to ask (or --yes), run as processes with stdin and stderr redirected to files.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_runner.hpp"

namespace {

using tx::testing::CliResult;
using tx::testing::runCli;
using tx::testing::testTableFolder;

const std::string kSuperflip = "UBULURUFURURFRBRDRFUFLFRFDFDFDLDRDBDLULBLFLDLBUBRBLBDB";

TEST(CliSpelling, CentresAndCentersNameTheSameOption) {
    for (const auto& [british, american] : std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>>{
             {{"random", "-n", "3", "--seed", "7", "--centres"}, {"random", "-n", "3", "--seed", "7", "--centers"}},
             {{"apply", "--centres", "R U x"}, {"apply", "--centers", "R U x"}},
         }) {
        const CliResult a = runCli(british), b = runCli(american);
        EXPECT_EQ(a.code, 0) << a.err;
        EXPECT_EQ(b.code, 0) << b.err;
        EXPECT_FALSE(a.out.empty());
        EXPECT_EQ(a.out, b.out) << british.front();
    }
    // Without the option the lines are shorter: the centre orientations are what it adds.
    const CliResult plain = runCli({"random", "-n", "3", "--seed", "7"});
    EXPECT_LT(plain.out.size(), runCli({"random", "-n", "3", "--seed", "7", "--centers"}).out.size());
}

// Refused without a terminal: exit code 2, nothing on stdout, a last line naming --yes, no file.
void expectRefusal(const std::vector<std::string>& args, const std::string& size, const std::string& file) {
    const CliResult r = runCli(args, kSuperflip + "\n");
    EXPECT_EQ(r.code, 2) << args[0] << ": " << r.err;
    EXPECT_EQ(r.out, "") << args[0];
    const std::size_t lastLine = r.err.rfind('\n', r.err.size() - 2) + 1;
    const std::string last = r.err.substr(lastLine == std::string::npos ? 0 : lastLine);
    EXPECT_NE(last.find("--yes"), std::string::npos) << r.err;
    EXPECT_NE(last.find(size + " MB"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(testTableFolder()) / file)) << file;
}

TEST(CliGiantTables, AreRefusedWithoutATerminalInEitherSpelling) {
    const std::string data = testTableFolder();
    if (std::filesystem::exists(std::filesystem::path(data) / "phase1CntPF.prun"))
        GTEST_SKIP() << "the test tables already hold the centre table";
    expectRefusal({"tables", "--centres", "--data-dir", data}, "430", "phase1CntPF.prun");
    expectRefusal({"tables", "--centers", "--data-dir", data}, "430", "phase1CntPF.prun");
    expectRefusal({"solve", "--optimal", "--centers", "--data-dir", data}, "430", "phase1CntPF.prun");
    expectRefusal({"solve", "--optimal", "--centres", "--data-dir", data}, "430", "phase1CntPF.prun");
    expectRefusal({"solve", "--optimal", "--huge", "--data-dir", data}, "1881", "ubigPF.prun");
}

}  // namespace
