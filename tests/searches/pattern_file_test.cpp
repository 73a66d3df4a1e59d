// The text form of the pattern rows read by the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "searches/pattern_file.hpp"

namespace tx {
namespace {

std::string errorOf(const std::string& text) {
    std::string error;
    EXPECT_FALSE(readPatternText(text, error).has_value()) << text;
    return error;
}

TEST(PatternFile, RowsFacesCommentsAndCompactValues) {
    std::string error;
    const auto set = readPatternText("# header comment\n"
                                     "\n"
                                     "row 2 faces U d   # faces in either case\n"
                                     "1 2 1\n"
                                     "212\n"
                                     "  1 2 1  \r\n"
                                     "row 5\n"
                                     "6 6 6\n6 6 6\n6 6 3\n"
                                     "row 1 faces none\n"
                                     "4 4 4\n4 4 4\n4 4 4\n",
                                     error);
    ASSERT_TRUE(set.has_value()) << error;
    EXPECT_EQ(set->rows[1], (PatternCells{1, 2, 1, 2, 1, 2, 1, 2, 1}));
    EXPECT_EQ(set->faces[1], (std::array<bool, 6>{true, false, false, true, false, false}));
    EXPECT_EQ(set->rows[4][8], 3);
    EXPECT_EQ(set->faces[4], (std::array<bool, 6>{true, true, true, true, true, true}));
    EXPECT_EQ(set->faces[0], (std::array<bool, 6>{}));
    EXPECT_TRUE(set->rowEmpty(2));
    EXPECT_FALSE(set->faces[2][0]);  // rows not given take part for no face
    EXPECT_TRUE(readPatternText("", error).has_value());
}

TEST(PatternFile, MistakesNameTheirLine) {
    EXPECT_EQ(errorOf("\nrows 1\n"), "line 2: expected \"row N\", found \"rows 1\"");
    EXPECT_EQ(errorOf("row 6\n"), "line 1: the row number must be 1 to 5");
    EXPECT_EQ(errorOf("row 1 face U\n"), "line 1: expected \"faces\" after the row number, found \"face\"");
    EXPECT_EQ(errorOf("row 1 faces\n"), "line 1: \"faces\" needs face letters U R F D L B or \"none\"");
    EXPECT_EQ(errorOf("row 1 faces UX\n"), "line 1: unknown face letter 'X' (use U R F D L B)");
    EXPECT_EQ(errorOf("row 1 faces U R u\n"), "line 1: face u is named twice");
    EXPECT_EQ(errorOf("row 1\n1 1 1\n1 1\n"), "line 3: expected three palette values 1 to 6, found \"1 1\"");
    EXPECT_EQ(errorOf("row 1\n1 1 1\n1 7 1\n"), "line 3: palette values are 1 to 6, found '7'");
    EXPECT_EQ(errorOf("row 3\n1 1 1\n1 1 1\n"), "line 1: row 3 needs three lines of three values");
    EXPECT_EQ(errorOf("row 1\n1 1 1\n1 1 1\n1 1 1\nrow 1\n"), "line 5: row 1 is given twice");
}

TEST(PatternFile, TheExamplesAreValid) {
    const auto folder = std::filesystem::path(TESSERIX_SOURCE_DIR) / "examples";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".pat") continue;
        std::ifstream in(entry.path());
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::string error;
        const auto set = readPatternText(text, error);
        ASSERT_TRUE(set.has_value()) << entry.path() << ": " << error;
        EXPECT_FALSE(set->rowEmpty(0)) << entry.path();
        ++files;
    }
    EXPECT_GE(files, 2);
}

}  // namespace
}  // namespace tx
