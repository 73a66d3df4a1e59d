// The optimal search: IDA* over the phase-1 coordinates of three orientations of the cube at
// once; a cube that reaches the phase-1 goal on all three axes with its corners and slice
// edges home is solved.
#include "solver/ida.hpp"
#include "solver/move_rules.hpp"
#include "solver/optimal_split.hpp"
#include "solver/search_gate.hpp"

namespace tx {

namespace {

// Where entry k of a packed table lies: the byte and the digit within it (see PackedTable),
// without a branch the processor would mispredict one time in five.
inline void locate(const PackedView& t, std::uint64_t k, const std::uint8_t*& byte, std::uint8_t& digit) {
    const bool low = k < t.fourB;
    byte = t.bytes + (low ? k >> 2 : k - t.fourB);
    digit = static_cast<std::uint8_t>(low ? k & 3 : 4);
}

}  // namespace

// Computes, for every move the axis rules allow at level j, the child's phase-1 coordinates on
// the three axes and where its table entries lie, and starts loading those entries. The rows
// of the move tables are read once for all children.
void IDA::probeChildren(int j, int moveLimit) {
    const bool mayDescend = j < depthIndex;
    if (!probes_) probes_ = std::make_unique<std::array<LevelProbes, kLevels>>();
    const Level& parent = j == 0 ? start_ : levels[j - 1];
    const int prevAxis = j == 0 ? -1 : levels[j - 1].axis;
    LevelProbes& out = (*probes_)[j];
    for (int k = 0; k < 3; ++k) {
        const int T = parent.sym[k];
        const std::uint32_t* classRow = tb_.flipSliceMove + parent.cls[k] * kMoves;
        const std::uint16_t* twistRow = tb_.twistMove + parent.twist[k] * kMoves;
        for (int m = 0; m < moveLimit; ++m) {
            if (!axisMayFollow(m / 3, prevAxis, sliceMode)) {
                m += 2;  // the whole axis
                continue;
            }
            int mk = m;  // the move as seen on axis k
            for (int r = 0; r < k; ++r) mk = tb_.symMoveConj[kSymUrf3][mk];
            const std::uint32_t v = classRow[tb_.symMoveConj[T][mk]];
            ChildProbe& c = out[m][k];
            c.cls = index::classOf(v);
            c.sym = static_cast<std::uint8_t>(tb_.symProduct[index::symOf(v)][T]);
            c.twist = twistRow[mk];
            const std::uint32_t twistInClass = tb_.twistConj[index::conj(c.twist, c.sym)];
            if (centerMode) {
                c.extra = tb_.centerParityMove[parent.centerParity[k] * kMoves + mk];
                locate(tb_.center,
                       index::center(c.cls, tb_.centerParityConj[index::conj(c.extra, c.sym)], twistInClass), c.byte,
                       c.digit);
            } else if (hugeMode) {
                c.extra = tb_.dCornerPosMove[parent.dCornerPos[k] * kMoves + mk];
                locate(tb_.huge[tb_.dCornerPosConj[index::conj(c.extra, c.sym)]], index::phase1(c.cls, twistInClass),
                       c.byte, c.digit);
            } else {
                c.extra = 0;
                locate(tb_.phase1, index::phase1(c.cls, twistInClass), c.byte, c.digit);
            }
            __builtin_prefetch(c.byte);
            // A child that may be descended into reads its own row of the class move table next.
            if (mayDescend) __builtin_prefetch(tb_.flipSliceMove + c.cls * kMoves);
        }
    }
    probed_ |= std::uint32_t(1) << j;
}

// Places the child of move m at level j: its coordinates and exact distances on all three
// axes, from the probes of its level.
void IDA::optimalStep(const Level& parent, Level& child, int j, int m) {
    const auto& probes = (*probes_)[j][m];
    int mk = m;
    for (int k = 0; k < 3; ++k) {
        if (k > 0) mk = tb_.symMoveConj[kSymUrf3][mk];
        const ChildProbe& c = probes[k];
        child.cls[k] = c.cls;
        child.sym[k] = c.sym;
        child.twist[k] = c.twist;
        if (centerMode) {
            child.centerParity[k] = static_cast<std::uint8_t>(c.extra);
            child.sliceSorted[k] = tb_.sliceSortedMove[parent.sliceSorted[k] * kMoves + mk];
            child.centerOris[k] = tb_.centerOriMove[parent.centerOris[k] * kMoves + mk];
        } else if (hugeMode) {
            child.dCornerPos[k] = c.extra;
        }
        child.dist[k] = nextDepth[parent.dist[k]][tritDigits[*c.byte][c.digit]];
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
        live.depth.store(n, std::memory_order_relaxed);
        const bool shared = n >= kSplitMinDepth && sharing();
        depthThreads[n] = shared ? threads : 1;
        const int r = shared ? splitDepth(n) : optimalDepth(n);
        live.nodes.store(nodes, std::memory_order_relaxed);
        if (r == kStopped) return result = kStopped;
        if (r > 0) {
            length = n + 1;
            depthNodes[n] = nodes;
            live.depthEnd[n].store(nodes, std::memory_order_relaxed);
            post(n + 100);
            return result = r;
        }
        if (n + 1 >= maxLen) {
            level_ = 0;
            return result = kNoSolution;
        }
        depthNodes[n] = nodes;
        live.depthEnd[n].store(nodes, std::memory_order_relaxed);
        depthIndex = n + 1;
        restartDepth();
        post(n + 2);
    }
}

// The DFS of depth index n from the cursors on: n + 1 when it reaches a solution (in the
// levels), kNoSolution when the depth is exhausted (down to floor_), kStopped after a stop.
// Below ceiling_ (a prefix enumeration) a child that would be descended into is recorded.
int IDA::optimalDepth(int n) {
    const int moveLimit = sliceMode ? kMoves : kFaceMoves;
    const bool symmetric = (symmetryMask & ~std::uint64_t(1)) != 0;
    const bool enumerating = ceiling_ < kLevels;
    for (;;) {
        if (!nextCandidate(moveLimit)) return kNoSolution;
        const int j = level_;
        Level& child = levels[j];
        const int m = 3 * child.axis + child.power - 1;
        const Level& parent = j == 0 ? start_ : levels[j - 1];
        const int i = n - j;
        // A stop runs the search through to the end point it is at; the few nodes of an
        // enumeration are always pruned, so that the prefixes are those of the depth.
        const bool pruning = enumerating || !stopping();
        if (!(probed_ >> j & 1)) probeChildren(j, moveLimit);
        optimalStep(parent, child, j, m);
        ++nodes;
        if ((++totalNodes & 0xFFFF) == 0) {
            SearchGate::instance().takeTurn(stopRequested);
            if (watch_)
                watchSplit();
            else
                live.nodes.store(nodes, std::memory_order_relaxed);
        }
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
            if (j + 1 < ceiling_) {
                descend();
            } else {
                recordPrefix();
                skipPower();  // where the DFS goes on after the prefix's subtree
            }
            continue;
        }
        if (stopping()) return kStopped;
        updatePhase2Coords(j);
        const Level& end = levels[j];
        if (end.cornerPerm == 0 && end.sliceSorted[0] == 0 && end.sliceSorted[1] == 0 && end.sliceSorted[2] == 0 &&
            child.dist[0] == 0 && child.dist[1] == 0 && child.dist[2] == 0)
            return n + 1;
        skipPower();
    }
}

}  // namespace tx
