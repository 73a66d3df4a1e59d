#include "solver/solve_sync.hpp"

#include <memory>

#include "cube/cube_input.hpp"
#include "solver/ida.hpp"

namespace tx {

namespace {

// Why no search can run: a cube that cannot be solved, or tables that lack a part.
std::string refusal(const TableSet& tables, const CubieCube& cube, bool huge, bool sliceMode) {
    if (const auto problem = cubieProblem(cube)) return "the cube cannot be solved: " + *problem;
    return missingTables(tables, cube.centersCount, huge && !cube.centersCount, sliceMode);
}

SyncResult resultOf(const IDA& ida) {
    SyncResult r;
    r.length = ida.result;
    r.nodes = ida.totalNodes;
    if (ida.result >= 0) r.moves = ida.maneuver();
    for (int k = 0; k < 3; ++k) r.startDistance[k] = ida.startDistance[k];
    return r;
}
}  // namespace

SyncResult solveTwoPhase(const TableSet& tables, const CubieCube& cube, int target, bool sliceMode) {
    SyncResult failed;
    failed.error = refusal(tables, cube, false, sliceMode);
    if (!failed.error.empty()) return failed;
    auto ida = std::make_unique<IDA>(tables, CoordCube(*tables.coords, cube), false);
    ida->maxLen = 30;
    ida->stopAt = target;
    ida->sliceMode = sliceMode;
    int best = ida->run();
    SyncResult result = resultOf(*ida);
    while (best > target) {
        auto next = std::make_unique<IDA>(*ida);  // continues the search with a tighter bound
        next->maxLen = best - 1;
        next->stopAt = target;
        const int r = next->run();
        ida = std::move(next);
        if (r < 0) break;
        best = r;
        result = resultOf(*ida);
    }
    result.nodes = ida->totalNodes;
    return result;
}

SyncResult solveOptimal(const TableSet& tables, const CubieCube& cube, bool sliceMode, bool huge, int threads) {
    SyncResult failed;
    failed.error = refusal(tables, cube, huge, sliceMode);
    if (!failed.error.empty()) return failed;
    IDA ida(tables, CoordCube(*tables.coords, cube), true, huge);
    ida.optimalMode = true;
    ida.hugeMode = huge && !ida.centerMode;
    ida.sliceMode = sliceMode;
    ida.threads = threads;
    ida.run();
    SyncResult r = resultOf(ida);
    for (int d = 0; d <= ida.depthIndex && d < kLevels; ++d) r.depthNodes.push_back(ida.depthNodes[d]);
    return r;
}

}  // namespace tx
