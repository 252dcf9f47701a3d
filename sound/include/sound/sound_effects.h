#pragma once
// The sound-effect table: effects 0 to 99, each loaded from
// "\data\sound\zio1x" + two digits + ".wav" the first time it is asked for
// and kept, with its device buffer, until ClearSoundEffects. A preload fills
// a fixed list within a time budget before a match, so a match never reads
// files while it runs; the four menu sounds play fixed effects.
//
// A file that fails to load leaves a silent player in its slot; it is not
// tried again during the run. Numbers outside 0..99 give a fresh silent
// player that the table does not keep.

#include <array>
#include <memory>
#include <string>

#include "core/vb_types.h"
#include "platform/base/clock.h"
#include "sound/ms_wav.h"

namespace brumil::sound {

inline constexpr Long kSoundEffectCount = 100;
// The effects a match needs first, in loading order.
inline constexpr std::array<Long, 22> kPreloadEffects = {74, 8, 21, 43, 57, 25, 22, 14, 65, 13, 26,
                                                         45, 2, 1,  10, 56, 9,  48, 71, 72, 53, 49};
// The budget the battle gives the preload before a match, in milliseconds.
inline constexpr Long kMatchPreloadBudgetMs = 5000;

// "\data\sound\zio1x05.wav" for 5.
std::string SoundEffectPath(Long n);

class SoundEffectTable {
public:
    // The clock bounds the preload (read at its start and after each effect).
    explicit SoundEffectTable(platform::Clock& clock = platform::SystemClock());

    // The player of effect n, loaded on first use (Load, FormatCheck, a
    // buffer with pan and volume control, BufferWrite).
    std::shared_ptr<CmsWAV> Get(Long n);
    // The slot's player, or nothing while the slot is empty (no loading).
    const CmsWAV* Slot(Long n) const;

    // Loads effects of kPreloadEffects in order, each stopped after loading,
    // until the clock has passed start + budget: the first effect is always
    // loaded, and the preload stops after the first one that ends past the
    // deadline.
    void Preload(Long budgetMs);

    // Empties every slot; the players are released.
    void Clear();

    // Plays effect n from the start at the volume, centre pan, own tempo.
    void Play(Long n, Single volume);

private:
    platform::Clock& clock_;
    std::array<std::shared_ptr<CmsWAV>, kSoundEffectCount> slots_;
};

// The table the game uses (the system clock), made on first use.
SoundEffectTable& gSoundEffects();

std::shared_ptr<CmsWAV> GetSoundEffect(Long n);
void PreloadSoundEffects(Long budgetMs);
void ClearSoundEffects();

// The menu sounds on a table (the four below use gSoundEffects()):
//   1: effect 5 at 0.86, then 40 at 0.86   (confirm)
//   2: effect 1 at 0.7, then 37 at 0.65
//   3: effect 27 at 0.78, then 37 at 0.66
//   4: effect 39 at 0.71
void PlayMenuSound1(SoundEffectTable& table);
void PlayMenuSound2(SoundEffectTable& table);
void PlayMenuSound3(SoundEffectTable& table);
void PlayMenuSound4(SoundEffectTable& table);
void PlayMenuSound1();
void PlayMenuSound2();
void PlayMenuSound3();
void PlayMenuSound4();

}  // namespace brumil::sound
