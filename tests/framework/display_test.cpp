#include "framework/display.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/splib.h"
#include "platform/base/headless_window.h"

namespace brumil::framework {
namespace {

struct EventLog : ILibEvents {
    std::vector<std::string> seen;
    void xLib_TerminateDraw() override { seen.push_back("TerminateDraw"); }
    void xLib_VideoMemoryRelease() override { seen.push_back("VideoMemoryRelease"); }
    void xLib_VideoMemoryCash() override { seen.push_back("VideoMemoryCash"); }
};

class Display : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(DisplayStart(DisplaySettings{})); }
    void TearDown() override { DisplayStop(); }
};

TEST_F(Display, StartMakesTheChainAndTheDevice) {
    EXPECT_TRUE(IsDisplayReady());
    EXPECT_EQ(gScreenWidth(), 640);
    EXPECT_EQ(gScreenHeight(), 480);
    EXPECT_EQ(GetDDSWidth(gBackDDS()), 640);
    ASSERT_NE(gZBufferDDS(), nullptr);
    ASSERT_NE(gZBufferDDS2(), nullptr);
    EXPECT_FALSE(gNoDoubleZBuffer());
    EXPECT_NE(gD3DDevice(), nullptr);
    EXPECT_TRUE(GetDrawOption7());
    EXPECT_TRUE(gD3DCaps().CapsAlphaGreaterEqual);
    EXPECT_EQ(GetTextureLimit(), 0);  // the device's limits are not below 1024
    EXPECT_EQ(gUseHardwareDevice(), 0);
    EXPECT_EQ(GetVideoMemoryTotalKB(0x4000), 0);
    EXPECT_EQ(GetVideoMemoryFreeKB(0x4000), 0);
    EXPECT_EQ(gPixelBits(), gPixelBitsList().front());
    const DDSDescription d = ReadDDSDescription(gBackDDS());
    EXPECT_EQ(d.width, 640);
    EXPECT_EQ(d.pitch, 640 * 4);
    EXPECT_EQ(d.formatCode, 888);
    EXPECT_EQ(d.memoryKind, 0);
}

TEST_F(Display, RecreationRaisesTheEventsInOrderAndLosesOldSurfaces) {
    EventLog log;
    LibEventSubscription sub(&log);
    const Long level = GetRenderLevel();
    SurfacePtr old = CreateOffscreenDDS(8, 8, true, 0);
    SurfacePtr oldBack = gBackDDS();
    ASSERT_TRUE(IsDDSAlive(old));
    DisplaySettingsChange c;
    c.halfSize = true;
    c.secondZBuffer = false;
    ASSERT_TRUE(DirectDrawApplySettings(c));
    EXPECT_EQ(log.seen,
              (std::vector<std::string>{"TerminateDraw", "VideoMemoryRelease", "VideoMemoryCash"}));
    EXPECT_EQ(GetRenderLevel(), level + 1);
    EXPECT_FALSE(IsDDSAlive(old));
    EXPECT_FALSE(IsDDSAlive(oldBack));
    EXPECT_TRUE(IsDisplayReady());
    EXPECT_EQ(gScreenWidth(), 320);
    EXPECT_TRUE(IsHalfSizeMode());
    EXPECT_EQ(GetDrawScale(), 0.5f);
    EXPECT_EQ(GetHalfSizeOffset(), 32.0f);
    EXPECT_TRUE(gNoDoubleZBuffer());
    EXPECT_EQ(gZBufferDDS2(), nullptr);
    // An omitted setting keeps its value.
    DisplaySettingsChange hq;
    hq.highQuality = true;
    ASSERT_TRUE(DirectDrawApplySettings(hq));
    EXPECT_EQ(gScreenWidth(), 1024);
    EXPECT_FALSE(IsHalfSizeMode());
    EXPECT_FLOAT_EQ(GetDrawScale(), 1.6f);
    EXPECT_TRUE(CurrentDisplaySettings().halfSize);
    EXPECT_FALSE(CurrentDisplaySettings().secondZBuffer);
}

TEST_F(Display, FullScreenSwitchRecreatesOnlyOnChange) {
    const Long level = GetRenderLevel();
    SetFullScreenMode(false);
    EXPECT_EQ(GetRenderLevel(), level);
    SetFullScreenMode(true);
    EXPECT_TRUE(IsFullScreenMode());
    EXPECT_EQ(GetRenderLevel(), level + 1);
    SetFullScreenMode(false);
}

