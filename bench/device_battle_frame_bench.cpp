// A battle frame's drawing made from device calls alone, at 640 x 480: a lit,
// textured, depth-tested ground seen in perspective, 600 round shots with
// bilinear filtering, 40 additive beams and a few head-up display quads; at
// 1, 2, 4 and 8 rasterising threads.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "bench/support/ground_grid.h"
#include "platform/gfx/d3d_device.h"
#include "platform/gfx/dx7_math.h"
#include "platform/gfx/soft_device.h"
#include "platform/gfx/surface.h"

namespace {

using namespace brumil::platform;
using brumil::bench::GroundGrid;
using brumil::bench::GroundPatch;

SurfacePtr NewSurface(int w, int h, PixelFormat f, bool texture) {
    SurfaceDesc d;
    d.width = w;
    d.height = h;
    d.format = f;
    d.texture = texture;
    return Surface::Create(d);
}

// A texture whose texel (x, y) is f(x, y).
template <typename F>
SurfacePtr Texture(int w, int h, F f) {
    SurfacePtr t = NewSurface(w, h, PixelFormat::Argb8888, true);
    auto lock = t->Lock();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) lock.Pixels()[y * w + x] = f(x, y);
    }
    return t;
}

D3DTLVERTEX TL(float x, float y, float u, float v, std::uint32_t color) {
    D3DTLVERTEX t;
    t.sx = x;
    t.sy = y;
    t.rhw = 1.0f;
    t.color = static_cast<D3DLong>(color);
    t.tu = u;
    t.tv = v;
    return t;
}

// A quad of half sides (hx, hy) turned by `angle` about (cx, cy), in strip order.
std::array<D3DTLVERTEX, 4> Turned(float cx, float cy, float hx, float hy, float angle,
                                  std::uint32_t color) {
    const float c = std::cos(angle), s = std::sin(angle);
    std::array<D3DTLVERTEX, 4> q;
    for (int k = 0; k < 4; ++k) {
        const float px = k & 1 ? hx : -hx, py = k & 2 ? hy : -hy;
        q[k] = TL(cx + px * c + py * s - 0.5f, cy + py * c - px * s - 0.5f, float(k & 1),
                  float(k >> 1), color);
    }
    return q;
}

// A 5 x 5 field of 8 x 8-cell patches with gentle hills, as the stage's floor.
std::vector<GroundPatch> Patches() {
    return GroundGrid({5, 5, 8, 1.0f, -20.0f, [](float x, float z) {
                           return 0.6f * std::sin(x * 0.3f) * std::cos(z * 0.25f);
                       }});
}

void SetUpGround(Direct3DDevice7& dev) {
    D3DMATRIX view, proj, world;
    DirectX7::ViewMatrix(view, {0, 6, -4}, {0, 0, 14}, {0, 1, 0}, 0);
    proj.rc11 = 1.0f;
    proj.rc22 = 1.3333f;
    proj.rc33 = 1000.0f / 999.0f;
    proj.rc34 = 1;
    proj.rc43 = -1000.0f / 999.0f;
    DirectX7::IdentityMatrix(world);
    dev.SetTransform(D3DTRANSFORMSTATE_VIEW, view);
    dev.SetTransform(D3DTRANSFORMSTATE_PROJECTION, proj);
    dev.SetTransform(D3DTRANSFORMSTATE_WORLD, world);
    D3DMATERIAL7 m;
    m.diffuse = {0.8f, 0.8f, 0.8f, 1};
    m.ambient = {1, 1, 1, 1};
    dev.SetMaterial(m);
    D3DLIGHT7 lamp;
    lamp.dltType = D3DLIGHT_POINT;
    lamp.diffuse = {1.0f, 0.8f, 0.6f, 0};
    lamp.position = {0, 3, 10};
    lamp.range = 60;
    lamp.attenuation0 = 0.6f;
    lamp.attenuation1 = 0.02f;
    D3DLIGHT7 spot;
    spot.dltType = D3DLIGHT_SPOT;
    spot.diffuse = {0.4f, 0.4f, 0.6f, 0};
    spot.position = {0, 8, 0};
    spot.direction = {0, -1, 1};
    spot.range = 80;
    spot.attenuation0 = 1;
    spot.theta = 0.4f;
    spot.phi = 1.2f;
    spot.falloff = 1;
    dev.SetLight(0, lamp);
    dev.LightEnable(0, true);
    dev.SetLight(1, spot);
    dev.LightEnable(1, true);
}

