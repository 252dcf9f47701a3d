// The computer opponent's movement: the step toward a target and the state
// machine that checks paths against the look-ahead.
#include "battle/ai_move.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "battle/ai_look_ahead.h"
#include "battle/ai_targets.h"
#include "battle/ai_threats.h"
#include "battle/frame_step.h"
#include "battle_fixture.h"
#include "core/api.h"
#include "platform/collision/angle_math.h"
#include "platform/collision/shot_list.h"

namespace brumil::battle::test {
namespace {

struct StepCase {
    Long sign, speed, dx, dy;  // (x - target x, y - target y)
    Long outX, outY;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const StepCase& c, std::ostream* os) {
    *os << "sign=" << c.sign << " speed=" << c.speed << " dx=" << c.dx << " dy=" << c.dy
        << " outX=" << c.outX << " outY=" << c.outY;
}

class AiStepTowardTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(AiStepTowardTest, DeadZoneAndSign) {
    const StepCase& c = GetParam();
    const AiStep s = AiStepToward(c.sign, c.speed, 50000 + c.dx, 40000 + c.dy, 50000, 40000);
    EXPECT_EQ(s.X, c.outX);
    EXPECT_EQ(s.Y, c.outY);
}

INSTANTIATE_TEST_SUITE_P(
    Components, AiStepTowardTest,
    ::testing::Values(StepCase{-1, 1080, 2159, -2159, 0, 0},   // strictly inside the zone
                      StepCase{-1, 1080, 2160, -2160, -1, 1},  // on its edge: a step
                      StepCase{1, 1080, 2160, -2160, 1, -1},   // the other player's sign
                      StepCase{1, 1080, -5000, 0, -1, 0}, StepCase{-1, 1440, 2879, 2880, 0, -1},
                      StepCase{1, 0, 0, 1, 0, 1},    // no zone at speed 0
                      StepCase{-1, 0, 0, 0, 0, 0}),  // and no step on the target
    [](const auto& info) { return "Case" + std::to_string(info.index); });

class AiMoveTest : public BattleFixture {
protected:
    void Start(Long level) { StartPlayers(5, level, 1, 4); }

