#pragma once
// What the battle's painters keep between frames, owned by the battle object
// (bGame::Scene): the stage, the head-up display's sprites and the shot
// painters' work arrays. And the drawing of one frame of a match, in one
// Direct3D scene restricted to the battle viewport:
//
//   back screen (only when marked dirty), stage, third pools, art circles,
//   characters, second pools, main pools (player 0 below the split line,
//   player 1, player 0 above it), character effects, head-up display.
//
// Each painter draws player 1 before player 0.

#include "battle/b_game_stage.h"
#include "battle/hud_layout.h"
#include "battle/shot_painter.h"
#include "core/rect.h"
#include "core/vb_types.h"

namespace brumil::battle {

class bGame;

struct BattleScene {
    explicit BattleScene(const bGame& game) : Painter(game) {}
    BGameStage Stage;
    HudSprites Hud;
    ShotPainter Painter;
};

// The battle object's scene, made on first use.
BattleScene& SceneOf(bGame& game);

// The battle viewport in back-buffer pixels at a drawing scale.
core::CRect PaintViewport(const core::CRect& battleRect, Single drawScale);

// The head-up display's state of this frame, from the run's players, the
// match options and the battle's counters; fps is the frame host's rate.
HudState HudStateOf(bGame& game, Long fps);

// One HUD quad through DrawHudSprite or DrawHudSpriteRect.
void DrawHudItem(const HudDraw& draw);
// The whole display of this frame.
void DrawHud(bGame& game);

// The back screen, when marked dirty: blitted at the drawing scale, then the
// frame host is asked to present the whole screen.
void DrawBackScreen(bGame& game);

}  // namespace brumil::battle
