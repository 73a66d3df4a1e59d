// Packing a generated table while its working table is let go: the bytes must be those of
// packing each part from the whole working table, for one part and for several parts whose
// boundaries fall inside a word, whatever the number of generation threads, and the memory
// of the working table must go back as the packing moves on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/progress.hpp"
#include "support/process_status.hpp"
#include "support/recording_progress.hpp"
#include "support/temp_folder.hpp"
#include "tables/loader_steps.hpp"
#include "tables/prune_generate.hpp"

namespace tx {
namespace {

// A reduced index space for generation: k -> k + 1, k - 1, 2k, k / 2, 7k, k / 7 (mod n, with n
// odd and prime to 7), so the distances grow like a logarithm of n as in the cube's tables;
// -k stands for the same distance as k, like a symmetric image.
struct AffineSpace {
    std::uint64_t entries;
    std::vector<int> moves{0, 1, 2, 3, 4, 5};
    int switchPass = 5;
    std::uint64_t half, seventh;  // the inverses of 2 and 7 modulo n

    explicit AffineSpace(std::uint64_t n) : entries(n), half((n + 1) / 2), seventh(inverseOf7(n)) {}
    static std::uint64_t inverseOf7(std::uint64_t n) {
        for (std::uint64_t r = 0;; ++r)
            if ((r * n + 1) % 7 == 0) return (r * n + 1) / 7;
    }
    std::uint64_t weight(std::uint64_t) const { return 1; }
    std::uint64_t neighbour(std::uint64_t k, int m) const {
        const std::uint64_t n = entries;
        switch (m) {
            case 0: return (k + 1) % n;
            case 1: return (k + n - 1) % n;
            case 2: return 2 * k % n;
            case 3: return k * half % n;
            case 4: return 7 * k % n;
            default: return k * seventh % n;
        }
    }
    template <class F>
    void images(std::uint64_t k, F&& f) const {
        if (k != 0) f(entries - k);
    }
};

// The packing as it was before: every part packed from the whole working table.
std::vector<PackedTable> packEachPart(const TwoBitTable& work, std::size_t parts) {
    std::vector<PackedTable> packed(parts);
    const std::uint64_t n = work.entries / parts;
    for (std::size_t p = 0; p < parts; ++p) packRange(work, p * n, n, packed[p]);
    return packed;
}

void expectSameParts(const std::vector<PackedTable>& got, const std::vector<PackedTable>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t p = 0; p < got.size(); ++p) {
        EXPECT_EQ(got[p].entries, want[p].entries) << "part " << p;
        ASSERT_EQ(got[p].bytes.size(), want[p].bytes.size()) << "part " << p;
        EXPECT_TRUE(got[p].bytes == want[p].bytes) << "part " << p;
    }
}

// Parts of 4,000,005 entries start 5 entries into a word; three of them fill more than one
// 2 MB page of two-bit words, so pages are let go while later entries are still needed.
constexpr std::uint64_t kPart = 4000005;

TEST(PackAndRelease, GeneratedPartsEqualPackingEachPartForAnyThreadCount) {
    const AffineSpace space(3 * kPart);
    TwoBitTable reference;
    const auto passes = generateTable(space, reference, 1);
    std::uint64_t reached = 0;
    for (const auto& p : passes) reached += p.entries;
    ASSERT_EQ(reached, space.entries);
    ASSERT_GT(passes.size(), 8u);  // backward passes were used too
    const auto want = packEachPart(reference, 3);
    for (const auto& part : want)
        ASSERT_LE(*std::max_element(part.bytes.begin(), part.bytes.end()), 242);

    for (int threads : {2, 3}) {
        SCOPED_TRACE(threads);
        RecordingProgress progress;
        std::vector<TableStatistics> statistics;
        std::vector<PackedTable> parts(3);
        loader::generatePacked(space, parts, "t.prun", "Creating t.prun", 13, threads, progress, statistics);
        expectSameParts(parts, want);
        ASSERT_EQ(statistics.size(), 1u);
        EXPECT_EQ(statistics[0].byDistance.size(), passes.size());
        EXPECT_EQ(progress.labels.front(), "Creating t.prun");
        EXPECT_GT(progress.pumps, 3);  // packing keeps the window alive too
    }
}

TEST(PackAndRelease, BuiltFileHoldsTheBytesOfPackingTheWholeTable) {
    const AffineSpace space(kPart);
    TwoBitTable reference;
    generateTable(space, reference, 1);
    PackedTable want;
    packTable(reference, want);

    testing::TempFolder folder("pack");
    RecordingProgress progress;
    std::vector<TableStatistics> statistics;
    PackedTable packed;
    ASSERT_TRUE(loader::buildPackedFile(space, folder / "t.prun", "t.prun", "Creating t.prun", 13, 2187, 2, progress,
                                        statistics, packed));
    EXPECT_EQ(packed.entries, kPart);
    EXPECT_TRUE(packed.bytes == want.bytes);
    const std::string file = testing::readFile(folder / "t.prun");
    ASSERT_EQ(file.size(), want.bytes.size());
    EXPECT_TRUE(std::equal(file.begin(), file.end(), want.bytes.begin(),
                           [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
    EXPECT_EQ(progress.labels.back(), "Writing t.prun");
}

// Values 0..2 that look random, without generating a table.
TwoBitTable patternTable(std::uint64_t n) {
    TwoBitTable t;
    t.reset(n);
    for (std::uint64_t k = 0; k < n; ++k) t.set(k, static_cast<int>((k * 0x9E3779B97F4A7C15ull >> 40) % 3));
    return t;
}

TEST(PackAndRelease, SmallTablesAndTheConsumedWorkingTable) {
    for (std::uint64_t n : {20ull, 35ull, 160ull}) {
        TwoBitTable work = patternTable(n);
        const auto want = packEachPart(work, 1);
        std::vector<PackedTable> got(1);
        packAndRelease(std::move(work), got);
        expectSameParts(got, want);
        EXPECT_TRUE(work.words.empty());
        EXPECT_EQ(work.entries, 0u);
    }
    // Five parts of 35 entries: boundaries at every position within a word.
    TwoBitTable work = patternTable(5 * 35);
    const auto want = packEachPart(work, 5);
    std::vector<PackedTable> got(5);
    packAndRelease(std::move(work), got);
    expectSameParts(got, want);
}

TEST(PackAndRelease, MemoryOfTheWorkingTableGoesBackWhilePacking) {
    // 3 parts of 40,000,005 entries: 30 MB of two-bit words, 24 MB packed.
    constexpr std::uint64_t part = 40000005;
    TwoBitTable work = patternTable(3 * part);
    const auto want = packEachPart(work, 3);
    const long before = testing::statusValue("VmRSS");
    ASSERT_GT(before, 0);
    long highest = before;
    std::vector<PackedTable> got(3);
    packAndRelease(std::move(work), got, [&] { highest = std::max(highest, testing::statusValue("VmRSS")); });
    expectSameParts(got, want);
    // Packing beside a kept working table would add the 24 MB of packed bytes.
    EXPECT_LT(highest - before, 8 * 1024) << "kB above the start while packing";
}

}  // namespace
}  // namespace tx
