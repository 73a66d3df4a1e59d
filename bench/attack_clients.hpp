#pragma once
// The clients of server_attack: a good client that checks its answer, and the attackers.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace tx::attack {

using Clock = std::chrono::steady_clock;

// Counts of a kind of request: answered correctly, answered wrongly, no answer; latencies of
// the correct ones.
struct Tally {
    std::atomic<std::size_t> good{0}, wrong{0}, failed{0};
    void addLatency(double ms);
    double percentile(double p);

private:
    std::mutex mutex_;
    std::vector<double> latencies_;
};

// Counts of outcomes by name ("refused", "closed without answer", ...).
class Outcomes {
public:
    void add(const std::string& outcome);
    std::string text();

private:
    std::mutex mutex_;
    std::map<std::string, std::size_t> counts_;
};

// A connection to 127.0.0.1:port from local address `from`; -1 when it failed.
int connectFrom(int port, const char* from);
// Sends the request (all at once, or one byte per `pause` when given) and reads until the
// server closes or `timeout` passes; false when no answer came in time or the send failed.
bool exchange(int fd, const std::string& request, std::string& reply, std::chrono::milliseconds timeout,
              std::chrono::milliseconds pause = std::chrono::milliseconds(0));

// One random cube as a facelet request; its answer must solve the cube.
void goodRequest(int port, const char* from, std::mt19937& rng, Tally& tally,
                 std::chrono::milliseconds pause = std::chrono::milliseconds(0));

// The working folder served by the server, with a file outside it the traversals aim at.
struct Folders {
    std::filesystem::path work, outside;
    std::string facesContent, secret;
};
Folders makeFolders(const std::filesystem::path& root, const std::filesystem::path& work);

// Every attacker on a thread of its own, from start() to stop().
class Attacks {
public:
    // `which`: the attacks to run, by name ("idle,big,garbage,split,traverse,burst,vanish").
    Attacks(int port, Folders folders, int idle, int burst, std::string which);
    ~Attacks();
    void start();
    void stop();
    // Prints each attack's outcome; false when one broke a promise (a wrong answer, a file
    // from outside the folder, the legitimate file wrong).
    bool report();

private:
    void idleClients();
    void bigRequests();
    void garbage();
    void splitRequests(int index);
    void traversals();
    void bursts();
    void vanishing();
    bool running() const { return !stopping_; }
    bool chosen(const std::string& name) const;

    int port_;
    Folders folders_;
    int idle_, burst_;
    std::string which_;
    std::atomic<bool> stopping_{false};
    std::vector<std::thread> threads_;

    std::atomic<std::size_t> idleOpened_{0}, idleDropped_{0}, idleConnectFailed_{0};
    std::atomic<long> idleHeld_{0};
    Outcomes big_, garbage_, vanish_, traversalOutcomes_;
    Tally split_, burstTally_;
    std::atomic<std::size_t> waves_{0}, traversalLeaks_{0}, facesWrong_{0}, facesShort_{0}, facesRight_{0};
    std::atomic<long long> slowestWaveMs_{0};
};

}  // namespace tx::attack
