#include "solver/drivers.hpp"

#include <algorithm>
#include <optional>

#include "cube/cube_input.hpp"
#include "cube/symmetry.hpp"
#include "solver/search_gate.hpp"

namespace tx {

namespace {

std::unique_ptr<CoordCube> coordsOf(const CoordTables& t, CubieCube c, int conjugations) {
    for (int i = 0; i < conjugations; ++i) {
        const bool centers = c.centersCount;
        c = conjugate(c, kSymUrf3);
        c.centersCount = centers;
    }
    return std::make_unique<CoordCube>(t, c);
}

// The tables loaded now, when the cube is one a search can solve and the tables hold what the
// search needs; otherwise the reason. A cube that is no cube would give coordinates outside
// the tables, and an impossible one a search that never ends.
std::optional<TableSet> tablesFor(const SearchContext& context, const CubieCube& cube, bool huge, std::string* whyNot) {
    if (const auto problem = cubieProblem(cube)) {
        if (whyNot) *whyNot = "the cube cannot be solved: " + *problem;
        return std::nullopt;
    }
    const bool centers = cube.centersCount;
    TableSet tables = context.tables ? context.tables->current() : TableSet{};
    std::string missing = missingTables(tables, centers, huge, context.sliceMode);
    if (missing.empty()) return tables;
    if (whyNot) *whyNot = std::move(missing);
    return std::nullopt;
}

SearchReport reportOf(SearchState state, const SearchContext& context) {
    SearchReport r;
    r.state = state;
    r.sliceMode = context.sliceMode;
    r.metric = context.metricLetter();
    return r;
}

// The maneuver a finished search holds, written with the move set it searched with.
SearchReport foundBy(const IDA& ida, const SearchContext& context) {
    SearchReport found = reportOf(SearchState::Found, context);
    found.sliceMode = ida.sliceMode;
    found.moves = ida.maneuver();
    found.length = ida.result;
    found.nodes = ida.totalNodes;
    return found;
}

}  // namespace

// ---------------------------------------------------------------- two-phase driver

TripleSearch::TripleSearch(const CubieCube& cube, int bestLength, SearchContext& context, SearchListener listener,
                           TableSet tables)
    : triple(context.triple),
      bound(bestLength - 1),
      context_(&context),
      listener_(std::move(listener)),
      tables_(std::move(tables)) {
    for (int k = 0; k < orientations(); ++k) coords_[k] = coordsOf(*tables_.coords, cube, k);
    fast = context.fastSearch && !context.sliceMode && bound >= context.stopAt &&
           fastEngineProblem(tables_, cube).empty();
    if (fast) fastRun_ = std::make_unique<FastRun>(tables_, cube);
}

std::shared_ptr<TripleSearch> TripleSearch::create(const CubieCube& cube, int bestLength, SearchContext& context,
                                                   SearchListener listener, std::string* whyNot) {
    auto tables = tablesFor(context, cube, false, whyNot);
    if (!tables) return nullptr;
    return std::shared_ptr<TripleSearch>(new TripleSearch(cube, bestLength, context, std::move(listener), std::move(*tables)));
}

TripleSearch::~TripleSearch() {
    stopThreads();
    fastRun_.reset();
    for (auto& t : current_) t.reset();
    for (auto& t : previous_) t.reset();
}

void TripleSearch::start() {
    endedThreads = 0;
    halted_ = false;
    if (fast) return startFast();
    for (int k = 0; k < orientations(); ++k) {
        if (current_[k]) {
            current_[k]->join();
            previous_[k] = std::move(current_[k]);
            current_[k] = std::make_unique<SearchThread>(std::make_unique<IDA>(previous_[k]->ida()));
        } else {
            current_[k] = std::make_unique<SearchThread>(std::make_unique<IDA>(tables_, *coords_[k], false));
        }
        IDA& ida = current_[k]->ida();
        ida.maxLen = bound;
        ida.stopAt = context_->stopAt;
        ida.sliceMode = context_->sliceMode;
    }
    // Later runs copy the kept threads, so the coordinates are not needed again.
    if (!context_->freeThreadsOnTerminate)
        for (auto& c : coords_) c.reset();
    std::weak_ptr<TripleSearch> self = weak_from_this();
    for (int k = 0; k < orientations(); ++k) {
        current_[k]->start(*context_->events, [self, k] {
            if (auto s = self.lock()) s->onThreadEnd(k);
        });
    }
}

void TripleSearch::stopThreads() {
    for (auto& t : current_)
        if (t) t->requestStop();
    if (fastRun_) fastRun_->requestStop();
}

void TripleSearch::startFast() {
    std::weak_ptr<TripleSearch> self = weak_from_this();
    fastRun_->start(std::min(bound, context_->stopAt), *context_->events, [self] {
        if (auto s = self.lock()) s->onFastEnd();
    });
}

// The fast engine's maneuver is reported like a run's result; the driver then ends, as after
// any result within the target. A fast run that found none within the target (it does not
// prove that none exists) hands over to the improving search.
void TripleSearch::onFastEnd() {
    const FastResult& r = fastRun_->result();
    endedThreads = orientations();
    if (r.length >= 0) {
        fast = false;
        lastResult = r.length;
        bound = r.length - 1;
        SearchReport found = reportOf(SearchState::Found, *context_);
        found.moves = r.moves;
        found.length = r.length;
        found.nodes = r.nodes();
        listener_(found);
    } else {
        lastResult = r.stopped || halted_ ? kStopped : kNoSolution;
        if (lastResult == kNoSolution && r.error.empty() && !halted_) {
            fast = false;
            return postNextRun();
        }
    }
    SearchReport ended = reportOf(SearchState::Ended, *context_);
    ended.length = lastResult;
    listener_(ended);
}

void TripleSearch::postNextRun() {
    std::weak_ptr<TripleSearch> self = weak_from_this();
    context_->events->post([self] {
        auto s = self.lock();
        if (s && !s->halted_) s->start();
    });
}

void TripleSearch::stop() {
    halted_ = true;
    stopThreads();
}

void TripleSearch::onThreadEnd(int orientation) {
    if (endedThreads == 0) {
        const IDA& ida = current_[orientation]->ida();
        const int a = ida.result;
        lastResult = a;
        if (a == -1) bound = -1;
        if (a >= 0 && a <= bound) {
            bound = a - 1;
            SearchReport found = foundBy(ida, *context_);
            found.orientation = orientation;
            listener_(found);
        }
        stopThreads();  // the other orientations' threads of this run
    }
    if (++endedThreads < orientations()) return;
    for (auto& t : previous_) t.reset();
    if (context_->freeThreadsOnTerminate)
        for (auto& t : current_) t.reset();
    // Another run only after a maneuver still longer than the target (never after a stop or
    // after "none shorter", whatever the target).
    if (lastResult >= 0 && lastResult > context_->stopAt && !halted_) return postNextRun();
    SearchReport ended = reportOf(SearchState::Ended, *context_);
    ended.length = lastResult;
    listener_(ended);
}

// ---------------------------------------------------------------- optimal driver

OptimalSearch::OptimalSearch(const CubieCube& cube, SearchContext& context, SearchListener listener, TableSet tables)
    : context_(&context), listener_(std::move(listener)), tables_(std::move(tables)) {
    coord_ = coordsOf(*tables_.coords, cube, 0);
}

std::shared_ptr<OptimalSearch> OptimalSearch::create(const CubieCube& cube, SearchContext& context,
                                                     SearchListener listener, std::string* whyNot) {
    auto tables = tablesFor(context, cube, context.hugeMode && !cube.centersCount, whyNot);
    if (!tables) return nullptr;
    return std::shared_ptr<OptimalSearch>(new OptimalSearch(cube, context, std::move(listener), std::move(*tables)));
}

OptimalSearch::~OptimalSearch() {
    if (current_) current_->requestStop();
    current_.reset();
    previous_.reset();
}

void OptimalSearch::start() {
    if (current_) {
        current_->join();
        previous_ = std::move(current_);
        current_ = std::make_unique<SearchThread>(std::make_unique<IDA>(previous_->ida()));
    } else {
        current_ = std::make_unique<SearchThread>(std::make_unique<IDA>(tables_, *coord_, true, context_->hugeMode));
        if (!context_->freeThreadsOnTerminate) coord_.reset();
    }
    IDA& ida = current_->ida();
    ida.maxLen = 31;
    ida.optimalMode = true;
    ida.hugeMode = context_->hugeMode && !ida.centerMode;
    ida.sliceMode = context_->sliceMode;
    ida.threads = context_->optimalThreads;
    // The search runs on a gated thread (SearchThread), so the gate knows whether it is alone.
    ida.mayShare = nullptr;
    if (context_->shareOnlyWhenAlone) ida.mayShare = [] { return SearchGate::instance().alone(); };
    std::weak_ptr<OptimalSearch> self = weak_from_this();
    Events* events = context_->events;
    const IDA* thread = &ida;
    // Runs on the search thread: the numbers are taken there, while they are the ones of v.
    ida.onProgress = [self, events, thread, base = reportOf(SearchState::Progress, *context_)](int v) {
        SearchReport progress = base;
        progress.solved = v >= 100;
        progress.depth = progress.solved ? v - 99 : v;
        const int finished = progress.solved ? progress.depth : progress.depth - 1;
        progress.nodes = finished >= 1 ? thread->depthNodes[finished - 1] : 0;
        for (int k = 0; k < 3; ++k) progress.startDistance[k] = thread->startDistance[k];
        events->post([self, thread, progress] {
            auto s = self.lock();
            // A report of an earlier thread of the entry arrives late: it is passed over.
            if (s && s->current_ && &s->current_->ida() == thread) s->listener_(progress);
        });
    };
    current_->start(*events, [self] {
        if (auto s = self.lock()) s->onThreadEnd();
    });
}

void OptimalSearch::stop() {
    if (current_) current_->requestStop();
}

void OptimalSearch::onThreadEnd() {
    const IDA& ida = current_->ida();
    const int a = ida.result;
    if (a >= 0) {
        SearchReport found = foundBy(ida, *context_);
        found.optimal = true;
        listener_(found);
    }
    SearchReport ended = reportOf(SearchState::Ended, *context_);
    ended.length = a;
    ended.nodes = ida.totalNodes;
    previous_.reset();
    if (context_->freeThreadsOnTerminate) current_.reset();
    listener_(ended);
}

}  // namespace tx
