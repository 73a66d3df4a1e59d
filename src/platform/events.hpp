#pragma once
// Worker threads never touch the user interface or the cube list directly: they hand closures
// to the main thread through Events. The Qt implementation queues them into the event loop;
// QueueEvents below is a plain queue that tests and the command line drain themselves.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace tx {

// Identifiers of the program's own messages, kept for logs and tests.
enum MessageId : int {
    kMsgNextRun = 0x8457,        // a two-phase run ended above the target: start the next run
    kMsgOptimalProgress = 0x8458, // an optimal search began a depth or found a solution
    kMsgStartUp = 0x8459,        // build or load the tables
    kMsgCaptureDevice = 0x845A,  // select a capture device
    kMsgSamples = 0x845C,        // colour samples recorded
};

class Events {
public:
    virtual ~Events() = default;
    // Runs task on the main thread later; returns at once.
    virtual void post(std::function<void()> task) = 0;
    // Runs task on the main thread and waits until it has run.
    virtual void invoke(std::function<void()> task) = 0;
};

// A thread-safe queue drained by its owner thread (the "main" thread of a test or the CLI).
class QueueEvents : public Events {
public:
    QueueEvents() : owner_(std::this_thread::get_id()) {}

    void post(std::function<void()> task) override {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(task));
        }
        cv_.notify_all();
    }

    void invoke(std::function<void()> task) override {
        if (std::this_thread::get_id() == owner_) {
            task();
            return;
        }
        std::mutex doneMutex;
        std::condition_variable doneCv;
        bool done = false;
        post([&] {
            task();
            std::lock_guard lock(doneMutex);
            done = true;
            doneCv.notify_all();
        });
        std::unique_lock lock(doneMutex);
        doneCv.wait(lock, [&] { return done; });
    }

    // Runs every queued task (including tasks queued while draining); returns how many ran.
    int drain() {
        int count = 0;
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard lock(mutex_);
                if (queue_.empty()) return count;
                task = std::move(queue_.front());
                queue_.pop_front();
            }
            task();
            ++count;
        }
    }

    // Waits up to timeout for at least one task, then drains; returns how many ran.
    template <class Duration>
    int waitAndDrain(Duration timeout) {
        {
            std::unique_lock lock(mutex_);
            cv_.wait_for(lock, timeout, [&] { return !queue_.empty(); });
        }
        return drain();
    }

    // Drains until pred() holds or the timeout passes; returns pred().
    template <class Pred, class Duration>
    bool runUntil(Pred pred, Duration timeout) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!pred()) {
            if (std::chrono::steady_clock::now() >= deadline) return pred();
            waitAndDrain(std::chrono::milliseconds(5));
        }
        return true;
    }

    bool empty() const {
        std::lock_guard lock(mutex_);
        return queue_.empty();
    }

private:
    std::thread::id owner_;
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<std::function<void()>> queue_;
};

}  // namespace tx
