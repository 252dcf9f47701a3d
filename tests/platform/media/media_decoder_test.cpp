#include "platform/media/media_decoder.h"

#include <gtest/gtest.h>

#include "media_test_util.h"

namespace brumil::platform::test {
namespace {

struct KindCase {
    const char* name;
    MediaFileKind kind;
    bool lossless;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const KindCase& c, std::ostream* os) {
    *os << c.name;
}

class MediaDecoderKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(MediaDecoderKinds, ReportsFormatAndDecodesFromAnyFrame) {
    MediaTestEnv env;
    const KindCase& c = GetParam();
    const auto samples = Ramp(30000);
    const std::string path = env.Write(c.name, c.kind, samples, 2, 32000);
    auto d = MediaDecoder::Open(path);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->Hz(), 32000u);
    EXPECT_EQ(d->Channels(), 2u);
    EXPECT_EQ(d->Frames(), 30000u);
    EXPECT_DOUBLE_EQ(d->Duration(), 30000.0 / 32000.0);

    std::vector<std::int16_t> out(2 * 1000);
    ASSERT_TRUE(d->Seek(12345));
    ASSERT_EQ(d->Read(out), 1000u);
    if (c.lossless) {
        EXPECT_EQ(out, Slice(samples, 12345, 1000));
    }
    // Past the end the read comes back short, then empty.
    ASSERT_TRUE(d->Seek(29500));
    EXPECT_EQ(d->Read(out), 500u);
    EXPECT_EQ(d->Read(out), 0u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, MediaDecoderKinds,
                         ::testing::Values(KindCase{"a.wav", MediaFileKind::Wav16, true},
                                           KindCase{"b.flac", MediaFileKind::Flac16, true},
                                           KindCase{"c.ogg", MediaFileKind::OggVorbis, false}),
                         [](const auto& info) { return std::to_string(info.index); });

TEST(MediaDecoder, FindsTheFormatByContentNotByName) {
    MediaTestEnv env;
    const std::string path = env.Write("music.bin", MediaFileKind::Flac16, Ramp(100), 2, 22050);
    auto d = MediaDecoder::Open(path);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->Frames(), 100u);
}

TEST(MediaDecoder, HandsOutTheFirstTwoOfMoreChannels) {
    MediaTestEnv env;
    std::vector<std::int16_t> quad;
    for (int f = 0; f < 50; ++f) {
        for (int ch = 0; ch < 4; ++ch) quad.push_back(static_cast<std::int16_t>(f * 10 + ch));
    }
    const std::string path = env.Write("quad.wav", MediaFileKind::Wav16, quad, 4, 8000);
    auto d = MediaDecoder::Open(path);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->Channels(), 2u);
    std::vector<std::int16_t> out(100);
    ASSERT_EQ(d->Read(out), 50u);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 1);
    EXPECT_EQ(out[98], 490);
    EXPECT_EQ(out[99], 491);
}

TEST(MediaDecoder, RefusesWhatItCannotPlay) {
    MediaTestEnv env;
    env.Root().Write("noise.dat", std::string(4000, '\x5a'));
    env.Root().Write("empty.wav", "");
    EXPECT_EQ(MediaDecoder::Open("\\noise.dat"), nullptr);
    EXPECT_EQ(MediaDecoder::Open("\\empty.wav"), nullptr);
    EXPECT_EQ(MediaDecoder::Open("\\missing.ogg"), nullptr);
    EXPECT_EQ(MediaDecoder::Open(""), nullptr);
    EXPECT_FALSE(MediaFileDecodes("\\noise.dat"));
    // A file without frames.
    ASSERT_TRUE(WriteMediaFile("\\silent.wav", MediaFileKind::Wav16, {}, 2, 44100));
    EXPECT_FALSE(MediaFileDecodes("\\silent.wav"));
}

TEST(MediaDecoder, WriterRefusesBadShapes) {
    MediaTestEnv env;
    const std::vector<std::int16_t> three = {1, 2, 3};
    EXPECT_FALSE(WriteMediaFile("\\x.wav", MediaFileKind::Wav16, three, 2, 44100));
    EXPECT_FALSE(WriteMediaFile("\\x.wav", MediaFileKind::Wav16, three, 0, 44100));
    EXPECT_FALSE(WriteMediaFile("\\x.wav", MediaFileKind::Wav16, three, 1, 50));
}

}  // namespace
}  // namespace brumil::platform::test
