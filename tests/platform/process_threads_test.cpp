// The thread count of the running process, which autorun compares with its limit.
#include <gtest/gtest.h>

#include <latch>
#include <thread>
#include <vector>

#include "platform/process_threads.hpp"

namespace tx {
namespace {

TEST(ProcessThreads, CountsEveryThreadOfTheProcess) {
    const int before = processThreadCount();
    ASSERT_GT(before, 0);
    std::latch started(3), release(1);
    {
        std::vector<std::jthread> threads;
        for (int i = 0; i < 3; ++i)
            threads.emplace_back([&] {
                started.count_down();
                release.wait();
            });
        started.wait();
        EXPECT_EQ(processThreadCount(), before + 3);
        release.count_down();
    }
    EXPECT_EQ(processThreadCount(), before);
}

TEST(ProcessThreads, ReadsTheThreadsLine) {
    EXPECT_EQ(threadsFromStatus("Name:\tx\nThreads:\t17\nSigQ:\t0/1\n"), 17);
    EXPECT_EQ(threadsFromStatus("Threads: 3"), 3);
    EXPECT_EQ(threadsFromStatus("Name:\tThreads:\nTgid: 4\n"), -1);
    EXPECT_EQ(threadsFromStatus("Threads:\tmany\n"), -1);
    EXPECT_EQ(threadsFromStatus(""), -1);
}

}  // namespace
}  // namespace tx
