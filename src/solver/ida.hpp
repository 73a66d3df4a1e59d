#pragma once
// One search over the coordinates of a cube: the two-phase search (short maneuvers, improved
// run by run), the optimal search over three axes, or the coset enumeration. The search keeps
// its whole state in the level stack, so a copy continues exactly where the original stopped.
// It holds the table set it was made with for as long as it (or a copy) lives.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cube/notation.hpp"

#include "solver/search_tables.hpp"
#include "tables/coord_cube.hpp"

namespace tx {

struct Level {
    std::uint8_t axis = 0, power = 0;  // the move placed at this level
    // Phase-1 coordinates after the move, per axis (two-phase uses axis 0 only).
    std::uint32_t cls[3] = {};
    std::uint8_t sym[3] = {};
    std::uint16_t twist[3] = {};
    std::uint8_t dist[3] = {};
    std::uint8_t centerParity[3] = {};
    std::uint16_t dCornerPos[3] = {};
    // Phase-2 coordinates after the move (sliceSorted of three axes in both modes).
    std::uint16_t cornerPerm = 0;
    std::uint16_t sliceSorted[3] = {};
    std::uint16_t centerOri = 0;
    std::uint16_t centerOris[3] = {};
    std::uint16_t udEdgePerm = 0;
    std::uint8_t dist2 = 0;  // exact phase-2 distance
};

constexpr int kLevels = 32;

class CosetWorker;
struct OptimalSplit;
struct SplitRun;

// Counters another thread may read while a search runs: updated every 65536 nodes and at the
// end of each depth.
struct LiveCounts {
    std::atomic<std::uint64_t> nodes{0};  // nodes so far
    std::atomic<int> depth{0};            // depth index being searched
    std::atomic<int> threads{1};          // threads searching that depth now
    std::array<std::atomic<std::uint64_t>, kLevels> depthEnd{};  // nodes at the end of each finished depth
    LiveCounts() = default;
    LiveCounts(const LiveCounts& o);
    LiveCounts& operator=(const LiveCounts&) = delete;
};

// The first moves of coset maneuvers: the unit of work the coset threads share.
constexpr int kCosetPrefixLength = 3;
struct CosetPrefix {
    int length = 0;
    std::array<std::uint8_t, kCosetPrefixLength> moves{};  // move indices 0..17
};
constexpr int kStopped = -2;
constexpr int kNoSolution = -1;

class IDA {
public:
    // Built from the coordinates of a cube (made from tables.coords); optimal selects the start
    // distances of that search. Tables that lack what the search needs, or coordinates out of
    // their range (a cube that is no cube), give a search that ends at once with kNoSolution
    // without reading a table (see canRun).
    IDA(const TableSet& tables, const CoordCube& cube, bool optimal, bool huge = false);
    // Continues the search of a finished or stopped thread (mode flags cleared).
    IDA(const IDA& other);
    IDA& operator=(const IDA&) = delete;

    // Settings chosen before the search runs.
    bool sliceMode = false;
    bool centerMode = false;  // centre orientation counts
    bool optimalMode = false;
    bool hugeMode = false;
    int maxLen = 31;
    int stopAt = 20;
    // Threads the optimal search shares each long depth among; the maneuver and the node
    // counts are those of one thread.
    int threads = 1;
    // When set, asked at the start of each long depth (false: the depth runs on one thread)
    // and by each helper thread before it takes the next part of a shared depth (false: the
    // helper leaves, the others finish the depth). Called on several threads at once.
    std::function<bool()> mayShare;

    // Results and counters.
    int result = kNoSolution;
    int length = 0;  // moves in the levels of the result
    std::uint64_t nodes = 0;
    std::uint64_t totalNodes = 0;  // never reset; the signature of a benchmark
    std::array<std::uint64_t, kLevels> depthNodes{};
    // Threads each depth began with (at its last start, when a stop interrupted it).
    std::array<int, kLevels> depthThreads{};
    std::array<int, 3> startDistance{};
    std::uint64_t symmetryMask = 1;

    // The optimal search reports each new depth (v = depth index + 1) and a solution
    // (v = depth index + 100) through this hook; it runs on the search thread.
    std::function<void(int v)> onProgress;
    LiveCounts live;

    std::atomic<bool> stopRequested{false};
    void requestStop();

    // The coordinates are in range and the tables hold every part the selected mode reads.
    bool canRun() const;
    // Runs the search body of the selected mode; returns the result (kNoSolution at once when
    // the tables lack a part: no table is ever read that is not there).
    int run();
    int twoPhaseRun();   // repeats the phase-1 search while the result is above stopAt + 2
    int phase1Search();  // one call: to the next solution, -1 or -2
    int optimalSearch();
    ~IDA();

