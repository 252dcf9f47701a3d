#pragma once
// The computer opponent's threat list: which of the opponent's ordinary
// shots are near enough to be worth a look-ahead.

#include "battle/player_record.h"
#include "core/vb_types.h"

namespace brumil::battle {

// The window around the player, in 1/256 pixel: 250 pixels either side in x;
// 200 pixels either side in y around a centre moved 100 pixels toward the
// opponent's side (up for player 0, down for player 1). Bounds inside.
inline constexpr Long kAiScanHalfWidth = 64000;
inline constexpr Long kAiScanHalfHeight = 0xC800;
inline constexpr Long kAiScanAhead = 0x6400;

// Rebuilds own.AiScanList with the indices, ascending, of the live records of
// the opponent's main pool inside the window; AiScanCount their number (at
// most 800, the pool's size), AiScanPos 0. Player i decides the window's
// side.
void AiScanThreats(Long player, PlayerRecord& own, const PlayerRecord& opponent);

}  // namespace brumil::battle
