#include "solver/search_gate.hpp"

#include <thread>

namespace tx {

namespace {
constexpr auto kTurn = std::chrono::milliseconds(20);
}

thread_local bool SearchGate::holding_ = false;
thread_local std::chrono::steady_clock::time_point SearchGate::turnEnd_{};

SearchGate& SearchGate::instance() {
    static SearchGate gate;
    return gate;
}

SearchGate::SearchGate() {
    const unsigned cores = std::thread::hardware_concurrency();
    slots_ = cores == 0 ? 1 : static_cast<int>(cores);
}

void SearchGate::setSlots(int slots) {
    std::lock_guard lock(mutex_);
    slots_ = slots < 1 ? 1 : slots;
    cv_.notify_all();
}

int SearchGate::searches() {
    std::lock_guard lock(mutex_);
    return busy_ + waiting_;
}

void SearchGate::skipAbandoned() {
    while (!abandoned_.empty() && *abandoned_.begin() == serving_) {
        abandoned_.erase(abandoned_.begin());
        ++serving_;
    }
}

// Waits for this thread's ticket to come up with a free slot; a stop request ends the wait.
void SearchGate::wait(std::unique_lock<std::mutex>& lock, const std::atomic<bool>& stop) {
    const std::uint64_t ticket = nextTicket_++;
    ++waiting_;
    cv_.wait(lock, [&] {
        skipAbandoned();
        return (busy_ < slots_ && ticket == serving_) || stop.load(std::memory_order_relaxed);
    });
    --waiting_;
    if (ticket == serving_ && busy_ < slots_) {
        ++serving_;
        ++busy_;
        holding_ = true;
        turnEnd_ = std::chrono::steady_clock::now() + kTurn;
    } else {
        abandoned_.insert(ticket);  // stopped before its turn: computes without a slot
        skipAbandoned();
        holding_ = false;
    }
    cv_.notify_all();
}

void SearchGate::enter(const std::atomic<bool>& stop) {
    std::unique_lock lock(mutex_);
    wait(lock, stop);
}

void SearchGate::leave() {
    if (!holding_) return;
    std::lock_guard lock(mutex_);
    --busy_;
    holding_ = false;
    cv_.notify_all();
}

void SearchGate::requeue(const std::atomic<bool>& stop) {
    std::unique_lock lock(mutex_);
    if (waiting_ == 0) {
        turnEnd_ = std::chrono::steady_clock::now() + kTurn;
        return;
    }
    --busy_;
    holding_ = false;
    cv_.notify_all();
    wait(lock, stop);
}

}  // namespace tx
