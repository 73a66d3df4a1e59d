#include "server/connection_rate.hpp"

#include <algorithm>

namespace tx::detail {
namespace {

// Buckets kept before the full ones (addresses that have been quiet) are dropped.
constexpr std::size_t kKeptBuckets = 4096;

}  // namespace

void ConnectionRate::setLimits(int burst, int perSecond) {
    burst_ = std::max(1, burst);
    perSecond_ = std::max(1, perSecond);
    buckets_.clear();
}

bool ConnectionRate::take(const std::string& address, Clock::time_point now) {
    if (buckets_.size() >= kKeptBuckets) forgetFullBuckets(now);
    if (buckets_.size() >= 4 * kKeptBuckets) buckets_.clear();  // a flood from everywhere: start afresh
    auto [it, added] = buckets_.try_emplace(address);
    Bucket& b = it->second;
    if (added) {
        b.tokens = burst_;
    } else {
        const double seconds = std::chrono::duration<double>(now - b.refilled).count();
        b.tokens = std::min(burst_, b.tokens + seconds * perSecond_);
    }
    b.refilled = now;
    if (b.tokens < 1) {
        ++b.unlogged;
        return false;
    }
    b.tokens -= 1;
    return true;
}

long ConnectionRate::refusalToLog(const std::string& address, Clock::time_point now) {
    const auto it = buckets_.find(address);
    if (it == buckets_.end() || it->second.unlogged == 0) return -1;
    Bucket& b = it->second;
    if (b.logged != Clock::time_point{} && now - b.logged < std::chrono::seconds(1)) return -1;
    b.logged = now;
    const long n = b.unlogged;
    b.unlogged = 0;
    return n;
}

void ConnectionRate::forgetFullBuckets(Clock::time_point now) {
    std::erase_if(buckets_, [&](const auto& entry) {
        const Bucket& b = entry.second;
        return b.unlogged == 0 && b.tokens + std::chrono::duration<double>(now - b.refilled).count() * perSecond_ >= burst_;
    });
}

}  // namespace tx::detail
