#pragma once
// The computer opponent's movement: a small state machine in the player
// record (AiState) that checks the current target and candidate points
// against a look-ahead of the opponent's shots, and the step toward the
// chosen target.
//
// States: 0 scan the threats (then 1); 1 check the path to the target, a
// slice of AiScanStep threats per step; 2 check the path to a candidate
// point (AiNextX, AiNextY) the same way before switching to it.

#include "battle/player_record.h"
#include "core/vb_types.h"
#include "framework/vkey.h"

namespace brumil::battle {

// A direction: each component -1, 0 or 1.
struct AiStep {
    Long X = 0;
    Long Y = 0;
};

// The direction from (x, y) toward the target for a player whose input is
// turned by its AimAngle: a component of (x - target) strictly inside
// -2 x speed .. 2 x speed counts as 0 (the dead zone that stops the player
// from dithering around the target); otherwise the component's sign times
// `sign`. Player 0 uses sign -1 and player 1 sign +1, which with player 1's
// half-turned aim makes both walk toward the target.
AiStep AiStepToward(Long sign, Long speed, Long x, Long y, Long targetX, Long targetY);

// The sign of AiStepToward for a player: -1 for player 0, +1 for player 1.
inline Long AiSign(Long player) {
    return player == 0 ? -1 : 1;
}

// One step of the state machine for player i with its own and its
// opponent's record; sets flags Up, Down, Left and Right from the step
// toward (AiTargetX, AiTargetY). AiRetarget counts down by one every step.
void AiMove(Long player, PlayerRecord& own, const PlayerRecord& opponent,
            framework::VKeyFlags& flags);

}  // namespace brumil::battle
