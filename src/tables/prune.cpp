#include "tables/prune.hpp"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <new>

namespace tx {

namespace {

constexpr std::size_t kHuge = std::size_t(2) << 20;

// Byte j of the packed table of the entries offset .. offset + 5b - 1 of src.
std::uint8_t packedByte(const TwoBitTable& src, std::uint64_t offset, std::uint64_t b, std::uint64_t j) {
    const std::uint64_t k = offset + 4 * j;
    return static_cast<std::uint8_t>(src.get(k) + 3 * src.get(k + 1) + 9 * src.get(k + 2) + 27 * src.get(k + 3) +
                                     81 * src.get(offset + 4 * b + j));
}

}  // namespace

void* allocateHugePages(std::size_t bytes) {
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
    for (std::uint64_t j = 0; j < b; ++j) dst.bytes[j] = packedByte(src, offset, b, j);
}

void packAndRelease(TwoBitTable&& src, std::span<PackedTable> parts, const std::function<void()>& onBlock) {
    constexpr std::uint64_t kBlock = std::uint64_t(1) << 20;
    const std::uint64_t n = parts.empty() ? 0 : src.entries / parts.size();
    const std::uint64_t b = n / 5;
    // Whole 2 MB pages of src below `released` are given back; the table starts on such a page
    // when it is large (allocateHugePages), and a page is only given back once all its entries
    // are packed.
    const auto base = reinterpret_cast<std::uintptr_t>(src.words.data());
    std::uintptr_t released = (base + kHuge - 1) / kHuge * kHuge;
    auto releaseBelow = [&](std::uint64_t entry) {
        const std::uintptr_t to = (base + entry / 16 * sizeof(std::uint32_t)) / kHuge * kHuge;
        if (to <= released) return;
        ::madvise(reinterpret_cast<void*>(released), to - released, MADV_DONTNEED);
        released = to;
    };
    std::vector<std::uint8_t> block(std::min(b, kBlock));
    for (std::size_t p = 0; p < parts.size(); ++p) {
        const std::uint64_t offset = p * n;
        PackedTable& dst = parts[p];
        dst.entries = n;
        TableVector<std::uint8_t>().swap(dst.bytes);
        dst.bytes.reserve(b);  // memory is taken only as the blocks are appended
        for (std::uint64_t j0 = 0; j0 < b; j0 += kBlock) {
            const std::uint64_t j1 = std::min(b, j0 + kBlock);
            for (std::uint64_t j = j0; j < j1; ++j) block[j - j0] = packedByte(src, offset, b, j);
            dst.bytes.insert(dst.bytes.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(j1 - j0));
            releaseBelow(offset + 4 * j1);  // the fifth digits lie above, at offset + 4b ..
            if (onBlock) onBlock();
        }
        releaseBelow(offset + n);
    }
    TableVector<std::uint32_t>().swap(src.words);
    src.entries = 0;
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
