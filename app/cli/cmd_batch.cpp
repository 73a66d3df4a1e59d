// tesserix-cli batch: solves every cube of a workspace file that has no proven optimal
// maneuver, several at a time, and writes the file back with the maneuvers found.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "batch_fast.hpp"
#include "command.hpp"
#include "cube/cube_input.hpp"
#include "console.hpp"
#include "json_output.hpp"
#include "numbers.hpp"
#include "platform/data_folder.hpp"
#include "platform/events.hpp"
#include "tables/loader.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/workspace_file.hpp"

namespace tx::cli {

namespace {

// A file with more cubes than this is refused: an endless input (a pipe that never ends)
// must not grow the list without bound. Each cube takes about 1 KB while the file is solved.
constexpr std::size_t kMaxBatchCubes = 500000;

// The length a finished entry reached, written as its length mark; the status without one.
std::string resultText(const Entry& e, bool optimal, char metric) {
    const int mark = optimal ? e.optimalMark : e.solverMark;
    if (mark < 0) return optimal ? e.optimalText : e.solverText;
    std::string text(1, '(');
    text += std::to_string(mark);
    text += metric;
    text += optimal && e.hasOptimalManeuver() ? "*)" : ")";
    return text;
}

// One searched entry for --format json: its number in the list and its maneuver, or the status
// it ended with as the error.
nlohmann::json batchRecord(std::size_t index, const Entry& e, bool optimal) {
    nlohmann::json record = maneuverRecord(index, "", optimal ? e.optimalText : e.solverText, std::nullopt);
    record.erase("input");
    record.erase("line");
    record["entry"] = index;
    return record;
}

// --format json for the entries the fast engine solved: those of `todo` not `left` for later.
void printSolvedByFastEngine(const CubeList& list, const std::vector<std::shared_ptr<Entry>>& todo,
                             const std::vector<std::shared_ptr<Entry>>& left) {
    for (const auto& e : todo) {
        if (std::find(left.begin(), left.end(), e) != left.end()) continue;
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list.entries()[i] == e) printJsonLine(batchRecord(i + 1, *e, false));
    }
}

// The entries that get a search: every solvable one without a proven optimal maneuver; the
// others are named on stderr and counted in `unsolvable`.
std::vector<std::shared_ptr<Entry>> entriesToSolve(const CubeList& list, int& unsolvable) {
    std::vector<std::shared_ptr<Entry>> todo;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const auto& e = list.entries()[i];
        if (e->hasOptimalManeuver()) continue;
        if (const auto problem = cubeProblem(e->cube)) {
            std::fprintf(stderr, "batch: cube %zu cannot be solved: %s; kept as it is\n", i + 1, problem->c_str());
            ++unsolvable;
            continue;
        }
        todo.push_back(e);
    }
    return todo;
}

// Runs the searches, `jobs` at a time, with a progress line per cube; answers the number of
// cubes whose search did not start.
int solveAll(CubeList& list, QueueEvents& events, const std::vector<std::shared_ptr<Entry>>& todo, bool optimal,
             int jobs, OutputFormat format) {
    auto indexOf = [&](const Entry* e) {
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list.entries()[i].get() == e) return i + 1;
        return std::size_t{0};
    };
    std::vector<std::shared_ptr<Entry>> running;
    std::size_t next = 0, done = 0;
    int shortest = 99, longest = -1, failed = 0;
    while (done < todo.size()) {
        while (static_cast<int>(running.size()) < jobs && next < todo.size()) {
            const auto e = todo[next++];
            e->useOptimal = optimal;
            if (list.startEntrySearch(e, true)) {
                running.push_back(e);
                continue;
            }
            ++done;
            ++failed;
            std::fprintf(stderr, "[%zu/%zu] cube %zu: no search started\n", done, todo.size(), indexOf(e.get()));
        }
        events.waitAndDrain(std::chrono::milliseconds(50));
        for (auto it = running.begin(); it != running.end();) {
            const Entry& e = **it;
            if (e.searchRunning) {
                ++it;
                continue;
            }
            ++done;
            // The search is over for good: its drivers (and the state kept to continue it)
            // go, so a big file is solved in the memory of its entries alone.
            (*it)->twoPhase.reset();
            (*it)->optimal.reset();
            const int length = optimal ? e.optimalLength : e.bestLength;
            shortest = std::min(shortest, length);
            longest = std::max(longest, length);
            if (!progressSilenced())
                std::fprintf(stderr, "[%zu/%zu] cube %zu: %s\n", done, todo.size(), indexOf(&e),
                             resultText(e, optimal, list.metricLetter()).c_str());
            if (format == OutputFormat::Json) printJsonLine(batchRecord(indexOf(&e), e, optimal));
            it = running.erase(it);
        }
    }
    if (!todo.empty() && longest >= 0)
        std::fprintf(stderr, "batch: %zu cubes searched, lengths %d to %d\n", todo.size(), shortest, longest);
    return failed;
}

