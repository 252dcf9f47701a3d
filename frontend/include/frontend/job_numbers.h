#pragma once
// The front end's job numbers: every screen and service outside the battle is
// one of these jobs on ApplicationConfig's list. The shell, the screens and the
// services all name them from here.

#include "core/vb_types.h"

namespace brumil::frontend {

inline constexpr Long kKeySetupJob = 1;        // key set-up screen, the first screen
inline constexpr Long kMenuTickerJob = 2;      // keeps the window menu current
inline constexpr Long kNetworkSetupJob = 3;    // network set-up window
inline constexpr Long kNetworkLinkJob = 4;     // network battle link and log panel
inline constexpr Long kKeyDialogJob = 5;       // key configuration dialog
inline constexpr Long kGraphicsDialogJob = 6;  // graphics settings dialog
inline constexpr Long kEmptyJob = 7;           // ignores every message
inline constexpr Long kClosingJob = 8;         // closing transition
inline constexpr Long kApplyGraphicsJob = 9;   // re-runs the display start-up
inline constexpr Long kLogoJob = 10;           // logo sequence
inline constexpr Long kTitleJob = 11;          // title screen
inline constexpr Long kBattleStartJob = 20;    // the front end's hold on a match
inline constexpr Long kMatchSequenceJob = 21;  // match sequence and continue screen
inline constexpr Long kTimingReportJob = 22;   // development mode only; never runs

// The title modes 1 to 4 (arcade, free fight, one player against another,
// network) each have a level select (12, 14, 16, 18) and a character select
// (13, 15, 17, 19).
inline constexpr Long kTitleModes = 4;
constexpr Long LevelSelectJob(Long titleMode) {
    return 10 + 2 * titleMode;
}
constexpr Long CharaSelectJob(Long titleMode) {
    return 11 + 2 * titleMode;
}

}  // namespace brumil::frontend
