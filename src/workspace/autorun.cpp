#include "workspace/autorun.hpp"

#include "solver/search_pool.hpp"
#include "workspace/cube_list.hpp"

namespace tx {

// A search thread that has ended its search waits in the pool for the next one; it does no
// work, so it does not count against the limit.
int busyThreadCount() {
    const int all = processThreadCount();
    return all < 0 ? -1 : all - SearchPool::instance().idle();
}

bool Autorun::switchOn(AutorunMode mode) {
    if (mode == AutorunMode::Off) return false;
    if (mode_ != AutorunMode::Off) return mode_ == mode;
    mode_ = mode;
    const std::vector<int> selected = list_.selectedIndices();
    const int first = selected.empty() ? -1 : selected.front();
    // The optimal mode looks from its position on, the two-phase mode from one past it.
    position_ = mode == AutorunMode::Optimal ? std::max(first, 0) : first;
    started_ = -1;
    step();
    return true;
}

void Autorun::switchOff() {
    position_ = mode_ == AutorunMode::TwoPhase ? -1 : 0;
    mode_ = AutorunMode::Off;
    started_ = -1;
}

int Autorun::firstCandidate() const {
    const int count = static_cast<int>(list_.size());
    if (mode_ == AutorunMode::Optimal) return position_;
    return position_ >= count - 1 ? 0 : position_ + 1;
}

bool Autorun::qualifies(int index) const {
    const Entry& e = list_.at(index);
    if (e.searchRunning || e.hasOptimalManeuver()) return false;
    return mode_ == AutorunMode::Optimal || e.bestLength > list_.context().stopAt;
}

// An entry whose search cannot start (a pattern that is no real cube, a two-phase search
// that cannot improve, tables that lack what it needs) is passed over.
bool Autorun::start(int index) {
    const std::shared_ptr<Entry> e = list_.entries()[static_cast<std::size_t>(index)];
    const bool kind = e->useOptimal;
    e->useOptimal = mode_ == AutorunMode::Optimal;
    if (list_.startEntrySearch(e, true)) return true;
    e->useOptimal = kind;
    return false;
}

bool Autorun::readyToStart() const {
    if (mode_ == AutorunMode::Off) return false;
    const int threads = threadCount ? threadCount() : -1;
    // An unknown count is taken as a full one: starting blindly could start without end.
    return threads >= 0 && threads - 1 < maxThreads;
}

int Autorun::step() {
    if (!readyToStart()) return -1;
    const int count = static_cast<int>(list_.size());
    if (mode_ == AutorunMode::Optimal && position_ >= count) position_ = 0;
    for (int i = std::max(firstCandidate(), 0); i < count && i < static_cast<int>(list_.size()); ++i) {
        if (!qualifies(i) || !start(i)) continue;
        position_ = i;
        started_ = i;
        return i;
    }
    return -1;
}

std::string Autorun::labelText() const {
    return started_ < 0 ? std::string(kAutorunLabel) : kAutorunLabel + std::to_string(started_ + 1);
}

}  // namespace tx
