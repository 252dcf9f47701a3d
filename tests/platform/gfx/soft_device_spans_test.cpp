// The rasteriser's fast paths against its plain ones: the four-pixel loops
// against the general per-pixel loop, and the row-by-row edge walk against a
// division per row.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "../../../platform/gfx/src/edge_walk.h"
#include "gfx_test_util.h"

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
    float Range(float lo, float hi) { return lo + (hi - lo) * float(Next() % 10000) / 10000.0f; }
};

struct SpanMode {
    D3DLong colorOp, alphaOp;
    bool blend;
    D3DLong src, dst;
    D3DLong alphaFunc;  // 0: alpha test off
    D3DLong alphaRef;
    bool key;
};

// Draws triangles whose corners share one colour (so the diffuse colour is
// the same across each) on a target whose width is no multiple of four, some
// running off its right edge, with texture coordinates inside the texture and
// well outside it, affine and perspective.
std::vector<std::uint32_t> DrawScene(const SpanMode& m, bool specialised) {
    Lcg rng{4242};
    std::vector<std::uint32_t> texels(16 * 16);
    for (auto& t : texels) {
        t = rng.Next() * 2654435761u;
        if (rng.Next() % 4 == 0) t &= 0x00FFFFFFu;  // transparent
        if (rng.Next() % 4 == 0) t |= 0xFF000000u;  // opaque
    }
    texels[5] = texels[77] = 0x00123456u;  // key texels
    SurfacePtr target = MakeSurface(43, 37);
    {
        SurfaceLock lock = target->Lock();
        for (std::uint32_t& p : lock.Pixels()) p = rng.Next() * 2246822519u;
    }
    auto dev = CreateSoftDevice(target, nullptr, {specialised});
    dev->BeginScene();
    SurfacePtr tex = testing::MakeTexture(16, 16, texels);
    tex->SetColorKey(0x00123456u);
    dev->SetTexture(0, tex);
    dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, m.colorOp);
    dev->SetTextureStageState(0, D3DTSS_ALPHAOP, m.alphaOp);
    dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, m.blend ? 1 : 0);
    dev->SetRenderState(D3DRENDERSTATE_SRCBLEND, m.src);
    dev->SetRenderState(D3DRENDERSTATE_DESTBLEND, m.dst);
    dev->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, m.key ? 1 : 0);
    dev->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, m.alphaFunc != 0 ? 1 : 0);
    dev->SetRenderState(D3DRENDERSTATE_ALPHAFUNC, m.alphaFunc);
    dev->SetRenderState(D3DRENDERSTATE_ALPHAREF, m.alphaRef);
    for (int t = 0; t < 36; ++t) {
        const std::uint32_t color = t % 3 == 0 ? 0xFFFFFFFFu : rng.Next() * 2246822519u;
        // Every third triangle keeps its coordinates inside the texture.
        const float lo = t % 3 == 1 ? 0.0f : -1.7f, hi = t % 3 == 1 ? 1.0f : 2.6f;
        std::array<D3DTLVERTEX, 3> v;
        for (auto& x : v) {
            x = TL(rng.Range(-6.0f, 52.0f), rng.Range(-4.0f, 41.0f), rng.Range(lo, hi),
                   rng.Range(lo, hi), color);
            x.rhw = t % 4 == 3 ? rng.Range(0.2f, 2.0f) : 1.0f;
        }
        dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, std::span<const D3DTLVERTEX>(v), 3,
                           0);
    }
    // One more over the bottom-right corner: the last row's end.
    const std::array<D3DTLVERTEX, 3> corner = {
        TL(44.0f, 30.0f, 0.1f, 0.2f), TL(44.0f, 38.0f, 0.3f, 0.9f), TL(38.4f, 38.0f, 0.8f, 0.7f)};
    dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, std::span<const D3DTLVERTEX>(corner), 3,
                       0);
    return testing::PixelsOf(*target);
}

