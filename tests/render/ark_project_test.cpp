// Projection between world space and viewport pixels, and the matrix and
// vector helpers.
#include <gtest/gtest.h>

#include <cmath>

#include "ark_test_host.h"
#include "platform/gfx/dx7_math.h"
#include "render/ark.h"

namespace brumil::render {
namespace {

using platform::DirectX7;
using testing::FakeArkHost;

D3DMATRIX Diag(float a, float b, float c, float d) {
    D3DMATRIX m;
    m.rc11 = a;
    m.rc22 = b;
    m.rc33 = c;
    m.rc44 = d;
    return m;
}

void ExpectMatrixNear(const D3DMATRIX& got, const D3DMATRIX& want, float tol, const char* name) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR((&got.rc11)[i], (&want.rc11)[i], tol) << name << i;
}

TEST(ArkMatrixInverse, InvertsWhatCanBeInverted) {
    D3DMATRIX identity, quarterZ, quarterY, turnedMoved, product;
    DirectX7::IdentityMatrix(identity);
    DirectX7::RotateZMatrix(quarterZ, 1.5707963f);  // m11 = m22 = 0 up to rounding
    quarterZ.rc11 = quarterZ.rc22 = 0.0f;           // exactly 0 on the diagonal
    DirectX7::RotateYMatrix(quarterY, 1.5707963f);
    quarterY.rc11 = quarterY.rc33 = 0.0f;
    turnedMoved = CIMArk::Get_Transform(3, -4, 5, 0.3f, 1.1f, -0.7f, 2, 1, 0.5f);
    struct Case {
        const char* name;
        D3DMATRIX m;
    };
    const Case cases[] = {{"identity", identity},
                          {"scale", Diag(2, 4, 5, 1)},
                          {"quarter turn about z", quarterZ},
                          {"quarter turn about y", quarterY},
                          {"turned, scaled and moved", turnedMoved}};
    for (const auto& c : cases) {
        D3DMATRIX inv;
        ASSERT_TRUE(CIMArk::MatrixInverse(inv, c.m)) << c.name;
        DirectX7::MatrixMultiply(product, c.m, inv);
        ExpectMatrixNear(product, identity, 1e-5f, c.name);
    }
    D3DMATRIX inv;
    ASSERT_TRUE(CIMArk::MatrixInverse(inv, Diag(2, 4, 5, 1)));
    ExpectMatrixNear(inv, Diag(0.5f, 0.25f, 0.2f, 1), 0, "scale exactly");
}

TEST(ArkMatrixInverse, RefusesASingularMatrixAndLeavesTheOutput) {
    D3DMATRIX zeroRow = Diag(1, 1, 1, 1);
    zeroRow.rc22 = 0;  // second row all zero
    D3DMATRIX sameRows = Diag(1, 1, 1, 1);
    sameRows.rc21 = 1;
    sameRows.rc22 = 0;
    sameRows.rc12 = 0;
    sameRows.rc11 = 1;
    sameRows.rc21 = 1;  // rows 1 and 2 both (1, 0, 0, 0)
    D3DMATRIX notFinite = Diag(1, 1, 1, 1);
    notFinite.rc33 = std::numeric_limits<float>::infinity();
    const D3DMATRIX cases[] = {D3DMATRIX{}, zeroRow, sameRows, notFinite};
    for (const auto& m : cases) {
        D3DMATRIX out = Diag(7, 7, 7, 7);
        EXPECT_FALSE(CIMArk::MatrixInverse(out, m));
        ExpectMatrixNear(out, Diag(7, 7, 7, 7), 0, "untouched");
    }
}

struct CameraCase {
    const char* name;
    D3DVECTOR from, to;
    Single perspective, roll;
};

const CameraCase kCameras[] = {
    {"default", {0, 0, -10}, {0, 0, 0}, 1, 0},
    {"along x", {-20, 0, 0}, {0, 0, 0}, 1, 0},  // exact zeros on the diagonal
    {"from above", {0, 15, -15}, {0, 0, 0}, 1, 0.4f},
    {"parallel", {5, 5, -5}, {0, 1, 0}, 0, 0},
    {"blended", {3, 8, -12}, {1, 0, 2}, 0.5f, 0},
};

TEST(ArkProject, ProjectThenUnprojectRoundTrips) {
    const D3DVECTOR points[] = {{0, 0, 0}, {1, 2, 3}, {-4, 0.5f, 2}, {2, -1, -3}};
    for (const auto& cam : kCameras) {
        FakeArkHost host;
        CIMArk ark(host);
        ark.vFrom(cam.from);
        ark.vTo(cam.to);
        ark.Perspective(cam.perspective);
        ark.roll(cam.roll);
        ark.SettingProperty();
        for (const auto& p : points) {
            const auto s = ark.ProjectVertex(p.x, p.y, p.z);
            const auto back = ark.UnProjectVertex(s.sx, s.sy, s.sz);
            EXPECT_TRUE(ark.InverseValid()) << cam.name;
            EXPECT_NEAR(back.x, p.x, 2e-3) << cam.name;
            EXPECT_NEAR(back.y, p.y, 2e-3) << cam.name;
            EXPECT_NEAR(back.z, p.z, 2e-3) << cam.name;
            EXPECT_EQ(back.color, -1);
        }
    }
}

TEST(ArkProject, DeviceProjectionRoundTrips) {
    for (const auto& cam : kCameras) {
        FakeArkHost host;
        CIMArk ark(host);
        ark.SetViewPortRect({0, 0, 641, 480});  // odd width: half rounds to even
        ark.vFrom(cam.from);
        ark.vTo(cam.to);
        ark.Perspective(cam.perspective);
        ark.SettingProperty();
        ark.InstantTransform(CIMArk::Get_Transform(1, 0, 0.5f, 0, 0.3f, 0, 1, 1, 1));
        D3DLVERTEX in;
        in.x = 1.5f;
        in.y = -0.5f;
        in.z = 2;
        in.color = 0x11223344;
        in.tu = 0.25f;
        D3DTLVERTEX screen;
        ark.ProjectVertices(in, screen);
        EXPECT_EQ(screen.color, 0x11223344);
        EXPECT_EQ(screen.tu, 0.25f);
        D3DLVERTEX back;
        ark.UnProjectVertices(screen, back);
        EXPECT_NEAR(back.x, in.x, 2e-3) << cam.name;
        EXPECT_NEAR(back.y, in.y, 2e-3) << cam.name;
        EXPECT_NEAR(back.z, in.z, 2e-3) << cam.name;
        EXPECT_EQ(back.reserved, 0);
    }
}

TEST(ArkProject, RhwIsOneOverDepth) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.vFrom({0, 0, -10});
    ark.vTo({0, 0, 0});
    ark.SettingProperty();
    for (const float d : {1.0f, 4.0f, 10.0f, 25.0f, 700.0f}) {
        const auto p = ark.ProjectVertex(0, 0, -10 + d);
        EXPECT_NEAR(p.rhw, 1.0f / d, 1e-6f / d) << d;
        EXPECT_NEAR(p.sx, 320.0f, 1e-3) << d;
    }
    // Near and far planes at depth 1 and 1000.
    EXPECT_NEAR(ark.ProjectVertex(0, 0, -9).sz, 0.0f, 1e-5);
    EXPECT_NEAR(ark.ProjectVertex(0, 0, 990).sz, 1.0f, 1e-5);
}

