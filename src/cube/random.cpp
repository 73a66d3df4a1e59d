#include "cube/random.hpp"

#include <chrono>
#include <utility>

namespace tx {

MersenneTwister::MersenneTwister(std::uint32_t seed) {
    mt_[0] = seed;
    for (int i = 1; i < kWords; ++i) mt_[i] = 69069u * mt_[i - 1];  // wraps mod 2^32
    index_ = kWords;
}

MersenneTwister MersenneTwister::fromState(const State& words) {
    MersenneTwister g;
    g.mt_ = words;
    g.index_ = kWords;
    return g;
}

void MersenneTwister::regenerate() {
    constexpr int kShift = 397;
    constexpr std::uint32_t kMatrix = 0x9908B0DFu, kUpper = 0x80000000u, kLower = 0x7FFFFFFFu;
    for (int i = 0; i < kWords; ++i) {
        const std::uint32_t y = (mt_[i] & kUpper) | (mt_[(i + 1) % kWords] & kLower);
        mt_[i] = mt_[(i + kShift) % kWords] ^ (y >> 1) ^ ((y & 1u) ? kMatrix : 0u);
    }
    index_ = 0;
}

std::uint32_t MersenneTwister::next() {
    if (index_ >= kWords) regenerate();
    std::uint32_t y = mt_[index_++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

std::uint32_t MersenneTwister::below(std::uint32_t n) {
    // r / 2^32 * n without floating point, whose rounding can reach n's next integer.
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(next()) * n) >> 32);
}

std::uint32_t MersenneTwister::timeOfDaySeed() {
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto ms = duration_cast<milliseconds>(now).count() % (24LL * 60 * 60 * 1000);
    return static_cast<std::uint32_t>(ms);
}

CubieCube randomCubie(MersenneTwister& rng) {
    const int cornerPerm = static_cast<int>(rng.below(40320));
    const int twist = static_cast<int>(rng.below(2187));
    const std::uint32_t edgePerm = rng.below(479001600);
    const int flip = static_cast<int>(rng.below(2048));
    const int centerOri = static_cast<int>(rng.below(4096));
    CubieCube c = CubieCube::fromCoordinates(cornerPerm, twist, edgePerm, flip, centerOri);
    // Every quarter turn changes the corner parity and the centre sum by one: make them agree.
    if (c.cornerParityEven() != c.centerSumEven()) std::swap(c.corners[URF].c, c.corners[UFL].c);
    // Corner and edge permutations change parity together.
    if (c.edgeParityEven() != c.cornerParityEven()) std::swap(c.edges[UR].c, c.edges[UF].c);
    return c;
}

void randomCube(FaceletCube& cube, MersenneTwister& rng) {
    cube.setFromCubieCube(randomCubie(rng));
    for (int face = 0; face < 6; ++face) cube.f[9 * face + 4] = static_cast<std::uint8_t>(face);
}

}  // namespace tx
