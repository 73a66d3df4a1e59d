#pragma once
// Pruning tables: the distance of each index to a goal, stored modulo 3. Generation keeps
// two bits per entry; the files and the searches use the packed base-3 layout (5 per byte).
#include <array>
#include <atomic>
#include <cstdlib>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "tables/coord_tables.hpp"
#include "tables/huge_pages.hpp"

namespace tx {

namespace detail {

constexpr std::array<std::array<std::uint8_t, 5>, 243> makeTritDigits() {
    std::array<std::array<std::uint8_t, 5>, 243> digits{};
    for (int v = 0; v < 243; ++v)
        for (int j = 0, x = v; j < 5; ++j, x /= 3) digits[v][j] = static_cast<std::uint8_t>(x % 3);
    return digits;
}

constexpr std::array<std::array<std::uint8_t, 3>, 19> makeNextDepth() {
    std::array<std::array<std::uint8_t, 3>, 19> next{};
    for (int d = 0; d < 19; ++d) {
        for (int m = 0; m < 3; ++m) {
            const int value = m == d % 3 ? d : m == (d + 1) % 3 ? d + 1 : d - 1;
            next[d][m] = static_cast<std::uint8_t>(value < 0 ? 255 : value);
        }
    }
    return next;
}

}  // namespace detail

// tritDigits[v][j] = (v / 3^j) mod 3.
inline constexpr auto tritDigits = detail::makeTritDigits();
// nextDepth[d][m]: the exact distance of a neighbour whose mod-3 value is m, from a parent at d.
inline constexpr auto nextDepth = detail::makeNextDepth();

// Packed base-3 table of n entries (n a multiple of 5): B = n / 5 bytes; entry k < 4B is
// digit k mod 4 of byte k / 4, entry k >= 4B is digit 4 of byte k - 4B.
class PackedTable {
public:
    TableVector<std::uint8_t> bytes;
    std::uint64_t entries = 0;

    bool empty() const { return bytes.empty(); }
    std::uint64_t fourB() const { return 4 * static_cast<std::uint64_t>(bytes.size()); }
    int get(std::uint64_t k) const {
        const std::uint64_t q = fourB();
        return k < q ? tritDigits[bytes[k >> 2]][k & 3] : tritDigits[bytes[k - q]][4];
    }
};

// Two bits per entry, 16 per 32-bit word; 3 = not reached yet.
class TwoBitTable {
public:
    TableVector<std::uint32_t> words;
    std::uint64_t entries = 0;

    void reset(std::uint64_t n) {
        entries = n;
        words.assign((n + 15) / 16, 0xFFFFFFFFu);
    }
    int get(std::uint64_t k) const { return static_cast<int>(words[k >> 4] >> (2 * (k & 15)) & 3); }
    void set(std::uint64_t k, int v) {
        std::uint32_t& w = words[k >> 4];
        int shift = static_cast<int>(2 * (k & 15));
        w = (w & ~(3u << shift)) | (static_cast<std::uint32_t>(v) << shift);
    }
};

// Packs a two-bit table (values 0..2) into the base-3 layout.
void packTable(const TwoBitTable& src, PackedTable& dst);
// Packs entries offset .. offset + n - 1 of src as a table of its own.
void packRange(const TwoBitTable& src, std::uint64_t offset, std::uint64_t n, PackedTable& dst);
// Packs src, read as parts.size() tables of equal size one after the other, into parts (the
// same bytes as packRange) and hands src's memory back to the system as the packing moves on,
// so memory stays near the size of src instead of both tables together. src is consumed: it
// is empty afterwards. onBlock runs after each packed block (about 1 MB) on the calling thread.
void packAndRelease(TwoBitTable&& src, std::span<PackedTable> parts, const std::function<void()>& onBlock = {});

// Entries found at one distance and the positions they stand for.
struct PassCount {
    std::uint64_t entries = 0;
    std::uint64_t positions = 0;
};

// Hook for progress and the pump, called on the generating thread: pass >= 0 when that pass
// is finished, -1 regularly while a pass runs (about every 4096 table rows).
using PassCallback = std::function<void(int pass)>;

// The moves a table uses: 18 face moves or all 27, all of them or the phase-2 ones.
const std::vector<int>& tableMoves(bool sliceMode, bool phase2Only);

// Index spaces of the tables (index arithmetic in the class frame; see prune_spaces.hpp).
struct Phase1Space;
struct Phase2Space;
struct CornerSpace;
struct CenterSpace;
struct HugeSpace;

}  // namespace tx
