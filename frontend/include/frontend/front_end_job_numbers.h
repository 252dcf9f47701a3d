#pragma once
// The front end's job numbers that other parts name: the network jobs, the
// screens from the title to a match, and the job kinds they are added with.
// The service jobs' numbers live beside their procedures (service_jobs.h).

#include "core/vb_types.h"

namespace brumil::frontend {

inline constexpr Long kNetworkSetupJob = 3;
inline constexpr Long kNetworkLinkJob = 4;

inline constexpr Long kTitleJob = 11;
// Level select and character select, one pair per title mode; each character
// select is its level select's number plus one.
inline constexpr Long kArcadeLevelJob = 12;
inline constexpr Long kArcadeCharaJob = 13;
inline constexpr Long kFreeFightLevelJob = 14;
inline constexpr Long kFreeFightCharaJob = 15;
inline constexpr Long kVersusLevelJob = 16;
inline constexpr Long kVersusCharaJob = 17;
inline constexpr Long kNetworkLevelJob = 18;
inline constexpr Long kNetworkCharaJob = 19;
inline constexpr Long kBattleStartJob = 20;
inline constexpr Long kMatchSequenceJob = 21;

// Job kinds of the job list: normal, modal (suspends everything below), always.
inline constexpr Long kJobKindNormal = 0;
inline constexpr Long kJobKindModal = 1;
inline constexpr Long kJobKindAlways = 2;

}  // namespace brumil::frontend
