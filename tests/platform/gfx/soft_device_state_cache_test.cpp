// The device keeps a draw's decoded state and vertex set-up for the next
// draws until something they are made from changes. After each setter (and
// each change a texture can undergo without one) the next draw must look
// exactly as it would on a device that never drew with the old state.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "gfx_test_util.h"
#include "platform/gfx/dx7_math.h"

namespace brumil::platform {
namespace {

using testing::MakeSurface;
using testing::MakeTexture;

constexpr int kW = 61, kH = 47;

struct Scene {
    SurfacePtr target, depth, textureA, textureB;
};

std::vector<std::uint32_t> Bits(const Scene& s) {
    return testing::PixelsAndDepth(*s.target, s.depth.get());
}

Scene MakeScene() {
    std::vector<std::uint32_t> a(16), b(16);
    for (int i = 0; i < 16; ++i) {
        a[i] = (i % 3 == 0) ? 0x00FF00FFu : 0xC0000000u | (0x102030u * (i + 1));
        b[i] = 0xFF000000u | (0x0F1E2Du * (16 - i));
    }
    Scene s{MakeSurface(kW, kH), MakeSurface(kW, kH, PixelFormat::Depth32F), MakeTexture(4, 4, a),
            MakeTexture(4, 4, b)};
    s.textureA->SetColorKey(0x00FF00FFu);
    return s;
}

D3DMATRIX Perspective() {
    D3DMATRIX p;
    p.rc11 = 1;
    p.rc22 = 1;
    p.rc33 = 10.0f / 9.0f;
    p.rc34 = 1;
    p.rc43 = -10.0f / 9.0f;
    return p;
}

// A lit, textured fan; `shift` moves it sideways, `z` away.
std::vector<D3DVERTEX> Fan(float shift, float z) {
    std::vector<D3DVERTEX> v(6);
    const float xs[6] = {0, -1.2f, 1.0f, 1.3f, -0.2f, -1.4f};
    const float ys[6] = {0, -1.0f, -1.1f, 0.6f, 1.2f, 0.5f};
    for (int i = 0; i < 6; ++i) {
        DirectX7::CreateD3DVertex(xs[i] + shift, ys[i], z + 0.2f * ys[i], 0.3f * xs[i], 0.2f, -1,
                                  1.7f * xs[i], 1.3f * ys[i], v[static_cast<std::size_t>(i)]);
    }
    return v;
}

void DrawFan(Direct3DDevice7& dev, float shift, float z) {
    const std::vector<D3DVERTEX> v = Fan(shift, z);
    ASSERT_TRUE(
        dev.DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_VERTEX, std::span<const D3DVERTEX>(v), 6, 0));
}

void Base(Direct3DDevice7& dev, const Scene& s) {
    dev.SetTransform(D3DTRANSFORMSTATE_PROJECTION, Perspective());
    dev.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    dev.SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, 1);
    // Ready for the changes that turn blending and the alpha test on.
    dev.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    dev.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    dev.SetRenderState(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_GREATER);
    dev.SetRenderState(D3DRENDERSTATE_ALPHAREF, 0xC0);
    dev.SetTexture(0, s.textureA);
    D3DMATERIAL7 m;
    m.diffuse = {0.8f, 0.9f, 0.6f, 0.5f};
    m.ambient = {0.5f, 0.5f, 0.5f, 1};
    m.specular = {1, 1, 1, 1};
    m.power = 5;
    dev.SetMaterial(m);
    D3DLIGHT7 sun;
    sun.dltType = D3DLIGHT_DIRECTIONAL;
    sun.diffuse = {0.9f, 0.8f, 0.7f, 0};
    sun.specular = {1, 1, 1, 0};
    sun.direction = {0.3f, -0.2f, 1};
    dev.SetLight(0, sun);
    dev.LightEnable(0, true);
}

struct Change {
    std::string name;
    std::function<void(Direct3DDevice7&, const Scene&)> apply;
};

void PrintTo(const Change& c, std::ostream* os) {
    *os << c.name;
}

Change Rs(std::string name, D3DLong state, D3DLong value) {
    return {std::move(name),
            [=](Direct3DDevice7& d, const Scene&) { ASSERT_TRUE(d.SetRenderState(state, value)); }};
}
Change Tss(std::string name, D3DLong type, D3DLong value) {
    return {std::move(name), [=](Direct3DDevice7& d, const Scene&) {
                ASSERT_TRUE(d.SetTextureStageState(0, type, value));
            }};
}

class StateCacheTest : public ::testing::TestWithParam<std::tuple<Change, int>> {};

TEST_P(StateCacheTest, TheNextDrawSeesTheChange) {
    const auto& [change, threads] = GetParam();
    // The device under test draws, takes the change and draws again.
    const Scene kept = MakeScene();
    {
        auto dev = CreateSoftDevice(kept.target, kept.depth, {true, threads});
        Base(*dev, kept);
        dev->BeginScene();
        DrawFan(*dev, -0.4f, 2.0f);
        change.apply(*dev, kept);
        DrawFan(*dev, 0.3f, 2.2f);
        dev->EndScene();
    }
    // The same on two devices: the second draw on one that never decoded the
    // old state; and once more without the change, to show it shows.
    const auto fresh = [&](bool withChange) {
        const Scene s = MakeScene();
        {
            auto first = CreateSoftDevice(s.target, s.depth, {true, threads});
            Base(*first, s);
            first->BeginScene();
            DrawFan(*first, -0.4f, 2.0f);
            first->EndScene();
        }
        // Done on the first device's scene, the change may touch the surfaces.
        auto second = CreateSoftDevice(s.target, s.depth, {true, threads});
        Base(*second, s);
        if (withChange) change.apply(*second, s);
        second->BeginScene();
        DrawFan(*second, 0.3f, 2.2f);
        second->EndScene();
        return Bits(s);
    };
    const std::vector<std::uint32_t> want = fresh(true);
    EXPECT_TRUE(Bits(kept) == want);
    EXPECT_FALSE(fresh(false) == want) << "the change makes no difference to the picture";
}

