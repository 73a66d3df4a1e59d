#pragma once
// The process-wide random numbers (MT19937 with a time-of-day seed) and uniformly random cubes.
#include <array>
#include <cstdint>

#include "cube/cubie_cube.hpp"
#include "cube/facelet_cube.hpp"

namespace tx {

class MersenneTwister {
public:
    static constexpr int kWords = 624;
    using State = std::array<std::uint32_t, kWords>;

    // Word 0 = seed, word i = 69069 * word i-1 (mod 2^32); the first draw regenerates the block.
    explicit MersenneTwister(std::uint32_t seed);
    // A generator continuing from a given block of words, about to regenerate it.
    static MersenneTwister fromState(const State& words);

    std::uint32_t next();
    // floor(next() / 2^32 * n), computed exactly in integers.
    std::uint32_t below(std::uint32_t n);

    const State& state() const { return mt_; }
    int index() const { return index_; }

    // Milliseconds since midnight UTC: ((h * 60 + m) * 60 + s) * 1000 + ms.
    static std::uint32_t timeOfDaySeed();

private:
    MersenneTwister() = default;
    void regenerate();

    State mt_{};
    int index_ = kWords;
};

// A cube drawn uniformly from all cubes, centre orientations included: five coordinates
// (corner permutation, twist, full edge permutation, flip, centre orientations), then the
// two parity repairs that make it reachable.
CubieCube randomCubie(MersenneTwister& rng);

// Sets the corners, edges and the six centre orientations of `cube` to a random cube; the
// centre facelets are put home, the centres-count flag is kept.
void randomCube(FaceletCube& cube, MersenneTwister& rng);

}  // namespace tx
