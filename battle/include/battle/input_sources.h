#pragma once
// Where each player's virtual-key record comes from, by its player type:
// 1 the local devices (already filled by the input step; player 1's record
// is turned by half a turn), 2 the computer opponent, 3 a replay (every
// flag released: the player stands still), 4 the network peer. Battle job 5
// runs the sources for player 0, then player 1, every logic step.

#include "core/vb_types.h"

namespace brumil::battle {

class bGame;

inline constexpr Long kTypeKeyboard = 1;
inline constexpr Long kTypeComputer = 2;
inline constexpr Long kTypeReplay = 3;
inline constexpr Long kTypeNetwork = 4;

// Player 1 only: x and y input negated and the direction code made again
// (x - 3 y); hold counts stay. Only a record the devices refreshed in this
// input step is turned, and only once: turning a stale record every step
// would flip its direction each frame.
void InputFromKeyboard(bGame& game, Long player);

// Every flag released.
void InputFromReplay(Long player);

// Battle job 5: each player's source by its type; other types leave the
// record as it is.
void InputJob(bGame& game);

}  // namespace brumil::battle
