// The basic generators: revolutions and their square twin, grid index lists,
// the square outline, sprites, billboards and the animation tables.
#include "render/primitive_basic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ark_test_host.h"
#include "render/ark.h"
#include "render/ark_primitive.h"
#include "render/im_device.h"

namespace brumil::render {
namespace {

std::size_t At(Long i) {
    return static_cast<std::size_t>(i);
}

// ---- Grid index lists ---------------------------------------------------------------

TEST(GridIndices, StripBandsFollowEachOther) {
    EXPECT_EQ(BuildGridStripIndices(3, 2), (std::vector<Integer>{0, 3, 1, 4, 2, 5}));
    EXPECT_EQ(BuildGridStripIndices(2, 3), (std::vector<Integer>{0, 2, 1, 3, 2, 4, 3, 5}));
    EXPECT_EQ(BuildGridStripIndices(4, 5).size(), 4u * 4u * 2u);
    EXPECT_TRUE(BuildGridStripIndices(3, 1).empty());
}

TEST(GridIndices, ListHasSixPerCell) {
    EXPECT_EQ(BuildGridListIndices(2, 2), (std::vector<Integer>{0, 2, 1, 2, 3, 1}));
    EXPECT_EQ(BuildGridListIndices(4, 3).size(), static_cast<std::size_t>((6 * 4 - 6) * 2));
}

// ---- Square outline -------------------------------------------------------------------

struct OutlineCase {
    Single t;
    Single x, z;  // times the size
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const OutlineCase& c, std::ostream* os) {
    *os << "t=" << c.t << " x=" << c.x << " z=" << c.z;
}

class OutlineTest : public ::testing::TestWithParam<OutlineCase> {};

TEST_P(OutlineTest, WalksTheSquare) {
    const auto c = GetParam();
    const OutlinePoint p = SquareOutlinePoint(3.0f, c.t);
    EXPECT_NEAR(p.x, c.x * 3.0f, 1e-6) << c.t;
    EXPECT_NEAR(p.z, c.z * 3.0f, 1e-6) << c.t;
}

INSTANTIATE_TEST_SUITE_P(
    Points, OutlineTest,
    ::testing::Values(OutlineCase{0.125f, 0, 0.5f}, OutlineCase{1.5f, 0.5f, 0.5f},
                      OutlineCase{0, 0.5f, 0.5f}, OutlineCase{1, 0.5f, 0.5f},
                      OutlineCase{-0.2f, 0.5f, 0.5f}, OutlineCase{0.25f, -0.5f, 0.5f},
                      OutlineCase{0.375f, -0.5f, 0}, OutlineCase{0.5f, -0.5f, -0.5f},
                      OutlineCase{0.625f, 0, -0.5f}, OutlineCase{0.75f, 0.5f, -0.5f},
                      OutlineCase{0.875f, 0.5f, 0}));

// ---- Revolutions ------------------------------------------------------------------------

bool SamePosition(const D3DVERTEX& a, const D3DVERTEX& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
bool SameNormal(const D3DVERTEX& a, const D3DVERTEX& b) {
    return a.nx == b.nx && a.ny == b.ny && a.nz == b.nz;
}

TEST(Revolution, AClosedTurnSharesSeamPositionsAndNormals) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    // Five columns from no turn to a whole turn, three rows whose caps narrow
    // the middle one to half the radius.
    GetD3DVERTEX_Revolution(prim, v, idx, "f4 w0 1 2 3 4 h0 2 4 f2 e2 1 2");
    const Long cols = 5, rows = 3;
    ASSERT_EQ(v.size(), At(cols * rows));
    EXPECT_EQ(idx.size(), At((rows - 1) * cols * 2));
    for (Long j = 0; j < rows; ++j) {
        const auto& first = v[At(j * cols)];
        const auto& last = v[At(j * cols + cols - 1)];
        EXPECT_TRUE(SamePosition(first, last)) << j;
        EXPECT_TRUE(SameNormal(first, last)) << j;
        EXPECT_NEAR(std::hypot(first.nx, first.ny, first.nz), 1, 1e-5);
    }
    // Radius 0.5 x the smallest of the point's factor (1) and the row cap.
    EXPECT_NEAR(v[0].x, 0.5f, 1e-6);
    EXPECT_NEAR(v[At(cols)].x, 0.25f, 1e-6);  // row cap 0.5
    EXPECT_NEAR(v[1].z, 0.5f, 1e-6);          // a quarter turn: on +z
    EXPECT_NEAR(v[0].y, -0.5f, 1e-6);
    EXPECT_NEAR(v[At(2 * cols)].y, 0.5f, 1e-6);
    // At the waist the normal points mostly across the axis.
    const auto& side = v[At(cols + 2)];  // half a turn: on -x
    EXPECT_GT(std::fabs(side.nx), 2 * std::fabs(side.ny));
    EXPECT_GT(std::fabs(side.nx), 2 * std::fabs(side.nz));
}

TEST(Revolution, AnOpenTurnKeepsItsEndsButMergesTheirNormals) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    GetD3DVERTEX_Revolution(prim, v, idx, "f4 w0 1 2");  // 0 to half a turn
    const Long cols = 3;
    for (Long j = 0; j < 2; ++j) {
        const auto& first = v[At(j * cols)];
        const auto& last = v[At(j * cols + cols - 1)];
        EXPECT_FALSE(SamePosition(first, last)) << j;
        EXPECT_TRUE(SameNormal(first, last)) << j;
    }
    EXPECT_NEAR(v[2].x, -0.5f, 1e-6);
}

TEST(Revolution, TheDefaultsMakeAFlatStripThroughTheAxis) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    GetD3DVERTEX_Revolution(prim, v, idx, "");
    ASSERT_EQ(v.size(), 6u);
    EXPECT_EQ(idx, (std::vector<Integer>{0, 3, 1, 4, 2, 5}));
    for (const auto& p : v) EXPECT_NEAR(p.z, 0, 1e-6);
    EXPECT_NEAR(v[1].x, -0.5f, 1e-6);
    EXPECT_TRUE(SamePosition(v[0], v[2]));
    // Texture coordinates are taken as they stand (not flipped).
    EXPECT_EQ(v[0].tv, prim.ScriptLists().v[0]);
    EXPECT_EQ(v[3].tv, prim.ScriptLists().v[3]);
}

