// What the commands write: a failed write of standard output is an error (exit code 2,
// "write error" on stderr), never a success with the results lost; "inverse" writes only what
// a maneuver text may hold.
#include <gtest/gtest.h>

#include <cstdlib>

#include "cli_runner.hpp"

namespace tx {
namespace {

using testing::runCli;
using testing::shellQuote;

const std::string kSolved = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";

struct Outcome {
    int code = -1;
    std::string err;
};

// Runs tesserix-cli with standard output going to `target` (a device such as /dev/full).
Outcome runInto(const std::vector<std::string>& args, const std::string& target) {
    static const testing::TempFolder scratch("cli-output");
    std::string cmd = shellQuote(TESSERIX_CLI);
    for (const auto& a : args) cmd += ' ' + shellQuote(a);
    const auto err = scratch.path() / "err";
    cmd += " </dev/null >" + shellQuote(target) + " 2>" + shellQuote(err.string());
    const int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testing::readFile(err)};
}

TEST(CliOutput, AFullDiskIsAWriteErrorForEveryCommand) {
    const std::string data = testing::testTableFolder();
    const std::vector<std::vector<std::string>> commands = {
        {"random", "-n", "5"},
        {"random", "-n", "100000"},  // far more than one buffer: it stops at the first failure
        {"solve", "--data-dir", data, "@R U F"},
        {"solve", "--optimal", "--data-dir", data, "@R U"},
        {"apply", "R U F"},
        {"inverse", "R U F"},
        {"check", kSolved},
        {"pieces", kSolved},
        {"cubie", kSolved},
        {"tables", "--data-dir", data},
        {"bench", "optimal", "--count", "1", "--data-dir", data},
        {"version"},
        {"--help"},
        {"solve", "--help"},
    };
    for (const auto& args : commands) {
        const Outcome r = runInto(args, "/dev/full");
        EXPECT_EQ(r.code, 2) << args.front() << " " << args.back();
        EXPECT_NE(r.err.find("write error"), std::string::npos) << args.front() << ": " << r.err;
    }
    // The same commands into /dev/null succeed: only a failed write is an error.
    EXPECT_EQ(runInto({"random", "-n", "5"}, "/dev/null").code, 0);
    EXPECT_EQ(runInto({"solve", "--data-dir", data, "@R U F"}, "/dev/null").code, 0);
}

TEST(CliOutput, AnInvalidCubeAndAWriteErrorGiveTheWriteError) {
    const Outcome r = runInto({"check", "UUU"}, "/dev/full");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("write error"), std::string::npos) << r.err;
}

TEST(CliOutput, InverseWritesOnlyWhatAManeuverTextHolds) {
    // Control characters and raw bytes inside the mark: the mark is no mark and is dropped.
    auto r = runCli({"inverse", "R U (3\x01\xff\x1b[31mf)"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "U' R' \n");
    r = runCli({"inverse", "-"}, "R2 Us' Fa2 x (12f*)\nF (19f)\nB (7\x7f" "f)\nL (20g)\nD (3f\n");
    EXPECT_EQ(r.lines(), (std::vector<std::string>{"x' Fa2 Us R2  (12f*)", "F'  (19f)", "B' ", "L' ", "D' "}));
    // A status text stays a status text, without its control characters.
    r = runCli({"inverse", "--optimal", "Status: Not\a running\x1b"});
    EXPECT_EQ(r.out, "Status: Not running\n");
    for (unsigned char ch : runCli({"inverse", "-"}, std::string("R (\x80\x9b\xfe") + "2f)\n").out)
        EXPECT_TRUE(ch == '\n' || (ch >= ' ' && ch <= '~')) << int(ch);
}

}  // namespace
}  // namespace tx
