#include "searches/incomp_search.hpp"

#include "solver/move_rules.hpp"
#include "solver/search_thread.hpp"

namespace tx {

// Reports on their way from the searching thread to the main thread. The thread posts one
// delivery whenever the queue was empty; the delivery hands over everything queued so far.
// When the main thread falls far behind, the thread waits for room (or for its stop).
class IncompSearch::Mailbox : public std::enable_shared_from_this<Mailbox> {
public:
    static constexpr std::size_t kCapacity = 4096;

    Mailbox(Events& events, Listener listener) : events_(events), listener_(std::move(listener)) {}

    // Searching thread; false when the search was stopped while it waited.
    bool put(const IncompReport& report, const std::stop_token& stop) {
        std::unique_lock lock(mutex_);
        if (!room_.wait(lock, stop, [&] { return queue_.size() < kCapacity; })) return false;
        const bool first = queue_.empty();
        queue_.push_back(report);
        lock.unlock();
        if (first) events_.post([self = shared_from_this()] { self->deliver(); });
        return true;
    }

    // Main thread.
    void deliver() {
        std::deque<IncompReport> batch;
        {
            std::lock_guard lock(mutex_);
            batch.swap(queue_);
        }
        room_.notify_all();
        for (const auto& r : batch) {
            if (!listener_) return;
            listener_(r);
        }
    }
    void close() { listener_ = nullptr; }

private:
    Events& events_;
    Listener listener_;
    std::mutex mutex_;
    std::condition_variable_any room_;
    std::deque<IncompReport> queue_;
};

std::string incompLine(const IncompReport& found, char metricLetter, bool sliceMoves) {
    return writeManeuver(found.moves.data(), static_cast<int>(found.moves.size()), metricLetter, sliceMoves,
                         found.optimal);
}

std::string incompDepthLine(int depth) { return "Searching depth " + std::to_string(depth); }

IncompSearch::IncompSearch(const CubieCube& cube, const IncompOptions& options,
                           std::shared_ptr<const IncompTables> tables)
    : tables_(std::move(tables)), plan_(planIncompSearch(cube, options, *tables_)) {}

IncompSearch::~IncompSearch() {
    if (mailbox_) mailbox_->close();
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
}

void IncompSearch::run(int maxDepth, const std::function<bool(const IncompReport&)>& onReport) {
    deepen(maxDepth, onReport, std::stop_token());
}

void IncompSearch::start(Events& events, Listener listener) {
    mailbox_ = std::make_shared<Mailbox>(events, std::move(listener));
    thread_ = std::jthread([this, box = mailbox_](std::stop_token stop) {
        lowerThreadPriority();
        deepen(0, [&](const IncompReport& r) { return box->put(r, stop); }, stop);
    });
}

void IncompSearch::stop() {
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
    if (mailbox_) {
        mailbox_->deliver();
        mailbox_->close();
    }
    releaseTables();
}

void IncompSearch::releaseTables() {
    plan_.groups = {};
    plan_.cornerPermDepth = {};
    path_ = {};
}

// Depth 1, 2, ... up to maxDepth (0: without end).
void IncompSearch::deepen(int maxDepth, const Sink& sink, const std::stop_token& stop) {
    if (plan_.unsolvable) {
        IncompReport r;
        r.kind = IncompReport::Kind::Unsolvable;
        sink(r);
        return;
    }
    firstFound_ = 0;
    for (depth_ = 1; maxDepth <= 0 || depth_ <= maxDepth; ++depth_) {
        if (depth_ >= kFirstAnnouncedDepth) {
            IncompReport r;
            r.kind = IncompReport::Kind::Depth;
            r.depth = depth_;
            if (!sink(r)) return;
        }
        path_.assign(static_cast<std::size_t>(depth_) + 1, IncompNode{});
        path_[0] = plan_.start;
        if (!expand(0, sink, stop)) return;
    }
    nodes_.store(count_, std::memory_order_relaxed);
}

bool IncompSearch::expand(int level, const Sink& sink, const std::stop_token& stop) {
    const bool slice = tables_->sliceMode;
    const IncompNode& parent = path_[level];
    const int remaining = depth_ - level - 1;
    const int prevAxis = level == 0 ? -1 : parent.move / 3, prevPower = parent.move % 3 + 1;
    for (int m : plan_.moves) {
        const int axis = m / 3, power = m % 3 + 1;
        if (!axisMayFollow(axis, prevAxis, slice)) continue;
        if (slice && makesSliceMove(axis, power, prevAxis, prevPower)) continue;
        if ((++count_ & 4095) == 0) {
            nodes_.store(count_, std::memory_order_relaxed);
            if (stop.stop_requested()) return false;
        }
        IncompNode& child = path_[level + 1];
        if (!step(parent, m, remaining, child)) continue;
        if (remaining > 0) {
            if (!expand(level + 1, sink, stop)) return false;
            continue;
        }
        if (!accepted(child)) continue;
        if (firstFound_ == 0) firstFound_ = depth_;
        IncompReport r;
        r.depth = depth_;
        r.optimal = firstFound_ == depth_;
        for (int i = 1; i <= depth_; ++i)
            r.moves.push_back({static_cast<std::uint8_t>(path_[i].move / 3), static_cast<std::uint8_t>(path_[i].move % 3 + 1)});
        if (!sink(r)) return false;
    }
    return true;
}

// The child after move m, or false when a table says it cannot be solved in `remaining` moves.
bool IncompSearch::step(const IncompNode& p, int m, int remaining, IncompNode& c) const {
    const IncompTables& t = *tables_;
    const CoordTables& ct = *t.coords;
    const int mc = t.moveCount;
    c.move = static_cast<std::uint8_t>(m);
    if (plan_.useDFace) {
        c.dEdges = static_cast<std::uint16_t>(t.move4(p.dEdges, m));
        c.dCorners = t.corner4Move[p.dCorners * mc + m];
        const int d = nextDepth[p.dDistance][t.dFace.get(t.dFaceIndex(c.dEdges, c.dCorners))];
        if (d > remaining) return false;
        c.dDistance = static_cast<std::uint8_t>(d);
    }
    c.cornerPerm = ct.cornerPermMove[p.cornerPerm * kMoves + m];
    if (plan_.useCorners8) {
        c.twist = ct.twistMove[p.twist * kMoves + m];
        const int d = nextDepth[p.cornerDistance][t.corners8->get(cornerIndex(ct, c.cornerPerm, c.twist))];
        if (d > remaining) return false;
        c.cornerDistance = static_cast<std::uint8_t>(d);
    } else {
        if (plan_.cornerPermDepth[c.cornerPerm] > remaining) return false;
        c.word = t.moveWord(p.word, m);
        if (t.wordDepth[c.word] > remaining) return false;
    }
    for (std::size_t g = 0; g < plan_.groups.size(); ++g) {
        c.group[g] = static_cast<std::uint16_t>(t.move4(p.group[g], m));
        if (plan_.groups[g].size == incomp::kMaxGroup) c.fifth[g] = t.edgeSlotMove[p.fifth[g] * mc + m];
        if (plan_.groups[g].distance(plan_.groupIndex(t, c, static_cast<int>(g))) > remaining) return false;
    }
    c.known = t.edgeMaskMove[p.known * mc + m];
    c.flipped = static_cast<std::uint16_t>(t.edgeMaskMove[p.flipped * mc + m] ^ t.edgeFlips[m]);
    if (plan_.centres) c.centerOri = ct.centerOriMove[p.centerOri * kMoves + m];
    return true;
}

// Every table reads 0 here; what they do not see: flipped edges and turned centres.
bool IncompSearch::accepted(const IncompNode& n) const {
    if (n.known & n.flipped) return false;
    return !plan_.centres || (n.centerOri & plan_.centerMask) == 0;
}

}  // namespace tx
