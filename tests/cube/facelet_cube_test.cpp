#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "cube/facelet_cube.hpp"
#include "support/random_cubes.hpp"

namespace tx {
namespace {

CubieCube randomCubie(std::mt19937& rng) { return testing::randomCubie(rng, true); }
FaceletCube fromCubie(const CubieCube& c) { return testing::faceletCubeOf(c); }

const char* kSolvedString = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";

// ---- tables ---------------------------------------------------------------------------

TEST(FaceletTables, PiecesCoverEveryNonCentreFaceletOnce) {
    std::multiset<int> seen;
    for (const auto& c : kCornerFacelet)
        for (auto x : c) seen.insert(x);
    for (const auto& e : kEdgeFacelet)
        for (auto x : e) seen.insert(x);
    std::multiset<int> pieceList(kPieceListFacelet.begin(), kPieceListFacelet.end());
    for (int i = 0; i < kFacelets; ++i) {
        const int expected = (i % 9 == 4) ? 0 : 1;
        EXPECT_EQ(int(seen.count(i)), expected) << "facelet " << i;
        EXPECT_EQ(int(pieceList.count(i)), expected) << "facelet " << i;
    }
}

TEST(FaceletTables, HomeColoursAreTheFacesOfTheFacelets) {
    for (int k = 0; k < 8; ++k) {
        EXPECT_TRUE(kCornerFacelet[k][0] / 9 == U || kCornerFacelet[k][0] / 9 == D);
        for (int j = 0; j < 3; ++j) EXPECT_EQ(kCornerColor[k][j], kCornerFacelet[k][j] / 9);
    }
    for (int k = 0; k < 12; ++k)
        for (int j = 0; j < 2; ++j) EXPECT_EQ(kEdgeColor[k][j], kEdgeFacelet[k][j] / 9);
}

// ---- construction and text forms -----------------------------------------------------

TEST(FaceletCubeBasics, NewResetAndClear) {
    FaceletCube c;
    EXPECT_EQ(c.faceletString(), kSolvedString);
    EXPECT_FALSE(c.centersCount);
    EXPECT_TRUE(c.isComplete());
    c.turn(R);
    c.clear();
    for (int i = 0; i < kFacelets; ++i) EXPECT_EQ(c.f[i], i % 9 == 4 ? i / 9 : kUndefinedFacelet);
    EXPECT_EQ(c.centerOri, (std::array<std::uint8_t, 6>{}));
    EXPECT_FALSE(c.isComplete());
    EXPECT_TRUE(c.centersInPlace());
    c.turn(F);
    c.reset();
    EXPECT_EQ(c, FaceletCube());

    FaceletCube w = FaceletCube().withCenters({1, 2, 3, 0, 1, 2});
    EXPECT_TRUE(w.centersCount);
    EXPECT_EQ(w.centerOri, (std::array<std::uint8_t, 6>{1, 2, 3, 0, 1, 2}));
    EXPECT_EQ(w.f, FaceletCube().f);
}

TEST(FaceletString, ReaderSkipsOtherCharactersAndAcceptsLowerCase) {
    FaceletCube c;
    c.turn(U);
    const std::string s = c.faceletString();
    std::string noisy;
    for (std::size_t i = 0; i < s.size(); ++i) {
        noisy += (i % 2) ? char(s[i] - 'A' + 'a') : s[i];
        if (i % 5 == 0) noisy += " -9?";
    }
    FaceletCube r;
    EXPECT_EQ(r.readFaceletString(noisy), 54);
    EXPECT_EQ(r.f, c.f);
}

TEST(FaceletString, ShortTextLeavesTheRestUndefinedAndLongTextStopsAt54) {
    FaceletCube c;
    EXPECT_EQ(c.readFaceletString(std::string(kSolvedString).substr(0, 53)), 53);
    EXPECT_EQ(c.f[53], kUndefinedFacelet);
    EXPECT_FALSE(c.isComplete());
    // Centres keep their colour even when the text stops before them.
    EXPECT_EQ(c.readFaceletString("UUUU"), 4);
    EXPECT_EQ(c.f[4], U);
    EXPECT_EQ(c.f[13], R);
    EXPECT_EQ(c.f[5], kUndefinedFacelet);
    EXPECT_EQ(c.readFaceletString(std::string(kSolvedString) + "RRRR"), 54);
    EXPECT_EQ(c, FaceletCube());
    EXPECT_EQ(c.readFaceletString("UUU\nUUUUUU"), 3);
    EXPECT_EQ(c.readFaceletString("UUU\rUUUUUU"), 3);
}

TEST(FaceletString, WriterShowsOpenAndMarkedValues) {
    FaceletCube c;
    c.f[0] = kUndefinedFacelet;
    c.f[1] = R + kMarkOffset;
    c.f[2] = kReferenceMark;
    EXPECT_EQ(c.faceletString().substr(0, 4), "Nr*U");
}

TEST(PieceList, SolvedSpellsThePieceNames) {
    std::string names;
    for (auto n : kPieceListNames) names += std::string(n) + " ";
    EXPECT_EQ(FaceletCube().pieceList(), names);
    FaceletCube c;
    c.clear();
    EXPECT_EQ(c.readPieceList(names), 48);
    EXPECT_EQ(c, FaceletCube());
}

TEST(PieceList, RoundTripAndCentresUntouched) {
    std::mt19937 rng(3);
    for (int i = 0; i < 200; ++i) {
        FaceletCube c = fromCubie(randomCubie(rng));
        c.centerOri.fill(0);
        FaceletCube r;
        r.clear();
        EXPECT_EQ(r.readPieceList(c.pieceList()), 48);
        EXPECT_EQ(r, c);
    }
    FaceletCube c;
    c.f[7] = kUndefinedFacelet;   // UF edge, first facelet
    c.f[19] = F + kMarkOffset;    // UF edge, second facelet: written as nothing
    EXPECT_EQ(c.pieceList().substr(0, 6), "N UR U");
}

// ---- turns ----------------------------------------------------------------------------

TEST(FaceletTurn, PermutationsAreBijections) {
    for (int code = 0; code < kFaceletTurns; ++code) {
        const auto& p = FaceletCube::permutation(code);
        std::set<int> image(p.begin(), p.end());
        EXPECT_EQ(image.size(), 54u) << "code " << code;
    }
}

TEST(FaceletTurn, FourTurnsRestoreEverything) {
    std::mt19937 rng(11);
    for (int code = 0; code < kFaceletTurns; ++code) {
        FaceletCube c = fromCubie(randomCubie(rng));
        c.f[3] = kUndefinedFacelet;
        c.f[20] = L + kMarkOffset;
        c.f[30] = kReferenceMark;
        const FaceletCube start = c;
        std::array<int, 7> scheme = {10, 11, 12, 13, 14, 15, 16};
        for (int i = 0; i < 4; ++i) {
            c.turn(code);
            permuteScheme(scheme, FaceletCube::renaming(code));
            if (i < 3) {
                EXPECT_NE(c.f, start.f) << "code " << code;
            }
        }
        EXPECT_EQ(c, start) << "code " << code;
        EXPECT_EQ(scheme, (std::array<int, 7>{10, 11, 12, 13, 14, 15, 16}));
    }
}

TEST(FaceletTurn, FaceTurnTurnsOnlyItsOwnCentre) {
    for (int face = 0; face < 6; ++face) {
        FaceletCube c;
        for (int i = 1; i <= 4; ++i) {
            c.turn(face);
            for (int k = 0; k < 6; ++k) EXPECT_EQ(c.centerOri[k], k == face ? i % 4 : 0);
        }
    }
}

TEST(FaceletTurn, PreviousStateStaysReadable) {
    FaceletCube c;
    c.turn(R);
    const auto afterR = c.f;
    c.turn(U);
    EXPECT_EQ(c.previous, afterR);
}

TEST(FaceletTurn, RenamingFollowsTheMovedCentres) {
    for (int code = 0; code < kFaceletTurns; ++code) {
        const auto& p = FaceletCube::permutation(code);
        const auto& r = FaceletCube::renaming(code);
        for (int c = 0; c < 6; ++c) EXPECT_EQ(p[9 * c + 4], 9 * r[c] + 4) << "code " << code;
    }
}

TEST(FaceletTurn, RotationsKeepASolvedCubeSolvedAndPermuteTheScheme) {
    const int rot[3] = {kTurnX, kTurnY, kTurnZ};
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 3; ++b) {
            for (int d = 0; d < 3; ++d) {
                FaceletCube c;
                std::array<int, 7> scheme = {0, 1, 2, 3, 4, 5, 6};
                for (int code : {rot[a], rot[b], rot[d]}) {
                    c.turn(code);
                    permuteScheme(scheme, FaceletCube::renaming(code));
                }
                EXPECT_EQ(c, FaceletCube());
                EXPECT_EQ(scheme[6], 6);
            }
        }
    }
    // x moves the U centre to B: the colour shown for value B is the old U colour.
    std::array<int, 7> scheme = {0, 1, 2, 3, 4, 5, 6};
    permuteScheme(scheme, FaceletCube::renaming(kTurnX));
    EXPECT_EQ(scheme, (std::array<int, 7>{2, 1, 3, 5, 4, 0, 6}));
}