TEST_F(Display, TexturesArePowersOfTwoOfAtLeastSixteen) {
    struct Case {
        Long w, h;
        bool alpha, no32;
        Long wantW, wantH, code;
    };
    const Case cases[] = {
        {1, 1, true, false, 16, 16, 8888},
        {20, 5, true, false, 32, 16, 8888},
        {64, 64, true, false, 64, 64, 8888},
        {100, 300, false, false, 128, 512, 888},
        {20, 5, true, true, 32, 16, 4444},
        // The software device's textures reach the largest surface side.
        {5000, 5, true, false, 8192, 16, 8888},
    };
    for (const Case& c : cases) {
        DisplaySettingsChange ch;
        ch.no32BitTextures = c.no32;
        ASSERT_TRUE(DirectDrawApplySettings(ch));
        SurfacePtr s;
        ASSERT_EQ(CreateDDS(s, c.w, c.h, true, c.alpha, 0, 0, 0), 0);
        const DDSDescription d = ReadDDSDescription(s);
        EXPECT_EQ(d.width, c.wantW);
        EXPECT_EQ(d.height, c.wantH);
        EXPECT_EQ(d.formatCode, c.code);
    }
    SurfacePtr s;
    EXPECT_NE(CreateDDS(s, 0, 5, true, true, 0, 0, 0), 0);
    EXPECT_NE(CreateDDS(s, 9000, 5, true, true, 0, 0, 0), 0);  // beyond any surface
    EXPECT_EQ(s, nullptr);
    ASSERT_EQ(CreateDDS(s, 20, 5, false, false, 0, 0, 0), 0);
    EXPECT_EQ(GetDDSWidth(s), 20);  // not a texture: exact size
}

TEST_F(Display, TextureLimitFallsStepByStep) {
    EventLog log;
    LibEventSubscription sub(&log);
    const Long want[] = {512, 256, 128, 64, 32, 1, 1};
    for (Long w : want) {
        UpdateTextureLimit();
        EXPECT_EQ(GetTextureLimit(), w);
    }
    EXPECT_EQ(log.seen.size(), 7u);
    ClampTextureLimit();
    EXPECT_EQ(GetTextureLimit(), 0);
}

TEST_F(Display, WorkSurfaceModesCopyColourAndDepthPairs) {
    SurfacePtr work = GetWorkDDS(0);
    ASSERT_TRUE(IsDDSAlive(work));
    EXPECT_EQ(GetDDSWidth(work), 640);
    gBackDDS()->BltColorFill(0xFF0000FFu);
    gZBufferDDS()->DepthFill(gZBufferDDS()->Rect(), 0.25f);
    GetWorkDDS(5);
    EXPECT_EQ(work->PixelAt(3, 3), 0u);
    GetWorkDDS(4);  // back -> work and depth -> second depth
    EXPECT_EQ(work->PixelAt(3, 3), 0xFF0000FFu);
    EXPECT_EQ(gZBufferDDS2()->DepthAt(3, 3), 0.25f);
    gBackDDS()->BltColorFill(0);
    gZBufferDDS()->DepthFill(gZBufferDDS()->Rect(), 1.0f);
    GetWorkDDS(3);  // work -> back and second depth -> depth
    EXPECT_EQ(gBackDDS()->PixelAt(3, 3), 0xFF0000FFu);
    EXPECT_EQ(gZBufferDDS()->DepthAt(3, 3), 0.25f);
    gBackDDS()->BltColorFill(0);
    GetWorkDDS(1);
    EXPECT_EQ(gBackDDS()->PixelAt(3, 3), 0xFF0000FFu);
    // A lost work surface is made again.
    work->MarkLost();
    SurfacePtr again = GetWorkDDS(0);
    EXPECT_NE(again, work);
    EXPECT_TRUE(IsDDSAlive(again));
}

TEST_F(Display, BltDDSClipsCentresAndKeys) {
    SurfacePtr src = CreateOffscreenDDS(4, 4, true, 0);
    src->BltColorFill(0xFF00FF00u);
    src->BltColorFill({0, 0, 1, 1}, 0xFF000000u);
    SetColorKeyDDS(src, false, 0);  // key from the top-left pixel
    SurfacePtr dst = CreateOffscreenDDS(8, 8, true, 0);
    dst->BltColorFill(0xFFFFFFFFu);
    // Size 0 means the source's; centred at (1, 1): covers -1..2, clipped.
    ASSERT_TRUE(BltDDS(dst, src, 1, 1, 0, 0, 0, 0, true, true));
    EXPECT_EQ(dst->PixelAt(0, 0), 0xFF00FF00u);
    EXPECT_EQ(dst->PixelAt(2, 2), 0xFF00FF00u);
    EXPECT_EQ(dst->PixelAt(3, 3), 0xFFFFFFFFu);
    ASSERT_TRUE(BltDDS(dst, src, 4, 4, 2, 2, 0, 0, true, false));
    EXPECT_EQ(dst->PixelAt(4, 4), 0xFFFFFFFFu);  // the key pixel was skipped
    EXPECT_EQ(dst->PixelAt(5, 5), 0xFF00FF00u);
    EXPECT_FALSE(BltDDS(dst, nullptr, 0, 0, 0, 0, 0, 0, false, false));
    EXPECT_FALSE(BltDDS(dst, src, 0, 0, 2147483647, 5, 0, 0, false, false));
    ASSERT_TRUE(BltDDSColorFill(dst, 4, 4, 2, 2, 0x123456, true));
    EXPECT_EQ(dst->PixelAt(3, 3), 0x123456u);
    EXPECT_EQ(dst->PixelAt(5, 5), 0xFF00FF00u);
    src->MarkLost();
    SetDDSColorKey(src, true, 5);  // lost: nothing happens
    EXPECT_EQ(src->ColorKey(), 0xFF000000u);
}

