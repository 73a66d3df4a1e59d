#pragma once
// The process-wide pruning tables and their lookups. Filled by the loader (loader.hpp),
// then read by any number of search threads without locks.
#include <array>
#include <cstdint>
#include <vector>

#include "tables/coord_tables.hpp"
#include "tables/prune.hpp"

namespace tx {

struct PruneTables {
    bool sliceMode = false;
    std::vector<std::uint8_t> cornerPermDepth;   // 40320, exact phase-2 distance of the corners
    PackedTable phase1;                          // flipSliceClass x 2187 + twist
    PackedTable phase2;                          // udEdgePerm x 2768 + cornerClass
    TwoBitTable corner;                          // twist x 2768 + cornerClass
    PackedTable center;                          // flipSliceClass x 34992 + centerParity x 2187 + twist
    std::vector<std::uint8_t> centerSliceDepth;  // sliceSorted x 4096 + centerOri, exact
    std::vector<PackedTable> huge;               // 70 sub-tables by dCornerPos

    bool hasCenter() const { return !center.empty() && !centerSliceDepth.empty(); }
    bool hasHuge() const { return huge.size() == index::kHugeParts; }
};

PruneTables& pruneTables();

// True once the standard tables are ready for the searches.
bool tablesReady();

// Exact distances (walking down the tables).
int phase1Distance(int flipSliceClass, int sym, int twist);             // cube frame: class, sym, raw twist
int centerDistance(int flipSliceClass, int sym, int twist, int centerParity);
int hugeDistance(int flipSliceClass, int sym, int twist, int dCornerPos);
int phase2Distance(int cornerPerm, int udEdgePerm);
int cornerDistance(int cornerPerm, int twist);

// Index of a cube frame position in the class frame of its table.
inline std::uint64_t phase1Index(const CoordTables& t, int cls, int sym, int twist) {
    return index::phase1(cls, t.twistConj[index::conj(twist, sym)]);
}
std::uint64_t phase2Index(const CoordTables& t, int cornerPerm, int udEdgePerm);
std::uint64_t cornerIndex(const CoordTables& t, int cornerPerm, int twist);

}  // namespace tx
