#include <gtest/gtest.h>

#include "image/cmg_bbi_function.h"
#include "picture_util.h"

namespace brumil::image {
namespace {

using test::At;
using test::Ramp;
using test::Solid;

TEST(BBIBlt, CopyFactorAndZeroSizes) {
    struct Case {
        const char* name;
        float factor;
        std::uint32_t expect;
    };
    const Case cases[] = {
        {"copy", 1.0f, 0x80FF4020u},
        {"half", 0.5f, 0x40802010u},  // each channel halved, rounded half down
        {"none", 0.0f, 0x00000000u},
        {"above one is a copy", 3.0f, 0x80FF4020u},
    };
    for (const auto& c : cases) {
        CmgBBI dst = Solid(4, 4, 0);
        const CmgBBI src = Solid(2, 2, 0x80FF4020u);
        gBBIFunction().BBIBlt(dst, src, 1, 1, 0, 0, 0, 0, c.factor);
        EXPECT_EQ(At(dst, 1, 1), c.expect) << c.name;
        EXPECT_EQ(At(dst, 2, 2), c.expect) << c.name;
        EXPECT_EQ(At(dst, 3, 3), 0u) << c.name << ": zero sizes mean the source's 2 x 2";
        EXPECT_EQ(At(dst, 0, 0), 0u) << c.name;
    }
}

TEST(BBIBlt, ClipsToBothPictures) {
    struct Case {
        const char* name;
        Long x, y, w, h, sx, sy;
        Long probeX, probeY;  // a destination pixel that must hold the source pixel below
        Long fromX, fromY;
        Long outsideX, outsideY;  // a destination pixel that must stay untouched
    };
    const Case cases[] = {
        {"negative position", -2, -1, 4, 4, 0, 0, 0, 0, 2, 1, 3, 3},
        {"oversize rectangle", 1, 1, 100, 100, 0, 0, 7, 7, 6, 6, 0, 0},
        {"negative source", 2, 2, 3, 3, -1, -1, 3, 3, 0, 0, 2, 2},
        {"cursor bar", -72, 0, 960, 2, 0, 0, 0, 0, 72, 0, 0, 2},
    };
    for (const auto& c : cases) {
        CmgBBI dst = Solid(8, 8, 0x11111111u);
        const CmgBBI src = Ramp(200, 8);
        gBBIFunction().BBIBlt(dst, src, c.x, c.y, c.w, c.h, c.sx, c.sy, 1.0f);
        EXPECT_EQ(At(dst, c.probeX, c.probeY), At(src, c.fromX, c.fromY)) << c.name;
        EXPECT_EQ(At(dst, c.outsideX, c.outsideY), 0x11111111u) << c.name;
    }
}

TEST(BBIBlt, AddMulNotRules) {
    struct Case {
        const char* name;
        int op;  // 0 add, 1 mul, 2 not
        std::uint32_t dst, src, expect;
    };
    const Case cases[] = {
        {"add saturates", 0, 0x10F08040u, 0x10208080u, 0x20FFFFC0u},
        {"add glyph onto clear", 0, 0, 0x80808080u, 0x80808080u},
        {"mul by white keeps", 1, 0xFF336699u, 0xFFFFFFFFu, 0xFF336699u},
        {"mul by half grey", 1, 0xFFFF8000u, 0xFF808080u, 0xFF804000u},
        {"not inverts colour, keeps alpha", 2, 0, 0x7F102030u, 0x7FEFDFCFu},
    };
    for (const auto& c : cases) {
        CmgBBI dst = Solid(3, 3, c.dst);
        const CmgBBI src = Solid(3, 3, c.src);
        if (c.op == 0) gBBIFunction().BBIBltAdd(dst, src, 0, 0);
        if (c.op == 1) gBBIFunction().BBIBltMul(dst, src, 0, 0);
        if (c.op == 2) gBBIFunction().BBIBltNot(dst, src);
        EXPECT_EQ(At(dst, 1, 1), c.expect) << c.name;
    }
}

TEST(BBIBlt, NotOntoItselfInvertsInPlace) {
    CmgBBI p = Ramp(4, 4);
    gBBIFunction().BBIBltNot(p, p);
    EXPECT_EQ(At(p, 3, 2), 0xFFFFFDFCu);
    gBBIFunction().BBIBltNot(p, p);
    EXPECT_EQ(At(p, 3, 2), 0xFF000203u);
}

TEST(BBIBlt, OverlappingSelfCopyReadsTheOldPicture) {
    CmgBBI p = Ramp(6, 1);
    gBBIFunction().BBIBlt(p, p, 1, 0, 5, 1, 0, 0);
    for (Long x = 1; x < 6; ++x) EXPECT_EQ(At(p, x, 0), 0xFF000000u | (x - 1)) << x;
}

TEST(BBIBltFX, ModesDispatch) {
    struct Case {
        Long mode;
        float reality;
        std::uint32_t expect;
    };
    const Case cases[] = {
        {0, 1.0f, 0x80FF0000u},  // copy
        {1, 1.0f, 0xFFFF4040u},  // add
        {2, 1.0f, 0x80400000u},  // mul
        {3, 1.0f, 0x8000FFFFu},  // not
        {4, 1.0f, 0xFFA02020u},  // alpha blend by 0x80: 0x40 + (0xFF - 0x40) x 128 / 255
    };
    for (const auto& c : cases) {
        CmgBBI dst = Solid(2, 2, 0xFF404040u);
        const CmgBBI src = Solid(2, 2, 0x80FF0000u);
        gBBIFunction().BBIBltFX(dst, src, 0, 0, 0, 0, 0, 0, c.mode, c.reality);
        EXPECT_EQ(At(dst, 0, 0), c.expect) << "mode " << c.mode;
    }
}

TEST(BBIBltHalfSize, AveragesBlocksAndWorksInPlace) {
    CmgBBI src;
    src.CreateBBI(4, 2, 0);
    const std::uint32_t px[8] = {0xFF000000u, 0xFF000004u, 0xFF0000FFu, 0xFF0000FFu,
                                 0xFF000008u, 0xFF00000Cu, 0xFF0000FFu, 0xFF000001u};
    for (int i = 0; i < 8; ++i) src.dwSetPixel(i % 4, i / 4, static_cast<Long>(px[i]));
    CmgBBI dst;
    gBBIFunction().BBIBltHalfSize(dst, src);
    ASSERT_EQ(dst.GetWidth(), 2);
    ASSERT_EQ(dst.GetHeight(), 1);
    EXPECT_EQ(At(dst, 0, 0), 0xFF000006u);  // (0 + 4 + 8 + 12) / 4
    EXPECT_EQ(At(dst, 1, 0), 0xFF0000C0u);  // (255 * 3 + 1) / 4 = 191.5 rounds to 192
    gBBIFunction().BBIBltHalfSize(src, src);
    EXPECT_EQ(src.GetWidth(), 2);
    EXPECT_EQ(At(src, 0, 0), 0xFF000006u);
    CmgBBI one = Solid(1, 1, 0xFF123456u);
    gBBIFunction().BBIBltHalfSize(one, one);
    EXPECT_EQ(one.GetWidth(), 1);
    EXPECT_EQ(At(one, 0, 0), 0xFF123456u);
}

TEST(BBIExpandBlt, NearestDoublingAndOmittedSizes) {
    const CmgBBI src = Ramp(2, 2);
    CmgBBI dst = Solid(4, 4, 0);
    gBBIFunction().BBIExpandBlt(dst, src, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(At(dst, 0, 0), At(src, 0, 0));
    EXPECT_EQ(At(dst, 1, 1), At(src, 0, 0));
    EXPECT_EQ(At(dst, 2, 1), At(src, 1, 0));
    EXPECT_EQ(At(dst, 3, 3), At(src, 1, 1));
}

TEST(BBILinearBlt, ScalesWithFilteringAndClips) {
    CmgBBI src;
    src.CreateBBI(2, 1, 0);
    src.dwSetPixel(0, 0, static_cast<Long>(0xFF000000u));
    src.dwSetPixel(1, 0, static_cast<Long>(0xFF0000FFu));
    CmgBBI dst = Solid(4, 1, 0);
    gBBIFunction().BBILinearBlt(dst, src);
    // Centres of 4 outputs map to -0.25, 0.25, 0.75, 1.25 source pixels.
    EXPECT_EQ(At(dst, 0, 0), 0xFF000000u);
    EXPECT_EQ(At(dst, 1, 0), 0xFF000040u);
    EXPECT_EQ(At(dst, 2, 0), 0xFF0000BFu);
    EXPECT_EQ(At(dst, 3, 0), 0xFF0000FFu);

    // Destination partly outside: the visible part keeps the same mapping.
    CmgBBI clipped = Solid(4, 1, 0x12345678u);
    gBBIFunction().BBILinearBlt(clipped, src, -2, 0, 4, 1, 0, 0, 2, 1);
    EXPECT_EQ(At(clipped, 0, 0), 0xFF0000BFu);
    EXPECT_EQ(At(clipped, 1, 0), 0xFF0000FFu);
    EXPECT_EQ(At(clipped, 2, 0), 0x12345678u);

    // A source rectangle reaching past the source draws only what exists.
    CmgBBI past = Solid(4, 1, 0x12345678u);
    gBBIFunction().BBILinearBlt(past, src, 0, 0, 4, 1, 0, 0, 4, 1);
    EXPECT_EQ(At(past, 1, 0), 0xFF0000FFu);
    EXPECT_EQ(At(past, 2, 0), 0x12345678u);
}

TEST(EfectScale, HalvesAndIgnoresEqualOrInvalid) {
    CmgBBI p = Solid(10, 6, 0xFF808080u);
    gBBIFunction().EfectScale(p, 1, 1);
    EXPECT_EQ(p.GetWidth(), 10);
    gBBIFunction().EfectScale(p, 1, 0);
    EXPECT_EQ(p.GetWidth(), 10);
    gBBIFunction().EfectScale(p, 1, 2);
    EXPECT_EQ(p.GetWidth(), 5);
    EXPECT_EQ(p.GetHeight(), 3);
    EXPECT_EQ(At(p, 2, 1), 0xFF808080u);
}

TEST(CreateBBI, AnswersWhetherPixelsWereKept) {
    CmgBBI p;
    EXPECT_EQ(p.GetWidth(), 1);
    EXPECT_EQ(p.CreateBBI(4, 3, 0), 0);
    p.dwSetPixel(1, 1, 7);
    EXPECT_EQ(p.CreateBBI(4, 3, 0), 1);
    EXPECT_EQ(p.dwGetPixel(1, 1), 7);
    EXPECT_EQ(p.CreateBBI(4, 3, 2), 0) << "another margin is another buffer";
    EXPECT_EQ(p.dwGetPixel(1, 1), 0);
    Long status = -5;
    p.CreateBBI(0, 90000, 500, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(p.GetWidth(), 1);
    EXPECT_EQ(p.GetHeight(), 8000);
    EXPECT_EQ(p.Margin(), 128);
    EXPECT_EQ(p.Height(), 8000);
    EXPECT_EQ(p.dwGetPixel(-1, 0), 0);
    p.dwSetPixel(5, 5, 1);  // outside: ignored
    EXPECT_EQ(p.dwGetPixel(5, 5), 0);
}

}  // namespace
}  // namespace brumil::image
