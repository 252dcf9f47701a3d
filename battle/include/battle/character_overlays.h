#pragma once
// What is drawn on and around each character: the two magic circles of a
// running lunatic art, the character sprite with its small gauge, and the
// effects over it (a translucent second pass, the invulnerability and
// gauge-full glows, the life read-out after a hit, the target ring).
//
// The *Draws functions compute the quads from the player record alone, so
// they test without a device; the Draw* painters hand them to the shot
// painter (sprites of the player's tables) and the HUD painters. Sprites are
// drawn before HUD quads in every painter. Nothing is drawn for a player
// whose Vulnerable is 0.

#include <vector>

#include "battle/hud_layout.h"
#include "battle/player_record.h"
#include "core/vb_types.h"

namespace brumil::battle {

class bGame;

// One sprite of the player's tables (DrawSpriteRecord's arguments).
struct SpriteDraw {
    Long slot = 0, cell = 0;
    Long x = 0, y = 0;  // 1/256 pixel
    Long width = 0, height = 0;
    Long code = 0;
    Long colour = 0;
    Single angle = 0;  // 4096 per turn
    Single scale = 1;
};

struct OverlayDraws {
    std::vector<SpriteDraw> sprites;
    std::vector<HudDraw> huds;
};

// Overlay colours by player index.
struct OverlayColours {
    Long k0, kAA, kBB, kC, kD;
};
OverlayColours OverlayColoursOf(Long player);

// frame: the battle's frame counter, turning the circles; charaId 1..8.
OverlayDraws ArtCircleDraws(const PlayerRecord& player, Long frame, Long charaId);
OverlayDraws CharacterDraws(const PlayerRecord& player, const HudSprites& sprites);
OverlayDraws CharacterEffectDraws(const PlayerRecord& player, const HudSprites& sprites);

// The painters, for player index 0 or 1 of the run's players.
void DrawArtCircles(bGame& game, Long player);
void DrawCharacter(bGame& game, Long player);
void DrawCharacterEffects(bGame& game, Long player);

}  // namespace brumil::battle
