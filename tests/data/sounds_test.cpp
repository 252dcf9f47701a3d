// Sound effects, music with its loop files, and the font table, loaded by the
// players and readers the game uses.

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "data_root.h"
#include "image/cmg_bbi_string.h"
#include "image/font_table.h"
#include "platform/base/files.h"
#include "platform/sound/ogg_decoder.h"
#include "sound/loop_file.h"
#include "sound/ms_wav.h"
#include "sound/ms_wit.h"

namespace brumil::datatest {
namespace {

class Sounds : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sound_.Started()); }
    UseGeneratedRoot root_;
    NullSoundDevice sound_;
};

std::string EffectPath(int n) {
    char name[64];
    std::snprintf(name, sizeof name, "\\data\\sound\\zio1x%02d.wav", n);
    return name;
}

int Peak(std::span<const Byte> pcm16) {
    int peak = 0;
    for (std::size_t i = 0; i + 1 < pcm16.size(); i += 2) {
        const int v = static_cast<std::int16_t>(pcm16[i] | (pcm16[i + 1] << 8));
        peak = std::max(peak, std::abs(v));
    }
    return peak;
}

TEST_F(Sounds, EveryEffectIsAShortDistinct16BitSound) {
    std::set<std::vector<Byte>> seen;
    for (int n = 0; n < 100; ++n) {
        SCOPED_TRACE(n);
        sound::CmsWAV wav;
        ASSERT_EQ(wav.Load(EffectPath(n)), 0);
        EXPECT_EQ(wav.WaveBit(), 16);
        EXPECT_EQ(wav.WaveHz(), 44100);
        EXPECT_GT(wav.WaveBlocks(), 44100 / 25) << "longer than 40 ms";
        EXPECT_LE(wav.WaveBlocks(), 44100) << "a second at most";
        EXPECT_GT(Peak(wav.WaveData()), 3000) << "audible";
        const auto data = wav.WaveData();
        EXPECT_TRUE(seen.insert(std::vector<Byte>(data.begin(), data.end())).second) << "distinct";
    }
}

TEST_F(Sounds, MenuSoundsAreShortAndUnclipped) {
    for (int n : {1, 5, 27, 37, 39, 40}) {
        sound::CmsWAV wav;
        ASSERT_EQ(wav.Load(EffectPath(n)), 0) << n;
        EXPECT_LE(wav.WaveBlocks(), 44100 * 6 / 10) << n;
        EXPECT_LT(Peak(wav.WaveData()), 31000) << n;
    }
}

TEST_F(Sounds, EveryStageTuneDecodesAndLoopsInsideItself) {
    for (const char* file : {"regos.ogg", "インド風の曲.ogg", "03_abx0002-04rv70.ogg",
                             "ピアノっぽいもの.ogg", "sta1.ogg", "sta2.ogg", "オケダンス.ogg"}) {
        SCOPED_TRACE(file);
        const std::string path = std::string("\\data\\bgm\\") + file;
        const auto bytes = platform::ReadFile(path);
        ASSERT_TRUE(bytes.has_value());
        std::vector<std::uint8_t> pcm;
        platform::OggPcmInfo info;
        ASSERT_GT(platform::DecodeOggWhole(*bytes, pcm, info), 0);
        EXPECT_EQ(info.channels, 2);
        EXPECT_EQ(info.hz, 44100);
        const double seconds = static_cast<double>(pcm.size()) / (4.0 * 44100);
        EXPECT_GE(seconds, 20.0);
        EXPECT_LE(seconds, 40.0);
        EXPECT_GT(Peak(pcm), 5000);

        const sound::LoopPoints loop = sound::ReadLoopFile(path);
        EXPECT_GT(loop.loopStart, 0) << "an intro before the loop";
        EXPECT_GT(loop.loopLength, 44100 * 10) << "a loop of ten seconds or more";
        EXPECT_LE(static_cast<std::size_t>(loop.loopStart + loop.loopLength) * 4, pcm.size());

        sound::CmsWIT wit;
        ASSERT_EQ(wit.Load(path), 0);
        EXPECT_EQ(wit.PlayerRestart(), loop.loopStart * 4);
        EXPECT_EQ(wit.PlayerEnd(), (loop.loopStart + loop.loopLength) * 4);
    }
}

TEST_F(Sounds, FontTableMapsTheGameFontsToInstalledFaces) {
    const auto text = platform::ReadFile("\\data\\font\\fonts.txt");
    ASSERT_TRUE(text.has_value());
    image::FontTable table;
    table.Parse(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()),
                "\\data\\font\\");
    const struct {
        const char* name;
        const char* family;
    } cases[] = {{"ＭＳ ゴシック", "IPAGothic"},
                 {"ＭＳ Ｐゴシック", "IPAPGothic"},
                 {"楷書", "IPAMincho"},
                 {"あくあ", "IPAPGothic"}};
    auto& s = image::gBBIString();
    const std::string savedFolder = s.FontFolder, savedName = s.FontName;
    s.FontFolder = "\\data\\font\\";
    for (const auto& c : cases) {
        const image::FontTarget t = table.Resolve(c.name);
        EXPECT_EQ(t.kind, image::FontTarget::Kind::Family) << c.name;
        EXPECT_EQ(t.value, c.family) << c.name;
        s.FontName = c.name;
        image::CmgBBI glyph;
        EXPECT_TRUE(s.LoadFont(glyph, "決")) << c.name << " renders Japanese";
    }
    s.FontFolder = savedFolder;
    s.FontName = savedName;
}

}  // namespace
}  // namespace brumil::datatest
