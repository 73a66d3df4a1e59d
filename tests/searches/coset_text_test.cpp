// The lines the coset explorer writes into its memo and on the command line, character for
// character: the start line, the depth lines, the end report and the stop report.
#include <gtest/gtest.h>

#include <regex>

#include "searches/coset_text.hpp"

namespace tx {
namespace {

const std::regex kDateTime(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");

bool endsWithDateTime(const std::string& line, const std::string& head) {
    return line.rfind(head, 0) == 0 && std::regex_match(line.substr(head.size()), kDateTime);
}

bool endsWith(const std::string& s, std::string_view tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Totals of a search: entry d holds the positions reached with at most d moves.
CosetTotals totalsOf(std::initializer_list<std::uint64_t> entries) {
    CosetTotals totals{};
    std::size_t d = 0;
    for (std::uint64_t e : entries) totals[d++] = e;
    return totals;
}

TEST(CosetText, startLineNamesCosetTimeAndSymmetries) {
    const auto now = CosetTime::clock::now();
    const auto lines = cosetStartLines(0, now, 0x0001);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "");
    const std::string head = "Search started for Coset 0  ";
    ASSERT_EQ(lines[0].rfind(head, 0), 0u) << lines[0];
    EXPECT_EQ(lines[0].substr(head.size() + 19), " (1 symmetry)");
    EXPECT_TRUE(std::regex_match(lines[0].substr(head.size(), 19), kDateTime)) << lines[0];

    // The largest coset number does not fit 32 bits.
    const std::uint64_t last = (std::uint64_t(64429) * 2187 + 2186) * 70 + 69;
    const std::string big = cosetStartLines(last, now, 0xFFFF)[0];
    EXPECT_EQ(big.rfind("Search started for Coset 9863588699  ", 0), 0u) << big;
    EXPECT_TRUE(endsWith(big, std::string_view(" (16 symmetries)"))) << big;
    EXPECT_TRUE(endsWith(cosetStartLines(7, now, 0x0101)[0], " (2 symmetries)"));
}

TEST(CosetText, depthAndLeftLinesHaveFixedWidths) {
    EXPECT_EQ(cosetDepthLine(1, 6), " 1f:          6");
    EXPECT_EQ(cosetDepthLine(19, 278691840), "19f:  278691840");
    EXPECT_EQ(cosetDepthLine(12, 0), "12f:          0");
    EXPECT_EQ(cosetLeftLine(278691840, 20), "278691840 Cubes with at least 20 moves left.");
    EXPECT_EQ(cosetLeftLine(0, 20), "0 Cubes with at least 20 moves left.");
}

TEST(CosetText, endReportListsTheDepthsReached) {
    // Depths 1 and 2 reached nothing, depth 5 nothing new; 40 positions were never reached.
    const auto totals = totalsOf({0, 0, 0, 10, 110, 110, 1000});
    const auto lines = cosetEndLines(totals, 1000, 6, CosetTime::clock::now(), 1.5);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], " 3f:         10");
    EXPECT_EQ(lines[1], " 4f:        100");
    EXPECT_EQ(lines[2], " 5f:          0");
    EXPECT_EQ(lines[3], " 6f:        890");
    EXPECT_EQ(lines[4], "278690840 Cubes with at least 7 moves left.");
    EXPECT_TRUE(endsWithDateTime(lines[5], "Search finished ")) << lines[5];
    EXPECT_EQ(lines[6], "Running time 1.5000 hours.");

    // After depth 19 every position still unreached needs at least 20 moves.
    CosetTotals full{};
    for (int d = 1; d <= 19; ++d) full[d] = kCosetPositions - 3;
    const auto end = cosetEndLines(full, kCosetPositions - 3, 19, CosetTime::clock::now(), 0.25);
    EXPECT_EQ(end[0], " 1f:  278691837");
    EXPECT_EQ(end[1], " 2f:          0");
    EXPECT_EQ(end[19], "3 Cubes with at least 20 moves left.");
    EXPECT_EQ(end[21], "Running time 0.2500 hours.");
}

TEST(CosetText, stopReportShowsRatiosAndTheDepthInProgress) {
    const auto totals = totalsOf({0, 4, 16, 16, 80});
    const Move r2{1, 2};
    const auto lines = cosetStopLines(totals, 100, r2, CosetTime::clock::now(), 0.00005);
    const std::vector<std::string> expected{
        "",
        " 1f:          4    0.00",  // no ratio for the first depth
        " 2f:         12    3.00",
        " 3f:          0    0.00",
        " 4f:         64    0.00",  // the depth before reached nothing new
        " 5f:         20 (\xC3\xADncomplete)",
        "",
        "278691740 Cubes left.",
        "Just searching R2 ...",
        "0.0001 hours running.",
        ""};
    ASSERT_EQ(lines.size(), expected.size() + 1);
    EXPECT_TRUE(endsWithDateTime(lines[0], "Search stopped ")) << lines[0];
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), expected);

    // Stopped before the first depth ended: no depth line at all; every face letter.
    const auto early = cosetStopLines(CosetTotals{}, 0, Move{5, 3}, CosetTime::clock::now(), 0);
    EXPECT_EQ(early[3], "278691840 Cubes left.");
    EXPECT_EQ(early[4], "Just searching B3 ...");
    EXPECT_EQ(cosetStopLines(CosetTotals{}, 0, Move{3, 1}, CosetTime::clock::now(), 0)[4], "Just searching D1 ...");

    // The last depth is 20: its count follows depth 19's.
    CosetTotals all{};
    for (int d = 1; d <= 19; ++d) all[d] = 100u * d;
    const auto late = cosetStopLines(all, 1950, Move{0, 1}, CosetTime::clock::now(), 0);
    EXPECT_EQ(late[2], " 1f:        100    0.00");
    EXPECT_EQ(late[20], "19f:        100    1.00");
    EXPECT_EQ(late[21], "20f:         50 (\xC3\xADncomplete)");
}

}  // namespace
}  // namespace tx
