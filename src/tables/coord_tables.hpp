#pragma once
// Coordinates of the table-driven searches: symmetry-reduced classes, move tables and
// conjugation tables. Flat arrays indexed by coordinate arithmetic; rows of 27 move columns
// (3 * axis + power - 1) or 16 symmetry columns. Built once by the loader, then shared
// read-only by every search (tables/table_set.hpp).
#include <cstdint>
#include <vector>

#include "cube/cubie_cube.hpp"
#include "tables/huge_pages.hpp"
#include "tables/table_index.hpp"

namespace tx {

// The moves of the phase-2 group: quarter turns of U and D (and Us) and half turns otherwise.
constexpr bool isPhase2Move(int m) {
    int axis = m / 3, power = m % 3 + 1;
    return axis == 0 || axis == 3 || axis == 6 || power == 2;
}

struct CoordTables {
    // Representatives and class lookups.
    std::vector<std::uint32_t> flipSliceRep;    // 64430 raw flipSlice values, ascending
    std::vector<std::uint16_t> sliceSortedRep;  // 788, ascending
    std::vector<std::uint16_t> cornerRep;       // 2768, ascending
    std::vector<std::uint16_t> cornerClassOf;   // 40320 entries: index::classSym(class, sym)

    // Move tables, rows x 27.
    std::vector<std::uint16_t> twistMove, flipMove, sliceMove, sliceSortedMove, cornerPermMove,
        dCornerPosMove, centerOriMove, centerParityMove, udEdgePermMove;
    std::vector<std::uint32_t> sliceSortedClassMove;
    std::vector<std::uint32_t, HugePageAllocator<std::uint32_t>> flipSliceMove;

    // Conjugation tables, rows x 16: coordinate of S_s X S_s^-1.
    std::vector<std::uint16_t> twistConj, dCornerPosConj, udEdgePermConj, cornerPermConj,
        centerParityConj, sliceSortedConj;

    // Auxiliary tables.
    std::vector<std::uint16_t> udEdgeFromSlices;  // index::udEdgeFromSlices, kNoUdEdgePerm: no such cube
    std::uint8_t sliceSortedParity[kSlicePermutations] = {};
    std::vector<std::uint8_t> centerSumParity;    // 4096
    std::vector<std::uint16_t> cornerSignature;   // 40320
};

// The symmetries of each class representative, as 16-bit masks: needed only to generate
// pruning tables (and to count the positions behind them), so the loader makes them on demand.
struct Stabilisers {
    std::vector<std::uint16_t> flipSlice;  // per flipSlice class
    std::vector<std::uint16_t> corner;     // per corner class
};

// Class lookups: index::classSym(class, sym) with S_sym X S_sym^-1 the representative, or -1.
int flipSliceClassOf(const CoordTables& t, const CubieCube& cube);
int sliceSortedClassOf(const CoordTables& t, const CubieCube& cube);
int cornerClassLookup(const CoordTables& t, const CubieCube& cube);
bool isFlipSliceRepresentative(const CoordTables& t, const CubieCube& cube);

// Builders, in start-up order. Each reports rows done through onRow (may be null).
using RowCallback = void (*)(void* ctx, long long row);
void computeFlipSliceRep(CoordTables& t, RowCallback onRow = nullptr, void* ctx = nullptr);
void computeSliceSortedRep(CoordTables& t);
void computeCornerClasses(CoordTables& t);
void computeFlipSliceMove(CoordTables& t, RowCallback onRow = nullptr, void* ctx = nullptr);
void computeMoveTables(CoordTables& t);         // every move table except flipSliceMove, plus auxiliaries
void computeConjugationTables(CoordTables& t);
void computeUdEdgeFromSlices(CoordTables& t);
void computeStabilisers(const CoordTables& t, Stabilisers& out, RowCallback onRow = nullptr, void* ctx = nullptr);

// Edge-only conjugation S_s X S_s^-1 (s < 16 keeps the U-D axis).
void conjugateEdges(const CubieCube& x, int s, CubieCube& out);
void conjugateCorners(const CubieCube& x, int s, CubieCube& out);

}  // namespace tx