    // Coset enumeration, in the face-turn metric. The bound is the huge table in hugeMode and
    // the phase-1 table alone otherwise (weaker, so the search visits more nodes, but it needs
    // no 1881 MB table); the positions reached are the same. Build the IDA with optimal set,
    // so that the start distance is that of the bound.
    // The beginnings (kCosetPrefixLength moves, all moves of shorter maneuvers) of the
    // maneuvers of n + 1 moves that the move rules, the bound and, when the coset has
    // symmetries besides the identity (bits 0..15 of mask), the symmetric cut leave.
    std::vector<CosetPrefix> cosetPrefixes(int n, std::uint16_t mask);
    // Searches every maneuver of n + 1 moves that begins with prefix and hands each position
    // of H' it reaches to the worker; false when the worker's checkpoint ended it.
    bool cosetSubtree(int n, const CosetPrefix& prefix, CosetWorker& worker);

    // The maneuver of the result (the first `length` levels).
    std::vector<Move> maneuver() const;
    std::array<Level, kLevels> levels{};
    int depthIndex = 0;   // phase-1 depth index n (or the optimal depth index)
    int phase2Depth = -1;

private:
    TableSet tables_;
    SearchTables tb_;
    bool coordsInRange_ = false;
    Level start_{};
    int mark_ = 0;
    int cursor_[kLevels] = {};  // move being tried at each level
    int level_ = 0;
    bool resumeAfterSolution_ = false;
    bool started_ = false;
    // The optimal search of one depth split over threads (ida_split.cpp): the levels below
    // floor_ are a prefix fixed by the split, and the DFS does not back up into them; a
    // search that enumerates the prefixes stops at ceiling_ and records them instead.
    int floor_ = 0;
    int ceiling_ = kLevels;
    std::unique_ptr<OptimalSplit> split_;  // the split of the current depth, kept across a stop
    SplitRun* watch_ = nullptr;  // the run a worker serves
    int item_ = 0;               // the prefix a worker searches
    int optimalDepth(int n);
    bool sharing() const { return threads > 1 && (!mayShare || mayShare()); }
    int splitDepth(int n);
    void enumeratePrefixes(int n);
    void recordPrefix();
    void watchSplit();
    void serveSplit(SplitRun& run, int n, bool helper);
    void takeItem(const OptimalSplit& split, int k);
    int finishSplit(int n, SplitRun& run);

    bool stopping() const { return stopRequested.load(std::memory_order_relaxed); }
    bool nextCandidate(int moveLimit);
    void skipAxis() { cursor_[level_] = 3 * (cursor_[level_] / 3 + 1); }
    void skipPower() { ++cursor_[level_]; }
    void descend() {
        cursor_[++level_] = 0;
        probed_ &= ~(std::uint32_t(1) << level_);  // a new parent: its children are not probed yet
    }
    void restartDepth() {
        level_ = 0;
        cursor_[0] = 0;
        mark_ = 0;
        probed_ = 0;
    }
    void phase1Step(const Level& parent, Level& child, int m) const;
    void prefetchAxis(const Level& parent, int axis) const;
    int phase2(int n);
    bool phase2Search(int n, int q, int k, int budget);
    void updatePhase2Coords(int last);
    bool startSolved() const;
    // Where the children of one parent find their pruning-table entries, per axis; computed
    // for all children before the first is evaluated, so that their cache misses overlap.
    struct ChildProbe {
        const std::uint8_t* byte;
        std::uint32_t cls;
        std::uint16_t twist;
        std::uint16_t extra;  // the child's dCornerPos (huge table) or centre parity (centres)
        std::uint8_t sym;
        std::uint8_t digit;  // of the entry within its byte
    };
    using LevelProbes = std::array<std::array<ChildProbe, 3>, kMoves>;
    std::unique_ptr<std::array<LevelProbes, kLevels>> probes_;  // made by the first optimal run
    std::uint32_t probed_ = 0;  // bit j: the probes of level j belong to its current parent
    void probeChildren(int j, int moveLimit);
    void optimalStep(const Level& parent, Level& child, int j, int m);
    enum class Skip { None, Power, Axis };
    Skip optimalSkip(const Level& child, int j, int i, bool pruning, bool symmetric) const;
    // ida_coset.cpp
    struct CosetChild;
    void cosetChild(const Level& parent, int m, CosetChild& c) const;
    void cosetPlace(int j, int m, const CosetChild& c, int distance);
    bool cosetLevel(int j, int n, CosetWorker& w);
    bool cosetLastLevel(int j, CosetWorker& w);
    void cosetReach(int j, CosetWorker& w);
    void cosetCollect(int j, int n, int length, std::uint16_t mask, std::vector<CosetPrefix>& out);
    bool cosetImageSmaller(int j, std::uint16_t mask) const;
};

}  // namespace tx
