// The software device's transform, lighting and clipping, its call contract,
// and hostile input.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gfx_test_util.h"
#include "platform/gfx/dx7_math.h"

namespace brumil::platform {
namespace {

using testing::DrawStrip;
using testing::MakeSurface;
using testing::Quad;
using testing::TL;

std::unique_ptr<Direct3DDevice7> DiffuseOnly(const SurfacePtr& target) {
    auto dev = CreateSoftDevice(target, nullptr);
    dev->BeginScene();
    dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    return dev;
}

// Three vertices at distance 1 from the z axis in the z = 0 plane, facing -z;
// the transforms stay the identity, so x and y are the device coordinates.
std::array<D3DVERTEX, 3> Ring() {
    std::array<D3DVERTEX, 3> v;
    DirectX7::CreateD3DVertex(1.0f, 0.0f, 0.0f, 0, 0, -1, 0, 0, v[0]);
    DirectX7::CreateD3DVertex(-0.5f, 0.8660254f, 0.0f, 0, 0, -1, 0, 0, v[1]);
    DirectX7::CreateD3DVertex(-0.5f, -0.8660254f, 0.0f, 0, 0, -1, 0, 0, v[2]);
    return v;
}

D3DLIGHT7 Light(D3DLong type, float r, float g, float b) {
    D3DLIGHT7 l;
    l.dltType = type;
    l.diffuse = {r, g, b, 0};
    return l;
}

struct LightCase {
    const char* name;
    std::vector<D3DLIGHT7> lights;
    std::uint32_t want;
};

TEST(SoftDeviceLighting, DirectionalPointSpotAndNegativeLights) {
    D3DLIGHT7 sun = Light(D3DLIGHT_DIRECTIONAL, 0.5f, 0.25f, 1.0f);
    sun.direction = {0, 0, 1};
    D3DLIGHT7 bright = Light(D3DLIGHT_DIRECTIONAL, 1.5f, 1.5f, 1.5f);
    bright.direction = {0, 0, 1};
    D3DLIGHT7 dark = Light(D3DLIGHT_DIRECTIONAL, -1.0f, -1.0f, -1.0f);
    dark.direction = {0, 0, 1};
    D3DLIGHT7 back = Light(D3DLIGHT_DIRECTIONAL, 1, 1, 1);
    back.direction = {0, 0, -1};  // lights the far side only
    // A point light one unit in front of the ring's centre: each vertex sees
    // it at 45 degrees from sqrt 2 away.
    D3DLIGHT7 point = Light(D3DLIGHT_POINT, 1, 1, 1);
    point.position = {0, 0, -1};
    point.range = 10;
    point.attenuation2 = 1;  // 1 / d^2
    D3DLIGHT7 shortPoint = point;
    shortPoint.range = 1.0f;  // the vertices lie out of range
    D3DLIGHT7 spot = Light(D3DLIGHT_SPOT, 1, 1, 1);
    spot.position = {0, 0, -1};
    spot.direction = {0, 0, 1};
    spot.range = 10;
    spot.attenuation0 = 1;
    spot.falloff = 1;
    spot.theta = 60.0f * 3.14159265f / 180.0f;
    spot.phi = 120.0f * 3.14159265f / 180.0f;
    D3DLIGHT7 wideSpot = spot;
    wideSpot.theta = 100.0f * 3.14159265f / 180.0f;
    D3DLIGHT7 narrowSpot = spot;
    narrowSpot.theta = 40.0f * 3.14159265f / 180.0f;
    narrowSpot.phi = 80.0f * 3.14159265f / 180.0f;
    const LightCase cases[] = {
        {"directional", {sun}, 0xFF8040FFu},
        {"sum first, clamp after", {bright, dark}, 0xFF808080u},
        {"facing away", {back}, 0xFF000000u},
        {"point, 1/d^2", {point}, 0xFF5A5A5Au},  // cos 45 / 2
        {"point out of range", {shortPoint}, 0xFF000000u},
        {"spot in the falloff", {spot}, 0xFF666666u},
        {"spot inside the cone", {wideSpot}, 0xFFB4B4B4u},
        {"spot outside the cone", {narrowSpot}, 0xFF000000u},
    };
    for (const LightCase& c : cases) {
        SurfacePtr target = MakeSurface(8, 8);
        auto dev = DiffuseOnly(target);
        D3DMATERIAL7 m;
        m.diffuse = {1, 1, 1, 1};
        ASSERT_TRUE(dev->SetMaterial(m));
        for (std::size_t i = 0; i < c.lights.size(); ++i) {
            ASSERT_TRUE(dev->SetLight(D3DLong(i), c.lights[i]));
            ASSERT_TRUE(dev->LightEnable(D3DLong(i), true));
        }
        const auto v = Ring();
        ASSERT_TRUE(dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX,
                                       std::span<const D3DVERTEX>(v), 3, 0));
        EXPECT_EQ(target->PixelAt(4, 4), c.want) << c.name;
    }
}

TEST(SoftDeviceLighting, AmbientAndEmissiveAddToTheLights) {
    SurfacePtr target = MakeSurface(8, 8);
    auto dev = DiffuseOnly(target);
    D3DMATERIAL7 m;
    m.ambient = {1.0f, 0.5f, 0.0f, 0};
    m.emissive = {0.0f, 0.0f, 0.25f, 0};
    m.diffuse = {0, 0, 0, 1};
    ASSERT_TRUE(dev->SetMaterial(m));
    ASSERT_TRUE(dev->SetRenderState(D3DRENDERSTATE_AMBIENT, static_cast<D3DLong>(0xFF808080u)));
    const auto v = Ring();
    ASSERT_TRUE(
        dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, std::span<const D3DVERTEX>(v), 3, 0));
    // r = 128/255, g = 64/255, b = 0.25
    EXPECT_EQ(target->PixelAt(4, 4), 0xFF804040u);
    // Lighting off: unlit vertices are white.
    ASSERT_TRUE(dev->SetRenderState(D3DRENDERSTATE_LIGHTING, 0));
    ASSERT_TRUE(
        dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, std::span<const D3DVERTEX>(v), 3, 0));
    EXPECT_EQ(target->PixelAt(4, 4), 0xFFFFFFFFu);
}

