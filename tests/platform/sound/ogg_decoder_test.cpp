#include "platform/sound/ogg_decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/sound/ogg_encoder.h"

namespace brumil::platform {
namespace {

// A tone of `frames` frames whose pitch depends on `seed`, so that streams of
// different seeds decode to different bytes.
std::vector<std::int16_t> Tone(int frames, int channels, int seed) {
    std::vector<std::int16_t> s(static_cast<std::size_t>(frames * channels));
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            const double phase = f * (0.02 + 0.01 * seed + 0.005 * c);
            s[static_cast<std::size_t>(f * channels + c)] =
                static_cast<std::int16_t>(12000 * std::sin(phase));
        }
    }
    return s;
}

std::vector<std::uint8_t> Encoded(int frames, int channels, int seed, int hz = 22050) {
    OggEncodeOptions o;
    o.channels = channels;
    o.hz = hz;
    o.serial = seed + 1;
    return EncodeOggVorbis(Tone(frames, channels, seed), o);
}

struct StreamState {
    std::int32_t mode = 0;
    std::int32_t index = -1;
    std::int32_t cursor = 0;
    std::vector<std::uint8_t> pcm;
    OggPcmInfo info;
};

std::int32_t Step(OggStreamTable& table, StreamState& s, std::span<const std::uint8_t> src,
                  std::int32_t request) {
    return table.Decode({s.mode, s.index, s.cursor, request, src, s.pcm, s.info});
}

TEST(OggDecoder, WholeDecodeGivesTheEncodedLengthAndFormat) {
    struct Case {
        int frames;
        int channels;
        int hz;
    };
    const Case cases[] = {{20000, 2, 44100}, {7777, 1, 22050}, {1, 1, 8000}};
    for (const auto& c : cases) {
        const auto ogg = Encoded(c.frames, c.channels, 0, c.hz);
        ASSERT_FALSE(ogg.empty());
        std::vector<std::uint8_t> pcm;
        OggPcmInfo info;
        const std::int32_t n = DecodeOggWhole(ogg, pcm, info);
        EXPECT_EQ(n, c.frames * c.channels * 2) << c.frames;
        EXPECT_EQ(pcm.size(), static_cast<std::size_t>(n));
        EXPECT_EQ(info.size, n);
        EXPECT_EQ(info.bits, 16);
        EXPECT_EQ(info.channels, c.channels);
        EXPECT_EQ(info.hz, c.hz);
    }
}

TEST(OggDecoder, DecodedSamplesFollowTheSource) {
    const auto tone = Tone(4000, 1, 0);
    OggEncodeOptions o;
    o.channels = 1;
    o.hz = 22050;
    o.quality = 0.8f;
    std::vector<std::uint8_t> pcm;
    OggPcmInfo info;
    ASSERT_GT(DecodeOggWhole(EncodeOggVorbis(tone, o), pcm, info), 0);
    double err = 0, energy = 0;
    for (std::size_t i = 0; i < tone.size(); ++i) {
        const auto got = static_cast<std::int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
        err += std::pow(got - tone[i], 2);
        energy += std::pow(tone[i], 2);
    }
    EXPECT_LT(err / energy, 0.01);  // lossy, but the same signal
}

TEST(OggDecoder, StepsGiveTheSameBytesAsTheWholeDecode) {
    const auto ogg = Encoded(30000, 2, 1);
    std::vector<std::uint8_t> whole;
    OggPcmInfo wholeInfo;
    const std::int32_t size = DecodeOggWhole(ogg, whole, wholeInfo);
    ASSERT_EQ(size, 120000);
    for (const std::int32_t request : {1, 4096, 4097, 30000, 8000}) {
        OggStreamTable table;
        StreamState s;
        std::int32_t r = Step(table, s, ogg, request);
        const std::int32_t unit = ((std::max(request, 1) + 4095) / 4096) * 4096;
        EXPECT_EQ(s.mode, 1);
        EXPECT_GE(s.index, 0);
        EXPECT_EQ(s.info.size, size);
        EXPECT_EQ(s.pcm.size(), static_cast<std::size_t>(size));
        std::int32_t expected = 0;
        while (r < 0) {
            expected += unit;
            EXPECT_EQ(r, -expected) << request;
            EXPECT_EQ(s.cursor, expected);
            r = Step(table, s, ogg, request);
        }
        EXPECT_EQ(r, size) << request;
        EXPECT_EQ(s.mode, 3);
        EXPECT_EQ(s.cursor, 0);
        EXPECT_EQ(s.index, -1);
        EXPECT_EQ(s.pcm, whole) << request;
        EXPECT_EQ(table.OpenCount(), 0);
        EXPECT_EQ(Step(table, s, ogg, request), 0);  // mode 3 does nothing
    }
}

