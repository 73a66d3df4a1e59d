#include "searches/incomp_plan.hpp"

#include <algorithm>
#include <deque>

namespace tx {

using namespace incomp;

namespace {

constexpr std::uint8_t kFar = 255;

// Exact distances over n values from every goal, through neighbour(value, move).
template <class Neighbour>
std::vector<std::uint8_t> breadthFirst(int n, const std::vector<int>& goals, const std::vector<int>& moves,
                                       Neighbour neighbour) {
    std::vector<std::uint8_t> depth(n, kFar);
    std::deque<int> queue;
    for (int g : goals) {
        if (depth[g] == 0) continue;
        depth[g] = 0;
        queue.push_back(g);
    }
    while (!queue.empty()) {
        const int v = queue.front();
        queue.pop_front();
        for (int m : moves) {
            const int w = neighbour(v, m);
            if (depth[w] != kFar) continue;
            depth[w] = static_cast<std::uint8_t>(depth[v] + 1);
            queue.push_back(w);
        }
    }
    return depth;
}

// Four bits an entry; distances beyond 14 are kept as 14, which still bounds them from below.
std::vector<std::uint8_t> packNibbles(int n, const std::uint8_t* depth, int (*indexOf)(int, int), int scale) {
    std::vector<std::uint8_t> nibbles((n + 1) / 2, 0);
    for (int i = 0; i < n; ++i) {
        const std::uint8_t d = depth[indexOf(i, scale)];
        const int v = d == kFar ? IncompGroup::kEmpty : std::min<int>(d, IncompGroup::kEmpty - 1);
        nibbles[i >> 1] |= static_cast<std::uint8_t>(v << (4 * (i & 1)));
    }
    return nibbles;
}

// The positions of the identified edges, by cubie.
std::vector<std::pair<int, int>> identifiedEdges(const CubieCube& cube) {
    std::vector<std::pair<int, int>> found;  // (cubie, position)
    for (int p = 0; p < 12; ++p)
        if (cube.edges[p].c < 12) found.push_back({cube.edges[p].c, p});
    std::sort(found.begin(), found.end());
    return found;
}

// A group of up to five identified edges: its table and its start in `start`.
IncompGroup makeGroup(const std::vector<std::pair<int, int>>& edges, const IncompTables& t, const std::vector<int>& moves,
                      IncompNode& start, int g) {
    IncompGroup group;
    const int k = static_cast<int>(edges.size());
    group.size = k;
    int places[kMaxGroup], home[kMaxGroup];
    for (int j = 0; j < k; ++j) {
        places[j] = edgeSlot(edges[j].second);
        home[j] = edgeSlot(edges[j].first);
    }
    if (k < 5) {
        // Carried as four edges: the group's coordinate times the values of the unused digits.
        const int scale = placements(kEdgeSlots - k, 4 - k);
        start.group[g] = static_cast<std::uint16_t>(encodeSlots(places, k, kEdgeSlots) * scale);
        const auto depth = breadthFirst(placements(kEdgeSlots, k), {encodeSlots(home, k, kEdgeSlots)}, moves,
                                        [&](int v, int m) { return t.move4(v * scale, m) / scale; });
        group.nibbles = packNibbles(kEdge4, depth.data(), [](int i, int s) { return i / s; }, scale);
        return group;
    }
    start.group[g] = static_cast<std::uint16_t>(encodeSlots(places, 4, kEdgeSlots));
    start.fifth[g] = static_cast<std::uint8_t>(places[4]);
    // Index: first four edges x 8 + the fifth's rank among the free slots.
    auto fifthSlot = [&](int first4, int rank) {
        for (int s = 0; s < kEdgeSlots; ++s)
            if (t.freeRank[first4 * kEdgeSlots + s] == rank) return s;
        return 0;
    };
    auto indexOf = [&](int first4, int slot) { return first4 * 8 + t.freeRank[first4 * kEdgeSlots + slot]; };
    const int goal = indexOf(encodeSlots(home, 4, kEdgeSlots), home[4]);
    const auto depth = breadthFirst(kEdge5, {goal}, moves, [&](int i, int m) {
        const int first4 = i / 8, slot = fifthSlot(first4, i % 8);
        return indexOf(t.move4(first4, m), t.edgeSlotMove[slot * t.moveCount + m]);
    });
    group.nibbles = packNibbles(kEdge5, depth.data(), [](int i, int) { return i; }, 1);
    return group;
}

// Modes 1 and 3: the corner permutation with the unidentified positions given the missing
// cubies in order, and its distance to any permutation with every identified corner at home.
void planCornerTables(const CubieCube& cube, const IncompTables& t, IncompPlan& plan) {
    CubieCube filled = cube;
    bool used[8] = {};
    for (const Piece& p : cube.corners)
        if (p.c < 8) used[p.c] = true;
    int next = 0;
    for (Piece& p : filled.corners) {
        if (p.c < 8) continue;
        while (used[next]) ++next;
        p.c = static_cast<std::uint8_t>(next++);
    }
    plan.start.cornerPerm = static_cast<std::uint16_t>(filled.cornerPerm());
    std::vector<int> goals;
    CubieCube probe;
    for (int rank = 0; rank < kCornerPerms; ++rank) {
        probe.setCornerPerm(rank);
        bool home = true;
        for (int k = 0; k < 8; ++k) home &= !used[k] || probe.corners[k].c == k;
        if (home) goals.push_back(rank);
    }
    const CoordTables& c = *t.coords;
    plan.cornerPermDepth = breadthFirst(kCornerPerms, goals, plan.moves,
                                        [&](int v, int m) { return c.cornerPermMove[v * kMoves + m]; });
    unsigned word = 0;
    for (int p = 0; p < 8; ++p) word |= static_cast<unsigned>(cube.corners[p].o < 3 ? cube.corners[p].o : 3) << (2 * p);
    plan.start.word = static_cast<std::uint16_t>(word);
    plan.unsolvable |= plan.cornerPermDepth[plan.start.cornerPerm] == kFar ||
                       t.wordDepth[plan.start.word] == IncompTables::kUnreachable;
}

void planDistanceTables(const CubieCube& cube, const IncompTables& t, IncompPlan& plan) {
    IncompNode& s = plan.start;
    if (plan.useDFace) {
        s.dEdges = static_cast<std::uint16_t>(dLayerCoordinate(cube.edges, edgeSlot));
        s.dCorners = static_cast<std::uint16_t>(dLayerCoordinate(cube.corners, cornerSlot));
        const int d = t.dFaceDistance(s.dEdges, s.dCorners);
        plan.unsolvable |= d < 0;
        s.dDistance = static_cast<std::uint8_t>(std::max(d, 0));
    }
    if (plan.useCorners8) {
        s.cornerPerm = static_cast<std::uint16_t>(cube.cornerPerm());
        s.twist = static_cast<std::uint16_t>(cube.twist());
        // The table knows seven twists and implies the eighth: a cube twisted as a whole has none.
        const int d = cube.totalTwist() == 0 ? t.corner8Distance(s.cornerPerm, s.twist) : -1;
        plan.unsolvable |= d < 0;
        s.cornerDistance = static_cast<std::uint8_t>(std::max(d, 0));
    }
    if (plan.useCornerTables) planCornerTables(cube, t, plan);
}

}  // namespace

const char* incompModeMessage(IncompMode mode) {
    switch (mode) {
        case IncompMode::CornersAndDFace: return "Using 8-corner and D-Face accelerator tables.";
        case IncompMode::DFace: return "Using D-Face accelerator table.";
        case IncompMode::Corners: return "Using 8-corner accelerator table.";
        case IncompMode::Plain: break;
    }
    return "Cannot use any accelerator table.";
}

IncompMode chooseIncompMode(const CubieCube& cube) {
    bool corners = true, dCorners[4] = {}, dEdges[4] = {};
    for (const Piece& p : cube.corners) {
        corners &= p.c < 8 && p.o < 3;
        if (p.c >= 4 && p.c < 8) dCorners[p.c - 4] = true;
    }
    for (const Piece& p : cube.edges)
        if (p.c >= 4 && p.c < 8 && p.o < 2) dEdges[p.c - 4] = true;
    bool dLayer = true;
    for (int k = 0; k < 4; ++k) dLayer &= dCorners[k] && dEdges[k];
    if (corners) return dLayer ? IncompMode::CornersAndDFace : IncompMode::Corners;
    return dLayer ? IncompMode::DFace : IncompMode::Plain;
}

std::size_t IncompPlan::tableBytes() const {
    std::size_t bytes = cornerPermDepth.size();
    for (const auto& g : groups) bytes += g.nibbles.size();
    return bytes;
}

IncompPlan planIncompSearch(const CubieCube& cube, const IncompOptions& options, const IncompTables& t) {
    IncompPlan plan;
    plan.mode = chooseIncompMode(cube);
    plan.useDFace = plan.mode == IncompMode::CornersAndDFace || plan.mode == IncompMode::DFace;
    plan.useCorners8 = plan.mode == IncompMode::CornersAndDFace || plan.mode == IncompMode::Corners;
    plan.useCornerTables = !plan.useCorners8;
    for (int m = 0; m < t.moveCount; ++m) {
        const int axis = m / 3;
        if (!t.sliceMode && axis < 6 && (options.excludedFaces >> axis & 1)) continue;
        plan.moves.push_back(m);
    }
    plan.centres = cube.centersCount;
    plan.centerMask = kAllCenterBits & ~options.ignoredCenters;

    IncompNode& s = plan.start;
    planDistanceTables(cube, t, plan);
    const auto edges = identifiedEdges(cube);
    for (std::size_t first = 0; first < edges.size(); first += kMaxGroup) {
        const std::vector<std::pair<int, int>> part(edges.begin() + first,
                                                    edges.begin() + std::min(edges.size(), first + kMaxGroup));
        const int g = static_cast<int>(plan.groups.size());
        plan.groups.push_back(makeGroup(part, t, plan.moves, s, g));
        plan.unsolvable |= plan.groups.back().distance(plan.groupIndex(t, s, g)) == IncompGroup::kEmpty;
    }
    for (int p = 0; p < 12; ++p) {
        if (cube.edges[p].o < 2) s.known |= static_cast<std::uint16_t>(1u << p);
        if (cube.edges[p].o == 1) s.flipped |= static_cast<std::uint16_t>(1u << p);
    }
    if (plan.centres) s.centerOri = static_cast<std::uint16_t>(cube.centerOri());
    return plan;
}

}  // namespace tx
