// The fast two-phase engine. Phase 1 runs over the six presentations together, depth by depth;
// each node first asks the two small phase-1 tables (cache-resident) and only then the exact
// flip-slice x twist table, whose entries for all surviving children are prefetched before any
// is read. Phase 2 starts only at end points whose last move leaves the phase-2 group and whose
// phase-2 bounds fit; its coordinates are carried along the phase-1 path, not rebuilt.
#include "solver/fast_solver.hpp"

#include <algorithm>
#include <array>

#include "cube/cube_input.hpp"
#include "cube/symmetry.hpp"
#include "solver/fast_tables.hpp"
#include "solver/move_rules.hpp"
#include "solver/search_tables.hpp"

namespace tx {

namespace {

constexpr int kPresentations = 6;
constexpr int kDepthLimit = 31;
// Longer phase-2 searches cost more than trying further phase-1 end points.
constexpr int kPhase2Cap = 12;
constexpr int kPhase2MoveList[] = {0, 1, 2, 4, 7, 9, 10, 11, 13, 16};  // U*, R2, F2, D*, L2, B2

using Clock = std::chrono::steady_clock;

struct Phase1Node {
    std::uint32_t cls;
    std::uint8_t sym;
    std::uint8_t dist;
    std::uint16_t twist, flip, slice;
};

struct Presentation {
    CubieCube cube;
    bool inverse = false;
    int turns = 0;  // conjugations by the URF-DBL rotation
    Phase1Node start{};
    std::uint16_t cornerPerm = 0;
    std::uint16_t sliceSorted[3] = {};
};

CubieCube moveCube(int m) {
    CubieCube c;
    c.applyMove(m);
    return c;
}

// backMove[k][m]: the move of the cube that becomes move m once the cube is conjugated k times
// by the URF-DBL rotation.
const std::array<std::array<std::uint8_t, kFaceMoves>, 3>& backMoves() {
    static const auto table = [] {
        std::array<std::array<std::uint8_t, kFaceMoves>, 3> back{};
        for (int k = 0; k < 3; ++k) {
            for (int original = 0; original < kFaceMoves; ++original) {
                CubieCube c = moveCube(original);
                for (int j = 0; j < k; ++j) c = conjugate(c, kSymUrf3);
                for (int m = 0; m < kFaceMoves; ++m)
                    if (moveCube(m).corners == c.corners && moveCube(m).edges == c.edges)
                        back[k][m] = static_cast<std::uint8_t>(original);
            }
        }
        return back;
    }();
    return table;
}

class FastSearch {
public:
    FastSearch(const TableSet& set, const FastOptions& o)
        : set_(set), t_(*set.coords), tb_(SearchTables::of(set)), f_(fastTables(*set.coords)), o_(o) {}

    FastResult run(const CubieCube& cube);

private:
    const TableSet& set_;
    const CoordTables& t_;
    SearchTables tb_;
    const FastTables& f_;
    const FastOptions& o_;
    FastResult r_;
    std::vector<Presentation> shown_;
    const Presentation* p_ = nullptr;
    int path_[kDepthLimit + 1] = {};
    // Phase-2 coordinates after each phase-1 level (level 0: before any move): the corner side (corner permutation and
    // slice-edge order) is valid below validCorners_, the edge side (the slice edges seen
    // along the two other axes) below validEdges_.
    std::uint16_t cornerPerm_[kDepthLimit + 1] = {};
    std::uint16_t sliceSorted_[3][kDepthLimit + 1] = {};
    int validCorners_ = 0, validEdges_ = 0;
    unsigned ticks_ = 0;
    bool stopped_ = false;

