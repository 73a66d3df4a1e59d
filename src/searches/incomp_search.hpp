#pragma once
// The search for partially defined cubes (IncompSearch): every maneuver, depth by depth, that
// solves all the defined facelets of a cube and ignores the undefined ones. Iterative deepening
// over the coordinates of incomp_plan.hpp, pruned by the tables the input allows; a maneuver is
// accepted at depth 0 when no edge of known orientation is flipped and no centre whose
// orientation matters is turned.
//
// It runs either on the calling thread up to a depth (the command line, tests, benchmarks) or
// on a thread of its own without end until it is stopped (the window); the thread hands its
// reports to the main thread through Events, in order, and waits when the main thread falls
// far behind.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cube/notation.hpp"
#include "platform/events.hpp"
#include "searches/incomp_plan.hpp"

namespace tx {

struct IncompReport {
    enum class Kind {
        Depth,       // depth `depth` begins (reported from depth 7 on)
        Found,       // a maneuver of `depth` moves: `moves`; `optimal` at the first depth with any
        Unsolvable,  // a defined part of the cube cannot be solved with the moves allowed
    };
    Kind kind = Kind::Found;
    int depth = 0;
    std::vector<Move> moves;
    bool optimal = false;
};

inline constexpr int kFirstAnnouncedDepth = 7;

// The line the search's window shows for a found maneuver: the maneuver writer's text with
// "*)" at the first depth with any maneuver; the middle-layer form with slice moves.
std::string incompLine(const IncompReport& found, char metricLetter, bool sliceMoves);
// "Searching depth N".
std::string incompDepthLine(int depth);

class IncompSearch {
public:
    using Listener = std::function<void(const IncompReport&)>;

    // The per-search tables are made here; `tables` must be made for options.sliceMoves.
    IncompSearch(const CubieCube& cube, const IncompOptions& options, std::shared_ptr<const IncompTables> tables);
    ~IncompSearch();  // stops the thread without handing over what is left
    IncompSearch(const IncompSearch&) = delete;
    IncompSearch& operator=(const IncompSearch&) = delete;

    IncompMode mode() const { return plan_.mode; }
    const IncompPlan& plan() const { return plan_; }
    bool sliceMoves() const { return tables_->sliceMode; }
    std::uint64_t nodes() const { return nodes_.load(std::memory_order_relaxed); }

    // Searches depths 1 .. maxDepth on the calling thread; onReport answers false to stop.
    void run(int maxDepth, const std::function<bool(const IncompReport&)>& onReport);

    // Searches depth after depth on a thread of its own, below normal priority, until stop().
    // Reports reach `listener` on the main thread through `events`.
    void start(Events& events, Listener listener);
    bool running() const { return thread_.joinable(); }
    // Main thread: asks the thread to stop and waits for it; the reports it made before reach
    // the listener now, none later. The per-search tables are freed.
    void stop();

private:
    class Mailbox;
    using Sink = std::function<bool(const IncompReport&)>;

    void deepen(int maxDepth, const Sink& sink, const std::stop_token& stop);
    // Places move `level` of a maneuver of depth_ moves; false once the search must end.
    bool expand(int level, const Sink& sink, const std::stop_token& stop);
    bool step(const IncompNode& parent, int move, int remaining, IncompNode& child) const;
    bool accepted(const IncompNode& n) const;
    void releaseTables();

    std::shared_ptr<const IncompTables> tables_;
    IncompPlan plan_;
    std::vector<IncompNode> path_;  // path_[i]: after the first i moves
    std::uint64_t count_ = 0;      // nodes, on the searching thread
    int depth_ = 0;
    int firstFound_ = 0;  // the first depth with a maneuver, 0 while none was found
    bool foundAtDepth_ = false;
    std::atomic<std::uint64_t> nodes_{0};
    std::shared_ptr<Mailbox> mailbox_;
    std::jthread thread_;
};

}  // namespace tx
