#pragma once
// Raw pointers into a table set, taken once per search so the hot loops do no lookups through
// containers. The search keeps the set itself alive beside them.
#include <array>
#include <cstdint>

#include "cube/symmetry.hpp"
#include "tables/coord_tables.hpp"
#include "tables/tables.hpp"

namespace tx {

// A packed table read through raw pointers (see PackedTable for the layout).
struct PackedView {
    const std::uint8_t* bytes = nullptr;
    std::uint64_t fourB = 0;
    PackedView() = default;
    explicit PackedView(const PackedTable& t) : bytes(t.bytes.data()), fourB(t.fourB()) {}
    int get(std::uint64_t k) const {
        return k < fourB ? tritDigits[bytes[k >> 2]][k & 3] : tritDigits[bytes[k - fourB]][4];
    }
    void prefetch(std::uint64_t k) const {
        __builtin_prefetch(k < fourB ? bytes + (k >> 2) : bytes + (k - fourB));
    }
};

struct SearchTables {
    const std::array<std::uint8_t, kMoves>* symMoveConj;
    const std::array<std::uint8_t, kSymmetries>* symProduct;
    const std::uint32_t* flipSliceMove;
    const std::uint16_t* twistMove;
    const std::uint16_t* twistConj;
    const std::uint16_t* centerParityMove;
    const std::uint16_t* centerParityConj;
    const std::uint16_t* dCornerPosMove;
    const std::uint16_t* dCornerPosConj;
    const std::uint16_t* cornerPermMove;
    const std::uint16_t* udEdgePermMove;
    const std::uint16_t* udEdgePermConj;
    const std::uint16_t* cornerClassOf;
    const std::uint16_t* sliceSortedMove;
    const std::uint16_t* centerOriMove;
    const std::uint16_t* udEdgeFromSlices;
    const std::uint8_t* sliceSortedParity;
    const std::uint8_t* centerSumParity;
    const std::uint8_t* cornerPermDepth;
    const std::uint8_t* centerSliceDepth;
    PackedView phase1;
    PackedView phase2;
    PackedView center;
    std::array<PackedView, index::kHugeParts> huge;

    // Views of the parts the set holds; absent optional parts give empty views, which the
    // searches never read (IDA checks before it runs).
    static SearchTables of(const TableSet& set) {
        const auto& s = symmetries();
        const CoordTables& t = *set.coords;
        const StandardTables& p = *set.standard;
        SearchTables tables{s.symMoveConj.data(),
                            s.symProduct.data(),
                            t.flipSliceMove.data(),
                            t.twistMove.data(),
                            t.twistConj.data(),
                            t.centerParityMove.data(),
                            t.centerParityConj.data(),
                            t.dCornerPosMove.data(),
                            t.dCornerPosConj.data(),
                            t.cornerPermMove.data(),
                            t.udEdgePermMove.data(),
                            t.udEdgePermConj.data(),
                            t.cornerClassOf.data(),
                            t.sliceSortedMove.data(),
                            t.centerOriMove.data(),
                            t.udEdgeFromSlices.data(),
                            t.sliceSortedParity,
                            t.centerSumParity.data(),
                            p.cornerPermDepth.data(),
                            set.center ? set.center->centerSliceDepth.data() : nullptr,
                            PackedView(p.phase1),
                            PackedView(p.phase2),
                            set.center ? PackedView(set.center->center) : PackedView(),
                            {}};
        if (set.huge)
            for (int i = 0; i < index::kHugeParts; ++i) tables.huge[i] = PackedView(set.huge->parts[i]);
        return tables;
    }
};

}  // namespace tx
