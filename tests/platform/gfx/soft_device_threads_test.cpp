// Banded drawing on worker threads against drawing each primitive as it
// comes: seeded random scenes of triangles, sprites, lines and state changes,
// and every way the pixels can be reached from outside while draws are
// recorded, must give the same colour and depth bits at any thread count.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "band_pool.h"
#include "gfx_test_util.h"
#include "platform/gfx/dx7_math.h"

namespace brumil::platform {
namespace {

using testing::MakeSurface;
using testing::TL;

struct Lcg {
    std::uint32_t seed;
    std::uint32_t Next() {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
    float Range(float lo, float hi) { return lo + (hi - lo) * float(Next() % 10000) / 10000.0f; }
    template <typename T, std::size_t N>
    T Pick(const T (&items)[N]) {
        return items[Below(static_cast<int>(N))];
    }
};

constexpr int kW = 97, kH = 83;  // no multiple of any band height

std::vector<SurfacePtr> MakeTextures(Lcg& rng) {
    const int sides[][2] = {{16, 16}, {8, 4}, {13, 7}, {1, 32}};
    std::vector<SurfacePtr> out;
    for (const auto& s : sides) {
        std::vector<std::uint32_t> texels(static_cast<std::size_t>(s[0] * s[1]));
        for (auto& t : texels) {
            t = rng.Next() * 2654435761u;
            if (rng.Below(4) == 0) t &= 0x00FFFFFFu;
            if (rng.Below(4) == 0) t |= 0xFF000000u;
        }
        texels[0] = 0x00123456u;
        SurfacePtr tex = testing::MakeTexture(s[0], s[1], texels);
        tex->SetColorKey(0x00123456u);
        out.push_back(tex);
    }
    return out;
}

// One random state change or draw on `dev`. With `onEdges`, the corners of
// lines and strips lie on even rows (every band edge of this target's
// devices) or a sub-pixel step beside them.
void RandomStep(Direct3DDevice7& dev, Lcg& rng, const std::vector<SurfacePtr>& textures,
                bool onEdges = false) {
    const D3DLong blends[] = {D3DBLEND_ZERO,        D3DBLEND_ONE,         D3DBLEND_SRCCOLOR,
                              D3DBLEND_INVSRCCOLOR, D3DBLEND_SRCALPHA,    D3DBLEND_INVSRCALPHA,
                              D3DBLEND_DESTALPHA,   D3DBLEND_INVDESTCOLOR};
    const D3DLong funcs[] = {D3DCMP_NEVER,   D3DCMP_LESS,     D3DCMP_EQUAL,        D3DCMP_LESSEQUAL,
                             D3DCMP_GREATER, D3DCMP_NOTEQUAL, D3DCMP_GREATEREQUAL, D3DCMP_ALWAYS};
    const D3DLong ops[] = {D3DTOP_DISABLE,          D3DTOP_SELECTARG1, D3DTOP_SELECTARG2,
                           D3DTOP_MODULATE,         D3DTOP_MODULATE2X, D3DTOP_ADD,
                           D3DTOP_ADDSIGNED,        D3DTOP_SUBTRACT,   D3DTOP_BLENDDIFFUSEALPHA,
                           D3DTOP_BLENDTEXTUREALPHA};
    const D3DLong args[] = {D3DTA_DIFFUSE,  D3DTA_TEXTURE,        D3DTA_TFACTOR,
                            D3DTA_SPECULAR, D3DTA_TEXTURE | 0x10, D3DTA_DIFFUSE | 0x20};
    const auto color = [&] { return static_cast<D3DLong>(rng.Next() * 2246822519u); };
    const float besideEdges[] = {0.0f, 1.0f / 256, -1.0f / 256, 1.0f / 512, -1.0f / 512};
    const auto edge = [&](float y) {
        return onEdges ? 2.0f * std::round(y / 2.0f) + rng.Pick(besideEdges) : y;
    };
    const auto tl = [&](float lo, float hi) {
        D3DTLVERTEX v =
            TL(rng.Range(lo, hi), rng.Range(lo, hi), rng.Range(-1.5f, 2.5f), rng.Range(-1.5f, 2.5f),
               static_cast<std::uint32_t>(color()), rng.Range(-0.1f, 1.1f),
               rng.Below(3) == 0 ? rng.Range(0.1f, 3.0f) : 1.0f);
        v.specular = color();
        v.sy = edge(v.sy);
        return v;
    };
    switch (rng.Below(16)) {
        case 0:
            dev.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, rng.Below(3) != 0);
            dev.SetRenderState(D3DRENDERSTATE_SRCBLEND, rng.Pick(blends));
            dev.SetRenderState(D3DRENDERSTATE_DESTBLEND, rng.Pick(blends));
            break;
        case 1:
            dev.SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, rng.Below(2));
            dev.SetRenderState(D3DRENDERSTATE_ALPHAFUNC, rng.Pick(funcs));
            dev.SetRenderState(D3DRENDERSTATE_ALPHAREF, rng.Below(256));
            break;
        case 2:
            dev.SetRenderState(D3DRENDERSTATE_ZENABLE, rng.Below(3) != 0);
            dev.SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, rng.Below(3) != 0);
            dev.SetRenderState(D3DRENDERSTATE_ZFUNC, rng.Pick(funcs));
            break;
        case 3:
            dev.SetRenderState(D3DRENDERSTATE_CULLMODE, 1 + rng.Below(3));
            dev.SetRenderState(D3DRENDERSTATE_SHADEMODE, 1 + rng.Below(2));
            dev.SetRenderState(D3DRENDERSTATE_SPECULARENABLE, rng.Below(2));
            dev.SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, rng.Below(2));
            dev.SetRenderState(D3DRENDERSTATE_TEXTUREFACTOR, color());
            break;
        case 4:
            dev.SetTextureStageState(0, D3DTSS_COLOROP, rng.Pick(ops));
            dev.SetTextureStageState(0, D3DTSS_COLORARG1, rng.Pick(args));
            dev.SetTextureStageState(0, D3DTSS_COLORARG2, rng.Pick(args));
            dev.SetTextureStageState(0, D3DTSS_ALPHAOP, rng.Pick(ops));
            dev.SetTextureStageState(0, D3DTSS_ALPHAARG1, rng.Pick(args));
            break;
        case 5: {
            // The game's commonest states: a texture modulated, blended or not.
            dev.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
            dev.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
            dev.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_CURRENT);
            dev.SetTextureStageState(0, D3DTSS_ALPHAOP,
                                     rng.Below(2) ? D3DTOP_MODULATE : D3DTOP_SELECTARG1);
            dev.SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
            const D3DLong filter = rng.Below(2) ? D3DTFG_LINEAR : D3DTFG_POINT;
            dev.SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
            dev.SetTextureStageState(0, D3DTSS_MINFILTER, filter);
            dev.SetTextureStageState(0, D3DTSS_ADDRESS, 1 + rng.Below(3));
            break;
        }
        case 6: {
            const int i = rng.Below(static_cast<int>(textures.size()) + 1);
            dev.SetTexture(0, i < static_cast<int>(textures.size()) ? textures[i] : nullptr);
            break;
        }
        case 7: {
            D3DVIEWPORT7 vp{0, 0, kW, kH, 0.0f, 1.0f};
            if (rng.Below(2) != 0) {
                vp.lX = rng.Below(30);
                vp.lY = rng.Below(30);
                vp.lWidth = 1 + rng.Below(kW - vp.lX);
                vp.lHeight = 1 + rng.Below(kH - vp.lY);
            }
            dev.SetViewport(vp);
            break;
        }
        case 8:
            if (rng.Below(8) == 0) {
                const D3DRECT r{rng.Below(kW), rng.Below(kH), rng.Below(kW + 9), rng.Below(kH + 9)};
                dev.Clear(std::span<const D3DRECT>(&r, 1), D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER,
                          color(), rng.Range(0.0f, 1.0f), 0);
            }
            break;
        case 9: {  // a sprite: an upright or turned quad
            const float cx = rng.Range(-10.0f, kW + 10.0f), cy = rng.Range(-10.0f, kH + 10.0f);
            const float a = rng.Below(2) ? 0.0f : rng.Range(0.0f, 6.3f), r = rng.Range(1.0f, 20.0f);
            const D3DLong c = color();
            std::array<D3DTLVERTEX, 4> q;
            for (int k = 0; k < 4; ++k) {
                const float px = k & 1 ? r : -r, py = k & 2 ? r : -r;
                q[k] = TL(cx + px * std::cos(a) + py * std::sin(a),
                          cy + py * std::cos(a) - px * std::sin(a), float(k & 1), float(k >> 1),
                          static_cast<std::uint32_t>(c), 0.25f);
            }
            testing::DrawStrip(dev, q);
            break;
        }
        case 10: {  // lines, some running off the target
            std::array<D3DTLVERTEX, 4> v;
            for (auto& x : v) x = tl(-20.0f, 110.0f);
            dev.DrawPrimitive(rng.Below(2) ? D3DPT_LINELIST : D3DPT_LINESTRIP, D3DFVF_TLVERTEX,
                              std::span<const D3DTLVERTEX>(v), 4, 0);
            break;
        }
        case 11: {  // pre-lit or lit vertices through a perspective camera
            std::array<D3DVERTEX, 6> lit;
            std::array<D3DLVERTEX, 6> pre;
            for (int k = 0; k < 6; ++k) {
                DirectX7::CreateD3DVertex(rng.Range(-6, 6), rng.Range(-6, 6), rng.Range(-2, 12), 0,
                                          1, 0, rng.Range(0, 1), rng.Range(0, 1), lit[k]);
                pre[k] = {lit[k].x, lit[k].y, lit[k].z, 0, color(), color(), lit[k].tu, lit[k].tv};
            }
            const std::int16_t idx[] = {0, 1, 2, 3, 4, 5, 0, 2, 4};
            if (rng.Below(2) != 0) {
                dev.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX,
                                         std::span<const D3DVERTEX>(lit), 6, idx, 9, 0);
            } else {
                dev.DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_LVERTEX,
                                  std::span<const D3DLVERTEX>(pre), 6, 0);
            }
            break;
        }
        default: {  // a strip of small triangles, some huge or off the target
            std::array<D3DTLVERTEX, 5> v;
            const bool huge = rng.Below(20) == 0;
            for (auto& x : v) x = huge ? tl(-40000.0f, 40000.0f) : tl(-8.0f, 105.0f);
            for (std::size_t k = 1; k < v.size() && !huge; ++k) {
                v[k].sx = v[0].sx + rng.Range(-25.0f, 25.0f);
                v[k].sy = edge(v[0].sy + rng.Range(-25.0f, 25.0f));
            }
            dev.DrawPrimitive(rng.Below(2) ? D3DPT_TRIANGLESTRIP : D3DPT_TRIANGLELIST,
                              D3DFVF_TLVERTEX, std::span<const D3DTLVERTEX>(v), 5, 0);
            break;
        }
    }
}

