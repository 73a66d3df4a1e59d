#pragma once
// Synthetic camera pictures of cube faces: stickers of realistic colours on a black body, in the
// webcam's 3 x 3 grid, under uneven lighting, a colour cast and pixel noise.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "cube/facelet_cube.hpp"
#include "webcam/color.hpp"
#include "webcam/frame.hpp"
#include "webcam/webcam.hpp"

namespace tx::testing {

struct Rgb {
    double r, g, b;
};

// Sticker colours as a camera sees them in daylight, by class.
inline constexpr std::array<Rgb, 6> kStickerColor = {{
    {190, 30, 25},    // red
    {250, 105, 20},   // orange
    {20, 70, 180},    // blue
    {25, 165, 75},    // green
    {235, 225, 40},   // yellow
    {235, 235, 230},  // white
}};

struct Lighting {
    double gradientX = 0;  // brightness changes by this fraction across the picture
    double gradientY = 0;
    Rgb cast{1, 1, 1};     // per-channel gain
    double noise = 0;      // standard deviation of the pixel noise
};

inline const Lighting kEvenLight{};
// Darker at the left and at the top, warm light, noisy sensor.
inline const Lighting kWarmUneven{0.35, 0.2, {1.06, 1.0, 0.88}, 9};
// Darker at the right, cool light, noisy sensor.
inline const Lighting kCoolUneven{-0.3, 0.15, {0.95, 1.0, 1.07}, 7};

struct Image {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    FrameView view() const { return {rgb.data(), width, height, 3 * width, PixelLayout::Rgb24}; }
};

// A face with the classes `seen` (row by row as the camera sees it), stickers centred on the
// webcam's squares at the default spacing, 5/16 of the height apart.
inline Image renderFace(const std::array<int, 9>& seen, const Lighting& light, unsigned seed, int width = 640,
                        int height = 480) {
    Image img{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(3 * width * height))};
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0, light.noise > 0 ? light.noise : 1);
    const int u = height / 16, pitch = 5 * u, half = pitch / 2 - u / 4;  // black gaps between stickers
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb c{12, 12, 14};  // the cube's black body and the background
            const int dx = x - width / 2 + pitch + pitch / 2, dy = y - height / 2 + pitch + pitch / 2;
            if (dx >= 0 && dy >= 0 && dx < 3 * pitch && dy < 3 * pitch) {
                const int column = dx / pitch, row = dy / pitch;
                const int cx = dx - column * pitch - pitch / 2, cy = dy - row * pitch - pitch / 2;
                const int cls = seen[static_cast<std::size_t>(3 * row + column)];
                if (std::abs(cx) <= half && std::abs(cy) <= half && cls >= 0) c = kStickerColor[static_cast<std::size_t>(cls)];
            }
            const double gain = 1 + light.gradientX * (double(x) / width - 0.5) + light.gradientY * (double(y) / height - 0.5);
            const double channel[3] = {c.r * gain * light.cast.r, c.g * gain * light.cast.g, c.b * gain * light.cast.b};
            std::uint8_t* p = &img.rgb[static_cast<std::size_t>(3 * (y * width + x))];
            for (int k = 0; k < 3; ++k) {
                const double v = channel[k] + (light.noise > 0 ? noise(rng) : 0);
                p[k] = static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
            }
        }
    }
    return img;
}

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

// How the camera sees a face while the cube is held for scanning: the inverse of holdTurned.
inline std::array<int, 9> cameraView(char face, const std::array<int, 9>& net) {
    std::array<int, 9> seen{};
    std::array<int, 9> place{};
    for (int k = 0; k < 9; ++k) place[static_cast<std::size_t>(k)] = k;
    const auto from = holdTurned(face, place);  // facelet k comes from seen place from[k]
    for (int k = 0; k < 9; ++k) seen[static_cast<std::size_t>(from[static_cast<std::size_t>(k)])] = net[static_cast<std::size_t>(k)];
    return seen;
}

// Standard colouring: U white, R red, F green, D yellow, L orange, B blue.
inline constexpr std::array<int, 6> kStandardFaceClass = {kWhite, kRed, kGreen, kYellow, kOrange, kBlue};

}  // namespace tx::testing
