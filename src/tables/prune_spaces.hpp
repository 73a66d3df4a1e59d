#pragma once
// Index arithmetic of each pruning table in the frame of the class representative: a move
// takes the class through its class move table and every other raw coordinate through its
// move table and then the conjugation by the new symmetry. images() lists the other indices
// that stand for the same position when the class representative has further symmetries.
#include <cstdint>
#include <vector>

#include "tables/coord_tables.hpp"
#include "tables/prune.hpp"
#include "tables/table_index.hpp"

namespace tx {

// A space reads the coordinate tables it is made with; the stabilisers are needed only by
// generation (images() and weight()), so lookups leave them out.
struct SpaceBase {
    const std::vector<int>& moves;
    int switchPass = 8;
    const CoordTables* t = nullptr;
    const Stabilisers* stab = nullptr;
    SpaceBase(const CoordTables& tables, const Stabilisers* stabilisers, bool sliceMode, bool phase2Only, int pass)
        : moves(tableMoves(sliceMode, phase2Only)), switchPass(pass), t(&tables), stab(stabilisers) {}
    // Positions one index stands for, counted only for statistics; 1 unless a space says more.
    std::uint64_t weight(std::uint64_t) const { return 1; }
};

struct Phase1Space : SpaceBase {
    static constexpr std::uint64_t kEntries = index::kPhase1Entries;
    std::uint64_t entries = kEntries;
    Phase1Space(const CoordTables& t, bool sliceMode, const Stabilisers* s = nullptr) : SpaceBase(t, s, sliceMode, false, 8) {}
    // A class of flipSlice values holds 16 / |stabiliser| raw values.
    std::uint64_t weight(std::uint64_t idx) const {
        return kUdSymmetries / static_cast<unsigned>(__builtin_popcount(stab->flipSlice[idx / kTwists]));
    }
    std::uint64_t neighbour(std::uint64_t idx, int m) const {
        std::uint32_t cls = static_cast<std::uint32_t>(idx / kTwists), tw = static_cast<std::uint32_t>(idx % kTwists);
        std::uint32_t v = t->flipSliceMove[cls * kMoves + m];
        return index::phase1(index::classOf(v), t->twistConj[index::conj(t->twistMove[tw * kMoves + m], index::symOf(v))]);
    }
    template <class F>
    void images(std::uint64_t idx, F&& f) const {
        std::uint32_t cls = static_cast<std::uint32_t>(idx / kTwists), tw = static_cast<std::uint32_t>(idx % kTwists);
        std::uint32_t mask = stab->flipSlice[cls];
        for (std::uint32_t s = 1; mask >> s; ++s)
            if (mask >> s & 1) f(index::phase1(cls, t->twistConj[index::conj(tw, s)]));
    }
};

struct CenterSpace : SpaceBase {
    static constexpr std::uint64_t kEntries = index::kCenterEntries;
    std::uint64_t entries = kEntries;
    CenterSpace(const CoordTables& t, bool sliceMode, const Stabilisers* s = nullptr) : SpaceBase(t, s, sliceMode, false, 10) {}
    std::uint64_t neighbour(std::uint64_t idx, int m) const {
        std::uint32_t cls = static_cast<std::uint32_t>(idx / index::kCenterRow);
        std::uint32_t rest = static_cast<std::uint32_t>(idx % index::kCenterRow);
        std::uint32_t cp = rest / kTwists, tw = rest % kTwists;
        std::uint32_t v = t->flipSliceMove[cls * kMoves + m], s = index::symOf(v);
        return index::center(index::classOf(v), t->centerParityConj[index::conj(t->centerParityMove[cp * kMoves + m], s)],
                             t->twistConj[index::conj(t->twistMove[tw * kMoves + m], s)]);
    }
    template <class F>
    void images(std::uint64_t idx, F&& f) const {
        std::uint32_t cls = static_cast<std::uint32_t>(idx / index::kCenterRow);
        std::uint32_t rest = static_cast<std::uint32_t>(idx % index::kCenterRow);
        std::uint32_t cp = rest / kTwists, tw = rest % kTwists;
        std::uint32_t mask = stab->flipSlice[cls];
        for (std::uint32_t s = 1; mask >> s; ++s)
            if (mask >> s & 1)
                f(index::center(cls, t->centerParityConj[index::conj(cp, s)], t->twistConj[index::conj(tw, s)]));
    }
};

struct HugeSpace : SpaceBase {
    static constexpr std::uint64_t kSub = index::kPhase1Entries;
    static constexpr std::uint64_t kEntries = index::kHugeEntries;
    std::uint64_t entries = kEntries;
    HugeSpace(const CoordTables& t, bool sliceMode, const Stabilisers* s = nullptr) : SpaceBase(t, s, sliceMode, false, 10) {}
    std::uint64_t neighbour(std::uint64_t idx, int m) const {
        std::uint32_t d = static_cast<std::uint32_t>(idx / kSub);
        std::uint64_t rest = idx % kSub;
        std::uint32_t cls = static_cast<std::uint32_t>(rest / kTwists), tw = static_cast<std::uint32_t>(rest % kTwists);
        std::uint32_t v = t->flipSliceMove[cls * kMoves + m], s = index::symOf(v);
        return index::huge(t->dCornerPosConj[index::conj(t->dCornerPosMove[d * kMoves + m], s)],
                           index::phase1(index::classOf(v), t->twistConj[index::conj(t->twistMove[tw * kMoves + m], s)]));
    }
    template <class F>
    void images(std::uint64_t idx, F&& f) const {
        std::uint32_t d = static_cast<std::uint32_t>(idx / kSub);
        std::uint64_t rest = idx % kSub;
        std::uint32_t cls = static_cast<std::uint32_t>(rest / kTwists), tw = static_cast<std::uint32_t>(rest % kTwists);
        std::uint32_t mask = stab->flipSlice[cls];
        for (std::uint32_t s = 1; mask >> s; ++s)
            if (mask >> s & 1)
                f(index::huge(t->dCornerPosConj[index::conj(d, s)], index::phase1(cls, t->twistConj[index::conj(tw, s)])));
    }
};

// Phase-2 table: index::phase2, phase-2 moves only.
struct Phase2Space : SpaceBase {
    static constexpr std::uint64_t kEntries = index::kPhase2Entries;
    std::uint64_t entries = kEntries;
    Phase2Space(const CoordTables& t, bool sliceMode, const Stabilisers* s = nullptr) : SpaceBase(t, s, sliceMode, true, 12) {}
    std::uint64_t neighbour(std::uint64_t idx, int m) const {
        std::uint32_t e = static_cast<std::uint32_t>(idx / kCornerClasses), cls = static_cast<std::uint32_t>(idx % kCornerClasses);
        std::uint32_t v = t->cornerClassOf[t->cornerPermMove[t->cornerRep[cls] * kMoves + m]];
        return index::phase2(t->udEdgePermConj[index::conj(t->udEdgePermMove[e * kMoves + m], index::symOf(v))],
                             index::classOf(v));
    }
    template <class F>
    void images(std::uint64_t idx, F&& f) const {
        std::uint32_t e = static_cast<std::uint32_t>(idx / kCornerClasses), cls = static_cast<std::uint32_t>(idx % kCornerClasses);
        std::uint32_t mask = stab->corner[cls];
        for (std::uint32_t s = 1; mask >> s; ++s)
            if (mask >> s & 1) f(index::phase2(t->udEdgePermConj[index::conj(e, s)], cls));
    }
};

// Corner table: index::corner, all moves.
struct CornerSpace : SpaceBase {
    static constexpr std::uint64_t kEntries = index::kCornerEntries;
    std::uint64_t entries = kEntries;
    CornerSpace(const CoordTables& t, bool sliceMode, const Stabilisers* s = nullptr) : SpaceBase(t, s, sliceMode, false, 8) {}
    std::uint64_t neighbour(std::uint64_t idx, int m) const {
        std::uint32_t tw = static_cast<std::uint32_t>(idx / kCornerClasses), cls = static_cast<std::uint32_t>(idx % kCornerClasses);
        std::uint32_t v = t->cornerClassOf[t->cornerPermMove[t->cornerRep[cls] * kMoves + m]];
        return index::corner(t->twistConj[index::conj(t->twistMove[tw * kMoves + m], index::symOf(v))], index::classOf(v));
    }
    template <class F>
    void images(std::uint64_t idx, F&& f) const {
        std::uint32_t tw = static_cast<std::uint32_t>(idx / kCornerClasses), cls = static_cast<std::uint32_t>(idx % kCornerClasses);
        std::uint32_t mask = stab->corner[cls];
        for (std::uint32_t s = 1; mask >> s; ++s)
            if (mask >> s & 1) f(index::corner(t->twistConj[index::conj(tw, s)], cls));
    }
};

}  // namespace tx
