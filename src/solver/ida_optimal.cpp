// The optimal search: IDA* over the phase-1 coordinates of three orientations of the cube at
// once; a cube that reaches the phase-1 goal on all three axes with its corners and slice
// edges home is solved.
#include "solver/ida.hpp"
#include "solver/move_rules.hpp"
#include "solver/search_gate.hpp"

namespace tx {

// Starts loading the table entries of the three powers of an axis on all three axes.
void IDA::prefetchOptimal(const Level& parent, int axis) const {
    for (int p = 0; p < 3; ++p) {
        int mk = 3 * axis + p;
        for (int k = 0; k < 3; ++k) {
            if (k > 0) mk = tb_.symMoveConj[kSymUrf3][mk];
            const int T = parent.sym[k];
            const std::uint32_t v = tb_.flipSliceMove[parent.cls[k] * kMoves + tb_.symMoveConj[T][mk]];
            const int sym = tb_.symProduct[index::symOf(v)][T];
            const int twist = tb_.twistMove[parent.twist[k] * kMoves + mk];
            tb_.phase1.prefetch(index::phase1(index::classOf(v), tb_.twistConj[index::conj(twist, sym)]));
        }
    }
}

// Computes the child's coordinates and exact distances on all three axes.
void IDA::optimalStep(const Level& parent, Level& child, int m) {
    int mk = m;
    for (int k = 0; k < 3; ++k) {
        if (k > 0) mk = tb_.symMoveConj[kSymUrf3][mk];
        const int T = parent.sym[k];
        const std::uint32_t v = tb_.flipSliceMove[parent.cls[k] * kMoves + tb_.symMoveConj[T][mk]];
        const int sym = tb_.symProduct[index::symOf(v)][T];
        child.cls[k] = index::classOf(v);
        child.sym[k] = static_cast<std::uint8_t>(sym);
        child.twist[k] = tb_.twistMove[parent.twist[k] * kMoves + mk];
        const std::uint64_t ph1 = index::phase1(child.cls[k], tb_.twistConj[index::conj(child.twist[k], sym)]);
        int value;
        if (centerMode) {
            child.centerParity[k] = static_cast<std::uint8_t>(tb_.centerParityMove[parent.centerParity[k] * kMoves + mk]);
            value = tb_.center.get(index::center(child.cls[k],
                                                 tb_.centerParityConj[index::conj(child.centerParity[k], sym)],
                                                 tb_.twistConj[index::conj(child.twist[k], sym)]));
            child.sliceSorted[k] = tb_.sliceSortedMove[parent.sliceSorted[k] * kMoves + mk];
            child.centerOris[k] = tb_.centerOriMove[parent.centerOris[k] * kMoves + mk];
        } else if (hugeMode) {
            child.dCornerPos[k] = tb_.dCornerPosMove[parent.dCornerPos[k] * kMoves + mk];
            value = tb_.huge[tb_.dCornerPosConj[index::conj(child.dCornerPos[k], sym)]].get(ph1);
        } else {
            value = tb_.phase1.get(ph1);
        }
        child.dist[k] = nextDepth[parent.dist[k]][value];
    }
}

// What the rules make of the move just placed at level j with i moves left after it: the
// exact distances of the three axes (unless a stop is pending, then the search runs through
// to the end point it is at), the centres, the slice pairs, and for a symmetric cube the
// first moves that are images of smaller ones.
inline __attribute__((always_inline)) IDA::Skip IDA::optimalSkip(const Level& child, int j, int i, bool pruning,
                                                                 bool symmetric) const {
    if (pruning) {
        const int d0 = child.dist[0], d1 = child.dist[1], d2 = child.dist[2];
        if (i > 0 && d0 == d1 && d1 == d2) {
            if (d0 > i) return Skip::Axis;
            if (d0 == i) return Skip::Power;
        }
        if (d0 > i + 1 || d1 > i + 1 || d2 > i + 1) return Skip::Axis;
        if (d0 > i || d1 > i || d2 > i) return Skip::Power;
    }
    if (centerMode) {
        for (int k = 0; k < 3; ++k)
            if (tb_.centerSliceDepth[index::centerSlice(child.sliceSorted[k], child.centerOris[k])] > i) return Skip::Power;
    }
    if (sliceMode && j > 0 && makesSliceMove(child.axis, child.power, levels[j - 1].axis, levels[j - 1].power))
        return Skip::Power;
    if (symmetric && j < 3) {
        for (int s = 1; s < kSymmetries; ++s) {
            if (!(symmetryMask >> s & 1)) continue;
            for (int l = 0; l <= j; ++l) {
                const int mv = 3 * levels[l].axis + levels[l].power - 1;
                const int image = tb_.symMoveConj[s][mv];
                if (image < mv) return Skip::Axis;
                if (image > mv) break;
            }
        }
    }
    return Skip::None;
}

// The start cube is the solved cube (its centres too, when they count): the phase-1 goal on
// all three axes, corners and slice edges home.
bool IDA::startSolved() const {
    for (int k = 0; k < 3; ++k)
        if (start_.dist[k] != 0 || start_.sliceSorted[k] != 0) return false;
    return start_.cornerPerm == 0 && (!centerMode || start_.centerOri == 0);
}

int IDA::optimalSearch() {
    const int moveLimit = sliceMode ? kMoves : kFaceMoves;
    const bool symmetric = (symmetryMask & ~std::uint64_t(1)) != 0;
    auto post = [&](int v) {
        if (onProgress) onProgress(v);
    };
    // The solved cube needs no move. The search itself places at least one, and would offer
    // the shortest maneuver that returns to the start as the "optimal" one.
    if (startSolved()) {
        length = 0;
        return result = 0;
    }
    if (!started_) {
        started_ = true;
        depthIndex = 0;
        restartDepth();
        post(1);
    }
    for (;;) {
        const int n = depthIndex;
        if (!nextCandidate(moveLimit)) {
            if (n + 1 >= maxLen) {
                level_ = 0;
                return result = kNoSolution;
            }
            depthNodes[n] = nodes;
            depthIndex = n + 1;
            restartDepth();
            post(n + 2);
            continue;
        }
        const int j = level_;
        Level& child = levels[j];
        const int axis = child.axis, power = child.power, m = 3 * axis + power - 1;
        const Level& parent = j == 0 ? start_ : levels[j - 1];
        const int i = n - j;
        const bool pruning = !stopping();
        if (power == 1 && !centerMode && !hugeMode) prefetchOptimal(parent, axis);
        optimalStep(parent, child, m);
        ++nodes;
        if ((++totalNodes & 0xFFFF) == 0) SearchGate::instance().takeTurn(stopRequested);
        const Skip skip = optimalSkip(child, j, i, pruning, symmetric);
        if (skip == Skip::Axis) {
            skipAxis();
            continue;
        }
        if (skip == Skip::Power) {
            skipPower();
            continue;
        }
        if (i > 0) {
            descend();
            continue;
        }
        if (stopping()) return result = kStopped;
        updatePhase2Coords(j);
        const Level& end = levels[j];
        if (end.cornerPerm == 0 && end.sliceSorted[0] == 0 && end.sliceSorted[1] == 0 && end.sliceSorted[2] == 0 &&
            child.dist[0] == 0 && child.dist[1] == 0 && child.dist[2] == 0) {
            length = n + 1;
            depthNodes[n] = nodes;
            post(n + 100);
            return result = n + 1;
        }
        skipPower();
    }
}

}  // namespace tx
