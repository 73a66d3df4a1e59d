// bench: fixed, seeded positions solved single-threaded; the node counts are a signature of
// the search and change only when the search changes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <thread>

#include "bench_fast.hpp"
#include "bench_optimal.hpp"
#include "bench_symmetry.hpp"
#include "command.hpp"
#include "coset_bench.hpp"
#include "bench_partial.hpp"
#include "json_output.hpp"
#include "numbers.hpp"
#include "output.hpp"
#include "cube/random.hpp"
#include "solver/drivers.hpp"
#include "solver/solve_sync.hpp"
#include "table_setup.hpp"

namespace tx::cli {
namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

struct Summary {
    double median, p90, max, total;
};

Summary summarize(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    double total = 0;
    for (double t : ms) total += t;
    std::size_t p90 = std::min(ms.size() - 1, (ms.size() * 9) / 10);
    return {ms[ms.size() / 2], ms[p90], ms.back(), total};
}

std::vector<CubieCube> benchCubes(int count) {
    MersenneTwister rng(20261207);
    std::vector<CubieCube> cubes;
    for (int i = 0; i < count; ++i) {
        CubieCube c = randomCubie(rng);
        c.setCenterOri(0);
        cubes.push_back(c);
    }
    return cubes;
}

// Triple search through the drivers, wall-clock: three orientations on their own threads.
double tripleMs(const TableSet& tables, const CubieCube& cube, int target) {
    QueueEvents events;
    const FixedTables source(tables);
    SearchContext context;
    context.events = &events;
    context.tables = &source;
    context.stopAt = target;
    context.triple = true;
    bool done = false;
    auto t0 = Clock::now();
    auto search = TripleSearch::create(cube, 31, context, [&](const SearchReport& r) {
        if (r.state == SearchState::Ended) done = true;
    });
    search->start();
    events.runUntil([&] { return done; }, std::chrono::minutes(10));
    double ms = msSince(t0);
    search.reset();
    return ms;
}

// --format json: the figures of one summary line as named fields.
nlohmann::json summaryRecord(const char* search, int target, int count, const Summary& s) {
    return {{"bench", "twophase"}, {"search", search},           {"target", target},
            {"cubes", count},      {"median_ms", s.median},      {"p90_ms", s.p90},
            {"max_ms", s.max},     {"total_s", s.total / 1000}};
}

int benchTwoPhase(const TableSet& tables, Args args, bool slice, bool json) {
    const auto countOption = takeWholeOption(args, "bench", "--count", 200, 1, 100000);
    if (!countOption) return kExitError;
    const int count = static_cast<int>(*countOption);
    const bool triple = !slice && !takeFlag(args, "--no-triple");
    std::uint64_t signature = 0;
    for (int target : {20, 21}) {
        std::vector<double> ms;
        std::uint64_t nodes = 0;
        int worst = 0;
        auto cubes = benchCubes(count);
        for (const auto& c : cubes) {
            auto t0 = Clock::now();
            SyncResult r = solveTwoPhase(tables, c, target, slice);
            ms.push_back(msSince(t0));
            nodes += r.nodes;
            worst = std::max(worst, r.length);
        }
        signature += nodes;
        Summary s = summarize(ms);
        if (json) {
            auto record = summaryRecord("one orientation", target, count, s);
            record["longest"] = worst;
            record["nodes"] = nodes;
            printJsonLine(record);
        } else {
            std::printf("two-phase target %d, %d cubes, one orientation, one thread: median %.2f ms, 90th percentile "
                        "%.2f ms, maximum %.2f ms, total %.2f s, longest %d, nodes %llu\n",
                        target, count, s.median, s.p90, s.max, s.total / 1000, worst, (unsigned long long)nodes);
        }
        if (triple && target == 20) {
            std::vector<double> tms;
            for (const auto& c : cubes) tms.push_back(tripleMs(tables, c, target));
            Summary t = summarize(tms);
            if (json)
                printJsonLine(summaryRecord("triple", target, count, t));
            else
                std::printf("two-phase target %d, %d cubes, triple search (three threads, wall clock): median %.2f ms, "
                            "90th percentile %.2f ms, maximum %.2f ms, total %.2f s\n",
                            target, count, t.median, t.p90, t.max, t.total / 1000);
        }
        if (!flushOutput()) return kExitError;
    }
    if (!slice && !json) printFastEngine(tables, benchCubes(count), false);  // the fast engine beside it
    if (json)
        printJsonLine({{"signature", signature}});
    else
        std::printf("signature %llu nodes\n", (unsigned long long)signature);
    return kExitOk;
}

int benchFast(const TableSet& tables, Args args) {
    const auto count = takeWholeOption(args, "bench", "--count", 200, 1, 100000);
    if (!count) return kExitError;
    printFastEngine(tables, benchCubes(static_cast<int>(*count)), true);
    return kExitOk;
}

int run(const Args& given) {
    Args args = given;
    TableOptions tables;
    tables.dataDir = takeOption(args, "--data-dir", "");
    tables.yes = takeFlag(args, "--yes");
    tables.huge = takeFlag(args, "--huge");
    tables.slice = takeFlag(args, "--slice");
    const auto format = takeFormat(args, "bench");
    if (!format) return kExitError;
    const bool json = *format == OutputFormat::Json;
    if (json && !args.empty() && args[0] != "twophase" && args[0] != "optimal") {
        std::fprintf(stderr, "tesserix-cli bench: --format json is for twophase and optimal\n");
        return kExitError;
    }
    if (!args.empty() && args[0] == "symmetry") return benchSymmetry(Args(args.begin() + 1, args.end()));
    if (args.empty() ||
        (args[0] != "twophase" && args[0] != "optimal" && args[0] != "partial" && args[0] != "fast" &&
         args[0] != "coset")) {
        std::fprintf(stderr,
                     "usage: tesserix-cli bench twophase [--count N] [--no-triple] | fast [--count N] | optimal [--count N] "
                     "[--random N] [--huge] [--threads T] | symmetry [--rows A-B] | partial [--count N] | coset [--depth N] [--threads T]\n");
        return kExitError;
    }
    std::string what = args[0];
    args.erase(args.begin());
    tables.huge = tables.huge || what == "coset";
    // The numbers are checked before a table is asked for.
    const auto coset = what == "coset" ? cosetBenchOptions(args) : std::nullopt;
    if (what == "coset" && (!coset || !mayLoadHugeTable(tables, "bench coset"))) return kExitError;
    const auto loaded = prepareTables(tables);
    if (!loaded) return kExitError;
    if (what == "fast") return benchFast(*loaded, args);
    if (what == "partial") return benchPartial(*loaded, args, tables.slice);
    if (what == "coset") return benchCoset(*loaded, *coset);
    return what == "twophase" ? benchTwoPhase(*loaded, args, tables.slice, json)
                              : benchOptimal(*loaded, args, tables.huge, json);
}

Register reg("bench", "benchmark the searches on fixed positions",
             "usage: tesserix-cli bench twophase [--count N] [--no-triple] [--slice] [--format text|json] [--data-dir DIR]\n"
             "       tesserix-cli bench fast [--count N] [--data-dir DIR]\n"
             "       tesserix-cli bench optimal [--count N] [--random N] [--huge] [--threads T] [--format text|json]\n"
             "                                  [--data-dir DIR]\n"
             "       tesserix-cli bench symmetry [--rows A-B]\n"
             "       tesserix-cli bench partial [--count N] [--slice] [--data-dir DIR]\n"
             "       tesserix-cli bench coset [--depth N] [--threads T] [--data-dir DIR]\n"
             "Solves fixed, seeded positions single-threaded and prints times per cube and the node count,\n"
             "which changes only when the search changes; the last line, \"signature N nodes\", sums them.\n"
             "twophase also times the triple search (three threads, wall clock) to 20 moves and the fast engine;\n"
             "fast runs only the fast engine (default for solve) and shows its tables. --count takes\n"
             "the first N cubes (twophase, default 200) or positions (optimal, 0 to 6, default all); --slice\n"
             "runs the two-phase search with slice moves (one orientation only). symmetry enumerates the\n"
             "cubes of the groups of rows A to B (default 0-17) of the group list, needing no tables, and\n"
             "prints count and time per group. partial searches partially defined cubes of each mode up to\n"
             "one depth beyond their first maneuvers. coset runs the coset explorer (huge table) on the\n"
             "solved cube's coset and a random one to --depth (default 15) and prints per depth the\n"
             "positions, seconds and positions per second. --format json (twophase, optimal): one JSON\n"
             "object per summary or position, and the signature last.\n"
             "optimal then solves --random N (0 to 5; default 5 with --huge, else 0) seeded random cubes and\n"
             "prints their own \"random cubes signature\" line; --threads T shares each long depth of a search\n"
             "among T threads (same maneuvers and node counts; default 1). Each position shows wall-clock and\n"
             "processor seconds (all threads) and nodes per second of each.\n",
             run);

}  // namespace
}  // namespace tx::cli
