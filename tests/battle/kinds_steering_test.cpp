// Steering and fading procedures: homing, facing away, age fades, fade-in,
// settle, retarget and restart.

#include "battle/shot_kinds.h"
#include "shot_fixture.h"

namespace brumil::battle::test {
namespace {

namespace lib = platform::collision;

class SteeringTest : public ShotFixture {
protected:
    // A live record of player 0 at index 5, below the opponent.
    ShotRecord& Shot() { return Place(0, 5, kOppX, kOwnY); }
};

struct HomingCase {
    Long offset;  // the record's direction minus the direction to the opponent
    Long age;
    Long turn;  // expected change of Angle
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const HomingCase& c, std::ostream* os) {
    *os << "offset=" << c.offset << " age=" << c.age << " turn=" << c.turn;
}

class HomingTest : public SteeringTest, public ::testing::WithParamInterface<HomingCase> {};

TEST_P(HomingTest, TurnsTowardTheOpponentByAtMostTwentyBeforeAgeThirty) {
    const HomingCase& c = GetParam();
    ShotRecord& r = Shot();
    const Long toward = lib::AHT(kOppX - r.X, kOppY - r.Y);
    r.Angle = toward + c.offset;
    r.Age = c.age;
    Kind08Homing(0, 5, 0);
    EXPECT_EQ(r.Angle - (toward + c.offset), c.turn);
}

INSTANTIATE_TEST_SUITE_P(Turns, HomingTest,
                         ::testing::Values(HomingCase{300, 0, -20}, HomingCase{-300, 10, 20},
                                           HomingCase{15, 29, -15}, HomingCase{-20, 0, 20},
                                           HomingCase{0, 0, 0}, HomingCase{300, 30, 0},
                                           HomingCase{-1000, 45, 0}, HomingCase{2047, 5, -20}));

TEST_F(SteeringTest, AShotFifteenOffTurnsOnceAndThenFliesStraight) {
    ShotRecord& r = Shot();
    const Long toward = lib::AHT(kOppX - r.X, kOppY - r.Y);
    r.Angle = toward + 15;
    Kind08Homing(0, 5, 0);
    EXPECT_EQ(r.Angle, toward);
    Kind08Homing(0, 5, 0);
    EXPECT_EQ(r.Angle, toward);
}

TEST_F(SteeringTest, TheAngleIsNotWrappedIntoOneTurn) {
    ShotRecord& r = Shot();
    r.Angle = 3072 + 4096 * 2 + 100;  // up, two turns on, 100 off
    Kind08Homing(0, 5, 0);
    EXPECT_EQ(r.Angle, 3072 + 4096 * 2 + 80);
}

TEST_F(SteeringTest, FacingAwayPointsHalfATurnFromTheOpponent) {
    ShotRecord& r = Shot();
    r.Angle = 77;
    Kind09FaceAway(0, 5, 0);
    EXPECT_EQ(r.Angle, 3072 + 2048);
}

struct FadeCase {
    Long id;
    Long age;
    Long scale, alpha;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const FadeCase& c, std::ostream* os) {
    *os << "id=" << c.id << " age=" << c.age << " scale=" << c.scale << " alpha=" << c.alpha;
}

class FadeTest : public SteeringTest, public ::testing::WithParamInterface<FadeCase> {};

TEST_P(FadeTest, ScaleAndAlphaFollowTheAge) {
    const FadeCase& c = GetParam();
    ShotRecord& r = Shot();
    r.Age = c.age;
    KindProcedures().Find(c.id)(0, 5, 0);
    EXPECT_EQ(r.Scale, c.scale);
    EXPECT_EQ(r.Alpha, c.alpha);
}

INSTANTIATE_TEST_SUITE_P(Fades, FadeTest,
                         ::testing::Values(FadeCase{11, 0, 256, 192}, FadeCase{11, 14, 181, 96},
                                           FadeCase{11, 24, 128, 27}, FadeCase{11, 28, 107, 0},
                                           // Past the zero points the values go negative.
                                           FadeCase{11, 35, 69, -48}, FadeCase{11, 60, -64, -219},
                                           FadeCase{13, 0, 192, 192}, FadeCase{13, 24, 96, 27},
                                           FadeCase{13, 14, 136, 96}));

struct FadeInCase {
    Long alpha, scale, value1, value2;
    Long alphaAfter, scaleAfter;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const FadeInCase& c, std::ostream* os) {
    *os << "alpha=" << c.alpha << " scale=" << c.scale << " value1=" << c.value1
        << " value2=" << c.value2 << " alphaAfter=" << c.alphaAfter
        << " scaleAfter=" << c.scaleAfter;
}

class FadeInTest : public SteeringTest, public ::testing::WithParamInterface<FadeInCase> {};

TEST_P(FadeInTest, AlphaRisesScaleFallsBothClamped) {
    const FadeInCase& c = GetParam();
    ShotRecord& r = Shot();
    r.Alpha = c.alpha;
    r.Scale = c.scale;
    r.Value1 = c.value1;
    r.Value2 = c.value2;
    Kind14FadeIn(0, 5, 0);
    EXPECT_EQ(r.Alpha, c.alphaAfter);
    EXPECT_EQ(r.Scale, c.scaleAfter);
}

INSTANTIATE_TEST_SUITE_P(FadeIns, FadeInTest,
                         ::testing::Values(FadeInCase{250, 260, 8, 24, 255, 256},
                                           FadeInCase{0, 1024, 8, 24, 8, 1000},
                                           FadeInCase{240, 300, 8, 24, 248, 276},
                                           FadeInCase{255, 256, 8, 24, 255, 256},
                                           // Only the top of alpha and the bottom of scale
                                           // are bounded.
                                           FadeInCase{-50, 100, 8, -24, -42, 256}));

TEST_F(SteeringTest, SettleTakesTheOwnersColourAndTheSecondForm) {
    ShotRecord& r = Shot();
    r.Color = 0x123;
    r.Phase = 20;
    r.Mode1 = 2;
    r.DrawMode = 1;
    Kind15Settle(0, 5, 0);
    EXPECT_EQ(r.Color, kColor0);
    EXPECT_EQ(r.DrawMode, 10);
    EXPECT_EQ(r.Phase, 0);
    EXPECT_EQ(r.Scale, 192);
    EXPECT_EQ(r.State, 2);
    EXPECT_EQ(r.Mode1, 0);
}

struct RetargetCase {
    Long power;
    double frames;  // the flight time the speed is made for
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const RetargetCase& c, std::ostream* os) {
    *os << "power=" << c.power << " frames=" << c.frames;
}

class RetargetTest : public SteeringTest, public ::testing::WithParamInterface<RetargetCase> {};

TEST_P(RetargetTest, RestartsTowardTheOpponentCoveringTheDistanceInTime) {
    const RetargetCase& c = GetParam();
    P(0).Power = c.power;
    gGame()->Serial = 9;
    ShotRecord& r = Shot();
    r.Age = 40;
    r.Phase = 16;
    r.Group = 1;
    r.NextProcId = 29;
    r.Accel = 3;
    Kind29Retarget(0, 5, 0);
    const Long distance = lib::ALT(kOppX - r.X, kOppY - r.Y);
    EXPECT_EQ(r.Speed, RoundToLong(distance / c.frames));
    EXPECT_EQ(r.Angle, 3072);
    EXPECT_EQ(r.Serial, 9);
    EXPECT_EQ(r.Age, 0);
    EXPECT_EQ(r.Phase, 0);
    EXPECT_EQ(r.Group, 0);
    EXPECT_EQ(r.NextProcId, 0);
    EXPECT_EQ(r.Accel, 0);
    EXPECT_EQ(r.Size, 60);
    EXPECT_EQ(r.State, 1);
}

INSTANTIATE_TEST_SUITE_P(Powers, RetargetTest,
                         ::testing::Values(RetargetCase{0, 240.0}, RetargetCase{256, 120.0},
                                           RetargetCase{384, 60.0}, RetargetCase{500, 5.625},
                                           RetargetCase{510, 0.9375},
                                           // No flight time at all: one frame.
                                           RetargetCase{512, 1.0},
                                           // Past it the speed is negative.
                                           RetargetCase{520, -3.75}, RetargetCase{1280, -360.0},
                                           RetargetCase{4000, -1635.0}));

struct RestartCase {
    Long hitA;
    Long state;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const RestartCase& c, std::ostream* os) {
    *os << "hitA=" << c.hitA << " state=" << c.state;
}

class RestartTest : public SteeringTest, public ::testing::WithParamInterface<RestartCase> {};

TEST_P(RestartTest, RestartsFromStandstillOrEndsWithoutHitsLeft) {
    const RestartCase& c = GetParam();
    gGame()->Serial = 4;
    ShotRecord& r = Shot();
    r.HitA = c.hitA;
    r.Speed = 900;
    r.Age = 70;
    r.Phase = 4;
    Kind39Restart(0, 5, 0);
    EXPECT_EQ(r.State, c.state);
    EXPECT_EQ(r.Speed, 0);
    EXPECT_EQ(r.Accel, 1);
    EXPECT_EQ(r.SpeedLimit, 225);
    EXPECT_EQ(r.Age, 0);
    EXPECT_EQ(r.Phase, 0);
    EXPECT_EQ(r.Size, 60);
    EXPECT_EQ(r.Serial, 4);
}

INSTANTIATE_TEST_SUITE_P(Hits, RestartTest,
                         ::testing::Values(RestartCase{0, 0}, RestartCase{-3, 0}, RestartCase{1, 1},
                                           RestartCase{4, 1}));

struct FadingHomingCase {
    Long age, window, limit, offset;
    Long turn;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const FadingHomingCase& c, std::ostream* os) {
    *os << "age=" << c.age << " window=" << c.window << " limit=" << c.limit
        << " offset=" << c.offset << " turn=" << c.turn;
}

class FadingHomingTest : public SteeringTest,
                         public ::testing::WithParamInterface<FadingHomingCase> {};

TEST_P(FadingHomingTest, TheTurnShrinksWithAgeAndIsClamped) {
    const FadingHomingCase& c = GetParam();
    ShotRecord& r = Shot();
    r.Age = c.age;
    r.Angle = 3072 + c.offset;
    FadingHomingStep(r, kOppX, kOppY, c.window, c.limit);
    EXPECT_EQ(r.Angle - (3072 + c.offset), c.turn);
}

INSTANTIATE_TEST_SUITE_P(Steps, FadingHomingTest,
                         ::testing::Values(FadingHomingCase{0, 10, 400, 300, -300},
                                           FadingHomingCase{5, 10, 400, 300, -150},
                                           FadingHomingCase{0, 10, 400, 1000, -400},
                                           FadingHomingCase{0, 40, 600, -1000, 600},
                                           FadingHomingCase{20, 40, 600, -1000, 500},
                                           FadingHomingCase{9, 10, 400, 1000, -100},
                                           FadingHomingCase{10, 10, 400, 1000, 0},
                                           FadingHomingCase{50, 40, 600, 1000, 0}));

}  // namespace
}  // namespace brumil::battle::test
