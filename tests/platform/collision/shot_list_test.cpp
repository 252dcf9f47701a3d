#include "platform/collision/shot_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/collision/angle_math.h"
#include "recorder.h"

namespace brumil::platform::collision {
namespace {

using testing::AddCopy;
using testing::Call;
using testing::Live;
using testing::Recorder;

class ShotListTest : public ::testing::Test {
protected:
    void SetUp() override {
        Recorder::Get().Clear();
        testing::DisconnectAll();
        testing::ConnectRecorders();
    }
    void TearDown() override { testing::DisconnectAll(); }
    Recorder& rec() { return Recorder::Get(); }
    std::span<ShotRecord> list() { return rec().list; }
};

TEST_F(ShotListTest, SearchFreeIsCyclicFromTheNormalisedCursor) {
    struct Case {
        std::vector<int> taken;  // indices of a 5-record pool that are live
        std::int32_t cursor;
        std::int32_t want;
    };
    const Case cases[] = {
        {{}, 0, 0},
        {{}, 3, 3},
        {{3, 4}, 3, 0},            // wraps past the end
        {{0, 1, 2}, 1, 3},         // skips taken records after the cursor
        {{}, 7, 2},                // 7 mod 5
        {{}, -1, 4},               // Euclidean: -1 is the last record
        {{}, -12, 3},              // -12 mod 5 = 3
        {{0, 1, 2, 3, 4}, 2, -1},  // full
        {{1, 2, 3, 4}, 1, 0},
    };
    for (const Case& c : cases) {
        std::array<ShotRecord, 5> pool{};
        for (int i : c.taken) pool[static_cast<std::size_t>(i)].State = 1;
        EXPECT_EQ(SearchFree(pool, c.cursor), c.want) << "cursor " << c.cursor;
    }
    EXPECT_EQ(SearchFree(std::span<const ShotRecord>(), 0), -1);
    // Records of any non-zero state are taken.
    std::array<ShotRecord, 2> odd{};
    odd[0].State = -7;
    odd[1].State = 2;
    EXPECT_EQ(SearchFree(odd, 0), -1);
}

TEST_F(ShotListTest, MoveFollowsSpeedTurnAndBounds) {
    struct Case {
        const char* what;
        std::function<void(ShotRecord&)> setup;
        int passes;
        std::int32_t x, y, speed, angle;
    };
    const Case cases[] = {
        {"straight right", [](ShotRecord& r) { r.Speed = 256; }, 3, 768, 0, 256, 0},
        {"straight down", [](ShotRecord& r) { r.Speed = 100, r.Angle = 1024; }, 2, 0, 200, 100,
         1024},
        {"left, arithmetic shift of a negative step",
         [](ShotRecord& r) { r.Speed = 1, r.Angle = 2048; }, 1, -1, 0, 1, 2048},
        {"angle read modulo the turn", [](ShotRecord& r) { r.Speed = 256, r.Angle = -3072; }, 1, 0,
         256, 256, -3072},
        // Age 0 < SpeedLimit 5: the speed grows before each step.
        {"accelerating", [](ShotRecord& r) { r.Speed = 0, r.Accel = 10, r.SpeedLimit = 5; }, 2, 30,
         0, 20, 0},
        {"accel stops at the limit",
         [](ShotRecord& r) { r.Speed = 50, r.Accel = 10, r.SpeedLimit = 3, r.Age = 3; }, 2, 100, 0,
         50, 0},
        {"turning while MotionB is 0", [](ShotRecord& r) { r.MotionA = 10; }, 4, 0, 0, 0, 40},
        {"turning stops at MotionB",
         [](ShotRecord& r) { r.MotionA = 10, r.MotionB = 5, r.Age = 5; }, 4, 0, 0, 0, 0},
        {"turning while Age < MotionB", [](ShotRecord& r) { r.MotionA = -10, r.MotionB = 5; }, 3, 0,
         0, 0, -30},
        {"a free record stays", [](ShotRecord& r) { r.State = 0, r.Speed = 256; }, 3, 0, 0, 256, 0},
    };
    for (const Case& c : cases) {
        std::array<ShotRecord, 1> one{Live()};
        c.setup(one[0]);
        const std::int32_t age = one[0].Age;
        for (int k = 0; k < c.passes; ++k) PosMove(one);
        EXPECT_EQ(one[0].X, c.x) << c.what;
        EXPECT_EQ(one[0].Y, c.y) << c.what;
        EXPECT_EQ(one[0].Speed, c.speed) << c.what;
        EXPECT_EQ(one[0].Angle, c.angle) << c.what;
        EXPECT_EQ(one[0].Age, age) << c.what << ": PosMove never ages";
    }
    EXPECT_TRUE(rec().calls.empty());
}

TEST_F(ShotListTest, MoveAloneCallsNothing) {
    ShotRecord r = Live();
    r.ProcId = 20;
    r.NextProcId = 21;
    r.SwitchAge = 0;
    r.Phase = kPhaseFireNow;
    r.Mode1 = kModeRepeatA;
    r.Param1 = 8;
    r.Value1 = 1;
    rec().list[0] = r;
    for (int k = 0; k < 5; ++k) PosMove(list());
    EXPECT_TRUE(rec().calls.empty());
    EXPECT_EQ(rec().list[0].State, 1);
}

struct RuleCase {
    const char* what;
    std::function<void(ShotRecord&)> setup;
    int passes;
    std::vector<Call> calls;  // player 1, index 5 throughout
    std::int32_t state;
    std::int32_t age;
};

TEST_F(ShotListTest, ReferenceCallsProceduresByTheRules) {
    const RuleCase cases[] = {
        {"ProcId every pass from age 0",
         [](ShotRecord& r) { r.ProcId = 20; },
         3,
         {{20, 1, 5, 0}, {20, 1, 5, 1}, {20, 1, 5, 2}},
         1,
         3},
        {"NextProcId once at SwitchAge",
         [](ShotRecord& r) { r.NextProcId = 21, r.SwitchAge = 2; },
         5,
         {{21, 1, 5, 2}},
         1,
         5},
        {"NextProcId never with SwitchAge 0",
         [](ShotRecord& r) { r.NextProcId = 21, r.SwitchAge = 0; },
         5,
         {},
         1,
         5},
        {"NextProcId 0 ends at SwitchAge", [](ShotRecord& r) { r.SwitchAge = 2; }, 5, {}, 0, 2},
        {"template values: no timed call, lives on", [](ShotRecord&) {}, 4, {}, 1, 4},
        {"flag 4 fires at once",
         [](ShotRecord& r) { r.NextProcId = 21, r.SwitchAge = 30, r.Phase = 4 | 16; },
         2,
         {{21, 1, 5, 0}, {21, 1, 5, 1}},
         1,
         2},
        {"flag 4 with NextProcId 0 ends", [](ShotRecord& r) { r.Phase = 4; }, 3, {}, 0, 0},
        {"ProcId before the timed call in one pass",
         [](ShotRecord& r) { r.ProcId = 20, r.NextProcId = 21, r.SwitchAge = 1; },
         2,
         {{20, 1, 5, 0}, {20, 1, 5, 1}, {21, 1, 5, 1}},
         1,
         2},
        {"unregistered and out-of-range ids ignored",
         [](ShotRecord& r) {
             r.ProcId = 99, r.NextProcId = 2, r.SwitchAge = 1, r.Mode1 = 3, r.Param1 = 300,
             r.Value1 = 1;
         },
         3,
         {},
         1,
         3},
        {"negative ids ignored",
         [](ShotRecord& r) { r.ProcId = -20, r.NextProcId = -21, r.SwitchAge = 1; },
         2,
         {},
         1,
         2},
        {"rule 2: procedure at Value2",
         [](ShotRecord& r) { r.Mode1 = r.Mode2 = 2, r.Param1 = 12, r.Value1 = 2, r.Value2 = 4; },
         6,
         {{12, 1, 5, 4}},
         1,
         6},
        {"rule 3: procedure every Value1 passes",
         [](ShotRecord& r) { r.Mode1 = 3, r.Param1 = 8, r.Value1 = 3; },
         7,
         {{8, 1, 5, 0}, {8, 1, 5, 3}, {8, 1, 5, 6}},
         1,
         7},
        {"rule 5 as rule 3",
         [](ShotRecord& r) { r.Mode1 = 5, r.Param1 = 8, r.Value1 = 1; },
         2,
         {{8, 1, 5, 0}, {8, 1, 5, 1}},
         1,
         2},
        {"rule 3 with Value1 0 calls nothing",
         [](ShotRecord& r) { r.Mode1 = 3, r.Param1 = 8, r.Value1 = 0; },
         3,
         {},
         1,
         3},
        {"rule 0 calls nothing", [](ShotRecord& r) { r.Param1 = 8, r.Value1 = 1; }, 3, {}, 1, 3},
        {"fade: ends when Alpha reaches 0",
         [](ShotRecord& r) { r.Mode1 = 1, r.Param1 = 1, r.Value1 = -100; },
         5,
         {},
         0,
         2},
    };
    for (const RuleCase& c : cases) {
        Recorder::Get().Clear();
        ShotRecord r = Live();
        c.setup(r);
        rec().list[5] = r;
        for (int k = 0; k < c.passes; ++k) PosReference(list(), 1);
        EXPECT_EQ(rec().calls, c.calls) << c.what;
        EXPECT_EQ(rec().list[5].State, c.state) << c.what;
        EXPECT_EQ(rec().list[5].Age, c.age) << c.what;
    }
}

TEST_F(ShotListTest, LibraryMotionsChangeAlphaAndSpin) {
    ShotRecord r = Live();
    r.Mode1 = 1;
    r.Param1 = kMotionSpin;
    r.Value1 = 16;
    r.Spin = 1000;
    rec().list[0] = r;
    r.Param1 = kMotionFade;
    r.Value1 = 20;
    r.Alpha = 200;
    rec().list[1] = r;
    for (int k = 0; k < 3; ++k) PosReference(list(), 0);
    EXPECT_EQ(rec().list[0].Spin, 1048);
    EXPECT_EQ(rec().list[1].Alpha, 260);  // not clamped above: the painter clamps
    EXPECT_EQ(rec().list[1].State, 1);
}

TEST_F(ShotListTest, HitWindowRuleFadesInEqualStepsAndStopsHitting) {
    ShotRecord r = Live();
    r.Mode1 = r.Mode2 = 2;
    r.Param1 = 12;
    r.Value1 = 2;
    r.Value2 = 6;
    r.Alpha = 200;
    rec().list[0] = r;
    std::vector<std::int32_t> alphas;
    std::vector<bool> hits;
    for (int k = 0; k < 7; ++k) {
        hits.push_back(CanHit(rec().list[0]));
        PosReference(list(), 0);
        alphas.push_back(rec().list[0].Alpha);
    }
    EXPECT_EQ(alphas, (std::vector<std::int32_t>{200, 200, 150, 100, 50, 0, 0}));
    EXPECT_EQ(hits, (std::vector<bool>{true, true, false, false, false, false, false}));
    EXPECT_EQ(rec().calls, (std::vector<Call>{{12, 0, 0, 6}}));
}

TEST_F(ShotListTest, CopiesMadeDuringAPassWaitForTheNextPass) {
    // Procedure 20 copies its record (ProcId 20 as well) into a free slot
    // after it; procedure 30 ends record 9 and puts a copy into the freed slot.
    rec().actions[20] = [this](std::int32_t, std::int32_t index) {
        ShotRecord copy = rec().list[static_cast<std::size_t>(index)];
        copy.Age = 0;
        copy.ProcId = 31;
        AddCopy(list(), index + 1, copy);
    };
    rec().actions[30] = [this](std::int32_t, std::int32_t) {
        rec().list[9].State = 0;
        ShotRecord copy = Live();
        copy.ProcId = 31;
        EXPECT_EQ(AddCopy(list(), 9, copy), 9);
    };
    ShotRecord a = Live();
    a.ProcId = 20;
    rec().list[2] = a;
    ShotRecord b = Live();
    b.ProcId = 30;
    rec().list[4] = b;
    ShotRecord c = Live();
    c.ProcId = 40;
    rec().list[9] = c;

    PosReference(list(), 0);
    EXPECT_EQ(rec().calls, (std::vector<Call>{{20, 0, 2, 0}, {30, 0, 4, 0}}));
    EXPECT_EQ(rec().list[3].ProcId, 31);
    EXPECT_EQ(rec().list[3].Age, 0);
    EXPECT_EQ(rec().list[9].ProcId, 31);
    EXPECT_EQ(rec().list[9].Age, 0);

    rec().calls.clear();
    rec().actions[20] = nullptr;
    rec().actions[30] = nullptr;
    PosReference(list(), 0);
    EXPECT_EQ(rec().calls,
              (std::vector<Call>{{20, 0, 2, 1}, {31, 0, 3, 0}, {30, 0, 4, 1}, {31, 0, 9, 0}}));
}

TEST_F(ShotListTest, AProcedureEndingLaterRecordsSkipsThem) {
    rec().actions[20] = [this](std::int32_t, std::int32_t) { rec().list[7].State = 0; };
    ShotRecord a = Live();
    a.ProcId = 20;
    rec().list[1] = a;
    ShotRecord b = Live();
    b.ProcId = 21;
    rec().list[7] = b;
    PosReference(list(), 0);
    EXPECT_EQ(rec().calls, (std::vector<Call>{{20, 0, 1, 0}}));
    EXPECT_EQ(rec().list[7].Age, 0);
}

TEST_F(ShotListTest, ARecordEndedByItsFrameProcedureGetsNoFurtherStep) {
    rec().actions[20] = [this](std::int32_t, std::int32_t index) {
        rec().list[static_cast<std::size_t>(index)].State = 0;
    };
    ShotRecord a = Live();
    a.ProcId = 20;
    a.NextProcId = 21;
    a.SwitchAge = 0;
    a.Phase = kPhaseFireNow;
    rec().list[0] = a;
    PosReference(list(), 0);
    EXPECT_EQ(rec().calls, (std::vector<Call>{{20, 0, 0, 0}}));
    EXPECT_EQ(rec().list[0].Age, 0);
}

}  // namespace
}  // namespace brumil::platform::collision