TEST(Revolution, PreLitTakesTheColoursAndTheSamePositions) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> plain;
    std::vector<D3DLVERTEX> lit;
    std::vector<Integer> idx1, idx2;
    const char* script = "f4 w0 1 2 3 4 h0 4 c12 34";
    GetD3DVERTEX_Revolution(prim, plain, idx1, script);
    GetD3DLVERTEX_Revolution(prim, lit, idx2, script, 0x12345678);
    ASSERT_EQ(lit.size(), plain.size());
    EXPECT_EQ(idx1, idx2);
    for (std::size_t k = 0; k < lit.size(); ++k) {
        EXPECT_EQ(lit[k].x, plain[k].x);
        EXPECT_EQ(lit[k].z, plain[k].z);
    }
    EXPECT_EQ(lit[0].color, 0x12);
    EXPECT_EQ(lit[1].color, 0x34);
    EXPECT_EQ(lit[2].color, 0x12345678);
}

TEST(Tetra, ColumnsFollowTheSquareOutline) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    // Columns at 0, 1/8, 1/4 and 1 of the way round; size 1 (no factor 0.5).
    GetD3DVERTEX_Tetra(prim, v, idx, "f8 w0 1 2 8");
    EXPECT_NEAR(v[0].x, 0.5f, 1e-6);
    EXPECT_NEAR(v[1].x, 0, 1e-6);
    EXPECT_NEAR(v[1].z, 0.5f, 1e-6);
    EXPECT_NEAR(v[2].x, -0.5f, 1e-6);
    EXPECT_TRUE(SamePosition(v[0], v[3]));
    std::vector<D3DLVERTEX> lit;
    GetD3DLVERTEX_Tetra(prim, lit, idx, "f8 w0 1 2 8", 7);
    EXPECT_EQ(lit[1].z, v[1].z);
    EXPECT_EQ(lit[1].color, 7);
}

// ---- Sprites and billboards --------------------------------------------------------------

TEST(Sprite, PassesItsValuesToTheBoxAndScalesThePlacement) {
    std::vector<D3DTLVERTEX> v;
    GetD3DTLVERTEX_Sprite(v, 100, 50, 40, 20, 0.5f, 0.5f, 0x11223344, 0, 0, 1, 1, 0, 1, 1.0f);
    ASSERT_EQ(v.size(), 4u);
    std::vector<D3DTLVERTEX> box(4);
    const std::vector<Long> colours(4, 0x11223344);
    CIMDevice::GetD3DTLVERTEX_Box(box, 99.5f, 49.5f, 40, 20, 0.5f, 0.5f, 0, 0, 1, 1, 0, 1, colours);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(v[At(k)].sx, box[At(k)].sx);
        EXPECT_EQ(v[At(k)].sy, box[At(k)].sy);
        EXPECT_EQ(v[At(k)].color, 0x11223344);
    }
    // Half-size display: everything at half the size and place.
    GetD3DTLVERTEX_Sprite(v, 100, 50, 40, 20, 0, 0, -1, 0, 0, 1, 1, 0, 1, 0.5f);
    EXPECT_EQ(v[0].sx, 49.5f);
    EXPECT_EQ(v[3].sx, 69.5f);
    EXPECT_EQ(v[3].sy, 34.5f);
}

