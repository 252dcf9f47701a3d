#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "image/cmg_bbi_string.h"
#include "image/font_table.h"
#include "picture_util.h"
#include "temp_root.h"

namespace brumil::image {
namespace {

using test::At;

// Each test starts from the shared renderer's start-up settings.
class TextTest : public ::testing::Test {
protected:
    void SetUp() override {
        s.FontFolder.clear();
        s.FontName = "ＭＳ ゴシック";
        s.FontSize = 20;
        s.FontBlur = 0;
        s.FontAntiAreas = true;
        s.KeyedGlyph = true;
        s.GlyphAtlas.reset();
    }
    void TearDown() override { SetUp(); }
    CmgBBIString& s = gBBIString();
};

int Coverage(const CmgBBI& g) {
    int sum = 0;
    for (auto p : g.Pixels()) sum += static_cast<int>(p >> 24);
    return sum;
}

TEST_F(TextTest, LoadFontOfHiraganaHasCoverage) {
    s.FontSize = 24;
    CmgBBI glyph;
    ASSERT_TRUE(s.LoadFont(glyph, "あ"));
    EXPECT_EQ(glyph.GetWidth(), 24);
    EXPECT_EQ(glyph.GetHeight(), 24);
    int full = 0, empty = 0;
    for (auto p : glyph.Pixels()) {
        EXPECT_EQ(p >> 24, p & 0xFF) << "keyed glyphs carry the coverage in every channel";
        if ((p >> 24) == 255) ++full;
        if (p == 0) ++empty;
    }
    EXPECT_GT(full, 20);
    EXPECT_GT(empty, 200);
    EXPECT_FALSE(s.LoadFont(glyph, ""));
    EXPECT_FALSE(s.LoadFont(glyph, "\n"));
    EXPECT_TRUE(s.LoadFont(glyph, " "));
    EXPECT_EQ(Coverage(glyph), 0);
}

TEST_F(TextTest, GlyphSettingsChangeTheGlyph) {
    CmgBBI plain, blurred, hard, unkeyed, big;
    ASSERT_TRUE(s.LoadFont(plain, "字"));
    s.FontBlur = 3;
    ASSERT_TRUE(s.LoadFont(blurred, "字"));
    s.FontBlur = 0;
    s.FontAntiAreas = false;
    ASSERT_TRUE(s.LoadFont(hard, "字"));
    s.FontAntiAreas = true;
    s.KeyedGlyph = false;
    ASSERT_TRUE(s.LoadFont(unkeyed, "字"));
    s.KeyedGlyph = true;
    s.FontSize = 40;
    ASSERT_TRUE(s.LoadFont(big, "字"));

    auto countLit = [](const CmgBBI& g) {
        int n = 0;
        for (auto p : g.Pixels()) n += (p >> 24) != 0;
        return n;
    };
    EXPECT_GT(countLit(blurred), countLit(plain)) << "blur spreads the coverage";
    for (auto p : hard.Pixels()) {
        const auto a = p >> 24;
        EXPECT_TRUE(a == 0 || a == 255) << "hard glyphs have no grey";
    }
    for (auto p : unkeyed.Pixels()) EXPECT_EQ(p & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(big.GetHeight(), 40);
    // Back to the first settings: the cached glyph is the same picture.
    s.FontSize = 20;
    CmgBBI again;
    ASSERT_TRUE(s.LoadFont(again, "字"));
    EXPECT_TRUE(std::equal(again.Pixels().begin(), again.Pixels().end(), plain.Pixels().begin(),
                           plain.Pixels().end()));
}

TEST_F(TextTest, AtlasReplacesItsCharactersOnly) {
    s.FontSize = 32;
    CmgBBI fontA, fontKana;
    ASSERT_TRUE(s.LoadFont(fontA, "A"));
    ASSERT_TRUE(s.LoadFont(fontKana, "あ"));

    auto atlas = std::make_shared<CmgBBI>();
    atlas->CreateBBI(256, 256, 0);
    // "A" is character 12: cell (4, 1). Fill its left half white and opaque.
    for (Long y = 32; y < 64; ++y)
        for (Long x = 128; x < 144; ++x) atlas->dwSetPixel(x, y, -1);
    s.GlyphAtlas = atlas;

    CmgBBI a, kana;
    ASSERT_TRUE(s.LoadFont(a, "A"));
    ASSERT_EQ(a.GetWidth(), 32);
    EXPECT_EQ(At(a, 3, 10), 0xFFFFFFFFu);
    EXPECT_EQ(At(a, 20, 10), 0u);
    EXPECT_EQ(s.CharWidth(U'A'), 32);
    ASSERT_TRUE(s.LoadFont(kana, "あ"));
    EXPECT_TRUE(std::equal(kana.Pixels().begin(), kana.Pixels().end(), fontKana.Pixels().begin(),
                           fontKana.Pixels().end()));

    s.GlyphAtlas.reset();
    CmgBBI back;
    ASSERT_TRUE(s.LoadFont(back, "A"));
    EXPECT_TRUE(std::equal(back.Pixels().begin(), back.Pixels().end(), fontA.Pixels().begin(),
                           fontA.Pixels().end()));

    auto wrongSize = std::make_shared<CmgBBI>();
    wrongSize->CreateBBI(128, 128, 0);
    s.GlyphAtlas = wrongSize;
    EXPECT_EQ(s.CharWidth(U'A'), fontA.GetWidth()) << "only a 256 x 256 picture is an atlas";
}

TEST_F(TextTest, MathTextBoxMixedTextForEachAlignment) {
    // The gothic face is fixed-pitch: half-width ASCII, full-width kana.
    ASSERT_EQ(s.CharWidth(U'A'), 10);
    ASSERT_EQ(s.CharWidth(U'あ'), 20);
    const std::string text = "あいA\r\nB\tう";
    const TextRect box{10, 20, 100, 60};
    struct Case {
        Long alignX, alignY;
        Long line1X, line2X;  // left of the first box of each line
        Long top1;            // top of the first line
        Long endX, endY;
    };
    // Line 1 ends at 54 (20 + 2 + 20 + 2 + 10), line 2 at 32 (10 + 2 + 20); the
    // block is 20 + 4 + 20 = 44 high.
    const Case cases[] = {
        {0, 0, 10, 10, 20, 34, 24}, {1, 0, 33, 44, 20, 68, 24}, {2, 0, 56, 78, 20, 102, 24},
        {0, 1, 10, 10, 28, 34, 32}, {1, 1, 33, 44, 28, 68, 32}, {2, 2, 56, 78, 36, 102, 40},
    };
    for (const auto& c : cases) {
        Long x = 0, y = 0;
        const auto boxes = s.MathTextBox(text, box, 2, 4, c.alignX, c.alignY, x, y);
        ASSERT_EQ(boxes.size(), 5u);
        const char* captions[] = {"あ", "い", "A", "B", "う"};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(boxes[i].Caption, captions[i]);
        const std::string where =
            "align " + std::to_string(c.alignX) + "," + std::to_string(c.alignY);
        EXPECT_EQ(boxes[0].X, c.line1X) << where;
        EXPECT_EQ(boxes[1].X, c.line1X + 22) << where;
        EXPECT_EQ(boxes[2].X, c.line1X + 44) << where;
        EXPECT_EQ(boxes[2].Width, 10) << where;
        EXPECT_EQ(boxes[3].X, c.line2X) << where;
        EXPECT_EQ(boxes[4].X, c.line2X + 12) << where;
        EXPECT_EQ(boxes[0].Y, c.top1) << where;
        EXPECT_EQ(boxes[3].Y, c.top1 + 24) << where;
        EXPECT_EQ(boxes[4].Height, 20) << where;
        EXPECT_EQ(x, c.endX) << where;
        EXPECT_EQ(y, c.endY) << where;
    }
}

TEST_F(TextTest, MathTextBoxContinuesFromAGivenPosition) {
    Long x = 30, y = 5;
    const auto first = s.MathTextBox("AB", TextRect{100, 200, 300, 300}, 0, 0, 0, 0, x, y);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].X, 130);
    EXPECT_EQ(first[0].Y, 205);
    EXPECT_EQ(x, 50);
    const auto next = s.MathTextBox("C\nD", TextRect{100, 200, 300, 300}, 0, 0, 0, 0, x, y);
    ASSERT_EQ(next.size(), 2u);
    EXPECT_EQ(next[0].X, 150);
    EXPECT_EQ(next[1].X, 100) << "a new line starts at the box's left";
    EXPECT_EQ(next[1].Y, 225);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 25);
    Long ex = 0, ey = 0;
    EXPECT_TRUE(s.MathTextBox("\r\n\t", TextRect{}, 0, 0, 0, 0, ex, ey).empty());
    EXPECT_EQ(ey, 20);
}