void SetCameraAndLight(Direct3DDevice7& dev) {
    D3DMATRIX view, proj;
    DirectX7::ViewMatrix(view, {0, 4, -10}, {0, 0, 4}, {0, 1, 0}, 0);
    proj.rc11 = 2.4f;
    proj.rc22 = 2.8f;
    proj.rc33 = 50.0f / 49.5f;
    proj.rc34 = 1;
    proj.rc43 = -25.0f / 49.5f;
    proj.rc44 = 0;
    dev.SetTransform(D3DTRANSFORMSTATE_VIEW, view);
    dev.SetTransform(D3DTRANSFORMSTATE_PROJECTION, proj);
    D3DMATERIAL7 m;
    m.diffuse = {1, 1, 1, 0.5f};
    m.ambient = {1, 1, 1, 1};
    dev.SetMaterial(m);
    D3DLIGHT7 lamp;
    lamp.dltType = D3DLIGHT_POINT;
    lamp.diffuse = {1.0f, 0.6f, 0.3f, 0};
    lamp.position = {0, 3, 3};
    lamp.range = 40;
    lamp.attenuation0 = 0.5f;
    dev.SetLight(0, lamp);
    dev.LightEnable(0, true);
}

struct Frame {
    std::vector<std::uint32_t> bits;  // colour, then depth bits
    int changed = 0;                  // target pixels the scene changed
};

