#include "sound/sound_effects.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/sound.h"
#include "platform/sound/sound_buffer.h"
#include "temp_root.h"

namespace brumil::sound {
namespace {

// A stereo 16-bit 44100 Hz WAV of `frames` frames (the output's own format,
// so no conversion changes its length).
std::string Wav(int frames) {
    auto u32 = [](std::string& s, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) s.push_back(char((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [](std::string& s, std::uint16_t v) {
        s.push_back(char(v & 0xFF));
        s.push_back(char(v >> 8));
    };
    const std::uint32_t data = std::uint32_t(frames) * 4;
    std::string s = "RIFF";
    u32(s, 36 + data);
    s += "WAVEfmt ";
    u32(s, 16);
    u16(s, 1);
    u16(s, 2);
    u32(s, 44100);
    u32(s, 44100 * 4);
    u16(s, 4);
    u16(s, 16);
    s += "data";
    u32(s, data);
    for (int i = 0; i < frames * 2; ++i) u16(s, std::uint16_t(i * 37));
    return s;
}

// Effect n's file is 100 + n frames long, so a player tells which file it holds.
int FramesOf(Long n) {
    return 100 + int(n);
}

std::string RelativeEffectPath(Long n) {
    std::string p = SoundEffectPath(n).substr(1);
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

class SoundEffectsTest : public ::testing::Test {
protected:
    SoundEffectsTest() {
        framework::SoundStartOptions o;
        o.nullOutput = true;
        framework::SoundStart(o);
        framework::gVolumeOffset() = 0;
    }
    ~SoundEffectsTest() override { framework::SoundStop(); }

    void WriteEffect(Long n) const { root_.Write(RelativeEffectPath(n), Wav(FramesOf(n))); }
    void RemoveEffect(Long n) const {
        std::filesystem::remove(root_.Path() / RelativeEffectPath(n));
    }

    testing::TempDataRoot root_;
    platform::ManualClock clock_;
};

TEST(SoundEffectPath, TwoDigitsInTheSoundFolder) {
    EXPECT_EQ(SoundEffectPath(5), "\\data\\sound\\zio1x05.wav");
    EXPECT_EQ(SoundEffectPath(0), "\\data\\sound\\zio1x00.wav");
    EXPECT_EQ(SoundEffectPath(74), "\\data\\sound\\zio1x74.wav");
    EXPECT_EQ(SoundEffectPath(99), "\\data\\sound\\zio1x99.wav");
}

TEST_F(SoundEffectsTest, AnEffectIsLoadedOnceAndKept) {
    ASSERT_TRUE(framework::SoundIsStarted());
    WriteEffect(5);
    SoundEffectTable table(clock_);
    auto first = table.Get(5);
    ASSERT_NE(first->WaveLoaded, kFalse);
    EXPECT_EQ(first->WaveBlocks(), FramesOf(5));
    EXPECT_NE(first->Buffer(), nullptr);
    EXPECT_EQ(first->CapabilityFlags() & 0xC0, 0xC0);
    // With the file gone, only a kept player can still sound.
    RemoveEffect(5);
    auto second = table.Get(5);
    EXPECT_EQ(second.get(), first.get());
    EXPECT_NE(second->WaveLoaded, kFalse);
    EXPECT_EQ(table.Slot(5), first.get());
}

TEST_F(SoundEffectsTest, OnlyNumbersZeroTo99AreKept) {
    WriteEffect(99);
    SoundEffectTable table(clock_);
    auto last = table.Get(99);
    EXPECT_EQ(table.Slot(99), last.get());
    EXPECT_EQ(last->WaveBlocks(), FramesOf(99));
    for (Long n : {100L, -1L, 1000L}) {
        auto a = table.Get(n);
        auto b = table.Get(n);
        ASSERT_NE(a, nullptr);
        EXPECT_NE(a.get(), b.get()) << n;
        EXPECT_EQ(a->WaveLoaded, kFalse) << n;
        EXPECT_EQ(a->Buffer(), nullptr) << n;
        a->PlaySE(1.0f, 0.0f, 0.0f);  // silent, harmless
    }
    for (Long n = 0; n < 99; ++n) EXPECT_EQ(table.Slot(n), nullptr) << n;
}

TEST_F(SoundEffectsTest, AMissingFileStaysSilentAndIsNotTriedAgain) {
    SoundEffectTable table(clock_);
    auto silent = table.Get(7);
    EXPECT_EQ(silent->WaveLoaded, kFalse);
    EXPECT_EQ(table.Slot(7), silent.get());
    WriteEffect(7);
    auto again = table.Get(7);
    EXPECT_EQ(again.get(), silent.get());
    EXPECT_EQ(again->WaveLoaded, kFalse);
    silent->PlaySE(1.0f, 0.0f, 0.0f);
    EXPECT_FALSE(silent->GetState());
}

TEST_F(SoundEffectsTest, ClearEmptiesEverySlotAndTheNextUseLoadsAgain) {
    WriteEffect(12);
    SoundEffectTable table(clock_);
    auto before = table.Get(12);
    table.Get(40);
    table.Clear();
    for (Long n = 0; n < kSoundEffectCount; ++n) EXPECT_EQ(table.Slot(n), nullptr) << n;
    auto after = table.Get(12);
    EXPECT_NE(after.get(), before.get());
    EXPECT_NE(after->WaveLoaded, kFalse);
}

// A clock that moves `step` ms every time it is read.
class TickingClock final : public platform::Clock {
public:
    TickingClock(platform::Millis start, std::uint32_t step) : now_(start), step_(step) {}
    platform::Millis NowMs() override {
        const platform::Millis t = now_;
        now_ += step_;
        return t;
    }
    std::uint64_t NowMicros() override { return std::uint64_t{now_} * 1000; }
    void SleepMs(std::uint32_t ms) override { now_ += ms; }

private:
    platform::Millis now_;
    std::uint32_t step_;
};

struct PreloadCase {
    const char* name;
    platform::Millis start;
    std::uint32_t step;
    Long budget;
    std::size_t loaded;  // a prefix of the preload list
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const PreloadCase& c, std::ostream* os) {
    *os << c.name;
}

class PreloadTest : public ::testing::TestWithParam<PreloadCase> {};

TEST_P(PreloadTest, LoadsAPrefixOfTheListWithinTheBudget) {
    const PreloadCase& c = GetParam();
    testing::TempDataRoot root;  // no files: silent players, slots still fill
    TickingClock clock(c.start, c.step);
    SoundEffectTable table(clock);
    table.Preload(c.budget);
    for (std::size_t i = 0; i < kPreloadEffects.size(); ++i) {
        EXPECT_EQ(table.Slot(kPreloadEffects[i]) != nullptr, i < c.loaded)
            << c.name << ": list entry " << i << " (effect " << kPreloadEffects[i] << ")";
    }
    std::size_t filled = 0;
    for (Long n = 0; n < kSoundEffectCount; ++n) filled += table.Slot(n) != nullptr;
    EXPECT_EQ(filled, c.loaded) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Budgets, PreloadTest,
    ::testing::Values(
        // The clock moves 1 ms per read: start, then one read after each effect.
        PreloadCase{"budget 0 loads only the first", 1000, 1, 0, 1},
        PreloadCase{"budget 2 loads three", 1000, 1, 2, 3},
        PreloadCase{"budget 20 loads 21", 1000, 1, 20, 21},
        PreloadCase{"a large budget loads all", 1000, 1, kMatchPreloadBudgetMs, 22},
        // Only a clock strictly past the deadline stops it.
        PreloadCase{"a still clock never passes", 1000, 0, 0, 22},
        PreloadCase{"one effect overruns the budget", 1000, 7, 6, 1},
        PreloadCase{"ending exactly at the deadline goes on", 1000, 7, 7, 2},
        // The deadline wraps past 2^32 ms; a plain comparison would stop at once.
        PreloadCase{"across the wrap, large budget", 0xFFFFFFF0u, 1, 100, 22},
        PreloadCase{"across the wrap, budget 3", 0xFFFFFFFEu, 1, 3, 4}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(Preload, TheListIsTheMatchList) {
    const std::vector<Long> want = {74, 8, 21, 43, 57, 25, 22, 14, 65, 13, 26,
                                    45, 2, 1,  10, 56, 9,  48, 71, 72, 53, 49};
    EXPECT_EQ(std::vector<Long>(kPreloadEffects.begin(), kPreloadEffects.end()), want);
}

struct MenuSoundCase {
    const char* name;
    void (*play)(SoundEffectTable&);
    std::vector<std::pair<Long, Single>> effects;  // effect, volume of its last play
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const MenuSoundCase& c, std::ostream* os) {
    *os << c.name;
}

class MenuSoundTest : public SoundEffectsTest,
                      public ::testing::WithParamInterface<MenuSoundCase> {};

// The device volume a player of effect n reaches when played at `volume`.
std::int32_t DeviceVolumeFor(Long n, Single volume) {
    CmsWAV reference;
    reference.Load(SoundEffectPath(n));
    reference.BufferCreate(0xC0);
    reference.BufferWrite();
    reference.PlaySE(volume, 0.0f, 0.0f);
    std::int32_t v = 1;
    if (reference.Buffer() != nullptr) reference.Buffer()->GetVolume(v);
    return v;
}

TEST_P(MenuSoundTest, PlaysItsEffectsAtTheirVolumes) {
    const MenuSoundCase& c = GetParam();
    for (Long n : {1L, 5L, 27L, 37L, 39L, 40L}) WriteEffect(n);
    SoundEffectTable table(clock_);
    c.play(table);
    std::size_t filled = 0;
    for (Long n = 0; n < kSoundEffectCount; ++n) filled += table.Slot(n) != nullptr;
    EXPECT_EQ(filled, c.effects.size()) << c.name;
    for (const auto& [n, volume] : c.effects) {
        auto player = table.Get(n);
        ASSERT_NE(player->Buffer(), nullptr) << c.name << " effect " << n;
        EXPECT_EQ(player->WaveBlocks(), FramesOf(n)) << c.name;
        EXPECT_TRUE(player->GetState()) << c.name << " effect " << n << " not playing";
        std::int32_t v = 1;
        player->Buffer()->GetVolume(v);
        EXPECT_EQ(v, DeviceVolumeFor(n, volume)) << c.name << " effect " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Four, MenuSoundTest,
    ::testing::Values(MenuSoundCase{"Sound1", &PlayMenuSound1, {{5, 0.86f}, {40, 0.86f}}},
                      MenuSoundCase{"Sound2", &PlayMenuSound2, {{1, 0.7f}, {37, 0.65f}}},
                      MenuSoundCase{"Sound3", &PlayMenuSound3, {{27, 0.78f}, {37, 0.66f}}},
                      MenuSoundCase{"Sound4", &PlayMenuSound4, {{39, 0.71f}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SoundEffectsTest, VolumesOfTheMenuSoundsAreTellableApart) {
    // The volume check above means something only if nearby volumes differ
    // on the device.
    WriteEffect(37);
    EXPECT_NE(DeviceVolumeFor(37, 0.65f), DeviceVolumeFor(37, 0.66f));
    EXPECT_NE(DeviceVolumeFor(37, 0.86f), DeviceVolumeFor(37, 0.78f));
}

}  // namespace
}  // namespace brumil::sound
