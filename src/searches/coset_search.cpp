#include "searches/coset_search.hpp"

#include <algorithm>

#include "cube/symmetry.hpp"
#include "solver/search_gate.hpp"
#include "solver/search_thread.hpp"

namespace tx {

using SteadyClock = std::chrono::steady_clock;

std::uint64_t cosetNumberOf(const CoordCube& c) {
    const AxisCoords& a = c.axis[0];
    return (std::uint64_t(a.flipSliceClass) * kTwists + std::uint64_t(a.twist)) * kDCornerPos +
           std::uint64_t(a.dCornerPos);
}

std::uint16_t cosetSymmetryMask(const CubieCube& c) {
    std::uint16_t mask = 0;
    for (int s = 0; s < kCosetSymmetries; ++s) {
        const CubieCube x = conjugate(c, s);
        if (x.twist() == c.twist() && x.flip() == c.flip() && x.slice() == c.slice() && x.dCornerPos() == c.dCornerPos())
            mask = static_cast<std::uint16_t>(mask | 1u << s);
    }
    return mask;
}

namespace {

// Corners and edges each a permutation, with the orientation sums and the parities of a cube
// that moves can reach.
bool reachableCube(const CubieCube& c) {
    if (c.hasUndeterminedCubie()) return false;
    unsigned corners = 0, edges = 0;
    for (const Piece& p : c.corners) {
        if (p.o > 2) return false;
        corners |= 1u << p.c;
    }
    for (const Piece& p : c.edges) {
        if (p.o > 1) return false;
        edges |= 1u << p.c;
    }
    return corners == 0xFFu && edges == 0xFFFu && c.totalTwist() == 0 && c.totalFlip() == 0 &&
           c.cornerParityEven() == c.edgeParityEven();
}

CubieCube withoutCentres(const CubieCube& cube) {
    CubieCube c = cube;
    c.centers = CubieCube().centers;
    c.centersCount = false;
    return c;
}

}  // namespace

// One search thread: its own IDA, marking into the shared reached set.
class CosetSearch::Worker : public CosetWorker {
public:
    Worker(CosetSearch& owner, const IDA& prototype)
        : CosetWorker(*owner.bits_, owner.images_, *owner.tables_.coords), owner_(owner), ida(prototype) {}
    bool checkpoint() override { return owner_.checkpoint(*this); }

private:
    CosetSearch& owner_;

public:
    IDA ida;
    std::atomic<long long> item{-1};  // the prefix being searched, -1 between prefixes
    std::uint64_t flushedReached = 0, flushedNodes = 0, flushedLeaves = 0;
    std::jthread thread;
};

CosetSearch::CosetSearch(const CubieCube& cube, const TableSet& tables, Events& events, const CosetOptions& options)
    : options_(options),
      events_(events),
      tables_(tables),
      representative_(withoutCentres(cube)),
      positions_(*tables.coords) {
    const CoordCube coords(*tables_.coords, representative_);
    cosetNumber_ = cosetNumberOf(coords);
    startTime_ = Clock::now();
    mask_ = options_.useSymmetries ? cosetSymmetryMask(representative_) : std::uint16_t(1);
    prefixSearch_ = std::make_unique<IDA>(tables_, coords, true, options_.hugeBound);
    bits_ = CosetBits::acquire();
    alive_ = std::make_shared<CosetSearch*>(this);
}

std::unique_ptr<CosetSearch> CosetSearch::create(const CubieCube& cube, const TableSet& tables, Events& events,
                                                 const CosetOptions& options, const std::function<void()>& pump,
                                                 std::string* whyNot) {
    auto refuse = [&](const std::string& why) {
        if (whyNot) *whyNot = why;
        return std::unique_ptr<CosetSearch>();
    };
    if (!tables.ready()) return refuse("The solver tables are not loaded.");
    if (options.hugeBound && !tables.hasHuge()) return refuse("The 1881 MB Huge Optimal Solver Table is not loaded.");
    if (!reachableCube(cube)) return refuse("The Coset Explorer needs a completely defined, solvable cube.");
    if (options.maxDepth < 1 || options.maxDepth > kCosetMaxDepth)
        return refuse("The Coset Explorer searches 1 to 19 moves deep.");
    std::unique_ptr<CosetSearch> s(new CosetSearch(cube, tables, events, options));
    s->images_ = buildCosetImages(*tables.coords, s->representative_, s->mask_, pump);
    int threads = options.threads;
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (int t = 0; t < threads; ++t) s->workers_.push_back(std::make_unique<Worker>(*s, *s->prefixSearch_));
    return s;
}

CosetSearch::~CosetSearch() {
    {
        std::lock_guard lock(mutex_);
        abort_ = true;
        halt_ = true;
    }
    cv_.notify_all();
    SearchGate::instance().wakeAll();
    if (coordinator_.joinable()) coordinator_.join();
    alive_.reset();
}

// ---------------------------------------------------------------- control (main thread)

void CosetSearch::start() {
    std::lock_guard lock(mutex_);
    if (abort_ || finished_) return;
    if (!launched_) {
        launched_ = true;
        launchedAt_ = SteadyClock::now();
        busy_ = 1;  // the coordinator
        coordinator_ = std::jthread([this] { coordinate(); });
        return;
    }
    if (!pause_) return;
    pausedTotal_ += SteadyClock::now() - pausedAt_;
    pause_ = false;
    halt_ = false;
    cv_.notify_all();
}

void CosetSearch::stop() {
    requestPause();
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [&] { return busy_ == 0; });
}

