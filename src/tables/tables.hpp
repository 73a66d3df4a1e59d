#pragma once
// The tables as the searches hold them. Each part is built or loaded once by the loader and
// then never changed; a TableSet holds its parts through shared ownership, so a search keeps
// the tables it started with for as long as it lives, whatever the loader frees or loads in the
// meantime. Any number of threads read them without locks.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tables/coord_tables.hpp"
#include "tables/prune.hpp"

namespace tx {

// The pruning tables every search needs, for one move set.
struct StandardTables {
    bool sliceMode = false;
    std::vector<std::uint8_t> cornerPermDepth;  // 40320, exact phase-2 distance of the corners
    PackedTable phase1;                         // index::phase1
    PackedTable phase2;                         // index::phase2
    TwoBitTable corner;                         // index::corner
};

// Cubes whose centre orientation counts (the 430 MB table).
struct CenterTables {
    bool sliceMode = false;
    PackedTable center;                          // index::center
    std::vector<std::uint8_t> centerSliceDepth;  // index::centerSlice, exact
};

// The huge optimal solver's table: one phase-1 table per D-corner position (1881 MB).
struct HugeTable {
    bool sliceMode = false;
    std::vector<PackedTable> parts;  // index::kHugeParts, by dCornerPos
};

struct TableSet {
    std::shared_ptr<const CoordTables> coords;
    std::shared_ptr<const StandardTables> standard;
    std::shared_ptr<const CenterTables> center;  // empty unless loaded
    std::shared_ptr<const HugeTable> huge;       // empty unless loaded

    bool ready() const { return coords && standard; }
    bool sliceMode() const { return standard && standard->sliceMode; }
    // The optional tables count only when they were made for the same move set.
    bool hasCenter() const { return ready() && center && center->sliceMode == standard->sliceMode; }
    bool hasHuge() const { return ready() && huge && huge->sliceMode == standard->sliceMode; }
};

// Why a search cannot run on these tables, or "" when it can: a cube whose centre orientation
// counts needs the centre tables, huge optimal searches the huge table, and the move set must
// be the one the tables were made for.
std::string missingTables(const TableSet& tables, bool centers, bool huge, bool sliceMode);

// Where the searches find the tables loaded now (the loader, or a fixed set).
class TableSource {
public:
    virtual ~TableSource() = default;
    virtual TableSet current() const = 0;
};

class FixedTables : public TableSource {
public:
    explicit FixedTables(TableSet tables = {}) : tables_(std::move(tables)) {}
    TableSet current() const override { return tables_; }

private:
    TableSet tables_;
};

// Exact distances, walking down the tables; the tables must hold the part asked for. The
// phase-1 family takes cube-frame coordinates: class, symmetry, raw twist.
int phase1Distance(const TableSet& t, int flipSliceClass, int sym, int twist);
int centerDistance(const TableSet& t, int flipSliceClass, int sym, int twist, int centerParity);
int hugeDistance(const TableSet& t, int flipSliceClass, int sym, int twist, int dCornerPos);
int phase2Distance(const TableSet& t, int cornerPerm, int udEdgePerm);
int cornerDistance(const TableSet& t, int cornerPerm, int twist);

// Index of a cube-frame position in the class frame of its table.
inline std::uint64_t phase1Index(const CoordTables& t, int cls, int sym, int twist) {
    return index::phase1(cls, t.twistConj[index::conj(twist, sym)]);
}
std::uint64_t phase2Index(const CoordTables& t, int cornerPerm, int udEdgePerm);
std::uint64_t cornerIndex(const CoordTables& t, int cornerPerm, int twist);

}  // namespace tx
