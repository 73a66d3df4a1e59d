// bench symmetry: whole enumerations of the symmetry search, every colour count and higher
// symmetry allowed, isomorphic cubes included, so that each count is the number of cubes
// with that symmetry shown in the group list.
#include "bench_symmetry.hpp"

#include <chrono>
#include <cstdio>
#include <string>

#include "command.hpp"
#include "numbers.hpp"
#include "cube/symmetry.hpp"
#include "searches/sy_search.hpp"

namespace tx::cli {

namespace {

// "A-B" or "A": rows of the group list, each a whole number 0..32, A <= B.
bool parseRows(const std::string& text, int& first, int& last) {
    const auto dash = text.find('-');
    const auto a = parseWholeNumber(std::string_view(text).substr(0, dash), 0, 32);
    const auto b = dash == std::string::npos ? a : parseWholeNumber(std::string_view(text).substr(dash + 1), 0, 32);
    if (!a || !b || *a > *b) return false;
    first = static_cast<int>(*a);
    last = static_cast<int>(*b);
    return true;
}

}  // namespace

int benchSymmetry(Args args) {
    int first = 0, last = 17;
    const std::string rows = takeOption(args, "--rows", "0-17");
    if (!parseRows(rows, first, last)) {
        std::fprintf(stderr, "tesserix-cli bench symmetry: --rows needs rows A-B, whole numbers with 0 <= A <= B <= 32, "
                             "not '%s'\n", rows.c_str());
        return kExitError;
    }
    if (!args.empty()) {
        std::fprintf(stderr, "tesserix-cli bench symmetry: unexpected argument %s\n", args.front().c_str());
        return kExitError;
    }
    using Clock = std::chrono::steady_clock;
    double total = 0;
    long long cubes = 0;
    for (int row = first; row <= last; ++row) {
        SymSearchOptions options;
        options.group = closeGroup(GroupMaskTable[row].mask, 0);
        options.exact = false;
        options.allowIsomorphs = true;
        options.colourCounts = 0b1111110;
        SySearch search(options);
        const auto t0 = Clock::now();
        search.run({});
        const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
        total += seconds;
        cubes += search.found();
        const auto& item = pointGroupItems()[row];
        std::printf("%2d %-16s %15lld cubes (list: %s)  %9.3f s\n", row, std::string(item.text).c_str(),
                    search.found(), std::string(item.cubes).c_str(), seconds);
        std::fflush(stdout);
    }
    std::printf("rows %d-%d: %lld cubes in %.3f s\n", first, last, cubes, total);
    return kExitOk;
}

}  // namespace tx::cli
