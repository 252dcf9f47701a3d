// The scene object's camera: change marking, the apply to the device, the
// projection and screen matrices, world matrices and look angles.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ark_test_host.h"
#include "platform/gfx/dx7_math.h"
#include "render/ark.h"

namespace brumil::render {
namespace {

using platform::D3DMATRIX;
using testing::FakeArkHost;

// The matrix sent by the last SetTransform of `state`.
D3DMATRIX SentTransform(platform::RecordingDevice& dev, Long state) {
    D3DMATRIX m;
    for (const auto& c : dev.CallsNamed("SetTransform")) {
        if (c.args[0] == state) std::copy(c.values.begin(), c.values.end(), &m.rc11);
    }
    return m;
}

TEST(ArkCamera, SettingAnEqualValueMarksNothing) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.SettingProperty();
    ASSERT_FALSE(ark.CameraDirty());
    host.Recorder().ClearCalls();

    ark.vFrom({0, 0, -10});
    ark.vTo({0, 0, 0});
    ark.vUp({0, 1, 0});
    ark.roll(0);
    ark.Perspective(1);
    ark.SetViewPortRect({});
    EXPECT_FALSE(ark.CameraDirty());
    ark.SettingProperty();
    EXPECT_TRUE(host.Recorder().Calls().empty());
}

TEST(ArkCamera, EachChangedValueMarksTheCameraAndNeverTouchesTheDevice) {
    struct Case {
        const char* name;
        void (*change)(CIMArk&);
    };
    const Case cases[] = {
        {"vFrom x",
         [](CIMArk& a) {
             a.vFrom({1, 0, -10});
         }},
        {"vTo z",
         [](CIMArk& a) {
             a.vTo({0, 0, 0.5f});
         }},
        {"vUp y",
         [](CIMArk& a) {
             a.vUp({0, 2, 0});
         }},
        {"roll", [](CIMArk& a) { a.roll(0.25f); }},
        {"perspective", [](CIMArk& a) { a.Perspective(0.5f); }},
        {"viewport",
         [](CIMArk& a) {
             a.SetViewPortRect({0, 0, 320, 240});
         }},
    };
    for (const auto& c : cases) {
        FakeArkHost host;
        CIMArk ark(host);
        ark.SettingProperty();
        host.Recorder().ClearCalls();
        c.change(ark);
        EXPECT_TRUE(ark.CameraDirty()) << c.name;
        EXPECT_TRUE(host.Recorder().Calls().empty()) << c.name;
        ark.SettingProperty();
        EXPECT_EQ(host.Recorder().CallsNamed("SetViewport").size(), 1u) << c.name;
        EXPECT_EQ(host.Recorder().CallsNamed("SetTransform").size(), 2u) << c.name;
    }
}

TEST(ArkCamera, ARecreatedDeviceGetsEverythingAgain) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.SettingProperty();
    ark.ChangedCamera = false;
    host.Recorder().ClearCalls();
    ark.SettingProperty();
    EXPECT_TRUE(host.Recorder().Calls().empty());

    host.level = 2;
    ark.SettingProperty();
    EXPECT_EQ(host.Recorder().CallsNamed("SetViewport").size(), 1u);
    EXPECT_EQ(host.Recorder().CallsNamed("SetTransform").size(), 2u);
    EXPECT_EQ(ark.AppliedRenderLevel(), 2);
    EXPECT_TRUE(ark.ChangedCamera);
}

TEST(ArkCamera, WithoutADeviceNothingIsAppliedAndTheCameraStaysDirty) {
    FakeArkHost host;
    host.hasDevice = false;
    CIMArk ark(host);
    ark.SettingProperty();
    EXPECT_TRUE(ark.CameraDirty());
    EXPECT_FALSE(ark.ChangedCamera);
    host.hasDevice = true;
    ark.SettingProperty();
    EXPECT_FALSE(ark.CameraDirty());
}

TEST(ArkCamera, ViewportFallsBackToTheScreenPerEmptySide) {
    struct Case {
        core::CRect rect;
        std::vector<Long> want;  // x, y, width, height
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, {0, 0, 640, 480}},       {{10, 20, 0, 0}, {10, 20, 640, 480}},
        {{10, 20, 300, 0}, {10, 20, 300, 480}}, {{10, 20, 300, 200}, {10, 20, 300, 200}},
        {{0, 0, -5, -5}, {0, 0, 640, 480}},
    };
    for (const auto& c : cases) {
        FakeArkHost host;
        CIMArk ark(host);
        ark.SetViewPortRect(c.rect);
        ark.SettingProperty();
        const auto vp = host.Recorder().CallsNamed("SetViewport");
        ASSERT_EQ(vp.size(), 1u);
        EXPECT_EQ(vp[0].args, c.want) << c.rect.X << "," << c.rect.Width;
        EXPECT_EQ(vp[0].values, (std::vector<float>{0.0f, 1.0f}));
    }
}

