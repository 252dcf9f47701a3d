// CQuadefects: the grid of tiles and the split rules that give each tile its
// motion.

#include <algorithm>
#include <cmath>

#include "core/math_helpers.h"
#include "frontend/quadefects.h"

namespace brumil::frontend {

namespace {

constexpr Single kTurn = 6.2831853f;

Long Sgn(Long v) {
    return (v > 0) - (v < 0);
}

void SetVelocity(QuadTile& tile, Single angle, Single speed) {
    tile.vx = std::cos(angle) * speed;
    tile.vy = -std::sin(angle) * speed;
}

}  // namespace

CQuadefects::CQuadefects(core::MathRandom& random) : random_(random) {}

Single CQuadefects::Rnd() {
    // 24 random bits: exactly representable, so never rounds up to 1.
    return static_cast<Single>(random_.Next() >> 8) * (1.0f / 16777216.0f);
}

void CQuadefects::ReadSurfaceSize() {
    const framework::DDSDescription d = framework::ReadDDSDescription(framework::gBackDDS());
    width_ = d.width;
    height_ = d.height;
}

template <typename Motion>
void CQuadefects::SetupTiles(Long size, bool ring, Motion motion) {
    size = std::clamp<Long>(size, 8, 48);
    edge_ = std::max<Long>((width_ / size + Sgn(width_ % size)) | Sgn(height_ % size), 2);
    step_ = edge_;
    endCount_ = RoundToLong(edge_ * 0.5);
    counter_ = 0;
    count_ = std::max<Long>((height_ / edge_ + 1) * (width_ / edge_ + 1), 1);
    tiles_.assign(static_cast<std::size_t>(count_) + 1, QuadTile{});
    const Long right = ring ? width_ - 1 : width_;
    const Long bottom = ring ? height_ - 1 : height_;
    Long i = 0;
    for (Long x = 0; x <= right; x += edge_) {
        for (Long y = 0; y <= bottom; y += step_) {
            QuadTile& t = tiles_[static_cast<std::size_t>(i)];
            t.srcX = x;
            t.srcY = y;
            t.x[0] = static_cast<Single>(x);
            t.y[0] = static_cast<Single>(y);
            motion(t, static_cast<Single>(x), static_cast<Single>(y));
            ++i;
        }
    }
    first_ = 0;
    last_ = i - 1;
}

void CQuadefects::SplitRgnStatic(Long size) {
    ReadSurfaceSize();
    SetupTiles(size, false, [](QuadTile&, Single, Single) {});
}

void CQuadefects::SplitRgnRand(Long size, Single speedBase, Single speedRange, Single accelBase,
                               Single accelRange) {
    ReadSurfaceSize();
    SetupTiles(size, false, [&](QuadTile& t, Single, Single) {
        const Single angle = Rnd() * kTurn;
        const Single speed = (Rnd() - 0.5f) * speedRange + speedBase;
        SetVelocity(t, angle, speed);
        t.accelAngle = Rnd() * kTurn;
        t.accel = (Rnd() - 0.5f) * accelRange + accelBase;
    });
}

void CQuadefects::SplitRgnAngle(Long size, Single speedBase, Single speedRange, Single angleBase,
                                Single angleRange, Single accelBase, Single accelRange,
                                Single accelAngleBase, Single accelAngleRange) {
    ReadSurfaceSize();
    SetupTiles(size, false, [&](QuadTile& t, Single, Single) {
        const Single speed = (Rnd() - 0.5f) * speedRange + speedBase;
        const Single angle = (Rnd() - 0.5f) * angleRange + angleBase;
        SetVelocity(t, angle, speed);
        t.accelAngle = (Rnd() - 0.5f) * accelAngleRange + accelAngleBase;
        t.accel = (Rnd() - 0.5f) * accelRange + accelBase;
    });
}

void CQuadefects::SplitRgnRing(Long size, Single speedBase, Single speedRange, Single centerX,
                               Single centerY, Single accelBase, Single accelRange,
                               Single accelAngleBase, Single accelAngleRange) {
    ReadSurfaceSize();
    // The centre needs the edge, which SetupTiles works out first.
    SetupTiles(size, true, [&](QuadTile& t, Single x, Single y) {
        const Single cx = static_cast<Single>(width_ - edge_) * centerX;
        const Single cy = static_cast<Single>(height_ - edge_) * centerY;
        const Single d = core::Math_Length(x, y, cx, cy);
        const Single whole = core::Math_Length(0.0f, 0.0f, static_cast<Single>(width_),
                                               static_cast<Single>(height_));
        // An empty surface has no distances: nothing moves.
        const Single share = whole > 0.0f ? d / whole : 0.0f;
        const Single h = core::Math_HomingRadian(x, y, cx, cy);
        const Single speed = -share * ((Rnd() - 0.5f) * speedRange + speedBase);
        SetVelocity(t, h, speed);
        t.accel = -share * ((Rnd() - 0.5f) * accelRange + accelBase);
        t.accelAngle = h + (Rnd() - 0.5f) * accelAngleRange + accelAngleBase;
    });
}

void CQuadefects::Acceleration(Single centerX, Single centerY, Single accelBase, Single accelRange,
                               Single angleScale, Single angleBase, Single angleRange) {
    const Single cx = static_cast<Single>(width_ - edge_) * centerX;
    const Single cy = static_cast<Single>(height_ - edge_) * centerY;
    const Single whole =
        core::Math_Length(0.0f, 0.0f, static_cast<Single>(width_), static_cast<Single>(height_));
    if (whole == 0.0f) return;
    for (Long i = first_; i <= last_; ++i) {
        QuadTile& t = tiles_[static_cast<std::size_t>(i)];
        const std::size_t s = static_cast<std::size_t>(t.current);
        const Single d = core::Math_Length(t.x[s], t.y[s], cx, cy);
        const Single h = core::Math_HomingRadian(t.x[s], t.y[s], cx, cy);
        t.accel = (d / whole) * ((Rnd() - 0.5f) * accelRange + accelBase);
        t.accelAngle = h * angleScale + (Rnd() - 0.5f) * angleRange + angleBase;
    }
}

}  // namespace brumil::frontend