// Bytes after the end of the stream: a tag block, padding, a copy cut short.
std::vector<std::uint8_t> WithTail(std::vector<std::uint8_t> ogg,
                                   const std::vector<std::uint8_t>& tail) {
    ogg.insert(ogg.end(), tail.begin(), tail.end());
    return ogg;
}

TEST(OggDecoder, DamagedOrForeignStreamsAnswerZero) {
    const auto ogg = Encoded(20000, 2, 2);
    std::vector<std::uint8_t> flipped = ogg;
    flipped[flipped.size() / 2] ^= 0x5A;  // fails the page checksum: a hole
    std::vector<std::uint8_t> garbage(5000);
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 37);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"truncated", std::vector<std::uint8_t>(ogg.begin(), ogg.end() - 100)},
        {"truncated, then 128 bytes",
         WithTail(std::vector<std::uint8_t>(ogg.begin(), ogg.end() - 100),
                  std::vector<std::uint8_t>(128, 0x55))},
        {"headers only", std::vector<std::uint8_t>(ogg.begin(), ogg.begin() + 200)},
        {"garbage", garbage},
        {"damaged page", flipped},
        {"three channels", Encoded(1000, 3, 0)},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> pcm{1, 2, 3};
        OggPcmInfo info;
        EXPECT_EQ(DecodeOggWhole(c.bytes, pcm, info), 0) << c.what;
        EXPECT_EQ(pcm, (std::vector<std::uint8_t>{1, 2, 3})) << c.what;

        OggStreamTable table;
        StreamState s;
        std::int32_t r = Step(table, s, c.bytes, 30000);
        while (r < 0) r = Step(table, s, c.bytes, 30000);
        EXPECT_EQ(r, 0) << c.what;
        EXPECT_EQ(s.mode, 3) << c.what;
        EXPECT_EQ(s.index, -1) << c.what;
        EXPECT_EQ(table.OpenCount(), 0) << c.what;
    }
}

TEST(OggDecoder, FiveStreamsInParallelKeepTheirOwnSlots) {
    constexpr int kStreams = 5;
    std::vector<std::vector<std::uint8_t>> oggs, wholes;
    for (int i = 0; i < kStreams; ++i) {
        oggs.push_back(Encoded(6000 + 1500 * i, 1 + i % 2, i));
        std::vector<std::uint8_t> pcm;
        OggPcmInfo info;
        ASSERT_GT(DecodeOggWhole(oggs.back(), pcm, info), 0);
        wholes.push_back(pcm);
    }
    OggStreamTable table;
    std::vector<StreamState> states(kStreams);
    std::vector<std::int32_t> results(kStreams, -1);
    for (int i = 0; i < kStreams; ++i) results[i] = Step(table, states[i], oggs[i], 4096);
    EXPECT_EQ(table.OpenCount(), kStreams);
    for (int i = 0; i < kStreams; ++i) {
        for (int j = i + 1; j < kStreams; ++j) EXPECT_NE(states[i].index, states[j].index);
    }
    bool busy = true;
    while (busy) {
        busy = false;
        for (int i = 0; i < kStreams; ++i) {
            if (results[i] < 0) {
                results[i] = Step(table, states[i], oggs[i], 4096);
                busy = true;
            }
        }
    }
    for (int i = 0; i < kStreams; ++i) {
        EXPECT_EQ(results[i], static_cast<std::int32_t>(wholes[i].size())) << i;
        EXPECT_EQ(states[i].pcm, wholes[i]) << i;
    }
    EXPECT_EQ(table.OpenCount(), 0);
}

