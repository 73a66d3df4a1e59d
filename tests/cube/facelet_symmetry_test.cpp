// The basic symmetries on facelet cubes, the 48 images and the isomorphism test.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "cube/cubie_cube.hpp"
#include "cube/facelet_cube.hpp"
#include "cube/facelet_symmetry.hpp"
#include "cube/symmetry.hpp"

namespace tx {
namespace {

// A reachable cube with its centre orientations, on the cubie level.
CubieCube scrambledCubies(std::mt19937& rng) {
    CubieCube c;
    for (int i = 0; i < 40; ++i) c.applyMove(int(rng() % kMoves));
    return c;
}

FaceletCube facelets(const CubieCube& c, bool centersCount = false) {
    FaceletCube f;
    f.setFromCubieCube(c);
    f.centersCount = centersCount;
    return f;
}

FaceletCube scrambled(std::mt19937& rng, bool centersCount = false) {
    return facelets(scrambledCubies(rng), centersCount);
}

// Where basic symmetry s sends facelet i: the one facelet left undefined is found again.
int imageOf(int i, int s) {
    FaceletCube probe;
    probe.f[i] = kUndefinedFacelet;
    applyBasicSymmetry(probe, s);
    for (int j = 0; j < kFacelets; ++j)
        if (probe.f[j] == kUndefinedFacelet) return j;
    return -1;
}

// ---- the four basic symmetries ----------------------------------------------------------

TEST(FaceletSymmetry, SolvedCubeStaysSolved) {
    for (int s = 0; s < 4; ++s) {
        FaceletCube c;
        applyBasicSymmetry(c, s);
        EXPECT_EQ(c, FaceletCube()) << s;
    }
}

TEST(FaceletSymmetry, OrdersRestoreFaceletsAndCentreOrientations) {
    std::mt19937 rng(31);
    const int order[4] = {3, 2, 4, 2};
    for (int trial = 0; trial < 200; ++trial) {
        const FaceletCube start = scrambled(rng, true);
        for (int s = 0; s < 4; ++s) {
            FaceletCube c = start;
            for (int i = 1; i < order[s]; ++i) {
                applyBasicSymmetry(c, s);
                EXPECT_NE(c, start) << "s=" << s << " after " << i;  // a random cube has no symmetry
            }
            applyBasicSymmetry(c, s);
            ASSERT_EQ(c, start) << "s=" << s;
        }
    }
}

TEST(FaceletSymmetry, PermutationsAsTabled) {
    // 0: the 3-cycles U0 -> R8 -> F6 and D0 -> L0 -> B6; 3: U0 <-> U2, R0 <-> L2, R1 <-> L1.
    EXPECT_EQ(imageOf(0, 0), 9 + 8);
    EXPECT_EQ(imageOf(9 + 8, 0), 18 + 6);
    EXPECT_EQ(imageOf(18 + 6, 0), 0);
    EXPECT_EQ(imageOf(27 + 0, 0), 36 + 0);
    EXPECT_EQ(imageOf(36 + 0, 0), 45 + 6);
    EXPECT_EQ(imageOf(0, 3), 2);
    EXPECT_EQ(imageOf(9 + 0, 3), 36 + 2);
    EXPECT_EQ(imageOf(9 + 1, 3), 36 + 1);
    EXPECT_EQ(imageOf(18 + 4, 3), 18 + 4);
    // 1 is z twice, 2 is y.
    for (int i = 0; i < kFacelets; ++i) {
        EXPECT_EQ(imageOf(i, 1), FaceletCube::permutation(kTurnZ)[FaceletCube::permutation(kTurnZ)[i]]);
        EXPECT_EQ(imageOf(i, 2), FaceletCube::permutation(kTurnY)[i]);
    }
}

TEST(FaceletSymmetry, RotationsAreTheFaceletTurns) {
    std::mt19937 rng(32);
    for (int trial = 0; trial < 100; ++trial) {
        const FaceletCube start = scrambled(rng, true);
        FaceletCube a = start, b = start;
        applyBasicSymmetry(a, 2);
        b.turn(kTurnY);
        EXPECT_EQ(a, b);
        a = start, b = start;
        applyBasicSymmetry(a, 1);
        b.turn(kTurnZ);
        b.turn(kTurnZ);
        EXPECT_EQ(a, b);
    }
}

TEST(FaceletSymmetry, CentreOrientations) {
    FaceletCube c;
    c.centerOri = {0, 1, 2, 3, 1, 2};  // U R F D L B
    FaceletCube r = c;
    applyBasicSymmetry(r, 0);  // U takes F's, R takes U's, F takes R's, D takes B's, L takes D's, B takes L's
    EXPECT_EQ(r.centerOri, (std::array<std::uint8_t, 6>{2, 0, 1, 2, 3, 1}));
    r = c;
    applyBasicSymmetry(r, 1);  // U and D exchange, R and L exchange
    EXPECT_EQ(r.centerOri, (std::array<std::uint8_t, 6>{3, 1, 2, 0, 1, 2}));
    r = c;
    applyBasicSymmetry(r, 2);  // R takes B's, F takes R's, L takes F's, B takes L's
    EXPECT_EQ(r.centerOri, (std::array<std::uint8_t, 6>{0, 2, 1, 3, 2, 1}));
    r = c;
    applyBasicSymmetry(r, 3);  // (4 - o) mod 4, R and L exchange
    EXPECT_EQ(r.centerOri, (std::array<std::uint8_t, 6>{0, 3, 2, 1, 3, 2}));
}

TEST(FaceletSymmetry, MarkedColoursFollowTheirPlainColourUndefinedAndReferenceStay) {
    std::mt19937 rng(33);
    for (int trial = 0; trial < 50; ++trial) {
        const FaceletCube plain = scrambled(rng);
        FaceletCube marked = plain;
        std::vector<int> kind(kFacelets, 0);  // 0 plain, 1 marked, 2 undefined, 3 reference
        for (int i = 0; i < kFacelets; ++i) {
            if (i % 9 == 4) continue;
            kind[i] = int(rng() % 4);
            if (kind[i] == 1) marked.f[i] = std::uint8_t(plain.f[i] + kMarkOffset);
            if (kind[i] == 2) marked.f[i] = kUndefinedFacelet;
            if (kind[i] == 3) marked.f[i] = kReferenceMark;
        }
        for (int s = 0; s < 4; ++s) {
            FaceletCube p = plain, m = marked;
            applyBasicSymmetry(p, s);
            applyBasicSymmetry(m, s);
            for (int i = 0; i < kFacelets; ++i) {
                const int j = imageOf(i, s);
                const int expected = kind[i] == 0   ? p.f[j]
                                     : kind[i] == 1 ? p.f[j] + kMarkOffset
                                     : kind[i] == 2 ? kUndefinedFacelet
                                                    : kReferenceMark;
                ASSERT_EQ(m.f[j], expected) << "s=" << s << " facelet " << i;
            }
        }
    }
}

// ---- the 48 images against the cubie level ---------------------------------------------

TEST(FaceletSymmetry, ImagesAgreeWithCubieConjugation) {
    // Image k is the cube seen after symmetry k: S_k^-1 * C * S_k on the cubie level.
    std::mt19937 rng(34);
    const auto& t = symmetries();
    for (int trial = 0; trial < 40; ++trial) {
        const CubieCube c = scrambledCubies(rng);
        const FaceletCube f = facelets(c);
        int visited = 0;
        forEachSymmetricImage(f, [&](int k, const FaceletCube& image) {
            EXPECT_EQ(k, visited++);
            EXPECT_EQ(image, facelets(conjugate(c, t.symInverse[k]))) << "k=" << k;
            EXPECT_EQ(image, symmetricImage(f, k)) << "k=" << k;
            return false;
        });
        EXPECT_EQ(visited, 48);
    }
}

TEST(FaceletSymmetry, ImagesOfARandomCubeAreAllDifferent) {
    std::mt19937 rng(35);
    const FaceletCube f = scrambled(rng, true);
    std::set<std::array<std::uint8_t, kFacelets>> seen;
    forEachSymmetricImage(f, [&](int, const FaceletCube& image) {
        seen.insert(image.f);
        return false;
    });
    EXPECT_EQ(seen.size(), 48u);
    // Visiting stops as soon as the visitor says so.
    int calls = 0;
    EXPECT_TRUE(forEachSymmetricImage(f, [&](int k, const FaceletCube&) {
        ++calls;
        return k == 5;
    }));
    EXPECT_EQ(calls, 6);
}

// ---- isomorphism ----------------------------------------------------------------------

TEST(Isomorphism, SolvedCubeAndItsImages) {
    const FaceletCube solved;
    EXPECT_TRUE(isomorphic(solved, solved, false, 1, false));  // at comparison 0
    for (int k = 0; k < 48; ++k) EXPECT_TRUE(isomorphic(solved, symmetricImage(solved, k), false, 0, false));
}

TEST(Isomorphism, EveryImageMatchesAtItsOwnComparisonNumber) {
    std::mt19937 rng(36);
    for (int trial = 0; trial < 10; ++trial) {
        const FaceletCube a = scrambled(rng);
        for (int k = 0; k < 48; ++k) {
            const FaceletCube b = symmetricImage(a, k);
            EXPECT_TRUE(isomorphic(a, b, false, 0, false)) << k;
            EXPECT_TRUE(isomorphic(b, a, false, 0, false)) << k;
            EXPECT_TRUE(isomorphic(a, b, false, std::uint64_t(1) << k, false)) << k;
            // Every other comparison is masked out: a random cube has no symmetry.
            const std::uint64_t allButK = 0xFFFFFFFFFFFFull & ~(std::uint64_t(1) << k);
            EXPECT_FALSE(isomorphic(a, b, false, allButK, false)) << k;
        }
    }
}

TEST(Isomorphism, MaskOfAGroupTable) {
    // D4h (row 7) holds 0..15: images 16..47 (URF-diagonal turns) are not found with it.
    std::mt19937 rng(37);
    const FaceletCube a = scrambled(rng);
    const std::uint64_t d4h = GroupMaskTable[7].mask;
    EXPECT_TRUE(isomorphic(a, symmetricImage(a, 13), false, d4h, false));
    EXPECT_FALSE(isomorphic(a, symmetricImage(a, 16), false, d4h, false));
    EXPECT_FALSE(isomorphic(a, symmetricImage(a, 47), false, d4h, false));
}

TEST(Isomorphism, DifferentCubesAreNotIsomorphic) {
    std::mt19937 rng(38);
    for (int trial = 0; trial < 20; ++trial) {
        const FaceletCube a = scrambled(rng), b = scrambled(rng);
        EXPECT_FALSE(isomorphic(a, b, false, 0, false));
    }
    FaceletCube r;
    r.turn(R);
    FaceletCube u;
    u.turn(U);
    EXPECT_TRUE(isomorphic(r, u, false, 0, false));  // a quarter turn is a quarter turn
    FaceletCube r2;
    r2.turn(R);
    r2.turn(R);
    EXPECT_FALSE(isomorphic(r, r2, false, 0, false));
}

TEST(Isomorphism, CentresCountFlagAndOrientations) {
    std::mt19937 rng(39);
    const FaceletCube a = scrambled(rng, true);
    FaceletCube b = symmetricImage(a, 21);
    EXPECT_TRUE(isomorphic(a, b, false, 0, false));
    b.centerOri[0] = std::uint8_t((b.centerOri[0] + 2) % 4);
    EXPECT_FALSE(isomorphic(a, b, false, 0, false));
    // Not counting, the orientations are not compared.
    FaceletCube a2 = a, b2 = b;
    a2.centersCount = b2.centersCount = false;
    EXPECT_TRUE(isomorphic(a2, b2, false, 0, false));
    // The flags must agree.
    FaceletCube b3 = symmetricImage(a, 21);
    b3.centersCount = false;
    EXPECT_FALSE(isomorphic(a, b3, false, 0, true));
}

TEST(Isomorphism, IgnoreEdges) {
    std::mt19937 rng(40);
    const FaceletCube a = scrambled(rng);
    // Two edges exchanged (a different cube, same corners).
    CubieCube c = a.toCubieCube();
    std::swap(c.edges[UR], c.edges[DB]);
    std::swap(c.edges[FR], c.edges[BL]);
    const FaceletCube b = symmetricImage(facelets(c), 30);
    EXPECT_FALSE(isomorphic(a, b, false, 0, false));
    EXPECT_TRUE(isomorphic(a, b, true, 0, false));
    EXPECT_TRUE(isomorphic(a, b, true, std::uint64_t(1) << 30, false));
    EXPECT_FALSE(isomorphic(a, b, true, std::uint64_t(1) << 29, false));
}

TEST(Isomorphism, InverseOnlyWithTheOption) {
    std::mt19937 rng(41);
    for (int trial = 0; trial < 20; ++trial) {
        const bool counts = trial % 2;
        const CubieCube c = scrambledCubies(rng);
        const FaceletCube a = facelets(c, counts);
        const FaceletCube inv = symmetricImage(facelets(c.inverse(), counts), trial % 48);
        EXPECT_FALSE(isomorphic(a, inv, false, 0, false));
        EXPECT_TRUE(isomorphic(a, inv, false, 0, true));
        EXPECT_TRUE(isomorphic(inv, a, false, 0, true));
        FaceletCube computed;
        ASSERT_TRUE(inverseCube(a, computed));
        EXPECT_EQ(computed, facelets(c.inverse(), counts));
    }
}

TEST(Isomorphism, PartialCubeHasNoInverseToCompare) {
    std::mt19937 rng(42);
    const FaceletCube a = scrambled(rng);
    FaceletCube partial = a;
    partial.clear();
    FaceletCube out;
    EXPECT_FALSE(inverseCube(partial, out));
    EXPECT_FALSE(isomorphic(a, partial, false, 0, true));
    EXPECT_TRUE(isomorphic(partial, partial, false, 0, true));
    // A cube with a repeated piece has no inverse either.
    FaceletCube twice = FaceletCube();
    twice.f[kEdgeFacelet[UF][0]] = U;
    twice.f[kEdgeFacelet[UF][1]] = R;  // a second UR edge
    EXPECT_FALSE(inverseCube(twice, out));
}

}  // namespace
}  // namespace tx
