#pragma once
// The kind procedures, ids 8 to 67, that the collision library calls back
// while it moves and tests the shot lists. Each takes (player, index, value):
// the record's owner, its index in that player's 950-record list and a word
// of the library that only the delegating procedures pass on. They keep no
// state; everything they do is written into the records, and the shots they
// make go into the owner's (sometimes the opponent's) pools, where a full
// pool drops them.
//
// Families: steering and fading (8, 9, 11, 13, 14, 15, 29, 39); bursts (10,
// 12, 16 to 20, 22 to 28, 30); beams, walls and trails (21, 31, 58 to 67);
// explosions (32 to 35, 37, 38, 41, 43, 45, 47, 50, 55, 57) and captures
// (36, 40, 42, 44, 46, 48, 49, 51 to 54, 56).

#include "battle/kind_table.h"
#include "battle/player_record.h"
#include "core/vb_types.h"

namespace brumil::battle {

// Steering and fading.
void Kind08Homing(Long player, Long index, Long value);
void Kind09FaceAway(Long player, Long index, Long value);
void Kind11FadeShrink(Long player, Long index, Long value);
void Kind13FadeShrinkSmall(Long player, Long index, Long value);
void Kind14FadeIn(Long player, Long index, Long value);
void Kind15Settle(Long player, Long index, Long value);
void Kind29Retarget(Long player, Long index, Long value);
void Kind39Restart(Long player, Long index, Long value);

// The homing turn of the trails: while Age < window, turn toward the
// target point by nearest((1 - Age / window) x AFT(Angle, aim)), clamped
// to +-limit. Nothing from Age = window on.
void FadingHomingStep(ShotRecord& record, Long targetX, Long targetY, Long window, Long limit);

// Bursts.
void Kind10EmitHoming(Long player, Long index, Long value);
void Kind12EmitStill(Long player, Long index, Long value);
void Kind16LineBurst(Long player, Long index, Long value);
void Kind17AimedLine(Long player, Long index, Long value);
void Kind18AimedPair(Long player, Long index, Long value);
void Kind19AimedFan(Long player, Long index, Long value);
void Kind20RotatingRing(Long player, Long index, Long value);
void Kind22Ring(Long player, Long index, Long value);
void Kind23SlowRing(Long player, Long index, Long value);
void Kind24SlowRing(Long player, Long index, Long value);
void Kind25SlowRing(Long player, Long index, Long value);
void Kind26AimedFan(Long player, Long index, Long value);
void Kind27Split(Long player, Long index, Long value);
void Kind28BackPair(Long player, Long index, Long value);
void Kind30CounterRing(Long player, Long index, Long value);

// Beams and walls.
void Kind21BeamRestart(Long player, Long index, Long value);
void Kind31CounterBeam(Long player, Long index, Long value);
void Kind58Beam(Long player, Long index, Long value);
void Kind59WallBurst(Long player, Long index, Long value);
void Kind60WallBeam(Long player, Long index, Long value);
void Kind61WallAimedBeam(Long player, Long index, Long value);

// Trails.
void Kind62HomingTrail(Long player, Long index, Long value);
void Kind63Trail(Long player, Long index, Long value);
void Kind64TrailRing(Long player, Long index, Long value);
void Kind65BouncingTrail(Long player, Long index, Long value);
void Kind66TrailBlast(Long player, Long index, Long value);
void Kind67HomingTrail(Long player, Long index, Long value);
// The wall burst of 67: nothing inside the field; outside, the record is put
// just beyond the edge it crossed, ends, and bursts into a spray and beams.
void Kind67WallBurst(Long player, Long index, Long value);

// Explosions.
void Kind32Flash(Long player, Long index, Long value);
void Kind33Field(Long player, Long index, Long value);
void Kind34Pulse(Long player, Long index, Long value);
void Kind35BlastScatter(Long player, Long index, Long value);
void Kind37BlastScatter(Long player, Long index, Long value);
void Kind38BlastGrey(Long player, Long index, Long value);
void Kind41BlastReturn(Long player, Long index, Long value);
void Kind43BlastReturn(Long player, Long index, Long value);
void Kind45BlastGrey(Long player, Long index, Long value);
void Kind47BlastDim(Long player, Long index, Long value);
void Kind50BlastSort(Long player, Long index, Long value);
void Kind55BlastCurve(Long player, Long index, Long value);
void Kind57BlastBeam(Long player, Long index, Long value);

// Captures: called for each record an explosion catches, with the record's
// owner.
void Kind36Scatter(Long player, Long index, Long value);
void Kind40Grey(Long player, Long index, Long value);
void Kind42Return(Long player, Long index, Long value);
void Kind44Return3(Long player, Long index, Long value);
void Kind46Grey(Long player, Long index, Long value);
void Kind48Dim(Long player, Long index, Long value);
void Kind49DimBurst(Long player, Long index, Long value);
void Kind51Hold(Long player, Long index, Long value);
void Kind52Take(Long player, Long index, Long value);
void Kind53DimStop(Long player, Long index, Long value);
void Kind54Stop(Long player, Long index, Long value);
void Kind56Curve(Long player, Long index, Long value);

// Registration of each family in the kind table.
void RegisterSteeringKinds(KindTable& table);
void RegisterBurstKinds(KindTable& table);
void RegisterBeamKinds(KindTable& table);
void RegisterTrailKinds(KindTable& table);
void RegisterExplosionKinds(KindTable& table);
void RegisterCaptureKinds(KindTable& table);

}  // namespace brumil::battle
