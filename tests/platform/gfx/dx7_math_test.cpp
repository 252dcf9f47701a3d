#include "platform/gfx/dx7_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brumil::platform {
namespace {

D3DVECTOR Apply(const D3DMATRIX& m, D3DVECTOR p) {
    return {p.x * m.rc11 + p.y * m.rc21 + p.z * m.rc31 + m.rc41,
            p.x * m.rc12 + p.y * m.rc22 + p.z * m.rc32 + m.rc42,
            p.x * m.rc13 + p.y * m.rc23 + p.z * m.rc33 + m.rc43};
}

TEST(DirectX7Math, ProductAppliesTheLeftMatrixFirst) {
    D3DMATRIX rot, move, both;
    DirectX7::RotateZMatrix(rot, 1.5707963f);
    DirectX7::IdentityMatrix(move);
    move.rc41 = 10.0f;
    DirectX7::MatrixMultiply(both, rot, move);  // rotate, then move
    const D3DVECTOR p = Apply(both, {1, 0, 0});
    EXPECT_NEAR(p.x, 10.0f, 1e-5f);
    EXPECT_NEAR(p.y, 1.0f, 1e-5f);
    DirectX7::MatrixMultiply(both, move, rot);  // move, then rotate
    const D3DVECTOR q = Apply(both, {1, 0, 0});
    EXPECT_NEAR(q.x, 0.0f, 1e-4f);
    EXPECT_NEAR(q.y, 11.0f, 1e-4f);
}

TEST(DirectX7Math, RotationsTurnTheAxesLeftHanded) {
    struct Case {
        void (*make)(D3DMATRIX&, float);
        D3DVECTOR in, out;
    };
    const Case cases[] = {
        {&DirectX7::RotateXMatrix, {0, 1, 0}, {0, 0, 1}},
        {&DirectX7::RotateYMatrix, {0, 0, 1}, {1, 0, 0}},
        {&DirectX7::RotateZMatrix, {1, 0, 0}, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        D3DMATRIX m;
        c.make(m, 1.5707963f);
        const D3DVECTOR p = Apply(m, c.in);
        EXPECT_NEAR(p.x, c.out.x, 1e-5f);
        EXPECT_NEAR(p.y, c.out.y, 1e-5f);
        EXPECT_NEAR(p.z, c.out.z, 1e-5f);
    }
}

TEST(DirectX7Math, ViewMatrixPutsTheTargetOnThePositiveZAxis) {
    D3DMATRIX v;
    ASSERT_TRUE(DirectX7::ViewMatrix(v, {0, 0, -10}, {0, 0, 0}, {0, 1, 0}, 0.0f));
    const D3DVECTOR t = Apply(v, {0, 0, 0});
    EXPECT_NEAR(t.z, 10.0f, 1e-5f);
    EXPECT_NEAR(t.x, 0.0f, 1e-6f);
    const D3DVECTOR right = Apply(v, {1, 0, 0});
    EXPECT_NEAR(right.x, 1.0f, 1e-6f);  // +x stays to the right
    const D3DVECTOR up = Apply(v, {0, 1, 0});
    EXPECT_NEAR(up.y, 1.0f, 1e-6f);
}

TEST(DirectX7Math, ViewMatrixRollTurnsAboutTheLineOfSight) {
    D3DMATRIX v;
    ASSERT_TRUE(DirectX7::ViewMatrix(v, {0, 0, -10}, {0, 0, 0}, {0, 1, 0}, 1.5707963f));
    const D3DVECTOR up = Apply(v, {0, 1, 0});
    EXPECT_NEAR(std::fabs(up.x), 1.0f, 1e-5f);
    EXPECT_NEAR(up.y, 0.0f, 1e-5f);
    EXPECT_NEAR(up.z, 10.0f, 1e-5f);
}

TEST(DirectX7Math, ViewMatrixRefusesADegenerateCamera) {
    D3DMATRIX v;
    EXPECT_FALSE(DirectX7::ViewMatrix(v, {1, 2, 3}, {1, 2, 3}, {0, 1, 0}, 0.0f));
    EXPECT_FALSE(DirectX7::ViewMatrix(v, {0, 0, 0}, {0, 5, 0}, {0, 1, 0}, 0.0f));
    EXPECT_EQ(v.rc11, 1.0f);
    EXPECT_EQ(v.rc41, 0.0f);
}

TEST(DirectX7Math, VectorOperations) {
    D3DVECTOR c;
    DirectX7::VectorCrossProduct(c, {1, 2, 3}, {4, 5, 6});
    EXPECT_EQ(c.x, 2 * 6 - 3 * 5);
    EXPECT_EQ(c.y, 3 * 4 - 1 * 6);
    EXPECT_EQ(c.z, 1 * 5 - 2 * 4);
    EXPECT_EQ(DirectX7::VectorDotProduct({1, 2, 3}, {4, 5, 6}), 32.0f);
    D3DVECTOR n{3, 0, 4};
    DirectX7::VectorNormalize(n);
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.z, 0.8f);
    D3DVECTOR zero{0, 0, 0};
    DirectX7::VectorNormalize(zero);
    EXPECT_EQ(zero.x, 0.0f);  // no NaN from a zero vector
    D3DVECTOR s;
    DirectX7::VectorSubtract(s, {5, 5, 5}, {1, 2, 3});
    DirectX7::VectorScale(s, s, 2.0f);
    EXPECT_EQ(s.x, 8.0f);
    EXPECT_EQ(s.z, 4.0f);
    D3DVERTEX v;
    DirectX7::CreateD3DVertex(1, 2, 3, 4, 5, 6, 7, 8, v);
    EXPECT_EQ(v.nz, 6.0f);
    EXPECT_EQ(v.tv, 8.0f);
}

}  // namespace
}  // namespace brumil::platform
