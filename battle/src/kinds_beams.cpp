// Beam and wall procedures. The beam procedures fire one beam into a second
// pool and send their record backwards for 200 more frames; the wall
// procedures wait, as a record's frame procedure, until it leaves the field,
// then fire once and give up their frame procedure.

#include "battle/shot_kinds.h"
#include "shot_kit.h"

namespace brumil::battle {
namespace {

using kit::Nearest;
namespace lib = platform::collision;

// The record backs off slowly and fades out over 200 frames.
void RestartBackwards(ShotRecord& r) {
    r.NextProcId = 0;
    r.SwitchAge = r.Age + 200;
    r.Group = 0;
    r.Accel = 0;
    r.SpeedLimit = 0;
    r.State = 1;
    r.Speed = -32;
    ShotSetMotion1(r, -2);
}

double BeamWidth(Long player) {
    return 24.0 * kit::PowerFactor(kit::Player(player)) + 24.0;
}

// m beams of width factor w into the owner's second pool, the first at
// aim + 0x400 + a random turn, each further one turned by a further one.
void AddRandomBeams(Long player, const ShotRecord& parent, Long m, double w) {
    const Long aim = kit::AimFrom(kit::Opponent(player), parent.X, parent.Y);
    const Long color = kit::ShotColor(kit::Player(player));
    Long angle = aim + 0x400;
    for (Long i = 0; i < m; ++i) {
        angle += lib::ART(4096);
        ShotAddPool2(player, kit::MakeBeam(parent.X, parent.Y, angle, w, color));
    }
}

// The common start of a wall procedure: true (and the frame procedure
// given up) once the record is outside the field.
bool LeavesField(ShotRecord& r) {
    if (!kit::OutsideField(r)) return false;
    r.ProcId = 0;
    return true;
}

}  // namespace

void Kind21BeamRestart(Long player, Long index, Long /*value*/) {
    const ShotRecord parent = kit::Shot(player, index);
    const Long aim = kit::AimFrom(kit::Opponent(player), parent.X, parent.Y);
    const Long color = kit::ShotColor(kit::Player(player));
    ShotAddPool2(player, kit::MakeBeam(parent.X, parent.Y, aim + 0x400, BeamWidth(player), color));
    kit::PlayShotSound(22, 0.9f, parent.X);
    ShotRecord& r = kit::Shot(player, index);
    r.Phase &= ~4;
    RestartBackwards(r);
}

void Kind31CounterBeam(Long player, Long index, Long /*value*/) {
    const ShotRecord parent = kit::Shot(player, index);
    const Long other = player ^ 1;
    const Long color = kit::ShotColor(kit::Player(other));
    const Long angle = kit::AimFrom(kit::Player(player), parent.X, parent.Y) + 0x400;
    ShotAddPool2(other, kit::MakeBeam(parent.X, parent.Y, angle, BeamWidth(player), color));
    kit::PlayShotSound(22, 0.9f, parent.X);
    ShotRecord& r = kit::Shot(player, index);
    r.Phase &= ~4;
    r.Color = color;
    RestartBackwards(r);
}

void Kind58Beam(Long player, Long index, Long value) {
    if ((index & 1) != 0) {
        Kind48Dim(player, index, value);
        return;
    }
    const ShotRecord parent = kit::Shot(player, index);
    const Long other = player ^ 1;
    const Long color = kit::ShotColor(kit::Player(other));
    // With no target set this measures from the field's corner (0, 0).
    const Long angle = lib::AHT(parent.TargetX - parent.X, parent.TargetY - parent.Y) + 0xC00;
    ShotAddPool2(other, kit::MakeBeam(parent.X, parent.Y, angle, BeamWidth(player), color));
    kit::PlayShotSound(22, 0.9f, parent.X);
    ShotRecord& r = kit::Shot(player, index);
    r.Phase = 0;
    r.Color = color;
    RestartBackwards(r);
}

void Kind59WallBurst(Long player, Long index, Long /*value*/) {
    if (!LeavesField(kit::Shot(player, index))) return;
    const ShotRecord parent = kit::Shot(player, index);
    const PlayerRecord& own = kit::Player(player);
    const double p = kit::PowerFactor(own);
    ShotRecord r;
    ShotRecordInit(r);
    r.X = parent.X;
    r.Y = parent.Y;
    r.Speed = 400;
    r.Accel = -30;
    r.SpeedLimit = 5;
    r.SpriteSlot = 1;
    r.DrawKind = 17;
    r.Color = kit::ShotColor(own);
    r.DrawMode = 10;
    kit::AddRing(player, r, Nearest(28.0 * p + 18.0), own.AimAngle);
    AddRandomBeams(player, parent, Nearest(5.0 * p + 4.0), 6.0 * p + 24.0);
    kit::PlayShotSound(14, 0.9f, parent.X);
    kit::PlayShotSound(65, 1.0f, parent.X);
}

void Kind60WallBeam(Long player, Long index, Long /*value*/) {
    if (!LeavesField(kit::Shot(player, index))) return;
    const ShotRecord parent = kit::Shot(player, index);
    const PlayerRecord& own = kit::Player(player);
    const double w = 6.0 * kit::PowerFactor(own) + 24.0;
    ShotAddPool2(player,
                 kit::MakeBeam(parent.X, parent.Y, parent.Angle - 0x400, w, kit::ShotColor(own)));
    kit::PlayShotSound(65, 0.9f, parent.X);
}

void Kind61WallAimedBeam(Long player, Long index, Long /*value*/) {
    if (!LeavesField(kit::Shot(player, index))) return;
    const ShotRecord parent = kit::Shot(player, index);
    const PlayerRecord& own = kit::Player(player);
    const double w = 8.0 * kit::PowerFactor(own) + 20.0;
    const Long aim = kit::AimFrom(kit::Opponent(player), parent.X, parent.Y);
    ShotAddPool2(player, kit::MakeBeam(parent.X, parent.Y, aim + 0x400, w, kit::ShotColor(own)));
    kit::PlayShotSound(13, 0.9f, parent.X);
}

void RegisterBeamKinds(KindTable& table) {
    table.Register(21, &Kind21BeamRestart);
    table.Register(31, &Kind31CounterBeam);
    table.Register(58, &Kind58Beam);
    table.Register(59, &Kind59WallBurst);
    table.Register(60, &Kind60WallBeam);
    table.Register(61, &Kind61WallAimedBeam);
}

}  // namespace brumil::battle
