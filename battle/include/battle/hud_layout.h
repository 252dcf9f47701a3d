#pragma once
// The head-up display without a device: its sprites and their textures, the
// captions of a match, and every quad of one frame's display computed from
// the players, the match options and the battle's counters. DrawHud
// (battle/hud_draw.h) hands the list to the sprite painters.
//
// Per player: life slots and icons, the gauge bars, the MP read-out, the
// art mark, the score, the computer level mark and the power level, with
// the result captions after the decision. Then the frame rate, the opening
// captions and the closing fade.

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "battle/hud_sprite.h"
#include "core/vb_types.h"

namespace brumil::battle {

// The display's sprites, refilled at every match start.
struct HudSprites {
    HudSprite Target;
    std::array<HudSprite, 5> LifeIcon;  // 1..4 used
    HudSprite LifeLabel;
    HudSprite ScoreLabel;
    std::array<HudSprite, 10> ScoreDigit;
    HudSprite FpsLabel;
    std::array<HudSprite, 8> Level;  // row 7 stays empty
    std::array<HudSprite, 10> DataDigit;
    HudSprite Gauge;
    HudSprite StageCaption;
    HudSprite LevelCaption;
    HudSprite StartCaption;
    HudSprite WinCaption;
    HudSprite LoseCaption;
    HudSprite LvLabel;
    HudSprite MpLabel;
    HudSprite MagicCircle;
};

// One sprite of the table: its texture, size in pixels and texture part.
struct HudSpriteEntry {
    std::string_view texture;
    Single width, height;
    Single u, v, uWidth, vHeight;
    bool colourKey;  // soft-edged colour key on first load
    bool vivid;      // the texture's vivid pass follows this sprite
};
// Calls `fill` for every sprite of the display in table order (origin is
// always the centre).
void ForEachHudSprite(HudSprites& sprites,
                      const std::function<void(const HudSpriteEntry&, HudSprite&)>& fill);

// One caption picture: the texture it is rendered into, its text and font.
struct HudCaption {
    std::string_view texture;
    std::string text;
    Long fontSize;
    std::string_view font;
};
// The five captions of a match in the given mode caption and level name.
std::vector<HudCaption> HudCaptions(std::string_view modeCaption, std::string_view levelName);

// What one frame of the display shows.
struct HudPlayer {
    Long Life = 0, Gauge = 0, ArtReady = 0, Score = 0, Power = 0;
    Long PlayerType = 0;
};
struct HudState {
    std::array<HudPlayer, 2> Players{};
    Long AILevel = 0;
    Long FrameCount = 0;  // F: opening captions
    Long EndCount = 0;    // E: result captions and closing fade
    Long Winner = -1;
    Long Lunatic = 0;  // 1 while a lunatic art runs
    Long Fps = 0;
};

// One quad: DrawHudSprite (rect false) or DrawHudSpriteRect (rect true).
struct HudDraw {
    HudSprite sprite;
    bool rect = false;
    Long x = 0, y = 0;  // 1/256 pixel
    Single width = 0, height = 0, originX = 0, originY = 0;
    Single u = 0, v = 0, uWidth = 0, vHeight = 0;
    Long code = 0;
    Long colour = 0;
    Single angle = 0;
    Single scale = 1;
};

// The digits of a value (negative values read as 0), units first: at least
// `minDigits`, at most `maxDigits`, stopping when the rest is 0.
std::vector<Long> HudDigits(Long value, Long minDigits, Long maxDigits);

// Whole-pixel widths of the gauge bars and the MP value.
struct GaugeBars {
    Long half;  // bar b: full at a gauge of 500
    Long full;  // bar a: full at 1000
    Long mp;
};
// Life and gauge as the display reads them: no life icons also empty the
// gauge.
GaugeBars HudGaugeBars(Long life, Long gauge);
// Life icons shown: Life / 2 truncated, held in 0..5.
Long HudLifeIcons(Long life);

// Player colour by index: cA, cB, cC, cD.
struct HudColours {
    Long a, b, c, d;
};
HudColours HudColoursOf(Long player);

// gradient(t; colours): the colour at t along the list.
Long Gradient(Single t, std::initializer_list<Long> colours);

// Every quad of one frame in drawing order.
std::vector<HudDraw> HudDraws(const HudSprites& sprites, const HudState& state);

}  // namespace brumil::battle
