#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "core/rect.h"
#include "framework/display.h"
#include "render/admin_lib.h"
#include "render/graphics.h"
#include "render/im_device.h"
#include "render_test_env.h"

namespace brumil::render {
namespace {

using testing::DisplayTest;

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

std::uint32_t Back(Long x, Long y) {
    return framework::gBackDDS()->PixelAt(x, y) & 0xFFFFFFu;
}

void FillPicture(CGraphics& g, Long w, Long h, std::uint32_t argb) {
    g.Add(w, h, true);
    for (auto& p : g.Image.Pixels()) p = argb;
    g.Refresh();
}

// Which pixels of a row of the back surface hold `rgb`, as a string of
// '#' and '.', from x0 for n pixels.
std::string Row(Long y, Long x0, Long n, std::uint32_t rgb) {
    std::string s;
    for (Long x = x0; x < x0 + n; ++x) s += Back(x, y) == (rgb & 0xFFFFFFu) ? '#' : '.';
    return s;
}

class SpriteOnSoftwareDevice : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        framework::gBackDDS()->BltColorFill(0xFF000000u);
        ASSERT_TRUE(gIMDevice().SceneBegin());
    }
    void TearDown() override {
        gIMDevice().SceneEnd();
        DisplayTest::TearDown();
    }
};

TEST_F(SpriteOnSoftwareDevice, TexturedQuadCoversExactlyItsPixels) {
    CGraphics g;
    FillPicture(g, 4, 3, kRed);
    g.DrawD3DDraw(10, 20, 0, 0, 0, 0, false, false);
    EXPECT_EQ(Row(20, 8, 8, kRed), "..####..");
    EXPECT_EQ(Row(22, 8, 8, kRed), "..####..");
    EXPECT_EQ(Row(19, 8, 8, kRed), "........");
    EXPECT_EQ(Row(23, 8, 8, kRed), "........");
}

TEST_F(SpriteOnSoftwareDevice, SourceRegionCentringAndCornerColours) {
    CGraphics g;
    FillPicture(g, 4, 4, kRed);
    for (Long y = 0; y < 4; ++y) {
        for (Long x = 2; x < 4; ++x) g.Image.dwSetPixel(x, y, static_cast<Long>(kBlue));
    }
    g.Refresh();
    // Only the blue right half, 2 x 4, centred on (50, 50).
    g.DrawD3DDrawRgn(-2, 0, core::CRect(2, 0, 2, 4), false, false);
    g.DrawD3DDrawStretch(50, 50, 2, 4, 2, 0, 2, 4, true, false);
    EXPECT_EQ(Row(48, 47, 6, kBlue), "..##..");
    EXPECT_EQ(Row(51, 47, 6, kBlue), "..##..");
    EXPECT_EQ(Row(52, 47, 6, kBlue), "......");
    // The region member drew the same half where it sits in the picture.
    EXPECT_EQ(Row(0, 0, 3, kBlue), "##.");
    // Corner colours modulate with the alpha-blend code; plain texture ignores them.
    CGraphics tinted;
    FillPicture(tinted, 2, 2, 0xFFFFFFFFu);
    tinted.color(static_cast<Long>(0xFF00FF00u));
    tinted.SetRender(0x20);  // texture times vertex colour
    tinted.DrawD3DDraw(100, 100, 0, 0, 0, 0, false, false);
    EXPECT_EQ(Back(100, 100), 0x00FF00u);
}

