#pragma once
// Autorun: a timer works through the cube list and starts one search after another, the
// optimal search or the two-phase search, while the process has fewer threads than allowed.
// The window owns the timer and calls step() on every tick; the two modes exclude each other.
#include <array>
#include <functional>
#include <string>

#include "platform/process_threads.hpp"

namespace tx {

class CubeList;

// The threads of the process at work: every thread but the search threads waiting in the pool
// for their next search; -1 when the count cannot be read.
int busyThreadCount();

enum class AutorunMode { Off, Optimal, TwoPhase };

inline constexpr int kOptimalAutorunInterval = 5000;  // milliseconds; two-phase uses "autoTime"
inline constexpr int kDefaultAutorunThreads = 8;
inline constexpr std::array<int, 6> kAutorunThreadChoices = {1, 2, 4, 8, 16, 32};
inline constexpr const char* kAutorunLabel = "Autorun Cube: ";

class Autorun {
public:
    explicit Autorun(CubeList& list) : list_(list) {}

    // The thread count of the process (waiting pool threads left out); tests put in their own.
    std::function<int()> threadCount = busyThreadCount;
    // Steps start nothing while the process has more than this many threads besides its first.
    int maxThreads = kDefaultAutorunThreads;

    AutorunMode mode() const { return mode_; }
    bool on() const { return mode_ != AutorunMode::Off; }
    // Index of the entry started last (the timer's tag).
    int position() const { return position_; }

    // Switches autorun on from the first selected entry and runs one step at once; refused
    // (false) while the other mode is on.
    bool switchOn(AutorunMode mode);
    // Running searches go on.
    void switchOff();
    // On, and the process has room for another search thread.
    bool readyToStart() const;
    // One timer step: starts at most one search; answers the index of the entry started, or -1.
    int step();
    // "Autorun Cube: " and the 1-based number of the entry started last (none yet: no number).
    std::string labelText() const;

private:
    int firstCandidate() const;
    bool qualifies(int index) const;
    bool start(int index);

    CubeList& list_;
    AutorunMode mode_ = AutorunMode::Off;
    int position_ = 0;
    int started_ = -1;  // index of the entry started last since switching on
};

}  // namespace tx
