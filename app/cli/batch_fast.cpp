#include "batch_fast.hpp"

#include <cstdio>

#include "solve_fast.hpp"
#include "solver/fast_solver.hpp"

namespace tx::cli {

std::vector<std::shared_ptr<Entry>> solveEntriesFast(const CubeList& list, const std::vector<std::shared_ptr<Entry>>& todo,
                                                     const TableSet& tables, int target, int jobs) {
    std::vector<std::shared_ptr<Entry>> taken, left;
    for (const auto& e : todo) {
        const bool fits = !list.context().sliceMode && !e->cube.centersCount && e->cubieSubset == 0;
        (fits ? taken : left).push_back(e);
    }
    std::vector<FastResult> results(taken.size());
    std::size_t done = 0;
    forEachInParallel(
        taken.size(), jobs,
        [&](std::size_t i) {
            FastOptions o;
            o.maxLength = target;
            results[i] = solveFast(tables, taken[i]->cube.toCubieCube(), o);
        },
        [&](std::size_t i) {
            Entry& e = *taken[i];
            const FastResult& r = results[i];
            std::size_t number = 0;
            while (number < list.size() && list.entries()[number].get() != &e) ++number;
            if (r.length >= 0 && r.length < e.bestLength) {
                e.setSolverText(writeManeuver(r.moves.data(), r.length, 'f', false), r.length);
                e.bestLength = r.length;
            }
            const std::string shown = r.length >= 0 ? "(" + std::to_string(e.bestLength) + "f)"
                                      : r.error.empty() ? "no maneuver of at most " + std::to_string(target) + " moves"
                                                        : r.error;
            std::fprintf(stderr, "[%zu/%zu] cube %zu: %s\n", ++done, todo.size(), number + 1, shown.c_str());
        });
    return left;
}

}  // namespace tx::cli
