#include "searches/pat_search.hpp"

#include <algorithm>

namespace tx {

namespace {

const std::vector<int> kCornerCells = {0, 2, 4, 6, 8};
const std::vector<int> kAllCells = {0, 1, 2, 3, 4, 5, 6, 7, 8};

template <std::size_t N>
bool evenPermutation(const std::array<std::uint8_t, N>& p) {
    int n = 0;
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = i + 1; j < N; ++j) n += p[i] > p[j];
    return n % 2 == 0;
}

}  // namespace

PatternSet::PatternSet() {
    for (auto& row : rows) row.fill(kClearCell);
    for (auto& row : faces) row.fill(true);
}

bool PatternSet::rowEmpty(int r) const {
    return std::all_of(rows[r].begin(), rows[r].end(), [](std::uint8_t v) { return v == kClearCell; });
}

std::array<PatternCells, 8> patternVariants(const PatternCells& cells) {
    static constexpr int kTurn[9] = {6, 3, 0, 7, 4, 1, 8, 5, 2};    // new[k] = old[kTurn[k]]
    static constexpr int kMirror[9] = {2, 1, 0, 5, 4, 3, 8, 7, 6};
    std::array<PatternCells, 8> v{};
    v[0] = cells;
    for (int i = 1; i < 4; ++i)
        for (int k = 0; k < 9; ++k) v[i][k] = v[i - 1][kTurn[k]];
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 9; ++k) v[i + 4][k] = v[i][kMirror[k]];
    return v;
}

bool patternFits(const std::uint8_t* face, const PatternCells& variant, const std::vector<int>& cells) {
    std::array<std::uint8_t, 6> valueOf;
    std::array<std::uint8_t, 7> colourOf;
    valueOf.fill(0xFF);
    colourOf.fill(0xFF);
    for (int k : cells) {
        const std::uint8_t c = face[k];
        if (c >= 6) continue;  // undefined
        const std::uint8_t v = variant[k];
        if (valueOf[c] == 0xFF && colourOf[v] == 0xFF) {
            valueOf[c] = v;
            colourOf[v] = c;
        } else if (valueOf[c] != v || colourOf[v] != c) {
            return false;
        }
    }
    return true;
}

PatSearch::PatSearch(const PatternSet& patterns) : patterns_(patterns) {
    for (int r = 0; r < kPatternRows; ++r) {
        if (patterns_.rowEmpty(r)) continue;  // an empty row takes part for no face
        for (const auto& variant : patternVariants(patterns_.rows[r]))
            for (int f = 0; f < 6; ++f) {
                auto& list = faceVariants_[f];
                if (patterns_.faces[r][f] && std::find(list.begin(), list.end(), variant) == list.end())
                    list.push_back(variant);
            }
    }
}

// The thread runs this object's search: it ends before the members it reads.
PatSearch::~PatSearch() {
    requestStop();
    join();
}

void PatSearch::search() {
    FaceletCube empty;
    empty.clear();
    facelets_ = empty.f;
    cornerUsed_.fill(false);
    edgeUsed_.fill(false);
    cornerStep(0);
}

bool PatSearch::faceFits(int face, const std::vector<int>& cells) const {
    const std::uint8_t* facelets = facelets_.data() + 9 * face;
    for (const auto& variant : faceVariants_[face])
        if (patternFits(facelets, variant, cells)) return true;
    return false;
}

void PatSearch::cornerStep(int d) {
    if (stopRequested()) return;
    takeTurn();
    for (int c = 0; c < 8; ++c) {
        if (cornerUsed_[c]) continue;
        cornerUsed_[c] = true;
        cornerAt_[d] = std::uint8_t(c);
        for (int o = 0; o < 3 && !stopRequested(); ++o) {
            writeCorner(facelets_, d, c, o);
            bool fits = true;
            for (int s = 0; s < 3 && fits; ++s) fits = faceFits(kCornerFacelet[d][s] / 9, kCornerCells);
            if (!fits) continue;
            if (d < 7) {
                cornerStep(d + 1);
            } else {
                FaceletCube cube;
                cube.f = facelets_;
                if (cube.cornerTwistValid()) edgeStep(0);
            }
        }
        cornerUsed_[c] = false;
        clearCorner(facelets_, d);
    }
}

void PatSearch::edgeStep(int d) {
    if (stopRequested()) return;
    for (int e = 0; e < 12; ++e) {
        if (edgeUsed_[e]) continue;
        edgeUsed_[e] = true;
        edgeAt_[d] = std::uint8_t(e);
        for (int o = 0; o < 2 && !stopRequested(); ++o) {
            writeEdge(facelets_, d, e, o);
            if (!faceFits(kEdgeFacelet[d][0] / 9, kAllCells) || !faceFits(kEdgeFacelet[d][1] / 9, kAllCells))
                continue;
            if (patterns_.continuous && !edgeContinuous(facelets_, d)) continue;
            if (d < 11)
                edgeStep(d + 1);
            else
                accept();
        }
        edgeUsed_[e] = false;
        clearEdge(facelets_, d);
    }
}

void PatSearch::accept() {
    FaceletCube cube;
    cube.f = facelets_;
    if (!cube.edgeFlipValid()) return;
    if (evenPermutation(cornerAt_) != evenPermutation(edgeAt_)) return;
    deliver(cube);
}

}  // namespace tx
