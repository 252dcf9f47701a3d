// The eight- and sixteen-pixel loops against the four-pixel loops and the
// general loop on
// seeded random scenes: triangles of any size and texture coordinates (NaN
// and huge ones too), partial last groups, rows that end at the target's
// right edge, every depth function. Colour and depth bits must agree.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "gfx_test_util.h"

namespace brumil::platform {
namespace {

using testing::Loops;
using testing::MakeSurface;
using testing::Same;
using testing::TL;

struct Rng {
    std::uint32_t seed;
    std::uint32_t Next() {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    }
    int Below(int n) { return int(Next() % std::uint32_t(n)); }
    float Range(float lo, float hi) { return lo + (hi - lo) * float(Next() % 10000) / 10000.0f; }
    template <typename T, std::size_t N>
    T Pick(const T (&options)[N]) {
        return options[Below(int(N))];
    }
};

// The state of one scene, drawn the same by every loop.
struct WideScene {
    int width, height, texW, texH;
    D3DLong colorOp, alphaOp;
    bool blend;
    D3DLong src, dst;
    D3DLong alphaFunc;  // 0: alpha test off
    D3DLong alphaRef;
    bool key, linear;
    D3DLong zFunc;  // 0: no depth buffer
    bool zWrite;
    int depthExtra;
};

WideScene RandomScene(Rng& rng) {
    const int sides[] = {1, 2, 4, 8, 16, 32, 64};
    const D3DLong colorOps[] = {D3DTOP_SELECTARG1, D3DTOP_MODULATE, D3DTOP_BLENDTEXTUREALPHA,
                                D3DTOP_ADD, D3DTOP_MODULATE2X};
    const D3DLong alphaOps[] = {D3DTOP_SELECTARG1, D3DTOP_MODULATE, D3DTOP_SELECTARG2, D3DTOP_ADD};
    const std::array<D3DLong, 2> blends[] = {{D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                                             {D3DBLEND_SRCALPHA, D3DBLEND_ONE},
                                             {D3DBLEND_ONE, D3DBLEND_ONE}};
    const D3DLong funcs[] = {D3DCMP_NEVER,   D3DCMP_LESS,     D3DCMP_EQUAL,        D3DCMP_LESSEQUAL,
                             D3DCMP_GREATER, D3DCMP_NOTEQUAL, D3DCMP_GREATEREQUAL, D3DCMP_ALWAYS};
    WideScene s{};
    s.width = 1 + rng.Below(70);
    s.height = 1 + rng.Below(40);
    s.texW = rng.Pick(sides);
    s.texH = rng.Pick(sides);
    s.colorOp = rng.Pick(colorOps);
    s.alphaOp = rng.Pick(alphaOps);
    s.blend = rng.Below(4) != 0;
    const std::array<D3DLong, 2> b = rng.Pick(blends);
    s.src = b[0];
    s.dst = b[1];
    s.alphaFunc = rng.Below(2) ? rng.Pick(funcs) : 0;
    s.alphaRef = rng.Below(3) == 0 ? 1 : rng.Below(256);
    s.key = rng.Below(3) == 0;
    s.linear = rng.Below(2) != 0;
    s.zFunc = rng.Below(2) ? rng.Pick(funcs) : 0;
    s.zWrite = rng.Below(3) != 0;
    s.depthExtra = rng.Below(2) ? rng.Below(9) : 0;
    return s;
}

// A texture coordinate: mostly ordinary, sometimes far outside the texture,
// huge or NaN.
float Coord(Rng& rng) {
    switch (rng.Below(24)) {
        case 0:
            return std::numeric_limits<float>::quiet_NaN();
        case 1:
            return rng.Below(2) ? 3.0e7f : -3.0e7f;
        case 2:
            return rng.Range(-5000.0f, 5000.0f);
        default:
            return rng.Range(-1.5f, 2.5f);
    }
}

// The scene's render and texture-stage states.
void SetSceneState(Direct3DDevice7& dev, const WideScene& s) {
    dev.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    dev.SetTextureStageState(0, D3DTSS_COLOROP, s.colorOp);
    dev.SetTextureStageState(0, D3DTSS_ALPHAOP, s.alphaOp);
    dev.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, s.blend ? 1 : 0);
    dev.SetRenderState(D3DRENDERSTATE_SRCBLEND, s.src);
    dev.SetRenderState(D3DRENDERSTATE_DESTBLEND, s.dst);
    dev.SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, s.key ? 1 : 0);
    dev.SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, s.alphaFunc != 0 ? 1 : 0);
    dev.SetRenderState(D3DRENDERSTATE_ALPHAFUNC, s.alphaFunc);
    dev.SetRenderState(D3DRENDERSTATE_ALPHAREF, s.alphaRef);
    const D3DLong filter = s.linear ? D3DTFG_LINEAR : D3DTFG_POINT;
    dev.SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    dev.SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    if (s.zFunc != 0) {
        dev.SetRenderState(D3DRENDERSTATE_ZFUNC, s.zFunc);
        dev.SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, s.zWrite ? 1 : 0);
    }
}

