#pragma once
// Jobs 12, 14, 16 and 18, the level select of each title mode: fades in from
// the title's last frame, offers the computer's level (the two highest only
// when the progress record's unlock level allows them), writes the choice into
// the match options and opens the character select of the same mode (the
// job's number plus one) as a modal job. Cancel goes back to the title.

#include <string_view>

#include "core/vb_types.h"

namespace brumil::frontend {

class ApplicationConfig;

inline constexpr Long kLevelFadeSteps = 40;

// The background picture of a level select job; "" for other numbers.
std::string_view LevelBackground(Long job);
// How many levels an unlock level offers: 4, 5 with 5, 6 with 6 or more.
Long LevelItemCount(Long permit);
// The rows of "level.bmp" multiplied into the picture: the labels of the
// offered levels only (350, 415 or 480).
Long LevelLabelHeight(Long permit);
// The cursor colour of level item 0 to 5; -1 for others.
Long LevelCursorColour(Long item);

// The job procedure: messages 0 to 3.
void LevelSelectJob(ApplicationConfig& app, Long job, Long message, Long parameter);

// Paints the bar cursor under the current level, or removes it for item -1.
void DrawLevelCursor(ApplicationConfig& app);

}  // namespace brumil::frontend
