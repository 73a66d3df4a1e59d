#include "searches/coset_text.hpp"

#include <cstdio>
#include <ctime>

namespace tx {

namespace {

template <class... A>
std::string format(const char* pattern, A... args) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

using ull = unsigned long long;

// The positions first reached at depth i: entry i minus entry i - 1.
std::uint64_t countAt(const CosetTotals& totals, int i) {
    return totals[static_cast<std::size_t>(i)] - (i > 0 ? totals[static_cast<std::size_t>(i - 1)] : 0);
}

}  // namespace

std::string cosetDateTime(CosetTime t) {
    const std::time_t time = std::chrono::system_clock::to_time_t(t);
    std::tm local{};
    localtime_r(&time, &local);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    return buffer;
}

double hoursBetween(CosetTime from, CosetTime to) {
    return std::chrono::duration<double, std::ratio<3600>>(to - from).count();
}

std::vector<std::string> cosetStartLines(std::uint64_t cosetNumber, CosetTime start, std::uint16_t mask) {
    int n = 0;
    for (int s = 0; s < 16; ++s) n += mask >> s & 1;
    return {format("Search started for Coset %llu  %s (%d %s)", ull(cosetNumber), cosetDateTime(start).c_str(), n,
                   n == 1 ? "symmetry" : "symmetries"),
            ""};
}

std::string cosetDepthLine(int depth, std::uint64_t count) { return format("%2df: %10llu", depth, ull(count)); }

std::string cosetLeftLine(std::uint64_t left, int atLeast) {
    return format("%llu Cubes with at least %d moves left.", ull(left), atLeast);
}

std::vector<std::string> cosetEndLines(const CosetTotals& totals, std::uint64_t reached, int maxDepth, CosetTime now,
                                       double hours) {
    std::vector<std::string> lines;
    for (int i = 0; i <= maxDepth; ++i)
        if (totals[static_cast<std::size_t>(i)] > 0) lines.push_back(cosetDepthLine(i, countAt(totals, i)));
    lines.push_back(cosetLeftLine(kCosetPositions - reached, maxDepth + 1));
    lines.push_back("Search finished " + cosetDateTime(now));
    lines.push_back(format("Running time %4.4f hours.", hours));
    return lines;
}

std::vector<std::string> cosetStopLines(const CosetTotals& totals, std::uint64_t reached, Move firstMove,
                                        CosetTime now, double hours) {
    static const char* const kFaces[] = {"U", "R", "F", "D", "L", "B"};
    std::vector<std::string> lines{"Search stopped " + cosetDateTime(now), ""};
    for (int i = 0; i <= kCosetMaxDepth + 1; ++i) {
        const std::uint64_t entry = totals[static_cast<std::size_t>(i)];
        const std::uint64_t before = i > 0 ? totals[static_cast<std::size_t>(i - 1)] : 0;
        if (entry > 0) {
            const std::uint64_t count = countAt(totals, i);
            const std::uint64_t previous = i > 1 ? countAt(totals, i - 1) : 0;
            const double ratio = previous > 0 ? double(count) / double(previous) : 0.0;
            lines.push_back(format("%2df: %10llu  %6.2f", i, ull(count), ratio));
        } else if (before > 0) {
            // The depth in progress; the accented letter is part of the program's text.
            lines.push_back(format("%2df: %10llu (\xC3\xAD" "ncomplete)", i, ull(reached - before)));
        }
    }
    lines.push_back("");
    lines.push_back(format("%llu Cubes left.", ull(kCosetPositions - reached)));
    lines.push_back(format("Just searching %s%d ...", kFaces[firstMove.axis % 6], int(firstMove.power)));
    lines.push_back(format("%4.4f hours running.", hours));
    lines.push_back("");
    return lines;
}

std::string cosetProgressText(const CosetProgress& p) {
    return format("Depth %d: %llu positions reached, %.0f positions/s", p.depth, ull(p.reached),
                  p.positionsPerSecond);
}

}  // namespace tx
