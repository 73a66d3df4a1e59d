#include "solver/fast_tables.hpp"

#include "tables/coord_tables.hpp"

namespace tx {

namespace {

constexpr std::uint8_t kUnset = 0xFF;

// Breadth-first search over a product of two coordinates (rows x cols), the goal at index 0.
// Each move maps a row by rowMove and a column by colMove (tables of 27 columns).
std::vector<std::uint8_t> productDistances(int rows, int cols, const std::uint16_t* rowMove,
                                           const std::uint16_t* colMove, const std::vector<int>& moves) {
    std::vector<std::uint8_t> dist(static_cast<std::size_t>(rows) * cols, kUnset);
    dist[0] = 0;
    std::size_t done = 1;
    for (int d = 0; done < dist.size(); ++d) {
        std::size_t found = 0;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                if (dist[static_cast<std::size_t>(r) * cols + c] != d) continue;
                for (int m : moves) {
                    const std::size_t k = static_cast<std::size_t>(rowMove[r * kMoves + m]) * cols + colMove[c * kMoves + m];
                    if (dist[k] == kUnset) {
                        dist[k] = static_cast<std::uint8_t>(d + 1);
                        ++found;
                    }
                }
            }
        }
        if (found == 0) break;  // the rest cannot be reached
        done += found;
    }
    return dist;
}

std::vector<int> faceMoves(bool phase2Only) {
    std::vector<int> moves;
    for (int m = 0; m < kFaceMoves; ++m)
        if (!phase2Only || isPhase2Move(m)) moves.push_back(m);
    return moves;
}

FastTables build(const CoordTables& t) {
    FastTables f;
    const auto phase2 = faceMoves(true), all = faceMoves(false);
    // In the phase-2 group the slice edges stay in the slice: sliceSorted 0..23 is their order.
    f.cornerSlice = productDistances(kCornerPerms, kSlicePermutations, t.cornerPermMove.data(),
                                     t.sliceSortedMove.data(), phase2);
    f.edgeSlice = productDistances(kUdEdgePerms, kSlicePermutations, t.udEdgePermMove.data(),
                                   t.sliceSortedMove.data(), phase2);
    const std::vector<std::uint16_t> stays(kMoves, 0);
    f.udEdgeDepth = productDistances(kUdEdgePerms, 1, t.udEdgePermMove.data(), stays.data(), phase2);
    f.twistSlice = productDistances(kTwists, kSlices, t.twistMove.data(), t.sliceMove.data(), all);
    f.flipSlice = productDistances(kFlips, kSlices, t.flipMove.data(), t.sliceMove.data(), all);
    return f;
}

}  // namespace

const FastTables& fastTables(const CoordTables& t) {
    static const FastTables tables = build(t);
    return tables;
}

std::uint64_t fastTableBytes(const FastTables& f) {
    return f.cornerSlice.size() + f.edgeSlice.size() + f.udEdgeDepth.size() + f.twistSlice.size() + f.flipSlice.size();
}

}  // namespace tx
