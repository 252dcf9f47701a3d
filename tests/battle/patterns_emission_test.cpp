// What the attack patterns place: fans, rings, lines, beams and the flank
// and cross placements.

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "battle/shot_patterns.h"
#include "shot_fixture.h"

namespace brumil::battle::test {
namespace {

namespace lib = platform::collision;

class PatternEmissionTest : public ShotFixture {
protected:
    void Fire(Long n, Long frame, Long power) {
        P(0).Power = power;
        P(0).AttackFrame = frame;
        RunShotPattern(n, 0);
    }
    // The aim from player 0 to player 1.
    static Long Aim() { return lib::AHT(kOppX - kOwnX, kOppY - kOwnY); }

    // Angles of the main pool's records grouped by speed.
    static std::map<Long, std::vector<Long>> AnglesBySpeed() {
        std::map<Long, std::vector<Long>> out;
        for (const ShotRecord& r : Main(0)) out[r.Speed].push_back(r.Angle);
        for (auto& [speed, angles] : out) std::sort(angles.begin(), angles.end());
        return out;
    }
};

TEST_F(PatternEmissionTest, PatternFiveMakesTwoEvenFansAtPowerZero) {
    Fire(5, 1, 0);
    const auto fans = AnglesBySpeed();
    ASSERT_EQ(fans.size(), 2u);
    const std::vector<Long>& slow = fans.at(420);
    const std::vector<Long>& fast = fans.at(490);
    ASSERT_EQ(slow.size(), 13u);
    ASSERT_EQ(fast.size(), 15u);
    for (std::size_t i = 1; i < slow.size(); ++i) EXPECT_EQ(slow[i] - slow[i - 1], 154);
    for (std::size_t i = 1; i < fast.size(); ++i) EXPECT_EQ(fast[i] - fast[i - 1], 153);
    // Both fans are centred on the aim.
    EXPECT_EQ(slow[6], Aim());
    EXPECT_EQ(fast[7], Aim());
    for (const ShotRecord& r : Main(0)) {
        EXPECT_EQ(r.DrawMode, 10);
        EXPECT_EQ(r.SpriteSlot, 5);
        EXPECT_EQ(r.Color, kColor0);
    }
}

TEST_F(PatternEmissionTest, PatternFiveWithAVanishingStepStopsAndStillSounds) {
    // At this power the step of every row is 0 or negative.
    for (const Long power : {4000, 20000, 100000}) {
        P(0).Shots = {};
        Fire(5, 1, power);
        EXPECT_TRUE(Main(0).empty()) << power;
    }
    // Just below the edge the step is 1 and the fan is wide but finite.
    P(0).Shots = {};
    Fire(5, 1, 3000);
    EXPECT_FALSE(Main(0).empty());
}

TEST_F(PatternEmissionTest, PatternSixFanLiesHalfAStepOffTheAim) {
    Fire(6, 1, 0);
    std::vector<Long> offsets;
    for (const ShotRecord& r : Main(0)) {
        offsets.push_back(Aim() - r.Angle);
        EXPECT_EQ(r.Speed, 1200);
        EXPECT_EQ(r.X, 0);  // the attack point, left at 0 here
    }
    std::sort(offsets.begin(), offsets.end());
    EXPECT_EQ(offsets, (std::vector<Long>{-900, -540, -180, 180, 540}));
}

struct RingCase {
    Long pattern;
    Long power;
    bool aimsStraight;  // one shot of each ring flies at the opponent
    Long rings;
    Long perRing;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const RingCase& c, std::ostream* os) {
    *os << "pattern=" << c.pattern << " power=" << c.power << " aimsStraight=" << c.aimsStraight
        << " rings=" << c.rings << " perRing=" << c.perRing;
}

class PatternRingTest : public PatternEmissionTest,
                        public ::testing::WithParamInterface<RingCase> {};

TEST_P(PatternRingTest, RingsAimStraightOrHalfAStepOff) {
    const RingCase& c = GetParam();
    Fire(c.pattern, 1, c.power);
    const auto rings = AnglesBySpeed();
    EXPECT_EQ(static_cast<Long>(rings.size()), c.rings);
    for (const auto& [speed, angles] : rings) {
        EXPECT_EQ(static_cast<Long>(angles.size()), c.perRing) << speed;
        const bool straight =
            std::any_of(angles.begin(), angles.end(), [&](Long a) { return Wrap(a - Aim()) == 0; });
        EXPECT_EQ(straight, c.aimsStraight) << speed;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rings, PatternRingTest,
    ::testing::Values(RingCase{16, 0, false, 1, 24}, RingCase{16, 256, false, 3, 36},
                      RingCase{17, 0, false, 4, 8}, RingCase{17, 128, false, 6, 20},
                      RingCase{18, 0, true, 2, 12}, RingCase{18, 256, true, 4, 36},
                      RingCase{19, 0, true, 1, 22}, RingCase{19, 128, true, 1, 42}));

struct CountCase {
    Long pattern;
    Long frame;
    Long power;
    Long main, second, third;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const CountCase& c, std::ostream* os) {
    *os << "pattern=" << c.pattern << " frame=" << c.frame << " power=" << c.power
        << " main=" << c.main << " second=" << c.second << " third=" << c.third;
}

class PatternCountTest : public PatternEmissionTest,
                         public ::testing::WithParamInterface<CountCase> {};

TEST_P(PatternCountTest, PlacesItsShotsInItsPool) {
    const CountCase& c = GetParam();
    Fire(c.pattern, c.frame, c.power);
    EXPECT_EQ(static_cast<Long>(Main(0).size()), c.main);
    EXPECT_EQ(static_cast<Long>(Second(0).size()), c.second);
    EXPECT_EQ(static_cast<Long>(Third(0).size()), c.third);
    EXPECT_TRUE(Main(1).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Counts, PatternCountTest,
    ::testing::Values(
        CountCase{1, 20, 0, 6, 0, 0}, CountCase{2, 1, 0, 1, 0, 0}, CountCase{7, 1, 0, 1, 0, 0},
        CountCase{7, 1, 512, 5, 0, 0}, CountCase{8, 4, 0, 0, 3, 0}, CountCase{9, 4, 0, 0, 1, 0},
        CountCase{10, 1, 0, 8, 0, 0}, CountCase{11, 1, 0, 12, 0, 0},
        CountCase{11, 1, 256, 24, 0, 0}, CountCase{12, 1, 0, 3, 0, 0}, CountCase{13, 1, 0, 3, 0, 0},
        CountCase{13, 1, 256, 9, 0, 0}, CountCase{14, 1, 0, 3, 0, 0},
        CountCase{15, 1, 256, 4, 0, 0}, CountCase{20, 1, 0, 6, 0, 0},
        CountCase{21, 1, 256, 18, 0, 0}, CountCase{22, 1, 0, 1, 0, 0}, CountCase{23, 1, 0, 1, 0, 0},
        CountCase{24, 1, 0, 1, 0, 0}, CountCase{25, 1, 0, 3, 0, 0}, CountCase{26, 1, 0, 2, 0, 0},
        CountCase{27, 1, 0, 20, 0, 0}, CountCase{27, 1, 256, 65, 0, 0},
        CountCase{28, 1, 0, 1, 0, 0}, CountCase{29, 1, 0, 3, 0, 0}, CountCase{30, 1, 0, 0, 0, 1},
        CountCase{36, 1, 0, 0, 0, 1}, CountCase{37, 1, 0, 4, 0, 0}, CountCase{39, 1, 0, 0, 0, 1}));

// The first record a pattern places at power 0 on its first firing frame.
struct FieldCase {
    Long pattern, frame;
    Long drawKind, procId, drawMode, nextProcId, slot, scale, size, group, hitA, accel, limit;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const FieldCase& c, std::ostream* os) {
    *os << "pattern=" << c.pattern << " frame=" << c.frame << " drawKind=" << c.drawKind
        << " procId=" << c.procId << " drawMode=" << c.drawMode << " nextProcId=" << c.nextProcId
        << " slot=" << c.slot << " scale=" << c.scale << " size=" << c.size << " group=" << c.group
        << " hitA=" << c.hitA << " accel=" << c.accel << " limit=" << c.limit;
}

class PatternFieldTest : public PatternEmissionTest,
                         public ::testing::WithParamInterface<FieldCase> {};

TEST_P(PatternFieldTest, TheRecordCarriesItsProceduresAndLooks) {
    const FieldCase& c = GetParam();
    Fire(c.pattern, c.frame, 0);
    std::vector<ShotRecord> all = Main(0);
    for (const auto& pool : {Second(0), Third(0)}) all.insert(all.end(), pool.begin(), pool.end());
    ASSERT_FALSE(all.empty());
    const ShotRecord r = all[0];
    EXPECT_EQ(r.DrawKind, c.drawKind);
    EXPECT_EQ(r.ProcId, c.procId);
    EXPECT_EQ(r.DrawMode, c.drawMode);
    EXPECT_EQ(r.NextProcId, c.nextProcId);
    EXPECT_EQ(r.SpriteSlot, c.slot);
    EXPECT_EQ(r.Scale, c.scale);
    EXPECT_EQ(r.Size, c.size);
    EXPECT_EQ(r.Group, c.group);
    EXPECT_EQ(r.HitA, c.hitA);
    EXPECT_EQ(r.Accel, c.accel);
    EXPECT_EQ(r.SpeedLimit, c.limit);
    EXPECT_EQ(r.Color, kColor0);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PatternFieldTest,
    ::testing::Values(FieldCase{1, 20, 17, 0, 0, 0, 12, 256, 18, 0, 4, -10, 50},
                      FieldCase{2, 1, 16, 14, 0, 16, 12, 1024, 18, 0, 4, 0, 0},
                      FieldCase{3, 1, 16, 14, 0, 19, 13, 768, 18, 0, 4, 0, 0},
                      FieldCase{4, 1, 16, 14, 0, 18, 13, 768, 18, 0, 4, 0, 0},
                      FieldCase{5, 1, 16, 0, 10, 0, 5, 256, 18, 0, 4, 0, 0},
                      FieldCase{6, 1, 17, 0, 10, 0, 12, 256, 18, 0, 4, 0, 0},
                      FieldCase{7, 1, 17, 20, 10, 0, 14, 256, 18, 0, 4, 0, 0},
                      FieldCase{8, 4, 25, 0, 1, 0, 0, 256, 75, 0, 0, 0, 0},
                      FieldCase{9, 4, 25, 0, 1, 0, 0, 256, 75, 0, 0, 0, 0},
                      FieldCase{10, 1, 16, 0, 10, 23, 6, 288, 30, 1, 2, -20, 20},
                      FieldCase{11, 1, 16, 0, 10, 23, 6, 288, 18, 1, 2, -8, 20},
                      FieldCase{12, 1, 16, 0, 10, 22, 9, 256, 18, 1, 2, 1, 20},
                      FieldCase{13, 1, 16, 0, 10, 21, 6, 192, 18, 1, 2, 0, 0},
                      FieldCase{14, 1, 16, 0, 10, 26, 0, 256, 18, 1, 2, 1, 20},
                      FieldCase{15, 1, 16, 0, 10, 26, 0, 256, 18, 1, 2, 1, 20},
                      FieldCase{16, 1, 17, 0, 10, 28, 0, 256, 18, 1, 2, 0, 0},
                      FieldCase{17, 1, 17, 0, 10, 28, 0, 256, 18, 1, 2, 0, 0},
                      FieldCase{18, 1, 17, 0, 10, 29, 2, 256, 18, 1, 4, 0, 0},
                      FieldCase{19, 1, 17, 0, 10, 29, 2, 256, 18, 1, 4, 0, 0},
                      FieldCase{20, 1, 17, 0, 10, 2, 5, 256, 18, 0, 4, -1, 40},
                      FieldCase{21, 1, 17, 0, 10, 2, 5, 256, 18, 0, 4, -1, 48},
                      FieldCase{22, 1, 16, 67, 0, 0, 9, 0, 100, -1, 4, 4, 50},
                      FieldCase{23, 1, 16, 63, 0, 0, 9, 0, 100, -1, 4, 4, 50},
                      FieldCase{24, 1, 16, 64, 0, 0, 9, 0, 100, -1, 4, 4, 50},
                      FieldCase{25, 1, 16, 63, 0, 0, 9, 0, 100, -1, 4, 4, 50},
                      FieldCase{26, 1, 16, 62, 0, 0, 9, 0, 100, -1, 4, 4, 50},
                      FieldCase{27, 1, 16, 61, 10, 0, 9, 256, 100, 0, 4, 4, 50},
                      FieldCase{28, 1, 16, 59, 10, 0, 9, 256, 100, 0, 4, 4, 50},
                      FieldCase{29, 1, 16, 59, 10, 0, 9, 256, 100, 0, 4, 4, 50},
                      FieldCase{30, 1, 9, 33, 0, 0, 0, 0, 18, -1, 4, 0, 0},
                      FieldCase{31, 1, 9, 35, 0, 0, 0, 0, 18, -1, 4, 0, 0},
                      FieldCase{32, 1, 9, 37, 0, 0, 0, 0, 18, -1, 4, 0, 0},
                      FieldCase{33, 1, 9, 38, 0, 0, 0, 0, 18, -1, 4, 0, 0},
                      FieldCase{34, 1, 9, 45, 0, 0, 0, 0, 18, -1, 4, 0, 0},
                      FieldCase{35, 1, 9, 47, 0, 0, 0, 0, 18, -1, 4, 0, 0},
                      FieldCase{36, 1, 9, 50, 0, 0, 0, 0, 18, -1, 4, 0, 0},
                      FieldCase{37, 1, 16, 66, 0, 0, 9, 0, 100, -1, 4, 4, 50},
                      FieldCase{38, 1, 9, 57, 0, 0, 0, 0, 18, -1, 4, 0, 0},
                      FieldCase{39, 1, 8, 32, 0, 0, 0, 0, 18, -1, 4, 0, 0}));

TEST_F(PatternEmissionTest, PatternTwoCarriesItsFadeAndLineBurst) {
    Fire(2, 1, 0);
    ASSERT_EQ(Main(0).size(), 1u);
    const ShotRecord r = Main(0)[0];
    EXPECT_EQ(r.ProcId, 14);
    EXPECT_EQ(r.NextProcId, 16);
    EXPECT_EQ(r.SwitchAge, 30);
    EXPECT_EQ(r.Scale, 1024);
    EXPECT_EQ(r.Alpha, 0);
    EXPECT_EQ(r.Value1, 8);
    EXPECT_EQ(r.Value2, 24);
    EXPECT_EQ(r.Angle, Aim());
    EXPECT_EQ(r.Speed, 100);
    EXPECT_EQ(r.X, kOwnX);
    EXPECT_EQ(r.Y, kOwnY);
    EXPECT_EQ(r.Color, kColor0);
}

// With the opponent off the line the player faces, a spawn offset, an
// attack point and a running frame count, each input shows where the
// pattern uses it: the first shot's start and angle (turn + the aim or the
// facing + multiples of FrameCount and of the attack frame).
TEST_F(PatternEmissionTest, AimFacingSpawnAndFrameCountGoWhereTheyBelong) {
    P(1).X = kOppX + 0x9000;
    P(0).SpawnDX = -7680;
    P(0).SpawnDY = 0x500;
    P(0).FrameCount = 7;
    P(0).AttackX = kOwnX + 0x2000;
    P(0).AttackY = kOwnY - 0x1000;
    const Long aim = lib::AHT(P(1).X - kOwnX, kOppY - kOwnY);
    ASSERT_NE(Wrap(aim), Wrap(P(0).AimAngle));
    enum Start { kOwn, kOwnSpawn, kAttack, kAttackSpawn };
    struct Case {
        Long pattern, frame;
        Start start;
        bool angleKnown, facing;
        Long turn, perFrameCount, perFrame;
    };
    constexpr Case kCases[] = {
        {2, 1, kOwn, true, false, 0, 0, 0},           {10, 1, kOwn, true, false, -2048, 70, 0},
        {11, 1, kAttack, true, true, -2046, 70, 0},   {12, 1, kOwnSpawn, false, true, 0, 0, 0},
        {15, 10, kAttackSpawn, true, true, 0, 0, 25}, {20, 10, kAttackSpawn, true, true, 0, 0, -15},
        {21, 10, kAttackSpawn, true, true, 0, 0, 15}, {27, 1, kOwn, true, true, 0, 0, 0},
        {28, 1, kOwn, true, false, 0, 0, 0},          {39, 1, kOwn, true, false, 0, 0, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.pattern);
        P(0).Shots = {};
        Fire(c.pattern, c.frame, 0);
        std::vector<ShotRecord> all = Main(0);
        for (const auto& pool : {Second(0), Third(0)})
            all.insert(all.end(), pool.begin(), pool.end());
        ASSERT_FALSE(all.empty());
        const ShotRecord& r = all[0];
        const bool spawn = c.start == kOwnSpawn || c.start == kAttackSpawn;
        const bool attack = c.start == kAttack || c.start == kAttackSpawn;
        EXPECT_EQ(r.X, (attack ? P(0).AttackX : kOwnX) + (spawn ? P(0).SpawnDX : 0));
        EXPECT_EQ(r.Y, (attack ? P(0).AttackY : kOwnY) + (spawn ? P(0).SpawnDY : 0));
        if (!c.angleKnown) continue;
        const Long base = c.facing ? P(0).AimAngle : aim;
        EXPECT_EQ(Wrap(r.Angle),
                  Wrap(c.turn + base + c.perFrameCount * P(0).FrameCount + c.perFrame * c.frame));
    }
}

TEST_F(PatternEmissionTest, PatternThreeSweepsFromTheAttackPointTowardTheOldTarget) {
    P(0).AttackX = 0x10000;
    P(0).AttackY = 0x18000;
    P(0).AttackTargetX = 0x10000;
    P(0).AttackTargetY = 0x8000;  // straight up: angle 3072
    Fire(3, 8, 0);
    ASSERT_EQ(Main(0).size(), 1u);
    const ShotRecord r = Main(0)[0];
    EXPECT_EQ(r.Angle, 3072 - 25 * 8 + 2948);
    EXPECT_EQ(r.X, 0x10000);
    EXPECT_EQ(r.TargetX, kOppX);
    EXPECT_EQ(r.TargetY, kOppY);
    EXPECT_EQ(r.NextProcId, 19);
    EXPECT_EQ(r.Speed, 900);
}

TEST_F(PatternEmissionTest, PatternEightLaysThreeParallelBeamsAcrossTheAim) {
    Fire(8, 4, 256);
    const auto beams = Second(0);
    ASSERT_EQ(beams.size(), 3u);
    const Long side = Aim() + 1024;
    std::set<std::pair<Long, Long>> places;
    for (const ShotRecord& b : beams) {
        EXPECT_EQ(b.Angle, side);
        EXPECT_EQ(b.HitB, 48 * 256);
        EXPECT_EQ(b.Size, 75);
        EXPECT_EQ(b.Value2, 85);
        EXPECT_EQ(b.Param1, 12);
        places.insert({b.X, b.Y});
    }
    const std::set<std::pair<Long, Long>> expected = {
        {kOwnX, kOwnY},
        {kOwnX + 100 * lib::ACT(side), kOwnY + 100 * lib::AST(side)},
        {kOwnX + 100 * lib::ACT(Aim() + 3072), kOwnY + 100 * lib::AST(Aim() + 3072)}};
    EXPECT_EQ(places, expected);
}

TEST_F(PatternEmissionTest, FlankShotsLieOffTheLineAndFlyAtTheOpponent) {
    for (const Long n : {23, 24, 25}) {
        SCOPED_TRACE(n);
        P(0).Shots = {};
        Fire(n, 1, 0);
        const auto shots = Main(0);
        ASSERT_EQ(shots.size(), n == 25 ? 3u : 1u);
        const Long d = lib::ALT(kOppX - kOwnX, kOppY - kOwnY);
        const Long a = Aim() + 512;
        // The first shot stands on the line turned an eighth off the aim,
        // at r / 256 of the opponent's distance, r from the pattern's range.
        const ShotRecord& first = shots[0];
        const Long dist = lib::ALT(first.X - kOwnX, first.Y - kOwnY);
        const Long lo = n == 24 ? 128 : 240;
        const Long hi = n == 24 ? 383 : 271;
        // (The cosine table's rounding moves the point by well under 1%.)
        EXPECT_GE(dist, d * lo / 256 - d / 100);
        EXPECT_LE(dist, d * hi / 256 + d / 100);
        EXPECT_LE(std::abs(lib::AFT(lib::AHT(first.X - kOwnX, first.Y - kOwnY), a)), 2);
        for (const ShotRecord& s : shots) {
            EXPECT_EQ(s.Angle, shots[0].Angle);
            EXPECT_EQ(s.Speed, 11240);
            EXPECT_EQ(s.ProcId, n == 24 ? 64 : 63);
        }
        if (n == 25) {
            EXPECT_EQ(shots[1].X - first.X, 160 * lib::ACT(a));
            EXPECT_EQ(shots[1].Y - first.Y, 160 * lib::AST(a));
            EXPECT_EQ(shots[2].X - first.X, -160 * lib::ACT(a));
            EXPECT_EQ(shots[2].Y - first.Y, -150 * lib::AST(a));
        }
    }
}

TEST_F(PatternEmissionTest, CrossShotsStandAroundTheOwnPositionAtQuarterTurns) {
    Fire(37, 1, 0);
    const auto shots = Main(0);
    ASSERT_EQ(shots.size(), 4u);
    const Long b = Aim();
    const Long a = b + 512;
    EXPECT_EQ(shots[0].X, kOwnX + 300 * lib::ACT(a));
    EXPECT_EQ(shots[0].Y, kOwnY + 300 * lib::AST(a));
    EXPECT_EQ(shots[1].X, kOwnX + 300 * lib::ACT(b - 512));
    EXPECT_EQ(shots[2].X, kOwnX);
    EXPECT_EQ(shots[2].Y, kOwnY);
    // Straight up: 1.414 x 300 x 256 = 108595.2 below the own y.
    EXPECT_EQ(shots[3].X, kOwnX);
    EXPECT_EQ(shots[3].Y, kOwnY - 108595);
    const Long c = shots[0].Angle;
    EXPECT_EQ(shots[1].Angle, c + 2048);
    EXPECT_EQ(shots[2].Angle, c + 1024);
    EXPECT_EQ(shots[3].Angle, c + 3072);
    // The corner point lies level with the opponent, its distance to the
    // right, so c points left.
    EXPECT_NEAR(c, 2048, 2);
    for (const ShotRecord& s : shots) EXPECT_EQ(s.ProcId, 66);
}

TEST_F(PatternEmissionTest, SpecialObjectsGoToTheThirdPoolWithTheirExplosion) {
    const std::pair<Long, Long> cases[] = {{30, 33}, {31, 35}, {32, 37}, {33, 38}, {34, 45},
                                           {35, 47}, {36, 50}, {38, 57}, {39, 32}};
    for (const auto& [pattern, proc] : cases) {
        SCOPED_TRACE(pattern);
        P(0).Shots = {};
        Fire(pattern, 1, 0);
        const auto objects = Third(0);
        ASSERT_EQ(objects.size(), 1u);
        EXPECT_EQ(objects[0].ProcId, proc);
        EXPECT_EQ(objects[0].Scale, 0);
        EXPECT_EQ(objects[0].Group, -1);
        EXPECT_EQ(objects[0].Angle, Aim());
        EXPECT_EQ(objects[0].Speed, pattern == 39 ? 40 : 0);
        EXPECT_EQ(objects[0].DrawKind, pattern == 39 ? 8 : 9);
    }
}

TEST_F(PatternEmissionTest, AFullPoolDropsTheShotsAndKeepsTheRest) {
    FillPool(0, kMainPoolStart, kMainPoolSize, 5);
    Fire(5, 1, 0);  // 28 shots, 5 places
    EXPECT_EQ(Main(0).size(), 800u);
    Long placed = 0;
    for (const ShotRecord& r : Main(0)) placed += r.X == kOwnX ? 1 : 0;
    EXPECT_EQ(placed, 5);
    // Completely full: nothing changes, no fault.
    const auto before = P(0).Shots;
    Fire(5, 7, 256);
    EXPECT_EQ(std::memcmp(&before, &P(0).Shots, sizeof(before)), 0);
}

}  // namespace
}  // namespace brumil::battle::test