TEST(ArkCamera, ProjectionMatrixAtThreePerspectives) {
    struct Case {
        Single p;
        Single m11, m22, m33, m34, m43, m44;
    };
    const Case cases[] = {
        {1.0f, 2.414214f, 3.296559f, 1.001001f, 1.0f, -1.001001f, 0.0f},
        {0.0f, 2.414214f, 3.296559f, 0.01001f, 0.0f, 9.998999f, 17.67767f},
        {0.5f, 2.414214f, 3.296559f, 0.5055055f, 0.5f, 4.498999f, 8.838835f},
    };
    for (const auto& c : cases) {
        FakeArkHost host;
        CIMArk ark(host);
        ark.Perspective(c.p);
        ark.SettingProperty();
        const D3DMATRIX m = SentTransform(host.Recorder(), platform::D3DTRANSFORMSTATE_PROJECTION);
        EXPECT_NEAR(m.rc11, c.m11, 2e-6) << c.p;
        EXPECT_NEAR(m.rc22, c.m22, 2e-6) << c.p;
        EXPECT_NEAR(m.rc33, c.m33, 2e-6) << c.p;
        EXPECT_FLOAT_EQ(m.rc34, c.m34) << c.p;
        EXPECT_NEAR(m.rc43, c.m43, 2e-6) << c.p;
        EXPECT_NEAR(m.rc44, c.m44, 2e-6) << c.p;
        for (const float v :
             {m.rc12, m.rc13, m.rc14, m.rc21, m.rc23, m.rc24, m.rc31, m.rc32, m.rc41, m.rc42}) {
            EXPECT_EQ(v, 0.0f) << c.p;
        }
    }
}

TEST(ArkCamera, PerspectiveIsClamped) {
    struct Case {
        Single in, want;
    };
    const Case cases[] = {{-0.5f, 0.0f},
                          {2.0f, 1.0f},
                          {std::numeric_limits<Single>::quiet_NaN(), 0.0f},
                          {0.25f, 0.25f},
                          {-std::numeric_limits<Single>::infinity(), 0.0f},
                          {std::numeric_limits<Single>::infinity(), 1.0f}};
    for (const auto& c : cases) {
        FakeArkHost host;
        CIMArk ark(host);
        ark.Perspective(c.in);
        EXPECT_EQ(ark.Perspective(), c.want) << c.in;
    }
}

TEST(ArkCamera, TheLookAtPointProjectsToTheViewportCentre) {
    struct Case {
        core::CRect rect;
        D3DVECTOR from, to;
        Single perspective;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, {0, 0, -10}, {0, 0, 0}, 1.0f},
        {{100, 50, 320, 200}, {3, 7, -2}, {1, 0, 5}, 1.0f},
        {{100, 50, 320, 200}, {3, 7, -2}, {1, 0, 5}, 0.0f},
        {{0, 0, 300, 300}, {-4, 2, 9}, {0, -1, 0}, 0.3f},
    };
    for (const auto& c : cases) {
        FakeArkHost host;
        CIMArk ark(host);
        ark.SetViewPortRect(c.rect);
        ark.vFrom(c.from);
        ark.vTo(c.to);
        ark.Perspective(c.perspective);
        ark.SettingProperty();
        const auto p = ark.ProjectVertex(c.to.x, c.to.y, c.to.z);
        const Single w = c.rect.Width > 0 ? c.rect.Width : 640;
        const Single h = c.rect.Height > 0 ? c.rect.Height : 480;
        EXPECT_NEAR(p.sx, w / 2, 1e-3) << c.rect.Width;
        EXPECT_NEAR(p.sy, h / 2, 1e-3) << c.rect.Width;
    }
}

TEST(ArkCamera, RollTurnsTheViewAboutTheLineOfSight) {
    // The view matrix followed by a rotation about z by the roll: with a
    // quarter turn a point right of the look-at point moves to straight above
    // or below the centre.
    FakeArkHost host;
    CIMArk ark(host);
    ark.SettingProperty();
    const auto plain = ark.ProjectVertex(1, 0, 0);
    EXPECT_GT(plain.sx, 320.0f);
    EXPECT_NEAR(plain.sy, 240.0f, 1e-3);

    ark.roll(1.570796f);
    ark.SettingProperty();
    D3DMATRIX view = SentTransform(host.Recorder(), platform::D3DTRANSFORMSTATE_VIEW);
    D3DMATRIX plainView, turn, want;
    platform::DirectX7::ViewMatrix(plainView, {0, 0, -10}, {0, 0, 0}, {0, 1, 0}, 0);
    platform::DirectX7::RotateZMatrix(turn, 1.570796f);
    platform::DirectX7::MatrixMultiply(want, plainView, turn);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR((&view.rc11)[i], (&want.rc11)[i], 1e-6) << i;

    const auto rolled = ark.ProjectVertex(1, 0, 0);
    EXPECT_NEAR(rolled.sx, 320.0f, 1e-3);
    // Screen y runs down: a point turned to view +y shows above the centre.
    EXPECT_LT(rolled.sy, 240.0f);
}

