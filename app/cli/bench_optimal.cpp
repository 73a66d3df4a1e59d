// bench optimal: fixed positions solved by the optimal search; their node counts sum to a
// signature that changes only when the search changes. Five seeded random cubes follow (by
// default with the huge table only: without it each takes many minutes), with a signature of
// their own. Each position shows the wall-clock seconds, the processor seconds of all threads
// (the figure that a busy machine disturbs least), its nodes and nodes per second.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "bench_optimal.hpp"
#include "cube/facelet_cube.hpp"
#include "cube/random.hpp"
#include "json_output.hpp"
#include "numbers.hpp"
#include "output.hpp"
#include "solver/solve_sync.hpp"

namespace tx::cli {
namespace {

struct Position {
    std::string name;
    CubieCube cube;
};

CubieCube cubeOf(const char* maneuver) {
    FaceletCube f;
    applyManeuverField(f, maneuver);
    CubieCube c = f.toCubieCube();
    c.centersCount = false;
    return c;
}

std::vector<Position> fixedPositions() {
    static const char* const kPositions[][2] = {
        {"one move", "R"},
        {"symmetric: six-spot", "U D' R L' F B' U D'"},
        {"scramble A (15)", "R U F D L B R2 U2 F' D' L2 B' R' U' F2"},
        {"scramble B (15)", "F U' F2 D' B U R' F' L D' R' U' L U B'"},
        {"scramble C (16)", "D F2 L' B U2 R D' F L2 U B' R2 D L' F2 U'"},
        {"scramble D (17)", "R2 D' B' D F2 R F2 R2 U L' F2 U' B' R2 D B2 L"},
    };
    std::vector<Position> out;
    for (const auto& p : kPositions) out.push_back({p[0], cubeOf(p[1])});
    return out;
}

constexpr int kRandomCubes = 5;

// Random cubes, the same on every run; most random cubes need 17 or 18 moves.
std::vector<Position> randomPositions(int count) {
    MersenneTwister rng(20261220);
    std::vector<Position> out;
    for (int i = 0; i < count; ++i) {
        CubieCube c = randomCubie(rng);
        c.setCenterOri(0);
        c.centersCount = false;
        out.push_back({"random cube " + std::to_string(i + 1), c});
    }
    return out;
}

double processSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

struct Totals {
    std::uint64_t nodes = 0;
    double seconds = 0, cpu = 0;
};

// Solves the positions and prints a line each (and its depths); false once stdout failed.
bool runPositions(const TableSet& tables, const std::vector<Position>& positions, bool huge, int threads, bool json,
                  Totals& totals) {
    for (const Position& p : positions) {
        const auto t0 = std::chrono::steady_clock::now();
        const double cpu0 = processSeconds();
        SyncResult r = solveOptimal(tables, p.cube, false, huge, threads);
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const double cpu = processSeconds() - cpu0;
        totals.seconds += s;
        totals.cpu += cpu;
        totals.nodes += r.nodes;
        if (json) {
            printJsonLine({{"bench", "optimal"}, {"position", p.name}, {"length", r.length},
                           {"start", {r.startDistance[0], r.startDistance[1], r.startDistance[2]}},
                           {"seconds", s}, {"cpu_seconds", cpu}, {"threads", threads}, {"nodes", r.nodes},
                           {"depth_nodes", r.depthNodes}});
            continue;
        }
        std::printf("%-22s length %2d  start %d %d %d  %.2f s  %.2f Mnodes/s  cpu %.2f s  %.2f Mnodes/cpu-s  nodes %llu\n",
                    p.name.c_str(), r.length, r.startDistance[0], r.startDistance[1], r.startDistance[2], s,
                    r.nodes / std::max(s, 1e-9) / 1e6, cpu, r.nodes / std::max(cpu, 1e-9) / 1e6,
                    (unsigned long long)r.nodes);
        for (std::size_t d = 0; d < r.depthNodes.size(); ++d)
            std::printf("    depth %2zu: %llu\n", d + 1, (unsigned long long)r.depthNodes[d]);
        if (!flushOutput()) return false;
    }
    return true;
}

void printSignature(const char* what, const char* key, const Totals& t, bool json) {
    if (json) {
        printJsonLine({{key, t.nodes}, {"seconds", t.seconds}, {"cpu_seconds", t.cpu}});
        return;
    }
    std::printf("%s %llu nodes, %.2f s, %.2f Mnodes/s, cpu %.2f s\n", what, (unsigned long long)t.nodes, t.seconds,
                t.nodes / std::max(t.seconds, 1e-9) / 1e6, t.cpu);
}

}  // namespace

int benchOptimal(const TableSet& tables, Args args, bool huge, bool json) {
    const auto fixed = fixedPositions();
    const int kCount = static_cast<int>(fixed.size());
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const auto countOption = takeWholeOption(args, "bench", "--count", kCount, 0, kCount);
    const auto randomOption = takeWholeOption(args, "bench", "--random", huge ? kRandomCubes : 0, 0, kRandomCubes);
    const auto threadsOption = takeWholeOption(args, "bench", "--threads", 1, 1, 256);
    if (!countOption || !randomOption || !threadsOption) return kExitError;
    if (hasUnknownOption("bench", args)) return kExitError;
    const int threads = static_cast<int>(*threadsOption);
    if (!json && threads > 1) std::printf("threads %d (of %u cores)\n", threads, cores);
    Totals fixedTotals, randomTotals;
    const std::vector<Position> chosen(fixed.begin(), fixed.begin() + *countOption);
    if (!runPositions(tables, chosen, huge, threads, json, fixedTotals)) return kExitError;
    if (*countOption > 0) printSignature("signature", "signature", fixedTotals, json);
    if (*randomOption > 0) {
        if (!runPositions(tables, randomPositions(static_cast<int>(*randomOption)), huge, threads, json, randomTotals))
            return kExitError;
        printSignature("random cubes signature", "random_signature", randomTotals, json);
    }
    return flushOutput() ? kExitOk : kExitError;
}

}  // namespace tx::cli
