#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "framework/display.h"
#include "framework/splib.h"
#include "render/graphics.h"
#include "render_test_env.h"

namespace brumil::render {
namespace {

using testing::DisplayTest;

class GraphicsTexture : public DisplayTest {};

TEST_F(GraphicsTexture, SizingUnderLimitsAndHalfSize) {
    struct Case {
        const char* name;
        Long limit;  // the device's largest texture side (0: the software device's)
        Long w, h;
        Long halfLevel, surfaceW, surfaceH;
        float tu, tv;
    };
    const std::vector<Case> cases = {
        {"fits", 0, 100, 30, 0, 128, 32, 100.0f / 128, 30.0f / 32},
        {"600x300 under 256 becomes 150x75", 256, 600, 300, 2, 256, 128, 150.0f / 256, 75.0f / 128},
        {"exactly the limit", 256, 256, 10, 0, 256, 16, 1.0f, 10.0f / 16},
        {"a limit below 32 halves nothing", 16, 20, 10, 0, 0, 0, 0, 0},
        // Wide pictures on the software device, whose textures reach the
        // largest surface side; a 9000-pixel picture is held at 8000.
        {"3000 wide fits the software device", 0, 3000, 64, 0, 4096, 64, 3000.0f / 4096, 1.0f},
        {"9000 wide fits once held at 8000", 0, 9000, 64, 0, 8192, 64, 8000.0f / 8192, 1.0f},
        // A device whose textures stop at 2048: no limit below 1024, but the
        // picture is halved until it fits the device.
        {"3000 wide under 2048 is halved once", 2048, 3000, 64, 1, 2048, 32, 1500.0f / 2048, 1.0f},
        {"9000 wide under 2048 is halved twice", 2048, 9000, 64, 2, 2048, 16, 2000.0f / 2048, 1.0f},
        {"2048 wide fits 2048 exactly", 2048, 2048, 64, 0, 2048, 64, 1.0f, 1.0f},
    };
    const auto caps = framework::gD3DCaps();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        framework::gD3DCaps() = caps;
        if (c.limit > 0) {
            framework::gD3DCaps().MaxTextureWidth = c.limit;
            framework::gD3DCaps().MaxTextureHeight = c.limit;
        }
        framework::ClampTextureLimit();
        CGraphics g;
        g.Add(c.w, c.h, true);
        const bool made = g.ExistDDSTexture(true, true);
        EXPECT_EQ(made, c.surfaceW > 0);
        EXPECT_EQ(g.HalfLevel(), c.halfLevel);
        if (!made) continue;
        EXPECT_EQ(g.Surface->Width(), c.surfaceW);
        EXPECT_EQ(g.Surface->Height(), c.surfaceH);
        EXPECT_EQ(g.tw(), static_cast<float>(c.surfaceW));
        EXPECT_EQ(g.th(), static_cast<float>(c.surfaceH));
        EXPECT_FLOAT_EQ(g.tu(), c.tu);
        EXPECT_FLOAT_EQ(g.tv(), c.tv);
        EXPECT_TRUE(g.Surface->Desc().texture);
        // The picture itself keeps its size.
        EXPECT_EQ(g.Width(), std::min<Long>(c.w, 8000));
    }
    framework::gD3DCaps() = caps;
    framework::ClampTextureLimit();
}

TEST_F(GraphicsTexture, HalvedPictureIsTheMeanOfItsBlocks) {
    framework::gD3DCaps().MaxTextureWidth = 32;
    framework::gD3DCaps().MaxTextureHeight = 32;
    framework::ClampTextureLimit();
    CGraphics g;
    g.Add(64, 2, true);
    for (Long x = 0; x < 64; x += 2) {
        g.Image.dwSetPixel(x, 0, static_cast<Long>(0xFF000000u));
        g.Image.dwSetPixel(x + 1, 0, static_cast<Long>(0xFF0000C8u));
        g.Image.dwSetPixel(x, 1, static_cast<Long>(0xFF000000u));
        g.Image.dwSetPixel(x + 1, 1, static_cast<Long>(0xFF0000C8u));
    }
    g.Refresh();
    ASSERT_TRUE(g.ExistDDSTexture(true, true));
    EXPECT_EQ(g.HalfLevel(), 1);
    EXPECT_EQ(g.Surface->PixelAt(5, 0), 0xFF000064u);
    // Outside the picture the texture is transparent black.
    EXPECT_EQ(g.Surface->PixelAt(5, 1), 0u);
}

class HalfSizeTexture : public DisplayTest {
protected:
    framework::DisplaySettings Settings() const override {
        framework::DisplaySettings s;
        s.halfSize = true;
        return s;
    }
};

TEST_F(HalfSizeTexture, PicturesOver32PixelsAreHalvedOnce) {
    struct Case {
        Long w, h, halfLevel, sourceW, sourceH;
    };
    for (const auto& c : {Case{64, 16, 1, 32, 8}, Case{32, 32, 0, 32, 32}, Case{200, 8, 1, 100, 4},
                          Case{8, 33, 1, 4, 16}}) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        CGraphics g;
        g.Add(c.w, c.h, true);
        ASSERT_TRUE(g.ExistDDSTexture(true, true));
        EXPECT_EQ(g.HalfLevel(), c.halfLevel);
        EXPECT_FLOAT_EQ(g.tu() * g.tw(), static_cast<float>(c.sourceW));
        EXPECT_FLOAT_EQ(g.tv() * g.th(), static_cast<float>(c.sourceH));
        // Asking again does not halve again.
        ASSERT_TRUE(g.ExistDDSTexture(true, true));
        EXPECT_EQ(g.HalfLevel(), c.halfLevel);
    }
}

