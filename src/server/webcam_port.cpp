#include "server/webcam_port.hpp"

#include <string_view>

namespace tx {

std::string webcamStatusText(const FaceletCube& cube) {
    constexpr std::string_view kLetters = "robgyw";
    std::string s;
    s.reserve(kFacelets);
    for (auto v : cube.f) s += v < kLetters.size() ? kLetters[v] : 'x';
    return s;
}

std::string NoCameraWebcam::scan(char face) {
    // Faces are scanned in the order B, L, F, R, U, D; the scanned face's classes are all
    // unknown, so the webcam cube keeps its undefined facelets.
    constexpr std::string_view kOrder = "BLFRUD";
    const auto at = kOrder.find(face);
    if (at != std::string_view::npos) face_ = kOrder[(at + 1) % kOrder.size()];
    return "Done!";
}

}  // namespace tx