TEST_F(SpriteOnSoftwareDevice, RotatedAndBlendedSprites) {
    // A 2 x 8 bar turned a quarter about its centre lies 8 x 2.
    CGraphics bar;
    FillPicture(bar, 2, 8, kRed);
    bar.DrawD3D(100.75f, 100.75f, 0, 0, 0.5f, 0.5f, 1.5707963f, 1);
    EXPECT_EQ(Row(100, 95, 12, kRed), "..########..");
    EXPECT_EQ(Row(101, 95, 12, kRed), "..########..");
    EXPECT_EQ(Row(99, 95, 12, kRed), "............");
    // Half-transparent red alpha-blended over black gives half red.
    CGraphics glass;
    FillPicture(glass, 2, 2, 0x80FF0000u);
    glass.SetRender_Texture(true, false);
    glass.DrawD3DDraw(200, 200, 0, 0, 0, 0, false, false);
    const std::uint32_t p = Back(200, 200);
    EXPECT_NEAR(static_cast<int>(p >> 16), 0x80, 2);
    EXPECT_EQ(p & 0xFFFFu, 0u);
    // Fully transparent pixels are discarded by the alpha test (no blending
    // here, so only the test keeps them out).
    CGraphics clear;
    FillPicture(clear, 2, 2, 0x00FFFFFFu);
    clear.SetRender(0x210);
    clear.DrawD3DDraw(300, 300, 0, 0, 0, 0, false, false);
    EXPECT_EQ(Back(300, 300), 0u);
}

TEST_F(SpriteOnSoftwareDevice, ATextureWithoutAlphaDrawsItsPixelsOpaque) {
    // A picture whose fourth bytes are all 0, made into a texture with or
    // without alpha, drawn with alpha blending and the alpha test.
    struct Case {
        const char* name;
        bool alphaTexture;
        std::uint32_t seen;
    };
    const Case cases[] = {
        {"with alpha the clear pixels are dropped", true, 0u},
        {"without alpha every pixel is opaque", false, kRed & 0xFFFFFFu},
    };
    Long x = 400;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGraphics g;
        FillPicture(g, 2, 2, kRed & 0xFFFFFFu);
        ASSERT_TRUE(g.ExistDDSTexture(true, c.alphaTexture));
        g.SetRender(0x211);
        g.DrawD3DDraw(x, 60, 0, 0, 0, 0, false, false);
        EXPECT_EQ(Back(x, 60), c.seen);
        EXPECT_EQ(Back(x + 1, 61), c.seen);
        x += 10;
    }
}

TEST_F(SpriteOnSoftwareDevice, PicturesWiderThanTheOldTextureLimitDraw) {
    // The last 100 columns of each picture land on the screen's left edge.
    for (const Long wide : {3000L, 9000L}) {
        SCOPED_TRACE(wide);
        framework::gBackDDS()->BltColorFill(0xFF000000u);
        CGraphics g;
        FillPicture(g, wide, 2, kBlue);
        g.DrawD3DDraw(100 - g.Width(), 70, 0, 0, 0, 0, false, false);
        EXPECT_EQ(Row(70, 98, 4, kBlue), "##..");
        EXPECT_EQ(Back(0, 71), kBlue & 0xFFFFFFu);
    }
}

TEST_F(SpriteOnSoftwareDevice, BillboardAndPolygon) {
    CGraphics g;
    FillPicture(g, 4, 4, kBlue);
    platform::D3DTLVERTEX point;
    point.sx = 60.7f;
    point.sy = 40.2f;
    point.sz = 0.5f;
    point.rhw = 1;
    // Twice the picture's size, its centre at the point's whole pixel.
    g.DrawD3DBillBoard(point, 0.5f, 0.5f, 2);
    EXPECT_EQ(Row(40, 54, 12, kBlue), "..########..");
    // A triangle over the left-bottom half of a square, clockwise.
    g.DrawD3DPolygon(0, 300, 40, 340, 0, 340, 0, 0, 1, 1, 0, 1);
    EXPECT_EQ(Back(5, 335), kBlue & 0xFFFFFFu);
    EXPECT_EQ(Back(35, 305), 0u);
}

