// The four-, eight- and sixteen-pixel loops against the general loop where
// the bilinear weights and the blend reach their ends: texture coordinates that put a pixel just
// before a texel centre (so the scalar weight rounds up to a whole 256),
// exactly on one or a hair past it, with texels and target pixels of 0 and
// 255 in every channel and alphas of 0, 1, 254 and 255.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gfx_test_util.h"

namespace brumil::platform {
namespace {

using testing::Loops;
using testing::MakeSurface;
using testing::TL;

// Every texel and target pixel the filter and the blend can meet at their
// ends, repeated over the texture and the target.
constexpr std::array<std::uint32_t, 8> kExtremes = {
    0xFFFFFFFFu, 0x00000000u, 0xFF00FF00u, 0x00FF00FFu,
    0x01FF0080u, 0xFE00FF7Fu, 0x80FFFFFFu, 0xFF000000u,
};

struct EdgeCoordCase {
    const char* name;
    int texW, texH;
    float u, v;  // the same at every vertex, so at every pixel
    D3DLong src, dst;
};

// A texel coordinate t (in texels, as the filter sees it after taking half a
// texel off) as the texture coordinate for a side of n texels.
float At(float t, int n) {
    return (t + 0.5f) / float(n);
}

// Just before the first texel centre: u * n - 0.5 is -2^-25, and the
// filter's fraction 1 - 2^-25 rounds to 1 (a weight of 256).
float JustBefore(int n) {
    return std::nextafter(0.5f / float(n), 0.0f);
}

// A rectangle 21 pixels wide (two whole groups and a partial one) and 3
// high, every vertex at (u, v): its pixels.
std::vector<std::uint32_t> DrawFlat(const EdgeCoordCase& c, Loops loops, bool drawNothing) {
    const int width = 21, height = 3;
    SurfacePtr target = MakeSurface(width, height);
    {
        SurfaceLock lock = target->Lock();
        std::size_t n = 0;
        for (std::uint32_t& p : lock.Pixels()) p = kExtremes[(n++ * 3) % kExtremes.size()];
    }
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(c.texW) * c.texH);
    for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = kExtremes[i % kExtremes.size()];
    SoftDeviceOptions options = testing::OptionsFor(loops);
    options.threads = 1;
    auto dev = CreateSoftDevice(target, nullptr, options);
    SurfacePtr tex = testing::MakeTexture(c.texW, c.texH, texels);
    dev->BeginScene();
    dev->SetTexture(0, tex);
    dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    dev->SetRenderState(D3DRENDERSTATE_SRCBLEND, c.src);
    dev->SetRenderState(D3DRENDERSTATE_DESTBLEND, c.dst);
    if (drawNothing) {
        dev->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, 1);
        dev->SetRenderState(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_NEVER);
    }
    dev->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    dev->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFG_LINEAR);
    const float right = float(width) - 0.5f, bottom = float(height) - 0.5f;
    const std::array<D3DTLVERTEX, 4> q = {TL(-0.5f, -0.5f, c.u, c.v), TL(right, -0.5f, c.u, c.v),
                                          TL(-0.5f, bottom, c.u, c.v), TL(right, bottom, c.u, c.v)};
    testing::DrawStrip(*dev, q);
    dev->EndScene();
    return testing::PixelsOf(*target);
}

TEST(SoftDeviceFilterEdges, VectorLoopsMatchTheGeneralLoop) {
    constexpr D3DLong kSrcA = D3DBLEND_SRCALPHA, kInvA = D3DBLEND_INVSRCALPHA;
    constexpr D3DLong kOne = D3DBLEND_ONE;
    const EdgeCoordCase cases[] = {
        {"u rounds up to the next texel", 8, 8, JustBefore(8), At(2.25f, 8), kSrcA, kInvA},
        {"u rounds up, one texel wide", 1, 4, JustBefore(1), At(1.5f, 4), kSrcA, kInvA},
        {"v rounds up to the next row", 4, 8, At(1.75f, 4), JustBefore(8), kSrcA, kInvA},
        {"both round up", 4, 4, JustBefore(4), JustBefore(4), kSrcA, kInvA},
        {"both round up, additive", 8, 2, JustBefore(8), JustBefore(2), kSrcA, kOne},
        {"on a texel centre", 8, 8, At(2.0f, 8), At(5.0f, 8), kSrcA, kInvA},
        {"last weight before the next texel", 8, 8, At(2.0f + 255.0f / 256.0f, 8),
         At(6.0f + 255.0f / 256.0f, 8), kSrcA, kInvA},
        {"first weight past a texel", 8, 8, At(4.0f + 1.0f / 256.0f, 8),
         At(1.0f + 1.0f / 256.0f, 8), kSrcA, kInvA},
        {"halfway over the wrap", 8, 8, At(7.5f, 8), At(7.5f, 8), kSrcA, kInvA},
        {"last weight over the wrap", 4, 4, At(3.0f + 255.0f / 256.0f, 4), At(0.5f, 4), kOne, kOne},
    };
    for (const EdgeCoordCase& c : cases) {
        const std::vector<std::uint32_t> general = DrawFlat(c, Loops::General, false);
        for (const Loops loops : testing::kFastLoops) {
            const std::vector<std::uint32_t> got = DrawFlat(c, loops, false);
            ASSERT_EQ(got.size(), general.size());
            for (std::size_t i = 0; i < general.size(); ++i) {
                ASSERT_EQ(got[i], general[i])
                    << c.name << ", pixel " << i << ", " << testing::LoopsName(loops);
            }
        }
        // The rectangle must show, or the comparison proves nothing.
        const std::vector<std::uint32_t> none = DrawFlat(c, Loops::General, true);
        int changed = 0;
        for (std::size_t i = 0; i < general.size(); ++i) changed += general[i] != none[i];
        EXPECT_GT(changed, int(general.size()) / 2) << c.name;
    }
}

}  // namespace
}  // namespace brumil::platform
