#include "tables/tables.hpp"

#include "tables/prune_generate.hpp"
#include "tables/prune_spaces.hpp"

namespace tx {

PruneTables& pruneTables() {
    static PruneTables tables;
    return tables;
}

bool tablesReady() {
    const auto& p = pruneTables();
    return !p.phase1.empty() && !p.phase2.empty() && !p.cornerPermDepth.empty() &&
           !coordTables().udEdgeFromSlices.empty();
}

std::uint64_t phase2Index(const CoordTables& t, int cornerPerm, int udEdgePerm) {
    const std::uint32_t v = t.cornerClassOf[cornerPerm];
    return index::phase2(t.udEdgePermConj[index::conj(udEdgePerm, index::symOf(v))], index::classOf(v));
}

std::uint64_t cornerIndex(const CoordTables& t, int cornerPerm, int twist) {
    const std::uint32_t v = t.cornerClassOf[cornerPerm];
    return index::corner(t.twistConj[index::conj(twist, index::symOf(v))], index::classOf(v));
}

namespace {
// The spaces hold only the move lists and a pointer to the tables: build them once per mode.
template <class Space>
const Space& spaceFor(bool sliceMode) {
    static const Space spaces[2] = {Space(false), Space(true)};
    return spaces[sliceMode ? 1 : 0];
}
}  // namespace

int phase1Distance(int cls, int sym, int twist) {
    const auto& p = pruneTables();
    const auto& space = spaceFor<Phase1Space>(p.sliceMode);
    return exactDistance(space, [&](std::uint64_t k) { return p.phase1.get(k); },
                         phase1Index(coordTables(), cls, sym, twist));
}

int centerDistance(int cls, int sym, int twist, int centerParity) {
    const auto& p = pruneTables();
    const auto& t = coordTables();
    const auto& space = spaceFor<CenterSpace>(p.sliceMode);
    const std::uint64_t idx = index::center(cls, t.centerParityConj[index::conj(centerParity, sym)],
                                            t.twistConj[index::conj(twist, sym)]);
    return exactDistance(space, [&](std::uint64_t k) { return p.center.get(k); }, idx);
}

int hugeDistance(int cls, int sym, int twist, int dCornerPos) {
    const auto& p = pruneTables();
    const auto& t = coordTables();
    const auto& space = spaceFor<HugeSpace>(p.sliceMode);
    const std::uint64_t idx = index::huge(t.dCornerPosConj[index::conj(dCornerPos, sym)], phase1Index(t, cls, sym, twist));
    return exactDistance(space,
                         [&](std::uint64_t k) {
                             return p.huge[k / index::kPhase1Entries].get(k % index::kPhase1Entries);
                         },
                         idx);
}

int phase2Distance(int cornerPerm, int udEdgePerm) {
    const auto& p = pruneTables();
    const auto& space = spaceFor<Phase2Space>(p.sliceMode);
    return exactDistance(space, [&](std::uint64_t k) { return p.phase2.get(k); },
                         phase2Index(coordTables(), cornerPerm, udEdgePerm));
}

int cornerDistance(int cornerPerm, int twist) {
    const auto& p = pruneTables();
    const auto& space = spaceFor<CornerSpace>(p.sliceMode);
    return exactDistance(space, [&](std::uint64_t k) { return p.corner.get(k); },
                         cornerIndex(coordTables(), cornerPerm, twist));
}

}  // namespace tx
