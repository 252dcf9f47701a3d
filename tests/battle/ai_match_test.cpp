// The computer opponent in whole matches on the real battle jobs, through
// the headless match harness.
#include <gtest/gtest.h>

#include <array>
#include <iostream>
#include <span>
#include <vector>

#include "battle/player_record.h"
#include "battle_harness/match_harness.h"
#include "platform/collision/angle_math.h"
#include "platform/collision/shot_list.h"

namespace brumil::harness {
namespace {

constexpr Long kLongMatch = 10000;

// Keeps a match going: a player brought low gets its life back, so that the
// decision never comes and the match runs as long as the test wants.
void KeepAlive(battle::PlayerRecord& p) {
    if (p.Life < 4) p.Life = 10;
}

class AiMatchTest : public ::testing::TestWithParam<Long> {};

// Computer against computer at one level for 10,000 steps: both stay inside
// their bounds, their working fields stay in range, and both move and attack.
TEST_P(AiMatchTest, ComputerAgainstComputerRunsLong) {
    MatchSetup setup;
    setup.GameMode = 5;
    setup.AILevel = GetParam();
    setup.Chara0 = 2;
    setup.Chara1 = 7;
    setup.HelperSeed = static_cast<std::uint64_t>(100 + GetParam());
    MatchHarness match(setup);
    std::array<bool, 2> moved{}, attacked{};
    auto& players = battle::gPlayers();
    for (Long step = 0; step < kLongMatch; ++step) {
        const std::array<Long, 2> oldX = {players[0].X, players[1].X};
        match.Step();
        ASSERT_FALSE(match.Ended()) << "step " << step;
        for (std::size_t i = 0; i < 2; ++i) {
            battle::PlayerRecord& p = players[i];
            ASSERT_GE(p.X, p.MinX) << "player " << i << " step " << step;
            ASSERT_LE(p.X, p.MaxX) << "player " << i << " step " << step;
            ASSERT_GE(p.Y, p.MinY) << "player " << i << " step " << step;
            ASSERT_LE(p.Y, p.MaxY) << "player " << i << " step " << step;
            ASSERT_GE(p.AiState, 0);
            ASSERT_LE(p.AiState, 2);
            ASSERT_GE(p.AiScanCount, 0);
            ASSERT_LE(p.AiScanCount, battle::kAiScanListSize);
            ASSERT_GE(p.AiScanPos, 0);
            moved[i] = moved[i] || p.X != oldX[i];
            attacked[i] = attacked[i] || p.AttackFrame > 0;
            KeepAlive(p);
        }
    }
    EXPECT_TRUE(moved[0] && moved[1]);
    EXPECT_TRUE(attacked[0] && attacked[1]);
}

INSTANTIATE_TEST_SUITE_P(Levels, AiMatchTest, ::testing::Range<Long>(1, 7));

// The computer draws only from the match's seeded generator: two runs of one
// set-up agree in every step, and another seed plays differently.
TEST(AiMatch, AComputerMatchReplaysFromItsSeeds) {
    const auto run = [](std::uint64_t seed) {
        MatchSetup setup;
        setup.GameMode = 5;
        setup.AILevel = 4;
        setup.HelperSeed = seed;
        MatchHarness match(setup);
        return match.Run(1500);
    };
    const std::vector<std::uint64_t> first = run(9), second = run(9), other = run(10);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        ASSERT_EQ(first[i], second[i]) << "first differing step " << i;
    EXPECT_NE(first.back(), other.back());
}

// A scripted barrage laid into player 0's main pool, the same at every
// level: every third step a fan of five shots rising from a point that
// sweeps along the bottom of the field, and every ninth step one shot aimed
// at the computer. Radius 4 pixels; nothing calls a procedure.
void LayBarrage(Long step, battle::PlayerRecord& shooter, const battle::PlayerRecord& target) {
    namespace lib = platform::collision;
    if (step < 150 || step % 3 != 0) return;
    const Long ox = (80 + (step * 7) % 480) * 256;
    const Long oy = 420 * 256;
    const Long sweep = (step * 13) % 200 - 100;
    std::vector<Long> angles = {-300, -150, 0, 150, 300};
    for (Long& a : angles) a += 3072 + sweep;
    if (step % 9 == 0) angles.push_back(lib::AHT(target.X - ox, target.Y - oy));
    for (std::size_t k = 0; k < angles.size(); ++k) {
        const std::span<battle::ShotRecord> pool = battle::MainPool(shooter);
        const Long free = lib::SearchFree(pool, shooter.MainCursor);
        if (free < 0) return;
        shooter.MainCursor = free + 1;
        battle::ShotRecord& s = pool[static_cast<std::size_t>(free)];
        s = battle::ShotRecord{};
        s.State = 1;
        s.Group = 1;
        s.Size = 16;
        s.Scale = 256;
        s.Alpha = 255;
        s.X = ox;
        s.Y = oy;
        s.Angle = angles[k];
        s.Speed = k == 5 ? 900 : 640;
    }
}

Long HitsTaken(Long level, std::uint64_t seed, Long steps) {
    MatchSetup setup;
    setup.GameMode = 2;  // player 0 keyboard (no key goes down), player 1 computer
    setup.AILevel = level;
    setup.Chara0 = 1;
    setup.Chara1 = 4;
    setup.HelperSeed = seed;
    setup.StartMs = static_cast<platform::Millis>(1000 + seed);
    MatchHarness match(setup);
    auto& players = battle::gPlayers();
    Long hits = 0;
    for (Long step = 0; step < steps && !match.Ended(); ++step) {
        LayBarrage(step, players[0], players[1]);
        const Long life = players[1].Life;
        match.Step();
        if (players[1].Life < life) ++hits;
        KeepAlive(players[0]);
        KeepAlive(players[1]);
    }
    return hits;
}

TEST(AiSurvival, AHigherLevelTakesFewerHitsFromTheSameBarrage) {
    constexpr Long kSteps = 3000;
    constexpr std::array<std::uint64_t, 5> kSeeds = {1, 2, 3, 4, 5};
    std::array<Long, 7> total{};
    for (Long level = 1; level <= 6; ++level) {
        std::cout << "level " << level << " hits per seed:";
        for (std::uint64_t seed : kSeeds) {
            const Long hits = HitsTaken(level, seed, kSteps);
            total[static_cast<std::size_t>(level)] += hits;
            std::cout << ' ' << hits;
        }
        std::cout << "  total " << total[static_cast<std::size_t>(level)] << '\n';
    }
    EXPECT_LT(total[6], total[1]);
    EXPECT_LT(total[5], total[1]);
    EXPECT_LT(total[4], total[2]);
}

}  // namespace
}  // namespace brumil::harness
