#include "bench_fast.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "solver/fast_solver.hpp"
#include "solver/fast_tables.hpp"

namespace tx::cli {

namespace {

using Clock = std::chrono::steady_clock;

double percentile(std::vector<double> ms, int percent) {
    std::sort(ms.begin(), ms.end());
    return ms[std::min(ms.size() - 1, ms.size() * percent / 100)];
}

double megabytes(std::uint64_t bytes) { return bytes / 1e6; }

}  // namespace

void printFastEngine(const TableSet& tables, const std::vector<CubieCube>& cubes, bool signature) {
    auto t0 = Clock::now();
    const FastTables& small = fastTables(*tables.coords);
    const double buildMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    if (signature) {
        const StandardTables& s = *tables.standard;
        const CoordTables& c = *tables.coords;
        const std::uint64_t moves = c.flipSliceMove.size() * 4 + c.cornerPermMove.size() * 2 + c.udEdgePermMove.size() * 2 +
                                    c.udEdgePermConj.size() * 2 + c.sliceSortedMove.size() * 2;
        std::printf("fast engine tables: phase-1 %.1f MB, phase-2 %.1f MB, move tables %.1f MB, small bounds %.1f MB "
                    "(built in %.0f ms)\n",
                    megabytes(s.phase1.bytes.size()), megabytes(s.phase2.bytes.size()), megabytes(moves),
                    megabytes(fastTableBytes(small)), buildMs);
    }
    std::uint64_t total = 0;
    for (int target : {20, 21}) {
        std::vector<double> ms;
        std::uint64_t phase1 = 0, phase2 = 0, ends = 0;
        int longest = 0, failed = 0;
        for (const auto& cube : cubes) {
            FastOptions o;
            o.maxLength = target;
            auto start = Clock::now();
            FastResult r = solveFast(tables, cube, o);
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            phase1 += r.phase1Nodes;
            phase2 += r.phase2Nodes;
            ends += r.endPoints;
            longest = std::max(longest, r.length);
            if (r.length < 0) ++failed;
        }
        double sum = 0;
        for (double t : ms) sum += t;
        const std::uint64_t nodes = phase1 + phase2;
        total += nodes;
        const double n = static_cast<double>(cubes.size());
        std::printf("fast engine target %d, %zu cubes, one thread: median %.3f ms, 90th percentile %.3f ms, maximum %.2f ms, "
                    "total %.3f s, longest %d, failed %d\n",
                    target, cubes.size(), percentile(ms, 50), percentile(ms, 90), *std::max_element(ms.begin(), ms.end()),
                    sum / 1000, longest, failed);
        std::printf("    nodes per cube %.0f (phase 1 %.0f, phase 2 %.0f), phase-2 entries per cube %.1f, %.1f ns per node\n",
                    nodes / n, phase1 / n, phase2 / n, ends / n, nodes ? sum * 1e6 / nodes : 0.0);
        std::fflush(stdout);
    }
    if (signature) std::printf("signature %llu nodes\n", static_cast<unsigned long long>(total));
}

}  // namespace tx::cli
