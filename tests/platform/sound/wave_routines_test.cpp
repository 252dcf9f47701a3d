#include "platform/sound/wave_routines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace brumil::platform {
namespace {

// A wave with its own bytes, described for the routines.
struct Wave {
    std::int32_t bits;
    std::int32_t channels;
    std::int32_t blocks;
    std::vector<std::uint8_t> bytes;

    Wave(std::int32_t b, std::int32_t c, std::int32_t n)
        : bits(b), channels(c), blocks(n), bytes(static_cast<std::size_t>(n * c * b / 8)) {}
    WaveDesc Desc(std::int32_t hz = 22050) {
        return {WaveFormatEnc(bits, channels, hz), blocks, bytes};
    }
};

Wave From16(const std::vector<std::int16_t>& s, std::int32_t channels) {
    Wave w(16, channels, static_cast<std::int32_t>(s.size()) / channels);
    std::memcpy(w.bytes.data(), s.data(), w.bytes.size());
    return w;
}

std::vector<std::int16_t> As16(const Wave& w) {
    std::vector<std::int16_t> s(w.bytes.size() / 2);
    std::memcpy(s.data(), w.bytes.data(), w.bytes.size());
    return s;
}

TEST(WaveRoutines, FormatCodesRoundTripAndRefuseUnknownFormats) {
    const std::int32_t code = WaveFormatEnc(24, 2, 96000);
    EXPECT_EQ(WaveFormatBits(code), 24);
    EXPECT_EQ(WaveFormatChannels(code), 2);
    EXPECT_EQ(WaveFormatHz(code), 96000);
    EXPECT_NE(WaveFormatEnc(16, 1, 22050), WaveFormatEnc(16, 2, 22050));
    EXPECT_EQ(WaveFormatEnc(12, 1, 22050), 0);
    EXPECT_EQ(WaveFormatEnc(16, 3, 22050), 0);
    EXPECT_EQ(WaveFormatEnc(16, 1, 0), 0);
}

TEST(WaveRoutines, EightBitWidensTo16AndNarrowsBackExactly) {
    Wave w8(8, 1, 256);
    for (int i = 0; i < 256; ++i)
        w8.bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    Wave w16(16, 1, 256);
    ASSERT_EQ(WaveFormat(w16.Desc(), w8.Desc()), 0);
    const auto s = As16(w16);
    EXPECT_EQ(s[0], -32768);
    EXPECT_EQ(s[128], 0);
    EXPECT_EQ(s[255], 127 * 256);
    Wave back(8, 1, 256);
    ASSERT_EQ(WaveFormat(back.Desc(), w16.Desc()), 0);
    EXPECT_EQ(back.bytes, w8.bytes);
}

TEST(WaveRoutines, NarrowingDropsLowBitsTowardsMinusInfinity) {
    struct Case {
        std::int16_t in;
        std::uint8_t out8;
    };
    const Case cases[] = {{255, 128},  {256, 129},   {-1, 127},  {-256, 127},
                          {-257, 126}, {32767, 255}, {-32768, 0}};
    for (const auto& c : cases) {
        Wave src = From16({c.in}, 1);
        Wave dst(8, 1, 1);
        ASSERT_EQ(WaveFormat(dst.Desc(), src.Desc()), 0);
        EXPECT_EQ(dst.bytes[0], c.out8) << c.in;
    }
}

TEST(WaveRoutines, TwentyFourBitsKeepTheExtraPrecisionOneWay) {
    Wave src = From16({1000, -1000}, 2);
    Wave w24(24, 2, 1);
    ASSERT_EQ(WaveFormat(w24.Desc(), src.Desc()), 0);
    std::int32_t l = 0, r = 0;
    ASSERT_EQ(GetWave24(w24.bytes, 0, 24, 2, 1, l, r), 0);
    EXPECT_EQ(l, 1000 * 256);
    EXPECT_EQ(r, -1000 * 256);
    Wave back(16, 2, 1);
    ASSERT_EQ(WaveFormat(back.Desc(), w24.Desc()), 0);
    EXPECT_EQ(As16(back), (std::vector<std::int16_t>{1000, -1000}));
}

TEST(WaveRoutines, StereoToMonoAveragesAndMonoToStereoCopies) {
    Wave stereo = From16({100, 300, -5, 0, 32767, 32767, -32768, -32767}, 2);
    Wave mono(16, 1, 4);
    ASSERT_EQ(WaveFormat(mono.Desc(), stereo.Desc()), 0);
    EXPECT_EQ(As16(mono), (std::vector<std::int16_t>{200, -3, 32767, -32768}));
    Wave again(16, 2, 4);
    ASSERT_EQ(WaveFormat(again.Desc(), mono.Desc()), 0);
    EXPECT_EQ(As16(again),
              (std::vector<std::int16_t>{200, 200, -3, -3, 32767, 32767, -32768, -32768}));
}

TEST(WaveRoutines, FormatConvertsOnlyTheCommonFrames) {
    Wave src = From16({1, 2, 3}, 1);
    Wave dst = From16({9, 9, 9, 9, 9}, 1);
    ASSERT_EQ(WaveFormat(dst.Desc(), src.Desc()), 0);
    EXPECT_EQ(As16(dst), (std::vector<std::int16_t>{1, 2, 3, 9, 9}));
}

TEST(WaveRoutines, ResampleByTwoAndByAHalfInterpolatesAndClampsReads) {
    Wave src = From16({0, 100, 200, 300, 400}, 1);
    Wave half(16, 1, 4);  // step 2: every other frame, then the last one held
    ASSERT_EQ(WaveExpand(half.Desc(), src.Desc(), 2.0f), 0);
    EXPECT_EQ(As16(half), (std::vector<std::int16_t>{0, 200, 400, 400}));

    Wave twice(16, 1, 11);  // step 0.5: midpoints, the end clamped
    ASSERT_EQ(WaveExpand(twice.Desc(), src.Desc(), 0.5f), 0);
    EXPECT_EQ(As16(twice),
              (std::vector<std::int16_t>{0, 50, 100, 150, 200, 250, 300, 350, 400, 400, 400}));

    Wave odd = From16({0, 1}, 1);  // 0.5 falls between 0 and 1: the 24-bit midpoint 128
    Wave out(16, 1, 2);
    ASSERT_EQ(WaveExpand(out.Desc(), odd.Desc(), 0.5f), 0);
    EXPECT_EQ(As16(out), (std::vector<std::int16_t>{0, 0}));
}

TEST(WaveRoutines, ResampleConvertsChannelsOnTheWay) {
    Wave src = From16({100, 300, 500, 700}, 2);
    Wave dst(8, 1, 3);
    ASSERT_EQ(WaveExpand(dst.Desc(), src.Desc(), 0.5f), 0);
    // Mono 16-bit values 200, 400 (midpoint), 600 narrowed to 8 bits.
    EXPECT_EQ(dst.bytes, (std::vector<std::uint8_t>{128 + 0, 128 + 1, 128 + 2}));
}

TEST(WaveRoutines, BadDescriptionsFailAndWriteNothing) {
    Wave src = From16({1, 2, 3, 4}, 1);
    Wave dst = From16({9, 9, 9, 9}, 1);
    struct Case {
        const char* what;
        WaveDesc d;
        WaveDesc s;
        float step;
    };
    WaveDesc shortSrc = src.Desc();
    shortSrc.blocks = 5;  // more frames than bytes
    WaveDesc badCode = src.Desc();
    badCode.format = 0;
    WaveDesc emptySrc = src.Desc();
    emptySrc.blocks = 0;
    const Case cases[] = {
        {"short source", dst.Desc(), shortSrc, 1.0f},
        {"bad code", dst.Desc(), badCode, 1.0f},
        {"same bytes", dst.Desc(), dst.Desc(), 1.0f},
        {"zero step", dst.Desc(), src.Desc(), 0.0f},
        {"negative step", dst.Desc(), src.Desc(), -1.0f},
        {"nan step", dst.Desc(), src.Desc(), std::nanf("")},
        {"empty source", dst.Desc(), emptySrc, 1.0f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WaveExpand(c.d, c.s, c.step), 1) << c.what;
        EXPECT_EQ(As16(dst), (std::vector<std::int16_t>{9, 9, 9, 9})) << c.what;
    }
    EXPECT_EQ(WaveFormat(dst.Desc(), shortSrc), 1);
    EXPECT_EQ(WaveFormat(dst.Desc(), dst.Desc()), 1);
}

TEST(WaveRoutines, FrameAccessIsBoundsCheckedAndScaled) {
    Wave w8(8, 2, 2);
    w8.bytes = {0x80 + 1, 0x80 - 1, 0x80, 0x80};
    std::int32_t l = 9, r = 9;
    EXPECT_EQ(GetWave(w8.bytes, 0, 8, 2, 2, l, r), 0);
    EXPECT_EQ(l, 256);
    EXPECT_EQ(r, -256);
    EXPECT_EQ(GetWave(w8.bytes, 2, 8, 2, 2, l, r), 1);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(GetWave(w8.bytes, -1, 8, 2, 2, l, r), 1);
    EXPECT_EQ(GetWave(w8.bytes, 0, 8, 2, 3, l, r), 1);  // more blocks than bytes

    Wave mono(16, 1, 2);
    EXPECT_EQ(LetWave(mono.bytes, 1, 16, 1, 2, 1000, 3001), 0);
    EXPECT_EQ(LetWave(mono.bytes, 2, 16, 1, 2, 5, 5), 1);
    EXPECT_EQ(As16(mono), (std::vector<std::int16_t>{0, 2000}));
    EXPECT_EQ(GetWave(mono.bytes, 1, 16, 1, 2, l, r), 0);
    EXPECT_EQ(l, 2000);
    EXPECT_EQ(r, 2000);

    Wave stereo(16, 2, 1);
    EXPECT_EQ(LetWave(stereo.bytes, 0, 16, 2, 1, 40000, -40000), 0);  // clamped
    EXPECT_EQ(As16(stereo), (std::vector<std::int16_t>{32767, -32768}));

    Wave w24(24, 1, 1);
    EXPECT_EQ(LetWave24(w24.bytes, 0, 24, 1, 1, -8388608, -8388608), 0);
    EXPECT_EQ(GetWave24(w24.bytes, 0, 24, 1, 1, l, r), 0);
    EXPECT_EQ(l, -8388608);
    EXPECT_EQ(GetWave(w24.bytes, 0, 24, 1, 1, l, r), 0);
    EXPECT_EQ(l, -32768);
}

}  // namespace
}  // namespace brumil::platform
