#pragma once
// The optimal search of one depth shared among threads. The first kSplitLevels moves of the
// depth's maneuvers are enumerated on the search's own thread, exactly as the DFS visits them;
// each prefix that the DFS would descend from is a work item, and the threads take the items
// in move order. The first item (in move order) holding a solution gives the maneuver, and
// the nodes the single DFS would have counted are the enumeration's nodes up to that prefix,
// the subtrees of all earlier items and that item's subtree up to its solution.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "solver/ida.hpp"

namespace tx {

constexpr int kSplitLevels = 2;
// Depths below this index are searched on one thread: they take milliseconds.
constexpr int kSplitMinDepth = 6;

struct SplitItem {
    std::array<Level, kSplitLevels> prefix{};
    std::uint64_t prefixNodes = 0;  // enumeration nodes up to and including this prefix's last move
    std::uint64_t nodes = 0;        // nodes of the item's subtree, once searched through
    bool done = false;
};

// A depth's items and what is known of them; kept by the search across a stop, so that a
// continued search redoes only the items that were not searched through.
struct OptimalSplit {
    int depth = -1;
    std::uint64_t nodesAtStart = 0, totalAtStart = 0;
    std::uint64_t prefixNodes = 0;  // all nodes of the enumeration
    std::vector<SplitItem> items;
};

// What the threads of one run share.
struct SplitRun {
    OptimalSplit* split = nullptr;
    const std::atomic<bool>* outerStop = nullptr;  // the stop flag of the search being served
    std::atomic<std::uint64_t>* liveNodes = nullptr;
    std::atomic<int>* liveThreads = nullptr;         // the threads serving the run
    const std::function<bool()>* mayShare = nullptr;  // the search's, asked by helpers
    std::atomic<int> next{0};                       // the next item to take
    std::atomic<int> found{1 << 30};                // the first item known to hold a solution
    std::mutex solutionMutex;
    std::array<Level, kLevels> solution{};          // the levels of that item's solution
    std::uint64_t solutionNodes = 0;                // that item's nodes up to its solution
};

}  // namespace tx
