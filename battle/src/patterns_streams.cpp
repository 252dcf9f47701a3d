// Attack patterns 01 to 09: the normal shots, the fans of the charged shots
// and the beam sweeps.

#include "battle/shot_patterns.h"
#include "patterns_common.h"

namespace brumil::battle {
namespace patterns {
namespace {

using kit::Nearest;
namespace lib = platform::collision;

// Three directions around the aim, two slowing shots at each.
void Emit01(const PatternFrame& f) {
    ShotRecord r = AtOwn(f);
    r.DrawKind = 17;
    r.SpriteSlot = 12;
    r.Accel = -10;
    r.SpeedLimit = 50;
    for (Long i = 0; i <= 2; ++i) {
        r.Angle = Nearest(i / 2.0 * 640.0 + f.aim - 320.0);
        for (const Long speed : {1080, 780}) {
            r.Speed = speed;
            ShotAdd(f.player, r);
        }
    }
    kit::PlayShotSound(25, 0.9f, r.X);
}

// The fading-in shot that bursts into a line (procedure 16) after 30 frames.
void Emit02(const PatternFrame& f) {
    ShotRecord r = AtOwn(f);
    r.SpriteSlot = 12;
    r.DrawKind = 16;
    r.Scale = 1024;
    r.Alpha = 0;
    r.Value1 = 8;
    r.Value2 = 24;
    r.ProcId = 14;
    r.Angle = f.aim;
    r.Speed = 100;
    r.Accel = 0;
    r.SpeedLimit = 0;
    r.SwitchAge = 30;
    r.NextProcId = 16;
    ShotAdd(f.player, r);
    kit::PlayShotSound(21, 0.9f, r.X);
}

// A sweeping shot from the attack point that bursts toward where the
// opponent stood when it was fired (procedure 19 or 18).
void EmitSweep(const PatternFrame& f, Long next) {
    const PlayerRecord& o = f.own;
    ShotRecord r = AtAttackPoint(f);
    r.DrawKind = 16;
    r.ProcId = 14;
    r.NextProcId = next;
    r.SpriteSlot = 13;
    r.Scale = 768;
    r.Alpha = 0;
    r.Value1 = 8;
    r.Value2 = 24;
    r.SwitchAge = 30;
    r.TargetX = f.opp.X;
    r.TargetY = f.opp.Y;
    r.Angle = lib::AHT(o.AttackTargetX - o.AttackX, o.AttackTargetY - o.AttackY) - 25 * f.F + 2948;
    r.Speed = 900;
    ShotAdd(f.player, r);
    kit::PlayShotSound(21, 0.9f, r.X);
}

// Two fans a frame; a step that is not positive leaves its row out.
void Emit05(const PatternFrame& f) {
    ShotRecord r = AtOwn(f);
    r.DrawKind = 16;
    r.DrawMode = 10;
    r.SpriteSlot = 5;
    const double p = f.p;
    const Long first = Nearest(12.0 * p + 6.0);
    const Long last = Nearest(12.0 * p + 7.0);
    for (Long j = first; j <= last; ++j) {
        r.Speed = Nearest(70.0 * j / (p + 1.0));
        const Long s = Nearest((160.0 - j) / (p + 1.0));
        if (s <= 0) continue;
        const Long reach = s * j;
        for (Long k = -reach; k <= reach; k += s) {
            r.Angle = f.aim - k;
            ShotAdd(f.player, r);
        }
    }
    PlayFanSounds(r.X);
}

// A fan half a step off the line to the opponent, widening with the frame.
void Emit06(const PatternFrame& f) {
    ShotRecord r = AtAttackPoint(f);
    r.DrawKind = 17;
    r.DrawMode = 10;
    r.SpriteSlot = 12;
    const double p = f.p;
    r.Speed = Nearest(2400.0 / (p + 2.0));
    const Long s = Nearest(720.0 / (p + 2.0));
    const Long n = Nearest(f.F / 7.0 + 2.0);
    if (s > 0) {
        for (Long k = Nearest(-static_cast<double>(s) * (n + 0.5)); k <= s * n; k += s) {
            r.Angle = f.aim - k;
            ShotAdd(f.player, r);
        }
    }
    PlayFanSounds(r.X);
}

// A line of rotating-ring carriers at growing speeds.
void Emit07(const PatternFrame& f) {
    ShotRecord r = AtAttackPoint(f);
    r.DrawKind = 17;
    r.ProcId = 20;
    r.DrawMode = 10;
    r.SpriteSlot = 14;
    r.Angle = f.aim;
    const Long n = Nearest(2.0 * f.p + 1.0);
    for (Long i = 0; i < n; ++i) {
        r.Speed = 820 + 180 * i;
        ShotAdd(f.player, r);
    }
    PlayFanSounds(r.X);
}

// The beam record of patterns 08 and 09, lying across the aim.
ShotRecord SweepBeam(const PatternFrame& f) {
    ShotRecord r = AtOwn(f);
    r.DrawKind = 25;
    r.DrawMode = 1;
    r.SpriteSlot = 0;
    r.ScaleX = 128;
    r.ScaleY = 256;
    r.DrawW = 512;
    r.DrawH = 262144;
    r.HitA = 0;
    r.HitB = Nearest((24.0 * f.p + 24.0) * 256.0);
    r.HitC = 102400;
    r.Spin = 0;
    ShotSetKind(r, 75, 10, 0);
    r.Angle = f.aim + 1024;
    return r;
}

// Three parallel beams; this one plays its sound before placing them.
void Emit08(const PatternFrame& f) {
    ShotRecord r = SweepBeam(f);
    kit::PlayShotSound(22, 0.9f, r.X);
    const Long x = f.own.X;
    const Long y = f.own.Y;
    ShotAddPool2(f.player, r);
    for (const Long side : {f.aim + 1024, f.aim + 3072}) {
        r.X = x + 100 * lib::ACT(side);
        r.Y = y + 100 * lib::AST(side);
        ShotAddPool2(f.player, r);
    }
}

void Emit09(const PatternFrame& f) {
    ShotRecord r = SweepBeam(f);
    ShotAddPool2(f.player, r);
    kit::PlayShotSound(22, 0.9f, r.X);
}

}  // namespace
}  // namespace patterns

using patterns::RunPattern;

void ShotPattern01(Long player) {
    RunPattern(1, player, patterns::Emit01);
}
void ShotPattern02(Long player) {
    RunPattern(2, player, patterns::Emit02);
}
void ShotPattern03(Long player) {
    RunPattern(3, player, [](const patterns::PatternFrame& f) { patterns::EmitSweep(f, 19); });
}
void ShotPattern04(Long player) {
    RunPattern(4, player, [](const patterns::PatternFrame& f) { patterns::EmitSweep(f, 18); });
}
void ShotPattern05(Long player) {
    RunPattern(5, player, patterns::Emit05);
}
void ShotPattern06(Long player) {
    RunPattern(6, player, patterns::Emit06);
}
void ShotPattern07(Long player) {
    RunPattern(7, player, patterns::Emit07);
}
void ShotPattern08(Long player) {
    RunPattern(8, player, patterns::Emit08);
}
void ShotPattern09(Long player) {
    RunPattern(9, player, patterns::Emit09);
}

}  // namespace brumil::battle
