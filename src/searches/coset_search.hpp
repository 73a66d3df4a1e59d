#pragma once
// The coset explorer's driver. For a cube R it finds, depth by depth up to 19 face turns, every
// position p of H' that a maneuver m of that length reaches from R (p = R m), and so the
// distance of every cube of the coset H' R: the cube p^-1 R is solved by m. H' keeps twist,
// flip, slice and the D-layer corners of the solved cube (278,691,840 positions).
//
// The work of a depth is split by its first three moves over several threads; the positions
// reached after each depth do not depend on how many threads there are. A stop pauses the
// threads where they are, and a start lets them go on, so the counts continue. Reports reach
// the main thread through Events.
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cube/notation.hpp"
#include "platform/events.hpp"
#include "solver/coset_marks.hpp"
#include "solver/ida.hpp"
#include "tables/coord_cube.hpp"

namespace tx {

inline constexpr int kCosetMaxDepth = 19;
inline constexpr int kCosetTotals = 21;  // DepthTotals: entry d for d = 0..20

struct CosetOptions {
    bool hugeBound = true;      // prune with the huge table; false: the phase-1 table alone
    int threads = 0;            // search threads; 0: one per core
    int maxDepth = kCosetMaxDepth;
    bool useSymmetries = true;  // false: treat the coset as if it had no symmetry but the identity
    bool lowPriority = true;    // below the user interface (the desktop program)
};

// A depth that was completed: the positions reached up to it, those first reached at it, and
// the search time it took (pauses excluded).
struct CosetDepth {
    int depth = 0;
    std::uint64_t total = 0;
    std::uint64_t count = 0;
    double seconds = 0;
    std::uint64_t nodes = 0;   // nodes searched in the depth
    std::uint64_t leaves = 0;  // maneuvers of the depth that ended in H'
};

struct CosetProgress {
    int depth = 0;                  // the depth being searched; 0 before the start
    std::uint64_t reached = 0;      // positions reached so far
    double seconds = 0;             // search time so far, pauses excluded
    double positionsPerSecond = 0;  // positions newly reached per second in this depth
    std::uint64_t nodes = 0;
    std::uint64_t leaves = 0;       // maneuvers that ended in H' (positions reached, new or not)
};

// Coset number ((flipSliceClass * 2187 + twist) * 70 + dCornerPos, axis 0).
std::uint64_t cosetNumberOf(const CoordCube& c);
// Bit s (s = 0..15) set when S c S^-1 has c's twist, flip, slice and dCornerPos: the coset is
// its own image under S.
std::uint16_t cosetSymmetryMask(const CubieCube& c);

class CosetSearch {
public:
    using Clock = std::chrono::system_clock;

    // A search for the coset of `cube` (corners and edges; centres play no part). The tables
    // must hold the huge table unless options.hugeBound is clear. pump runs every 1000 entries
    // while the images of the symmetries are built. Null, and the reason in whyNot, when the
    // cube or the tables do not allow the search.
    static std::unique_ptr<CosetSearch> create(const CubieCube& cube, const TableSet& tables, Events& events,
                                               const CosetOptions& options = {},
                                               const std::function<void()>& pump = {},
                                               std::string* whyNot = nullptr);
    ~CosetSearch();  // ends the threads; no report runs afterwards
    CosetSearch(const CosetSearch&) = delete;
    CosetSearch& operator=(const CosetSearch&) = delete;

    // The first call begins the search; later calls continue a paused one.
    void start();
    // Pauses every thread and returns once they are all paused: the counts are then exact.
    void stop();
    // Asks the threads to pause and returns at once; halted() tells when they all have. A
    // window polls it, so that threads of the lowest priority on a busy machine cannot
    // freeze it while they make their way to the next checkpoint.
    void requestPause();
    bool halted() const;
    bool started() const { return launched_; }
    bool paused() const;
    // The end handler has run: every depth is done, or every position was reached.
    bool finished() const { return finished_; }

    // On the main thread: after each completed depth, and once at the end (after the
    // finished flag is set).
    std::function<void(const CosetDepth&)> onDepth;
    std::function<void()> onEnd;

    const CubieCube& representative() const { return representative_; }
    std::uint64_t cosetNumber() const { return cosetNumber_; }
    Clock::time_point startTime() const { return startTime_; }
    std::uint16_t symmetryMask() const { return mask_; }
    int maxDepth() const { return options_.maxDepth; }
    // DepthTotals and ReachedCount, read while paused or finished.
    std::array<std::uint64_t, kCosetTotals> depthTotals() const;
    std::uint64_t reachedCount() const { return reached_.load(); }
    std::uint64_t positionsLeft() const { return kCosetPositions - reachedCount(); }
    // The first move of the maneuvers being searched now.
    Move currentFirstMove() const;
    CosetProgress progress() const;
    const CosetBits& bits() const { return *bits_; }

    // The cubes p^-1 R of the positions p left, in ascending order of p's index, until f
    // answers false.
    void forEachCubeLeft(const std::function<bool(const CubieCube&)>& f) const;

    // For tests of what follows a search: marks every position but `left` as reached.
    void markAllBut(const std::vector<std::uint32_t>& left);

private:
    class Worker;
    CosetSearch(const CubieCube& cube, const TableSet& tables, Events& events, const CosetOptions& options);

    void coordinate();
    std::uint64_t reachStart();
    bool waitWhilePaused();  // false when the search is to end
    void runDepth(int n);
    void work(Worker& w, int n);
    bool checkpoint(Worker& w);
    void flush(Worker& w);
    void park();
    double activeSeconds() const;  // under mutex_
    void post(std::function<void(CosetSearch&)> task);

    CosetOptions options_;
    Events& events_;
    TableSet tables_;
    CubieCube representative_;
    std::uint64_t cosetNumber_ = 0;
    Clock::time_point startTime_;
    std::uint16_t mask_ = 1;
    std::shared_ptr<CosetBits> bits_;
    CosetImages images_;
    CosetPositions positions_;
    std::unique_ptr<IDA> prefixSearch_;
    std::vector<std::unique_ptr<Worker>> workers_;

    // Shared with the threads; the flags are atomic so that the hot loop reads them cheaply.
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::atomic<bool> pause_{false}, abort_{false}, complete_{false};
    std::atomic<bool> halt_{false};  // pause or abort: threads waiting for a turn give up waiting
    std::atomic<std::uint64_t> reached_{0}, nodes_{0}, leaves_{0};
    int busy_ = 0;         // threads that may change the counts now
    int workersDone_ = 0;  // workers of the current depth that have ended
    std::vector<CosetPrefix> items_;
    std::atomic<std::size_t> nextItem_{0};
    std::array<std::uint64_t, kCosetTotals> totals_{};
    int depth_ = 0;
    std::uint64_t depthStartReached_ = 0;
    double depthStartSeconds_ = 0;
    std::chrono::steady_clock::time_point launchedAt_{}, pausedAt_{};
    std::chrono::steady_clock::duration pausedTotal_{};

    bool launched_ = false;
    bool searchOver_ = false;  // the coordinator has left its loop (busy_ also drops to 0 between depths)
    bool finished_ = false;
    std::shared_ptr<CosetSearch*> alive_;  // reports posted by the threads check it
    std::jthread coordinator_;
};

}  // namespace tx
