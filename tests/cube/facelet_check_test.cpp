#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

#include "cube/facelet_cube.hpp"

namespace tx {
namespace {

// What the editor tells the user after a check: the messages of its corrections.
struct Told {
    int corrections = 0;
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (std::string_view text : correctionMessages(corrections)) out.emplace_back(text);
        return out;
    }
    bool empty() const { return corrections == 0; }
};

FaceletCube randomCube(std::mt19937& rng) {
    CubieCube c = CubieCube::fromCoordinates(int(rng() % 40320), int(rng() % 2187),
                                             std::uint32_t(rng() % 479001600u), int(rng() % 2048), 0);
    if (c.cornerParityEven() != c.edgeParityEven()) std::swap(c.edges[UR].c, c.edges[UF].c);
    FaceletCube f;
    f.setFromCubieCube(c);
    return f;
}

// A cube that a real cube can show: complete, every cubie once, no twist, no flip, even.
::testing::AssertionResult isReachable(const FaceletCube& f) {
    if (!f.isComplete()) return ::testing::AssertionFailure() << "incomplete " << f.faceletString();
    if (!f.centersInPlace()) return ::testing::AssertionFailure() << "centres moved";
    const CubieCube c = f.toCubieCube();
    std::set<int> corners, edges;
    for (const auto& p : c.corners) {
        if (p.c >= 8 || p.o >= 3) return ::testing::AssertionFailure() << "bad corner";
        corners.insert(p.c);
    }
    for (const auto& p : c.edges) {
        if (p.c >= 12 || p.o >= 2) return ::testing::AssertionFailure() << "bad edge";
        edges.insert(p.c);
    }
    if (corners.size() != 8 || edges.size() != 12) return ::testing::AssertionFailure() << "duplicate cubie";
    if (c.totalTwist() != 0) return ::testing::AssertionFailure() << "twist";
    if (c.totalFlip() != 0) return ::testing::AssertionFailure() << "flip";
    if (c.cornerParityEven() != c.edgeParityEven()) return ::testing::AssertionFailure() << "parity";
    if (!f.cornerTwistValid() || !f.edgeFlipValid()) return ::testing::AssertionFailure() << "facelet checks";
    return ::testing::AssertionSuccess();
}

void rotateCorner(FaceletCube& f, int corner) {
    const auto& k = kCornerFacelet[corner];
    std::swap(f.f[k[0]], f.f[k[1]]);
    std::swap(f.f[k[1]], f.f[k[2]]);
}

void flipEdge(FaceletCube& f, int edge) { std::swap(f.f[kEdgeFacelet[edge][0]], f.f[kEdgeFacelet[edge][1]]); }

void swapEdges(FaceletCube& f, int a, int b) {
    for (int j = 0; j < 2; ++j) std::swap(f.f[kEdgeFacelet[a][j]], f.f[kEdgeFacelet[b][j]]);
}

void clearCorner(FaceletCube& f, int corner) {
    for (auto x : kCornerFacelet[corner]) f.f[x] = kUndefinedFacelet;
}

// ---- whole cubes ------------------------------------------------------------------------

TEST(FaceletCheck, ReachableCubesPassUnchanged) {
    std::mt19937 rng(1);
    for (int i = 0; i < 300; ++i) {
        FaceletCube f = randomCube(rng);
        ASSERT_TRUE(isReachable(f));
        const FaceletCube start = f;
        int corrections = -1;
        EXPECT_TRUE(f.checkAll(&corrections));
        EXPECT_EQ(corrections, 0);
        EXPECT_EQ(f, start);
        Told told;
        EXPECT_TRUE(f.checkFacelet(int(rng() % 54), false, &told.corrections));
        EXPECT_TRUE(told.empty());
        EXPECT_EQ(f, start);
    }
}

TEST(FaceletCheck, TwistedUrfCornerIsTurnedBackWithOneMessage) {
    std::mt19937 rng(2);
    for (int i = 0; i < 50; ++i) {
        const FaceletCube good = randomCube(rng);
        for (int turns = 1; turns <= 2; ++turns) {
            FaceletCube f = good;
            for (int t = 0; t < turns; ++t) rotateCorner(f, URF);
            int corrections = 0;
            EXPECT_FALSE(f.checkFacelet(19, false, &corrections));
            EXPECT_EQ(Told{corrections}.texts(),
                      std::vector<std::string>{"Twist Error. The twist of the URF-Corner will be changed."});
            EXPECT_EQ(corrections, kCorrectedTwist);
            EXPECT_EQ(f, good);
        }
    }
}

TEST(FaceletCheck, TwistElsewhereIsCompensatedAtUrf) {
    std::mt19937 rng(3);
    for (int i = 0; i < 50; ++i) {
        const FaceletCube good = randomCube(rng);
        FaceletCube f = good;
        rotateCorner(f, DBL);
        int corrections = 0;
        EXPECT_FALSE(f.checkAll(&corrections));
        EXPECT_EQ(corrections, kCorrectedTwist);
        EXPECT_TRUE(isReachable(f));
        for (int x = 0; x < kFacelets; ++x) {
            const bool touched = x == 8 || x == 9 || x == 20 || x == 33 || x == 53 || x == 42;
            if (!touched) {
                EXPECT_EQ(f.f[x], good.f[x]) << "facelet " << x;
            }
        }
    }
}

TEST(FaceletCheck, TwistAndFlipAreCorrectedInThatOrder) {
    std::mt19937 rng(4);
    for (int i = 0; i < 50; ++i) {
        FaceletCube f = randomCube(rng);
        rotateCorner(f, URF);
        flipEdge(f, BR);
        int corrections = 0;
        EXPECT_FALSE(f.checkFacelet(0, false, &corrections));
        EXPECT_EQ(Told{corrections}.texts(), (std::vector<std::string>{
                                       "Twist Error. The twist of the URF-Corner will be changed.",
                                       "Flip Error. The flip of the UF-Corner will be changed."}));
        EXPECT_EQ(corrections, kCorrectedTwist | kCorrectedFlip);
        EXPECT_TRUE(isReachable(f));
    }
}

TEST(FaceletCheck, FlippedUfEdgeIsFlippedBack) {
    std::mt19937 rng(5);
    const FaceletCube good = randomCube(rng);
    FaceletCube f = good;
    flipEdge(f, UF);
    EXPECT_FALSE(f.checkAll());
    EXPECT_EQ(f, good);
}

TEST(FaceletCheck, ParityErrorExchangesUfAndDf) {
    std::mt19937 rng(6);
    for (int i = 0; i < 50; ++i) {
        FaceletCube f = randomCube(rng);
        swapEdges(f, UR, BL);
        FaceletCube expected = f;
        swapEdges(expected, UF, DF);
        int corrections = 0;
        EXPECT_FALSE(f.checkFacelet(30, false, &corrections));
        EXPECT_EQ(Told{corrections}.texts(),
                  std::vector<std::string>{"Parity Error. The UF-Edge and the DF-Edge will be exchanged."});
        EXPECT_EQ(corrections, kCorrectedParity);
        EXPECT_EQ(f, expected);
        EXPECT_TRUE(isReachable(f));
    }
}

TEST(FaceletCheck, QuietFormCorrectsWithoutMessages) {
    std::mt19937 rng(7);
    FaceletCube f = randomCube(rng);
    rotateCorner(f, DRB);
    flipEdge(f, DL);
    swapEdges(f, UR, UL);
    int corrections = 0;
    // Only the last facelet ends the quiet form with the global corrections (its callers
    // tell nobody).
    const FaceletCube before = f;
    EXPECT_TRUE(f.checkFacelet(52, true, &corrections));
    EXPECT_EQ(f, before);
    EXPECT_FALSE(f.checkFacelet(53, true, &corrections));
    EXPECT_EQ(corrections, kCorrectedTwist | kCorrectedFlip | kCorrectedParity);
    EXPECT_TRUE(isReachable(f));
}

TEST(FaceletCheck, OneOpenCornerStillGetsTheParityTest) {
    std::mt19937 rng(8);
    FaceletCube f = randomCube(rng);
    swapEdges(f, UR, UB);
    clearCorner(f, DBL);
    Told told;
    f.checkFacelet(5, false, &told.corrections);
    EXPECT_EQ(told.texts(),
              std::vector<std::string>{"Parity Error. The UF-Edge and the DF-Edge will be exchanged."});
    for (auto x : kCornerFacelet[DBL]) EXPECT_EQ(f.f[x], kUndefinedFacelet);

    FaceletCube g = randomCube(rng);
    swapEdges(g, UR, UB);
    clearCorner(g, DBL);
    clearCorner(g, ULB);
    const FaceletCube before = g;
    Told none;
    EXPECT_TRUE(g.checkFacelet(5, false, &none.corrections));
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(g, before);
}

TEST(FaceletCheck, NoGlobalCorrectionWhilePiecesArePartlyDefined) {
    FaceletCube f;
    rotateCorner(f, URF);
    f.f[kEdgeFacelet[UB][0]] = kUndefinedFacelet;
    const FaceletCube before = f;
    Told told;
    EXPECT_TRUE(f.checkFacelet(30, false, &told.corrections));
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(f, before);
}

TEST(FaceletCheck, CentreFaceletChangesNothing) {
    FaceletCube f;
    EXPECT_TRUE(f.checkFacelet(4, true));
    EXPECT_TRUE(f.checkFacelet(13, false));
    EXPECT_EQ(f, FaceletCube());
}

// ---- one piece --------------------------------------------------------------------------

TEST(FaceletCheckPiece, PlainColourRemovesMarksAndReferenceMarks) {
    FaceletCube f;
    f.f[7] = U + kMarkOffset;
    f.f[19] = F + kMarkOffset;
    f.f[7] = U;  // painted plain
    f.checkFacelet(7, false);
    EXPECT_EQ(f.f[19], F);

    f.f[19] = kReferenceMark;
    f.checkFacelet(7, false);
    EXPECT_EQ(f.f[7], U);
    EXPECT_EQ(f.f[19], kUndefinedFacelet);
}

TEST(FaceletCheckPiece, MarkedColourMarksTheWholePiece) {
    FaceletCube f;
    f.f[8] = U + kMarkOffset;
    f.checkFacelet(8, false);
    EXPECT_EQ(f.f[9], R + kMarkOffset);
    EXPECT_EQ(f.f[20], F + kMarkOffset);
    EXPECT_EQ(f.f[7], U);  // other pieces untouched
}

TEST(FaceletCheckPiece, ReferenceMarkClearsTheRestOfThePiece) {
    FaceletCube f;
    f.f[8] = kReferenceMark;
    EXPECT_FALSE(f.checkFacelet(8, false));
    EXPECT_EQ(f.f[8], kReferenceMark);
    EXPECT_EQ(f.f[9], kUndefinedFacelet);
    EXPECT_EQ(f.f[20], kUndefinedFacelet);
}

TEST(FaceletCheckPiece, SecondCubieWithTheSameColoursClearsTheOlderOne) {
    // Paint the DRB position with the URF cubie's colours.
    FaceletCube f;
    f.f[35] = U;
    f.f[17] = R;
    f.f[51] = F;
    FaceletCube quiet = f;
    Told told;
    EXPECT_FALSE(f.checkFacelet(35, false, &told.corrections));
    for (auto x : kCornerFacelet[URF]) EXPECT_EQ(f.f[x], kUndefinedFacelet);
    EXPECT_EQ(f.f[35], U);
    EXPECT_EQ(f.f[17], R);
    EXPECT_EQ(f.f[51], F);
    // The open URF position now stands for DRB, an odd exchange of corners.
    EXPECT_EQ(told.texts(),
              std::vector<std::string>{"Parity Error. The UF-Edge and the DF-Edge will be exchanged."});

    EXPECT_FALSE(quiet.checkFacelet(35, true));
    EXPECT_EQ(quiet.f[35], kUndefinedFacelet);
    for (auto x : kCornerFacelet[URF]) EXPECT_NE(quiet.f[x], kUndefinedFacelet);
}

TEST(FaceletCheckPiece, DuplicateEdgeClearsTheOlderOne) {
    FaceletCube f;
    f.f[34] = R;  // DB position painted with the UR cubie, flipped
    f.f[52] = U;
    EXPECT_FALSE(f.checkFacelet(52, false));
    EXPECT_EQ(f.f[5], kUndefinedFacelet);
    EXPECT_EQ(f.f[10], kUndefinedFacelet);
    EXPECT_EQ(f.f[34], R);
}

TEST(FaceletCheckPiece, ImpossibleCornerClearsItsOtherFacelets) {
    FaceletCube f;
    f.f[9] = D;  // R0 of URF: U and D on one corner
    EXPECT_FALSE(f.checkFacelet(9, false));
    EXPECT_EQ(f.f[8], kUndefinedFacelet);
    EXPECT_EQ(f.f[9], D);
    EXPECT_EQ(f.f[20], kUndefinedFacelet);

    FaceletCube q;
    q.f[9] = D;
    EXPECT_FALSE(q.checkFacelet(9, true));
    EXPECT_EQ(q.f[8], U);
    EXPECT_EQ(q.f[9], kUndefinedFacelet);
    EXPECT_EQ(q.f[20], F);
}

TEST(FaceletCheckPiece, ImpossibleEdgeIsCleared) {
    FaceletCube f;  // the UR position showing two opposite colours
    f.f[5] = R;
    f.f[10] = L;
    EXPECT_FALSE(f.checkFacelet(10, false));
    EXPECT_EQ(f.f[5], kUndefinedFacelet);
    EXPECT_EQ(f.f[10], L);
    FaceletCube q;
    q.f[5] = R;
    q.f[10] = L;
    EXPECT_FALSE(q.checkFacelet(10, true));
    EXPECT_EQ(q.f[5], R);
    EXPECT_EQ(q.f[10], kUndefinedFacelet);
}

TEST(FaceletCheckPiece, TwoFaceletsOfACornerFillInTheThird) {
    FaceletCube f;
    clearCorner(f, URF);
    f.f[8] = U;
    EXPECT_TRUE(f.checkFacelet(8, false));
    EXPECT_EQ(f.f[20], kUndefinedFacelet);
    f.f[9] = R;
    EXPECT_FALSE(f.checkFacelet(9, false));
    EXPECT_EQ(f.f[20], F);
    EXPECT_EQ(f, FaceletCube());

    // Marked: the filled facelet is marked when its cyclic successor is.
    FaceletCube m;
    clearCorner(m, URF);
    m.f[8] = U + kMarkOffset;
    m.checkFacelet(8, false);
    m.f[9] = R + kMarkOffset;
    m.checkFacelet(9, false);
    EXPECT_EQ(m.f[20], F + kMarkOffset);

    // The quiet form fills nothing in.
    FaceletCube q;
    clearCorner(q, URF);
    q.f[8] = U;
    q.f[9] = R;
    EXPECT_TRUE(q.checkFacelet(9, true));
    EXPECT_EQ(q.f[20], kUndefinedFacelet);
}

TEST(FaceletCheckPiece, TwoFaceletsMatchingNoCornerClearTheCorner) {
    FaceletCube f;
    clearCorner(f, URF);
    f.f[8] = U;
    f.f[9] = D;
    EXPECT_FALSE(f.checkFacelet(9, false));
    EXPECT_EQ(f.f[8], kUndefinedFacelet);
    EXPECT_EQ(f.f[9], D);
    FaceletCube q;
    clearCorner(q, URF);
    q.f[8] = U;
    q.f[9] = D;
    EXPECT_FALSE(q.checkFacelet(9, true));
    EXPECT_EQ(q.f[8], U);
    EXPECT_EQ(q.f[9], kUndefinedFacelet);
}

// ---- properties over many random cubes ----------------------------------------------------

// The checking form either leaves undefined facelets behind or a cube a real cube can show,
// and a second run finds nothing more to change.
TEST(FaceletCheckProperty, CheckingFormLeavesHolesOrAReachableCube) {
    std::mt19937 rng(9);
    int reachable = 0, holes = 0;
    for (int i = 0; i < 2000; ++i) {
        FaceletCube f = randomCube(rng);
        // Faults a real cube cannot show (twists, flips, odd exchanges) and plain recolouring.
        const int changes = 1 + int(rng() % 4);
        for (int k = 0; k < changes; ++k) {
            switch (rng() % 5) {
                case 0: rotateCorner(f, int(rng() % 8)); break;
                case 1: flipEdge(f, int(rng() % 12)); break;
                case 2: swapEdges(f, int(rng() % 12), int(rng() % 12)); break;
                case 3: {
                    const int a = int(rng() % 8), b = int(rng() % 8);
                    for (int j = 0; j < 3; ++j) std::swap(f.f[kCornerFacelet[a][j]], f.f[kCornerFacelet[b][j]]);
                    break;
                }
                default: {
                    int p = int(rng() % 54);
                    if (p % 9 == 4) ++p;
                    f.f[p] = std::uint8_t(rng() % 6);
                }
            }
        }
        const FaceletCube before = f;
        const bool unchanged = f.checkAll();
        EXPECT_EQ(unchanged, f == before);
        if (f.isComplete()) {
            ++reachable;
            EXPECT_TRUE(isReachable(f)) << before.faceletString();
            EXPECT_TRUE(f.checkAll());
        } else {
            ++holes;
        }
    }
    EXPECT_GT(reachable, 500);
    EXPECT_GT(holes, 200);
}

// Painting one facelet with the fix on leaves either a cube with holes or a reachable one.
TEST(FaceletCheckProperty, EditingFormKeepsCompleteCubesReachable) {
    std::mt19937 rng(10);
    int complete = 0;
    for (int i = 0; i < 2000; ++i) {
        FaceletCube f = randomCube(rng);
        int p = int(rng() % 54);
        if (p % 9 == 4) ++p;
        f.f[p] = std::uint8_t(rng() % 6);
        Told told;
        f.checkFacelet(p, false, &told.corrections);
        if (f.isComplete()) {
            ++complete;
            EXPECT_TRUE(isReachable(f));
        }
    }
    EXPECT_GT(complete, 100);
}

}  // namespace
}  // namespace tx
