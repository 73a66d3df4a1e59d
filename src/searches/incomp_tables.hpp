#pragma once
// The tables of the search for partially defined cubes that do not depend on the cube: the
// move tables of its coordinates, the D-face table and the corner-orientation word table, for
// one move set. Built at start-up after the other tables and again when the search's slice
// setting changes; immutable afterwards and held through shared ownership, so a running search
// keeps the tables it started with whatever is rebuilt meanwhile.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "searches/incomp_coords.hpp"
#include "tables/coord_tables.hpp"
#include "tables/prune.hpp"
#include "tables/tables.hpp"

namespace tx {

struct IncompTables {
    static constexpr int kDEdgeClasses = 1547;  // D-layer edge positions under the 8 symmetries keeping D
    static constexpr int kDSymmetries = 8;
    static constexpr std::uint64_t kDFaceEntries = std::uint64_t(kDEdgeClasses) * incomp::kCorner4;
    static constexpr int kWords = 65536;        // corner-orientation words: two bits per position
    static constexpr std::uint8_t kUnreachable = 255;

    bool sliceMode = false;
    int moveCount = 18;  // columns of the move tables below: the 18 face moves, or all 27

    // Shared with the loaded tables: cornerPermMove, twistMove, centerOriMove and the class
    // tables of the 8-corner table, which must be the one of this move set.
    std::shared_ptr<const CoordTables> coords;
    std::shared_ptr<const TwoBitTable> corners8;

    // Move tables, rows x moveCount.
    std::vector<std::uint16_t> edge4Move;    // four edges (incomp_coords.hpp)
    std::vector<std::uint16_t> corner4Move;  // four corners
    std::vector<std::uint8_t> edgeSlotMove;  // one edge slot: the fifth edge of a group
    std::vector<std::uint8_t> freeRank;      // kEdge4 x 12: a slot's rank among the free ones, 255 taken
    std::vector<std::uint16_t> edgeMaskMove; // 4096 masks over the edge positions
    std::vector<std::uint16_t> edgeFlips;    // per move: the positions whose edge it flips
    std::vector<std::uint16_t> wordMoveLow;  // 256 x moveCount: corners 0..3 of a word, moved
    std::vector<std::uint16_t> wordMoveHigh; // 256 x moveCount: corners 4..7

    // D-face table: edge class x D-corner coordinate conjugated into the class frame.
    std::vector<std::uint16_t> dEdgeClass;   // kEdge4: kDSymmetries * class + sym
    std::vector<std::uint16_t> dEdgeRep;     // kDEdgeClasses, ascending
    std::vector<std::uint8_t> dEdgeStab;     // per class: bit s when the representative is its own conjugate
    std::vector<std::uint16_t> dCornerConj;  // kCorner4 x kDSymmetries
    TwoBitTable dFace;                       // distance mod 3, 3 = not set

    // Distance of a corner-orientation word to one whose given orientations are all 0.
    std::vector<std::uint8_t> wordDepth;     // kWords, kUnreachable

    int move4(int edge4, int m) const { return edge4Move[edge4 * moveCount + m]; }
    std::uint16_t moveWord(std::uint16_t w, int m) const {
        return static_cast<std::uint16_t>(wordMoveLow[(w & 0xFF) * moveCount + m] |
                                          wordMoveHigh[(w >> 8) * moveCount + m]);
    }
    std::uint64_t dFaceIndex(int edge4, int corner4) const {
        const int cs = dEdgeClass[edge4];
        return std::uint64_t(cs / kDSymmetries) * incomp::kCorner4 + dCornerConj[corner4 * kDSymmetries + cs % kDSymmetries];
    }
    // Exact distances of a start position, walking down the mod-3 tables.
    int dFaceDistance(int edge4, int corner4) const;
    int corner8Distance(int cornerPerm, int twist) const;

    // Memory of the tables of this object (not counting coords and corners8).
    std::size_t bytes() const;
};

// Percent done while the tables are built (0 .. 100), on the building thread; -1 now and then
// while a long step works (the moment to keep a window alive).
using IncompProgress = std::function<void(int percent)>;

std::shared_ptr<const IncompTables> buildIncompTables(std::shared_ptr<const CoordTables> coords,
                                                      std::shared_ptr<const TwoBitTable> corners8, bool sliceMode,
                                                      const IncompProgress& progress = {});

// The 8-corner table of a loaded set, shared with the set (for a caller that keeps that set).
std::shared_ptr<const TwoBitTable> cornerTableOf(const TableSet& set);

}  // namespace tx