// `steps` random steps from `seed`, drawn with the given options; every
// `readEvery` steps the target is read mid-scene (0: never).
Frame DrawRandomScene(std::uint32_t seed, int steps, SoftDeviceOptions options, int readEvery,
                      bool onEdges = false) {
    Lcg rng{seed};
    SurfacePtr target = MakeSurface(kW, kH), depth = MakeSurface(kW, kH, PixelFormat::Depth32F);
    {
        SurfaceLock lock = target->Lock();
        for (std::uint32_t& p : lock.Pixels()) p = rng.Next() * 2246822519u;
    }
    const std::vector<std::uint32_t> before = testing::PixelsOf(*target);
    const std::vector<SurfacePtr> textures = MakeTextures(rng);
    auto dev = CreateSoftDevice(target, depth, options);
    SetCameraAndLight(*dev);
    std::uint64_t midSum = 0;
    dev->BeginScene();
    for (int i = 0; i < steps; ++i) {
        RandomStep(*dev, rng, textures, onEdges);
        if (readEvery > 0 && i % readEvery == readEvery - 1) {
            midSum = midSum * 31 + target->PixelAt(rng.Below(kW), rng.Below(kH));
        }
        if (i % 500 == 499) {  // scenes end and begin again
            dev->EndScene();
            dev->BeginScene();
        }
    }
    dev->EndScene();
    Frame f{testing::PixelsOf(*target)};
    for (std::size_t i = 0; i < before.size(); ++i) f.changed += f.bits[i] != before[i];
    for (float z : depth->Depth()) f.bits.push_back(std::bit_cast<std::uint32_t>(z));
    f.bits.push_back(static_cast<std::uint32_t>(midSum));
    return f;
}

