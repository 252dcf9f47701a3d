#include "battle/hud_layout.h"

#include <algorithm>
#include <span>

#include "core/math_helpers.h"

namespace brumil::battle {
namespace {

constexpr Long kWhite = static_cast<Long>(0xFFFFFFFF);
constexpr Long kClear = 0;
constexpr Long kBlack = static_cast<Long>(0xFF000000);
constexpr Long kPx = 256;  // 1/256 pixel per pixel

// Render codes of the display.
constexpr Long kFlat = 0;
constexpr Long kVeil = 1;
constexpr Long kGlowBand = 5;
constexpr Long kTextureFlat = 32;
constexpr Long kTextureAlpha = 273;
constexpr Long kTinted = 289;
constexpr Long kBright = 305;
constexpr Long kDiffuseAlpha = 513;
constexpr Long kTintedFade = 545;
constexpr Long kBrightFade = 561;

constexpr std::array<Long, 2> kBaseY{330, 100};
constexpr Long kBaseX = 568;
constexpr Single kLifeTilt = 0.6f;

constexpr Single kLevelRowV[7] = {0, 0, 21, 42, 64, 85, 106};

class HudList {
public:
    explicit HudList(std::vector<HudDraw>& out) : out_(out) {}
    void Sprite(const HudSprite& s, Long x, Long y, Long code, Long colour, Single angle,
                Single scale) {
        HudDraw d;
        d.sprite = s;
        d.x = x * kPx;
        d.y = y * kPx;
        d.code = code;
        d.colour = colour;
        d.angle = angle;
        d.scale = scale;
        out_.push_back(d);
    }
    // The whole texture at a given size.
    void Rect(const HudSprite& s, Long x, Long y, Single w, Single h, Single originX, Long code,
              Long colour, Single scale) {
        HudDraw d;
        d.sprite = s;
        d.rect = true;
        d.x = x * kPx;
        d.y = y * kPx;
        d.width = w;
        d.height = h;
        d.originX = originX;
        d.originY = 0.5f;
        d.uWidth = 1;
        d.vHeight = 1;
        d.code = code;
        d.colour = colour;
        d.scale = scale;
        out_.push_back(d);
    }

private:
    std::vector<HudDraw>& out_;
};

void PlayerHud(HudList& list, const HudSprites& s, const HudState& state, Long p) {
    const HudPlayer& me = state.Players[static_cast<std::size_t>(p)];
    const HudPlayer& other = state.Players[static_cast<std::size_t>(p ^ 1)];
    const HudColours c = HudColoursOf(p);
    const Long x0 = kBaseX;
    const Long y0 = kBaseY[static_cast<std::size_t>(p)];

    for (Long i = 0; i < 5; ++i) {
        const Long colour = Gradient(static_cast<Single>(i) / 5.0f, {c.a, c.b});
        list.Sprite(s.LifeIcon[4], x0 + 17 * i - 21, y0 + 8, kTintedFade, colour, kLifeTilt, 0.8f);
        list.Sprite(s.LifeIcon[3], x0 + 17 * i - 18, y0 + 11, kTintedFade, colour, 0, 0.8f);
    }
    const Long icons = HudLifeIcons(me.Life);
    for (Long i = 0; i < icons; ++i) {
        const Single t = static_cast<Single>(i) / 5.0f;
        list.Sprite(s.LifeIcon[2], x0 + 17 * i - 17, y0 + 12, kBright, Gradient(t, {c.c, kWhite}),
                    kLifeTilt, 1);
        list.Sprite(s.LifeIcon[1], x0 + 17 * i - 17, y0 + 12, kBright, Gradient(t, {c.d, kWhite}),
                    0, 1);
    }

    const GaugeBars bars = HudGaugeBars(me.Life, me.Gauge);
    list.Rect(s.Gauge, x0 - 32, y0 + 40, 102, 4, 0, kTextureFlat, c.b, 1);
    list.Rect(s.Gauge, x0 - 31, y0 + 40, static_cast<Single>(bars.half), 2, 0, kFlat, c.c, 1);
    list.Rect(s.Gauge, x0 - 31, y0 + 40, static_cast<Single>(bars.full), 2, 0, kFlat, c.d, 1);

    const Long mpColour =
        bars.mp >= 50 ? Gradient(static_cast<Single>(bars.mp - 50) / 30.0f, {c.b, c.c}) : c.a;
    list.Sprite(s.MpLabel, x0 - 24, y0 + 36, kBrightFade, mpColour, 0, 0.6f);
    const std::vector<Long> mp = HudDigits(bars.mp, 1, 4);
    for (std::size_t n = 0; n < mp.size(); ++n) {
        list.Sprite(s.DataDigit[static_cast<std::size_t>(mp[n])], x0 + 12 - 12 * Long(n), y0 + 36,
                    kBrightFade, mpColour, 0, 0.54f);
    }

    if (me.ArtReady == 1) {
        list.Sprite(s.MagicCircle, x0 + 40, y0 - 15, kTintedFade, c.c, 0, 0.45f);
        if (state.Lunatic == 0) {
            list.Sprite(s.MagicCircle, x0 + 40, y0 - 15, kTintedFade, c.d, 0, 0.45f);
        }
    }

    list.Sprite(s.ScoreLabel, x0, y0 + 52, kTextureAlpha, kWhite, 0, 0.75f);
    const std::vector<Long> score = HudDigits(me.Score, 8, 8);
    for (std::size_t n = 0; n < score.size(); ++n) {
        list.Sprite(s.ScoreDigit[static_cast<std::size_t>(score[n])], x0 + 56 - 8 * Long(n),
                    y0 + 68, kTextureAlpha, 0x00FFFFFF, 0, 0.75f);
    }

    // Another machine may hand over a level this build does not know.
    const bool levelKnown = state.AILevel >= 0 && state.AILevel <= 7;
    if (levelKnown && (me.PlayerType == 2 || other.PlayerType != 2)) {
        list.Sprite(s.Level[static_cast<std::size_t>(state.AILevel)], x0 + 6, y0 - 10, kTinted, c.d,
                    0, 1);
    }
    if (me.PlayerType == 4) list.Sprite(s.Level[7], x0 + 40, y0 - 10, kTinted, c.d, 0, 1);

    const Long lv = me.Power / 10 + 1;
    list.Sprite(s.LvLabel, x0 + 38, y0 - 8, kDiffuseAlpha, kWhite, 0, 0.6f);
    const std::vector<Long> lvDigits = HudDigits(lv, 2, 3);
    for (std::size_t n = 0; n < lvDigits.size(); ++n) {
        list.Sprite(s.DataDigit[static_cast<std::size_t>(lvDigits[n])], x0 + 62 - 10 * Long(n),
                    y0 - 10, kBrightFade, static_cast<Long>(0xA0FFFFFF), 0, 0.5f);
    }

    if (state.EndCount > 80) {
        const Single t = static_cast<Single>(state.EndCount - 80) / 120.0f;
        if (state.Winner != p) {
            const Long colour = static_cast<Long>(0x909080A0);
            list.Rect(s.LoseCaption, 402, y0, 256, 256, 0.5f, kTintedFade, colour, 1 + 0.1f * t);
            list.Rect(s.LoseCaption, 400, y0, 256, 256, 0.5f, kBrightFade, colour, 1 + 0.1f * t);
        } else {
            const Long colour = static_cast<Long>(0xFFFFFF80);
            list.Rect(s.WinCaption, 402, y0, 256, 256, 0.5f, kTintedFade, colour, 1.5f + 0.1f * t);
            list.Rect(s.WinCaption, 400, y0, 256, 256, 0.5f, kBrightFade, colour, 1.5f + 0.1f * t);
            list.Rect(s.WinCaption, 320, y0, 640, 64 + 64 * t, 0.5f, kGlowBand,
                      Gradient(t, {0x70FFFFFF, 0x00FFFF80}), 1);
        }
    }
}

void FrameHud(HudList& list, const HudSprites& s, const HudState& state) {
    list.Sprite(s.FpsLabel, 605, 467, kTextureAlpha, kWhite, 0, 0.8f);
    const Long fps = std::max<Long>(state.Fps, 0) % 100;
    const std::vector<Long> fpsDigits = HudDigits(fps, 2, 2);
    for (std::size_t n = 0; n < fpsDigits.size(); ++n) {
        list.Sprite(s.ScoreDigit[static_cast<std::size_t>(fpsDigits[n])], 596 - 8 * Long(n), 465,
                    kTextureAlpha, kWhite, 0, 0.75f);
    }

    const Long f = state.FrameCount;
    if (f < 90) {
        list.Rect(s.StageCaption, 320, 240, 256, 256, 0.5f, kTintedFade,
                  Gradient(static_cast<Single>(f) / 90.0f, {kClear, kWhite, kClear}), 1);
        list.Rect(s.StageCaption, 320, 240, 640, 464, 0.5f, kVeil,
                  Gradient(static_cast<Single>(f) / 75.0f, {kBlack, kClear}),
                  1 - 0.1f * static_cast<Single>(f) / 75.0f);
    }
    if (f >= 40 && f <= 119) {
        list.Rect(s.LevelCaption, 320, 240, 256, 256, 0.5f, kTintedFade,
                  Gradient(static_cast<Single>(f - 40) / 80.0f, {kClear, kWhite, kClear}), 1);
    }
    if (f >= 100 && f <= 159) {
        list.Rect(s.StartCaption, 320, 240, 256, 256, 0.5f, kTintedFade,
                  Gradient(static_cast<Single>(f - 100) / 40.0f, {kWhite, kWhite, 0x00FFFFFF}),
                  1 + static_cast<Single>(f - 120) / 800.0f);
    }
    if (state.EndCount > 180) {
        const Single fade = static_cast<Single>(state.EndCount - 180) / 60.0f;
        list.Rect(s.WinCaption, 320, 240, 640, 480, 0.5f, kVeil,
                  Gradient(fade, {0x00808080, kBlack}), 1 - 0.2f * (1 - fade));
    }
}

}  // namespace

void ForEachHudSprite(HudSprites& s,
                      const std::function<void(const HudSpriteEntry&, HudSprite&)>& fill) {
    fill({"terget", 12, 12, 0, 0, 1, 1, true, false}, s.Target);
    for (Long i = 1; i <= 4; ++i) {
        const Single u = (i - 1) % 2 == 0 ? 0.0f : 0.5f;
        const Single v = i <= 2 ? 0.0f : 0.5f;
        fill({"lifeiconset", 32, 32, u, v, 0.5f, 0.5f, false, i == 4},
             s.LifeIcon[static_cast<std::size_t>(i)]);
    }
    fill({"font_life", 64, 64, 0, 0, 1, 1, false, false}, s.LifeLabel);
    fill({"font_score", 64, 64, 0, 0, 1, 1, false, false}, s.ScoreLabel);
    const auto digitPart = [](Long d, std::string_view texture, bool last) {
        return HudSpriteEntry{texture,
                              32,
                              32,
                              static_cast<Single>(d % 4) * 0.25f,
                              static_cast<Single>(d / 4) * 0.25f,
                              0.25f,
                              0.25f,
                              false,
                              last};
    };
    for (Long d = 0; d < 10; ++d) {
        fill(digitPart(d, "font_scorenumber", false), s.ScoreDigit[static_cast<std::size_t>(d)]);
    }
    fill({"font_fps", 32, 32, 0, 0, 1, 1, false, false}, s.FpsLabel);
    for (std::size_t r = 0; r < 7; ++r) {
        fill({"font_level", 64, 20, 0, kLevelRowV[r] / 128.0f, 1, 20.0f / 128.0f, false, false},
             s.Level[r]);
    }
    for (Long d = 0; d < 10; ++d) {
        fill(digitPart(d, "font_datanumber", d == 9), s.DataDigit[static_cast<std::size_t>(d)]);
    }
    fill({"gauge", 64, 64, 0.25f, 0.5f, 0.25f, 0.25f, false, false}, s.Gauge);
    fill({"the_stage", 128, 128, 0, 0, 1, 1, false, false}, s.StageCaption);
    fill({"the_stagenumber", 128, 128, 0, 0, 1, 1, false, false}, s.LevelCaption);
    fill({"the_start", 128, 128, 0, 0, 1, 1, false, false}, s.StartCaption);
    fill({"the_win", 256, 256, 0, 0, 1, 1, false, false}, s.WinCaption);
    fill({"the_lose", 256, 256, 0, 0, 1, 1, false, false}, s.LoseCaption);
    fill({"font_lv", 64, 64, 0, 0, 1, 1, false, false}, s.LvLabel);
    fill({"font_mp", 64, 64, 0, 0, 1, 1, false, false}, s.MpLabel);
    fill({"magiccircle", 64, 64, 0, 0, 1, 1, false, false}, s.MagicCircle);
}

std::vector<HudCaption> HudCaptions(std::string_view modeCaption, std::string_view levelName) {
    constexpr std::string_view kGothic = "ＭＳ ゴシック";
    constexpr std::string_view kRound = "あくあ";
    const std::string level = "level " + std::string(levelName);
    return {
        {"the_stage", std::string(modeCaption) + "\r\n" + level, 20, kGothic},
        {"the_stagenumber", level, 20, kGothic},
        {"the_start", "start", 20, kGothic},
        {"the_win", "ＷＩＮ", 30, kRound},
        {"the_lose", "Lose", 30, kRound},
    };
}

std::vector<Long> HudDigits(Long value, Long minDigits, Long maxDigits) {
    Long rest = std::max<Long>(value, 0);
    std::vector<Long> digits;
    while (static_cast<Long>(digits.size()) < maxDigits) {
        digits.push_back(rest % 10);
        rest /= 10;
        if (rest == 0 && static_cast<Long>(digits.size()) >= minDigits) break;
    }
    return digits;
}

Long HudLifeIcons(Long life) {
    return std::clamp<Long>(life / 2, 0, 5);
}

GaugeBars HudGaugeBars(Long life, Long gauge) {
    const Long g = (HudLifeIcons(life) == 0 || gauge < 0) ? 0 : gauge;
    const Long full = std::max<Long>(RoundToLong(static_cast<double>(g) / 10.0), 0);
    const Long half = std::clamp<Long>(RoundToLong(static_cast<double>(g) / 5.0), 0, 100);
    return {half, full, full};
}

HudColours HudColoursOf(Long player) {
    if (player == 1) {
        return {static_cast<Long>(0xAA502010), static_cast<Long>(0xAA704010),
                static_cast<Long>(0xFFC06060), static_cast<Long>(0xFFF0A0A0)};
    }
    return {static_cast<Long>(0xAA102050), static_cast<Long>(0xAA104070),
            static_cast<Long>(0xFF6060C0), static_cast<Long>(0xFFA0A0F0)};
}

Long Gradient(Single t, std::initializer_list<Long> colours) {
    Long out = 0;
    core::Math_Color(t, std::span<const Long>(colours.begin(), colours.size()), out);
    return out;
}

std::vector<HudDraw> HudDraws(const HudSprites& sprites, const HudState& state) {
    std::vector<HudDraw> out;
    out.reserve(160);
    HudList list(out);
    PlayerHud(list, sprites, state, 0);
    PlayerHud(list, sprites, state, 1);
    FrameHud(list, sprites, state);
    return out;
}

}  // namespace brumil::battle
