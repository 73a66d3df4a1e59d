#include "solve_fast.hpp"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "console.hpp"
#include "cube/cube_input.hpp"
#include "line_reader.hpp"
#include "solver/fast_solver.hpp"
#include "solver/fast_tables.hpp"

namespace tx::cli {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kAlwaysReached = 20;

struct Outcome {
    std::string text;
    bool failed = false;
    int length = -1;
    double ms = 0;
};

Outcome solveOne(const TableSet& tables, const std::string& line, const FastSolveSettings& s) {
    Outcome out;
    const CubeText read = readCube(line);
    if (!read.ok()) {
        out.failed = true;
        out.text = "error: " + read.error;
        return out;
    }
    CubieCube c = read.cube.toCubieCube();
    c.centersCount = false;
    const auto start = Clock::now();
    const FastResult best = solveFastToTarget(tables, c, s.target, s.maxTime);
    out.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (best.length >= 0) {
        out.length = best.length;
        out.text = writeManeuver(best.moves.data(), best.length, 'f', false);
    } else {
        out.failed = true;
        out.text = "error: " + (!best.error.empty() ? best.error
                                : best.stopped      ? std::string("no maneuver within the time limit")
                                                    : "no maneuver of at most " + std::to_string(s.target) + " moves");
    }
    return out;
}

void reportTimes(const std::vector<Outcome>& all) {
    std::vector<double> ms;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].ms <= 0 && all[i].length < 0) continue;  // the line was not a cube
        std::fprintf(stderr, "line %zu: %.3f ms, length %d\n", i + 1, all[i].ms, all[i].length);
        ms.push_back(all[i].ms);
    }
    if (ms.empty()) return;
    std::sort(ms.begin(), ms.end());
    double total = 0;
    for (double t : ms) total += t;
    std::fprintf(stderr, "cubes %zu, median %.3f ms, 90th percentile %.3f ms, maximum %.3f ms, total %.3f s\n", ms.size(),
                 ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 9 / 10)], ms.back(), total / 1000);
}

}  // namespace

FastResult solveFastToTarget(const TableSet& tables, const CubieCube& cube, int target, double maxSeconds) {
    FastOptions o;
    if (maxSeconds > 0)
        o.deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(maxSeconds));
    o.maxLength = std::max(target, kAlwaysReached);
    FastResult best = solveFast(tables, cube, o);
    while (best.length > target) {
        o.maxLength = best.length - 1;
        FastResult shorter = solveFast(tables, cube, o);
        if (shorter.length < 0) break;
        best = std::move(shorter);
    }
    return best;
}

void forEachInParallel(std::size_t count, int jobs, const std::function<void(std::size_t)>& work,
                       const std::function<void(std::size_t)>& done) {
    std::vector<char> ready(count, 0);
    std::mutex mutex;
    std::condition_variable readyChanged;
    std::size_t next = 0;
    auto worker = [&] {
        for (;;) {
            std::size_t i;
            {
                std::lock_guard lock(mutex);
                if (next >= count) return;
                i = next++;
            }
            work(i);
            std::lock_guard lock(mutex);
            ready[i] = 1;
            readyChanged.notify_all();
        }
    };
    std::vector<std::jthread> pool;
    for (int w = 0; w < std::max(1, std::min<int>(jobs, static_cast<int>(count))); ++w) pool.emplace_back(worker);
    for (std::size_t i = 0; i < count; ++i) {
        {
            std::unique_lock lock(mutex);
            readyChanged.wait(lock, [&] { return ready[i] != 0; });
        }
        done(i);
    }
}

// Streams: takes the lines that are there (waiting only for the first), solves them in parallel,
// prints them in input order, and goes on; at most a window of lines is held at a time.
int solveWithFastEngine(const Args& positional, const FastSolveSettings& s, const TableSet& tables) {
    fastTables(*tables.coords);  // built before the first cube, so its time is its own
    const std::size_t window = std::max<std::size_t>(64, 4 * static_cast<std::size_t>(std::max(1, s.jobs)));
    LineReader input(positional, true);
    std::vector<Outcome> timed;  // kept only for --times
    std::size_t lineNo = 0;
    bool anyFailed = false;
    CountProgress progress("solve: cubes answered");
    while (auto first = input.next()) {
        std::vector<std::string> lines = {std::move(*first)};
        while (lines.size() < window) {
            auto more = input.poll();
            if (!more) break;
            lines.push_back(std::move(*more));
        }
        std::vector<Outcome> results(lines.size());
        forEachInParallel(
            lines.size(), s.jobs, [&](std::size_t i) { results[i] = solveOne(tables, lines[i], s); },
            [&](std::size_t i) {  // printed in input order as the results come
                const Outcome& r = results[i];
                ++lineNo;
                if (s.format == OutputFormat::Json)
                    printJsonLine(maneuverRecord(lineNo, lines[i], r.text,
                                                 r.length >= 0 || r.ms > 0 ? std::optional(r.ms) : std::nullopt));
                else
                    std::printf("%s\n", r.text.c_str());
                std::fflush(stdout);
                anyFailed = anyFailed || r.failed;
                progress.update(lineNo);
            });
        if (s.times) timed.insert(timed.end(), results.begin(), results.end());
    }
    if (s.times) reportTimes(timed);
    return anyFailed ? kExitInvalid : kExitOk;
}

}  // namespace tx::cli
