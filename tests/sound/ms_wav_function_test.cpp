// The wave editing collection on real CmsWAV objects: defaults reaching the
// routines, format and rate copies, the arithmetic of the block operations,
// ranges that never write outside a wave, and waves that are not loaded.
#include "sound/ms_wav_function.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sound_test_env.h"
#include "wave_builder.h"

namespace brumil::sound {
namespace {

using F = CmsWAVFunction;

// A 24-bit mono wave of the given samples at 8000 Hz.
void Make24(CmsWAV& w, const std::vector<Long>& samples, Long hz = 8000) {
    ASSERT_EQ(w.Add(static_cast<Long>(samples.size()), 24, 1, hz), 0);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        F::LetWaveSample24(w, static_cast<Long>(i), samples[i], samples[i]);
    }
}

std::vector<Long> Samples24(const CmsWAV& w) {
    std::vector<Long> out;
    for (Long i = 0; i < w.WaveBlocks(); ++i) {
        Long l = 0, r = 0;
        F::GetWaveSample24(w, i, l, r);
        out.push_back(l);
    }
    return out;
}

// A 16-bit stereo wave with distinct sides.
void MakeTone(CmsWAV& w, Long blocks, int seed, Long hz = 22050) {
    ASSERT_EQ(w.Add(blocks, 16, 2, hz), 0);
    const auto tone = test::Tone(static_cast<std::size_t>(2 * blocks), seed);
    for (Long i = 0; i < blocks; ++i) {
        F::LetWaveSample(w, i, tone[static_cast<std::size_t>(2 * i)],
                         tone[static_cast<std::size_t>(2 * i + 1)]);
    }
}

std::vector<Byte> Bytes(const CmsWAV& w) {
    return {w.WaveData().begin(), w.WaveData().end()};
}

using Op = std::function<void(CmsWAV&, CmsWAV&)>;
using Direct = std::function<std::int32_t(const platform::WaveDesc&, const platform::WaveDesc&)>;

struct DefaultCase {
    const char* name;
    Op op;          // every optional argument left out
    Direct direct;  // the routine called with the stated defaults
};

TEST(CmsWAVFunction, DefaultsReachTheRoutines) {
    const Long n = 120;  // the destination's frame count, the default length
    const DefaultCase cases[] = {
        {"Blt", [](CmsWAV& d, CmsWAV& s) { F::Blt(d, s); },
         [&](auto& d, auto& s) { return platform::WaveBlt(d, s, 0, 0, n, 1.0f); }},
        {"BltAdd", [](CmsWAV& d, CmsWAV& s) { F::BltAdd(d, s); },
         [&](auto& d, auto& s) { return platform::WaveBltAdd(d, s, 0, 0, n, 1.0f); }},
        {"BltSub", [](CmsWAV& d, CmsWAV& s) { F::BltSub(d, s); },
         [&](auto& d, auto& s) { return platform::WaveBltSub(d, s, 0, 0, n, 1.0f); }},
        {"BltMul", [](CmsWAV& d, CmsWAV& s) { F::BltMul(d, s); },
         [&](auto& d, auto& s) { return platform::WaveBltMul(d, s, 0, 0, n, 1.0f); }},
        {"BltAddNoise", [](CmsWAV& d, CmsWAV& s) { F::BltAddNoise(d, s); },
         [&](auto& d, auto& s) { return platform::WaveBltAddNoise(d, s, 0, 0, n, 0.1f); }},
        {"BltBlur", [](CmsWAV& d, CmsWAV& s) { F::BltBlur(d, s); },
         [&](auto& d, auto& s) { return platform::WaveBltBlur(d, s, 0, 0, n, 1); }},
        {"BltGluder", [](CmsWAV& d, CmsWAV& s) { F::BltGluder(d, s); },
         [&](auto& d, auto& s) { return platform::WaveBltGluder(d, s, 0, 0, n, 1); }},
        {"BltSin", [](CmsWAV& d, CmsWAV& s) { F::BltSin(d, s); },
         [&](auto& d, auto& s) {
             return platform::WaveBltSin(d, s, 0, 0, n, 0.1f, 0.1f, 0.0f, 0.0f);
         }},
        {"BltEndLoop", [](CmsWAV& d, CmsWAV& s) { F::BltEndLoop(d, s); },
         [&](auto& d, auto& s) {
             return platform::WaveBltEndLoop(d, s, 0, 0, n, 1.0f, 100.0f, 2.0f, 5.0f);
         }},
        {"BltLoopBlur", [](CmsWAV& d, CmsWAV& s) { F::BltLoopBlur(d, s); },
         [&](auto& d, auto& s) {
             return platform::WaveBltLoopBlur(d, s, 0, 0, n, 1.0f, 50.0f, 0.0f, 0.0f);
         }},
    };
    for (const auto& c : cases) {
        CmsWAV viaClass, viaRoutine, src;
        MakeTone(viaClass, n, 3);
        MakeTone(viaRoutine, n, 3);
        MakeTone(src, 3 * n, 5);
        const auto before = Bytes(viaClass);
        c.op(viaClass, src);
        ASSERT_EQ(c.direct(viaRoutine.WaveDescriptor(), src.WaveDescriptor()), 0) << c.name;
        EXPECT_EQ(Bytes(viaClass), Bytes(viaRoutine)) << c.name;
        EXPECT_NE(Bytes(viaClass), before) << c.name;
    }
}

struct ArithmeticCase {
    const char* name;
    std::vector<Long> dst, src;
    Op op;
    std::vector<Long> expected;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ArithmeticCase& c, std::ostream* os) {
    *os << c.name;
}

// 24-bit mono waves at 8000 Hz, so every value is exact on the routines' scale.
const ArithmeticCase kArithmetic[] = {
    {"Blt halves to even",
     {0, 0, 0},
     {1001, 1003, -1001},
     [](CmsWAV& d, CmsWAV& s) { F::Blt(d, s, 0, 0, {}, 0.5f); },
     {500, 502, -500}},
    {"Blt into a range",
     {7, 7, 7, 7},
     {1, 2, 3, 4},
     [](CmsWAV& d, CmsWAV& s) { F::Blt(d, s, 1, 2, 2.0); },
     {7, 3, 4, 7}},
    {"BltAdd clamps",
     {100, 8388000, -8388000},
     {-40, 1000, -1000},
     [](CmsWAV& d, CmsWAV& s) { F::BltAdd(d, s); },
     {60, 8388607, -8388608}},
    {"BltSub with level",
     {100, 0},
     {30, -5},
     [](CmsWAV& d, CmsWAV& s) { F::BltSub(d, s, 0, 0, {}, 2.0f); },
     {40, 10}},
    {"BltMul",
     {4194304, -4194304, 1000},
     {4194304, 4194304, 0},
     [](CmsWAV& d, CmsWAV& s) { F::BltMul(d, s); },
     {2097152, -2097152, 0}},
    {"BltAddNoise at level 0 copies",
     {9, 9},
     {-3, 4},
     [](CmsWAV& d, CmsWAV& s) { F::BltAddNoise(d, s, 0, 0, {}, 0.0f); },
     {-3, 4}},
    {"BltBlur radius 1",
     {9, 9, 9, 9},
     {0, 30, 60, 0},
     [](CmsWAV& d, CmsWAV& s) { F::BltBlur(d, s); },
     {15, 30, 30, 30}},
    {"BltBlur reaches outside the block",
     {9, 9},
     {90, 0, 30, 60},
     [](CmsWAV& d, CmsWAV& s) { F::BltBlur(d, s, 0, 1, 2.0, 1); },
     {40, 30}},
    {"BltBlur radius 0 copies",
     {9, 9},
     {5, 6},
     [](CmsWAV& d, CmsWAV& s) { F::BltBlur(d, s, 0, 0, {}, 0); },
     {5, 6}},
    {"BltGluder glides",
     {9, 9, 9, 9},
     {100, 100, 0, 0},
     [](CmsWAV& d, CmsWAV& s) { F::BltGluder(d, s, 0, 0, {}, 2); },
     {100, 100, 50, 25}},
    {"BltGluder level 1 copies",
     {9, 9},
     {3, -3},
     [](CmsWAV& d, CmsWAV& s) { F::BltGluder(d, s, 0, 0, {}, -7); },
     {3, -3}},
    {"BltSin a quarter turn a frame",
     {0, 0, 0, 0},
     {1000, 1000, 1000, 1000},
     [](CmsWAV& d, CmsWAV& s) { F::BltSin(d, s, 0, 0, {}, 0.5f, 2000.0f, 0.0f, 0.0f); },
     {1000, 1500, 1000, 500}},
    {"BltSin keeps m of the destination",
     {100, 100},
     {1000, 1000},
     [](CmsWAV& d, CmsWAV& s) { F::BltSin(d, s, 0, 0, {}, 0.0f, 1.0f, 0.5f, 0.0f); },
     {1050, 1050}},
    {"BltEndLoop linear over the block",
     {0, 0, 0, 0, 0},
     {1000, 1000, 1000, 1000, 1000},
     [](CmsWAV& d, CmsWAV& s) { F::BltEndLoop(d, s, 0, 0, {}, 1.0f, 100.0f, 1.0f, 0.0f); },
     {0, 250, 500, 750, 1000}},
    {"BltEndLoop squared",
     {0, 0, 0, 0, 0},
     {1000, 1000, 1000, 1000, 1000},
     [](CmsWAV& d, CmsWAV& s) { F::BltEndLoop(d, s, 0, 0, {}, 1.0f, 100.0f, 2.0f, 0.0f); },
     {0, 62, 250, 562, 1000}},
    {"BltEndLoop holds the last half",
     {0, 0, 0, 0, 0},
     {1000, 1000, 1000, 1000, 1000},
     [](CmsWAV& d, CmsWAV& s) { F::BltEndLoop(d, s, 0, 0, {}, 1.0f, 100.0f, 1.0f, 50.0f); },
     {0, 500, 1000, 1000, 1000}},
    {"BltEndLoop fades in the second half",
     {200, 200, 200, 200, 200},
     {1000, 1000, 1000, 1000, 1000},
     [](CmsWAV& d, CmsWAV& s) { F::BltEndLoop(d, s, 0, 0, {}, 1.0f, 50.0f, 1.0f, 0.0f); },
     {200, 200, 200, 600, 1000}},
    {"BltLoopBlur widens along the block",
     {9, 9, 9, 9, 9},
     {0, 0, 300, 0, 0},
     [](CmsWAV& d, CmsWAV& s) { F::BltLoopBlur(d, s, 0, 0, {}, 1.0f, 2.0f, 0.0f, 0.0f); },
     {0, 0, 100, 75, 100}},
    {"BltLoopBlur level and m",
     {10, 10},
     {40, 40},
     [](CmsWAV& d, CmsWAV& s) { F::BltLoopBlur(d, s, 0, 0, {}, 0.5f, 0.0f, 1.0f, 0.0f); },
     {30, 30}},
};

class WaveArithmetic : public ::testing::TestWithParam<ArithmeticCase> {};

TEST_P(WaveArithmetic, GivesTheDefinedSamples) {
    const auto& c = GetParam();
    CmsWAV dst, src;
    Make24(dst, c.dst);
    Make24(src, c.src);
    c.op(dst, src);
    EXPECT_EQ(Samples24(dst), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, WaveArithmetic, ::testing::ValuesIn(kArithmetic));

TEST(CmsWAVFunction, NoiseIsSeededAndBounded) {
    CmsWAV a, b, src;
    Make24(src, std::vector<Long>(400, 0));
    Make24(a, std::vector<Long>(400, 0));
    Make24(b, std::vector<Long>(400, 0));
    F::BltAddNoise(a, src, 0, 0, {}, 0.25f);
    F::BltAddNoise(b, src, 0, 0, {}, 0.25f);
    const auto noise = Samples24(a);
    EXPECT_EQ(noise, Samples24(b));  // every call starts the generator afresh
    Long distinct = 0, positive = 0;
    for (std::size_t i = 0; i < noise.size(); ++i) {
        EXPECT_LE(std::abs(noise[i]), 2097152);  // a quarter of full scale
        if (i > 0 && noise[i] != noise[i - 1]) ++distinct;
        if (noise[i] > 0) ++positive;
    }
    EXPECT_GT(distinct, 390);
    EXPECT_GT(positive, 150);
    EXPECT_LT(positive, 250);
}

TEST(CmsWAVFunction, SampleAccessScales) {
    CmsWAV w;
    ASSERT_EQ(w.Add(4, 8, 2, 8000), 0);
    F::LetWaveSample(w, 1, 256, -512);
    Long l = 0, r = 0;
    F::GetWaveSample(w, 1, l, r);
    EXPECT_EQ(l, 256);
    EXPECT_EQ(r, -512);
    F::GetWaveSample24(w, 1, l, r);
    EXPECT_EQ(l, 65536);
    for (const Long position : {-1L, 4L, 1000L}) {
        F::LetWaveSample(w, position, 1000, 1000);
        F::GetWaveSample(w, position, l, r);
        EXPECT_EQ(l, 0);
        EXPECT_EQ(r, 0);
    }
    EXPECT_EQ(Bytes(w), (std::vector<Byte>{128, 128, 129, 126, 128, 128, 128, 128}));
}

TEST(CmsWAVFunction, CopiesInAnotherFormat) {
    CmsWAV src, dst;
    MakeTone(src, 50, 2, 11025);
    ASSERT_EQ(F::CreateCopy(dst, src, 8.0), 0);
    EXPECT_EQ(dst.WaveBit(), 8);
    EXPECT_EQ(dst.WaveChannel(), 2);
    EXPECT_EQ(dst.WaveBlocks(), 50);
    EXPECT_EQ(dst.WaveHz(), 11025);
    for (Long i = 0; i < 50; ++i) {
        Long sl, sr, dl, dr;
        F::GetWaveSample(src, i, sl, sr);
        F::GetWaveSample(dst, i, dl, dr);
        EXPECT_EQ(dl, (sl >> 8) << 8) << i;  // the low byte dropped
        EXPECT_EQ(dr, (sr >> 8) << 8) << i;
    }
    // Mono to stereo copies each sample to both sides.
    CmsWAV mono, stereo;
    Make24(mono, {100000, -5, 8388607});
    ASSERT_EQ(F::CreateCopy(stereo, mono, {}, 2.0), 0);
    EXPECT_EQ(stereo.WaveBit(), 24);
    EXPECT_EQ(stereo.WaveChannel(), 2);
    Long l, r;
    F::GetWaveSample24(stereo, 2, l, r);
    EXPECT_EQ(l, 8388607);
    EXPECT_EQ(r, 8388607);
    // A copy onto itself converts its own samples.
    ASSERT_EQ(F::CreateCopy(mono, mono, 16.0), 0);
    EXPECT_EQ(mono.WaveBit(), 16);
    F::GetWaveSample(mono, 0, l, r);
    EXPECT_EQ(l, 100000 >> 8);
}

TEST(CmsWAVFunction, RefusedFormatsAndUnloadedSourcesLeaveTheDestination) {
    CmsWAV src, dst, empty;
    MakeTone(src, 40, 1);
    MakeTone(dst, 10, 4);
    const auto before = Bytes(dst);
    struct Case {
        const char* name;
        std::function<Long()> call;
    };
    const Case cases[] = {
        {"12 bits", [&] { return F::CreateCopy(dst, src, 12.0); }},
        {"3 channels", [&] { return F::CreateCopy(dst, src, {}, 3.0); }},
        {"unloaded source", [&] { return F::CreateCopy(dst, empty); }},
        {"unloaded source, rate", [&] { return F::CreateCopyFrequency(dst, empty, 2.0f); }},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.call(), 1) << c.name;
        EXPECT_EQ(Bytes(dst), before) << c.name;
        EXPECT_EQ(dst.WaveBlocks(), 10) << c.name;
    }
    // The rate pushed below 4000 Hz is refused by the destination.
    CmsWAV low;
    MakeTone(low, 40, 1, 6000);
    EXPECT_EQ(F::CreateCopyFrequency(dst, low, 0.5f, true), 1);
    EXPECT_EQ(Bytes(dst), before);
}

struct RateCase {
    Single rate;
    bool hzExChange;
    Long blocks, hz;
};

TEST(CmsWAVFunction, CopiesAtAnotherRate) {
    const RateCase cases[] = {
        {2.0f, true, 2000, 44100},    {2.0f, false, 2000, 22050}, {3.0f, true, 2000, 44100},
        {0.25f, false, 500, 22050},   {0.5f, true, 500, 11025},   {1.5f, false, 1500, 22050},
        {1.0005f, true, 1000, 22061},
    };
    CmsWAV src;
    MakeTone(src, 1000, 6);
    for (const auto& c : cases) {
        CmsWAV dst;
        ASSERT_EQ(F::CreateCopyFrequency(dst, src, c.rate, c.hzExChange), 0) << c.rate;
        EXPECT_EQ(dst.WaveBlocks(), c.blocks) << c.rate << c.hzExChange;
        EXPECT_EQ(dst.WaveHz(), c.hz) << c.rate << c.hzExChange;
    }
    // Both ways each copied frame steps 1 / rate through the source: at rate
    // 2 every other frame is a source frame, at 0.5 every second source frame.
    for (const bool hz : {false, true}) {
        CmsWAV up, down;
        ASSERT_EQ(F::CreateCopyFrequency(up, src, 2.0f, hz), 0);
        ASSERT_EQ(F::CreateCopyFrequency(down, src, 0.5f, hz), 0);
        for (Long k = 0; k < 500; k += 37) {
            Long sl, sr, ul, ur, dl, dr;
            F::GetWaveSample(src, 2 * k, sl, sr);
            F::GetWaveSample(up, 4 * k, ul, ur);
            F::GetWaveSample(down, k, dl, dr);
            EXPECT_EQ(ul, sl) << k;
            EXPECT_EQ(dr, sr) << k;
        }
    }
}

struct RangeCase {
    Long dstIndex, srcIndex;
    std::optional<double> length;
    Long first, count;  // destination frames written
};

TEST(CmsWAVFunction, RangesNeverWriteOutsideEitherWave) {
    const RangeCase cases[] = {
        {0, 0, {}, 0, 10},           {14, 0, 100.0, 14, 2}, {3, 8, 9.0, 3, 2},  {0, 0, 1e12, 0, 10},
        {0, 0, 2147483647.0, 0, 10}, {-1, 0, 5.0, 0, 0},    {16, 0, 5.0, 0, 0}, {0, 10, 5.0, 0, 0},
        {0, -3, 5.0, 0, 0},          {0, 0, 0.0, 0, 0},     {0, 0, -5.0, 0, 0}, {2, 0, 1.5, 2, 2},
        {2, 0, 2.5, 2, 2},
    };
    const char* const names[] = {"Blt", "BltBlur", "BltLoopBlur"};
    for (const auto& c : cases) {
        for (std::size_t k = 0; k < 3; ++k) {
            CmsWAV dst, src;
            Make24(dst, std::vector<Long>(16, 77));
            Make24(src, std::vector<Long>(10, 5000));
            switch (k) {
                case 0:
                    F::Blt(dst, src, c.dstIndex, c.srcIndex, c.length);
                    break;
                case 1:
                    F::BltBlur(dst, src, c.dstIndex, c.srcIndex, c.length, 1000000);
                    break;
                default:
                    F::BltLoopBlur(dst, src, c.dstIndex, c.srcIndex, c.length, 1.0f, 1e9f);
                    break;
            }
            const auto out = Samples24(dst);
            for (Long i = 0; i < 16; ++i) {
                const bool written = i >= c.first && i < c.first + c.count;
                EXPECT_EQ(out[static_cast<std::size_t>(i)], written ? 5000 : 77)
                    << names[k] << " " << c.dstIndex << "," << c.srcIndex << " frame " << i;
            }
        }
    }
    // A wave copied onto itself, shifted: the source is read before writing.
    CmsWAV w;
    Make24(w, {1, 2, 3, 4, 5});
    F::Blt(w, w, 1, 0, 4.0);
    EXPECT_EQ(Samples24(w), (std::vector<Long>{1, 1, 2, 3, 4}));
}

TEST(CmsWAVFunction, ARefusedFileLeavesAWaveEveryOperationSkips) {
    test::SoundTestEnv env;
    auto damaged = test::RiffBuilder().Fmt(1, 2, 22050, 16).Data({1, 2, 3, 4}).Bytes();
    damaged[20] = 3;  // not PCM
    env.Write("damaged.wav", damaged);
    CmsWAV bad, good;
    EXPECT_EQ(bad.Load("\\damaged.wav"), 1);
    EXPECT_EQ(bad.WaveLoaded, kFalse);
    MakeTone(good, 30, 7);
    const auto goodBefore = Bytes(good);
    const auto badBefore = Bytes(bad);
    EXPECT_EQ(F::CreateCopy(good, bad), 1);
    EXPECT_EQ(F::CreateCopyFrequency(good, bad, 1.5f, true), 1);
    const std::vector<Op> blocks = {
        [](CmsWAV& d, CmsWAV& s) { F::Blt(d, s); },
        [](CmsWAV& d, CmsWAV& s) { F::BltAddNoise(d, s); },
        [](CmsWAV& d, CmsWAV& s) { F::BltGluder(d, s); },
        [](CmsWAV& d, CmsWAV& s) { F::BltEndLoop(d, s); },
    };
    for (const auto& op : blocks) {
        op(good, bad);
        op(bad, good);
        op(bad, bad);
    }
    F::LetWaveSample(bad, 0, 5, 5);
    F::LetWaveSample24(bad, 0, 5, 5);
    Long l = 9, r = 9;
    F::GetWaveSample(bad, 0, l, r);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Bytes(good), goodBefore);
    EXPECT_EQ(Bytes(bad), badBefore);
    EXPECT_EQ(bad.WaveLoaded, kFalse);
}

}  // namespace
}  // namespace brumil::sound
