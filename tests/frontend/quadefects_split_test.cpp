#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/math_helpers.h"
#include "core/math_random.h"
#include "framework/display.h"
#include "frontend/quadefects.h"

namespace brumil::frontend {
namespace {

class QuadSplit : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(framework::DisplayStart(framework::DisplaySettings{})); }
    void TearDown() override { framework::DisplayStop(); }

    core::MathRandom random{1234};
    CQuadefects q{random};
};

TEST_F(QuadSplit, GridAt640x480) {
    using Split = std::function<void(CQuadefects&, Long)>;
    const Split staticRule = [](CQuadefects& e, Long s) { e.SplitRgnStatic(s); };
    const Split randRule = [](CQuadefects& e, Long s) { e.SplitRgnRand(s, 1, 1, 1, 1); };
    const Split angleRule = [](CQuadefects& e, Long s) {
        e.SplitRgnAngle(s, 1, 1, 1, 1, 1, 1, 1, 1);
    };
    const Split ringRule = [](CQuadefects& e, Long s) {
        e.SplitRgnRing(s, 1, 1, 0.5f, 0.5f, 1, 1, 1, 1);
    };
    struct Case {
        const char* name;
        Split split;
        Long size, edge, across, down, endCount;
    };
    const Case cases[] = {
        {"rand 16", randRule, 16, 40, 17, 13, 20},
        {"angle 16", angleRule, 16, 40, 17, 13, 20},
        {"static 16", staticRule, 16, 40, 17, 13, 20},
        {"ring 16", ringRule, 16, 40, 16, 12, 20},
        {"static 20", staticRule, 20, 32, 21, 16, 16},
        {"static 4 acts as 8", staticRule, 4, 80, 9, 7, 40},
        {"static 100 acts as 48", staticRule, 100, 14, 46, 35, 7},
        {"static 48", staticRule, 48, 14, 46, 35, 7},
        {"ring 100", ringRule, 100, 14, 46, 35, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.split(q, c.size);
        EXPECT_EQ(q.Edge(), c.edge);
        EXPECT_EQ(q.First(), 0);
        EXPECT_EQ(q.Last(), c.across * c.down - 1);
        EXPECT_GE(q.TileCapacity(), c.across * c.down);
        EXPECT_EQ(q.EndCount(), c.endCount);
        EXPECT_EQ(q.Counter(), 0);
        EXPECT_TRUE(q.Efects());
        // Column by column.
        EXPECT_EQ(q.Tile(1).srcX, 0);
        EXPECT_EQ(q.Tile(1).srcY, c.edge);
        EXPECT_EQ(q.Tile(c.down).srcX, c.edge);
        const QuadTile& last = q.Tile(q.Last());
        EXPECT_EQ(last.srcX, (c.across - 1) * c.edge);
        EXPECT_EQ(last.srcY, (c.down - 1) * c.edge);
        EXPECT_EQ(last.x[0], static_cast<Single>(last.srcX));
    }
}

TEST_F(QuadSplit, EndCountCanOnlyBeRaised) {
    EXPECT_EQ(q.EndCount(), 0);
    EXPECT_FALSE(q.Efects());
    q.SplitRgnStatic(16);
    q.EndCount(10);
    EXPECT_EQ(q.EndCount(), 20);
    q.EndCount(31);
    EXPECT_EQ(q.EndCount(), 31);
    q.SplitRgnStatic(20);
    EXPECT_EQ(q.EndCount(), 16) << "a new split starts over";
}

TEST_F(QuadSplit, PresetZeroThrowsTilesUpAndLetsThemFall) {
    q.SplitRgnAngle(16, 12.0f, 12.0f, 1.5707400f, 1.5707400f, 0.9f, 0.0f, 4.7123890f, 0.0f);
    core::MathRandom reference{1234};
    auto rnd = [&] { return static_cast<Single>(reference.Next() >> 8) / 16777216.0f; };
    for (Long i = q.First(); i <= q.Last(); ++i) {
        const Single speed = (rnd() - 0.5f) * 12.0f + 12.0f;
        const Single angle = (rnd() - 0.5f) * 1.57074f + 1.57074f;
        const Single accelAngle = (rnd() - 0.5f) * 0.0f + 4.712389f;
        const Single accel = (rnd() - 0.5f) * 0.0f + 0.9f;
        const QuadTile& t = q.Tile(i);
        ASSERT_FLOAT_EQ(t.vx, std::cos(angle) * speed) << i;
        ASSERT_FLOAT_EQ(t.vy, -std::sin(angle) * speed) << i;
        ASSERT_FLOAT_EQ(t.accelAngle, accelAngle);
        ASSERT_FLOAT_EQ(t.accel, accel);
        // Upwards within 45 degrees of vertical, at 6 to 18 pixels per frame.
        ASSERT_LT(t.vy, 0.0f);
        ASSERT_LE(std::fabs(t.vx), -t.vy + 1e-4f);
        const Single v = std::hypot(t.vx, t.vy);
        ASSERT_GE(v, 6.0f - 1e-4f);
        ASSERT_LT(v, 18.0f + 1e-4f);
    }
    std::vector<QuadTile> start;
    for (Long i = q.First(); i <= q.Last(); ++i) start.push_back(q.Tile(i));

    constexpr int n = 5;
    for (int f = 0; f < n; ++f) q.DoCompose();
    EXPECT_EQ(q.Counter(), n);
    for (Long i = q.First(); i <= q.Last(); ++i) {
        const QuadTile& s = start[static_cast<std::size_t>(i)];
        const QuadTile& t = q.Tile(i);
        const auto c = static_cast<std::size_t>(t.current);
        // Gravity of 0.9 adds 0.9 per frame to vy: y moves n vy + 0.9 n (n - 1) / 2.
        EXPECT_NEAR(t.x[c], s.x[0] + n * s.vx, 1e-3) << i;
        EXPECT_NEAR(t.y[c], s.y[0] + n * s.vy + 0.9 * n * (n - 1) / 2, 1e-3) << i;
        EXPECT_NEAR(t.vy, s.vy + 0.9f * n, 1e-4) << i;
        EXPECT_EQ(t.previous, 1 - t.current);
    }
}

TEST_F(QuadSplit, RingTilesFlyOutwardsFasterFurtherOut) {
    q.SplitRgnRing(16, 10.0f, 0.0f, 0.5f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f);
    const Single cx = 300.0f, cy = 220.0f;  // (640 - 40) / 2, (480 - 40) / 2
    Single nearSpeed = 1e9f, farSpeed = 0.0f;
    for (Long i = q.First(); i <= q.Last(); ++i) {
        const QuadTile& t = q.Tile(i);
        const Single d = core::Math_Length(t.x[0], t.y[0], cx, cy);
        const Single speed = std::hypot(t.vx, t.vy);
        EXPECT_NEAR(speed, 10.0f * d / 800.0f, 1e-3) << i;
        // Away from the centre: the velocity and the way to the centre disagree.
        EXPECT_LE(t.vx * (cx - t.x[0]) + t.vy * (cy - t.y[0]), 1e-3f) << i;
        nearSpeed = std::min(nearSpeed, speed);
        farSpeed = std::max(farSpeed, speed);
    }
    EXPECT_NEAR(q.Tile(0).vx, -10.0f * 300.0f / 800.0f, 1e-3);
    EXPECT_NEAR(q.Tile(0).vy, -10.0f * 220.0f / 800.0f, 1e-3);
    EXPECT_LT(nearSpeed, farSpeed / 10.0f);
}

TEST_F(QuadSplit, StaticTilesStayPut) {
    q.SplitRgnStatic(16);
    for (int f = 0; f < 3; ++f) q.DoCompose();
    for (Long i = q.First(); i <= q.Last(); ++i) {
        const QuadTile& t = q.Tile(i);
        ASSERT_EQ(t.x[static_cast<std::size_t>(t.current)], static_cast<Single>(t.srcX));
        ASSERT_EQ(t.y[static_cast<std::size_t>(t.current)], static_cast<Single>(t.srcY));
    }
}

TEST_F(QuadSplit, AccelerationReaimsWithoutTouchingVelocity) {
    q.SplitRgnAngle(16, 5.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    const Single vx = q.Tile(0).vx;
    q.Acceleration(0.5f, 0.5f, 1.0f, 0.0f, 2.0f, 0.25f, 0.0f);
    const QuadTile& t = q.Tile(0);
    EXPECT_EQ(t.vx, vx);
    EXPECT_NEAR(t.accel, core::Math_Length(0, 0, 300, 220) / 800.0f, 1e-5);
    EXPECT_NEAR(t.accelAngle, core::Math_HomingRadian(0, 0, 300, 220) * 2.0f + 0.25f, 1e-5);
}

TEST(QuadNoDisplay, SplitsWithoutABackSurfaceDrawNothing) {
    core::MathRandom random{1};
    CQuadefects q{random};
    q.SplitRgnStatic(16);
    EXPECT_EQ(q.Last(), 0) << "one tile at the origin";
    EXPECT_EQ(q.EndCount(), 1);
    q.SplitRgnRing(16, 10.0f, 5.0f, 0.5f, 0.5f, 1.0f, 1.0f, 0.0f, 0.0f);
    EXPECT_EQ(q.Last(), -1) << "the ring grid stops short of the edges";
    q.Acceleration(0.5f, 0.5f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f);
    q.DoCompose();
    EXPECT_EQ(q.Counter(), 0) << "nothing to draw on";
}

}  // namespace
}  // namespace brumil::frontend