TEST(SoftDeviceLighting, SlotsNeverSetReadDisabled) {
    SurfacePtr target = MakeSurface(2, 2);
    auto dev = CreateSoftDevice(target, nullptr);
    EXPECT_FALSE(dev->GetLightEnable(0));
    EXPECT_FALSE(dev->GetLightEnable(-3));
    EXPECT_TRUE(dev->LightEnable(5, true));
    EXPECT_TRUE(dev->GetLightEnable(5));
    EXPECT_FALSE(dev->GetLightEnable(4));
    EXPECT_TRUE(dev->LightEnable(5, false));
    EXPECT_FALSE(dev->GetLightEnable(5));
    EXPECT_FALSE(dev->LightEnable(-1, true));
}

// A perspective projection with near plane 1 and far plane 1000.
D3DMATRIX Perspective() {
    D3DMATRIX p;
    p.rc11 = 1;
    p.rc22 = 1;
    p.rc33 = 1000.0f / 999.0f;
    p.rc34 = 1;
    p.rc43 = -1000.0f / 999.0f;
    return p;
}

D3DLVERTEX LV(float x, float y, float z, std::uint32_t color) {
    D3DLVERTEX v;
    v.x = x;
    v.y = y;
    v.z = z;
    v.color = static_cast<D3DLong>(color);
    return v;
}

TEST(SoftDeviceClipping, TriangleCrossingTheCameraIsCutAtTheNearPlane) {
    SurfacePtr target = MakeSurface(64, 64);
    auto dev = DiffuseOnly(target);
    ASSERT_TRUE(dev->SetTransform(D3DTRANSFORMSTATE_PROJECTION, Perspective()));
    // Two corners in front at depth 5, one behind the camera.
    const std::array<D3DLVERTEX, 3> v = {LV(-1, -1, 5, 0xFFFFFFFFu), LV(1, -1, 5, 0xFFFFFFFFu),
                                         LV(0, 3, -5, 0xFFFFFFFFu)};
    ASSERT_TRUE(dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX,
                                   std::span<const D3DLVERTEX>(v), 3, 0));
    // The visible part is the trapezoid between y 12.8 (the near plane) and
    // 38.4 (the two front corners).
    EXPECT_EQ(target->PixelAt(32, 30), 0xFFFFFFFFu);
    EXPECT_EQ(target->PixelAt(32, 14), 0xFFFFFFFFu);
    EXPECT_EQ(target->PixelAt(32, 12), 0u);
    EXPECT_EQ(target->PixelAt(32, 39), 0u);
    EXPECT_EQ(target->PixelAt(5, 30), 0u);
    int drawn = 0;
    for (auto p : target->Pixels()) drawn += p != 0;
    // Area of the trapezoid: (38.4 + 12.8) / 2 * 25.6 = 655 pixels.
    EXPECT_NEAR(drawn, 655, 30);
}

