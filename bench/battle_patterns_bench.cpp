// One logic step of a match (jobs 5, 6 and 7) with both shot lists filled by
// the real attack patterns at power 1280: bursts, beams, trails, explosions
// and captures all running. The lists are built by a warm-up of scripted
// attacks, kept, and put back before every measured step.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include "battle/b_game.h"
#include "battle/player_record.h"
#include "battle/shot_patterns.h"
#include "platform/base/clock.h"

namespace {

using namespace brumil;

// Attacks started during the warm-up: pattern and the step it starts at,
// per player. Rings, fans, beams, trails, walls and four explosions.
struct Start {
    Long step, pattern;
};
constexpr std::array<std::array<Start, 8>, 2> kWarmUp = {{
    {{{0, 16}, {5, 13}, {12, 27}, {20, 35}, {28, 22}, {36, 8}, {44, 38}, {52, 25}}},
    {{{0, 18}, {6, 12}, {14, 10}, {22, 36}, {30, 26}, {38, 21}, {46, 34}, {54, 37}}},
}};
constexpr Long kWarmUpSteps = 70;

struct Running {
    Long pattern = 0, frame = 0;
};

void WarmUp(battle::bGame& game) {
    std::array<std::array<Running, 8>, 2> attacks{};
    for (Long step = 0; step < kWarmUpSteps; ++step) {
        for (Long i = 0; i < 2; ++i) {
            battle::PlayerRecord& p = battle::gPlayers()[static_cast<std::size_t>(i)];
            p.Power = 1280;
            p.Life = 10;
            for (std::size_t k = 0; k < kWarmUp[i].size(); ++k) {
                Running& a = attacks[i][k];
                if (kWarmUp[i][k].step == step) a = {kWarmUp[i][k].pattern, 1};
                if (a.frame == 0) continue;
                p.AttackFrame = a.frame++;
                battle::RunShotPattern(a.pattern, i);
            }
            p.AttackFrame = 0;
            p.GaugeCost = 0;
        }
        for (Long job : {5, 6, 7}) game.Coming(job, 0, 0);
    }
}

void BM_BattleStepWithRealPatterns(benchmark::State& state) {
    platform::ManualClock clock;
    auto& game = battle::gGame();
    game = std::make_unique<battle::bGame>(clock);
    game->gd().GameMode = 4;
    game->gd().CharaID(0, 3);
    game->gd().CharaID(1, 6);
    game->Jobs.Add(battle::bGame::JobKey(1), 0);
    for (int i = 0; i < 4; ++i) game->Jobs.Poll();  // through the waits and the match start
    WarmUp(*game);
    const auto kept = std::make_unique<std::array<battle::PlayerRecord, 2>>(battle::gPlayers());
    const Long serial = game->Serial;
    for (auto _ : state) {
        state.PauseTiming();
        battle::gPlayers() = *kept;
        game->Serial = serial;
        state.ResumeTiming();
        for (Long job : {5, 6, 7}) game->Coming(job, 0, 0);
        benchmark::DoNotOptimize(battle::gPlayers()[0].Shots[0].X);
    }
    std::array<Long, 3> live{};
    for (const auto& player : *kept) {
        for (Long i = 0; i < battle::kShotListSize; ++i) {
            if (player.Shots[static_cast<std::size_t>(i)].State == 0) continue;
            ++live[i < battle::kSecondPoolStart ? 0 : i < battle::kThirdPoolStart ? 1 : 2];
        }
    }
    state.counters["main"] = static_cast<double>(live[0]);
    state.counters["second"] = static_cast<double>(live[1]);
    state.counters["third"] = static_cast<double>(live[2]);
    game->Jobs.Destroy();
    game->Jobs.Poll();
    game.reset();
}
BENCHMARK(BM_BattleStepWithRealPatterns)->Unit(benchmark::kMicrosecond);

}  // namespace
