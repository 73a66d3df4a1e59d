// --format json: every line is one JSON object, read back with a JSON parser, and it carries
// the same results as the text output.
#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "cli_runner.hpp"

namespace {

using nlohmann::json;
using tx::testing::CliResult;
using tx::testing::runCli;
using tx::testing::testTableFolder;

const std::string kSuperflip = "UBULURUFURURFRBRDRFUFLFRFDFDFDLDRDBDLULBLFLDLBUBRBLBDB";

std::vector<json> jsonLines(const CliResult& r) {
    std::vector<json> records;
    for (const auto& line : r.lines()) {
        EXPECT_TRUE(json::accept(line)) << line;
        if (json::accept(line)) records.push_back(json::parse(line));
    }
    return records;
}

// The text form of a record: "MANEUVER  (LENGTHf)" (each move ends in a blank) or "error: REASON".
std::string asText(const json& r) {
    if (r.contains("error")) return "error: " + r["error"].get<std::string>();
    std::string text = r["maneuver"].get<std::string>();
    EXPECT_TRUE(text.empty() || text.back() != ' ') << text;
    if (!text.empty()) text += ' ';
    text += " (" + std::to_string(r["length"].get<int>()) + (r["metric"] == "face" ? "f" : "s");
    return text + (r["optimal"].get<bool>() ? "*)" : ")");
}

TEST(CliJson, SolveLinesCarryTheTextResults) {
    // Two-phase to 21 moves (the superflip too), and optimal on short maneuvers.
    for (const bool optimal : {false, true}) {
        std::vector<std::string> args = {"solve", "--data-dir", testTableFolder(), "--jobs", "2"};
        args.push_back(optimal ? "--optimal" : "--target=21");
        const std::string input =
            "@R U F\n" + (optimal ? std::string() : kSuperflip + "\n") + "not a cube\n@D2 L'\n";
        const CliResult text = runCli(args, input);
        args.insert(args.end(), {"--format", "json"});
        const CliResult js = runCli(args, input);
        EXPECT_EQ(js.code, text.code) << js.err;
        const auto records = jsonLines(js);
        const auto lines = text.lines();
        ASSERT_EQ(records.size(), lines.size()) << js.out;
        for (std::size_t i = 0; i < records.size(); ++i) {
            const json& r = records[i];
            EXPECT_EQ(r["line"], i + 1);
            EXPECT_TRUE(r["input"].is_string());
            EXPECT_EQ(asText(r), lines[i]) << r.dump();
            if (r.contains("error")) {
                EXPECT_FALSE(r.contains("maneuver"));
                continue;
            }
            EXPECT_EQ(r["optimal"], optimal) << r.dump();
            EXPECT_GE(r["milliseconds"].get<double>(), 0.0);
            EXPECT_LE(r["length"].get<int>(), 21);
        }
        EXPECT_EQ(records.back()["input"], "@D2 L'");
        EXPECT_EQ(records.back()["maneuver"], "L D2");
        EXPECT_EQ(records.back()["length"], 2);
    }
}

TEST(CliJson, CheckLinesCarryTheTextResults) {
    const std::string input = kSuperflip + "\n" + "UBULURUFURURFRBRDRFUFLFRFDFDFDLDRDBDLULBLFLDLBUBRBLBDF\n\"quoted\" \\ text\n";
    const CliResult text = runCli({"check"}, input);
    const CliResult js = runCli({"check", "--format=json"}, input);
    EXPECT_EQ(js.code, 1);
    EXPECT_EQ(text.code, 1);
    const auto records = jsonLines(js);
    const auto lines = text.lines();
    ASSERT_EQ(records.size(), 3u) << js.out;
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(records[0], json({{"line", 1}, {"input", kSuperflip}, {"ok", true}}));
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(records[i]["ok"], false);
        EXPECT_EQ(records[i]["error"], lines[i]);
    }
    EXPECT_EQ(records[2]["input"], "\"quoted\" \\ text");  // escaped by the library, read back whole
}

TEST(CliJson, BatchPrintsOneLinePerSearchedEntry) {
    const tx::testing::TempFolder dir("cli-json-batch");
    tx::testing::writeFile(dir.path() / "ws.txt", "R U F'   //a\nD2 L\nF  (1f*)\n");
    const CliResult r = runCli({"batch", (dir.path() / "ws.txt").string(), "--optimal", "--format", "json", "--data-dir",
                                testTableFolder()});
    ASSERT_EQ(r.code, 0) << r.err;
    auto records = jsonLines(r);
    ASSERT_EQ(records.size(), 2u) << r.out;  // the proven third entry is not searched again
    std::sort(records.begin(), records.end(), [](const json& a, const json& b) { return a["entry"] < b["entry"]; });
    EXPECT_EQ(records[0], json({{"entry", 1}, {"maneuver", "F U' R'"}, {"length", 3}, {"metric", "face"}, {"optimal", true}}));
    EXPECT_EQ(records[1], json({{"entry", 2}, {"maneuver", "L' D2"}, {"length", 2}, {"metric", "face"}, {"optimal", true}}));
}

TEST(CliJson, BenchSignsLikeItsText) {
    for (const std::string what : {"twophase", "optimal"}) {
        std::vector<std::string> args = {"bench", what, "--count", "3", "--data-dir", testTableFolder()};
        if (what == "twophase") args.push_back("--no-triple");
        const CliResult text = runCli(args);
        args.insert(args.end(), {"--format", "json"});
        const CliResult js = runCli(args);
        ASSERT_EQ(js.code, 0) << js.err;
        const auto records = jsonLines(js);
        ASSERT_EQ(records.size(), what == "twophase" ? 3u : 4u) << js.out;  // summaries or positions, signature
        const std::string signature = std::to_string(records.back()["signature"].get<std::uint64_t>());
        EXPECT_NE(text.out.find("signature " + signature + " nodes"), std::string::npos) << text.out;
        for (std::size_t i = 0; i + 1 < records.size(); ++i) {
            EXPECT_EQ(records[i]["bench"], what);
            EXPECT_GT(records[i]["nodes"].get<std::uint64_t>(), 0u);
        }
    }
    EXPECT_EQ(runCli({"bench", "symmetry", "--format", "json"}).code, 2);
}

TEST(CliJson, TablesListTheirFilesAndAnUnknownFormatIsRefused) {
    const CliResult text = runCli({"tables", "--data-dir", testTableFolder()});
    const CliResult js = runCli({"tables", "--data-dir", testTableFolder(), "--format", "json"});
    ASSERT_EQ(js.code, 0) << js.err;
    const auto records = jsonLines(js);
    const auto lines = text.lines();
    ASSERT_EQ(records.size(), lines.size());
    ASSERT_FALSE(records.empty());
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(lines[i].rfind(records[i]["file"].get<std::string>() + " ", 0), 0u) << lines[i];
        EXPECT_EQ(records[i]["built"], false);
        EXPECT_GT(records[i]["bytes"].get<std::uint64_t>(), 0u);
        EXPECT_NE(lines[i].find(" " + std::to_string(records[i]["bytes"].get<std::uint64_t>()) + " "),
                  std::string::npos);
    }
    for (const auto& args : std::vector<std::vector<std::string>>{{"check", "--format", "xml"},
                                                                   {"solve", "--format", "JSON"},
                                                                   {"tables", "--format", ""}}) {
        const CliResult bad = runCli(args, kSuperflip + "\n");
        EXPECT_EQ(bad.code, 2) << args[0];
        EXPECT_EQ(bad.out, "");
        EXPECT_NE(bad.err.find("--format needs text or json"), std::string::npos) << bad.err;
    }
}

}  // namespace
