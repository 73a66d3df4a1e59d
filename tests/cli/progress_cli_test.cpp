// Progress on stderr: a bar on a terminal (run under script(1), which gives the program one),
// nothing that redraws without one, nothing at all with --quiet; never on stdout.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_runner.hpp"

namespace {

using tx::testing::CliResult;
using tx::testing::runCli;
using tx::testing::runShell;
using tx::testing::shellQuote;
using tx::testing::testTableFolder;

TEST(CliProgress, QuietLeavesStderrEmptyAndStdoutAlone) {
    const std::string data = testTableFolder();
    for (const char* quiet : {"--quiet", "-q"}) {
        const CliResult loud = runCli({"tables", "--data-dir", data});
        const CliResult tables = runCli({"tables", quiet, "--data-dir", data});
        EXPECT_EQ(tables.code, 0) << tables.err;
        EXPECT_EQ(tables.err, "");
        EXPECT_EQ(tables.lines().size(), loud.lines().size());
        const CliResult solve = runCli({"solve", "--data-dir", data, quiet, "--target", "2"}, "@R U\n@F\n");
        EXPECT_EQ(solve.code, 0);
        EXPECT_EQ(solve.err, "");
        EXPECT_EQ(solve.out, "U' R'  (2f)\nF'  (1f)\n");
    }
    // Without a terminal nothing is redrawn in place.
    EXPECT_EQ(runCli({"tables", "--data-dir", data}).err.find('\r'), std::string::npos);
}

// "script -qec COMMAND /dev/null": COMMAND on a pseudo-terminal; its output (both streams) and
// exit code come back.
std::pair<int, std::string> onTerminal(const std::string& command, const std::string& typed = "") {
    return runShell("printf " + shellQuote(typed) + " | script -qec " + shellQuote(command) + " /dev/null 2>&1");
}

TEST(CliProgress, ATerminalGetsABarAndTheQuestion) {
    if (runShell("command -v script").first != 0) GTEST_SKIP() << "script(1) is not installed";
    const std::string cli = shellQuote(TESSERIX_CLI), data = shellQuote(testTableFolder());
    const auto [code, shown] = onTerminal(cli + " tables --data-dir " + data);
    EXPECT_EQ(code, 0) << shown;
    EXPECT_NE(shown.find("\rLoading..."), std::string::npos) << shown;
    EXPECT_NE(shown.find("%"), std::string::npos) << shown;
    EXPECT_NE(shown.find("phase1PF.prun"), std::string::npos) << shown;
    const auto [quietCode, quiet] = onTerminal(cli + " tables --quiet --data-dir " + data);
    EXPECT_EQ(quietCode, 0);
    EXPECT_EQ(quiet.find('%'), std::string::npos) << quiet;

    // With a terminal the giant table is asked for, as the desktop program asks; "n" declines.
    if (std::filesystem::exists(std::filesystem::path(testTableFolder()) / "phase1CntPF.prun")) return;
    const auto [declined, asked] = onTerminal(cli + " tables --centers --data-dir " + data, "n\n");
    EXPECT_EQ(declined, 2) << asked;
    EXPECT_NE(asked.find("430 MB file in your Tesserix folder. This will take up to 4 hours. Proceed? [y/N]"),
              std::string::npos)
        << asked;
    EXPECT_EQ(asked.find("--yes builds it"), std::string::npos) << asked;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(testTableFolder()) / "phase1CntPF.prun"));
}

}  // namespace
