#pragma once
// Walking a triangle edge down the pixel rows without a division per row.

#include <cstdint>

namespace brumil::platform::raster {

// Vertex positions on the sub-pixel grid.
struct Fixed {
    std::int64_t x, y;
};

// ceil(n / d) for d > 0.
inline std::int64_t CeilDiv(std::int64_t n, std::int64_t d) {
    return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}
// floor(n / d) for d > 0.
inline std::int64_t FloorDiv(std::int64_t n, std::int64_t d) {
    return -CeilDiv(-n, d);
}

// FloorDiv through a double division, whose quotient's floor is then off by
// at most one, and one correction by the remainder: exact for d > 0 and
// |n| below 2^50, and much cheaper than a 64-bit integer division.
inline std::int64_t FloorDivNear(std::int64_t n, std::int64_t d) {
    const double qd = double(n) / double(d);
    auto q = static_cast<std::int64_t>(qd);  // toward zero
    if (qd < double(q)) --q;
    const std::int64_t r = n - q * d;
    if (r < 0) {
        --q;
    } else if (r >= d) {
        ++q;
    }
    return q;
}

// First pixel column at or right of the edge a-b at the row whose centre is
// yc (in sub-pixel units, `sub` per pixel). Needs b.y > a.y.
inline std::int64_t EdgeCeil(const Fixed& a, const Fixed& b, std::int64_t yc, std::int64_t sub) {
    const std::int64_t dy = b.y - a.y;
    const std::int64_t num = a.x * dy + (b.x - a.x) * (yc - a.y);
    return CeilDiv(num, dy * sub);
}

// EdgeCeil for consecutive rows: the quotient and remainder are carried from
// row to row, so a row costs two additions and a comparison.
class EdgeWalker {
public:
    // Positions the walker at the row centred on yc. Needs b.y > a.y and
    // the guard band's sizes (every product below 2^50).
    void Start(const Fixed& a, const Fixed& b, std::int64_t yc, std::int64_t sub) {
        const std::int64_t dy = b.y - a.y;
        d_ = dy * sub;
        const std::int64_t num = a.x * dy + (b.x - a.x) * (yc - a.y);
        q_ = -FloorDivNear(-num, d_);
        r_ = q_ * d_ - num;  // num = q * d - r, 0 <= r < d
        const std::int64_t step = (b.x - a.x) * sub;
        stepQ_ = FloorDivNear(step, d_);
        stepR_ = step - stepQ_ * d_;  // 0 <= stepR < d
    }
    std::int64_t X() const { return q_; }
    // Moves to the next row down.
    void Next() {
        q_ += stepQ_;
        r_ -= stepR_;
        // Without a branch, which the slopes of small triangles would make
        // unpredictable: borrow is -1 when the remainder went below zero.
        const std::int64_t borrow = r_ >> 63;
        r_ += d_ & borrow;
        q_ -= borrow;
    }

    // Two walkers of one edge at one row are equal, however started.
    bool operator==(const EdgeWalker&) const = default;

private:
    std::int64_t d_ = 1, q_ = 0, r_ = 0, stepQ_ = 0, stepR_ = 0;
};

}  // namespace brumil::platform::raster
