#include "sound/audio36.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/base/files.h"
#include "platform/media/media_decoder.h"
#include "platform/sound/ogg_encoder.h"
#include "sound/ms_acm.h"
#include "sound/ms_stm.h"
#include "sound/ms_wav.h"
#include "sound/ms_wit.h"
#include "sound_test_env.h"
#include "wave_builder.h"

namespace brumil::sound::test {
namespace {

// The device volume the players send for a linear volume (quarter sine).
std::int32_t DeviceVolume(double v) {
    v = std::clamp(v, 0.0, 1.0);
    return RoundToLong((std::sin(v * 1.57079632) - 1.0) * 10000.0);
}

std::vector<Byte> OggSeconds(double seconds) {
    const auto frames = static_cast<std::size_t>(seconds * 44100);
    std::vector<std::int16_t> tone(2 * frames);
    for (std::size_t i = 0; i < tone.size(); ++i) {
        tone[i] = static_cast<std::int16_t>(6000 * std::sin(static_cast<double>(i / 2) * 0.03));
    }
    return platform::EncodeOggVorbis(tone, platform::OggEncodeOptions{});
}

void Tick(SoundTestEnv& env, double ms = 100.0) {
    framework::gSpLib().RaiseTimer(ms);
    env.Render(static_cast<std::size_t>(ms * 44.1));
}

std::int32_t BufferVolume(platform::SoundBuffer* b) {
    std::int32_t v = 1;
    if (b != nullptr) b->GetVolume(v);
    return v;
}

struct Audio36Fixture : ::testing::Test {
    SoundTestEnv env;
    CAudio36 bgm;

