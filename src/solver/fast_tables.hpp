#pragma once
// Small exact-distance tables of the fast engine, one byte per entry, a megabyte each, so
// they stay in the caches while the large packed tables do not. Built in memory from the move
// tables on first use (a few tens of milliseconds), then shared read-only by every search.
#include <cstdint>
#include <vector>

#include "tables/coord_tables.hpp"

namespace tx {

struct FastTables {
    // Phase 2: distance to solved of the corners with the slice edges, and of the U-D edges with
    // the slice edges, counted in phase-2 moves. Index: coordinate * 24 + slice permutation.
    std::vector<std::uint8_t> cornerSlice;  // cornerPerm x 24
    std::vector<std::uint8_t> edgeSlice;    // udEdgePerm x 24
    std::vector<std::uint8_t> udEdgeDepth;  // udEdgePerm alone
    // Phase 1: distance to the phase-2 group of the twist with the slice, and of the flip with
    // the slice. Index: twist (or flip) * 495 + slice.
    std::vector<std::uint8_t> twistSlice;  // 2187 x 495
    std::vector<std::uint8_t> flipSlice;   // 2048 x 495
};

// The process-wide set, built from these move tables on the first call (thread-safe).
const FastTables& fastTables(const CoordTables& t);

// Bytes the set holds, for reports.
std::uint64_t fastTableBytes(const FastTables& f);

}  // namespace tx
