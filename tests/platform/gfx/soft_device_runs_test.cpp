// The sprite path's shortcuts against the general loop: triangles handed to
// the four-pixel loops in runs of rows, four opaque pixels stored without a
// blend, four neighbouring texels read with one load, and the alpha-test
// table made in pieces.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gfx_test_util.h"
#include "pixel.h"
#include "span.h"

namespace brumil::platform {
namespace {

using testing::Loops;
using testing::MakeSurface;
using testing::TL;

// An opaque disc fading to transparent at its rim, as the game's shots are.
SurfacePtr Disc(int size) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(size) * size);
    const float c = float(size) / 2.0f - 0.5f, r = float(size) / 2.0f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float d = std::hypot(float(x) - c, float(y) - c);
            const float a = d < r * 0.6f ? 1.0f : (d > r ? 0.0f : (r - d) / (r * 0.4f));
            px[y * size + x] = std::uint32_t(a * 255.0f) << 24 | std::uint32_t(x * 8) << 16 |
                               std::uint32_t(y * 8) << 8 | 0x40u;
        }
    }
    return testing::MakeTexture(size, size, px);
}

struct RunCase {
    const char* name;
    bool linear;
    std::uint32_t tint;   // diffuse colour of the sprites
    bool alphaTest;       // alpha test at 1
    D3DLong backgroundU;  // texel columns the background spans: 1:1 when 150
};

// A background then rotated sprite strips, small and large (one taller than a
// run of rows), some across the target's edges, on a target whose width is no
// multiple of four. Answers the target's pixels.
std::vector<std::uint32_t> DrawSprites(const RunCase& c, Loops loops) {
    constexpr int kW = 150, kH = 130;
    SurfacePtr target = MakeSurface(kW, kH);
    auto dev = CreateSoftDevice(target, nullptr, testing::OptionsFor(loops));
    std::vector<std::uint32_t> bgTexels(64 * 64);
    for (std::size_t i = 0; i < bgTexels.size(); ++i) {
        bgTexels[i] = 0xFF000000u | std::uint32_t(i * 2654435761u >> 8);
    }
    SurfacePtr bg = testing::MakeTexture(64, 64, bgTexels, PixelFormat::Rgb888);
    SurfacePtr disc = Disc(32);
    dev->BeginScene();
    dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    const D3DLong filter = c.linear ? D3DTFG_LINEAR : D3DTFG_POINT;
    dev->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    dev->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    // Background: texture colour, no blending; the texture wraps along rows.
    dev->SetTexture(0, bg);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    const float bu = float(c.backgroundU) / 64.0f, bv = float(kH) / 64.0f;
    const std::array<D3DTLVERTEX, 4> back = {
        TL(-0.5f, -0.5f, 0.25f, 0), TL(kW - 0.5f, -0.5f, bu + 0.25f, 0),
        TL(-0.5f, kH - 0.5f, 0.25f, bv), TL(kW - 0.5f, kH - 0.5f, bu + 0.25f, bv)};
    testing::DrawStrip(*dev, back);
    // Sprites: alpha blend, texture alpha x diffuse.
    dev->SetTexture(0, disc);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    dev->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    dev->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    dev->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, c.alphaTest ? 1 : 0);
    dev->SetRenderState(D3DRENDERSTATE_ALPHAREF, 1);
    dev->SetRenderState(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    for (int i = 0; i < 40; ++i) {
        const float half = i == 7 ? 70.0f : (i % 5 == 0 ? 24.0f : 16.0f);
        const float cx = float((i * 37) % 170) - 10.0f, cy = float((i * 53) % 150) - 10.0f;
        const float angle = float(i) * 0.37f, co = std::cos(angle), si = std::sin(angle);
        std::array<D3DTLVERTEX, 4> q;
        for (int k = 0; k < 4; ++k) {
            const float px = k & 1 ? half : -half, py = k & 2 ? half : -half;
            q[k] = TL(cx + px * co + py * si - 0.5f, cy + py * co - px * si - 0.5f, float(k & 1),
                      float(k >> 1), c.tint);
        }
        testing::DrawStrip(*dev, q);
    }
    dev->EndScene();
    return testing::PixelsOf(*target);
}

