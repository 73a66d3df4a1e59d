// The optimal search of one depth shared among threads (see optimal_split.hpp).
#include <algorithm>
#include <system_error>
#include <thread>

#include "solver/optimal_split.hpp"

namespace tx {

// The enumeration places a prefix's last move and would descend from it: the prefix is an item.
void IDA::recordPrefix() {
    SplitItem item;
    for (int l = 0; l < kSplitLevels; ++l) item.prefix[l] = levels[l];
    item.prefixNodes = nodes - split_->nodesAtStart;
    split_->items.push_back(item);
}

// Runs the DFS of depth n over its first kSplitLevels levels only, from the depth's start.
void IDA::enumeratePrefixes(int n) {
    split_ = std::make_unique<OptimalSplit>();
    split_->depth = n;
    // A depth stopped part way on one thread starts again: its nodes so far are not counted.
    nodes = n > 0 ? depthNodes[n - 1] : 0;
    split_->nodesAtStart = nodes;
    split_->totalAtStart = totalNodes;
    restartDepth();
    ceiling_ = kSplitLevels;
    optimalDepth(n);  // no end point lies above the ceiling: n >= kSplitMinDepth > kSplitLevels
    ceiling_ = kLevels;
    split_->prefixNodes = nodes - split_->nodesAtStart;
}

// The counters of the threads: what they have done shows in the live count, and a worker
// whose item lies beyond a found solution, or whose search was asked to stop, stops too.
void IDA::watchSplit() {
    watch_->liveNodes->fetch_add(0x10000, std::memory_order_relaxed);
    if (watch_->outerStop->load(std::memory_order_relaxed) || watch_->found.load(std::memory_order_relaxed) < item_)
        stopRequested.store(true, std::memory_order_relaxed);
}

// Sets a worker up to search the subtree of item k.
void IDA::takeItem(const OptimalSplit& split, int k) {
    item_ = k;
    stopRequested.store(false, std::memory_order_relaxed);
    for (int l = 0; l < kSplitLevels; ++l) levels[l] = split.items[k].prefix[l];
    floor_ = level_ = kSplitLevels;
    cursor_[level_] = 0;
    mark_ = 0;
    probed_ = 0;
    nodes = 0;
}

// One thread's share, on a worker copy of the search: items in move order until none is left, a solution lies before the
// next one, or the search is stopped. A helper (any thread but the search's own) also leaves
// once the search may no longer share: the threads that stay take the items it would have taken.
void IDA::serveSplit(SplitRun& run, int n, bool helper) {
    IDA& worker = *this;
    OptimalSplit& split = *run.split;
    const int count = static_cast<int>(split.items.size());
    for (;;) {
        if (helper && *run.mayShare && !(*run.mayShare)()) break;
        const int k = run.next.fetch_add(1);
        if (k >= count || k > run.found.load() || run.outerStop->load()) break;
        SplitItem& item = split.items[k];
        if (item.done) continue;
        worker.takeItem(split, k);
        const int r = worker.optimalDepth(n);
        if (r == kStopped) continue;
        if (r == kNoSolution) {
            item.nodes = worker.nodes;
            item.done = true;
            continue;
        }
        std::lock_guard lock(run.solutionMutex);
        if (k < run.found.load()) {
            run.solution = worker.levels;
            run.solutionNodes = worker.nodes;
            run.found.store(k);
        }
    }
    if (helper) run.liveThreads->fetch_sub(1, std::memory_order_relaxed);
}

int IDA::splitDepth(int n) {
    if (!split_ || split_->depth != n) enumeratePrefixes(n);
    SplitRun run;
    run.split = split_.get();
    run.outerStop = &stopRequested;
    run.liveNodes = &live.nodes;
    run.liveThreads = &live.threads;
    run.mayShare = &mayShare;
    std::uint64_t known = split_->nodesAtStart + split_->prefixNodes;
    for (const SplitItem& item : split_->items)
        if (item.done) known += item.nodes;
    live.nodes.store(known, std::memory_order_relaxed);
    // The workers are copies made before any thread starts: the items are not read while
    // one of them writes.
    std::vector<std::unique_ptr<IDA>> workers;
    for (int t = 0; t < threads; ++t) {
        auto& w = workers.emplace_back(std::make_unique<IDA>(*this));
        w->split_.reset();
        w->watch_ = &run;
        w->depthIndex = n;
    }
    live.threads.store(threads, std::memory_order_relaxed);
    {
        // The helpers inherit the scheduling class and priority of the search's thread.
        std::vector<std::jthread> helpers;
        for (int t = 1; t < threads; ++t) {
            try {
                helpers.emplace_back([&run, n, w = workers[t].get()] { w->serveSplit(run, n, true); });
            } catch (const std::system_error&) {  // no more threads to be had: fewer share the depth
                live.threads.fetch_sub(threads - t, std::memory_order_relaxed);
                break;
            }
        }
        workers[0]->serveSplit(run, n, false);
    }  // the helpers are joined here
    live.threads.store(1, std::memory_order_relaxed);
    return finishSplit(n, run);
}

// The outcome of the depth as the single DFS would have had it: the first solution in move
// order and the nodes up to it, or the whole depth's nodes; kStopped when a stop left an
// item before the first solution unsearched (the split is kept for the continuation).
int IDA::finishSplit(int n, SplitRun& run) {
    OptimalSplit& split = *split_;
    const int count = static_cast<int>(split.items.size());
    const int found = std::min(run.found.load(), count);
    std::uint64_t counted = 0;
    for (int k = 0; k < found; ++k) {
        if (!split.items[k].done) {
            nodes = split.nodesAtStart;
            restartDepth();  // a continuation on one thread starts the depth again
            return kStopped;
        }
        counted += split.items[k].nodes;
    }
    counted += found < count ? split.items[found].prefixNodes + run.solutionNodes : split.prefixNodes;
    nodes = split.nodesAtStart + counted;
    totalNodes = split.totalAtStart + counted;
    split_.reset();
    if (found == count) return kNoSolution;
    levels = run.solution;
    level_ = n;
    for (int l = 0; l <= n; ++l) cursor_[l] = 3 * levels[l].axis + levels[l].power - 1;
    return n + 1;
}

}  // namespace tx
