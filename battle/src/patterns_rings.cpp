// Attack patterns 10 to 21: the bursting carriers and rings of the bombs.

#include "battle/shot_patterns.h"
#include "patterns_common.h"

namespace brumil::battle {
namespace patterns {
namespace {

using kit::Nearest;
namespace lib = platform::collision;

// The carrier fields shared by the patterns whose shots burst later.
void SetCarrier(ShotRecord& r, Long drawKind, Long next, Long slot, Long hitA) {
    r.DrawKind = drawKind;
    r.DrawMode = 10;
    r.NextProcId = next;
    r.SpriteSlot = slot;
    r.HitA = hitA;
    r.Group = 1;
}

// Eight slowing carriers of slow rings, turning with the frame count.
void Emit10(const PatternFrame& f) {
    ShotRecord r = AtOwn(f);
    SetCarrier(r, 16, 23, 6, 2);
    r.Scale = 288;
    r.Size = 30;
    r.Speed = Nearest(400.0 * f.p + 650.0);
    r.Accel = Nearest(-(20.0 * f.p + 20.0));
    r.SpeedLimit = 20;
    for (Long i = 0; i <= 7; ++i) {
        r.Angle = Nearest((i - 4) * 512.0 + f.aim + 70.0 * f.own.FrameCount);
        ShotAdd(f.player, r);
    }
    kit::PlayShotSound(2, 0.95f, r.X);
}

// A full circle of carriers of slow rings from the attack point.
void Emit11(const PatternFrame& f) {
    ShotRecord r = AtAttackPoint(f);
    SetCarrier(r, 16, 23, 6, 2);
    r.Scale = 288;
    const Long n = Nearest(12.0 * f.p + 12.0);
    const Long d = Nearest(4096.0 / n);
    r.Speed = Nearest(128.0 * f.p + 384.0);
    r.Accel = -8;
    r.SpeedLimit = 20;
    for (Long i = 0; i < n; ++i) {
        r.Angle = Nearest((i - n / 2.0) * d + f.own.AimAngle + 70.0 * f.own.FrameCount);
        ShotAdd(f.player, r);
    }
    kit::PlayShotSound(1, 0.95f, r.X);
}

// Random carriers of rings (procedure 22) around the spawn point.
void Emit12(const PatternFrame& f) {
    ShotRecord r = AtOwnSpawn(f);
    SetCarrier(r, 16, 22, 9, 2);
    r.Scale = 256;
    r.Accel = 1;
    r.SpeedLimit = 20;
    const Long last = Nearest(2.0 * f.p + 4.0);
    for (Long i = 2; i <= last; ++i) {
        r.Angle = f.own.AimAngle + lib::ART(4096);
        r.Speed = Nearest(f.p + lib::ART(64) + 64.0);
        ShotAdd(f.player, r);
    }
    kit::PlayShotSound(8, 0.85f, r.X);
}

// Random carriers of beams (procedure 21).
void Emit13(const PatternFrame& f) {
    ShotRecord r = AtOwnSpawn(f);
    SetCarrier(r, 16, 21, 6, 2);
    r.Scale = 192;
    const Long last = Nearest(6.0 * f.p + 4.0);
    for (Long i = 2; i <= last; ++i) {
        r.Angle = f.own.AimAngle + lib::ART(4096);
        const Long base = lib::ART(384);
        r.Speed = base + lib::ART(Nearest(256.0 * f.p)) + 128;
        ShotAdd(f.player, r);
    }
    kit::PlayShotSound(10, 0.85f, r.X);
}

// A circle of carriers of aimed fans (procedure 26), turned at random.
void Emit14(const PatternFrame& f) {
    ShotRecord r = AtOwnSpawn(f);
    SetCarrier(r, 16, 26, 0, 2);
    r.Scale = 256;
    r.Speed = 120;
    r.Accel = 1;
    r.SpeedLimit = 20;
    const Long n = Nearest(3.0 * f.p + 3.0);
    for (Long i = 0; i < n; ++i) {
        r.Angle =
            Nearest(static_cast<double>(i) * 4096.0 / n + f.own.AimAngle + lib::ART(2048) - 1024.0);
        ShotAdd(f.player, r);
    }
    kit::PlayShotSound(8, 0.85f, r.X);
}

// A circle of fan carriers from the attack point, turning with the frame.
void Emit15(const PatternFrame& f) {
    ShotRecord r = AtAttackSpawn(f);
    SetCarrier(r, 16, 26, 0, 2);
    r.Scale = 256;
    r.Speed = 480;
    r.Accel = 1;
    r.SpeedLimit = 20;
    const Long n = Nearest(f.p + 3.0);
    for (Long i = 0; i < n; ++i) {
        r.Angle = Nearest(static_cast<double>(i) * 4096.0 / n + f.own.AimAngle + 25.0 * f.F);
        ShotAdd(f.player, r);
    }
    kit::PlayShotSound(8, 0.85f, r.X);
}

// Rings of back-pair carriers (procedure 28), half a step off the aim so
// that no shot flies straight at the opponent.
void EmitOffsetRings(const PatternFrame& f, Long rings, double speedUnit, double divisor, Long n) {
    ShotRecord r = AtOwn(f);
    SetCarrier(r, 17, 28, 0, 2);
    const Long d = Nearest(4096.0 / n);
    for (Long j = 1; j <= rings; ++j) {
        r.Speed = Nearest(speedUnit * j / divisor);
        for (Long i = 0; i < n; ++i) {
            r.Angle = Nearest((i + 0.5) * d + f.aim);
            ShotAdd(f.player, r);
        }
    }
    PlayFanSounds(r.X);
}

void Emit16(const PatternFrame& f) {
    EmitOffsetRings(f, Nearest(2.0 * f.p + 1.0), 350.0, f.p + 1.0, Nearest(12.0 * f.p + 24.0));
}

void Emit17(const PatternFrame& f) {
    EmitOffsetRings(f, Nearest(4.0 * f.p + 4.0), 115.0, f.p / 2.0 + 1.0, Nearest(24.0 * f.p + 8.0));
}

// Rings of retargeting carriers (procedure 29), one shot straight at the
// opponent in each.
void EmitAimedRings(const PatternFrame& f, Long rings, double speedUnit, Long n) {
    ShotRecord r = AtOwn(f);
    SetCarrier(r, 17, 29, 2, 4);
    const Long d = Nearest(4096.0 / n);
    for (Long j = 1; j <= rings; ++j) {
        r.Speed = Nearest(speedUnit * j / (f.p + 1.0));
        for (Long i = 0; i < n; ++i) {
            r.Angle = i * d + f.aim;
            ShotAdd(f.player, r);
        }
    }
    PlayFanSounds(r.X);
}

void Emit18(const PatternFrame& f) {
    EmitAimedRings(f, Nearest(2.0 * f.p + 2.0), 250.0, Nearest(24.0 * f.p + 12.0));
}

void Emit19(const PatternFrame& f) {
    EmitAimedRings(f, 1, 450.0, Nearest(40.0 * f.p + 22.0));
}

// Spinning pairs in a circle turning against (20) or with (21) the frame.
void EmitSpinners(const PatternFrame& f, Long turn, Long firstLimit) {
    ShotRecord r = AtAttackSpawn(f);
    r.DrawKind = 17;
    r.DrawMode = 10;
    r.NextProcId = 2;
    r.SpriteSlot = 5;
    ShotSetMotion2(r, 16);
    r.Accel = -1;
    const Long n = Nearest(6.0 * f.p + 3.0);
    for (Long i = 0; i < n; ++i) {
        r.Angle = Nearest(static_cast<double>(i) * 4096.0 / n + f.own.AimAngle + turn * 15.0 * f.F);
        r.Speed = 480;
        r.SpeedLimit = firstLimit;
        ShotAdd(f.player, r);
        r.Speed = 800;
        r.SpeedLimit = 80;
        ShotAdd(f.player, r);
    }
    kit::PlayShotSound(8, 0.85f, r.X);
}

}  // namespace
}  // namespace patterns

using patterns::PatternFrame;
using patterns::RunPattern;

void ShotPattern10(Long player) {
    RunPattern(10, player, patterns::Emit10);
}
void ShotPattern11(Long player) {
    RunPattern(11, player, patterns::Emit11);
}
void ShotPattern12(Long player) {
    RunPattern(12, player, patterns::Emit12);
}
void ShotPattern13(Long player) {
    RunPattern(13, player, patterns::Emit13);
}
void ShotPattern14(Long player) {
    RunPattern(14, player, patterns::Emit14);
}
void ShotPattern15(Long player) {
    RunPattern(15, player, patterns::Emit15);
}
void ShotPattern16(Long player) {
    RunPattern(16, player, patterns::Emit16);
}
void ShotPattern17(Long player) {
    RunPattern(17, player, patterns::Emit17);
}
void ShotPattern18(Long player) {
    RunPattern(18, player, patterns::Emit18);
}
void ShotPattern19(Long player) {
    RunPattern(19, player, patterns::Emit19);
}
void ShotPattern20(Long player) {
    RunPattern(20, player, [](const PatternFrame& f) { patterns::EmitSpinners(f, -1, 40); });
}
void ShotPattern21(Long player) {
    RunPattern(21, player, [](const PatternFrame& f) { patterns::EmitSpinners(f, 1, 48); });
}

}  // namespace brumil::battle
