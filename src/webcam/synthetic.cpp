#include "webcam/synthetic.hpp"

#include <algorithm>
#include <cmath>
#include <random>

#include "webcam/webcam.hpp"

namespace tx {

RgbImage renderFace(const std::array<int, 9>& seen, const Lighting& light, unsigned seed, int width, int height) {
    RgbImage img{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(3 * width * height))};
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0, light.noise > 0 ? light.noise : 1);
    const int u = height / 16, pitch = 5 * u, half = pitch / 2 - u / 4;  // black gaps between stickers
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            StickerRgb c{12, 12, 14};  // the cube's black body and the background
            const int dx = x - width / 2 + pitch + pitch / 2, dy = y - height / 2 + pitch + pitch / 2;
            if (dx >= 0 && dy >= 0 && dx < 3 * pitch && dy < 3 * pitch) {
                const int column = dx / pitch, row = dy / pitch;
                const int cx = dx - column * pitch - pitch / 2, cy = dy - row * pitch - pitch / 2;
                const int cls = seen[static_cast<std::size_t>(3 * row + column)];
                if (std::abs(cx) <= half && std::abs(cy) <= half && cls >= 0 && cls < kColorClasses)
                    c = kStickerColor[static_cast<std::size_t>(cls)];
            }
            const double gain =
                1 + light.gradientX * (double(x) / width - 0.5) + light.gradientY * (double(y) / height - 0.5);
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

std::array<int, 9> cameraView(char face, const std::array<int, 9>& net) {
    std::array<int, 9> place{};
    for (int k = 0; k < 9; ++k) place[static_cast<std::size_t>(k)] = k;
    const auto from = holdTurned(face, place);  // facelet k is seen at place from[k]
    std::array<int, 9> seen{};
    for (int k = 0; k < 9; ++k) seen[static_cast<std::size_t>(from[static_cast<std::size_t>(k)])] = net[static_cast<std::size_t>(k)];
    return seen;
}

std::array<int, 9> faceClasses(const FaceletCube& cube, char face, const std::array<int, 6>& faceClass) {
    std::array<int, 9> out{};
    const int f = colorOfLetter(face);
    for (int k = 0; k < 9; ++k) {
        const int v = cube.f[static_cast<std::size_t>(9 * f + k)];
        out[static_cast<std::size_t>(k)] = v < 6 ? faceClass[static_cast<std::size_t>(v)] : kUnknownClass;
    }
    return out;
}

}  // namespace tx
