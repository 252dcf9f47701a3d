#pragma once
// The computer opponent's decision for one logic step: the buttons by random
// tests against level-dependent rates, the lunatic art by a small chance that
// grows when life runs low, and the movement of AiMove. The flags go through
// UpdateVKey like a keyboard's, so the computer obeys the rules of a person.
//
// All draws come from CApi::RndDLL, in this order, which is part of the
// behaviour: the gate draw; only when the gate passes, the four button draws;
// the art draw; then the movement draws.

#include <array>

#include "battle/player_record.h"
#include "core/vb_types.h"
#include "framework/vkey.h"

namespace brumil::battle {

// Out of 9900 per button test; out of 990000 for the art test.
inline constexpr Long kAiButtonDraw = 9900;
inline constexpr Long kAiGateChance = 500;
inline constexpr Long kAiArtDraw = 990000;

// The level the decision works with: 1..6 as given, anything else as level 1
// (there are parameters only for those six).
Long AiEffectiveLevel(Long level);

// The rates of buttons 1 to 4 out of 9900: 0.8 x AiButtonRate each; while the
// opponent's lunatic art runs (ArtFrame 1..349) and the level is 3 or more,
// 0.1, 3, 0.8 and 0.1 x instead. Rounded half to even.
std::array<Long, 4> AiButtonRates(Long level, const PlayerRecord& own,
                                  const PlayerRecord& opponent);

// The chance of pressing button 5 out of 990000.
Long AiArtChance(Long level, const PlayerRecord& own);

// The whole decision of one step for player i (0 or 1) of gPlayers at the
// given level: buttons 1 to 5 and, unless the player's own art is in its
// first 199 frames, the direction flags of AiMove. Buttons 6 to 10 stay
// released.
framework::VKeyFlags AiDecide(Long level, Long player);

// InputFromAI (declared with the battle jobs' other input sources in
// battle/match_seams.h) is AiDecide at the match's AI level handed to
// UpdateVKey.

}  // namespace brumil::battle
