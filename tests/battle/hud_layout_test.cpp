// The head-up display's quads, computed without a device.
#include "battle/hud_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "battle/b_game_option.h"

namespace brumil::battle {
namespace {

// Sprites whose texture index is their place in the table (1, 2, ...), so
// every sprite is told apart; the texture names by index.
struct TestSprites {
    TestSprites() {
        Long next = 1;
        ForEachHudSprite(sprites, [&](const HudSpriteEntry& entry, HudSprite& s) {
            s = MakeHudSprite(next, entry.width, entry.height, 0.5f, 0.5f, entry.u, entry.v,
                              entry.uWidth, entry.vHeight);
            names[next++] = std::string(entry.texture);
        });
    }
    HudSprites sprites;
    std::map<Long, std::string> names;
};

const TestSprites& Sprites() {
    static const TestSprites s;
    return s;
}

std::vector<HudDraw> Of(const std::vector<HudDraw>& all, const HudSprite& sprite) {
    std::vector<HudDraw> out;
    std::copy_if(all.begin(), all.end(), std::back_inserter(out),
                 [&](const HudDraw& d) { return d.sprite == sprite; });
    return out;
}

// Draws with sprites of one of the arrays, the index of each.
std::vector<std::pair<std::size_t, HudDraw>> OfArray(const std::vector<HudDraw>& all,
                                                     std::span<const HudSprite> sprites) {
    std::vector<std::pair<std::size_t, HudDraw>> out;
    for (const HudDraw& d : all) {
        for (std::size_t i = 0; i < sprites.size(); ++i) {
            if (d.sprite == sprites[i] && d.sprite.Width != 0) out.push_back({i, d});
        }
    }
    return out;
}

HudState TwoHumans() {
    HudState s;
    for (auto& p : s.Players) {
        p.Life = 10;
        p.Gauge = 0;
        p.Power = 0;
        p.PlayerType = 1;
    }
    s.FrameCount = 500;
    s.AILevel = 3;
    return s;
}

constexpr Long kPx = 256;

TEST(HudSprites, TableHasTheTexturesSizesAndParts) {
    const HudSprites& s = Sprites().sprites;
    const auto& names = Sprites().names;
    EXPECT_EQ(names.at(s.Target.TextureIndex), "terget");
    EXPECT_EQ(s.Target.Width, 12 * kPx);
    EXPECT_EQ(names.at(s.LifeIcon[3].TextureIndex), "lifeiconset");
    EXPECT_EQ((std::array{s.LifeIcon[3].U0, s.LifeIcon[3].V0, s.LifeIcon[3].U1, s.LifeIcon[3].V1}),
              (std::array<Long, 4>{0, 128, 128, 256}));
    // Digit 7: column 3, row 1 of a 4 x 4 sheet.
    EXPECT_EQ((std::array{s.ScoreDigit[7].U0, s.ScoreDigit[7].V0, s.ScoreDigit[7].U1,
                          s.ScoreDigit[7].V1}),
              (std::array<Long, 4>{192, 64, 256, 128}));
    EXPECT_EQ(names.at(s.DataDigit[7].TextureIndex), "font_datanumber");
    // Level rows: v 0, 0, 21, 42, 64, 85, 106 of 128, 20 high; row 7 empty.
    const Long v0[] = {0, 0, 42, 84, 128, 170, 212};
    for (std::size_t r = 0; r < 7; ++r) {
        EXPECT_EQ(s.Level[r].V0, v0[r]) << r;
        EXPECT_EQ(s.Level[r].V1, v0[r] + 40) << r;
        EXPECT_EQ(s.Level[r].Height, 20 * kPx);
    }
    EXPECT_EQ(s.Level[7], HudSprite{});
    EXPECT_EQ((std::array{s.Gauge.U0, s.Gauge.V0, s.Gauge.U1, s.Gauge.V1}),
              (std::array<Long, 4>{64, 128, 128, 192}));
    EXPECT_EQ(s.WinCaption.Width, 256 * kPx);
    EXPECT_EQ(s.MagicCircle.OriginX, 128);
}

TEST(HudSprites, VividPassFollowsTheLastLifeIconAndTheLastDataDigit) {
    std::vector<std::string> after;
    HudSprites s;
    ForEachHudSprite(s, [&](const HudSpriteEntry& entry, HudSprite&) {
        if (entry.vivid) after.emplace_back(entry.texture);
    });
    EXPECT_EQ(after, (std::vector<std::string>{"lifeiconset", "font_datanumber"}));
}

struct LifeCase {
    Long life;
    std::size_t icons;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const LifeCase& c, std::ostream* os) {
    *os << "life=" << c.life << " icons=" << c.icons;
}

class HudLife : public ::testing::TestWithParam<LifeCase> {};

TEST_P(HudLife, IconsAreHalfTheLifeUpToFive) {
    HudState state = TwoHumans();
    state.Players[0].Life = GetParam().life;
    const auto draws = HudDraws(Sprites().sprites, state);
    const auto& s = Sprites().sprites;
    EXPECT_EQ(Of(draws, s.LifeIcon[2]).size(), GetParam().icons + 5) << "player 1 has five";
    EXPECT_EQ(Of(draws, s.LifeIcon[1]).size(), GetParam().icons + 5);
    EXPECT_EQ(Of(draws, s.LifeIcon[4]).size(), 10u) << "five slots each, always";
}

INSTANTIATE_TEST_SUITE_P(Lives, HudLife,
                         ::testing::Values(LifeCase{10, 5}, LifeCase{11, 5}, LifeCase{20, 5},
                                           LifeCase{9, 4}, LifeCase{2, 1}, LifeCase{1, 0},
                                           LifeCase{0, 0}, LifeCase{-3, 0}));

struct GaugeCase {
    Long life, gauge;
    Long half, full, mp;
    std::vector<Long> mpDigits;  // units first
    Long mpColour;               // of player 0
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const GaugeCase& c, std::ostream* os) {
    *os << "life=" << c.life << " gauge=" << c.gauge << " half=" << c.half << " full=" << c.full
        << " mp=" << c.mp << " mpColour=" << c.mpColour;
}

class HudGauge : public ::testing::TestWithParam<GaugeCase> {};

TEST_P(HudGauge, BarsAndMpReadOut) {
    const GaugeCase& c = GetParam();
    const GaugeBars bars = HudGaugeBars(c.life, c.gauge);
    EXPECT_EQ(bars.half, c.half);
    EXPECT_EQ(bars.full, c.full);
    EXPECT_EQ(bars.mp, c.mp);

    HudState state = TwoHumans();
    state.Players[0].Life = c.life;
    state.Players[0].Gauge = c.gauge;
    const auto draws = HudDraws(Sprites().sprites, state);
    const auto& s = Sprites().sprites;
    const auto gauge = Of(draws, s.Gauge);
    ASSERT_EQ(gauge.size(), 6u);
    EXPECT_EQ(gauge[0].width, 102);
    EXPECT_EQ(gauge[0].code, 32);
    EXPECT_EQ(gauge[1].width, c.half);
    EXPECT_EQ(gauge[1].height, 2);
    EXPECT_EQ(gauge[1].colour, Long(0xFF6060C0));
    EXPECT_EQ(gauge[2].width, c.full);
    EXPECT_EQ(gauge[2].colour, Long(0xFFA0A0F0));
    EXPECT_EQ(gauge[1].x, (568 - 31) * kPx);
    EXPECT_EQ(gauge[1].y, (330 + 40) * kPx);
    EXPECT_TRUE(gauge[1].rect);
    EXPECT_EQ(gauge[1].originX, 0.0f);
    EXPECT_EQ(gauge[1].originY, 0.5f);

    const auto mp = Of(draws, s.MpLabel);
    ASSERT_EQ(mp.size(), 2u);
    EXPECT_EQ(mp[0].colour, c.mpColour);
    std::vector<Long> digits;
    for (const auto& [d, draw] : OfArray(draws, s.DataDigit)) {
        if (draw.y == (330 + 36) * kPx) {
            digits.push_back(static_cast<Long>(d));
            EXPECT_EQ(draw.x, (568 + 12 - 12 * Long(digits.size() - 1)) * kPx);
            EXPECT_EQ(draw.colour, c.mpColour);
        }
    }
    EXPECT_EQ(digits, c.mpDigits);
}

INSTANTIATE_TEST_SUITE_P(
    Gauges, HudGauge,
    ::testing::Values(GaugeCase{10, 500, 100, 50, 50, {0, 5}, Long(0xAA104070)},
                      GaugeCase{10, 1000, 100, 100, 100, {0, 0, 1}, Long(0xFF6060C0)},
                      GaugeCase{10, 0, 0, 0, 0, {0}, Long(0xAA102050)},
                      GaugeCase{10, 490, 98, 49, 49, {9, 4}, Long(0xAA102050)},
                      GaugeCase{10, 25, 5, 2, 2, {2}, Long(0xAA102050)},  // 2.5 to even
                      GaugeCase{10, 35, 7, 4, 4, {4}, Long(0xAA102050)},  // 3.5 to even
                      GaugeCase{10, -40, 0, 0, 0, {0}, Long(0xAA102050)},
                      GaugeCase{1, 800, 0, 0, 0, {0}, Long(0xAA102050)}));

TEST(HudDigits, UnitsFirstWithinTheirBounds) {
    EXPECT_EQ(HudDigits(0, 8, 8), (std::vector<Long>(8, 0)));
    EXPECT_EQ(HudDigits(0, 1, 4), (std::vector<Long>{0}));
    EXPECT_EQ(HudDigits(1, 2, 3), (std::vector<Long>{1, 0}));
    EXPECT_EQ(HudDigits(123456789, 8, 8), (std::vector<Long>{9, 8, 7, 6, 5, 4, 3, 2}));
    EXPECT_EQ(HudDigits(12345, 1, 4), (std::vector<Long>{5, 4, 3, 2}));
    EXPECT_EQ(HudDigits(-7, 2, 3), (std::vector<Long>{0, 0}));
}

TEST(HudScoreAndLevel, ScoreIsEightDigitsPowerAtLeastTwo) {
    HudState state = TwoHumans();
    state.Players[0].Score = 0;
    state.Players[0].Power = 0;
    const auto& s = Sprites().sprites;
    const auto draws = HudDraws(s, state);
    std::vector<Long> score, lv;
    for (const auto& [d, draw] : OfArray(draws, s.ScoreDigit)) {
        if (draw.y == (330 + 68) * kPx) score.push_back(static_cast<Long>(d));
    }
    for (const auto& [d, draw] : OfArray(draws, s.DataDigit)) {
        if (draw.y == (330 - 10) * kPx) {
            lv.push_back(static_cast<Long>(d));
            EXPECT_EQ(draw.colour, Long(0xA0FFFFFF));
        }
    }
    EXPECT_EQ(score, std::vector<Long>(8, 0));
    EXPECT_EQ(lv, (std::vector<Long>{1, 0})) << "power level 1 reads 01";

    state.Players[0].Power = 1234;  // level 124
    std::vector<Long> lv3;
    for (const auto& [d, draw] : OfArray(HudDraws(s, state), s.DataDigit)) {
        if (draw.y == (330 - 10) * kPx) lv3.push_back(static_cast<Long>(d));
    }
    EXPECT_EQ(lv3, (std::vector<Long>{4, 2, 1}));
}

struct FpsCase {
    Long fps;
    std::vector<Long> digits;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const FpsCase& c, std::ostream* os) {
    *os << "fps=" << c.fps;
}

class HudFps : public ::testing::TestWithParam<FpsCase> {};

TEST_P(HudFps, LastTwoDigits) {
    HudState state = TwoHumans();
    state.Fps = GetParam().fps;
    const auto& s = Sprites().sprites;
    std::vector<Long> digits;
    for (const auto& [d, draw] : OfArray(HudDraws(s, state), s.ScoreDigit)) {
        if (draw.y == 465 * kPx) {
            digits.push_back(static_cast<Long>(d));
            EXPECT_EQ(draw.x, (596 - 8 * Long(digits.size() - 1)) * kPx);
        }
    }
    EXPECT_EQ(digits, GetParam().digits);
}

INSTANTIATE_TEST_SUITE_P(Rates, HudFps,
                         ::testing::Values(FpsCase{60, {0, 6}}, FpsCase{5, {5, 0}},
                                           FpsCase{100, {0, 0}}, FpsCase{123, {3, 2}},
                                           FpsCase{0, {0, 0}}));

struct LevelMarkCase {
    Long type0, type1, level;
    bool mark0, mark1;  // level mark beside each player
    bool net0, net1;    // the network mark
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const LevelMarkCase& c, std::ostream* os) {
    *os << "type0=" << c.type0 << " type1=" << c.type1 << " level=" << c.level
        << " mark0=" << c.mark0 << " mark1=" << c.mark1 << " net0=" << c.net0 << " net1=" << c.net1;
}

class HudLevelMark : public ::testing::TestWithParam<LevelMarkCase> {};

TEST_P(HudLevelMark, ShownBesideTheComputerOrBothHumans) {
    const LevelMarkCase& c = GetParam();
    HudState state = TwoHumans();
    state.Players[0].PlayerType = c.type0;
    state.Players[1].PlayerType = c.type1;
    state.AILevel = c.level;
    const auto& s = Sprites().sprites;
    const auto draws = HudDraws(s, state);
    bool mark[2] = {false, false}, net[2] = {false, false};
    for (const HudDraw& d : draws) {
        const int p = d.y / kPx == 330 - 10 ? 0 : (d.y / kPx == 100 - 10 ? 1 : -1);
        if (p < 0) continue;
        if (c.level >= 0 && c.level < 7 && d.sprite == s.Level[static_cast<std::size_t>(c.level)] &&
            d.x == (568 + 6) * kPx) {
            mark[p] = true;
            EXPECT_EQ(d.code, 289);
        }
        if (d.sprite == s.Level[7] && d.x == (568 + 40) * kPx) net[p] = true;
    }
    EXPECT_EQ(mark[0], c.mark0);
    EXPECT_EQ(mark[1], c.mark1);
    EXPECT_EQ(net[0], c.net0);
    EXPECT_EQ(net[1], c.net1);
    if (c.level < 0 || c.level > 7) {
        for (const HudDraw& d : draws) EXPECT_NE(d.x, (568 + 6) * kPx) << "no mark at all";
    }
}

INSTANTIATE_TEST_SUITE_P(Types, HudLevelMark,
                         ::testing::Values(LevelMarkCase{1, 2, 3, false, true, false, false},
                                           LevelMarkCase{2, 1, 3, true, false, false, false},
                                           LevelMarkCase{1, 1, 0, true, true, false, false},
                                           LevelMarkCase{2, 2, 6, true, true, false, false},
                                           LevelMarkCase{1, 4, 2, true, true, false, true},
                                           LevelMarkCase{4, 1, 2, true, true, true, false},
                                           LevelMarkCase{1, 2, 8, false, false, false, false},
                                           LevelMarkCase{1, 1, -1, false, false, false, false}));

TEST(HudLevelMarkRows, LevelsZeroAndOneShareTheFirstRow) {
    const auto& s = Sprites().sprites;
    EXPECT_EQ(s.Level[0].V0, s.Level[1].V0);
    EXPECT_EQ(s.Level[0].V1, s.Level[1].V1);
    EXPECT_EQ(Sprites().names.at(s.Level[0].TextureIndex),
              Sprites().names.at(s.Level[1].TextureIndex));
    EXPECT_NE(s.Level[1].V0, s.Level[2].V0);
}

TEST(HudArtMark, TwiceOutsideALunaticArtOnceDuringIt) {
    HudState state = TwoHumans();
    state.Players[1].ArtReady = 1;
    const auto& s = Sprites().sprites;
    auto marks = Of(HudDraws(s, state), s.MagicCircle);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].colour, Long(0xFFC06060));
    EXPECT_EQ(marks[1].colour, Long(0xFFF0A0A0));
    EXPECT_EQ(marks[0].y, (100 - 15) * kPx);
    state.Lunatic = 1;
    EXPECT_EQ(Of(HudDraws(s, state), s.MagicCircle).size(), 1u);
    state.Players[1].ArtReady = 2;
    EXPECT_TRUE(Of(HudDraws(s, state), s.MagicCircle).empty());
}

