#include <gtest/gtest.h>

#include "core/api.h"
#include "framework/splib.h"
#include "platform/sound/ogg_encoder.h"
#include "sound/ms_wit.h"
#include "sound_test_env.h"
#include "wave_builder.h"

namespace brumil::sound {
namespace {

using test::HeardAs;
using test::Pcm16;
using test::SoundTestEnv;
using test::Tone;

using Samples = std::vector<std::int16_t>;

// Alternates refills and rendering, as the timer tick and the audio callback
// do, until `frames` frames are heard.
Samples Pump(CmsWIT& wit, SoundTestEnv& env, std::size_t frames, std::size_t step = 2000) {
    Samples out;
    while (out.size() < 2 * frames) {
        wit.StreamUpdate();
        const auto r = env.Render(std::min(step, frames - out.size() / 2));
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

Samples Frames(const Samples& s, std::size_t from, std::size_t count) {
    return Samples(s.begin() + static_cast<long>(2 * from),
                   s.begin() + static_cast<long>(2 * (from + count)));
}

Samples Silence(std::size_t frames) {
    return Samples(2 * frames, 0);
}

// What a looping sound must sound like: `lead` silent frames, the stretch from
// start to end once, then restart to end again and again.
Samples LoopedHearing(const Samples& heard, std::size_t lead, std::size_t start,
                      std::size_t restart, std::size_t end, std::size_t frames) {
    Samples want = Silence(lead);
    auto add = [&](std::size_t from) {
        want.insert(want.end(), heard.begin() + static_cast<long>(2 * from),
                    heard.begin() + static_cast<long>(2 * end));
    };
    add(start);
    while (want.size() < 2 * frames) add(restart);
    want.resize(2 * frames);
    return want;
}

struct LoopCase {
    const char* name;
    bool defaultStream;
    Long startFrame, restartFrame, endFrame;
    bool lead;  // goes through the ring, which starts writing past its first bytes
};

TEST(CmsWITStream, LoopingSamplesAreIntroThenLoopExactlyAcrossTheRingWrap) {
    constexpr Long kHz = 22050;
    constexpr std::size_t kFrames = 250000;  // more than the ring's 220500 frames
    const auto tone = Tone(2 * 9000, 7);     // 9000 stereo frames
    const Samples heard = HeardAs(Pcm16(tone), 16, 2);
    const LoopCase cases[] = {
        {"ring stream with an intro", true, 0, 3000, 8000, true},
        {"ring stream from a start point", true, 500, 3001, 7999, true},
        {"whole buffer looping from its start", false, 1000, 0, 8000, false},
        {"whole buffer with an intro streams instead", false, 0, 3000, 8000, true},
        {"restart at the end plays from the start", true, 0, 8000, 8000, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SoundTestEnv env(kHz, 2);
        CmsWIT wit;
        wit.SetWavDataSource(Pcm16(tone), 16, 2, kHz, false);
        wit.DefaultStream(c.defaultStream);
        wit.PlayerStart(c.startFrame * 4);
        wit.PlayerRestart(c.restartFrame * 4);
        wit.PlayerEnd(c.endFrame * 4);
        wit.SystemBufferCreate();
        wit.LocalBufferCreate(0xE0);
        ASSERT_NE(wit.Buffer(), nullptr);
        EXPECT_EQ(wit.Streaming(), c.lead);
        EXPECT_EQ(wit.DefaultStream(), c.defaultStream);  // the stored choice stays
        wit.Play(1);
        const Samples got = Pump(wit, env, kFrames);
        // Positions are whole multiples of 4 bytes: one stereo frame.
        const std::size_t start = static_cast<std::size_t>(wit.StartByte() / 4);
        std::size_t restart = static_cast<std::size_t>(wit.RestartByte() / 4);
        const std::size_t end = static_cast<std::size_t>(wit.EndByte() / 4);
        if (restart >= end) restart = start;
        const std::size_t lead = c.lead ? CmsWIT::kSeekLead / 4 : 0;
        const Samples want = LoopedHearing(heard, lead, start, restart, end, kFrames);
        ASSERT_EQ(got.size(), want.size());
        std::size_t firstDiff = 0;
        while (firstDiff < got.size() && got[firstDiff] == want[firstDiff]) ++firstDiff;
        EXPECT_EQ(firstDiff, got.size()) << "first difference at frame " << firstDiff / 2;
        EXPECT_TRUE(wit.GetState());
    }
}

TEST(CmsWITStream, PrefillQueuesTwentyChunksPastTheLead) {
    // 8-bit mono at 100 Hz: the state text counts in hundreds of bytes.
    SoundTestEnv env(44100, 2);
    CmsWIT wit;
    wit.SetWavDataSource(test::Ramp(1000000), 8, 1, 100, false);
    wit.DefaultStream(true);
    wit.SystemBufferCreate();
    wit.LocalBufferCreate(0);
    wit.Play(0);
    // 1600 + 20 x 30000 bytes written, 600000 bytes read, nothing played yet.
    EXPECT_EQ(wit.GetStreamState(), "dw0/8820 sw6016/8820 sr6000/10000 ");
    wit.Pose();
    EXPECT_FALSE(wit.GetState());
}

TEST(CmsWITStream, NonLoopingSoundStopsAfterItsSilenceTail) {
    struct Case {
        const char* name;
        int bits, channels;
    };
    for (const Case c : {Case{"16-bit stereo", 16, 2}, Case{"8-bit mono", 8, 1}}) {
        SCOPED_TRACE(c.name);
        constexpr Long kHz = 44100;
        SoundTestEnv env(kHz, 2);
        const auto pcm = c.bits == 8 ? test::Ramp(6000, 3) : Pcm16(Tone(6000));
        const Samples heard = HeardAs(pcm, c.bits, c.channels);
        const std::size_t frames = heard.size() / 2;
        const std::size_t block = static_cast<std::size_t>(c.bits / 8 * c.channels);
        CmsWIT wit;
        wit.SetWavDataSource(pcm, c.bits, c.channels, kHz, false);
        wit.DefaultStream(true);
        wit.SystemBufferCreate();
        wit.LocalBufferCreate(0);
        wit.Play(0);
        const std::size_t lead = CmsWIT::kSeekLead / block;
        const std::size_t ring = CmsWIT::kRingSize / block;
        // Play through the sound and well into the silence.
        Samples got = Pump(wit, env, lead + frames + 10000);
        Samples want = Silence(lead);
        want.insert(want.end(), heard.begin(), heard.end());
        want.resize(got.size(), 0);
        EXPECT_EQ(got, want);  // 8-bit silence is heard as 0, not as the lowest value
        // The player stops itself once a ring of silence has been written.
        std::size_t ticks = 0;
        while (wit.GetState() && ticks < 1000) {
            Pump(wit, env, 2000);
            ++ticks;
        }
        EXPECT_FALSE(wit.GetState());
        EXPECT_LT(ticks * 2000, 2 * ring);
        // Stopping queued a seek to the start: playing again starts over.
        wit.Play(0);
        got = Pump(wit, env, lead + frames);
        want.resize(got.size());
        EXPECT_EQ(got, want);
    }
}

TEST(CmsWITStream, SeekTakesEffectAtTheNextRefill) {
    constexpr Long kHz = 22050;
    SoundTestEnv env(kHz, 2);
    const auto tone = Tone(2 * 50000, 9);
    const Samples heard = HeardAs(Pcm16(tone), 16, 2);
    CmsWIT wit;
    wit.SetWavDataSource(Pcm16(tone), 16, 2, kHz, false);
    wit.DefaultStream(true);
    wit.PlayerStart(400);
    wit.SystemBufferCreate();
    wit.LocalBufferCreate(0);
    wit.Play(1);
    Pump(wit, env, 1000);
    wit.SetTime(1.0);  // 22050 frames after the start point
    std::uint32_t play = 0, write = 0;
    wit.Buffer()->GetCurrentPosition(play, write);
    wit.StreamUpdate();
    // What was queued up to the write cursor + 1600 bytes still plays; from
    // there the sound continues at the new position.
    const std::size_t switchFrame = (write + CmsWIT::kSeekLead) / 4 - play / 4;
    const Samples got = Pump(wit, env, switchFrame + 5000, 1000);
    EXPECT_EQ(Frames(got, switchFrame, 5000), Frames(heard, 100 + 22050, 5000));
}

TEST(CmsWITStream, ControlsMapOntoTheBuffer) {
    SoundTestEnv env(22050, 2);
    CmsWIT wit;
    wit.SetWavDataSource(Pcm16(Tone(2000)), 16, 2, 22050, false);
    wit.SystemBufferCreate();
    wit.DefaultVolume(0.5f);
    wit.SystemBufferCreate();
    wit.LocalBufferCreate(0xE0);
    auto* b = wit.Buffer();
    ASSERT_NE(b, nullptr);
    std::int32_t v = 0, p = 0;
    std::uint32_t f = 0;
    struct Case {
        Single volume, pan, tempo;
        std::int32_t wantVolume, wantPan;
        std::uint32_t wantFreq;
    };
    const Case cases[] = {
        {1.0f, 2.0f, 12, -2929, 10000, 44100},  // volume x DefaultVolume 0.5
        {0.0f, 0.5f, -24, -10000, 7071, 11025},
        {2.0f, 0.25f, 0, 0, 3827, 22050},
    };
    for (const auto& c : cases) {
        wit.SetVolum(c.volume);
        wit.SetPan(c.pan);
        wit.SetTempo(c.tempo);
        b->GetVolume(v);
        b->GetPan(p);
        b->GetFrequency(f);
        EXPECT_EQ(v, c.wantVolume);
        EXPECT_EQ(p, c.wantPan);
        EXPECT_EQ(f, c.wantFreq);
    }
    EXPECT_DOUBLE_EQ(wit.GetLength(), 1000.0 / 22050.0);
    framework::gSpLib().RaiseTerminateSound();
    EXPECT_EQ(wit.Buffer(), nullptr);
    EXPECT_FALSE(wit.GetState());
    EXPECT_EQ(wit.GetStreamState(), "");
}

TEST(CmsWITStream, OggStreamHasItsRateChannelsAndLength) {
    struct Case {
        int channels, hz;
        std::size_t frames;
    };
    for (const Case c : {Case{2, 44100, 150000}, Case{1, 22050, 30000}}) {
        SCOPED_TRACE(c.channels);
        SoundTestEnv env(c.hz, 2);
        platform::OggEncodeOptions o;
        o.channels = c.channels;
        o.hz = c.hz;
        const auto ogg =
            platform::EncodeOggVorbis(Tone(c.frames * static_cast<std::size_t>(c.channels), 11), o);
        ASSERT_FALSE(ogg.empty());
        env.Write("data/bgm/song.ogg", ogg);

        // The reference: the same file decoded whole.
        std::vector<Byte> pcm;
        Long size = 0, bits = 0, channels = 0, hz = 0;
        ASSERT_GT(core::gApi().DecodeOggMemory(ogg, pcm, size, bits, channels, hz), 0);
        ASSERT_EQ(pcm.size(), c.frames * 2 * static_cast<std::size_t>(c.channels));

        CmsWIT wit;
        ASSERT_EQ(wit.Load("\\data\\bgm\\song.ogg"), 0);
        wit.SystemBufferCreate();
        ASSERT_TRUE(wit.Ready());
        wit.LocalBufferCreate(0xE0);
        ASSERT_TRUE(wit.Streaming());
        EXPECT_DOUBLE_EQ(wit.GetLength(), static_cast<double>(c.frames) / c.hz);
        wit.Play(0);
        const std::size_t lead = CmsWIT::kSeekLead / (2 * static_cast<std::size_t>(c.channels));
        const Samples got = Pump(wit, env, lead + c.frames + 4000);
        Samples want = Silence(lead);
        const Samples heard = HeardAs(pcm, 16, c.channels);
        want.insert(want.end(), heard.begin(), heard.end());
        want.resize(got.size(), 0);
        EXPECT_EQ(got, want);
        std::vector<Byte> whole;
        ASSERT_EQ(wit.GetWaveBuffer(whole), 0);
        EXPECT_EQ(whole, pcm);
    }
}

TEST(CmsWITStream, OggWholeBufferMode) {
    SoundTestEnv env(22050, 2);
    platform::OggEncodeOptions o;
    o.channels = 1;
    o.hz = 22050;
    const auto ogg = platform::EncodeOggVorbis(Tone(8000, 2), o);
    CmsWIT wit;
    wit.SetOggDataSource(ogg);
    wit.DefaultStream(false);
    wit.SystemBufferCreate();
    wit.LocalBufferCreate(0);
    ASSERT_FALSE(wit.Streaming());
    std::vector<Byte> pcm;
    ASSERT_EQ(wit.GetWaveBuffer(pcm), 0);
    ASSERT_EQ(pcm.size(), 16000u);
    wit.Play(0);
    EXPECT_EQ(env.Render(8000), HeardAs(pcm, 16, 1));
    env.Render(10);
    EXPECT_FALSE(wit.GetState());
}

}  // namespace
}  // namespace brumil::sound
