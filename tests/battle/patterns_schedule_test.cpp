// Firing schedules, power windows, gauge costs and serial raises of the 39
// attack patterns.

#include <array>
#include <vector>

#include "battle/shot_patterns.h"
#include "shot_fixture.h"

namespace brumil::battle::test {
namespace {

class PatternScheduleTest : public ShotFixture {
protected:
    // Total live records of player 0 in all pools.
    static Long Count() {
        return static_cast<Long>(Main(0).size() + Second(0).size() + Third(0).size());
    }

    // Runs pattern n for frames 1..last at the given power, clearing the
    // pools before each frame; answers the frames on which shots appeared.
    std::vector<Long> FiringFrames(Long n, Long power, Long last) {
        std::vector<Long> frames;
        P(0).Power = power;
        for (Long f = 1; f <= last; ++f) {
            P(0).Shots = {};
            P(0).AttackFrame = f;
            RunShotPattern(n, 0);
            if (Count() > 0) frames.push_back(f);
        }
        return frames;
    }
};

TEST_F(PatternScheduleTest, EveryPatternSetsItsCostAtFrameOneOnly) {
    const std::array<Long, kShotPatternCount> costs = {
        50, 50,  50, 50, 75, 75, 75,  100, 60,  50, 50,  50,  50,  50,  50,  50,  50,  50,  50, 50,
        75, 125, 50, 75, 75, 50, 175, 75,  125, 80, 100, 100, 180, 140, 180, 140, 180, 140, 100};
    for (Long n = 1; n <= kShotPatternCount; ++n) {
        SCOPED_TRACE(n);
        P(0).Shots = {};
        P(0).GaugeCost = -1;
        P(0).AttackFrame = 1;
        RunShotPattern(n, 0);
        EXPECT_EQ(P(0).GaugeCost, costs[static_cast<std::size_t>(n - 1)]);
        EXPECT_EQ(ShotPatternCosts()[static_cast<std::size_t>(n - 1)], P(0).GaugeCost);
        P(0).GaugeCost = -1;
        for (const Long f : {2, 4, 8, 10, 20}) {
            P(0).AttackFrame = f;
            RunShotPattern(n, 0);
        }
        EXPECT_EQ(P(0).GaugeCost, -1);
    }
}

struct WindowCase {
    Long pattern;
    Long power;
    Long last;
    std::vector<Long> frames;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << "pattern=" << c.pattern << " power=" << c.power << " last=" << c.last;
}

class PatternWindowTest : public PatternScheduleTest,
                          public ::testing::WithParamInterface<WindowCase> {};

TEST_P(PatternWindowTest, FiresOnTheListedFramesInsideThePowerWindow) {
    const WindowCase& c = GetParam();
    EXPECT_EQ(FiringFrames(c.pattern, c.power, c.last), c.frames);
}

INSTANTIATE_TEST_SUITE_P(
    Schedules, PatternWindowTest,
    ::testing::Values(
        WindowCase{2, 0, 130, {1, 8, 16, 25}},
        WindowCase{2, 1280, 130, {1, 8, 16, 25, 35, 46, 58, 60, 72}},
        // Every further tenth of power adds one frame: 25 + 10 x 1.0 = 35.
        WindowCase{2, 256, 130, {1, 8, 16, 25, 35}}, WindowCase{1, 0, 130, {20, 40}},
        WindowCase{1, 256, 130, {20, 40, 60, 80, 100}}, WindowCase{3, 0, 130, {1, 8, 16, 25}},
        WindowCase{4, 0, 130, {1}}, WindowCase{4, 256, 130, {1, 20, 40, 60, 80, 100}},
        WindowCase{5, 0, 30, {1}}, WindowCase{5, 256, 30, {1, 7, 13, 19}},
        WindowCase{6, 0, 130, {1, 7, 14, 22, 31}}, WindowCase{8, 0, 40, {4, 8, 12, 16, 20, 24}},
        WindowCase{9, 0, 40, {4, 8, 12, 16, 20, 24, 28}}, WindowCase{10, 0, 40, {1}},
        WindowCase{10, 256, 40, {1, 10, 20, 30}}, WindowCase{13, 0, 130, {1, 10, 20}},
        WindowCase{14, 4000, 130, {1, 10, 20}}, WindowCase{15, 0, 130, {1, 10, 20}},
        WindowCase{20, 0, 130, {1, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}},
        WindowCase{28, 0, 30, {1}}, WindowCase{28, 256, 30, {1, 10, 20}},
        WindowCase{29, 256, 40, {1, 20, 30}},
        WindowCase{32, 0, 40, {1, 2, 3, 5, 8, 11, 14, 17, 20, 24, 28}}, WindowCase{30, 0, 40, {1}},
        WindowCase{39, 0, 40, {1}}));

struct SerialCase {
    Long pattern;
    Long raises;  // over frames 1..40
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const SerialCase& c, std::ostream* os) {
    *os << "pattern=" << c.pattern << " raises=" << c.raises;
}

class PatternSerialTest : public PatternScheduleTest,
                          public ::testing::WithParamInterface<SerialCase> {};

TEST_P(PatternSerialTest, SpecialMovesRaiseTheSerialBeforeTheirObject) {
    const SerialCase& c = GetParam();
    std::vector<Long> serials;
    for (Long f = 1; f <= 40; ++f) {
        const Long before = gGame()->Serial;
        P(0).Shots = {};
        P(0).AttackFrame = f;
        RunShotPattern(c.pattern, 0);
        // Whatever was made this frame carries the serial after the raise.
        for (const auto& pool : {Main(0), Third(0)})
            for (const ShotRecord& r : pool) EXPECT_EQ(r.Serial, gGame()->Serial) << f;
        EXPECT_LE(gGame()->Serial - before, 1);
    }
    EXPECT_EQ(gGame()->Serial - 1, c.raises);
}

INSTANTIATE_TEST_SUITE_P(Serials, PatternSerialTest,
                         ::testing::Values(SerialCase{30, 1}, SerialCase{31, 1}, SerialCase{32, 11},
                                           SerialCase{33, 1}, SerialCase{34, 1}, SerialCase{35, 1},
                                           SerialCase{36, 1}, SerialCase{37, 0}, SerialCase{38, 1},
                                           SerialCase{39, 1}, SerialCase{2, 0}, SerialCase{22, 0}));

TEST_F(PatternScheduleTest, TheTableRunsPatternNAndIgnoresOtherNumbers) {
    const auto& table = ShotPatternTable();
    EXPECT_EQ(table[0], &ShotPattern01);
    EXPECT_EQ(table[21], &ShotPattern22);
    EXPECT_EQ(table[38], &ShotPattern39);
    for (const Long n : {0, -1, 40, 1000}) {
        P(0).AttackFrame = 1;
        P(0).GaugeCost = -1;
        RunShotPattern(n, 0);
        EXPECT_EQ(P(0).GaugeCost, -1) << n;
        EXPECT_EQ(Count(), 0) << n;
    }
}

TEST_F(PatternScheduleTest, PatternThirtyTwoBoostsAndGuardsOnlyAtItsFirstFrame) {
    for (Long f = 1; f <= 3; ++f) {
        P(0).SpeedBoost = 0;
        P(0).Invulnerable = 0;
        P(0).AttackFrame = f;
        ShotPattern32(0);
        EXPECT_EQ(P(0).SpeedBoost, f == 1 ? 10800 : 0) << f;
        EXPECT_EQ(P(0).Invulnerable, f == 1 ? 30 : 0) << f;
    }
    EXPECT_EQ(Third(0).size(), 3u);
}

}  // namespace
}  // namespace brumil::battle::test
