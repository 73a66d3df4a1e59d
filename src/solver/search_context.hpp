#pragma once
// What the search drivers need from their surroundings: the main-thread queue, the current
// options and what to do when an entry changes. The cube list and the command line fill it.
#include <functional>

#include "platform/events.hpp"
#include "tables/tables.hpp"

namespace tx {

struct Entry;

struct SearchContext {
    Events* events = nullptr;
    const TableSource* tables = nullptr;  // a new search takes the set loaded now and keeps it
    int stopAt = 20;             // the two-phase search stops improving at this length
    bool triple = false;         // two-phase search on three orientations
    bool sliceMode = false;      // slice moves allowed
    bool hugeMode = false;       // optimal searches read the huge table
    bool freeThreadsOnTerminate = false;
    char metricLetter() const { return sliceMode ? 's' : 'f'; }

    // Main thread: an entry's texts changed (repaint), the workspace changed, a search ended.
    std::function<void(Entry&)> onEntryChanged;
    std::function<void()> onModified;
    std::function<void(Entry&)> onSearchEnded;
};

}  // namespace tx
