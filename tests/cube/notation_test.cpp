// The maneuver reader, the main window's maneuver field, inverses, the face-turn counter, the
// key letters and the length-mark cut.
#include <gtest/gtest.h>

#include "random_text.hpp"

#include <cctype>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "cube/facelet_cube.hpp"
#include "cube/notation.hpp"

namespace tx {
namespace {

// The solved cube after the given facelet turn codes.
FaceletCube turned(std::initializer_list<int> codes) {
    FaceletCube c;
    for (int code : codes) c.turn(code);
    return c;
}

FaceletCube read(std::string_view text, int* moves = nullptr) {
    FaceletCube c;
    const ApplyResult r = applyManeuver(c, text);
    if (moves) *moves = r.moves;
    return c;
}

FaceletCube field(std::string_view text, int* moves = nullptr) {
    FaceletCube c;
    const int n = applyManeuverField(c, text);
    if (moves) *moves = n;
    return c;
}

// A scrambled cube with scrambled centre orientations, to apply texts to.
FaceletCube scrambled(std::mt19937& rng) {
    FaceletCube c;
    for (int i = 0; i < 25; ++i) c.turn(int(rng() % kFaceletTurns));
    return c;
}

std::string randomText(std::mt19937& rng, int tokens) { return testing::randomText(rng, tokens, true); }

// ---- reader ---------------------------------------------------------------------------

TEST(ManeuverReader, PowersWithAndWithoutBlank) {
    EXPECT_EQ(read("U2"), turned({U, U}));
    EXPECT_EQ(read("U2 "), turned({U, U}));
    EXPECT_EQ(read("U'"), turned({U, U, U}));
    EXPECT_EQ(read("U3"), turned({U, U, U}));
    EXPECT_EQ(read("U"), turned({U}));
    EXPECT_EQ(read("RU"), turned({R, U}));
    EXPECT_EQ(read("R2U'F"), turned({R, R, U, U, U, F}));
    int moves = 0;
    read("R2U'F", &moves);
    EXPECT_EQ(moves, 3);
}

TEST(ManeuverReader, SliceAndAntislicePairs) {
    int moves = 0;
    EXPECT_EQ(read("Us", &moves), turned({U, D, D, D}));
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(read("Us2"), turned({U, U, D, D}));
    EXPECT_EQ(read("Ua2"), turned({U, U, D, D}));
    EXPECT_EQ(read("Ua'", &moves), turned({U, U, U, D, D, D}));
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(read("Us'"), turned({U, U, U, D}));
    EXPECT_EQ(read("Ds"), turned({D, U, U, U}));
    EXPECT_EQ(read("Rs"), turned({R, L, L, L}));
    EXPECT_EQ(read("Fa3"), turned({F, F, F, B, B, B}));
    EXPECT_EQ(read("Ls Ba"), turned({L, R, R, R, B, F}));
    read("Us Ra2 Fs' Da", &moves);
    EXPECT_EQ(moves, 4);
}

TEST(ManeuverReader, RotationsTurnButDoNotCountMiddleLayersDo) {
    int moves = -1;
    EXPECT_EQ(read("x y z", &moves), turned({kTurnX, kTurnY, kTurnZ}));
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(read("E M S", &moves), turned({kTurnE, kTurnM, kTurnS}));
    EXPECT_EQ(moves, 3);
    EXPECT_EQ(read("x2 E' y'", &moves), turned({kTurnX, kTurnX, kTurnE, kTurnE, kTurnE, kTurnY, kTurnY, kTurnY}));
    EXPECT_EQ(moves, 1);
    // Upper-case X Y Z and lower-case face letters are no moves.
    EXPECT_EQ(read("X Y Z u r e", &moves), FaceletCube());
    EXPECT_EQ(moves, 0);
}

TEST(ManeuverReader, CommentAndLengthMarkAreSkipped) {
    int moves = 0;
    EXPECT_EQ(read("R U // comment with D and B", &moves), turned({R, U}));
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(read("// only a comment R U", &moves), FaceletCube());
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(read("R U2 F'  (3f)", &moves), turned({R, U, U, F, F, F}));
    EXPECT_EQ(moves, 3);
    EXPECT_EQ(read("D  (18f*)", &moves), turned({D}));
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(read("", &moves), FaceletCube());
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(read("1234 -+?!", &moves), FaceletCube());
    EXPECT_EQ(moves, 0);
}

TEST(ManeuverReader, PieceListDescribesACube) {
    std::string names;
    for (auto n : kPieceListNames) names += std::string(n) + " ";
    FaceletCube c = turned({R, U});
    const ApplyResult r = applyManeuver(c, names);
    EXPECT_TRUE(r.pieceList);
    EXPECT_EQ(r.moves, 0);
    EXPECT_EQ(c.f, FaceletCube().f);

    // The piece list of a scrambled cube, in lower case, sets that cube; centres are untouched.
    std::mt19937 rng(7);
    FaceletCube target;
    for (int i = 0; i < 30; ++i) target.turn(int(rng() % 6));
    std::string lower = target.pieceList();
    for (char& ch : lower) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    FaceletCube into;
    into.centerOri = {1, 2, 3, 0, 1, 2};
    const ApplyResult r2 = applyManeuver(into, lower);
    EXPECT_TRUE(r2.pieceList);
    EXPECT_EQ(into.f, target.f);
    EXPECT_EQ(into.centerOri, (std::array<std::uint8_t, 6>{1, 2, 3, 0, 1, 2}));

    // Seven of each letter is a maneuver, and a piece list behind "//" is a comment.
    const ApplyResult r3 = applyManeuver(into, "U R F D L B U R F D L B U R F D L B U R F D L B U R F D L B "
                                               "U R F D L B U R F D L B");
    EXPECT_FALSE(r3.pieceList);
    EXPECT_EQ(r3.moves, 42);
    FaceletCube c4;
    const ApplyResult r4 = applyManeuver(c4, "R // " + names);
    EXPECT_FALSE(r4.pieceList);
    EXPECT_EQ(c4, turned({R}));
}

TEST(ManeuverReader, SuffixAfterAMiddleLayerIsAPlainTurn) {
    EXPECT_EQ(read("Es2"), turned({kTurnE}));
    EXPECT_EQ(read("xa'"), turned({kTurnX}));
}

// ---- maneuver field -------------------------------------------------------------------

TEST(ManeuverField, PowerSpellings) {
    EXPECT_EQ(field("U-1"), read("U'"));
    EXPECT_EQ(field("U-"), read("U'"));
    EXPECT_EQ(field("U\xB2"), read("U2"));
    EXPECT_EQ(field("U'"), read("U'"));
    EXPECT_EQ(field("R-1 U- F\xB2 D3"), read("R' U' F2 D'"));
    EXPECT_EQ(field("  R U  \t"), read("R U"));
}

TEST(ManeuverField, PowerBeforeSuffixMovesBehindIt) {
    EXPECT_EQ(field("U2s"), read("Us2"));
    EXPECT_EQ(field("U's"), read("Us'"));
    EXPECT_EQ(field("U3a"), read("Ua'"));
    EXPECT_EQ(field("U\xB2s"), read("Us2"));
    EXPECT_EQ(field("U-1a"), read("U'"));  // the swap comes before "-1" is read
    EXPECT_NE(field("U2s"), read("U2"));
    // An upper-case S after a power is the middle layer S, not a suffix.
    EXPECT_EQ(field("R2S"), read("R2 S"));
    EXPECT_EQ(field("R'S2"), read("R' S2"));
}

TEST(ManeuverField, GroupsWithRepetition) {
    int moves = 0;
    EXPECT_EQ(field("(R U)2F", &moves), read("R U R U F"));
    EXPECT_EQ(moves, 5);
    EXPECT_EQ(field("(R U) F"), read("R U F"));
    EXPECT_EQ(field("(R U)F"), read("R U F"));
    EXPECT_EQ(field("(R U R' U')3 F", &moves), read("R U R' U' R U R' U' R U R' U' F"));
    EXPECT_EQ(moves, 13);
    EXPECT_EQ(field("D (R U)2 (F)3 L"), read("D R U R U F F F L"));
    EXPECT_EQ(field("(R U)0 F", &moves), read("F"));
    EXPECT_EQ(moves, 1);
    // Groups do not nest: the inner "(" is skipped and the first ")" closes the group.
    EXPECT_EQ(field("(R (U)2)3"), read("R U R U"));
    // An unclosed group is read as it stands; an unmatched ")" is an ordinary character.
    EXPECT_EQ(field("R (U F"), read("R U F"));
    EXPECT_EQ(field("R) U2"), read("R U2"));
}

TEST(ManeuverField, LengthMarkIsAGroupWithoutMoves) {
    int moves = 0;
    EXPECT_EQ(field("R U2 F'  (3f)", &moves), read("R U2 F'"));
    EXPECT_EQ(moves, 3);
    EXPECT_EQ(field("(20f)", &moves), FaceletCube());
    EXPECT_EQ(moves, 0);
    // The mark's digits follow no ")": a mark before a move does not repeat anything.
    EXPECT_EQ(field("(2f) R"), read("R"));
}

TEST(ManeuverField, AppliesToTheGivenCube) {
    FaceletCube c = read("R U");
    EXPECT_EQ(applyManeuverField(c, "U' R-"), 2);
    EXPECT_EQ(c, FaceletCube());
}

TEST(ManeuverField, TextAfterAnOpeningParenthesisIsCutTo500Characters) {
    std::string text = "(";
    for (int i = 0; i < 300; ++i) text += "R ";  // 600 characters, only 250 turns survive
    int moves = 0;
    EXPECT_EQ(field(text, &moves), read("R2"));
    EXPECT_EQ(moves, 250);
    // Before the "(" nothing is cut.
    std::string before;
    for (int i = 0; i < 301; ++i) before += "U ";
    EXPECT_EQ(field(before + "(R)", &moves), read("U R"));  // U to the 301st is U
    EXPECT_EQ(moves, 302);
}

TEST(ManeuverField, HugeRepeatCountsFinishAndGiveTheExactCube) {
    // (R U) has order 105 on the facelets and 420 with the centre orientations (each
    // repetition turns the R and U centres once): n repetitions act as n mod 420.
    auto repeated = [](int n) {
        FaceletCube c;
        for (int i = 0; i < n; ++i) applyManeuver(c, "R U");
        return c;
    };
    int moves = 0;
    EXPECT_EQ(field("(R U)1000000000", &moves), repeated(1000000000 % 420));
    EXPECT_EQ(moves, 2000000000);
    // 10^20 - 1 repetitions: far beyond any integer; the count stops at the largest int.
    long long mod = 0;
    for (int i = 0; i < 20; ++i) mod = (mod * 10 + 9) % 420;
    EXPECT_EQ(field("(R U)99999999999999999999 F", &moves), [&] {
        FaceletCube c = repeated(int(mod));
        c.turn(F);
        return c;
    }());
    EXPECT_EQ(moves, std::numeric_limits<int>::max());
    // A group of rotations (x y has order 3) changes the cube but counts nothing.
    std::mt19937 rng(5);
    const FaceletCube start = scrambled(rng);
    FaceletCube got = start, expected = start;
    moves = applyManeuverField(got, "(x y)123456789013");
    for (int i = 0; i < int(123456789013LL % 3); ++i) applyManeuver(expected, "x y");
    EXPECT_EQ(got, expected);
    EXPECT_NE(got, start);
    EXPECT_EQ(moves, 0);
}

TEST(ManeuverField, RepeatedGroupsAgreeWithRepeatingTheText) {
    std::mt19937 rng(11);
    for (int trial = 0; trial < 200; ++trial) {
        const std::string group = randomText(rng, 1 + int(rng() % 6));
        const int n = int(rng() % 40);
        FaceletCube expected = scrambled(rng);
        FaceletCube got = expected;
        int single = 0;
        for (int i = 0; i < n; ++i) single = applyManeuver(expected, group).moves;
        const int moves = applyManeuverField(got, "(" + group + ")" + std::to_string(n));
        ASSERT_EQ(got, expected) << group << " x" << n;
        EXPECT_EQ(moves, single * n);
    }
}

TEST(ManeuverField, RepeatsCarryMarksUndefinedFaceletsAndCentreTurnsAlong) {
    // Counts beyond the period, on cubes that hold every kind of facelet value: colours, marked
    // colours, undefined facelets and reference marks, with turned centres.
    std::mt19937 rng(23);
    for (int trial = 0; trial < 60; ++trial) {
        FaceletCube start = scrambled(rng);
        for (int k = 0; k < 12; ++k) {
            const int i = int(rng() % kFacelets);
            if (i % 9 == 4) continue;
            const int kind = int(rng() % 3);
            start.f[i] = kind == 0 ? kUndefinedFacelet
                         : kind == 1 ? kReferenceMark
                                     : std::uint8_t(kMarkOffset + start.f[i] % 6);
        }
        const std::string group = randomText(rng, 1 + int(rng() % 5));
        const int n = 1 + int(rng() % 2500);
        FaceletCube expected = start, got = start;
        for (int i = 0; i < n; ++i) applyManeuver(expected, group);
        applyManeuverField(got, "(" + group + ")" + std::to_string(n));
        ASSERT_EQ(got, expected) << group << " x" << n;
    }
}

// ---- inverse --------------------------------------------------------------------------

TEST(ManeuverInverse, TokensAndLengthMark) {
    EXPECT_EQ(inverseManeuver("R U2 F'  (3f)"), "F U2 R'  (3f)");
    EXPECT_EQ(inverseManeuver("R U2 F3 (3f*)"), "F U2 R'  (3f*)");
    EXPECT_EQ(inverseManeuver("R U"), "U' R' ");
    EXPECT_EQ(inverseManeuver("R"), "R' ");
    EXPECT_EQ(inverseManeuver("x E' y2 M S3 z"), "z' S M' y2 E x' ");
    EXPECT_EQ(inverseManeuver(""), "");
    EXPECT_EQ(inverseManeuver("  (0f)"), " (0f)");
    EXPECT_EQ(inverseManeuver("R (3f) junk) more"), "R'  (3f)");
    EXPECT_EQ(inverseManeuver("R (3f"), "R'  (3f");
}

TEST(ManeuverInverse, SlicePairsKeepTheirSuffix) {
    EXPECT_EQ(inverseManeuver("Us2 Ra' Fs"), "Fs' Ra Us2 ");
    EXPECT_EQ(read(std::string("Us2 Ra' Fs ") + inverseManeuver("Us2 Ra' Fs")), FaceletCube());
}

TEST(ManeuverInverse, OptimalTextKeepsStatusTexts) {
    EXPECT_EQ(inverseOptimalText("Status: Not Running"), "Status: Not Running");
    EXPECT_EQ(inverseOptimalText("Status: Searching depth 17..."), "Status: Searching depth 17...");
    EXPECT_NE(inverseManeuver("Status: Not Running"), "Status: Not Running");
    EXPECT_EQ(inverseOptimalText("R U2 F'  (3f*)"), "F U2 R'  (3f*)");
    EXPECT_EQ(inverseOptimalText(""), "");
}

TEST(ManeuverInverse, TextFollowedByItsInverseRestoresTheCube) {
    std::mt19937 rng(3);
    for (int trial = 0; trial < 3000; ++trial) {
        const std::string text = randomText(rng, int(rng() % 20));
        const FaceletCube start = scrambled(rng);
        FaceletCube c = start;
        const int forward = applyManeuver(c, text).moves;
        const std::string inverse = inverseManeuver(text);
        const int backward = applyManeuver(c, inverse).moves;
        ASSERT_EQ(c, start) << "'" << text << "' then '" << inverse << "'";
        EXPECT_EQ(forward, backward);
        // The inverse of the inverse applies the text itself.
        FaceletCube a = start, b = start;
        applyManeuver(a, text);
        applyManeuver(b, inverseManeuver(inverse));
        ASSERT_EQ(a, b) << text;
    }
}

// ---- counter, key letters, length mark --------------------------------------------------

TEST(ManeuverCount, FaceTurns) {
    EXPECT_EQ(countFaceTurns("R U2 F'  (3f)"), 3);
    EXPECT_EQ(countFaceTurns("Us Ra2 F"), 5);
    EXPECT_EQ(countFaceTurns("x y2 z'"), 0);
    EXPECT_EQ(countFaceTurns("E M2 S'"), 3);
    EXPECT_EQ(countFaceTurns("R U / F D"), 2);
    EXPECT_EQ(countFaceTurns("R U // comment"), 2);
    EXPECT_EQ(countFaceTurns("r u f"), 0);
    EXPECT_EQ(countFaceTurns(""), 0);
    EXPECT_EQ(countFaceTurns("B D E F L M R S U"), 9);
}

TEST(ManeuverKeys, KeyLetters) {
    EXPECT_EQ(keyLetters("U R' F2 "), "jkhh");
    EXPECT_EQ(keyLetters("U R' F2"), "jkhh");
    EXPECT_EQ(keyLetters("D L B D' L' B' D2 L2 B2 "), "sdwleossddww");
    EXPECT_EQ(keyLetters("U3 R F'"), "fig");
    EXPECT_EQ(keyLetters("E M S x y z  (3s)"), "");
    EXPECT_EQ(keyLetters("R"), "i");
    EXPECT_EQ(keyLetters(""), "");
    EXPECT_EQ(keyLetters("R U2 F'  (3f)"), "ijjg");
}

TEST(ManeuverMark, CutLengthMark) {
    EXPECT_EQ(cutLengthMark("R U2 F'  (3f)"), "R U2 F'");
    EXPECT_EQ(cutLengthMark("R U2 F'  (18f*)"), "R U2 F'");
    EXPECT_EQ(cutLengthMark("R U2 F'"), "R U2 F'");
    EXPECT_EQ(cutLengthMark(""), "");
    EXPECT_EQ(cutLengthMark(" (0f)"), "");
    // Exactly ten characters go, starting with the last token's blank.
    EXPECT_EQ(cutLengthMark("R  (1f)   abcdef"), "Rbcdef");
}

}  // namespace
}  // namespace tx
