// Explosion and capture procedures, run with the real collision library.

#include <vector>

#include "battle/shot_kinds.h"
#include "core/math_helpers.h"
#include "shot_fixture.h"

namespace brumil::battle::test {
namespace {

namespace lib = platform::collision;

constexpr Long kBlast = 945;  // the third pool
constexpr Long kBX = 0x14000, kBY = 0xF000;

class ExplosionTest : public ShotFixture {
protected:
    ShotRecord& Blast(Long id, Long age) {
        ShotRecord& r = Place(0, kBlast, kBX, kBY);
        r.ProcId = id;
        r.Age = age;
        r.Serial = 3;
        return r;
    }
    // A shot of `player` at `index`, `px` pixels right of the blast.
    ShotRecord& Prey(Long player, Long index, Long px, Long group = 0) {
        ShotRecord& r = Place(player, index, kBX + px * 256, kBY);
        r.Serial = 0;  // older than any stamp and than the battle's serial
        r.Group = group;
        r.Speed = 400;
        r.Color = 0x0000FF;
        return r;
    }
    void Run(Long id) { KindProcedures().Find(id)(0, kBlast, 0); }
};

TEST_F(ExplosionTest, FlashGrowsCatchesFadesAndEnds) {
    struct Step {
        Long age;
        Long scale, alpha, state;
        bool caught;  // a shot 144 pixels away (reach: radius + 4.5)
    };
    const Step steps[] = {{0, 0, 224, 1, false},    {19, 2432, 224, 1, false},
                          {20, 2560, 224, 1, true}, {21, 2688, 230, 1, false},
                          {30, 3840, 0, 1, false},  {31, 3968, 224, 0, false}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.age);
        ShotRecord& blast = Blast(32, s.age);
        ShotRecord& prey = Prey(1, 4, 144);
        Run(32);
        EXPECT_EQ(blast.Scale, s.scale);
        EXPECT_EQ(blast.Alpha, s.alpha);
        EXPECT_EQ(blast.State, s.state);
        EXPECT_EQ(prey.State == 0, s.caught);
    }
}

TEST_F(ExplosionTest, AtAgeZeroTheRadiusIsZero) {
    Blast(32, 0);
    ShotRecord& near = Prey(1, 4, 5);  // reach 0 + 4.5 pixels
    ShotRecord& touching = Prey(1, 6, 4);
    Run(32);
    EXPECT_EQ(near.State, 1);
    EXPECT_EQ(touching.State, 0);
}

struct WindowCase {
    Long id;
    Long lastCatch;  // last age with a catch
    Long prey;       // whose shot: 0 own, 1 opponent
    Long group;
    Long radius;  // per frame of age, pixels; 0 for the pulse (no circle)
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << "id=" << c.id << " lastCatch=" << c.lastCatch << " prey=" << c.prey
        << " group=" << c.group << " radius=" << c.radius;
}

class CatchWindowTest : public ExplosionTest, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(CatchWindowTest, CatchesOnlyInsideItsWindow) {
    const WindowCase& c = GetParam();
    std::vector<Long> ages;
    for (Long age = 0; age <= c.lastCatch + 12; ++age) {
        Blast(c.id, age);
        ShotRecord& prey = Prey(c.prey, 4, 0, c.group);
        const ShotRecord before = prey;
        Run(c.id);
        if (!SameBytes(prey, before)) ages.push_back(age);
    }
    std::vector<Long> expected;
    if (c.id == 34) {
        expected = {8};
    } else {
        for (Long a = 0; a <= c.lastCatch; ++a) expected.push_back(a);
    }
    EXPECT_EQ(ages, expected);
    if (c.radius == 0) return;
    // At age 5 the circle reaches exactly 5 x radius pixels.
    for (const Long extra : {0, 1}) {
        Blast(c.id, 5);
        ShotRecord& prey = Prey(c.prey, 4, 5 * c.radius + extra, c.group);
        const ShotRecord before = prey;
        Run(c.id);
        EXPECT_EQ(!SameBytes(prey, before), extra == 0) << extra;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, CatchWindowTest,
    ::testing::Values(WindowCase{33, 180, 0, 1, 4}, WindowCase{34, 60, 0, 1, 0},
                      WindowCase{35, 30, 1, 0, 7}, WindowCase{37, 7, 1, 1, 18},
                      WindowCase{38, 120, 1, 0, 5}, WindowCase{41, 120, 1, 1, 6},
                      WindowCase{43, 60, 1, 0, 10}, WindowCase{45, 30, 1, 0, 20},
                      WindowCase{45, 30, 1, 1, 10}, WindowCase{47, 6, 1, 0, 80},
                      WindowCase{50, 80, 1, 1, 5}, WindowCase{50, 80, 0, 0, 5},
                      WindowCase{55, 80, 1, 0, 4}, WindowCase{57, 40, 1, 0, 9}));

// A catch takes only shots whose Serial is below its stamp: the blast's
// serial 3, or 4 for the catches stamped one past it, which so take shots of
// the blast's own serial too. The flash and the pulse use no stamp and take
// any shot.
TEST_F(ExplosionTest, CatchesOnlyShotsOlderThanTheStamp) {
    constexpr Long kNoStamp = -1;
    struct Case {
        Long id, prey, index, group, stampAdd;
    };
    constexpr Case kCases[] = {
        {32, 1, 4, 0, kNoStamp}, {34, 0, 4, 1, kNoStamp}, {33, 0, 4, 1, 0}, {35, 1, 4, 0, 1},
        {37, 1, 4, 1, 1},        {38, 1, 4, 0, 0},        {41, 1, 4, 1, 0}, {43, 1, 4, 0, 0},
        {45, 1, 4, 0, 0},        {45, 1, 4, 1, 1},        {47, 1, 4, 1, 0}, {47, 1, 805, 0, 1},
        {50, 0, 4, 1, 0},        {50, 1, 4, 0, 0},        {55, 1, 4, 1, 0}, {57, 1, 4, 0, 0},
    };
    for (const Case& c : kCases) {
        for (Long serial = 2; serial <= 5; ++serial) {
            SCOPED_TRACE(::testing::Message()
                         << "id " << c.id << " group " << c.group << " serial " << serial);
            P(0).Shots = {};
            P(1).Shots = {};
            Blast(c.id, c.id == 34 ? 8 : 5);
            ShotRecord& prey = Prey(c.prey, c.index, 0, c.group);
            prey.Serial = serial;
            const ShotRecord before = prey;
            Run(c.id);
            EXPECT_EQ(!SameBytes(prey, before), c.stampAdd == kNoStamp || serial < 3 + c.stampAdd);
        }
    }
}

TEST_F(ExplosionTest, FieldAndPulseMarkOwnGroupOneShotsToFireNow) {
    for (const Long id : {33, 34}) {
        SCOPED_TRACE(id);
        Blast(id, 8);
        ShotRecord& mine = Prey(0, 4, 0, 1);
        ShotRecord& other = Prey(0, 5, 0, 0);
        Run(id);
        EXPECT_EQ(mine.Phase, 4);
        EXPECT_EQ(other.Phase, 0);
        EXPECT_EQ(mine.State, 1);
    }
}

TEST_F(ExplosionTest, GreyBlastRoutesSelectorZeroToGreyAndOneToDim) {
    gGame()->Serial = 8;
    Blast(38, 10);
    ShotRecord& evenZero = Prey(1, 4, 0, 0);
    ShotRecord& oddZero = Prey(1, 5, 0, 0);
    ShotRecord& evenOne = Prey(1, 6, 0, 1);
    Run(38);
    Long grey = 0;
    const Long colors[] = {0x0000FF, 0x808080};
    core::Math_Color(0.5f, colors, grey);
    EXPECT_EQ(evenZero.Color, grey);
    EXPECT_EQ(evenZero.NextProcId, 30);
    EXPECT_EQ(evenZero.SpeedLimit, 400);
    EXPECT_EQ(evenZero.Group, 1);
    EXPECT_EQ(evenZero.Serial, 8);
    EXPECT_EQ(oddZero.Color, 0x404040);
    EXPECT_EQ(evenOne.Color, 0x404040);
    EXPECT_EQ(evenOne.SwitchAge, 64);
}

struct GreyCase {
    Long id;
    Long index;
    Long hitA;
    Long state, next, speedLimit;
    bool dimmed;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const GreyCase& c, std::ostream* os) {
    *os << "id=" << c.id << " index=" << c.index << " hitA=" << c.hitA << " state=" << c.state
        << " next=" << c.next << " speedLimit=" << c.speedLimit << " dimmed=" << c.dimmed;
}

class GreyTest : public ExplosionTest, public ::testing::WithParamInterface<GreyCase> {};

TEST_P(GreyTest, EvenShotsGreyAndOddOnesDim) {
    const GreyCase& c = GetParam();
    ShotRecord& r = Prey(1, c.index, 0);
    r.HitA = c.hitA;
    r.Age = 12;
    r.Phase = 16;
    KindProcedures().Find(c.id)(1, c.index, 0);
    EXPECT_EQ(r.State, c.state);
    EXPECT_EQ(r.NextProcId, c.next);
    EXPECT_EQ(r.SpeedLimit, c.speedLimit);
    EXPECT_EQ(r.Color == 0x404040, c.dimmed);
    EXPECT_EQ(r.Phase, 0);
}

INSTANTIATE_TEST_SUITE_P(Greys, GreyTest,
                         ::testing::Values(GreyCase{40, 4, 2, 1, 30, 400, false},
                                           GreyCase{40, 4, 0, 0, 30, 400, false},
                                           GreyCase{40, 5, 2, 1, 0, 0, true},
                                           GreyCase{46, 8, 1, 1, 31, 175, false},
                                           GreyCase{46, 9, 0, 1, 0, 0, true}));

struct ReturnCase {
    Long id;
    Long speed;
    std::vector<Long> speeds;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ReturnCase& c, std::ostream* os) {
    *os << "id=" << c.id << " speed=" << c.speed;
}

class ReturnTest : public ExplosionTest, public ::testing::WithParamInterface<ReturnCase> {};

TEST_P(ReturnTest, CopiesFlyBackAtTheOwnerForTheCatcher) {
    const ReturnCase& c = GetParam();
    gGame()->Serial = 6;
    ShotRecord& r = Prey(1, 4, 0);
    r.Speed = c.speed;
    r.Phase = 16;
    r.Age = 20;
    KindProcedures().Find(c.id)(1, 4, 0);
    const auto copies = Main(0);
    ASSERT_EQ(copies.size(), c.speeds.size());
    for (std::size_t k = 0; k < copies.size(); ++k) {
        EXPECT_EQ(copies[k].Speed, c.speeds[k]);
        EXPECT_EQ(copies[k].Angle, lib::AHT(kOppX - r.X, kOppY - r.Y));
        EXPECT_EQ(copies[k].Color, kColor0);
        EXPECT_EQ(copies[k].Age, 0);
        EXPECT_EQ(copies[k].Size, 60);
        EXPECT_EQ(copies[k].Accel, 0);
    }
    EXPECT_EQ(r.State, 1);
    EXPECT_EQ(r.Serial, 6);
    EXPECT_EQ(r.Phase, 0);
    EXPECT_EQ(r.Speed, c.speed);
}

INSTANTIATE_TEST_SUITE_P(Returns, ReturnTest,
                         ::testing::Values(ReturnCase{42, 400, {400}}, ReturnCase{42, 901, {650}},
                                           ReturnCase{44, 400, {400, 650, 900}},
                                           ReturnCase{44, 1000, {550, 875, 1200}}));

struct CurveCase {
    Long index;
    Long owner;  // who gets the copy; -1: no copy
    Long turn;
    Long motionA;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const CurveCase& c, std::ostream* os) {
    *os << "index=" << c.index << " owner=" << c.owner << " turn=" << c.turn
        << " motionA=" << c.motionA;
}

class CurveTest : public ExplosionTest, public ::testing::WithParamInterface<CurveCase> {};

TEST_P(CurveTest, EvenShotsCurveByIndexOddOnesDimAndStop) {
    const CurveCase& c = GetParam();
    ShotRecord& r = Prey(1, c.index, 0);
    Kind56Curve(1, c.index, 0);
    if (c.owner < 0) {
        EXPECT_EQ(r.State, 1);
        EXPECT_EQ(r.Speed, 0);
        EXPECT_EQ(r.Color, 0x404040);
        EXPECT_TRUE(Main(0).empty());
        return;
    }
    EXPECT_EQ(r.State, 0);
    const auto copies = Main(c.owner);
    ASSERT_EQ(copies.size(), 1u);
    const ShotRecord& k = copies[0];
    EXPECT_EQ(k.Angle, lib::AHT(kOwnX - r.X, kOwnY - r.Y) + c.turn);
    EXPECT_EQ(k.MotionA, c.motionA);
    EXPECT_EQ(k.ProcId, 60);
    EXPECT_EQ(k.Speed, 2160);
    EXPECT_EQ(k.Color, c.owner == 0 ? kColor0 : 0x0000FF);
}

INSTANTIATE_TEST_SUITE_P(Curves, CurveTest,
                         ::testing::Values(CurveCase{2, 0, 0x400, -4}, CurveCase{8, 0, 0x400, -4},
                                           CurveCase{6, 1, -0x400, 4}, CurveCase{4, 1, -0x400, 4},
                                           CurveCase{3, -1, 0, 0}, CurveCase{7, -1, 0, 0}));

TEST_F(ExplosionTest, ScatterSendsACopyToTheCatcherAndEndsTheShot) {
    ShotRecord& r = Prey(1, 4, 0);
    Kind36Scatter(1, 4, 0);
    EXPECT_EQ(r.State, 0);
    const auto copies = Main(0);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].Color, kColor0);
    EXPECT_GE(copies[0].Speed, 300);
    EXPECT_LT(copies[0].Speed, 600);
    EXPECT_EQ(copies[0].Accel, -10);
    EXPECT_EQ(copies[0].Size, 60);
}

