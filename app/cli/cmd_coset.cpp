// coset: the coset explorer without a window. Prints the start line, the positions first
// reached at each depth as the depths complete, and the cubes left; Ctrl+C prints the stop
// report and exits with 130.
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <optional>

#include "command.hpp"
#include "cube/cube_input.hpp"
#include "numbers.hpp"
#include "platform/atomic_file.hpp"
#include "searches/coset_text.hpp"
#include "table_setup.hpp"
#include "tables/table_files.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "coset";
constexpr int kExitInterrupted = 130;
constexpr std::uint64_t kMaxLeftFile = 10000000;  // lines --left writes at most

const char* const kUsage =
    "usage: tesserix-cli coset CUBE [--depth N] [--threads T] [--left FILE] [--phase1-bound]\n"
    "                          [--data-dir DIR] [--yes]\n"
    "Runs the coset explorer on CUBE (a facelet string or @MANEUVER): finds for every position of\n"
    "the cube's coset of H' (twist, flip, slice edges and D-layer corners of the solved cube) the\n"
    "length of its shortest maneuver, depth by depth up to --depth (default 19). Prints the start\n"
    "line, then \"Nf: COUNT\" after each depth, and finally how many cubes need more moves.\n"
    "--left FILE writes those cubes as facelet strings (at most 10000000). --threads: search\n"
    "threads (default one per core). It needs the 1881 MB huge table (tesserix-cli tables --huge);\n"
    "without a terminal it builds it only with --yes. --phase1-bound prunes with the phase-1 table\n"
    "alone: slower, for checks without the huge table. Progress goes to stderr; Ctrl+C prints the\n"
    "stop report and exits with 130.\n";

std::atomic<bool> interrupted{false};
void onInterrupt(int) { interrupted = true; }

struct CosetArgs {
    TableOptions tables;
    CosetOptions search;
    std::string left;
    std::string cube;
};

std::optional<CosetArgs> parseArgs(Args args) {
    CosetArgs o;
    o.tables.dataDir = takeOption(args, "--data-dir", "");
    o.tables.yes = takeFlag(args, "--yes");
    o.left = takeOption(args, "--left", "");
    o.search.hugeBound = !takeFlag(args, "--phase1-bound");
    o.tables.huge = o.search.hugeBound;
    const auto depth = takeWholeOption(args, kName, "--depth", kCosetMaxDepth, 1, kCosetMaxDepth);
    const auto threads = takeWholeOption(args, kName, "--threads", 0, 0, 1024);
    if (!depth || !threads || hasUnknownOption(kName, args)) return std::nullopt;
    if (args.size() != 1) {
        std::fprintf(stderr, "%s", kUsage);
        return std::nullopt;
    }
    o.search.maxDepth = static_cast<int>(*depth);
    o.search.threads = static_cast<int>(*threads);
    o.search.lowPriority = false;
    o.cube = args[0];
    return o;
}

void printLines(const std::vector<std::string>& lines) {
    for (const auto& line : lines) std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Progress on stderr: a line rewritten every second on a terminal, a line a minute otherwise.
class ProgressLine {
public:
    ProgressLine() : tty_(::isatty(2) != 0) {}
    ~ProgressLine() { clear(); }
    void show(const CosetSearch& s) {
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < (tty_ ? std::chrono::seconds(1) : std::chrono::seconds(60))) return;
        last_ = now;
        const std::string text = cosetProgressText(s.progress());
        if (tty_) {
            std::fprintf(stderr, "\r%-78.78s", text.c_str());
            shown_ = true;
        } else {
            std::fprintf(stderr, "%s\n", text.c_str());
        }
        std::fflush(stderr);
    }
    void clear() {
        if (!shown_) return;
        std::fprintf(stderr, "\r%78s\r", "");
        std::fflush(stderr);
        shown_ = false;
    }

private:
    bool tty_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

bool writeLeft(const CosetSearch& search, const std::string& path) {
    if (search.positionsLeft() > kMaxLeftFile) {
        std::fprintf(stderr, "tesserix-cli coset: %llu cubes are left; --left writes at most %llu\n",
                     (unsigned long long)search.positionsLeft(), (unsigned long long)kMaxLeftFile);
        return false;
    }
    const WriteResult written = writeFileAtomically(path, [&](FileSink& sink) {
        bool ok = true;
        search.forEachCubeLeft([&](const CubieCube& c) {
            FaceletCube f;
            f.setFromCubieCube(c);
            return ok = sink.write(f.faceletString() + "\n");
        });
        return ok;
    });
    if (!written.ok) std::fprintf(stderr, "tesserix-cli coset: %s\n", written.error.c_str());
    return written.ok;
}

int runCoset(const Args& given) {
    const auto o = parseArgs(given);
    if (!o) return kExitError;
    const CubeText read = readCube(o->cube);
    if (!read.ok()) {
        std::fprintf(stderr, "tesserix-cli coset: %s\n", read.error.c_str());
        return kExitInvalid;
    }
    std::string error;
    if (!mayLoadHugeTable(o->tables, kName)) return kExitError;
    const auto tables = prepareTables(o->tables);
    if (!tables) return kExitError;
    QueueEvents events;
    auto search = CosetSearch::create(read.cube.toCubieCube(), *tables, events, o->search, {}, &error);
    if (!search) {
        std::fprintf(stderr, "tesserix-cli coset: %s\n", error.c_str());
        return kExitInvalid;
    }
    ProgressLine progress;
    bool ended = false;
    search->onDepth = [&](const CosetDepth& d) {
        progress.clear();
        if (d.total > 0) printLines({cosetDepthLine(d.depth, d.count)});
    };
    search->onEnd = [&] { ended = true; };
    std::signal(SIGINT, onInterrupt);
    printLines({cosetStartLines(search->cosetNumber(), search->startTime(), search->symmetryMask())[0]});
    search->start();
    while (!ended && !interrupted) {
        events.waitAndDrain(std::chrono::milliseconds(100));
        progress.show(*search);
    }
    if (interrupted && !ended) {
        search->stop();
        progress.clear();
        events.drain();  // the depths completed before the stop
        printLines(cosetStopLines(search->depthTotals(), search->reachedCount(), search->currentFirstMove(),
                                  CosetSearch::Clock::now(),
                                  hoursBetween(search->startTime(), CosetSearch::Clock::now())));
        return kExitInterrupted;
    }
    std::signal(SIGINT, SIG_DFL);
    progress.clear();
    printLines({cosetLeftLine(search->positionsLeft(), search->maxDepth() + 1)});
    if (!o->left.empty() && !writeLeft(*search, o->left)) return kExitError;
    return kExitOk;
}

Register reg(kName, "the coset explorer: distances of every cube of a coset of H'", kUsage, runCoset);

}  // namespace
}  // namespace tx::cli