    void present(const CubieCube& cube);
    bool tick();
    struct Child {
        Phase1Node node;
        std::uint64_t index;
        int move;
    };
    bool phase1(const Phase1Node& node, int depth, int togo, int prevAxis);
    int rawChildren(const Phase1Node& node, int left, int prevAxis, Child* kids);
    bool endPoint(int depth, int lastAxis);
    void place(int depth, int move) {
        path_[depth] = move;
        validCorners_ = std::min(validCorners_, depth);
        validEdges_ = std::min(validEdges_, depth);
    }
    void updateCorners(int depth);
    void updateEdges(int depth);
    bool phase2(int cp, int ue, int sp, int dist, int depth, int togo, int prevAxis);
    int phase2Exact(int cp, int ue, int residue) const;
    std::vector<Move> maneuverOf(int length) const;
};

void FastSearch::present(const CubieCube& cube) {
    const CubieCube inverse = cube.inverse();
    for (int k = 0; k < kPresentations; ++k) {
        if ((o_.presentations >> k & 1) == 0) continue;
        Presentation p;
        p.inverse = k >= 3;
        p.turns = k % 3;
        p.cube = p.inverse ? inverse : cube;
        for (int j = 0; j < p.turns; ++j) p.cube = conjugate(p.cube, kSymUrf3);
        bool seen = false;  // a symmetric cube shows the same presentation more than once
        for (const auto& q : shown_) seen = seen || (q.cube.corners == p.cube.corners && q.cube.edges == p.cube.edges);
        if (seen) continue;
        const int fs = flipSliceClassOf(t_, p.cube);
        Phase1Node& s = p.start;
        s.cls = index::classOf(fs);
        s.sym = static_cast<std::uint8_t>(index::symOf(fs));
        s.twist = static_cast<std::uint16_t>(p.cube.twist());
        s.flip = static_cast<std::uint16_t>(p.cube.flip());
        s.slice = static_cast<std::uint16_t>(p.cube.slice());
        s.dist = static_cast<std::uint8_t>(phase1Distance(set_, s.cls, s.sym, s.twist));
        p.cornerPerm = static_cast<std::uint16_t>(p.cube.cornerPerm());
        CubieCube axis = p.cube;
        for (int a = 0; a < 3; ++a) {
            p.sliceSorted[a] = static_cast<std::uint16_t>(axis.sliceSorted());
            axis = conjugate(axis, kSymUrf3);
        }
        shown_.push_back(p);
    }
}

bool FastSearch::tick() {
    if ((++ticks_ & 4095) != 0 || stopped_) return stopped_;
    if ((o_.stop && o_.stop->load(std::memory_order_relaxed)) || Clock::now() >= o_.deadline) stopped_ = true;
    return stopped_;
}

// The children of a node one pipeline stage at a time, so that the memory reads of all
// children overlap instead of waiting one after the other: first the raw coordinates (the
// small tables' entries fetched), then the small bounds and the class move (the large table's
// entries fetched), then the exact distances; only then is any subtree searched, which also
// keeps a subtree from pushing its siblings' entries out of the cache first.
bool FastSearch::phase1(const Phase1Node& node, int depth, int togo, int prevAxis) {
    if (togo == 0) return endPoint(depth, prevAxis);
    if (tick()) return false;
    Child kids[kFaceMoves];
    const int left = togo - 1;
    int count = rawChildren(node, left, prevAxis, kids);
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        Child& c = kids[i];
        if (f_.twistSlice[c.node.twist * kSlices + c.node.slice] > left ||
            f_.flipSlice[c.node.flip * kSlices + c.node.slice] > left)
            continue;
        if (left == 0) {  // both small bounds are 0 only in the phase-2 group: an end point
            place(depth, c.move);
            if (endPoint(depth + 1, c.move / 3)) return true;
            if (stopped_) return false;
            continue;
        }
        const std::uint32_t v = tb_.flipSliceMove[node.cls * kMoves + tb_.symMoveConj[node.sym][c.move]];
        c.node.cls = index::classOf(v);
        c.node.sym = tb_.symProduct[index::symOf(v)][node.sym];
        c.index = index::phase1(c.node.cls, tb_.twistConj[index::conj(c.node.twist, c.node.sym)]);
        tb_.phase1.prefetch(c.index);
        if (left > 1) __builtin_prefetch(tb_.flipSliceMove + c.node.cls * kMoves);
        kids[kept++] = c;
    }
    count = kept;
    kept = 0;
    for (int i = 0; i < count; ++i) {
        Child& c = kids[i];
        c.node.dist = nextDepth[node.dist][tb_.phase1.get(c.index)];
        if (c.node.dist > left || c.node.dist == 0) continue;  // left > 0 here: no early entry
        kids[kept++] = c;
    }
    for (int i = 0; i < kept; ++i) {
        const Child& c = kids[i];
        place(depth, c.move);
        if (phase1(c.node, depth + 1, left, c.move / 3)) return true;
        if (stopped_) return false;
    }
    return false;
}

// The children the move rules allow, with their raw coordinates; a last phase-1 move must
// leave the phase-2 group, or that end point was reached one move earlier.
int FastSearch::rawChildren(const Phase1Node& node, int left, int prevAxis, Child* kids) {
    int count = 0;
    for (int m = 0; m < kFaceMoves; ++m) {
        if (!axisMayFollow(m / 3, prevAxis, false)) {
            m += 2;
            continue;
        }
        if (left == 0 && isPhase2Move(m)) continue;
        Child& c = kids[count++];
        c.move = m;
        c.node.twist = tb_.twistMove[node.twist * kMoves + m];
        c.node.slice = t_.sliceMove[node.slice * kMoves + m];
        c.node.flip = t_.flipMove[node.flip * kMoves + m];
        __builtin_prefetch(&f_.twistSlice[c.node.twist * kSlices + c.node.slice]);
        __builtin_prefetch(&f_.flipSlice[c.node.flip * kSlices + c.node.slice]);
    }
    r_.phase1Nodes += count;
    return count;
}

void FastSearch::updateCorners(int depth) {
    for (int j = validCorners_; j < depth; ++j) {
        cornerPerm_[j + 1] = tb_.cornerPermMove[cornerPerm_[j] * kMoves + path_[j]];
        sliceSorted_[0][j + 1] = tb_.sliceSortedMove[sliceSorted_[0][j] * kMoves + path_[j]];
    }
    validCorners_ = depth;
}

void FastSearch::updateEdges(int depth) {
    for (int j = validEdges_; j < depth; ++j) {
        const int m1 = tb_.symMoveConj[kSymUrf3][path_[j]];
        const int m2 = tb_.symMoveConj[kSymUrf3][m1];
        sliceSorted_[1][j + 1] = tb_.sliceSortedMove[sliceSorted_[1][j] * kMoves + m1];
        sliceSorted_[2][j + 1] = tb_.sliceSortedMove[sliceSorted_[2][j] * kMoves + m2];
    }
    validEdges_ = depth;
}

bool FastSearch::endPoint(int depth, int lastAxis) {
    const int budget = std::min(o_.maxLength - depth, kPhase2Cap);
    updateCorners(depth);  // the corner side first: its bound alone rejects most end points
    const int cp = cornerPerm_[depth];
    const int sp = static_cast<int>(index::slicePermutation(sliceSorted_[0][depth]));
    const int cornerBound = f_.cornerSlice[cp * kSlicePermutations + sp];
    if (cornerBound > budget) return false;
    updateEdges(depth);
    const int ue = tb_.udEdgeFromSlices[index::udEdgeFromSlices(sliceSorted_[1][depth], sliceSorted_[2][depth])];
    const int bound = std::max<int>(cornerBound, f_.edgeSlice[ue * kSlicePermutations + sp]);
    if (bound > budget) return false;
    ++r_.endPoints;
    if (cp == 0 && ue == 0 && sp == 0) {
        r_.length = depth;
        return true;
    }
    // The table holds the corner-and-edge distance modulo 3 and the corners and the edges alone
    // bound it from below: the least distance that fits both often exceeds the budget already,
    // which saves walking the table down to the exact value.
    const int residue = tb_.phase2.get(phase2Index(t_, cp, ue));
    const int floor = std::max<int>(tb_.cornerPermDepth[cp], f_.udEdgeDepth[ue]);
    if (floor + (residue - floor % 3 + 3) % 3 > budget) return false;
    const int exact = phase2Exact(cp, ue, residue);
    for (int k = std::max(exact, bound); k <= budget; ++k) {
        if (phase2(cp, ue, sp, exact, depth, k, lastAxis)) {
            r_.length = depth + k;
            return true;
        }
        if (stopped_) return false;
    }
    return false;
}

// The exact corner-and-edge distance, walking the mod-3 table down to the goal: at each step
// the entries of all ten neighbours are fetched together, then the first one a step closer is
// taken.
int FastSearch::phase2Exact(int cp, int ue, int residue) const {
    int d = 0;
    while (cp != 0 || ue != 0) {
        const int want = (residue + 2) % 3;
        int cps[10], ues[10];
        std::uint64_t idx[10];
        for (int i = 0; i < 10; ++i) {
            const int m = kPhase2MoveList[i];
            cps[i] = tb_.cornerPermMove[cp * kMoves + m];
            ues[i] = tb_.udEdgePermMove[ue * kMoves + m];
            idx[i] = phase2Index(t_, cps[i], ues[i]);
            tb_.phase2.prefetch(idx[i]);
        }
        int next = 0;
        while (next < 10 && tb_.phase2.get(idx[next]) != want) ++next;
        if (next == 10 || ++d > kDepthLimit) return kDepthLimit;  // a damaged table: no phase 2 here
        cp = cps[next];
        ue = ues[next];
        residue = want;
    }
    return d;
}

bool FastSearch::phase2(int cp, int ue, int sp, int dist, int depth, int togo, int prevAxis) {
    if (tick()) return false;
    const int left = togo - 1;
    for (int m : kPhase2MoveList) {
        const int axis = m / 3;
        if (!axisMayFollow(axis, prevAxis, false)) continue;
        ++r_.phase2Nodes;
        const int cp2 = tb_.cornerPermMove[cp * kMoves + m];
        const int sp2 = tb_.sliceSortedMove[sp * kMoves + m];
        if (f_.cornerSlice[cp2 * kSlicePermutations + sp2] > left) continue;
        const int ue2 = tb_.udEdgePermMove[ue * kMoves + m];
        if (f_.edgeSlice[ue2 * kSlicePermutations + sp2] > left) continue;
        const int dist2 = nextDepth[dist][tb_.phase2.get(phase2Index(t_, cp2, ue2))];
        if (dist2 > left) continue;
        path_[depth] = m;
        if (left == 0) return true;  // every bound is 0: solved
        if (phase2(cp2, ue2, sp2, dist2, depth + 1, left, axis)) return true;
    }
    return false;
}

std::vector<Move> FastSearch::maneuverOf(int length) const {
    const auto& back = backMoves()[p_->turns];
    std::vector<Move> moves;
    for (int j = 0; j < length; ++j) {
        const int m = back[path_[j]];
        moves.push_back(Move{static_cast<std::uint8_t>(m / 3), static_cast<std::uint8_t>(m % 3 + 1)});
    }
    if (p_->inverse) {  // solving the inverse gives the cube itself: undo it backwards
        std::reverse(moves.begin(), moves.end());
        for (auto& mv : moves) mv.power = static_cast<std::uint8_t>(4 - mv.power);
    }
    return moves;
}

FastResult FastSearch::run(const CubieCube& cube) {
    present(cube);
    int first = kDepthLimit;
    for (const auto& p : shown_) first = std::min<int>(first, p.start.dist);
    for (int depth = first; depth <= std::min(o_.maxLength, kDepthLimit) && !stopped_; ++depth) {
        for (const auto& p : shown_) {
            if (p.start.dist > depth) continue;
            p_ = &p;
            validCorners_ = validEdges_ = 0;
            cornerPerm_[0] = p.cornerPerm;  // level 0: the presentation itself
            for (int a = 0; a < 3; ++a) sliceSorted_[a][0] = p.sliceSorted[a];
            if (phase1(p.start, 0, depth, -1)) {
                r_.moves = maneuverOf(r_.length);
                return r_;
            }
            if (stopped_) break;
        }
    }
    r_.length = -1;
    r_.stopped = stopped_;
    return r_;
}

bool solves(const CubieCube& cube, const std::vector<Move>& moves) {
    CubieCube c = cube;
    for (const auto& mv : moves) c.applyMove(3 * mv.axis + mv.power - 1);
    const CubieCube solved;
    return c.corners == solved.corners && c.edges == solved.edges;
}

}  // namespace

