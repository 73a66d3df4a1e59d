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

std::uint8_t tritDigits[243][5];
std::uint8_t nextDepth[19][3];

void initTrits() {
    for (int v = 0; v < 243; ++v) {
        int x = v;
        for (int j = 0; j < 5; ++j) {
            tritDigits[v][j] = static_cast<std::uint8_t>(x % 3);
            x /= 3;
        }
    }
    for (int d = 0; d < 19; ++d) {
        for (int m = 0; m < 3; ++m) {
            int value;
            if (m == d % 3)
                value = d;
            else if (m == (d + 1) % 3)
                value = d + 1;
            else
                value = d - 1;
            nextDepth[d][m] = static_cast<std::uint8_t>(value < 0 ? 255 : value);
        }
    }
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

std::vector<int> tableMoves(bool sliceMode, bool phase2Only) {
    std::vector<int> moves;
    for (int m = 0; m < (sliceMode ? kMoves : kFaceMoves); ++m)
        if (!phase2Only || isPhase2Move(m)) moves.push_back(m);
    return moves;
}

}  // namespace tx
