#pragma once
// The front end's job numbers: every screen and service outside the battle is
// one of these jobs on ApplicationConfig's list. The shell, the screens and the
// services all name them from here.

#include "core/vb_types.h"
#include "framework/job_list.h"

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

// Level select and character select, one pair per title mode (arcade, free
// fight, one player against another, network); each character select is its
// level select's number plus one.
inline constexpr Long kArcadeLevelJob = 12;
inline constexpr Long kArcadeCharaJob = 13;
inline constexpr Long kFreeFightLevelJob = 14;
inline constexpr Long kFreeFightCharaJob = 15;
inline constexpr Long kVersusLevelJob = 16;
inline constexpr Long kVersusCharaJob = 17;
inline constexpr Long kNetworkLevelJob = 18;
inline constexpr Long kNetworkCharaJob = 19;

// The job list's kinds, as the screens add their jobs with them.
using framework::kJobKindAlways;
using framework::kJobKindModal;
using framework::kJobKindNormal;

}  // namespace brumil::frontend
