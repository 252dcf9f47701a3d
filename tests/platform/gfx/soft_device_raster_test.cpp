// Pixel-exact checks of the software device's rasterisation: the render-mode
// combinations the game uses, fill rule, culling, depth, filtering.
#include <gtest/gtest.h>

#include <string>

#include "gfx_test_util.h"

namespace brumil::platform {
namespace {

using testing::DrawStrip;
using testing::MakeSurface;
using testing::MakeTexture;
using testing::Quad;
using testing::TL;

struct Rig {
    SurfacePtr target;
    SurfacePtr depth;
    std::unique_ptr<Direct3DDevice7> dev;

    Rig(int w, int h, bool withDepth = false, SoftDeviceOptions o = {}) {
        target = MakeSurface(w, h);
        if (withDepth) depth = MakeSurface(w, h, PixelFormat::Depth32F);
        dev = CreateSoftDevice(target, depth, o);
        dev->BeginScene();
    }
    void State(D3DLong s, D3DLong v) { ASSERT_TRUE(dev->SetRenderState(s, v)); }
    void Stage(D3DLong t, D3DLong v) { ASSERT_TRUE(dev->SetTextureStageState(0, t, v)); }
};

constexpr std::uint32_t kT0 = 0x80C04020u;  // a 128, r 192, g 64, b 32
constexpr std::uint32_t kT1 = 0x00FFFFFFu;  // transparent white
constexpr std::uint32_t kDst = 0xFF102030u;

struct ModeCase {
    const char* name;
    D3DLong colorOp, alphaOp;
    bool blend;
    D3DLong src, dst;
    bool alphaTest;
    std::uint32_t diffuse;
    std::uint32_t want0, want1;
};

TEST(SoftDeviceModes, TexturedQuadUnderEachRenderModeOfTheGame) {
    const ModeCase cases[] = {
        {"blend off, texture", D3DTOP_SELECTARG1, D3DTOP_SELECTARG1, false, 0, 0, false,
         0xFFFFFFFFu, kT0, kT1},
        {"source alpha / inverse", D3DTOP_SELECTARG1, D3DTOP_MODULATE, true, D3DBLEND_SRCALPHA,
         D3DBLEND_INVSRCALPHA, false, 0xFFFFFFFFu, 0xBF683028u, kDst},
        {"source alpha / one", D3DTOP_SELECTARG1, D3DTOP_MODULATE, true, D3DBLEND_SRCALPHA,
         D3DBLEND_ONE, false, 0xFFFFFFFFu, 0xFF704040u, kDst},
        {"texture x diffuse", D3DTOP_MODULATE, D3DTOP_MODULATE, false, 0, 0, false, 0xFF808080u,
         0x80602010u, 0x00808080u},
        {"texture x diffuse 2x", D3DTOP_MODULATE2X, D3DTOP_SELECTARG1, false, 0, 0, false,
         0xFFC0C0C0u, 0x80FF6030u, 0x00FFFFFFu},
        {"texture + diffuse", D3DTOP_ADD, D3DTOP_SELECTARG1, false, 0, 0, false, 0xFF404040u,
         0x80FF8060u, 0x00FFFFFFu},
        {"alpha test at 1", D3DTOP_SELECTARG1, D3DTOP_SELECTARG1, false, 0, 0, true, 0xFFFFFFFFu,
         kT0, kDst},
    };
    for (bool specialised : {true, false}) {
        for (const ModeCase& c : cases) {
            Rig r(2, 1, false, {specialised});
            r.target->BltColorFill(kDst);
            SurfacePtr tex = MakeTexture(2, 1, {kT0, kT1});
            ASSERT_TRUE(r.dev->SetTexture(0, tex));
            r.Stage(D3DTSS_COLOROP, c.colorOp);
            r.Stage(D3DTSS_ALPHAOP, c.alphaOp);
            r.Stage(D3DTSS_COLORARG2, D3DTA_DIFFUSE);
            r.Stage(D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
            r.State(D3DRENDERSTATE_ALPHABLENDENABLE, c.blend ? 1 : 0);
            if (c.blend) {
                r.State(D3DRENDERSTATE_SRCBLEND, c.src);
                r.State(D3DRENDERSTATE_DESTBLEND, c.dst);
            }
            if (c.alphaTest) {
                r.State(D3DRENDERSTATE_ALPHATESTENABLE, 1);
                r.State(D3DRENDERSTATE_ALPHAREF, 1);
                r.State(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_GREATEREQUAL);
            }
            ASSERT_TRUE(DrawStrip(*r.dev, Quad(0, 0, 2, 1, c.diffuse)));
            EXPECT_EQ(r.target->PixelAt(0, 0), c.want0) << c.name << " " << specialised;
            EXPECT_EQ(r.target->PixelAt(1, 0), c.want1) << c.name << " " << specialised;
        }
    }
}

TEST(SoftDeviceModes, BlendZeroOneLeavesTheTarget) {
    Rig r(2, 1);
    r.target->BltColorFill(kDst);
    r.State(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    r.State(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ZERO);
    r.State(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    ASSERT_TRUE(DrawStrip(*r.dev, Quad(0, 0, 2, 1, 0xFFFFFFFFu)));
    EXPECT_EQ(r.target->PixelAt(0, 0), kDst);
    EXPECT_EQ(r.target->PixelAt(1, 0), kDst);
}

TEST(SoftDeviceModes, TextureFactorAndStageOpsWithoutTexture) {
    struct Case {
        D3DLong op, arg1;
        std::uint32_t diffuse, factor, want;
    };
    const Case cases[] = {
        {D3DTOP_SELECTARG1, D3DTA_TFACTOR, 0xFF000000u, 0xFF123456u, 0xFF123456u},
        {D3DTOP_SUBTRACT, D3DTA_TFACTOR, 0xFF102030u, 0xFF808080u, 0xFF706050u},
        {D3DTOP_ADDSIGNED, D3DTA_TFACTOR, 0xFF808080u, 0xFF40C0FFu, 0xFF40C0FFu},
        {D3DTOP_MODULATE4X, D3DTA_TFACTOR, 0xFF404040u, 0xFF202020u, 0xFF202020u},
        {D3DTOP_BLENDFACTORALPHA, D3DTA_TFACTOR, 0xFF000000u, 0x80FFFFFFu, 0x80808080u},
        // (factor + diffuse - 0.5) x 2, saturated.
        {D3DTOP_ADDSIGNED2X, D3DTA_TFACTOR, 0xFF808080u, 0xFF406090u, 0xFF80C0FFu},
        // Weighted by the diffuse alpha, whatever the factor's alpha.
        {D3DTOP_BLENDDIFFUSEALPHA, D3DTA_TFACTOR, 0x80000000u, 0xFFFFFFFFu, 0xFF808080u},
    };
    for (const Case& c : cases) {
        Rig r(1, 1);
        r.Stage(D3DTSS_COLOROP, c.op);
        r.Stage(D3DTSS_COLORARG1, c.arg1);
        r.Stage(D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        r.Stage(D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        r.Stage(D3DTSS_ALPHAARG1, c.arg1);
        r.State(D3DRENDERSTATE_TEXTUREFACTOR, static_cast<D3DLong>(c.factor));
        ASSERT_TRUE(DrawStrip(*r.dev, Quad(0, 0, 1, 1, c.diffuse)));
        EXPECT_EQ(r.target->PixelAt(0, 0), c.want) << c.op;
    }
}

TEST(SoftDeviceModes, ColourKeyDiscardsKeyTexels) {
    Rig r(2, 1);
    r.target->BltColorFill(kDst);
    SurfacePtr tex = MakeTexture(2, 1, {0xFF00FF00u, 0x00000000u});
    tex->SetColorKey(0u);
    ASSERT_TRUE(r.dev->SetTexture(0, tex));
    r.Stage(D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    r.State(D3DRENDERSTATE_COLORKEYENABLE, 1);
    ASSERT_TRUE(DrawStrip(*r.dev, Quad(0, 0, 2, 1)));
    EXPECT_EQ(r.target->PixelAt(0, 0), 0xFF00FF00u);
    EXPECT_EQ(r.target->PixelAt(1, 0), kDst);
    // With keying off the key texel is drawn.
    r.State(D3DRENDERSTATE_COLORKEYENABLE, 0);
    ASSERT_TRUE(DrawStrip(*r.dev, Quad(0, 0, 2, 1)));
    EXPECT_EQ(r.target->PixelAt(1, 0), 0u);
}

TEST(SoftDeviceRaster, GouraudAndFlatShading) {
    Rig r(4, 1);
    r.Stage(D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    r.Stage(D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    auto q = Quad(0, 0, 4, 1);
    q[0].color = q[2].color = static_cast<D3DLong>(0xFF000000u);
    q[1].color = q[3].color = static_cast<D3DLong>(0xFF0000FFu);
    ASSERT_TRUE(DrawStrip(*r.dev, q));
    const std::uint32_t want[4] = {32, 96, 159, 223};  // blue at the pixel centres
    for (int x = 0; x < 4; ++x) EXPECT_EQ(r.target->PixelAt(x, 0), 0xFF000000u | want[x]);
    r.State(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT);
    ASSERT_TRUE(DrawStrip(*r.dev, q));
    // Each triangle takes its first vertex: top-left for the first, top-right
    // for the second; pixel (3, 0) lies in the second.
    EXPECT_EQ(r.target->PixelAt(0, 0), 0xFF000000u);
    EXPECT_EQ(r.target->PixelAt(3, 0), 0xFF0000FFu);
}

TEST(SoftDeviceRaster, BilinearFilteringBetweenTexelCentres) {
    Rig r(4, 1);
    SurfacePtr tex = MakeTexture(2, 1, {0xFF000000u, 0xFFFFFFFFu});
    ASSERT_TRUE(r.dev->SetTexture(0, tex));
    r.Stage(D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    r.Stage(D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    r.Stage(D3DTSS_MINFILTER, D3DTFG_LINEAR);
    r.Stage(D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
    ASSERT_TRUE(DrawStrip(*r.dev, Quad(0, 0, 4, 1)));
    const std::uint32_t want[4] = {0, 64, 191, 255};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(r.target->PixelAt(x, 0) & 0xFF, want[x]) << x;
    }
}

TEST(SoftDeviceRaster, TextureCoordinatesArePerspectiveCorrect) {
    Rig r(10, 1);
    std::vector<std::uint32_t> texels;
    for (std::uint32_t i = 0; i < 8; ++i) texels.push_back(0xFF000000u | i);
    SurfacePtr tex = MakeTexture(8, 1, texels);
    ASSERT_TRUE(r.dev->SetTexture(0, tex));
    r.Stage(D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    const std::array<D3DTLVERTEX, 4> q = {TL(-0.5f, -0.5f, 0, 0), TL(9.5f, -0.5f, 1, 0),
                                          TL(-0.5f, 0.5f, 0, 1), TL(9.5f, 0.5f, 1, 1)};
    auto p = q;
    p[1].rhw = p[3].rhw = 0.25f;
    ASSERT_TRUE(DrawStrip(*r.dev, p));
    EXPECT_EQ(r.target->PixelAt(4, 0) & 0xFF, 1u);  // affine would give 3
    EXPECT_EQ(r.target->PixelAt(9, 0) & 0xFF, 6u);
    EXPECT_EQ(r.target->PixelAt(0, 0) & 0xFF, 0u);
}

// Every pixel of a tiled area is drawn exactly once: shared edges follow the
// top-left rule. Each mesh's triangles cover the rectangle [x1, x2) x [y1, y2).
TEST(SoftDeviceRaster, SharedEdgesDrawEachPixelOnce) {
    struct Mesh {
        const char* name;
        std::vector<std::array<float, 2>> fan;  // centre then the rim, closed
        int x1, y1, x2, y2;
    };
    const Mesh meshes[] = {
        {"centre on a pixel centre",
         {{3, 4}, {-0.5f, -0.5f}, {7.5f, -0.5f}, {7.5f, 7.5f}, {-0.5f, 7.5f}, {-0.5f, -0.5f}},
         0,
         0,
         8,
         8},
        {"corners on pixel centres", {{2, 2}, {0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}}, 0, 0, 4, 4},
        {"odd fractions",
         {{3.3f, 2.7f}, {0.2f, 0.1f}, {5.6f, 0.1f}, {5.6f, 6.3f}, {0.2f, 6.3f}, {0.2f, 0.1f}},
         1,
         1,
         6,
         7},
    };
    for (const Mesh& m : meshes) {
        Rig r(10, 10);
        r.State(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        r.State(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        r.State(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
        r.State(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
        r.Stage(D3DTSS_COLOROP, D3DTOP_SELECTARG2);
        r.Stage(D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
        std::vector<D3DTLVERTEX> v;
        for (const auto& p : m.fan) v.push_back(TL(p[0], p[1], 0, 0, 0x01010101u));
        ASSERT_TRUE(r.dev->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_TLVERTEX,
                                         std::span<const D3DTLVERTEX>(v), D3DLong(v.size()), 0));
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x) {
                const bool in = x >= m.x1 && x < m.x2 && y >= m.y1 && y < m.y2;
                EXPECT_EQ(r.target->PixelAt(x, y), in ? 0x01010101u : 0u)
                    << m.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(SoftDeviceRaster, CullingFollowsScreenWinding) {
    struct Case {
        D3DLong cull;
        bool clockwiseDrawn, counterDrawn;
    };
    const Case cases[] = {
        {D3DCULL_CCW, true, false}, {D3DCULL_CW, false, true}, {D3DCULL_NONE, true, true}};
    // On screen (y down) this order turns clockwise.
    const std::array<D3DTLVERTEX, 3> cw = {TL(0, 0, 0, 0), TL(4, 0, 0, 0), TL(0, 4, 0, 0)};
    const std::array<D3DTLVERTEX, 3> ccw = {cw[0], cw[2], cw[1]};
    for (const Case& c : cases) {
        for (bool clockwise : {true, false}) {
            Rig r(4, 4);
            r.Stage(D3DTSS_COLOROP, D3DTOP_SELECTARG2);
            r.State(D3DRENDERSTATE_CULLMODE, c.cull);
            const auto& tri = clockwise ? cw : ccw;
            ASSERT_TRUE(r.dev->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX,
                                             std::span<const D3DTLVERTEX>(tri), 3, 0));
            const bool drawn = r.target->PixelAt(0, 0) != 0;
            EXPECT_EQ(drawn, clockwise ? c.clockwiseDrawn : c.counterDrawn) << c.cull;
        }
    }
}

TEST(SoftDeviceRaster, DepthTestAndWrite) {
    Rig r(2, 2, true);
    ASSERT_TRUE(r.dev->Clear({}, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0));
    r.Stage(D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    const auto draw = [&](std::uint32_t color, float z) {
        ASSERT_TRUE(DrawStrip(*r.dev, Quad(0, 0, 2, 2, color, z)));
    };
    draw(0xFFFF0000u, 0.5f);
    EXPECT_EQ(r.target->PixelAt(1, 1), 0xFFFF0000u);
    draw(0xFF00FF00u, 0.7f);  // behind: fails less-or-equal
    EXPECT_EQ(r.target->PixelAt(1, 1), 0xFFFF0000u);
    draw(0xFF0000FFu, 0.5f);  // equal passes
    EXPECT_EQ(r.target->PixelAt(1, 1), 0xFF0000FFu);
    r.State(D3DRENDERSTATE_ZWRITEENABLE, 0);
    draw(0xFF111111u, 0.2f);
    EXPECT_EQ(r.depth->DepthAt(0, 0), 0.5f);  // not written
    draw(0xFF222222u, 0.3f);
    EXPECT_EQ(r.target->PixelAt(0, 0), 0xFF222222u);
    r.State(D3DRENDERSTATE_ZENABLE, 0);
    draw(0xFF333333u, 0.9f);
    EXPECT_EQ(r.target->PixelAt(0, 0), 0xFF333333u);
}

TEST(SoftDeviceRaster, ClearIsClippedToTheViewport) {
    Rig r(4, 4, true);
    D3DVIEWPORT7 vp{1, 1, 2, 2, 0.0f, 1.0f};
    ASSERT_TRUE(r.dev->SetViewport(vp));
    ASSERT_TRUE(r.dev->Clear({}, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x7F, 0.25f, 0));
    EXPECT_EQ(r.target->PixelAt(1, 1), 0x7Fu);
    EXPECT_EQ(r.target->PixelAt(2, 2), 0x7Fu);
    EXPECT_EQ(r.target->PixelAt(0, 0), 0u);
    EXPECT_EQ(r.target->PixelAt(3, 2), 0u);
    EXPECT_EQ(r.depth->DepthAt(2, 1), 0.25f);
    EXPECT_EQ(r.depth->DepthAt(3, 3), 1.0f);
    const D3DRECT rects[] = {{0, 0, 4, 2}};
    ASSERT_TRUE(r.dev->Clear(rects, D3DCLEAR_TARGET, 0x11, 1.0f, 0));
    EXPECT_EQ(r.target->PixelAt(1, 1), 0x11u);
    EXPECT_EQ(r.target->PixelAt(1, 2), 0x7Fu);
    EXPECT_EQ(r.target->PixelAt(0, 1), 0u);
    // Triangles are clipped to the viewport too.
    r.Stage(D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    r.State(D3DRENDERSTATE_ZENABLE, 0);
    ASSERT_TRUE(DrawStrip(*r.dev, Quad(0, 0, 4, 4, 0xFFFFFFFFu)));
    EXPECT_EQ(r.target->PixelAt(0, 0), 0u);
    EXPECT_EQ(r.target->PixelAt(2, 2), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace brumil::platform
