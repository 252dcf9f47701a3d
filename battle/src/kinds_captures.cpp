// Capture procedures: what happens to a shot an explosion catches. They are
// called with the caught record's owner; "the other player" is the one who
// set the explosion off (except for the own-side catches of 50). A copy is
// the whole caught record with some words changed, put into a main pool;
// the procedures that keep the caught record give it the current serial and
// clear the catch flag, so the same explosion does not hand it on twice.

#include <initializer_list>
#include <utility>

#include "battle/shot_kinds.h"
#include "core/math_helpers.h"
#include "shot_kit.h"

namespace brumil::battle {
namespace {

using kit::Nearest;
namespace lib = platform::collision;

constexpr Long kCatchFlag = 16;
constexpr Long kDimColor = 0x404040;

bool IsEven(Long index) {
    return (index & 1) == 0;
}

// A copy starting afresh: age 0, no flags, live.
ShotRecord FreshCopy(const ShotRecord& caught, Long size) {
    ShotRecord c = caught;
    c.Age = 0;
    c.Phase = 0;
    c.State = 1;
    c.Size = size;
    return c;
}

void Stop(ShotRecord& r) {
    r.Speed = 0;
    r.Accel = 0;
    r.SpeedLimit = 0;
}

// Greys the record in place; it bursts through `next` at its timed age
// (into the catcher's ring or beam). A record without hits left ends.
void Grey(Long player, Long index, Long speedLimit, Long next) {
    ShotRecord& r = kit::Shot(player, index);
    r.Serial = kit::CurrentSerial();
    r.Phase = 0;
    r.Speed = 0;
    r.Accel = 1;
    r.SpeedLimit = speedLimit;
    r.Age = 0;
    const Long colors[] = {r.Color, 0x808080};
    Long grey = 0;
    core::Math_Color(0.5f, colors, grey);
    r.Color = grey;
    r.State = 1;
    r.Group = 1;
    r.NextProcId = next;
    r.Size = 60;
    if (r.HitA < 1) r.State = 0;
}

// Copies flying back at the caught record's owner for the other player;
// the caught record stays with a new serial.
void Return(Long player, Long index, std::initializer_list<std::pair<double, double>> speeds) {
    const ShotRecord caught = kit::Shot(player, index);
    const Long other = player ^ 1;
    ShotRecord c = FreshCopy(caught, 60);
    c.Accel = 0;
    c.SpeedLimit = 0;
    c.Color = kit::ShotColor(kit::Player(other));
    c.Angle = kit::AimFrom(kit::Player(player), caught.X, caught.Y);
    for (const auto& [factor, add] : speeds) {
        c.Speed = Nearest(caught.Speed * factor + add);
        ShotAdd(other, c);
    }
    ShotRecord& r = kit::Shot(player, index);
    r.Serial = kit::CurrentSerial();
    r.Phase = 0;
}

}  // namespace

void Kind36Scatter(Long player, Long index, Long /*value*/) {
    const ShotRecord caught = kit::Shot(player, index);
    const Long other = player ^ 1;
    ShotRecord c = FreshCopy(caught, 60);
    c.Angle = kit::Player(player).AimAngle + lib::ART(4096);
    c.Speed = lib::ART(300) + 300;
    c.Accel = -10;
    c.SpeedLimit = 20;
    c.Color = kit::ShotColor(kit::Player(other));
    ShotAdd(other, c);
    kit::Shot(player, index).State = 0;
}

void Kind40Grey(Long player, Long index, Long value) {
    if (!IsEven(index)) {
        Kind48Dim(player, index, value);
        return;
    }
    Grey(player, index, 400, 30);
}

void Kind46Grey(Long player, Long index, Long value) {
    if (!IsEven(index)) {
        Kind48Dim(player, index, value);
        return;
    }
    Grey(player, index, 175, 31);
}

void Kind42Return(Long player, Long index, Long /*value*/) {
    Return(player, index, {{0.5, 200.0}});
}

void Kind44Return3(Long player, Long index, Long /*value*/) {
    Return(player, index, {{0.25, 300.0}, {0.375, 500.0}, {0.5, 700.0}});
}

void Kind48Dim(Long player, Long index, Long /*value*/) {
    ShotRecord& r = kit::Shot(player, index);
    r.Color = kDimColor;
    r.State = 1;
    r.Size = 0;
    // Fades out by 4 a frame; ends 64 frames on at the latest.
    ShotSetTrigger(r, 1, 1, 1, 0, -4, 0);
    r.Serial = kit::CurrentSerial();
    r.Phase &= ~kCatchFlag;
    r.NextProcId = 0;
    r.SwitchAge = r.Age + 64;
}

void Kind49DimBurst(Long player, Long index, Long /*value*/) {
    ShotRecord& r = kit::Shot(player, index);
    r.Color = kDimColor;
    r.Alpha = 64;
    r.State = 1;
    r.Size = 0;
    r.Serial = kit::CurrentSerial();
    r.Phase &= ~kCatchFlag;
}

void Kind51Hold(Long player, Long index, Long /*value*/) {
    const ShotRecord caught = kit::Shot(player, index);
    ShotRecord c = FreshCopy(caught, 30);
    Stop(c);
    c.NextProcId = 12;
    c.Group = 1;
    ShotAdd(player, c);
    kit::Shot(player, index).State = 0;
}

void Kind52Take(Long player, Long index, Long /*value*/) {
    const ShotRecord caught = kit::Shot(player, index);
    ShotRecord c = FreshCopy(caught, 60);
    Stop(c);
    c.Group = 1;
    if (IsEven(index)) {
        const Long other = player ^ 1;
        c.Color = kit::ShotColor(kit::Player(other));
        ShotAdd(other, c);
    } else {
        ShotAdd(player, c);
    }
    kit::Shot(player, index).State = 0;
}

void Kind53DimStop(Long player, Long index, Long value) {
    Stop(kit::Shot(player, index));
    Kind48Dim(player, index, value);
}

void Kind54Stop(Long player, Long index, Long /*value*/) {
    const ShotRecord caught = kit::Shot(player, index);
    ShotRecord c = FreshCopy(caught, 30);
    Stop(c);
    // Held copies of plain shots carry no timed procedure and never fire.
    ShotAdd(player, c);
    kit::Shot(player, index).State = 0;
}

void Kind56Curve(Long player, Long index, Long value) {
    if (!IsEven(index)) {
        Kind53DimStop(player, index, value);
        return;
    }
    const ShotRecord caught = kit::Shot(player, index);
    const Long other = player ^ 1;
    ShotRecord c = FreshCopy(caught, 60);
    c.Serial = kit::CurrentSerial();
    c.Speed = 2160;
    c.MotionB = 20;
    c.Accel = 100;
    c.SpeedLimit = 10;
    c.ProcId = 60;
    const Long t = kit::AimFrom(kit::Player(other), caught.X, caught.Y);
    if ((index & 4) == 0) {
        c.Angle = t + 0x400;
        c.MotionA = -4;
        c.Color = kit::ShotColor(kit::Player(other));
        ShotAdd(other, c);
    } else {
        c.Angle = t - 0x400;
        c.MotionA = 4;
        ShotAdd(player, c);
    }
    kit::Shot(player, index).State = 0;
}

void RegisterCaptureKinds(KindTable& table) {
    table.Register(36, &Kind36Scatter);
    table.Register(40, &Kind40Grey);
    table.Register(42, &Kind42Return);
    table.Register(44, &Kind44Return3);
    table.Register(46, &Kind46Grey);
    table.Register(48, &Kind48Dim);
    table.Register(49, &Kind49DimBurst);
    table.Register(51, &Kind51Hold);
    table.Register(52, &Kind52Take);
    table.Register(53, &Kind53DimStop);
    table.Register(54, &Kind54Stop);
    table.Register(56, &Kind56Curve);
}

}  // namespace brumil::battle