// Draws the scene's triangles with the given loops: the target's pixels,
// then the depth buffer's bits when there is one.
std::vector<std::uint32_t> Draw(const WideScene& s, std::uint32_t seed, Loops loops) {
    Rng rng{seed};
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(s.texW) * s.texH);
    for (auto& t : texels) {
        t = rng.Next() * 2654435761u;
        if (rng.Below(3) == 0) t &= 0x00FFFFFFu;  // transparent
        if (rng.Below(3) == 0) t |= 0xFF000000u;  // opaque
    }
    texels[0] = 0x00123456u;  // the key
    SurfacePtr target = MakeSurface(s.width, s.height);
    {
        SurfaceLock lock = target->Lock();
        for (std::uint32_t& p : lock.Pixels()) p = rng.Next() * 2246822519u;
    }
    SurfacePtr depth;
    if (s.zFunc != 0) {
        depth = MakeSurface(s.width + s.depthExtra, s.height, PixelFormat::Depth32F);
        for (float& z : depth->MutableDepth()) {
            z = rng.Below(13) == 0 ? std::numeric_limits<float>::quiet_NaN() : rng.Range(0, 1);
        }
    }
    SoftDeviceOptions options = testing::OptionsFor(loops);
    options.threads = 1;
    auto dev = CreateSoftDevice(target, depth, options);
    dev->BeginScene();
    SurfacePtr tex = testing::MakeTexture(s.texW, s.texH, texels);
    tex->SetColorKey(0x00123456u);
    dev->SetTexture(0, tex);
    SetSceneState(*dev, s);
    const float w = float(s.width), h = float(s.height);
    for (int t = 0; t < 10; ++t) {
        // Small, row-sized and wider than the target; some reach past its
        // right edge, so rows end there.
        const float size = t % 3 == 0 ? rng.Range(0.5f, 6.0f) : rng.Range(2.0f, 2.0f * w + 4.0f);
        const float cx = rng.Range(-0.25f * w, 1.25f * w), cy = rng.Range(-2.0f, h + 2.0f);
        const bool gouraud = rng.Below(2) != 0, perspective = rng.Below(3) == 0;
        // Coordinates a hair either side of zero, where a floor must give -1
        // or 0 as the general loop does.
        const bool tiny = rng.Below(6) == 0;
        const auto coord = [&] { return tiny ? rng.Range(-2.0e-9f, 2.0e-9f) : Coord(rng); };
        const std::uint32_t color = rng.Below(3) == 0 ? 0xFFFFFFFFu : rng.Next() * 2246822519u;
        std::array<D3DTLVERTEX, 3> v;
        for (auto& x : v) {
            x = TL(cx + rng.Range(-size, size), cy + rng.Range(-size, size), coord(), coord(),
                   gouraud ? rng.Next() * 2246822519u : color, rng.Range(0, 1),
                   perspective ? rng.Range(0.05f, 3.0f) : 1.0f);
        }
        dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, std::span<const D3DTLVERTEX>(v), 3,
                           0);
    }
    dev->EndScene();
    return testing::PixelsAndDepth(*target, depth.get());
}