TEST_F(TextTest, TextOutPaintsTheColourUnderTheGlyphs) {
    CmgBBI pic = test::Solid(60, 30, 0xFF000000u);
    s.TextOut(pic, 5, 5, "田", 0x00FF00, 1.0f);
    int green = 0;
    for (auto p : pic.Pixels()) {
        EXPECT_EQ(p & 0xFF00FF, 0u) << "only green is painted";
        EXPECT_EQ(p >> 24, 0xFFu) << "the picture's alpha stays";
        green += ((p >> 8) & 0xFF) == 0xFF;
    }
    EXPECT_GT(green, 20);
    EXPECT_EQ(At(pic, 2, 2), 0xFF000000u);
    EXPECT_EQ(At(pic, 40, 20), 0xFF000000u) << "one 20-pixel glyph from x 5";
}

TEST_F(TextTest, FontTableFileNamesFaces) {
    testing::TempDataRoot root;
    root.Write("data/font/fonts.txt",
               "# test table\nテスト = family:IPAMincho\nbroken line\n壊れ = file:none.ttf\n");
    s.FontFolder = "\\data\\font\\";
    s.FontSize = 24;
    CmgBBI viaTable, mincho, gothic, broken;
    s.FontName = "テスト";
    ASSERT_TRUE(s.LoadFont(viaTable, "永"));
    s.FontName = "楷書";
    ASSERT_TRUE(s.LoadFont(mincho, "永"));
    s.FontName = "ＭＳ ゴシック";
    ASSERT_TRUE(s.LoadFont(gothic, "永"));
    s.FontName = "壊れ";
    EXPECT_TRUE(s.LoadFont(broken, "永")) << "a missing file falls back to a Japanese face";
    auto same = [](const CmgBBI& a, const CmgBBI& b) {
        return a.GetWidth() == b.GetWidth() && std::equal(a.Pixels().begin(), a.Pixels().end(),
                                                          b.Pixels().begin(), b.Pixels().end());
    };
    EXPECT_TRUE(same(viaTable, mincho));
    EXPECT_FALSE(same(mincho, gothic));
}

