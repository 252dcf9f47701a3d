#include "platform/media/media_graph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "media_test_util.h"

namespace brumil::platform::test {
namespace {

constexpr int kHz = 44100;
constexpr std::size_t kTick = 4410;  // 100 ms of the output

struct GraphFixture : ::testing::Test {
    MediaTestEnv env;
    std::vector<std::int16_t> source = Ramp(kHz);  // one second
    MediaGraph graph{env.Maker()};

    void SetUp() override {
        const std::string path = env.Write("bgm.wav", MediaFileKind::Wav16, source, 2, kHz);
        ASSERT_EQ(graph.RenderFile(path), MediaResult::Ok);
    }
    // One timer tick: the refill, then 100 ms of sound.
    std::vector<std::int16_t> Tick(std::size_t frames = kTick) {
        graph.Refill();
        return env.Render(frames);
    }
    double Position() {
        double s = -1;
        EXPECT_EQ(graph.GetCurrentPosition(s), MediaResult::Ok);
        return s;
    }
    std::int32_t Completion() {
        std::int32_t code = -1;
        graph.WaitForCompletion(0, code);
        return code;
    }
};

TEST_F(GraphFixture, PlaysTheFileSampleExactWithPositionAndDuration) {
    double d = 0;
    ASSERT_EQ(graph.GetDuration(d), MediaResult::Ok);
    EXPECT_DOUBLE_EQ(d, 1.0);
    EXPECT_EQ(Position(), 0.0);
    ASSERT_EQ(graph.Run(), MediaResult::Ok);
    std::vector<std::int16_t> heard;
    for (int t = 0; t < 5; ++t) {
        const auto part = Tick();
        heard.insert(heard.end(), part.begin(), part.end());
    }
    EXPECT_EQ(heard, Slice(source, 0, 5 * kTick));
    EXPECT_DOUBLE_EQ(Position(), 5.0 * kTick / kHz);
    EXPECT_EQ(Completion(), 0);
}

TEST_F(GraphFixture, CompletesAfterTheEndHasBeenHeardAndRewindsOnSeek) {
    graph.Run();
    int ticks = 0;
    while (Completion() == 0 && ticks < 30) {
        Tick();
        ++ticks;
    }
    // Ten ticks hear the whole second; the poll after the tenth sees it.
    EXPECT_EQ(ticks, 10);
    EXPECT_DOUBLE_EQ(Position(), 1.0);
    EXPECT_TRUE(graph.IsRunning());
    // Nothing more is heard; running again at the end completes at once.
    const auto after = Tick();
    EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](std::int16_t s) { return s == 0; }));
    graph.Run();
    EXPECT_EQ(Completion(), kMediaEventComplete);

    ASSERT_EQ(graph.PutCurrentPosition(0.0), MediaResult::Ok);
    EXPECT_EQ(Completion(), 0);
    EXPECT_EQ(Tick(100), Slice(source, 0, 100));
}

TEST_F(GraphFixture, StopKeepsThePositionAndRunResumesThere) {
    graph.Run();
    Tick(1000);
    graph.Stop();
    EXPECT_DOUBLE_EQ(Position(), 1000.0 / kHz);
    const auto silent = Tick(500);
    EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](std::int16_t s) { return s == 0; }));
    graph.Run();
    EXPECT_EQ(Tick(200), Slice(source, 1000, 200));
}

TEST_F(GraphFixture, SeekGoesOnFromTheNewPosition) {
    graph.Run();
    Tick(300);
    ASSERT_EQ(graph.PutCurrentPosition(0.5), MediaResult::Ok);
    EXPECT_DOUBLE_EQ(Position(), 0.5);
    EXPECT_EQ(Tick(300), Slice(source, kHz / 2, 300));
    // Beyond the end: clamped to the duration, and a running graph completes.
    ASSERT_EQ(graph.PutCurrentPosition(7.0), MediaResult::Ok);
    EXPECT_DOUBLE_EQ(Position(), 1.0);
    EXPECT_EQ(Completion(), kMediaEventComplete);
    EXPECT_EQ(graph.PutCurrentPosition(-0.1), MediaResult::InvalidArg);
    EXPECT_EQ(graph.PutCurrentPosition(std::nan("")), MediaResult::InvalidArg);
}

