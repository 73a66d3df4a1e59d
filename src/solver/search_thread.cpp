#include "solver/search_thread.hpp"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tx {

void lowerThreadPriority() {
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 5);
}

SearchThread::~SearchThread() {
    requestStop();
    join();
}

void SearchThread::join() {
    if (thread_.joinable()) thread_.join();
}

void SearchThread::start(Events& events, std::function<void()> onEnd) {
    finished_ = false;
    thread_ = std::jthread([this, &events, onEnd = std::move(onEnd)] {
        lowerThreadPriority();
        ida_->run();
        finished_ = true;
        events.post(onEnd);
    });
}

}  // namespace tx