class BillBoardTest : public ::testing::Test {
protected:
    testing::FakeArkHost host;
    CIMArk ark{host};
    void SetUp() override {
        ark.SettingProperty();
        ark.InstantTransform(CIMArk::Get_Transform(1, 2, 3, 0, 0, 0, 1, 1, 1));
    }
};

TEST_F(BillBoardTest, ScaleZeroPutsAllCornersOnTheProjectedPoint) {
    const D3DTLVERTEX p = ark.ProjectVertex(1, 2, 3);
    ASSERT_GT(p.rhw, 0);
    std::vector<D3DTLVERTEX> v;
    GetD3DTLVERTEX_BillBoardPerspective(ark, {640, 1}, v, 64, 32, 0.5f, 1, -1, 0, 0, 1, 1, 0);
    ASSERT_EQ(v.size(), 4u);
    for (const auto& c : v) {
        EXPECT_EQ(c.sx, std::floor(p.sx) - 0.5f);
        EXPECT_EQ(c.sy, std::floor(p.sy) - 0.5f);
        EXPECT_FLOAT_EQ(c.sz, p.sz);
        EXPECT_FLOAT_EQ(c.rhw, p.rhw);
    }
}

TEST_F(BillBoardTest, FixedSizeCornersAroundTheOrigin) {
    const D3DTLVERTEX p = ark.ProjectVertex(1, 2, 3);
    const Single px = std::floor(p.sx) - 0.5f, py = std::floor(p.sy) - 0.5f;
    std::vector<D3DTLVERTEX> v;
    // 1280 wide at draw scale 0.5: factor 1.
    GetD3DTLVERTEX_BillBoard(ark, {1280, 0.5f}, v, 40, 20, 0.25f, 1, 0x7F00FF00, 0.1f, 0.2f, 0.3f,
                             0.4f, 2);
    EXPECT_EQ(v[0].sx, px - 20);
    EXPECT_EQ(v[0].sy, py - 40);
    EXPECT_EQ(v[1].sx, px + 60);
    EXPECT_EQ(v[3].sy, py);
    EXPECT_EQ(v[0].tu, 0.1f);
    EXPECT_EQ(v[1].tu, 0.3f);
    EXPECT_EQ(v[2].tv, 0.4f);
    EXPECT_EQ(v[2].color, 0x7F00FF00);
}

TEST_F(BillBoardTest, PerspectiveSizeShrinksWithDistance) {
    std::vector<D3DTLVERTEX> nearV, farV;
    GetD3DTLVERTEX_BillBoardPerspective(ark, {640, 1}, nearV, 10, 10, 0, 0, -1, 0, 0, 1, 1, 1);
    ark.InstantTransform(CIMArk::Get_Transform(1, 2, 30, 0, 0, 0, 1, 1, 1));
    GetD3DTLVERTEX_BillBoardPerspective(ark, {640, 1}, farV, 10, 10, 0, 0, -1, 0, 0, 1, 1, 1);
    const Single nearWidth = nearV[1].sx - nearV[0].sx, farWidth = farV[1].sx - farV[0].sx;
    EXPECT_GT(farWidth, 0);
    EXPECT_GT(nearWidth, 2 * farWidth);
    const D3DTLVERTEX p = ark.ProjectVertex(1, 2, 30);
    EXPECT_NEAR(farWidth, 10 * p.rhw * 17.6776f, 1e-3);
}

TEST(BillBoardOffsetTables, CopiesTheScriptListsInOrder) {
    CIMArkPrimitive prim;
    BillBoardTables t;
    BillBoardOffset(prim, "w32 64 h16 f4 x1 2 y3 u0 1 2 4 v4 3 2 1 i7 9", 0, t);
    EXPECT_EQ(t.width, (std::vector<Single>{32, 64}));
    EXPECT_EQ(t.height, (std::vector<Single>{16}));
    EXPECT_EQ(t.x, (std::vector<Single>{0.25f, 0.5f}));
    EXPECT_EQ(t.y, (std::vector<Single>{0.75f}));
    EXPECT_EQ(t.u, (std::vector<Single>{0, 0.25f, 0.5f, 1}));
    EXPECT_EQ(t.v, (std::vector<Single>{1, 0.75f, 0.5f, 0.25f}));
    EXPECT_EQ(t.texture, (std::vector<Long>{7, 9}));
}

}  // namespace
}  // namespace brumil::render
