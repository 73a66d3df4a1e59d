// bench partial: fixed partially defined cubes of each mode, each searched up to the first
// depth with a maneuver and one depth more, single-threaded; also the time and memory of the
// search's own tables. The node counts sign the search.
#include "bench_partial.hpp"

#include <chrono>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "cube/notation.hpp"
#include "numbers.hpp"
#include "searches/incomp_search.hpp"

namespace tx::cli {
namespace {

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

enum Keep : unsigned {
    kDCross = 1,      // the four D-layer edges
    kDCorners = 2,    // the four D-layer corners
    kMiddle = 4,      // the four middle-layer edges
    kUCorners = 8,    // the four U-layer corners
    kUEdges = 16,     // the four U-layer edges
    kUReference = 32  // the U-layer pieces by orientation only (reference marks on their U colour)
};

struct BenchCube {
    const char* name;
    const char* scramble;  // generates the whole cube from the solved one
    unsigned keep;         // its cubies that stay defined, wherever they stand
};

const BenchCube kCubes[] = {
    {"D-layer cross", "R2 D' F L' U2 B R D2 L F' U B2 D R' F2 U' L2 B' D F'", kDCross},
    {"first two layers", "L U F' D2 R' B U2 L' F R D'", kDCross | kDCorners | kMiddle},
    {"all corners", "F R' U2 B L D' R2 F' U L2 B' D", kDCorners | kUCorners},
    {"last layer orientation", "F U R U' R' F' R U R' U R U2 R'", kDCross | kDCorners | kMiddle | kUReference},
    {"corners and D layer", "R U2 B' L D R' F2 U'", kDCross | kDCorners | kUCorners},
};

// The scrambled cube with only the kept cubies defined.
FaceletCube benchCube(const BenchCube& b) {
    FaceletCube full;
    applyManeuver(full, b.scramble);
    const CubieCube c = full.toCubieCube();
    FaceletCube cube = full;
    cube.clear();
    auto keepCorner = [&](int k) { return (k >= 4 ? b.keep & kDCorners : b.keep & kUCorners) != 0; };
    auto keepEdge = [&](int k) {
        return ((k >= 8 ? b.keep & kMiddle : k >= 4 ? b.keep & kDCross : b.keep & kUEdges) != 0);
    };
    for (int p = 0; p < 8; ++p) {
        const auto& f = kCornerFacelet[p];
        if (keepCorner(c.corners[p].c))
            for (int j = 0; j < 3; ++j) cube.f[f[j]] = full.f[f[j]];
        else if (b.keep & kUReference && c.corners[p].c < 4)
            cube.f[f[c.corners[p].o]] = kReferenceMark;
    }
    for (int p = 0; p < 12; ++p) {
        const auto& f = kEdgeFacelet[p];
        if (keepEdge(c.edges[p].c))
            for (int j = 0; j < 2; ++j) cube.f[f[j]] = full.f[f[j]];
        else if (b.keep & kUReference && c.edges[p].c < 4)
            cube.f[f[c.edges[p].o]] = kReferenceMark;
    }
    return cube;
}

}  // namespace

int benchPartial(const TableSet& tables, Args args, bool slice) {
    constexpr int kCount = static_cast<int>(std::size(kCubes));
    const auto count = takeWholeOption(args, "bench", "--count", kCount, 1, kCount);
    if (!count) return kExitError;
    const auto t0 = Clock::now();
    const auto incomp = buildIncompTables(tables.coords, cornerTableOf(tables), slice);
    std::printf("partial-cube tables (%s): built in %.2f s, %zu bytes; the 8-corner table they share: %zu bytes\n",
                slice ? "slice moves" : "face turns", secondsSince(t0), incomp->bytes(),
                incomp->corners8->words.size() * sizeof(std::uint32_t));
    std::uint64_t signature = 0;
    for (int i = 0; i < *count; ++i) {
        const FaceletCube cube = benchCube(kCubes[i]);
        IncompOptions options;
        options.sliceMoves = slice;
        // The first depth with a maneuver, found beforehand; then the timed run to one depth more.
        int first = 0;
        IncompSearch(cube.toCubieCube(), options, incomp).run(40, [&](const IncompReport& r) {
            if (r.kind == IncompReport::Kind::Found) first = r.depth;
            return r.kind == IncompReport::Kind::Depth;
        });
        const auto t1 = Clock::now();
        IncompSearch search(cube.toCubieCube(), options, incomp);
        const std::size_t perSearch = search.plan().tableBytes();
        const int depth = first + 1;
        long long atFirst = 0, total = 0;
        search.run(depth, [&](const IncompReport& r) {
            if (r.kind == IncompReport::Kind::Found) {
                atFirst += r.depth == first;
                ++total;
            }
            return true;
        });
        const double s = secondsSince(t1);
        signature += search.nodes();
        std::printf("%-24s %-48s first depth %2d (%lld maneuvers), %lld to depth %d, %.2f s, nodes %llu, "
                    "per-search tables %zu bytes\n",
                    kCubes[i].name, incompModeMessage(search.mode()), first, atFirst, total, depth, s,
                    (unsigned long long)search.nodes(), perSearch);
        std::fflush(stdout);
    }
    std::printf("signature %llu nodes\n", (unsigned long long)signature);
    return kExitOk;
}

}  // namespace tx::cli
