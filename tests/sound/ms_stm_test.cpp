#include "sound/ms_stm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "sound_test_env.h"
#include "wave_builder.h"

namespace brumil::sound::test {
namespace {

constexpr std::size_t kTickFrames = 4410;  // 100 ms at the 44.1 kHz output
constexpr Long kTickBytes = 4410 * 4;      // of 16-bit stereo at the same rate

// Sample bytes that never repeat in a way a shifted read could hide.
std::vector<Byte> Noise(std::size_t n, std::uint32_t seed = 7) {
    std::vector<Byte> v(n);
    std::uint32_t x = seed;
    for (auto& b : v) {
        x = x * 1664525u + 1013904223u;
        b = static_cast<Byte>(x >> 24);
    }
    return v;
}

std::vector<Byte> Wav(int bits, int channels, int hz, const std::vector<Byte>& pcm) {
    return RiffBuilder().Fmt(1, channels, hz, bits).Data(pcm).Bytes();
}

// A "<W1>" file: the tag, the record, 4 skipped bytes, then the samples.
std::vector<Byte> W1File(const StreamHeader& h, const std::vector<Byte>& pcm) {
    std::vector<Byte> out = {'<', 'W', '1', '>'};
    const auto rec = h.Bytes();
    out.insert(out.end(), rec.begin(), rec.end());
    out.insert(out.end(), {0xEE, 0xEE, 0xEE, 0xEE});
    out.insert(out.end(), pcm.begin(), pcm.end());
    return out;
}

StreamHeader W1Header(Long dataSize, Long hz = 44100, Integer bits = 16, Integer channels = 2) {
    StreamHeader h;
    h.fmtSize = 16;
    h.dataSize = dataSize;
    h.blockAlign = bits / 8 * channels;
    h.bits = bits;
    h.channels = channels;
    h.hz = hz;
    h.reserved1 = 0x12345678;
    return h;
}

// Plays `stm` as the one-call player does: 100 ms of sound, then the
// refill of the timer tick. Answers the tick on which the player stopped (0
// when it still plays after maxTicks) and what was heard.
struct PlayRun {
    int stoppedAt = 0;
    std::vector<std::int16_t> heard;
};
PlayRun PlayThrough(SoundTestEnv& env, CmsSTM& stm, int maxTicks) {
    PlayRun r;
    for (int tick = 1; tick <= maxTicks; ++tick) {
        const auto part = env.Render(kTickFrames);
        r.heard.insert(r.heard.end(), part.begin(), part.end());
        stm.BufferUpdate();
        if (!stm.GetState()) {
            r.stoppedAt = tick;
            break;
        }
    }
    return r;
}

bool AllSilent(const std::vector<std::int16_t>& v, std::size_t from, std::size_t to) {
    return std::all_of(v.begin() + static_cast<std::ptrdiff_t>(from),
                       v.begin() + static_cast<std::ptrdiff_t>(std::min(to, v.size())),
                       [](std::int16_t s) { return s == 0; });
}

TEST(CmsSTMOpen, HeadersItTakesAndRefuses) {
    SoundTestEnv env;
    const auto pcm = Noise(4000);
    struct Case {
        const char* name;
        std::vector<Byte> file;
        Long result;
        Long dataStart;
        Long dataSize;
    };
    const Case cases[] = {
        {"canonical 44-byte header", Wav(16, 2, 44100, pcm), 0, 44, 4000},
        {"unknown odd chunk skipped by its size",
         RiffBuilder().Fmt(1, 2, 44100, 16).Chunk("LIST", 11).Data(pcm).Bytes(), 0, 64, 4000},
        {"fact chunk", RiffBuilder().Fmt(1, 1, 8000, 8).Chunk("fact", 4).Data(pcm).Bytes(), 0, 56,
         4000},
        {"8-bit mono at 4000 Hz", Wav(8, 1, 4000, pcm), 0, 44, 4000},
        {"96000 Hz", Wav(16, 1, 96000, pcm), 0, 44, 4000},
        {"24-bit refused", Wav(24, 2, 44100, pcm), 1, 0, 0},
        {"3 channels refused", Wav(16, 3, 44100, pcm), 1, 0, 0},
        {"float format refused", RiffBuilder().Fmt(3, 2, 44100, 16).Data(pcm).Bytes(), 1, 0, 0},
        {"3999 Hz refused", Wav(16, 2, 3999, pcm), 1, 0, 0},
        {"96001 Hz refused", Wav(16, 2, 96001, pcm), 1, 0, 0},
        {"data size 0 runs to the end", RiffBuilder().Fmt(1, 2, 44100, 16).Data(pcm, 0).Bytes(), 0,
         44, 4000},
        {"declared size beyond the file is cut",
         RiffBuilder().Fmt(1, 2, 44100, 16).Data(pcm, 90000).Bytes(), 0, 44, 4000},
        {"odd size cut to whole frames",
         RiffBuilder().Fmt(1, 2, 44100, 16).Data(Noise(4003)).Bytes(), 0, 44, 4000},
        {"W1 record", W1File(W1Header(1000, 22050), Noise(1200)), 0, 44, 1000},
        {"W1 without data size runs to the end", W1File(W1Header(0), Noise(1202)), 0, 44, 1200},
        {"W1 with 24 bits refused", W1File(W1Header(1000, 22050, 24), pcm), 1, 0, 0},
        {"W2 refused", std::vector<Byte>{'<', 'W', '2', '>', 0, 0, 0, 0, 1, 2, 3, 4}, 1, 0, 0},
        {"no header at all", Noise(3000), 1, 0, 0},
    };
    for (const Case& c : cases) {
        env.Write("s.wav", c.file);
        CmsSTM stm;
        EXPECT_EQ(stm.FileOpen("\\s.wav"), c.result) << c.name;
        EXPECT_EQ(stm.WaveLoaded, c.result == 0 ? kTrue : kFalse) << c.name;
        if (c.result != 0) {
            EXPECT_EQ(stm.FileName(), "") << c.name;
            continue;
        }
        EXPECT_EQ(stm.DataStart(), c.dataStart) << c.name;
        EXPECT_EQ(stm.DataEnd() - stm.DataStart(), c.dataSize) << c.name;
        EXPECT_EQ(stm.Blocks(), c.dataSize / stm.Header().blockAlign) << c.name;
    }
}

TEST(CmsSTMOpen, SamePathOpensOnceAndMissingFileAnswersOne) {
    SoundTestEnv env;
    env.Write("a.wav", Wav(16, 2, 44100, Noise(4000)));
    CmsSTM stm;
    EXPECT_EQ(stm.FileOpen("\\missing.wav"), 1);
    EXPECT_EQ(stm.FileOpen("\\a.wav"), 0);
    stm.SetLoopData(0.01, 0.0);
    // A second open of the same path does not reopen (the loop points stay).
    EXPECT_EQ(stm.FileOpen("\\a.wav"), 0);
    EXPECT_DOUBLE_EQ(stm.GetLength(), 1000.0 / 44100.0);
    stm.FileClose();
    EXPECT_EQ(stm.WaveLoaded, kFalse);
    EXPECT_EQ(stm.FileName(), "");
}

TEST(CmsSTMOpen, W1RecordRoundTrips) {
    StreamHeader h = W1Header(123456, 32000, 8, 1);
    h.factSize = -5;
    h.reserved2 = -1;
    const auto bytes = h.Bytes();
    EXPECT_EQ(StreamHeader::Read(bytes), h);
    EXPECT_EQ(bytes[20], 8);
    EXPECT_EQ(bytes[22], 1);
    EXPECT_EQ(bytes[24] | bytes[25] << 8, 32000);
}

TEST(CmsSTMStream, FirstRefillStartsAfterTheSeekLeadAndFillsOneStep) {
    SoundTestEnv env;
    env.Write("a.wav", Wav(16, 2, 44100, Noise(400000)));
    CmsSTM stm;
    ASSERT_EQ(stm.FileOpen("\\a.wav"), 0);
    stm.BufferCreate(0x80);
    ASSERT_EQ(stm.BufferExists, kTrue);
    stm.Play(0);
    EXPECT_TRUE(stm.GetState());
    EXPECT_EQ(stm.WritePosition(), CmsSTM::kSeekLead + CmsSTM::kMaxRefill);
    EXPECT_EQ(stm.ReadPosition() - stm.DataStart(), CmsSTM::kMaxRefill);
    EXPECT_NEAR(stm.BufferLevel, 101600.0 / 9100.0, 1e-4);
}

// A long file through the ring, refilled on every tick: what is heard is the
// seek lead of silence, every sample of the file in order across the ring's
// wraps, then silence until the player stops itself.
void ExpectStreamedExactly(const std::vector<Byte>& file, const std::vector<Byte>& pcm) {
    SoundTestEnv env;
    env.Write("long.wav", file);
    CmsSTM stm;
    ASSERT_EQ(stm.FileOpen("\\long.wav"), 0);
    stm.BufferCreate(0x80);
    stm.Play(0);
    const PlayRun r = PlayThrough(env, stm, 200);
    ASSERT_GT(r.stoppedAt, 0);
    const std::size_t lead = CmsSTM::kSeekLead / 4;
    const auto expect = HeardAs(pcm, 16, 2);
    ASSERT_GE(r.heard.size(), 2 * lead + expect.size());
    EXPECT_TRUE(AllSilent(r.heard, 0, 2 * lead));
    const std::vector<std::int16_t> body(
        r.heard.begin() + static_cast<std::ptrdiff_t>(2 * lead),
        r.heard.begin() + static_cast<std::ptrdiff_t>(2 * lead + expect.size()));
    EXPECT_TRUE(body == expect);
    EXPECT_TRUE(AllSilent(r.heard, 2 * lead + expect.size(), r.heard.size()));
    // Stopped on the first tick whose play cursor is past the end of the data.
    const Long endBytes = CmsSTM::kSeekLead + static_cast<Long>(pcm.size());
    EXPECT_EQ(r.stoppedAt, endBytes / kTickBytes + 1);
}

TEST(CmsSTMStream, LongWaveStreamsSampleExactAcrossWraps) {
    const auto pcm = Noise(1'300'000);  // 1.3 ring lengths
    ExpectStreamedExactly(Wav(16, 2, 44100, pcm), pcm);
}

TEST(CmsSTMStream, W1FileStreamsSampleExactAcrossWraps) {
    const auto pcm = Noise(1'200'000, 99);
    ExpectStreamedExactly(W1File(W1Header(static_cast<Long>(pcm.size())), pcm), pcm);
}

TEST(CmsSTMStream, StopsOnTheTickWhoseCursorPassedTheEndEvenAcrossTheRingEnd) {
    // The end lands at ring offset 1600 + data size (mod the ring); the play
    // cursor after tick k is 17640 k (mod the ring).
    struct Case {
        const char* name;
        std::size_t dataSize;
        int tick;
    };
    const Case cases[] = {
        // End at 500000: tick 28 ends at 493920, tick 29 at 511560.
        {"end inside one lap", 498400, 29},
        // End at 990000: tick 57 runs from 987840 over the ring's end to
        // 5480; the end lies before the wrap.
        {"end before the wrap of a wrapping tick", 988400, 57},
        // End at 3000 on the second lap: after the wrap of the same tick.
        {"end after the wrap of a wrapping tick", 1001400, 57},
    };
    for (const Case& c : cases) {
        SoundTestEnv env;
        const auto pcm = Noise(c.dataSize, 3);
        env.Write("e.wav", Wav(16, 2, 44100, pcm));
        CmsSTM stm;
        ASSERT_EQ(stm.FileOpen("\\e.wav"), 0);
        stm.BufferCreate(0x80);
        stm.Play(0);
        const PlayRun r = PlayThrough(env, stm, 120);
        EXPECT_EQ(r.stoppedAt, c.tick) << c.name;
        const std::size_t lastDataSample = 2 * (CmsSTM::kSeekLead + c.dataSize) / 4 - 1;
        ASSERT_GT(r.heard.size(), lastDataSample) << c.name;
        EXPECT_EQ(r.heard[lastDataSample], HeardAs(pcm, 16, 2).back()) << c.name;
    }
}

TEST(CmsSTMStream, LoopingPlayRepeatsTheFileWithoutAGap) {
    SoundTestEnv env;
    const auto pcm = Noise(40000, 5);  // 10000 frames
    env.Write("l.wav", Wav(16, 2, 44100, pcm));
    CmsSTM stm;
    ASSERT_EQ(stm.FileOpen("\\l.wav"), 0);
    stm.BufferCreate(0x80);
    stm.Play(1);
    const PlayRun r = PlayThrough(env, stm, 30);
    EXPECT_EQ(r.stoppedAt, 0);
    const auto once = HeardAs(pcm, 16, 2);
    const std::size_t lead = 2 * CmsSTM::kSeekLead / 4;
    for (std::size_t i = lead; i < r.heard.size(); ++i) {
        ASSERT_EQ(r.heard[i], once[(i - lead) % once.size()]) << i;
    }
}

// Looping files whose lap is not a whole number of 4-byte groups: every lap
// must be heard whole, frame for frame, however many seams pass.
TEST(CmsSTMStream, EveryFormatLoopsSampleExactAcrossItsSeams) {
    struct Case {
        const char* name;
        int bits, channels;
        std::size_t frames;
        double loopStart, loopEnd;  // seconds; both 0: no loop points
    };
    const Case cases[] = {
        {"16-bit mono, odd frame count", 16, 1, 10001, 0, 0},
        {"8-bit mono, odd frame count", 8, 1, 10001, 0, 0},
        {"8-bit stereo, odd frame count", 8, 2, 10001, 0, 0},
        {"16-bit stereo", 16, 2, 10001, 0, 0},
        // 4410 frames in, 2205 frames cut off the end: both odd in 2-byte
        // frames. (A lap shorter than two ticks of sound would starve the
        // ring: the refill that loops writes nothing.)
        {"16-bit mono between loop points", 16, 1, 20001, 0.1, 0.05},
        {"8-bit mono between loop points", 8, 1, 20001, 0.1, 0.05},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SoundTestEnv env;
        const std::size_t block = static_cast<std::size_t>(c.bits / 8 * c.channels);
        const auto pcm = Noise(c.frames * block, 17);
        env.Write("lap.wav", Wav(c.bits, c.channels, 44100, pcm));
        CmsSTM stm;
        ASSERT_EQ(stm.FileOpen("\\lap.wav"), 0);
        const bool points = c.loopStart > 0 || c.loopEnd > 0;
        if (points) stm.SetLoopData(c.loopStart, c.loopEnd);
        stm.BufferCreate(0x80);
        stm.Play(1);
        const PlayRun r = PlayThrough(env, stm, 40);  // about 17 laps
        EXPECT_EQ(r.stoppedAt, 0);
        const auto once = HeardAs(pcm, c.bits, c.channels);
        const std::size_t restart =
            points ? static_cast<std::size_t>(std::lround(44100 * c.loopStart)) : 0;
        const std::size_t end =
            c.frames - (points ? static_cast<std::size_t>(std::lround(44100 * c.loopEnd)) : 0);
        // The seek lead of silence, the file from its start, then laps from
        // the restart frame.
        std::vector<std::int16_t> want(2 * (CmsSTM::kSeekLead / block), 0);
        std::size_t from = 0;
        while (want.size() < r.heard.size()) {
            want.insert(want.end(), once.begin() + static_cast<std::ptrdiff_t>(2 * from),
                        once.begin() + static_cast<std::ptrdiff_t>(2 * end));
            from = restart;
        }
        want.resize(r.heard.size());
        std::size_t firstDiff = 0;
        while (firstDiff < want.size() && want[firstDiff] == r.heard[firstDiff]) ++firstDiff;
        EXPECT_EQ(firstDiff, want.size()) << "first difference at frame " << firstDiff / 2;
    }
}

TEST(CmsSTMStream, LoopPointsBoundTheReadsInBytes) {
    SoundTestEnv env;
    env.Write("p.wav", Wav(16, 2, 22050, Noise(441000)));  // five seconds
    CmsSTM stm;
    ASSERT_EQ(stm.FileOpen("\\p.wav"), 0);
    stm.SetLoopData(2.0, 1.0);
    stm.BufferCreate(0x80);
    stm.Play(1);  // the first refill
    std::vector<Long> reads = {stm.ReadPosition() - stm.DataStart()};
    for (int i = 0; i < 5; ++i) {
        stm.BufferUpdate();
        reads.push_back(stm.ReadPosition() - stm.DataStart());
    }
    // Up to 88200 bytes before the end, then on from 176400 bytes after the
    // start (the refill that loops writes nothing).
    const std::vector<Long> expect = {100000, 200000, 300000, 352800, 176400, 276400};
    EXPECT_EQ(reads, expect);
}

TEST(CmsSTMStream, SeekTakesEffectAtTheLeadAfterTheWriteCursor) {
    SoundTestEnv env;
    const auto pcm = Noise(800000, 11);
    env.Write("k.wav", Wav(16, 2, 44100, pcm));
    CmsSTM stm;
    ASSERT_EQ(stm.FileOpen("\\k.wav"), 0);
    stm.BufferCreate(0x80);
    stm.Play(0);
    env.Render(kTickFrames);
    stm.SetTime(5.0);                // 5 s x 44100 x 4 = 882000 bytes
    stm.SetCurrentPosition(400002);  // the later request wins, rounded down to 400000
    stm.BufferUpdate();
    // Play cursor 17640, write cursor 10 ms (1764 bytes) ahead, then the lead.
    const Long landing = 17640 + 1764 + CmsSTM::kSeekLead;
    EXPECT_EQ(stm.WritePosition(), landing + CmsSTM::kMaxRefill);
    const auto heard = env.Render(2000);
    const auto all = HeardAs(pcm, 16, 2);
    const std::size_t before = (landing - 17640) / 4;  // frames still queued before the seek
    EXPECT_EQ(heard[2 * (before - 1)], all[2 * ((landing - CmsSTM::kSeekLead) / 4 - 1)]);
    EXPECT_EQ(heard[2 * before], all[2 * (400000 / 4)]);
    EXPECT_EQ(heard[2 * before + 1], all[2 * (400000 / 4) + 1]);
}

TEST(CmsSTMStream, EightBitSilenceIsTheMidpoint) {
    SoundTestEnv env;
    const auto pcm = Noise(30000, 13);
    env.Write("m.wav", Wav(8, 1, 44100, pcm));
    CmsSTM stm;
    ASSERT_EQ(stm.FileOpen("\\m.wav"), 0);
    stm.BufferCreate(0x80);
    stm.Play(0);
    const PlayRun r = PlayThrough(env, stm, 40);
    ASSERT_GT(r.stoppedAt, 0);
    const std::size_t lead = 2 * CmsSTM::kSeekLead;  // 1600 one-byte frames, two sides
    const auto expect = HeardAs(pcm, 8, 1);
    EXPECT_TRUE(AllSilent(r.heard, 0, lead));
    EXPECT_TRUE(std::equal(expect.begin(), expect.end(),
                           r.heard.begin() + static_cast<std::ptrdiff_t>(lead)));
    EXPECT_TRUE(AllSilent(r.heard, lead + expect.size(), r.heard.size()));
}

TEST(CmsSTMControls, PanVolumeAndTempoReachTheBuffer) {
    SoundTestEnv env;
    env.Write("c.wav", Wav(16, 2, 44100, Noise(4000)));
    CmsSTM stm;
    ASSERT_EQ(stm.FileOpen("\\c.wav"), 0);
    stm.BufferCreate(0x80 | 0x40 | 0x20);
    platform::SoundBuffer* b = stm.Buffer();
    ASSERT_NE(b, nullptr);
    struct PanCase {
        Single pan;
        std::int32_t device;
    };
    for (const PanCase& c : {PanCase{0.5f, 312}, PanCase{-2.0f, -10000}, PanCase{1.0f, 10000},
                             PanCase{-0.5f, -312}, PanCase{0.0f, 0}}) {
        stm.SetPan(c.pan);
        std::int32_t got = 1;
        b->GetPan(got);
        EXPECT_EQ(got, c.device) << c.pan;
    }
    struct VolCase {
        Single volume;
        std::int32_t device;
    };
    for (const VolCase& c :
         {VolCase{1.0f, 0}, VolCase{0.0f, -10000}, VolCase{2.0f, 0}, VolCase{0.5f, -2929}}) {
        stm.SetVolum(c.volume);
        std::int32_t got = 1;
        b->GetVolume(got);
        EXPECT_EQ(got, c.device) << c.volume;
    }
    struct TempoCase {
        Single semitones;
        std::uint32_t hz;
    };
    for (const TempoCase& c : {TempoCase{12.0f, 88200}, TempoCase{-24.0f, 22050},
                               TempoCase{1.0f, 46722}, TempoCase{0.0f, 44100}}) {
        stm.SetTempo(c.semitones);
        std::uint32_t got = 0;
        b->GetFrequency(got);
        EXPECT_EQ(got, c.hz) << c.semitones;
    }
}

TEST(CmsSTMControls, NothingHappensWithoutABuffer) {
    SoundTestEnv env;
    CmsSTM stm;
    stm.Play(1);
    stm.BufferUpdate();
    stm.SetVolum(0.5f);
    EXPECT_FALSE(stm.GetState());
    EXPECT_EQ(stm.GetLength(), 0.0);
    env.Write("c.wav", Wav(16, 2, 44100, Noise(4000)));
    ASSERT_EQ(stm.FileOpen("\\c.wav"), 0);
    stm.Play(1);  // no buffer yet
    EXPECT_FALSE(stm.GetState());
    stm.BufferCreate(0);
    stm.FileClose();
    EXPECT_EQ(stm.BufferExists, kFalse);
    EXPECT_EQ(stm.Buffer(), nullptr);
}

}  // namespace
}  // namespace brumil::sound::test
