#pragma once
// The parts of a match that their own files provide: the stage, the
// head-up display, the frame painter, the computer opponent and the network
// branches (battle/src/network_waits.cpp). The battle jobs call them by
// these names.

#include "core/vb_types.h"

namespace brumil::battle {

class bGame;

// Stage (made if needed, reset to the stage number), and the stage colours
// written into both player records.
void GameJob1_SystemInit_StageReset(bGame& game, Long stage);
void GameJob1_SystemInit_ColorSet(bGame& game, Long stage);
// One logic step of the stage (travel and music).
void GameJob3_Frame_Stage(bGame& game);

// The head-up display's sprites, made once at match start.
void SetUpHud(bGame& game);

// One drawn frame of the match (back screen, stage, shots, characters,
// overlays, head-up display), called by the paint job in steps where
// drawing is allowed.
void PaintMatchFrame(bGame& game);

// The computer opponent's flags for player i, handed to UpdateVKey (in
// battle/src/ai_input.cpp).
void InputFromAI(Long player);
// The peer's key bits for player i, handed to UpdateVKey.
void InputFromNetwork(Long player);

// Network match: one step of the network wait (job 1) and of the ready wait
// (job 3), with the job message; true when the wait is over. And the abort
// checks of job 2 in every step.
bool NetworkWaitStep(bGame& game, Long message);
bool NetworkReadyStep(bGame& game, Long message);
void NetworkAbortCheck(bGame& game);
// Network match end: the closing notice and phase 2.
void NetworkMatchEnd();

}  // namespace brumil::battle