TEST_F(GraphicsTexture, PictureChangeRefillsAtTheNextDraw) {
    CGraphics g;
    g.Add(4, 4, true);
    g.ChooseColor(10, 20, 30, 255);
    ASSERT_TRUE(g.ExistDDSTexture(true, true));
    const auto surface = g.Surface;
    EXPECT_EQ(surface->PixelAt(1, 1), 0xFF0A141Eu);
    g.ChooseColor(40, 50, 60, 255);
    // Nothing changes until the texture is used again...
    EXPECT_EQ(surface->PixelAt(1, 1), 0xFF0A141Eu);
    ASSERT_TRUE(g.ExistDDSTexture(true, true));
    // ...then the same surface is refilled.
    EXPECT_EQ(g.Surface, surface);
    EXPECT_EQ(surface->PixelAt(1, 1), 0xFF28323Cu);
    // A texture is keyed with colour 0.
    EXPECT_EQ(surface->ColorKey(), std::optional<std::uint32_t>(0u));
    // Without fill the surface is made but not filled.
    CGraphics empty;
    empty.Add(4, 4, true);
    empty.ChooseColor(1, 2, 3, 255);
    ASSERT_TRUE(empty.ExistDDSTexture(false, true));
    EXPECT_EQ(empty.Surface->PixelAt(0, 0), 0u);
}

TEST_F(GraphicsTexture, FrameworkEventsReleaseAndRebuild) {
    CGraphics g;
    g.Add(8, 8, true);
    g.ChooseColor(1, 2, 3, 255);
    ASSERT_TRUE(g.ExistDDSTexture(true, true));
    framework::gSpLib().RaiseTerminateDraw();
    EXPECT_EQ(g.Surface, nullptr);
    ASSERT_TRUE(g.ExistDDSTexture(true, true));
    framework::gSpLib().RaiseVideoMemoryRelease();
    EXPECT_EQ(g.Surface, nullptr);
    // Video memory is back: every graphic makes and fills its texture at once,
    // also one that never had one.
    CGraphics fresh;
    framework::gSpLib().RaiseVideoMemoryCash();
    ASSERT_NE(g.Surface, nullptr);
    EXPECT_EQ(g.Surface->PixelAt(0, 0), 0xFF010203u);
    EXPECT_NE(fresh.Surface, nullptr);
    // The picture survives all of it.
    EXPECT_EQ(static_cast<std::uint32_t>(g.Image.dwGetPixel(7, 7)), 0xFF010203u);
}

TEST_F(GraphicsTexture, DisplayRecreationGivesANewLiveTexture) {
    CGraphics g;
    g.Add(8, 8, true);
    ASSERT_TRUE(g.ExistDDSTexture(true, true));
    const auto old = g.Surface;
    ASSERT_TRUE(framework::DisplayStart(framework::DisplaySettings{}));
    EXPECT_TRUE(old->IsLost());
    ASSERT_NE(g.Surface, nullptr);
    EXPECT_NE(g.Surface, old);
    EXPECT_FALSE(g.Surface->IsLost());
}

TEST_F(GraphicsTexture, SwitchingBetweenSurfaceKindsRebuilds) {
    CGraphics g;
    g.Add(20, 10, true);
    ASSERT_TRUE(g.ExistDDS(true));
    EXPECT_FALSE(g.Surface->Desc().texture);
    EXPECT_EQ(g.Surface->Width(), 20);
    EXPECT_EQ(g.tu(), 1.0f);
    ASSERT_TRUE(g.ExistDDSTexture(true, true));
    EXPECT_TRUE(g.Surface->Desc().texture);
    EXPECT_EQ(g.Surface->Width(), 32);
    ASSERT_TRUE(g.ExistDDS(true));
    EXPECT_FALSE(g.Surface->Desc().texture);
}

TEST_F(GraphicsTexture, NothingIsMadeWithoutALiveBackSurface) {
    CGraphics g;
    g.Add(8, 8, true);
    framework::gBackDDS()->MarkLost();
    EXPECT_FALSE(g.ExistDDSTexture(true, true));
    EXPECT_FALSE(g.ExistDDS(true));
    EXPECT_EQ(g.Surface, nullptr);
}

// On a hardware device a texture that cannot be made lowers the limit, which
// releases every graphic's video memory (this one's included), and is tried
// again from the state as it is then.
TEST_F(GraphicsTexture, FailedVideoMemoryTextureLowersTheLimitAndRetries) {
    framework::gUseHardwareDevice() = 1;
    CGraphics other;
    other.Add(8, 8, true);
    ASSERT_TRUE(other.ExistDDSTexture(true, true));

    // A device that can make no texture above 16 while the limit still reads
    // "none": every try fails and lowers the limit (512, 256, ... 32, the
    // picture halved to fit each), down to a managed texture that fails too.
    // The answer is false, and the limit has come down to 1.
    ASSERT_EQ(framework::GetTextureLimit(), 0);
    framework::gD3DCaps().MaxTextureWidth = 16;
    framework::gD3DCaps().MaxTextureHeight = 16;
    CGraphics big;
    big.Add(64, 64, true);
    EXPECT_FALSE(big.ExistDDSTexture(true, true));
    EXPECT_EQ(framework::GetTextureLimit(), 1);
    EXPECT_EQ(big.Surface, nullptr);
    // The first lowering released every graphic's video memory.
    EXPECT_EQ(other.Surface, nullptr);
    // At limit 1 a texture that fits is managed and made at once.
    CGraphics small;
    small.Add(16, 16, true);
    EXPECT_TRUE(small.ExistDDSTexture(true, true));
    EXPECT_EQ(small.Surface->Width(), 16);
}

}  // namespace
}  // namespace brumil::render
