#include "sound/ms_wav.h"

#include <gtest/gtest.h>

#include "core/pak_archive.h"
#include "framework/sound.h"
#include "framework/splib.h"
#include "platform/base/files.h"
#include "sound_test_env.h"
#include "wave_builder.h"

namespace brumil::sound {
namespace {

using test::HeardAs;
using test::Pcm16;
using test::RiffBuilder;
using test::SoundTestEnv;
using test::Tone;

std::vector<Byte> WavFile(int bits, int channels, int hz, const std::vector<Byte>& pcm) {
    return RiffBuilder().Fmt(1, channels, hz, bits).Data(pcm).Bytes();
}

// Loads, prepares and fires an effect the way the shell does.
void PrepareEffect(CmsWAV& wav, std::string_view path, Long flags = 0xC0) {
    ASSERT_EQ(wav.Load(path), 0);
    wav.FormatCheck();
    wav.BufferCreate(flags);
    ASSERT_EQ(wav.BufferExists, kTrue);
    wav.BufferWrite();
}

TEST(CmsWAVLoad, FormatsAndDataOfWaveFiles) {
    SoundTestEnv env;
    struct Case {
        const char* name;
        int bits, channels, hz;
        std::vector<Byte> file;
        std::vector<Byte> pcm;
    };
    const auto pcm8 = test::Ramp(301);
    const auto pcm16 = Pcm16(Tone(500));
    const Case cases[] = {
        {"8-bit mono", 8, 1, 22050, WavFile(8, 1, 22050, pcm8), pcm8},
        {"8-bit stereo", 8, 2, 11025, WavFile(8, 2, 11025, pcm8),
         std::vector<Byte>(pcm8.begin(), pcm8.end() - 1)},
        {"16-bit mono", 16, 1, 44100, WavFile(16, 1, 44100, pcm16), pcm16},
        {"16-bit stereo", 16, 2, 48000, WavFile(16, 2, 48000, pcm16), pcm16},
        {"odd LIST chunk before data", 16, 2, 44100,
         RiffBuilder().Fmt(1, 2, 44100, 16).Chunk("LIST", 27).Data(pcm16).Bytes(), pcm16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        env.Write("data/sound/x.wav", c.file);
        CmsWAV wav;
        ASSERT_EQ(wav.Load("\\data\\sound\\x.wav"), 0);
        EXPECT_EQ(wav.WaveLoaded, kTrue);
        EXPECT_EQ(wav.WaveBit(), c.bits);
        EXPECT_EQ(wav.WaveChannel(), c.channels);
        EXPECT_EQ(wav.WaveHz(), c.hz);
        EXPECT_EQ(wav.WaveSize(), static_cast<Long>(c.pcm.size()));
        EXPECT_EQ(wav.WaveBlocks(), static_cast<Long>(c.pcm.size()) / (c.bits / 8 * c.channels));
        EXPECT_EQ(std::vector<Byte>(wav.WaveData().begin(), wav.WaveData().end()), c.pcm);
    }
}

TEST(CmsWAVLoad, ListChunkBeforeDataPlaysTheSamplesNotTheChunk) {
    SoundTestEnv env(44100, 2);
    const auto tone = Tone(400);
    env.Write("a.wav",
              RiffBuilder().Fmt(1, 1, 44100, 16).Chunk("LIST", 25, 0x7F).Data(Pcm16(tone)).Bytes());
    CmsWAV wav;
    PrepareEffect(wav, "\\a.wav");
    wav.PlaySE(1.0f, 0.0f, 0.0f);
    EXPECT_EQ(env.Render(400), HeardAs(Pcm16(tone), 16, 1));
}

TEST(CmsWAVLoad, FileInsideAPakArchive) {
    SoundTestEnv env;
    const auto pcm = Pcm16(Tone(64));
    const core::PakInput files[] = {{"other.wav", {1, 2, 3}},
                                    {"zio1x05.wav", WavFile(16, 2, 44100, pcm)}};
    const auto pak = core::BuildPak(files);
    ASSERT_TRUE(pak);
    env.Write("data/sound.pak", *pak);
    CmsWAV wav;
    ASSERT_EQ(wav.Load("\\data\\sound\\zio1x05.wav"), 0);
    EXPECT_EQ(std::vector<Byte>(wav.WaveData().begin(), wav.WaveData().end()), pcm);
    EXPECT_EQ(wav.Load("\\data\\sound\\zio1x06.wav"), 1);
}

TEST(CmsWAVLoad, TruncatedOrHostileFilesFailAndLeaveThePlayerSilent) {
    SoundTestEnv env;
    const auto good = WavFile(16, 2, 44100, Pcm16(Tone(200)));
    auto hugeFmt = good;
    hugeFmt[16] = hugeFmt[17] = hugeFmt[18] = hugeFmt[19] = 0xFF;
    auto float32 = good;
    float32[20] = 3;
    const std::vector<std::vector<Byte>> bad = {
        std::vector<Byte>(good.begin(), good.begin() + 30),
        std::vector<Byte>(good.begin(), good.begin() + 44),
        hugeFmt,
        float32,
        {'O', 'g', 'g', 'S', 1, 2, 3, 4, 5, 6, 7},
        {},
    };
    env.Write("good.wav", good);
    for (std::size_t i = 0; i < bad.size(); ++i) {
        SCOPED_TRACE(i);
        env.Write("bad.wav", bad[i]);
        CmsWAV wav;
        PrepareEffect(wav, "\\good.wav");
        EXPECT_EQ(wav.Load("\\bad.wav"), 1);
        EXPECT_EQ(wav.WaveLoaded, kFalse);
        wav.FormatCheck();
        wav.BufferCreate(0xC0);
        wav.BufferWrite();
        wav.PlaySE(1.0f, 0.0f, 0.0f);
        EXPECT_FALSE(wav.GetState());
        const auto heard = env.Render(256);
        EXPECT_TRUE(std::all_of(heard.begin(), heard.end(), [](auto s) { return s == 0; }));
    }
    CmsWAV missing;
    EXPECT_EQ(missing.Load("\\nothing.wav"), 1);
}

TEST(CmsWAVSave, WrittenFilesReadBackByteExact) {
    SoundTestEnv env;
    struct Case {
        int bits, channels, hz;
        std::vector<Byte> pcm;
    };
    const Case cases[] = {{8, 1, 22050, test::Ramp(99)},
                          {16, 2, 44100, Pcm16(Tone(202))},
                          {16, 1, 8000, Pcm16(Tone(7))}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits * 10 + c.channels);
        env.Write("in.wav", WavFile(c.bits, c.channels, c.hz, c.pcm));
        CmsWAV wav;
        ASSERT_EQ(wav.Load("\\in.wav"), 0);
        ASSERT_EQ(wav.SaveToWaveEx("\\ex.wav"), 0);
        ASSERT_EQ(wav.SaveToWave("\\ds.wav"), 0);

        // The own writer: the 58-byte header, then the wave data.
        const auto ex = platform::ReadFile("\\ex.wav");
        ASSERT_TRUE(ex);
        std::vector<Byte> header;
        CmsWAV::SaveWaveFileHeader(header, wav.WaveBlocks(), c.bits, c.channels, c.hz);
        ASSERT_EQ(ex->size(), header.size() + c.pcm.size());
        EXPECT_TRUE(std::equal(header.begin(), header.end(), ex->begin()));
        EXPECT_TRUE(std::equal(c.pcm.begin(), c.pcm.end(), ex->begin() + 58));

        for (const char* path : {"\\ex.wav", "\\ds.wav"}) {
            CmsWAV back;
            ASSERT_EQ(back.Load(path), 0) << path;
            EXPECT_EQ(back.WaveBit(), c.bits);
            EXPECT_EQ(back.WaveChannel(), c.channels);
            EXPECT_EQ(back.WaveHz(), c.hz);
            EXPECT_EQ(std::vector<Byte>(back.WaveData().begin(), back.WaveData().end()), c.pcm);
        }
    }
    CmsWAV empty;
    EXPECT_EQ(empty.SaveToWaveEx("\\never.wav"), 1);
    EXPECT_EQ(empty.SaveToWave("\\never.wav"), 1);
    EXPECT_FALSE(platform::FileExists("\\never.wav"));
}

TEST(CmsWAVAdd, MakesSilenceOrRefuses) {
    CmsWAV wav;
    ASSERT_EQ(wav.Add(100, 8, 1, 22050), 0);
    EXPECT_EQ(wav.WaveLoaded, kTrue);
    EXPECT_EQ(wav.WaveHeader().blockAlign, 1);
    EXPECT_EQ(wav.WaveSize(), 100);
    EXPECT_TRUE(
        std::all_of(wav.WaveData().begin(), wav.WaveData().end(), [](Byte b) { return b == 128; }));
    EXPECT_DOUBLE_EQ(wav.GetLength(), 100.0 / 22050.0);
    struct Bad {
        Long blocks, bits, channels, hz;
    };
    for (const Bad b : {Bad{10, 12, 1, 22050}, Bad{10, 8, 3, 22050}, Bad{0, 8, 1, 22050},
                        Bad{10, 8, 1, 3999}, Bad{-5, 16, 2, 44100}}) {
        EXPECT_EQ(wav.Add(b.blocks, b.bits, b.channels, b.hz), 1);
        EXPECT_EQ(wav.WaveSize(), 100);
        EXPECT_EQ(wav.WaveBit(), 8);
    }
    ASSERT_EQ(wav.Add(3, 24, 2, 96000), 0);
    EXPECT_EQ(wav.WaveSize(), 18);
    EXPECT_TRUE(
        std::all_of(wav.WaveData().begin(), wav.WaveData().end(), [](Byte b) { return b == 0; }));
}

TEST(CmsWAVEffect, FormatCheckDoublesA22050MonoEffectForTheStereoOutput) {
    SoundTestEnv env(44100, 2);
    const auto tone = Tone(300);
    env.Write("data/sound/zio1x01.wav", WavFile(16, 1, 22050, Pcm16(tone)));
    CmsWAV wav;
    PrepareEffect(wav, "\\data\\sound\\zio1x01.wav");
    EXPECT_EQ(wav.WaveHz(), 44100);
    EXPECT_EQ(wav.WaveChannel(), 2);
    EXPECT_EQ(wav.WaveBlocks(), 600);
    EXPECT_EQ(wav.CapabilityFlags(), 0xC8);
    // Every even output frame is a source frame; both sides carry it.
    const auto heard = HeardAs({wav.WaveData().begin(), wav.WaveData().end()}, 16, 2);
    for (std::size_t j = 0; j < 600; j += 2) {
        ASSERT_EQ(heard[2 * j], tone[j / 2]) << j;
        ASSERT_EQ(heard[2 * j + 1], tone[j / 2]) << j;
    }

    wav.PlaySE(1.0f, 0.0f, 0.0f);
    EXPECT_TRUE(wav.GetState());
    EXPECT_EQ(env.Render(250), std::vector<std::int16_t>(heard.begin(), heard.begin() + 500));
    // Firing again stops, rewinds and plays once from the start.
    wav.PlaySE(1.0f, 0.0f, 0.0f);
    EXPECT_EQ(env.Render(600), heard);
    const auto after = env.Render(100);
    EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](auto s) { return s == 0; }));
    EXPECT_FALSE(wav.GetState());
}

