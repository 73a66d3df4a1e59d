// tesserix-cli stats and export-html, run as processes on workspace files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "cli_runner.hpp"
#include "platform/events.hpp"
#include "support/scripted_prompts.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/html_page.hpp"
#include "workspace/modern_page.hpp"
#include "workspace/statistics.hpp"
#include "workspace/workspace_file.hpp"

namespace tx {
namespace {

namespace fs = std::filesystem;
using testing::CliResult;
using testing::runCli;
using testing::TempFolder;

const std::string kRule(63, '-');

// Four moves; an optimal maneuver of three; an empty line (the solved cube, not solved yet);
// a maneuver with a slice pair (two face turns).
const std::string kWorkspace = "R U R' U'   //four\r\nR U F  (3f*)   //three <b>\r\n\r\nUs R   //slice\r\n";

int lineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// The entries of a file as the program loads them.
struct Loaded {
    QueueEvents events;
    ScriptedPrompts prompts;
    CubeList list{events, prompts};
    explicit Loaded(const fs::path& file) { loadWorkspace(list, file); }
};

TEST(ReportCli, StatsPrintsTheStatisticsLines) {
    TempFolder dir("cli-report");
    testing::writeFile(dir / "ws.txt", kWorkspace);
    const CliResult r = runCli({"stats", (dir / "ws.txt").string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("Number of Cubes: 4\nCubes not solved yet: 1\n" + kRule +
                                  "\nCubes solved optimally: 1\n\n 3f*:      1\n" + kRule +
                                  "\nCubes solved with Two-Phase-Algorithm: 2\n\n 3f:      1\n 4f:      1\n" + kRule +
                                  "\nCubes with antisymmetry: "))
        << r.out;
    // The whole text is what the statistics window shows for the same file.
    Loaded loaded(dir / "ws.txt");
    std::string expected;
    for (const auto& line : statisticsLines(countStatistics(loaded.list.entries()), 'f')) expected += line + "\n";
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, "");
    // In slice mode the optimal line's mark ("f") is of the other metric: it is read as a
    // maneuver, and the lines carry "s".
    const CliResult slice = runCli({"stats", (dir / "ws.txt").string(), "--slice"});
    ASSERT_EQ(slice.code, 0) << slice.err;
    EXPECT_NE(slice.out.find("Cubes solved optimally: 0\n"), std::string::npos);
    EXPECT_NE(slice.out.find(" 3s:      2\n 4s:      1\n"), std::string::npos) << slice.out;
}

TEST(ReportCli, UnreadableFilesGiveOneLineAndCodeTwo) {
    TempFolder dir("cli-report");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"stats", (dir / "missing.txt").string()},
             {"stats", dir.path().string()},
             {"export-html", (dir / "missing.txt").string(), (dir / "out.htm").string()}}) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.code, 2) << args[1];
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(args[1]), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    // A line over the limit: no valid workspace file.
    testing::writeFile(dir / "long.txt", std::string(400, 'R') + "\r\n");
    const CliResult r = runCli({"stats", (dir / "long.txt").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    // Usage.
    EXPECT_EQ(runCli({"stats"}).code, 2);
    EXPECT_EQ(runCli({"export-html", (dir / "long.txt").string()}).code, 2);
    EXPECT_EQ(runCli({"stats", "a", "--bogus"}).code, 2);
}

TEST(ReportCli, ExportWritesThePagesInTheSchemeOfCubeIni) {
    TempFolder dir("cli-report");
    testing::writeFile(dir / "ws.txt", kWorkspace);
    // U red instead of blue.
    testing::writeFile(dir / "cube.ini", "[Color Scheme]\r\nUColor=255\r\n");
    const fs::path out = dir / "my.page.htm";
    CliResult r = runCli({"export-html", (dir / "ws.txt").string(), out.string(), "--data-dir", dir.path().string()});
    ASSERT_EQ(r.code, 0) << r.err;
    Loaded loaded(dir / "ws.txt");
    ColorScheme scheme = ColorScheme::defaults();
    scheme.colors[U] = 255;
    const std::string page = testing::readFile(out);
    EXPECT_EQ(page, htmlPage(loaded.list.entries(), "my", scheme));
    EXPECT_NE(page.find("value=\"FF0000008000"), std::string::npos);
    EXPECT_NE(page.find("&nbsp;three &lt;b&gt;</td>"), std::string::npos);

    r = runCli({"export-html", (dir / "ws.txt").string(), out.string(), "--modern", "--data-dir",
                dir.path().string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(testing::readFile(out), modernHtmlPage(loaded.list.entries(), "my", scheme));
    // To standard output.
    r = runCli({"export-html", (dir / "ws.txt").string(), "-", "--data-dir", dir.path().string()});
    EXPECT_EQ(r.out, htmlPage(loaded.list.entries(), "-", scheme));
}

TEST(ReportCli, AnExistingPageIsReplacedOnlyByAWholeOne) {
    TempFolder dir("cli-report");
    testing::writeFile(dir / "ws.txt", kWorkspace);
    const fs::path out = dir / "page.htm";
    testing::writeFile(out, "old page");
    // Nothing to read: the old page stays.
    CliResult r = runCli({"export-html", (dir / "gone.txt").string(), out.string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(testing::readFile(out), "old page");
    // A read-only page is not replaced, and a page in a folder that does not exist not written.
    fs::permissions(out, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    r = runCli({"export-html", (dir / "ws.txt").string(), out.string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    EXPECT_EQ(testing::readFile(out), "old page");
    fs::permissions(out, fs::perms::owner_write, fs::perm_options::add);
    r = runCli({"export-html", (dir / "ws.txt").string(), (dir / "none" / "page.htm").string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    // A good run replaces it and leaves no temporary file behind.
    r = runCli({"export-html", (dir / "ws.txt").string(), out.string()});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(testing::readFile(out).starts_with("<html>\r\n<head><title>page</title>"));
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace tx
