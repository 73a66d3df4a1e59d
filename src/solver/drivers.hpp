#pragma once
// The search drivers of an entry: TripleSearch runs the two-phase search (on one or three
// orientations) run after run until the maneuver is short enough; OptimalSearch runs the
// optimal search and reports each finished depth. Both live on the main thread; their
// threads report through the context's event queue.
#include <array>
#include <memory>
#include <string>

#include "solver/entry.hpp"
#include "solver/search_context.hpp"
#include "solver/search_thread.hpp"

namespace tx {

class TripleSearch : public std::enable_shared_from_this<TripleSearch> {
public:
    // Built from the entry's cube on the tables loaded now; the triple option is taken now.
    // Null (and the reason in whyNot) when the tables lack what the cube needs.
    static std::shared_ptr<TripleSearch> create(Entry& entry, SearchContext& context, std::string* whyNot = nullptr);
    ~TripleSearch();

    void start();  // one run, bounded by `bound`
    void stop();   // asks every thread of the run to stop
    bool cannotImprove() const { return bound == -1; }

    bool triple = false;
    int bound = 30;       // longest maneuver the next run may find; -1 when none shorter exists
    int lastResult = -1;
    int endedThreads = 0;

private:
    TripleSearch(Entry& entry, SearchContext& context, TableSet tables);
    void onThreadEnd(int orientation);
    int orientations() const { return triple ? 3 : 1; }

    Entry* entry_;
    SearchContext* context_;
    TableSet tables_;
    std::array<std::unique_ptr<CoordCube>, 3> coords_;
    std::array<std::unique_ptr<SearchThread>, 3> current_, previous_;
    bool running_ = false;
};

class OptimalSearch : public std::enable_shared_from_this<OptimalSearch> {
public:
    static std::shared_ptr<OptimalSearch> create(Entry& entry, SearchContext& context, std::string* whyNot = nullptr);
    ~OptimalSearch();

    void start();
    void stop();
    const IDA* currentThread() const { return current_ ? &current_->ida() : nullptr; }

private:
    OptimalSearch(Entry& entry, SearchContext& context, TableSet tables);
    void onThreadEnd();
    void onProgress(const IDA* thread, int v);

    Entry* entry_;
    SearchContext* context_;
    TableSet tables_;
    std::unique_ptr<CoordCube> coord_;
    std::unique_ptr<SearchThread> current_, previous_;
};

// The optimal log line for depth d: "\r" + "depth %2.2d: ".
std::string depthLineText(int d);
// L of a length mark "(" L metricLetter ")" in text, or -1.
int lengthOfMark(const std::string& text, char metricLetter);

}  // namespace tx