TEST(FontTable, ParsesEntries) {
    FontTable t;
    t.Parse(
        "\xEF\xBB\xBF# comment\r\n"
        "  ＭＳ ゴシック = file:gothic.ttc#2 \r\n"
        "abs = file:/fonts/a.ttf\n"
        "bad index = file:x.ttc#z\n"
        "no target\n"
        "odd = url:http\n"
        "abs = family:Later Wins\n",
        "\\data\\font");
    struct Case {
        const char* name;
        FontTarget::Kind kind;
        const char* value;
        int index;
    };
    const Case cases[] = {
        {"ＭＳ ゴシック", FontTarget::Kind::File, "\\data\\font\\gothic.ttc", 2},
        {"abs", FontTarget::Kind::Family, "Later Wins", 0},
        {"bad index", FontTarget::Kind::Family, "bad index", 0},
        {"odd", FontTarget::Kind::Family, "odd", 0},
        {"楷書", FontTarget::Kind::Family, "IPAMincho", 0},
        {"あくあ", FontTarget::Kind::Family, "IPAPGothic", 0},
        {"ＭＳ Ｐゴシック", FontTarget::Kind::Family, "IPAPGothic", 0},
    };
    for (const auto& c : cases) {
        const auto r = t.Resolve(c.name);
        EXPECT_EQ(r.kind, c.kind) << c.name;
        EXPECT_EQ(r.value, c.value) << c.name;
        EXPECT_EQ(r.index, c.index) << c.name;
    }
}

}  // namespace
}  // namespace brumil::image
