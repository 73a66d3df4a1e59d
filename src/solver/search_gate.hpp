#pragma once
// Lets only as many search threads compute at a time as the machine has cores; the others
// sleep and take turns of a few milliseconds in the order they queued. Hundreds of runnable
// threads would otherwise crowd out the window's thread, whatever their priority. Searches
// run outside a SearchThread (tests, benchmarks) are not gated.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>

namespace tx {

class SearchGate {
public:
    static SearchGate& instance();

    void setSlots(int slots);
    // Blocks until this thread may compute (or a stop was requested; then it computes at once).
    void enter(const std::atomic<bool>& stop);
    void leave();
    // Called now and then by a computing search: when its turn is over and others wait, it
    // queues again behind them.
    void takeTurn(const std::atomic<bool>& stop) {
        if (!holding_ || std::chrono::steady_clock::now() < turnEnd_) return;
        requeue(stop);
    }
    // Wakes the waiting threads so that those whose stop flag is set can leave.
    void wakeAll() { cv_.notify_all(); }
    // Search threads inside the gate: computing in a slot or waiting for their turn. (A
    // stopped search that computes without a slot is ending and not counted.)
    int searches();
    // The calling search, inside the gate, is the only search there.
    bool alone() { return searches() <= 1; }

private:
    SearchGate();
    void wait(std::unique_lock<std::mutex>& lock, const std::atomic<bool>& stop);
    void requeue(const std::atomic<bool>& stop);
    void skipAbandoned();

    std::mutex mutex_;
    std::condition_variable cv_;
    int slots_ = 2;
    int busy_ = 0;
    int waiting_ = 0;
    std::uint64_t nextTicket_ = 0;
    std::uint64_t serving_ = 0;
    std::set<std::uint64_t> abandoned_;  // tickets of waiters that left because of a stop
    static thread_local bool holding_;   // this thread holds a slot
    static thread_local std::chrono::steady_clock::time_point turnEnd_;
};

}  // namespace tx
