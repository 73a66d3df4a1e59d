// solve: two-phase search to a target length, or optimal search, for each cube given as a
// facelet string or "@MANEUVER"; one output line per input line, in input order, each as soon
// as it and the lines before it are answered.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <functional>
#include <optional>
#include <memory>
#include <thread>
#include <unordered_map>

#include "command.hpp"
#include "console.hpp"
#include "depth_progress.hpp"
#include "cube/cube_input.hpp"
#include "json_output.hpp"
#include "line_reader.hpp"
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
    std::string input;
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
    int target = 20, jobs = 0, threads = 0;
    double maxTime = 0;
    OutputFormat format = OutputFormat::Text;
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
    const auto threads = takeWholeOption(args, "solve", "--threads", 0, 0, 256);
    const auto format = takeFormat(args, "solve");
    if (!target || !jobs || !maxTime || !threads || !format) return std::nullopt;
    o.threads = static_cast<int>(*threads);
    o.format = *format;
    o.target = static_cast<int>(*target);
    o.jobs = static_cast<int>(*jobs);
    o.maxTime = *maxTime;
    if (hasUnknownOption("solve", args)) return std::nullopt;
    if (o.tables.huge && !o.optimal) {
        std::fprintf(stderr, "tesserix-cli solve: --huge applies to --optimal\n");
        return std::nullopt;
    }
    if (o.threads > 0 && !o.optimal) {
        std::fprintf(stderr, "tesserix-cli solve: --threads applies to --optimal\n");
        return std::nullopt;
    }
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // An optimal search shares its long depths among --threads threads (default: all cores,
    // or the cores' share of each of --jobs searches); jobs and threads together fill the cores.
    if (o.optimal && o.threads <= 0) o.threads = o.jobs > 0 ? std::max(1, cores / o.jobs) : cores;
    if (o.optimal && o.jobs <= 0) o.jobs = std::max(1, cores / o.threads);
    if (o.jobs <= 0) o.jobs = cores;
    return o;
}

// The job of one input line: a cube to search, or the reason it is not one.
Job makeJob(std::size_t lineNo, const std::string& line, bool centres) {
    Job job;
    job.line = lineNo;
    job.input = line;
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
    return job;
}

struct TimedLine {
    std::size_t line;
    double ms;
    int length;
};

// Reads the input as it arrives, runs the jobs' searches, at most o.jobs at a time, and prints
// their results in input order. Only the jobs between the oldest unprinted one and the newest
// are held, at most a window's worth, so memory stays flat however long the input is.
class Solver {
public:
    using LoadTables = std::function<std::optional<TableSet>()>;

    // The tables are loaded (or built) only once a cube worth a search arrives, so input
    // without one is answered without them.
    Solver(const SolveOptions& o, LoadTables loadTables) : o_(o), loadTables_(std::move(loadTables)) {
        context_.events = &events_;
        context_.stopAt = o.target;
        context_.triple = o.triple;
        context_.sliceMode = o.tables.slice;
        context_.hugeMode = o.tables.huge;
        context_.optimalThreads = o.optimal ? o.threads : 1;
        notices_.ended = [this](Entry& e) {
            if (Job* j = jobOf(e)) j->done = true;
        };
        if (o.log)  // each line of the optimal log is shown as it appears
            notices_.logged = [this](Entry& e, const std::string& line) {
                if (Job* j = jobOf(e)) std::fprintf(stderr, "cube %zu: %s\n", j->line, line.c_str());
            };
    }

    // False when the tables could not be loaded (the loader has said why).
    bool runAll(LineReader& input) {
        const std::size_t window = std::max<std::size_t>(64, 4 * static_cast<std::size_t>(o_.jobs));
        std::vector<Job*> active;
        std::size_t lineNo = 0;
        while (!input.ended() || !window_.empty()) {
            while (static_cast<int>(active.size()) < o_.jobs && window_.size() < window) {
                const auto line = input.poll();
                if (!line) break;
                Job& j = window_.emplace_back(makeJob(++lineNo, *line, o_.tables.centres));
                if (j.entry) jobOfEntry_[j.entry.get()] = &j;
                if (j.failed) continue;
                if (!haveTables()) return false;
                if (start(j)) active.push_back(&j);
            }
            events_.waitAndDrain(std::chrono::milliseconds(5));
            for (auto it = active.begin(); it != active.end();) {
                if (o_.optimal && (o_.log || !progressSilenced())) logDepthProgress(**it);
                if ((*it)->done) {
                    finish(**it);
                    it = active.erase(it);
                    continue;
                }
                stopWhenOutOfTime(**it++);
            }
            while (!window_.empty() && (window_.front().failed || !window_.front().output.empty())) {
                if (!retire(window_.front())) return true;  // the rest would be lost too; main reports it
                window_.pop_front();
            }
        }
        return true;
    }