std::vector<Change> Changes() {
    std::vector<Change> c = {
        Rs("ZFuncNever", D3DRENDERSTATE_ZFUNC, D3DCMP_NEVER),
        Rs("ZWriteOff", D3DRENDERSTATE_ZWRITEENABLE, 0),
        Rs("ZOff", D3DRENDERSTATE_ZENABLE, 0),
        Rs("CullCounterClockwise", D3DRENDERSTATE_CULLMODE, D3DCULL_CCW),
        Rs("FlatShading", D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT),
        Rs("SpecularOn", D3DRENDERSTATE_SPECULARENABLE, 1),
        Rs("BlendOn", D3DRENDERSTATE_ALPHABLENDENABLE, 1),
        Rs("ColorKeyOff", D3DRENDERSTATE_COLORKEYENABLE, 0),
        Rs("AlphaTestOn", D3DRENDERSTATE_ALPHATESTENABLE, 1),
        Rs("AmbientLight", D3DRENDERSTATE_AMBIENT, 0x00FF4020),
        Rs("LightingOff", D3DRENDERSTATE_LIGHTING, 0),
        Rs("NormalizeNormals", D3DRENDERSTATE_NORMALIZENORMALS, 1),
        Tss("DiffuseOnly", D3DTSS_COLOROP, D3DTOP_SELECTARG2),
        Tss("AlphaFromDiffuse", D3DTSS_ALPHAOP, D3DTOP_SELECTARG2),
        Tss("ClampAddress", D3DTSS_ADDRESS, D3DTADDRESS_CLAMP),
        Tss("LinearFilter", D3DTSS_MAGFILTER, D3DTFG_LINEAR),
        {"OtherTexture",
         [](Direct3DDevice7& d, const Scene& s) { ASSERT_TRUE(d.SetTexture(0, s.textureB)); }},
        {"NoTexture", [](Direct3DDevice7& d, const Scene&) { ASSERT_TRUE(d.SetTexture(0, {})); }},
        {"Material",
         [](Direct3DDevice7& d, const Scene&) {
             D3DMATERIAL7 m;
             m.diffuse = {0.2f, 1, 0.4f, 1};
             ASSERT_TRUE(d.SetMaterial(m));
         }},
        {"LightChanged",
         [](Direct3DDevice7& d, const Scene&) {
             D3DLIGHT7 p;
             p.dltType = D3DLIGHT_POINT;
             p.diffuse = {0.1f, 0.9f, 0.3f, 0};
             p.position = {0, 0, 1};
             p.range = 5;
             p.attenuation0 = 1;
             ASSERT_TRUE(d.SetLight(0, p));
         }},
        {"LightDisabled",
         [](Direct3DDevice7& d, const Scene&) { ASSERT_TRUE(d.LightEnable(0, false)); }},
        {"NewLightEnabled",
         [](Direct3DDevice7& d, const Scene&) { ASSERT_TRUE(d.LightEnable(3, true)); }},
        {"WorldMoved",
         [](Direct3DDevice7& d, const Scene&) {
             D3DMATRIX w;
             DirectX7::RotateZMatrix(w, 0.4f);
             ASSERT_TRUE(d.SetTransform(D3DTRANSFORMSTATE_WORLD, w));
         }},
        {"ViewMoved",
         [](Direct3DDevice7& d, const Scene&) {
             D3DMATRIX v;
             DirectX7::ViewMatrix(v, {0.3f, 0.2f, -0.5f}, {0, 0, 2}, {0, 1, 0}, 0.1f);
             ASSERT_TRUE(d.SetTransform(D3DTRANSFORMSTATE_VIEW, v));
         }},
        {"ProjectionWider",
         [](Direct3DDevice7& d, const Scene&) {
             D3DMATRIX p = Perspective();
             p.rc11 = 0.5f;
             ASSERT_TRUE(d.SetTransform(D3DTRANSFORMSTATE_PROJECTION, p));
         }},
        {"SmallerViewport",
         [](Direct3DDevice7& d, const Scene&) {
             ASSERT_TRUE(d.SetViewport({5, 4, 40, 30, 0.1f, 0.8f}));
         }},
        // No setter runs for these: the texture itself changes.
        {"TextureKeyChanged",
         [](Direct3DDevice7&, const Scene& s) { s.textureA->SetColorKey(0xC0102030u); }},
        {"TextureKeyRemoved",
         [](Direct3DDevice7&, const Scene& s) { s.textureA->SetColorKey(std::nullopt); }},
        {"TextureRepainted",
         [](Direct3DDevice7&, const Scene& s) {
             SurfaceLock lock = s.textureA->Lock();
             for (std::uint32_t& t : lock.Pixels()) t ^= 0x00FFFF00u;
         }},
    };
    return c;
}

INSTANTIATE_TEST_SUITE_P(Setters, StateCacheTest,
                         ::testing::Combine(::testing::ValuesIn(Changes()),
                                            ::testing::Values(1, 8)),
                         [](const ::testing::TestParamInfo<std::tuple<Change, int>>& info) {
                             return std::get<0>(info.param).name + "_" +
                                    std::to_string(std::get<1>(info.param)) + "threads";
                         });

}  // namespace
}  // namespace brumil::platform
