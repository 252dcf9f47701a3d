// The battle object: job sequence, match start once, input records kept
// aside, the cell table, the player reset and the end timing.
#include "battle/b_game.h"

#include <gtest/gtest.h>

#include "battle/frame_step.h"
#include "battle_fixture.h"
#include "battle_harness/match_harness.h"
#include "platform/base/scan_codes.h"
#include "sound/bgm.h"

namespace brumil::battle::test {
namespace {

using JobTest = BattleFixture;

TEST_F(JobTest, LocalMatchPassesBothWaitsInTheirFirstStep) {
    Options().GameMode = 4;
    Game().Jobs.Add(bGame::JobKey(1), 0);
    struct Expect {
        std::initializer_list<Long> linked;
        std::initializer_list<Long> absent;
    };
    const Expect kSteps[] = {
        {{1}, {2, 3}},              // job 1 linked; it asked to go in its first step
        {{2}, {1, 3}},              // job 2 started the match and asked for job 3
        {{2, 3}, {1, 5}},           // job 3 linked; it asked for 5, 6, 7, 4
        {{2, 5, 6, 7, 4}, {1, 3}},  // the running match
        {{2, 5, 6, 7, 4}, {1, 3}},
    };
    int step = 0;
    for (const Expect& e : kSteps) {
        Game().Jobs.Poll();
        for (Long j : e.linked) EXPECT_TRUE(Game().Jobs.Test(j)) << "step " << step << " job " << j;
        for (Long j : e.absent)
            EXPECT_FALSE(Game().Jobs.Test(j)) << "step " << step << " job " << j;
        ++step;
    }
    EXPECT_EQ(Game().Jobs.LinkedCount(), 5u);
    EXPECT_EQ(Game().Serial, 1);
    EXPECT_EQ(Game().Winner, -1);
    EXPECT_TRUE(Game().KeepStateFlag());
    // Counters ran in both steps of the running match.
    EXPECT_EQ(Game().FrameCount, 2);
    Game().Jobs.Destroy();
    Game().Jobs.Poll();
    EXPECT_FALSE(Game().KeepStateFlag());
}

TEST_F(JobTest, UnknownJobsAndMessagesDoNothing) {
    for (Long job : {0, 8, -1, 100}) Game().Coming(job, 1, 0);
    Game().Coming(2, 3, 0);
    Game().Coming(2, 4, 0);
    EXPECT_FALSE(Game().KeepStateFlag());
    EXPECT_EQ(Game().Jobs.LinkedCount(), 0u);
    EXPECT_EQ(Game().Serial, 0);
}

TEST_F(JobTest, SecondStartWhileKeepingStateChangesNothing) {
    Options().GameMode = 4;
    Game().Coming(2, 1, 0);
    ASSERT_TRUE(Game().KeepStateFlag());
    Game().FrameCount = 77;
    Game().Serial = 9;
    P(0).Life = 3;
    P(1).X = 1234;
    Game().Coming(2, 1, 0);
    EXPECT_EQ(Game().FrameCount, 77);
    EXPECT_EQ(Game().Serial, 9);
    EXPECT_EQ(P(0).Life, 3);
    EXPECT_EQ(P(1).X, 1234);
}

TEST_F(JobTest, KeepStateHandsTheRecordsToTheDevicesAndBack) {
    Game().KeepState(true);
    auto& keys = framework::VKey();
    auto& flags = framework::gVKeyFromDevices();
    for (int p = 0; p < framework::kVKeyPlayers; ++p) {
        for (int e = 0; e < 15; ++e) keys[std::size_t(p)][e] = p * 100 + e + 1;
    }
    flags = {false, true, false, false};
    const auto savedKeys = keys;
    const auto savedFlags = flags;

    Game().KeepState(false);
    EXPECT_FALSE(Game().KeepStateFlag());
    for (int p = 0; p < framework::kVKeyPlayers; ++p) {
        const auto& r = keys[std::size_t(p)];
        for (int b = 0; b < 10; ++b) EXPECT_EQ(r[b], 0) << p << " button " << b;
        EXPECT_EQ(r[framework::kVKeyX], 0);
        EXPECT_EQ(r[framework::kVKeyY], 0);
        EXPECT_EQ(r[framework::kVKeyDirection], 0);
        EXPECT_TRUE(flags[std::size_t(p)]) << p;
    }
    // A second False keeps what the dialog's devices did to the records.
    keys[2][0] = 5;
    Game().KeepState(false);
    EXPECT_EQ(keys[2][0], 5);

    Game().KeepState(true);
    EXPECT_TRUE(Game().KeepStateFlag());
    for (int p = 0; p < framework::kVKeyPlayers; ++p)
        EXPECT_EQ(keys[std::size_t(p)].Entry, savedKeys[std::size_t(p)].Entry) << p;
    EXPECT_EQ(flags, savedFlags);
}

TEST_F(JobTest, CellTable) {
    struct Case {
        Long group, cell;
        Long left, top, right, bottom;
    };
    constexpr Case kCases[] = {
        {0, 0, 0, 0, 256, 256},       {10, 0, 0, 0, 64, 64},     {10, 5, 64, 64, 128, 128},
        {10, 15, 192, 192, 256, 256}, {15, 9, 32, 32, 64, 64},   {15, 63, 224, 224, 256, 256},
        {3, 7, 224, 0, 256, 256},     {12, 7, 0, 224, 256, 256}, {6, 5, 64, 128, 128, 256},
        {16, 0, 0, 0, 256, 256},      {-1, 0, 0, 0, 256, 256},
    };
    for (const Case& c : kCases) {
        const CellTable& t = Game().Cells(c.group);
        const auto i = static_cast<std::size_t>(c.cell);
        EXPECT_EQ(t.Left[i], c.left) << c.group << "/" << c.cell;
        EXPECT_EQ(t.Top[i], c.top) << c.group << "/" << c.cell;
        EXPECT_EQ(t.Right[i], c.right) << c.group << "/" << c.cell;
        EXPECT_EQ(t.Bottom[i], c.bottom) << c.group << "/" << c.cell;
    }
    // Cells past a group's count stay empty.
    EXPECT_EQ(Game().Cells(10).Right[16], 0);
}

struct ResetCase {
    Long mode, level, chara0, chara1;
    Long power, speed0, speed1;
    bool ai0, ai1;
    Long aiRadius;
};

constexpr ResetCase kResetCases[] = {
    {1, 1, 3, 5, 0, 1080, 1080, false, true, 43}, {1, 3, 2, 8, 90, 1440, 720, false, true, 9},
    {2, 6, 8, 2, 240, 720, 1440, false, true, 1}, {3, 4, 1, 1, 140, 1080, 1080, true, false, 6},
    {5, 5, 4, 6, 190, 1080, 1080, true, true, 3}, {4, 2, 2, 2, 40, 1440, 1440, false, false, 0},
    {1, 0, 3, 3, 0, 1080, 1080, false, true, 0},  // level 0: no parameters
    {1, 7, 3, 3, 0, 1080, 1080, false, true, 0},
};

TEST_F(JobTest, PlayerResetByCharacterAndLevel) {
    for (const ResetCase& c : kResetCases) {
        P(0).Score = 999;
        P(1).Shots[12].State = 1;
        P(1).MainCursor = 40;
        StartPlayers(c.mode, c.level, c.chara0, c.chara1);
        for (int i = 0; i < 2; ++i) {
            const PlayerRecord& p = P(i);
            SCOPED_TRACE(testing::Message()
                         << "mode " << c.mode << " level " << c.level << " player " << i);
            EXPECT_EQ(p.Index, i);
            EXPECT_EQ(p.Power, c.power);
            EXPECT_EQ(p.MoveSpeed, i == 0 ? c.speed0 : c.speed1);
            EXPECT_EQ(p.Life, 10);
            EXPECT_EQ(p.Score, 0);
            EXPECT_EQ(p.StartBlock, 120);
            EXPECT_EQ(p.ArtReady, 1);
            EXPECT_EQ(p.Vulnerable, 1);
            EXPECT_EQ(p.HitRadius, 1);
            EXPECT_EQ(p.X, 81920);
            EXPECT_EQ(p.Y, i == 0 ? 90112 : 32768);
            EXPECT_EQ(p.AimAngle, i == 0 ? 1024 : 3072);
            EXPECT_EQ(p.MinX, 6144);
            EXPECT_EQ(p.MaxX, 157696);
            EXPECT_EQ(p.MinY, 8192);
            EXPECT_EQ(p.MaxY, 114688);
            EXPECT_EQ(p.AiTargetX, p.X);
            EXPECT_EQ(p.AiNextY, p.Y);
            EXPECT_EQ(p.AiRetarget, 20);
            EXPECT_EQ(p.Shots[12].State, 0);
            EXPECT_EQ(p.MainCursor, 0);
            const bool ai = i == 0 ? c.ai0 : c.ai1;
            EXPECT_EQ(p.AiRadius, ai ? c.aiRadius : 0);
            EXPECT_EQ(framework::gVKeyFromDevices()[std::size_t(i)], !ai);
            if (ai && c.aiRadius != 0) {
                EXPECT_EQ(p.AiStyle, p.AiStyleDefault);
                EXPECT_EQ(p.AiEvadeStyle, p.AiEvadeStyleDefault);
                EXPECT_EQ(p.AiButtonRate, AiParametersOfLevel(c.level)->ButtonRate);
                EXPECT_GT(p.AiHorizon, 0);
            } else {
                EXPECT_EQ(p.AiHorizon, 0);
                EXPECT_EQ(p.AiButtonRate, 0);
            }
        }
    }
}

// The end sequence of a scripted match decided by a hit.
TEST(BattleEnd, FrozenSixtyStepsFadeAt120EndHookAt241) {
    sound::gBGM() = std::make_unique<sound::CAudio36>();
    harness::MatchSetup setup;
    setup.GameMode = 4;
    harness::MatchHarness match(setup);
    for (int i = 0; i < 10; ++i) match.Step();
    gPlayers()[1].Life = 2;
    gPlayers()[1].HitStrength = 2;
    match.Step();
    const Long decision = match.Steps() - 1;
    bGame& game = match.Game();
    ASSERT_EQ(game.EndCount, 1);
    ASSERT_EQ(game.Winner, 0);
    const Long frame = game.FrameCount;
    const Long y0 = gPlayers()[0].Y;
    match.Devices().SetKey(platform::scan::Up, true);  // frozen players do not move
    for (int i = 1; i <= 60; ++i) {
        match.Step();
        EXPECT_EQ(game.WaitCount, 60 - i);
        EXPECT_EQ(game.EndCount, 1);
        EXPECT_EQ(game.FrameCount, frame);
    }
    EXPECT_EQ(gPlayers()[0].Y, y0);  // decided players stand still too
    while (game.EndCount < 119) match.Step();
    EXPECT_EQ(sound::gBGM()->Config.Volume, 1.0f);
    match.Step();
    EXPECT_EQ(game.EndCount, 120);
    EXPECT_EQ(sound::gBGM()->Config.Volume, 0.0f);
    EXPECT_EQ(sound::gBGM()->Config.VolumeFadeTime, 2000);
    while (!match.Ended() && match.Steps() < decision + 400) match.Step();
    EXPECT_TRUE(match.Ended());
    EXPECT_EQ(match.EndRequestStep() - decision, 300);
    EXPECT_EQ(game.EndCount, 241);
    EXPECT_EQ(game.Jobs.LinkedCount(), 0u);
    sound::gBGM().reset();
}

Long LiveShots(const PlayerRecord& p) {
    Long n = 0;
    for (const ShotRecord& r : p.Shots) n += r.State != 0 ? 1 : 0;
    return n;
}

Long LiveMainPoolGroupless(PlayerRecord& p) {
    Long n = 0;
    for (const ShotRecord& r : MainPool(p)) n += r.State != 0 && r.Group == -1 ? 1 : 0;
    return n;
}

// The dash and homing carriers of attack code 40 and its strong forms belong
// to no group; a lost life clears them with the rest of the player's shots,
// so no trail of theirs appears after the hit.
TEST(LifeLost, ClearsTheLosersDashAndHomingCarriers) {
    struct Case {
        Long chara;
        int button;
        Long gauge;  // 1000 gives the strong form
        Long pattern;
    };
    const Case kCases[] = {{1, harness::kButton4, 600, 26},  {1, harness::kButton4, 1000, 22},
                           {2, harness::kButton4, 600, 23},  {2, harness::kButton4, 1000, 25},
                           {8, harness::kButton4, 1000, 24}, {8, harness::kButton3, 1000, 37}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.pattern);
        harness::MatchSetup setup;
        setup.Chara0 = c.chara;
        setup.Keys = {{130, 0, c.button, true}, {134, 0, c.button, false}};
        harness::MatchHarness match(setup);
        PlayerRecord& p = gPlayers()[0];
        while (match.Steps() < 200 && LiveMainPoolGroupless(p) == 0) {
            if (p.AttackCode == 0) p.Gauge = c.gauge;
            match.Step();
        }
        ASSERT_GT(LiveMainPoolGroupless(p), 0) << "the carriers fly";
        ASSERT_EQ(ShotPatternNumber(c.chara, p.AttackCode), c.pattern);
        match.Step();
        p.HitStrength = 2;
        match.Step();
        ASSERT_EQ(p.Life, 8);
        EXPECT_EQ(LiveMainPoolGroupless(p), 0);
        const Long left = LiveShots(p);
        for (int i = 0; i < 3; ++i) {
            match.Step();
            EXPECT_LE(LiveShots(p), left) << "no trail is laid after the hit";
        }
    }
}

}  // namespace
}  // namespace brumil::battle::test
