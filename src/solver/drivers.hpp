#pragma once
// The search drivers of a cube: TripleSearch runs the two-phase search (on one or three
// orientations) run after run until the maneuver is short enough; OptimalSearch runs the
// optimal search and reports each new depth. Both live on the main thread; their threads
// report through the context's event queue, and the drivers report to their listener as data
// (search_report.hpp). A driver is the solver's record of a search: the cube's coordinates,
// the bound, the tables it holds and its threads.
//
// With the context's fastSearch on when it is made, the first run of a TripleSearch asks the
// fast engine for a maneuver of at most stopAt moves instead (face turns, centres not counted,
// and only when no maneuver of that length is known yet); it reports that maneuver and ends.
// A stopped fast run is run again (to the target of that time) at the next start. Later runs, and
// a fast run that finds none, are the improving search's.
#include <array>
#include <memory>
#include <string>

#include "solver/fast_run.hpp"
#include "solver/search_context.hpp"
#include "solver/search_report.hpp"
#include "solver/search_thread.hpp"

namespace tx {

class TripleSearch : public std::enable_shared_from_this<TripleSearch> {
public:
    // A search of `cube` for maneuvers of at most bestLength - 1 moves, on the tables loaded
    // now; the triple option is taken now. Null (and the reason in whyNot) when the tables
    // lack what the cube needs.
    static std::shared_ptr<TripleSearch> create(const CubieCube& cube, int bestLength, SearchContext& context,
                                                SearchListener listener, std::string* whyNot = nullptr);
    ~TripleSearch();

    void start();  // one run, bounded by `bound` (and stopAt for a fast run)
    // Asks every thread of the run to stop; no further run follows.
    void stop();
    bool cannotImprove() const { return bound == -1; }
    // Threads of the current run have not all ended yet.
    bool threadsRunning() const { return endedThreads < orientations(); }

    bool triple = false;
    bool fast = false;    // the next run is the fast engine's
    int bound = 30;       // longest maneuver the next run may find; -1 when none shorter exists
    int lastResult = -1;
    int endedThreads = 0;

private:
    TripleSearch(const CubieCube& cube, int bestLength, SearchContext& context, SearchListener listener,
                 TableSet tables);
    void onThreadEnd(int orientation);
    void startFast();
    void onFastEnd();
    void postNextRun();
    void stopThreads();
    int orientations() const { return triple ? 3 : 1; }

    SearchContext* context_;
    SearchListener listener_;
    TableSet tables_;
    std::array<std::unique_ptr<CoordCube>, 3> coords_;
    std::array<std::unique_ptr<SearchThread>, 3> current_, previous_;
    std::unique_ptr<FastRun> fastRun_;  // made for the fast run, kept until the driver goes
    bool halted_ = false;  // stopped from outside: a pending next run does not start
};

class OptimalSearch : public std::enable_shared_from_this<OptimalSearch> {
public:
    static std::shared_ptr<OptimalSearch> create(const CubieCube& cube, SearchContext& context, SearchListener listener,
                                                 std::string* whyNot = nullptr);
    ~OptimalSearch();

    void start();
    void stop();
    const IDA* currentThread() const { return current_ ? &current_->ida() : nullptr; }

private:
    OptimalSearch(const CubieCube& cube, SearchContext& context, SearchListener listener, TableSet tables);
    void onThreadEnd();

    SearchContext* context_;
    SearchListener listener_;
    TableSet tables_;
    std::unique_ptr<CoordCube> coord_;
    std::unique_ptr<SearchThread> current_, previous_;
};

}  // namespace tx
