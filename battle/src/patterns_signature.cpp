// Attack patterns 30 to 36, 38 and 39: the signature moves and the lunatic
// arts. Each places one explosion object in the third pool; all but 37
// (a dash pattern) first raise the battle's serial value, so the object and
// every shot made after it carry the new serial and older shots can be told
// apart by the catches.

#include "battle/shot_patterns.h"
#include "patterns_common.h"

namespace brumil::battle {
namespace patterns {
namespace {

// One explosion object at the own position, aimed at the opponent.
void EmitExplosionObject(const PatternFrame& f, Long drawKind, Long proc, Long sound,
                         Single volume) {
    kit::RaiseSerial();
    ShotRecord r = AtOwn(f);
    r.DrawKind = drawKind;
    r.ProcId = proc;
    r.SpriteSlot = 0;
    r.Scale = 0;
    r.Group = -1;
    r.Angle = f.aim;
    ShotAddPool3(f.player, r);
    if (sound > 0) kit::PlayShotSound(sound, volume, r.X);
}

// The dash of 32: a boost and a moment of safety at its first frame, one
// object on each of its firing frames.
void Emit32(const PatternFrame& f) {
    const bool first = f.F == 1;
    if (first) {
        f.own.SpeedBoost = 10800;
        f.own.Invulnerable = 30;
    }
    EmitExplosionObject(f, 9, 37, first ? 71 : 0, 0.85f);
}

// The art's slow-moving flash.
void Emit39(const PatternFrame& f) {
    kit::RaiseSerial();
    ShotRecord r = AtOwn(f);
    r.DrawKind = 8;
    r.ProcId = 32;
    r.SpriteSlot = 0;
    r.Scale = 0;
    r.Group = -1;
    r.Angle = f.aim;
    r.Speed = 40;
    ShotAddPool3(f.player, r);
    kit::PlayShotSound(53, 0.8f, r.X);
}

// A signature pattern's object: its frame procedure and its sound.
template <Long kProc, Long kSound, int kVolumePercent>
void EmitObject(const PatternFrame& f) {
    EmitExplosionObject(f, 9, kProc, kSound, static_cast<Single>(kVolumePercent) / 100.0f);
}

}  // namespace
}  // namespace patterns

using patterns::EmitObject;
using patterns::RunPattern;

void ShotPattern30(Long player) {
    RunPattern(30, player, EmitObject<33, 49, 99>);
}
void ShotPattern31(Long player) {
    RunPattern(31, player, EmitObject<35, 71, 85>);
}
void ShotPattern32(Long player) {
    RunPattern(32, player, patterns::Emit32);
}
void ShotPattern33(Long player) {
    RunPattern(33, player, EmitObject<38, 57, 95>);
}
void ShotPattern34(Long player) {
    RunPattern(34, player, EmitObject<45, 57, 95>);
}
void ShotPattern35(Long player) {
    RunPattern(35, player, EmitObject<47, 72, 80>);
}
void ShotPattern36(Long player) {
    RunPattern(36, player, EmitObject<50, 72, 80>);
}
void ShotPattern38(Long player) {
    RunPattern(38, player, EmitObject<57, 57, 95>);
}
void ShotPattern39(Long player) {
    RunPattern(39, player, patterns::Emit39);
}

}  // namespace brumil::battle