TEST(CmsWAVEffect, FormatCheckRules) {
    struct Case {
        const char* name;
        Long outHz, outChannels;
        Long hz, channels, blocks;
        Long wantHz, wantChannels, wantBlocks;
    };
    const Case cases[] = {
        {"44100 mono to 22050 stereo halves", 22050, 2, 44100, 1, 100, 22050, 2, 50},
        {"32000 stereo on 22050 stereo is left alone", 22050, 2, 32000, 2, 100, 32000, 2, 100},
        {"channels only", 44100, 2, 44100, 1, 10, 44100, 2, 10},
        {"stereo to a mono output", 44100, 1, 44100, 2, 10, 44100, 1, 10},
        {"same format", 44100, 2, 44100, 2, 10, 44100, 2, 10},
        {"halving refused below 4000 Hz", 3999, 1, 7998, 1, 10, 7998, 1, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        framework::SoundStartOptions o;
        o.hz = c.outHz;
        o.channels = c.outChannels;
        o.nullOutput = true;
        // The device refuses rates below 8000 Hz; the last case runs without
        // a device and must change nothing either.
        framework::SoundStart(o);
        CmsWAV wav;
        ASSERT_EQ(wav.Add(c.blocks, 16, c.channels, c.hz), 0);
        wav.FormatCheck();
        EXPECT_EQ(wav.WaveHz(), c.wantHz);
        EXPECT_EQ(wav.WaveChannel(), c.wantChannels);
        EXPECT_EQ(wav.WaveBlocks(), c.wantBlocks);
        EXPECT_EQ(wav.WaveSize(), static_cast<Long>(wav.WaveData().size()));
        framework::SoundStop();
    }
}

TEST(CmsWAVEffect, RefusedConversionKeepsTheWave) {
    CmsWAV wav;
    ASSERT_EQ(wav.Add(10, 16, 1, 7998), 0);
    std::vector<Byte> tone = Pcm16(Tone(10));
    wav.WaveSetWaveBuffer(tone);
    const auto before = wav.WaveHeader();
    EXPECT_EQ(wav.ConvertRate(0.5f, 2), 1);  // 3999 Hz would be refused by Add
    EXPECT_EQ(wav.ConvertRate(0.25f, 1), 1);
    EXPECT_EQ(wav.ConvertChannels(3), 1);
    EXPECT_EQ(wav.WaveHeader().hz, before.hz);
    EXPECT_EQ(wav.WaveHeader().blocks, before.blocks);
    EXPECT_EQ(wav.WaveHeader().channels, before.channels);
    EXPECT_EQ(std::vector<Byte>(wav.WaveData().begin(), wav.WaveData().end()), tone);
    EXPECT_EQ(wav.ConvertRate(2.0f, 2), 0);
    EXPECT_EQ(wav.WaveHz(), 15996);
    EXPECT_EQ(wav.WaveBlocks(), 20);
}

TEST(CmsWAVEffect, VolumePanAndTempoReachTheBufferInHundredthsOfADecibel) {
    SoundTestEnv env(22050, 2);
    CmsWAV wav;
    ASSERT_EQ(wav.Add(2000, 16, 2, 22050), 0);
    wav.BufferCreate(0xE0);
    auto* buffer = wav.Buffer();
    ASSERT_NE(buffer, nullptr);
    auto volume = [&] {
        std::int32_t v = 1;
        buffer->GetVolume(v);
        return v;
    };
    auto pan = [&] {
        std::int32_t p = 1;
        buffer->GetPan(p);
        return p;
    };
    auto freq = [&] {
        std::uint32_t f = 1;
        buffer->GetFrequency(f);
        return f;
    };
    struct Case {
        Long level;
        Single volume, pan, tempo;
        std::int32_t wantVolume, wantPan;
        std::uint32_t wantFreq;
    };
    const Case cases[] = {
        {0, 0.5f, 0.5f, 12, -2929, 7071, 44100},  {0, 0.0f, 0.25f, -24, -10000, 3827, 11025},
        {0, 0.8f, -3.0f, 1, -489, -10000, 23361}, {0, 1.0f, 2.0f, -1, 0, 10000, 20812},
        {-10, 1.0f, 0.1f, 0, -123, 1564, 22050},  {-45, 1.0f, -0.5f, 0.5f, -2396, -7071, 22696},
        {-100, 1.0f, 0.0f, 0, -10000, 0, 22050},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level * 100 + static_cast<int>(c.volume * 10));
        framework::gVolumeOffset() = c.level;
        wav.PlaySE(c.volume, c.pan, c.tempo);
        EXPECT_EQ(volume(), c.wantVolume);
        EXPECT_EQ(pan(), c.wantPan);
        EXPECT_EQ(freq(), c.wantFreq);
    }
}

