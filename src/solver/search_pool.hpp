#pragma once
// The threads every search runs on. A search is handed to a waiting thread of the pool, or
// to a new one; when the search ends its thread waits for the next search. At most
// maxIdle() threads wait; a thread that ends a search with that many already waiting
// leaves and is joined, so however many searches ran, the process keeps only the threads
// of the searches running now plus a few waiting ones. At most maxThreads() threads run
// searches; a search started beyond that waits in line for a thread, unless it is asked to
// stop, which gives it a thread at once (it ends right away).
//
// Threads are never made or kept per search object, so nothing is left behind by searches
// that finished and were never restarted.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tx {

class SearchPool {
public:
    static constexpr int kMaxThreads = 1024;
    static constexpr int kMaxIdle = 8;

    // The one pool of the process. It lives until the process ends (its waiting threads end
    // with the process), so no search can outlive it.
    static SearchPool& instance();

    class Task;
    // Runs body on a pool thread. The returned task is waited for with wait().
    std::shared_ptr<Task> run(std::function<void()> body);
    // A task that has not got a thread yet gets one now (a stopped search must end soon,
    // also when every thread is busy).
    void expedite(const std::shared_ptr<Task>& task);
    // Blocks until the task's body has returned.
    void wait(const std::shared_ptr<Task>& task);

    void setLimits(int maxThreads, int maxIdle);
    int maxThreads() const;
    int maxIdle() const;
    int threads() const;  // threads of the pool, busy or waiting
    int idle() const;     // threads waiting for a search and not yet handed one
    std::size_t queued() const;

    SearchPool() = default;
    SearchPool(const SearchPool&) = delete;
    SearchPool& operator=(const SearchPool&) = delete;

private:
    void work(std::list<std::thread>::iterator self, std::shared_ptr<Task> first);
    // Starts a thread for `first` (or for the queue when null); false when none could be made.
    bool spawn(std::unique_lock<std::mutex>& lock, std::shared_ptr<Task> first);
    void reap();  // joins threads that have left

    mutable std::mutex mutex_;
    std::condition_variable work_;  // a task was queued
    std::condition_variable done_;  // a task finished
    std::deque<std::shared_ptr<Task>> queue_;
    std::list<std::thread> threads_;
    std::vector<std::thread> left_;  // threads that have left their loop, to be joined
    int busy_ = 0;
    int idle_ = 0;
    int maxThreads_ = kMaxThreads;
    int maxIdle_ = kMaxIdle;
};

class SearchPool::Task {
public:
    explicit Task(std::function<void()> body) : body_(std::move(body)) {}

private:
    friend class SearchPool;
    enum class State { Queued, Running, Done };
    std::function<void()> body_;
    State state_ = State::Queued;
};

}  // namespace tx
