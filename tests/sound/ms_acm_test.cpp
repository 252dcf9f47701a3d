#include "sound/ms_acm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/base/files.h"
#include "platform/media/media_decoder.h"
#include "platform/sound/ogg_encoder.h"
#include "sound_test_env.h"

namespace brumil::sound::test {
namespace {

constexpr std::size_t kTickFrames = 4410;

// Forwards to a real interpreter and keeps every string sent.
class RecordingCommands final : public platform::MediaCommands {
public:
    RecordingCommands()
        : inner_(platform::MakeMediaCommands([](const platform::SoundBufferDesc& d) {
              return framework::gDirectSound() ? framework::gDirectSound()->CreateBuffer(d)
                                               : nullptr;
          })) {}
    platform::MediaCommandError SendString(std::string_view command, std::string& reply,
                                           std::size_t replyCapacity) override {
        sent.emplace_back(command);
        capacities.push_back(replyCapacity);
        return inner_->SendString(command, reply, replyCapacity);
    }
    void Refill() override { inner_->Refill(); }

    std::vector<std::string> sent;
    std::vector<std::size_t> capacities;

private:
    std::unique_ptr<platform::MediaCommands> inner_;
};

AcmBackends WithoutGraph(std::shared_ptr<RecordingCommands> commands) {
    AcmBackends b;
    b.makeGraph = [] { return std::unique_ptr<platform::MediaGraph>(); };
    b.commands = std::move(commands);
    return b;
}

std::vector<std::int16_t> StereoRamp(std::size_t frames) {
    std::vector<std::int16_t> v(2 * frames);
    for (std::size_t i = 0; i < frames; ++i) {
        v[2 * i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(i * 3 + 1));
        v[2 * i + 1] = static_cast<std::int16_t>(static_cast<std::uint16_t>(i * 11 + 5));
    }
    return v;
}

// Music files under the test's data root; answers the program path.
std::string WriteFlac(const std::string& name, const std::vector<std::int16_t>& samples,
                      int hz = 44100) {
    const std::string path = "\\data\\bgm\\" + name;
    platform::MakeDir("\\data");
    platform::MakeDir("\\data\\bgm");
    EXPECT_TRUE(platform::WriteMediaFile(path, platform::MediaFileKind::Flac16, samples, 2, hz));
    return path;
}

std::string WriteOgg(SoundTestEnv& env, const std::string& name, std::size_t frames) {
    std::vector<std::int16_t> tone(2 * frames);
    for (std::size_t i = 0; i < tone.size(); ++i) {
        tone[i] = static_cast<std::int16_t>(8000 * std::sin(static_cast<double>(i / 2) * 0.05));
    }
    platform::OggEncodeOptions o;
    const auto ogg = platform::EncodeOggVorbis(tone, o);
    EXPECT_FALSE(ogg.empty());
    env.Write("data/bgm/" + name, ogg);
    return "\\data\\bgm\\" + name;
}

// One framework timer tick (the streams are refilled), 100 ms of sound, then
// the one-call player's pump.
std::vector<std::int16_t> Tick(SoundTestEnv& env, CmsACM& acm) {
    framework::gSpLib().RaiseTimer(100.0);
    auto heard = env.Render(kTickFrames);
    acm.Update();
    return heard;
}

bool Silent(const std::vector<std::int16_t>& v) {
    return std::all_of(v.begin(), v.end(), [](std::int16_t s) { return s == 0; });
}

double GraphPosition(CmsACM& acm) {
    double s = -1;
    acm.Graph()->GetCurrentPosition(s);
    return s;
}

TEST(CmsACMGraph, OggPlaysWithPositionDurationRateAndVolume) {
    SoundTestEnv env;
    const std::string path = WriteOgg(env, "stage1.ogg", 88200);  // two seconds
    CmsACM acm;
    ASSERT_TRUE(acm.GraphAvailable());
    ASSERT_EQ(acm.Load(path, 0, 0.0f, 1.0f, 0.0), 0);
    EXPECT_TRUE(acm.UseGraph());
    EXPECT_EQ(acm.State(), CmsACM::kLoaded);
    EXPECT_NEAR(acm.GetLength(), 2.0, 1e-9);
    EXPECT_DOUBLE_EQ(acm.GraphLength(), 2.0);
    EXPECT_TRUE(acm.FileName().ends_with("data\\bgm\\stage1.ogg")) << acm.FileName();

    acm.Play();
    EXPECT_TRUE(acm.GetState());
    bool heardSomething = false;
    for (int t = 0; t < 5; ++t) heardSomething |= !Silent(Tick(env, acm));
    EXPECT_TRUE(heardSomething);
    EXPECT_NEAR(GraphPosition(acm), 0.5, 1e-9);

    struct VolumeCase {
        Single volume;
        std::int32_t device;
    };
    for (const VolumeCase& c :
         {VolumeCase{1.0f, 0}, VolumeCase{0.25f, -7500}, VolumeCase{0.0f, -10000},
          VolumeCase{0.5f, -5000}, VolumeCase{1.5f, -5000},  // refused: the volume stays
          VolumeCase{-0.5f, -5000}}) {
        acm.SetVolum(c.volume);
        std::int32_t got = 1;
        acm.Graph()->GetVolume(got);
        EXPECT_EQ(got, c.device) << c.volume;
    }

    // Tempo: the rate in force after SetTempo.
    struct TempoCase {
        Single semitones;
        double rate;
    };
    for (const TempoCase& c : {TempoCase{12.5f, 2.0}, TempoCase{12.0f, 2.0},
                               TempoCase{-12.0f, 0.5},  // 0.49999997 held by the clamp
                               TempoCase{-30.0f, 0.5}, TempoCase{0.0f, 1.0}}) {
        acm.SetTempo(c.semitones);
        double rate = 0;
        acm.Graph()->GetRate(rate);
        EXPECT_DOUBLE_EQ(rate, c.rate) << c.semitones;
    }
    acm.SetTempo(12.0f);  // double speed: 100 ms of sound is 0.2 s of music
    const double before = GraphPosition(acm);
    Tick(env, acm);
    EXPECT_NEAR(GraphPosition(acm) - before, 0.2, 1e-9);

    acm.SetTime(1.25);
    EXPECT_NEAR(GraphPosition(acm), 1.25, 1e-4);
    acm.Pose();
    EXPECT_EQ(acm.State(), CmsACM::kStopped);
    EXPECT_FALSE(acm.GetState());
    EXPECT_TRUE(Silent(Tick(env, acm)));
}

TEST(CmsACMGraph, LoadTempoOutsideAnOctaveIsNormalSpeed) {
    SoundTestEnv env;
    const std::string path = WriteFlac("t.flac", StereoRamp(4410));
    struct Case {
        Single tempo;
        double rate;
    };
    for (const Case& c : {Case{12.5f, 1.0}, Case{-13.0f, 1.0}, Case{12.0f, 2.0},
                          Case{std::nanf(""), 1.0}, Case{-12.0f, 0.5}}) {
        CmsACM acm;
        ASSERT_EQ(acm.Load(path, 0, c.tempo, 1.0f, 0.0), 0);
        double rate = 0;
        acm.Graph()->GetRate(rate);
        EXPECT_NEAR(rate, c.rate, 1e-6) << c.tempo;
    }
}

TEST(CmsACMGraph, FlacPlaysSampleExactAndLoopsOrStopsAtTheEnd) {
    SoundTestEnv env;
    const auto samples = StereoRamp(13230);  // 0.3 s
    const std::string path = WriteFlac("loop.flac", samples);
    CmsACM acm;
    ASSERT_EQ(acm.Load(path, 0, 0.0f, 1.0f, 0.0), 0);
    acm.Play();
    std::vector<std::int16_t> heard;
    for (int t = 0; t < 8; ++t) {
        const auto part = Tick(env, acm);
        heard.insert(heard.end(), part.begin(), part.end());
    }
    EXPECT_TRUE(acm.GetState());
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), heard.begin()));
    // The end was seen after the third tick; the loop began again from 0.
    const std::size_t restart = 3 * 2 * kTickFrames;
    EXPECT_TRUE(std::equal(samples.begin(), samples.begin() + 2000,
                           heard.begin() + static_cast<std::ptrdiff_t>(restart)));

    acm.PlayOnce = true;
    for (int t = 0; t < 5 && acm.GetState(); ++t) Tick(env, acm);
    EXPECT_EQ(acm.State(), CmsACM::kStopped);
}

