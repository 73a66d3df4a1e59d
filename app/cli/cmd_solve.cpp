// solve: two-phase search to a target length, or optimal search, for each cube given as a
// facelet string or "@MANEUVER"; one output line per input line, in input order.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <memory>
#include <thread>
#include <unordered_map>

#include "command.hpp"
#include "cube/cube_input.hpp"
#include "numbers.hpp"
#include "output.hpp"
#include "workspace/entry_search.hpp"
#include "solve_fast.hpp"
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

struct SolveOptions {
    TableOptions tables;
    bool optimal = false, triple = false, times = false, log = false;
    int target = 20, jobs = 0;
    double maxTime = 0;
    std::string engine = "fast";  // "fast" or "specified"
};

// The options, or nullopt after a usage error was told.
std::optional<SolveOptions> parseOptions(Args& args) {
    SolveOptions o;
    o.tables.slice = takeFlag(args, "--slice");
    o.tables.centres = takeFlag(args, "--centres");
    o.tables.huge = takeFlag(args, "--huge");
    o.tables.yes = takeFlag(args, "--yes");
    o.tables.dataDir = takeOption(args, "--data-dir", "");
    o.optimal = takeFlag(args, "--optimal");
    o.triple = takeFlag(args, "--triple");
    o.times = takeFlag(args, "--times");
    o.log = takeFlag(args, "--log");
    o.engine = takeOption(args, "--engine", "fast");
    if (o.engine != "fast" && o.engine != "specified") {
        std::fprintf(stderr, "tesserix-cli solve: --engine takes fast or specified\n");
        return std::nullopt;
    }
    const auto target = takeWholeOption(args, "solve", "--target", 20, 0, 30);
    const auto jobs = takeWholeOption(args, "solve", "--jobs", 0, 0, 500);
    const auto maxTime = takeDecimalOption(args, "solve", "--max-time", 0, 0, 1e9);
    if (!target || !jobs || !maxTime) return std::nullopt;
    o.target = static_cast<int>(*target);
    o.jobs = static_cast<int>(*jobs);
    o.maxTime = *maxTime;
    if (hasUnknownOption("solve", args)) return std::nullopt;
    if (o.tables.huge && !o.optimal) {
        std::fprintf(stderr, "tesserix-cli solve: --huge applies to --optimal\n");
        return std::nullopt;
    }
    if (o.jobs <= 0) o.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return o;
}

std::vector<Job> readJobs(const Args& args, bool centres) {
    std::vector<Job> all;
    std::size_t lineNo = 0;
    for (const auto& line : inputLines(args, true)) {
        Job job;
        job.line = ++lineNo;
        CubeTextOptions options;
        options.centersCount = centres;
        const CubeText read = readCube(line, options);
        if (!read.ok()) {
            job.failed = job.done = true;
            job.output = "error: " + read.error;
        } else {
            job.entry = std::make_shared<Entry>();
            job.entry->cube = read.cube;
        }
        all.push_back(std::move(job));
    }
    return all;
}

// Runs the jobs' searches, at most o.jobs at a time, and prints their results in input order.
class Solver {
public:
    Solver(const SolveOptions& o, const TableSet& tables, std::vector<Job>& all)
        : o_(o), source_(tables), all_(all) {
        context_.events = &events_;
        context_.tables = &source_;
        context_.stopAt = o.target;
        context_.triple = o.triple;
        context_.sliceMode = o.tables.slice;
        context_.hugeMode = o.tables.huge;
        for (auto& j : all_)
            if (j.entry) jobOfEntry_[j.entry.get()] = &j;
        notices_.ended = [this](Entry& e) {
            if (Job* j = jobOf(e)) j->done = true;
        };
        if (o.log)  // each line of the optimal log is shown as it appears
            notices_.logged = [this](Entry& e, const std::string& line) {
                if (Job* j = jobOf(e)) std::fprintf(stderr, "cube %zu: %s\n", j->line, line.c_str());
            };
    }

    void runAll() {
        std::size_t nextToStart = 0, nextToPrint = 0;
        std::vector<Job*> active;
        while (nextToPrint < all_.size()) {
            while (static_cast<int>(active.size()) < o_.jobs && nextToStart < all_.size()) {
                Job& j = all_[nextToStart++];
                if (!j.failed && start(j)) active.push_back(&j);
            }
            events_.waitAndDrain(std::chrono::milliseconds(5));
            for (auto it = active.begin(); it != active.end();) {
                if ((*it)->done) {
                    finish(**it);
                    it = active.erase(it);
                    continue;
                }
                stopWhenOutOfTime(**it++);
            }
            while (nextToPrint < all_.size() && (all_[nextToPrint].failed || !all_[nextToPrint].output.empty())) {
                std::printf("%s\n", all_[nextToPrint++].output.c_str());
                if (!flushOutput()) return;  // the rest would be lost too; main reports it
            }
        }
    }

private:
    Job* jobOf(Entry& e) {
        auto it = jobOfEntry_.find(&e);
        return it == jobOfEntry_.end() ? nullptr : it->second;
    }

