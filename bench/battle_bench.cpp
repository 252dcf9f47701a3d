// One logic step of a match (input, counters and movement, frame step) with
// both players' main pools full of moving shots: the cost the main loop pays
// up to six times per drawn frame.
#include <benchmark/benchmark.h>

#include <memory>

#include "battle/b_game.h"
#include "battle/player_record.h"
#include "platform/base/clock.h"

namespace {

using namespace brumil;

// 800 shots per player circling slowly in the band between the players, so
// that none leaves the field or touches a player while the benchmark runs.
void FillMainPools() {
    for (auto& player : battle::gPlayers()) {
        for (Long i = 0; i < battle::kMainPoolSize; ++i) {
            battle::ShotRecord& s = player.Shots[static_cast<std::size_t>(i)];
            s = battle::ShotRecord{};
            s.State = 1;
            s.Size = 18;
            s.Scale = 256;
            s.Group = 1;
            s.X = (100 + (i % 40) * 11) * 256;
            s.Y = (200 + (i / 40) * 4) * 256;
            s.Speed = 256;
            s.Angle = (i * 97) % 4096;
            s.MotionA = 40;  // a circle of about 16 pixels
        }
    }
}

void BM_BattleLogicStep(benchmark::State& state) {
    platform::ManualClock clock;
    auto& game = battle::gGame();
    game = std::make_unique<battle::bGame>(clock);
    game->gd().GameMode = 4;
    game->gd().CharaID(0, 1);
    game->gd().CharaID(1, 4);
    game->Jobs.Add(battle::bGame::JobKey(1), 0);
    for (int i = 0; i < 4; ++i) game->Jobs.Poll();  // through the waits and the match start
    FillMainPools();
    Long live = 0;
    for (auto _ : state) {
        for (Long job : {5, 6, 7}) game->Coming(job, 0, 0);
        benchmark::DoNotOptimize(battle::gPlayers()[0].Shots[0].X);
    }
    for (const auto& player : battle::gPlayers())
        for (Long i = 0; i < battle::kMainPoolSize; ++i)
            live += player.Shots[std::size_t(i)].State != 0;
    state.counters["live_shots"] = static_cast<double>(live);
    state.counters["lives"] =
        static_cast<double>(battle::gPlayers()[0].Life + battle::gPlayers()[1].Life);
    game->Jobs.Destroy();
    game->Jobs.Poll();
    game.reset();
}
BENCHMARK(BM_BattleLogicStep)->Unit(benchmark::kMicrosecond);

}  // namespace