TEST(FaceletTurn, EThenDThenUPrimeIsSolvedWithTheSchemeRotated) {
    FaceletCube c;
    std::array<int, 7> scheme = {0, 1, 2, 3, 4, 5, 6};
    c.turn(kTurnE);
    permuteScheme(scheme, FaceletCube::renaming(kTurnE));
    EXPECT_NE(c.f, FaceletCube().f);
    c.turn(D);
    for (int i = 0; i < 3; ++i) c.turn(U);
    EXPECT_EQ(c, FaceletCube());
    EXPECT_EQ(scheme, (std::array<int, 7>{0, 2, 4, 3, 5, 1, 6}));
}

TEST(FaceletTurn, RotationsMoveCentreOrientationsAlong) {
    FaceletCube c = FaceletCube().withCenters({1, 2, 3, 0, 1, 2});
    c.turn(kTurnX);  // U takes F's, F takes D's, D takes B's, B takes U's
    EXPECT_EQ(c.centerOri, (std::array<std::uint8_t, 6>{3, 2, 0, 2, 1, 1}));
    c = FaceletCube().withCenters({1, 2, 3, 0, 1, 2});
    c.turn(kTurnE);  // U +1, D +3, then R takes F's, F takes L's, L takes B's, B takes R's
    EXPECT_EQ(c.centerOri, (std::array<std::uint8_t, 6>{2, 3, 1, 3, 2, 2}));
    c = FaceletCube().withCenters({1, 2, 3, 0, 1, 2});
    c.turn(kTurnS);  // F +3, B +1, then R takes U's, D takes R's, L takes D's, U takes L's
    EXPECT_EQ(c.centerOri, (std::array<std::uint8_t, 6>{1, 1, 2, 2, 0, 3}));
}

