// tesserix-cli's command list and the --help of the commands, run as processes.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.hpp"

namespace {

using tx::testing::CliResult;
using tx::testing::runCli;

// Command name -> summary, from the "  NAME  SUMMARY" lines of the command list.
std::map<std::string, std::string> listedCommands(const std::string& text) {
    std::map<std::string, std::string> listed;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("  ", 0) != 0) continue;
        std::istringstream words(line);
        std::string name, summary;
        words >> name;
        std::getline(words >> std::ws, summary);
        listed[name] = summary;
    }
    return listed;
}

TEST(CliHelp, ListsEveryCommandWithASummary) {
    const CliResult r = runCli({"--help"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto listed = listedCommands(r.out);
    for (const char* name : {"apply", "batch", "bench", "check", "cubie", "inverse", "pattern", "pieces", "random",
                             "solve", "symmetry", "tables", "version"}) {
        ASSERT_TRUE(listed.count(name)) << name << " missing from\n" << r.out;
        EXPECT_FALSE(listed.at(name).empty()) << name;
    }
    // apply took over the turns, starting cubes and colour scheme that "turn" offered.
    EXPECT_EQ(listed.count("turn"), 0u);
    EXPECT_EQ(runCli({"help"}).out, r.out);
}

TEST(CliHelp, MissingOrUnknownCommandListsTheCommandsAsAnError) {
    const CliResult none = runCli({});
    EXPECT_EQ(none.code, 2);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(listedCommands(none.err), listedCommands(runCli({"--help"}).out));
    const CliResult unknown = runCli({"turn", "R"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find("unknown command 'turn'"), std::string::npos) << unknown.err;
}

// Each command describes itself, wherever --help stands, and does nothing else.
TEST(CliHelp, CommandsDescribeThemselves) {
    for (const std::string name : {"apply", "batch", "bench", "check", "cubie", "inverse", "pattern", "pieces",
                                   "random", "solve", "symmetry", "tables", "version"}) {
        for (const auto& args : std::vector<std::vector<std::string>>{{name, "--help"}, {name, "-", "--help"}}) {
            const CliResult r = runCli(args, "R U\n");
            EXPECT_EQ(r.code, 0) << name << ": " << r.err;
            EXPECT_EQ(r.out.rfind("usage: tesserix-cli " + name, 0), 0u) << name << ":\n" << r.out;
            EXPECT_EQ(r.out.find("invalid"), std::string::npos) << name;
        }
    }
}

}  // namespace
