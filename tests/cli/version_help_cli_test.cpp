// --version and -h/--help of both executables and of every command, run as processes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "cli_runner.hpp"

namespace {

using tx::testing::CliResult;
using tx::testing::runCli;
using tx::testing::runShell;
using tx::testing::shellQuote;

// The names of the commands in "tesserix-cli --help".
std::vector<std::string> commandNames() {
    std::vector<std::string> names;
    std::istringstream in(runCli({"--help"}).out);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("  ", 0) == 0) names.push_back(line.substr(2, line.find(' ', 2) - 2));
    return names;
}

// The version in the project's CMakeLists.txt ("project(Tesserix VERSION 5.0 ...").
std::string projectVersion() {
    std::ifstream in(std::string(TESSERIX_SOURCE_DIR) + "/CMakeLists.txt");
    std::stringstream text;
    text << in.rdbuf();
    std::smatch m;
    const std::string s = text.str();
    return std::regex_search(s, m, std::regex(R"(project\(Tesserix VERSION ([0-9.]+))")) ? m[1].str() : "";
}

TEST(CliVersion, ComesFromTheProjectVersionAndTheCommit) {
    const CliResult r = runCli({"--version"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string version = projectVersion();
    ASSERT_FALSE(version.empty());
    EXPECT_EQ(r.out.rfind("tesserix-cli " + version, 0), 0u) << r.out;
    EXPECT_TRUE(std::regex_match(r.out, std::regex(R"(tesserix-cli [0-9.]+( \(commit [0-9a-f]{10}(-modified)?\))?\n)")))
        << r.out;
    const auto [gitCode, head] =
        runShell("git -C " + shellQuote(TESSERIX_SOURCE_DIR) + " rev-parse --short=10 HEAD 2>/dev/null");
    if (gitCode == 0 && head.size() > 1) {
        EXPECT_NE(r.out.find("(commit " + head.substr(0, head.size() - 1)), std::string::npos) << r.out << head;
    }
    EXPECT_EQ(runCli({"version"}).out, r.out);
}

TEST(CliVersion, EveryCommandAnswersVersionAndBothHelpSpellings) {
    const std::string version = runCli({"--version"}).out;
    const auto names = commandNames();
    ASSERT_GE(names.size(), 15u);
    for (const auto& name : names) {
        const CliResult v = runCli({name, "--version"});
        EXPECT_EQ(v.code, 0) << name << ": " << v.err;
        EXPECT_EQ(v.out, version) << name;
        const CliResult longHelp = runCli({name, "--help"});
        const CliResult shortHelp = runCli({name, "-h"});
        const CliResult helpCommand = runCli({"help", name});
        EXPECT_EQ(longHelp.code, 0) << name << ": " << longHelp.err;
        EXPECT_EQ(shortHelp.code, 0) << name << ": " << shortHelp.err;
        EXPECT_EQ(longHelp.out.rfind("usage: tesserix-cli " + name, 0), 0u) << name << ":\n" << longHelp.out;
        EXPECT_EQ(shortHelp.out, longHelp.out) << name;
        EXPECT_EQ(helpCommand.out, longHelp.out) << name;
    }
    const CliResult top = runCli({"-h"});
    EXPECT_EQ(top.code, 0);
    EXPECT_EQ(top.out, runCli({"--help"}).out);
    EXPECT_NE(top.out.find("--version"), std::string::npos) << top.out;
    const CliResult unknown = runCli({"help", "turn"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("unknown command 'turn'"), std::string::npos) << unknown.err;
}

// The desktop program answers before it opens a window, so no display is needed.
TEST(DesktopVersion, HelpAndVersionWorkWithoutADisplay) {
    const auto desktop = std::filesystem::path(TESSERIX_CLI).parent_path() / "tesserix";
    if (!std::filesystem::exists(desktop)) GTEST_SKIP() << "the desktop program is not built";
    const std::string prefix = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb " + shellQuote(desktop.string());
    const auto [versionCode, version] = runShell(prefix + " --version 2>/dev/null");
    EXPECT_EQ(versionCode, 0);
    EXPECT_EQ(version, "tesserix" + runCli({"--version"}).out.substr(std::string("tesserix-cli").size()));
    for (const char* flag : {" --help", " -h"}) {
        const auto [helpCode, help] = runShell(prefix + flag + " 2>/dev/null");
        EXPECT_EQ(helpCode, 0) << flag;
        EXPECT_EQ(help.rfind("usage: tesserix", 0), 0u) << help;
        EXPECT_NE(help.find("--data-dir DIR"), std::string::npos) << help;
    }
}

}  // namespace
