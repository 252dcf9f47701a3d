// Segment and straight-line tests against triangles, the triangle walk over
// vertex arrays, the many-lines marking and the texture-point search.
#include "render/hit_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "ark_test_host.h"
#include "render/ark.h"

namespace brumil::render {
namespace {

// The triangle a = (0,0,0), b = (4,0,0), c = (0,4,0) in the plane z = 0.
constexpr D3DVECTOR kA{0, 0, 0}, kB{4, 0, 0}, kC{0, 4, 0};
constexpr Single kNaN = std::numeric_limits<Single>::quiet_NaN();

D3DVECTOR Dir(const D3DVECTOR& o, const D3DVECTOR& e) {
    D3DVECTOR d{e.x - o.x, e.y - o.y, e.z - o.z};
    const Single len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    if (len > 0) d = {d.x / len, d.y / len, d.z / len};
    return d;
}

struct SegmentCase {
    const char* name;
    D3DVECTOR o, e;
    bool straight;
    bool hit;
    Single t, u, v;  // checked on a hit
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const SegmentCase& c, std::ostream* os) {
    *os << c.name;
}

class SegmentTest : public ::testing::TestWithParam<SegmentCase> {};

TEST_P(SegmentTest, AgainstOneTriangle) {
    const auto& c = GetParam();
    Single t = 0, u = 0, v = 0;
    const D3DVECTOR d = Dir(c.o, c.e);
    const bool hit =
        c.straight ? CIMArkHitTest::HitTestStraightLineAndTriangle(c.o, d, kA, kB, kC, t, u, v)
                   : CIMArkHitTest::HitTestLineAndTriangle(c.o, c.e, d, kA, kB, kC, t, u, v);
    ASSERT_EQ(hit, c.hit);
    if (!hit) return;
    EXPECT_NEAR(t, c.t, 1e-5);
    EXPECT_NEAR(u, c.u, 1e-5);
    EXPECT_NEAR(v, c.v, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SegmentTest,
    ::testing::Values(
        // Through (1, 2, 0): u = 1/4 of b, v = 2/4 of c, 3 units from the start.
        SegmentCase{"through", {1, 2, -3}, {1, 2, 5}, false, true, 3, 0.25f, 0.5f},
        SegmentCase{"throughFromBehind", {1, 2, 5}, {1, 2, -3}, false, true, 5, 0.25f, 0.5f},
        SegmentCase{"endsOnThePlane", {1, 1, -2}, {1, 1, 0}, false, true, 2, 0.25f, 0.25f},
        SegmentCase{"tooShort", {1, 1, -5}, {1, 1, -1}, false, false, 0, 0, 0},
        SegmentCase{"tooShortButStraight", {1, 1, -5}, {1, 1, -1}, true, true, 5, 0.25f, 0.25f},
        SegmentCase{"straightBehindTheStart", {1, 1, 2}, {1, 1, 6}, true, true, -2, 0.25f, 0.25f},
        SegmentCase{"inThePlane", {-1, 1, 0}, {5, 1, 0}, false, false, 0, 0, 0},
        SegmentCase{"parallelStraight", {-1, 1, 1}, {5, 1, 1}, true, false, 0, 0, 0},
        SegmentCase{"outsideTheTriangle", {3, 3, -1}, {3, 3, 1}, false, false, 0, 0, 0},
        SegmentCase{"onEdgeBC", {2, 2, -1}, {2, 2, 1}, false, true, 1, 0.5f, 0.5f},
        SegmentCase{"onCornerA", {0, 0, -1}, {0, 0, 1}, false, true, 1, 0, 0},
        SegmentCase{"zeroLength", {1, 1, 0}, {1, 1, 0}, true, false, 0, 0, 0},
        SegmentCase{"notANumber", {kNaN, 1, -1}, {1, 1, 1}, false, false, 0, 0, 0},
        SegmentCase{"notANumberStraight", {1, 1, -1}, {kNaN, 1, 1}, true, false, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HitTriangle, TheOtherWindingSwapsUAndV) {
    const D3DVECTOR o{1, 2, -3}, e{1, 2, 5};
    Single t1 = 0, u1 = 0, v1 = 0, t2 = 0, u2 = 0, v2 = 0;
    ASSERT_TRUE(CIMArkHitTest::HitTestLineAndTriangle(o, e, Dir(o, e), kA, kB, kC, t1, u1, v1));
    ASSERT_TRUE(CIMArkHitTest::HitTestLineAndTriangle(o, e, Dir(o, e), kA, kC, kB, t2, u2, v2));
    EXPECT_FLOAT_EQ(t1, t2);
    EXPECT_FLOAT_EQ(u1, v2);
    EXPECT_FLOAT_EQ(v1, u2);
}

TEST(HitTriangle, ADegenerateTriangleIsNeverHit) {
    // Three corners on one line: no plane, no hit from any side.
    const D3DVECTOR a{0, 0, 0}, b{1, 1, 0}, c{2, 2, 0};
    Single t = 0, u = 0, v = 0;
    const D3DVECTOR o{1, 1, -1}, e{1, 1, 1};
    EXPECT_FALSE(CIMArkHitTest::HitTestLineAndTriangle(o, e, Dir(o, e), a, b, c, t, u, v));
    EXPECT_FALSE(CIMArkHitTest::HitTestStraightLineAndTriangle(o, Dir(o, e), a, b, c, t, u, v));
    EXPECT_FALSE(CIMArkHitTest::HitTestStraightLineAndTriangle(o, Dir(o, e), a, a, a, t, u, v));
}

TEST(HitTriangle, StraightLineThroughTwoPoints) {
    Single t = 0, u = 0, v = 0;
    ASSERT_TRUE(CIMArkHitTest::HitTestStraightLineAndTriangleSub(1, 2, -3, 1, 2, -1, 0, 0, 0, 4, 0,
                                                                 0, 0, 4, 0, t, u, v));
    EXPECT_NEAR(t, 3, 1e-5);
    EXPECT_NEAR(u, 0.25f, 1e-5);
}

// ---- The triangle walk -----------------------------------------------------------

// Two unit triangles in z = 0: one over x 0..1, one over x 10..11.
std::vector<D3DVECTOR> TwoTriangles() {
    return {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {10, 0, 0}, {11, 0, 0}, {10, 1, 0}};
}

struct WalkCase {
    const char* name;
    HitGeometry g;
    std::vector<Integer> indices;
    bool hitsSecond;  // the line through (10.2, 0.2) meets a walked triangle
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const WalkCase& c, std::ostream* os) {
    *os << c.name;
}

class WalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(WalkTest, WalksOnlyTheDrawnTriangles) {
    auto c = GetParam();
    c.g.indices = c.indices;
    const D3DVECTOR o{10.2f, 0.2f, -1}, e{10.2f, 0.2f, 1};
    EXPECT_EQ(CIMArkHitTest::HitTestTriangles(o, e, Dir(o, e), TwoTriangles(), c.g, false),
              c.hitsSecond);
}

constexpr Long kList = platform::D3DPT_TRIANGLELIST, kStrip = platform::D3DPT_TRIANGLESTRIP;

INSTANTIATE_TEST_SUITE_P(
    Cases, WalkTest,
    ::testing::Values(
        WalkCase{"list", {kList, 0, 6, false, {}, 0}, {}, true},
        WalkCase{"listOfFirstOnly", {kList, 0, 3, false, {}, 0}, {}, false},
        WalkCase{"listFromStart", {kList, 3, 3, false, {}, 0}, {}, true},
        WalkCase{"listNotAMultipleOf3", {kList, 0, 7, false, {}, 0}, {}, false},
        WalkCase{"indicesIgnoredWhenNotIndexed", {kList, 0, 6, false, {}, 3}, {0, 1, 2}, true},
        WalkCase{"stripOfTwo", {kStrip, 0, 2, false, {}, 0}, {}, false},
        WalkCase{"stripReachesTheSecond", {kStrip, 0, 6, false, {}, 0}, {}, true},
        WalkCase{"fanIsNotWalked", {6, 0, 6, false, {}, 0}, {}, false},
        WalkCase{"indexed", {kList, 0, 6, true, {}, 3}, {3, 4, 5}, true},
        WalkCase{"indexedCountPastTheList", {kList, 0, 6, true, {}, 6}, {3, 4, 5}, true},
        WalkCase{"indexPastTheVertices", {kList, 0, 6, true, {}, 6}, {3, 4, 99, 3, 4, 5}, true},
        WalkCase{"negativeIndexSkipped", {kList, 0, 6, true, {}, 3}, {-1, 4, 5}, false},
        WalkCase{"startPushesPastTheEnd", {kList, 4, 6, false, {}, 0}, {}, false},
        WalkCase{"countPastTheArray", {kList, 3, 6, false, {}, 0}, {}, true},
        WalkCase{"negativeStart", {kList, -3, 6, false, {}, 0}, {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Vertex arrays in world space -------------------------------------------------

std::vector<D3DVERTEX> Quad() {
    // Two triangles covering x, y in 0..1 at z = 0.
    std::vector<D3DVERTEX> v(4);
    v[0] = {0, 0, 0, 0, 0, -1, 0, 0};
    v[1] = {1, 0, 0, 0, 0, -1, 1, 0};
    v[2] = {0, 1, 0, 0, 0, -1, 0, 1};
    v[3] = {1, 1, 0, 0, 0, -1, 1, 1};
    return v;
}

HitGeometry QuadStrip() {
    return {kStrip, 0, 4, false, {}, 0};
}

TEST(HitVertex, TheWorldMatrixMovesTheGeometry) {
    const auto quad = Quad();
    const D3DMATRIX world = CIMArk::Get_Transform(5, 0, 2, 0, 0, 0, 2, 2, 2);  // x 5..7, z 2
    EXPECT_TRUE(CIMArkHitTest::HitTestVertex(6, 1, 0, 6, 1, 4, quad, QuadStrip(), world, false));
    EXPECT_FALSE(CIMArkHitTest::HitTestVertex(0.5f, 0.5f, 0, 0.5f, 0.5f, 4, quad, QuadStrip(),
                                              world, false));
    EXPECT_FALSE(CIMArkHitTest::HitTestVertex(6, 1, 0, 6, 1, 1, quad, QuadStrip(), world, false));
    EXPECT_TRUE(CIMArkHitTest::HitTestVertex(6, 1, 0, 6, 1, 1, quad, QuadStrip(), world, true));
}

TEST(HitVertex, ASingularWorldMatrixHitsNothing) {
    const auto quad = Quad();
    const D3DMATRIX flat = CIMArk::Get_Transform(0, 0, 0, 0, 0, 0, 1, 0, 1);
    const D3DMATRIX zero{};
    for (const auto& world : {flat, zero}) {
        EXPECT_FALSE(CIMArkHitTest::HitTestVertex(0.5f, 0.5f, -1, 0.5f, 0.5f, 1, quad, QuadStrip(),
                                                  world, true));
    }
}

TEST(HitVertex, PreLitVerticesUseTheirPositions) {
    std::vector<D3DLVERTEX> v(3);
    v[0] = {0, 0, 0, 0, -1, 0, 0, 0};
    v[1] = {0, 0, 4, 0, -1, 0, 0, 0};
    v[2] = {4, 0, 0, 0, -1, 0, 0, 0};
    D3DMATRIX identity = CIMArk::Get_Transform(0, 0, 0, 0, 0, 0, 1, 1, 1);
    const HitGeometry g{kList, 0, 3, false, {}, 0};
    EXPECT_TRUE(CIMArkHitTest::HitTestLVertex(1, 5, 1, 1, -5, 1, v, g, identity, false));
    EXPECT_FALSE(CIMArkHitTest::HitTestLVertex(3, 5, 3, 3, -5, 3, v, g, identity, false));
}

TEST(HitVertex, LinesMarkOnlyThePointsNotYetMarked) {
    const auto quad = Quad();
    const D3DMATRIX world = CIMArk::Get_Transform(0, 0, 5, 0, 0, 0, 1, 1, 1);  // the quad at z = 5
    const std::vector<D3DVECTOR> points = {
        {0.5f, 0.5f, 0}, {3, 3, 0}, {0.2f, 0.7f, 0}, {0.5f, 0.5f, 9}, {0.5f, 0.5f, 0}};
    std::vector<bool> hits = {false, false, true, false};  // shorter than the points
    CIMArkHitTest::HitTestVertexLines(points, {0, 0, 10}, hits, quad, QuadStrip(), world, false);
    EXPECT_EQ(hits, (std::vector<bool>{true, false, true, false}));
    // Straight lines through the same points also meet the quad behind them.
    std::vector<bool> straight(5, false);
    CIMArkHitTest::HitTestVertexLines(points, {0, 0, 10}, straight, quad, QuadStrip(), world, true);
    EXPECT_EQ(straight, (std::vector<bool>{true, false, true, true, true}));
}

// ---- Texture points ----------------------------------------------------------------

TEST(TexturePoint, CornerAndEdgeMiddle) {
    D3DTLVERTEX a, b, c;
    a.sx = 0, a.sy = 0, a.sz = 0.5f, a.tu = 0.1f, a.tv = 0.2f;
    b.sx = 4, b.sy = 0, b.sz = 0.5f, b.tu = 0.9f, b.tv = 0.3f;
    c.sx = 0, c.sy = 4, c.sz = 0.5f, c.tu = 0.5f, c.tv = 0.7f;
    auto probe = [&](Single x, Single y, Single& tu, Single& tv) {
        const D3DVECTOR o{x, y, 0}, e{x, y, 1};
        Single t = 0;
        return CIMArkHitTest::Get_TexturePoint(o, e, Dir(o, e), a, b, c, false, t, tu, tv);
    };
    Single tu = 0, tv = 0;
    ASSERT_TRUE(probe(0, 0, tu, tv));
    EXPECT_NEAR(tu, 0.1f, 1e-6);
    EXPECT_NEAR(tv, 0.2f, 1e-6);
    ASSERT_TRUE(probe(2, 2, tu, tv));
    EXPECT_NEAR(tu, 0.7f, 1e-6);
    EXPECT_NEAR(tv, 0.5f, 1e-6);
    EXPECT_FALSE(probe(3, 3, tu, tv));
}

// Two squares facing the camera at z = 2 and z = 5, seen from the default
// eye (0, 0, -10); the search line runs straight into the screen.
class TexturePointSearch : public ::testing::Test {
protected:
    testing::FakeArkHost host;
    CIMArk ark{host};
    CIMArkHitTest hits;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx = {0, 1, 2, 1, 3, 2, 4, 5, 6, 5, 7, 6};

    void SetUp() override {
        ark.SettingProperty();
        for (Single z : {5.0f, 2.0f}) {
            const Single tu = z == 2 ? 0.25f : 0.75f;
            for (int k = 0; k < 4; ++k) {
                D3DVERTEX p;
                p.x = (k & 1) ? 1.0f : -1.0f;
                p.y = (k & 2) ? -1.0f : 1.0f;
                p.z = z;
                p.tu = tu;
                p.tv = 0.5f;
                v.push_back(p);
            }
        }
    }
    TexturePointResult Search(Long rank) {
        const D3DMATRIX identity = CIMArk::Get_Transform(0, 0, 0, 0, 0, 0, 1, 1, 1);
        const HitGeometry g{kList, 0, 8, true, idx, 12};
        return hits.Get_TexturePoint_VERTEX(ark, 0.1f, 0.2f, -5, 0.1f, 0.2f, 20, v, g, identity,
                                            false, rank);
    }
};

TEST_F(TexturePointSearch, RanksRunFromTheNearestHit) {
    const auto nearest = Search(0);
    ASSERT_TRUE(nearest.found);
    EXPECT_EQ(hits.HitCount(), 2);
    EXPECT_FLOAT_EQ(nearest.tu, 0.25f);
    EXPECT_GE(nearest.triangle, 6);  // the z = 2 square is the second in the list
    const auto farther = Search(1);
    ASSERT_TRUE(farther.found);
    EXPECT_FLOAT_EQ(farther.tu, 0.75f);
    EXPECT_LT(farther.triangle, 6);
    EXPECT_GT(farther.t, nearest.t);
    EXPECT_FALSE(Search(2).found);
    EXPECT_FALSE(Search(-1).found);
    EXPECT_EQ(hits.HitCount(), 2);
}

TEST_F(TexturePointSearch, TheHitListGrowsTwoSixFourteen) {
    // Seven stacked squares: the capacity grows 2, 6, 14.
    v.clear();
    idx.clear();
    for (int s = 0; s < 7; ++s) {
        for (int k = 0; k < 4; ++k) {
            D3DVERTEX p;
            p.x = (k & 1) ? 1.0f : -1.0f;
            p.y = (k & 2) ? -1.0f : 1.0f;
            p.z = static_cast<Single>(s);
            v.push_back(p);
        }
        const auto b = static_cast<Integer>(4 * s);
        for (Integer i : {0, 1, 2, 1, 3, 2}) idx.push_back(static_cast<Integer>(b + i));
    }
    const D3DMATRIX identity = CIMArk::Get_Transform(0, 0, 0, 0, 0, 0, 1, 1, 1);
    const HitGeometry g{kList, 0, 28, true, idx, 42};
    const auto r =
        hits.Get_TexturePoint_VERTEX(ark, 0.1f, 0.2f, -5, 0.1f, 0.2f, 20, v, g, identity, false, 6);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(hits.HitCount(), 7);
    EXPECT_EQ(hits.HitCapacity(), 14);
    EXPECT_EQ(r.triangle, 36);  // the farthest square's first triangle
}

TEST_F(TexturePointSearch, ScreenVerticesAreSearchedAsTheyAre) {
    std::vector<D3DTLVERTEX> screen(3);
    const D3DTLVERTEX p = ark.ProjectVertex(0, 0, 0);
    screen[0].sx = p.sx - 50, screen[0].sy = p.sy - 50, screen[0].sz = p.sz;
    screen[1].sx = p.sx + 50, screen[1].sy = p.sy - 50, screen[1].sz = p.sz, screen[1].tu = 1;
    screen[2].sx = p.sx - 50, screen[2].sy = p.sy + 50, screen[2].sz = p.sz, screen[2].tv = 1;
    const HitGeometry g{kList, 0, 3, false, {}, 0};
    const auto r = hits.Get_TexturePoint_TLVERTEX(ark, 0, 0, -5, 0, 0, 20, screen, g, false, 0);
    ASSERT_TRUE(r.found);
    EXPECT_NEAR(r.tu, 0.5f, 1e-4);
    EXPECT_NEAR(r.tv, 0.5f, 1e-4);
    EXPECT_TRUE(CIMArkHitTest::HitTestTLVertex(ark, 0, 0, -5, 0, 0, 20, screen, g, false));
    EXPECT_FALSE(CIMArkHitTest::HitTestTLVertex(ark, 30, 30, -5, 30, 30, 20, screen, g, false));
}

// The scene object answers the same calls with the draw's arguments, and keeps
// the hit list of the latest search itself.
TEST_F(TexturePointSearch, TheSceneObjectAnswersWithTheDrawsArguments) {
    const D3DMATRIX identity = CIMArk::Get_Transform(0, 0, 0, 0, 0, 0, 1, 1, 1);
    const auto viaArk = ark.Get_TexturePoint_VERTEX(0.1f, 0.2f, -5, 0.1f, 0.2f, 20, kList, v, 0, 8,
                                                    true, idx, 12, identity, false, 0);
    const auto direct = Search(0);
    ASSERT_TRUE(viaArk.found);
    EXPECT_EQ(viaArk.triangle, direct.triangle);
    EXPECT_FLOAT_EQ(viaArk.tu, 0.25f);
    EXPECT_EQ(ark.HitCount(), 2);
    EXPECT_EQ(ark.HitCapacity(), 2);
    // Only the first square: one hit, and the search replaced the list.
    const auto first = ark.Get_TexturePoint_VERTEX(0.1f, 0.2f, -5, 0.1f, 0.2f, 20, kList, v, 0, 8,
                                                   true, idx, 6, identity, false, 0);
    ASSERT_TRUE(first.found);
    EXPECT_FLOAT_EQ(first.tu, 0.75f);
    EXPECT_EQ(ark.HitCount(), 1);

    EXPECT_TRUE(ark.HitTestVertex(0.1f, 0.2f, -5, 0.1f, 0.2f, 20, kList, v, 0, 8, true, idx, 12,
                                  identity, false));
    // Start 4 with the first six entries draws the z = 2 square only, which
    // this segment ends short of.
    EXPECT_FALSE(ark.HitTestVertex(0.1f, 0.2f, -5, 0.1f, 0.2f, 1, kList, v, 4, 4, true, idx, 6,
                                   identity, false));
    EXPECT_TRUE(ark.HitTestVertex(0.1f, 0.2f, -5, 0.1f, 0.2f, 3, kList, v, 4, 4, true, idx, 6,
                                  identity, false));
    Single t = 0, u = 0, w = 0;
    EXPECT_TRUE(
        CIMArk::HitTestLineAndTriangle({1, 2, -3}, {1, 2, 5}, {0, 0, 1}, kA, kB, kC, t, u, w));
    EXPECT_FLOAT_EQ(t, 3);
    EXPECT_FALSE(CIMArk::HitTestStraightLineAndTriangleSub(3, 3, -1, 3, 3, 1, 0, 0, 0, 4, 0, 0, 0,
                                                           4, 0, t, u, w));
}

TEST_F(TexturePointSearch, LinesAndScreenVerticesThroughTheSceneObject) {
    const D3DMATRIX identity = CIMArk::Get_Transform(0, 0, 0, 0, 0, 0, 1, 1, 1);
    const std::vector<D3DVECTOR> points = {{0, 0, 0}, {3, 3, 0}};
    std::vector<bool> marks(2, false);
    ark.HitTestVertexLines(points, {0, 0, 10}, marks, kList, v, 0, 8, true, idx, 12, identity,
                           false);
    EXPECT_EQ(marks, (std::vector<bool>{true, false}));

    std::vector<D3DTLVERTEX> screen(3);
    const D3DTLVERTEX p = ark.ProjectVertex(0, 0, 0);
    screen[0].sx = p.sx - 50, screen[0].sy = p.sy - 50, screen[0].sz = p.sz;
    screen[1].sx = p.sx + 50, screen[1].sy = p.sy - 50, screen[1].sz = p.sz, screen[1].tu = 1;
    screen[2].sx = p.sx - 50, screen[2].sy = p.sy + 50, screen[2].sz = p.sz, screen[2].tv = 1;
    EXPECT_TRUE(ark.HitTestTLVertex(0, 0, -5, 0, 0, 20, kList, screen, 0, 3, false, {}, 0, false));
    const auto r = ark.Get_TexturePoint_TLVERTEX(0, 0, -5, 0, 0, 20, kList, screen, 0, 3, false, {},
                                                 0, false, 0);
    ASSERT_TRUE(r.found);
    EXPECT_NEAR(r.tu, 0.5f, 1e-4);
    EXPECT_EQ(ark.HitCount(), 1);
}

}  // namespace
}  // namespace brumil::render