TEST(SoftDeviceClipping, TriangleWhollyBehindTheCameraDrawsNothing) {
    SurfacePtr target = MakeSurface(16, 16);
    auto dev = DiffuseOnly(target);
    ASSERT_TRUE(dev->SetTransform(D3DTRANSFORMSTATE_PROJECTION, Perspective()));
    const std::array<D3DLVERTEX, 3> v = {LV(-1, -1, -5, 0xFFFFFFFFu), LV(1, -1, -5, 0xFFFFFFFFu),
                                         LV(0, 1, -0.5f, 0xFFFFFFFFu)};
    ASSERT_TRUE(dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX,
                                   std::span<const D3DLVERTEX>(v), 3, 0));
    for (auto p : target->Pixels()) ASSERT_EQ(p, 0u);
}

TEST(SoftDeviceClipping, ViewportMapsDeviceCoordinates) {
    SurfacePtr target = MakeSurface(8, 8);
    auto dev = DiffuseOnly(target);
    D3DVIEWPORT7 vp{4, 4, 4, 4, 0, 1};
    ASSERT_TRUE(dev->SetViewport(vp));
    // The whole device square maps onto the viewport's pixel centres 4..8.
    const std::array<D3DLVERTEX, 4> q = {LV(-1, 1, 0.5f, 0xFFFFFFFFu), LV(1, 1, 0.5f, 0xFFFFFFFFu),
                                         LV(-1, -1, 0.5f, 0xFFFFFFFFu),
                                         LV(1, -1, 0.5f, 0xFFFFFFFFu)};
    ASSERT_TRUE(dev->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX,
                                   std::span<const D3DLVERTEX>(q), 4, 0));
    EXPECT_EQ(target->PixelAt(4, 4), 0xFFFFFFFFu);
    EXPECT_EQ(target->PixelAt(7, 7), 0xFFFFFFFFu);
    EXPECT_EQ(target->PixelAt(3, 4), 0u);
    EXPECT_EQ(target->PixelAt(4, 3), 0u);
}

TEST(SoftDeviceContract, FailingCallsChangeNothing) {
    SurfacePtr target = MakeSurface(4, 4);
    auto dev = CreateSoftDevice(target, nullptr);
    D3DVIEWPORT7 vp;
    ASSERT_TRUE(dev->GetViewport(vp));
    EXPECT_FALSE(dev->SetViewport({2, 2, 4, 4, 0, 1}));  // past the target
    EXPECT_FALSE(dev->SetViewport({0, 0, 0, 4, 0, 1}));
    D3DVIEWPORT7 after;
    dev->GetViewport(after);
    EXPECT_EQ(after.lWidth, vp.lWidth);
    EXPECT_EQ(after.lX, vp.lX);
    D3DMATRIX m;
    EXPECT_FALSE(dev->SetTransform(7, m));
    EXPECT_FALSE(dev->GetTransform(0, m));
    EXPECT_FALSE(dev->SetRenderState(-1, 0));
    EXPECT_FALSE(dev->SetRenderState(kRenderStateCount, 0));
    EXPECT_FALSE(dev->SetTextureStageState(8, D3DTSS_COLOROP, 1));
    EXPECT_FALSE(dev->Clear({}, D3DCLEAR_ZBUFFER, 0, 1, 0));  // no depth buffer
    SurfacePtr plain = MakeSurface(4, 4);                     // not a texture
    EXPECT_FALSE(dev->SetTexture(0, plain));
    EXPECT_FALSE(dev->EndScene());
    // Draws outside a scene fail and draw nothing.
    const auto q = Quad(0, 0, 4, 4);
    EXPECT_FALSE(DrawStrip(*dev, q));
    EXPECT_EQ(target->PixelAt(1, 1), 0u);
    ASSERT_TRUE(dev->BeginScene());
    EXPECT_FALSE(dev->BeginScene());
    EXPECT_FALSE(
        dev->DrawPrimitive(D3DPT_TRIANGLESTRIP, 999, std::span<const D3DTLVERTEX>(q), 4, 0));
    // More vertices than the array holds: refused, nothing read.
    EXPECT_FALSE(dev->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX,
                                    std::span<const D3DTLVERTEX>(q), 5, 0));
    EXPECT_EQ(target->PixelAt(1, 1), 0u);
    EXPECT_EQ(CreateSoftDevice(nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateSoftDevice(target, MakeSurface(2, 2, PixelFormat::Depth32F)), nullptr);
}