// `count` seeded random scenes, the colour op overridden when `colorOp` is
// not 0, drawn alike by every width and the general loop; and enough of
// them drawn that the comparisons mean something.
void ExpectRandomScenesMatch(int count, std::uint32_t stride, D3DLong colorOp) {
    int changed = 0, words = 0;
    for (std::uint32_t seed = 1; seed <= std::uint32_t(count); ++seed) {
        Rng rng{seed * stride};
        WideScene s = RandomScene(rng);
        if (colorOp != 0) s.colorOp = colorOp;
        const std::vector<std::uint32_t> general = Draw(s, seed, Loops::General);
        for (Loops loops : testing::kFastLoops) {
            ASSERT_TRUE(Same(Draw(s, seed, loops), general))
                << "seed " << seed << ", " << testing::LoopsName(loops);
        }
        // The scene with nothing drawn: the comparisons would pass on it too.
        WideScene none = s;
        none.alphaFunc = D3DCMP_NEVER;
        const std::vector<std::uint32_t> blank = Draw(none, seed, Loops::General);
        for (std::size_t i = 0; i < general.size(); ++i) changed += general[i] != blank[i];
        words += int(general.size());
    }
    EXPECT_GT(changed, words / 5);
}

TEST(SoftDeviceWide, RandomScenesMatchAtEveryWidth) {
    ExpectRandomScenesMatch(1000, 7919u, 0);
}

// The same random scenes with the colour taken from the diffuse colour alone
// (the alpha as each scene has it): constant and Gouraud colours, keys, huge
// and NaN coordinates, every depth function.
TEST(SoftDeviceWide, RandomDiffuseColouredScenesMatchAtEveryWidth) {
    ExpectRandomScenesMatch(400, 104729u, D3DTOP_SELECTARG2);
}

// A rectangle from `left` to `right` over the whole height of a target 21
// pixels wide (so the last row is drawn too): its pixels, then its depth
// buffer's bits when there is one.
std::vector<std::uint32_t> DrawColumn(const WideScene& s, float left, float right, Loops loops) {
    SoftDeviceOptions options = testing::OptionsFor(loops);
    options.threads = 1;
    SurfacePtr target = MakeSurface(s.width, s.height);
    {
        SurfaceLock lock = target->Lock();
        std::uint32_t n = 1;
        for (std::uint32_t& p : lock.Pixels()) p = (n++) * 2246822519u;
    }
    SurfacePtr depth;
    if (s.zFunc != 0) {
        depth = MakeSurface(s.width, s.height, PixelFormat::Depth32F);
        int n = 0;
        for (float& z : depth->MutableDepth()) z = float(n++ % 7) / 7.0f;
    }
    auto dev = CreateSoftDevice(target, depth, options);
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(s.texW) * s.texH);
    for (std::size_t i = 0; i < texels.size(); ++i) {
        texels[i] = std::uint32_t(i * 2654435761u) | (i % 3 ? 0xFF000000u : 0u);
    }
    SurfacePtr tex = testing::MakeTexture(s.texW, s.texH, texels);
    dev->BeginScene();
    dev->SetTexture(0, tex);
    SetSceneState(*dev, s);
    const float bottom = float(s.height) - 0.5f;
    const std::uint32_t c = 0xC0FFFFFFu;
    const std::array<D3DTLVERTEX, 4> q = {
        TL(left, -0.5f, 0.1f, 0.0f, c, 0.3f), TL(right, -0.5f, 1.3f, 0.2f, c, 0.6f),
        TL(left, bottom, 0.0f, 1.7f, c, 0.3f), TL(right, bottom, 1.1f, 1.9f, c, 0.6f)};
    testing::DrawStrip(*dev, q);
    dev->EndScene();
    return testing::PixelsAndDepth(*target, depth.get());
}