TEST(ArkProject, APointOnTheEyesPlaneGivesRhwZeroAndFiniteValues) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.SettingProperty();
    const auto p = ark.ProjectVertex(5, 3, -10);  // depth 0
    EXPECT_EQ(p.rhw, 0.0f);
    EXPECT_TRUE(std::isfinite(p.sx) && std::isfinite(p.sy) && std::isfinite(p.sz));

    D3DLVERTEX in;
    in.x = 1;
    in.z = -10;
    D3DTLVERTEX out;
    ark.ProjectVertices(in, out);
    EXPECT_EQ(out.rhw, 0.0f);
    EXPECT_TRUE(std::isfinite(out.sx) && std::isfinite(out.sy));
}

TEST(ArkProject, UnprojectWithoutACameraGivesTheOriginAndStaysInvalid) {
    FakeArkHost host;
    CIMArk ark(host);
    const auto p = ark.UnProjectVertex(100, 100, 0.5f);
    EXPECT_FALSE(ark.InverseValid());
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    EXPECT_EQ(p.z, 0.0f);
    ark.SettingProperty();
    ark.UnProjectVertex(100, 100, 0.5f);
    EXPECT_TRUE(ark.InverseValid());
    ark.vFrom({1, 1, -10});
    ark.SettingProperty();
    EXPECT_FALSE(ark.InverseValid());
}

