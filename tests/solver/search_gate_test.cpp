#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "solver/search_gate.hpp"

namespace tx {
namespace {

using namespace std::chrono_literals;

class SearchGateTest : public ::testing::Test {
protected:
    void SetUp() override { SearchGate::instance().setSlots(1); }
    void TearDown() override { SearchGate::instance().setSlots(static_cast<int>(std::max(1u, std::thread::hardware_concurrency()))); }
};

TEST_F(SearchGateTest, OnlyAsManyComputeAsThereAreSlots) {
    SearchGate& gate = SearchGate::instance();
    std::atomic<bool> stopA{false}, stopB{false};
    std::atomic<int> inside{0}, most{0};
    auto body = [&](std::atomic<bool>& stop) {
        gate.enter(stop);
        const int now = ++inside;
        most = std::max(most.load(), now);
        std::this_thread::sleep_for(30ms);
        --inside;
        gate.leave();
    };
    std::thread a([&] { body(stopA); });
    std::thread b([&] { body(stopB); });
    a.join();
    b.join();
    EXPECT_EQ(most.load(), 1);
}

TEST_F(SearchGateTest, TurnsPassToAWaitingSearch) {
    // a holds the only slot and computes, calling takeTurn as the searches do, until b has run.
    // b can only run while a still computes if a's turn passes to it: without turns, a would
    // compute until its deadline and b would run only after a left.
    SearchGate& gate = SearchGate::instance();
    std::atomic<bool> stopA{false}, stopB{false};
    std::atomic<bool> aInside{false}, bRan{false};
    bool bRanWhileAComputed = false;
    std::thread a([&] {
        gate.enter(stopA);
        aInside = true;
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (!bRan && std::chrono::steady_clock::now() < deadline) gate.takeTurn(stopA);
        bRanWhileAComputed = bRan.load();
        gate.leave();
    });
    while (!aInside) std::this_thread::sleep_for(1ms);
    std::thread b([&] {
        gate.enter(stopB);  // waits: a holds the only slot
        bRan = true;
        gate.leave();
    });
    b.join();
    a.join();
    EXPECT_TRUE(bRanWhileAComputed);
}

TEST_F(SearchGateTest, AStopReleasesAWaitingSearch) {
    SearchGate& gate = SearchGate::instance();
    std::atomic<bool> stopA{false}, stopB{false};
    gate.enter(stopA);  // this thread holds the only slot
    std::atomic<bool> released{false};
    std::thread b([&] {
        gate.enter(stopB);
        released = true;
        gate.leave();
    });
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(released.load());
    stopB = true;
    gate.wakeAll();
    b.join();
    EXPECT_TRUE(released.load());
    gate.leave();
    // The abandoned place in the queue does not block the next search.
    std::atomic<bool> stopC{false};
    std::thread c([&] {
        gate.enter(stopC);
        gate.leave();
    });
    c.join();
}

}  // namespace
}  // namespace tx