std::string fastEngineProblem(const TableSet& tables, const CubieCube& cube) {
    if (std::string missing = missingTables(tables, false, false, false); !missing.empty()) return missing;
    if (cube.centersCount) return "The fast engine does not solve cubes whose centre orientation counts.";
    if (cube.hasUndeterminedCubie()) return "The cube has undetermined pieces.";
    if (auto problem = cubieProblem(cube)) return *problem;
    return {};
}

FastResult solveFast(const TableSet& tables, const CubieCube& cube, const FastOptions& options) {
    FastResult failed;
    failed.error = fastEngineProblem(tables, cube);
    if (!failed.error.empty()) return failed;
    // The solved cube gets U U' (2f), the answer of the improving two-phase search, so both
    // engines write it alike (an optimal search answers it with no move).
    if (solves(cube, {}) && options.maxLength >= 2) {
        FastResult r;
        r.length = 2;
        r.moves = {Move{0, 1}, Move{0, 3}};
        return r;
    }
    FastOptions bounded = options;  // the level arrays hold kDepthLimit moves
    bounded.maxLength = std::min(options.maxLength, kDepthLimit);
    FastResult r = FastSearch(tables, bounded).run(cube);
    if (r.length >= 0 && !solves(cube, r.moves)) {
        r.error = "The fast engine produced a maneuver that does not solve the cube.";
        r.length = -1;
        r.moves.clear();
    }
    return r;
}

}  // namespace tx
