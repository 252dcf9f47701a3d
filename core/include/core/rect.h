#pragma once
// A rectangle of four 32-bit integers in screen pixels: left, top and size.
//
// A rectangle whose width or height is 0 or less is empty. Point tests treat
// the rectangle as half-open: X <= x < X + Width, Y <= y < Y + Height.

#include "core/vb_types.h"

namespace brumil::core {

class CRect {
public:
    Long X = 0;
    Long Y = 0;
    Long Width = 0;
    Long Height = 0;

    CRect() = default;
    CRect(Long x, Long y, Long width, Long height) : X(x), Y(y), Width(width), Height(height) {}

    void Create(Long x, Long y, Long width, Long height);
    void CreateCopy(const CRect& other) { *this = other; }
    // All four fields to 0.
    void Delete() { Create(0, 0, 0, 0); }

    // True when the width or the height is 0 (or negative).
    bool IsZero() const { return Width <= 0 || Height <= 0; }
    // True when all four fields are equal.
    bool RectCompare(const CRect& other) const;

    // Grows to the union with the given rectangle. An empty rectangle takes the
    // argument; an empty argument changes nothing.
    void Expand(Long x, Long y, Long width, Long height);
    void ExpandRect(const CRect& other) { Expand(other.X, other.Y, other.Width, other.Height); }
    // Shrinks to the intersection; no overlap leaves the empty rectangle 0,0,0,0.
    void TrimRect(const CRect& other);
    // Multiplies all four fields by the factor, rounding halves to even.
    void ScaleSize(double factor);
    // Grows by n on every side (shrinks for negative n).
    void ScaleExpand(Long n);

    bool PointIn(Long x, Long y) const;
    Long Right() const { return X + Width; }
    Long Bottom() const { return Y + Height; }

    friend bool operator==(const CRect& a, const CRect& b) { return a.RectCompare(b); }
};

}  // namespace brumil::core
