#include <cstdint>
#include <utility>

#include "library_state.h"
#include "platform/collision/angle_math.h"
#include "platform/collision/shot_list.h"
#include "wrap_math.h"

namespace brumil::platform::collision {
namespace {

using detail::Selected;
using Wide = unsigned __int128;  // squares of 64-bit distances

Wide Square(std::int64_t v) {
    const Wide m = v < 0 ? static_cast<Wide>(-static_cast<__int128>(v)) : static_cast<Wide>(v);
    return m * m;
}

bool Outside(const ShotRecord& r, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom) {
    return r.X < left || r.X > right || r.Y < top || r.Y > bottom;
}

// Ends the record (mode 1) or marks it (mode 2); other modes leave it.
void Act(ShotRecord& r, std::int32_t mode, std::int32_t value) {
    if (mode == 1) r.State = kStateFree;
    if (mode == 2) r.Phase |= value;
}

// Distance of the centres at most radius + Size x min(Scale, 256) / 1024
// pixels, compared as 16 d^2 <= (1024 radius + Size x min(Scale, 256))^2 in
// 1/256 pixel.
bool CircleTouches(const ShotRecord& r, std::int32_t x, std::int32_t y, std::int32_t radius) {
    const std::int64_t scale = r.Scale < 256 ? r.Scale : 256;
    const std::int64_t reach = 1024 * static_cast<std::int64_t>(radius) + r.Size * scale;
    if (reach < 0) return false;
    const Wide d2 =
        Square(static_cast<std::int64_t>(r.X) - x) + Square(static_cast<std::int64_t>(r.Y) - y);
    return 16 * d2 <= Square(reach);
}

// The circle's centre at most radius pixels from the record's band. Working
// unit: 1/65536 pixel (positions x the 256-scaled cosine table).
bool BoxTouches(const ShotRecord& r, std::int32_t x, std::int32_t y, std::int32_t radius) {
    if (radius < 0) return false;
    const std::int32_t across = detail::WrapAdd(r.Angle, r.Spin);
    const std::int32_t up = detail::WrapAdd(across, -1024);
    const std::int64_t rx = static_cast<std::int64_t>(x) - r.X;
    const std::int64_t ry = static_cast<std::int64_t>(y) - r.Y;
    const std::int64_t a = rx * ACT(across) + ry * AST(across);
    const std::int64_t b = rx * ACT(up) + ry * AST(up);
    const auto along = [](std::int64_t v, std::int64_t lo, std::int64_t hi) {
        if (lo > hi) std::swap(lo, hi);
        return v < lo ? v - lo : (v > hi ? v - hi : 0);
    };
    const std::int64_t hitB = r.HitB, hitC = r.HitC;
    const std::int64_t pivotX = r.ScaleX, pivotY = r.ScaleY;
    const std::int64_t da = along(a, -pivotX * hitB, (256 - pivotX) * hitB);
    const std::int64_t db = along(b, -(256 - pivotY) * hitC, pivotY * hitC);
    return Square(da) + Square(db) <= Square(static_cast<std::int64_t>(radius) * 65536);
}

template <typename Touches>
std::int32_t HitTest(std::span<ShotRecord> pool, std::int32_t selector, std::int32_t mode,
                     Touches touches) {
    std::int32_t count = 0;
    for (ShotRecord& r : pool) {
        if (r.State == kStateFree || !Selected(r.Group, selector) || !CanHit(r)) continue;
        if (!touches(r)) continue;
        ++count;
        Act(r, mode, 0);
    }
    return count;
}

}  // namespace

bool CanHit(const ShotRecord& r) {
    if (r.Size <= 0 || r.Scale <= 0) return false;
    return !(r.Mode1 == kModeHitWindow && r.Age >= r.Value1);
}

std::int32_t PosHitWindow(std::span<ShotRecord> pool, std::int32_t left, std::int32_t top,
                          std::int32_t right, std::int32_t bottom, std::int32_t selector,
                          std::int32_t mode, std::int32_t value) {
    std::int32_t count = 0;
    for (ShotRecord& r : pool) {
        if (r.State == kStateFree || !Selected(r.Group, selector)) continue;
        if (!Outside(r, left, top, right, bottom)) continue;
        ++count;
        Act(r, mode, value);
    }
    return count;
}

std::int32_t PosHitWindowIn(std::span<const ShotRecord> pool, std::int32_t left, std::int32_t top,
                            std::int32_t right, std::int32_t bottom, std::int32_t selector,
                            std::int32_t /*mode*/, std::int32_t /*value*/) {
    std::int32_t count = 0;
    for (const ShotRecord& r : pool) {
        if (r.State == kStateFree || !Selected(r.Group, selector)) continue;
        if (!Outside(r, left, top, right, bottom)) ++count;
    }
    return count;
}

std::int32_t PosHitCircle(std::span<ShotRecord> pool, std::int32_t x, std::int32_t y,
                          std::int32_t radius, std::int32_t selector, std::int32_t mode,
                          std::int32_t /*mode2*/) {
    return HitTest(pool, selector, mode,
                   [&](const ShotRecord& r) { return CircleTouches(r, x, y, radius); });
}

std::int32_t PosHitBox(std::span<ShotRecord> pool, std::int32_t x, std::int32_t y,
                       std::int32_t radius, std::int32_t selector, std::int32_t mode,
                       std::int32_t /*mode2*/) {
    return HitTest(pool, selector, mode,
                   [&](const ShotRecord& r) { return BoxTouches(r, x, y, radius); });
}

std::int32_t PosHitAll(std::span<ShotRecord> pool, std::int32_t selector, std::int32_t mode,
                       std::int32_t value) {
    std::int32_t count = 0;
    for (ShotRecord& r : pool) {
        if (r.State == kStateFree || !Selected(r.Group, selector)) continue;
        ++count;
        Act(r, mode, value);
    }
    return count;
}

std::int32_t PosHitCircleCallBack(std::span<ShotRecord> pool, std::int32_t owner,
                                  std::int32_t firstIndex, std::int32_t x, std::int32_t y,
                                  std::int32_t radius, std::int32_t selector, std::int32_t /*mode*/,
                                  std::int32_t stamp, std::int32_t flag, std::int32_t procedure) {
    if (radius < 0) return 0;
    const Wide reach2 = Square(static_cast<std::int64_t>(radius) * 256);
    const detail::WalkGuard walk(pool);
    std::int32_t count = 0;
    for (std::size_t i = 0; i < pool.size(); ++i) {
        if (!walk.Pending(i)) continue;
        ShotRecord& r = pool[i];
        if (r.State == kStateFree || !Selected(r.Group, selector)) continue;
        if ((r.Phase & flag) != 0 || !(r.Serial < stamp)) continue;
        const Wide d2 =
            Square(static_cast<std::int64_t>(r.X) - x) + Square(static_cast<std::int64_t>(r.Y) - y);
        if (d2 > reach2) continue;
        r.Phase |= flag;
        ++count;
        // The procedure may add to and catch on this pool: r is not used after.
        detail::CallProcedure(procedure, owner,
                              detail::WrapAdd(firstIndex, static_cast<std::int32_t>(i)));
    }
    return count;
}

}  // namespace brumil::platform::collision
