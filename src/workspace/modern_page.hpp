#pragma once
// The cube list as a page for today's browsers: one self-contained HTML file (inline style
// and script, nothing fetched) that shows every entry's cube as an SVG picture in the current
// colour scheme, with its number, name and maneuver, and a small player that steps forward
// and back through the maneuver. The facelet colours of every step are computed here and
// written into the page, so its script only picks them. A URL fragment "#step=N" opens every
// player at step N.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/entry.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx {

// The fixed layout of the page, in CSS pixels: a header, then one row per entry with its
// picture at the row's top left. The picture is the list's own drawing with facelet size
// kModernFaceletSize, moved by kModernPicturePad inside its SVG.
struct ModernLayout {
    static constexpr int kHeaderHeight = 56;
    static constexpr int kRowHeight = 212;
    static constexpr int kRowPaddingTop = 8;
    static constexpr int kRowPaddingLeft = 16;
    static constexpr int kFaceletSize = 8;
    static constexpr int kPicturePad = 1;
    // Where the picture of the entry in row `row` (0-based) draws its facelets: page
    // coordinates of the picture geometry's origin.
    static PictureGeometry picture(int row);
};

// The moves of a maneuver text as the reader applies them, one per move letter: the letter
// with its suffixes, trimmed.
std::vector<std::string> maneuverTokens(std::string_view text);

// What the player shows at each step, before the first move and after each: for every facelet
// the index 0..6 of its colour in the scheme (6 for a facelet without a colour). Rotations and
// middle-layer turns move the centres, and the colours follow them.
using PlayerState = std::array<std::uint8_t, kFacelets>;
std::vector<PlayerState> playerStates(const FaceletCube& start, const std::vector<std::string>& tokens);

// The whole page for the entries in list order.
std::string modernHtmlPage(const std::vector<std::shared_ptr<Entry>>& entries, std::string_view title,
                           const ColorScheme& scheme);

}  // namespace tx