    bool anyFailed() const { return anyFailed_; }
    const std::vector<TimedLine>& times() const { return times_; }

private:
    bool haveTables() {
        if (source_) return true;
        auto loaded = loadTables_();
        if (!loaded) return false;
        source_.emplace(std::move(*loaded));
        context_.tables = &*source_;
        return true;
    }

    // Prints a finished job and lets it go; false once writing to stdout has failed.
    bool retire(const Job& j) {
        print(j);
        progress_.update(++answered_);
        anyFailed_ = anyFailed_ || j.failed;
        if (o_.times && j.started) times_.push_back({j.line, j.ms, j.length});
        if (j.entry) jobOfEntry_.erase(j.entry.get());
        return flushOutput();
    }

    void print(const Job& j) const {
        if (o_.format == OutputFormat::Json)
            printJsonLine(maneuverRecord(j.line, j.input, j.output, j.started ? std::optional(j.ms) : std::nullopt));
        else
            std::printf("%s\n", j.output.c_str());
    }

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

    void logDepthProgress(const Job& j) {
        const IDA* search = j.entry->optimal ? j.entry->optimal->currentThread() : nullptr;
        if (j.done || !search) return depthProgress_.forget(j.line);
        if (const auto line = depthProgress_.poll(j.line, *search)) std::fprintf(stderr, "cube %zu: %s\n", j.line, line->c_str());
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
    LoadTables loadTables_;
    std::optional<FixedTables> source_;
    std::deque<Job> window_;  // references stay valid: jobs are added at the back, retired at the front
    QueueEvents events_;
    SearchContext context_;
    EntryNotices notices_;
    std::unordered_map<const Entry*, Job*> jobOfEntry_;
    bool anyFailed_ = false;
    std::vector<TimedLine> times_;
    CountProgress progress_{"solve: cubes answered"};
    DepthProgressLog depthProgress_;
    std::size_t answered_ = 0;
};

void reportTimes(const std::vector<TimedLine>& all) {
    std::vector<double> solved;
    for (const auto& j : all) {
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
        return solveWithFastEngine(args, {o.target, o.jobs, o.maxTime, o.times, o.format}, *tables);
    }
    LineReader input(args, true);
    Solver solver(*options, [&] { return prepareTables(options->tables); });
    if (!solver.runAll(input)) return kExitError;
    if (options->times) reportTimes(solver.times());
    return solver.anyFailed() ? kExitInvalid : kExitOk;
}

Register reg("solve", "solve cubes: two-phase to a target length, or optimal",
             "usage: tesserix-cli solve [--target N] [--engine fast|specified] [--triple] [--slice]\n"
             "                          [--optimal [--huge] [--centres] [--log] [--threads T]] [--jobs J] [--max-time SECONDS]\n"
             "                          [--times] [--format text|json] [--data-dir DIR] [--yes] [CUBE...]\n"
             "A cube is a facelet string (54 face letters), a piece list (48 face letters) or @ and a maneuver\n"
             "that generates it from the solved cube; a cube that cannot be solved gets the reason check gives,\n"
             "and the exit code is 1. Without cubes, one cube per line is read from stdin. Prints one maneuver\n"
             "with its length mark per input line, in input order, or \"error: \" and the reason; the solved cube\n"
             "is \" (0f*)\" under --optimal. --centres: the centre orientations count. --times reports milliseconds\n"
             "per cube and a summary on stderr; --log shows the optimal search's progress on stderr. --format json\n"
             "prints one JSON object per input line: line, input, maneuver, length, metric, optimal, milliseconds,\n"
             "or error.\n"
             "--threads T: each optimal search shares its long depths among T threads, with the same maneuver\n"
             "and node counts as on one thread (default: all cores; with --jobs J, the cores divided by J; without\n"
             "--jobs, J is the cores divided by T). A long optimal depth shows every 5 seconds on stderr its\n"
             "nodes so far and an estimate of its end from the ratio of the two depths before it (not with --quiet).\n"
             "Two-phase solving uses the fast engine (the first maneuver of at most N moves, all cubes\n"
             "in face turns); --engine specified, --triple, --slice and --centres use the search of the\n"
             "desktop program, which improves its maneuver run by run.\n",
             run);

}  // namespace
}  // namespace tx::cli
