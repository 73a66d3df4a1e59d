// The inverse of a text whose parentheses hold moves: the reader applies those moves, so the
// inverse must undo them instead of copying them as a length mark (found by fuzz_maneuver).
#include <gtest/gtest.h>

#include <string>

#include "cube/notation.hpp"

namespace tx {
namespace {

FaceletCube applied(const std::string& text) {
    FaceletCube c;
    applyManeuver(c, text);
    return c;
}

TEST(ManeuverInverse, ParenthesesHoldingMovesAreNoLengthMark) {
    EXPECT_EQ(inverseManeuver("U (R)"), "R' U' ");
    EXPECT_EQ(inverseManeuver("(R U)2 (2f)"), "U' R'  (2f)");
    EXPECT_EQ(inverseManeuver("F (U x"), "x' U' F' ");
    EXPECT_EQ(inverseManeuver("R (3f"), "R'  (3f");  // an unclosed mark is still a mark
    for (const char* text : {"U (R)", "(R U)2 (2f)", "F (U x", "(L (D) (7f*) B", "R2 (Us F) (3s)"}) {
        FaceletCube c = applied(text);
        applyManeuver(c, inverseManeuver(text));
        EXPECT_EQ(c, FaceletCube()) << text;
        EXPECT_EQ(applied(inverseManeuver(inverseManeuver(text))), applied(text)) << text;
    }
}

}  // namespace
}  // namespace tx
