// Attack patterns 22 to 29 and 37: fast shots that home, leave trails or
// burst at the wall, with the flank and cross placements around the
// opponent.

#include "battle/shot_patterns.h"
#include "patterns_common.h"

namespace brumil::battle {
namespace patterns {
namespace {

using kit::Nearest;
namespace lib = platform::collision;

// The fast start every dash shares.
void SetDash(ShotRecord& r, const PatternFrame& f) {
    r.Speed = DashSpeed(f.p);
    r.Accel = 4;
    r.SpeedLimit = 50;
}

// The trail carriers of 23 to 25 and 37: a frame procedure and no timed one.
ShotRecord TrailCarrier(const PatternFrame& f, Long proc) {
    ShotRecord r = AtOwn(f);
    r.DrawKind = 16;
    r.ProcId = proc;
    r.NextProcId = 0;
    r.SpriteSlot = 9;
    r.WorkA = 2;
    r.SwitchAge = 15;
    r.Scale = 0;
    r.Size = 100;
    r.Group = -1;
    SetDash(r, f);
    return r;
}

// The homing shot that bursts at the wall.
void Emit22(const PatternFrame& f) {
    ShotRecord r = AtOwn(f);
    r.DrawKind = 16;
    r.ProcId = 67;
    r.SpriteSlot = 9;
    r.WorkA = 67;
    r.Scale = 0;
    r.Size = 100;
    r.Group = -1;
    r.Angle = f.aim + lib::ART(4096);
    SetDash(r, f);
    ShotAdd(f.player, r);
    kit::PlayShotSound(56, 1.0f, r.X);
}

// Shots placed on the line an eighth of a turn off the line to the
// opponent, all flying at the opponent from the point at its distance on
// that line. `shots` is 1 or 3, `spread` the range of the random distance.
void EmitFlank(const PatternFrame& f, Long proc, Long spread, Long base, Long shots) {
    ShotRecord r = TrailCarrier(f, proc);
    const Long ox = f.own.X;
    const Long oy = f.own.Y;
    const Long dx = f.opp.X - ox;
    const Long dy = f.opp.Y - oy;
    const double d = lib::ALT(dx, dy);
    const Long a = lib::AHT(dx, dy) + 512;
    const double ca = lib::ACT(a);
    const double sa = lib::AST(a);
    const Long qx = ox + Nearest(d * ca / 256.0);
    const Long qy = oy + Nearest(d * sa / 256.0);
    r.Angle = lib::AHT(f.opp.X - qx, f.opp.Y - qy);
    const Long rr = lib::ART(spread) + base;
    const double d2 = Nearest(rr * d / 256.0);
    r.X = ox + Nearest(d2 * ca / 256.0);
    r.Y = oy + Nearest(d2 * sa / 256.0);
    const Long p1x = r.X;
    const Long p1y = r.Y;
    ShotAdd(f.player, r);
    if (shots == 3) {
        const Long c = lib::ACT(a);
        const Long s = lib::AST(a);
        r.X = p1x + 160 * c;
        r.Y = p1y + 160 * s;
        ShotAdd(f.player, r);
        // The third shot steps 150, not 160, across y.
        r.X = p1x - 160 * c;
        r.Y = p1y - 150 * s;
        ShotAdd(f.player, r);
    }
    kit::PlayShotSound(9, 1.0f, r.X);
    kit::PlayShotSound(48, 0.9f, r.X);
}

// Two homing trails to either side of the aim.
void Emit26(const PatternFrame& f) {
    ShotRecord r = AtOwn(f);
    r.DrawKind = 16;
    r.ProcId = 62;
    r.SpriteSlot = 9;
    r.Scale = 0;
    r.Size = 100;
    r.Group = -1;
    SetDash(r, f);
    r.Angle = f.aim + lib::ART(2048);
    ShotAdd(f.player, r);
    r.Angle = f.aim - lib::ART(2048);
    ShotAdd(f.player, r);
    kit::PlayShotSound(21, 1.0f, r.X);
}

// The wall shots: 61 aims a beam from the wall, 59 bursts there.
ShotRecord WallShot(const PatternFrame& f, Long proc) {
    ShotRecord r = AtOwn(f);
    r.DrawKind = 16;
    r.ProcId = proc;
    r.DrawMode = 10;
    r.SpriteSlot = 9;
    r.Scale = 256;
    r.Size = 100;
    r.Speed = Nearest(1620.0 * f.p + 1620.0);
    r.Accel = 4;
    r.SpeedLimit = 50;
    return r;
}

void Emit27(const PatternFrame& f) {
    ShotRecord r = WallShot(f, 61);
    const Long n = Nearest(45.0 * f.p + 20.0);
    for (Long i = 0; i < n; ++i) {
        r.Angle = Nearest(static_cast<double>(i) * 4096.0 / n + f.own.AimAngle);
        ShotAdd(f.player, r);
    }
    kit::PlayShotSound(25, 1.0f, r.X);
}

void Emit28(const PatternFrame& f) {
    ShotRecord r = WallShot(f, 59);
    r.Angle = f.aim;
    ShotAdd(f.player, r);
    kit::PlayShotSound(25, 1.0f, r.X);
}

void Emit29(const PatternFrame& f) {
    ShotRecord r = WallShot(f, 59);
    for (Long i = 2; i <= 4; ++i) {
        r.Angle = f.own.AimAngle + lib::ART(4096);
        ShotAdd(f.player, r);
    }
    kit::PlayShotSound(25, 1.0f, r.X);
}

// Four catching trails in a cross around the own position.
void Emit37(const PatternFrame& f) {
    ShotRecord r = TrailCarrier(f, 66);
    const Long ox = f.own.X;
    const Long oy = f.own.Y;
    const Long dx = f.opp.X - ox;
    const Long dy = f.opp.Y - oy;
    const double d = lib::ALT(dx, dy);
    const Long b = lib::AHT(dx, dy);
    const Long a = b + 512;
    const Long qx = ox + Nearest(1.414 * d * lib::ACT(a) / 256.0);
    const Long qy = oy + Nearest(1.414 * d * lib::AST(a) / 256.0);
    const Long c = lib::AHT(f.opp.X - qx, f.opp.Y - qy);
    struct Arm {
        Long x, y, angle;
    };
    const Arm arms[4] = {
        {ox + 300 * lib::ACT(a), oy + 300 * lib::AST(a), c},
        {ox + 300 * lib::ACT(b - 512), oy + 300 * lib::AST(b - 512), c + 2048},
        {ox, oy, c + 1024},
        {ox + Nearest(1.414 * 300.0 * lib::ACT(b)), oy + Nearest(1.414 * 300.0 * lib::AST(b)),
         c + 3072},
    };
    for (const Arm& arm : arms) {
        r.X = arm.x;
        r.Y = arm.y;
        r.Angle = arm.angle;
        ShotAdd(f.player, r);
    }
    kit::PlayShotSound(9, 1.0f, r.X);
    kit::PlayShotSound(53, 0.9f, r.X);
}

}  // namespace
}  // namespace patterns

using patterns::PatternFrame;
using patterns::RunPattern;

void ShotPattern22(Long player) {
    RunPattern(22, player, patterns::Emit22);
}
void ShotPattern23(Long player) {
    RunPattern(23, player, [](const PatternFrame& f) { patterns::EmitFlank(f, 63, 32, 240, 1); });
}
void ShotPattern24(Long player) {
    RunPattern(24, player, [](const PatternFrame& f) { patterns::EmitFlank(f, 64, 256, 128, 1); });
}
void ShotPattern25(Long player) {
    RunPattern(25, player, [](const PatternFrame& f) { patterns::EmitFlank(f, 63, 32, 240, 3); });
}
void ShotPattern26(Long player) {
    RunPattern(26, player, patterns::Emit26);
}
void ShotPattern27(Long player) {
    RunPattern(27, player, patterns::Emit27);
}
void ShotPattern28(Long player) {
    RunPattern(28, player, patterns::Emit28);
}
void ShotPattern29(Long player) {
    RunPattern(29, player, patterns::Emit29);
}
void ShotPattern37(Long player) {
    RunPattern(37, player, patterns::Emit37);
}

}  // namespace brumil::battle
