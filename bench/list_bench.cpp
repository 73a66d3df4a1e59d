// The cube list at scale: saving and loading 100,000 entries, and adding 10,000 random cubes
// with the isomorphism test on.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "cube/notation.hpp"
#include "cube/random.hpp"
#include "platform/events.hpp"
#include "platform/prompts.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/workspace_file.hpp"

namespace {

namespace fs = std::filesystem;
using namespace tx;

fs::path benchFile() { return fs::temp_directory_path() / ("tx-list-bench-" + std::to_string(::getpid()) + ".txt"); }

// A list of n entries, each a cube with a 20-move solving maneuver and a name.
void fill(CubeList& list, int n) {
    MersenneTwister rng(2024);
    list.isoCheck = false;
    for (int i = 0; i < n; ++i) {
        Move moves[20];
        int prev = -1;
        for (Move& m : moves) {
            int axis;
            do axis = int(rng.below(6)); while (axis == prev);
            prev = axis;
            m = {std::uint8_t(axis), std::uint8_t(1 + rng.below(3))};
        }
        Entry e;
        e.setSolverText(writeManeuver(moves, 20, 'f', false), 20);
        applyManeuver(e.cube, inverseManeuver(e.solverText));
        e.bestLength = 20;
        e.patternName = "cube " + std::to_string(i);
        list.addCube(e, {});
    }
}

void BM_SaveWorkspace(benchmark::State& state) {
    QueueEvents events;
    AutoPrompts prompts;
    CubeList list(events, prompts);
    fill(list, int(state.range(0)));
    const fs::path file = benchFile();
    for (auto _ : state) {
        const SaveResult r = saveWorkspace(list, file);
        if (!r.ok) state.SkipWithError("save failed");
    }
    state.counters["bytes"] = double(fs::file_size(file));
    fs::remove(file);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveWorkspace)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadWorkspace(benchmark::State& state) {
    const fs::path file = benchFile();
    {
        QueueEvents events;
        AutoPrompts prompts;
        CubeList list(events, prompts);
        fill(list, int(state.range(0)));
        saveWorkspace(list, file);
    }
    for (auto _ : state) {
        QueueEvents events;
        AutoPrompts prompts;
        CubeList list(events, prompts);  // IgnoreIsoOnLoad off: no isomorphism test
        const LoadResult r = loadWorkspace(list, file);
        if (r.added != state.range(0)) state.SkipWithError("load lost entries");
        state.PauseTiming();  // freeing the list is not loading
        list.shutdown();
        state.ResumeTiming();
    }
    fs::remove(file);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadWorkspace)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AddIsoChecked(benchmark::State& state) {
    MersenneTwister rng(77);
    std::vector<FaceletCube> cubes(std::size_t(state.range(0)));
    for (auto& c : cubes) randomCube(c, rng);
    for (auto _ : state) {
        QueueEvents events;
        AutoPrompts prompts;
        CubeList list(events, prompts);
        int added = 0;
        for (const auto& c : cubes) added += list.addCube(c, {}) != nullptr;  // non-interactive, isoCheck on
        benchmark::DoNotOptimize(added);
        state.PauseTiming();
        list.shutdown();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AddIsoChecked)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