TEST(FaceletTurn, XIsRAndLPrimeAndMPrimeOnTheFacelets) {
    std::mt19937 rng(5);
    for (int i = 0; i < 50; ++i) {
        FaceletCube a = fromCubie(randomCubie(rng)), b = a;
        a.turn(kTurnX);
        b.turn(R);
        for (int k = 0; k < 3; ++k) b.turn(L), b.turn(kTurnM);
        EXPECT_EQ(a.f, b.f);
    }
}

// Face turns on facelets and cubie moves describe the same cube.
TEST(FaceletTurn, FaceTurnsAgreeWithCubieMovesOnRandomCubes) {
    std::mt19937 rng(17);
    for (int i = 0; i < 300; ++i) {
        const CubieCube c = randomCubie(rng);
        for (int face = 0; face < 6; ++face) {
            FaceletCube f = fromCubie(c);
            f.turn(face);
            CubieCube expected = c;
            expected.applyAxis(face);
            EXPECT_EQ(f.toCubieCube(), expected) << "face " << face;
        }
    }
}

// Seen from the centres, E is U D' followed by the rotation y', M is R L' then x', and S is
// F' B then z: facelets, centre orientations and colour renaming alike.
TEST(FaceletTurn, MiddleLayersAreFacePairsAndARotation) {
    struct Pair {
        int middle, face, opposite, faceTimes, oppositeTimes, rotation;
    };
    const Pair pairs[3] = {{kTurnE, U, D, 1, 3, kTurnY},
                           {kTurnM, R, L, 1, 3, kTurnX},
                           {kTurnS, F, B, 3, 1, kTurnZ}};
    std::mt19937 rng(19);
    for (int i = 0; i < 100; ++i) {
        const FaceletCube start = fromCubie(randomCubie(rng)).withCenters(
            {std::uint8_t(rng() % 4), std::uint8_t(rng() % 4), std::uint8_t(rng() % 4),
             std::uint8_t(rng() % 4), std::uint8_t(rng() % 4), std::uint8_t(rng() % 4)});
        for (const Pair& p : pairs) {
            FaceletCube a = start, b = start;
            a.turn(p.middle);
            for (int t = 0; t < p.faceTimes; ++t) b.turn(p.face);
            for (int t = 0; t < p.oppositeTimes; ++t) b.turn(p.opposite);
            const int rotationTimes = p.middle == kTurnS ? 1 : 3;
            ColorRenaming r = {0, 1, 2, 3, 4, 5};
            for (int t = 0; t < rotationTimes; ++t) {
                b.turn(p.rotation);
                permuteScheme(r, FaceletCube::renaming(p.rotation));
            }
            EXPECT_EQ(a, b) << "turn " << p.middle;
            ColorRenaming m = {0, 1, 2, 3, 4, 5};
            permuteScheme(m, FaceletCube::renaming(p.middle));
            EXPECT_EQ(m, r) << "turn " << p.middle;
        }
    }
}

