#pragma once
// The player reset at match start: a cleared record and shot list, the start
// values by character and computer level, the computer opponent's parameters
// for a computer player, and the sprite tables filled by the texture loader.

#include <array>

#include "battle/b_game_option.h"
#include "battle/player_record.h"
#include "core/vb_types.h"

namespace brumil::battle {

inline constexpr Long kStartLife = 10;
inline constexpr Long kStartBlock = 120;
inline constexpr Long kMoveSpeed = 1080;
inline constexpr Long kMoveSpeedFast = 1440;  // character 2
inline constexpr Long kMoveSpeedSlow = 720;   // character 8

// Power by computer level: 1 -> 0, 2 -> 40 .. 6 -> 240; 0 for other levels.
Long PowerOfLevel(Long level);

// The computer opponent's nine parameters of one level; AiRadius is added to
// the player's HitRadius.
struct AiParameters {
    Long RadiusExtra, ScanStep, Horizon, Range, Sight, ButtonRate, StyleChange, StyleDefault,
        EvadeStyleDefault;
};
// Levels 1..6; nothing for other levels.
const AiParameters* AiParametersOfLevel(Long level);

// Resets player i (0 or 1) for a new match; also clears its virtual-key
// record and sets its device flag (True for a keyboard player).
void PlayerReset(const BGameOption& options, Long player);

}  // namespace brumil::battle