    // Starts the job's search; false (the job failed) when the tables cannot serve it.
    bool start(Job& j) {
        Entry& e = *j.entry;
        j.started = true;
        j.begin = Clock::now();
        std::string whyNot;
        if (o_.optimal) {
            e.useOptimal = true;
            e.startTime = nowDays();
            e.optimal = makeOptimalSearch(e, context_, notices_, &whyNot);
        } else {
            e.searchCopy = e.cube.f;
            e.twoPhase = makeTwoPhaseSearch(e, context_, notices_, &whyNot);
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
    }

    void stopWhenOutOfTime(Job& j) {
        if (o_.maxTime <= 0 || j.stopped || std::chrono::duration<double>(Clock::now() - j.begin).count() < o_.maxTime)
            return;
        j.stopped = true;
        if (j.entry->twoPhase) j.entry->twoPhase->stop();
        if (j.entry->optimal) j.entry->optimal->stop();
    }

    void finish(Job& j) {
        Entry& e = *j.entry;
        j.ms = std::chrono::duration<double, std::milli>(Clock::now() - j.begin).count();
        if (o_.optimal) {
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
    }

    const SolveOptions& o_;
    FixedTables source_;
    std::vector<Job>& all_;
    QueueEvents events_;
    SearchContext context_;
    EntryNotices notices_;
    std::unordered_map<const Entry*, Job*> jobOfEntry_;
};

void reportTimes(const std::vector<Job>& all) {
    std::vector<double> solved;
    for (const auto& j : all) {
        if (!j.started) continue;
        std::fprintf(stderr, "line %zu: %.1f ms, length %d\n", j.line, j.ms, j.length);
        solved.push_back(j.ms);
    }
    if (solved.empty()) return;
    std::sort(solved.begin(), solved.end());
    double total = 0;
    for (double t : solved) total += t;
    const std::size_t p90 = std::min(solved.size() - 1, (solved.size() * 9) / 10);
    std::fprintf(stderr, "cubes %zu, median %.1f ms, 90th percentile %.1f ms, maximum %.1f ms, total %.2f s\n",
                 solved.size(), solved[solved.size() / 2], solved[p90], solved.back(), total / 1000);
}

int run(const Args& given) {
    Args args = given;
    const auto options = parseOptions(args);
    if (!options) return kExitError;
    // Face-turn two-phase solving goes to the fast engine unless the specified search is asked for.
    const SolveOptions& o = *options;
    if (o.engine == "fast" && !o.optimal && !o.triple && !o.tables.slice && !o.tables.centres) {
        const auto tables = prepareTables(o.tables);
        if (!tables) return kExitError;
        return solveWithFastEngine(args, {o.target, o.jobs, o.maxTime, o.times}, *tables);
    }
    std::vector<Job> all = readJobs(args, options->tables.centres);
    // Only cubes that can be solved are worth loading (or building) tables for.
    if (std::all_of(all.begin(), all.end(), [](const Job& j) { return j.failed; })) {
        for (const auto& j : all) std::printf("%s\n", j.output.c_str());
        return all.empty() ? kExitOk : kExitInvalid;
    }
    const auto loaded = prepareTables(options->tables);
    if (!loaded) return kExitError;
    Solver(*options, *loaded, all).runAll();
    if (options->times) reportTimes(all);
    for (const auto& j : all)
        if (j.failed) return kExitInvalid;
    return kExitOk;
}

Register reg("solve", "solve cubes: two-phase to a target length, or optimal",
             "usage: tesserix-cli solve [--target N] [--engine fast|specified] [--triple] [--slice]\n"
             "                          [--optimal [--huge] [--centres] [--log]]\n"
             "                          [--jobs J] [--max-time SECONDS] [--times] [--data-dir DIR] [--yes] [CUBE...]\n"
             "A cube is a facelet string (54 face letters), a piece list (48 face letters) or @ and a maneuver\n"
             "that generates it from the solved cube; a cube that cannot be solved gets the reason check gives,\n"
             "and the exit code is 1. Without cubes, one cube per line is read from stdin. Prints one maneuver\n"
             "with its length mark per input line, in input order, or \"error: \" and the reason; the solved cube\n"
             "is \" (0f*)\" under --optimal. --centres: the centre orientations count. --times reports milliseconds\n"
             "per cube and a summary on stderr; --log shows the optimal search's progress on stderr.\n"
             "Two-phase solving uses the fast engine (the first maneuver of at most N moves, all cubes\n"
             "in face turns); --engine specified, --triple, --slice and --centres use the search of the\n"
             "desktop program, which improves its maneuver run by run.\n",
             run);

}  // namespace
}  // namespace tx::cli
