// The computer opponent's threat scan and look-ahead.
#include "battle/ai_look_ahead.h"

#include <gtest/gtest.h>

#include <cstring>

#include "battle/ai_threats.h"
#include "battle_fixture.h"

namespace brumil::battle::test {
namespace {

class AiScanTest : public BattleFixture {
protected:
    void SetUp() override {
        BattleFixture::SetUp();
        StartPlayers(5, 6, 1, 4);
    }
    ShotRecord& Live(int owner, Long index, Long x, Long y) {
        ShotRecord& s = P(owner).Shots[static_cast<std::size_t>(index)];
        s = ShotRecord{};
        s.State = 1;
        s.Size = 16;
        s.Scale = 256;
        s.X = x;
        s.Y = y;
        return s;
    }
};

// Records around the window's edges, for each player's side: the centre lies
// 100 pixels toward the opponent (up for player 0, down for player 1).
TEST_F(AiScanTest, TheWindowTakesLiveMainPoolRecordsInIndexOrder) {
    struct Case {
        Long dx, dy;  // from the window's centre
        bool live, listed;
    };
    const Case cases[] = {
        {0, 0, true, true},           {64000, 0, true, true},   {64001, 0, true, false},
        {-64000, 0, true, true},      {-64001, 0, true, false}, {0, 0xC800, true, true},
        {0, 0xC801, true, false},     {0, -0xC800, true, true}, {0, -0xC801, true, false},
        {64000, -0xC800, true, true}, {100, 100, false, false},
    };
    for (int player = 0; player < 2; ++player) {
        StartPlayers(5, 6, 1, 4);
        PlayerRecord& p = P(player);
        const Long centreY = p.Y + (player == 0 ? -0x6400 : 0x6400);
        std::vector<Long> expected;
        Long index = 3;
        for (const Case& c : cases) {
            Live(player ^ 1, index, p.X + c.dx, centreY + c.dy).State = c.live ? 1 : 0;
            if (c.listed) expected.push_back(index);
            index += 7;
        }
        // The second and third pools are no part of the list.
        Live(player ^ 1, kSecondPoolStart + 2, p.X, centreY);
        Live(player ^ 1, kThirdPoolStart + 1, p.X, centreY);
        p.AiScanPos = 44;
        AiScanThreats(player, p, P(player ^ 1));
        ASSERT_EQ(p.AiScanCount, static_cast<Long>(expected.size())) << "player " << player;
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(p.AiScanList[i], expected[i]) << "player " << player << " entry " << i;
        EXPECT_EQ(p.AiScanPos, 0);
    }
}

TEST_F(AiScanTest, AFullMainPoolFillsTheWholeList) {
    for (int player = 0; player < 2; ++player) {
        PlayerRecord& p = P(player);
        for (Long i = 0; i < kMainPoolSize; ++i) Live(player ^ 1, i, p.X + i, p.Y);
        AiScanThreats(player, p, P(player ^ 1));
        EXPECT_EQ(p.AiScanCount, 800);
        EXPECT_EQ(p.AiScanList[799], 799);
    }
}

class AiLookAheadTest : public AiScanTest {
protected:
    // A threat of player 1 `distance` pixels above player 0, coming straight
    // down at `speed` pixels per step (radius 4 pixels).
    ShotRecord& Incoming(Long index, Long distance, Long speed) {
        ShotRecord& s = Live(1, index, P(0).X, P(0).Y - distance * 256);
        s.Angle = 1024;
        s.Speed = speed * 256;
        return s;
    }
    // Player 0 standing still (its target is where it stands).
    Long Look(Long position, Long count, Long horizon) {
        const PlayerRecord& p = P(0);
        return AiLookAhead(0, p, P(1), position, count, p.X, p.Y, p.X, p.Y, horizon);
    }
};

TEST_F(AiLookAheadTest, ResultsByListSliceAndHorizon) {
    struct Case {
        Long position, count, horizon, result;
    };
    // One threat, in contact (4 + 1 pixels) after (100 - 5) / 4 steps: 24.
    const Case cases[] = {
        {0, 200, 60, 24}, {0, 1, 60, 24},  {0, 1, 23, 0}, {0, 5, 23, -1}, {1, 1, 60, -1},
        {9, 1, 60, -1},   {-4, 1, 60, 24}, {0, 0, 60, 0}, {0, -3, 60, 0}, {0, 200, 0, -1},
    };
    Incoming(12, 100, 4);
    AiScanThreats(0, P(0), P(1));
    ASSERT_EQ(P(0).AiScanCount, 1);
    for (const Case& c : cases)
        EXPECT_EQ(Look(c.position, c.count, c.horizon), c.result)
            << "position " << c.position << " count " << c.count << " horizon " << c.horizon;
}

// The copies are aged as they move, so a speed window and a hit window close
// in the prediction as they would in play.
TEST_F(AiLookAheadTest, CopiesAgeAsTheyMove) {
    struct Case {
        const char* name;
        Long accel, speedLimit, hitUntil, result;
    };
    const Case cases[] = {
        // 1, 2, then 2 pixels a step: 2t - 1 >= 95 at t = 48.
        {"speed window", 256, 2, 0, 48},
        // It could hit only in its first 10 steps, and arrives at step 24.
        {"hit window", 0, 0, 10, -1},
        {"hit window open", 0, 0, 30, 24},
    };
    for (const Case& c : cases) {
        ShotRecord& s = Incoming(12, 100, c.accel == 0 ? 4 : 0);
        s.Accel = c.accel;
        s.SpeedLimit = c.speedLimit;
        if (c.hitUntil > 0) {
            s.Mode1 = 2;
            s.Value1 = c.hitUntil;
            s.Value2 = c.hitUntil + 100;
        }
        AiScanThreats(0, P(0), P(1));
        EXPECT_EQ(Look(0, 200, 60), c.result) << c.name;
    }
}

TEST_F(AiLookAheadTest, AStaleIndexIsSkippedAndTheOpponentsListIsNotTouched) {
    Incoming(12, 100, 4);
    AiScanThreats(0, P(0), P(1));
    P(1).Shots[12].State = 0;
    EXPECT_EQ(Look(0, 200, 60), -1);
    // A corrupt index is skipped too.
    P(1).Shots[12].State = 1;
    P(0).AiScanList[0] = 900;
    EXPECT_EQ(Look(0, 200, 60), -1);
    P(0).AiScanList[0] = 12;
    const ShotList before = P(1).Shots;
    EXPECT_EQ(Look(0, 200, 60), 24);
    EXPECT_EQ(std::memcmp(&before, &P(1).Shots, sizeof before), 0);
}

// With nothing listed, only the opponent's second pool can report a hit: a
// box lying across the simulated player's way.
TEST_F(AiLookAheadTest, TheSecondPoolHitsWithAnEmptyList) {
    AiScanThreats(0, P(0), P(1));
    ASSERT_EQ(P(0).AiScanCount, 0);
    const PlayerRecord& p = P(0);
    const Long targetX = p.X + 80 * 256;
    EXPECT_EQ(AiLookAhead(0, p, P(1), 0, 200, p.X, p.Y, targetX, p.Y, 60), -1);
    // A vertical band 8 pixels wide and 64 long (its up is angle 0 - 1024),
    // centred 40 pixels to the right: its near side is 36 pixels away.
    ShotRecord& box = Live(1, kSecondPoolStart + 6, p.X + 40 * 256, p.Y);
    box.HitB = 8 * 256;
    box.HitC = 64 * 256;
    box.ScaleX = 128;
    box.ScaleY = 128;
    // 1080 / 256 pixels a step: within 1 pixel of the band at step 9.
    EXPECT_EQ(AiLookAhead(0, p, P(1), 0, 200, p.X, p.Y, targetX, p.Y, 60), 9);
    // Walking away from it, no hit.
    EXPECT_EQ(AiLookAhead(0, p, P(1), 0, 200, p.X, p.Y, p.X - 80 * 256, p.Y, 60), -1);
}

}  // namespace
}  // namespace brumil::battle::test
