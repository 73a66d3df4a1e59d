#pragma once
// Breadth-first generation of a mod-3 pruning table over any index space (prune_spaces.hpp).
// Pass r finds the entries at distance r + 1. Forward passes expand every entry at distance r
// (and mark the symmetric images of each new entry); backward passes, used once most entries
// are reached, let every unreached entry look for a neighbour at distance r.
// Several threads split the index range; an entry only ever changes from 3 to the value of the
// current pass, so the bytes do not depend on the number of threads or their timing.
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "tables/prune.hpp"

namespace tx {

namespace detail {

inline std::uint32_t pairsEqual(std::uint32_t word, int value) {
    static constexpr std::uint32_t kPattern[4] = {0x00000000u, 0x55555555u, 0xAAAAAAAAu, 0xFFFFFFFFu};
    std::uint32_t x = ~(word ^ kPattern[value]);  // 11 where the entry equals value
    return x & (x >> 1) & 0x55555555u;             // low bit of each matching pair
}

inline int loadEntry(TableVector<std::uint32_t>& words, std::uint64_t k) {
    std::atomic_ref<std::uint32_t> a(words[k >> 4]);
    return static_cast<int>(a.load(std::memory_order_relaxed) >> (2 * (k & 15)) & 3);
}

// Sets entry k from 3 to v; true when this call made the change.
inline bool claimEntry(TableVector<std::uint32_t>& words, std::uint64_t k, int v) {
    std::atomic_ref<std::uint32_t> a(words[k >> 4]);
    const int shift = static_cast<int>(2 * (k & 15));
    if ((a.load(std::memory_order_relaxed) >> shift & 3) != 3) return false;
    std::uint32_t old = a.fetch_and(~((3u ^ static_cast<std::uint32_t>(v)) << shift), std::memory_order_relaxed);
    return (old >> shift & 3) == 3;
}

}  // namespace detail

inline int generationThreads(int requested) {
    if (requested > 0) return requested;
    unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n);
}

template <class Space>
std::vector<PassCount> generateTable(const Space& space, TwoBitTable& table, int threads,
                                     const PassCallback& onPass = {}) {
    std::vector<PassCount> passes;
    constexpr std::uint64_t kChunkWords = 4096;
    const std::uint64_t n = space.entries;
    table.reset(n);
    table.set(0, 0);
    passes.push_back({1, space.weight(0)});
    auto& words = table.words;
    // Entries beyond n in the last word stay 3 and are never counted or expanded.
    const std::uint64_t wordCount = words.size();
    const int workers = generationThreads(threads);
    std::atomic<std::uint64_t> count{1};

    for (int pass = 0; count.load() < n; ++pass) {
        const int m = pass % 3, next = (m + 1) % 3;
        const bool forward = pass <= space.switchPass;
        std::atomic<std::uint64_t> nextChunk{0};
        std::atomic<std::uint64_t> found{0};
        std::atomic<std::uint64_t> foundPositions{0};

        auto work = [&](bool isMain) {
            std::uint64_t local = 0, localPositions = 0;
            auto claim = [&](std::uint64_t k, int v) {
                if (detail::claimEntry(words, k, v)) {
                    ++local;
                    localPositions += space.weight(k);
                }
            };
            for (;;) {
                std::uint64_t w0 = nextChunk.fetch_add(1) * kChunkWords;
                if (w0 >= wordCount) break;
                std::uint64_t w1 = std::min(wordCount, w0 + kChunkWords);
                for (std::uint64_t w = w0; w < w1; ++w) {
                    std::uint32_t word = std::atomic_ref<std::uint32_t>(words[w]).load(std::memory_order_relaxed);
                    std::uint32_t hits = detail::pairsEqual(word, forward ? m : 3);
                    while (hits) {
                        int bit = __builtin_ctz(hits);
                        hits &= hits - 1;
                        std::uint64_t k = w * 16 + static_cast<std::uint64_t>(bit / 2);
                        if (k >= n) break;
                        if (forward) {
                            for (int mv : space.moves) {
                                std::uint64_t j = space.neighbour(k, mv);
                                claim(j, next);
                                space.images(j, [&](std::uint64_t img) { claim(img, next); });
                            }
                        } else {
                            for (int mv : space.moves) {
                                if (detail::loadEntry(words, space.neighbour(k, mv)) == m) {
                                    claim(k, next);
                                    break;
                                }
                            }
                        }
                    }
                }
                if (isMain && onPass) {
                    try {
                        onPass(-1);
                    } catch (...) {  // cancelled: the other workers stop at their next chunk
                        nextChunk.store(wordCount);
                        throw;
                    }
                }
            }
            found.fetch_add(local);
            foundPositions.fetch_add(localPositions);
        };

        {
            std::vector<std::jthread> pool;
            for (int i = 1; i < workers; ++i) pool.emplace_back([&] { work(false); });
            work(true);
        }
        count.fetch_add(found.load());
        passes.push_back({found.load(), foundPositions.load()});
        if (onPass) onPass(pass);
        if (found.load() == 0) break;  // nothing reachable is left
    }
    return passes;
}

template <class Space, class Value>
int exactDistance(const Space& space, const Value& value, std::uint64_t index) {
    int d = 0;
    while (index != 0) {
        const int want = (value(index) + 2) % 3;
        bool stepped = false;
        for (int mv : space.moves) {
            std::uint64_t j = space.neighbour(index, mv);
            if (value(j) == want) {
                index = j;
                ++d;
                stepped = true;
                break;
            }
        }
        if (!stepped || d > 40) return -1;  // a damaged table
    }
    return d;
}

}  // namespace tx
