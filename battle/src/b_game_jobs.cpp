// The battle jobs: waits, match start and end, paint, input, counters and
// the frame step.
#include <string>

#include "battle/b_game.h"
#include "battle/frame_step.h"
#include "battle/input_sources.h"
#include "battle/match_results.h"
#include "battle/match_seams.h"
#include "battle/mod_sumpa.h"
#include "battle/player_reset.h"
#include "battle/shot_patterns.h"
#include "core/api.h"
#include "framework/display.h"
#include "framework/maxwell.h"
#include "framework/splib.h"
#include "render/graphics.h"
#include "sound/bgm.h"
#include "sound/sound_effects.h"

namespace brumil::battle {
namespace {

constexpr Long kKindNormal = 0;
constexpr Long kMusicFadeAt = 120;
constexpr Long kEndAfter = 240;
constexpr Long kMusicFadeMs = 2000;
constexpr int kVideoCacheTries = 10;
constexpr std::string_view kBackScreenPath = "\\data\\TheBackScreen.bmp";

}  // namespace

bool bGame::IsNetworkMatch() {
    return gd().PlayerType(0) == kTypeNetwork || gd().PlayerType(1) == kTypeNetwork;
}

// Job 1: outside a network match the wait ends in its first step.
void bGame::NetworkWaitJob(Long message) {
    const bool network = IsNetworkMatch();
    if (message == 1) {
        if (network) NetworkWaitStep(*this, message);
        return;
    }
    if (message != 0) return;
    if (network && !NetworkWaitStep(*this, message)) return;
    Jobs.Remove(JobKey(1));
    Jobs.Add(JobKey(2), kKindNormal);
}

void bGame::MatchJob(Long message) {
    switch (message) {
        case 0:
            if (IsNetworkMatch()) NetworkAbortCheck(*this);
            break;
        case 1:
            MatchStart();
            break;
        case 2:
            MatchEnd();
            break;
        default:
            break;
    }
}

// Job 3: outside a network match the wait ends in its first step; then the
// four jobs of the running match start in the order they run.
void bGame::ReadyWaitJob(Long message) {
    const bool network = IsNetworkMatch();
    if (message == 1) {
        if (network) NetworkReadyStep(*this, message);
        return;
    }
    if (message != 0) return;
    if (network && !NetworkReadyStep(*this, message)) return;
    Jobs.Remove(JobKey(3));
    for (Long job : {5, 6, 7, 4}) Jobs.Add(JobKey(job), kKindNormal);
}

void bGame::MatchStart() {
    // Once per match: a second start while the match holds the input changes
    // nothing.
    if (keepState_) return;
    KeepState(true);
    SumpaReset(static_cast<Long>(clock_.NowMs()));
    Winner = -1;
    FrameCount = 0;
    EndCount = 0;
    Serial = 1;
    ArtActive = 0;
    WaitCount = 0;
    TurnedInputStep = UINT64_MAX;
    const BGameOption& options = gd();
    GameJob1_SystemInit_StageReset(*this, options.StageNumber);
    SetUpHud(*this);
    PlayerReset(options, 0);
    PlayerReset(options, 1);
    GameJob1_SystemInit_ColorSet(*this, options.StageNumber);

    // Loaded without an error text: a missing or damaged picture leaves the
    // frame empty instead of asking the player mid-match.
    BackScreen = std::make_shared<render::CGraphics>();
    BackScreen->UseSystemMemory = true;
    BackScreen->Load(kBackScreenPath);

    const Long limit = framework::GetTextureLimit();
    for (int i = 0; i < kVideoCacheTries; ++i) {
        framework::gSpLib().DirectDrawVideoMemoryCash();
        if (framework::GetTextureLimit() == limit) break;
    }
    sound::PreloadSoundEffects(sound::kMatchPreloadBudgetMs);
    Jobs.Add(JobKey(3), kKindNormal);
}

void bGame::MatchEnd() {
    if (IsNetworkMatch()) NetworkMatchEnd();
    KeepState(false);
    const BGameOption& options = gd();
    const std::string date = core::gApi().GetTimeWideYearMD(true, "/", true, "/", true, "");
    RecordHighScore(options, gPlayers()[0].Score, date, gSystemSave());
    RecordWins(options, Winner, gSystemSave());
    if (ResultsRecorded) ResultsRecorded();
}

void bGame::PaintJob(Long message) {
    if (message == 1 || message == 5) {
        BackScreenDirty = true;
        return;
    }
    if (message != 0) return;
    const Long level = framework::GetRenderLevel();
    if (level != DrawnRenderLevel) {
        DrawnRenderLevel = level;
        BackScreenDirty = true;
    }
    // Without a frame host there is nothing to draw on (a headless match).
    const auto& host = framework::gMaxwell();
    if (!host || host->Config().PaintDisable) return;
    PaintMatchFrame(*this);
}

void bGame::InputJobStep() {
    InputJob(*this);
}

void bGame::CounterJob() {
    if (WaitCount != 0) {
        --WaitCount;
    } else {
        ++FrameCount;
        if (EndCount != 0) {
            ++EndCount;
            if (EndCount == kMusicFadeAt) {
                if (auto& music = sound::gBGM()) {
                    music->Config.VolumeFadeTime = kMusicFadeMs;
                    music->Config.Volume = 0.0f;
                }
            }
            if (EndCount > kEndAfter && FrontEnd.EndMatch) FrontEnd.EndMatch();
        }
    }
    if (WaitCount != 0) return;
    const auto& keys = framework::VKey();
    PlayerFrameUpdate(*this, 0, keys[0]);
    PlayerFrameUpdate(*this, 1, keys[1]);
}

void bGame::FrameStepJob() {
    if (WaitCount != 0) return;
    auto& players = gPlayers();
    const BGameOption& options = gd();
    GameJob3_Frame_Stage(*this);
    ShotListMove(0);
    ShotListMove(1);
    ShotHitOpponent(options, players[0], players[1]);
    ShotHitOpponent(options, players[1], players[0]);
    const PatternRunner run = RunShotPattern;
    PlayerShotsVersus(*this, players[0], players[1], run);
    PlayerShotsVersus(*this, players[1], players[0], run);
}

}  // namespace brumil::battle
