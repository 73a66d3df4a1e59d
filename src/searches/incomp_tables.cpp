#include "searches/incomp_tables.hpp"

#include <algorithm>
#include <deque>
#include <stdexcept>

#include "tables/prune_generate.hpp"
#include "tables/prune_spaces.hpp"

namespace tx {

using namespace incomp;

namespace {

// The D-face table as an index space of the table generator: a class of D-edge positions
// (its representative stands for it) and the D-corner coordinate in that class frame.
struct DFaceSpace {
    const IncompTables& t;
    std::uint64_t entries = IncompTables::kDFaceEntries;
    const std::vector<int>& moves;
    int switchPass = 6;  // the first seven layers forward, then backward

    explicit DFaceSpace(const IncompTables& tables) : t(tables), moves(tableMoves(tables.sliceMode, false)) {}
    std::uint64_t weight(std::uint64_t) const { return 1; }
    std::uint64_t neighbour(std::uint64_t idx, int m) const {
        const int cls = static_cast<int>(idx / kCorner4), corner = static_cast<int>(idx % kCorner4);
        return t.dFaceIndex(t.move4(t.dEdgeRep[cls], m), t.corner4Move[corner * t.moveCount + m]);
    }
    // The same position with the corners conjugated by a symmetry of the representative.
    template <class F>
    void images(std::uint64_t idx, F&& f) const {
        const int cls = static_cast<int>(idx / kCorner4), corner = static_cast<int>(idx % kCorner4);
        const unsigned mask = t.dEdgeStab[cls];
        for (int s = 1; s < IncompTables::kDSymmetries; ++s)
            if (mask >> s & 1) f(std::uint64_t(cls) * kCorner4 + t.dCornerConj[corner * IncompTables::kDSymmetries + s]);
    }
};

// k pieces over n slots moved by one move: slots -> positions -> destinations -> slots.
template <class ToPosition, class ToSlot>
void fillPlacementMoves(std::vector<std::uint16_t>& table, int n, int k, int moveCount,
                        const std::vector<MoveDestinations>& dest, bool edges, ToPosition toPosition, ToSlot toSlot) {
    const int rows = placements(n, k);
    table.resize(std::size_t(rows) * moveCount);
    int places[kMaxGroup], moved[kMaxGroup];
    for (int v = 0; v < rows; ++v) {
        decodeSlots(v, k, n, places);
        for (int m = 0; m < moveCount; ++m) {
            for (int j = 0; j < k; ++j) {
                const int p = toPosition(places[j]);
                moved[j] = toSlot(edges ? dest[m].edge[p] : dest[m].corner[p]);
            }
            table[std::size_t(v) * moveCount + m] = static_cast<std::uint16_t>(encodeSlots(moved, k, n));
        }
    }
}

void buildPieceMoves(IncompTables& t, const std::vector<MoveDestinations>& dest) {
    const int mc = t.moveCount;
    fillPlacementMoves(t.edge4Move, kEdgeSlots, 4, mc, dest, true, edgePosition, edgeSlot);
    fillPlacementMoves(t.corner4Move, kCornerSlots, 4, mc, dest, false, cornerPosition, cornerSlot);
    t.edgeSlotMove.resize(std::size_t(kEdgeSlots) * mc);
    for (int s = 0; s < kEdgeSlots; ++s)
        for (int m = 0; m < mc; ++m) t.edgeSlotMove[s * mc + m] = static_cast<std::uint8_t>(edgeSlot(dest[m].edge[edgePosition(s)]));
    t.freeRank.assign(std::size_t(kEdge4) * kEdgeSlots, 255);
    int places[4];
    for (int v = 0; v < kEdge4; ++v) {
        decodeSlots(v, 4, kEdgeSlots, places);
        for (int s = 0, rank = 0; s < kEdgeSlots; ++s)
            if (std::find(places, places + 4, s) == places + 4) t.freeRank[v * kEdgeSlots + s] = static_cast<std::uint8_t>(rank++);
    }
}

void buildMaskMoves(IncompTables& t, const std::vector<MoveDestinations>& dest) {
    const int mc = t.moveCount;
    t.edgeMaskMove.resize(std::size_t(4096) * mc);
    t.edgeFlips.assign(mc, 0);
    for (int m = 0; m < mc; ++m) {
        for (int p = 0; p < 12; ++p)
            if (dest[m].edgeFlip[p]) t.edgeFlips[m] |= static_cast<std::uint16_t>(1u << p);
        for (int mask = 0; mask < 4096; ++mask) {
            unsigned moved = 0;
            for (int p = 0; p < 12; ++p)
                if (mask >> p & 1) moved |= 1u << dest[m].edge[p];
            t.edgeMaskMove[mask * mc + m] = static_cast<std::uint16_t>(moved);
        }
    }
}

// A word holds two bits per corner position (position p at bits 2p), 3 for an orientation
// not given. The two halves move independently, so two tables of 256 rows serve all words.
void buildWordTables(IncompTables& t, const std::vector<MoveDestinations>& dest) {
    const int mc = t.moveCount;
    t.wordMoveLow.resize(std::size_t(256) * mc);
    t.wordMoveHigh.resize(std::size_t(256) * mc);
    for (int half = 0; half < 2; ++half) {
        auto& table = half == 0 ? t.wordMoveLow : t.wordMoveHigh;
        for (int b = 0; b < 256; ++b) {
            for (int m = 0; m < mc; ++m) {
                unsigned moved = 0;
                for (int j = 0; j < 4; ++j) {
                    const int p = 4 * half + j, digit = b >> (2 * j) & 3, q = dest[m].corner[p];
                    const int now = digit == 3 ? 3 : (digit + dest[m].cornerTwist[q]) % 3;
                    moved |= static_cast<unsigned>(now) << (2 * q);
                }
                table[b * mc + m] = static_cast<std::uint16_t>(moved);
            }
        }
    }
    // Breadth-first from every word whose digits are all 0 or 3.
    t.wordDepth.assign(IncompTables::kWords, IncompTables::kUnreachable);
    std::deque<std::uint16_t> queue;
    for (int w = 0; w < IncompTables::kWords; ++w) {
        bool goal = true;
        for (int p = 0; p < 8; ++p) goal &= (w >> (2 * p) & 3) == 0 || (w >> (2 * p) & 3) == 3;
        if (goal) {
            t.wordDepth[w] = 0;
            queue.push_back(static_cast<std::uint16_t>(w));
        }
    }
    while (!queue.empty()) {
        const std::uint16_t w = queue.front();
        queue.pop_front();
        for (int m = 0; m < mc; ++m) {
            const std::uint16_t n = t.moveWord(w, m);
            if (t.wordDepth[n] != IncompTables::kUnreachable) continue;
            t.wordDepth[n] = static_cast<std::uint8_t>(t.wordDepth[w] + 1);
            queue.push_back(n);
        }
    }
}

// A cube whose D-layer edges (cubies 4..7) stand at the given slots, the others in order.
CubieCube withDEdges(const int* places) {
    CubieCube c;
    bool used[12] = {};
    for (int j = 0; j < 4; ++j) {
        const int p = edgePosition(places[j]);
        c.edges[p] = {static_cast<std::uint8_t>(4 + j), 0};
        used[p] = true;
    }
    for (int p = 0, next = 0; p < 12; ++p) {
        if (used[p]) continue;
        if (next == 4) next = 8;
        c.edges[p] = {static_cast<std::uint8_t>(next++), 0};
    }
    return c;
}

CubieCube withDCorners(const int* places) {
    CubieCube c;
    bool used[8] = {};
    for (int j = 0; j < 4; ++j) {
        const int p = cornerPosition(places[j]);
        c.corners[p] = {static_cast<std::uint8_t>(4 + j), 0};
        used[p] = true;
    }
    for (int p = 0, next = 0; p < 8; ++p)
        if (!used[p]) c.corners[p] = {static_cast<std::uint8_t>(next++), 0};
    return c;
}

// The classes of the D-edge coordinate under the 8 symmetries that keep the D face: the
// representative is the smallest conjugate, sym the first symmetry that reaches it.
void buildDClasses(IncompTables& t) {
    constexpr int kS = IncompTables::kDSymmetries;
    std::vector<std::uint16_t> conj(std::size_t(kEdge4) * kS);
    int places[4];
    CubieCube out;
    for (int v = 0; v < kEdge4; ++v) {
        decodeSlots(v, 4, kEdgeSlots, places);
        const CubieCube c = withDEdges(places);
        for (int s = 0; s < kS; ++s) {
            conjugateEdges(c, s, out);
            conj[v * kS + s] = static_cast<std::uint16_t>(dLayerCoordinate(out.edges, edgeSlot));
        }
    }
    t.dEdgeRep.clear();
    for (int v = 0; v < kEdge4; ++v)
        if (*std::min_element(&conj[v * kS], &conj[v * kS] + kS) == v) t.dEdgeRep.push_back(static_cast<std::uint16_t>(v));
    if (t.dEdgeRep.size() != IncompTables::kDEdgeClasses) throw std::logic_error("D-face edge classes");
    t.dEdgeClass.resize(kEdge4);
    for (int v = 0; v < kEdge4; ++v) {
        const std::uint16_t* row = &conj[v * kS];
        const int sym = static_cast<int>(std::min_element(row, row + kS) - row);
        const int cls = static_cast<int>(std::lower_bound(t.dEdgeRep.begin(), t.dEdgeRep.end(), row[sym]) - t.dEdgeRep.begin());
        t.dEdgeClass[v] = static_cast<std::uint16_t>(cls * kS + sym);
    }
    t.dEdgeStab.assign(IncompTables::kDEdgeClasses, 0);
    for (int cls = 0; cls < IncompTables::kDEdgeClasses; ++cls)
        for (int s = 0; s < kS; ++s)
            if (conj[t.dEdgeRep[cls] * kS + s] == t.dEdgeRep[cls]) t.dEdgeStab[cls] |= static_cast<std::uint8_t>(1u << s);
    t.dCornerConj.resize(std::size_t(kCorner4) * kS);
    for (int v = 0; v < kCorner4; ++v) {
        decodeSlots(v, 4, kCornerSlots, places);
        const CubieCube c = withDCorners(places);
        for (int s = 0; s < kS; ++s) {
            conjugateCorners(c, s, out);
            t.dCornerConj[v * kS + s] = static_cast<std::uint16_t>(dLayerCoordinate(out.corners, cornerSlot));
        }
    }
}

}  // namespace

int IncompTables::dFaceDistance(int edge4, int corner4) const {
    return exactDistance(DFaceSpace(*this), [&](std::uint64_t k) { return dFace.get(k); }, dFaceIndex(edge4, corner4));
}

int IncompTables::corner8Distance(int cornerPerm, int twist) const {
    return exactDistance(CornerSpace(*coords, sliceMode), [&](std::uint64_t k) { return corners8->get(k); },
                         cornerIndex(*coords, cornerPerm, twist));
}

std::size_t IncompTables::bytes() const {
    auto size = [](const auto& v) { return v.size() * sizeof(v[0]); };
    return size(edge4Move) + size(corner4Move) + size(edgeSlotMove) + size(freeRank) + size(edgeMaskMove) +
           size(edgeFlips) + size(wordMoveLow) + size(wordMoveHigh) + size(dEdgeClass) + size(dEdgeRep) +
           size(dEdgeStab) + size(dCornerConj) + size(dFace.words) + size(wordDepth);
}

std::shared_ptr<const IncompTables> buildIncompTables(std::shared_ptr<const CoordTables> coords,
                                                      std::shared_ptr<const TwoBitTable> corners8, bool sliceMode,
                                                      const IncompProgress& progress) {
    auto report = [&](int percent) {
        if (progress) progress(percent);
    };
    auto t = std::make_shared<IncompTables>();
    t->sliceMode = sliceMode;
    t->moveCount = sliceMode ? kMoves : kFaceMoves;
    t->coords = std::move(coords);
    t->corners8 = std::move(corners8);
    report(0);
    std::vector<MoveDestinations> dest;
    for (int m = 0; m < t->moveCount; ++m) dest.push_back(moveDestinations(m));
    buildPieceMoves(*t, dest);
    buildMaskMoves(*t, dest);
    buildWordTables(*t, dest);
    report(10);
    buildDClasses(*t);
    report(20);
    // Eleven passes or so fill the table; the bar runs from 20 to 100 over them.
    generateTable(DFaceSpace(*t), t->dFace, 0, [&](int pass) {
        report(pass >= 0 ? std::min(99, 20 + 8 * (pass + 1)) : -1);
    });
    report(100);
    return t;
}

std::shared_ptr<const TwoBitTable> cornerTableOf(const TableSet& set) {
    if (!set.standard) return nullptr;
    return std::shared_ptr<const TwoBitTable>(set.standard, &set.standard->corner);
}

}  // namespace tx