TEST(DisplayRects, ClipStretchRectShrinksTheSourceInProportion) {
    struct Case {
        RECT dest, src;
        bool empty;
        RECT wantDest, wantSrc;
    };
    const RECT bounds{0, 0, 640, 480};
    const Case cases[] = {
        {{-10, 0, 10, 10}, {0, 0, 40, 20}, false, {0, 0, 10, 10}, {20, 0, 40, 20}},
        {{630, 470, 650, 490}, {0, 0, 20, 20}, false, {630, 470, 640, 480}, {0, 0, 10, 10}},
        {{700, 0, 710, 10}, {0, 0, 10, 10}, true, {}, {}},
        {{0, 0, 0, 10}, {0, 0, 10, 10}, true, {}, {}},
    };
    for (const Case& c : cases) {
        RECT d = c.dest, s = c.src;
        EXPECT_EQ(ClipStretchRect(bounds, d, s), c.empty);
        if (!c.empty) {
            EXPECT_EQ(d.Left, c.wantDest.Left);
            EXPECT_EQ(d.Right, c.wantDest.Right);
            EXPECT_EQ(d.Bottom, c.wantDest.Bottom);
            EXPECT_EQ(s.Left, c.wantSrc.Left);
            EXPECT_EQ(s.Right, c.wantSrc.Right);
            EXPECT_EQ(s.Bottom, c.wantSrc.Bottom);
        }
    }
    RECT r;
    SetRectWH(r, 10, 20, 3, 4);
    EXPECT_EQ(r.Right, 13);
    EXPECT_EQ(r.Bottom, 24);
    EXPECT_EQ(GetDDSRect(nullptr).Right, 0);
}

TEST_F(Display, PresentHandsTheBackSurfaceToTheWindow) {
    platform::HeadlessWindow w;
    gBackDDS()->BltColorFill({5, 6, 7, 8}, 0xFFABCDEFu);
    DisplayPresent(w, false, 0, 0, 0, 0);  // nothing dirty
    EXPECT_EQ(w.PresentCount(), 0);
    gBackDDS()->MarkLost();
    DisplayPresent(w, true, 0, 0, 640, 480);
    EXPECT_TRUE(IsDDSAlive(gBackDDS()));  // restored first
    ASSERT_EQ(w.LastFrame().width, 640);
    EXPECT_EQ(w.LastFrame().argb[6 * 640 + 5], 0xFFABCDEFu);
}

TEST(DisplayLifecycle, StopReleasesTheChain) {
    ASSERT_TRUE(DisplayStart(DisplaySettings{}));
    EventLog log;
    LibEventSubscription sub(&log);
    SurfacePtr back = gBackDDS();
    DisplayStop();
    EXPECT_EQ(log.seen, std::vector<std::string>{"TerminateDraw"});
    EXPECT_EQ(gBackDDS(), nullptr);
    EXPECT_EQ(gD3DDevice(), nullptr);
    EXPECT_FALSE(IsDDSAlive(back));
    EXPECT_FALSE(IsDisplayReady());
    SurfacePtr s;
    EXPECT_EQ(CreateDDS(s, 16, 16, true, true, 0, 0, 0), 2);
    EXPECT_EQ(GetWorkDDS(2), nullptr);
    platform::HeadlessWindow w;
    DisplayPresent(w, true, 0, 0, 640, 480);
    EXPECT_EQ(w.PresentCount(), 0);
}

TEST_F(Display, DeviceDrawsIntoTheBackSurface) {
    auto& dev = *gD3DDevice();
    ASSERT_TRUE(dev.Clear({}, platform::D3DCLEAR_TARGET | platform::D3DCLEAR_ZBUFFER,
                          static_cast<Long>(0xFF202020u), 1.0f, 0));
    EXPECT_EQ(gBackDDS()->PixelAt(639, 479), 0xFF202020u);
    EXPECT_EQ(gZBufferDDS()->DepthAt(0, 0), 1.0f);
}

}  // namespace
}  // namespace brumil::framework
