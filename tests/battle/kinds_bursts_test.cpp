// Burst procedures: lines, rings, fans, splits and single children.

#include <algorithm>
#include <map>
#include <vector>

#include "battle/shot_kinds.h"
#include "shot_fixture.h"

namespace brumil::battle::test {
namespace {

namespace lib = platform::collision;

// The parent sits in the second pool so that its children in the main pool
// are easy to tell from it.
constexpr Long kParent = 810;

class BurstTest : public ShotFixture {
protected:
    ShotRecord& Parent(Long power = 0) {
        P(0).Power = power;
        ShotRecord& r = Place(0, kParent, 0x10000, 0x10000);
        r.Color = 0xABCDEF;
        r.Angle = 1000;
        r.Speed = 700;
        r.TargetX = 0x10000;
        r.TargetY = 0x20000;  // straight down: 1024
        return r;
    }
    bool ParentEnded() const { return P(0).Shots[kParent].State == 0; }

    static std::vector<Long> Speeds(const std::vector<ShotRecord>& shots) {
        std::vector<Long> out;
        for (const ShotRecord& r : shots) out.push_back(r.Speed);
        return out;
    }
};

struct LineCase {
    Long id;
    Long power;
    std::vector<Long> directions;  // relative to the parent's reference
    std::vector<Long> speeds;      // of each direction, in order
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const LineCase& c, std::ostream* os) {
    *os << "id=" << c.id << " power=" << c.power;
}

class LineTest : public BurstTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineTest, LinesOfGrowingSpeedAlongEachDirection) {
    const LineCase& c = GetParam();
    Parent(c.power);
    KindProcedures().Find(c.id)(0, kParent, 0);
    const auto shots = Main(0);
    ASSERT_EQ(shots.size(), c.directions.size() * c.speeds.size());
    // 16 follows the parent's course, the others the target point (down).
    const Long reference = c.id == 16 ? 1000 : 1024;
    std::size_t k = 0;
    for (const Long d : c.directions) {
        for (const Long speed : c.speeds) {
            EXPECT_EQ(shots[k].Angle, reference + d) << k;
            EXPECT_EQ(shots[k].Speed, speed) << k;
            EXPECT_EQ(shots[k].Color, 0xABCDEF);
            EXPECT_EQ(shots[k].DrawMode, 10);
            EXPECT_EQ(shots[k].DrawW, c.id == 16 ? 8192 : 0x1D00);
            EXPECT_EQ(shots[k].ProcId, 0);
            ++k;
        }
    }
    EXPECT_TRUE(ParentEnded());
}

std::vector<Long> Steps(Long from, Long to, Long unit) {
    std::vector<Long> out;
    for (Long i = from; i <= to; ++i) out.push_back(unit * i);
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineTest,
    ::testing::Values(LineCase{16, 0, {0}, {450, 600, 750, 900, 1050}},
                      LineCase{16, 256, {0}, Steps(2, 17, 100)},
                      LineCase{17, 0, {0}, {750, 900, 1050, 1200}},
                      LineCase{17, 256, {0}, Steps(4, 11, 140)},
                      LineCase{18, 0, {-128, 128}, {750, 900, 1050, 1200}},
                      LineCase{19, 0, {-640, -384, -128, 128, 384, 640}, {750, 900}}));

TEST_F(BurstTest, LineBurstAtHighPowerFliesBackwardsWithoutFault) {
    // The factor 150 - 50p is negative above power 768: the speeds turn
    // negative, the line is still made.
    Parent(1280);
    Kind16LineBurst(0, kParent, 0);
    const auto shots = Main(0);
    ASSERT_EQ(shots.size(), 60u);  // i = nearest(3 - 5) = -2 to 57
    for (std::size_t k = 1; k < shots.size(); ++k) EXPECT_LE(shots[k].Speed, shots[k - 1].Speed);
}

struct ChildCase {
    Long id;
    Long angle, speed, slot, drawKind, color, proc, scale, mode;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ChildCase& c, std::ostream* os) {
    *os << "id=" << c.id << " angle=" << c.angle << " speed=" << c.speed << " slot=" << c.slot
        << " drawKind=" << c.drawKind << " color=" << c.color << " proc=" << c.proc
        << " scale=" << c.scale << " mode=" << c.mode;
}

class ChildTest : public BurstTest, public ::testing::WithParamInterface<ChildCase> {};

TEST_P(ChildTest, OneFreshChildThatHomesAndFades) {
    const ChildCase& c = GetParam();
    gGame()->Serial = 7;
    ShotRecord& parent = Parent();
    parent.Serial = 2;
    parent.Age = 50;
    KindProcedures().Find(c.id)(0, kParent, 0);
    const auto shots = Main(0);
    ASSERT_EQ(shots.size(), 1u);
    const ShotRecord& r = shots[0];
    EXPECT_EQ(r.Angle, c.angle);
    EXPECT_EQ(r.Speed, c.speed);
    EXPECT_EQ(r.SpriteSlot, c.slot);
    EXPECT_EQ(r.DrawKind, c.drawKind);
    EXPECT_EQ(r.Color, c.color);
    EXPECT_EQ(r.ProcId, c.proc);
    EXPECT_EQ(r.SwitchAge, 28);
    EXPECT_EQ(r.Scale, c.scale);
    EXPECT_EQ(r.Alpha, 192);
    EXPECT_EQ(r.Param1, 8);
    EXPECT_EQ(r.Mode1, c.mode);
    EXPECT_EQ(r.Mode2, c.mode);
    EXPECT_EQ(r.Value1, 1);
    EXPECT_EQ(r.NextProcId, 0);
    EXPECT_EQ(r.Size, 0);
    EXPECT_EQ(r.Group, -1);
    // A fresh record: the battle's serial and age 0, not the parent's.
    EXPECT_EQ(r.Serial, 7);
    EXPECT_EQ(r.Age, 0);
    EXPECT_EQ(r.X, 0x10000);
    EXPECT_TRUE(ParentEnded());
}

INSTANTIATE_TEST_SUITE_P(Children, ChildTest,
                         ::testing::Values(ChildCase{10, 1000 + 0x800, 500, 7, 33, 0, 11, 256, 3},
                                           ChildCase{12, 1000, 0, 0, 32, 0xABCDEF, 13, 192, 5}));

struct RingCase {
    Long id;
    Long power;
    Long count;
    Long speed;
    bool parentEnds;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const RingCase& c, std::ostream* os) {
    *os << "id=" << c.id << " power=" << c.power << " count=" << c.count << " speed=" << c.speed
        << " parentEnds=" << c.parentEnds;
}

class RingTest : public BurstTest, public ::testing::WithParamInterface<RingCase> {};

TEST_P(RingTest, AnEvenRingFromThePlayersFacing) {
    const RingCase& c = GetParam();
    Parent(c.power);
    KindProcedures().Find(c.id)(0, kParent, 0);
    auto shots = Main(0);
    ASSERT_EQ(static_cast<Long>(shots.size()), c.count);
    for (Long j = 0; j < c.count; ++j) {
        const ShotRecord& r = shots[static_cast<std::size_t>(j)];
        EXPECT_EQ(r.Angle, RoundToLong(j * 4096.0 / c.count + 3072));
        EXPECT_EQ(r.Speed, c.speed);
        EXPECT_EQ(r.Color, kColor0);
        EXPECT_EQ(r.Accel, 0);
    }
    EXPECT_EQ(ParentEnded(), c.parentEnds);
}

INSTANTIATE_TEST_SUITE_P(
    Rings, RingTest,
    ::testing::Values(RingCase{22, 0, 4, 240, true}, RingCase{22, 256, 18, 240, true},
                      RingCase{23, 0, 11, 320, true}, RingCase{24, 0, 11, 320, true},
                      RingCase{25, 256, 22, 320, true}, RingCase{20, 0, 4, 240, false},
                      RingCase{20, 256, 8, 240, false}));

TEST_F(BurstTest, SlowRingsTwentyThreeToTwentyFiveAreTheSame) {
    std::vector<std::vector<ShotRecord>> results;
    for (const Long id : {23, 24, 25}) {
        P(0).Shots = {};
        Parent(512);
        KindProcedures().Find(id)(0, kParent, 0);
        results.push_back(Main(0));
    }
    for (std::size_t k = 1; k < results.size(); ++k) {
        ASSERT_EQ(results[k].size(), results[0].size());
        for (std::size_t i = 0; i < results[0].size(); ++i)
            EXPECT_TRUE(SameBytes(results[k][i], results[0][i])) << k << "/" << i;
    }
    EXPECT_EQ(results[0][0].Size, 24);
    EXPECT_EQ(results[0][0].Scale, 192);
    EXPECT_EQ(results[0][0].Param1, 2);
    EXPECT_EQ(results[0][0].Value1, 16);
}

TEST_F(BurstTest, RotatingRingFiresEveryEighthAgeUpToFiftySix) {
    std::vector<Long> fired;
    ShotRecord& parent = Parent();
    for (Long age = 0; age <= 72; ++age) {
        parent.Age = age;
        const std::size_t before = Main(0).size();
        Kind20RotatingRing(0, kParent, 0);
        if (Main(0).size() > before) {
            fired.push_back(age);
            // Each ring is turned by a quarter step per frame of age.
            const ShotRecord first = Main(0)[before];
            EXPECT_EQ(first.Angle, RoundToLong(age / 4.0 * 1024.0 + 3072)) << age;
        }
    }
    EXPECT_EQ(fired, (std::vector<Long>{0, 8, 16, 24, 32, 40, 48, 56}));
    EXPECT_FALSE(ParentEnded());
}

struct FanCase {
    Long power;
    std::vector<Long> steps;  // multiples of 192 off the aim
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const FanCase& c, std::ostream* os) {
    *os << "power=" << c.power;
}

class FanTest : public BurstTest, public ::testing::WithParamInterface<FanCase> {};

TEST_P(FanTest, AimedFanWidensWithPower) {
    const FanCase& c = GetParam();
    Parent(c.power);
    Kind26AimedFan(0, kParent, 0);
    const auto shots = Main(0);
    ASSERT_EQ(shots.size(), c.steps.size());
    const Long aim = lib::AHT(kOppX - 0x10000, kOppY - 0x10000);
    for (std::size_t k = 0; k < shots.size(); ++k) {
        EXPECT_EQ(shots[k].Angle, aim + 192 * c.steps[k]);
        EXPECT_EQ(shots[k].Speed, RoundToLong(200.0 * c.power / 256.0 + 600.0));
    }
    EXPECT_TRUE(ParentEnded());
}

INSTANTIATE_TEST_SUITE_P(Fans, FanTest,
                         ::testing::Values(FanCase{0, {-1, 0, 1}}, FanCase{192, {-2, -1, 0, 1, 2}},
                                           FanCase{256, {-3, -2, -1, 0, 1, 2, 3}}));

struct SplitCase {
    Long hitA;
    std::vector<Long> turns;
    Long next;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << "hitA=" << c.hitA << " next=" << c.next;
}

class SplitTest : public BurstTest, public ::testing::WithParamInterface<SplitCase> {};

TEST_P(SplitTest, SplitsIntoThreeAndTheLastGenerationIntoFive) {
    const SplitCase& c = GetParam();
    gGame()->Serial = 5;
    ShotRecord& parent = Parent();
    parent.HitA = c.hitA;
    parent.NextProcId = 27;
    parent.SwitchAge = 30;
    parent.Scale = 256;
    parent.Age = 30;
    Kind27Split(0, kParent, 0);
    const auto shots = Main(0);
    ASSERT_EQ(shots.size(), c.turns.size());
    for (std::size_t k = 0; k < shots.size(); ++k) {
        EXPECT_EQ(shots[k].Angle, 1000 + c.turns[k]);
        EXPECT_EQ(shots[k].NextProcId, c.next);
        EXPECT_EQ(shots[k].SwitchAge, 30);
        EXPECT_EQ(shots[k].HitA, c.hitA - 2);
        EXPECT_EQ(shots[k].Speed, 740);
        EXPECT_EQ(shots[k].Scale, 208);
        EXPECT_EQ(shots[k].Age, 0);
        EXPECT_EQ(shots[k].Serial, 5);
        EXPECT_EQ(shots[k].Color, 0xABCDEF);
    }
    EXPECT_TRUE(ParentEnded());
}

INSTANTIATE_TEST_SUITE_P(Splits, SplitTest,
                         ::testing::Values(SplitCase{2, {-800, -400, 0, 400, 800}, 21},
                                           SplitCase{1, {-800, -400, 0, 400, 800}, 21},
                                           SplitCase{4, {-400, 0, 400}, 27},
                                           SplitCase{3, {-400, 0, 400}, 27}));

TEST_F(BurstTest, BackPairCurvesBothWaysAndStartsWhenStanding) {
    for (const Long speed : {700, 0}) {
        P(0).Shots = {};
        Parent().Speed = speed;
        Kind28BackPair(0, kParent, 0);
        const auto shots = Main(0);
        ASSERT_EQ(shots.size(), 2u);
        EXPECT_EQ(shots[0].Angle, 1000 + 0x780);
        EXPECT_EQ(shots[0].MotionA, -10);
        EXPECT_EQ(shots[1].Angle, 1000 + 0x880);
        EXPECT_EQ(shots[1].MotionA, 10);
        for (const ShotRecord& r : shots) {
            EXPECT_EQ(r.Speed, speed);
            EXPECT_EQ(r.Accel, speed == 0 ? 4 : 0);
            EXPECT_EQ(r.SpeedLimit, speed == 0 ? 100 : 0);
            EXPECT_EQ(r.Size, 60);
        }
        EXPECT_TRUE(ParentEnded());
    }
}

TEST_F(BurstTest, CounterRingBelongsToTheOpponentAndUsesItsPowerAndColour) {
    P(1).Power = 256;  // n = 6
    Parent(0);
    Kind30CounterRing(0, kParent, 0);
    EXPECT_TRUE(Main(0).empty());
    const auto shots = Main(1);
    ASSERT_EQ(shots.size(), 6u);
    for (std::size_t j = 0; j < shots.size(); ++j) {
        EXPECT_EQ(shots[j].Color, kColor1);
        EXPECT_EQ(shots[j].Size, 60);
        // Turned by the owner's facing (3072), not the opponent's.
        EXPECT_EQ(shots[j].Angle, RoundToLong(j * 4096.0 / 6 + 3072));
    }
    EXPECT_TRUE(ParentEnded());
}

TEST_F(BurstTest, ARingWithFewFreeSlotsKeepsWhatFitsAndTheParentStillEnds) {
    FillPool(0, kMainPoolStart, kMainPoolSize, 3);
    Parent(256);  // 18 shots wanted
    Kind22Ring(0, kParent, 0);
    Long made = 0;
    for (const ShotRecord& r : Main(0)) made += r.X == 0x10000 ? 1 : 0;
    EXPECT_EQ(made, 3);
    EXPECT_TRUE(ParentEnded());
}

}  // namespace
}  // namespace brumil::battle::test
