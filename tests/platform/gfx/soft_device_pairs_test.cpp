// Draws whose triangles the device draws two by two (a quad's halves, where
// their spans meet), and quads drawn texel for texel, which it copies: the
// pixels and depths of the general loop, on one thread and on several.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gfx_test_util.h"

namespace brumil::platform {
namespace {

using testing::Loops;
using testing::TL;

constexpr int kWidth = 83, kHeight = 61;

struct Rng {
    std::uint32_t seed;
    float Range(float lo, float hi) {
        seed = seed * 1664525u + 1013904223u;
        return lo + (hi - lo) * float(seed >> 8) / float(1u << 24);
    }
    int Below(int n) { return int(Range(0, float(n))) % n; }
};

SurfacePtr Texture(int w, int h) {
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(w) * h);
    for (std::size_t i = 0; i < texels.size(); ++i) {
        // Alphas from clear to opaque, colours every which way.
        const std::uint32_t alpha = std::uint32_t(i * 53u + 11u) & 0xFFu;
        texels[i] = alpha << 24 | (std::uint32_t(i + 5) * 2654435761u >> 8);
    }
    return testing::MakeTexture(w, h, texels);
}

// A target filled with a pattern, so that every blend shows.
SurfacePtr Target() {
    SurfacePtr target = testing::MakeSurface(kWidth, kHeight);
    SurfaceLock lock = target->Lock();
    std::uint32_t n = 1;
    for (std::uint32_t& p : lock.Pixels()) p = (n++) * 2246822519u;
    return target;
}

struct SceneCase {
    const char* name;
    D3DLong colorOp, alphaOp;
    bool blend, depth, linear;
    D3DVIEWPORT7 viewport;  // lWidth 0: the whole target
};

// Turned, skewed and bent quads drawn as strips, fans, lists and indexed
// lists, with a triangle reaching far past the guard band between the
// halves of one list, each quad's corners of one colour but the quads'
// colours apart.
std::vector<std::uint32_t> DrawQuads(const SceneCase& k, Loops loops, int threads) {
    SurfacePtr target = Target();
    SurfacePtr depth =
        k.depth ? testing::MakeSurface(kWidth, kHeight, PixelFormat::Depth32F) : nullptr;
    SoftDeviceOptions options = testing::OptionsFor(loops);
    options.threads = threads;
    auto dev = CreateSoftDevice(target, depth, options);
    dev->BeginScene();
    if (k.depth) dev->Clear({}, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    if (k.viewport.lWidth > 0) dev->SetViewport(k.viewport);
    dev->SetTexture(0, Texture(32, 16));
    dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, k.colorOp);
    dev->SetTextureStageState(0, D3DTSS_ALPHAOP, k.alphaOp);
    const D3DLong filter = k.linear ? D3DTFG_LINEAR : D3DTFG_POINT;
    dev->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    dev->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, k.blend ? 1 : 0);
    dev->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    dev->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    if (k.depth) dev->SetRenderState(D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL);
    Rng rng{2024};
    for (int n = 0; n < 160; ++n) {
        const float cx = rng.Range(-8, kWidth + 8), cy = rng.Range(-8, kHeight + 8);
        const float size = rng.Range(1.0f, 48.0f), turn = rng.Range(0, 6.2832f);
        const float cs = std::cos(turn) * size / 2, sn = std::sin(turn) * size / 2;
        const float skew = n % 3 == 0 ? rng.Range(-0.4f, 0.4f) * size : 0.0f;
        const float u0 = rng.Range(-1, 1), v0 = rng.Range(-1, 1), span = rng.Range(0.3f, 2.5f);
        const std::uint32_t color = 0xFF000000u | (std::uint32_t(n) * 2654435761u >> 8);
        std::array<D3DTLVERTEX, 4> q;
        for (int i = 0; i < 4; ++i) {
            const float px = (i & 1) ? 1.0f : -1.0f, py = (i & 2) ? 1.0f : -1.0f;
            q[static_cast<std::size_t>(i)] =
                TL(cx + px * cs + py * (sn + skew), cy + py * cs - px * sn, u0 + (i & 1) * span,
                   v0 + (i >> 1) * span, color, rng.Range(0, 1));
        }
        if (n % 5 == 4) {  // bent: a dart or halves on one side
            q[3].sx = cx + rng.Range(-size, size);
            q[3].sy = cy + rng.Range(-size, size);
        }
        const std::span<const D3DTLVERTEX> corners(q);
        switch (n % 4) {
            case 0:
                testing::DrawStrip(*dev, q);
                break;
            case 1: {
                const std::array<D3DTLVERTEX, 4> fan = {q[0], q[1], q[3], q[2]};
                dev->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_TLVERTEX,
                                   std::span<const D3DTLVERTEX>(fan), 4, 0);
                break;
            }
            case 2: {
                // The guard band's clipping draws at once what it cuts.
                const std::array<D3DTLVERTEX, 9> list = {q[0],
                                                         q[1],
                                                         q[2],
                                                         TL(-40000, -3, 0, 0, color),
                                                         TL(40000, 9, 1, 0, color),
                                                         TL(cx, cy + 3, 0, 1, color),
                                                         q[1],
                                                         q[3],
                                                         q[2]};
                dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX,
                                   std::span<const D3DTLVERTEX>(list), 9, 0);
                break;
            }
            default: {
                const std::array<std::int16_t, 6> indices = {0, 1, 2, 1, 3, 2};
                dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, corners, 4,
                                          std::span<const std::int16_t>(indices), 6, 0);
                break;
            }
        }
    }
    dev->EndScene();
    return testing::PixelsAndDepth(*target, depth.get());
}