TEST(CmsACMGraph, ALoopingPlayerRewindsWhateverPositionItsEndRoundsTo) {
    // 0.50399 s: the length rounds to 0.50 and then to 0 s, the end position
    // to 1 s. The loop must still start again from the loop start.
    SoundTestEnv env;
    const auto samples = StereoRamp(22226);
    const std::string path = WriteFlac("odd.flac", samples);
    CmsACM acm;
    ASSERT_EQ(acm.Load(path), 0);
    EXPECT_DOUBLE_EQ(acm.GraphLength(), 0.5);
    acm.Play();
    int laps = 0;
    double last = 0;
    for (int t = 0; t < 20; ++t) {
        Tick(env, acm);
        const double now = GraphPosition(acm);
        if (now < last) ++laps;
        last = now;
    }
    EXPECT_GE(laps, 3);
    EXPECT_TRUE(acm.GetState());
}

TEST(CmsACMCommands, ExactStringsAndTheStatusReplyDrivesTheLoop) {
    SoundTestEnv env;
    const auto samples = StereoRamp(8820);  // 0.2 s
    const std::string path = WriteFlac("cmd.flac", samples);
    auto rec = std::make_shared<RecordingCommands>();
    CmsACM acm(WithoutGraph(rec));
    EXPECT_FALSE(acm.GraphAvailable());
    ASSERT_EQ(acm.Load(path, 0, 0.0f, 1.0f, 0.0), 0);
    EXPECT_FALSE(acm.UseGraph());
    const std::string full = acm.FileName();
    EXPECT_EQ(rec->sent, (std::vector<std::string>{"stop bgmfile ", "close bgmfile ",
                                                   "open \"" + full + "\" alias bgmfile "}));
    // Without the graph, length, volume, tempo and seeking do nothing.
    EXPECT_EQ(acm.GetLength(), 0.0);
    acm.SetVolum(0.0f);
    acm.SetTempo(5.0f);
    acm.SetTime(0.1);

    rec->sent.clear();
    rec->capacities.clear();
    acm.Play();
    std::vector<std::int16_t> heard;
    for (int t = 0; t < 4; ++t) {
        const auto part = Tick(env, acm);
        heard.insert(heard.end(), part.begin(), part.end());
    }
    // The end is heard within the second tick.
    EXPECT_EQ(rec->sent, (std::vector<std::string>{"play bgmfile ", "status bgmfile mode ",
                                                   "status bgmfile mode ", "play bgmfile from 0 ",
                                                   "status bgmfile mode ", "status bgmfile mode ",
                                                   "play bgmfile from 0 "}));
    EXPECT_EQ(rec->capacities[1], 16u);
    // Full volume, from the start, then again from the start after the end.
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), heard.begin()));
    const std::size_t restart = 2 * 2 * kTickFrames;
    EXPECT_TRUE(std::equal(samples.begin(), samples.begin() + 1000,
                           heard.begin() + static_cast<std::ptrdiff_t>(restart)));

    acm.PlayOnce = true;
    for (int t = 0; t < 4 && acm.GetState(); ++t) Tick(env, acm);
    EXPECT_EQ(acm.State(), CmsACM::kStopped);

    // After Pose a "stopped" reply is not even asked for.
    acm.Play();
    acm.Pose();
    rec->sent.clear();
    Tick(env, acm);
    EXPECT_TRUE(rec->sent.empty());
    acm.CloseDevice();
    EXPECT_EQ(rec->sent, (std::vector<std::string>{"stop bgmfile ", "close bgmfile "}));
}

