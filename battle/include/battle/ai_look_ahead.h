#pragma once
// The computer opponent's look-ahead: it copies a slice of the threat list
// and the opponent's second pool into scratch lists of its own, then moves
// them and a simulated player frame by frame and reports the first frame in
// which the simulated player would be hit.
//
// The copies live only inside one call, so no kind procedure can reach them;
// they are aged here after each move (PosMove leaves Age alone), so that a
// speed, turn or hit window closes in the prediction as it does in play.

#include "battle/player_record.h"
#include "core/vb_types.h"

namespace brumil::battle {

// The most threats one look-ahead takes (the largest AiScanStep).
inline constexpr Long kAiLookAheadMax = 200;

// Simulates player i (own record: speed, bounds, aim, AiRadius, the threat
// list) from (x, y) walking toward (targetX, targetY) for `horizon` frames
// against `count` threats of own.AiScanList from `position` and the whole
// second pool of the opponent.
// Result: the frame 1..horizon of the first hit; else 0, or -1 when fewer
// than `count` threats were left after `position` (the end of the list was
// reached). Threats no longer live in the opponent's list are skipped.
Long AiLookAhead(Long player, const PlayerRecord& own, const PlayerRecord& opponent, Long position,
                 Long count, Long x, Long y, Long targetX, Long targetY, Long horizon);

}  // namespace brumil::battle
