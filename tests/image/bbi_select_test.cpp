#include <gtest/gtest.h>

#include "image/cmg_bbi_function.h"
#include "picture_util.h"

namespace brumil::image {
namespace {

using test::At;
using test::Solid;

struct Choose {
    float c1 = 1.0f;
    Integer c2 = 0, c3 = 0;
    float c6 = 1.0f;
    Long c7 = 0, c8 = 0xFFFFFF, c10 = -1, c11 = 0;
};

void RunChoose(CmgBBI& dst, const CmgBBI& src, const Choose& c) {
    gBBIFunction().BBIExpandChooseBlt(dst, src, 0, 0, 0, 0, 0, 0, 0, 0, c.c1, c.c2, c.c3, 0, 0,
                                      c.c6, c.c7, c.c8, 0, c.c10, c.c11, 0);
}

TEST(BBIExpandChooseBlt, SelectionRules) {
    struct Case {
        const char* name;
        std::uint32_t dst, src;
        Choose c;
        std::uint32_t expect;
    };
    const Case cases[] = {
        {"layer default copies colour, keeps alpha", 0x11223344u, 0x80A0B0C0u, {}, 0x11A0B0C0u},
        {"write mask -1 copies alpha too",
         0x11223344u,
         0x80A0B0C0u,
         {1.0f, 0, 0, 1.0f, 0, -1, -1, 0},
         0x80A0B0C0u},
        {"text: colour under full glyph alpha",
         0xFF000000u,
         0xFF000000u,
         {1.0f, -1, 0, 1.0f, 0, 0xFFFFFF, static_cast<Long>(0xFF000000u), 0x00FF8000},
         0xFFFF8000u},
        {"text: half glyph alpha mixes",
         0xFF000000u,
         0x80000000u,
         {1.0f, -1, 0, 1.0f, 0, 0xFFFFFF, static_cast<Long>(0xFF000000u), 0x00FF0000},
         0xFF800000u},
        {"text: no glyph leaves dst",
         0xFF102030u,
         0x00FFFFFFu,
         {1.0f, -1, 0, 1.0f, 0, 0xFFFFFF, static_cast<Long>(0xFF000000u), 0x00FF0000},
         0xFF102030u},
        {"additive constant brightens",
         0xFF102030u,
         0xFFFFFFFFu,
         {1.0f, 0, -1, 1.0f, 0, 0xFFFFFF, 0, 0x101010},
         0xFF203040u},
        {"additive saturates",
         0xFFF0F0F0u,
         0xFF808080u,
         {1.0f, 0, -1, 1.0f, 0, 0xFFFFFF, -1, 0},
         0xFFFFFFFFu},
        {"opacity 0.25 blends",
         0xFF000000u,
         0xFFFFFFFFu,
         {0.25f, 0, 0, 1.0f, 0, 0xFFFFFF, -1, 0},
         0xFF404040u},
        {"colour scale clamps before offset",
         0xFF000000u,
         0xFF804020u,
         {1.0f, 0, 0, 3.0f, 0x000010, 0xFFFFFF, -1, 0},
         0xFFFFC070u},
        {"dimmed layer: scale 0.125 to black",
         0xFF000000u,
         0xFF808080u,
         {1.0f, 0, 0, 0.125f, 0, 0xFFFFFF, -1, 0},
         0xFF101010u},
    };
    for (const auto& c : cases) {
        CmgBBI dst = Solid(3, 2, c.dst);
        const CmgBBI src = Solid(3, 2, c.src);
        RunChoose(dst, src, c.c);
        EXPECT_EQ(At(dst, 2, 1), c.expect) << c.name;
    }
}

TEST(BBIExpandChooseBlt, ScalesAndClipsLikeTheOtherBlits) {
    CmgBBI glyph = Solid(2, 2, 0xFF000000u);
    CmgBBI dst = Solid(6, 6, 0xFF000000u);
    // The glyph drawn at (-1, 4) in 4 x 4: only (0..2, 4..5) is inside.
    gBBIFunction().BBIExpandChooseBlt(dst, glyph, -1, 4, 4, 4, 0, 0, 0, 0, 1.0f, -1, 0, 0, 0, 1.0f,
                                      0, 0xFFFFFF, 0, static_cast<Long>(0xFF000000u), 0xFFFFFF, 0);
    EXPECT_EQ(At(dst, 0, 4), 0xFFFFFFFFu);
    EXPECT_EQ(At(dst, 2, 5), 0xFFFFFFFFu);
    EXPECT_EQ(At(dst, 3, 5), 0xFF000000u);
    EXPECT_EQ(At(dst, 0, 3), 0xFF000000u);
}

TEST(BBIStencilFlip, ProgressAndSoftness) {
    // A is black, B white with a stencil: left pixel 0, right pixel 255.
    CmgBBI a = Solid(2, 1, 0xFF000000u);
    CmgBBI b = Solid(2, 1, 0xFFFFFFFFu);
    b.dwSetPixel(0, 0, 0x00FFFFFF);
    struct Case {
        float t, v;
        int left, right;  // blue channel of the two result pixels
    };
    const Case cases[] = {
        {0.0f, 1000.0f, 0, 0}, {0.5f, 1000.0f, 128, 128}, {1.0f, 1000.0f, 255, 255},
        {0.0f, 0.1f, 0, 0},    {0.5f, 0.1f, 255, 0},      {1.0f, 0.1f, 255, 255},
        {-3.0f, 0.1f, 0, 0},   {7.0f, 0.1f, 255, 255},
    };
    for (const auto& c : cases) {
        CmgBBI dst = Solid(2, 1, 0x12345678u);
        gBBIFunction().BBIStencilFlip(dst, a, b, 0, 0, 0, 0, 0, 0, 0, c.t, c.v);
        EXPECT_EQ(At(dst, 0, 0) & 0xFF, static_cast<std::uint32_t>(c.left))
            << "t " << c.t << " v " << c.v;
        EXPECT_EQ(At(dst, 1, 0) & 0xFF, static_cast<std::uint32_t>(c.right))
            << "t " << c.t << " v " << c.v;
    }
}

TEST(BBIChooseCA, BothCallShapes) {
    CmgBBI dst = Solid(2, 2, 0xFF336699u);
    const CmgBBI mask = Solid(2, 2, 0x00808080u);
    gBBIFunction().BBIChooseCA(dst, mask, 2, 0);
    EXPECT_EQ(At(dst, 1, 1), 0x80336699u) << "mask luminance becomes alpha";
    gBBIFunction().BBIChooseCA(dst, Solid(2, 2, 0x20FFFFFFu));
    EXPECT_EQ(At(dst, 1, 1), 0x20336699u) << "defaults take the source's alpha";
    gBBIFunction().BBIChooseCA(dst, Solid(2, 2, 0x20FFFFFFu), 1, 1);
    EXPECT_EQ(At(dst, 1, 1), 0x20FFFFFFu);
    CmgBBI self = Solid(1, 1, 0xFFFFFFFFu);
    gBBIFunction().BBIChooseCA(self, self, 0, 0);
    EXPECT_EQ(At(self, 0, 0), 0xFFFFFFFFu);
}

TEST(BBIAutoLevelRGB, StretchesEachChannelByLevel) {
    CmgBBI p;
    p.CreateBBI(2, 1, 0);
    p.dwSetPixel(0, 0, static_cast<Long>(0xFF40A010u));
    p.dwSetPixel(1, 0, static_cast<Long>(0xFFC0A020u));
    CmgBBI full = p;
    gBBIFunction().BBIAutoLevelRGB(full, 100);
    EXPECT_EQ(At(full, 0, 0), 0xFF00A000u);
    EXPECT_EQ(At(full, 1, 0), 0xFFFFA0FFu);
    gBBIFunction().BBIAutoLevelRGB(p, 50);
    EXPECT_EQ(At(p, 0, 0), 0xFF20A008u);  // halfway between 0x40 and 0x00, 0x10 and 0x00
    EXPECT_EQ(At(p, 1, 0), 0xFFE0A090u);
}

TEST(BBIKeying, KeyToTransparentAndSoftEdges) {
    CmgBBI p = Solid(3, 1, 0xFFFF00FFu);
    p.dwSetPixel(1, 0, static_cast<Long>(0xFF00FF00u));
    CmgBBI plain = p;
    gBBIFunction().BBIKeying(plain, 0xFF00FF);
    EXPECT_EQ(At(plain, 0, 0), 0u);
    EXPECT_EQ(At(plain, 1, 0), 0xFF00FF00u);

    CmgBBI soft = p;
    gBBIFunction().BBIKeyingAntiAreas(soft, 0xFF00FF, true, true, 63);
    // Middle pixel: 2 keyed neighbours, alpha 255 x 14 / 16.
    EXPECT_EQ(At(soft, 1, 0), 0xDF00FF00u);
    // Edge pixels: 1 kept neighbour, its colour at alpha 63 x 1 / 8.
    EXPECT_EQ(At(soft, 0, 0), 0x0700FF00u);

    CmgBBI filtered = plain;
    gBBIFunction().BBIKeyingFilter(filtered);
    EXPECT_EQ(At(filtered, 0, 0), 0x0000FF00u) << "colour bleeds in, alpha stays 0";
    EXPECT_EQ(At(filtered, 1, 0), 0xFF00FF00u);
}

TEST(Fills, ClearVariantsAndRectangles) {
    CmgBBI p = Solid(4, 4, 0x11223344u);
    gBBIFunction().BBIClearRGB(p, 1, 2, 3);
    EXPECT_EQ(At(p, 3, 3), 0x11010203u);
    gBBIFunction().BBIClearMask(p, 9, 9, 9, 9, 0x00FF00FF);
    EXPECT_EQ(At(p, 0, 0), 0x09010903u);
    gBBIFunction().BBIClear(p, 300, -4, 5);
    EXPECT_EQ(At(p, 0, 0), 0xFFFF0005u);
    gBBIFunction().fxOut(p, -1, -1, 2, 2, 0x7F);
    EXPECT_EQ(At(p, 0, 0), 0x7Fu);
    EXPECT_EQ(At(p, 1, 1), 0xFFFF0005u);
    gBBIFunction().fxOutLine(p, 0, 0, 4, 4, 1);
    EXPECT_EQ(At(p, 3, 2), 1u);
    EXPECT_EQ(At(p, 2, 3), 1u);
    EXPECT_EQ(At(p, 1, 1), 0xFFFF0005u);
    gBBIFunction().BBIDrawColorFill(p, 1, 1, 1, 1, 1, static_cast<Long>(0x80000000u));
    EXPECT_EQ(At(p, 1, 1), 0xFF7F0002u) << "flags 1 blends by the colour's alpha";
}

TEST(BBIDrawLineCircle, RampFromCentreOut) {
    CmgBBIFunction& f = gBBIFunction();
    for (Long i = 0; i < 256; ++i) f.Pen.dwSetPixel(i, 0, static_cast<Long>(0xFF000000u) | i);
    CmgBBI spot;
    spot.CreateBBI(64, 64, 0);
    f.BBIDrawLineCircle(spot, f.Pen, 0, 0, 255, 255);
    EXPECT_LE(At(spot, 32, 32) & 0xFF, 8u) << "centre takes the start of the ramp";
    EXPECT_EQ(At(spot, 0, 0) & 0xFF, 255u) << "corners lie past the radius";
    EXPECT_NEAR(static_cast<double>(At(spot, 48, 32) & 0xFF), 255.0 * 16.5 / 32.0, 2.0);
}

TEST(Transer, BoxScriptAndBadCommands) {
    CmgBBI p = Solid(40, 20, 0x12345678u);
    gBBIFunction().Transer(p, "[box 20,10,024,246,468]");
    EXPECT_EQ(At(p, 0, 0), 0x12345678u) << "outside the centred box";
    const std::uint32_t centre = At(p, 20, 10) & 0xFF;
    EXPECT_EQ(centre, 68u) << "d 0.1: 24 + (246 - 24) x 0.2";
    EXPECT_EQ(At(p, 10, 10), 0xFFFFFFFFu) << "the box edge is past 255";
    EXPECT_EQ(At(p, 20, 10) >> 24, 0xFFu);

    CmgBBI q = Solid(8, 8, 0x12345678u);
    gBBIFunction().Transer(q, "[wave 1,2][box 8,x,0,0,0][box 8,8,0,0][box 8,8,1,2,3,4] [box");
    EXPECT_EQ(At(q, 4, 4), 0x12345678u);
    gBBIFunction().Transer(q, "junk [box 8,8,100,100,100] tail");
    EXPECT_EQ(At(q, 4, 4), 0xFF646464u);
}

}  // namespace
}  // namespace brumil::image
