#pragma once
// What the search drivers need from their surroundings: the main-thread queue, the tables and
// the current options. The cube list and the command line fill it.
#include <algorithm>
#include <thread>

#include "platform/events.hpp"
#include "tables/tables.hpp"

namespace tx {

struct SearchContext {
    Events* events = nullptr;
    const TableSource* tables = nullptr;  // a new search takes the set loaded now and keeps it
    int stopAt = 20;             // the two-phase search stops improving at this length
    bool triple = false;         // two-phase search on three orientations
    // A new two-phase search first asks the fast engine for a maneuver of at most stopAt moves.
    bool fastSearch = false;
    bool sliceMode = false;      // slice moves allowed
    bool hugeMode = false;       // optimal searches read the huge table
    bool freeThreadsOnTerminate = false;
    int optimalThreads = 1;      // threads one optimal search shares its long depths among
    // With this on, an optimal search shares its depths among optimalThreads only while no
    // other search runs: each long depth starts on one thread beside another search, and a
    // shared depth's helper threads leave once another search starts.
    bool shareOnlyWhenAlone = false;
    // The desktop program's way: an optimal search that runs alone uses every core.
    void shareAllCoresWhenAlone() {
        optimalThreads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        shareOnlyWhenAlone = true;
    }
    char metricLetter() const { return sliceMode ? 's' : 'f'; }
};

}  // namespace tx