struct OpeningCase {
    Long frame;
    bool stage, level, start;
    Long stageAlpha;  // -1: not checked
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const OpeningCase& c, std::ostream* os) {
    *os << "frame=" << c.frame << " stage=" << c.stage << " level=" << c.level
        << " start=" << c.start << " stageAlpha=" << c.stageAlpha;
}

class HudOpening : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(HudOpening, CaptionsAtTheirFrames) {
    const OpeningCase& c = GetParam();
    HudState state = TwoHumans();
    state.FrameCount = c.frame;
    const auto& s = Sprites().sprites;
    const auto draws = HudDraws(s, state);
    const auto stage = Of(draws, s.StageCaption);
    EXPECT_EQ(stage.size(), c.stage ? 2u : 0u);
    EXPECT_EQ(Of(draws, s.LevelCaption).size(), c.level ? 1u : 0u);
    EXPECT_EQ(Of(draws, s.StartCaption).size(), c.start ? 1u : 0u);
    if (c.stage) {
        EXPECT_EQ(stage[1].width, 640);
        EXPECT_EQ(stage[1].height, 464);
        EXPECT_EQ(stage[1].code, 1);
        if (c.stageAlpha >= 0) {
            EXPECT_EQ(static_cast<std::uint32_t>(stage[0].colour) >> 24,
                      static_cast<std::uint32_t>(c.stageAlpha));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Frames, HudOpening,
                         ::testing::Values(OpeningCase{0, true, false, false, 0},
                                           OpeningCase{45, true, true, false, 255},
                                           OpeningCase{89, true, true, false, -1},
                                           OpeningCase{90, false, true, false, -1},
                                           OpeningCase{39, true, false, false, -1},
                                           OpeningCase{100, false, true, true, -1},
                                           OpeningCase{119, false, true, true, -1},
                                           OpeningCase{120, false, false, true, -1},
                                           OpeningCase{159, false, false, true, -1},
                                           OpeningCase{160, false, false, false, -1}));

TEST(HudOpening, VeilFadesAndStartGrows) {
    HudState state = TwoHumans();
    const auto& s = Sprites().sprites;
    state.FrameCount = 0;
    EXPECT_EQ(Of(HudDraws(s, state), s.StageCaption)[1].colour, Long(0xFF000000));
    state.FrameCount = 75;
    const auto veil = Of(HudDraws(s, state), s.StageCaption)[1];
    EXPECT_EQ(veil.colour, 0);
    EXPECT_FLOAT_EQ(veil.scale, 0.9f);
    state.FrameCount = 140;
    const auto start = Of(HudDraws(s, state), s.StartCaption)[0];
    EXPECT_FLOAT_EQ(start.scale, 1.025f);
    EXPECT_EQ(start.colour, 0x00FFFFFF) << "faded out at its last frame";
    state.FrameCount = 120;
    EXPECT_EQ(Of(HudDraws(s, state), s.StartCaption)[0].colour, Long(0xFFFFFFFF));
}

struct ClosingCase {
    Long end;
    Long winner;
    std::size_t win, lose;  // caption quads
    bool fade;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ClosingCase& c, std::ostream* os) {
    *os << "end=" << c.end << " winner=" << c.winner << " win=" << c.win << " lose=" << c.lose
        << " fade=" << c.fade;
}

class HudClosing : public ::testing::TestWithParam<ClosingCase> {};

TEST_P(HudClosing, ResultCaptionsAndFade) {
    const ClosingCase& c = GetParam();
    HudState state = TwoHumans();
    state.EndCount = c.end;
    state.Winner = c.winner;
    const auto& s = Sprites().sprites;
    const auto draws = HudDraws(s, state);
    const auto win = Of(draws, s.WinCaption);
    const std::size_t fadeQuads =
        std::count_if(win.begin(), win.end(), [](const HudDraw& d) { return d.height == 480; });
    EXPECT_EQ(fadeQuads, c.fade ? 1u : 0u);
    EXPECT_EQ(win.size() - fadeQuads, c.win);
    EXPECT_EQ(Of(draws, s.LoseCaption).size(), c.lose);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, HudClosing,
    ::testing::Values(ClosingCase{0, -1, 0, 0, false}, ClosingCase{80, 0, 0, 0, false},
                      ClosingCase{81, 0, 3, 2, false}, ClosingCase{81, 1, 3, 2, false},
                      ClosingCase{81, -1, 0, 4, false}, ClosingCase{180, 1, 3, 2, false},
                      ClosingCase{181, 1, 3, 2, true}, ClosingCase{240, 0, 3, 2, true}));

TEST(HudClosing, FadeEndsBlackAtFullSize) {
    HudState state = TwoHumans();
    state.EndCount = 240;
    state.Winner = 0;
    const auto& s = Sprites().sprites;
    const auto win = Of(HudDraws(s, state), s.WinCaption);
    const HudDraw& fade = win.back();
    EXPECT_EQ(fade.colour, Long(0xFF000000));
    EXPECT_FLOAT_EQ(fade.scale, 1.0f);
    EXPECT_EQ(fade.code, 1);
    // The winner's band: 640 wide, 64 + 64t high at t = 160 / 120 (held).
    const HudDraw& band = win[2];
    EXPECT_EQ(band.width, 640);
    EXPECT_EQ(band.code, 5);
    EXPECT_EQ(band.y, 330 * kPx);
}

TEST(HudCaptions, ModeCaptionThenLevel) {
    const auto captions = HudCaptions("arcade", "Hard");
    ASSERT_EQ(captions.size(), 5u);
    EXPECT_EQ(captions[0].texture, "the_stage");
    EXPECT_EQ(captions[0].text, "arcade\r\nlevel Hard");
    EXPECT_EQ(captions[0].font, "ＭＳ ゴシック");
    EXPECT_EQ(captions[1].text, "level Hard");
    EXPECT_EQ(captions[2].text, "start");
    EXPECT_EQ(captions[3].text, "ＷＩＮ");
    EXPECT_EQ(captions[3].fontSize, 30);
    EXPECT_EQ(captions[3].font, "あくあ");
    EXPECT_EQ(captions[4].text, "Lose");
    EXPECT_EQ(HudCaptions("", "")[0].text, "\r\nlevel ");
}

struct ModeCaptionCase {
    Long mode, level;
    std::string stage, levelLine;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ModeCaptionCase& c, std::ostream* os) {
    *os << "mode=" << c.mode << " level=" << c.level;
}

class HudModeCaptions : public ::testing::TestWithParam<ModeCaptionCase> {};

TEST_P(HudModeCaptions, CaptionOfTheMatchOptions) {
    BGameOption options;
    options.GameMode = GetParam().mode;
    options.AILevel = GetParam().level;
    const auto captions = HudCaptions(options.ModeCaption(), options.AILevelStr());
    EXPECT_EQ(captions[0].text, GetParam().stage);
    EXPECT_EQ(captions[1].text, GetParam().levelLine);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, HudModeCaptions,
    ::testing::Values(ModeCaptionCase{1, 1, "arcade\r\nlevel Easy", "level Easy"},
                      ModeCaptionCase{2, 6, "freefight\r\nlevel Apocalypse", "level Apocalypse"},
                      ModeCaptionCase{3, 2, "freefight\r\nlevel Normal", "level Normal"},
                      ModeCaptionCase{4, 0, "battle\r\nlevel ", "level "},
                      ModeCaptionCase{5, 4, "watch\r\nlevel Fantastic", "level Fantastic"},
                      ModeCaptionCase{6, 5, "replay\r\nlevel Madness", "level Madness"},
                      ModeCaptionCase{7, 3, "networked battle\r\nlevel Hard", "level Hard"},
                      ModeCaptionCase{8, 3, "networked battle\r\nlevel Hard", "level Hard"},
                      ModeCaptionCase{0, 3, "エラー\r\nlevel Hard", "level Hard"},
                      ModeCaptionCase{9, 7, "\r\nlevel ", "level "}));

}  // namespace
}  // namespace brumil::battle
