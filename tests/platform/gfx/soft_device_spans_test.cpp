// The rasteriser's fast paths against its plain ones: the four-, eight- and
// sixteen-pixel loops against the general per-pixel loop, and the row-by-row edge walk against a
// division per row.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

#include "edge_walk.h"
#include "gfx_test_util.h"
#include "padded_textures.h"
#include "span_wide.h"

namespace brumil::platform {
namespace {

using testing::Loops;
using testing::MakeSurface;
using testing::OptionsFor;
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
    bool linear = false;
    bool gouraud = false;  // corners of different colours
    D3DLong zFunc = 0;     // 0: no depth buffer
    bool zWrite = true;
    int depthExtra = 0;  // columns of the depth buffer past the target's
};

// Draws triangles whose corners share one colour (so the diffuse colour is
// the same across each) or not, on a target whose width is no multiple of
// four, some running off its right edge, with texture coordinates inside the
// texture and well outside it, affine and perspective. Answers the target's
// pixels, then the depth buffer's bits when there is one.
std::vector<std::uint32_t> DrawScene(const SpanMode& m, Loops loops) {
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
    SurfacePtr depth;
    if (m.zFunc != 0) {
        depth = MakeSurface(43 + m.depthExtra, 37, PixelFormat::Depth32F);
        std::span<float> z = depth->MutableDepth();
        for (std::size_t i = 0; i < z.size(); ++i) {
            z[i] = i % 17 == 5  ? std::numeric_limits<float>::quiet_NaN()
                   : i % 3 == 0 ? 0.5f  // ties with the level triangles
                                : rng.Range(0.0f, 1.0f);
        }
    }
    auto dev = CreateSoftDevice(target, depth, OptionsFor(loops));
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
    const D3DLong filter = m.linear ? D3DTFG_LINEAR : D3DTFG_POINT;
    dev->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    dev->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    if (m.zFunc != 0) {
        dev->SetRenderState(D3DRENDERSTATE_ZFUNC, m.zFunc);
        dev->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, m.zWrite ? 1 : 0);
    }
    for (int t = 0; t < 36; ++t) {
        const std::uint32_t color = t % 3 == 0 ? 0xFFFFFFFFu : rng.Next() * 2246822519u;
        // Every third triangle keeps its coordinates inside the texture.
        const float lo = t % 3 == 1 ? 0.0f : -1.7f, hi = t % 3 == 1 ? 1.0f : 2.6f;
        std::array<D3DTLVERTEX, 3> v;
        for (auto& x : v) {
            x = TL(rng.Range(-6.0f, 52.0f), rng.Range(-4.0f, 41.0f), rng.Range(lo, hi),
                   rng.Range(lo, hi), color);
            if (m.gouraud) x.color = static_cast<D3DLong>(rng.Next() * 2246822519u);
            if (m.zFunc != 0) x.sz = t % 5 == 0 ? 0.5f : rng.Range(0.0f, 1.0f);
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
    return testing::PixelsAndDepth(*target, depth.get());
}

// The scene drawn by the four-, eight- and sixteen-pixel loops against the
// general loop.
::testing::AssertionResult LoopsMatch(const SpanMode& m) {
    const std::vector<std::uint32_t> general = DrawScene(m, Loops::General);
    for (Loops loops : testing::kFastLoops) {
        const std::vector<std::uint32_t> fast = DrawScene(m, loops);
        for (std::size_t i = 0; i < general.size(); ++i) {
            if (fast[i] != general[i]) {
                return ::testing::AssertionFailure()
                       << testing::LoopsName(loops) << " differ at " << i << ": " << fast[i]
                       << " for " << general[i];
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// No blend, and each blend the specialised loops know.
struct BlendCase {
    bool on;
    D3DLong src, dst;
};
constexpr BlendCase kBlends[] = {{false, D3DBLEND_ONE, D3DBLEND_ZERO},
                                 {true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                                 {true, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
                                 {true, D3DBLEND_ONE, D3DBLEND_ONE}};

TEST(SoftDeviceSpans, FourPixelLoopsMatchTheGeneralLoopForEachCombineAndBlend) {
    const D3DLong colorOps[] = {D3DTOP_SELECTARG1, D3DTOP_MODULATE};
    const D3DLong alphaOps[] = {D3DTOP_SELECTARG1, D3DTOP_MODULATE, D3DTOP_SELECTARG2};
    int n = 0;
    for (const BlendCase& b : kBlends) {
        for (D3DLong c : colorOps) {
            for (D3DLong a : alphaOps) {
                ++n;
                // Alternately with the colour key and an alpha test at 1.
                const SpanMode m{c, a,         b.on, b.src, b.dst, n % 2 ? D3DCMP_GREATEREQUAL : 0,
                                 1, n % 2 == 0};
                EXPECT_TRUE(LoopsMatch(m)) << "blend " << b.on << " " << b.src << "/" << b.dst
                                           << " colour " << c << " alpha " << a;
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
                EXPECT_TRUE(LoopsMatch(m))
                    << "function " << f << " reference " << ref << " blend " << blend;
            }
        }
    }
}

const D3DLong kAllFuncs[] = {D3DCMP_NEVER,   D3DCMP_LESS,     D3DCMP_EQUAL,        D3DCMP_LESSEQUAL,
                             D3DCMP_GREATER, D3DCMP_NOTEQUAL, D3DCMP_GREATEREQUAL, D3DCMP_ALWAYS};

// Depth read, compare and write in the four-pixel loops, with stored depths
// that include NaN, a depth buffer as wide as the target (its rows end with
// the target's) or wider, point and bilinear sampling, flat and Gouraud
// colours.
TEST(SoftDeviceSpans, FourPixelLoopsMatchTheGeneralLoopWithADepthBuffer) {
    int n = 0;
    for (D3DLong f : kAllFuncs) {
        for (bool write : {true, false}) {
            for (bool blend : {false, true}) {
                ++n;
                SpanMode m{D3DTOP_MODULATE,
                           D3DTOP_MODULATE,
                           blend,
                           D3DBLEND_SRCALPHA,
                           D3DBLEND_INVSRCALPHA,
                           n % 2 ? D3DCMP_GREATEREQUAL : 0,
                           1,
                           n % 3 == 0};
                m.zFunc = f;
                m.zWrite = write;
                m.linear = n % 4 >= 2;
                m.gouraud = n % 3 == 1;
                m.depthExtra = n % 2 ? 5 : 0;
                EXPECT_TRUE(LoopsMatch(m))
                    << "depth function " << f << " write " << write << " blend " << blend
                    << " linear " << m.linear << " gouraud " << m.gouraud;
            }
        }
    }
}

// Every colour and alpha combine of the four-pixel loops, the diffuse colour
// constant and varying, under each blend.
TEST(SoftDeviceSpans, FourPixelLoopsMatchTheGeneralLoopForGouraudAndTextureAlphaMixes) {
    const D3DLong colorOps[] = {D3DTOP_SELECTARG1, D3DTOP_MODULATE, D3DTOP_BLENDTEXTUREALPHA};
    const D3DLong alphaOps[] = {D3DTOP_SELECTARG1, D3DTOP_MODULATE, D3DTOP_SELECTARG2,
                                D3DTOP_BLENDTEXTUREALPHA};
    int n = 0;
    for (const BlendCase& b : kBlends) {
        for (D3DLong c : colorOps) {
            for (D3DLong a : alphaOps) {
                for (bool gouraud : {false, true}) {
                    ++n;
                    SpanMode m{c, a,         b.on, b.src, b.dst, n % 2 ? D3DCMP_GREATEREQUAL : 0,
                               1, n % 3 == 0};
                    m.gouraud = gouraud;
                    m.linear = n % 4 == 1;
                    EXPECT_TRUE(LoopsMatch(m))
                        << "blend " << b.on << " " << b.src << "/" << b.dst << " colour " << c
                        << " alpha " << a << " gouraud " << gouraud << " linear " << m.linear;
                }
            }
        }
    }
}

// The saturating combines (texture plus diffuse, twice texture x diffuse) in
// colour and alpha, mixed with the others, constant and Gouraud colours that
// overflow 255, under each blend, with and without a depth buffer.
TEST(SoftDeviceSpans, FourPixelLoopsMatchTheGeneralLoopForSaturatingCombines) {
    struct OpsCase {
        D3DLong color, alpha;
    };
    const OpsCase ops[] = {
        {D3DTOP_ADD, D3DTOP_SELECTARG1},        {D3DTOP_ADD, D3DTOP_MODULATE},
        {D3DTOP_ADD, D3DTOP_SELECTARG2},        {D3DTOP_ADD, D3DTOP_ADD},
        {D3DTOP_MODULATE2X, D3DTOP_SELECTARG1}, {D3DTOP_MODULATE2X, D3DTOP_MODULATE},
        {D3DTOP_MODULATE2X, D3DTOP_MODULATE2X}, {D3DTOP_SELECTARG1, D3DTOP_ADD},
        {D3DTOP_MODULATE, D3DTOP_MODULATE2X},   {D3DTOP_BLENDTEXTUREALPHA, D3DTOP_ADD},
    };
    int n = 0;
    for (const BlendCase& b : kBlends) {
        for (const OpsCase& o : ops) {
            for (bool gouraud : {false, true}) {
                ++n;
                SpanMode m{o.color, o.alpha,   b.on, b.src, b.dst, n % 2 ? D3DCMP_GREATEREQUAL : 0,
                           1,       n % 3 == 0};
                m.gouraud = gouraud;
                m.linear = n % 4 < 2;
                m.zFunc = n % 5 == 0 ? D3DCMP_LESSEQUAL : 0;
                EXPECT_TRUE(LoopsMatch(m))
                    << "blend " << b.on << " " << b.src << "/" << b.dst << " colour " << o.color
                    << " alpha " << o.alpha << " gouraud " << gouraud << " linear " << m.linear;
            }
        }
    }
}

// The colour taken from the diffuse colour alone and the alpha from the
// texture (texture x diffuse, selected, mixed), the diffuse colour constant
// and varying, under each blend, point and bilinear, with and without the
// alpha test, the colour key and a depth buffer. The alpha tests that pass
// no range of alphas keep the draw from the wider loops, so the scalar
// choice is checked too.
TEST(SoftDeviceSpans, FastLoopsMatchTheGeneralLoopForTheDiffuseColour) {
    const D3DLong alphaOps[] = {D3DTOP_MODULATE, D3DTOP_SELECTARG1, D3DTOP_BLENDTEXTUREALPHA,
                                D3DTOP_ADD};
    const D3DLong alphaFuncs[] = {0, D3DCMP_GREATEREQUAL, D3DCMP_LESS, D3DCMP_EQUAL};
    int n = 0, changed = 0, words = 0;
    for (const BlendCase& b : kBlends) {
        for (D3DLong a : alphaOps) {
            for (bool gouraud : {false, true}) {
                for (bool linear : {false, true}) {
                    ++n;
                    const D3DLong func = alphaFuncs[n % 4];
                    SpanMode m{D3DTOP_SELECTARG2, a, b.on, b.src, b.dst, func, 0x60, n % 3 == 0};
                    m.gouraud = gouraud;
                    m.linear = linear;
                    m.zFunc = n % 5 < 2 ? kAllFuncs[n % 8] : 0;
                    m.zWrite = n % 2 == 0;
                    EXPECT_TRUE(LoopsMatch(m))
                        << "blend " << b.on << " " << b.src << "/" << b.dst << " alpha " << a
                        << " gouraud " << gouraud << " linear " << linear << " alpha test " << func
                        << " depth " << m.zFunc;
                    // The same scene with every pixel failing the alpha test.
                    SpanMode none = m;
                    none.alphaFunc = D3DCMP_NEVER;
                    const std::vector<std::uint32_t> drawn = DrawScene(m, Loops::General),
                                                     blank = DrawScene(none, Loops::General);
                    for (std::size_t i = 0; i < drawn.size(); ++i) changed += drawn[i] != blank[i];
                    words += int(drawn.size());
                }
            }
        }
    }
    EXPECT_GT(changed, words / 4);
}

// Bilinear filtering with integer weights, wrapping off every texture edge,
// with the colour key (tested on the nearest texel) and each alpha test.
TEST(SoftDeviceSpans, BilinearFourPixelLoopsMatchTheGeneralLoop) {
    int n = 0;
    for (D3DLong f : kAllFuncs) {
        for (bool blend : {false, true}) {
            for (bool key : {false, true}) {
                ++n;
                SpanMode m{n % 2 ? D3DTOP_MODULATE : D3DTOP_SELECTARG1,
                           D3DTOP_MODULATE,
                           blend,
                           D3DBLEND_SRCALPHA,
                           n % 3 ? D3DBLEND_INVSRCALPHA : D3DBLEND_ONE,
                           f,
                           0x60,
                           key};
                m.linear = true;
                m.gouraud = n % 4 >= 2;
                EXPECT_TRUE(LoopsMatch(m))
                    << "alpha function " << f << " blend " << blend << " key " << key;
            }
        }
    }
}

// The game's heavy draws reach a specialised loop (the comparisons above
// would also pass if they fell back to the general one).
TEST(SoftDeviceSpans, GameDrawsTakeASpecialisedLoop) {
    struct DrawCase {
        const char* name;
        bool linear, depth, perspective, constColor, blend;
        D3DLong colorOp, alphaOp;
    };
    const DrawCase cases[] = {
        {"sprite", false, false, false, true, true, D3DTOP_MODULATE, D3DTOP_MODULATE},
        {"sprite over depth", false, true, false, true, true, D3DTOP_MODULATE, D3DTOP_MODULATE},
        {"linear sprite", true, false, false, true, true, D3DTOP_MODULATE, D3DTOP_MODULATE},
        {"linear sprite over depth", true, true, false, true, true, D3DTOP_MODULATE,
         D3DTOP_MODULATE},
        {"lit ground", true, true, true, false, false, D3DTOP_BLENDTEXTUREALPHA, D3DTOP_SELECTARG2},
        {"lit ground, point", false, true, true, false, false, D3DTOP_MODULATE, D3DTOP_SELECTARG1},
        {"gouraud sprite", false, false, false, false, true, D3DTOP_MODULATE, D3DTOP_MODULATE},
        {"additive shot", true, false, false, true, true, D3DTOP_ADD, D3DTOP_MODULATE},
        {"doubled shot", true, false, false, true, true, D3DTOP_MODULATE2X, D3DTOP_SELECTARG1},
        {"diffuse-coloured sprite", true, false, false, true, true, D3DTOP_SELECTARG2,
         D3DTOP_MODULATE},
        {"diffuse-coloured sprite, point", false, false, false, true, true, D3DTOP_SELECTARG2,
         D3DTOP_MODULATE},
        {"gouraud diffuse-coloured sprite", true, false, false, false, true, D3DTOP_SELECTARG2,
         D3DTOP_MODULATE},
    };
    std::vector<std::uint32_t> pixels(64 * 64), texels(32 * 32), padded;
    raster::PadTexture(texels.data(), 32, 32, padded);
    std::vector<float> depth(64 * 64);
    for (const DrawCase& c : cases) {
        raster::PixelState ps;
        ps.target = pixels.data();
        ps.width = ps.height = 64;
        ps.clipX2 = ps.clipY2 = 64;
        ps.tex = texels.data();
        ps.texW = ps.texH = 32;
        ps.texPow2 = ps.wrapPow2 = true;
        ps.linear = c.linear;
        // The device gives the wide loops a padded copy to filter from.
        if (c.linear) ps.texPadded = padded.data();
        if (c.depth) {
            ps.depth = depth.data();
            ps.depthWidth = 64;
            ps.zTest = ps.zWrite = true;
        }
        ps.colorOp = c.colorOp;
        ps.alphaOp = c.alphaOp;
        ps.blend = c.blend;
        ps.srcBlend = D3DBLEND_SRCALPHA;
        ps.dstBlend = D3DBLEND_INVSRCALPHA;
        raster::Classify(ps);
        raster::Planes p;
        p.perspective = c.perspective;
        p.constColor = c.constColor;
        const raster::SpanFn chosen = raster::ChooseSpan(ps, p);
        EXPECT_NE(chosen, &raster::GenericSpan) << c.name;
        // Where the processor runs them, the eight-pixel loops take over.
        raster::PixelState four = ps;
        four.allowWide = false;
        const raster::SpanFn fourLoop = raster::ChooseSpan(four, p);
        EXPECT_NE(fourLoop, &raster::GenericSpan) << c.name;
        EXPECT_EQ(chosen != fourLoop, raster::WideLoopsUsable()) << c.name;
        // And the sixteen-pixel ones over those where it runs them, but
        // not in perspective.
        raster::PixelState eight = ps;
        eight.allowWidest = false;
        const raster::SpanFn eightLoop = raster::ChooseSpan(eight, p);
        EXPECT_EQ(eightLoop != fourLoop, raster::WideLoopsUsable()) << c.name;
        EXPECT_EQ(chosen != eightLoop, raster::Wide16LoopsUsable() && !c.perspective) << c.name;
        // Without the padded copy a filtered draw keeps to the four-pixel
        // loops.
        raster::PixelState unpadded = ps;
        unpadded.texPadded = nullptr;
        raster::Planes q = p;
        EXPECT_EQ(raster::ChooseSpan(unpadded, q) == fourLoop,
                  c.linear || !raster::WideLoopsUsable())
            << c.name;
    }
}

// Triangles that read no texel: the colour and alpha from the diffuse
// colour (the texture stays bound) or the stage off, each blend, alpha test
// and depth function; the flat-coloured ones take the one-colour loop.
TEST(SoftDeviceSpans, UntexturedTrianglesMatchTheGeneralLoop) {
    const SpanMode modes[] = {
        {D3DTOP_SELECTARG2, D3DTOP_SELECTARG2, false, D3DBLEND_ONE, D3DBLEND_ZERO, 0, 0, false},
        {D3DTOP_SELECTARG2, D3DTOP_SELECTARG2, true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 0, 0,
         false},
        {D3DTOP_SELECTARG2, D3DTOP_SELECTARG2, true, D3DBLEND_SRCALPHA, D3DBLEND_ONE,
         D3DCMP_GREATER, 128, false},
        {D3DTOP_SELECTARG2, D3DTOP_SELECTARG2, true, D3DBLEND_ONE, D3DBLEND_ONE, D3DCMP_LESS, 200,
         false, false, false, D3DCMP_LESSEQUAL, true},
        {D3DTOP_SELECTARG2, D3DTOP_SELECTARG2, false, D3DBLEND_ONE, D3DBLEND_ZERO, 0, 0, false,
         false, false, D3DCMP_GREATER, false, 3},
        {D3DTOP_SELECTARG2, D3DTOP_SELECTARG2, true, D3DBLEND_ZERO, D3DBLEND_ONE, 0, 0, false,
         false, false, D3DCMP_ALWAYS, true},
        {D3DTOP_DISABLE, D3DTOP_DISABLE, true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 0, 0,
         false},
        {D3DTOP_SELECTARG2, D3DTOP_SELECTARG2, true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 0, 0,
         false, false, true},
    };
    for (std::size_t i = 0; i < std::size(modes); ++i) {
        EXPECT_TRUE(LoopsMatch(modes[i])) << "mode " << i;
    }

    raster::PixelState ps;
    std::vector<std::uint32_t> texels(4 * 4);
    ps.tex = texels.data();
    ps.texW = ps.texH = 4;
    ps.texPow2 = ps.wrapPow2 = true;
    ps.colorOp = ps.alphaOp = D3DTOP_SELECTARG2;
    raster::Classify(ps);
    raster::Planes flat, gouraud;
    flat.constColor = true;
    EXPECT_NE(raster::ChooseSpan(ps, flat), &raster::GenericSpan);
    EXPECT_EQ(raster::ChooseSpan(ps, gouraud), &raster::GenericSpan);
    // A colour key tests the texel, and a texture read is no one-colour
    // triangle.
    ps.colorKey = true;
    EXPECT_EQ(raster::ChooseSpan(ps, flat), &raster::GenericSpan);
    ps.colorKey = false;
    ps.colorOp = D3DTOP_MODULATE;
    ps.colorArg1 = D3DTA_DIFFUSE;
    ps.colorArg2 = D3DTA_TEXTURE;
    raster::Classify(ps);
    EXPECT_EQ(raster::ChooseSpan(ps, flat), &raster::GenericSpan);
}

// A scene actually drawn: the comparisons above would pass on a blank target.
TEST(SoftDeviceSpans, SceneChangesTheTarget) {
    const SpanMode m{
        D3DTOP_SELECTARG1, D3DTOP_SELECTARG1, false, D3DBLEND_ONE, D3DBLEND_ZERO, 0, 0, false};
    const SpanMode none{D3DTOP_SELECTARG1, D3DTOP_SELECTARG1, false, D3DBLEND_ONE,
                        D3DBLEND_ZERO,     D3DCMP_NEVER,      0,     false};
    const auto drawn = DrawScene(m, Loops::Sixteen), untouched = DrawScene(none, Loops::Sixteen);
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
        EXPECT_EQ(raster::FloorDivNear(c.n, c.d), c.floor) << c.n << "/" << c.d;
    }
}

TEST(EdgeWalker, TheDoubleDivisionFloorsExactlyUpToItsBound) {
    constexpr std::int64_t kBound = std::int64_t{1} << 50;
    Lcg rng{7};
    const auto wide = [&] { return std::int64_t(rng.Next()) << 26 | std::int64_t(rng.Next()); };
    for (int i = 0; i < 20000; ++i) {
        const std::int64_t d = 1 + wide() % (i % 3 == 0 ? 300 : std::int64_t{1} << 31);
        std::int64_t n = wide() % kBound;
        if (i % 2 != 0) n = -n;
        // Exact multiples and their neighbours, where a rounded quotient
        // falls on the wrong side of a whole number.
        if (i % 5 == 0) n = (n / d) * d + (i % 3) - 1;
        ASSERT_EQ(raster::FloorDivNear(n, d), raster::FloorDiv(n, d)) << n << "/" << d;
    }
}

}  // namespace
}  // namespace brumil::platform
