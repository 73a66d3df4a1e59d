#pragma once
// The 48 cube symmetries, k = 16a + 8f + 2u + r (a: URF-DBL third turns, f: F-B half turn,
// u: U-D quarter turns, r: R-L reflection). 0..15 keep the U-D axis. Built once, read-only after.
#include <array>
#include <cstdint>
#include <string_view>

#include "cube/cubie_cube.hpp"

namespace tx {

constexpr int kSymmetries = 48;
constexpr int kUdSymmetries = 16;
constexpr int kSymUrf3 = 16;  // the 120-degree rotation about the URF-DBL diagonal

struct SymmetryTables {
    std::array<CubieCube, kSymmetries> symCube;
    std::array<std::uint8_t, kSymmetries> symInverse{};
    std::array<std::array<std::uint8_t, kSymmetries>, kSymmetries> symProduct{};
    std::array<std::array<std::uint8_t, kMoves>, kSymmetries> symMoveConj{};
};

// Built on first use (thread-safe), then shared.
const SymmetryTables& symmetries();

// S_k * cube * S_k^-1 (corners, edges and centres).
CubieCube conjugate(const CubieCube& cube, int k);

struct GroupRow {
    std::string_view name;
    int order;
    std::uint64_t mask;
};
extern const std::array<GroupRow, 35> GroupMaskTable;
// Row whose mask equals mask, or -1.
int groupRowOfMask(std::uint64_t mask);

}  // namespace tx
