#pragma once
// Helpers for the recognition tests on top of the synthetic face pictures.
#include <array>

#include "cube/facelet_cube.hpp"
#include "webcam/synthetic.hpp"
#include "webcam/webcam.hpp"

namespace tx::testing {

using Image = RgbImage;
using tx::cameraView;
using tx::kCoolUneven;
using tx::kEvenLight;
using tx::kStandardFaceClass;
using tx::kStickerColor;
using tx::kWarmUneven;
using tx::Lighting;
using tx::renderFace;

// Sticker class of each facelet of a cube whose face f carries the class faceClass[f].
inline std::array<int, kFacelets> cubeClasses(const FaceletCube& cube, const std::array<int, 6>& faceClass) {
    std::array<int, kFacelets> out{};
    for (int i = 0; i < kFacelets; ++i) out[static_cast<std::size_t>(i)] = faceClass[cube.f[static_cast<std::size_t>(i)]];
    return out;
}

// The nine classes of face `face` as the facelet order lists them.
inline std::array<int, 9> netFace(const std::array<int, kFacelets>& classes, int face) {
    std::array<int, 9> out{};
    for (int k = 0; k < 9; ++k) out[static_cast<std::size_t>(k)] = classes[static_cast<std::size_t>(9 * face + k)];
    return out;
}

}  // namespace tx::testing
