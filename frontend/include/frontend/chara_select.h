#pragma once
// Jobs 13, 15, 17 and 19, the character select of each title mode. Each
// player moves a cursor over nine slots (eight characters and a random pick);
// each side shows the slot's portrait, name and description. The picks go
// into the match options; when they are complete the screen shows a loading
// notice and opens the match sequence (job 21) as a modal job.
//
//   13 arcade      one cursor, first player's controls, slots 0, 1 and 6 only
//   15 free fight  the first player picks his character, then the computer's
//   17 versus      both players at once, each with his own controls
//   19 network     one cursor, first player's controls
//
// Cancel undoes the player's own pick, or with nothing picked goes back to
// the level select; a right click goes back at once.

#include "core/vb_types.h"

namespace brumil::frontend {

class ApplicationConfig;

inline constexpr Long kCharaSlotCount = 9;
inline constexpr Long kCharaRandomSlot = 8;
// The slide-in of the bottom strip: pixels per step, and its height.
inline constexpr Long kCharaSlideStep = 4;
inline constexpr Long kCharaStripHeight = 120;

// Whether a slot can be chosen in a character select job (the arcade offers
// slots 0, 1 and 6 only).
bool CharaSlotOffered(Long job, Long slot);

// The job procedure: messages 0 to 3.
void CharaSelectJob(ApplicationConfig& app, Long job, Long message, Long parameter);

}  // namespace brumil::frontend