// ---- conversion to and from cubies ----------------------------------------------------

TEST(FaceletConversion, RoundTripsOnRandomCubes) {
    std::mt19937 rng(23);
    for (int i = 0; i < 1000; ++i) {
        CubieCube c = randomCubie(rng);
        c.centersCount = (i % 2) == 0;
        FaceletCube f = fromCubie(c);
        f.centersCount = c.centersCount;
        EXPECT_TRUE(f.isComplete());
        EXPECT_TRUE(f.centersInPlace());
        const CubieCube back = f.toCubieCube();
        EXPECT_EQ(back, c);
        EXPECT_EQ(back.centersCount, c.centersCount);
        FaceletCube again;
        again.setFromCubieCube(back);
        EXPECT_EQ(again.f, f.f);
    }
}

TEST(FaceletConversion, FaceletParityChecksAgreeWithCubieSums) {
    std::mt19937 rng(29);
    for (int i = 0; i < 1000; ++i) {
        CubieCube c = randomCubie(rng);
        int twist = 0, flip = 0;
        for (auto& p : c.corners) twist += p.o = std::uint8_t(rng() % 3);
        for (auto& p : c.edges) flip += p.o = std::uint8_t(rng() % 2);
        const FaceletCube f = fromCubie(c);
        EXPECT_EQ(f.cornerTwistValid(), twist % 3 == 0);
        EXPECT_EQ(f.edgeFlipValid(), flip % 2 == 0);
    }
}

