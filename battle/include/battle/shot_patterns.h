#pragma once
// The 39 attack patterns. The attack dispatcher picks one from the player's
// character and attack code and calls it once per logic step of the attack,
// with the player's AttackFrame at 1 on the first step. On its firing frames
// a pattern fills a fresh shot record, places copies of it into the player's
// shot pools and plays its sound effects; at frame 1 every pattern sets the
// player's GaugeCost. Patterns keep no state: what they do depends on the
// attack frame, the power, the two player records and the collision
// library's random draws.

#include <array>

#include "core/vb_types.h"

namespace brumil::battle {

// One attack pattern; `player` is the attacker's index (0 or 1).
using ShotPatternProc = void (*)(Long player);

inline constexpr Long kShotPatternCount = 39;

void ShotPattern01(Long player);
void ShotPattern02(Long player);
void ShotPattern03(Long player);
void ShotPattern04(Long player);
void ShotPattern05(Long player);
void ShotPattern06(Long player);
void ShotPattern07(Long player);
void ShotPattern08(Long player);
void ShotPattern09(Long player);
void ShotPattern10(Long player);
void ShotPattern11(Long player);
void ShotPattern12(Long player);
void ShotPattern13(Long player);
void ShotPattern14(Long player);
void ShotPattern15(Long player);
void ShotPattern16(Long player);
void ShotPattern17(Long player);
void ShotPattern18(Long player);
void ShotPattern19(Long player);
void ShotPattern20(Long player);
void ShotPattern21(Long player);
void ShotPattern22(Long player);
void ShotPattern23(Long player);
void ShotPattern24(Long player);
void ShotPattern25(Long player);
void ShotPattern26(Long player);
void ShotPattern27(Long player);
void ShotPattern28(Long player);
void ShotPattern29(Long player);
void ShotPattern30(Long player);
void ShotPattern31(Long player);
void ShotPattern32(Long player);
void ShotPattern33(Long player);
void ShotPattern34(Long player);
void ShotPattern35(Long player);
void ShotPattern36(Long player);
void ShotPattern37(Long player);
void ShotPattern38(Long player);
void ShotPattern39(Long player);

// The patterns in order: ShotPatternTable()[n - 1] is ShotPatternNN.
const std::array<ShotPatternProc, kShotPatternCount>& ShotPatternTable();

// Runs pattern `number` (1 to 39) for the player; other numbers do nothing.
void RunShotPattern(Long number, Long player);

// The gauge cost each pattern sets at frame 1 (the frame step takes ten
// times it off the gauge); index n - 1 for pattern n.
const std::array<Long, kShotPatternCount>& ShotPatternCosts();

}  // namespace brumil::battle
