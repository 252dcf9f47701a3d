#pragma once
// Job 11, the title screen: fades in from the previous screen's last frame
// over the picture "start" to the finished title picture, then offers five
// items. Items 0 to 3 set the title mode and the match's game mode and open
// that mode's level select as a modal job; item 4 ends the program. Back from
// the level select it rebuilds itself and fades in for 20 steps from the
// closed screen, with the cursor on the mode chosen last.

#include <array>

#include "core/vb_types.h"

namespace brumil::frontend {

class ApplicationConfig;

inline constexpr Long kTitleFirstFadeSteps = 50;
inline constexpr Long kTitleFadeSteps = 80;
inline constexpr Long kTitleReturnFadeSteps = 20;
inline constexpr Long kTitleEndItem = 4;

// What choosing title item 0 to 3 sets: the title mode, the game mode (the
// free fight's is 3 when only the second player's controls chose it) and the
// level select it opens.
struct TitleChoice {
    Long titleMode;
    Long gameMode;
    Long gameModeBySecondPlayer;
    Long nextJob;
};
const std::array<TitleChoice, 4>& TitleChoices();

// The job procedure: messages 0 (step), 1 (begin), 2 (end), 3 (active again).
void TitleJob(ApplicationConfig& app, Long job, Long message, Long parameter);

// Paints the bar cursor under the current item, or removes it for item -1.
void DrawTitleCursor(ApplicationConfig& app);

}  // namespace brumil::frontend
