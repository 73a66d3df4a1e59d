#include "tables/prune.hpp"

#include <sys/mman.h>

#include <new>

namespace tx {

void* allocateHugePages(std::size_t bytes) {
    constexpr std::size_t kHuge = std::size_t(2) << 20;
    if (bytes < kHuge) {
        void* p = std::malloc(bytes ? bytes : 1);
        if (!p) throw std::bad_alloc();
        return p;
    }
    const std::size_t rounded = (bytes + kHuge - 1) / kHuge * kHuge;
    void* p = std::aligned_alloc(kHuge, rounded);
    if (!p) throw std::bad_alloc();
    ::madvise(p, rounded, MADV_HUGEPAGE);
    return p;
}

void packTable(const TwoBitTable& src, PackedTable& dst) { packRange(src, 0, src.entries, dst); }

void packRange(const TwoBitTable& src, std::uint64_t offset, std::uint64_t n, PackedTable& dst) {
    const std::uint64_t b = n / 5;
    dst.entries = n;
    dst.bytes.assign(b, 0);
    for (std::uint64_t j = 0; j < b; ++j) {
        const std::uint64_t k = offset + 4 * j;
        int v = src.get(k) + 3 * src.get(k + 1) + 9 * src.get(k + 2) + 27 * src.get(k + 3) +
                81 * src.get(offset + 4 * b + j);
        dst.bytes[j] = static_cast<std::uint8_t>(v);
    }
}

const std::vector<int>& tableMoves(bool sliceMode, bool phase2Only) {
    static const auto lists = [] {
        std::array<std::vector<int>, 4> all;
        for (int k = 0; k < 4; ++k) {
            const bool slice = k & 1, phase2 = k & 2;
            for (int m = 0; m < (slice ? kMoves : kFaceMoves); ++m)
                if (!phase2 || isPhase2Move(m)) all[k].push_back(m);
        }
        return all;
    }();
    return lists[(sliceMode ? 1 : 0) + (phase2Only ? 2 : 0)];
}

}  // namespace tx