TEST(CmsWAVEffect, RepeatedValuesAreNotResent) {
    SoundTestEnv env(22050, 2);
    CmsWAV wav;
    ASSERT_EQ(wav.Add(100, 16, 2, 22050), 0);
    wav.BufferCreate(0xE0);
    auto* buffer = wav.Buffer();
    ASSERT_NE(buffer, nullptr);
    std::int32_t v = 0;
    wav.SetVolum(0.5f);
    buffer->SetVolume(-100);  // changed behind the player's back
    wav.SetVolum(0.5f);       // same value: not sent again
    buffer->GetVolume(v);
    EXPECT_EQ(v, -100);
    wav.SetVolum(2.0f);  // sent clamped, stored as given
    buffer->GetVolume(v);
    EXPECT_EQ(v, 0);
    buffer->SetVolume(-100);
    wav.SetVolum(1.0f);  // differs from the stored 2: sent
    buffer->GetVolume(v);
    EXPECT_EQ(v, 0);
}

TEST(CmsWAVEffect, TempoNeedsTheFrequencyControl) {
    SoundTestEnv env(44100, 2);
    // An effect buffer without the frequency control plays at its own rate
    // whatever the tempo; with it, tempo 12 plays twice as fast.
    for (const Long flags : {0xC0, 0xE0}) {
        CmsWAV wav;
        ASSERT_EQ(wav.Add(100, 16, 2, 44100), 0);
        wav.BufferCreate(flags);
        wav.PlaySE(1.0f, 0.0f, 12.0f);
        env.Render(60);
        EXPECT_EQ(wav.GetState(), flags == 0xC0) << flags;
    }
    std::uint32_t f = 0;
    struct Rate {
        Long hz;
        Single tempo;
        std::uint32_t want;
    };
    for (const Rate r : {Rate{4000, -24, 2000}, Rate{96000, 12, 100000}}) {
        CmsWAV w;
        ASSERT_EQ(w.Add(100, 8, 1, r.hz), 0);
        w.BufferCreate(0x20);
        w.SetTempo(r.tempo);
        w.Buffer()->GetFrequency(f);
        EXPECT_EQ(f, r.want);
    }
}

