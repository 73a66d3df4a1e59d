#pragma once
// How fast one client address may open connections: a bucket per address holding at most
// `burst` connections, refilled at `perSecond`. A client that reconnects as fast as it can
// (to hold places, or to make the server read junk) is refused at the door, where a refusal
// costs an accept and a close; a client that keeps to the rate never notices.
#include <chrono>
#include <cstddef>
#include <string>
#include <unordered_map>

namespace tx::detail {

class ConnectionRate {
public:
    using Clock = std::chrono::steady_clock;

    void setLimits(int burst, int perSecond);
    // True when `address` may open one more connection at `now` (it takes one from its bucket).
    bool take(const std::string& address, Clock::time_point now);
    // The refusals of `address` since it was last logged; a refusal is worth a log line when
    // the last line for the address is a second old: then the count is returned and reset,
    // otherwise -1.
    long refusalToLog(const std::string& address, Clock::time_point now);

private:
    struct Bucket {
        double tokens = 0;
        Clock::time_point refilled;
        long unlogged = 0;
        Clock::time_point logged;
    };
    void forgetFullBuckets(Clock::time_point now);

    double burst_ = 256, perSecond_ = 64;
    std::unordered_map<std::string, Bucket> buckets_;
};

}  // namespace tx::detail
