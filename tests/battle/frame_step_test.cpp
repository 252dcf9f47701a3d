// The movement step, the attack start and dispatch, and the player frame
// step: gauge, life, decision.
#include "battle/frame_step.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "battle_fixture.h"

namespace brumil::battle::test {
namespace {

using framework::VKeyRecord;

// The patterns called, as (number, player).
struct PatternLog {
    std::vector<std::pair<Long, Long>> calls;
    PatternRunner Runner() {
        return [this](Long number, Long player) { calls.emplace_back(number, player); };
    }
};

VKeyRecord Keys(std::initializer_list<std::pair<int, Long>> buttons, Long x = 0, Long y = 0) {
    VKeyRecord r;
    for (const auto& [button, count] : buttons) r[framework::kVKeyButton1 + button - 1] = count;
    r[framework::kVKeyX] = x;
    r[framework::kVKeyY] = y;
    r[framework::kVKeyDirection] = x - 3 * y;
    return r;
}

class FrameStep : public BattleFixture {
protected:
    void SetUp() override {
        BattleFixture::SetUp();
        StartPlayers(4, 1, 3, 5);
    }
    // One player frame step of p against q with a logging pattern runner.
    void Versus(int p) { PlayerShotsVersus(Game(), P(p), P(p ^ 1), log.Runner()); }
    PatternLog log;
};

TEST_F(FrameStep, GaugeGrowsByPowerRoundedHalfToEven) {
    struct Case {
        Long power, before, after, flashBefore, flashAfter;
    };
    constexpr Case kCases[] = {
        {0, 0, 5, 0, 0},          {240, 0, 7, 0, 0},        // 6.875
        {64, 0, 6, 0, 0},         {64, 1, 6, 0, 0},         // 5.5 and 6.5 to even
        {64, 2, 8, 0, 0},         {128, 10, 16, 0, 0},      // 7.5, 6
        {0, 994, 999, 16, 14},    {0, 995, 1000, 15, 180},  // 15 x 0.9 to even; full
        {240, 999, 1000, 0, 180}, {0, 1000, 1000, 50, 49},  // full: no growth, flash counts down
        {0, -300, -295, 0, 0},                              // in debt after a costly attack
    };
    for (const Case& c : kCases) {
        P(0).Power = c.power;
        P(0).Gauge = c.before;
        P(0).GaugeFlash = c.flashBefore;
        Versus(0);
        EXPECT_EQ(P(0).Gauge, c.after) << c.power << " " << c.before;
        EXPECT_EQ(P(0).GaugeFlash, c.flashAfter) << c.power << " " << c.before;
    }
}

TEST_F(FrameStep, PowerZeroFirstReachesFiveHundredAfterHundredSteps) {
    P(0).Power = 0;
    for (int i = 1; i <= 100; ++i) {
        Versus(0);
        EXPECT_EQ(P(0).Gauge >= kGaugeToAttack, i >= 100) << i;
    }
}

TEST_F(FrameStep, AttackStartsFromTheHighestHeldButton) {
    struct Case {
        const char* name;
        VKeyRecord keys;
        Long gauge, wait, startBlock, knockBack;
        Long code;
    };
    const Case kCases[] = {
        {"button 1", Keys({{1, 1}}), 500, 0, 0, 0, 10},
        {"button 2 held long", Keys({{2, 30}}), 500, 0, 0, 0, 20},
        {"buttons 1 and 4", Keys({{1, 5}, {4, 1}}), 500, 0, 0, 0, 40},
        {"buttons 1 2 3", Keys({{1, 1}, {2, 1}, {3, 1}}), 700, 0, 0, 0, 30},
        {"release step of 4 with 1 held", Keys({{1, 2}, {4, -7}}), 500, 0, 0, 0, 10},
        {"release step only", Keys({{1, -3}}), 500, 0, 0, 0, 0},
        {"button 5 is no attack", Keys({{5, 3}}), 500, 0, 0, 0, 0},
        {"gauge 499", Keys({{1, 1}}), 499, 0, 0, 0, 0},
        {"still waiting", Keys({{1, 1}}), 900, 1, 0, 0, 0},
        {"start block", Keys({{1, 1}}), 900, 0, 1, 0, 0},
        {"knocked back", Keys({{1, 1}}), 900, 0, 0, 3, 0},
    };
    for (const Case& c : kCases) {
        StartPlayers(4, 1, 3, 5);
        P(0).Gauge = c.gauge;
        P(0).AttackWait = c.wait;
        P(0).StartBlock = c.startBlock;
        P(0).KnockBack = c.knockBack;
        P(1).X = 70000;
        const Long x = P(0).X, y = P(0).Y;
        PlayerFrameUpdate(Game(), 0, c.keys);
        EXPECT_EQ(P(0).AttackCode, c.code) << c.name;
        if (c.code != 0) {
            EXPECT_EQ(P(0).AttackFrame, 1) << c.name;
            EXPECT_EQ(P(0).AttackWait, 24) << c.name;
            EXPECT_EQ(P(0).AttackX, x) << c.name;
            EXPECT_EQ(P(0).AttackY, y) << c.name;
            EXPECT_EQ(P(0).AttackTargetX, 70000) << c.name;
            EXPECT_EQ(P(0).AttackTargetY, P(1).Y) << c.name;
        } else {
            EXPECT_EQ(P(0).AttackFrame, 0) << c.name;
        }
    }
}

TEST_F(FrameStep, NextAttackWaitsTwentyFourSteps) {
    P(0).StartBlock = 0;
    P(0).Gauge = 1000;
    const VKeyRecord held = Keys({{1, 5}});
    PlayerFrameUpdate(Game(), 0, held);
    ASSERT_EQ(P(0).AttackFrame, 1);
    for (int step = 1; step <= 24; ++step) {
        Versus(0);
        P(0).Gauge = 1000;
        PlayerFrameUpdate(Game(), 0, held);
        EXPECT_EQ(P(0).AttackFrame, step < 24 ? step + 1 : 1) << step;
    }
}

TEST_F(FrameStep, DispatchUpgradesOnTheFirstFrameOnly) {
    struct Case {
        const char* name;
        Long code, gauge, frame;
        Long group;  // group of a shot of the player's own main pool (0: none)
        Long shotX;  // its x
        Long expected;
    };
    constexpr Case kCases[] = {
        {"plain shot", 10, 999, 1, 0, 0, 10},
        {"full gauge", 10, 1000, 1, 0, 0, 11},
        {"full gauge burst", 20, 1000, 1, 0, 0, 21},
        {"full gauge special", 30, 1000, 1, 0, 0, 31},
        {"full gauge variation", 40, 1000, 1, 0, 0, 41},
        {"variation with own shots", 40, 500, 1, 1, 0x14000, 42},
        {"strong variation with own shots", 40, 1000, 1, 1, 0x14000, 42},
        {"other group does not count", 40, 500, 1, -1, 0x14000, 40},
        {"shot outside the window", 40, 500, 1, 1, 0x700, 40},
        {"shot at the window's edge", 40, 500, 1, 1, 0x800, 42},
        {"shot variation needs code 40", 10, 500, 1, 1, 0x14000, 10},
        {"later frame keeps the code", 10, 1000, 2, 0, 0, 10},
        {"later frame no 42", 40, 500, 5, 1, 0x14000, 40},
    };
    for (const Case& c : kCases) {
        StartPlayers(4, 1, 3, 5);
        P(0).AttackCode = c.code;
        P(0).Gauge = c.gauge;
        P(0).AttackFrame = c.frame;
        if (c.group != 0) {
            ShotRecord& s = P(0).Shots[17];
            s.State = 1;
            s.Group = c.group;
            s.X = c.shotX;
            s.Y = 0x10000;
        }
        log.calls.clear();
        ShotPatternDispatch(P(0), 3, log.Runner());
        EXPECT_EQ(P(0).AttackCode, c.expected) << c.name;
        ASSERT_EQ(log.calls.size(), 1u) << c.name;
        EXPECT_EQ(log.calls[0].first, ShotPatternNumber(3, c.expected)) << c.name;
        EXPECT_EQ(log.calls[0].second, 0) << c.name;
    }
}

TEST_F(FrameStep, GaugeFillingBeforeTheDispatchGivesTheStrongForm) {
    // The gauge grows before the dispatch: at 995 with power 0 the dispatcher
    // sees 1000; at 990 it sees 995.
    for (const auto& [before, code] : {std::pair<Long, Long>{995, 11}, {990, 10}}) {
        StartPlayers(4, 1, 3, 5);
        P(0).Gauge = before;
        P(0).AttackCode = 10;
        P(0).AttackFrame = 1;
        Versus(0);
        EXPECT_EQ(P(0).AttackCode, code) << before;
        EXPECT_EQ(P(0).AttackFrame, 2) << before;
    }
}

TEST_F(FrameStep, PatternTableByCharacterAndCode) {
    struct Case {
        Long chara, code, pattern;
    };
    constexpr Case kCases[] = {
        {1, 10, 2},  {1, 41, 22}, {2, 31, 32}, {3, 20, 10}, {3, 40, 9}, {4, 10, 1},
        {4, 11, 7},  {5, 41, 3},  {6, 21, 17}, {7, 40, 28}, {8, 10, 3}, {8, 41, 24},
        {5, 30, 39}, {8, 42, 30}, {0, 10, 0},  {9, 10, 0},  {1, 12, 0}, {1, 0, 0},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(ShotPatternNumber(c.chara, c.code), c.pattern) << c.chara << " " << c.code;
}

TEST_F(FrameStep, HitsLivesAndTheDecision) {
    struct Case {
        const char* name;
        Long life, strength, invulnerable;
        Long lifeAfter;
        bool lost, decided;
    };
    constexpr Case kCases[] = {
        {"full life", 10, 2, 0, 8, true, false},
        {"odd life loses one", 9, 2, 0, 8, true, false},
        {"odd life, weak hit", 10, 1, 0, 9, false, false},
        {"odd to even by a weak hit", 5, 1, 0, 4, true, false},
        {"last life", 2, 2, 0, 0, true, true},
        {"odd last point", 1, 2, 0, 0, true, true},
        {"invulnerable", 2, 2, 5, 2, false, false},
        {"invulnerability ends this step", 4, 2, 1, 2, true, false},
        {"no hit", 2, 0, 0, 2, false, false},
    };
    for (const Case& c : kCases) {
        StartPlayers(4, 1, 3, 5);
        P(1).Life = c.life;
        P(1).HitStrength = c.strength;
        P(1).Invulnerable = c.invulnerable;
        P(1).Shots[3].State = 1;    // own main pool
        P(1).Shots[805].State = 1;  // own second pool
        P(0).Shots[3].State = 1;    // the opponent's shots stay
        Versus(1);
        EXPECT_EQ(P(1).Life, c.lifeAfter) << c.name;
        EXPECT_EQ(P(1).HitStrength, 0) << c.name;
        const Long gain = (c.lost ? 50000 : 0) + (c.decided ? 50000 : 0);
        EXPECT_EQ(P(0).Score, gain) << c.name;
        EXPECT_EQ(P(1).KnockBack, c.lost ? 35 : 0) << c.name;
        EXPECT_EQ(P(1).ArtStop, c.lost ? 1 : 0) << c.name;
        EXPECT_EQ(P(1).Shots[3].State, c.lost ? 0 : 1) << c.name;
        EXPECT_EQ(P(1).Shots[805].State, c.lost ? 0 : 1) << c.name;
        EXPECT_EQ(P(0).Shots[3].State, 1) << c.name;
        if (c.lost) {
            EXPECT_EQ(P(1).Invulnerable, 120) << c.name;
            EXPECT_EQ(P(1).HurtTimer, c.lifeAfter > 0 ? (20 - c.lifeAfter) * 10 : 0) << c.name;
        }
        EXPECT_EQ(Game().EndCount, c.decided ? 1 : 0) << c.name;
        EXPECT_EQ(Game().Winner, c.decided ? 0 : -1) << c.name;
        EXPECT_EQ(Game().WaitCount, c.decided ? 60 : 0) << c.name;
        EXPECT_EQ(P(0).Decided, c.decided ? 1 : 0) << c.name;
        EXPECT_EQ(P(1).Decided, c.decided ? 1 : 0) << c.name;
        Game().EndCount = 0;
        Game().Winner = -1;
        Game().WaitCount = 0;
    }
}

TEST_F(FrameStep, BothAtZeroInOneStepPlayerZeroDecides) {
    P(0).Life = 0;
    P(1).Life = 0;
    Versus(0);
    Versus(1);
    EXPECT_EQ(Game().Winner, 1);
    EXPECT_EQ(Game().EndCount, 1);
    EXPECT_EQ(P(1).Score, 50000);
    EXPECT_EQ(P(0).Score, 0);
}

TEST_F(FrameStep, SecondHitAfterTheDecisionIsIgnored) {
    P(0).Life = 2;
    P(0).HitStrength = 2;
    P(1).Life = 2;
    P(1).HitStrength = 2;
    Versus(0);
    Versus(1);
    EXPECT_EQ(Game().Winner, 1);
    EXPECT_EQ(P(1).Life, 2);
    EXPECT_EQ(P(1).Score, 100000);
    EXPECT_EQ(P(0).Score, 0);
}

TEST_F(FrameStep, MovePlayerTurnsByAimAngleAndBounds) {
    struct Case {
        const char* name;
        int player;
        Long x, y, dx, dy, boost, brake;
        Long xAfter, yAfter;
    };
    constexpr Case kCases[] = {
        {"p0 up", 0, 80000, 80000, 0, -1, 0, 0, 80000, 78920},
        {"p0 right", 0, 80000, 80000, 1, 0, 0, 0, 81080, 80000},
        {"p1 record up after the turn", 1, 80000, 50000, 0, 1, 0, 0, 80000, 48920},
        {"p1 record right after the turn", 1, 80000, 50000, -1, 0, 0, 0, 81080, 50000},
        {"p0 up right floors", 0, 80000, 80000, 1, -1, 0, 0, 80763, 79236},
        {"boost and brake", 0, 80000, 80000, 1, 0, 500, -80, 81500, 80000},
        {"left bound", 0, 6500, 80000, -1, 0, 0, 0, 6144, 80000},
        {"lower bound", 0, 80000, 114000, 0, 1, 0, 0, 80000, 114688},
        {"p1 upper bound", 1, 80000, 8300, 0, 1, 0, 0, 80000, 8192},
        {"no direction", 0, 2, 3, 0, 0, 0, 0, 2, 3},
    };
    for (const Case& c : kCases) {
        PlayerRecord& p = P(c.player);
        p.SpeedBoost = c.boost;
        p.SpeedBrake = c.brake;
        Long x = c.x, y = c.y;
        MovePlayer(c.player, x, y, c.dx, c.dy);
        EXPECT_EQ(x, c.xAfter) << c.name;
        EXPECT_EQ(y, c.yAfter) << c.name;
    }
}

TEST_F(FrameStep, KnockBackPushesEachPlayerToItsOwnSide) {
    P(0).KnockBack = 2;
    P(1).KnockBack = 2;
    const Long y0 = P(0).Y, y1 = P(1).Y;
    PlayerFrameUpdate(Game(), 0, VKeyRecord{});
    PlayerFrameUpdate(Game(), 1, VKeyRecord{});
    EXPECT_EQ(P(0).Y, y0 + 1280);
    EXPECT_EQ(P(1).Y, y1 - 1280);
    EXPECT_EQ(P(0).MoveDY, 1280);
    EXPECT_EQ(P(1).MoveDY, -1280);
}

TEST_F(FrameStep, DecidedPlayersStandStill) {
    P(0).Decided = 1;
    const Long x = P(0).X;
    PlayerFrameUpdate(Game(), 0, Keys({}, 1, 0));
    EXPECT_EQ(P(0).X, x);
    EXPECT_EQ(P(0).DirectionHold, 0);
}

TEST_F(FrameStep, DirectionHoldAndPose) {
    struct Case {
        const char* name;
        Long chara, frame, dx, dy, holdBefore;
        Long pose, holdAfter;
    };
    constexpr Case kCases[] = {
        {"right", 3, 0, 1, 0, 0, 9, 20},
        {"left", 3, 0, -1, 0, 110, 5, 120},
        {"idle step 0", 3, 0, 0, 0, 5, 0, 4},
        {"idle step 12", 3, 12, 0, 0, 0, 1, 0},
        {"idle step 36", 3, 36, 0, 0, 0, 0, 0},
        {"emmet never 0", 8, 36, 0, 0, 0, 1, 0},
        {"vertical step 6", 3, 6, 0, -1, 0, 1, 20},
        {"vertical step 12", 3, 12, 0, 1, 0, 2, 20},
    };
    for (const Case& c : kCases) {
        StartPlayers(4, 1, c.chara, 5);
        P(0).FrameCount = c.frame;
        P(0).DirectionHold = c.holdBefore;
        PlayerFrameUpdate(Game(), 0, Keys({}, c.dx, c.dy));
        EXPECT_EQ(P(0).Pose, c.pose) << c.name;
        EXPECT_EQ(P(0).DirectionHold, c.holdAfter) << c.name;
        if (c.dx != 0 || c.dy != 0) {
            EXPECT_EQ(P(0).LastDirection, c.dx - 3 * c.dy) << c.name;
        }
    }
}

TEST_F(FrameStep, LunaticArtStartsOnThePressStepOnly) {
    struct Case {
        const char* name;
        Long count, active, ready;
        bool starts;
    };
    constexpr Case kCases[] = {
        {"pressed", 1, 0, 1, true},
        {"held", 2, 0, 1, false},
        {"another art runs", 1, 1, 1, false},
        {"not ready", 1, 0, 0, false},
    };
    for (const Case& c : kCases) {
        StartPlayers(4, 2, 3, 5);
        P(1).StartBlock = 0;
        Game().ArtActive = c.active;
        P(1).ArtReady = c.ready;
        PlayerFrameUpdate(Game(), 1, Keys({{5, c.count}}));
        EXPECT_EQ(P(1).ArtFrame, c.starts ? 1 : 0) << c.name;
        EXPECT_EQ(P(0).Power, c.starts ? 50 : 40) << c.name;
        EXPECT_EQ(P(1).Power, c.starts ? 50 : 40) << c.name;
        if (c.starts) {
            EXPECT_EQ(Game().ArtActive, 1) << c.name;
            EXPECT_EQ(P(1).ArtReady, 0) << c.name;
            EXPECT_EQ(P(1).ArtX, P(1).X) << c.name;
        }
    }
}

TEST_F(FrameStep, ArtRunsTo450ThenTailThenCooldownGivesItBack) {
    P(0).StartBlock = 0;
    P(0).ArtReady = 0;
    P(1).ArtReady = 0;
    P(0).ArtFrame = 1;
    Game().ArtActive = 1;
    for (int i = 0; i < 448; ++i) Versus(0);
    EXPECT_EQ(P(0).ArtFrame, 449);
    EXPECT_EQ(Game().ArtActive, 1);
    Versus(0);  // frame 450 asks to stop, which starts the 24-step tail at once
    EXPECT_EQ(P(0).ArtFrame, -24);
    EXPECT_EQ(P(0).ArtStop, 0);
    EXPECT_EQ(Game().ArtActive, 0);
    for (int i = 0; i < 24; ++i) Versus(0);
    EXPECT_EQ(P(0).ArtFrame, 0);
    // The step that brought the frame back to 0 started the cooldown and
    // counted its first step.
    EXPECT_EQ(P(0).ArtCooldown, 449);
    for (int i = 0; i < 448; ++i) Versus(0);
    EXPECT_EQ(P(0).ArtReady, 0);
    Versus(0);
    EXPECT_EQ(P(0).ArtReady, 1);
    EXPECT_EQ(P(1).ArtReady, 1);
}

// While it runs, the art clears the opponent's group-0 and group-1 shots
// within 80 pixels of its centre (not during its tail) and shields its
// caster within 100 pixels of it.
TEST_F(FrameStep, ArtClearsNearbyShotsAndShieldsItsCaster) {
    struct Case {
        const char* name;
        Long artFrame, casterPx, shotPx, group;
        bool cleared;
        Long invulnerable;
    };
    constexpr Case kCases[] = {
        {"group 0 near", 5, 100, 70, 0, true, 30},       {"group 0 far", 5, 101, 90, 0, false, 0},
        {"group 1 near", 5, 0, 70, 1, true, 30},         {"group -1 near", 5, 0, 70, -1, false, 30},
        {"group 2 near", 5, 0, 70, 2, false, 30},        {"tail", -10, 0, 70, 0, false, 30},
        {"tail, caster away", -10, 101, 0, 1, false, 0},
    };
    constexpr Long kCX = 0x14000, kCY = 0x10000;
    for (const Case& c : kCases) {
        StartPlayers(4, 1, 3, 5);
        P(0).ArtFrame = c.artFrame;
        P(0).ArtX = kCX;
        P(0).ArtY = kCY;
        P(0).X = kCX + c.casterPx * 256;
        P(0).Y = kCY;
        P(0).Invulnerable = 0;
        ShotRecord& s = P(1).Shots[7];
        s.State = 1;
        s.Size = 4;  // reach: 80 + 1 pixels
        s.Scale = 256;
        s.Group = c.group;
        s.X = kCX - c.shotPx * 256;
        s.Y = kCY;
        Versus(0);
        EXPECT_EQ(s.State == 0, c.cleared) << c.name;
        EXPECT_EQ(P(0).Invulnerable, c.invulnerable) << c.name;
    }
}

TEST_F(FrameStep, ShotHitOpponentOnlyForAVulnerablePlayerSimulatedHere) {
    struct Case {
        const char* name;
        Long mode, vulnerable, pool, dx;
        Long strength;
    };
    constexpr Case kCases[] = {
        {"main pool on target", 4, 1, 0, 0, 2},     {"main pool far away", 4, 1, 0, 0x4000, 0},
        {"not vulnerable", 4, 0, 0, 0, 0},          {"target simulated by the peer", 8, 1, 0, 0, 0},
        {"third pool never hits", 4, 1, 945, 0, 0},
    };
    for (const Case& c : kCases) {
        StartPlayers(c.mode, 1, 3, 5);
        P(0).Vulnerable = c.vulnerable;
        ShotRecord& s = P(1).Shots[static_cast<std::size_t>(c.pool)];
        s.State = 1;
        s.Size = 18;
        s.Scale = 256;
        s.X = P(0).X + c.dx;
        s.Y = P(0).Y;
        ShotHitOpponent(Options(), P(1), P(0));
        EXPECT_EQ(P(0).HitStrength, c.strength) << c.name;
    }
}

TEST_F(FrameStep, ShotListMoveRemovesFarMainPoolRecords) {
    struct Case {
        Long index, x, y;
        Long stateAfter;
    };
    constexpr Case kCases[] = {
        {0, 0x14000, 0x10000, 1}, {1, -0x7100, 0x10000, 0}, {2, 0x2F100, 0x10000, 0},
        {3, 0x14000, 0x23100, 0}, {4, -0x6F00, -0x4F00, 1}, {805, -0x9000, 0x10000, 1},
    };
    for (const Case& c : kCases) {
        ShotRecord& s = P(0).Shots[static_cast<std::size_t>(c.index)];
        s.State = 1;
        s.X = c.x;
        s.Y = c.y;
    }
    ShotListMove(0);
    for (const Case& c : kCases)
        EXPECT_EQ(P(0).Shots[static_cast<std::size_t>(c.index)].State, c.stateAfter) << c.index;
    EXPECT_EQ(P(0).Shots[0].Age, 1);
}

TEST(PosToPan, CentreIsSilentSidesAreSmall) {
    EXPECT_EQ(PosToPan(0x14000), 0.0f);
    EXPECT_FLOAT_EQ(PosToPan(0x28000), 0.08192f);
    EXPECT_FLOAT_EQ(PosToPan(0), -0.08192f);
}

}  // namespace
}  // namespace brumil::battle::test
