#include "core/rect.h"

#include <algorithm>
#include <cstdint>

namespace brumil::core {
namespace {

// Edges are computed in 64 bits so that rectangles near the ends of the 32-bit
// range do not overflow; results are clamped back.
Long Clamp64(std::int64_t v) {
    return static_cast<Long>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

void CRect::Create(Long x, Long y, Long width, Long height) {
    X = x;
    Y = y;
    Width = width;
    Height = height;
}

bool CRect::RectCompare(const CRect& other) const {
    return X == other.X && Y == other.Y && Width == other.Width && Height == other.Height;
}

void CRect::Expand(Long x, Long y, Long width, Long height) {
    if (width <= 0 || height <= 0) return;
    if (IsZero()) {
        Create(x, y, width, height);
        return;
    }
    const std::int64_t left = std::min<std::int64_t>(X, x);
    const std::int64_t top = std::min<std::int64_t>(Y, y);
    const std::int64_t right =
        std::max<std::int64_t>(std::int64_t{X} + Width, std::int64_t{x} + width);
    const std::int64_t bottom =
        std::max<std::int64_t>(std::int64_t{Y} + Height, std::int64_t{y} + height);
    Create(Clamp64(left), Clamp64(top), Clamp64(right - left), Clamp64(bottom - top));
}

void CRect::TrimRect(const CRect& other) {
    const std::int64_t left = std::max<std::int64_t>(X, other.X);
    const std::int64_t top = std::max<std::int64_t>(Y, other.Y);
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t{X} + Width, std::int64_t{other.X} + other.Width);
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t{Y} + Height, std::int64_t{other.Y} + other.Height);
    if (IsZero() || other.IsZero() || right <= left || bottom <= top) {
        Delete();
        return;
    }
    Create(Clamp64(left), Clamp64(top), Clamp64(right - left), Clamp64(bottom - top));
}

void CRect::ScaleSize(double factor) {
    Create(RoundToLong(X * factor), RoundToLong(Y * factor), RoundToLong(Width * factor),
           RoundToLong(Height * factor));
}

void CRect::ScaleExpand(Long n) {
    Create(Clamp64(std::int64_t{X} - n), Clamp64(std::int64_t{Y} - n),
           Clamp64(std::int64_t{Width} + 2 * std::int64_t{n}),
           Clamp64(std::int64_t{Height} + 2 * std::int64_t{n}));
}

bool CRect::PointIn(Long x, Long y) const {
    return !IsZero() && x >= X && y >= Y && std::int64_t{x} < std::int64_t{X} + Width &&
           std::int64_t{y} < std::int64_t{Y} + Height;
}

}  // namespace brumil::core