TEST(SoftDeviceRuns, SpriteStripsMatchTheGeneralLoop) {
    const RunCase cases[] = {
        {"point, white, alpha test", false, 0xFFFFFFFFu, true, 150},
        {"point, white, no alpha test", false, 0xFFFFFFFFu, false, 150},
        {"point, tinted and half transparent", false, 0x80C0FF40u, true, 150},
        {"point, background scaled", false, 0xFFFFFFFFu, true, 97},
        {"linear, white, alpha test", true, 0xFFFFFFFFu, true, 150},
        {"linear, tinted", true, 0xC0FF8020u, false, 150},
        {"linear, background scaled", true, 0xFFFFFFFFu, true, 97},
    };
    for (const RunCase& c : cases) {
        const std::vector<std::uint32_t> general = DrawSprites(c, Loops::General);
        for (Loops loops : testing::kFastLoops) {
            EXPECT_EQ(DrawSprites(c, loops), general)
                << c.name << ", " << testing::LoopsName(loops);
        }
    }
}

// The comparison above would also pass on an untouched target: the sprites
// must show, some of their pixels opaque and some blended.
TEST(SoftDeviceRuns, SpriteSceneShowsOpaqueAndBlendedPixels) {
    const RunCase c{"point", false, 0xFFFFFFFFu, true, 150};
    const std::vector<std::uint32_t> drawn = DrawSprites(c, Loops::Sixteen);
    int disc = 0;
    for (std::uint32_t p : drawn) disc += (p & 0xFFu) == 0x40u;  // the disc's blue
    EXPECT_GT(disc, 2000);
    EXPECT_LT(disc, int(drawn.size()));
}

// Both loops read the same table, so it is checked against the per-pixel
// comparison itself, with the least passing alpha where the passing alphas
// form a range up to 255.
TEST(SoftDeviceRuns, AlphaTestTableMatchesTheComparison) {
    const D3DLong funcs[] = {D3DCMP_NEVER,   D3DCMP_LESS,     D3DCMP_EQUAL,        D3DCMP_LESSEQUAL,
                             D3DCMP_GREATER, D3DCMP_NOTEQUAL, D3DCMP_GREATEREQUAL, D3DCMP_ALWAYS};
    for (D3DLong f : funcs) {
        for (int ref : {0, 1, 0x60, 254, 255}) {
            raster::PixelState ps;
            ps.alphaTest = true;
            ps.alphaFunc = f;
            ps.alphaRef = ref;
            raster::Classify(ps);
            for (int a = 0; a < 256; ++a) {
                ASSERT_EQ(ps.alphaPass[a], raster::Compare(f, a, ref))
                    << "function " << f << " reference " << ref << " alpha " << a;
                if (ps.alphaMin >= 0) {
                    ASSERT_EQ(ps.alphaPass[a], a >= ps.alphaMin)
                        << "function " << f << " reference " << ref << " alpha " << a;
                }
            }
        }
    }
}

// A state drawn with runs of rows reaches them; one the four-pixel loops do
// not cover leaves the rows to ChooseSpan.
TEST(SoftDeviceRuns, RunsServeTheFourPixelLoopsOnly) {
    std::vector<std::uint32_t> pixels(64 * 64), texels(32 * 32);
    raster::PixelState ps;
    ps.target = pixels.data();
    ps.width = ps.height = 64;
    ps.clipX2 = ps.clipY2 = 64;
    ps.tex = texels.data();
    ps.texW = ps.texH = 32;
    ps.texPow2 = ps.wrapPow2 = true;
    ps.colorOp = D3DTOP_MODULATE;
    ps.alphaOp = D3DTOP_MODULATE;
    ps.blend = true;
    ps.srcBlend = D3DBLEND_SRCALPHA;
    ps.dstBlend = D3DBLEND_INVSRCALPHA;
    raster::Classify(ps);
    raster::Planes p;
    p.constColor = true;
    EXPECT_NE(raster::ChooseRows(ps, p), nullptr);

    raster::PixelState clamped = ps;
    clamped.wrapPow2 = false;
    clamped.addressU = D3DTADDRESS_CLAMP;
    EXPECT_EQ(raster::ChooseRows(clamped, p), nullptr);

    raster::PixelState general = ps;
    general.allowSpecialised = false;
    EXPECT_EQ(raster::ChooseRows(general, p), nullptr);
}

}  // namespace
}  // namespace brumil::platform
