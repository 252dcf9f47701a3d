// Target, evasion and escape points of the computer opponent.
#include "battle/ai_targets.h"

#include <gtest/gtest.h>

#include "battle/frame_step.h"
#include "battle_fixture.h"
#include "core/api.h"
#include "platform/collision/angle_math.h"

namespace brumil::battle::test {
namespace lib = platform::collision;
namespace {

class AiTargetsTest : public BattleFixture {
protected:
    void SetUp() override {
        BattleFixture::SetUp();
        StartPlayers(5, 3, 1, 4);
    }
    // Player 0 in the middle of wide bounds, styles fixed for the test.
    PlayerRecord& Centred(Long style, Long evadeStyle) {
        PlayerRecord& p = P(0);
        p.MinX = 0;
        p.MaxX = kFieldWidth;
        p.MinY = 0;
        p.MaxY = kFieldHeight;
        p.X = kFieldWidth / 2;
        p.Y = kFieldHeight / 2;
        p.AiStyle = style;
        p.AiEvadeStyle = evadeStyle;
        p.AiStyleChange = 0;
        p.AiRange = 150;
        return p;
    }
};

enum class Kind { Target, Evasion };
enum class From { Opponent, Aim, Zero };

struct StyleCase {
    Kind kind;
    Long style;
    From from;
    Long lo, width;  // the angle lies in from + lo .. from + lo + width
    Long minDistance, maxDistance;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const StyleCase& c, std::ostream* os) {
    *os << "style=" << c.style << " lo=" << c.lo << " width=" << c.width
        << " minDistance=" << c.minDistance << " maxDistance=" << c.maxDistance;
}

class AiStyleTest : public AiTargetsTest, public ::testing::WithParamInterface<StyleCase> {};

// Many points of one style: each lies in the style's range of angles and
// distances (angles within 3 for the rounding of the tables).
TEST_P(AiStyleTest, PointsLieInTheStylesRange) {
    const StyleCase& c = GetParam();
    for (int seed = 1; seed <= 60; ++seed) {
        PlayerRecord& p = Centred(c.style, c.style);
        core::gApi().SeedHelperRandom(static_cast<std::uint64_t>(seed));
        const PlayerRecord& q = P(1);
        if (c.kind == Kind::Target) {
            AiChooseTarget(p, q);
        } else {
            AiChooseEvasion(p, q);
        }
        const Long dx = p.AiNextX - p.X, dy = p.AiNextY - p.Y;
        const Long pixels = (lib::ALT(dx, dy) + 128) / 256;
        EXPECT_GE(pixels, c.minDistance) << "seed " << seed;
        EXPECT_LE(pixels, c.maxDistance) << "seed " << seed;
        if (pixels == 0) continue;
        const Long base = c.from == From::Opponent ? lib::AHT(q.X - p.X, q.Y - p.Y)
                          : c.from == From::Aim    ? p.AimAngle
                                                   : 0;
        const Long into = (lib::AHT(dx, dy) - base - c.lo + 3) & 4095;
        EXPECT_LE(into, c.width + 6) << "seed " << seed << " angle " << lib::AHT(dx, dy);
    }
}

constexpr Long kAll = 4096;
INSTANTIATE_TEST_SUITE_P(
    Styles, AiStyleTest,
    ::testing::Values(StyleCase{Kind::Target, 0, From::Zero, 0, 0, 0, 0},
                      StyleCase{Kind::Target, 1, From::Aim, -0x400, 0x800, 20, 150},
                      StyleCase{Kind::Target, 2, From::Zero, -0x200, 0x400, 20, 150},
                      StyleCase{Kind::Target, 3, From::Zero, 0x600, 0x400, 20, 150},
                      StyleCase{Kind::Target, 4, From::Zero, 0, kAll, 20, 150},
                      StyleCase{Kind::Target, 5, From::Opponent, 0x300, 0x200, 20, 150},
                      StyleCase{Kind::Target, 6, From::Opponent, -0x500, 0x200, 20, 150},
                      StyleCase{Kind::Target, 7, From::Opponent, -0x100, 0x200, 20, 119},
                      StyleCase{Kind::Target, 8, From::Opponent, 0x180, 0x100, 20, 150},
                      StyleCase{Kind::Target, 9, From::Opponent, -0x280, 0x100, 20, 150},
                      StyleCase{Kind::Target, 10, From::Opponent, -0x400, 0x800, 20, 150},
                      StyleCase{Kind::Evasion, 0, From::Opponent, 0x400, 0x800, 30, 150},
                      StyleCase{Kind::Evasion, 1, From::Aim, -0x200, 0x400, 30, 150},
                      StyleCase{Kind::Evasion, 3, From::Zero, 0x600, 0x400, 30, 150},
                      StyleCase{Kind::Evasion, 7, From::Opponent, -0x100, 0x200, 30, 150},
                      StyleCase{Kind::Evasion, 9, From::Opponent, -0x280, 0x100, 30, 150}));

// Bounds that hold no point: after 51 tries the old point stays, for every
// style and for the escape.
TEST_F(AiTargetsTest, NoRoomKeepsTheOldPoint) {
    for (Long style = 0; style < kAiStyleCount; ++style) {
        PlayerRecord& p = Centred(style, style);
        p.MinX = p.X + 1;  // the player stands outside its own bounds
        p.MaxX = p.X + 1;
        p.AiNextX = 1234;
        p.AiNextY = 5678;
        AiChooseTarget(p, P(1));
        AiChooseEvasion(p, P(1));
        AiChooseEscape(p);
        EXPECT_EQ(p.AiNextX, 1234) << "style " << style;
        EXPECT_EQ(p.AiNextY, 5678) << "style " << style;
    }
}

// With the chance at 1000 the styles change at every try: back to the
// defaults or to random styles 0..10, and both kinds are seen.
TEST_F(AiTargetsTest, StylesDriftBackToTheirDefaultsOrAtRandom) {
    int defaults = 0, others = 0;
    for (int seed = 1; seed <= 200; ++seed) {
        PlayerRecord& p = Centred(4, 4);
        p.AiStyleChange = 1000;
        p.AiStyleDefault = 1;
        p.AiEvadeStyleDefault = 2;
        core::gApi().SeedHelperRandom(static_cast<std::uint64_t>(seed));
        AiChooseTarget(p, P(1));
        ASSERT_GE(p.AiStyle, 0);
        ASSERT_LT(p.AiStyle, kAiStyleCount);
        ASSERT_GE(p.AiEvadeStyle, 0);
        ASSERT_LT(p.AiEvadeStyle, kAiStyleCount);
        if (p.AiStyle == 1 && p.AiEvadeStyle == 2) {
            ++defaults;
        } else {
            ++others;
        }
    }
    EXPECT_GT(defaults, 90);
    EXPECT_GT(others, 50);
}

// The escape's base point by where the player stands between its x bounds.
TEST_F(AiTargetsTest, TheEscapeHeadsForItsBasePoint) {
    struct Case {
        Long x;               // the player's x
        Long nearLo, nearHi;  // where the point's x may lie
    };
    const Long minX = 6144, maxX = 157696, mid = (minX + maxX) / 2;
    const Long reach = 150 * 256;
    const Case cases[] = {
        {mid - 0x3000, minX, minX + reach},                     // well inside, left
        {mid + 0x3000, maxX - reach, maxX},                     // well inside, right
        {minX + 0x800, minX, minX + 0x800 + 0x2000 + reach},    // at the left bound
        {maxX - 0x1000, maxX - 0x1000 - 0x2000 - reach, maxX},  // at the right bound
        {minX + 0x3000, maxX - 0x3000 - 2000 - reach, maxX},    // between: the mirror
    };
    for (const Case& c : cases) {
        for (int seed = 1; seed <= 40; ++seed) {
            PlayerRecord& p = P(0);
            p.MinX = minX;
            p.MaxX = maxX;
            p.X = c.x;
            p.AiNextX = -1;
            core::gApi().SeedHelperRandom(static_cast<std::uint64_t>(seed));
            AiChooseEscape(p);
            ASSERT_NE(p.AiNextX, -1) << "x " << c.x << " seed " << seed;
            EXPECT_GE(p.AiNextX, c.nearLo) << "x " << c.x << " seed " << seed;
            EXPECT_LE(p.AiNextX, c.nearHi) << "x " << c.x << " seed " << seed;
            EXPECT_GE(p.AiNextY, p.MinY);
            EXPECT_LE(p.AiNextY, p.MaxY);
        }
    }
}

}  // namespace
}  // namespace brumil::battle::test
