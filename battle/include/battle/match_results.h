#pragma once
// Match results into the progress record: player 0's score into the high
// score table of the computer level, and the wins against the top levels
// that raise the unlock level Permit (5 offers "Madness", 6 "Apocalypse").
// Only arcade (mode 1) scores are entered; wins count in modes 1 and 2 when
// player 0 beat the computer. The record is written to disk by the shell.

#include <string_view>

#include "battle/b_game_option.h"
#include "battle/system_save_record.h"
#include "core/vb_types.h"

namespace brumil::battle {

inline constexpr Long kPermitMadness = 5;
inline constexpr Long kPermitApocalypse = 6;
inline constexpr Long kFantasticWinsToUnlock = 4;
inline constexpr Long kEveryCharacterMask = 0x1FE;  // bits 1..8

// Inserts (score, CharaStr of player 0, AILevelStr, date) into rows
// AILevel x 10 .. + 9 below every row with an equal or higher score; the
// tenth row drops out. Nothing for a mode other than 1, a level outside 0..9
// or a score no row is below.
void RecordHighScore(const BGameOption& options, Long score, std::string_view date,
                     SystemSaveRecord& record);

// Level 4: the win counter + 1 (saturating), Permit 5 from the fourth win.
// Level 5: the character's bit (characters 1..8), Permit 6 once all eight
// have won. Permit never falls.
void RecordWins(const BGameOption& options, Long winner, SystemSaveRecord& record);

// On the run's battle object, player records and progress record, with
// today's date as "yyyy/mm/dd".
void RecordHighScore();
void RecordWins();

}  // namespace brumil::battle
