#include "frontend/battle_start.h"

#include "battle/b_game.h"
#include "core/api.h"
#include "frontend/application_config.h"
#include "frontend/continue_screen.h"
#include "frontend/job_numbers.h"
#include "frontend/network_jobs.h"
#include "frontend/screen_host.h"
#include "frontend/service_jobs.h"
#include "sound/audio36.h"
#include "sound/bgm.h"

namespace brumil::frontend {
namespace {

constexpr Long kBattleFirstJob = 1;
constexpr Long kBattlePaintJob = 4;

void Begin(ApplicationConfig& app, ScreenHost& host, battle::bGame& game) {
    game.FrontEnd.EndMatch = [&app] { app.Job().Remove(ApplicationConfig::Key(kBattleStartJob)); };
    game.FrontEnd.OpenNetworkSetup = [&app] {
        app.Job().Add(ApplicationConfig::Key(kNetworkSetupJob), kJobKindModal);
    };
    game.FrontEnd.JoinedNetworkSession = [&app] {
        const NetworkDialog* dialog =
            app.ServiceHost != nullptr ? app.ServiceHost->NetworkSetup(false) : nullptr;
        return dialog != nullptr && !dialog->IsHost();
    };
    app.State.BattleHeldInput = false;
    game.Jobs.Add(battle::bGame::JobKey(kBattleFirstJob), kJobKindNormal);
    host.SetTextureSearchPaths();
    battle::BGameOption& options = game.gd();
    Long id = 0;
    if (options.GameMode == kArcadeGameMode) {
        id = options.CharaID(1);
    } else {
        const Long side = core::gApi().Rnd(0, 1);
        id = options.CharaID(side);
    }
    const Long stage = StageOfChara(id);
    if (stage >= 0) options.StageNumber = stage;
}

void End(ScreenHost& host, battle::bGame& game) {
    // Every battle job hears its end now, so the match end records the
    // results and gives the input back before anything else runs.
    game.Jobs.Destroy();
    game.Jobs.Poll();
    game.FrontEnd = battle::BattleFrontEndHooks{};
    host.SetTextureSearchPaths();
    if (auto& music = sound::gBGM()) music->Pose();
}

}  // namespace

Long StageOfChara(Long id) {
    switch (id) {
        case 1:
        case 6:
            return 0;
        case 2:
            return 1;
        case 3:
        case 5:
            return 2;
        case 4:
            return 3;
        case 7:
        case 8:
            return 6;
        default:
            return -1;
    }
}

void BattleStartJob(ApplicationConfig& app, Long, Long message, Long) {
    auto& game = battle::gGame();
    if (app.Screens == nullptr || !game) return;
    switch (message) {
        case framework::kJobMessageBegin:
            Begin(app, *app.Screens, *game);
            break;
        case framework::kJobMessageStep:
            game->Jobs.Poll();
            break;
        case framework::kJobMessageEnd:
            End(*app.Screens, *game);
            break;
        case framework::kJobMessageActivated:
            if (app.State.BattleHeldInput) game->KeepState(true);
            app.State.BattleHeldInput = false;
            game->Jobs.SendMessage(battle::bGame::JobKey(kBattlePaintJob), 0);
            break;
        case framework::kJobMessageSuspended:
            // Before the match start the battle holds nothing: handing back
            // records then would give it stale ones and mark the match as
            // started, so its start would never run.
            app.State.BattleHeldInput = game->KeepStateFlag();
            if (app.State.BattleHeldInput) game->KeepState(false);
            break;
        default:
            break;
    }
}

}  // namespace brumil::frontend
