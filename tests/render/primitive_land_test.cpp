// The land generators: grid sizes, positions, heights and floors, texture
// coordinates, normals and the battle's patch script.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "render/ark_primitive.h"

namespace brumil::render {
namespace {

// The battle's floor patch: columns and rows 0..7 under f7, then 8 lines of
// 8 heights under f80.
std::string PatchScript(const std::string& heightLine) {
    std::string s = "f7 w0 1 2 3 4 5 6 7 h0 1 2 3 4 5 6 7 f80 a\r\n";
    for (int i = 0; i < 8; ++i) s += heightLine + "\r\n";
    return s;
}

const D3DVERTEX& Lattice(const std::vector<D3DVERTEX>& v, Long cols, Long row, Long col) {
    return v[static_cast<std::size_t>(row * (2 * cols - 1) + col)];
}

TEST(PrimitiveLand, EmptyScriptGivesAThreeByTwoGrid) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    prim.GetD3DVERTEX_Land(v, idx, "");
    ASSERT_EQ(v.size(), 15u);  // 3 rows x 5 columns of lattice points
    ASSERT_EQ(idx.size(), 48u);
    for (const auto& p : v) {
        EXPECT_EQ(p.y, 0.0f);
        EXPECT_EQ(p.ny, 1.0f);
    }
    // u spreads 0..1 across the columns, v down the rows.
    EXPECT_EQ(Lattice(v, 3, 0, 0).tu, 0.0f);
    EXPECT_EQ(Lattice(v, 3, 0, 2).tu, 0.5f);
    EXPECT_EQ(Lattice(v, 3, 0, 4).tu, 1.0f);
    EXPECT_EQ(Lattice(v, 3, 0, 4).tv, 0.0f);
    EXPECT_EQ(Lattice(v, 3, 1, 4).tv, 0.5f);
    EXPECT_EQ(Lattice(v, 3, 2, 0).tv, 1.0f);
    EXPECT_EQ(Lattice(v, 3, 0, 0).x, -0.5f);
    EXPECT_EQ(Lattice(v, 3, 0, 0).z, 0.5f);
    EXPECT_EQ(Lattice(v, 3, 2, 4).x, 0.5f);
    EXPECT_EQ(Lattice(v, 3, 2, 4).z, -0.5f);
    // Cell (0, 1) starts its 24 indices at 24 with its first corner at 2.
    EXPECT_EQ(idx[24], 2);
    EXPECT_EQ(idx[25], 3);
    EXPECT_EQ(idx[26], 7);
}

TEST(PrimitiveLand, TheBattlesPatchScript) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    prim.GetD3DVERTEX_Land(v, idx, PatchScript(" 40 40 40 40 40 40 40 40"));
    ASSERT_EQ(v.size(), 225u);
    ASSERT_EQ(idx.size(), 1176u);
    for (const auto& p : v) {
        EXPECT_FLOAT_EQ(p.y, 0.5f);
        EXPECT_NEAR(p.ny, 1.0f, 1e-6);  // flat: every normal points up
        EXPECT_GE(p.x, -0.5f);
        EXPECT_LE(p.x, 0.5f);
    }
    EXPECT_FLOAT_EQ(Lattice(v, 8, 0, 2).x, 1 / 7.0f - 0.5f);
    EXPECT_FLOAT_EQ(Lattice(v, 8, 14, 14).tu, 1.0f);
    EXPECT_FLOAT_EQ(Lattice(v, 8, 14, 14).tv, 1.0f);
    for (const Integer i : idx) {
        ASSERT_GE(i, 0);
        ASSERT_LT(i, 225);
    }
}

TEST(PrimitiveLand, HeightsNormalsAndFloors) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    // A ramp rising towards +x: normals lean towards -x.
    prim.GetD3DVERTEX_Land(v, idx, "f2 w0 1 2 h0 2 f80 a0 40 80 0 40 80");
    ASSERT_EQ(v.size(), 15u);
    EXPECT_EQ(Lattice(v, 3, 0, 4).y, 1.0f);
    EXPECT_EQ(Lattice(v, 3, 0, 3).y, 0.75f);  // edge point: mean of its ends
    for (const auto& p : v) {
        EXPECT_LT(p.nx, 0.0f);
        EXPECT_GT(p.ny, 0.0f);
        EXPECT_NEAR(p.nx * p.nx + p.ny * p.ny + p.nz * p.nz, 1.0f, 1e-5);
    }

    // Floors: e raises a row, r a column, the largest wins.
    prim.GetD3DVERTEX_Land(v, idx, "a20 e0 40 r0 0 60");
    EXPECT_EQ(Lattice(v, 3, 0, 0).y, 0.25f);  // own height
    EXPECT_EQ(Lattice(v, 3, 2, 0).y, 0.5f);   // row floor
    EXPECT_EQ(Lattice(v, 3, 0, 4).y, 0.75f);  // column floor
    EXPECT_EQ(Lattice(v, 3, 2, 2).y, 0.5f);
}

TEST(PrimitiveLand, DuplicatePositionsGiveNoNaN) {
    CIMArkPrimitive prim;
    std::vector<D3DVERTEX> v;
    std::vector<Integer> idx;
    prim.GetD3DVERTEX_Land(v, idx, "w0 0 0 h0 0");
    for (const auto& p : v) {
        EXPECT_TRUE(std::isfinite(p.nx) && std::isfinite(p.ny) && std::isfinite(p.nz));
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.tu));
    }
}

TEST(PrimitiveLand, PreLitLandAveragesColours) {
    CIMArkPrimitive prim;
    std::vector<D3DLVERTEX> v;
    std::vector<Integer> idx;
    // Colour digits are 0-9 only (letters would start a new list).
    prim.GetD3DLVERTEX_Land(v, idx, "c00990000 00010000", static_cast<Long>(0xFF000000u));
    ASSERT_EQ(v.size(), 15u);
    ASSERT_EQ(idx.size(), 48u);
    EXPECT_EQ(v[0].color, 0x00990000);
    EXPECT_EQ(v[2].color, 0x00010000);
    EXPECT_EQ(v[1].color, 0x004D0000);  // (0x99 + 0x01) / 2 per channel
    EXPECT_EQ(static_cast<std::uint32_t>(v[14].color), 0xFF000000u);  // the default
    std::vector<D3DVERTEX> lit;
    std::vector<Integer> litIdx;
    prim.GetD3DVERTEX_Land(lit, litIdx, "a40 c5");
    EXPECT_EQ(litIdx, idx);
    EXPECT_EQ(lit[0].y, 0.5f);  // the lit form ignores colours
}

}  // namespace
}  // namespace brumil::render