TEST(SoftDeviceContract, IndicesAtOrPastTheVertexCountAreSkipped) {
    SurfacePtr target = MakeSurface(4, 4);
    auto dev = DiffuseOnly(target);
    const auto q = Quad(0, 0, 4, 4);
    // Triangle 0 names vertex 4 (past the count), triangle 1 names 65535.
    const std::int16_t idx[] = {0, 1, 4, 1, 2, -1, 1, 3, 2};
    ASSERT_TRUE(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX,
                                          std::span<const D3DTLVERTEX>(q), 4, idx, 9, 0));
    EXPECT_EQ(target->PixelAt(0, 0), 0u);           // only in the skipped triangles
    EXPECT_EQ(target->PixelAt(3, 3), 0xFFFFFFFFu);  // the valid third triangle
    EXPECT_FALSE(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX,
                                           std::span<const D3DTLVERTEX>(q), 4, idx, 10, 0));
}

TEST(SoftDeviceContract, HostileCoordinatesNeverWriteOutside) {
    // The target sits inside a larger picture so that a stray write would show.
    SurfacePtr target = MakeSurface(16, 16);
    auto dev = DiffuseOnly(target);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<std::array<D3DTLVERTEX, 3>> tris = {
        {TL(nan, 0, 0, 0), TL(4, 0, 0, 0), TL(0, 4, 0, 0)},
        {TL(0, 0, 0, 0), TL(inf, 0, 0, 0), TL(0, 4, 0, 0)},
        {TL(-1e30f, -1e30f, 0, 0), TL(1e30f, -1e30f, 0, 0), TL(0, 1e30f, 0, 0)},
        {TL(-3e7f, -3e7f, nan, nan, 0xFFFFFFFFu, nan, nan), TL(3e7f, -3e7f, 0, 0),
         TL(0, 3e7f, 0, 0)},
    };
    for (const auto& t : tris) {
        EXPECT_TRUE(dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX,
                                       std::span<const D3DTLVERTEX>(t), 3, 0));
    }
    // The huge finite triangles cover the whole target.
    EXPECT_EQ(target->PixelAt(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(target->PixelAt(15, 15), 0xFFFFFFFFu);
    // Transformed NaN and huge positions, and a texture sampled at NaN.
    SurfacePtr tex = testing::MakeTexture(2, 2, {1, 2, 3, 4});
    ASSERT_TRUE(dev->SetTexture(0, tex));
    dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    const std::array<D3DLVERTEX, 3> bad = {LV(nan, 0, 0.5f, 1), LV(1e38f, 1e38f, 0.5f, 1),
                                           LV(0, -1e38f, 0.5f, 1)};
    EXPECT_TRUE(dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX,
                                   std::span<const D3DLVERTEX>(bad), 3, 0));
    const std::array<D3DLVERTEX, 2> line = {LV(-1e9f, 0, 0.5f, 1), LV(1e9f, 0.1f, 0.5f, 1)};
    EXPECT_TRUE(dev->DrawPrimitive(D3DPT_LINELIST, D3DFVF_LVERTEX,
                                   std::span<const D3DLVERTEX>(line), 2, 0));
}