// Spans of every length from one pixel to past two groups, each ending at
// the target's right edge (where a group must not touch memory past the
// span) or just before it; each blend, point and bilinear, with and without
// a depth buffer.
TEST(SoftDeviceWide, EverySpanLengthAtTheRightEdge) {
    struct EdgeCase {
        bool blend;
        D3DLong src, dst;
        bool linear;
        D3DLong zFunc;
    };
    const EdgeCase cases[] = {
        {false, D3DBLEND_ONE, D3DBLEND_ZERO, false, 0},
        {true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, true, 0},
        {true, D3DBLEND_SRCALPHA, D3DBLEND_ONE, false, D3DCMP_LESSEQUAL},
        {true, D3DBLEND_ONE, D3DBLEND_ONE, true, D3DCMP_GREATER},
        {false, D3DBLEND_ONE, D3DBLEND_ZERO, true, D3DCMP_ALWAYS},
    };
    for (const EdgeCase& c : cases) {
        WideScene s{};
        s.width = 21;
        s.height = 3;
        s.texW = s.texH = 8;
        s.colorOp = D3DTOP_MODULATE;
        s.alphaOp = D3DTOP_MODULATE;
        s.blend = c.blend;
        s.src = c.src;
        s.dst = c.dst;
        s.linear = c.linear;
        s.zFunc = c.zFunc;
        s.zWrite = true;
        const std::vector<std::uint32_t> untouched = DrawColumn(s, 0.0f, 0.0f, Loops::General);
        int drawn = 0, spans = 0;
        for (int inset : {0, 1, 5}) {
            for (int len = 1; len <= s.width - inset; ++len) {
                const float right = float(s.width - inset) - 0.5f, left = right - float(len);
                const std::vector<std::uint32_t> general =
                    DrawColumn(s, left, right, Loops::General);
                for (Loops loops : testing::kFastLoops) {
                    EXPECT_TRUE(Same(DrawColumn(s, left, right, loops), general))
                        << testing::LoopsName(loops) << ", length " << len << " inset " << inset;
                }
                drawn += !Same(general, untouched);
                ++spans;
            }
        }
        // Some short spans fail the depth test or meet transparent texels
        // only; most must show.
        EXPECT_GT(drawn, spans * 3 / 4);
    }
}

// One state of the turned-quads scenes below.
struct QuadCase {
    bool blend;
    D3DLong src, dst;
    D3DLong colorOp;
    bool linear, gouraud, perspective;
    D3DLong zFunc;  // 0: no depth buffer
    bool zWrite;
};

// Quads turned at random angles (two triangles each, meeting on a diagonal,
// so most rows hold two short spans side by side), overlapping one another
// and the target's edges, over a target 37 pixels wide: the pixels, then
// the depth buffer's bits when there is one.
std::vector<std::uint32_t> DrawTurnedQuads(const QuadCase& c, std::uint32_t seed, Loops loops,
                                           bool drawNothing = false) {
    Rng rng{seed};
    const int width = 37, height = 23;
    SurfacePtr target = MakeSurface(width, height);
    {
        SurfaceLock lock = target->Lock();
        for (std::uint32_t& p : lock.Pixels()) p = rng.Next() * 2246822519u;
    }
    SurfacePtr depth;
    if (c.zFunc != 0) {
        depth = MakeSurface(width + rng.Below(4), height, PixelFormat::Depth32F);
        for (float& z : depth->MutableDepth()) z = rng.Range(0, 1);
    }
    std::vector<std::uint32_t> texels(16 * 16);
    for (std::size_t i = 0; i < texels.size(); ++i) {
        // A disc: transparent corners, a soft rim, an opaque middle.
        const int dx = int(i % 16) - 8, dy = int(i / 16) - 8, r2 = dx * dx + dy * dy;
        const std::uint32_t alpha = r2 > 56 ? 0u : r2 > 36 ? rng.Next() & 0xFFu : 0xFFu;
        texels[i] = (rng.Next() & 0x00FFFFFFu) | alpha << 24;
    }
    SoftDeviceOptions options = testing::OptionsFor(loops);
    options.threads = 1;
    auto dev = CreateSoftDevice(target, depth, options);
    SurfacePtr tex = testing::MakeTexture(16, 16, texels);
    dev->BeginScene();
    dev->SetTexture(0, tex);
    dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, c.colorOp);
    dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, c.blend ? 1 : 0);
    dev->SetRenderState(D3DRENDERSTATE_SRCBLEND, c.src);
    dev->SetRenderState(D3DRENDERSTATE_DESTBLEND, c.dst);
    dev->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, 1);
    dev->SetRenderState(D3DRENDERSTATE_ALPHAREF, 1);
    dev->SetRenderState(D3DRENDERSTATE_ALPHAFUNC, drawNothing ? D3DCMP_NEVER : D3DCMP_GREATEREQUAL);
    const D3DLong filter = c.linear ? D3DTFG_LINEAR : D3DTFG_POINT;
    dev->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    dev->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    if (c.zFunc != 0) {
        dev->SetRenderState(D3DRENDERSTATE_ZFUNC, c.zFunc);
        dev->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, c.zWrite ? 1 : 0);
    }
    for (int n = 0; n < 8; ++n) {
        const float half = rng.Range(2.0f, 14.0f), angle = rng.Range(0.0f, 6.2832f);
        const float cx = rng.Range(-4.0f, float(width) + 4.0f), cy = rng.Range(-4.0f, 27.0f);
        const float cs = std::cos(angle) * half, sn = std::sin(angle) * half;
        // Alphas of one half and more, so that something shows.
        const std::uint32_t flat = rng.Next() * 2246822519u | 0x80000000u;
        std::array<D3DTLVERTEX, 4> q;
        for (int k = 0; k < 4; ++k) {
            const float px = k & 1 ? 1.0f : -1.0f, py = k & 2 ? 1.0f : -1.0f;
            q[std::size_t(k)] = TL(cx + px * cs + py * sn, cy + py * cs - px * sn, float(k & 1),
                                   float(k >> 1), c.gouraud ? rng.Next() * 2246822519u : flat,
                                   rng.Range(0, 1), c.perspective ? rng.Range(0.2f, 2.0f) : 1.0f);
        }
        testing::DrawStrip(*dev, q);
    }
    dev->EndScene();
    return testing::PixelsAndDepth(*target, depth.get());
}

