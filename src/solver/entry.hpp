#pragma once
// A cube the user keeps: the facelet cube extended by its maneuvers, name, flags and search
// drivers. The cube list owns entries through shared pointers, so a search or a waiting web
// client can hold on to its entry even while the list changes.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "cube/facelet_cube.hpp"

namespace tx {

class TripleSearch;
class OptimalSearch;

inline constexpr const char* kStatusNotRunningNew = "Status: Not Running";
inline constexpr const char* kStatusNotRunning = "Status: Not running";

struct Entry {
    FaceletCube cube;
    std::string solverText;
    std::string optimalText = kStatusNotRunningNew;
    std::string patternName;
    std::string optimalLog;
    bool showSolver = true;
    bool useOptimal = false;
    int cubieSubset = 0;  // 0 whole cube, 1 corners only, 2 edges only
    bool selected = false;
    bool searchRunning = false;
    int bestLength = 31;
    int optimalLength = 30;
    double startTime = 0, pauseTime = 0, pausedTotal = 0;  // days
    std::array<std::uint8_t, kFacelets> searchCopy{};
    std::shared_ptr<TripleSearch> twoPhase;
    std::shared_ptr<OptimalSearch> optimal;
    bool removed = false;  // taken out of the list; late messages for it are dropped

    Entry();
    ~Entry();
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;

    // The entry's search-independent fields as a new entry (no drivers, not running).
    std::shared_ptr<Entry> copyData() const;
    bool hasOptimalManeuver() const;  // optimalText holds a proven maneuver ("*)")
    static bool isStatus(const std::string& text) { return text.find("Status") != std::string::npos; }
};

// Days since the epoch (the date-time values of entries).
double nowDays();

}  // namespace tx