TEST(CmsACMLoad, MissingOrUnreadableFileAnswersOneAndLeavesTheMusicPlaying) {
    SoundTestEnv env;
    const auto samples = StereoRamp(44100);
    const std::string path = WriteFlac("keep.flac", samples);
    env.Write("data/bgm/junk.mp3", std::vector<Byte>(5000, 0x21));
    struct Case {
        const char* name;
        bool graph;
    };
    for (const Case& c : {Case{"graph", true}, Case{"commands", false}}) {
        auto rec = std::make_shared<RecordingCommands>();
        AcmBackends b = c.graph ? DefaultAcmBackends() : WithoutGraph(rec);
        if (c.graph) b.commands = rec;
        CmsACM acm(std::move(b));
        ASSERT_EQ(acm.Load(path), 0) << c.name;
        acm.Play();
        Tick(env, acm);
        rec->sent.clear();
        EXPECT_EQ(acm.Load("\\data\\bgm\\none.ogg"), 1) << c.name;
        EXPECT_EQ(acm.Load("\\data\\bgm\\junk.mp3"), 1) << c.name;
        EXPECT_TRUE(rec->sent.empty()) << c.name;
        EXPECT_EQ(acm.State(), CmsACM::kPlaying) << c.name;
        EXPECT_TRUE(acm.FileName().ends_with("keep.flac")) << c.name;
        EXPECT_FALSE(Silent(Tick(env, acm))) << c.name;
    }
}