TEST(SoftDevicePairs, QuadsDrawnInPairsMatchTheGeneralLoop) {
    const SceneCase cases[] = {
        {"blended shots", D3DTOP_MODULATE, D3DTOP_MODULATE, true, false, true, {}},
        {"opaque with depth", D3DTOP_MODULATE, D3DTOP_SELECTARG1, false, true, true, {}},
        {"general combine", D3DTOP_BLENDTEXTUREALPHA, D3DTOP_MODULATE, true, true, true, {}},
        {"diffuse alpha", D3DTOP_SELECTARG1, D3DTOP_SELECTARG2, true, false, true, {}},
        {"point sampled", D3DTOP_MODULATE, D3DTOP_MODULATE, true, false, false, {}},
        {"in a viewport", D3DTOP_MODULATE, D3DTOP_MODULATE, true, true, true, {9, 7, 51, 40}},
    };
    for (const SceneCase& k : cases) {
        const std::vector<std::uint32_t> general = DrawQuads(k, Loops::General, 1);
        for (const int threads : {1, 3}) {
            EXPECT_TRUE(testing::Same(DrawQuads(k, Loops::Sixteen, threads), general))
                << k.name << ", " << threads << " threads";
        }
    }
}

struct CopyCase {
    const char* name;
    float x, y;  // the quad's top left corner on the target
    float u, v;  // the texture coordinates there
    float w, h;  // its size in pixels
    int texW, texH;
    bool linear;
    D3DLong alphaOp;  // SELECTARG2 ors the diffuse alpha in
};

// A quad of w x h pixels whose texture coordinates move one texel a pixel.
std::vector<std::uint32_t> DrawTexelForTexel(const CopyCase& k, Loops loops, int threads) {
    SurfacePtr target = Target();
    SoftDeviceOptions options = testing::OptionsFor(loops);
    options.threads = threads;
    auto dev = CreateSoftDevice(target, nullptr, options);
    dev->BeginScene();
    dev->SetTexture(0, Texture(k.texW, k.texH));
    dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    dev->SetTextureStageState(0, D3DTSS_ALPHAOP, k.alphaOp);
    const D3DLong filter = k.linear ? D3DTFG_LINEAR : D3DTFG_POINT;
    dev->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    dev->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    const float du = k.w / float(k.texW), dv = k.h / float(k.texH);
    const std::array<D3DTLVERTEX, 4> q = {
        TL(k.x, k.y, k.u, k.v, 0xFFFFFFFFu), TL(k.x + k.w, k.y, k.u + du, k.v, 0xFFFFFFFFu),
        TL(k.x, k.y + k.h, k.u, k.v + dv, 0xFFFFFFFFu),
        TL(k.x + k.w, k.y + k.h, k.u + du, k.v + dv, 0xFFFFFFFFu)};
    testing::DrawStrip(*dev, q);
    dev->EndScene();
    return testing::PixelsOf(*target);
}

TEST(SoftDevicePairs, QuadsDrawnTexelForTexelMatchTheGeneralLoop) {
    const CopyCase cases[] = {
        {"texel centres on pixel centres", -0.5f, -0.5f, 0, 0, 64, 40, 64, 64, true,
         D3DTOP_SELECTARG1},
        {"the diffuse alpha or'ed in", 3.5f, 2.5f, 0, 0, 48, 30, 64, 32, true, D3DTOP_SELECTARG2},
        {"wrapping round the texture twice", -0.5f, 4.5f, 0.75f, 0.5f, 83, 20, 32, 16, true,
         D3DTOP_SELECTARG1},
        {"a quarter texel off: filtered", -0.25f, -0.5f, 0.0625f, 0, 60, 30, 64, 64, true,
         D3DTOP_SELECTARG1},
        {"a quarter texel off: point sampled", -0.25f, -0.5f, 0.0625f, 0, 60, 30, 64, 64, false,
         D3DTOP_SELECTARG2},
        {"left of the texture's start", 10.5f, 0.5f, -0.25f, -0.125f, 50, 50, 16, 16, false,
         D3DTOP_SELECTARG1},
        {"rows past the texture's height", -0.5f, -0.5f, 0, 0, 64, 61, 64, 32, true,
         D3DTOP_SELECTARG1},
        {"narrow and partly off the target", 78.5f, -3.5f, 0.5f, 0.25f, 9, 70, 16, 32, true,
         D3DTOP_SELECTARG1},
    };
    for (const CopyCase& k : cases) {
        const std::vector<std::uint32_t> general = DrawTexelForTexel(k, Loops::General, 1);
        for (const Loops loops : testing::kFastLoops) {
            for (const int threads : {1, 3}) {
                EXPECT_TRUE(testing::Same(DrawTexelForTexel(k, loops, threads), general))
                    << k.name << ", " << testing::LoopsName(loops) << ", " << threads << " threads";
            }
        }
    }
}

}  // namespace
}  // namespace brumil::platform
