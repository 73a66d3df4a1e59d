#include "workspace/statistics.hpp"

#include <cstdio>
#include <numeric>

#include "cube/notation.hpp"
#include "cube/symmetry.hpp"

namespace tx {

namespace {

template <std::size_t N>
bool knownPieces(const std::array<Piece, N>& pieces) {
    for (const Piece& p : pieces)
        if (p.c >= N) return false;
    return true;
}

template <std::size_t N>
bool atHome(const std::array<Piece, N>& pieces) {
    for (std::size_t i = 0; i < N; ++i)
        if (pieces[i].c != i || pieces[i].o != 0) return false;
    return true;
}

void countInto(std::array<int, kLongestCounted + 1>& slots, int& longer, int moves) {
    if (moves > kLongestCounted)
        ++longer;
    else
        ++slots[static_cast<std::size_t>(moves)];
}

std::string lengthLine(int moves, char metricLetter, bool star, int count) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%2d%c%s: %6d", moves, metricLetter, star ? "*" : "", count);
    return buf;
}

std::string longerLine(char metricLetter, bool star, int count) {
    char buf[64];
    std::snprintf(buf, sizeof buf, ">%d%c%s: %6d", kLongestCounted, metricLetter, star ? "*" : "", count);
    return buf;
}

}  // namespace

bool hasAntisymmetry(const Entry& e) {
    const bool corners = e.cubieSubset != 2;
    const bool edges = e.cubieSubset != 1;
    const bool centres = e.cube.centersCount;
    const CubieCube c = e.cube.toCubieCube();
    // The products index pieces by cubie number: unknown pieces cannot take part.
    if ((corners && !knownPieces(c.corners)) || (edges && !knownPieces(c.edges))) return false;
    const auto& st = symmetries();
    for (int k = 0; k < kSymmetries; ++k) {
        const CubieCube& s = st.symCube[static_cast<std::size_t>(k)];
        const CubieCube& sInv = st.symCube[st.symInverse[static_cast<std::size_t>(k)]];
        CubieCube t = sInv;
        if (corners) {
            t.multiplyCorners(c);
            t.multiplyCorners(s);
            t.multiplyCorners(c);
            if (!atHome(t.corners)) continue;
        }
        if (edges) {
            t.multiplyEdges(c);
            t.multiplyEdges(s);
            t.multiplyEdges(c);
            if (!atHome(t.edges)) continue;
        }
        if (centres) {
            t.multiplyCenters(c);
            t.multiplyCenters(s);
            t.multiplyCenters(c);
            if (!atHome(t.centers)) continue;
        }
        return true;
    }
    return false;
}

// The lengths are counted from the texts as the list shows them: a slice or antislice pair
// written as one token counts two face turns.
ListStatistics countStatistics(const std::vector<std::shared_ptr<Entry>>& entries) {
    ListStatistics s;
    s.cubes = static_cast<int>(entries.size());
    for (const auto& e : entries) {
        if (e->hasOptimalManeuver())
            countInto(s.optimal, s.optimalLonger, countFaceTurns(e->optimalText));
        else
            countInto(s.twoPhase, s.twoPhaseLonger, countFaceTurns(e->solverText));
        if (hasAntisymmetry(*e)) ++s.antisymmetric;
    }
    return s;
}

std::vector<std::string> statisticsLines(const ListStatistics& s, char metricLetter) {
    const std::string rule(63, '-');
    const int optimalSum = std::accumulate(s.optimal.begin(), s.optimal.end(), 0) + s.optimalLonger;
    const int twoPhaseSum = std::accumulate(s.twoPhase.begin() + 1, s.twoPhase.end(), 0) + s.twoPhaseLonger;
    std::vector<std::string> lines;
    lines.push_back("Number of Cubes: " + std::to_string(s.cubes));
    lines.push_back("Cubes not solved yet: " + std::to_string(s.twoPhase[0]));
    lines.push_back(rule);
    lines.push_back("Cubes solved optimally: " + std::to_string(optimalSum));
    lines.emplace_back();
    for (int d = 0; d <= kLongestCounted; ++d)
        if (const int c = s.optimal[static_cast<std::size_t>(d)]) lines.push_back(lengthLine(d, metricLetter, true, c));
    if (s.optimalLonger) lines.push_back(longerLine(metricLetter, true, s.optimalLonger));
    lines.push_back(rule);
    lines.push_back("Cubes solved with Two-Phase-Algorithm: " + std::to_string(twoPhaseSum));
    lines.emplace_back();
    for (int d = 1; d <= kLongestCounted; ++d)
        if (const int c = s.twoPhase[static_cast<std::size_t>(d)]) lines.push_back(lengthLine(d, metricLetter, false, c));
    if (s.twoPhaseLonger) lines.push_back(longerLine(metricLetter, false, s.twoPhaseLonger));
    lines.push_back(rule);
    lines.push_back("Cubes with antisymmetry: " + std::to_string(s.antisymmetric));
    lines.push_back(rule);
    return lines;
}

}  // namespace tx