TEST_F(ExplosionTest, DimAndDimBurstDarkenInPlace) {
    gGame()->Serial = 11;
    ShotRecord& a = Prey(1, 4, 0);
    a.Phase = 16 | 4;
    a.Age = 7;
    a.NextProcId = 21;
    Kind48Dim(1, 4, 0);
    EXPECT_EQ(a.Color, 0x404040);
    EXPECT_EQ(a.Size, 0);
    EXPECT_EQ(a.Phase, 4);
    EXPECT_EQ(a.Param1, 1);
    EXPECT_EQ(a.Value1, -4);
    EXPECT_EQ(a.NextProcId, 0);
    EXPECT_EQ(a.SwitchAge, 71);
    EXPECT_EQ(a.Serial, 11);
    ShotRecord& b = Prey(1, 820, 0);
    b.Phase = 16;
    Kind49DimBurst(1, 820, 0);
    EXPECT_EQ(b.Color, 0x404040);
    EXPECT_EQ(b.Alpha, 64);
    EXPECT_EQ(b.Phase, 0);
    EXPECT_EQ(b.Serial, 11);
}

struct HoldCase {
    Long id;
    Long index;
    Long to;  // whose pool the copy goes to
    Long size, group, next;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const HoldCase& c, std::ostream* os) {
    *os << "id=" << c.id << " index=" << c.index << " to=" << c.to << " size=" << c.size
        << " group=" << c.group << " next=" << c.next;
}

