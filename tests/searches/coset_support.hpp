#pragma once
// Running coset searches to their end in tests, and the subgroup H' seen through the cube model.
#include <chrono>
#include <memory>

#include "cube/facelet_cube.hpp"
#include "cube/notation.hpp"
#include "platform/events.hpp"
#include "searches/coset_search.hpp"
#include "support/test_tables.hpp"

namespace tx::testing {

// Twist, flip, slice and D-corner positions of the solved cube.
inline bool inSubgroup(const CubieCube& c) {
    return c.twist() == 0 && c.flip() == 0 && c.slice() == 0 && c.dCornerPos() == 0;
}

// The cube a maneuver makes from the solved cube.
inline CubieCube cubeOf(const char* maneuver) {
    FaceletCube f;
    applyManeuverField(f, maneuver);
    return f.toCubieCube();
}

// The phase-1 table alone as the bound: the small depths need no huge table.
inline CosetOptions weakBound(int maxDepth, int threads = 2) {
    CosetOptions o;
    o.hugeBound = false;
    o.maxDepth = maxDepth;
    o.threads = threads;
    o.lowPriority = false;  // a busy machine would otherwise starve the tests
    return o;
}

struct CosetRun {
    std::unique_ptr<CosetSearch> search;
    std::array<std::uint64_t, kCosetTotals> totals{};
    bool ended = false;
};

// Creates the search on `tables`, runs it to its end and keeps it for inspection.
inline CosetRun runCoset(const CubieCube& cube, const CosetOptions& options, QueueEvents& events,
                         const TableSet& tables = loadTestTables()) {
    CosetRun run;
    std::string why;
    run.search = CosetSearch::create(cube, tables, events, options, {}, &why);
    if (!run.search) return run;
    run.search->onEnd = [&run] { run.ended = true; };
    run.search->start();
    events.runUntil([&] { return run.ended; }, std::chrono::minutes(10));
    run.search->onEnd = nullptr;
    run.totals = run.search->depthTotals();
    return run;
}

inline std::array<std::uint64_t, kCosetTotals> cosetTotals(const CubieCube& cube, const CosetOptions& options) {
    QueueEvents events;
    return runCoset(cube, options, events).totals;
}

}  // namespace tx::testing
