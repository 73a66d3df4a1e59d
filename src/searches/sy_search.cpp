#include "searches/sy_search.hpp"

#include <algorithm>
#include <bit>

#include "cube/symmetry.hpp"

namespace tx {

namespace {

constexpr std::uint8_t kEmptyCorner = kNoCorner;
constexpr std::uint8_t kEmptyEdge = kNoEdge;
constexpr int kEdgeUndo = 8;  // undo entries from 8 on are edge positions

bool has(std::uint64_t mask, int k) { return (mask >> k) & 1; }

template <class Array>
int inversions(const Array& pieces) {
    int n = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        for (std::size_t j = i + 1; j < pieces.size(); ++j) n += pieces[i].c > pieces[j].c;
    return n;
}

}  // namespace

int cubieSubsetOf(SymPieces pieces) {
    if (pieces == SymPieces::CornersOnly) return 1;
    if (pieces == SymPieces::EdgesOnly) return 2;
    return 0;
}

SySearch::SySearch(const SymSearchOptions& options) : options_(options) {
    options_.group = closeGroup(options.group.symmetries, options.group.antisymmetries);
    // Corner arrangements are skipped when a normalising symmetry maps them onto a recorded
    // class. With antisymmetries it must keep them antisymmetries as well; normalising the
    // symmetries alone would skip arrangements whose cubes were never found.
    normalizer_ = normalizer(options_.group);
    for (int k = 1; k < kSymmetries; ++k)
        if (!has(options_.group.symmetries, k)) nonMembers_.push_back(k);
    buildOrbits();
}

// The thread runs this object's search: it ends before the members it reads.
SySearch::~SySearch() {
    requestStop();
    join();
}

// For every choice (position, cubie, orientation) the placements that the symmetries and the
// antisymmetries require, without repeats and without the choice itself.
void SySearch::buildOrbits() {
    const auto& a = symmetryAction();
    const SymmetryGroup& g = options_.group;
    auto add = [](std::vector<Placement>& orbit, Placement p, Placement self) {
        if (p.pos == self.pos && p.cubie == self.cubie && p.ori == self.ori) return;
        for (const auto& q : orbit)
            if (q.pos == p.pos && q.cubie == p.cubie && q.ori == p.ori) return;
        orbit.push_back(p);
    };
    for (int p = 0; p < 8; ++p)
        for (int j = 0; j < 8; ++j)
            for (int o = 0; o < 3; ++o) {
                const Placement self{std::uint8_t(p), std::uint8_t(j), std::uint8_t(o)};
                auto& orbit = cornerOrbits_[p][j][o];
                for (int s = 0; s < kSymmetries; ++s) {
                    if (has(g.symmetries, s)) {
                        const int to = a.cornerPerm[s][p];
                        const int ori = cornerOriSum(cornerOriSum(a.cornerOri[s][j], o), a.cornerInvOri[s][to]);
                        add(orbit, {std::uint8_t(to), a.cornerPerm[s][j], std::uint8_t(ori)}, self);
                    }
                    if (has(g.antisymmetries, s)) {
                        const int to = a.cornerPerm[s][j];
                        const int ori = cornerOriSum(cornerOriSum(a.cornerOri[s][p], cornerOriInverse(o)),
                                                     a.cornerInvOri[s][to]);
                        add(orbit, {std::uint8_t(to), a.cornerPerm[s][p], std::uint8_t(ori)}, self);
                    }
                }
            }
    for (int p = 0; p < 12; ++p)
        for (int j = 0; j < 12; ++j)
            for (int f = 0; f < 2; ++f) {
                const Placement self{std::uint8_t(p), std::uint8_t(j), std::uint8_t(f)};
                auto& orbit = edgeOrbits_[p][j][f];
                for (int s = 0; s < kSymmetries; ++s) {
                    if (has(g.symmetries, s)) {
                        const int to = a.edgePerm[s][p];
                        const int flip = (a.edgeOri[s][j] + f + a.edgeInvOri[s][to]) & 1;
                        add(orbit, {std::uint8_t(to), a.edgePerm[s][j], std::uint8_t(flip)}, self);
                    }
                    if (has(g.antisymmetries, s)) {
                        const int to = a.edgePerm[s][j];
                        const int flip = (a.edgeOri[s][p] + f + a.edgeInvOri[s][to]) & 1;
                        add(orbit, {std::uint8_t(to), a.edgePerm[s][p], std::uint8_t(flip)}, self);
                    }
                }
            }
}

void SySearch::setUp() {
    corners_.fill({kEmptyCorner, 0});
    edges_.fill({kEmptyEdge, 0});
    cornerUsed_.fill(false);
    edgeUsed_.fill(false);
    FaceletCube empty;
    empty.clear();
    facelets_ = empty.f;
    for (auto& face : colourCount_) face.fill(0);
    for (int face = 0; face < 6; ++face) {
        colourCount_[face][face] = 1;  // the centre
        distinct_[face] = 1;
    }
    undo_.clear();
    allowedColours_ = options_.colourCounts & 0b1111110;
    if (allowedColours_ == 0) allowedColours_ = 0b10;
    maxColours_ = std::bit_width(allowedColours_) - 1;
    cornerClassStart_.assign(1, -1);
    currentCornerClass_ = 0;
    classCorners_.clear();
    cubesFound_.clear();
}

void SySearch::search() {
    setUp();
    cornerStep(0);
}

void SySearch::count(int facelet, int delta) {
    const int face = facelet / 9;
    auto& n = colourCount_[face][facelets_[facelet]];
    if (delta > 0 && n++ == 0) ++distinct_[face];
    if (delta < 0 && --n == 0) --distinct_[face];
}

void SySearch::putCorner(int pos, int cubie, int ori) {
    corners_[pos] = {std::uint8_t(cubie), std::uint8_t(ori)};
    cornerUsed_[cubie] = true;
    writeCorner(facelets_, pos, cubie, ori);
    for (int s = 0; s < 3; ++s) count(kCornerFacelet[pos][s], +1);
}

void SySearch::removeCorner(int pos) {
    for (int s = 0; s < 3; ++s) count(kCornerFacelet[pos][s], -1);
    clearCorner(facelets_, pos);
    cornerUsed_[corners_[pos].c] = false;
    corners_[pos] = {kEmptyCorner, 0};
}

void SySearch::putEdge(int pos, int cubie, int flip) {
    edges_[pos] = {std::uint8_t(cubie), std::uint8_t(flip)};
    edgeUsed_[cubie] = true;
    writeEdge(facelets_, pos, cubie, flip);
    for (int s = 0; s < 2; ++s) count(kEdgeFacelet[pos][s], +1);
}

void SySearch::removeEdge(int pos) {
    for (int s = 0; s < 2; ++s) count(kEdgeFacelet[pos][s], -1);
    clearEdge(facelets_, pos);
    edgeUsed_[edges_[pos].c] = false;
    edges_[pos] = {kEmptyEdge, 0};
}

void SySearch::undoTo(std::size_t mark) {
    while (undo_.size() > mark) {
        const int pos = undo_.back();
        undo_.pop_back();
        if (pos < kEdgeUndo)
            removeCorner(pos);
        else
            removeEdge(pos - kEdgeUndo);
    }
}

// A required position that is empty while the required cubie is free gets it; any other
// disagreement rejects the choice.
bool SySearch::propagateCorners(const Orbit& orbit) {
    for (const auto& q : orbit) {
        const Piece& at = corners_[q.pos];
        if (at.c == kEmptyCorner) {
            if (cornerUsed_[q.cubie]) return false;
            putCorner(q.pos, q.cubie, q.ori);
            undo_.push_back(q.pos);
        } else if (at.c != q.cubie || at.o != q.ori) {
            return false;
        }
    }
    return true;
}

bool SySearch::propagateEdges(const Orbit& orbit) {
    for (const auto& q : orbit) {
        const Piece& at = edges_[q.pos];
        if (at.c == kEmptyEdge) {
            if (edgeUsed_[q.cubie]) return false;
            putEdge(q.pos, q.cubie, q.ori);
            undo_.push_back(kEdgeUndo + q.pos);
        } else if (at.c != q.cubie || at.o != q.ori) {
            return false;
        }
    }
    return true;
}

bool SySearch::coloursWithinMax() const {
    if (maxColours_ >= 6) return true;
    for (int n : distinct_)
        if (n > maxColours_) return false;
    return true;
}

void SySearch::cornerStep(int p) {
    if (stopRequested()) return;
    takeTurn();
    const bool fixed = options_.pieces == SymPieces::EdgesMove || options_.pieces == SymPieces::EdgesOnly;
    for (int j = fixed ? p : 0; j < (fixed ? p + 1 : 8); ++j) {
        if (cornerUsed_[j]) continue;
        for (int o = 0; o < (fixed ? 1 : 3); ++o) {
            const std::size_t mark = undo_.size();
            putCorner(p, j, o);
            if (propagateCorners(cornerOrbits_[p][j][o]) && coloursWithinMax()) {
                const auto next = std::find_if(corners_.begin(), corners_.end(),
                                               [](const Piece& c) { return c.c == kEmptyCorner; });
                if (next != corners_.end())
                    cornerStep(static_cast<int>(next - corners_.begin()));
                else
                    cornersComplete();
            }
            undoTo(mark);
            removeCorner(p);
            if (stopRequested()) return;
        }
    }
}

void SySearch::cornersComplete() {
    int twist = 0;
    for (const auto& c : corners_) twist += c.o;
    if (twist % 3 != 0) return;
    if (!options_.allowIsomorphs) {
        // A corner arrangement that a normalising symmetry maps onto a recorded class gives
        // only cubes isomorphic to those already found.
        if (classCorners_.count(canonicalCornerKey(corners_, normalizer_))) return;
        if (cornerClassStart_[currentCornerClass_] >= 0) {
            ++currentCornerClass_;
            if (currentCornerClass_ == cornerClassStart_.size()) cornerClassStart_.push_back(-1);
        }
    }
    edgeStep(0);
}

bool SySearch::newEdgesContinuous(int p, std::size_t mark) const {
    if (!edgeContinuous(facelets_, p)) return false;
    for (std::size_t i = mark; i < undo_.size(); ++i)
        if (!edgeContinuous(facelets_, undo_[i] - kEdgeUndo)) return false;
    return true;
}

void SySearch::edgeStep(int p) {
    if (stopRequested()) return;
    const bool fixed = options_.pieces == SymPieces::CornersMove || options_.pieces == SymPieces::CornersOnly;
    const bool continuity = options_.continuous && options_.pieces == SymPieces::All;
    for (int j = fixed ? p : 0; j < (fixed ? p + 1 : 12); ++j) {
        if (edgeUsed_[j]) continue;
        for (int f = 0; f < (fixed ? 1 : 2); ++f) {
            std::size_t mark = undo_.size();
            putEdge(p, j, f);
            if (propagateEdges(edgeOrbits_[p][j][f]) && coloursWithinMax() &&
                (!continuity || newEdgesContinuous(p, mark))) {
                const auto next = std::find_if(edges_.begin(), edges_.end(),
                                               [](const Piece& e) { return e.c == kEmptyEdge; });
                if (next != edges_.end())
                    edgeStep(static_cast<int>(next - edges_.begin()));
                else
                    accept();
            }
            undoTo(mark);
            removeEdge(p);
            if (stopRequested()) return;
        }
    }
}

// The tests a complete cube must pass, cheapest first.
bool SySearch::acceptable() const {
    int flip = 0;
    for (const auto& e : edges_) flip += e.o;
    if (flip % 2 != 0) return false;
    const bool oddPermutation = (inversions(corners_) + inversions(edges_)) % 2 != 0;
    const bool oddWanted = options_.pieces == SymPieces::EdgesOnly || options_.pieces == SymPieces::CornersOnly;
    if (oddPermutation != oddWanted) return false;
    for (int n : distinct_)
        if (!((allowedColours_ >> n) & 1)) return false;
    if (options_.exact)
        for (int k : nonMembers_)
            if (invariantUnder(corners_, edges_, k)) return false;
    if (options_.rejectSelfInverse && inverseCorners(corners_) == corners_ && inverseEdges(edges_) == edges_)
        return false;
    return true;
}

// The isomorphism test against every cube found so far in this run; records the cube.
bool SySearch::isNewCube() {
    const CubeKey key = canonicalCubeKey(corners_, edges_, kAllSymmetries);
    if (cubesFound_.count(key)) return false;
    cubesFound_.insert(key);
    if (options_.isoIncludesInverse)
        cubesFound_.insert(canonicalCubeKey(inverseCorners(corners_), inverseEdges(edges_), kAllSymmetries));
    if (cornerClassStart_[currentCornerClass_] < 0) {
        cornerClassStart_[currentCornerClass_] = found();
        classCorners_.insert(canonicalCornerKey(corners_, normalizer_));
        if (options_.isoIncludesInverse) classCorners_.insert(canonicalCornerKey(inverseCorners(corners_), normalizer_));
    }
    return true;
}

FaceletCube SySearch::resultCube() const {
    FaceletCube cube;
    cube.f = facelets_;
    if (options_.pieces == SymPieces::EdgesOnly) {
        // URF and UFL exchange their side colours: the odd edge permutation becomes solvable.
        cube.f[9] = F;
        cube.f[20] = L;
        cube.f[38] = F;
        cube.f[18] = R;
    } else if (options_.pieces == SymPieces::CornersOnly) {
        // FR and FL exchange their side colours.
        cube.f[12] = L;
        cube.f[41] = R;
    }
    return cube;
}

void SySearch::accept() {
    if (!acceptable()) return;
    if (!options_.allowIsomorphs && !isNewCube()) return;
    deliver(resultCube());
}

}  // namespace tx
