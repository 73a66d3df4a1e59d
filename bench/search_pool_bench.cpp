// Many short searches one after another, as a batch over a big file or a long-running server
// runs them: the threads, memory mappings and resident memory of the process must stay as
// they were after the first few thousand. Counters: peak threads, peak mappings, peak and
// final resident kB. Tables from TESSERIX_DATA or the usual data folder.
//   build/release/bench/search_pool_bench --benchmark_filter=Million
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/data_folder.hpp"
#include "platform/events.hpp"
#include "platform/progress.hpp"
#include "platform/prompts.hpp"
#include "solver/drivers.hpp"
#include "solver/search_pool.hpp"
#include "tables/loader.hpp"

namespace {

using namespace tx;

long statusValue(const std::string& name) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(name + ":", 0) == 0) return std::stol(line.substr(name.size() + 1));
    return -1;
}

long mappings() {
    std::ifstream in("/proc/self/maps");
    long n = 0;
    for (std::string line; std::getline(in, line);) ++n;
    return n;
}

const TableSource* tables() {
    static std::unique_ptr<FixedTables> loaded = [] {
        const char* env = std::getenv("TESSERIX_DATA");
        const DataFolder data = resolveDataFolder(env ? std::optional<std::string>(env) : std::nullopt);
        NullProgress progress;
        AutoPrompts prompts(Answer::No);
        TableLoader loader(data.path, progress, prompts);
        if (loader.startUp(false, false) != StartResult::Ready) return std::unique_ptr<FixedTables>();
        return std::make_unique<FixedTables>(loader.current());
    }();
    return loaded.get();
}

CubieCube scramble(std::mt19937& rng, int moves) {
    CubieCube c;
    for (int i = 0; i < moves; ++i) c.applyMove(int(rng() % 18));
    return c;
}

// state.range(0) searches of 1 to 3 random moves, eight at once, every tenth a triple search.
void BM_ShortSearches(benchmark::State& state) {
    if (!tables()) {
        state.SkipWithError("the standard tables are not in the data folder");
        return;
    }
    const int total = int(state.range(0));
    long peakThreads = 0, peakMappings = 0, peakResident = 0;
    for (auto _ : state) {
        QueueEvents events;
        SearchContext context;
        context.events = &events;
        context.tables = tables();
        context.stopAt = 21;
        std::mt19937 rng(2402);
        int ended = 0;
        std::vector<std::shared_ptr<TripleSearch>> running;
        for (int started = 0; started < total || !running.empty();) {
            while (int(running.size()) < 8 && started < total) {
                context.triple = started % 10 == 0;
                auto search = TripleSearch::create(scramble(rng, 1 + started % 3), 31, context, [&](const SearchReport& r) {
                    if (r.state == SearchState::Ended) ++ended;
                });
                search->start();
                running.push_back(std::move(search));
                if (++started % 500 == 0) {
                    peakThreads = std::max(peakThreads, statusValue("Threads"));
                    peakMappings = std::max(peakMappings, mappings());
                    peakResident = std::max(peakResident, statusValue("VmRSS"));
                }
            }
            events.waitAndDrain(std::chrono::milliseconds(5));
            std::erase_if(running, [](const auto& s) { return !s->threadsRunning(); });
        }
        events.drain();
        if (ended != total) state.SkipWithError("not every search ended");
    }
    state.counters["searches"] = double(total);
    state.counters["peak_threads"] = double(peakThreads);
    state.counters["peak_mappings"] = double(peakMappings);
    state.counters["peak_rss_kB"] = double(peakResident);
    state.counters["final_rss_kB"] = double(statusValue("VmRSS"));
    state.counters["pool_threads"] = double(SearchPool::instance().threads());
}
BENCHMARK(BM_ShortSearches)->Name("ShortSearches/Thousand")->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_ShortSearches)->Name("ShortSearches/Million")->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
