// Vertex makers, averages and face-normal routines.
#include <gtest/gtest.h>

#include <cmath>

#include "render/ark_primitive.h"

namespace brumil::render {
namespace {

using P = CIMArkPrimitive;

D3DVERTEX At(float x, float y, float z, float nx = 0, float ny = 0, float nz = 0) {
    return {x, y, z, nx, ny, nz, 0, 0};
}

bool Finite(const D3DVERTEX& v) {
    return std::isfinite(v.nx) && std::isfinite(v.ny) && std::isfinite(v.nz);
}

TEST(ArkVertexMakers, CreateLVertexLeavesReservedAndSpecular) {
    D3DLVERTEX v;
    v.reserved = 5;
    v.specular = 6;
    P::CreateLVertex(v, 1, 2, 3, 0x11223344, 0.5f, 0.25f);
    EXPECT_EQ(v.reserved, 5);
    EXPECT_EQ(v.specular, 6);
    EXPECT_EQ(v.color, 0x11223344);
    EXPECT_EQ(v.z, 3.0f);
    EXPECT_EQ(v.tv, 0.25f);
}

TEST(ArkVertexMakers, AverageOfVertices) {
    const std::vector<D3DVERTEX> v = {{0, 0, 0, 1, 0, 0, 0, 0},
                                      {2, 4, 6, 0, 1, 0, 1, 1},
                                      {4, 8, 0, 0, 0, 0, 1, 0},
                                      {9, 9, 9, -1, 0, 0, 0, 0}};
    struct Case {
        const char* name;
        std::vector<Long> indices;
        D3DVERTEX want;
    };
    const float r = 1.0f / std::sqrt(2.0f);
    const Case cases[] = {
        {"two", {0, 1}, {1, 2, 3, r, r, 0, 0.5f, 0.5f}},
        {"three", {0, 1, 2}, {2, 4, 2, r, r, 0, 2.0f / 3, 1.0f / 3}},
        {"empty", {}, {}},
        {"normals cancel", {0, 3}, {4.5f, 4.5f, 4.5f, 0, 0, 0, 0, 0}},
        {"outside the array left out", {1, 7, -1}, {2, 4, 6, 0, 1, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        D3DVERTEX out{9, 9, 9, 9, 9, 9, 9, 9};
        P::CreateVertexMage(v, c.indices, out);
        const float* got = &out.x;
        const float* want = &c.want.x;
        for (int k = 0; k < 8; ++k) EXPECT_NEAR(got[k], want[k], 1e-6) << c.name << " " << k;
    }
}

TEST(ArkVertexMakers, AverageOfPreLitColoursPerChannel) {
    std::vector<D3DLVERTEX> v(3);
    v[0].color = 0x00FF0000;
    v[1].color = 0x00010000;
    v[2].color = static_cast<Long>(0xFF0000FFu);
    v[0].specular = v[0].reserved = 7;
    D3DLVERTEX out;
    P::CreateLVertexMage(v, {0, 1}, out);
    EXPECT_EQ(out.color, 0x00800000);
    EXPECT_EQ(out.specular, 0);
    EXPECT_EQ(out.reserved, 0);
    P::CreateLVertexMage(v, {0, 1, 2}, out);
    // alpha 255/3, red 256/3, blue 255/3, each rounded down.
    EXPECT_EQ(static_cast<std::uint32_t>(out.color), 0x55550055u);
}

TEST(ArkVertexMakers, FaceNormals) {
    const D3DVERTEX a = At(1, 0, 0), b = At(0, 0, 1);
    D3DVERTEX p = At(0, 0, 0);
    P::AddFaceNormal(p, b, a);  // (0,0,1) x (1,0,0) = (0,1,0)
    EXPECT_EQ(p.ny, 1.0f);
    P::AddFaceNormal(p, At(0, 0, 2), At(2, 0, 0));  // larger faces weigh more
    EXPECT_EQ(p.ny, 5.0f);
    P::NormalizeVertexNormal(p);
    EXPECT_EQ(p.ny, 1.0f);

    D3DVERTEX q = At(0, 0, 0, 1, 0, 0);
    P::AddFaceNormalNormalized(q, At(0, 0, 5), At(5, 0, 0));
    EXPECT_NEAR(q.nx, 1 / std::sqrt(2.0f), 1e-6);
    EXPECT_NEAR(q.ny, 1 / std::sqrt(2.0f), 1e-6);
}

TEST(ArkVertexMakers, DegenerateFacesLeaveDefinedNormals) {
    // Two equal corners: no face direction.
    D3DVERTEX p = At(0, 0, 0, 0.3f, 0.4f, 0);
    P::AddFaceNormalNormalized(p, At(1, 1, 1), At(1, 1, 1));
    EXPECT_EQ(p.nx, 0.3f);
    EXPECT_EQ(p.ny, 0.4f);
    P::AddFaceNormal(p, At(1, 1, 1), At(1, 1, 1));
    EXPECT_EQ(p.nx, 0.3f);

    // A zero normal normalised stays zero, never NaN.
    D3DVERTEX z = At(0, 0, 0);
    P::NormalizeVertexNormal(z);
    EXPECT_TRUE(Finite(z));
    EXPECT_EQ(z.nx + z.ny + z.nz, 0.0f);
    D3DVERTEX a = At(0, 0, 0, 1, 0, 0), b = At(0, 0, 0, -1, 0, 0);
    P::Math_D3DVERTEX_NormalMage(a, b);
    EXPECT_TRUE(Finite(a) && Finite(b));
    EXPECT_EQ(a.nx, 0.0f);
}

TEST(ArkVertexMakers, NormalMageSharesOneNormal) {
    D3DVERTEX a = At(0, 0, 0, 1, 0, 0), b = At(0, 0, 0, 0, 0, 1);
    P::Math_D3DVERTEX_NormalMage(a, b);
    EXPECT_FLOAT_EQ(a.nx, 1 / std::sqrt(2.0f));
    EXPECT_FLOAT_EQ(b.nz, a.nz);
    EXPECT_FLOAT_EQ(b.nx, a.nx);
}

TEST(ArkVertexMakers, StripAndListNormalsFaceTheSameWay) {
    // A flat square in the y = 0 plane as a strip (0 1 2 3) and as a list.
    const std::vector<D3DVERTEX> square = {At(0, 0, 1), At(1, 0, 1), At(0, 0, 0), At(1, 0, 0)};
    auto strip = square;
    P::ComputeStripNormals(strip, std::vector<Integer>{0, 1, 2, 3});
    auto list = square;
    P::ComputeListNormals(list, std::vector<Integer>{0, 1, 2, 2, 1, 3});
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(strip[i].ny, 1.0f, 1e-6) << i;
        EXPECT_NEAR(list[i].ny, 1.0f, 1e-6) << i;
    }
    // Indices outside the array are skipped, not read.
    auto bad = square;
    P::ComputeListNormals(bad, std::vector<Integer>{0, 1, 9, -1, 2, 3});
    for (const auto& v : bad) EXPECT_EQ(v.ny, 0.0f);
}

}  // namespace
}  // namespace brumil::render
