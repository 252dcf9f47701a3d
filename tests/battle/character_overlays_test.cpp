// The character overlays' quads, computed without a device.
#include "battle/character_overlays.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brumil::battle {
namespace {

constexpr Long kPx = 256;

HudSprites Sprites() {
    HudSprites s;
    Long next = 1;
    ForEachHudSprite(s, [&](const HudSpriteEntry& entry, HudSprite& sprite) {
        sprite = MakeHudSprite(next++, entry.width, entry.height, 0.5f, 0.5f, entry.u, entry.v,
                               entry.uWidth, entry.vHeight);
    });
    return s;
}

PlayerRecord Player(Long index) {
    PlayerRecord p;
    p.Index = index;
    p.X = 200 * kPx + 77;
    p.Y = 300 * kPx;
    p.Life = 10;
    p.Gauge = 0;
    p.Vulnerable = 1;
    p.CharaSlot = index;
    p.Pose = 5;
    p.ArtX = 320 * kPx;
    p.ArtY = 240 * kPx;
    p.StageColors = {Long(0xFF000078), Long(0xFF003090)};
    return p;
}

TEST(CharacterOverlays, NothingForAPlayerThatIsNotVulnerable) {
    const HudSprites s = Sprites();
    PlayerRecord p = Player(0);
    p.Vulnerable = 0;
    p.ArtFrame = 12;
    p.Invulnerable = 10;
    p.HurtTimer = 30;
    p.DirectionHold = 5;
    for (const OverlayDraws& d :
         {ArtCircleDraws(p, 10, 1), CharacterDraws(p, s), CharacterEffectDraws(p, s)}) {
        EXPECT_TRUE(d.sprites.empty());
        EXPECT_TRUE(d.huds.empty());
    }
}

struct CircleCase {
    Long chara;
    Long slotA, slotB, spinA, spinB;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const CircleCase& c, std::ostream* os) {
    *os << "chara=" << c.chara << " slotA=" << c.slotA << " slotB=" << c.slotB
        << " spinA=" << c.spinA << " spinB=" << c.spinB;
}

class ArtCircles : public ::testing::TestWithParam<CircleCase> {};

TEST_P(ArtCircles, SlotsAndSpinPerCharacter) {
    const CircleCase& c = GetParam();
    PlayerRecord p = Player(0);
    p.ArtFrame = 12;
    const OverlayDraws d = ArtCircleDraws(p, 100, c.chara);
    if (c.slotA == 0) {
        EXPECT_TRUE(d.sprites.empty()) << "an unknown character draws no circle";
        return;
    }
    ASSERT_EQ(d.sprites.size(), 2u);
    EXPECT_EQ(d.sprites[0].slot, c.slotA);
    EXPECT_EQ(d.sprites[1].slot, c.slotB);
    EXPECT_FLOAT_EQ(d.sprites[0].angle, 100.0f * static_cast<Single>(c.spinA));
    EXPECT_FLOAT_EQ(d.sprites[1].angle, 100.0f * static_cast<Single>(c.spinB));
    for (const SpriteDraw& s : d.sprites) {
        EXPECT_EQ(s.x, p.ArtX);
        EXPECT_EQ(s.width, 224);
        EXPECT_EQ(s.code, 593);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Characters, ArtCircles,
    ::testing::Values(CircleCase{1, 13, 11, -4, 4}, CircleCase{2, 13, 11, -4, 4},
                      CircleCase{3, 14, 11, 1, 12}, CircleCase{8, 14, 11, 1, 12},
                      CircleCase{5, 12, 13, 8, -8}, CircleCase{7, 12, 13, 8, -8},
                      CircleCase{0, 0, 0, 0, 0}, CircleCase{9, 0, 0, 0, 0}));

struct CircleScaleCase {
    Long artFrame;
    Single scaleA, scaleB;
    Long alpha;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const CircleScaleCase& c, std::ostream* os) {
    *os << "artFrame=" << c.artFrame << " scaleA=" << c.scaleA << " scaleB=" << c.scaleB
        << " alpha=" << c.alpha;
}

class ArtCircleScales : public ::testing::TestWithParam<CircleScaleCase> {};

TEST_P(ArtCircleScales, GrowAndShrinkWithTheArt) {
    const CircleScaleCase& c = GetParam();
    PlayerRecord p = Player(1);
    p.ArtFrame = c.artFrame;
    const OverlayDraws d = ArtCircleDraws(p, 0, 4);
    if (c.artFrame == 0) {
        EXPECT_TRUE(d.sprites.empty());
        return;
    }
    ASSERT_EQ(d.sprites.size(), 2u);
    EXPECT_NEAR(d.sprites[0].scale, c.scaleA, 1e-4f);
    EXPECT_NEAR(d.sprites[1].scale, c.scaleB, 1e-3f);
    EXPECT_EQ(static_cast<std::uint32_t>(d.sprites[0].colour) >> 24,
              static_cast<std::uint32_t>(c.alpha));
    EXPECT_EQ(d.sprites[0].colour & 0xFFFFFF, 0x000078) << "the player's first colour";
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ArtCircleScales,
    ::testing::Values(CircleScaleCase{12, 0.625f, 1.7617f, 0x40},
                      CircleScaleCase{24, 1.25f, 1.0f / (1 - 0.25f * 24 / 450), 0x80},
                      CircleScaleCase{450, 1.25f, 1.0f / 0.75f, 0x80},
                      CircleScaleCase{-5, 1.25f * 5 / 24, ((1 - 5.0f / 24) * 1.5f + 1) / 0.75f,
                                      0x1B},
                      CircleScaleCase{-300, 1.25f, 1.0f / 0.75f, 0x80},
                      CircleScaleCase{0, 0, 0, 0}));

struct SmallGaugeCase {
    Long index, life, gauge;
    bool shown;
    Long barB, barA;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const SmallGaugeCase& c, std::ostream* os) {
    *os << "index=" << c.index << " life=" << c.life << " gauge=" << c.gauge << " shown=" << c.shown
        << " barB=" << c.barB << " barA=" << c.barA;
}

class SmallGauge : public ::testing::TestWithParam<SmallGaugeCase> {};

TEST_P(SmallGauge, BesideTheCharacterUntilFull) {
    const SmallGaugeCase& c = GetParam();
    PlayerRecord p = Player(c.index);
    p.Life = c.life;
    p.Gauge = c.gauge;
    const OverlayDraws d = CharacterDraws(p, Sprites());
    ASSERT_EQ(d.sprites.size(), 1u);
    EXPECT_EQ(d.sprites[0].slot, c.index);
    EXPECT_EQ(d.sprites[0].cell, 5);
    EXPECT_EQ(d.sprites[0].code, 273);
    EXPECT_EQ(d.sprites[0].width, 88);
    if (!c.shown) {
        EXPECT_TRUE(d.huds.empty());
        return;
    }
    ASSERT_EQ(d.huds.size(), 3u);
    const Long x0 = c.index == 1 ? p.X - 36 * kPx : p.X;
    EXPECT_EQ(d.huds[0].x, x0 + 5 * kPx);
    EXPECT_EQ(d.huds[0].width, 27);
    EXPECT_EQ(d.huds[0].height, 6);
    EXPECT_EQ(d.huds[1].x, x0 + 6 * kPx);
    EXPECT_EQ(d.huds[1].y, p.Y + 12 * kPx);
    EXPECT_EQ(d.huds[1].width, c.barB);
    EXPECT_EQ(d.huds[2].width, c.barA);
    EXPECT_EQ(d.huds[1].colour, c.index == 1 ? Long(0xFFC06060) : Long(0xFF6060C0));
}

INSTANTIATE_TEST_SUITE_P(Gauges, SmallGauge,
                         ::testing::Values(SmallGaugeCase{0, 10, 500, true, 25, 12},
                                           SmallGaugeCase{1, 10, 500, true, 25, 12},
                                           SmallGaugeCase{0, 10, 999, true, 25, 25},
                                           SmallGaugeCase{0, 10, 1000, false, 0, 0},
                                           SmallGaugeCase{0, 0, 500, false, 0, 0},
                                           SmallGaugeCase{0, 1, 100, true, 5, 2},
                                           SmallGaugeCase{1, 3, -20, true, 0, 0},
                                           SmallGaugeCase{0, 10, 700, true, 25, 18}));

struct ReadOutCase {
    Long life;
    bool shown;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ReadOutCase& c, std::ostream* os) {
    *os << "life=" << c.life << " shown=" << c.shown;
}

class LifeReadOut : public ::testing::TestWithParam<ReadOutCase> {};

TEST_P(LifeReadOut, OnlyForHalfLivesZeroToFour) {
    const HudSprites s = Sprites();
    PlayerRecord p = Player(0);
    p.HurtTimer = 30;
    p.Life = GetParam().life;
    const OverlayDraws d = CharacterEffectDraws(p, s);
    if (!GetParam().shown) {
        EXPECT_TRUE(d.huds.empty());
        return;
    }
    ASSERT_EQ(d.huds.size(), 2u);
    EXPECT_EQ(d.huds[0].sprite, s.LifeLabel);
    EXPECT_EQ(d.huds[1].sprite, s.DataDigit[static_cast<std::size_t>(GetParam().life / 2)]);
    EXPECT_EQ(d.huds[0].x, p.X - 16 * kPx);
    EXPECT_EQ(d.huds[1].x, p.X + 16 * kPx);
    EXPECT_EQ(d.huds[1].y, p.Y - 4 * kPx);
    EXPECT_EQ(d.huds[1].code, 561);
    EXPECT_FLOAT_EQ(d.huds[1].scale, 0.95f);  // 1.2 - 30/120
    EXPECT_EQ(d.huds[1].colour, Long(0xAA104070)) << "half way: kAA";
}

INSTANTIATE_TEST_SUITE_P(Lives, LifeReadOut,
                         ::testing::Values(ReadOutCase{0, true}, ReadOutCase{1, true},
                                           ReadOutCase{9, true}, ReadOutCase{10, false},
                                           ReadOutCase{14, false}, ReadOutCase{-2, false}));

struct RingCase {
    Long hold;
    Long alpha;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const RingCase& c, std::ostream* os) {
    *os << "hold=" << c.hold << " alpha=" << c.alpha;
}

class TargetRing : public ::testing::TestWithParam<RingCase> {};

TEST_P(TargetRing, OpacityFollowsTheHold) {
    const HudSprites s = Sprites();
    PlayerRecord p = Player(1);
    p.StageColors = {Long(0xFF980000), Long(0x12A02000)};
    p.DirectionHold = GetParam().hold;
    const OverlayDraws d = CharacterEffectDraws(p, s);
    if (GetParam().hold == 0) {
        EXPECT_TRUE(d.huds.empty());
        return;
    }
    ASSERT_EQ(d.huds.size(), 1u);
    EXPECT_EQ(d.huds[0].sprite, s.Target);
    EXPECT_EQ(d.huds[0].x, p.X);
    EXPECT_EQ(d.huds[0].code, 593);
    EXPECT_EQ(d.huds[0].colour & 0xFFFFFF, 0xA02000);
    EXPECT_EQ(static_cast<std::uint32_t>(d.huds[0].colour) >> 24,
              static_cast<std::uint32_t>(GetParam().alpha));
}

INSTANTIATE_TEST_SUITE_P(Holds, TargetRing,
                         ::testing::Values(RingCase{0, 0}, RingCase{60, 0x80}, RingCase{-60, 0x80},
                                           RingCase{1, 2}, RingCase{120, 0xFF},
                                           RingCase{-120, 0xFF}, RingCase{121, 0xFF},
                                           RingCase{-121, 0xFF}, RingCase{500, 0xFF}));

TEST(CharacterEffects, SecondPassAndGlowsInOrder) {
    const HudSprites s = Sprites();
    PlayerRecord p = Player(0);
    p.Invulnerable = 60;
    p.GaugeFlash = 100;
    const OverlayDraws d = CharacterEffectDraws(p, s);
    ASSERT_EQ(d.sprites.size(), 3u);
    EXPECT_EQ(d.sprites[0].code, 529);
    EXPECT_EQ(d.sprites[0].colour, 0x50FFFFFF);
    EXPECT_EQ(d.sprites[1].code, 517);
    EXPECT_EQ(d.sprites[1].colour, Long(0x80FFFFFF)) << "60/40 is held at the end";
    EXPECT_FLOAT_EQ(d.sprites[1].scale, 1.0f);
    EXPECT_EQ(d.sprites[2].code, 517);
    EXPECT_FLOAT_EQ(d.sprites[2].scale, 1.1f);
    for (const SpriteDraw& sd : d.sprites) {
        EXPECT_EQ(sd.slot, p.CharaSlot);
        EXPECT_EQ(sd.cell, p.Pose);
        EXPECT_EQ(sd.x, p.X);
    }
    p.Invulnerable = 12;
    EXPECT_FLOAT_EQ(CharacterEffectDraws(p, s).sprites[1].scale, 1.4f);
    p.Decided = 1;
    const OverlayDraws decided = CharacterEffectDraws(p, s);
    EXPECT_TRUE(decided.sprites.empty());
    EXPECT_EQ(CharacterDraws(p, s).sprites.size(), 1u) << "the character itself stays";
}

}  // namespace
}  // namespace brumil::battle
