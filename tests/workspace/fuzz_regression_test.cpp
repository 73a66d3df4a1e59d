// Workspace lines found by the fuzz targets: each loads, writes back and loads again to the
// same entry, and writing that entry gives the same line.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tx
