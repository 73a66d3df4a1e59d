#pragma once
// What a search for a partially defined cube starts from: the mode its input allows, the moves
// it may use, the per-search tables (edge groups, corner permutations) and the start node.
// Made once per search from the cubie cube of the facelet editor (unknown cubies 8 and 12,
// unknown orientations 6) and freed with the search.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cube/cubie_cube.hpp"
#include "searches/incomp_tables.hpp"

namespace tx {

// Which accelerator tables the input allows.
enum class IncompMode : int {
    CornersAndDFace = 0,  // every corner known, and the D layer
    DFace = 1,            // the D layer only
    Corners = 2,          // every corner only
    Plain = 3,            // neither
};

// "Using 8-corner and D-Face accelerator tables." and its three siblings.
const char* incompModeMessage(IncompMode mode);
IncompMode chooseIncompMode(const CubieCube& cube);

// Centres whose orientation does not matter: two bits per centre, U the highest.
constexpr int ignoredCenterBits(int face) { return 3 << (2 * (5 - face)); }
constexpr int kAllCenterBits = 0xFFF;

struct IncompOptions {
    bool sliceMoves = false;     // the three slice layers as moves of their own
    unsigned excludedFaces = 0;  // bit f: no turns of face f (F, D, L, B; face turns only)
    int ignoredCenters = 0;      // ignoredCenterBits of the centres whose orientation is free
};

// The state after each move of a maneuver under construction.
struct IncompNode {
    std::uint8_t move = 0;
    std::uint8_t dDistance = 0;       // exact, D-face table
    std::uint8_t cornerDistance = 0;  // exact, 8-corner table
    std::uint16_t dEdges = 0, dCorners = 0;
    std::uint16_t cornerPerm = 0, twist = 0, word = 0;
    std::uint16_t known = 0, flipped = 0;  // edge positions of known orientation; flipped ones
    std::uint16_t centerOri = 0;
    std::array<std::uint16_t, 3> group{};  // first four edges of each group, as a four-edge coordinate
    std::array<std::uint8_t, 3> fifth{};   // slot of a group's fifth edge
};

// Distances of the identified edges of one group, four bits an entry (low nibble for an even
// index), 15 empty. A group of fewer than four edges is looked up by the four-edge
// coordinate it is carried in; a group of five by that of its first four and the fifth's rank.
struct IncompGroup {
    static constexpr int kEmpty = 15;
    int size = 0;
    std::vector<std::uint8_t> nibbles;
    int distance(std::size_t index) const { return nibbles[index >> 1] >> (4 * (index & 1)) & 15; }
};

struct IncompPlan {
    IncompMode mode = IncompMode::Plain;
    bool useDFace = false, useCorners8 = false, useCornerTables = false;
    bool centres = false;  // the cube carries centre orientations
    int centerMask = 0;    // the centre-orientation bits that matter
    bool unsolvable = false;  // a defined part cannot be solved with these moves
    std::vector<int> moves;   // move indices in search order
    std::vector<IncompGroup> groups;
    std::vector<std::uint8_t> cornerPermDepth;  // 40320 (modes 1 and 3), 255 unreachable
    IncompNode start;

    std::size_t tableBytes() const;
    // The group's table index of a node.
    std::size_t groupIndex(const IncompTables& t, const IncompNode& n, int g) const {
        if (groups[g].size < 5) return n.group[g];
        return std::size_t(n.group[g]) * 8 + t.freeRank[n.group[g] * incomp::kEdgeSlots + n.fifth[g]];
    }
};

IncompPlan planIncompSearch(const CubieCube& cube, const IncompOptions& options, const IncompTables& tables);

}  // namespace tx
