// The software device on the game's two heavy loads: a screen of alpha-blended
// rotated sprites over a textured background, and a lit, textured ground mesh;
// and the sprite load drawn by SDL2's software renderer for comparison.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "bench/support/ground_grid.h"
#include "bench/support/sdl_reference_renderer.h"
#include "platform/gfx/d3d_device.h"
#include "platform/gfx/dx7_math.h"
#include "platform/gfx/soft_device.h"
#include "platform/gfx/surface.h"

namespace {

using namespace brumil::platform;
using brumil::bench::GroundGrid;
using brumil::bench::GroundPatch;
using brumil::bench::SdlReferenceRenderer;

SurfacePtr NewSurface(int w, int h, PixelFormat f, bool texture) {
    SurfaceDesc d;
    d.width = w;
    d.height = h;
    d.format = f;
    d.texture = texture;
    return Surface::Create(d);
}

SurfacePtr Background() {
    SurfacePtr t = NewSurface(1024, 512, PixelFormat::Rgb888, true);
    auto lock = t->Lock();
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 1024; ++x) {
            lock.Pixels()[y * 1024 + x] = 0xFF000000u | std::uint32_t((x * 7) & 255) << 16 |
                                          std::uint32_t((y * 3) & 255) << 8 |
                                          std::uint32_t((x ^ y) & 255);
        }
    }
    return t;
}

// An opaque disc fading to transparent at its rim.
SurfacePtr Disc() {
    SurfacePtr t = NewSurface(32, 32, PixelFormat::Argb8888, true);
    auto lock = t->Lock();
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const float d = std::hypot(x - 15.5f, y - 15.5f);
            const float a = d < 10.0f ? 1.0f : (d > 16.0f ? 0.0f : (16.0f - d) / 6.0f);
            lock.Pixels()[y * 32 + x] = std::uint32_t(a * 255.0f) << 24 | 0x00FFC080u;
        }
    }
    return t;
}

D3DTLVERTEX TL(float x, float y, float u, float v) {
    D3DTLVERTEX t;
    t.sx = x;
    t.sy = y;
    t.rhw = 1.0f;
    t.color = static_cast<D3DLong>(0xFFFFFFFFu);
    t.tu = u;
    t.tv = v;
    return t;
}

// Where the sprites go: centres and angles (radians, counter-clockwise on
// the screen), fixed for every frame and the same for both renderers.
struct Placement {
    float cx, cy, angle;
};

std::vector<Placement> Placements(int n) {
    std::vector<Placement> out;
    std::uint32_t seed = 1;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        out.push_back({float(seed % 640), float((seed >> 12) % 480), float(i) * 0.37f});
    }
    return out;
}

