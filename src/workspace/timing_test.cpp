#include "workspace/timing_test.hpp"

#include "cube/random.hpp"
#include "workspace/cube_list.hpp"

namespace tx {

TimingTest::TimingTest(CubeList& list, MersenneTwister& rng, std::size_t entries)
    : list_(list), rng_(rng), entries_(entries) {}

// The maneuver has arrived: a text longer than a bare length mark.
bool TimingTest::lastEntrySolved() const {
    return list_.empty() || list_.entries().back()->solverText.size() > 3;
}

std::optional<std::string> TimingTest::tick(Clock::time_point now) {
    if (list_.size() >= entries_) return resultText();
    if (!lastEntrySolved()) return std::nullopt;
    if (previous_) {
        const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - *previous_).count();
        if (ms > maxMs_) {
            maxMs_ = ms;
            maxAt_ = list_.size();
        }
    }
    previous_ = now;
    FaceletCube cube;
    randomCube(cube, rng_);
    AddRequest how;
    how.showSolver = true;
    how.centersCount = list_.options.fixCenterFacelets;
    how.startSearch = true;
    const bool isoCheck = list_.isoCheck;
    list_.isoCheck = false;  // a random cube is added whatever the list holds
    list_.addCube(cube, how);
    list_.isoCheck = isoCheck;
    if (list_.size() >= entries_) return resultText();
    return std::nullopt;
}

std::string TimingTest::resultText() const {
    return "MaxTime(ms): " + std::to_string(maxMs_) + " Nr.: " + std::to_string(maxAt_);
}

}  // namespace tx