TEST(SoftDeviceContract, LinesLeaveOutTheirLastPixel) {
    SurfacePtr target = MakeSurface(8, 2);
    auto dev = DiffuseOnly(target);
    const std::array<D3DTLVERTEX, 2> l = {TL(1, 0, 0, 0), TL(5, 0, 0, 0)};
    ASSERT_TRUE(
        dev->DrawPrimitive(D3DPT_LINELIST, D3DFVF_TLVERTEX, std::span<const D3DTLVERTEX>(l), 2, 0));
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(target->PixelAt(x, 0) != 0, x >= 1 && x < 5) << x;
    }
}

// The specialised inner loops give the same pixels as the general loop.
TEST(SoftDeviceContract, SpecialisedLoopsMatchTheGeneralLoop) {
    std::uint32_t seed = 12345;
    const auto next = [&]() {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    std::vector<std::uint32_t> texels(16 * 16);
    for (auto& t : texels) t = next() * 2654435761u;
    texels[5] = 0;  // a key texel
    struct Mode {
        D3DLong colorOp, alphaOp, src, dst;
        bool blend, linear, key, alphaTest;
    };
    const Mode modes[] = {
        {D3DTOP_SELECTARG1, D3DTOP_SELECTARG1, 0, 0, false, false, false, false},
        {D3DTOP_SELECTARG1, D3DTOP_MODULATE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, true, false,
         false, true},
        {D3DTOP_SELECTARG1, D3DTOP_MODULATE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, true, true,
         false, false},
        {D3DTOP_MODULATE, D3DTOP_MODULATE, D3DBLEND_SRCALPHA, D3DBLEND_ONE, true, true, true,
         false},
        {D3DTOP_MODULATE, D3DTOP_SELECTARG1, D3DBLEND_ONE, D3DBLEND_ONE, true, false, true, true},
        {D3DTOP_MODULATE, D3DTOP_MODULATE, 0, 0, false, true, false, false},
        {D3DTOP_SELECTARG1, D3DTOP_SELECTARG2, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, true, false,
         false, false},
        {D3DTOP_SELECTARG1, D3DTOP_SELECTARG2, 0, 0, false, false, true, false},
    };
    for (const Mode& m : modes) {
        std::vector<std::uint32_t> results[2];
        for (int pass = 0; pass < 2; ++pass) {
            seed = 777;
            SurfacePtr target = MakeSurface(40, 40);
            target->BltColorFill(0x80402010u);
            auto dev = CreateSoftDevice(target, nullptr, {pass == 0});
            dev->BeginScene();
            SurfacePtr tex = testing::MakeTexture(16, 16, texels);
            tex->SetColorKey(0u);
            dev->SetTexture(0, tex);
            dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
            dev->SetTextureStageState(0, D3DTSS_COLOROP, m.colorOp);
            dev->SetTextureStageState(0, D3DTSS_ALPHAOP, m.alphaOp);
            dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, m.blend ? 1 : 0);
            dev->SetRenderState(D3DRENDERSTATE_SRCBLEND, m.src);
            dev->SetRenderState(D3DRENDERSTATE_DESTBLEND, m.dst);
            dev->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, m.key ? 1 : 0);
            dev->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, m.alphaTest ? 1 : 0);
            dev->SetRenderState(D3DRENDERSTATE_ALPHAREF, 0x60);
            dev->SetRenderState(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_GREATER);
            dev->SetTextureStageState(0, D3DTSS_MAGFILTER, m.linear ? D3DTFG_LINEAR : 1);
            for (int t = 0; t < 30; ++t) {
                std::array<D3DTLVERTEX, 3> v;
                for (auto& x : v) {
                    x = TL(float(next() % 4400) / 100.0f - 2.0f,
                           float(next() % 4400) / 100.0f - 2.0f, float(next() % 300) / 100.0f,
                           float(next() % 300) / 100.0f, next() * 2246822519u);
                    x.rhw = t % 2 ? 1.0f : 0.5f + float(next() % 100) / 100.0f;
                }
                dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX,
                                   std::span<const D3DTLVERTEX>(v), 3, 0);
            }
            results[pass] = testing::PixelsOf(*target);
        }
        EXPECT_EQ(results[0], results[1]) << m.colorOp << " " << m.alphaOp << " " << m.src;
    }
}

}  // namespace
}  // namespace brumil::platform
