// Beam, wall and trail procedures.

#include <vector>

#include "battle/shot_kinds.h"
#include "platform/collision/shot_list.h"
#include "shot_fixture.h"

namespace brumil::battle::test {
namespace {

namespace lib = platform::collision;

constexpr Long kX = 0x10000, kY = 0x10000;

class BeamTest : public ShotFixture {
protected:
    ShotRecord& Parent(Long player, Long index, Long power = 0) {
        P(player).Power = power;
        ShotRecord& r = Place(player, index, kX, kY);
        r.Angle = 500;
        r.Speed = 900;
        r.Age = 33;
        r.Group = 1;
        r.Accel = 5;
        r.SpeedLimit = 9;
        r.Phase = 4 | 16 | 1;
        r.NextProcId = 21;
        return r;
    }
    static void ExpectBeam(const ShotRecord& b, Long angle, Long hitB, Long color) {
        EXPECT_EQ(b.Angle, angle);
        EXPECT_EQ(b.HitB, hitB);
        EXPECT_EQ(b.Color, color);
        EXPECT_EQ(b.HitC, 0x19000);
        EXPECT_EQ(b.HitA, 0);
        EXPECT_EQ(b.DrawW, 0x200);
        EXPECT_EQ(b.DrawH, 0x40000);
        EXPECT_EQ(b.ScaleX, 128);
        EXPECT_EQ(b.ScaleY, 256);
        EXPECT_EQ(b.DrawKind, 25);
        EXPECT_EQ(b.DrawMode, 1);
        EXPECT_EQ(b.Spin, 0);
        EXPECT_EQ(b.Size, 120);
        EXPECT_EQ(b.Param1, 12);
        EXPECT_EQ(b.Mode1, 2);
        EXPECT_EQ(b.Value1, 120);
        EXPECT_EQ(b.Value2, 130);
        EXPECT_EQ(b.X, kX);
        EXPECT_EQ(b.Y, kY);
    }
    static void ExpectBackwards(const ShotRecord& r) {
        EXPECT_EQ(r.NextProcId, 0);
        EXPECT_EQ(r.SwitchAge, 33 + 200);
        EXPECT_EQ(r.Group, 0);
        EXPECT_EQ(r.Accel, 0);
        EXPECT_EQ(r.SpeedLimit, 0);
        EXPECT_EQ(r.State, 1);
        EXPECT_EQ(r.Speed, -32);
        EXPECT_EQ(r.Mode1, 1);
        EXPECT_EQ(r.Param1, 1);
        EXPECT_EQ(r.Value1, -2);
    }
};

struct BeamCase {
    Long id;
    Long index;
    Long power;
    Long beamOwner;  // whose second pool gets the beam
    Long phaseAfter;
    Long colorAfter;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const BeamCase& c, std::ostream* os) {
    *os << "id=" << c.id << " index=" << c.index << " power=" << c.power
        << " beamOwner=" << c.beamOwner << " phaseAfter=" << c.phaseAfter
        << " colorAfter=" << c.colorAfter;
}

class BeamRestartTest : public BeamTest, public ::testing::WithParamInterface<BeamCase> {};

TEST_P(BeamRestartTest, OneBeamThenTheRecordBacksOff) {
    const BeamCase& c = GetParam();
    ShotRecord& r = Parent(0, c.index, c.power);
    r.Color = 0x777777;
    r.TargetX = kX + 0x1000;  // the target lies straight to the right
    r.TargetY = kY;
    KindProcedures().Find(c.id)(0, c.index, 0);
    const auto beams = Second(c.beamOwner);
    ASSERT_EQ(beams.size(), 1u);
    EXPECT_TRUE(Second(c.beamOwner ^ 1).empty());
    const double p = c.power / 256.0;
    const Long hitB = RoundToLong((24 * p + 24) * 256);
    const Long color = c.beamOwner == 0 ? kColor0 : kColor1;
    Long angle = 0;
    if (c.id == 21) angle = lib::AHT(kOppX - kX, kOppY - kY) + 0x400;
    if (c.id == 31) angle = lib::AHT(kOwnX - kX, kOwnY - kY) + 0x400;
    if (c.id == 58) angle = 0 + 0xC00;
    ExpectBeam(beams[0], angle, hitB, color);
    ExpectBackwards(r);
    EXPECT_EQ(r.Phase, c.phaseAfter);
    EXPECT_EQ(r.Color, c.colorAfter);
}

INSTANTIATE_TEST_SUITE_P(Beams, BeamRestartTest,
                         ::testing::Values(BeamCase{21, 20, 0, 0, 17, 0x777777},
                                           BeamCase{21, 20, 256, 0, 17, 0x777777},
                                           BeamCase{31, 20, 0, 1, 17, kColor1},
                                           BeamCase{58, 20, 0, 1, 0, kColor1},
                                           BeamCase{58, 20, 640, 1, 0, kColor1}));

TEST_F(BeamTest, BeamFiftyEightOnAnOddIndexDimsInstead) {
    ShotRecord& r = Parent(0, 21);
    Kind58Beam(0, 21, 0);
    EXPECT_TRUE(Second(1).empty());
    EXPECT_EQ(r.Color, 0x404040);
    EXPECT_EQ(r.Size, 0);
    EXPECT_EQ(r.SwitchAge, 33 + 64);
}

struct WallCase {
    Long id;
    Long x, y;
    bool fires;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const WallCase& c, std::ostream* os) {
    *os << "id=" << c.id << " x=" << c.x << " y=" << c.y << " fires=" << c.fires;
}

class WallEdgeTest : public BeamTest, public ::testing::WithParamInterface<WallCase> {};

TEST_P(WallEdgeTest, FiresOnceOnLeavingTheFieldAndGivesUpItsProcedure) {
    const WallCase& c = GetParam();
    ShotRecord& r = Parent(0, 30);
    r.X = c.x;
    r.Y = c.y;
    r.ProcId = c.id;
    r.NextProcId = 0;
    r.Phase = 0;
    // Through the library, as in a match: two passes.
    lib::PosReference(P(0).Shots, 0);
    const std::size_t afterFirst = Second(0).size();
    EXPECT_EQ(afterFirst > 0, c.fires);
    EXPECT_EQ(r.ProcId, c.fires ? 0 : c.id);
    EXPECT_EQ(r.State, 1);  // the record itself lives on
    lib::PosReference(P(0).Shots, 0);
    EXPECT_EQ(Second(0).size(), afterFirst);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, WallEdgeTest,
    ::testing::Values(WallCase{59, 0x29000, 0x100, false}, WallCase{59, 0x29001, 0x100, true},
                      WallCase{60, 0x100, 0, false}, WallCase{60, 0x100, -1, true},
                      WallCase{61, -0x1000, 0x100, false}, WallCase{61, -0x1001, 0x100, true},
                      WallCase{59, 0x100, 0x1E000, false}, WallCase{61, 0x100, 0x1E001, true},
                      WallCase{60, 0x14000, 0xF000, false}));

struct WallCountCase {
    Long id;
    Long power;
    Long ring, beams;
    Long hitB;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const WallCountCase& c, std::ostream* os) {
    *os << "id=" << c.id << " power=" << c.power << " ring=" << c.ring << " beams=" << c.beams
        << " hitB=" << c.hitB;
}

class WallCountTest : public BeamTest, public ::testing::WithParamInterface<WallCountCase> {};

TEST_P(WallCountTest, RingAndBeamCountsGrowWithPower) {
    const WallCountCase& c = GetParam();
    ShotRecord& r = Parent(0, 30, c.power);
    r.X = 0x29001;
    KindProcedures().Find(c.id)(0, 30, 0);
    // The parent stays in the main pool.
    EXPECT_EQ(static_cast<Long>(Main(0).size()) - 1, c.ring);
    const auto beams = Second(0);
    ASSERT_EQ(static_cast<Long>(beams.size()), c.beams);
    for (const ShotRecord& b : beams) {
        EXPECT_EQ(b.HitB, c.hitB);
        EXPECT_EQ(b.Color, kColor0);
        EXPECT_EQ(b.X, 0x29001);
    }
    if (c.id == 60) {
        EXPECT_EQ(beams[0].Angle, 500 - 0x400);
    }
    if (c.id == 61) {
        EXPECT_EQ(beams[0].Angle, lib::AHT(kOppX - 0x29001, kOppY - kY) + 0x400);
    }
    for (const ShotRecord& s : Main(0)) {
        if (s.Speed == 900) continue;  // the parent
        EXPECT_EQ(s.Speed, 400);
        EXPECT_EQ(s.Accel, -30);
        EXPECT_EQ(s.SpeedLimit, 5);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Counts, WallCountTest,
    ::testing::Values(WallCountCase{59, 0, 18, 4, 6144}, WallCountCase{59, 256, 46, 9, 7680},
                      WallCountCase{60, 0, 0, 1, 6144}, WallCountCase{60, 256, 0, 1, 7680},
                      WallCountCase{61, 0, 0, 1, 5120}, WallCountCase{61, 256, 0, 1, 7168}));

TEST_F(BeamTest, WallBurstBeamsTurnByFreshRandomStepsFromTheAim) {
    ShotRecord& r = Parent(0, 30, 0);
    r.Y = -5;
    lib::Reset(777);
    const Long aim = lib::AHT(kOppX - kX, kOppY - (-5));
    std::vector<Long> expected;
    Long a = aim + 0x400;
    for (int i = 0; i < 4; ++i) expected.push_back(a += lib::ART(4096));
    lib::Reset(777);
    Kind59WallBurst(0, 30, 0);
    const auto beams = Second(0);
    ASSERT_EQ(beams.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(beams[i].Angle, expected[i]);
}

struct TrailCase {
    Long id;
    Long power;
    Long drawW, drawH, hitB, hitC, scale, slot;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const TrailCase& c, std::ostream* os) {
    *os << "id=" << c.id << " power=" << c.power << " drawW=" << c.drawW << " drawH=" << c.drawH
        << " hitB=" << c.hitB << " hitC=" << c.hitC << " scale=" << c.scale << " slot=" << c.slot;
}

class TrailTest : public BeamTest, public ::testing::WithParamInterface<TrailCase> {};

TEST_P(TrailTest, LeavesOneTrailRecordAcrossItsCourse) {
    const TrailCase& c = GetParam();
    ShotRecord& r = Parent(0, 30, c.power);
    r.Age = 500;  // past any homing window
    r.Angle = 3072;
    KindProcedures().Find(c.id)(0, 30, 0);
    const auto trails = Second(0);
    ASSERT_EQ(trails.size(), 1u);
    const ShotRecord& t = trails[0];
    EXPECT_EQ(t.DrawW, c.drawW);
    EXPECT_EQ(t.DrawH, c.drawH);
    EXPECT_EQ(t.HitB, c.hitB);
    EXPECT_EQ(t.HitC, c.hitC);
    EXPECT_EQ(t.Scale, c.scale);
    EXPECT_EQ(t.SpriteSlot, c.slot);
    EXPECT_EQ(t.Angle, 3072 + 0x400);
    EXPECT_EQ(t.ScaleX, 128);
    EXPECT_EQ(t.ScaleY, 125);
    EXPECT_EQ(t.HitA, 0);
    EXPECT_EQ(t.DrawKind, 26);
    EXPECT_EQ(t.DrawMode, 1);
    EXPECT_EQ(t.Spin, 0);
    EXPECT_EQ(t.Color, kColor0);
    EXPECT_EQ(t.Size, 90);
    EXPECT_EQ(t.Param1, 12);
    EXPECT_EQ(t.Param2, 0x2000);
    EXPECT_EQ(t.Value1, 90);
    EXPECT_EQ(t.Value2, 100);
    EXPECT_EQ(t.X, kX);
    EXPECT_EQ(r.State, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Trails, TrailTest,
    ::testing::Values(TrailCase{62, 0, 0x1000, 65536, 25600, 25600, 128, 2},
                      TrailCase{62, 256, 0x1000, 131072, 28160, 51200, 128, 2},
                      TrailCase{63, 0, 0x1000, 0x18000, 15360, 25600, 128, 2},
                      TrailCase{63, 256, 0x1000, 0x18000, 38400, 51200, 128, 2},
                      TrailCase{64, 0, 0x1000, 0x18000, 25600, 25600, 128, 2},
                      TrailCase{65, 0, 0x1000, 65536, 25600, 25600, 128, 2},
                      TrailCase{66, 256, 0x1000, 0x18000, 28160, 51200, 128, 2},
                      TrailCase{67, 0, 2048, 65536, 11520, 25600, 224, 14},
                      TrailCase{67, 256, 3072, 131072, 20480, 51200, 224, 14}));

TEST_F(BeamTest, TheSmallRingOfSixtyFourTurnsWithThePlayersFacing) {
    Parent(0, 30, 256);  // n = 6
    Kind64TrailRing(0, 30, 0);
    std::vector<ShotRecord> ring;
    for (const ShotRecord& s : Main(0))
        if (s.Speed == 60) ring.push_back(s);
    ASSERT_EQ(ring.size(), 6u);
    for (std::size_t j = 0; j < ring.size(); ++j) {
        EXPECT_EQ(ring[j].Angle, RoundToLong(j * 4096.0 / 6 + 3072));
        EXPECT_EQ(ring[j].Size, 90);
        EXPECT_EQ(ring[j].SpeedLimit, 80);
        EXPECT_EQ(ring[j].Param1, 2);
    }
}

TEST_F(BeamTest, BouncingTrailMirrorsOutsideTheFieldWithoutATrail) {
    ShotRecord& r = Parent(0, 30);
    r.X = -0x1001;
    r.Angle = 2048 + 100;
    Kind65BouncingTrail(0, 30, 0);
    EXPECT_EQ(r.Angle, -2148);
    EXPECT_TRUE(Second(0).empty());
}

TEST_F(BeamTest, HomingTrailsHomeOnlyInsideTheirWindow) {
    // 62 at power 0: window 10, clamp 400; 67: window 40, clamp 600.
    const struct {
        Long id, age, turn;
    } cases[] = {{62, 0, -400}, {62, 5, -400},  {62, 9, -100}, {62, 10, 0},
                 {67, 0, -600}, {67, 30, -250}, {67, 39, -25}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id * 100 + c.age);
        ShotRecord& r = Parent(0, 30);
        r.X = kOppX;
        r.Age = c.age;
        r.Angle = 3072 + 1000;
        KindProcedures().Find(c.id)(0, 30, 0);
        EXPECT_EQ(r.Angle - (3072 + 1000), c.turn);
    }
}

struct WallBurstCase {
    Long x, y;
    Long x2, y2;  // where the record is left
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const WallBurstCase& c, std::ostream* os) {
    *os << "x=" << c.x << " y=" << c.y << " x2=" << c.x2 << " y2=" << c.y2;
}

class WallBurst67Test : public BeamTest, public ::testing::WithParamInterface<WallBurstCase> {};

TEST_P(WallBurst67Test, EndsJustBeyondTheEdgeWithASprayAndBeams) {
    const WallBurstCase& c = GetParam();
    // The record sits at the main pool's cursor, so the spray takes its slot
    // first.
    ShotRecord& r = Parent(0, 0, 0);
    r.X = c.x;
    r.Y = c.y;
    r.Age = 40;
    r.Angle = 1234;
    r.ProcId = 67;
    Kind67HomingTrail(0, 0, 0);
    const auto spray = Main(0);
    ASSERT_EQ(spray.size(), 50u);  // k = 4..8, 10 a round
    for (const ShotRecord& s : spray) {
        EXPECT_EQ(s.X, c.x2);
        EXPECT_EQ(s.Y, c.y2);
        EXPECT_EQ(s.Accel, -15);
        EXPECT_GE(s.Speed, 14 * 30);
        EXPECT_LT(s.Speed, 18 * 30 + 250);
    }
    EXPECT_NE(P(0).Shots[0].ProcId, 67);  // the slot now holds a spray shot
    const auto second = Second(0);
    ASSERT_EQ(second.size(), 19u);  // 18 beams, then the trail
    for (std::size_t i = 0; i < 18; ++i) EXPECT_EQ(second[i].DrawKind, 25);
    // The trail comes from the record as it was left, not from its slot.
    const ShotRecord& trail = second[18];
    EXPECT_EQ(trail.DrawKind, 26);
    EXPECT_EQ(trail.X, c.x2);
    EXPECT_EQ(trail.Y, c.y2);
    EXPECT_EQ(trail.Angle, 1234 + 0x400);
}

INSTANTIATE_TEST_SUITE_P(Edges, WallBurst67Test,
                         ::testing::Values(WallBurstCase{-0x1001, 0x100, -0x3000, 0x100},
                                           WallBurstCase{0x29001, 0x100, 0x2B000, 0x100},
                                           WallBurstCase{0x100, -1, 0x100, -0x1000},
                                           WallBurstCase{0x100, 0x1E001, 0x100, 0x1F000},
                                           WallBurstCase{0x29001, 0x1E001, 0x2B000, 0x1F000}));

TEST_F(BeamTest, WallBurstInsideTheFieldDoesNothing) {
    ShotRecord& r = Parent(0, 0, 0);
    r.Age = 80;
    const ShotRecord before = r;
    Kind67WallBurst(0, 0, 0);
    EXPECT_TRUE(SameBytes(r, before));
    EXPECT_TRUE(Second(0).empty());
}

TEST_F(BeamTest, AFullSecondPoolStopsTrailsButNotTheirOtherEffects) {
    FillPool(0, kSecondPoolStart, kSecondPoolSize, 0);
    const auto before = Second(0);
    // 62 still homes.
    ShotRecord& h = Parent(0, 30);
    h.X = kOppX;
    h.Age = 0;
    h.Angle = 3072 + 1000;
    Kind62HomingTrail(0, 30, 0);
    EXPECT_EQ(h.Angle, 3072 + 600);
    // 65 still mirrors.
    ShotRecord& m = Parent(0, 31);
    m.Y = -1;
    m.Angle = 1000;
    Kind65BouncingTrail(0, 31, 0);
    EXPECT_EQ(m.Angle, -1000);
    // 64 still drops its ring.
    Parent(0, 32);
    Kind64TrailRing(0, 32, 0);
    EXPECT_EQ(Main(0).size(), 3u + 3u);
    // 66 still catches.
    ShotRecord& blast = Parent(0, 33);
    blast.Serial = 5;
    ShotRecord& prey = Place(1, 2, kX + 256, kY);
    prey.Serial = 1;
    Kind66TrailBlast(0, 33, 0);
    EXPECT_EQ(prey.State, 0);
    // Nothing found room in the full pool.
    const auto after = Second(0);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) EXPECT_TRUE(SameBytes(after[i], before[i]));
}

TEST_F(BeamTest, TrailBlastHandsCaughtShotsToTheCurveProcedureOnce) {
    ShotRecord& blast = Parent(0, 30);
    blast.Serial = 5;
    for (const Long index : {2, 3, 6}) {
        ShotRecord& prey = Place(1, index, kX + 10 * 256, kY);
        prey.Serial = 1;
        prey.Group = index == 3 ? 1 : 0;
    }
    Place(1, 8, kX + 200 * 256, kY).Serial = 1;  // out of reach
    Place(1, 10, kX, kY).Serial = 6;             // too new for the stamp
    Kind66TrailBlast(0, 30, 0);
    // 2: curving copy for the catcher; 6: copy kept by its owner; 3: dimmed.
    EXPECT_EQ(P(1).Shots[2].State, 0);
    EXPECT_EQ(P(1).Shots[6].State, 0);
    EXPECT_EQ(P(1).Shots[3].Color, 0x404040);
    EXPECT_EQ(P(1).Shots[8].Phase, 0);
    EXPECT_EQ(P(1).Shots[10].Phase, 0);
    Long curvesForOwner = 0;
    for (const ShotRecord& s : Main(0)) curvesForOwner += s.ProcId == 60 ? 1 : 0;
    EXPECT_EQ(curvesForOwner, 1);
    Long curvesKept = 0;
    for (const ShotRecord& s : Main(1)) curvesKept += s.ProcId == 60 ? 1 : 0;
    EXPECT_EQ(curvesKept, 1);
}

}  // namespace
}  // namespace brumil::battle::test
