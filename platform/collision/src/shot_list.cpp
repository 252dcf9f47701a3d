#include "platform/collision/shot_list.h"

#include "library_state.h"
#include "platform/collision/angle_math.h"
#include "wrap_math.h"

namespace brumil::platform::collision {
namespace {

using detail::CallProcedure;
using detail::WrapAdd;

// Change rule of record i (step 2 of PosReference). Every field is read
// again through the list after a procedure call.
void ApplyChangeRule(std::span<ShotRecord> list, std::size_t i, std::int32_t player) {
    ShotRecord& r = list[i];
    const auto index = static_cast<std::int32_t>(i);
    switch (r.Mode1) {
        case kModeMotion:
            if (r.Param1 == kMotionFade) {
                const std::int64_t alpha = static_cast<std::int64_t>(r.Alpha) + r.Value1;
                if (alpha <= 0) {
                    r.Alpha = 0;
                    r.State = kStateFree;
                } else {
                    r.Alpha = detail::SaturateTo32(alpha);
                }
            } else if (r.Param1 == kMotionSpin) {
                r.Spin = WrapAdd(r.Spin, r.Value1);
            }
            break;
        case kModeHitWindow:
            if (r.Age >= r.Value1 && r.Age < r.Value2) {
                // Equal steps: what is left of Alpha shared over the passes left.
                const std::int64_t left = static_cast<std::int64_t>(r.Value2) - r.Age;
                r.Alpha = static_cast<std::int32_t>(r.Alpha - r.Alpha / left);
            } else if (r.Age == r.Value2) {
                CallProcedure(r.Param1, player, index);
            }
            break;
        case kModeRepeatA:
        case kModeRepeatB:
            if (r.Value1 > 0 && r.Age % r.Value1 == 0) CallProcedure(r.Param1, player, index);
            break;
        default:
            break;
    }
}

}  // namespace

std::int32_t SearchFree(std::span<const ShotRecord> pool, std::int32_t cursor) {
    const auto size = static_cast<std::int64_t>(pool.size());
    if (size == 0) return -1;
    std::int64_t at = cursor % size;
    if (at < 0) at += size;
    for (std::int64_t k = 0; k < size; ++k, at = at + 1 == size ? 0 : at + 1) {
        const ShotRecord& r = pool[static_cast<std::size_t>(at)];
        if (r.State == kStateFree) {
            detail::ForgetPending(&r);
            return static_cast<std::int32_t>(at);
        }
    }
    return -1;
}

void PosMove(std::span<ShotRecord> list) {
    for (ShotRecord& r : list) {
        if (r.State == kStateFree) continue;
        if (r.Age < r.SpeedLimit) r.Speed = WrapAdd(r.Speed, r.Accel);
        if (r.MotionB == 0 || r.Age < r.MotionB) r.Angle = WrapAdd(r.Angle, r.MotionA);
        const std::int64_t speed = r.Speed;
        r.X = WrapAdd(r.X, detail::WrapTo32((speed * ACT(r.Angle)) >> 8));
        r.Y = WrapAdd(r.Y, detail::WrapTo32((speed * AST(r.Angle)) >> 8));
    }
}

void PosReference(std::span<ShotRecord> list, std::int32_t player) {
    const detail::WalkGuard walk(list);
    for (std::size_t i = 0; i < list.size(); ++i) {
        // Still the record this walk started with, and still live.
        const auto alive = [&] { return walk.Pending(i) && list[i].State != kStateFree; };
        if (!alive()) continue;
        const auto index = static_cast<std::int32_t>(i);
        CallProcedure(list[i].ProcId, player, index);
        if (!alive()) continue;
        ApplyChangeRule(list, i, player);
        if (!alive()) continue;
        const ShotRecord& r = list[i];
        const bool timed = (r.SwitchAge > 0 && r.Age == r.SwitchAge) || (r.Phase & kPhaseFireNow);
        if (timed) {
            if (r.NextProcId == 0) {
                list[i].State = kStateFree;
            } else {
                CallProcedure(r.NextProcId, player, index);
            }
        }
        if (!alive()) continue;
        list[i].Age = WrapAdd(list[i].Age, 1);
    }
}

}  // namespace brumil::platform::collision
