// The coset enumeration: every maneuver of n + 1 face turns (canonical order of opposite
// faces) that takes the cube into H', found depth-first under an exact bound on the distance
// to H' (the huge table, or the phase-1 table alone) carried from level to level by nextDepth.
// The first three levels form the prefixes that the coset threads share out.
#include <algorithm>

#include "solver/coset_marks.hpp"
#include "solver/ida.hpp"
#include "solver/move_rules.hpp"

namespace tx {

namespace {
constexpr std::uint64_t kCheckpointNodes = 0x1000;
constexpr int kFaces = 6;
}  // namespace

// A child's axis-0 coordinates and where the bound keeps its distance.
struct IDA::CosetChild {
    std::uint32_t cls = 0;
    std::uint8_t sym = 0;
    std::uint16_t twist = 0;
    std::uint16_t dCornerPos = 0;
    const PackedView* table = nullptr;
    std::uint64_t index = 0;

    // In H': flip, slice, twist and the D-corner positions are all those of the solved cube
    // (flipSlice class 0 holds the raw value 0 alone).
    bool inSubgroup() const { return cls == 0 && twist == 0 && dCornerPos == 0; }
};

void IDA::cosetChild(const Level& parent, int m, CosetChild& c) const {
    const int T = parent.sym[0];
    const std::uint32_t v = tb_.flipSliceMove[parent.cls[0] * kMoves + tb_.symMoveConj[T][m]];
    c.sym = tb_.symProduct[index::symOf(v)][T];
    c.cls = index::classOf(v);
    c.twist = tb_.twistMove[parent.twist[0] * kMoves + m];
    c.dCornerPos = tb_.dCornerPosMove[parent.dCornerPos[0] * kMoves + m];
    c.index = index::phase1(c.cls, tb_.twistConj[index::conj(c.twist, c.sym)]);
    c.table = hugeMode ? &tb_.huge[tb_.dCornerPosConj[index::conj(c.dCornerPos, c.sym)]] : &tb_.phase1;
}

void IDA::cosetPlace(int j, int m, const CosetChild& c, int distance) {
    Level& l = levels[j];
    l.axis = static_cast<std::uint8_t>(m / 3);
    l.power = static_cast<std::uint8_t>(m % 3 + 1);
    l.cls[0] = c.cls;
    l.sym[0] = c.sym;
    l.twist[0] = c.twist;
    l.dCornerPos[0] = c.dCornerPos;
    l.dist[0] = static_cast<std::uint8_t>(distance);
    mark_ = std::min(mark_, j);
}

// Level j ends in H': its corner permutation and slice orders give the position.
void IDA::cosetReach(int j, CosetWorker& w) {
    updatePhase2Coords(j);
    const Level& e = levels[j];
    w.reach(e.cornerPerm, tb_.udEdgeFromSlices[index::udEdgeFromSlices(e.sliceSorted[1], e.sliceSorted[2])],
            e.sliceSorted[0]);
}

// Moves still to place after level j: i = n - j >= 1. The three powers of a face are looked
// up together, so their table reads overlap.
bool IDA::cosetLevel(int j, int n, CosetWorker& w) {
    const Level& parent = j == 0 ? start_ : levels[j - 1];
    const int prevAxis = j == 0 ? -1 : levels[j - 1].axis;
    const int i = n - j;
    for (int axis = 0; axis < kFaces; ++axis) {
        if (!axisMayFollow(axis, prevAxis, false)) continue;
        CosetChild c[3];
        for (int p = 0; p < 3; ++p) {
            cosetChild(parent, 3 * axis + p, c[p]);
            c[p].table->prefetch(c[p].index);
        }
        for (int p = 0; p < 3; ++p) {
            if ((++nodes & (kCheckpointNodes - 1)) == 0 && !w.checkpoint()) return false;
            const int d = nextDepth[parent.dist[0]][c[p].table->get(c[p].index)];
            if (d > i + 1) break;
            if (d > i) continue;
            cosetPlace(j, 3 * axis + p, c[p], d);
            if (!(i == 1 ? cosetLastLevel(j + 1, w) : cosetLevel(j + 1, n, w))) return false;
        }
    }
    return true;
}

// The last move: only a child in H' counts, which its coordinates tell without a table read.
bool IDA::cosetLastLevel(int j, CosetWorker& w) {
    const Level& parent = j == 0 ? start_ : levels[j - 1];
    const int prevAxis = j == 0 ? -1 : levels[j - 1].axis;
    const int T = parent.sym[0];
    for (int axis = 0; axis < kFaces; ++axis) {
        if (!axisMayFollow(axis, prevAxis, false)) continue;
        for (int m = 3 * axis; m < 3 * axis + 3; ++m) {
            if ((++nodes & (kCheckpointNodes - 1)) == 0 && !w.checkpoint()) return false;
            const std::uint32_t v = tb_.flipSliceMove[parent.cls[0] * kMoves + tb_.symMoveConj[T][m]];
            if (index::classOf(v) != 0) continue;
            if (tb_.twistMove[parent.twist[0] * kMoves + m] != 0) continue;
            if (tb_.dCornerPosMove[parent.dCornerPos[0] * kMoves + m] != 0) continue;
            CosetChild c;
            cosetChild(parent, m, c);
            cosetPlace(j, m, c, 0);
            cosetReach(j, w);
        }
    }
    return true;
}

// A maneuver that one of the coset's symmetries maps onto one with smaller first moves
// (compared move by move over levels 0..j) reaches, up to that symmetry, what the smaller
// one reaches: it is left out, and its images are marked when the smaller one ends.
bool IDA::cosetImageSmaller(int j, std::uint16_t mask) const {
    for (int s = 1; s < 16; ++s) {
        if (!(mask >> s & 1)) continue;
        for (int l = 0; l <= j; ++l) {
            const int mv = 3 * levels[l].axis + levels[l].power - 1;
            const int image = tb_.symMoveConj[s][mv];
            if (image < mv) return true;
            if (image > mv) break;
        }
    }
    return false;
}

void IDA::cosetCollect(int j, int n, int length, std::uint16_t mask, std::vector<CosetPrefix>& out) {
    const Level& parent = j == 0 ? start_ : levels[j - 1];
    const int prevAxis = j == 0 ? -1 : levels[j - 1].axis;
    const int i = n - j;
    const bool symmetric = (mask & ~1u) != 0;
    for (int axis = 0; axis < kFaces; ++axis) {
        if (!axisMayFollow(axis, prevAxis, false)) continue;
        for (int m = 3 * axis; m < 3 * axis + 3; ++m) {
            CosetChild c;
            cosetChild(parent, m, c);
            ++nodes;
            int d = 0;
            if (i == 0) {
                if (!c.inSubgroup()) continue;
            } else {
                d = nextDepth[parent.dist[0]][c.table->get(c.index)];
                if (d > i + 1) break;
                if (d > i) continue;
            }
            cosetPlace(j, m, c, d);
            if (symmetric && cosetImageSmaller(j, mask)) break;
            if (j + 1 < length) {
                cosetCollect(j + 1, n, length, mask, out);
                continue;
            }
            CosetPrefix prefix;
            prefix.length = length;
            for (int l = 0; l < length; ++l)
                prefix.moves[l] = static_cast<std::uint8_t>(3 * levels[l].axis + levels[l].power - 1);
            out.push_back(prefix);
        }
    }
}

std::vector<CosetPrefix> IDA::cosetPrefixes(int n, std::uint16_t mask) {
    std::vector<CosetPrefix> out;
    mark_ = 0;
    cosetCollect(0, n, std::min(n + 1, kCosetPrefixLength), mask, out);
    return out;
}

bool IDA::cosetSubtree(int n, const CosetPrefix& prefix, CosetWorker& w) {
    mark_ = 0;
    for (int j = 0; j < prefix.length; ++j) {
        const Level& parent = j == 0 ? start_ : levels[j - 1];
        CosetChild c;
        cosetChild(parent, prefix.moves[j], c);
        cosetPlace(j, prefix.moves[j], c, nextDepth[parent.dist[0]][c.table->get(c.index)]);
    }
    const int j = prefix.length;
    if (j == n + 1) {  // the prefix is the whole maneuver; it ends in H'
        cosetReach(n, w);
        return true;
    }
    return j == n ? cosetLastLevel(j, w) : cosetLevel(j, n, w);
}

}  // namespace tx