class HoldTest : public ExplosionTest, public ::testing::WithParamInterface<HoldCase> {};

TEST_P(HoldTest, StoppedCopiesReplaceTheCaughtShot) {
    const HoldCase& c = GetParam();
    ShotRecord& r = Prey(1, c.index, 0);
    r.Accel = 5;
    r.SpeedLimit = 30;
    KindProcedures().Find(c.id)(1, c.index, 0);
    EXPECT_EQ(r.State, 0);
    const auto copies = c.to == 1 ? Main(1) : Main(0);
    ASSERT_EQ(copies.size(), 1u);
    const ShotRecord& k = copies[0];
    EXPECT_EQ(k.Speed, 0);
    EXPECT_EQ(k.Accel, 0);
    EXPECT_EQ(k.SpeedLimit, 0);
    EXPECT_EQ(k.Size, c.size);
    EXPECT_EQ(k.Group, c.group);
    EXPECT_EQ(k.NextProcId, c.next);
    EXPECT_EQ(k.Color, c.to == 1 ? 0x0000FF : kColor0);
}

INSTANTIATE_TEST_SUITE_P(Holds, HoldTest,
                         ::testing::Values(HoldCase{51, 4, 1, 30, 1, 12},
                                           HoldCase{54, 4, 1, 30, 0, 0},
                                           HoldCase{52, 4, 0, 60, 1, 0},
                                           HoldCase{52, 5, 1, 60, 1, 0}));

TEST_F(ExplosionTest, CopiesAddedToTheScannedPoolAreNotCaughtAgain) {
    // 50 hands its owner's group-0 shots to 51, which puts a held copy into
    // the very pool being scanned; every shot is caught exactly once.
    Blast(50, 40);
    for (Long i = 0; i < 10; ++i) Prey(0, 100 + i, 0, 0);
    P(0).MainCursor = 0;
    Run(50);
    Long held = 0;
    for (const ShotRecord& s : Main(0)) held += s.NextProcId == 12 ? 1 : 0;
    EXPECT_EQ(held, 10);
    EXPECT_EQ(Main(0).size(), 10u);
}

TEST_F(ExplosionTest, ScatterBlastCatchesEachShotOnce) {
    Blast(35, 10);
    for (Long i = 0; i < 6; ++i) Prey(1, 200 + i, 0, i % 2);
    Run(35);
    EXPECT_TRUE(Main(1).empty());
    EXPECT_EQ(Main(0).size(), 6u);
    // A second frame finds nothing left to catch.
    Blast(35, 11);
    Run(35);
    EXPECT_EQ(Main(0).size(), 6u);
}

}  // namespace
}  // namespace brumil::battle::test
