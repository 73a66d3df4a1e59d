#include "depth_progress.hpp"

#include <cstdio>

namespace tx::cli {

std::optional<DepthEstimate> estimateDepth(std::uint64_t beforeLast, std::uint64_t last, std::uint64_t soFar,
                                           double seconds) {
    if (beforeLast == 0 || last == 0 || soFar == 0 || seconds <= 0) return std::nullopt;
    DepthEstimate e;
    e.expectedNodes = static_cast<std::uint64_t>(static_cast<double>(last) * last / beforeLast);
    const double rate = soFar / seconds;
    e.secondsLeft = e.expectedNodes > soFar ? (e.expectedNodes - soFar) / rate : 0;
    return e;
}

std::optional<std::string> DepthProgressLog::poll(std::size_t line, const IDA& search, Clock::time_point now) {
    const int depth = search.live.depth.load(std::memory_order_relaxed);
    Seen& seen = seen_[line];
    if (depth != seen.depth) {  // a new depth: its clock starts now
        seen = {depth, now, now};
        return std::nullopt;
    }
    if (now - seen.lastLine < every_) return std::nullopt;
    seen.lastLine = now;
    auto endOf = [&](int d) { return d < 0 ? std::uint64_t(0) : search.live.depthEnd[d].load(std::memory_order_relaxed); };
    const std::uint64_t start = endOf(depth - 1);
    const std::uint64_t nodes = search.live.nodes.load(std::memory_order_relaxed);
    const std::uint64_t soFar = nodes > start ? nodes - start : 0;
    const double seconds = std::chrono::duration<double>(now - seen.depthStart).count();
    char text[200];
    int n = std::snprintf(text, sizeof text, "depth %2.2d: %.0f s so far, %llu nodes", depth + 1, seconds,
                          (unsigned long long)soFar);
    const auto estimate =
        depth >= 2 ? estimateDepth(endOf(depth - 2) - endOf(depth - 3), start - endOf(depth - 2), soFar, seconds)
                   : std::nullopt;
    if (estimate && n > 0 && n < static_cast<int>(sizeof text)) {
        if (estimate->secondsLeft > 0)
            std::snprintf(text + n, sizeof text - n, "; the depth ends in about %.0f s (about %llu nodes)",
                          estimate->secondsLeft, (unsigned long long)estimate->expectedNodes);
        else
            std::snprintf(text + n, sizeof text - n, "; beyond the estimate of %llu nodes",
                          (unsigned long long)estimate->expectedNodes);
    }
    return std::string(text);
}

}  // namespace tx::cli