class SoftDeviceThreads : public ::testing::TestWithParam<int> {};

TEST_P(SoftDeviceThreads, RandomScenesMatchTheGeneralLoopOnOneThread) {
    const int threads = GetParam();
    for (std::uint32_t seed : {11u, 202u, 3003u}) {
        const Frame reference = DrawRandomScene(seed, 1500, {false, 1}, 0);
        const Frame banded = DrawRandomScene(seed, 1500, {true, threads}, 0);
        // The scene draws over most of the target, so a fault has room to show.
        EXPECT_GT(reference.changed, kW * kH * 3 / 4) << "seed " << seed;
        ASSERT_EQ(reference.bits.size(), banded.bits.size());
        const auto diff =
            std::mismatch(reference.bits.begin(), reference.bits.end(), banded.bits.begin());
        EXPECT_TRUE(diff.first == reference.bits.end())
            << "seed " << seed << " first differing word " << (diff.first - reference.bits.begin())
            << " of " << reference.bits.size();
    }
}

TEST_P(SoftDeviceThreads, CornersOnAndBesideBandEdgesMatchOneThread) {
    const int threads = GetParam();
    for (std::uint32_t seed : {5u, 77u}) {
        const Frame one = DrawRandomScene(seed, 1500, {true, 1}, 0, true);
        const Frame banded = DrawRandomScene(seed, 1500, {true, threads}, 0, true);
        EXPECT_GT(one.changed, kW * kH * 3 / 4) << "seed " << seed;
        ASSERT_EQ(one.bits.size(), banded.bits.size());
        const auto diff = std::mismatch(one.bits.begin(), one.bits.end(), banded.bits.begin());
        EXPECT_TRUE(diff.first == one.bits.end())
            << "seed " << seed << " first differing word " << (diff.first - one.bits.begin())
            << " of " << one.bits.size();
    }
}

