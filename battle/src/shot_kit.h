#pragma once
// What the attack patterns and the kind procedures share: the power factor,
// rounding, the field test, the sound of a shot and the pieces of records
// that several families build (rings, beams). Private to the battle library.

#include <span>

#include "battle/player_record.h"
#include "battle/shot_setters.h"
#include "core/vb_types.h"
#include "platform/collision/angle_math.h"

namespace brumil::battle::kit {

namespace lib = platform::collision;

// v to the nearest whole number, halves to the even one.
inline Long Nearest(double v) {
    return RoundToLong(v);
}

// A player's power factor: Power / 256 in single precision.
inline Single PowerFactor(const PlayerRecord& player) {
    return static_cast<Single>(player.Power) / 256.0f;
}

// The player's shot colour (the first of the stage colours).
inline Long ShotColor(const PlayerRecord& player) {
    return player.StageColors[0];
}

// The player record of index i (0 or 1) and of its opponent.
PlayerRecord& Player(Long i);
inline PlayerRecord& Opponent(Long i) {
    return Player(i ^ 1);
}

// Record `index` of the player's shot list. The list never moves, so the
// reference stays valid while shots are added; a slot freed earlier in the
// same call may be reused, which is why a dying parent is read from a copy.
inline ShotRecord& Shot(Long player, Long index) {
    return Player(player).Shots[static_cast<std::size_t>(index)];
}

// The battle's serial value, and the raise the special moves make.
Long CurrentSerial();
void RaiseSerial();

// The angle from (x, y) to the player's position.
inline Long AimFrom(const PlayerRecord& target, Long x, Long y) {
    return lib::AHT(target.X - x, target.Y - y);
}

// Plays effect n once at the volume, panned by the x it was made at.
void PlayShotSound(Long n, Single volume, Long x);

// The shot field of the wall and trail procedures: x -0x1000..0x29000 and
// y 0..0x1E000, bounds included.
inline bool OutsideField(const ShotRecord& r) {
    return r.X < -0x1000 || r.X > 0x29000 || r.Y < 0 || r.Y > 0x1E000;
}

// Puts n copies of `shot` into the player's main pool, copy j turned to
// nearest(j x 4096 / n + base). A count below 1 places nothing.
void AddRing(Long player, ShotRecord& shot, Long n, double base);

// A beam record at (x, y): the second-pool box that the library later runs
// through procedure 12; w is the width factor, the angle the beam's.
ShotRecord MakeBeam(Long x, Long y, Long angle, double w, Long color);

}  // namespace brumil::battle::kit
