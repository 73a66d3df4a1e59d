#pragma once
// The pattern search: every cube whose six faces each show one of up to five 3 x 3 colour
// patterns, up to rotation and reflection of the pattern and up to a renaming of colours.
// Cubes are built cubie by cubie, corners first, and the faces a piece touches are tested
// after every piece.
#include <array>
#include <cstdint>
#include <vector>

#include "searches/piece_colors.hpp"
#include "searches/search_worker.hpp"

namespace tx {

constexpr int kPatternRows = 5;
constexpr int kPatternCells = 9;
constexpr std::uint8_t kClearCell = 6;  // grey, the value of a cleared cell

using PatternCells = std::array<std::uint8_t, kPatternCells>;  // palette values 1..6

struct PatternSet {
    // rows[r][k]: the value of cell k (column k % 3, line k / 3) of row r.
    std::array<PatternCells, kPatternRows> rows;
    // faces[r][f]: face f (U R F D L B) may show row r.
    std::array<std::array<bool, 6>, kPatternRows> faces;
    bool continuous = false;

    PatternSet();  // every cell cleared, every face allowed
    bool rowEmpty(int r) const;
};

// Variants 1..4 are the row and its successive quarter turns, 5..8 their mirror images.
std::array<PatternCells, 8> patternVariants(const PatternCells& cells);
// Whether the colours of the given cells of a face correspond one to one to the values of
// the variant; undefined facelets are left out.
bool patternFits(const std::uint8_t* face, const PatternCells& variant, const std::vector<int>& cells);

class PatSearch : public SearchWorker {
public:
    explicit PatSearch(const PatternSet& patterns);
    ~PatSearch() override;

protected:
    void search() override;

private:
    bool faceFits(int face, const std::vector<int>& cells) const;
    void cornerStep(int d);
    void edgeStep(int d);
    void accept();

    PatternSet patterns_;
    // The distinct variants each face may show, rows in order.
    std::array<std::vector<PatternCells>, 6> faceVariants_;
    Facelets facelets_{};
    std::array<std::uint8_t, 8> cornerAt_{};
    std::array<std::uint8_t, 12> edgeAt_{};
    std::array<bool, 8> cornerUsed_{};
    std::array<bool, 12> edgeUsed_{};
};

}  // namespace tx