TEST(ArkCamera, DegenerateCameraKeepsFiniteMatrices) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.vFrom({1, 2, 3});
    ark.vTo({1, 2, 3});
    ark.SettingProperty();
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite((&ark.ScreenTransform().rc11)[i]));
    host.width = 0;  // a screen without size
    ark.SetViewPortRect({0, 0, 0, 0});
    ark.vFrom({0, 0, -5});
    ark.SettingProperty();
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite((&ark.ScreenTransform().rc11)[i]));
}

TEST(ArkCamera, GetTransformScalesTurnsThenMoves) {
    const D3DMATRIX plain = CIMArk::Get_Transform(1, 2, 3, 0, 0, 0, 4, 5, 6);
    D3DMATRIX want;
    want.rc11 = 4;
    want.rc22 = 5;
    want.rc33 = 6;
    want.rc44 = 1;
    want.rc41 = 1;
    want.rc42 = 2;
    want.rc43 = 3;
    for (int i = 0; i < 16; ++i) EXPECT_EQ((&plain.rc11)[i], (&want.rc11)[i]) << i;

    // Scale 2 on x, then a quarter turn about Y, then about Z, then move.
    const D3DMATRIX m = CIMArk::Get_Transform(10, 0, 0, 0, 1.570796f, 1.570796f, 2, 1, 1);
    const D3DVECTOR p = CIMArk::VectorTransform(m, 1, 0, 0);
    // (2,0,0) -> about Y by +90: (0,0,-2) -> about Z: unchanged -> moved by 10.
    EXPECT_NEAR(p.x, 10.0f, 1e-5);
    EXPECT_NEAR(p.y, 0.0f, 1e-5);
    EXPECT_NEAR(p.z, -2.0f, 1e-5);
    const D3DVECTOR q = CIMArk::VectorTransform(m, 0, 1, 0);
    // (0,1,0) -> about Y: unchanged -> about Z by +90: (-1,0,0) -> moved.
    EXPECT_NEAR(q.x, 9.0f, 1e-5);
    EXPECT_NEAR(q.y, 0.0f, 1e-5);
}

TEST(ArkCamera, LookAnglesPlaceTheTargetAndTheEye) {
    struct Case {
        D3DVECTOR base;
        Single yaw, pitch;
        D3DVECTOR to;
    };
    const Case cases[] = {
        {{0, 0, 0}, 0, 0, {0, 0, 1}},
        {{0, 0, 0}, 0, 3, {0, -1, 0}},         // pitch clamped to a quarter turn
        {{1, 2, 3}, 1.570796f, 0, {2, 2, 3}},  // positive yaw turns towards +x
        {{0, 0, 0}, -1, 0, {std::sin(5.283184f), 0, std::cos(5.283184f)}},
        {{0, 0, 0}, 0, 0.5f, {0, -std::sin(0.5f), std::cos(0.5f)}},  // positive pitch looks down
    };
    for (const auto& c : cases) {
        const D3DVECTOR to = CIMArk::Get_vTo(c.base, c.yaw, c.pitch);
        EXPECT_NEAR(to.x, c.to.x, 1e-6) << c.yaw << " " << c.pitch;
        EXPECT_NEAR(to.y, c.to.y, 1e-6) << c.yaw << " " << c.pitch;
        EXPECT_NEAR(to.z, c.to.z, 1e-6) << c.yaw << " " << c.pitch;
        // The eye one unit back from the target lies on the other side.
        const D3DVECTOR from = CIMArk::Get_vFrom(c.base, c.yaw, c.pitch);
        EXPECT_NEAR(from.x - c.base.x, c.base.x - to.x, 1e-6);
        EXPECT_NEAR(from.y - c.base.y, c.base.y - to.y, 1e-6);
        EXPECT_NEAR(from.z - c.base.z, c.base.z - to.z, 1e-6);
    }
}

TEST(ArkCamera, ChangeCounterCountsQuietTests) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.ChangedLight = true;
    ark.TestChangedAny();
    EXPECT_EQ(ark.Changed_Any(), 0);
    for (int i = 0; i < 3; ++i) ark.TestChangedAny();
    EXPECT_EQ(ark.Changed_Any(), 3);
    ark.ChangedObject = true;
    ark.TestChangedAny();
    EXPECT_EQ(ark.Changed_Any(), 0);
    EXPECT_FALSE(ark.ChangedObject);

    host.noDoubleZBuffer = true;
    for (int i = 0; i < 3; ++i) ark.TestChangedAny();
    EXPECT_EQ(ark.Changed_Any(), 0);
}

TEST(ArkCamera, FrameCopiesBreakTheSceneAroundTheWorkSurface) {
    FakeArkHost host;
    CIMArk ark(host);
    ark.CopyDGToDFG_withZBuffer();
    ark.CopyDFGToDG_withZBuffer();
    EXPECT_EQ(host.log, (std::vector<std::string>{"Break", "Copy 4", "Restore", "Break", "Copy 3",
                                                  "Restore"}));
}

TEST(ArkCamera, PrimitiveIsMadeOnceOnFirstUse) {
    FakeArkHost host;
    CIMArk ark(host);
    CIMArkPrimitive* first = &ark.Primitive();
    EXPECT_EQ(first, &ark.Primitive());
}

}  // namespace
}  // namespace brumil::render
