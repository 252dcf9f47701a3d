// The head-up display on the device: its sprites and caption pictures made
// at match start, and the quads of every drawn frame.
#include "battle/b_game.h"
#include "battle/battle_scene.h"
#include "battle/hud_layout.h"
#include "battle/match_seams.h"
#include "battle/player_record.h"
#include "framework/maxwell.h"
#include "render/admin_lib.h"
#include "render/graphics.h"
#include "render/im_texture.h"

namespace brumil::battle {
namespace {

constexpr Long kCaptionSize = 128;
constexpr Long kCaptionSpacingX = -4;

}  // namespace

// The battle start empties the texture cache before every match, so the
// vivid pass below meets a freshly loaded picture each time and runs once
// per picture.
void SetUpHud(bGame& game) {
    HudSprites& sprites = SceneOf(game).Hud;
    auto& textures = render::gIMTexture();
    ForEachHudSprite(sprites, [&](const HudSpriteEntry& entry, HudSprite& sprite) {
        LoadHudSprite(entry.texture, entry.width, entry.height, 0.5f, 0.5f, entry.u, entry.v,
                      entry.uWidth, entry.vHeight, sprite, entry.colourKey ? 1 : 0);
        if (entry.vivid) {
            if (auto g = textures.ItemAs(entry.texture)) g->ChooseVivit(0);
        }
    });
    sprites.Level[7] = HudSprite{};

    const BGameOption& options = game.gd();
    for (const HudCaption& caption : HudCaptions(options.ModeCaption(), options.AILevelStr())) {
        auto g = textures.ItemAs(caption.texture);
        if (!g) continue;
        g->Add(kCaptionSize, kCaptionSize, false);
        g->LoadText(caption.text, kCaptionSize, kCaptionSize, caption.fontSize, caption.font, 0,
                    true, kCaptionSpacingX, 0, 1, 1, false);
    }
}

HudState HudStateOf(bGame& game, Long fps) {
    HudState s;
    const BGameOption& options = game.gd();
    for (Long i = 0; i < 2; ++i) {
        const PlayerRecord& p = gPlayers()[static_cast<std::size_t>(i)];
        s.Players[static_cast<std::size_t>(i)] = {p.Life,  p.Gauge, p.ArtReady,
                                                  p.Score, p.Power, options.PlayerType(i)};
    }
    s.AILevel = options.AILevel;
    s.FrameCount = game.FrameCount;
    s.EndCount = game.EndCount;
    s.Winner = game.Winner;
    s.Lunatic = game.ArtActive;
    s.Fps = fps;
    return s;
}

void DrawHudItem(const HudDraw& d) {
    if (d.rect) {
        DrawHudSpriteRect(d.sprite, d.x, d.y, d.width, d.height, d.originX, d.originY, d.u, d.v,
                          d.uWidth, d.vHeight, d.code, d.colour, d.angle, d.scale);
    } else {
        DrawHudSprite(d.sprite, d.x, d.y, d.code, d.colour, d.angle, d.scale);
    }
}

void DrawHud(bGame& game) {
    const auto& host = framework::gMaxwell();
    const Long fps = host ? host->GetFPS() : 0;
    for (const HudDraw& d : HudDraws(SceneOf(game).Hud, HudStateOf(game, fps))) DrawHudItem(d);
}

}  // namespace brumil::battle
