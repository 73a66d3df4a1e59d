#pragma once
// Index arithmetic of each pruning table in the frame of the class representative: a move
// takes the class through its class move table and every other raw coordinate through its
// move table and then the conjugation by the new symmetry. images() lists the other indices
// that stand for the same position when the class representative has further symmetries.
#include <cstdint>
#include <vector>

#include "tables/coord_tables.hpp"
#include "tables/prune.hpp"

namespace tx {

struct SpaceBase {
    std::vector<int> moves;
    int switchPass = 8;
    const CoordTables* t = nullptr;
    SpaceBase(bool sliceMode, bool phase2Only, int pass)
        : moves(tableMoves(sliceMode, phase2Only)), switchPass(pass), t(&coordTables()) {}
    // Positions one index stands for, counted only for statistics; 1 unless a space says more.
    std::uint64_t weight(std::uint64_t) const { return 1; }
};

struct Phase1Space : SpaceBase {
    static constexpr std::uint64_t kEntries = 140908410ull;
    std::uint64_t entries = kEntries;
    explicit Phase1Space(bool sliceMode) : SpaceBase(sliceMode, false, 8) {}
    // A class of flipSlice values holds 16 / |stabiliser| raw values.
    std::uint64_t weight(std::uint64_t idx) const {
        return 16u / static_cast<unsigned>(__builtin_popcount(t->flipSliceStab[idx / kTwists]));
    }
    std::uint64_t neighbour(std::uint64_t idx, int m) const {
        std::uint32_t cls = static_cast<std::uint32_t>(idx / kTwists), tw = static_cast<std::uint32_t>(idx % kTwists);
        std::uint32_t v = t->flipSliceMove[cls * kMoves + m];
        return std::uint64_t(v >> 4) * kTwists + t->twistConj[t->twistMove[tw * kMoves + m] * 16u + (v & 15)];
    }
    template <class F>
    void images(std::uint64_t idx, F&& f) const {
        std::uint32_t cls = static_cast<std::uint32_t>(idx / kTwists), tw = static_cast<std::uint32_t>(idx % kTwists);
        std::uint32_t mask = t->flipSliceStab[cls];
        for (int s = 1; mask >> s; ++s)
            if (mask >> s & 1) f(std::uint64_t(cls) * kTwists + t->twistConj[tw * 16u + s]);
    }
};

struct CenterSpace : SpaceBase {
    static constexpr std::uint64_t kInner = 16ull * kTwists;  // 34992
    static constexpr std::uint64_t kEntries = kFlipSliceClasses * kInner;
    std::uint64_t entries = kEntries;
    explicit CenterSpace(bool sliceMode) : SpaceBase(sliceMode, false, 10) {}
    std::uint64_t neighbour(std::uint64_t idx, int m) const {
        std::uint32_t cls = static_cast<std::uint32_t>(idx / kInner);
        std::uint32_t rest = static_cast<std::uint32_t>(idx % kInner);
        std::uint32_t cp = rest / kTwists, tw = rest % kTwists;
        std::uint32_t v = t->flipSliceMove[cls * kMoves + m], s = v & 15;
        return std::uint64_t(v >> 4) * kInner +
               std::uint64_t(t->centerParityConj[t->centerParityMove[cp * kMoves + m] * 16u + s]) * kTwists +
               t->twistConj[t->twistMove[tw * kMoves + m] * 16u + s];
    }
    template <class F>
    void images(std::uint64_t idx, F&& f) const {
        std::uint32_t cls = static_cast<std::uint32_t>(idx / kInner);
        std::uint32_t rest = static_cast<std::uint32_t>(idx % kInner);
        std::uint32_t cp = rest / kTwists, tw = rest % kTwists;
        std::uint32_t mask = t->flipSliceStab[cls];
        for (int s = 1; mask >> s; ++s)
            if (mask >> s & 1)
                f(std::uint64_t(cls) * kInner + std::uint64_t(t->centerParityConj[cp * 16u + s]) * kTwists +
                  t->twistConj[tw * 16u + s]);
    }
};

struct HugeSpace : SpaceBase {
    static constexpr std::uint64_t kSub = Phase1Space::kEntries;
    static constexpr std::uint64_t kEntries = kDCornerPos * kSub;
    std::uint64_t entries = kEntries;
    explicit HugeSpace(bool sliceMode) : SpaceBase(sliceMode, false, 10) {}
    std::uint64_t neighbour(std::uint64_t idx, int m) const {
        std::uint32_t d = static_cast<std::uint32_t>(idx / kSub);
        std::uint64_t rest = idx % kSub;
        std::uint32_t cls = static_cast<std::uint32_t>(rest / kTwists), tw = static_cast<std::uint32_t>(rest % kTwists);
        std::uint32_t v = t->flipSliceMove[cls * kMoves + m], s = v & 15;
        return std::uint64_t(t->dCornerPosConj[t->dCornerPosMove[d * kMoves + m] * 16u + s]) * kSub +
               std::uint64_t(v >> 4) * kTwists + t->twistConj[t->twistMove[tw * kMoves + m] * 16u + s];
    }
    template <class F>
    void images(std::uint64_t idx, F&& f) const {
        std::uint32_t d = static_cast<std::uint32_t>(idx / kSub);
        std::uint64_t rest = idx % kSub;
        std::uint32_t cls = static_cast<std::uint32_t>(rest / kTwists), tw = static_cast<std::uint32_t>(rest % kTwists);
        std::uint32_t mask = t->flipSliceStab[cls];
        for (int s = 1; mask >> s; ++s)
            if (mask >> s & 1)
                f(std::uint64_t(t->dCornerPosConj[d * 16u + s]) * kSub + std::uint64_t(cls) * kTwists +
                  t->twistConj[tw * 16u + s]);
    }
};

// Phase-2 table: udEdgePerm x 2768 + cornerClass, phase-2 moves.
struct Phase2Space : SpaceBase {
    static constexpr std::uint64_t kEntries = std::uint64_t(kUdEdgePerms) * kCornerClasses;
    std::uint64_t entries = kEntries;
    explicit Phase2Space(bool sliceMode) : SpaceBase(sliceMode, true, 12) {}
    std::uint64_t neighbour(std::uint64_t idx, int m) const {
        std::uint32_t e = static_cast<std::uint32_t>(idx / kCornerClasses), cls = static_cast<std::uint32_t>(idx % kCornerClasses);
        std::uint32_t v = t->cornerClassOf[t->cornerPermMove[t->cornerRep[cls] * kMoves + m]];
        return std::uint64_t(t->udEdgePermConj[t->udEdgePermMove[e * kMoves + m] * 16u + (v & 15)]) * kCornerClasses + (v >> 4);
    }
    template <class F>
    void images(std::uint64_t idx, F&& f) const {
        std::uint32_t e = static_cast<std::uint32_t>(idx / kCornerClasses), cls = static_cast<std::uint32_t>(idx % kCornerClasses);
        std::uint32_t mask = t->cornerStab[cls];
        for (int s = 1; mask >> s; ++s)
            if (mask >> s & 1) f(std::uint64_t(t->udEdgePermConj[e * 16u + s]) * kCornerClasses + cls);
    }
};

// Corner table: twist x 2768 + cornerClass, all moves.
struct CornerSpace : SpaceBase {
    static constexpr std::uint64_t kEntries = std::uint64_t(kTwists) * kCornerClasses;
    std::uint64_t entries = kEntries;
    explicit CornerSpace(bool sliceMode) : SpaceBase(sliceMode, false, 8) {}
    std::uint64_t neighbour(std::uint64_t idx, int m) const {
        std::uint32_t tw = static_cast<std::uint32_t>(idx / kCornerClasses), cls = static_cast<std::uint32_t>(idx % kCornerClasses);
        std::uint32_t v = t->cornerClassOf[t->cornerPermMove[t->cornerRep[cls] * kMoves + m]];
        return std::uint64_t(t->twistConj[t->twistMove[tw * kMoves + m] * 16u + (v & 15)]) * kCornerClasses + (v >> 4);
    }
    template <class F>
    void images(std::uint64_t idx, F&& f) const {
        std::uint32_t tw = static_cast<std::uint32_t>(idx / kCornerClasses), cls = static_cast<std::uint32_t>(idx % kCornerClasses);
        std::uint32_t mask = t->cornerStab[cls];
        for (int s = 1; mask >> s; ++s)
            if (mask >> s & 1) f(std::uint64_t(t->twistConj[tw * 16u + s]) * kCornerClasses + cls);
    }
};

}  // namespace tx