void CosetSearch::requestPause() {
    {
        std::lock_guard lock(mutex_);
        if (!launched_ || pause_ || searchOver_) return;
        pausedAt_ = SteadyClock::now();
        pause_ = true;
        halt_ = true;
    }
    SearchGate::instance().wakeAll();  // a thread waiting for its turn parks at once
}

bool CosetSearch::halted() const {
    std::lock_guard lock(mutex_);
    return busy_ == 0;
}

bool CosetSearch::paused() const { return pause_.load(); }

std::array<std::uint64_t, kCosetTotals> CosetSearch::depthTotals() const {
    std::lock_guard lock(mutex_);
    return totals_;
}

double CosetSearch::activeSeconds() const {
    const auto now = SteadyClock::now();
    auto active = now - launchedAt_ - pausedTotal_;
    if (pause_) active -= now - pausedAt_;
    return std::chrono::duration<double>(active).count();
}

CosetProgress CosetSearch::progress() const {
    std::lock_guard lock(mutex_);
    CosetProgress p;
    p.depth = depth_;
    p.reached = reached_.load();
    p.nodes = nodes_.load();
    p.leaves = leaves_.load();
    if (!launched_) return p;
    p.seconds = activeSeconds();
    const double inDepth = p.seconds - depthStartSeconds_;
    if (inDepth > 0) p.positionsPerSecond = double(p.reached - depthStartReached_) / inDepth;
    return p;
}

Move CosetSearch::currentFirstMove() const {
    std::lock_guard lock(mutex_);
    long long first = -1;
    for (const auto& w : workers_) {
        const long long k = w->item.load();
        if (k >= 0 && (first < 0 || k < first)) first = k;
    }
    if (first < 0 && !items_.empty())
        first = static_cast<long long>(std::min(nextItem_.load(), items_.size() - 1));
    if (first < 0 || items_[static_cast<std::size_t>(first)].length == 0) return Move{0, 1};
    const int m = items_[static_cast<std::size_t>(first)].moves[0];
    return Move{static_cast<std::uint8_t>(m / 3), static_cast<std::uint8_t>(m % 3 + 1)};
}

void CosetSearch::forEachCubeLeft(const std::function<bool(const CubieCube&)>& f) const {
    bits_->forEachClear([&](std::uint32_t b) {
        CubieCube x = positions_.position(b).inverse();
        x.multiply(representative_);
        return f(x);
    });
}

void CosetSearch::markAllBut(const std::vector<std::uint32_t>& left) {
    bits_->setAll();
    for (std::uint32_t b : left) bits_->reset(b);
    reached_ = bits_->count();
}

// ---------------------------------------------------------------- threads

void CosetSearch::post(std::function<void(CosetSearch&)> task) {
    std::weak_ptr<CosetSearch*> alive = alive_;
    events_.post([alive, task = std::move(task)] {
        if (const auto self = alive.lock()) task(**self);
    });
}