TEST_F(GraphFixture, RateSpeedsThePlayUp) {
    struct Case {
        double rate;
        MediaResult result;
    };
    const Case cases[] = {
        {2.0, MediaResult::Ok},
        {0.5, MediaResult::Ok},
        {0.0, MediaResult::InvalidArg},
        {-1.0, MediaResult::InvalidArg},
        {3.0, MediaResult::InvalidArg},  // 132300 Hz is beyond the mixer
        {0.002, MediaResult::InvalidArg},
        {std::numeric_limits<double>::quiet_NaN(), MediaResult::InvalidArg},
    };
    for (const Case& c : cases) {
        double before = 0;
        graph.GetRate(before);
        EXPECT_EQ(graph.PutRate(c.rate), c.result) << c.rate;
        double now = 0;
        graph.GetRate(now);
        EXPECT_EQ(now, c.result == MediaResult::Ok ? c.rate : before) << c.rate;
    }
    ASSERT_EQ(graph.PutRate(2.0), MediaResult::Ok);
    graph.Run();
    const auto heard = Tick(1000);
    EXPECT_EQ(heard[2 * 999], source[2 * 1998]);
    EXPECT_DOUBLE_EQ(Position(), 2000.0 / kHz);
}

TEST_F(GraphFixture, VolumeInHundredthsOfADecibel) {
    struct Case {
        std::int32_t mB;
        MediaResult result;
    };
    const Case cases[] = {{0, MediaResult::Ok},
                          {-10000, MediaResult::Ok},
                          {-2500, MediaResult::Ok},
                          {1, MediaResult::InvalidArg},
                          {-10001, MediaResult::InvalidArg}};
    for (const Case& c : cases) {
        std::int32_t before = 0;
        graph.GetVolume(before);
        EXPECT_EQ(graph.PutVolume(c.mB), c.result) << c.mB;
        std::int32_t now = 0;
        graph.GetVolume(now);
        EXPECT_EQ(now, c.result == MediaResult::Ok ? c.mB : before) << c.mB;
    }
    graph.Run();
    // -25 dB: about 0.056 of the level.
    const auto heard = Tick(2000);
    const auto full = Slice(source, 0, 2000);
    for (std::size_t i = 0; i < heard.size(); ++i) {
        EXPECT_NEAR(heard[i], full[i] * 0.0562, 2.0) << i;
    }
    graph.PutVolume(-10000);
    const auto silent = Tick(100);
    EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](std::int16_t s) { return s == 0; }));
}

TEST(MediaGraph, AnswersWithoutAFileAndRefusesWhatItCannotRender) {
    MediaTestEnv env;
    MediaGraph graph(env.Maker());
    double s = 0;
    std::int32_t code = 5;
    EXPECT_EQ(graph.Run(), MediaResult::NoFile);
    EXPECT_EQ(graph.GetDuration(s), MediaResult::NoFile);
    EXPECT_EQ(graph.WaitForCompletion(0, code), MediaResult::NoFile);
    EXPECT_EQ(code, 0);
    env.Root().Write("junk.mp3", std::string(3000, '\x11'));
    EXPECT_EQ(graph.RenderFile("\\junk.mp3"), MediaResult::CannotRender);
    EXPECT_EQ(graph.RenderFile("\\none.ogg"), MediaResult::CannotRender);

    const std::string ok = env.Write("ok.flac", MediaFileKind::Flac16, Ramp(10), 2, kHz);
    EXPECT_EQ(graph.RenderFile(ok), MediaResult::Ok);
    EXPECT_EQ(graph.RenderFile(ok), MediaResult::AlreadyRendered);

    // An output that refuses buffers: nothing can be rendered.
    MediaGraph mute([](const SoundBufferDesc&) { return std::unique_ptr<SoundBuffer>(); });
    EXPECT_EQ(mute.RenderFile(ok), MediaResult::CannotRender);
}

TEST(MediaGraph, StreamsALongFileAcrossManyRingLaps) {
    MediaTestEnv env;
    // Ten seconds of mono at 22.05 kHz: the 4-second ring goes round twice.
    // Each even output frame of the 44.1 kHz mix is exactly one source frame.
    std::vector<std::int16_t> mono(220500);
    for (std::size_t i = 0; i < mono.size(); ++i) {
        mono[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(i * 13));
    }
    const std::string path = env.Write("long.flac", MediaFileKind::Flac16, mono, 1, 22050);
    MediaGraph graph(env.Maker());
    ASSERT_EQ(graph.RenderFile(path), MediaResult::Ok);
    graph.Run();
    std::size_t heardFrames = 0;
    for (int tick = 0; tick < 95; ++tick) {
        graph.Refill();
        const auto part = env.Render(kTick);
        for (std::size_t k = 0; k < kTick; ++k) {
            if ((heardFrames + k) % 2 != 0) continue;
            ASSERT_EQ(part[2 * k], mono[(heardFrames + k) / 2])
                << "tick " << tick << " frame " << k;
        }
        heardFrames += kTick;
    }
    EXPECT_NEAR(
        [&] {
            double s = 0;
            graph.GetCurrentPosition(s);
            return s;
        }(),
        9.5, 1e-3);
}

}  // namespace
}  // namespace brumil::platform::test
