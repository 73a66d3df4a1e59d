#pragma once
// A cube the user keeps: the facelet cube extended by its maneuvers, name, flags and search
// drivers. The cube list owns entries through shared pointers, so a search or a waiting web
// client can hold on to its entry even while the list changes.
//
// The maneuver texts are what the list shows and saves; beside each text the entry keeps what
// it says as data (the length its mark states, whether the optimal text is a status, a
// maneuver or a proven one), so nothing reads its own texts back. The setters keep the two
// together.
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

// What optimalText holds.
enum class OptimalText { Status, Maneuver, Proven };

struct Entry {
    FaceletCube cube;
    std::string solverText;
    int solverMark = -1;  // the length solverText's mark states in this metric; -1: no such mark
    std::string optimalText = kStatusNotRunningNew;
    OptimalText optimalKind = OptimalText::Status;
    int optimalMark = -1;  // the length optimalText's mark states, when it holds a maneuver
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

    void setSolverText(std::string text, int mark);
    void setOptimalStatus(std::string status);
    void setOptimalManeuver(std::string text, int mark, bool proven);

    bool optimalIsStatus() const { return optimalKind == OptimalText::Status; }
    // optimalText holds a maneuver (proven or not).
    bool hasOptimalText() const { return !optimalIsStatus() && !optimalText.empty(); }
    // optimalText holds a proven maneuver (its mark ends in "*)").
    bool hasOptimalManeuver() const { return optimalKind == OptimalText::Proven; }

    // The entry's search-independent fields as a new entry (no drivers, not running).
    std::shared_ptr<Entry> copyData() const;
};

// Days since the epoch (the date-time values of entries).
double nowDays();

}  // namespace tx
