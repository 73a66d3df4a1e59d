// Every command reads its numeric options the same strict way: the whole text a decimal number
// in range, else one line on stderr and exit code 2.
#include <gtest/gtest.h>

#include <regex>

#include "cli_runner.hpp"

namespace tx {
namespace {

using testing::runCli;
using testing::testTableFolder;

const std::string kSolved = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";

// The command refuses `value` for `option` with exit code 2 and one line naming the option.
void expectRefused(std::vector<std::string> args, const std::string& option, const std::string& value) {
    args.push_back(option);
    args.push_back(value);
    const auto r = runCli(args, kSolved + "\n");
    EXPECT_EQ(r.code, 2) << args.front() << " " << option << " '" << value << "'";
    EXPECT_EQ(r.out, "") << args.front() << " " << option << " '" << value << "'";
    EXPECT_NE(r.err.find(option + " needs "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("'" + value + "'"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
}

TEST(CliNumbers, TrailingJunkExponentsWordsSignsAndEmptyAreRefusedEverywhere) {
    const std::vector<std::string> bad = {"20abc", "1e1", "nan", "", "+3", " 7", "0x10", "99999999999999999999"};
    const std::string data = testTableFolder();
    const std::vector<std::pair<std::vector<std::string>, std::string>> options = {
        {{"solve", "--data-dir", data}, "--target"},
        {{"solve", "--data-dir", data}, "--jobs"},
        {{"batch", "in.txt", "--data-dir", data}, "--target"},
        {{"batch", "in.txt", "--data-dir", data}, "--jobs"},
        {{"random"}, "-n"},
        {{"random"}, "--seed"},
        {{"tables", "--data-dir", data}, "--threads"},
        {{"bench", "twophase", "--data-dir", data}, "--count"},
        {{"bench", "optimal", "--data-dir", data}, "--count"},
        {{"bench", "symmetry"}, "--rows"},
    };
    for (const auto& [args, option] : options)
        for (const auto& value : bad) expectRefused(args, option, value);
}

TEST(CliNumbers, NegativeAndOutOfRangeValuesAreRefused) {
    const std::string data = testTableFolder();
    expectRefused({"solve", "--data-dir", data}, "--target", "-5");
    expectRefused({"solve", "--data-dir", data}, "--target", "31");
    expectRefused({"solve", "--data-dir", data}, "--max-time", "-5");
    expectRefused({"solve", "--data-dir", data}, "--max-time", "nan");
    expectRefused({"solve", "--data-dir", data}, "--max-time", "1e1");
    expectRefused({"solve", "--data-dir", data}, "--max-time", "inf");
    expectRefused({"solve", "--data-dir", data}, "--max-time", ".5");
    expectRefused({"random"}, "--seed", "4294967296");
    expectRefused({"random"}, "-n", "-1");
    expectRefused({"bench", "optimal", "--data-dir", data}, "--count", "7");
    expectRefused({"bench", "symmetry"}, "--rows", "9-3");
    expectRefused({"bench", "symmetry"}, "--rows", "3-33");
}

// Every option that any command's usage text shows with a number placeholder refuses what
// is not a number in range, so an option added later cannot slip past the strict reader.
TEST(CliNumbers, EveryNumericOptionOfEveryCommandIsReadStrictly) {
    const std::string data = testTableFolder();
    const auto listed = runCli({"--help"});
    ASSERT_EQ(listed.code, 0);
    int checked = 0;
    for (const std::string& line : listed.lines()) {
        if (line.rfind("  ", 0) != 0) continue;
        const std::string name = line.substr(2, line.find(' ', 2) - 2);
        const std::string usage = runCli({name, "--help"}).out;
        // "--name N", "-n N": the placeholders of numbers.
        static const std::regex numeric(R"((?:^|[\s\[])(--?[a-z][-a-z]*) (N|J|S|P|SECONDS)(?=[\s\]|]))");
        for (std::sregex_iterator m(usage.begin(), usage.end(), numeric), end; m != end; ++m) {
            std::vector<std::string> args = {name};
            // bench: the mode whose option it is (only coset takes a depth).
            if (name == "bench") args.push_back((*m)[1] == "--depth" ? "coset" : "optimal");
            if (name != "random") args.insert(args.end(), {"--data-dir", data});
            for (const std::string bad : {"20abc", "nan", "-5", "1e1"}) expectRefused(args, (*m)[1], bad);
            ++checked;
        }
    }
    EXPECT_GE(checked, 11);  // solve, batch, bench, random, tables and serve take numbers
}

TEST(CliNumbers, WholeAndDecimalNumbersInRangeAreTaken) {
    const auto solved = runCli({"solve", "--data-dir", testTableFolder(), "--target", "020", "--jobs", "1",
                                "--max-time", "2.5", kSolved});
    EXPECT_EQ(solved.code, 0) << solved.err;
    EXPECT_EQ(runCli({"random", "-n", "3", "--seed=0"}).lines().size(), 3u);
}

}  // namespace
}  // namespace tx