TEST_P(SoftDeviceThreads, ReadsInTheMiddleOfAScenePickUpEveryDrawBeforeThem) {
    const int threads = GetParam();
    for (int readEvery : {1, 7, 60}) {
        EXPECT_EQ(DrawRandomScene(99, 600, {true, 1}, readEvery).bits,
                  DrawRandomScene(99, 600, {true, threads}, readEvery).bits)
            << "reading every " << readEvery << " steps";
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, SoftDeviceThreads, ::testing::Values(1, 2, 3, 8));

// A quad filling the target with the texture, drawn and then followed by an
// outside access; answers the target's pixels after a second quad.
struct OutsideCase {
    const char* name;
    // Runs between the two draws, on the target and the texture.
    std::function<void(Surface& target, Surface& texture)> access;
};

std::vector<std::uint32_t> DrawAroundAccess(const OutsideCase& c, int threads) {
    SurfacePtr target = MakeSurface(40, 40);
    std::vector<std::uint32_t> texels(16);
    for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = 0xFF000000u | (0x111111u * i);
    SurfacePtr tex = testing::MakeTexture(4, 4, texels);
    auto dev = CreateSoftDevice(target, nullptr, {true, threads});
    dev->BeginScene();
    dev->SetTexture(0, tex);
    testing::DrawStrip(*dev, testing::Quad(0, 0, 40, 40));
    c.access(*target, *tex);
    dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    dev->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    dev->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    testing::DrawStrip(*dev, testing::Quad(5, 5, 30, 30, 0xFF404040u));
    std::vector<std::uint32_t> out = testing::PixelsOf(*target);
    dev->EndScene();
    return out;
}

TEST(SoftDeviceThreadsOutside, EveryOutsideAccessSeesTheDrawsBeforeItAndNoneAfter) {
    const OutsideCase cases[] = {
        {"lock and write the target",
         [](Surface& t, Surface&) {
             SurfaceLock lock = t.Lock();
             for (std::size_t i = 0; i < lock.Pixels().size(); i += 3) lock.Pixels()[i] ^= 0xFFu;
         }},
        {"rewrite the texture",
         [](Surface&, Surface& x) {
             SurfaceLock lock = x.Lock();
             for (std::uint32_t& p : lock.Pixels()) p = ~p | 0xFF000000u;
         }},
        {"blit the target onto itself",
         [](Surface& t, Surface&) {
             t.Blt({3, 0, 40, 37}, t, {0, 3, 37, 40}, false);
         }},
        {"blit the texture onto the target",
         [](Surface& t, Surface& x) {
             t.Blt({0, 0, 20, 20}, x, x.Rect(), false);
         }},
        {"fill part of the target",
         [](Surface& t, Surface&) {
             t.BltColorFill({2, 2, 9, 30}, 7u);
         }},
        {"draw a box on the target", [](Surface& t, Surface&) { t.DrawBox(1, 1, 30, 20); }},
        {"copy a read pixel back",
         [](Surface& t, Surface&) {
             const std::uint32_t p = t.PixelAt(20, 20);
             SurfaceLock lock = t.Lock();
             lock.Pixels()[0] = p;
         }},
    };
    for (const OutsideCase& c : cases) {
        const std::vector<std::uint32_t> one = DrawAroundAccess(c, 1);
        for (int threads : {2, 8}) {
            EXPECT_EQ(one, DrawAroundAccess(c, threads)) << c.name << " at " << threads;
        }
    }
}

TEST(SoftDeviceThreadsOutside, ADeviceDrawingIntoAnotherDevicesTextureFinishesFirst) {
    const auto run = [](int threads) {
        SurfacePtr screen = MakeSurface(32, 32);
        SurfacePtr canvas = MakeSurface(8, 8, PixelFormat::Argb8888, true);
        auto painter = CreateSoftDevice(canvas, nullptr, {true, threads});
        auto viewer = CreateSoftDevice(screen, nullptr, {true, threads});
        painter->BeginScene();
        viewer->BeginScene();
        painter->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        viewer->SetTexture(0, canvas);
        for (std::uint32_t k = 0; k < 6; ++k) {
            // Each round paints the canvas, then shows it in a new place.
            painter->SetTexture(0, nullptr);
            testing::DrawStrip(*painter, testing::Quad(float(k), 0, 4, 8, 0xFF000000u | k * 40u));
            testing::DrawStrip(*viewer, testing::Quad(float(k * 4), float(k * 4), 8, 8));
        }
        viewer->EndScene();
        painter->EndScene();
        return testing::PixelsOf(*screen);
    };
    const std::vector<std::uint32_t> one = run(1);
    EXPECT_EQ(one, run(2));
    EXPECT_EQ(one, run(8));
}

TEST(SoftDeviceThreadsOutside, DrawsStillRecordedWhenTheDeviceGoesAreKept) {
    std::vector<std::uint32_t> pictures[2];
    for (int i = 0; i < 2; ++i) {
        SurfacePtr target = MakeSurface(20, 20);
        {
            auto dev = CreateSoftDevice(target, nullptr, {true, i == 0 ? 1 : 4});
            dev->BeginScene();
            testing::DrawStrip(*dev, testing::Quad(2, 3, 12, 9, 0xFF00FF00u));
        }
        pictures[i] = testing::PixelsOf(*target);
    }
    EXPECT_EQ(pictures[0], pictures[1]);
    EXPECT_NE(std::count(pictures[1].begin(), pictures[1].end(), 0xFF00FF00u), 0);
}

TEST(BandPool, RunsEveryTaskOnceForAnyThreadAndTaskCount) {
    for (int threads : {1, 2, 3, 8}) {
        raster::BandPool pool(threads);
        EXPECT_EQ(pool.Threads(), threads);
        for (int count : {0, 1, 5, 64, 301}) {
            for (int round = 0; round < 3; ++round) {
                std::vector<std::atomic<int>> runs(static_cast<std::size_t>(count));
                pool.Run(count, [&](int i) { runs[static_cast<std::size_t>(i)].fetch_add(1); });
                for (int i = 0; i < count; ++i) {
                    ASSERT_EQ(runs[static_cast<std::size_t>(i)].load(), 1)
                        << threads << " threads, task " << i << " of " << count;
                }
            }
        }
    }
}

TEST(BandPool, TheEnvironmentChoosesTheThreadCountWhenItHoldsACount) {
    const int machine = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
    struct Case {
        const char* value;  // null: unset
        int threads;
    };
    const char* const saved = getenv("BRUMIL_RENDER_THREADS");
    const std::string before = saved != nullptr ? saved : "";
    const Case cases[] = {{"3", 3},        {"1", 1},         {"64", 64},      {"0", machine},
                          {"65", machine}, {"two", machine}, {"4x", machine}, {nullptr, machine}};
    for (const Case& c : cases) {
        if (c.value != nullptr) {
            setenv("BRUMIL_RENDER_THREADS", c.value, 1);
        } else {
            unsetenv("BRUMIL_RENDER_THREADS");
        }
        EXPECT_EQ(raster::DefaultRenderThreads(), c.threads) << (c.value ? c.value : "unset");
    }
    if (saved != nullptr) {
        setenv("BRUMIL_RENDER_THREADS", before.c_str(), 1);
    } else {
        unsetenv("BRUMIL_RENDER_THREADS");
    }
}

}  // namespace
}  // namespace brumil::platform