TEST(ArkProject, ProjectVertexZeroPlacesTheWorldOrigin) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.SettingProperty();
    ark.InstantTransform(CIMArk::Get_Transform(2, 1, 0, 0, 0, 0, 1, 1, 1));
    const auto zero = ark.ProjectVertexZero();
    const auto direct = ark.ProjectVertex(2, 1, 0);
    EXPECT_NEAR(zero.sx, direct.sx, 1e-3);
    EXPECT_NEAR(zero.sy, direct.sy, 1e-3);
    EXPECT_NEAR(zero.rhw, direct.rhw, 1e-7);
    EXPECT_EQ(zero.tu, 0.0f);
}

TEST(ArkProject, ArrayProjectionsFillOnlyTheirRange) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.SettingProperty();
    const D3DMATRIX world = CIMArk::Get_Transform(0, 1, 0, 0, 0, 0, 1, 1, 1);
    std::vector<D3DVERTEX> in(4);
    for (int i = 0; i < 4; ++i) {
        in[static_cast<std::size_t>(i)] = {static_cast<float>(i), 0, 0, 0, 1, 0, 0.5f, 0.75f};
    }
    std::vector<D3DTLVERTEX> out(4);
    out[0].sx = out[3].sx = -99;
    ark.ProjectVerticesFromVertex(world, out, in, 1, 2);
    EXPECT_EQ(out[0].sx, -99.0f);
    EXPECT_EQ(out[3].sx, -99.0f);
    for (int i = 1; i <= 2; ++i) {
        const auto want = ark.ProjectVertex(static_cast<float>(i), 1, 0);
        EXPECT_NEAR(out[static_cast<std::size_t>(i)].sx, want.sx, 1e-3);
        EXPECT_NEAR(out[static_cast<std::size_t>(i)].sy, want.sy, 1e-3);
        EXPECT_EQ(out[static_cast<std::size_t>(i)].color, -1);
        EXPECT_EQ(out[static_cast<std::size_t>(i)].tv, 0.75f);
    }
    // A range past either array stops at its end.
    std::vector<D3DLVERTEX> lin(2);
    lin[1].color = 0x12345678;
    ark.ProjectVerticesFromLVertex(world, out, lin, 1, 10);
    EXPECT_EQ(out[1].color, 0x12345678);
    EXPECT_EQ(out[3].sx, -99.0f);
}

TEST(ArkVectors, TransformWithAndWithoutTranslation) {
    const D3DMATRIX m = CIMArk::Get_Transform(10, 20, 30, 0, 0, 0, 2, 2, 2);
    const D3DVECTOR p = CIMArk::VectorTransform(m, 1, 1, 1);
    const D3DVECTOR n = CIMArk::VectorTransformN(m, 1, 1, 1);
    EXPECT_EQ(p.x, 12.0f);
    EXPECT_EQ(p.z, 32.0f);
    EXPECT_EQ(n.x, 2.0f);
    EXPECT_EQ(n.z, 2.0f);
    D3DMATRIX projective = Diag(1, 1, 1, 1);
    projective.rc34 = 1;                                              // w = z + 1
    EXPECT_EQ(CIMArk::VectorTransform(projective, 0, 0, 3).z, 3.0f);  // never divides
    const D3DVECTOR unit = CIMArk::Get_nv(3, 0, 4);
    EXPECT_FLOAT_EQ(unit.x, 0.6f);
    EXPECT_FLOAT_EQ(unit.z, 0.8f);
    const D3DVECTOR zero = CIMArk::Get_nv(0, 0, 0);
    EXPECT_EQ(zero.x + zero.y + zero.z, 0.0f);
}

}  // namespace
}  // namespace brumil::render
