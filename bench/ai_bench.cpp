// One decision of the computer opponent at its highest level with the
// opponent's main pool full: the look-ahead copies 200 threats and the
// 140-record second pool and runs them 60 frames. Both players may be
// computers in each of up to six logic steps per drawn frame.
#include <benchmark/benchmark.h>

#include <memory>

#include "battle/ai_threats.h"
#include "battle/b_game.h"
#include "battle/match_seams.h"
#include "battle/player_record.h"
#include "platform/base/clock.h"

namespace {

using namespace brumil;

// A match of two computers at level 6, past its waits and its start.
void StartMatch(platform::ManualClock& clock) {
    auto& game = battle::gGame();
    game = std::make_unique<battle::bGame>(clock);
    game->gd().GameMode = 5;
    game->gd().AILevel = 6;
    game->gd().CharaID(0, 1);
    game->gd().CharaID(1, 4);
    game->Jobs.Add(battle::bGame::JobKey(1), 0);
    for (int i = 0; i < 4; ++i) game->Jobs.Poll();
}

void EndMatch() {
    auto& game = battle::gGame();
    game->Jobs.Destroy();
    game->Jobs.Poll();
    game.reset();
}

// Player 1's 800 main-pool shots circling in small rings inside player 0's
// threat window but over 200 pixels above it, and 140 second-pool bands
// standing further up: all threats, none of them a hit within 60 frames.
void FillOpponentPools() {
    battle::PlayerRecord& q = battle::gPlayers()[1];
    for (Long i = 0; i < battle::kMainPoolSize; ++i) {
        battle::ShotRecord& s = q.Shots[static_cast<std::size_t>(i)];
        s = battle::ShotRecord{};
        s.State = 1;
        s.Size = 18;
        s.Scale = 256;
        s.X = (100 + (i % 40) * 11) * 256;
        s.Y = (60 + (i / 40) * 4) * 256;
        s.Speed = 256;
        s.Angle = (i * 97) % 4096;
        s.MotionA = 40;
    }
    for (Long i = 0; i < battle::kSecondPoolSize; ++i) {
        battle::ShotRecord& s = q.Shots[static_cast<std::size_t>(battle::kSecondPoolStart + i)];
        s = battle::ShotRecord{};
        s.State = 1;
        s.Size = 16;
        s.Scale = 256;
        s.X = (60 + (i % 35) * 15) * 256;
        s.Y = (30 + (i / 35) * 5) * 256;
        s.HitB = 8 * 256;
        s.HitC = 24 * 256;
        s.ScaleX = 128;
        s.ScaleY = 128;
    }
}

void BM_AiDecisionApocalypse(benchmark::State& state) {
    platform::ManualClock clock;
    StartMatch(clock);
    FillOpponentPools();
    battle::PlayerRecord& p = battle::gPlayers()[0];
    battle::AiScanThreats(0, p, battle::gPlayers()[1]);
    const Long scanned = p.AiScanCount;
    Long clearPaths = 0;
    for (auto _ : state) {
        // The look-ahead state at the head of the list, the target where the
        // player stands.
        p.AiState = 1;
        p.AiScanPos = 0;
        p.AiRetarget = 100;
        p.AiTargetX = p.X;
        p.AiTargetY = p.Y;
        battle::InputFromAI(0);
        clearPaths += p.AiScanPos == p.AiScanStep;
        benchmark::DoNotOptimize(p.AiScanPos);
    }
    state.counters["threats"] = static_cast<double>(scanned);
    state.counters["scan_step"] = static_cast<double>(p.AiScanStep);
    state.counters["horizon"] = static_cast<double>(p.AiHorizon);
    state.counters["clear_share"] =
        static_cast<double>(clearPaths) / static_cast<double>(state.iterations());
    EndMatch();
}
BENCHMARK(BM_AiDecisionApocalypse)->Unit(benchmark::kMicrosecond);

}  // namespace
