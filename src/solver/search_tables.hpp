#pragma once
// Raw pointers to the shared tables, taken once per search so the hot loops do no lookups
// through containers.
#include <cstdint>

#include "cube/symmetry.hpp"
#include "tables/coord_tables.hpp"
#include "tables/tables.hpp"

namespace tx {

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
    const PackedTable* phase1;
    const PackedTable* phase2;
    const PackedTable* center;
    const PackedTable* huge;

    static SearchTables get() {
        const auto& s = symmetries();
        const auto& t = coordTables();
        const auto& p = pruneTables();
        return SearchTables{s.symMoveConj.data(),
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
                            p.centerSliceDepth.data(),
                            &p.phase1,
                            &p.phase2,
                            &p.center,
                            p.huge.data()};
    }
};

}  // namespace tx