TEST_F(SpriteOnSoftwareDevice, DirectDrawAndImageLibraryDraws) {
    CGraphics g;
    FillPicture(g, 4, 4, 0xFF00FF00u);  // the top-left pixel is the key
    g.Image.dwSetPixel(1, 1, static_cast<Long>(kRed));
    g.Refresh();
    g.DrawDDraw(10, 10, 0, 0, 0, 0, false, true);
    EXPECT_EQ(Row(11, 10, 4, kRed), ".#..");
    EXPECT_EQ(Back(10, 10), 0u);  // keyed out
    g.DrawDDraw(20, 10, 0, 0, 0, 0, false, false);
    EXPECT_EQ(Back(20, 10), 0x00FF00u);
    // Clipped at the screen's edge: the part left is the picture's left part.
    g.DrawDDraw(638, 0, 0, 0, 0, 0, false, false);
    EXPECT_EQ(Back(638, 0), 0x00FF00u);
    EXPECT_EQ(Back(639, 1), kRed & 0xFFFFFFu);
    // Through the image library: plain and stretched to twice the size.
    g.DrawGDI(30, 10, 0, 0, 0, 0, false);
    EXPECT_EQ(Back(31, 11), kRed & 0xFFFFFFu);
    g.DrawGDIStretch(40, 10, 8, 8, 0, 0, 4, 4, false);
    EXPECT_EQ(Row(12, 40, 8, kRed), "..##....");
    g.DrawGDIRgn(50, 10, core::CRect(1, 1, 1, 1), false);
    EXPECT_EQ(Row(11, 50, 3, kRed), ".#.");
    EXPECT_EQ(Back(50, 10), 0u);
}

class RecordedDraw : public testing::RecordedDisplayTest {};

TEST_F(RecordedDraw, ZeroSizedStretchCoversTheScreen) {
    CGraphics g;
    g.Add(8, 4, true);
    g.DrawD3DDrawStretch(0, 0, 0, 0, 0, 0, 0, 0, false, true);
    const auto draws = recorder_->CallsNamed("DrawPrimitive");
    ASSERT_EQ(draws.size(), 1u);
    const auto& call = draws[0];
    EXPECT_EQ(call.args.at(0), platform::D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(call.args.at(1), platform::D3DFVF_TLVERTEX);
    ASSERT_EQ(call.bytes.size(), 4 * sizeof(platform::D3DTLVERTEX));
    std::array<platform::D3DTLVERTEX, 4> v;
    std::memcpy(v.data(), call.bytes.data(), call.bytes.size());
    EXPECT_EQ(v[0].sx, -0.5f);
    EXPECT_EQ(v[0].sy, -0.5f);
    EXPECT_EQ(v[3].sx, 639.5f);
    EXPECT_EQ(v[3].sy, 479.5f);
    // The whole picture: tu and tv run to the texture's covered part.
    EXPECT_EQ(v[3].tu, g.tu());
    EXPECT_EQ(v[3].tv, g.tv());
    // Keyed: the render code has the colour-key bit.
    EXPECT_EQ(gIMDevice().LastRenderMode(), 0x18);

    recorder_->ClearCalls();
    g.DrawD3DDrawStretch(320, 240, 100, 50, 0, 0, 0, 0, true, false);
    std::memcpy(v.data(), recorder_->CallsNamed("DrawPrimitive").at(0).bytes.data(), sizeof(v));
    EXPECT_EQ(v[0].sx, 269.5f);
    EXPECT_EQ(v[0].sy, 214.5f);
    EXPECT_EQ(v[3].sx, 369.5f);
}

class HalfSizeDraw : public testing::RecordedDisplayTest {
protected:
    framework::DisplaySettings Settings() const override {
        framework::DisplaySettings s;
        s.halfSize = true;
        return s;
    }
};

TEST_F(HalfSizeDraw, PositionsFollowTheDrawScale) {
    CGraphics g;
    g.Add(8, 8, true);
    g.DrawD3DDraw(100, 60, 0, 0, 0, 0, false, false);
    std::array<platform::D3DTLVERTEX, 4> v;
    std::memcpy(v.data(), recorder_->CallsNamed("DrawPrimitive").at(0).bytes.data(), sizeof(v));
    EXPECT_EQ(v[0].sx, 49.5f);
    EXPECT_EQ(v[0].sy, 29.5f);
    EXPECT_EQ(v[3].sx, 53.5f);
    // A zero-sized stretch still covers the whole (half-size) screen.
    recorder_->ClearCalls();
    g.DrawD3DDrawStretch(0, 0, 0, 0, 0, 0, 0, 0, false, false);
    std::memcpy(v.data(), recorder_->CallsNamed("DrawPrimitive").at(0).bytes.data(), sizeof(v));
    EXPECT_EQ(v[3].sx, 319.5f);
    EXPECT_EQ(v[3].sy, 239.5f);
}

}  // namespace
}  // namespace brumil::render