TEST(SoftDeviceSpans, FourPixelLoopsMatchTheGeneralLoopForEachCombineAndBlend) {
    struct BlendCase {
        bool on;
        D3DLong src, dst;
    };
    const BlendCase blends[] = {{false, D3DBLEND_ONE, D3DBLEND_ZERO},
                                {true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                                {true, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
                                {true, D3DBLEND_ONE, D3DBLEND_ONE}};
    const D3DLong colorOps[] = {D3DTOP_SELECTARG1, D3DTOP_MODULATE};
    const D3DLong alphaOps[] = {D3DTOP_SELECTARG1, D3DTOP_MODULATE, D3DTOP_SELECTARG2};
    int n = 0;
    for (const BlendCase& b : blends) {
        for (D3DLong c : colorOps) {
            for (D3DLong a : alphaOps) {
                ++n;
                // Alternately with the colour key and an alpha test at 1.
                const SpanMode m{c, a,         b.on, b.src, b.dst, n % 2 ? D3DCMP_GREATEREQUAL : 0,
                                 1, n % 2 == 0};
                EXPECT_EQ(DrawScene(m, true), DrawScene(m, false))
                    << "blend " << b.on << " " << b.src << "/" << b.dst << " colour " << c
                    << " alpha " << a;
            }
        }
    }
}

TEST(SoftDeviceSpans, FourPixelLoopsMatchTheGeneralLoopForEachAlphaTest) {
    const D3DLong funcs[] = {D3DCMP_NEVER,   D3DCMP_LESS,     D3DCMP_EQUAL,        D3DCMP_LESSEQUAL,
                             D3DCMP_GREATER, D3DCMP_NOTEQUAL, D3DCMP_GREATEREQUAL, D3DCMP_ALWAYS};
    for (D3DLong f : funcs) {
        for (D3DLong ref : {0, 0x60, 255}) {
            for (bool blend : {false, true}) {
                const SpanMode m{D3DTOP_MODULATE,
                                 D3DTOP_MODULATE,
                                 blend,
                                 D3DBLEND_SRCALPHA,
                                 D3DBLEND_INVSRCALPHA,
                                 f,
                                 ref,
                                 false};
                EXPECT_EQ(DrawScene(m, true), DrawScene(m, false))
                    << "function " << f << " reference " << ref << " blend " << blend;
            }
        }
    }
}

// A scene actually drawn: the comparisons above would pass on a blank target.
TEST(SoftDeviceSpans, SceneChangesTheTarget) {
    const SpanMode m{
        D3DTOP_SELECTARG1, D3DTOP_SELECTARG1, false, D3DBLEND_ONE, D3DBLEND_ZERO, 0, 0, false};
    const SpanMode none{D3DTOP_SELECTARG1, D3DTOP_SELECTARG1, false, D3DBLEND_ONE,
                        D3DBLEND_ZERO,     D3DCMP_NEVER,      0,     false};
    const auto drawn = DrawScene(m, true), untouched = DrawScene(none, true);
    int changed = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i) changed += drawn[i] != untouched[i];
    EXPECT_GT(changed, int(drawn.size()) / 2);
}

TEST(EdgeWalker, MatchesADivisionPerRow) {
    using raster::EdgeCeil;
    using raster::EdgeWalker;
    using raster::Fixed;
    constexpr std::int64_t kSub = 256, kBand = 16384 * kSub;
    struct EdgeCase {
        Fixed a, b;
    };
    std::vector<EdgeCase> cases = {
        {{0, 0}, {0, 10 * kSub}},                 // vertical
        {{5 * kSub, 0}, {-3 * kSub, 7 * kSub}},   // leaning left, on whole pixels
        {{-kBand, -kBand}, {kBand, kBand}},       // the whole guard band
        {{kBand, -kBand}, {-kBand, -kBand + 1}},  // nearly flat
        {{-7, -300}, {1000001, 299}},             // off the grid, steep
        {{0, 0}, {3 * kSub, 1}},                  // one sub-row high
        // Edges whose remainder, stepped, lands exactly one below zero.
        {{-1276, -283}, {423, 1625}},
        {{-793, -229}, {-757, 838}},
        {{961, -105}, {-553, 1618}},
        {{820, 149}, {1887, 991}},
    };
    Lcg rng{99};
    for (int i = 0; i < 600; ++i) {
        const std::int64_t span = i % 2 ? 40000 : 1200;  // long and short edges
        const auto coord = [&]() { return std::int64_t(rng.Next() % span) - span / 2; };
        Fixed a{coord(), coord()}, b{coord(), coord()};
        if (a.y == b.y) continue;
        if (b.y < a.y) std::swap(a, b);
        cases.push_back({a, b});
    }
    for (const EdgeCase& c : cases) {
        const std::int64_t first = raster::CeilDiv(c.a.y, kSub);
        const std::int64_t end = raster::CeilDiv(c.b.y, kSub);
        if (first >= end) continue;
        // Start at the edge's first row and part-way down it.
        for (std::int64_t start : {first, first + (end - first) / 2}) {
            EdgeWalker w;
            w.Start(c.a, c.b, start * kSub, kSub);
            for (std::int64_t y = start; y < end && y < start + 5000; ++y) {
                ASSERT_EQ(w.X(), EdgeCeil(c.a, c.b, y * kSub, kSub))
                    << c.a.x << "," << c.a.y << " - " << c.b.x << "," << c.b.y << " row " << y;
                w.Next();
            }
        }
    }
}

TEST(EdgeWalker, DivisionsRoundTowardTheirBounds) {
    struct DivCase {
        std::int64_t n, d, ceil, floor;
    };
    const DivCase cases[] = {{7, 2, 4, 3},    {-7, 2, -3, -4}, {6, 3, 2, 2},
                             {-6, 3, -2, -2}, {0, 5, 0, 0},    {-1, 256, 0, -1}};
    for (const DivCase& c : cases) {
        EXPECT_EQ(raster::CeilDiv(c.n, c.d), c.ceil) << c.n << "/" << c.d;
        EXPECT_EQ(raster::FloorDiv(c.n, c.d), c.floor) << c.n << "/" << c.d;
    }
}

}  // namespace
}  // namespace brumil::platform
