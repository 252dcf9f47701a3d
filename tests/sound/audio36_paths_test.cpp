// The one-call player on the paths the game takes: stage music from an Ogg
// file with its loop file through the streaming ring, and 3D placement through
// each kind of player.
#include <gtest/gtest.h>

#include <string>

#include "core/api.h"
#include "framework/splib.h"
#include "platform/sound/ogg_encoder.h"
#include "platform/sound/sound_buffer.h"
#include "sound/audio36.h"
#include "sound/ms_stm.h"
#include "sound/ms_wav.h"
#include "sound/ms_wit.h"
#include "sound_test_env.h"
#include "wave_builder.h"

namespace brumil::sound::test {
namespace {

using Samples = std::vector<std::int16_t>;

constexpr std::size_t kTickFrames = 4410;  // 100 ms at the 44.1 kHz output

Samples Tick(SoundTestEnv& env) {
    framework::gSpLib().RaiseTimer(100.0);
    return env.Render(kTickFrames);
}

// A stereo tune at the output's rate, so that what is heard is its samples.
std::vector<Byte> StageTune(std::size_t frames) {
    std::vector<std::int16_t> s(2 * frames);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i / 2);
        s[i] = static_cast<std::int16_t>(7000 * std::sin(t * (i % 2 == 0 ? 0.021 : 0.034)) +
                                         3000 * std::sin(t * 0.0007));
    }
    platform::OggEncodeOptions o;
    o.channels = 2;
    o.hz = 44100;
    return platform::EncodeOggVorbis(s, o);
}

struct OggLoopCase {
    const char* name;
    std::size_t trailing;  // bytes appended after the end of the stream
    Long loopStart, loopLength;
};

TEST(Audio36Paths, OggStageMusicLoopsSampleExactAtItsLoopPoints) {
    const auto ogg = StageTune(30000);
    ASSERT_FALSE(ogg.empty());
    std::vector<Byte> pcm;
    Long size = 0, bits = 0, channels = 0, hz = 0;
    ASSERT_GT(core::gApi().DecodeOggMemory(ogg, pcm, size, bits, channels, hz), 0);
    ASSERT_EQ(channels, 2);
    const Samples decoded = HeardAs(pcm, 16, 2);
    const OggLoopCase cases[] = {
        {"intro, then a loop inside the tune", 0, 7001, 15000},
        {"the same with bytes after the end of the stream", 128, 7001, 15000},
        {"a loop that runs to the last frame", 0, 12345, 30000 - 12345},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SoundTestEnv env;
        std::vector<Byte> file = ogg;
        file.insert(file.end(), c.trailing, Byte{0x5A});
        env.Write("data/bgm/stage.ogg", file);
        const std::string sli = "LOOPSTART=" + std::to_string(c.loopStart) +
                                "\r\nLOOPLENGTH=" + std::to_string(c.loopLength) + "\r\n";
        env.Write("data/bgm/stage.ogg.sli", std::vector<Byte>(sli.begin(), sli.end()));
        CAudio36 bgm;
        ASSERT_EQ(bgm.Load("\\data\\bgm\\stage.ogg"), 0);
        ASSERT_EQ(bgm.PlayerKind(), CAudio36::kWIT);
        bgm.Play(true, 1.0f, 0);
        Samples heard;
        for (int i = 0; i < 20; ++i) {  // two seconds: five seams and more
            const Samples part = Tick(env);
            heard.insert(heard.end(), part.begin(), part.end());
        }
        // The ring's lead of silence, the tune up to the loop's end, then the
        // loop again and again.
        const std::size_t start = static_cast<std::size_t>(c.loopStart);
        const std::size_t end = start + static_cast<std::size_t>(c.loopLength);
        Samples want(2 * (CmsWIT::kSeekLead / 4), 0);
        std::size_t from = 0;
        while (want.size() < heard.size()) {
            want.insert(want.end(), decoded.begin() + static_cast<std::ptrdiff_t>(2 * from),
                        decoded.begin() + static_cast<std::ptrdiff_t>(2 * end));
            from = start;
        }
        want.resize(heard.size());
        std::size_t firstDiff = 0;
        while (firstDiff < want.size() && want[firstDiff] == heard[firstDiff]) ++firstDiff;
        EXPECT_EQ(firstDiff, want.size()) << "first difference at frame " << firstDiff / 2;
        EXPECT_EQ(bgm.PlayStateNow().State, 1);
    }
}

// Damaged Ogg files pass every player, the compressed-music fallback last,
// and are refused; nothing they opened on the way stays behind.
TEST(Audio36Paths, DamagedOggIsRefusedByEveryPlayer) {
    const auto ogg = StageTune(8000);
    ASSERT_FALSE(ogg.empty());
    std::vector<Byte> headOnly(ogg.begin(), ogg.begin() + 58);
    std::vector<Byte> noStart(ogg.begin() + 200, ogg.end());
    struct Case {
        const char* name;
        std::vector<Byte> bytes;
    };
    const Case cases[] = {
        {"cut in half", std::vector<Byte>(ogg.begin(), ogg.begin() + ogg.size() / 2)},
        {"the first page alone", headOnly},
        {"without its first pages", noStart},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SoundTestEnv env;
        env.Write("data/bgm/broken.ogg", c.bytes);
        CAudio36 bgm;
        EXPECT_EQ(bgm.Load("\\data\\bgm\\broken.ogg"), 1);
        EXPECT_EQ(bgm.PlayerKind(), CAudio36::kNone);
        bgm.Play(true, 1.0f, 0);  // nothing loaded: nothing plays
        EXPECT_EQ(Tick(env), Samples(2 * kTickFrames, 0));
    }
}