int run(const Args& input) {
    Args args = input;
    const auto format = takeFormat(args, "batch");
    if (!format) return kExitError;
    const bool optimal = takeFlag(args, "--optimal");
    const std::string out = takeOption(args, "-o", "");
    const auto targetOption = takeWholeOption(args, "batch", "--target", 20, 0, 30);
    const auto jobsOption = takeWholeOption(args, "batch", "--jobs", 0, 0, 500);
    const std::string dir = takeOption(args, "--data-dir", "");
    const std::string engine = takeOption(args, "--engine", "fast");
    if (!targetOption || !jobsOption) return kExitError;
    if (engine != "fast" && engine != "specified") {
        std::fprintf(stderr, "batch: --engine takes fast or specified\n");
        return kExitError;
    }
    int jobs = static_cast<int>(*jobsOption);
    if (jobs == 0) jobs = std::max(1u, std::thread::hardware_concurrency());
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        std::fprintf(stderr,
                     "usage: tesserix-cli batch IN.txt [-o OUT.txt] [--optimal] [--target N] [--engine fast|specified] [--jobs J] "
                     "[--data-dir DIR]\n");
        return kExitError;
    }
    const std::filesystem::path in = args[0];
    const std::filesystem::path outPath = out.empty() ? in : std::filesystem::path(out);

    DataFolder folder = resolveDataFolder(dir.empty() ? std::nullopt : std::optional<std::string>(dir));
    if (!folder.note.empty()) std::fprintf(stderr, "%s\n", folder.note.c_str());
    ConsoleProgress progress;
    ConsolePrompts prompts(true);
    TableLoader loader(folder.path, progress, prompts);
    if (loader.startUp(false, false) != StartResult::Ready) {
        std::fprintf(stderr, "batch: the tables are not available\n");
        return kExitError;
    }

    QueueEvents events;
    CubeList list(events, prompts);
    list.context().tables = &loader;
    list.hooks.pump = [&events, &list] {
        events.drain();
        if (list.size() > kMaxBatchCubes) list.cancelRequested = true;  // ends the load
    };
    list.context().stopAt = static_cast<int>(*targetOption);
    const LoadResult loaded = loadWorkspace(list, in);
    if (!loaded.opened) return kExitError;
    if (loaded.cancelled) {
        std::fprintf(stderr, "batch: %s holds more than %zu cubes, more than batch takes; nothing was written\n",
                     in.c_str(), kMaxBatchCubes);
        return kExitInvalid;
    }
    if (loaded.tooLong || !loaded.error.empty()) {
        // Writing back a partly read file would lose the rest of it.
        std::fprintf(stderr, "batch: %s stopped at line %d; nothing was written\n", in.c_str(), loaded.stoppedAtLine);
        return kExitInvalid;
    }
    int unsolvable = 0;
    auto todo = entriesToSolve(list, unsolvable);
    // What the fast engine cannot take is left to the improving search.
    if (!optimal && engine == "fast") {
        const auto left = solveEntriesFast(list, todo, loader.current(), static_cast<int>(*targetOption), jobs);
        if (*format == OutputFormat::Json) printSolvedByFastEngine(list, todo, left);
        todo = left;
    }
    const int failed = solveAll(list, events, todo, optimal, jobs, *format);
    const SaveResult saved = saveWorkspace(list, outPath);
    if (!saved.ok) return kExitError;
    return unsolvable > 0 || failed > 0 ? kExitInvalid : kExitOk;
}

Register reg("batch", "solve every cube of a workspace file and write it back",
             "usage: tesserix-cli batch IN.txt [-o OUT.txt] [--optimal] [--target N] [--engine fast|specified] [--jobs J]\n"
             "                          [--format text|json] [--data-dir DIR]\n"
             "Loads a workspace file, solves every entry that has no optimal maneuver (two-phase to the target,\n"
             "default 20, or optimal), J entries at a time, and saves the result as a workspace file (IN.txt is\n"
             "replaced safely unless -o names another file; -o - writes to stdout). Progress goes to stderr.\n"
             "A file of more than 500000 cubes is refused. Two-phase solving uses the fast engine (face turns,\n"
             "centres not counted); --engine specified keeps the improving search of the desktop program.\n"
             "--format json prints one JSON object per searched entry on stdout: entry (its number), maneuver,\n"
             "length, metric, optimal, or error.\n",
             run);

}  // namespace
}  // namespace tx::cli