void BM_DeviceBattleFrame(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    SurfacePtr back = NewSurface(640, 480, PixelFormat::Rgb888, false);
    SurfacePtr depth = NewSurface(640, 480, PixelFormat::Depth32F, false);
    auto dev = CreateSoftDevice(back, depth, {true, threads});
    const SurfacePtr ground = Texture(256, 256, [](int x, int y) {
        return 0xFF000000u | std::uint32_t((x * 5) & 255) << 16 |
               std::uint32_t((y * 3) & 255) << 8 | std::uint32_t((x ^ y) & 255);
    });
    const SurfacePtr shot = Texture(32, 32, [](int x, int y) {
        const float d = std::hypot(float(x) - 15.5f, float(y) - 15.5f);
        const float a = d < 10.0f ? 1.0f : (d > 16.0f ? 0.0f : (16.0f - d) / 6.0f);
        return std::uint32_t(a * 255.0f) << 24 | 0x00FFC080u;
    });
    const SurfacePtr beam = Texture(64, 16, [](int x, int y) {
        const float a = 1.0f - std::fabs(float(y) - 7.5f) / 8.0f;
        return std::uint32_t(a * 255.0f) << 24 | std::uint32_t(128 + x) << 8 | 0x00400000u;
    });
    const SurfacePtr hud = Texture(128, 32, [](int x, int y) {
        return (x + y) % 9 == 0 ? 0u : 0xFF000000u | std::uint32_t(x * 2) << 16 | 0x3030u;
    });
    const std::vector<GroundPatch> patches = Patches();
    std::vector<std::array<D3DTLVERTEX, 4>> shots, beams;
    std::uint32_t seed = 7;
    for (int i = 0; i < 600; ++i) {
        seed = seed * 1664525u + 1013904223u;
        shots.push_back(Turned(float(seed % 640), float((seed >> 12) % 480), 16, 16,
                               float(i) * 0.37f, 0xFFFFFFFFu));
    }
    for (int i = 0; i < 40; ++i) {
        seed = seed * 1664525u + 1013904223u;
        beams.push_back(Turned(float(seed % 640), float((seed >> 12) % 480), 160, 8,
                               float(i) * 0.61f, 0xC0FFFFFFu));
    }
    const std::array<std::array<D3DTLVERTEX, 4>, 4> hudQuads = {
        Turned(160, 24, 150, 16, 0, 0xFFFFFFFFu), Turned(480, 24, 150, 16, 0, 0xFFFFFFFFu),
        Turned(320, 456, 300, 16, 0, 0xFFFFFFFFu), Turned(320, 240, 64, 16, 0, 0xFFFFFFFFu)};
    SetUpGround(*dev);
    dev->SetRenderState(D3DRENDERSTATE_AMBIENT, 0x40404040);
    const auto strip = [&](const std::array<D3DTLVERTEX, 4>& q) {
        dev->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, std::span<const D3DTLVERTEX>(q), 4,
                           0);
    };
    for (auto _ : state) {
        dev->BeginScene();
        dev->Clear({}, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        // The ground: lit, modulated, bilinear, depth-tested.
        dev->SetRenderState(D3DRENDERSTATE_ZENABLE, 1);
        dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
        dev->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, 0);
        dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
        dev->SetTexture(0, ground);
        dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        dev->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
        dev->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFG_LINEAR);
        for (const GroundPatch& g : patches) {
            dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX,
                                      std::span<const D3DVERTEX>(g.v), D3DLong(g.v.size()), g.idx,
                                      D3DLong(g.idx.size()), 0);
        }
        // Shots: blended by texture alpha x diffuse, alpha test at 1.
        dev->SetRenderState(D3DRENDERSTATE_ZENABLE, 0);
        dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        dev->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
        dev->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
        dev->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, 1);
        dev->SetRenderState(D3DRENDERSTATE_ALPHAREF, 1);
        dev->SetRenderState(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_GREATEREQUAL);
        dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        dev->SetTexture(0, shot);
        for (const auto& q : shots) strip(q);
        // Beams: added to the picture.
        dev->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
        dev->SetTexture(0, beam);
        for (const auto& q : beams) strip(q);
        // The head-up display: point sampled, opaque where drawn.
        dev->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
        dev->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_POINT);
        dev->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFG_POINT);
        dev->SetTexture(0, hud);
        for (const auto& q : hudQuads) strip(q);
        dev->EndScene();
        benchmark::DoNotOptimize(back->Pixels().data());
    }
}
BENCHMARK(BM_DeviceBattleFrame)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