// Depth by depth: the prefixes of the depth, then the workers search below them.
void CosetSearch::coordinate() {
    if (options_.lowPriority) lowerThreadPriority();
    bits_->clear();
    reached_ = reachStart();
    {
        std::lock_guard lock(mutex_);
        totals_[0] = reached_;
    }
    if (reached_ > 0) {
        const CosetDepth start{0, reached_, reached_, 0};
        post([start](CosetSearch& s) {
            if (s.onDepth) s.onDepth(start);
        });
    }
    for (int depth = 1; depth <= options_.maxDepth && !complete_; ++depth) {
        if (!waitWhilePaused()) return;
        const std::uint64_t depthStartNodes = nodes_, depthStartLeaves = leaves_;
        const std::uint64_t prefixNodes = prefixSearch_->nodes;
        std::vector<CosetPrefix> items = prefixSearch_->cosetPrefixes(depth - 1, mask_);
        nodes_ += prefixSearch_->nodes - prefixNodes;  // the first moves count as searched nodes too
        {
            std::lock_guard lock(mutex_);
            items_ = std::move(items);
            nextItem_ = 0;
            depth_ = depth;
            depthStartReached_ = reached_;
            depthStartSeconds_ = activeSeconds();
        }
        runDepth(depth - 1);
        if (abort_) return;
        CosetDepth report;
        {
            std::lock_guard lock(mutex_);
            totals_[static_cast<std::size_t>(depth)] = reached_;
            report = {depth,         reached_, reached_ - depthStartReached_, activeSeconds() - depthStartSeconds_,
                      nodes_ - depthStartNodes, leaves_ - depthStartLeaves};
        }
        post([report](CosetSearch& s) {
            if (s.onDepth) s.onDepth(report);
        });
    }
    {
        std::lock_guard lock(mutex_);
        --busy_;
        searchOver_ = true;
    }
    cv_.notify_all();
    post([](CosetSearch& s) {
        s.finished_ = true;
        if (s.onEnd) s.onEnd();
    });
}

// A cube in H' is its own position at distance 0: no maneuver of one move or more needs to
// find it (the solved cube would otherwise be counted at the length of some maneuver that
// turns a cube back into itself).
std::uint64_t CosetSearch::reachStart() {
    const CubieCube& r = representative_;
    if (r.twist() != 0 || r.flip() != 0 || r.slice() != 0 || r.dCornerPos() != 0) return 0;
    CosetWorker start(*bits_, images_, *tables_.coords);
    start.reach(r.cornerPerm(), r.udEdgePerm(), sliceOrderOf(r));
    return start.newlyReached;
}

bool CosetSearch::waitWhilePaused() {
    std::unique_lock lock(mutex_);
    if (pause_ && !abort_) {
        --busy_;
        cv_.notify_all();
        cv_.wait(lock, [&] { return !pause_ || abort_; });
        ++busy_;
    }
    return !abort_;
}

void CosetSearch::runDepth(int n) {
    {
        std::lock_guard lock(mutex_);
        workersDone_ = 0;
        busy_ += static_cast<int>(workers_.size());
    }
    for (auto& w : workers_) {
        Worker* worker = w.get();
        worker->thread = std::jthread([this, worker, n] { work(*worker, n); });
    }
    {
        std::unique_lock lock(mutex_);
        --busy_;  // waiting changes nothing
        cv_.notify_all();
        cv_.wait(lock, [&] { return workersDone_ == static_cast<int>(workers_.size()); });
        ++busy_;
    }
    for (auto& w : workers_) w->thread.join();
}

void CosetSearch::work(Worker& w, int n) {
    if (options_.lowPriority) lowerThreadPriority();
    SearchGate& gate = SearchGate::instance();
    gate.enter(halt_);
    while (!abort_ && !complete_) {
        if (pause_) park();
        if (abort_ || complete_) break;
        const std::size_t k = nextItem_.fetch_add(1);
        if (k >= items_.size()) break;
        w.item = static_cast<long long>(k);
        const bool whole = w.ida.cosetSubtree(n, items_[k], w);
        flush(w);
        w.item = -1;
        if (!whole) break;
    }
    flush(w);
    gate.leave();
    {
        std::lock_guard lock(mutex_);
        --busy_;
        ++workersDone_;
    }
    cv_.notify_all();
}

bool CosetSearch::checkpoint(Worker& w) {
    flush(w);
    if (abort_.load(std::memory_order_relaxed) || complete_.load(std::memory_order_relaxed)) return false;
    if (pause_.load(std::memory_order_relaxed))
        park();
    else
        SearchGate::instance().takeTurn(halt_);
    return !abort_.load(std::memory_order_relaxed);
}

// Hands the worker's counts on; the last position reached ends the search.
void CosetSearch::flush(Worker& w) {
    const std::uint64_t fresh = w.newlyReached - w.flushedReached;
    w.flushedReached = w.newlyReached;
    nodes_.fetch_add(w.ida.nodes - w.flushedNodes, std::memory_order_relaxed);
    w.flushedNodes = w.ida.nodes;
    leaves_.fetch_add(w.leaves - w.flushedLeaves, std::memory_order_relaxed);
    w.flushedLeaves = w.leaves;
    if (fresh != 0 && reached_.fetch_add(fresh) + fresh == kCosetPositions) complete_ = true;
}

void CosetSearch::park() {
    SearchGate::instance().leave();
    {
        std::unique_lock lock(mutex_);
        --busy_;
        cv_.notify_all();
        cv_.wait(lock, [&] { return !pause_ || abort_; });
        ++busy_;
    }
    SearchGate::instance().enter(halt_);
}

}  // namespace tx
