#pragma once
// Runs one IDA search on a thread of the search pool below normal priority; when the search
// ends, the end handler is posted to the main thread and the thread goes back to the pool.
#include <atomic>
#include <functional>
#include <memory>

#include "platform/events.hpp"
#include "solver/ida.hpp"
#include "solver/search_pool.hpp"

namespace tx {

class SearchThread {
public:
    explicit SearchThread(std::unique_ptr<IDA> ida) : ida_(std::move(ida)) {}
    ~SearchThread();  // asks the search to stop and waits for it
    SearchThread(const SearchThread&) = delete;
    SearchThread& operator=(const SearchThread&) = delete;

    IDA& ida() { return *ida_; }
    const IDA& ida() const { return *ida_; }
    // Starts the search; onEnd runs on the main thread through events after it has ended.
    void start(Events& events, std::function<void()> onEnd);
    void requestStop();
    bool finished() const { return finished_.load(); }
    // Waits until the search has ended (at once when it never started).
    void join();

private:
    std::unique_ptr<IDA> ida_;
    std::shared_ptr<SearchPool::Task> task_;
    std::atomic<bool> finished_{false};
};

// Lowers the calling thread's scheduling priority: searches run below the user interface.
void lowerThreadPriority();
// The desktop program runs its searches in the idle scheduling class, so that hundreds of
// running searches still leave the window its share of the processor; elsewhere the lowest
// nice value is used, which cannot starve a search behind other busy processes.
void useIdleSchedulingForSearches(bool idle);

}  // namespace tx