TEST(CmsACMLoad, NeitherBackEndOpeningAnswersOneWithNothingLoaded) {
    SoundTestEnv env;
    const std::string path = WriteFlac("x.flac", StereoRamp(100));
    framework::SoundStop();  // no output: the graph and the commands both refuse
    auto rec = std::make_shared<RecordingCommands>();
    AcmBackends b = DefaultAcmBackends();
    b.commands = rec;
    CmsACM acm(std::move(b));
    EXPECT_EQ(acm.Load(path), 1);
    EXPECT_EQ(acm.State(), CmsACM::kNothing);
    EXPECT_FALSE(acm.UseGraph());
    acm.Play();
    EXPECT_EQ(acm.State(), CmsACM::kNothing);
}

TEST(CmsACMLoad, PlayBeforeLoadDoesNothingAndASecondLoadReplacesTheFirst) {
    SoundTestEnv env;
    CmsACM acm;
    acm.Play();
    EXPECT_EQ(acm.State(), CmsACM::kNothing);
    acm.Pose();
    EXPECT_EQ(acm.State(), CmsACM::kStopped);

    const auto a = StereoRamp(44100);
    std::vector<std::int16_t> b(a.size());
    std::transform(a.begin(), a.end(), b.begin(), [](std::int16_t s) { return -s; });
    const std::string first = WriteFlac("a.flac", a);
    const std::string second = WriteFlac("b.flac", b);
    ASSERT_EQ(acm.Load(first), 0);
    acm.Play();
    Tick(env, acm);
    ASSERT_EQ(acm.Load(second), 0);
    EXPECT_EQ(acm.State(), CmsACM::kLoaded);
    acm.Play();
    const auto heard = Tick(env, acm);
    // Only the second file is heard, from its start.
    EXPECT_TRUE(std::equal(b.begin(), b.begin() + 2 * kTickFrames, heard.begin()));
}

}  // namespace
}  // namespace brumil::sound::test