TEST(FaceletConversion, OpenPiecesAreRecognisedAsOpen) {
    FaceletCube f;
    for (int j = 0; j < 3; ++j) f.f[kCornerFacelet[DBL][j]] = kUndefinedFacelet;
    for (int j = 0; j < 2; ++j) f.f[kEdgeFacelet[BR][j]] = kUndefinedFacelet;
    // One open position of each kind: the missing cubie is filled in, orientation stays open.
    CubieCube c = f.toCubieCube();
    EXPECT_EQ(c.corners[DBL], (Piece{DBL, kNoOri}));
    EXPECT_EQ(c.edges[BR], (Piece{BR, kNoOri}));

    // Reference marks: piece open, orientation from the marked facelet.
    f.f[kCornerFacelet[DBL][2]] = kReferenceMark;
    f.f[kEdgeFacelet[BR][1]] = kReferenceMark;
    for (int j = 0; j < 3; ++j) f.f[kCornerFacelet[ULB][j]] = kUndefinedFacelet;
    c = f.toCubieCube();
    EXPECT_EQ(c.corners[DBL], (Piece{kNoCorner, 2}));
    EXPECT_EQ(c.edges[BR], (Piece{BR, 1}));  // the only open edge is completed
    EXPECT_EQ(c.corners[ULB], (Piece{kNoCorner, kNoOri}));

    // Marked pieces: identity known, orientation open.
    FaceletCube m;
    for (int j = 0; j < 3; ++j) m.f[kCornerFacelet[UFL][j]] += kMarkOffset;
    for (int j = 0; j < 2; ++j) m.f[kEdgeFacelet[FL][j]] += kMarkOffset;
    c = m.toCubieCube();
    EXPECT_EQ(c.corners[UFL], (Piece{UFL, kNoOri}));
    EXPECT_EQ(c.edges[FL], (Piece{FL, kNoOri}));
    EXPECT_EQ(c.totalTwist(), 0);
    EXPECT_EQ(c.totalFlip(), 0);
}

TEST(FaceletConversion, TwoOpenCornersStayOpen) {
    FaceletCube f;
    for (int k : {URF, DRB})
        for (int j = 0; j < 3; ++j) f.f[kCornerFacelet[k][j]] = kUndefinedFacelet;
    const CubieCube c = f.toCubieCube();
    EXPECT_EQ(c.corners[URF].c, kNoCorner);
    EXPECT_EQ(c.corners[DRB].c, kNoCorner);
    EXPECT_TRUE(c.hasUndeterminedCubie());
}

TEST(FaceletConversion, CornerWithoutUOrDColourIsLeftUnrecognised) {
    FaceletCube f;
    f.turn(R);
    const auto& urf = kCornerFacelet[URF];
    f.f[urf[0]] = F;
    f.f[urf[1]] = R;
    f.f[urf[2]] = B;
    const CubieCube c = f.toCubieCube();
    EXPECT_EQ(c.corners[URF], (Piece{URF, 0}));  // as a new cubie cube has it
}

TEST(FaceletConversion, PartialCubieCubesComeBackAsOpenFacelets) {
    CubieCube c;
    c.corners[DLF] = {kNoCorner, 1};
    c.corners[DRB] = {DRB, kNoOri};
    c.edges[DB] = {kNoEdge, kNoOri};
    c.edges[DR] = {DR, kNoOri};
    FaceletCube f;
    f.setFromCubieCube(c);
    EXPECT_EQ(f.f[kCornerFacelet[DLF][1]], kReferenceMark);
    EXPECT_EQ(f.f[kCornerFacelet[DLF][0]], kUndefinedFacelet);
    EXPECT_EQ(f.f[kCornerFacelet[DRB][0]], D + kMarkOffset);
    EXPECT_EQ(f.f[kEdgeFacelet[DB][0]], kUndefinedFacelet);
    EXPECT_EQ(f.f[kEdgeFacelet[DR][1]], R + kMarkOffset);
    const CubieCube back = f.toCubieCube();
    EXPECT_EQ(back.corners[DLF], (Piece{DLF, 1}));  // the one open corner is completed
    EXPECT_EQ(back.corners[DRB], (Piece{DRB, kNoOri}));
    EXPECT_EQ(back.edges[DB], (Piece{DB, kNoOri}));
    EXPECT_EQ(back.edges[DR], (Piece{DR, kNoOri}));
}

}  // namespace
}  // namespace tx
