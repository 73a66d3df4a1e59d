#pragma once
// The timing test: on every tick of the window's blink timer whose last entry has its
// maneuver, a random cube is added and solved, and the time between two such ticks is
// measured. The longest time and the list size when it occurred tell how the list's
// handling (adding, painting, searching) slows down as the list grows; at the size limit
// the test ends with "MaxTime(ms): " + longest + " Nr.: " + that size.
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace tx {

class CubeList;
class MersenneTwister;

class TimingTest {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kEntries = 10000;

    TimingTest(CubeList& list, MersenneTwister& rng, std::size_t entries = kEntries);

    // One tick at time `now`. Answers the closing text once the list holds `entries` cubes
    // (the caller stops its timer and shows it), otherwise nothing.
    std::optional<std::string> tick(Clock::time_point now);
    // The text for the longest time so far.
    std::string resultText() const;

    long long maxMs() const { return maxMs_; }
    std::size_t maxAt() const { return maxAt_; }

private:
    bool lastEntrySolved() const;

    CubeList& list_;
    MersenneTwister& rng_;
    std::size_t entries_;
    std::optional<Clock::time_point> previous_;
    long long maxMs_ = 0;
    std::size_t maxAt_ = 0;
};

}  // namespace tx