TEST(OggDecoder, CloseFreesTheSlotAndAFullTableRefuses) {
    const auto ogg = Encoded(40000, 1, 3);
    OggStreamTable table;
    std::vector<StreamState> states(OggStreamTable::kSlots + 1);
    for (int i = 0; i < OggStreamTable::kSlots; ++i) {
        EXPECT_LT(Step(table, states[i], ogg, 4096), 0) << i;
    }
    StreamState& extra = states.back();
    EXPECT_EQ(Step(table, extra, ogg, 4096), 0);
    EXPECT_EQ(extra.mode, 3);

    states[4].mode = 2;  // close one stream early
    EXPECT_EQ(Step(table, states[4], ogg, 4096), 0);
    EXPECT_EQ(states[4].mode, 3);
    EXPECT_EQ(table.OpenCount(), OggStreamTable::kSlots - 1);
    extra.mode = 0;
    EXPECT_LT(Step(table, extra, ogg, 4096), 0);
    EXPECT_EQ(extra.index, 4);
}

TEST(OggDecoder, AStepWithAnotherSourceOrAShortBufferFails) {
    const auto ogg = Encoded(40000, 1, 4);
    OggStreamTable table;
    StreamState s;
    ASSERT_LT(Step(table, s, ogg, 4096), 0);
    const std::vector<std::uint8_t> other(ogg.begin(), ogg.end() - 1);
    EXPECT_EQ(Step(table, s, other, 4096), 0);
    EXPECT_EQ(table.OpenCount(), 0);

    StreamState t;
    ASSERT_LT(Step(table, t, ogg, 4096), 0);
    t.pcm.resize(10);
    EXPECT_EQ(Step(table, t, ogg, 4096), 0);
    EXPECT_EQ(table.OpenCount(), 0);
}

TEST(OggDecoder, BytesAfterTheEndOfTheStreamAreIgnored) {
    const auto ogg = Encoded(9000, 2, 6);
    std::vector<std::uint8_t> whole;
    OggPcmInfo wholeInfo;
    ASSERT_EQ(DecodeOggWhole(ogg, whole, wholeInfo), 36000);
    std::vector<std::uint8_t> noise(128);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 29 + 3);
    const std::vector<std::uint8_t> halfCopy(ogg.begin(), ogg.begin() + ogg.size() / 2);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> tail;
    };
    const Case cases[] = {
        {"128 zero bytes", std::vector<std::uint8_t>(128, 0)},
        {"128 bytes of noise", noise},
        {"one byte", {0x0A}},
        {"a page header cut short", {'O', 'g', 'g', 'S', 0, 0x02}},
        {"half a copy of the stream", halfCopy},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto bytes = WithTail(ogg, c.tail);
        EXPECT_EQ(OggStreamLength(bytes), ogg.size());
        std::vector<std::uint8_t> pcm;
        OggPcmInfo info;
        EXPECT_EQ(DecodeOggWhole(bytes, pcm, info), 36000);
        EXPECT_EQ(pcm, whole);
        OggStreamTable table;
        StreamState st;
        std::int32_t r = Step(table, st, bytes, 8000);
        while (r < 0) r = Step(table, st, bytes, 8000);
        EXPECT_EQ(r, 36000);
        EXPECT_EQ(st.pcm, whole);
    }
}

TEST(OggDecoder, StreamLengthNeedsAPageThatEndsTheStream) {
    const auto ogg = Encoded(5000, 1, 5);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::size_t length;
    };
    const Case cases[] = {
        {"whole", ogg, ogg.size()},
        {"one byte short", std::vector<std::uint8_t>(ogg.begin(), ogg.end() - 1), 0},
        {"truncated, then zero bytes",
         WithTail(std::vector<std::uint8_t>(ogg.begin(), ogg.end() - 100),
                  std::vector<std::uint8_t>(128, 0)),
         0},
        {"nothing", {}, 0},
        {"zero bytes, then the stream", WithTail(std::vector<std::uint8_t>(4, 0), ogg), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OggStreamLength(c.bytes), c.length) << c.what;
        std::vector<std::uint8_t> pcm;
        OggPcmInfo info;
        EXPECT_EQ(DecodeOggWhole(c.bytes, pcm, info) > 0, c.length > 0) << c.what;
    }
    EXPECT_TRUE(EncodeOggVorbis(std::vector<std::int16_t>(3), {}).empty());  // half a frame
}

}  // namespace
}  // namespace brumil::platform
