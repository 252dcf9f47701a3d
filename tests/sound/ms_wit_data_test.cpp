#include <gtest/gtest.h>

#include "core/api.h"
#include "platform/base/files.h"
#include "platform/sound/ogg_encoder.h"
#include "sound/loop_file.h"
#include "sound/ms_wit.h"
#include "sound_test_env.h"
#include "wave_builder.h"

namespace brumil::sound {
namespace {

using test::Pcm16;
using test::RiffBuilder;
using test::SoundTestEnv;
using test::Tone;

TEST(CmsWITRecord, WrittenWitFilesReadBackAndDecodeToTheSamePcm) {
    SoundTestEnv env;
    struct Case {
        Long bits, channels, hz;
        bool compress;
        std::vector<Byte> pcm;
    };
    const Case cases[] = {
        {8, 1, 22050, false, test::Ramp(1001)},
        {8, 2, 11025, true, test::Ramp(4000)},
        {16, 2, 44100, false, Pcm16(Tone(3000))},
        {16, 1, 32000, true, Pcm16(Tone(5001, 3))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits * 100 + c.channels * 10 + c.compress);
        CmsWIT wit;
        wit.SetWavDataSource(c.pcm, c.bits, c.channels, c.hz, c.compress);
        EXPECT_EQ(wit.Record().passCount, c.compress ? 3 : 0);
        EXPECT_EQ(wit.Record().sourceKind, kWitSourcePcm);
        EXPECT_FALSE(wit.Ready());
        wit.TagTitle("曲名 title");
        wit.TagInfo("line1\r\nline2");
        wit.PlayerRestart(8);
        wit.PlayerEnd(40);
        wit.DefaultVolume(0.5f);
        ASSERT_EQ(wit.SaveToWIT("\\music.wit"), 0);

        CmsWIT back;
        ASSERT_EQ(back.Load("\\music.wit"), 0);
        EXPECT_EQ(back.Record(), wit.Record());
        EXPECT_EQ(back.DataSize(), static_cast<Long>(c.pcm.size()));
        back.SystemBufferCreate();
        ASSERT_TRUE(back.Ready());
        std::vector<Byte> pcm;
        ASSERT_EQ(back.GetWaveBuffer(pcm), 0);
        EXPECT_EQ(pcm, c.pcm);
    }
}

TEST(CmsWITRecord, LoadByWitHeaderOrByExtension) {
    SoundTestEnv env;
    CmsWIT wit;
    wit.SetWavDataSource(test::Ramp(16), 24, 1, 8000, false);
    // A WIT file with 24 bits is not taken as WIT; named ".wav" it is read as
    // RIFF from its first byte and fails there.
    ASSERT_EQ(wit.SaveToWIT("\\odd.wav"), 0);
    CmsWIT a;
    EXPECT_EQ(a.Load("\\odd.wav"), 1);
    EXPECT_FALSE(a.Ready());
    // A truncated WIT file named ".wit" is tried by extension and fails.
    wit.SetWavDataSource(test::Ramp(16), 16, 1, 8000, false);
    ASSERT_EQ(wit.SaveToWIT("\\cut.wit"), 0);
    auto bytes = *platform::ReadFile("\\cut.wit");
    bytes.pop_back();
    env.Write("cut.wit", bytes);
    EXPECT_EQ(a.Load("\\cut.wit"), 1);
    EXPECT_EQ(a.Load("\\missing.wit"), 1);
    // Unknown extension and no WIT header.
    env.Write("x.mid", {1, 2, 3, 4});
    EXPECT_EQ(a.Load("\\x.mid"), 1);
}

TEST(CmsWITRecord, WaveFilesTakeTheirLoopPointsFromTheLoopFile) {
    SoundTestEnv env;
    struct Case {
        int bits, channels;
        const char* sliName;
        const char* sliText;
        Long restart, end;
    };
    const Case cases[] = {
        {8, 1, "m.wav.sli", "LOOPSTART=100\r\nLOOPLENGTH=50\r\n", 100, 150},
        {16, 2, "m.wav.sli", "LOOPSTART=100\nLOOPLENGTH=50\n", 400, 600},
        {16, 1, "m.wav.sli", "looplength=50\nloopstart=100", 200, 300},
        {16, 2, "none.sli", "LOOPSTART=100\n", 0, 0},
        {16, 2, "m.wav.sli", "", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.sliName) + c.sliText);
        brumil::testing::TempDataRoot root;
        root.Write("bgm/m.wav",
                   RiffBuilder().Fmt(1, c.channels, 22050, c.bits).Data(test::Ramp(4000)).Text());
        root.Write(std::string("bgm/") + c.sliName, c.sliText);
        CmsWIT wit;
        ASSERT_EQ(wit.Load("\\bgm\\m.wav"), 0);
        EXPECT_EQ(wit.DataBits(), c.bits);
        EXPECT_EQ(wit.DataChannels(), c.channels);
        EXPECT_EQ(wit.DataHz(), 22050);
        EXPECT_EQ(wit.DataSize(), 4000);
        EXPECT_EQ(wit.PlayerStart(), 0);
        EXPECT_EQ(wit.PlayerRestart(), c.restart);
        EXPECT_EQ(wit.PlayerEnd(), c.end);
        EXPECT_FALSE(wit.DefaultStream());
        EXPECT_EQ(wit.DefaultVolume(), 1.0f);
    }
}

TEST(CmsWITRecord, LoopFileCandidatesForAnOggFile) {
    EXPECT_EQ(LoopFileCandidates("\\data\\bgm\\music.ogg"),
              (std::vector<std::string>{"\\data\\bgm\\music.ogg.sli", "\\data\\bgm\\music.wav.sli",
                                        "\\data\\bgm\\music.ogg.sli"}));
    brumil::testing::TempDataRoot root;
    root.Write("data/bgm/music.wav.sli", "LOOPSTART=5\nLOOPLENGTH=6\n");
    EXPECT_EQ(ReadLoopFile("\\data\\bgm\\music.ogg"), (LoopPoints{5, 6}));
    root.Write("data/bgm/music.ogg.sli", "LOOPSTART=7\n");
    EXPECT_EQ(ReadLoopFile("\\data\\bgm\\music.ogg"), (LoopPoints{7, 0}));
}

TEST(CmsWITRecord, WaveReaderRefusals) {
    SoundTestEnv env;
    const auto data = test::Ramp(64);
    struct Case {
        const char* name;
        std::vector<Byte> file;
    };
    const Case cases[] = {
        {"24 bits", RiffBuilder().Fmt(1, 1, 22050, 24).Data(data).Bytes()},
        {"3999 Hz", RiffBuilder().Fmt(1, 1, 3999, 16).Data(data).Bytes()},
        {"96001 Hz", RiffBuilder().Fmt(1, 1, 96001, 16).Data(data).Bytes()},
        {"3 channels", RiffBuilder().Fmt(1, 3, 22050, 16).Data(data).Bytes()},
        {"float", RiffBuilder().Fmt(3, 1, 22050, 16).Data(data).Bytes()},
        {"no data", RiffBuilder().Fmt(1, 1, 22050, 16).Bytes()},
    };
    for (const auto& c : cases) {
        env.Write("r.wav", c.file);
        CmsWIT wit;
        EXPECT_EQ(wit.Load("\\r.wav"), 1) << c.name;
    }
}

TEST(CmsWITRecord, SettersAndReadiness) {
    SoundTestEnv env;
    CmsWIT wit;
    // An empty record holds no sound: making its buffers leaves it not ready.
    wit.SystemBufferCreate();
    EXPECT_FALSE(wit.Ready());
    wit.LocalBufferCreate(0);
    EXPECT_EQ(wit.Buffer(), nullptr);
    std::vector<Byte> out;
    EXPECT_EQ(wit.GetWaveBuffer(out), 1);
    EXPECT_EQ(wit.SaveToWAV("\\x.wav"), 1);

    for (const auto& [given, stored] : {std::pair{1.5f, 1.0f}, {-2.0f, 0.0f}, {0.25f, 0.25f}}) {
        wit.DefaultVolume(given);
        EXPECT_EQ(wit.DefaultVolume(), stored);
    }
    wit.SetWavDataSource(Pcm16(Tone(100)), 16, 2, 44100, false);
    wit.SystemBufferCreate();
    wit.LocalBufferCreate(0);
    ASSERT_TRUE(wit.Ready());
    ASSERT_NE(wit.Buffer(), nullptr);
    wit.DefaultStream(true);
    EXPECT_FALSE(wit.Ready());
    EXPECT_EQ(wit.Buffer(), nullptr);
    EXPECT_TRUE(wit.DefaultStream());

    // A garbage Ogg source is refused and leaves the record as it was.
    const auto before = wit.Record();
    wit.SetOggDataSource(std::vector<Byte>{'O', 'g', 'g', 'S', 0, 0, 0});
    EXPECT_EQ(wit.Record(), before);
}

TEST(CmsWITRecord, SaveToWavWritesThePcm) {
    SoundTestEnv env;
    const auto pcm = Pcm16(Tone(700));
    CmsWIT wit;
    wit.SetWavDataSource(pcm, 16, 2, 22050, true);
    wit.SystemBufferCreate();
    ASSERT_EQ(wit.SaveToWAV("\\out.wav"), 0);
    CmsWIT back;
    ASSERT_EQ(back.Load("\\out.wav"), 0);
    EXPECT_EQ(back.Record().data, pcm);
    EXPECT_EQ(back.DataHz(), 22050);
}

TEST(CmsWITRecord, OggFileGivesItsFormatAndLength) {
    SoundTestEnv env;
    struct Case {
        int channels, hz;
        std::size_t frames;
    };
    for (const Case c : {Case{1, 22050, 5000}, Case{2, 44100, 12345}}) {
        SCOPED_TRACE(c.channels);
        const auto samples = Tone(c.frames * static_cast<std::size_t>(c.channels), 5);
        platform::OggEncodeOptions o;
        o.channels = c.channels;
        o.hz = c.hz;
        const auto ogg = platform::EncodeOggVorbis(samples, o);
        ASSERT_FALSE(ogg.empty());
        env.Write("bgm/song.ogg", ogg);
        CmsWIT wit;
        ASSERT_EQ(wit.Load("\\bgm\\song.ogg"), 0);
        EXPECT_EQ(wit.DataHz(), c.hz);
        EXPECT_EQ(wit.DataChannels(), c.channels);
        EXPECT_EQ(wit.DataBits(), 16);
        EXPECT_EQ(wit.DataSize(), static_cast<Long>(c.frames) * 2 * c.channels);
        EXPECT_TRUE(wit.DefaultStream());
        EXPECT_EQ(wit.Record().sourceKind, kWitSourceOgg);
        EXPECT_EQ(wit.Record().data, ogg);
        EXPECT_DOUBLE_EQ(wit.GetLength(), static_cast<double>(c.frames) / c.hz);
    }
}

}  // namespace
}  // namespace brumil::sound