// Calls f with whichever player the one-call player holds (not the
// compressed music player, which has no 3D controls).
template <typename F>
void OnPlayer(CAudio36& bgm, F f) {
    switch (bgm.PlayerKind()) {
        case CAudio36::kWAV:
            f(*std::get<CmsWAV*>(bgm.LocalObject()));
            break;
        case CAudio36::kSTM:
            f(*std::get<CmsSTM*>(bgm.LocalObject()));
            break;
        case CAudio36::kWIT:
            f(*std::get<CmsWIT*>(bgm.LocalObject()));
            break;
        default:
            break;
    }
}

// The 3D buffer of that player.
std::unique_ptr<platform::Sound3DBuffer> Placement(CAudio36& bgm) {
    std::unique_ptr<platform::Sound3DBuffer> b3d;
    OnPlayer(bgm, [&](auto& p) {
        if (p.Buffer() != nullptr) b3d = p.Buffer()->Get3DBuffer();
    });
    return b3d;
}

void ExpectVector(const platform::Vector3& v, float x, float y, float z, const char* what) {
    EXPECT_EQ(v.x, x) << what;
    EXPECT_EQ(v.y, y) << what;
    EXPECT_EQ(v.z, z) << what;
}

struct PlayerCase {
    const char* name;
    const char* file;
    bool noWholeLoad;
    Long kind;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const PlayerCase& c, std::ostream* os) {
    *os << c.name;
}

class Audio36Placement : public ::testing::TestWithParam<PlayerCase> {};

TEST_P(Audio36Placement, ThreeDimensionalControlsTakeTheirArgumentsInOrder) {
    const PlayerCase& c = GetParam();
    SoundTestEnv env;
    env.Write("data/bgm/mono.bin", RiffBuilder().Fmt(1, 1, 44100, 16).Data(Ramp(400000)).Bytes());
    env.Write("data/bgm/mono.wav", RiffBuilder().Fmt(1, 1, 44100, 16).Data(Ramp(40000)).Bytes());
    CAudio36 bgm;
    bgm.Config.Use3D = true;
    bgm.Config.NoWholeLoad = c.noWholeLoad;
    bgm.Config.PanX = 1.0f;
    bgm.Config.PanY = 2.0f;
    bgm.Config.PanZ = 3.0f;
    ASSERT_EQ(bgm.Load(c.file), 0);
    ASSERT_EQ(bgm.PlayerKind(), c.kind);
    const auto b3d = Placement(bgm);
    ASSERT_NE(b3d, nullptr);

    // Play places the sound at the configured pan: x, then z and y change
    // places on the way through the player.
    bgm.Play(true, 1.0f, 0);
    ExpectVector(b3d->GetPosition(), 1.0f, 3.0f, 2.0f, "position at play");
    ExpectVector(b3d->GetVelocity(), 0.0f, 0.0f, 0.0f, "velocity at play");
    // A pan fade halfway: the current values are the position (as above) and
    // the targets times the ratio the velocity, in their own order.
    bgm.Config.PanFadeTime = 200;
    bgm.Config.PanX = 3.0f;
    bgm.Config.PanY = 4.0f;
    bgm.Config.PanZ = 5.0f;
    Tick(env);
    ExpectVector(b3d->GetPosition(), 2.0f, 4.0f, 3.0f, "position halfway");
    ExpectVector(b3d->GetVelocity(), 1.5f, 2.0f, 2.5f, "velocity halfway");

    // The player's own controls.
    OnPlayer(bgm, [](auto& p) { p.SetPan(1, 2, 3, 4, 5, 6); });
    ExpectVector(b3d->GetPosition(), 1, 3, 2, "SetPan position");
    ExpectVector(b3d->GetVelocity(), 4, 6, 5, "SetPan velocity");
    OnPlayer(bgm, [](auto& p) { p.Set3DPosition(7, 8, 9); });
    ExpectVector(b3d->GetPosition(), 7, 8, 9, "Set3DPosition");
    ExpectVector(b3d->GetVelocity(), 4, 6, 5, "Set3DPosition keeps the velocity");
    OnPlayer(bgm, [](auto& p) { p.Set3DVelocity(-1, -2, -3, -4, -5, -6); });
    ExpectVector(b3d->GetPosition(), -1, -2, -3, "Set3DVelocity position");
    ExpectVector(b3d->GetVelocity(), -4, -5, -6, "Set3DVelocity velocity");
}

INSTANTIATE_TEST_SUITE_P(
    EachPlayer, Audio36Placement,
    ::testing::Values(PlayerCase{"whole sound", "\\data\\bgm\\mono.bin", false, CAudio36::kWAV},
                      PlayerCase{"streamed wave", "\\data\\bgm\\mono.bin", true, CAudio36::kSTM},
                      PlayerCase{"ring stream", "\\data\\bgm\\mono.wav", false, CAudio36::kWIT}),
    [](const auto& info) { return std::to_string(info.index); });

}  // namespace
}  // namespace brumil::sound::test
