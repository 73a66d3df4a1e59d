#pragma once
// One fast-engine search on a thread of the search pool, for the desktop list: it runs below
// normal priority and takes its turns at the search gate like the other searches, and when it
// ends its end handler is posted to the main thread.
#include <atomic>
#include <functional>
#include <memory>

#include "platform/events.hpp"
#include "solver/fast_solver.hpp"
#include "solver/search_pool.hpp"

namespace tx {

class FastRun {
public:
    FastRun(TableSet tables, const CubieCube& cube);
    ~FastRun();  // asks the search to stop and waits for it
    FastRun(const FastRun&) = delete;
    FastRun& operator=(const FastRun&) = delete;

    // Starts a search for a maneuver of at most maxLength moves; onEnd runs on the main thread
    // through events after it has ended.
    void start(int maxLength, Events& events, std::function<void()> onEnd);
    void requestStop();
    void join();  // waits until the search has ended (at once when it never started)
    // The outcome, once onEnd has been called.
    const FastResult& result() const { return result_; }

private:
    TableSet tables_;
    CubieCube cube_;
    std::atomic<bool> stop_{false};
    FastResult result_;
    std::shared_ptr<SearchPool::Task> task_;
};

}  // namespace tx
