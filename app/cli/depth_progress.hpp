#pragma once
// solve --optimal --log: during a long depth, every few seconds, the nodes the depth has
// counted so far and an estimate of its end, from the ratio of the two depths before it.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "solver/ida.hpp"

namespace tx::cli {

struct DepthEstimate {
    std::uint64_t expectedNodes = 0;  // of the whole depth
    double secondsLeft = 0;           // at the rate of the depth so far
};

// The estimate for a depth that has counted soFar nodes in `seconds`, after depths of
// `last` and `beforeLast` nodes; none without the two depths or without a rate yet.
std::optional<DepthEstimate> estimateDepth(std::uint64_t beforeLast, std::uint64_t last, std::uint64_t soFar,
                                           double seconds);

class DepthProgressLog {
public:
    using Clock = std::chrono::steady_clock;
    explicit DepthProgressLog(std::chrono::seconds every = std::chrono::seconds(5)) : every_(every) {}
    // Looks at the search of the cube of input line `line`; the line to log when one is due.
    std::optional<std::string> poll(std::size_t line, const IDA& search, Clock::time_point now = Clock::now());
    void forget(std::size_t line) { seen_.erase(line); }

private:
    struct Seen {
        int depth = -1;
        Clock::time_point depthStart, lastLine;
    };
    std::chrono::seconds every_;
    std::unordered_map<std::size_t, Seen> seen_;
};

}  // namespace tx::cli
