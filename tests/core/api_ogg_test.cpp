// The helper's Ogg members, called through the shared helper object: the
// by-reference values they hand back and the stream slots they keep.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/api.h"
#include "platform/sound/ogg_encoder.h"

namespace brumil::core {
namespace {

std::vector<std::uint8_t> EncodedTone(int frames, int channels, int hz, int seed) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames * channels));
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            samples[static_cast<std::size_t>(f * channels + c)] =
                static_cast<std::int16_t>(9000 * std::sin(f * (0.03 + 0.01 * seed + 0.004 * c)));
        }
    }
    platform::OggEncodeOptions o;
    o.channels = channels;
    o.hz = hz;
    o.serial = 100 + seed;
    return platform::EncodeOggVorbis(samples, o);
}

// The values a caller of DecodeOggStreamMemory keeps between calls.
struct Stream {
    Long flag = 0;
    Long index = -1;
    Long cursor = 0;
    std::vector<std::uint8_t> buffer;
    Long size = 0, bits = 0, channels = 0, hz = 0;

    Long Step(std::span<const std::uint8_t> source, Long request) {
        return gApi().DecodeOggStreamMemory(flag, index, cursor, request, source, buffer, size,
                                            bits, channels, hz);
    }
};

TEST(CApiOgg, WholeDecodeFillsTheFormatAndBuffer) {
    struct Case {
        int frames, channels, hz;
    };
    const Case cases[] = {{12345, 2, 44100}, {5000, 1, 22050}};
    for (const auto& c : cases) {
        const auto ogg = EncodedTone(c.frames, c.channels, c.hz, 0);
        ASSERT_FALSE(ogg.empty());
        std::vector<std::uint8_t> buffer;
        Long size = -1, bits = -1, channels = -1, hz = -1;
        const Long n = gApi().DecodeOggMemory(ogg, buffer, size, bits, channels, hz);
        EXPECT_EQ(n, c.frames * c.channels * 2) << c.frames;
        EXPECT_EQ(size, n);
        EXPECT_EQ(buffer.size(), static_cast<std::size_t>(n));
        EXPECT_EQ(bits, 16);
        EXPECT_EQ(channels, c.channels);
        EXPECT_EQ(hz, c.hz);
    }
}

TEST(CApiOgg, RefusedStreamsAnswerZeroAndLeaveTheOutputs) {
    const auto ogg = EncodedTone(8000, 2, 22050, 1);
    std::vector<std::uint8_t> garbage(3000);
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 13);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"truncated", std::vector<std::uint8_t>(ogg.begin(), ogg.end() - 50)},
        {"garbage", garbage},
        {"three channels", EncodedTone(1000, 3, 22050, 2)},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> buffer{7, 7};
        Long size = 11, bits = 12, channels = 13, hz = 14;
        EXPECT_EQ(gApi().DecodeOggMemory(c.bytes, buffer, size, bits, channels, hz), 0) << c.what;
        EXPECT_EQ(buffer, (std::vector<std::uint8_t>{7, 7})) << c.what;
        EXPECT_EQ(size, 11) << c.what;
        EXPECT_EQ(hz, 14) << c.what;

        Stream s;
        EXPECT_EQ(s.Step(c.bytes, 30000), 0) << c.what;
        EXPECT_EQ(s.flag, 3) << c.what;
        EXPECT_EQ(s.index, -1) << c.what;
    }
}

TEST(CApiOgg, StepsAnswerMinusTheCursorThenTheSizeAndMatchTheWholeDecode) {
    const auto ogg = EncodedTone(20000, 2, 44100, 3);
    std::vector<std::uint8_t> whole;
    Long wsize = 0, wbits = 0, wchannels = 0, whz = 0;
    ASSERT_EQ(gApi().DecodeOggMemory(ogg, whole, wsize, wbits, wchannels, whz), 80000);

    // 5000 bytes round up to two units of 4096; 0 still decodes one unit.
    for (const Long request : {Long{5000}, Long{0}}) {
        const Long step = request == 0 ? 4096 : 8192;
        Stream s;
        Long r = s.Step(ogg, request);
        EXPECT_EQ(s.flag, 1);
        EXPECT_GE(s.index, 0);
        EXPECT_EQ(s.size, 80000);
        EXPECT_EQ(s.bits, 16);
        EXPECT_EQ(s.channels, 2);
        EXPECT_EQ(s.hz, 44100);
        EXPECT_EQ(s.buffer.size(), 80000u);
        Long expected = 0;
        while (r < 0) {
            expected += step;
            ASSERT_EQ(r, -expected) << request;
            EXPECT_EQ(s.cursor, expected);
            r = s.Step(ogg, request);
        }
        EXPECT_EQ(r, 80000) << request;
        EXPECT_EQ(s.flag, 3);
        EXPECT_EQ(s.index, -1);
        EXPECT_EQ(s.cursor, 0);
        EXPECT_EQ(s.buffer, whole);
        EXPECT_EQ(s.Step(ogg, request), 0);  // mode 3 does nothing
        EXPECT_EQ(s.flag, 3);
    }
}

TEST(CApiOgg, CloseFreesTheSlotForTheNextStream) {
    const auto first = EncodedTone(30000, 1, 22050, 4);
    const auto second = EncodedTone(9000, 2, 22050, 5);
    Stream a, b;
    ASSERT_LT(a.Step(first, 4096), 0);
    ASSERT_LT(b.Step(second, 4096), 0);
    EXPECT_NE(a.index, b.index);
    const Long freed = a.index;

    a.flag = 2;
    EXPECT_EQ(a.Step(first, 4096), 0);
    EXPECT_EQ(a.flag, 3);
    EXPECT_EQ(a.Step(first, 4096), 0);

    Stream c;
    ASSERT_LT(c.Step(first, 4096), 0);
    EXPECT_EQ(c.index, freed);  // the lowest free slot is taken again

    // The other stream was not disturbed by the close and the reopen.
    Long r = b.Step(second, 4096);
    while (r < 0) r = b.Step(second, 4096);
    std::vector<std::uint8_t> whole;
    Long size = 0, bits = 0, channels = 0, hz = 0;
    ASSERT_GT(gApi().DecodeOggMemory(second, whole, size, bits, channels, hz), 0);
    EXPECT_EQ(r, size);
    EXPECT_EQ(b.buffer, whole);

    c.flag = 2;
    EXPECT_EQ(c.Step(first, 4096), 0);
}

}  // namespace
}  // namespace brumil::core
