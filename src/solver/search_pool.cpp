#include "solver/search_pool.hpp"

#include <algorithm>
#include <system_error>

namespace tx {

SearchPool& SearchPool::instance() {
    // Never destroyed: a search still running while the process exits keeps its thread.
    static SearchPool* pool = new SearchPool;
    return *pool;
}

std::shared_ptr<SearchPool::Task> SearchPool::run(std::function<void()> body) {
    auto task = std::make_shared<Task>(std::move(body));
    reap();
    std::unique_lock lock(mutex_);
    queue_.push_back(task);
    const int waiting = idle_ - static_cast<int>(queue_.size()) + 1;
    if (waiting > 0) {
        work_.notify_one();
        return task;
    }
    if (static_cast<int>(threads_.size()) < maxThreads_ && spawn(lock, nullptr)) return task;
    if (threads_.empty()) {
        queue_.pop_back();
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                                "no thread for a search");
    }
    return task;  // waits for a thread to become free
}

void SearchPool::expedite(const std::shared_ptr<Task>& task) {
    std::unique_lock lock(mutex_);
    if (task->state_ != Task::State::Queued) return;
    const auto at = std::find(queue_.begin(), queue_.end(), task);
    if (at == queue_.end()) return;
    if (idle_ > 0) {
        // A waiting thread takes the queue's head; putting the task first makes it this one.
        queue_.erase(at);
        queue_.push_front(task);
        work_.notify_one();
        return;
    }
    queue_.erase(at);
    if (!spawn(lock, task)) queue_.push_front(task);  // no thread to be had: first in line
}

void SearchPool::wait(const std::shared_ptr<Task>& task) {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return task->state_ == Task::State::Done; });
}

bool SearchPool::spawn(std::unique_lock<std::mutex>&, std::shared_ptr<Task> first) {
    try {
        threads_.emplace_back();
        auto self = std::prev(threads_.end());
        *self = std::thread([this, self, first = std::move(first)]() mutable { work(self, std::move(first)); });
        return true;
    } catch (const std::system_error&) {
        threads_.pop_back();
        return false;
    }
}

void SearchPool::work(std::list<std::thread>::iterator self, std::shared_ptr<Task> task) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (!task) {
            ++idle_;
            work_.wait(lock, [&] { return !queue_.empty() || idle_ > maxIdle_; });
            --idle_;
            if (queue_.empty()) break;  // more threads wait than are kept
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        task->state_ = Task::State::Running;
        ++busy_;
        lock.unlock();
        task->body_();
        task->body_ = nullptr;  // what the body holds goes before the waiters hear of it
        lock.lock();
        --busy_;
        task->state_ = Task::State::Done;
        task.reset();
        done_.notify_all();
        // A thread made beyond the limit for a stopped search does not stay.
        if (static_cast<int>(threads_.size()) > maxThreads_) break;
        if (queue_.empty() && idle_ >= maxIdle_) break;
    }
    // Leaves: the next caller of run() joins this thread.
    left_.push_back(std::move(*self));
    threads_.erase(self);
}

void SearchPool::reap() {
    std::vector<std::thread> left;
    {
        std::lock_guard lock(mutex_);
        left.swap(left_);
    }
    for (auto& t : left) t.join();
}

void SearchPool::setLimits(int maxThreads, int maxIdle) {
    std::lock_guard lock(mutex_);
    maxThreads_ = std::max(1, maxThreads);
    maxIdle_ = std::max(0, maxIdle);
    work_.notify_all();  // waiting threads beyond the new limit leave
}

int SearchPool::maxThreads() const {
    std::lock_guard lock(mutex_);
    return maxThreads_;
}

int SearchPool::maxIdle() const {
    std::lock_guard lock(mutex_);
    return maxIdle_;
}

int SearchPool::threads() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(threads_.size());
}

// A waiting thread that a queued search is already handed to is no longer idle: it counts as
// busy from the moment the search is queued, not from when the thread wakes up.
int SearchPool::idle() const {
    std::lock_guard lock(mutex_);
    return std::max(0, idle_ - static_cast<int>(queue_.size()));
}

std::size_t SearchPool::queued() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

}  // namespace tx
