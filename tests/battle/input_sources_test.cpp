// Input sources: keyboard records through the real input module, the replay
// source, and the half turn of player 1's keyboard record.
#include "battle/input_sources.h"

#include <gtest/gtest.h>

#include "battle_fixture.h"
#include "battle_harness/match_harness.h"
#include "framework/input_module.h"

namespace brumil::battle::test {
namespace {

using harness::MatchHarness;
using harness::MatchSetup;
using harness::ScriptedKey;

// Player `player` holds `input` from step 0 on in a match of `mode`.
MatchSetup Holding(Long mode, Long player, int input) {
    MatchSetup s;
    s.GameMode = mode;
    s.Keys = {ScriptedKey{0, player, input, true}};
    return s;
}

struct MoveCase {
    const char* name;
    Long mode, player;
    int input;
    Long dx, dy;  // sign of the screen movement
};

constexpr MoveCase kMoveCases[] = {
    {"p0 up", 4, 0, harness::kUp, 0, -1},
    {"p0 left", 4, 0, harness::kLeft, -1, 0},
    {"p1 up moves up the screen", 4, 1, harness::kUp, 0, -1},
    {"p1 down", 4, 1, harness::kDown, 0, 1},
    {"p1 right moves right", 4, 1, harness::kRight, 1, 0},
    {"computer ignores the keys", 1, 1, harness::kUp, 0, 0},
    {"replay stands still", 6, 0, harness::kUp, 0, 0},
    {"replay p1 stands still", 6, 1, harness::kRight, 0, 0},
};

int Sign(Long v) {
    return (v > 0) - (v < 0);
}

TEST(InputSources, KeysMovePlayersByTheirSource) {
    for (const MoveCase& c : kMoveCases) {
        MatchHarness match(Holding(c.mode, c.player, c.input));
        for (int i = 0; i < 3; ++i) match.Step();  // the match is running from here
        const PlayerRecord before = gPlayers()[std::size_t(c.player)];
        for (int i = 0; i < 5; ++i) match.Step();
        const PlayerRecord& after = gPlayers()[std::size_t(c.player)];
        EXPECT_EQ(Sign(after.X - before.X), c.dx) << c.name;
        EXPECT_EQ(Sign(after.Y - before.Y), c.dy) << c.name;
        if (c.dy != 0) {
            EXPECT_EQ(after.Y - before.Y, c.dy * 5 * after.MoveSpeed) << c.name;
        }
    }
}

TEST(InputSources, PlayerOneRecordIsTurnedBeforeTheMovementStep) {
    MatchHarness match(Holding(4, 1, harness::kUp));
    for (int i = 0; i < 6; ++i) match.Step();
    const auto& r = framework::VKey()[1];
    EXPECT_EQ(r[framework::kVKeyY], 1);
    EXPECT_EQ(r[framework::kVKeyX], 0);
    EXPECT_EQ(r[framework::kVKeyDirection], -3);
    const auto& r0 = framework::VKey()[0];
    EXPECT_EQ(r0[framework::kVKeyY], 0);
}

class KeyboardSource : public BattleFixture {};

TEST_F(KeyboardSource, TurnsOnlyARecordRefreshedInThisInputStep) {
    Options().GameMode = 4;
    auto& r = framework::VKey()[1];
    framework::VKeyFlags up{};
    up[framework::kFlagUp] = true;
    up[framework::kFlagLeft] = true;
    framework::UpdateVKey(1, up);
    framework::gInputModule().StepWith({});  // a new input step (it refills from no devices)
    framework::UpdateVKey(1, up);            // the record as the devices left it
    InputJob(Game());
    EXPECT_EQ(r[framework::kVKeyX], 1);
    EXPECT_EQ(r[framework::kVKeyY], 1);
    EXPECT_EQ(r[framework::kVKeyDirection], -2);
    // Polled again in the same input step: not turned back.
    InputJob(Game());
    EXPECT_EQ(r[framework::kVKeyX], 1);
    EXPECT_EQ(r[framework::kVKeyY], 1);
    // Player 0's record is used as the devices left it.
    framework::UpdateVKey(0, up);
    InputJob(Game());
    EXPECT_EQ(framework::VKey()[0][framework::kVKeyX], -1);
    EXPECT_EQ(framework::VKey()[0][framework::kVKeyY], -1);
}

TEST_F(KeyboardSource, DeviceFlagFalseKeepsTheRecord) {
    Options().GameMode = 4;
    framework::gVKeyFromDevices()[1] = false;
    auto& r = framework::VKey()[1];
    r[framework::kVKeyButton1] = 7;
    r[framework::kVKeyX] = 1;
    r[framework::kVKeyY] = -1;
    r[framework::kVKeyDirection] = 4;
    const auto before = r;
    framework::gInputModule().StepWith({});
    InputJob(Game());
    EXPECT_EQ(r.Entry, before.Entry);
}

TEST_F(KeyboardSource, TypesOutsideTheTableLeaveRecords) {
    for (Long mode : {0, 9}) {
        Options().GameMode = mode;
        framework::VKey()[0][framework::kVKeyButton1] = 3;
        framework::VKey()[1][framework::kVKeyX] = 1;
        InputJob(Game());
        EXPECT_EQ(framework::VKey()[0][framework::kVKeyButton1], 3) << mode;
        EXPECT_EQ(framework::VKey()[1][framework::kVKeyX], 1) << mode;
    }
}

TEST_F(KeyboardSource, ReplayReleasesEverything) {
    Options().GameMode = 6;
    framework::VKey()[0][framework::kVKeyButton1] = 3;
    framework::VKey()[1][framework::kVKeyX] = 1;
    InputJob(Game());
    EXPECT_EQ(framework::VKey()[0][framework::kVKeyButton1], -3);  // released this step
    EXPECT_EQ(framework::VKey()[1][framework::kVKeyX], 0);
    InputJob(Game());
    EXPECT_EQ(framework::VKey()[0][framework::kVKeyButton1], 0);
}

}  // namespace
}  // namespace brumil::battle::test
