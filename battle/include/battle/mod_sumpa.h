#pragma once
// The glue to the collision library: loading it at program start (with its
// version check and the registration of the kind procedures), resetting it
// for a match and unloading it at the end.

#include <functional>
#include <string_view>

#include "battle/kind_table.h"
#include "core/vb_types.h"

namespace brumil::battle {

// The library's calls used here; tests put fakes in their place.
struct SumpaLibrary {
    std::function<Long()> LoadDLL;    // non-zero: loaded
    std::function<Long()> version;    // must answer kSumpaVersion
    std::function<Long()> UnloadDLL;  // releases one load
    std::function<Long()> Upkeep;     // registration generation; a change: register again
    std::function<Long(Long id, KindProcedure procedure)> Connect;  // 0: not registered
};

inline constexpr Long kSumpaVersion = 168;

// The linked-in collision library.
SumpaLibrary PlatformSumpaLibrary();

// Shows a start-up failure (text, title) and waits for the user.
using StartupFailureBox = std::function<void(std::string_view text, std::string_view title)>;
// A critical message box.
void ShowStartupFailureBox(std::string_view text, std::string_view title);

// Shows a notice (text only, OK button) and waits for the user.
using NoticeBox = std::function<void(std::string_view text)>;
// An OK-only message box.
void ShowNoticeBox(std::string_view text);

inline constexpr std::string_view kSumpaFailureTitle = "Brumil - 起動できません";
inline constexpr std::string_view kCallbackFailureText = "コールバック関数を登録できません";

// What the registration remembers for the run: the last Upkeep value
// (0 at start) and whether the failure notice was shown.
struct SumpaRegistration {
    Long upkeep = 0;
    bool failureShown = false;
};
// The run's registration state.
SumpaRegistration& gSumpaRegistration();

// Connects one id; on failure shows kCallbackFailureText the first time in
// the run only. True when connected.
bool RegisterSumpaCallback(const SumpaLibrary& library, SumpaRegistration& state,
                           const NoticeBox& show, Long id, KindProcedure procedure);

// When Upkeep differs from the stored value: store it and connect ids 8 to 67
// in order with their procedures from KindProcedures() (none yet: nullptr),
// then id 8 three more times.
void SumpaUpkeep(const SumpaLibrary& library, SumpaRegistration& state, const NoticeBox& show);
void SumpaUpkeep();

// Loads the library and checks its version. On failure shows the matching
// box titled kSumpaFailureTitle and answers false: the caller ends the
// program. A library of the wrong version is unloaded again before that.
// On success runs SumpaUpkeep.
bool SumpaLoad(const SumpaLibrary& library, const StartupFailureBox& show, SumpaRegistration& state,
               const NoticeBox& notice);
bool SumpaLoad();

// Resets the library for a new match with the time in milliseconds.
void SumpaReset(Long timeMs);

// Releases the load taken by a successful SumpaLoad.
void SumpaUnload(const SumpaLibrary& library);
void SumpaUnload();

}  // namespace brumil::battle
