// The collision library over two full shot lists (2 x 950 records) per logic
// step: movement, the per-pass procedure calls and the frame step's hit tests.
// Six logic steps and a drawn frame share 16.7 ms; one step should stay well
// under 1 ms.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "battle/player_record.h"
#include "battle/shot_setters.h"
#include "platform/collision/angle_math.h"
#include "platform/collision/collision.h"
#include "platform/collision/shot_list.h"

namespace {

using namespace brumil;
namespace col = platform::collision;

// A frame procedure of the usual weight: turn toward the opponent by at most
// 20 while young (as the homing kinds do).
void BenchHoming(std::int32_t player, std::int32_t index, std::int32_t) {
    const battle::PlayerRecord& target = battle::gPlayers()[static_cast<std::size_t>(player ^ 1)];
    battle::ShotRecord& r =
        battle::gPlayers()[static_cast<std::size_t>(player)].Shots[static_cast<std::size_t>(index)];
    if (r.Age >= 30) return;
    const std::int32_t turn = col::AFT(r.Angle, col::AHT(target.X - r.X, target.Y - r.Y));
    r.Angle += turn > 20 ? 20 : (turn < -20 ? -20 : turn);
}

// Fills both lists: 800 circling shots (a quarter homing at first), 140 beams, 10
// special objects; all stay inside the field, so the lists stay full.
void FillLists() {
    auto& players = battle::gPlayers();
    for (std::size_t p = 0; p < 2; ++p) {
        battle::PlayerRecord& player = players[p];
        player = battle::PlayerRecord{};
        player.X = 0x14000;
        player.Y = p == 0 ? 0x19000 : 0x5000;
        player.HitRadius = 1;
        for (std::size_t i = 0; i < battle::kShotListSize; ++i) {
            battle::ShotRecord r;
            battle::ShotRecordInit(r);
            r.X = 0x4000 + static_cast<std::int32_t>((i * 7919) % 0x20000);
            r.Y = 0x4000 + static_cast<std::int32_t>((i * 104729) % 0x16000);
            r.Speed = 150;  // circles of 48 pixels: every record stays in the field
            r.MotionA = 8;
            r.Angle = static_cast<std::int32_t>(i * 37);
            r.Group = (i & 1) ? 1 : -1;
            if (i % 4 == 0) r.ProcId = 8;
            if (i >= battle::kSecondPoolStart) {
                r.HitB = 30 * 256;
                r.HitC = 400 * 256;
                r.ScaleY = 256;
                r.Speed = 0;
            }
            player.Shots[i] = r;
        }
    }
}

void BM_CollisionFrameStep(benchmark::State& state) {
    col::LoadDLL();
    col::Connect(8, &BenchHoming);
    FillLists();
    auto& players = battle::gPlayers();
    std::int32_t contacts = 0;
    for (auto _ : state) {
        for (std::int32_t p = 0; p < 2; ++p) {
            battle::PlayerRecord& player = players[static_cast<std::size_t>(p)];
            col::PosMove(player.Shots);
            col::PosReference(player.Shots, p);
            col::PosHitWindow(battle::MainPool(player), -0x7000, -0x5000, 0x2F000, 0x23000, -1, 1,
                              8);
        }
        for (std::int32_t p = 0; p < 2; ++p) {
            battle::PlayerRecord& shooter = players[static_cast<std::size_t>(p)];
            const battle::PlayerRecord& target = players[static_cast<std::size_t>(p ^ 1)];
            contacts += col::PosHitCircle(battle::MainPool(shooter), target.X, target.Y,
                                          target.HitRadius, -1, 2, 2);
            contacts += col::PosHitBox(battle::SecondPool(shooter), target.X, target.Y,
                                       target.HitRadius, -1, 2, 2);
        }
    }
    benchmark::DoNotOptimize(contacts);
    std::int32_t live = 0;
    for (const auto& player : players) {
        for (const auto& r : player.Shots) live += r.State != 0 ? 1 : 0;
    }
    state.counters["live_records"] = live;
    col::Connect(8, nullptr);
    col::UnloadDLL();
}
BENCHMARK(BM_CollisionFrameStep)->Unit(benchmark::kMicrosecond);

}  // namespace
