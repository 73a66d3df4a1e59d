// The Mersenne Twister with its seeding, and uniformly random cubes.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "cube/facelet_cube.hpp"
#include "cube/random.hpp"

namespace tx {
namespace {

// The usual initialisation of MT19937 (as std::mt19937 does it), to compare the generation
// with the standard library's engine from the same words.
MersenneTwister::State standardInit(std::uint32_t seed) {
    MersenneTwister::State s{};
    s[0] = seed;
    for (std::uint32_t i = 1; i < 624; ++i) s[i] = 1812433253u * (s[i - 1] ^ (s[i - 1] >> 30)) + i;
    return s;
}

TEST(MersenneTwister, SeedingFillsTheStateWith69069Powers) {
    const MersenneTwister g(1);
    EXPECT_EQ(g.state()[0], 1u);
    EXPECT_EQ(g.state()[1], 69069u);
    EXPECT_EQ(g.state()[2], 475559465u);  // 69069^2 = 4770526761, less 2^32
    EXPECT_EQ(g.index(), 624);
    const MersenneTwister h(0xDEADBEEF);
    for (int i = 1; i < 624; ++i) ASSERT_EQ(h.state()[i], std::uint32_t(69069ull * h.state()[i - 1] % 4294967296ull));
}

TEST(MersenneTwister, FirstDrawRegeneratesTheBlock) {
    MersenneTwister g(1);
    const auto before = g.state();
    g.next();
    EXPECT_EQ(g.index(), 1);
    int changed = 0;
    for (int i = 0; i < 624; ++i) changed += g.state()[i] != before[i];
    EXPECT_GT(changed, 600);
    for (int i = 1; i < 624; ++i) g.next();
    EXPECT_EQ(g.index(), 624);
    const auto block = g.state();
    g.next();
    EXPECT_EQ(g.index(), 1);
    EXPECT_NE(g.state(), block);
}

TEST(MersenneTwister, GenerationAndTemperingAreMT19937) {
    for (std::uint32_t seed : {5489u, 1u, 4357u, 0xFFFFFFFFu}) {
        MersenneTwister g = MersenneTwister::fromState(standardInit(seed));
        std::mt19937 reference(seed);
        for (int i = 0; i < 2000; ++i) ASSERT_EQ(g.next(), reference()) << "seed " << seed << " draw " << i;
    }
    // The 10000th number of the default-seeded engine is fixed by the C++ standard.
    MersenneTwister g = MersenneTwister::fromState(standardInit(5489u));
    std::uint32_t x = 0;
    for (int i = 0; i < 10000; ++i) x = g.next();
    EXPECT_EQ(x, 4123659995u);
}

TEST(MersenneTwister, SameSeedSameNumbers) {
    MersenneTwister a(12345), b(12345), c(12346);
    int same = 0;
    for (int i = 0; i < 1000; ++i) {
        const std::uint32_t x = a.next();
        ASSERT_EQ(x, b.next());
        same += x == c.next();
    }
    EXPECT_LT(same, 3);
}

TEST(MersenneTwister, BelowScalesTheDrawDown) {
    MersenneTwister a(7), b(7);
    for (int i = 0; i < 1000; ++i) {
        const std::uint32_t r = a.next();
        const std::uint32_t n = 1 + std::uint32_t(i) * 479001u;
        const std::uint32_t v = b.below(n);
        ASSERT_LT(v, n);
        // v = floor(r / 2^32 * n): v <= r * n / 2^32 < v + 1.
        const unsigned __int128 rn = static_cast<unsigned __int128>(r) * n;
        ASSERT_LE(static_cast<unsigned __int128>(v) << 32, rn);
        ASSERT_GT(static_cast<unsigned __int128>(v + 1) << 32, rn);
    }
}

TEST(MersenneTwister, TimeOfDaySeedIsWithinADay) {
    EXPECT_LT(MersenneTwister::timeOfDaySeed(), 24u * 60 * 60 * 1000);
}

// ---- random cubes -------------------------------------------------------------------------

TEST(RandomCube, FiveDrawsInOrderThenParityRepairs) {
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        MersenneTwister g(seed), draws(seed);
        const CubieCube c = randomCubie(g);
        const int corner = int(draws.below(40320));
        const int twist = int(draws.below(2187));
        const std::uint32_t edge = draws.below(479001600);
        const int flip = int(draws.below(2048));
        const int centres = int(draws.below(4096));
        EXPECT_EQ(g.next(), draws.next()) << "exactly five numbers are drawn";
        // The repairs exchange cubies only: orientations stay as drawn.
        EXPECT_EQ(c.twist(), twist);
        EXPECT_EQ(c.flip(), flip);
        EXPECT_EQ(c.centerOri(), centres);
        CubieCube drawn = CubieCube::fromCoordinates(corner, twist, edge, flip, centres);
        if (drawn.cornerParityEven() != drawn.centerSumEven()) std::swap(drawn.corners[URF].c, drawn.corners[UFL].c);
        EXPECT_EQ(c.corners, drawn.corners);
        // The edges are the drawn ones, or with UR and UF exchanged.
        CubieCube swapped = CubieCube::fromCoordinates(corner, twist, edge, flip, centres);
        std::swap(swapped.edges[UR].c, swapped.edges[UF].c);
        EXPECT_TRUE(c.edges == drawn.edges || c.edges == swapped.edges);
        EXPECT_EQ(c.cornerParityEven(), c.centerSumEven());
        EXPECT_EQ(c.edgeParityEven(), c.cornerParityEven());
    }
}

TEST(RandomCube, PassesEveryCheckUnchanged) {
    MersenneTwister g(2024);
    for (int i = 0; i < 1000; ++i) {
        FaceletCube c;
        c.centersCount = i % 2;
        c.f[4] = 5;  // a stray centre facelet is put home
        randomCube(c, g);
        EXPECT_EQ(c.centersCount, i % 2 == 1);
        EXPECT_TRUE(c.centersInPlace());
        ASSERT_TRUE(c.isComplete());
        FaceletCube checked = c;
        int corrections = -1;
        ASSERT_TRUE(checked.checkAll(&corrections)) << c.faceletString();
        EXPECT_EQ(corrections, 0);
        EXPECT_EQ(checked, c);
        const CubieCube cubies = c.toCubieCube();
        EXPECT_EQ(cubies.centerSumEven(), cubies.cornerParityEven());
    }
}

TEST(RandomCube, RoughlyUniform) {
    MersenneTwister g(99);
    constexpr int kCubes = 4000;
    int evenCorners = 0, urfHome = 0;
    std::array<int, 3> urfTwist{};
    std::array<int, 4> uCentre{};
    for (int i = 0; i < kCubes; ++i) {
        const CubieCube c = randomCubie(g);
        evenCorners += c.cornerParityEven();
        urfHome += c.corners[URF].c == URF;
        ++urfTwist[c.corners[URF].o];
        ++uCentre[c.centers[U].o];
    }
    EXPECT_NEAR(evenCorners, kCubes / 2, kCubes / 20);
    EXPECT_NEAR(urfHome, kCubes / 8, kCubes / 25);
    for (int n : urfTwist) EXPECT_NEAR(n, kCubes / 3, kCubes / 20);
    for (int n : uCentre) EXPECT_NEAR(n, kCubes / 4, kCubes / 20);
}

}  // namespace
}  // namespace tx
