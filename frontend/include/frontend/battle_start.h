#pragma once
// Job 20, the battle start: the front end's hold on a running match. When it
// begins it hands the battle the two ways back to the front end, registers
// battle job 1 on the battle's own job list, resets the texture cache and
// chooses the stage; then it polls the battle's list once per logic step. The
// battle ends a match by removing this job, whose end shuts the battle's jobs
// down (they hear their end messages in the same step) and stops the music.
// A modal job above it (a dialog) suspends the match and gives the battle's
// input records back when it closes.

#include "core/vb_types.h"

namespace brumil::frontend {

class ApplicationConfig;

// The stage of a character id: 1, 6 -> 0; 2 -> 1; 3, 5 -> 2; 4 -> 3; 7, 8 ->
// 6; -1 for any other id (the stage number stays as it was).
Long StageOfChara(Long id);

// The job procedure: messages 0 to 4.
void BattleStartJob(ApplicationConfig& app, Long job, Long message, Long parameter);

}  // namespace brumil::frontend