    void SetUp() override {
        ASSERT_TRUE(env.Started());
        env.Write("data/bgm/stage.ogg", OggSeconds(3.0));
    }
    CmsWIT& Wit() { return *std::get<CmsWIT*>(bgm.LocalObject()); }
};

TEST_F(Audio36Fixture, LoadPicksThePlayer) {
    env.Write("data/bgm/plain.wav", RiffBuilder().Fmt(1, 2, 44100, 16).Data(Ramp(4000)).Bytes());
    env.Write("data/bgm/riff.bin", RiffBuilder().Fmt(1, 2, 44100, 16).Data(Ramp(4000)).Bytes());
    env.Write("data/bgm/junk.bin", std::vector<Byte>(3000, 0x42));
    std::vector<std::int16_t> flac(2000, 100);
    ASSERT_TRUE(platform::WriteMediaFile("\\data\\bgm\\tune.flac", platform::MediaFileKind::Flac16,
                                         flac, 2, 44100));
    struct Case {
        std::string file;
        bool noWholeLoad;
        Long result;
        Long kind;
    };
    const Case cases[] = {
        {"\\data\\bgm\\stage.ogg", false, 0, CAudio36::kWIT},
        {"\\data\\bgm\\plain.wav", false, 0, CAudio36::kWIT},
        {"\\data\\bgm\\riff.bin", false, 0, CAudio36::kWAV},
        {"*WAV", false, 0, CAudio36::kWAV},
        {"\\data\\bgm\\riff.bin", true, 0, CAudio36::kSTM},
        {"\\data\\bgm\\tune.flac", false, 0, CAudio36::kACM},
        {"*wav", true, 1, CAudio36::kNone},
        {"\\data\\bgm\\junk.bin", false, 1, CAudio36::kNone},
        {"\\data\\bgm\\missing.ogg", false, 1, CAudio36::kNone},
    };
    for (const Case& c : cases) {
        bgm.Config.NoWholeLoad = c.noWholeLoad;
        Long result = -1;
        bgm.Load(c.file, result);
        EXPECT_EQ(result, c.result) << c.file;
        EXPECT_EQ(bgm.PlayerKind(), c.kind) << c.file;
        EXPECT_EQ(bgm.LocalObject().index(), static_cast<std::size_t>(c.kind)) << c.file;
    }
}

TEST_F(Audio36Fixture, UnknownContentReleasesThePreviousMusic) {
    env.Write("data/bgm/junk.dat", std::vector<Byte>(3000, 0x42));
    ASSERT_EQ(bgm.Load("\\data\\bgm\\stage.ogg"), 0);
    CmsWIT* wit = std::get<CmsWIT*>(bgm.LocalObject());
    bgm.Play(true, 1.0f, 0);
    Tick(env);
    EXPECT_TRUE(wit->GetState());
    EXPECT_EQ(bgm.Load("\\data\\bgm\\junk.dat"), 1);
    EXPECT_EQ(bgm.PlayerKind(), CAudio36::kNone);
    EXPECT_FALSE(wit->Ready());
    EXPECT_EQ(bgm.Cursor(), 0.0);
    EXPECT_EQ(bgm.CursorMax(), 0.0);
    bgm.Play(true, 0.5f, 0);  // nothing loaded: only the record changes
    EXPECT_EQ(bgm.Config.Volume, 0.5f);
}

TEST_F(Audio36Fixture, PlayFadesInLinearlyOnTheTimer) {
    ASSERT_EQ(bgm.Load("\\data\\bgm\\stage.ogg"), 0);
    bgm.Play(true, 1.0f, 500);
    EXPECT_EQ(bgm.PlayStateNow().State, 1);
    EXPECT_EQ(bgm.VolumeOut(), 0.0f);
    const float expect[] = {0.2f, 0.4f, 0.6f, 0.8f, 1.0f, 1.0f};
    for (float v : expect) {
        Tick(env);
        EXPECT_NEAR(bgm.VolumeOut(), v, 1e-6);
        EXPECT_EQ(BufferVolume(Wit().Buffer()),
                  DeviceVolume(bgm.VolumeOut() * Wit().DefaultVolume()));
    }
    EXPECT_NEAR(bgm.Cursor(), 0.6, 1e-6);
    // Playing again restarts, and a fade-in starts from silence.
    bgm.Play(true, 1.0f, 200);
    EXPECT_EQ(bgm.VolumeOut(), 0.0f);
    Tick(env);
    EXPECT_NEAR(bgm.VolumeOut(), 0.5f, 1e-6);
    EXPECT_NEAR(bgm.Cursor(), 0.1, 1e-6);
}

TEST_F(Audio36Fixture, PoseFadesOutThenStopsAndRewinds) {
    ASSERT_EQ(bgm.Load("\\data\\bgm\\stage.ogg"), 0);
    bgm.Config.AddTimer(300);
    bgm.Play(true, 0.9f, 0);
    Tick(env);
    bgm.Pose();
    EXPECT_EQ(bgm.PlayStateNow().State, 2);
    const float expect[] = {0.6f, 0.3f};
    for (float v : expect) {
        Tick(env);
        EXPECT_NEAR(bgm.VolumeOut(), v, 1e-6);
        EXPECT_EQ(bgm.PlayStateNow().State, 2);
    }
    Tick(env);
    EXPECT_EQ(bgm.VolumeOut(), 0.0f);
    EXPECT_EQ(bgm.PlayStateNow().State, 0);
    EXPECT_FALSE(Wit().GetState());
    EXPECT_EQ(bgm.Cursor(), 0.0);
    EXPECT_EQ(bgm.ElapsedTime(), 0.0001);
    // Pose with a fade while stopped does nothing.
    bgm.Pose();
    EXPECT_EQ(bgm.PlayStateNow().State, 0);
}

TEST_F(Audio36Fixture, PoseWithoutFadeTimeStopsAtOnce) {
    ASSERT_EQ(bgm.Load("\\data\\bgm\\stage.ogg"), 0);
    bgm.Play(true, 1.0f, 0);
    Tick(env);
    bgm.Pose();
    EXPECT_EQ(bgm.PlayStateNow().State, 0);
    EXPECT_FALSE(Wit().GetState());
}

TEST_F(Audio36Fixture, PoseWhenAlreadySilentStopsInsteadOfRunningOnSilently) {
    struct Case {
        const char* name;
        bool viaFadeout;
    };
    for (const Case& c : {Case{"played at volume 0", false}, Case{"faded out first", true}}) {
        ASSERT_EQ(bgm.Load("\\data\\bgm\\stage.ogg"), 0);
        bgm.Config.FadeOutTime = 0;
        bgm.Play(true, c.viaFadeout ? 1.0f : 0.0f, 0);
        Tick(env);
        if (c.viaFadeout) {
            framework::gSpLib().RaiseAudioVolumeFadeout(200);
            for (int i = 0; i < 3; ++i) Tick(env);
            ASSERT_EQ(bgm.VolumeOut(), 0.0f) << c.name;
        }
        bgm.Config.FadeOutTime = 500;
        bgm.Pose();
        Tick(env);
        EXPECT_EQ(bgm.PlayStateNow().State, 0) << c.name;
        EXPECT_FALSE(Wit().GetState()) << c.name;
    }
}

TEST_F(Audio36Fixture, FadeoutEventSilencesTheMusicWhichKeepsPlaying) {
    ASSERT_EQ(bgm.Load("\\data\\bgm\\stage.ogg"), 0);
    bgm.Play(true, 1.0f, 0);
    Tick(env);
    framework::gSpLib().RaiseAudioVolumeFadeout(400);
    const float expect[] = {0.75f, 0.5f, 0.25f, 0.0f, 0.0f};
    for (float v : expect) {
        Tick(env);
        EXPECT_NEAR(bgm.VolumeOut(), v, 1e-6);
    }
    EXPECT_EQ(bgm.PlayStateNow().State, 1);
    EXPECT_TRUE(Wit().GetState());
    // A later Play takes its volume from the argument again.
    bgm.Play(true, 0.7f, 0);
    EXPECT_EQ(bgm.VolumeOut(), 0.7f);
}

TEST_F(Audio36Fixture, MasterVolumeStepScalesAndIsReappliedOnReset) {
    ASSERT_EQ(bgm.Load("\\data\\bgm\\stage.ogg"), 0);
    bgm.Play(true, 1.0f, 0);
    Tick(env);
    EXPECT_EQ(BufferVolume(Wit().Buffer()), DeviceVolume(1.0 * Wit().DefaultVolume()));
    framework::SetVolumeLevel(4);
    EXPECT_EQ(framework::gVolumeOffset(), -45);
    framework::gSpLib().RaiseAudioVolumeReset();
    EXPECT_EQ(bgm.VolumeOut(), 1.0f);
    EXPECT_EQ(BufferVolume(Wit().Buffer()),
              DeviceVolume(static_cast<Single>(0.55) * Wit().DefaultVolume()));
    framework::SetVolumeLevel(5);
    framework::gSpLib().RaiseAudioVolumeReset();
    EXPECT_EQ(BufferVolume(Wit().Buffer()), -10000);
}

TEST_F(Audio36Fixture, ANonLoopingSoundReachesStateZeroOnTheTickAfterItsEnd) {
    ASSERT_EQ(bgm.Load("*wav"), 0);  // 100 samples at 22050 Hz: 4.5 ms
    bgm.Play(false, 1.0f, 0);
    framework::gSpLib().RaiseTimer(10.0);
    EXPECT_EQ(bgm.PlayStateNow().State, 1);  // nothing rendered yet: still playing
    env.Render(441);                         // 10 ms: the sound ends
    EXPECT_EQ(bgm.PlayStateNow().State, 1);
    framework::gSpLib().RaiseTimer(10.0);
    EXPECT_EQ(bgm.PlayStateNow().State, 0);
}

TEST_F(Audio36Fixture, CursorSeeksAndClampsNeverBelowZero) {
    ASSERT_EQ(bgm.Load("\\data\\bgm\\stage.ogg"), 0);
    EXPECT_NEAR(bgm.CursorMax(), 3.0, 1e-3);
    bgm.Play(true, 1.0f, 0);
    bgm.Cursor(1.5);
    EXPECT_NEAR(bgm.Cursor(), 1.5 + 1e-7, 1e-12);
    bgm.Cursor(10.0);
    EXPECT_NEAR(bgm.Cursor(), bgm.CursorMax() - 1.0 + 1e-7, 1e-9);
    bgm.Cursor(-4.0);
    EXPECT_NEAR(bgm.Cursor(), 1e-7, 1e-12);

    ASSERT_EQ(bgm.Load("*wav"), 0);
    bgm.Play(true, 1.0f, 0);
    ASSERT_LT(bgm.CursorMax(), 1.0);
    bgm.Cursor(5.0);  // past the end of a sound shorter than a second
    EXPECT_NEAR(bgm.Cursor(), 1e-7, 1e-12);
}

TEST_F(Audio36Fixture, TempoFollowsAtOnceAndPanFades) {
    bgm.Config.UseTempo = true;
    bgm.Config.UsePan = true;
    ASSERT_EQ(bgm.Load("\\data\\bgm\\stage.ogg"), 0);
    bgm.Play(true, 1.0f, 0, 0.0f);
    Tick(env);
    bgm.Config.Tempo = 12.0f;
    bgm.Config.PanFadeTime = 200;
    bgm.Config.PanX = 1.0f;
    Tick(env);
    std::uint32_t hz = 0;
    Wit().Buffer()->GetFrequency(hz);
    EXPECT_EQ(hz, 88200u);
    EXPECT_NEAR(bgm.PlayStateNow().PanX, 0.5f, 1e-6);
    Tick(env);
    EXPECT_EQ(bgm.PlayStateNow().PanX, 1.0f);
    std::int32_t pan = 0;
    Wit().Buffer()->GetPan(pan);
    EXPECT_EQ(pan, 10000);
}

TEST_F(Audio36Fixture, StreamedWaveIsPumpedOnEveryTick) {
    env.Write("data/bgm/long.bin", RiffBuilder().Fmt(1, 2, 44100, 16).Data(Ramp(600000)).Bytes());
    bgm.Config.NoWholeLoad = true;
    ASSERT_EQ(bgm.Load("\\data\\bgm\\long.bin"), 0);
    ASSERT_EQ(bgm.PlayerKind(), CAudio36::kSTM);
    CmsSTM& stm = *std::get<CmsSTM*>(bgm.LocalObject());
    bgm.Play(false, 1.0f, 0);
    const Long first = stm.ReadPosition();
    Tick(env);
    EXPECT_EQ(stm.ReadPosition(), first + CmsSTM::kMaxRefill);
    for (int i = 0; i < 40 && bgm.PlayStateNow().State != 0; ++i) Tick(env);
    EXPECT_EQ(bgm.PlayStateNow().State, 0);
}

TEST_F(Audio36Fixture, CompressedMusicPlaysOnceAndStops) {
    std::vector<std::int16_t> flac(2 * 8820, 300);
    ASSERT_TRUE(platform::WriteMediaFile("\\data\\bgm\\tune.flac", platform::MediaFileKind::Flac16,
                                         flac, 2, 44100));
    ASSERT_EQ(bgm.Load("\\data\\bgm\\tune.flac"), 0);
    CmsACM& acm = *std::get<CmsACM*>(bgm.LocalObject());
    EXPECT_NEAR(bgm.CursorMax(), 0.2, 1e-9);
    bgm.Play(false, 1.0f, 0);
    EXPECT_TRUE(acm.PlayOnce);
    int ticks = 0;
    while (bgm.PlayStateNow().State != 0 && ticks < 10) {
        Tick(env);
        ++ticks;
    }
    EXPECT_LE(ticks, 4);
    EXPECT_EQ(acm.State(), CmsACM::kStopped);
}

TEST(CAudioConfig, AddAndAddTimerTouchOnlyTheirFields) {
    CAudioConfig c;
    c.Add(0.5f, 2.0f, -1.0f, 0.25f, 3.0f);
    c.AddTimer(500);
    EXPECT_EQ(c.Volume, 0.5f);
    EXPECT_EQ(c.Tempo, 2.0f);
    EXPECT_EQ(c.PanX, -1.0f);
    EXPECT_EQ(c.PanY, 0.25f);
    EXPECT_EQ(c.PanZ, 3.0f);
    EXPECT_EQ(c.FadeInTime, 500);
    EXPECT_EQ(c.FadeOutTime, 500);
    EXPECT_EQ(c.VolumeFadeTime, 500);
    EXPECT_EQ(c.PanFadeTime, 500);
    CAudioConfig d;
    d.NoWholeLoad = true;
    d.AddCopy(c);
    EXPECT_FALSE(d.NoWholeLoad);
    EXPECT_EQ(d.PanY, 0.25f);
    EXPECT_TRUE(d.UseVolume);
}

}  // namespace
}  // namespace brumil::sound::test
