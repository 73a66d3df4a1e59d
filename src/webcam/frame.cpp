#include "webcam/frame.hpp"

#include <algorithm>

namespace tx {

FrameView::Rgb FrameView::pixel(int x, int y) const {
    const std::uint8_t* line = data + static_cast<std::ptrdiff_t>(y) * stride;
    switch (layout) {
    case PixelLayout::Rgb24: {
        const std::uint8_t* p = line + 3 * x;
        return {p[0], p[1], p[2]};
    }
    case PixelLayout::Bgr24: {
        const std::uint8_t* p = line + 3 * x;
        return {p[2], p[1], p[0]};
    }
    case PixelLayout::Xrgb32: {
        const std::uint8_t* p = line + 4 * x;
        return {p[2], p[1], p[0]};
    }
    case PixelLayout::Rgbx32: {
        const std::uint8_t* p = line + 4 * x;
        return {p[0], p[1], p[2]};
    }
    }
    return {};
}

bool GridSpacing::stepX(int delta) {
    const int next = std::clamp(x + delta, -kLimitX, kLimitX);
    const bool changed = next != x;
    x = next;
    return changed;
}

bool GridSpacing::stepY(int delta) {
    const int next = std::clamp(y + delta, -kLimitY, kLimitY);
    const bool changed = next != y;
    y = next;
    return changed;
}

SquareRect squareRect(int width, int height, int column, int row, const GridSpacing& spacing) {
    const int u = (height / 2) / 8;
    SquareRect r;
    r.x = spacing.x * column * u + width / 2 - u * (spacing.x + 1) + 1;
    r.y = spacing.y * row * u + height / 2 - u * (spacing.y + 1) + 1;
    r.size = std::max(0, 2 * u - 1);
    return r;
}

int squareAt(int width, int height, const GridSpacing& spacing, int x, int y) {
    for (int k = 0; k < kSquares; ++k)
        if (squareRect(width, height, k % 3, k / 3, spacing).contains(x, y)) return k;
    return -1;
}

FaceMeasures measureSquares(const FrameView& frame, const GridSpacing& spacing) {
    FaceMeasures out{};
    for (int k = 0; k < kSquares; ++k) {
        const SquareRect sq = squareRect(frame.width, frame.height, k % 3, k / 3, spacing);
        const int x0 = std::max(sq.x, 0), x1 = std::min(sq.x + sq.size, frame.width);
        const int y0 = std::max(sq.y, 0), y1 = std::min(sq.y + sq.size, frame.height);
        long long sr = 0, sg = 0, sb = 0, n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const auto p = frame.pixel(x, y);
                sr += p.r;
                sg += p.g;
                sb += p.b;
            }
            n += std::max(0, x1 - x0);
        }
        if (n == 0) continue;
        auto average = [n](long long sum) { return static_cast<int>((sum + n / 2) / n); };
        out[static_cast<std::size_t>(k)] = measureColor(average(sr), average(sg), average(sb));
    }
    return out;
}

}  // namespace tx
