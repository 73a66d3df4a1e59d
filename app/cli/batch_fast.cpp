#include "batch_fast.hpp"

#include <cstdio>

#include "solve_fast.hpp"

namespace tx::cli {

namespace {

bool fastEngineTakes(const CubeList& list, const Entry& e) {
    return !list.context().sliceMode && !e.cube.centersCount && e.cubieSubset == 0;
}

// The maneuver becomes the entry's when it is shorter than what the entry holds.
void keepShorter(Entry& e, const FastResult& r) {
    if (r.length < 0 || r.length >= e.bestLength) return;
    e.setSolverText(writeManeuver(r.moves.data(), r.length, 'f', false), r.length);
    e.bestLength = r.length;
}

}  // namespace

std::vector<std::shared_ptr<Entry>> solveEntriesFast(const CubeList& list, const std::vector<std::shared_ptr<Entry>>& todo,
                                                     const TableSet& tables, int target, int jobs) {
    std::vector<std::shared_ptr<Entry>> taken, left;
    for (const auto& e : todo) {
        (fastEngineTakes(list, *e) ? taken : left).push_back(e);
    }
    std::vector<FastResult> results(taken.size());
    std::size_t done = 0;
    forEachInParallel(
        taken.size(), jobs,
        [&](std::size_t i) {
            results[i] = solveFastToTarget(tables, taken[i]->cube.toCubieCube(), target, 0);
        },
        [&](std::size_t i) {
            Entry& e = *taken[i];
            const FastResult& r = results[i];
            std::size_t number = 0;
            while (number < list.size() && list.entries()[number].get() != &e) ++number;
            keepShorter(e, r);
            const std::string shown = r.length >= 0 ? "(" + std::to_string(e.bestLength) + "f)"
                                      : r.error.empty() ? "no maneuver of at most " + std::to_string(target) + " moves"
                                                        : r.error;
            std::fprintf(stderr, "[%zu/%zu] cube %zu: %s\n", ++done, todo.size(), number + 1, shown.c_str());
        });
    return left;
}

std::function<void(const std::shared_ptr<Entry>&)> fastEntrySolver(CubeList& list, TableSet tables, int target) {
    return [&list, tables = std::move(tables), target](const std::shared_ptr<Entry>& e) {
        constexpr double kMaxSeconds = 10;
        if (fastEngineTakes(list, *e)) {
            const FastResult r = solveFastToTarget(tables, e->cube.toCubieCube(), target, kMaxSeconds);
            keepShorter(*e, r);
            if (r.length >= 0) return;
        }
        list.startEntrySearch(e, true);
    };
}

}  // namespace tx::cli
