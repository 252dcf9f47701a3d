// The battle's scene object, the stage's jobs and the drawing of one frame.
#include "battle/battle_scene.h"

#include <memory>

#include "battle/b_game.h"
#include "battle/character_overlays.h"
#include "battle/match_seams.h"
#include "battle/player_record.h"
#include "framework/display.h"
#include "framework/maxwell.h"
#include "render/admin_lib.h"
#include "render/ark.h"
#include "render/graphics.h"
#include "render/im_device.h"

namespace brumil::battle {
namespace {

// The logic steps due in this frame; one when no frame host paces the loop.
Long StepsDue() {
    const auto& host = framework::gMaxwell();
    return host ? host->GetFPSA() : 1;
}

}  // namespace

BattleScene& SceneOf(bGame& game) {
    if (!game.Scene) game.Scene = std::make_shared<BattleScene>(game);
    return *game.Scene;
}

core::CRect PaintViewport(const core::CRect& battleRect, Single drawScale) {
    core::CRect r = battleRect;
    r.ScaleSize(drawScale);
    return r;
}

void GameJob1_SystemInit_StageReset(bGame& game, Long stage) {
    SceneOf(game).Stage.Reset(stage);
}

void GameJob1_SystemInit_ColorSet(bGame&, Long stage) {
    for (Long p = 0; p < 2; ++p) {
        PlayerRecord& r = gPlayers()[static_cast<std::size_t>(p)];
        const std::array<Long, 2> colours = StageColorsOf(stage, p);
        r.StageColors[0] = colours[0];
        r.StageColors[1] = colours[1];
    }
}

void GameJob3_Frame_Stage(bGame& game) {
    SceneOf(game).Stage.FrameStep();
}

void DrawBackScreen(bGame& game) {
    if (!game.BackScreenDirty) return;
    game.BackScreenDirty = false;
    // Sizes are logical pixels: the blit stretches them by the drawing scale,
    // so the picture frames the viewport at every display size.
    if (game.BackScreen) {
        render::CGraphics& g = *game.BackScreen;
        g.DrawDDrawStretch(0, 0, g.Width(), g.Height(), 0, 0, g.Width(), g.Height(), false, false);
    }
    if (const auto& host = framework::gMaxwell()) host->RePaint();
}

void PaintMatchFrame(bGame& game) {
    BattleScene& scene = SceneOf(game);
    DrawBackScreen(game);
    render::CIMDevice& device = render::gIMDevice();
    if (!device.SceneBegin()) return;
    const core::CRect viewport = PaintViewport(game.BattleRect, framework::GetDrawScale());
    device.SceneViewPort(viewport.X, viewport.Y, viewport.Width, viewport.Height);
    render::gIMArk().SetViewPortRect(viewport);

    scene.Stage.Paint(StepsDue());

    auto& players = gPlayers();
    ShotPainter& painter = scene.Painter;
    painter.DrawThirdPool(players[1]);
    painter.DrawThirdPool(players[0]);
    DrawArtCircles(game, 1);
    DrawArtCircles(game, 0);
    DrawCharacter(game, 1);
    DrawCharacter(game, 0);
    painter.DrawSecondPool(players[1]);
    painter.DrawSecondPool(players[0]);
    painter.DrawMainPool(players[0], 2);
    painter.DrawMainPool(players[1], 0);
    painter.DrawMainPool(players[0], 1);
    DrawCharacterEffects(game, 1);
    DrawCharacterEffects(game, 0);

    DrawHud(game);
    device.SceneEnd();
    if (const auto& host = framework::gMaxwell()) host->Config().PaintRect.ExpandRect(viewport);
}

}  // namespace brumil::battle
