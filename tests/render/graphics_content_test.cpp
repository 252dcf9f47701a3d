#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/display.h"
#include "image/cmg_bbi_string.h"
#include "platform/gfx/surface.h"
#include "render/graphics.h"
#include "render_test_env.h"

namespace brumil::render {
namespace {

using testing::DisplayTest;

std::uint32_t Px(const CGraphics& g, Long x, Long y) {
    return static_cast<std::uint32_t>(g.Image.dwGetPixel(x, y));
}

void Fill(CGraphics& g, std::uint32_t argb) {
    for (auto& p : g.Image.Pixels()) p = argb;
    g.Refresh();
}

std::size_t CountNonZero(const CGraphics& g) {
    std::size_t n = 0;
    for (auto p : g.Image.Pixels()) n += p != 0;
    return n;
}

TEST(GraphicsContent, NewGraphicIsEmptyWhiteCorneredTexture) {
    CGraphics g;
    EXPECT_EQ(g.Width(), 1);
    EXPECT_EQ(g.Height(), 1);
    EXPECT_EQ(g.color(), -1);
    EXPECT_EQ(g.GetRender(), 0x10);
    EXPECT_EQ(g.Surface, nullptr);
}

TEST(GraphicsContent, RenderTextureCodes) {
    struct Case {
        bool alpha, additive;
        Long code;
    };
    for (const auto& c : {Case{false, false, 0x10}, Case{true, false, 0x211},
                          Case{false, true, 0x14}, Case{true, true, 0x215}}) {
        CGraphics g;
        g.SetRender_Texture(c.alpha, c.additive);
        EXPECT_EQ(g.GetRender(), c.code);
    }
}

TEST(GraphicsContent, CornerColours) {
    CGraphics g;
    g.color(0x11);
    g.ColorIndex(2, 0x22);
    g.ColorIndex(4, 0x33);   // no such corner
    g.ColorIndex(-1, 0x33);  // nor this
    EXPECT_EQ(g.ColorIndex(0), 0x11);
    EXPECT_EQ(g.ColorIndex(1), 0x11);
    EXPECT_EQ(g.ColorIndex(2), 0x22);
    EXPECT_EQ(g.ColorIndex(3), 0x11);
    EXPECT_EQ(g.ColorIndex(4), 0);
    EXPECT_EQ(g.color(), 0x11);
}

TEST(GraphicsContent, AddClearsOnlyWhenAsked) {
    CGraphics g;
    g.Add(4, 4, true);
    Fill(g, 0xFF123456u);
    g.Add(4, 4, true);
    EXPECT_EQ(CountNonZero(g), 0u);
    Fill(g, 0xFF123456u);
    g.Add(4, 4, false);
    EXPECT_EQ(Px(g, 3, 3), 0xFF123456u);
    // Another size is a new, cleared picture either way.
    g.Add(5, 4, false);
    EXPECT_EQ(CountNonZero(g), 0u);
}

// Each picture operation changes the picture and the change reaches the
// texture at its next use.
class PictureOperations : public DisplayTest {};

TEST_F(PictureOperations, ChooseOperationsChangeThePictureAndTheTexture) {
    struct Case {
        const char* name;
        std::uint32_t start;
        std::function<void(CGraphics&)> op;
        Long width;  // afterwards
        std::uint32_t pixel11;
    };
    const std::vector<Case> cases = {
        {"all channels", 0x11223344u, [](CGraphics& g) { g.ChooseColor(1, 2, 3, 4); }, 4,
         0x04010203u},
        {"alpha missing: colour set, alpha kept", 0x11223344u,
         [](CGraphics& g) { g.ChooseColor(1, 2, 3); }, 4, 0x11010203u},
        {"red missing", 0x11223344u, [](CGraphics& g) { g.ChooseColor(std::nullopt, 2, 3, 4); }, 4,
         0x04220203u},
        {"brightness to alpha", 0xFF808080u, [](CGraphics& g) { g.ChooseCA(0, 0); }, 4,
         0x80808080u},
        {"half scale", 0xFF102030u, [](CGraphics& g) { g.ChooseScale(1, 2); }, 2, 0xFF102030u},
        {"vivit adds its value", 0xFF102030u, [](CGraphics& g) { g.ChooseVivit(0x010101); }, 4,
         0xFF112131u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CGraphics g;
        g.Add(4, 4, true);
        Fill(g, c.start);
        ASSERT_TRUE(g.ExistDDSTexture(true, true));
        c.op(g);
        EXPECT_EQ(g.Width(), c.width);
        EXPECT_EQ(Px(g, 1, 1), c.pixel11);
        ASSERT_TRUE(g.ExistDDSTexture(true, true));
        EXPECT_EQ(g.Surface->PixelAt(1, 1), c.pixel11);
    }
}

TEST_F(PictureOperations, ColourKeysUseTheTopLeftPixel) {
    struct Case {
        const char* name;
        std::function<void(CGraphics&)> op;
    };
    const std::vector<Case> cases = {
        {"plain", [](CGraphics& g) { g.ChooseColorKey(); }},
        {"soft edges", [](CGraphics& g) { g.ChooseColorKeyAntiAreas(); }},
        {"soft edges and filter", [](CGraphics& g) { g.ChooseColorKeyAntiAreas2(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CGraphics g;
        g.Add(8, 8, true);
        Fill(g, 0xFFFF00FFu);  // the key colour
        for (Long y = 2; y < 6; ++y) {
            for (Long x = 2; x < 6; ++x) g.Image.dwSetPixel(x, y, static_cast<Long>(0xFF00FF00u));
        }
        g.Refresh();
        ASSERT_TRUE(g.ExistDDSTexture(true, true));
        c.op(g);
        EXPECT_EQ(Px(g, 0, 0) >> 24, 0u);
        EXPECT_EQ(Px(g, 3, 3) & 0xFFFFFFu, 0x00FF00u);
        ASSERT_TRUE(g.ExistDDSTexture(true, true));
        EXPECT_EQ(g.Surface->PixelAt(0, 0) >> 24, 0u);
    }
}

TEST(GraphicsContent, ChildrenKeepCopiesOfThePicture) {
    CGraphics g;
    g.ChildPop();  // no children: nothing happens
    EXPECT_EQ(g.GetChildCount(), 0);
    g.Add(2, 2, true);
    Fill(g, 0xFF0000FFu);
    g.ChildPush();
    Fill(g, 0xFFFF0000u);
    ASSERT_EQ(g.GetChildCount(), 1);
    EXPECT_EQ(Px(*g.Child(0), 0, 0), 0xFF0000FFu);
    g.ChildPop();
    EXPECT_EQ(Px(g, 1, 1), 0xFF0000FFu);
    EXPECT_EQ(g.GetChildCount(), 0);

    g.ChildRedim(3);
    EXPECT_EQ(g.GetChildCount(), 3);
    EXPECT_EQ(g.Child(3), nullptr);
    EXPECT_EQ(g.Child(-1), nullptr);
    const auto second = g.Child(1);  // made on first use, the same afterwards
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(g.Child(1), second);
    g.ChildRedimPreserve(2);
    EXPECT_EQ(g.Child(1), second);
    g.ChildRedim(2);
    EXPECT_NE(g.Child(1), second);
    g.ChildRedimPreserve(0);
    EXPECT_EQ(g.GetChildCount(), 0);
}

TEST(GraphicsContent, BltIntoThePictureAndByRegion) {
    CGraphics g;
    g.Add(8, 8, true);
    image::CmgBBI src;
    src.CreateBBI(4, 4);
    for (auto& p : src.Pixels()) p = 0xFF00FF00u;
    g.Blt(src, 1, 1, 2, 2, 0, 0);
    EXPECT_EQ(Px(g, 2, 2), 0xFF00FF00u);
    EXPECT_EQ(Px(g, 3, 3), 0u);
    // The region of the source is drawn where it sits, moved by (x, y).
    g.BltRgn(src, 4, 4, core::CRect(1, 1, 2, 2), 0, 1.0f);
    EXPECT_EQ(Px(g, 5, 5), 0xFF00FF00u);
    EXPECT_EQ(Px(g, 6, 6), 0xFF00FF00u);
    EXPECT_EQ(Px(g, 4, 4), 0u);
    // An empty region draws nothing.
    g.BltRgn(src, 0, 0, core::CRect(0, 0, 0, 5), 0, 1.0f);
    EXPECT_EQ(Px(g, 0, 0), 0u);
}

class GraphicsText : public DisplayTest {};

TEST_F(GraphicsText, StepsEndInTheSamePictureAsAllAtOnce) {
    CGraphics whole;
    Long result = -1;
    whole.LoadText("AB", 64, 32, 16, "ＭＳ ゴシック", 0, true, 0, 0, 0, 0, false, result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(image::gBBIString().FontSize, 16);
    const std::size_t inked = CountNonZero(whole);
    ASSERT_GT(inked, 0u);

    CGraphics stepped;
    stepped.LoadText("AB", 64, 32, 16, "ＭＳ ゴシック", 0, true, 0, 0, 0, 0, true);
    EXPECT_EQ(CountNonZero(stepped), 0u);
    ASSERT_TRUE(stepped.ExistDDSTexture(true, true));
    // Another text changes the shared font in between; the kept one is used.
    image::gBBIString().FontSize = 40;
    EXPECT_TRUE(stepped.LoadTextNext());
    const std::size_t first = CountNonZero(stepped);
    EXPECT_GT(first, 0u);
    EXPECT_LT(first, inked);
    // Each step reaches the texture.
    ASSERT_TRUE(stepped.ExistDDSTexture(true, true));
    std::size_t onTexture = 0;
    for (auto p : stepped.Surface->Pixels()) onTexture += p != 0;
    EXPECT_EQ(onTexture, first);
    EXPECT_TRUE(stepped.LoadTextNext());
    EXPECT_FALSE(stepped.LoadTextNext());
    EXPECT_FALSE(stepped.LoadTextNext());
    EXPECT_TRUE(std::equal(stepped.Image.Pixels().begin(), stepped.Image.Pixels().end(),
                           whole.Image.Pixels().begin(), whole.Image.Pixels().end()));
}

TEST_F(GraphicsText, NoKeptLayoutMeansNoStep) {
    CGraphics g;
    EXPECT_FALSE(g.LoadTextNext());
    g.LoadText("A", 32, 32, 16, "ＭＳ ゴシック", 0, true, 0, 0, 0, 0, true);
    // A text drawn at once replaces the one being stepped.
    g.LoadText("B", 32, 32, 16, "ＭＳ ゴシック", 0, true, 0, 0, 0, 0, false);
    EXPECT_FALSE(g.LoadTextNext());
    // Control characters lay out nothing: the step ends at once.
    g.LoadText("\r\n\t", 32, 32, 16, "ＭＳ ゴシック", 0, true, 0, 0, 0, 0, true);
    EXPECT_FALSE(g.LoadTextNext());
}

class LoadFromSurface : public DisplayTest {};

TEST_F(LoadFromSurface, ContentLivesInThePicture) {
    platform::SurfaceDesc d;
    d.width = 4;
    d.height = 4;
    d.format = platform::PixelFormat::Argb8888;
    const auto source = platform::Surface::Create(d);
    source->BltColorFill(0xFF336699u);
    source->BltColorFill({0, 0, 2, 2}, 0xFFAA0000u);

    CGraphics g;
    g.LoadDDSTex(source, 8, 8);  // stretched to twice the size
    EXPECT_EQ(Px(g, 0, 0), 0xFFAA0000u);
    EXPECT_EQ(Px(g, 3, 3), 0xFFAA0000u);
    EXPECT_EQ(Px(g, 7, 7), 0xFF336699u);
    ASSERT_NE(g.Surface, nullptr);
    EXPECT_EQ(g.Surface->PixelAt(7, 7), 0xFF336699u);
    // Dropping the texture or a later picture operation keeps the content.
    g.Release();
    EXPECT_EQ(Px(g, 7, 7), 0xFF336699u);
    g.ChooseScale(1, 2);
    EXPECT_EQ(Px(g, 3, 3), 0xFF336699u);
    ASSERT_TRUE(g.ExistDDSTexture(true, true));
    EXPECT_EQ(g.Surface->PixelAt(0, 0), 0xFFAA0000u);

    // A lost source leaves a plain picture of the size asked for.
    CGraphics lost;
    source->MarkLost();
    lost.LoadDDSTex(source, 6, 5);
    EXPECT_EQ(lost.Width(), 6);
    EXPECT_EQ(CountNonZero(lost), 0u);
}

}  // namespace
}  // namespace brumil::render
