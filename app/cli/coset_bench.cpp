// bench coset: runs the coset explorer on the solved cube's coset and on one random coset to
// a depth (default 15) and prints, per depth, the positions first reached there, the seconds
// it took and the positions per second, with the nodes searched.
#include "coset_bench.hpp"

#include <cstdio>

#include "cube/random.hpp"
#include "numbers.hpp"
#include "searches/coset_search.hpp"

namespace tx::cli {

namespace {

void benchOne(const char* name, const CubieCube& cube, const TableSet& tables, const CosetOptions& options) {
    QueueEvents events;
    std::string why;
    auto search = CosetSearch::create(cube, tables, events, options, {}, &why);
    if (!search) {
        std::printf("%s: %s\n", name, why.c_str());
        return;
    }
    std::printf("%s: coset %llu, %d symmetries, %d threads\n", name, (unsigned long long)search->cosetNumber(),
                __builtin_popcount(search->symmetryMask()), options.threads);
    bool ended = false;
    search->onDepth = [&](const CosetDepth& d) {
        std::printf("  depth %2d: %10llu positions  %9.2f s  %12.0f positions/s  %14llu nodes  %13llu leaves\n",
                    d.depth, (unsigned long long)d.count, d.seconds, d.seconds > 0 ? double(d.count) / d.seconds : 0.0,
                    (unsigned long long)d.nodes, (unsigned long long)d.leaves);
        std::fflush(stdout);
    };
    search->onEnd = [&] { ended = true; };
    search->start();
    while (!ended) events.waitAndDrain(std::chrono::milliseconds(200));
    const CosetProgress p = search->progress();
    std::printf("  total: %llu positions reached, %llu left, %.2f s, %llu nodes\n", (unsigned long long)p.reached,
                (unsigned long long)search->positionsLeft(), p.seconds, (unsigned long long)p.nodes);
}

}  // namespace

std::optional<CosetOptions> cosetBenchOptions(Args args) {
    const auto depth = takeWholeOption(args, "bench", "--depth", 15, 1, kCosetMaxDepth);
    const auto threads = takeWholeOption(args, "bench", "--threads", 0, 0, 1024);
    if (!depth || !threads || hasUnknownOption("bench", args)) return std::nullopt;
    CosetOptions options;
    options.maxDepth = static_cast<int>(*depth);
    options.threads = static_cast<int>(*threads);
    if (options.threads == 0) options.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return options;
}

int benchCoset(const TableSet& tables, CosetOptions options) {
    options.lowPriority = false;
    benchOne("solved cube", CubieCube(), tables, options);
    MersenneTwister rng(20261208);
    benchOne("random cube", randomCubie(rng), tables, options);
    return kExitOk;
}

}  // namespace tx::cli
