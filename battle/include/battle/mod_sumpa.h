#pragma once
// The glue to the collision library: loading it at program start (with its
// version check) and unloading it at the end.

#include <functional>
#include <string_view>

#include "core/vb_types.h"

namespace brumil::battle {

// The library's life-cycle calls; tests put fakes here.
struct SumpaLibrary {
    std::function<Long()> LoadDLL;    // non-zero: loaded
    std::function<Long()> version;    // must answer kSumpaVersion
    std::function<Long()> UnloadDLL;  // releases one load
};

inline constexpr Long kSumpaVersion = 168;

// The linked-in collision library.
SumpaLibrary PlatformSumpaLibrary();

// Shows a start-up failure (text, title) and waits for the user.
using StartupFailureBox = std::function<void(std::string_view text, std::string_view title)>;
// A critical message box.
void ShowStartupFailureBox(std::string_view text, std::string_view title);

inline constexpr std::string_view kSumpaFailureTitle = "Brumil - 起動できません";

// Loads the library and checks its version. On failure shows the matching
// box titled kSumpaFailureTitle and answers false: the caller ends the
// program. A library of the wrong version is unloaded again before that.
bool SumpaLoad(const SumpaLibrary& library, const StartupFailureBox& show);
bool SumpaLoad();

// Releases the load taken by a successful SumpaLoad.
void SumpaUnload(const SumpaLibrary& library);
void SumpaUnload();

}  // namespace brumil::battle
