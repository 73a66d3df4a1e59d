// tesserix-cli coset, run as a process with the phase-1 table as its bound: the lines of a
// run, the refusals, and Ctrl+C.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "cli_runner.hpp"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using tx::testing::runCli;
using tx::testing::testTableFolder;

const std::regex kStartLine(R"(Search started for Coset \d+  \d{4}-\d\d-\d\d \d\d:\d\d:\d\d \((1 symmetry|\d+ symmetries)\))");

TEST(CliCoset, PrintsTheStartLineTheDepthsAndTheCubesLeft) {
    const auto r = runCli({"coset", "@R", "--depth", "4", "--phase1-bound", "--threads", "2", "--data-dir",
                           testTableFolder()});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 6u) << r.out;
    EXPECT_TRUE(std::regex_match(lines[0], kStartLine)) << lines[0];
    EXPECT_NE(lines[0].find("(2 symmetries)"), std::string::npos);
    // From R: R' reaches H' in one move; the others as a breadth-first search finds them.
    EXPECT_EQ(lines[1], " 1f:          1");
    EXPECT_EQ(lines[2], " 2f:          6");
    EXPECT_EQ(lines[3], " 3f:         11");
    EXPECT_EQ(lines[4], " 4f:         27");
    EXPECT_EQ(lines[5], "278691795 Cubes with at least 5 moves left.");
}

TEST(CliCoset, RefusesWhatItCannotDo) {
    tx::testing::TempFolder dir("cli-coset");
    // Far too many cubes left for --left: nothing is written.
    const auto many = runCli({"coset", "@R", "--depth", "2", "--phase1-bound", "--left", (dir / "left.txt").string(),
                              "--data-dir", testTableFolder()});
    EXPECT_EQ(many.code, 2);
    EXPECT_NE(many.err.find("--left writes at most 10000000"), std::string::npos) << many.err;
    EXPECT_FALSE(fs::exists(dir / "left.txt"));

    // Without a terminal and without --yes the huge table is not built.
    const auto huge = runCli({"coset", "@R", "--data-dir", testTableFolder()});
    EXPECT_EQ(huge.code, 2);
    EXPECT_NE(huge.err.find("tesserix-cli tables --huge"), std::string::npos) << huge.err;
    EXPECT_FALSE(fs::exists(fs::path(testTableFolder()) / "ubigPF.prun"));
    const auto bench = runCli({"bench", "coset", "--depth", "1", "--data-dir", testTableFolder()});
    EXPECT_EQ(bench.code, 2);
    EXPECT_NE(bench.err.find("tesserix-cli bench coset: the huge table"), std::string::npos) << bench.err;
    EXPECT_FALSE(fs::exists(fs::path(testTableFolder()) / "ubigPF.prun"));

    for (const char* bad : {"xyz", "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBU"}) {
        const auto r = runCli({"coset", bad, "--phase1-bound", "--data-dir", testTableFolder()});
        EXPECT_EQ(r.code, 1) << bad;
        EXPECT_TRUE(r.out.empty()) << bad;
        EXPECT_NE(r.err.find("tesserix-cli coset: "), std::string::npos) << r.err;
    }
    EXPECT_EQ(runCli({"coset", "@R", "--depth", "20", "--phase1-bound"}).code, 2);
}

// Ctrl+C: the stop report of the window, exit code 130.
TEST(CliCoset, InterruptPrintsTheStopReport) {
    tx::testing::TempFolder dir("cli-coset-int");
    const std::string out = (dir / "out").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const std::string data = testTableFolder();
    std::vector<const char*> argv{TESSERIX_CLI, "coset",      "@F U2 R'", "--phase1-bound", "--threads", "1",
                                  "--depth",    "19",         "--data-dir", data.c_str(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, TESSERIX_CLI, &actions, nullptr, const_cast<char* const*>(argv.data()), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    // Interrupted once a few depths are done.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (tx::testing::readFile(out).find(" 6f:") == std::string::npos && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(kill(pid, SIGINT), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);

    const std::string text = tx::testing::readFile(out);
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(\nSearch stopped \d{4}-\d\d-\d\d \d\d:\d\d:\d\d\n\n)"))) << text;
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(\n 6f: +\d+ +\d+\.\d\d\n)"))) << text;
    EXPECT_TRUE(std::regex_search(text, std::regex("\n ?\\d+f: +\\d+ \\(\xC3\xADncomplete\\)\n"))) << text;
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(\n\n\d+ Cubes left\.\nJust searching [URFDLB][123] \.\.\.\n)"
                                                   R"(\d+\.\d{4} hours running\.\n\n$)")))
        << text;
}

}  // namespace
