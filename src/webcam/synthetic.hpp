#pragma once
// Pictures of cube faces as a camera would see them: stickers of realistic colours on a black
// body, centred on the webcam's squares, under uneven lighting, a colour cast and pixel noise.
// They stand in for a camera in the tests, in the test-pattern camera of the desktop program,
// and for photographs of the scan command.
#include <array>
#include <cstdint>
#include <vector>

#include "cube/facelet_cube.hpp"
#include "webcam/color.hpp"
#include "webcam/frame.hpp"

namespace tx {

struct StickerRgb {
    double r, g, b;
};

// Sticker colours as a camera sees them in daylight, by class.
inline constexpr std::array<StickerRgb, kColorClasses> kStickerColor = {{
    {190, 30, 25},    // red
    {250, 105, 20},   // orange
    {20, 70, 180},    // blue
    {25, 165, 75},    // green
    {235, 225, 40},   // yellow
    {235, 235, 230},  // white
}};

// The usual colouring: U white, R red, F green, D yellow, L orange, B blue.
inline constexpr std::array<int, 6> kStandardFaceClass = {kWhite, kRed, kGreen, kYellow, kOrange, kBlue};

struct Lighting {
    double gradientX = 0;  // brightness changes by this fraction across the picture
    double gradientY = 0;
    StickerRgb cast{1, 1, 1};  // per-channel gain
    double noise = 0;          // standard deviation of the pixel noise
};

inline constexpr Lighting kEvenLight{};
// Darker at the left and at the top, warm light, noisy sensor.
inline constexpr Lighting kWarmUneven{0.35, 0.2, {1.06, 1.0, 0.88}, 9};
// Darker at the right, cool light, noisy sensor.
inline constexpr Lighting kCoolUneven{-0.3, 0.15, {0.95, 1.0, 1.07}, 7};

struct RgbImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // R, G, B bytes, lines without padding
    FrameView view() const { return {rgb.data(), width, height, 3 * width, PixelLayout::Rgb24}; }
};

// A face with the classes `seen` (row by row as the camera sees it; -1 leaves a sticker
// black), stickers centred on the webcam's squares at the default spacing, 5/16 of the height
// apart.
RgbImage renderFace(const std::array<int, 9>& seen, const Lighting& light, unsigned seed, int width = 640,
                    int height = 480);

// How the camera sees face `face` (its classes `net` in facelet order) while the cube is held
// for scanning: U and D turned, the side faces as they are.
std::array<int, 9> cameraView(char face, const std::array<int, 9>& net);

// The classes of face `face` of `cube`, faces coloured by faceClass, in facelet order.
std::array<int, 9> faceClasses(const FaceletCube& cube, char face, const std::array<int, 6>& faceClass);

}  // namespace tx
