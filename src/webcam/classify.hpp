#pragma once
// What happens to the 54 measured facelets at transfer: the automatic classification of all
// of them together, and the hand-over that names faces by their centres' classes and yields
// a facelet cube for the editor and the list.
#include <array>
#include <cstdint>
#include <string>

#include "cube/facelet_cube.hpp"
#include "webcam/color.hpp"

namespace tx {

using CubeMeasures = std::array<ColorMeasure, kFacelets>;  // facelet order
using CubeClasses = std::array<int, kFacelets>;            // a class or kUnknownClass per facelet

// Automatic mode: separate red from orange by hue (HueSep) or by lightness (ValSep).
enum class RedOrangeSplit { Hue, Value };

inline constexpr const char* kWebcamCaption = "Web Cam";
inline constexpr const char* kTransferDoneText = "Done!";
inline constexpr const char* kUnresolvedColorsText = "Could not resolve the colors due to wrong input.";
inline constexpr const char* kPlaceWhiteText = "Please place a white facelet in the Web Cam center position!";
inline constexpr const char* kTooBrightText =
    "Could not uniquely identify the white facelets. Try to reduce the brightness!";

struct AutoClassification {
    CubeClasses classes{};
    std::string failure;  // empty on success: then every class holds exactly nine facelets
    bool ok() const { return failure.empty(); }
};

// Red and orange are the most chromatic 18 of the reddish hues, split in two nines; blue and
// green the 9 most chromatic of their hue ranges; the 18 left are yellow or white by their
// blue ratio.
AutoClassification classifyAutomatic(const CubeMeasures& measures, const HueThresholds& thresholds,
                                     RedOrangeSplit split);

struct HandOver {
    std::string failure;        // non-empty: nothing can be handed over
    FaceletCube cube;           // faces 0..5, undefined (6) where no face could be named
    std::array<std::uint32_t, 6> scheme{};  // display colour of each face: its centre's class colour
    bool complete() const { return failure.empty() && cube.isComplete(); }
    // "Done!" for a complete cube, else the failure or the unresolved-colours text.
    std::string resultText() const;
};

// Names each facelet by the face whose centre has its class (a cube without a white centre
// takes the centre opposite the yellow one as white), then runs the checking form of the
// consistency fix over every non-centre facelet.
HandOver handOver(const CubeClasses& classes);

}  // namespace tx
