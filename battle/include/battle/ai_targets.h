#pragma once
// Where the computer opponent wants to go next: a target point by its target
// style, an evasion point by its evasion style, and an escape point when a
// hit is close. Each writes (AiNextX, AiNextY) only when a candidate lies
// within the player's movement bounds; after kAiPointTries failed candidates
// nothing changes.
//
// Styles 0..10 name ranges of angles, seen from the player (A is the angle
// toward the opponent; all ranges are random offsets):
//   style  target                          evasion
//   0      stay (distance 0)               A + 0x400 .. + 0xC00
//   1      AimAngle - 0x400 .. + 0x400     AimAngle - 0x200 .. + 0x200
//   2      -0x200 .. 0x200                 same
//   3      0x600 .. 0xA00                  same
//   4      any angle                       same
//   5      A + 0x300 .. A + 0x500          same
//   6      A - 0x500 .. A - 0x300          same
//   7      A - 0x100 .. A + 0x100, 20..119 pixels away; evasion: angle only
//   8      A + 0x180 .. A + 0x280          same
//   9      A - 0x280 .. A - 0x180          same
//   10     A - 0x400 .. A + 0x400          same
// Distances are in pixels: Rnd(AiRange) + 20 for a target, + 30 for an
// evasion, capped at AiRange.

#include "battle/player_record.h"
#include "core/vb_types.h"

namespace brumil::battle {

inline constexpr Long kAiPointTries = 51;
inline constexpr Long kAiStyleCount = 11;

// A target point by AiStyle. Each try may change both styles (chance
// AiStyleChange in 1000): 60 in 100 back to their defaults, else both random.
void AiChooseTarget(PlayerRecord& own, const PlayerRecord& opponent);
// An evasion point by AiEvadeStyle; the styles change as above.
void AiChooseEvasion(PlayerRecord& own, const PlayerRecord& opponent);
// A point 50..149 pixels around a base point: the nearer x bound when the
// player is well inside, around the player when it is at an x bound, else
// the mirror of the player's x across the middle of the bounds.
void AiChooseEscape(PlayerRecord& own);

}  // namespace brumil::battle
