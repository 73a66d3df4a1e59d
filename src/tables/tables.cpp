#include "tables/tables.hpp"

#include "tables/prune_generate.hpp"
#include "tables/prune_spaces.hpp"

namespace tx {

std::string missingTables(const TableSet& tables, bool centers, bool huge, bool sliceMode) {
    if (!tables.ready()) return "The solver tables are not loaded.";
    if (tables.sliceMode() != sliceMode)
        return sliceMode ? "The solver tables for slice moves are not loaded."
                         : "The solver tables for face turns are not loaded.";
    if (centers && !tables.hasCenter()) return "The Solver Table for center-twisted Cubes is not loaded.";
    if (huge && !tables.hasHuge()) return "The 1881 MB Huge Optimal Solver Table is not loaded.";
    return {};
}

std::uint64_t phase2Index(const CoordTables& t, int cornerPerm, int udEdgePerm) {
    const std::uint32_t v = t.cornerClassOf[cornerPerm];
    return index::phase2(t.udEdgePermConj[index::conj(udEdgePerm, index::symOf(v))], index::classOf(v));
}

std::uint64_t cornerIndex(const CoordTables& t, int cornerPerm, int twist) {
    const std::uint32_t v = t.cornerClassOf[cornerPerm];
    return index::corner(t.twistConj[index::conj(twist, index::symOf(v))], index::classOf(v));
}

int phase1Distance(const TableSet& tables, int cls, int sym, int twist) {
    const CoordTables& t = *tables.coords;
    const StandardTables& p = *tables.standard;
    return exactDistance(Phase1Space(t, p.sliceMode), [&](std::uint64_t k) { return p.phase1.get(k); },
                         phase1Index(t, cls, sym, twist));
}

int centerDistance(const TableSet& tables, int cls, int sym, int twist, int centerParity) {
    const CoordTables& t = *tables.coords;
    const CenterTables& c = *tables.center;
    const std::uint64_t idx =
        index::center(cls, t.centerParityConj[index::conj(centerParity, sym)], t.twistConj[index::conj(twist, sym)]);
    return exactDistance(CenterSpace(t, c.sliceMode), [&](std::uint64_t k) { return c.center.get(k); }, idx);
}

int hugeDistance(const TableSet& tables, int cls, int sym, int twist, int dCornerPos) {
    const CoordTables& t = *tables.coords;
    const HugeTable& h = *tables.huge;
    const std::uint64_t idx = index::huge(t.dCornerPosConj[index::conj(dCornerPos, sym)], phase1Index(t, cls, sym, twist));
    return exactDistance(
        HugeSpace(t, h.sliceMode),
        [&](std::uint64_t k) { return h.parts[k / index::kPhase1Entries].get(k % index::kPhase1Entries); }, idx);
}

int phase2Distance(const TableSet& tables, int cornerPerm, int udEdgePerm) {
    const CoordTables& t = *tables.coords;
    const StandardTables& p = *tables.standard;
    return exactDistance(Phase2Space(t, p.sliceMode), [&](std::uint64_t k) { return p.phase2.get(k); },
                         phase2Index(t, cornerPerm, udEdgePerm));
}

int cornerDistance(const TableSet& tables, int cornerPerm, int twist) {
    const CoordTables& t = *tables.coords;
    const StandardTables& p = *tables.standard;
    return exactDistance(CornerSpace(t, p.sliceMode), [&](std::uint64_t k) { return p.corner.get(k); },
                         cornerIndex(t, cornerPerm, twist));
}

}  // namespace tx