TEST(CmsWAVEffect, MasterLevelScalesTheSamples) {
    SoundTestEnv env(44100, 2);
    const std::vector<std::int16_t> loud(400, 16000);
    env.Write("s.wav", WavFile(16, 2, 44100, Pcm16(loud)));
    CmsWAV wav;
    PrepareEffect(wav, "\\s.wav");
    wav.PlaySE(1.0f, 0.0f, 0.0f);
    const auto full = env.Render(10);
    framework::gVolumeOffset() = -45;
    wav.PlaySE(1.0f, 0.0f, 0.0f);
    const auto lower = env.Render(10);
    framework::gVolumeOffset() = -100;
    wav.PlaySE(1.0f, 0.0f, 0.0f);
    const auto none = env.Render(10);
    EXPECT_EQ(full[0], 16000);
    // -2396 hundredths of a decibel: a gain of 10^(-2396/2000) = 0.0633.
    EXPECT_NEAR(lower[0], 16000 * 0.0633, 20);
    EXPECT_EQ(none[0], 0);
}

TEST(CmsWAVLifecycle, TerminateSoundAndLostBuffers) {
    SoundTestEnv env;
    CmsWAV wav;
    ASSERT_EQ(wav.Add(100, 16, 2, 44100), 0);
    wav.BufferCreate(0xC0);
    ASSERT_EQ(wav.BufferExists, kTrue);
    framework::gSpLib().RaiseTerminateSound();
    EXPECT_EQ(wav.BufferExists, kFalse);
    EXPECT_EQ(wav.Buffer(), nullptr);

    wav.BufferCreate(0xC0);
    ASSERT_NE(wav.Buffer(), nullptr);
    wav.Buffer()->SimulateLoss();
    wav.PlaySE(1.0f, 0.0f, 0.0f);
    EXPECT_EQ(wav.BufferExists, kFalse);
    // A caller that sees the flag down recreates the buffer.
    wav.BufferCreate(0xC0);
    wav.BufferWrite();
    wav.PlaySE(1.0f, 0.0f, 0.0f);
    EXPECT_TRUE(wav.GetState());

    ASSERT_EQ(wav.Add(100, 16, 2, 44100), 0);
    wav.BufferCreate(0x10 | 0xC0);
    EXPECT_EQ(wav.Buffer3DExists, kTrue);
    wav.BufferDelete();
    EXPECT_EQ(wav.Buffer3DExists, kFalse);
    wav.ReleaseBuffer();
    EXPECT_EQ(wav.WaveLoaded, kFalse);
    wav.BufferCreate(0xC0);
    EXPECT_EQ(wav.BufferExists, kFalse);
}

}  // namespace
}  // namespace brumil::sound
