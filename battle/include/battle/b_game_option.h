#pragma once
// BGameOption: what a match is played with. The front end fills it before a
// match; the battle reads it through bGame::gd(). One instance serves every
// match of a run and keeps the last values.
//
// The game mode decides who drives each player (PlayerType: 1 keyboard or
// pad, 2 computer, 3 replay, 4 network) and who simulates it (PlayerControl:
// 1 this machine, 2 the peer):
//
//   mode  types  controls  caption
//   1     1 2    1 1       "arcade"
//   2     1 2    1 1       "freefight"
//   3     2 1    1 1       "freefight"
//   4     1 1    1 1       "battle"
//   5     2 2    1 1       "watch"
//   6     3 3    2 2       "replay"
//   7     1 4    1 2       "networked battle"
//   8     4 1    2 1       "networked battle"
//   0     0 0    0 0       "エラー"   (never set)
//   other 0 0    0 0       ""

#include <array>
#include <string_view>

#include "core/vb_types.h"

namespace brumil::battle {

inline constexpr Long kCharacterCount = 8;
inline constexpr Long kAILevelCount = 6;

class BGameOption {
public:
    Long GameMode = 0;     // 1..8; 0 before the first match
    Long AILevel = 0;      // 0 none, 1 Easy .. 6 Apocalypse
    Long StageNumber = 0;  // 0..6

    // The character id (1..8) of player 0 or 1. A write for another player
    // is ignored; a read answers 0. Values are stored unchecked.
    Long CharaID(Long player) const;
    void CharaID(Long player, Long id);

    // "chara_vesna\" .. for ids 1..8 of the player's character; "" otherwise.
    std::string_view CharaFolder(Long player) const;
    // "vesna" .. for ids 1..8; "" otherwise.
    std::string_view CharaStr(Long player) const;

    // From the mode table; 0 for a mode outside 1..8 or a player other than
    // 0 and 1.
    Long PlayerControl(Long player) const;
    Long PlayerType(Long player) const;

    // "Easy" .. "Apocalypse" for levels 1..6; "" otherwise.
    std::string_view AILevelStr() const;

    // The caption of the mode shown at match start.
    std::string_view ModeCaption() const;

private:
    std::array<Long, 2> chara_{};
};

// The folder and identifier of a character id; "" outside 1..8.
std::string_view CharaFolderOf(Long id);
std::string_view CharaStrOf(Long id);

}  // namespace brumil::battle
