#pragma once
// The sprite tables of a player record, filled at match start: which texture
// of the shared cache each of the 64 sprite slots draws, with which drawing
// mode (593 or 597; 0 leaves it to the painter) and cut into which cell
// group (10: 4 x 4 cells, 0: one cell). Slots 0 and 1 hold the two players'
// character pictures, slots 8 to 35 the effect pictures every character
// shares; the other slots stay cleared.

#include <array>
#include <string_view>

#include "battle/b_game_option.h"
#include "battle/player_record.h"
#include "core/vb_types.h"

namespace brumil::battle {

inline constexpr Long kSpawnShift = 7680;  // 30 pixels

// Slot 0: player 0's character from its folder's "chara_0.bmp"; slot 1:
// player 1's from its folder's "chara_1.bmp" (the same character on both
// sides still gives two pictures). CharaSlot becomes the record's Index.
// Characters 1 and 2 shift the spawn point 30 pixels toward the field's
// middle line: right for player 0, left for player 1.
void LoadCharaTextures(const BGameOption& options, PlayerRecord& record);

// One row of the effect slots.
struct EffectSlot {
    Long slot;
    std::string_view name;
    bool vivit;     // ChooseVivit(0) on first load
    bool colorKey;  // ChooseColorKeyAntiAreas2 on first load (after vivit)
    Long blend;
    Long cells;
};
inline constexpr std::size_t kEffectSlotCount = 17;
const std::array<EffectSlot, kEffectSlotCount>& EffectSlots();

// The effect slots. A picture is processed only by the call that loaded it
// into the cache, so the second player's set-up finds the first one's
// textures ready and changes nothing in them.
void LoadEffectTextures(PlayerRecord& record);

}  // namespace brumil::battle