    // A shot of the opponent's main pool `distance` pixels from player i,
    // straight toward it (toward the shooter's own side otherwise) at `speed`
    // pixels per step, radius 4 pixels.
    ShotRecord& ShotAt(int player, Long index, Long distance, Long speed) {
        const PlayerRecord& p = P(player);
        ShotRecord& s = P(player ^ 1).Shots[static_cast<std::size_t>(index)];
        s = ShotRecord{};
        s.State = 1;
        s.Size = 16;
        s.Scale = 256;
        s.X = p.X;
        s.Y = player == 0 ? p.Y - distance * 256 : p.Y + distance * 256;
        s.Angle = player == 0 ? 1024 : 3072;
        s.Speed = speed * 256;
        return s;
    }
};

// Both players, through the real movement rule, walk to the target and stop
// inside the dead zone.
TEST_F(AiMoveTest, BothPlayersWalkTowardTheirTarget) {
    Start(6);
    const Long offsets[][2] = {{60, 0}, {-60, 0}, {0, 50}, {0, -50}, {40, -30}, {-90, 45}};
    for (int player = 0; player < 2; ++player) {
        for (const auto& o : offsets) {
            PlayerRecord& p = P(player);
            Long x = 81920, y = player == 0 ? 90112 : 32768;
            const Long tx = x + o[0] * 256, ty = y + o[1] * 256;
            const Long speed = p.MoveSpeed + p.SpeedBoost + p.SpeedBrake;
            for (int step = 0; step < 100; ++step) {
                const AiStep s = AiStepToward(AiSign(player), speed, x, y, tx, ty);
                const Long oldX = x, oldY = y;
                MovePlayer(p, x, y, s.X, s.Y);
                ASSERT_LE(std::labs(x - tx), std::labs(oldX - tx)) << player << " step " << step;
                ASSERT_LE(std::labs(y - ty), std::labs(oldY - ty)) << player << " step " << step;
            }
            EXPECT_LT(std::labs(x - tx), 2 * speed) << "player " << player;
            EXPECT_LT(std::labs(y - ty), 2 * speed) << "player " << player;
        }
    }
}

TEST_F(AiMoveTest, AScanStartsTheCheckAndTheRetargetCountRunsDown) {
    Start(6);
    ShotAt(0, 5, 100, 0);
    ShotAt(0, 9, 120, 0);
    P(0).AiRetarget = 30;
    framework::VKeyFlags flags{};
    AiMove(0, P(0), P(1), flags);
    EXPECT_EQ(P(0).AiScanCount, 2);
    EXPECT_EQ(P(0).AiScanList[0], 5);
    EXPECT_EQ(P(0).AiScanList[1], 9);
    EXPECT_EQ(P(0).AiRetarget, 29);
    // Nothing hits the path to the standing target: the whole list was seen.
    EXPECT_EQ(P(0).AiState, 0);
}

// A shot on its way to the player: the hit is believed at levels 5 and 6
// (and 4, whose sight is full too), at lower levels only in the share given
// by the sight. A believed hit leads to an evasion point and state 2.
TEST_F(AiMoveTest, AForeseenHitIsBelievedBySight) {
    struct Case {
        Long level;
        int lo, hi;  // believed, out of 200 seeds
    };
    const Case cases[] = {{6, 200, 200}, {5, 200, 200}, {4, 200, 200}, {3, 160, 195}, {1, 65, 115}};
    for (const Case& c : cases) {
        int believed = 0;
        for (int seed = 1; seed <= 200; ++seed) {
            Start(c.level);
            core::gApi().SeedHelperRandom(static_cast<std::uint64_t>(seed));
            ShotAt(1, 3, 60, 4);
            PlayerRecord& p = P(1);
            p.AiState = 0;
            framework::VKeyFlags flags{};
            AiMove(1, p, P(0), flags);
            if (p.AiState == 2) {
                ++believed;
                EXPECT_GT(p.AiHitTime, 0);
                EXPECT_LE(p.AiHitTime, p.AiHorizon);
            } else {
                EXPECT_EQ(p.AiHitTime, 0);
            }
        }
        EXPECT_GE(believed, c.lo) << "level " << c.level;
        EXPECT_LE(believed, c.hi) << "level " << c.level;
    }
}

// After a foreseen hit the computer takes an evasion point that its own
// look-ahead finds clear and walks out of the shot's way.
TEST_F(AiMoveTest, AnEvasionKeepsThePlayerClearOfTheShot) {
    for (int seed = 1; seed <= 20; ++seed) {
        Start(6);
        core::gApi().SeedHelperRandom(static_cast<std::uint64_t>(seed));
        ShotAt(0, 0, 150, 3);
        PlayerRecord& p = P(0);
        const ShotRecord& s = P(1).Shots[0];
        Long nearest = 1 << 30;
        for (int step = 0; step < 150; ++step) {
            framework::VKeyFlags flags{};
            AiMove(0, p, P(1), flags);
            framework::VKeyRecord keys;
            framework::UpdateVKey(keys, flags);
            MovePlayer(p, p.X, p.Y, keys[framework::kVKeyX], keys[framework::kVKeyY]);
            platform::collision::PosMove(MainPool(P(1)));
            nearest = std::min(nearest, platform::collision::ALT(s.X - p.X, s.Y - p.Y));
        }
        // Contact is at 5 pixels (the shot's 4 and the player's 1).
        EXPECT_GT(nearest, 5 * 256) << "seed " << seed;
    }
}

// State 2 checks the candidate point against a slice of the threats: a
// path clear to the end of the list is taken; a hit on it is weighed against
// the current path's hit time: at most 30 frames later and it looks again,
// by an escape when the current hit is 24 frames away or less, else by an
// evasion; later still and the candidate is taken anyway.
TEST_F(AiMoveTest, ACandidateIsTakenOrReplacedByItsHitTime) {
    enum Outcome { kTaken, kKept, kScanOn, kEscape, kEvade };
    struct Case {
        Long scanPos, scanStep, hitTime;
        Outcome outcome;
    };
    // Threat 0 reaches the player standing on the candidate in frame 50,
    // threat 1 never does.
    constexpr Case kCases[] = {
        {1, 200, 30, kTaken},  {1, 1, 30, kScanOn},   {0, 200, 0, kKept},   {0, 200, 19, kTaken},
        {0, 200, 20, kEscape}, {0, 200, 24, kEscape}, {0, 200, 25, kEvade}, {0, 200, 60, kEvade},
    };
    constexpr std::uint64_t kSeed = 7;
    PlayerRecord& p = P(0);
    const auto setUp = [&](const Case& c) {
        Start(6);
        ShotAt(0, 2, 155, 3);
        ShotAt(0, 9, 120, 0).X += 100 * 256;
        AiScanThreats(0, p, P(1));
        p.AiNextX = p.X;
        p.AiNextY = p.Y;
        p.AiTargetX = p.X + 0x3000;
        p.AiTargetY = p.Y;
        p.AiRetarget = 20;
        p.AiState = 2;
        p.AiScanPos = c.scanPos;
        p.AiScanStep = c.scanStep;
        p.AiHitTime = c.hitTime;
        p.Invulnerable = 0;
        core::gApi().SeedHelperRandom(kSeed);
    };
    setUp(kCases[0]);
    ASSERT_EQ(p.AiScanCount, 2);
    ASSERT_EQ(AiLookAhead(0, p, P(1), 0, 200, p.X, p.Y, p.X, p.Y, p.AiHorizon), 50);
    // Where an escape and an evasion would lead from here.
    auto escape = std::make_unique<PlayerRecord>(p);
    AiChooseEscape(*escape);
    core::gApi().SeedHelperRandom(kSeed);
    auto evade = std::make_unique<PlayerRecord>(p);
    AiChooseEvasion(*evade, P(1));
    ASSERT_TRUE(escape->AiNextX != evade->AiNextX || escape->AiNextY != evade->AiNextY);

    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message()
                     << "scan " << c.scanPos << "+" << c.scanStep << " hit time " << c.hitTime);
        setUp(c);
        const Long x = p.X, y = p.Y, targetX = p.AiTargetX;
        framework::VKeyFlags flags{};
        AiMove(0, p, P(1), flags);
        const bool taken = c.outcome == kTaken;
        EXPECT_EQ(p.AiTargetX, taken ? x : targetX);
        EXPECT_EQ(p.AiTargetY, y);
        if (taken) {
            EXPECT_GE(p.AiRetarget, 14);
            EXPECT_LE(p.AiRetarget, 53);
        } else {
            EXPECT_EQ(p.AiRetarget, 19);
        }
        EXPECT_EQ(p.AiState, c.outcome == kTaken || c.outcome == kKept ? 0 : 2);
        EXPECT_EQ(p.AiScanPos, c.outcome == kScanOn ? 2 : c.scanPos);
        const PlayerRecord* next = c.outcome == kEscape  ? escape.get()
                                   : c.outcome == kEvade ? evade.get()
                                                         : nullptr;
        EXPECT_EQ(p.AiNextX, next ? next->AiNextX : x);
        EXPECT_EQ(p.AiNextY, next ? next->AiNextY : y);
    }
}

TEST_F(AiMoveTest, WhileJustHitOnlyADueTargetMovesOn) {
    for (Long retarget : {-1, 5}) {
        Start(6);
        core::gApi().SeedHelperRandom(3);
        PlayerRecord& p = P(0);
        p.Invulnerable = 100;
        p.SpeedBoost = 200;
        p.AiRetarget = retarget;
        const Long oldX = p.AiTargetX, oldY = p.AiTargetY;
        framework::VKeyFlags flags{};
        AiMove(0, p, P(1), flags);
        EXPECT_EQ(p.AiState, 0);
        if (retarget < 0) {
            EXPECT_EQ(p.AiTargetX, p.AiNextX);
            EXPECT_EQ(p.AiTargetY, p.AiNextY);
            EXPECT_TRUE(p.AiTargetX != oldX || p.AiTargetY != oldY);
            EXPECT_GE(p.AiRetarget, 14);
            EXPECT_LE(p.AiRetarget, 53);
        } else {
            EXPECT_EQ(p.AiTargetX, oldX);
            EXPECT_EQ(p.AiTargetY, oldY);
            EXPECT_EQ(p.AiRetarget, 4);
        }
    }
}

}  // namespace
}  // namespace brumil::battle::test