void Sprites(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bool linear = state.range(1) != 0;
    SurfacePtr back = NewSurface(640, 480, PixelFormat::Rgb888, false);
    auto dev = CreateSoftDevice(back, nullptr);
    SurfacePtr bg = Background(), disc = Disc();
    std::vector<std::array<D3DTLVERTEX, 4>> quads;
    for (const Placement& p : Placements(n)) {
        const float cx = p.cx, cy = p.cy, c = std::cos(p.angle), s = std::sin(p.angle);
        std::array<D3DTLVERTEX, 4> q;
        for (int k = 0; k < 4; ++k) {
            const float px = (k & 1 ? 16.0f : -16.0f), py = (k & 2 ? 16.0f : -16.0f);
            q[k] = TL(cx + px * c + py * s - 0.5f, cy + py * c - px * s - 0.5f, float(k & 1),
                      float(k >> 1));
        }
        quads.push_back(q);
    }
    const std::array<D3DTLVERTEX, 4> bgQuad = {TL(-0.5f, -0.5f, 0, 0), TL(639.5f, -0.5f, 0.625f, 0),
                                               TL(-0.5f, 479.5f, 0, 0.9375f),
                                               TL(639.5f, 479.5f, 0.625f, 0.9375f)};
    dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    dev->SetTextureStageState(0, D3DTSS_MAGFILTER, linear ? D3DTFG_LINEAR : D3DTFG_POINT);
    dev->SetTextureStageState(0, D3DTSS_MINFILTER, linear ? D3DTFG_LINEAR : D3DTFG_POINT);
    for (auto _ : state) {
        dev->BeginScene();
        dev->Clear({}, D3DCLEAR_TARGET, 0, 1.0f, 0);
        // Background: render mode 0x10 (texture colour, no blending).
        dev->SetTexture(0, bg);
        dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
        dev->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, 0);
        dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
        dev->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX,
                           std::span<const D3DTLVERTEX>(bgQuad), 4, 0);
        // Sprites: render mode 0x211 (alpha blend, texture alpha x diffuse,
        // alpha test at 1).
        dev->SetTexture(0, disc);
        dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        dev->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
        dev->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
        dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        dev->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, 1);
        dev->SetRenderState(D3DRENDERSTATE_ALPHAREF, 1);
        dev->SetRenderState(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_GREATEREQUAL);
        for (const auto& q : quads) {
            dev->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX,
                               std::span<const D3DTLVERTEX>(q), 4, 0);
        }
        dev->EndScene();
        benchmark::DoNotOptimize(back->Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(Sprites)
    ->ArgsProduct({{150, 600, 2400}, {0, 1}})
    ->ArgNames({"sprites", "linear"})
    ->Unit(benchmark::kMillisecond);

// The same frame drawn by SDL2's own software renderer: the background copied,
// then each sprite blended and turned by SDL's rotation.
void SdlSprites(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bool linear = state.range(1) != 0;
    auto sdl = SdlReferenceRenderer::Create(640, 480);
    if (!sdl) {
        state.SkipWithError("SDL software renderer unavailable");
        return;
    }
    SurfacePtr bg = Background(), disc = Disc();
    const int bgTex = sdl->AddTexture(bg->Pixels(), bg->Width(), bg->Height(), false, linear);
    const int discTex = sdl->AddTexture(disc->Pixels(), 32, 32, true, linear);
    const std::vector<Placement> placements = Placements(n);
    constexpr double kDegrees = 180.0 / 3.14159265358979323846;
    for (auto _ : state) {
        sdl->Clear(0);
        sdl->Draw(bgTex, 0, 0, 640, 480, 0, 0, 640, 480, 0.0);
        for (const Placement& p : placements) {
            // SDL turns clockwise on the screen.
            sdl->Draw(discTex, 0, 0, 32, 32, int(p.cx) - 16, int(p.cy) - 16, 32, 32,
                      -double(p.angle) * kDegrees);
        }
        sdl->Finish();
        benchmark::DoNotOptimize(sdl->Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(SdlSprites)
    ->ArgsProduct({{150, 600, 2400}, {0, 1}})
    ->ArgNames({"sprites", "linear"})
    ->Unit(benchmark::kMillisecond);

// 150 patches of 4 x 4 cells each, lit by a directional and a point light,
// seen by a perspective camera from above and behind.
void GroundMesh(benchmark::State& state) {
    SurfacePtr back = NewSurface(640, 480, PixelFormat::Rgb888, false);
    SurfacePtr depth = NewSurface(640, 480, PixelFormat::Depth32F, false);
    auto dev = CreateSoftDevice(back, depth);
    SurfacePtr tex = NewSurface(64, 64, PixelFormat::Rgb888, true);
    {
        auto lock = tex->Lock();
        for (int i = 0; i < 64 * 64; ++i) lock.Pixels()[i] = 0xFF000000u | (i * 2654435761u >> 8);
    }
    const std::vector<GroundPatch> patches =
        GroundGrid({15, 10, 4, 2.5f, -75.0f,
                    [](float x, float z) { return std::sin(x * 0.1f) * std::cos(z * 0.1f); }});
    D3DMATRIX view, proj, world;
    DirectX7::ViewMatrix(view, {0, 25, -30}, {0, 0, 40}, {0, 1, 0}, 0);
    proj.rc11 = 2.414214f;
    proj.rc22 = 3.296559f;
    proj.rc33 = 1000.0f / 999.0f;
    proj.rc34 = 1;
    proj.rc43 = -1000.0f / 999.0f;
    DirectX7::IdentityMatrix(world);
    dev->SetTransform(D3DTRANSFORMSTATE_VIEW, view);
    dev->SetTransform(D3DTRANSFORMSTATE_PROJECTION, proj);
    dev->SetTransform(D3DTRANSFORMSTATE_WORLD, world);
    D3DMATERIAL7 m;
    m.diffuse = {1, 1, 1, 1};
    m.ambient = {1, 1, 1, 1};
    dev->SetMaterial(m);
    dev->SetRenderState(D3DRENDERSTATE_AMBIENT, 0x40404040);
    D3DLIGHT7 sun;
    sun.dltType = D3DLIGHT_DIRECTIONAL;
    sun.diffuse = {0.8f, 0.8f, 0.7f, 0};
    sun.direction = {0.3f, -1.0f, 0.5f};
    D3DLIGHT7 lamp;
    lamp.dltType = D3DLIGHT_POINT;
    lamp.diffuse = {1.0f, 0.5f, 0.2f, 0};
    lamp.position = {0, 5, 30};
    lamp.range = 100;
    lamp.attenuation0 = 0.75f;
    lamp.attenuation1 = 0.075f;
    lamp.attenuation2 = 0.0075f;
    dev->SetLight(0, sun);
    dev->LightEnable(0, true);
    dev->SetLight(1, lamp);
    dev->LightEnable(1, true);
    dev->SetTexture(0, tex);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    for (auto _ : state) {
        dev->BeginScene();
        dev->Clear({}, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        for (const GroundPatch& p : patches) {
            dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX,
                                      std::span<const D3DVERTEX>(p.v), D3DLong(p.v.size()), p.idx,
                                      D3DLong(p.idx.size()), 0);
        }
        dev->EndScene();
        benchmark::DoNotOptimize(back->Pixels().data());
    }
}
BENCHMARK(GroundMesh)->Unit(benchmark::kMillisecond);

// Where the cost is the triangles' set-up more than their pixels: 8000
// screen-space triangles of about `size` pixels a side (some tall and
// thin), textured in perspective with colours per corner, in one draw.
void SmallTriangles(benchmark::State& state) {
    const float size = float(state.range(0));
    SurfacePtr back = NewSurface(640, 480, PixelFormat::Rgb888, false);
    auto dev = CreateSoftDevice(back, nullptr);
    SurfacePtr tex = NewSurface(64, 64, PixelFormat::Rgb888, true);
    {
        auto lock = tex->Lock();
        for (int i = 0; i < 64 * 64; ++i) lock.Pixels()[i] = 0xFF000000u | (i * 2654435761u >> 8);
    }
    constexpr int kTriangles = 8000;
    std::vector<D3DTLVERTEX> v;
    std::uint32_t seed = 5;
    const auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int i = 0; i < kTriangles; ++i) {
        const float x = float(next() % 640), y = float(next() % 480);
        const float tall = i % 4 == 0 ? 4.0f : 1.0f;  // every fourth a sliver
        for (int k = 0; k < 3; ++k) {
            D3DTLVERTEX t =
                TL(x + size * float(next() % 100) / (100.0f * tall),
                   y + size * tall * float(next() % 100) / 100.0f, float(k & 1), float(k >> 1));
            t.rhw = 0.5f + float(next() % 100) / 100.0f;
            t.color = static_cast<D3DLong>(0xFF000000u | next());
            v.push_back(t);
        }
    }
    dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    dev->SetTexture(0, tex);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    for (auto _ : state) {
        dev->BeginScene();
        dev->Clear({}, D3DCLEAR_TARGET, 0, 1.0f, 0);
        dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, std::span<const D3DTLVERTEX>(v),
                           D3DLong(v.size()), 0);
        dev->EndScene();
        benchmark::DoNotOptimize(back->Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * kTriangles);
}
BENCHMARK(SmallTriangles)->Arg(3)->Arg(8)->Arg(24)->ArgName("size")->Unit(benchmark::kMillisecond);

}  // namespace
