#include "sound/sound_effects.h"

#include <algorithm>

#include "framework/splib.h"

namespace brumil::sound {

namespace {

// Pan and volume control: what the effects are played with.
constexpr Long kEffectBufferFlags = 0xC0;

bool InTable(Long n) {
    return n >= 0 && n < kSoundEffectCount;
}

}  // namespace

std::string SoundEffectPath(Long n) {
    // Two digits written by hand: a padded std::string insert trips a false
    // -Wrestrict in optimised builds.
    const Long k = std::clamp<Long>(n, 0, 99);
    std::string path = "\\data\\sound\\zio1x";
    path += static_cast<char>('0' + k / 10);
    path += static_cast<char>('0' + k % 10);
    return path + ".wav";
}

SoundEffectTable::SoundEffectTable(platform::Clock& clock) : clock_(clock) {}

std::shared_ptr<CmsWAV> SoundEffectTable::Get(Long n) {
    if (!InTable(n)) return std::make_shared<CmsWAV>();
    auto& slot = slots_[static_cast<std::size_t>(n)];
    if (!slot) {
        // The slot is filled before loading, so a failed load is not retried.
        slot = std::make_shared<CmsWAV>();
        slot->Load(SoundEffectPath(n));
        slot->FormatCheck();
        slot->BufferCreate(kEffectBufferFlags);
        slot->BufferWrite();
    }
    return slot;
}

const CmsWAV* SoundEffectTable::Slot(Long n) const {
    return InTable(n) ? slots_[static_cast<std::size_t>(n)].get() : nullptr;
}

void SoundEffectTable::Preload(Long budgetMs) {
    const platform::Millis deadline =
        platform::DeadlineAfter(clock_.NowMs(), static_cast<std::uint32_t>(budgetMs));
    for (Long n : kPreloadEffects) {
        Get(std::clamp<Long>(n, 0, 99))->Pose();
        // Strictly past the deadline, measured across the 32-bit wrap.
        if (platform::MsSince(clock_.NowMs(), deadline) > 0) break;
    }
}

void SoundEffectTable::Clear() {
    for (auto& slot : slots_) slot.reset();
}

void SoundEffectTable::Play(Long n, Single volume) {
    Get(n)->PlaySE(volume, 0.0f, 0.0f);
}

SoundEffectTable& gSoundEffects() {
    // The players leave the framework root's listeners when they go, so the
    // root must outlive the table: make it first.
    framework::gSpLib();
    static SoundEffectTable table;
    return table;
}

std::shared_ptr<CmsWAV> GetSoundEffect(Long n) {
    return gSoundEffects().Get(n);
}
void PreloadSoundEffects(Long budgetMs) {
    gSoundEffects().Preload(budgetMs);
}
void ClearSoundEffects() {
    gSoundEffects().Clear();
}

void PlayMenuSound1(SoundEffectTable& table) {
    table.Play(5, 0.86f);
    table.Play(40, 0.86f);
}
void PlayMenuSound2(SoundEffectTable& table) {
    table.Play(1, 0.7f);
    table.Play(37, 0.65f);
}
void PlayMenuSound3(SoundEffectTable& table) {
    table.Play(27, 0.78f);
    table.Play(37, 0.66f);
}
void PlayMenuSound4(SoundEffectTable& table) {
    table.Play(39, 0.71f);
}
void PlayMenuSound1() {
    PlayMenuSound1(gSoundEffects());
}
void PlayMenuSound2() {
    PlayMenuSound2(gSoundEffects());
}
void PlayMenuSound3() {
    PlayMenuSound3(gSoundEffects());
}
void PlayMenuSound4() {
    PlayMenuSound4(gSoundEffects());
}

}  // namespace brumil::sound