// Short spans whose last group ends inside the row (the pixels past the span
// are the next triangle's, drawn just after) or at the row's end, for each
// blend, combine, varying or constant diffuse colour and depth function.
TEST(SoftDeviceWide, TurnedQuadsSharingRowsMatch) {
    const QuadCase cases[] = {
        {true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_MODULATE, true, false, false, 0,
         false},
        {true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_MODULATE, false, false, false, 0,
         false},
        {true, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DTOP_ADD, true, true, false, 0, false},
        {true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_MODULATE2X, true, true, false,
         D3DCMP_LESSEQUAL, true},
        {true, D3DBLEND_ONE, D3DBLEND_ONE, D3DTOP_SELECTARG1, false, false, false, D3DCMP_LESS,
         true},
        {false, D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_MODULATE, true, true, true, D3DCMP_LESSEQUAL,
         true},
        {false, D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_SELECTARG1, false, false, true, D3DCMP_GREATER,
         true},
        {true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_BLENDTEXTUREALPHA, true, false,
         false, D3DCMP_NOTEQUAL, false},
        {false, D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_MODULATE, false, true, false, D3DCMP_ALWAYS,
         true},
        // A constant colour added to the texture's, each blend and filter.
        {true, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DTOP_ADD, true, false, false, 0, false},
        {true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_ADD, false, false, false, 0, false},
        {true, D3DBLEND_ONE, D3DBLEND_ONE, D3DTOP_ADD, true, false, true, D3DCMP_LESSEQUAL, true},
        {false, D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_ADD, false, false, true, D3DCMP_LESS, false},
        // The colour from the diffuse colour alone, the alpha texture x diffuse.
        {true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_SELECTARG2, true, false, false, 0,
         false},
        {true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_SELECTARG2, false, true, false, 0,
         false},
        {true, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DTOP_SELECTARG2, true, true, false,
         D3DCMP_LESSEQUAL, true},
        {true, D3DBLEND_ONE, D3DBLEND_ONE, D3DTOP_SELECTARG2, false, false, true, D3DCMP_LESS,
         true},
        {false, D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_SELECTARG2, true, false, false, D3DCMP_GREATER,
         false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const QuadCase& c = cases[i];
        int changed = 0, words = 0;
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            const std::vector<std::uint32_t> general = DrawTurnedQuads(c, seed, Loops::General);
            for (Loops loops : testing::kFastLoops) {
                ASSERT_TRUE(Same(DrawTurnedQuads(c, seed, loops), general))
                    << "case " << i << " seed " << seed << ", " << testing::LoopsName(loops);
            }
            // The same scene with every pixel failing the alpha test.
            const std::vector<std::uint32_t> none = DrawTurnedQuads(c, seed, Loops::General, true);
            for (std::size_t w = 0; w < general.size(); ++w) changed += general[w] != none[w];
            words += int(general.size());
        }
        EXPECT_GT(changed, words / 20) << "case " << i;
    }
}

}  // namespace
}  // namespace brumil::platform
