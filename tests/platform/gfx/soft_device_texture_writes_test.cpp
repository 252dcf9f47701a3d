// A texture changed between draws with no state set in between: the next
// draw must read the new pixels, whichever loops draw (the wide ones filter
// from a copy of the texture) and on any number of threads.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "gfx_test_util.h"
#include "texture_writes.h"

namespace brumil::platform {
namespace {

using testing::Loops;
using testing::Same;
using testing::TextureWrite;
using testing::TL;

// A filtered, blended sprite turned by an angle, its texture coordinates
// running well past 0 and 1 so the texture wraps across it both ways.
void DrawTurnedSprite(Direct3DDevice7& dev, int n) {
    const float cx = 30.0f + float(n), cy = 22.0f - float(n), half = 25.0f;
    const float angle = 0.3f + 0.7f * float(n), cs = std::cos(angle), sn = std::sin(angle);
    std::array<D3DTLVERTEX, 4> q;
    for (int k = 0; k < 4; ++k) {
        const float px = k & 1 ? 1.0f : -1.0f, py = k & 2 ? 1.0f : -1.0f;
        q[std::size_t(k)] = TL(cx + half * (px * cs + py * sn), cy + half * (py * cs - px * sn),
                               k & 1 ? 1.9f : -0.6f, k & 2 ? 2.2f : -0.35f, 0xE0FFF0D0u);
    }
    testing::DrawStrip(dev, q);
}

// Three sprites with the texture written by `write` (nothing when null)
// before the second and the third; the scene ends and begins again around
// each write unless `oneScene`. Answers the target's pixels.
std::vector<std::uint32_t> DrawAcrossWrites(const TextureWrite* write, Loops loops, int threads,
                                            bool oneScene) {
    const int width = 61, height = 45, side = 16;
    SurfacePtr target = testing::MakeSurface(width, height);
    {
        SurfaceLock lock = target->Lock();
        std::uint32_t n = 1;
        for (std::uint32_t& p : lock.Pixels()) p = (n++) * 2246822519u;
    }
    std::vector<std::uint32_t> texels(side * side);
    for (std::size_t i = 0; i < texels.size(); ++i) {
        // Alphas from clear to opaque, colours every which way.
        const std::uint32_t alpha = std::uint32_t(i * 37u + 40u) & 0xFFu;
        texels[i] = alpha << 24 | (std::uint32_t(i + 3) * 2654435761u >> 8);
    }
    SurfacePtr tex = testing::MakeTexture(side, side, texels);
    const std::span<std::uint32_t> direct = tex->MutablePixels();
    SoftDeviceOptions options = testing::OptionsFor(loops);
    options.threads = threads;
    auto dev = CreateSoftDevice(target, nullptr, options);
    dev->BeginScene();
    dev->SetTexture(0, tex);
    dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    dev->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    dev->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFG_LINEAR);
    dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    dev->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    dev->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    DrawTurnedSprite(*dev, 0);
    for (int n = 1; n <= 2; ++n) {
        if (!oneScene) dev->EndScene();
        if (write != nullptr) write->write(*tex, direct);
        if (!oneScene) dev->BeginScene();
        DrawTurnedSprite(*dev, n);
    }
    dev->EndScene();
    return testing::PixelsOf(*target);
}

// Every write path, every loop width, against the general loop.
void ExpectEveryLoopSeesEveryWrite(int threads, bool oneScene) {
    const std::vector<std::uint32_t> unwritten =
        DrawAcrossWrites(nullptr, Loops::General, threads, oneScene);
    for (const TextureWrite& w : testing::kTextureWrites) {
        const std::vector<std::uint32_t> general =
            DrawAcrossWrites(&w, Loops::General, threads, oneScene);
        // The write must show in the picture, or a stale copy would pass.
        int changed = 0;
        for (std::size_t i = 0; i < general.size(); ++i) changed += general[i] != unwritten[i];
        EXPECT_GT(changed, 40) << w.name;
        for (Loops loops : testing::kFastLoops) {
            EXPECT_TRUE(Same(DrawAcrossWrites(&w, loops, threads, oneScene), general))
                << w.name << ", " << testing::LoopsName(loops) << ", " << threads << " threads";
        }
    }
}

class SoftDeviceTextureWrites : public ::testing::TestWithParam<int> {};

TEST_P(SoftDeviceTextureWrites, DrawsBetweenScenesReadTheWrittenTexture) {
    ExpectEveryLoopSeesEveryWrite(GetParam(), false);
}

INSTANTIATE_TEST_SUITE_P(Threads, SoftDeviceTextureWrites, ::testing::Values(1, 8));

// The writes finish the draws recorded before them; the draws after them,
// recorded in the same scene, must not be given the copy those read.
TEST(SoftDeviceTextureWritesInAScene, DrawsAfterAWriteReadTheWrittenTexture) {
    ExpectEveryLoopSeesEveryWrite(8, true);
}

}  // namespace
}  // namespace brumil::platform
