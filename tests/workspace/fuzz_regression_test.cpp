// Workspace lines found by the fuzz targets: each loads, writes back and loads again to the
// same entry, and writing that entry gives the same line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "cube/notation.hpp"
#include "workspace/workspace_file.hpp"

namespace tx {
namespace {

TEST(WorkspaceLineFuzzCases, ParenthesesWithMovesDoNotGrowTheLineOnEverySave) {
    using namespace std::string_literals;
    // An unclosed parenthesis full of moves used to be copied as a length mark, so each save
    // wrote the moves once more.
    for (const std::string& line : {"\0\0(U\xe0\xad\xcd\xdf\xb9\xdf\xdf\xd7\0 RUf3ceet\0F"s, "R U (F)   //x"s,
                                   "(R U R' U')2 (8f)"s}) {
        const auto entry = parseWorkspaceLine(line, 'f');
        const std::string written = workspaceLine(*entry, 'f');
        const auto loaded = parseWorkspaceLine(written, 'f');
        EXPECT_EQ(loaded->cube.f, entry->cube.f);
        EXPECT_EQ(loaded->solverText, entry->solverText);
        EXPECT_EQ(workspaceLine(*loaded, 'f'), written);
    }
}

TEST(WorkspaceLineFuzzCases, TheMarkOfAnOptimalLineIsItsLastParenthesis) {
    using namespace std::string_literals;
    // An earlier parenthesis without moves was taken for the mark, so the entry lost its star
    // when it was written.
    const std::string line = "  (3f=\0\0  ) /&(3f*)(3f3   (3f=\0  ) /&(3f*)(e fU"s;
    const auto entry = parseWorkspaceLine(line, 'f');
    EXPECT_EQ(entry->optimalText, " (3f*)");
    const std::string written = workspaceLine(*entry, 'f');
    const auto loaded = parseWorkspaceLine(written, 'f');
    EXPECT_EQ(loaded->optimalText, entry->optimalText);
    EXPECT_EQ(workspaceLine(*loaded, 'f'), written);
    EXPECT_EQ(inverseManeuver("R U (2f) (7f)"), "U' R'  (7f)");
}

TEST(WorkspaceLineFuzzCases, AnOptimalTextWhoseMarkCannotBeReadIsSavedByItsFacelets) {
    using namespace std::string_literals;
    // The mark before "*)" has no "(" of its own: written as a maneuver it would load as an
    // ordinary entry, so the saved line changed at every save until it held the facelets.
    const std::string line = "\0V<\xb1\x10\x0e(\x99((\xd9((((((((((((\xd6\xcd*\xad\xdf)\xdf\xd7\xd7\xcd" "0f*)B  (Ue`//super\x1alip"s;
    const auto entry = parseWorkspaceLine(line, 'f');
    ASSERT_TRUE(entry->hasOptimalText());
    bool asFacelets = false;
    const std::string written = workspaceLine(*entry, 'f', &asFacelets);
    EXPECT_TRUE(asFacelets);
    EXPECT_EQ(written, faceletLineText(entry->cube) + "   //super lip");
    const auto loaded = parseWorkspaceLine(written, 'f');
    EXPECT_EQ(loaded->cube.f, entry->cube.f);
    EXPECT_EQ(workspaceLine(*loaded, 'f'), written);
}

TEST(WorkspaceLineFuzzCases, ANameKeepsWhatFitsBesideALongManeuver) {
    // Letters without blanks are written back with blanks between the moves; the name was
    // dropped whole although most of it fits behind a bare "//".
    int shortened = 0;
    for (std::size_t n = 140; n < 150; ++n) {
        const std::string maneuver = "R" + std::string(n, 'B') + "UDR  D";
        const auto entry = parseWorkspaceLine(maneuver + " //3ed", 'f');
        ASSERT_EQ(entry->patternName, "3ed");
        const std::size_t body = workspaceLine(*parseWorkspaceLine(maneuver, 'f'), 'f').size() - 1;  // and a blank
        const std::string written = workspaceLine(*entry, 'f');
        EXPECT_LE(written.size(), kMaxLineLength);
        const auto loaded = parseWorkspaceLine(written, 'f');
        EXPECT_EQ(loaded->cube.f, entry->cube.f);
        const std::size_t room = kMaxLineLength - std::min(kMaxLineLength, body + 2);
        EXPECT_EQ(loaded->patternName, std::string("3ed").substr(0, room)) << n;
        shortened += loaded->patternName.size() == 1 || loaded->patternName.size() == 2;
        EXPECT_EQ(workspaceLine(*loaded, 'f'), written);
    }
    EXPECT_GT(shortened, 0);
    // A shortened name that ends in blanks loses them, and may then fit with the usual gap:
    // the loaded entry must still write the same line.
    for (std::size_t n = 130; n < 150; ++n) {
        const auto entry = parseWorkspaceLine("R" + std::string(n, 'B') + "UDR  D //ab          cd", 'f');
        const std::string written = workspaceLine(*entry, 'f');
        const auto loaded = parseWorkspaceLine(written, 'f');
        EXPECT_EQ(std::string("ab          cd").substr(0, loaded->patternName.size()), loaded->patternName);
        EXPECT_EQ(workspaceLine(*loaded, 'f'), written) << n;
    }
    // A name that fits keeps the usual gap.
    const auto shortLine = parseWorkspaceLine("R U   //name", 'f');
    EXPECT_NE(workspaceLine(*shortLine, 'f').find("   //name"), std::string::npos);
}

TEST(WorkspaceLineFuzzCases, AManeuverEndingInASlashKeepsTheNameApart) {
    // An unclosed mark such as "(20/" ends the written maneuver; on a tight line the bare "//"
    // behind it made "///", and the reader split the line one slash early: the name gained a
    // slash and lost a letter at every save.
    int tight = 0;
    for (std::size_t n = 130; n < 150; ++n) {
        const auto entry = parseWorkspaceLine("R" + std::string(n, 'B') + "UDR  D (20/ //name", 'f');
        ASSERT_EQ(entry->patternName, "name");
        const std::string written = workspaceLine(*entry, 'f');
        EXPECT_LE(written.size(), kMaxLineLength);
        tight += written.find("   //") == std::string::npos && written.find("//") != std::string::npos;
        const auto loaded = parseWorkspaceLine(written, 'f');
        EXPECT_EQ(loaded->cube.f, entry->cube.f);
        EXPECT_EQ(std::string("name").substr(0, loaded->patternName.size()), loaded->patternName) << n;
        EXPECT_EQ(workspaceLine(*loaded, 'f'), written) << n;
    }
    EXPECT_GT(tight, 0);
}

}  // namespace
}  // namespace tx
