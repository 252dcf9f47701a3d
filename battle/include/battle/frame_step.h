#pragma once
// The per-step rules of a match on the two player records: the movement step
// that turns a player's virtual-key record into motion and an attack code,
// the attack dispatch, the player frame step (gauge, timers, lunatic art,
// life and decision), the shot-list step and the hit tests.
//
// Attack codes: 10, 20, 30, 40 from buttons 1 to 4; 11, 21, 31, 41 their
// stronger forms when the attack starts with a full gauge; 42 the variation
// while the player's own group-1 shots are on the field.
//
// Battle job 6 runs PlayerFrameUpdate for player 0 then 1; job 7 runs
// ShotListMove 0 then 1, ShotHitOpponent (0 on 1) then (1 on 0), and
// PlayerShotsVersus (0, 1) then (1, 0).

#include <functional>

#include "battle/player_record.h"
#include "core/vb_types.h"
#include "framework/vkey.h"

namespace brumil::battle {

class bGame;
class BGameOption;

inline constexpr Long kGaugeFull = 1000;
inline constexpr Long kGaugeToAttack = 500;
inline constexpr Long kAttackWaitSteps = 24;
inline constexpr Long kFieldWidth = 0x28000;
inline constexpr Long kFieldHeight = 0x1E000;

// The pan of a sound made at x: centre 0 at the middle of the field.
inline Single PosToPan(Long x) {
    return static_cast<Single>(x - 0x14000) * 0.000001f;
}

// Moves (x, y) one step of the player's speed in the direction (dx, dy),
// turned by the player's AimAngle, then bounds it by the player's MinX..MaxX
// and MinY..MaxY. Nothing when dx and dy are both 0.
void MovePlayer(const PlayerRecord& player, Long& x, Long& y, Long dx, Long dy);
void MovePlayer(Long player, Long& x, Long& y, Long dx, Long dy);

// The movement step of player i from the virtual-key record: knock-back,
// motion, direction hold, the lunatic art and the start of an attack, then
// MoveDX/MoveDY and the pose. "Held" is a hold count above 0.
void PlayerFrameUpdate(bGame& game, Long player, const framework::VKeyRecord& keys);
void PlayerFrameUpdate(Long player, const framework::VKeyRecord& keys);

// Runs a pattern by number for a player (1..39; others nothing).
using PatternRunner = std::function<void(Long number, Long player)>;

// The pattern number (1..39) of a character and attack code; 0 when the pair
// names none (characters outside 1..8, unknown codes).
Long ShotPatternNumber(Long character, Long attackCode);

// On the first frame of an attack the code takes its strong form when the
// gauge is exactly full, and 40 or 41 become 42 while the player's own main
// pool holds a group-1 record inside the field; then, every frame, the
// pattern of the player's character and code runs.
void ShotPatternDispatch(PlayerRecord& player, Long character, const PatternRunner& run);
void ShotPatternDispatch(PlayerRecord& player);

// The player frame step of own record p against opponent record q.
void PlayerShotsVersus(bGame& game, PlayerRecord& p, PlayerRecord& q, const PatternRunner& run);
void PlayerShotsVersus(PlayerRecord& p, PlayerRecord& q);

// Moves the player's whole shot list one pass, runs its kind procedures and
// removes main-pool records far outside the field.
void ShotListMove(Long player);

// The shooter's main and second pools against the target's hit circle; any
// contact sets the target's HitStrength to 2. Only for a target simulated
// here and vulnerable.
void ShotHitOpponent(const BGameOption& options, PlayerRecord& shooter, PlayerRecord& target);
void ShotHitOpponent(PlayerRecord& shooter, PlayerRecord& target);

}  // namespace brumil::battle
