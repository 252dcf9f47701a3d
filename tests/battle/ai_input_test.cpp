// The computer opponent's buttons: rates by level and art, the art chance,
// and the order of the random draws.
#include "battle/ai_input.h"

#include <gtest/gtest.h>

#include "battle_fixture.h"
#include "core/api.h"

namespace brumil::battle::test {
namespace {

struct RateCase {
    Long level;
    Long buttonRate;
    Long opponentArtFrame;
    std::array<Long, 4> rates;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const RateCase& c, std::ostream* os) {
    *os << "level=" << c.level << " buttonRate=" << c.buttonRate
        << " opponentArtFrame=" << c.opponentArtFrame;
}

class AiButtonRatesTest : public ::testing::TestWithParam<RateCase> {};

TEST_P(AiButtonRatesTest, RatesFollowLevelAndOpponentArt) {
    const RateCase& c = GetParam();
    PlayerRecord own, opponent;
    own.AiButtonRate = c.buttonRate;
    opponent.ArtFrame = c.opponentArtFrame;
    EXPECT_EQ(AiButtonRates(c.level, own, opponent), c.rates);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, AiButtonRatesTest,
    ::testing::Values(
        RateCase{1, 400, 0, {320, 320, 320, 320}},
        // Levels 1 and 2 pay no heed to the opponent's art.
        RateCase{1, 400, 100, {320, 320, 320, 320}}, RateCase{2, 550, 100, {440, 440, 440, 440}},
        RateCase{3, 700, 0, {560, 560, 560, 560}}, RateCase{3, 700, 1, {70, 2100, 560, 70}},
        RateCase{3, 700, 349, {70, 2100, 560, 70}}, RateCase{3, 700, 350, {560, 560, 560, 560}},
        RateCase{3, 700, -20, {560, 560, 560, 560}},  // the art's tail
        RateCase{4, 850, 200, {85, 2550, 680, 85}}, RateCase{6, 1000, 1, {100, 3000, 800, 100}},
        // Outside 1..6 the level counts as 1.
        RateCase{0, 400, 100, {320, 320, 320, 320}}, RateCase{7, 400, 100, {320, 320, 320, 320}},
        // Halves round to the even neighbour.
        RateCase{3, 45, 10, {4, 135, 36, 4}}, RateCase{3, 55, 10, {6, 165, 44, 6}}));

struct ArtCase {
    Long level;
    Long life;
    Long chance;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ArtCase& c, std::ostream* os) {
    *os << "level=" << c.level << " life=" << c.life << " chance=" << c.chance;
}

class AiArtChanceTest : public ::testing::TestWithParam<ArtCase> {};

TEST_P(AiArtChanceTest, ChanceByLevelAndLife) {
    PlayerRecord own;
    own.Life = GetParam().life;
    EXPECT_EQ(AiArtChance(GetParam().level, own), GetParam().chance);
}

INSTANTIATE_TEST_SUITE_P(Levels, AiArtChanceTest,
                         ::testing::Values(ArtCase{1, 10, 750}, ArtCase{2, 10, 750},
                                           ArtCase{3, 10, 750}, ArtCase{4, 10, 500},
                                           ArtCase{6, 10, 500}, ArtCase{3, 3, 750},
                                           ArtCase{1, 2, 500}, ArtCase{2, 2, 1000},
                                           ArtCase{3, 1, 2000}, ArtCase{4, 2, 4000},
                                           ArtCase{5, 0, 4000}, ArtCase{6, 2, 4000},
                                           ArtCase{0, 2, 500}, ArtCase{9, 10, 750}));

class AiDecideTest : public BattleFixture {
protected:
    void SetUp() override {
        BattleFixture::SetUp();
        StartPlayers(5, 1, 1, 4);
    }
};

// The draws of the decision, one step at a time from the same seed: the
// gate, the four buttons only when it passes, the art. The player stands
// still in its own art, so no movement draw follows.
TEST_F(AiDecideTest, DrawsComeInTheirOrderAndButtonsOnlyPastTheGate) {
    constexpr int kSteps = 20000;
    for (Long gauge : {0, 999, 1000}) {
        P(0).Gauge = gauge;
        P(0).ArtFrame = 150;
        core::gApi().SeedHelperRandom(77);
        std::vector<framework::VKeyFlags> decided;
        for (int i = 0; i < kSteps; ++i) decided.push_back(AiDecide(1, 0));

        core::gApi().SeedHelperRandom(77);
        int gatesPassed = 0;
        std::array<int, 5> presses{};
        for (int i = 0; i < kSteps; ++i) {
            const framework::VKeyFlags& f = decided[static_cast<std::size_t>(i)];
            const bool pass = core::gApi().RndDLL(9900) < 500 || gauge > 999;
            gatesPassed += pass;
            for (std::size_t k = 0; k < 4; ++k) {
                const bool down = pass && core::gApi().RndDLL(9900) < 320;
                ASSERT_EQ(f[k], down) << "gauge " << gauge << " step " << i << " button " << k;
                presses[k] += down;
            }
            ASSERT_EQ(f[4], core::gApi().RndDLL(990000) < 750) << "step " << i;
            presses[4] += f[4];
            for (std::size_t k = 5; k < f.size(); ++k) ASSERT_FALSE(f[k]) << "flag " << k;
        }
        // About 5 steps in 99 pass the gate, all of them with a full gauge;
        // past the gate each button goes down 320 times in 9900.
        const double expectedGates = gauge > 999 ? kSteps : kSteps * 500.0 / 9900.0;
        EXPECT_NEAR(gatesPassed, expectedGates, expectedGates * 0.15 + 1);
        for (std::size_t k = 0; k < 4; ++k)
            EXPECT_NEAR(presses[k], expectedGates * 320.0 / 9900.0,
                        expectedGates * 320.0 / 9900.0 * 0.3 + 3);
    }
}

TEST_F(AiDecideTest, OutsideItsOwnArtTheComputerSteersTowardItsTarget) {
    struct Case {
        Long player, targetDX, targetDY;
        int flag;
    };
    // Player 1's input is turned half a turn by its aim, so its flags are
    // mirrored.
    const Case cases[] = {
        {0, 0x3000, 0, framework::kFlagRight}, {0, -0x3000, 0, framework::kFlagLeft},
        {0, 0, -0x3000, framework::kFlagUp},   {0, 0, 0x3000, framework::kFlagDown},
        {1, 0x3000, 0, framework::kFlagLeft},  {1, 0, -0x3000, framework::kFlagDown},
    };
    for (const Case& c : cases) {
        StartPlayers(5, 6, 1, 4);
        PlayerRecord& p = P(static_cast<int>(c.player));
        p.AiTargetX = p.X + c.targetDX;
        p.AiTargetY = p.Y + c.targetDY;
        const framework::VKeyFlags f = AiDecide(6, c.player);
        for (int flag = framework::kFlagUp; flag <= framework::kFlagRight; ++flag)
            EXPECT_EQ(f[static_cast<std::size_t>(flag)], flag == c.flag)
                << "player " << c.player << " flag " << flag;
        p.ArtFrame = 10;  // in its own art it stands still
        const framework::VKeyFlags still = AiDecide(6, c.player);
        for (int flag = framework::kFlagUp; flag <= framework::kFlagRight; ++flag)
            EXPECT_FALSE(still[static_cast<std::size_t>(flag)]);
    }
}

}  // namespace
}  // namespace brumil::battle::test
