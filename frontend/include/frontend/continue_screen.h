#pragma once
// Job 21, the continue screen and match sequence, between the character
// select and the battle start. Outside the arcade it hands straight over to
// the match. In the arcade it draws the order of four computer opponents when
// it begins, starts each match against the next one, ends the run after the
// fourth (every screen above the title goes), and when the computer has won a
// match asks "コンティニューしますかー？": "No" ends the run, "Yes" goes on with
// the next opponent (the lost match is not played again).

#include "core/vb_types.h"

namespace brumil::frontend {

class ApplicationConfig;

inline constexpr Long kArcadeGameMode = 1;
inline constexpr Long kArcadeOpponents = 4;

// The job procedure: messages 0, 1 and 3.
void ContinueJob(ApplicationConfig& app, Long job, Long message, Long parameter);

// Paints the bar cursor under the current answer, or removes it.
void DrawContinueCursor(ApplicationConfig& app);

}  // namespace brumil::frontend
