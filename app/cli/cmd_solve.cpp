// solve: two-phase search to a target length, or optimal search, for each cube given as a
// facelet string or "@MANEUVER"; one output line per input line, in input order.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <memory>
#include <thread>
#include <unordered_map>

#include "command.hpp"
#include "cube_input.hpp"
#include "numbers.hpp"
#include "workspace/entry_search.hpp"
#include "table_setup.hpp"

namespace tx::cli {
namespace {

using Clock = std::chrono::steady_clock;

struct Job {
    std::size_t line = 0;
    std::shared_ptr<Entry> entry;
    std::string output;
    bool failed = false;
    bool started = false;
    bool done = false;
    bool stopped = false;
    Clock::time_point begin;
    double ms = 0;
    int length = -1;
};

int run(const Args& given) {
    Args args = given;
    TableOptions tables;
    tables.slice = takeFlag(args, "--slice");
    tables.centres = takeFlag(args, "--centres");
    tables.huge = takeFlag(args, "--huge");
    tables.yes = takeFlag(args, "--yes");
    tables.dataDir = takeOption(args, "--data-dir", "");
    const bool optimal = takeFlag(args, "--optimal");
    const bool triple = takeFlag(args, "--triple");
    const bool times = takeFlag(args, "--times");
    const bool log = takeFlag(args, "--log");
    const auto targetOption = takeWholeOption(args, "solve", "--target", 20, 0, 30);
    const auto jobsOption = takeWholeOption(args, "solve", "--jobs", 0, 0, 500);
    const auto maxTimeOption = takeDecimalOption(args, "solve", "--max-time", 0, 0, 1e9);
    if (!targetOption || !jobsOption || !maxTimeOption) return kExitError;
    const int target = static_cast<int>(*targetOption);
    int jobs = static_cast<int>(*jobsOption);
    const double maxTime = *maxTimeOption;
    if (hasUnknownOption("solve", args)) return kExitError;
    if (tables.huge && !optimal) {
        std::fprintf(stderr, "tesserix-cli solve: --huge applies to --optimal\n");
        return kExitError;
    }
    if (jobs <= 0) jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

    std::vector<Job> all;
    std::size_t lineNo = 0;
    for (const auto& line : inputLines(args, true)) {
        Job job;
        job.line = ++lineNo;
        std::string error;
        auto cube = parseCube(line, tables.centres, error);
        if (!cube) {
            job.failed = job.done = true;
            job.output = "error: " + error;
        } else {
            job.entry = std::make_shared<Entry>();
            job.entry->cube = *cube;
        }
        all.push_back(std::move(job));
    }
    const auto loaded = prepareTables(tables);
    if (!loaded) return kExitError;
    const FixedTables source(*loaded);

    QueueEvents events;
    SearchContext context;
    context.events = &events;
    context.tables = &source;
    context.stopAt = target;
    context.triple = triple;
    context.sliceMode = tables.slice;
    context.hugeMode = tables.huge;
    context.freeThreadsOnTerminate = false;
    std::unordered_map<const Entry*, Job*> jobOfEntry;
    for (auto& j : all)
        if (j.entry) jobOfEntry[j.entry.get()] = &j;
    auto jobOf = [&](Entry& e) -> Job* {
        auto it = jobOfEntry.find(&e);
        return it == jobOfEntry.end() ? nullptr : it->second;
    };
    EntryNotices notices;
    notices.ended = [&](Entry& e) {
        if (Job* j = jobOf(e)) j->done = true;
    };
    if (log) {
        // Each line of the optimal log is shown as it appears.
        notices.logged = [&](Entry& e, const std::string& line) {
            if (Job* j = jobOf(e)) std::fprintf(stderr, "cube %zu: %s\n", j->line, line.c_str());
        };
    }

    // Starts the job's search; false (the job failed) when the tables cannot serve it.
    auto start = [&](Job& j) {
        Entry& e = *j.entry;
        j.started = true;
        j.begin = Clock::now();
        std::string whyNot;
        if (optimal) {
            e.useOptimal = true;
            e.startTime = nowDays();
            e.optimal = makeOptimalSearch(e, context, notices, &whyNot);
        } else {
            e.searchCopy = e.cube.f;
            e.twoPhase = makeTwoPhaseSearch(e, context, notices, &whyNot);
        }
        if (!e.optimal && !e.twoPhase) {
            j.failed = true;
            j.output = "error: " + whyNot;
            return false;
        }
        e.searchRunning = true;
        if (e.optimal) e.optimal->start();
        if (e.twoPhase) e.twoPhase->start();
        return true;
    };
    auto finish = [&](Job& j) {
        Entry& e = *j.entry;
        j.ms = std::chrono::duration<double, std::milli>(Clock::now() - j.begin).count();
        if (optimal) {
            if (e.hasOptimalManeuver()) {
                j.output = e.optimalText;
                j.length = e.optimalLength;
            } else {
                j.failed = true;
                j.output = "error: no optimal maneuver within the time limit";
            }
        } else if (!e.solverText.empty()) {
            j.output = e.solverText;
            j.length = e.bestLength;
        } else {
            j.failed = true;
            j.output = "error: no maneuver within the time limit";
        }
        e.twoPhase.reset();
        e.optimal.reset();
    };

    std::size_t nextToStart = 0, nextToPrint = 0;
    std::vector<std::size_t> active;
    while (nextToPrint < all.size()) {
        while (static_cast<int>(active.size()) < jobs && nextToStart < all.size()) {
            Job& j = all[nextToStart++];
            if (j.failed || !start(j)) continue;
            active.push_back(static_cast<std::size_t>(&j - all.data()));
        }
        events.waitAndDrain(std::chrono::milliseconds(5));
        for (std::size_t a = 0; a < active.size();) {
            Job& j = all[active[a]];
            if (j.done) {
                finish(j);
                active.erase(active.begin() + static_cast<std::ptrdiff_t>(a));
                continue;
            }
            ++a;
            if (maxTime > 0 && !j.stopped &&
                       std::chrono::duration<double>(Clock::now() - j.begin).count() >= maxTime) {
                j.stopped = true;
                if (j.entry->twoPhase) j.entry->twoPhase->stop();
                if (j.entry->optimal) j.entry->optimal->stop();
            }
        }
        while (nextToPrint < all.size() && (all[nextToPrint].failed || !all[nextToPrint].output.empty())) {
            const Job& j = all[nextToPrint++];
            std::printf("%s\n", j.output.c_str());
            std::fflush(stdout);
        }
    }

    int exitCode = kExitOk;
    std::vector<double> solved;
    for (const auto& j : all) {
        if (j.failed) exitCode = kExitInvalid;
        if (times && j.started) {
            std::fprintf(stderr, "line %zu: %.1f ms, length %d\n", j.line, j.ms, j.length);
            solved.push_back(j.ms);
        }
    }
    if (times && !solved.empty()) {
        std::sort(solved.begin(), solved.end());
        double total = 0;
        for (double t : solved) total += t;
        std::fprintf(stderr, "cubes %zu, median %.1f ms, 90th percentile %.1f ms, maximum %.1f ms, total %.2f s\n",
                     solved.size(), solved[solved.size() / 2], solved[(solved.size() * 9) / 10 < solved.size() ? (solved.size() * 9) / 10 : solved.size() - 1],
                     solved.back(), total / 1000);
    }
    return exitCode;
}

Register reg("solve", "solve cubes: two-phase to a target length, or optimal",
             "usage: tesserix-cli solve [--target N] [--triple] [--slice] [--optimal [--huge] [--centres] [--log]]\n"
             "                          [--jobs J] [--max-time SECONDS] [--times] [--data-dir DIR] [--yes] [CUBE...]\n"
             "A cube is a facelet string (54 face letters) or @ and a maneuver that generates it from the solved\n"
             "cube. Without cubes, one cube per line is read from stdin. Prints one maneuver with its length mark\n"
             "per input line, in input order, or \"error: \" and the reason. --times reports milliseconds per cube\n"
             "and a summary on stderr; --log shows the optimal search's progress on stderr.\n",
             run);

}  // namespace
}  // namespace tx::cli
