#pragma once
// Where a few chosen pieces stand, as one number: the coordinates of the search for partially
// defined cubes. Positions are renumbered into slots so that the D layer comes first (slot 0 is
// DR or DFR); then the four D-layer edges, or the four D-layer corners, at home give 0.
//
// A coordinate of k pieces over n slots is mixed radix: digit j is the rank of piece j's slot
// among the slots that pieces 0 .. j-1 left free, the first piece the most significant digit.
// (Arrays of slots are called "places" here: "slots" is a word the Qt headers take.)
// So the coordinate of the first j pieces of a tuple is the tuple's coordinate divided by the
// product of the lower radices, and one move table over four edges serves one to four edges.
#include <array>
#include <cstdint>

#include "cube/cubie_cube.hpp"

namespace tx::incomp {

constexpr int kEdgeSlots = 12;
constexpr int kCornerSlots = 8;
constexpr int kEdge4 = 12 * 11 * 10 * 9;  // four edges: 11880
constexpr int kEdge5 = kEdge4 * 8;        // five edges: 95040
constexpr int kCorner4 = 8 * 7 * 6 * 5;   // four corners: 1680
constexpr int kMaxGroup = 5;              // edges in one group table

constexpr int edgeSlot(int position) { return (position + 8) % kEdgeSlots; }
constexpr int edgePosition(int slot) { return (slot + 4) % kEdgeSlots; }
constexpr int cornerSlot(int position) { return (position + 4) % kCornerSlots; }
constexpr int cornerPosition(int slot) { return (slot + 4) % kCornerSlots; }

// n (n-1) ... (n-k+1): the number of values of a coordinate of k pieces over n slots.
constexpr int placements(int n, int k) {
    int p = 1;
    for (int j = 0; j < k; ++j) p *= n - j;
    return p;
}

inline int encodeSlots(const int* places, int k, int n) {
    int value = 0;
    for (int j = 0; j < k; ++j) {
        int rank = places[j];
        for (int i = 0; i < j; ++i) rank -= places[i] < places[j];
        value = value * (n - j) + rank;
    }
    return value;
}

inline void decodeSlots(int value, int k, int n, int* places) {
    int rank[kMaxGroup] = {};
    for (int j = k - 1; j >= 0; --j) {
        rank[j] = value % (n - j);
        value /= n - j;
    }
    bool taken[kEdgeSlots] = {};
    for (int j = 0; j < k; ++j) {
        int s = -1;
        for (int r = rank[j]; r >= 0;)
            if (!taken[++s]) --r;
        taken[s] = true;
        places[j] = s;
    }
}

// Where each position's piece goes under a move: dest[p] = the position it reaches.
struct MoveDestinations {
    std::array<std::uint8_t, 12> edge{};
    std::array<std::uint8_t, 8> corner{};
    std::array<std::uint8_t, 12> edgeFlip{};     // by the position reached: 1 when flipped
    std::array<std::uint8_t, 8> cornerTwist{};   // by the position reached
};

inline MoveDestinations moveDestinations(int move) {
    CubieCube c;
    c.applyMove(move);
    MoveDestinations d;
    for (int i = 0; i < 12; ++i) {
        d.edge[c.edges[i].c] = static_cast<std::uint8_t>(i);
        d.edgeFlip[i] = c.edges[i].o;
    }
    for (int i = 0; i < 8; ++i) {
        d.corner[c.corners[i].c] = static_cast<std::uint8_t>(i);
        d.cornerTwist[i] = c.corners[i].o;
    }
    return d;
}

// The coordinate of the four D-layer pieces (cubies 4..7) of an array of corners or edges,
// all of which must be identified.
template <std::size_t N, class ToSlot>
int dLayerCoordinate(const std::array<Piece, N>& pieces, ToSlot toSlot) {
    int places[4] = {};
    for (std::size_t p = 0; p < N; ++p)
        if (pieces[p].c >= 4 && pieces[p].c < 8) places[pieces[p].c - 4] = toSlot(static_cast<int>(p));
    return encodeSlots(places, 4, static_cast<int>(N));
}

}  // namespace tx::incomp
