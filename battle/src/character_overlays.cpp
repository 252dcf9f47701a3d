#include "battle/character_overlays.h"

#include <algorithm>
#include <cstdlib>

#include "battle/b_game.h"
#include "battle/battle_scene.h"

namespace brumil::battle {
namespace {

constexpr Long kPx = 256;
constexpr Long kCircleSize = 224;
constexpr Long kCharaSize = 88;
constexpr Long kPlainCode = 593;
constexpr Long kCharaCode = 273;
constexpr Long kSecondPassCode = 529;
constexpr Long kGlowCode = 517;
constexpr Long kReadOutCode = 561;
constexpr Long kOpaque = static_cast<Long>(0xFF000000);

struct CircleSlots {
    Long slotA, slotB, spinA, spinB;
};

// The art circles of a character id; ids outside 1..8 have none.
bool CircleSlotsOf(Long charaId, CircleSlots& out) {
    switch (charaId) {
        case 1:
        case 2:
            out = {13, 11, -4, 4};
            return true;
        case 3:
        case 4:
        case 8:
            out = {14, 11, 1, 12};
            return true;
        case 5:
        case 6:
        case 7:
            out = {12, 13, 8, -8};
            return true;
        default:
            return false;
    }
}

SpriteDraw CharaSprite(const PlayerRecord& p, Long code, Long colour, Single scale) {
    return {p.CharaSlot, p.Pose, p.X, p.Y, kCharaSize, kCharaSize, code, colour, 0, scale};
}

HudDraw HudAt(const HudSprite& sprite, Long x, Long y, Long code, Long colour, Single scale) {
    HudDraw d;
    d.sprite = sprite;
    d.x = x;
    d.y = y;
    d.code = code;
    d.colour = colour;
    d.scale = scale;
    return d;
}

HudDraw GaugeBar(const HudSprite& gauge, Long x, Long y, Single w, Single h, Long code,
                 Long colour) {
    HudDraw d = HudAt(gauge, x, y, code, colour, 1);
    d.rect = true;
    d.width = w;
    d.height = h;
    d.originY = 0.5f;
    d.uWidth = 1;
    d.vHeight = 1;
    return d;
}

Long RingColour(Long d, Long c) {
    if (d >= 1 && d <= 120) {
        return Gradient(static_cast<Single>(d) / 120.0f, {c & 0xFFFFFF, c | kOpaque});
    }
    if (d >= -120 && d <= -1) {
        return Gradient(static_cast<Single>(-d) / 120.0f, {c & 0xFFFFFF, c | kOpaque});
    }
    return c | kOpaque;
}

}  // namespace

OverlayColours OverlayColoursOf(Long player) {
    if (player == 1) {
        return {0x00502010, static_cast<Long>(0xAA704010), static_cast<Long>(0xBB704010),
                static_cast<Long>(0xFFC06060), static_cast<Long>(0xFFF08080)};
    }
    return {0x00102050, static_cast<Long>(0xAA104070), static_cast<Long>(0xBB104070),
            static_cast<Long>(0xFF6060C0), static_cast<Long>(0xFF8080F0)};
}

OverlayDraws ArtCircleDraws(const PlayerRecord& p, Long frame, Long charaId) {
    OverlayDraws out;
    CircleSlots slots{};
    if (p.Vulnerable == 0 || p.ArtFrame == 0 || !CircleSlotsOf(charaId, slots)) return out;
    const Single t = static_cast<Single>(std::clamp<Long>(std::abs(p.ArtFrame), 0, 24)) / 24.0f;
    const Long b = std::clamp<Long>(p.ArtFrame > 0 ? p.ArtFrame : 600, 0, 450);
    const Single u = static_cast<Single>(b) / 450.0f;
    const Long colour =
        (p.StageColors[0] & 0xFFFFFF) | Gradient(t, {0, static_cast<Long>(0x80000000)});
    const auto f = static_cast<Single>(frame);
    out.sprites.push_back({slots.slotA, 0, p.ArtX, p.ArtY, kCircleSize, kCircleSize, kPlainCode,
                           colour, f * static_cast<Single>(slots.spinA), 1.25f * t});
    out.sprites.push_back({slots.slotB, 0, p.ArtX, p.ArtY, kCircleSize, kCircleSize, kPlainCode,
                           colour, f * static_cast<Single>(slots.spinB),
                           ((1 - t) * 1.5f + 1) / (1 - 0.25f * u)});
    return out;
}

OverlayDraws CharacterDraws(const PlayerRecord& p, const HudSprites& sprites) {
    OverlayDraws out;
    if (p.Vulnerable == 0) return out;
    out.sprites.push_back(CharaSprite(p, kCharaCode, static_cast<Long>(0xFFFFFFFF), 1));
    if (p.Gauge >= 1000 || p.Life < 1) return out;
    const OverlayColours k = OverlayColoursOf(p.Index);
    const double g = std::max<Long>(p.Gauge, 0);
    const Long a = std::max<Long>(RoundToLong(g / 40.0), 0);
    const Long b = std::clamp<Long>(RoundToLong(g / 20.0), 0, 25);
    const Long x0 = p.Index == 1 ? p.X - 36 * kPx : p.X;
    const Long y = p.Y + 12 * kPx;
    out.huds.push_back(GaugeBar(sprites.Gauge, x0 + 5 * kPx, y, 27, 6, 32, k.kAA));
    out.huds.push_back(
        GaugeBar(sprites.Gauge, x0 + 6 * kPx, y, static_cast<Single>(b), 4, 0, k.kC));
    out.huds.push_back(
        GaugeBar(sprites.Gauge, x0 + 6 * kPx, y, static_cast<Single>(a), 4, 0, k.kD));
    return out;
}

OverlayDraws CharacterEffectDraws(const PlayerRecord& p, const HudSprites& sprites) {
    OverlayDraws out;
    if (p.Vulnerable == 0 || p.Decided != 0) return out;
    const OverlayColours k = OverlayColoursOf(p.Index);
    out.sprites.push_back(CharaSprite(p, kSecondPassCode, 0x50FFFFFF, 1));
    if (p.Invulnerable != 0) {
        const auto inv = static_cast<Single>(p.Invulnerable);
        out.sprites.push_back(CharaSprite(p, kGlowCode,
                                          Gradient(inv / 40.0f, {0x00FFFFFF, Long(0x80FFFFFF)}),
                                          std::max(1.5f - inv / 120.0f, 1.0f)));
    }
    if (p.GaugeFlash != 0) {
        const auto gf = static_cast<Single>(p.GaugeFlash);
        out.sprites.push_back(CharaSprite(p, kGlowCode,
                                          Gradient(gf / 360.0f, {k.k0, k.kBB, k.kBB, k.kC, k.kC}),
                                          gf / 200.0f + 0.6f));
    }
    if (p.HurtTimer != 0) {
        const auto ht = static_cast<Single>(p.HurtTimer);
        const Long colour = Gradient(ht / 60.0f, {k.k0, k.kAA, k.kC});
        const Single scale = std::max(1.2f - ht / 120.0f, 0.9f);
        const Long n = p.Life / 2;
        if (n >= 0 && n <= 4) {
            out.huds.push_back(HudAt(sprites.LifeLabel, p.X - 16 * kPx, p.Y - 4 * kPx, kReadOutCode,
                                     colour, scale));
            out.huds.push_back(HudAt(sprites.DataDigit[static_cast<std::size_t>(n)], p.X + 16 * kPx,
                                     p.Y - 4 * kPx, kReadOutCode, colour, scale));
        }
    }
    if (p.DirectionHold != 0) {
        out.huds.push_back(HudAt(sprites.Target, p.X, p.Y, kPlainCode,
                                 RingColour(p.DirectionHold, p.StageColors[1]), 1));
    }
    return out;
}

namespace {

void DrawOverlay(bGame& game, Long player, const OverlayDraws& draws) {
    BattleScene& scene = SceneOf(game);
    PlayerRecord& record = gPlayers()[static_cast<std::size_t>(player)];
    for (const SpriteDraw& s : draws.sprites) {
        scene.Painter.DrawSpriteRecord(record, s.slot, s.cell, s.x, s.y, s.width, s.height, s.code,
                                       s.colour, s.angle, s.scale);
    }
    for (const HudDraw& h : draws.huds) DrawHudItem(h);
}

}  // namespace

void DrawArtCircles(bGame& game, Long player) {
    if (player < 0 || player > 1) return;
    const PlayerRecord& p = gPlayers()[static_cast<std::size_t>(player)];
    DrawOverlay(game, player, ArtCircleDraws(p, game.FrameCount, game.gd().CharaID(player)));
}

void DrawCharacter(bGame& game, Long player) {
    if (player < 0 || player > 1) return;
    const PlayerRecord& p = gPlayers()[static_cast<std::size_t>(player)];
    DrawOverlay(game, player, CharacterDraws(p, SceneOf(game).Hud));
}

void DrawCharacterEffects(bGame& game, Long player) {
    if (player < 0 || player > 1) return;
    const PlayerRecord& p = gPlayers()[static_cast<std::size_t>(player)];
    DrawOverlay(game, player, CharacterEffectDraws(p, SceneOf(game).Hud));
}

}  // namespace brumil::battle
