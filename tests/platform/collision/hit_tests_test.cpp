#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "platform/collision/angle_math.h"
#include "platform/collision/shot_list.h"
#include "recorder.h"

namespace brumil::platform::collision {
namespace {

using testing::AddCopy;
using testing::Call;
using testing::Live;
using testing::Recorder;

constexpr std::int32_t kPx = 256;  // one pixel in record units

TEST(HitCircle, ContactDistanceIsRadiusPlusScaledSize) {
    struct Case {
        const char* what;
        std::int32_t dx;  // record position relative to the circle, 1/256 pixel
        std::int32_t dy;
        std::int32_t radius;
        std::int32_t size;
        std::int32_t scale;
        bool touches;
    };
    // Size 40 at scale 256 reaches 10 pixels; radius 5: contact up to 15.
    const Case cases[] = {
        {"at the edge", 15 * kPx, 0, 5, 40, 256, true},
        {"one unit beyond", 15 * kPx + 1, 0, 5, 40, 256, false},
        {"diagonal 9,12 = 15", 9 * kPx, -12 * kPx, 5, 40, 256, true},
        {"diagonal just beyond", 9 * kPx, -12 * kPx - 2, 5, 40, 256, false},
        {"scale above 256 counts as 256", 15 * kPx, 0, 5, 40, 4096, true},
        {"scale above 256, beyond", 16 * kPx, 0, 5, 40, 4096, false},
        {"half scale halves the size", 10 * kPx, 0, 5, 40, 128, true},
        {"half scale, beyond", 10 * kPx + 1, 0, 5, 40, 128, false},
        {"size 0 never hits", 0, 0, 50, 0, 256, false},
        {"scale 0 never hits", 0, 0, 50, 40, 0, false},
        {"negative size never hits", 0, 0, 50, -40, 256, false},
        {"radius 0 still meets the size", 10 * kPx, 0, 0, 40, 256, true},
        {"far records", 2147000000, -2147000000, 5, 40, 256, false},
    };
    for (const Case& c : cases) {
        std::array<ShotRecord, 1> pool{Live(1000 + c.dx, 2000 + c.dy)};
        pool[0].Size = c.size;
        pool[0].Scale = c.scale;
        EXPECT_EQ(PosHitCircle(pool, 1000, 2000, c.radius, -1, 2, 2), c.touches ? 1 : 0) << c.what;
        EXPECT_EQ(pool[0].State, 1) << c.what << ": mode 2 only counts";
    }
    // Opposite corners of the 32-bit plane with a huge reach: no overflow.
    std::array<ShotRecord, 1> far{Live(INT32_MAX, INT32_MAX)};
    far[0].Size = INT32_MAX;
    EXPECT_EQ(PosHitCircle(far, INT32_MIN, INT32_MIN, INT32_MAX, -1, 2, 2), 1);
    EXPECT_EQ(PosHitCircle(far, INT32_MIN, INT32_MIN, 1, -1, 2, 2), 1);  // the size reaches
    far[0].Size = 18;
    EXPECT_EQ(PosHitCircle(far, INT32_MIN, INT32_MIN, 1, -1, 2, 2), 0);
    EXPECT_EQ(PosHitCircle(far, INT32_MIN, INT32_MIN, 23726561, -1, 2, 2), 0);
    EXPECT_EQ(PosHitCircle(far, INT32_MIN, INT32_MIN, 23726562, -1, 2, 2), 1);
}

TEST(HitCircle, ModesAndSelectors) {
    struct Case {
        std::int32_t selector;
        std::int32_t mode;
        std::int32_t count;
        std::vector<std::int32_t> states;  // after the test
    };
    // Groups 0, 1, -1, 1 and a free record of group 1, all at the centre.
    const Case cases[] = {
        {-1, 2, 4, {1, 1, 1, 1, 0}}, {-1, 1, 4, {0, 0, 0, 0, 0}}, {1, 1, 2, {1, 0, 1, 0, 0}},
        {0, 1, 1, {0, 1, 1, 1, 0}},  {5, 1, 0, {1, 1, 1, 1, 0}},  {1, 7, 2, {1, 1, 1, 1, 0}},
    };
    for (const Case& c : cases) {
        std::array<ShotRecord, 5> pool{Live(), Live(), Live(), Live(), ShotRecord{}};
        pool[1].Group = 1;
        pool[2].Group = -1;
        pool[3].Group = 1;
        pool[4].Group = 1;
        EXPECT_EQ(PosHitCircle(pool, 0, 0, 1, c.selector, c.mode, 2), c.count);
        std::vector<std::int32_t> states;
        for (const ShotRecord& r : pool) states.push_back(r.State);
        EXPECT_EQ(states, c.states) << "selector " << c.selector << " mode " << c.mode;
    }
}

TEST(HitCircle, RecordsFadingUnderTheHitWindowDoNotHit) {
    std::array<ShotRecord, 1> pool{Live()};
    pool[0].Mode1 = 2;
    pool[0].Value1 = 3;
    pool[0].Value2 = 9;
    for (std::int32_t age : {0, 2, 3, 8, 9, 50}) {
        pool[0].Age = age;
        EXPECT_EQ(PosHitCircle(pool, 0, 0, 10, -1, 2, 2), age < 3 ? 1 : 0) << age;
        EXPECT_EQ(PosHitBox(pool, 0, 0, 10, -1, 2, 2), age < 3 ? 1 : 0) << age;
    }
}

TEST(HitBox, BandAlongTheSpriteUpAnchoredAtThePivot) {
    // A beam: 10 px wide, 100 px long, pivot at the near end (ScaleY 256),
    // pointing along +x: Angle + Spin - 1024 = 0.
    const auto beam = [](std::int32_t angle, std::int32_t scaleY) {
        ShotRecord r = Live(0x10000, 0x10000);
        r.Angle = angle;
        r.Spin = 0;
        r.HitB = 10 * kPx;
        r.HitC = 100 * kPx;
        r.ScaleX = 128;
        r.ScaleY = scaleY;
        return r;
    };
    struct Case {
        const char* what;
        std::int32_t angle;
        std::int32_t scaleY;
        std::int32_t px;  // circle centre relative to the record, pixels
        std::int32_t py;
        std::int32_t radius;
        bool touches;
    };
    const Case cases[] = {
        {"on the axis, mid-length", 1024, 256, 50, 0, 0, true},
        {"at the far end", 1024, 256, 100, 0, 0, true},
        {"past the far end", 1024, 256, 102, 0, 1, false},
        {"past the far end within the radius", 1024, 256, 102, 0, 2, true},
        {"behind the pivot", 1024, 256, -3, 0, 2, false},
        {"at the side edge", 1024, 256, 60, 5, 0, true},
        {"beyond the side edge", 1024, 256, 60, 7, 1, false},
        {"beyond the side, radius reaches", 1024, 256, 60, -7, 2, true},
        {"pointing down (Angle 2048)", 2048, 256, 0, 80, 0, true},
        {"pointing down, not along x", 2048, 256, 80, 0, 0, false},
        {"pointing up (Angle 0)", 0, 256, 0, -80, 0, true},
        {"angle read modulo the turn", 1024 - 4096 * 3, 256, 50, 0, 0, true},
        {"centred pivot reaches both ways", 1024, 128, -49, 0, 0, true},
        {"centred pivot, beyond", 1024, 128, -52, 0, 1, false},
        {"far end pivot (ScaleY 0) lies behind", 1024, 0, -80, 0, 0, true},
        {"far end pivot, not ahead", 1024, 0, 20, 0, 0, false},
    };
    for (const Case& c : cases) {
        std::array<ShotRecord, 1> pool{beam(c.angle, c.scaleY)};
        const std::int32_t got =
            PosHitBox(pool, 0x10000 + c.px * kPx, 0x10000 + c.py * kPx, c.radius, -1, 2, 2);
        EXPECT_EQ(got, c.touches ? 1 : 0) << c.what;
    }
}

TEST(HitBox, SizeAndScaleZeroNeverHitAndModeOneEnds) {
    std::array<ShotRecord, 3> pool{Live(), Live(), Live()};
    for (ShotRecord& r : pool) r.HitB = r.HitC = 20 * kPx, r.ScaleX = r.ScaleY = 128;
    pool[0].Size = 0;
    pool[1].Scale = 0;
    EXPECT_EQ(PosHitBox(pool, 0, 0, 1, -1, 1, 2), 1);
    EXPECT_EQ(pool[0].State, 1);
    EXPECT_EQ(pool[1].State, 1);
    EXPECT_EQ(pool[2].State, 0);
}

TEST(HitWindow, OutsideRemovedInsideCountedNeverChanged) {
    // Window 0..100 x 0..50; bounds are inside.
    struct Case {
        std::int32_t x, y;
        bool inside;
    };
    const Case cases[] = {{0, 0, true},    {100, 50, true}, {-1, 10, false}, {101, 10, false},
                          {50, -1, false}, {50, 51, false}, {50, 25, true}};
    std::array<ShotRecord, std::size(cases)> pool{};
    int inside = 0;
    for (std::size_t i = 0; i < pool.size(); ++i) {
        pool[i] = Live(cases[i].x, cases[i].y);
        inside += cases[i].inside ? 1 : 0;
    }
    const auto before = pool;
    EXPECT_EQ(PosHitWindowIn(pool, 0, 0, 100, 50, -1, 1, 0), inside);
    EXPECT_EQ(std::memcmp(before.data(), pool.data(), sizeof(pool)), 0);
    EXPECT_EQ(PosHitWindowIn(pool, 0, 0, 100, 50, 3, 1, 0), 0);  // no record of group 3

    auto marked = pool;
    EXPECT_EQ(PosHitWindow(marked, 0, 0, 100, 50, -1, 2, 8),
              static_cast<int>(pool.size()) - inside);
    EXPECT_EQ(PosHitWindow(pool, 0, 0, 100, 50, -1, 1, 8), static_cast<int>(pool.size()) - inside);
    for (std::size_t i = 0; i < pool.size(); ++i) {
        EXPECT_EQ(pool[i].State, cases[i].inside ? 1 : 0) << i;
        EXPECT_EQ(marked[i].State, 1) << i;
        EXPECT_EQ(marked[i].Phase, cases[i].inside ? 0 : 8) << i;
    }
}

TEST(HitAll, CancelsOrMarksTheSelected) {
    struct Case {
        std::int32_t selector, mode, value, count;
        std::vector<std::int32_t> states, phases;
    };
    const Case cases[] = {
        {-1, 1, 2, 3, {0, 0, 0, 0}, {1, 0, 0, 0}}, {1, 1, 2, 2, {1, 0, 0, 0}, {1, 0, 0, 0}},
        {1, 2, 4, 2, {1, 1, 1, 0}, {1, 4, 4, 0}},  {0, 2, 4, 1, {1, 1, 1, 0}, {5, 0, 0, 0}},
        {2, 1, 2, 0, {1, 1, 1, 0}, {1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        std::array<ShotRecord, 4> pool{Live(), Live(), Live(), ShotRecord{}};
        pool[0].Phase = 1;
        pool[1].Group = pool[2].Group = pool[3].Group = 1;
        EXPECT_EQ(PosHitAll(pool, c.selector, c.mode, c.value), c.count);
        for (std::size_t i = 0; i < pool.size(); ++i) {
            EXPECT_EQ(pool[i].State, c.states[i]) << c.selector << "/" << c.mode << " #" << i;
            EXPECT_EQ(pool[i].Phase, c.phases[i]) << c.selector << "/" << c.mode << " #" << i;
        }
    }
}

class CatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        Recorder::Get().Clear();
        testing::DisconnectAll();
        testing::ConnectRecorders();
    }
    void TearDown() override { testing::DisconnectAll(); }
    Recorder& rec() { return Recorder::Get(); }
};

TEST_F(CatchTest, WhoIsCaught) {
    struct Case {
        const char* what;
        std::function<void(ShotRecord&)> setup;
        bool caught;
    };
    const Case cases[] = {
        {"plain record", [](ShotRecord&) {}, true},
        {"exactly on the circle", [](ShotRecord& r) { r.X = 20 * kPx; }, true},
        {"one unit outside", [](ShotRecord& r) { r.X = 20 * kPx + 1; }, false},
        {"size does not widen the catch", [](ShotRecord& r) { r.X = 21 * kPx, r.Size = 400; },
         false},
        {"size 0 is caught all the same", [](ShotRecord& r) { r.Size = 0; }, true},
        {"flag already set", [](ShotRecord& r) { r.Phase = 16; }, false},
        {"another flag set", [](ShotRecord& r) { r.Phase = 4; }, true},
        {"serial equal to the stamp", [](ShotRecord& r) { r.Serial = 7; }, false},
        {"serial above the stamp", [](ShotRecord& r) { r.Serial = 70; }, false},
        {"serial below the stamp", [](ShotRecord& r) { r.Serial = -3; }, true},
        {"other group", [](ShotRecord& r) { r.Group = 1; }, false},
        {"free record", [](ShotRecord& r) { r.State = 0; }, false},
    };
    for (const Case& c : cases) {
        rec().Clear();
        std::span<ShotRecord> pool = std::span<ShotRecord>(rec().list).subspan(800, 140);
        ShotRecord r = Live();
        r.Serial = 6;
        c.setup(r);
        const std::int32_t phase = r.Phase;
        pool[3] = r;
        const std::int32_t n = PosHitCircleCallBack(pool, 1, 800, 0, 0, 20, 0, 2, 7, 16, 40);
        EXPECT_EQ(n, c.caught ? 1 : 0) << c.what;
        const std::vector<Call> want =
            c.caught ? std::vector<Call>{{40, 1, 803, r.Age}} : std::vector<Call>{};
        EXPECT_EQ(rec().calls, want) << c.what;
        EXPECT_EQ(pool[3].Phase, c.caught ? (phase | 16) : phase) << c.what;
    }
}

TEST_F(CatchTest, NeverHandsOneRecordTwiceToOneExplosion) {
    // Procedure 41 copies the caught record with Phase cleared into the same
    // pool (as a capture that keeps a copy) and clears nothing on the caught one.
    std::span<ShotRecord> pool = std::span<ShotRecord>(rec().list).subspan(0, 800);
    rec().actions[41] = [pool](std::int32_t, std::int32_t index) {
        ShotRecord copy = pool[static_cast<std::size_t>(index)];
        copy.Phase = 0;
        AddCopy(pool, index, copy);
    };
    for (std::size_t i : {10u, 11u, 30u}) pool[i] = Live();
    EXPECT_EQ(PosHitCircleCallBack(pool, 0, 0, 0, 0, 5, -1, 2, 1, 16, 41), 3);
    EXPECT_EQ(rec().calls, (std::vector<Call>{{41, 0, 10, 0}, {41, 0, 11, 0}, {41, 0, 30, 0}}));
    // The copies went to 12, 13 and 31 and were not caught in that call.
    for (std::size_t i : {12u, 13u, 31u}) EXPECT_EQ(pool[i].State, 1) << i;
    // A second catch of the same explosion skips the flagged originals and
    // takes only the copies.
    rec().calls.clear();
    rec().actions[41] = nullptr;
    EXPECT_EQ(PosHitCircleCallBack(pool, 0, 0, 0, 0, 5, -1, 2, 1, 16, 41), 3);
    EXPECT_EQ(rec().calls, (std::vector<Call>{{41, 0, 12, 0}, {41, 0, 13, 0}, {41, 0, 31, 0}}));
    EXPECT_EQ(PosHitCircleCallBack(pool, 0, 0, 0, 0, 5, -1, 2, 1, 16, 41), 0);
}

TEST_F(CatchTest, ProcedureZeroOrUnregisteredOnlyMarks) {
    std::array<ShotRecord, 2> pool{Live(), Live()};
    EXPECT_EQ(PosHitCircleCallBack(pool, 0, 0, 0, 0, 5, -1, 2, 1, 4, 0), 2);
    EXPECT_EQ(PosHitCircleCallBack(pool, 0, 0, 0, 0, 5, -1, 2, 1, 8, 99), 2);
    EXPECT_TRUE(rec().calls.empty());
    EXPECT_EQ(pool[0].Phase, 12);
    EXPECT_EQ(pool[1].State, 1);
    // A negative radius catches nothing.
    EXPECT_EQ(PosHitCircleCallBack(pool, 0, 0, 0, 0, -5, -1, 2, 1, 32, 0), 0);
}

TEST_F(CatchTest, CatchInsideReferenceLeavesCopiesForTheNextPass) {
    // Record 0's frame procedure (20) runs a catch over the whole list with
    // procedure 21, which ends the caught record and puts a copy with
    // ProcId 30 into the first free slot (possibly the one just freed).
    std::span<ShotRecord> list = rec().list;
    rec().actions[20] = [list](std::int32_t player, std::int32_t) {
        PosHitCircleCallBack(list, player, 0, 0, 0, 5, 1, 2, 100, 16, 21);
    };
    rec().actions[21] = [list](std::int32_t, std::int32_t index) {
        ShotRecord copy = list[static_cast<std::size_t>(index)];
        list[static_cast<std::size_t>(index)].State = 0;
        copy.ProcId = 30;
        copy.Group = 0;
        AddCopy(list, index, copy);
    };
    ShotRecord bomb = Live();
    bomb.ProcId = 20;
    list[0] = bomb;
    for (std::size_t i : {4u, 6u}) {
        list[i] = Live();
        list[i].Group = 1;
        list[i].ProcId = 31;
    }
    PosReference(list, 1);
    EXPECT_EQ(rec().calls, (std::vector<Call>{{20, 1, 0, 0}, {21, 1, 4, 0}, {21, 1, 6, 0}}));
    EXPECT_EQ(list[4].ProcId, 30);
    EXPECT_EQ(list[4].Age, 0);
    rec().calls.clear();
    rec().actions[20] = nullptr;
    PosReference(list, 1);
    EXPECT_EQ(rec().calls, (std::vector<Call>{{20, 1, 0, 1}, {30, 1, 4, 0}, {30, 1, 6, 0}}));
}

}  // namespace
}  // namespace brumil::platform::collision
