// Sounds of the attack patterns and kind procedures on the null mixer: after
// a firing frame the effect's player in the table is playing, also when the
// pool was full and nothing was placed.

#include <string>

#include "battle/shot_kinds.h"
#include "battle/shot_patterns.h"
#include "framework/sound.h"
#include "shot_fixture.h"
#include "sound/sound_effects.h"
#include "temp_root.h"

namespace brumil::battle::test {
namespace {

// A stereo 16-bit 44100 Hz WAV of a second of quiet noise.
std::string Wav() {
    auto u32 = [](std::string& s, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) s.push_back(char((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [](std::string& s, std::uint16_t v) {
        s.push_back(char(v & 0xFF));
        s.push_back(char(v >> 8));
    };
    const std::uint32_t frames = 44100;
    std::string s = "RIFF";
    u32(s, 36 + frames * 4);
    s += "WAVEfmt ";
    u32(s, 16);
    u16(s, 1);
    u16(s, 2);
    u32(s, 44100);
    u32(s, 44100 * 4);
    u16(s, 4);
    u16(s, 16);
    s += "data";
    u32(s, frames * 4);
    for (std::uint32_t i = 0; i < frames * 2; ++i) u16(s, std::uint16_t(i * 37));
    return s;
}

class ShotSoundTest : public ShotFixture {
protected:
    void SetUp() override {
        ShotFixture::SetUp();
        framework::SoundStartOptions o;
        o.nullOutput = true;
        ASSERT_TRUE(framework::SoundStart(o));
        sound::ClearSoundEffects();
        for (const Long n : {9, 14, 21, 22, 25, 26, 45, 48, 49, 53, 56, 65, 71, 72}) {
            std::string path = sound::SoundEffectPath(n).substr(1);
            for (char& ch : path)
                if (ch == '\\') ch = '/';
            root_.Write(path, Wav());
        }
    }
    void TearDown() override {
        sound::ClearSoundEffects();
        framework::SoundStop();
        ShotFixture::TearDown();
    }
    static bool Playing(Long n) {
        const sound::CmsWAV* slot = sound::gSoundEffects().Slot(n);
        return slot != nullptr && slot->GetState();
    }

    testing::TempDataRoot root_;
};

struct SoundCase {
    Long pattern;
    Long frame;
    std::vector<Long> effects;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const SoundCase& c, std::ostream* os) {
    *os << "pattern=" << c.pattern << " frame=" << c.frame;
}

class PatternSoundTest : public ShotSoundTest, public ::testing::WithParamInterface<SoundCase> {};

TEST_P(PatternSoundTest, AFiringFramePlaysItsEffectsEvenWithAFullPool) {
    const SoundCase& c = GetParam();
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full);
        sound::ClearSoundEffects();
        P(0).Shots = {};
        if (full) {
            FillPool(0, kMainPoolStart, kMainPoolSize, 0);
            FillPool(0, kSecondPoolStart, kSecondPoolSize, 0);
            FillPool(0, kThirdPoolStart, kThirdPoolSize, 0);
        }
        P(0).AttackFrame = c.frame;
        RunShotPattern(c.pattern, 0);
        for (const Long n : c.effects) EXPECT_TRUE(Playing(n)) << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Sounds, PatternSoundTest,
                         ::testing::Values(SoundCase{2, 1, {21}}, SoundCase{5, 1, {26, 45}},
                                           SoundCase{8, 4, {22}}, SoundCase{22, 1, {56}},
                                           SoundCase{23, 1, {9, 48}}, SoundCase{30, 1, {49}},
                                           SoundCase{32, 1, {71}}, SoundCase{35, 1, {72}},
                                           SoundCase{37, 1, {9, 53}}, SoundCase{39, 1, {53}}));

TEST_F(ShotSoundTest, NotFiringFramesAndLaterDashFramesStaySilent) {
    P(0).AttackFrame = 2;
    ShotPattern02(0);
    EXPECT_FALSE(Playing(21));
    P(0).AttackFrame = 2;
    ShotPattern32(0);  // places an object, sounds only at its first frame
    EXPECT_FALSE(Playing(71));
    EXPECT_EQ(Third(0).size(), 1u);
}

TEST_F(ShotSoundTest, ProceduresPlayTheirEffectsAfterTheirShots) {
    const std::pair<Long, std::vector<Long>> cases[] = {
        {22, {25}}, {26, {22}}, {21, {22}}, {59, {14, 65}}, {60, {65}}};
    for (const auto& [id, effects] : cases) {
        SCOPED_TRACE(id);
        sound::ClearSoundEffects();
        P(0).Shots = {};
        FillPool(0, kMainPoolStart, kMainPoolSize, 0);
        Place(0, 810, 0x29100, 0x100);  // outside, for the wall procedures
        KindProcedures().Find(id)(0, 810, 0);
        for (const Long n : effects) EXPECT_TRUE(Playing(n)) << n;
    }
}

}  // namespace
}  // namespace brumil::battle::test
