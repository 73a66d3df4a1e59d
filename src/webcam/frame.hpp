#pragma once
// A video frame as the recognition sees it (pixels in memory, any of a few byte layouts), the
// 3 x 3 grid of squares in its middle and the measurement of each square.
#include <array>
#include <cstdint>

#include "webcam/color.hpp"

namespace tx {

enum class PixelLayout {
    Rgb24,   // R, G, B bytes
    Bgr24,   // B, G, R bytes
    Xrgb32,  // 32-bit words 0xXXRRGGBB in native (little-endian) order: B, G, R, X bytes
    Rgbx32,  // R, G, B, X bytes
};

struct FrameView {
    const std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes per line
    PixelLayout layout = PixelLayout::Rgb24;

    struct Rgb {
        int r = 0, g = 0, b = 0;
    };
    Rgb pixel(int x, int y) const;
};

// Spacing factors of the grid; the keys X and Y of the preview change them within these limits.
struct GridSpacing {
    static constexpr int kLimitX = 9;
    static constexpr int kLimitY = 7;
    int x = 5;
    int y = 5;
    bool operator==(const GridSpacing&) const = default;
    // One step up (or down), kept within the limits; answers whether it changed.
    bool stepX(int delta);
    bool stepY(int delta);
};

struct SquareRect {
    int x = 0, y = 0;  // top-left pixel
    int size = 0;      // width and height in pixels
    bool contains(int px, int py) const { return px >= x && px < x + size && py >= y && py < y + size; }
    bool operator==(const SquareRect&) const = default;
};

constexpr int kSquares = 9;  // row by row, as the face is seen
using FaceMeasures = std::array<ColorMeasure, kSquares>;

// The square in column i and row j (0..2) of a w x h frame. With u = (h / 2) div 8 and the
// frame's middle (w / 2, h / 2), square (i, j) starts at sx*i*u + w/2 - u*(sx + 1) + 1
// horizontally (likewise vertically) and is 2u - 1 pixels wide.
SquareRect squareRect(int width, int height, int column, int row, const GridSpacing& spacing);

// The square (0..8) containing frame pixel (x, y), or -1.
int squareAt(int width, int height, const GridSpacing& spacing, int x, int y);

// Averages each square's pixels (the part inside the frame) and measures the colour.
FaceMeasures measureSquares(const FrameView& frame, const GridSpacing& spacing);

}  // namespace tx
