#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "battle/player_record.h"
#include "framework/input_codes.h"
#include "frontend/battle_start.h"
#include "frontend/continue_screen.h"
#include "menu_screen_fixture.h"
#include "net/net_globals.h"

namespace brumil::frontend {
namespace {

namespace scan = platform::scan;

constexpr Long kQuestionEntry = 2;

// The match sequence over stand-in screens: the title, level and character
// select only note their messages; each "match" (job 20) decides on its first
// step with the next winner of a script and removes itself.
class MatchSequence : public screentest::MenuScreenFixture {
protected:
    void SetUp() override {
        MenuScreenFixture::SetUp();
        StartDisplay();
        for (Long job : {kTitleJob, kArcadeLevelJob, kArcadeCharaJob, kFreeFightLevelJob,
                         kFreeFightCharaJob}) {
            app.SetJobProcedure(job, [this](ApplicationConfig&, Long j, Long m, Long) {
                messages[j].push_back(m);
            });
        }
        // Like a real match, it holds the players' records while it runs and
        // gives them back cleared at its end.
        app.SetJobProcedure(kBattleStartJob, [this](ApplicationConfig& a, Long, Long m, Long) {
            if (m == framework::kJobMessageBegin) {
                opponents.push_back(Options().CharaID(1));
                Game().KeepState(true);
            }
            if (m == framework::kJobMessageEnd) Game().KeepState(false);
            if (m != 0) return;
            Game().Winner = winners.empty() ? 0 : winners.front();
            if (!winners.empty()) winners.erase(winners.begin());
            a.Job().Remove(ApplicationConfig::Key(kBattleStartJob));
        });
    }
    // Title, level and character select of the mode, then the sequence.
    void Run(Long mode, Long player, Long levelJob) {
        Options().GameMode = mode;
        Options().CharaID(0, player);
        app.Job().Add(ApplicationConfig::Key(kTitleJob), kJobKindNormal);
        app.Job().Add(ApplicationConfig::Key(levelJob), kJobKindModal);
        app.Job().Add(ApplicationConfig::Key(levelJob + 1), kJobKindModal);
        Step();
        app.Job().Add(ApplicationConfig::Key(kMatchSequenceJob), kJobKindModal);
        Step();
    }
    bool RunOver() { return !On(kMatchSequenceJob) && !On(kArcadeCharaJob); }
    std::string Question() { return View().Layer()->Text(kQuestionEntry); }

    std::map<Long, std::vector<Long>> messages;
    std::vector<Long> winners;  // 0 the player, 1 the computer
    std::vector<Long> opponents;
};

TEST_F(MatchSequence, TheArcadesOpponentsAreDistinctAndNeverThePlayer) {
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        const Long player = static_cast<Long>(seed % 8) + 1;
        core::gApi().SeedHelperRandom(seed);
        Options().GameMode = 1;
        Options().CharaID(0, player);
        app.Job().Add(ApplicationConfig::Key(kMatchSequenceJob), kJobKindModal);
        Step();
        const auto& order = St().EnemyOrder;
        const std::set<Long> distinct(order.begin(), order.end());
        EXPECT_EQ(distinct.size(), 4u) << seed;
        for (Long id : order) {
            EXPECT_NE(id, player) << seed;
            EXPECT_GE(id, 1);
            EXPECT_LE(id, 8);
        }
        app.Job().Destroy();
        Step();
    }
}

TEST_F(MatchSequence, FourWinsEndTheRunAndTheTitleComesBack) {
    winners = {0, 0, 0, 0};
    Run(1, 3, kArcadeLevelJob);
    ASSERT_TRUE(StepUntil([&] { return RunOver(); }, 40));
    const auto& order = St().EnemyOrder;
    EXPECT_EQ(opponents, std::vector<Long>(order.begin(), order.end()));
    EXPECT_FALSE(On(kArcadeLevelJob));
    EXPECT_TRUE(Active(kTitleJob));
    const auto& title = messages[kTitleJob];
    EXPECT_NE(std::find(title.begin(), title.end(), 3), title.end()) << "the title was reactivated";
}

TEST_F(MatchSequence, ALossAsksAndNoEndsTheRun) {
    winners = {0, 1};
    Run(1, 3, kArcadeLevelJob);
    ASSERT_TRUE(StepUntil([&] { return St().ContinueShown == 1; }, 40));
    EXPECT_EQ(Question(), "コンティニューしますかー？");
    EXPECT_EQ(opponents.size(), 2u);
    // An accept with the pointer over no answer does nothing.
    devices.Mouse().pointer = {0, true, 5.0f / 640.0f, 5.0f / 480.0f, 5, 5};
    devices.Mouse().left = true;
    Step();
    devices.Mouse().left = false;
    Step();
    EXPECT_EQ(Cursor(), -1);
    EXPECT_EQ(St().ContinueShown, 1);
    EXPECT_EQ(Game().Winner, 1);
    Press(scan::Down);  // from no answer to "Yes"
    Press(scan::Down);
    ASSERT_EQ(Cursor(), 1);
    host.sounds.clear();
    Press(scan::Return);
    EXPECT_FALSE(RunOver()) << "the run ends in the step after the answer";
    Step();
    EXPECT_TRUE(RunOver());
    EXPECT_TRUE(Active(kTitleJob));
    EXPECT_EQ(opponents.size(), 2u);
    EXPECT_TRUE(host.sounds.empty()) << "the question plays no menu sounds";
}

TEST_F(MatchSequence, YesGoesOnWithTheNextOpponent) {
    winners = {1, 0, 1, 0};
    Run(1, 5, kArcadeLevelJob);
    ASSERT_TRUE(StepUntil([&] { return St().ContinueShown == 1; }, 40));
    Press(scan::Return);  // "Yes"
    ASSERT_TRUE(StepUntil([&] { return St().ContinueShown == 1; }, 40));
    EXPECT_EQ(opponents.size(), 3u);
    // A dialog over the question: the rebuilt view shows it again.
    app.Job().Add(ApplicationConfig::Key(7), kJobKindModal);
    Step();
    app.Job().Remove(ApplicationConfig::Key(7));
    Step();
    EXPECT_EQ(Question(), "コンティニューしますかー？");
    Press(scan::Return);
    ASSERT_TRUE(StepUntil([&] { return RunOver(); }, 40));
    const auto& order = St().EnemyOrder;
    EXPECT_EQ(opponents, std::vector<Long>(order.begin(), order.end()));
}

// Fire is held through most of a match: a button held since before the
// question answers only once it has been let go and pressed again.
TEST_F(MatchSequence, AButtonHeldThroughTheLossAnswersOnlyWhenPressedAgain) {
    struct Source {
        const char* name;
        bool pads;
        Long button1;            // the code assigned to player 1's button 1, 0 to keep it
        platform::ScanCode key;  // the key held, none for the pad
    };
    const Source sources[] = {
        {"Z, button 1", false, 0, scan::Z},
        {"Return", false, 0, scan::Return},
        {"Return assigned to button 1", false, framework::KeyboardCode(scan::Return), scan::Return},
        {"pad button 1", true, 0, 0},
    };
    for (const Source& s : sources) {
        SCOPED_TRACE(s.name);
        if (s.pads) PlugPads();
        if (s.button1 != 0) framework::gKeyAssign()[0][0] = s.button1;
        const auto hold = [&](bool down) {
            if (s.pads) {
                devices.Joystick(0).buttons[0] = down;
            } else {
                devices.SetKey(s.key, down);
            }
        };
        opponents.clear();
        winners = {1};
        hold(true);
        Run(1, 3, kArcadeLevelJob);
        ASSERT_TRUE(StepUntil([&] { return St().ContinueShown == 1; }, 40));
        Steps(6);
        EXPECT_EQ(Question(), "コンティニューしますかー？");
        EXPECT_EQ(St().ContinueShown, 1) << "the question waits";
        EXPECT_EQ(Game().Winner, 1);
        EXPECT_EQ(opponents.size(), 1u);
        hold(false);
        Step();
        hold(true);
        Step();
        hold(false);
        EXPECT_TRUE(StepUntil([&] { return opponents.size() == 2u; }, 4)) << "answered Yes";
        app.Job().Destroy();
        Step();
        framework::SetDefaultKeyAssign1(0);
    }
}

TEST_F(MatchSequence, OutsideTheArcadeEveryMatchReturnsToTheCharacterSelect) {
    for (Long mode : {2, 3, 4}) {
        SCOPED_TRACE(mode);
        messages.clear();
        opponents.clear();
        Run(mode, 2, kFreeFightLevelJob);
        Steps(3);
        EXPECT_EQ(opponents.size(), 1u);
        EXPECT_FALSE(On(kMatchSequenceJob));
        EXPECT_TRUE(Active(kFreeFightCharaJob));
        const auto& chara = messages[kFreeFightCharaJob];
        EXPECT_EQ(std::count(chara.begin(), chara.end(), 3), 1);
        app.Job().Destroy();
        Step();
    }
}

struct StageCase {
    Long id;
    Long stage;
};

TEST(BattleStage, ByCharacter) {
    const StageCase cases[] = {{1, 0}, {2, 1}, {3, 2},  {4, 3},  {5, 2},  {6, 0},
                               {7, 6}, {8, 6}, {0, -1}, {9, -1}, {-1, -1}};
    for (const StageCase& c : cases) EXPECT_EQ(StageOfChara(c.id), c.stage) << c.id;
}

class BattleStart : public screentest::MenuScreenFixture {
protected:
    void SetUp() override {
        MenuScreenFixture::SetUp();
        StartDisplay();
    }
    void Start() {
        app.Job().Add(ApplicationConfig::Key(kBattleStartJob), kJobKindModal);
        Step();
    }
    void Finish() {
        app.Job().Remove(ApplicationConfig::Key(kBattleStartJob));
        Step();
    }
    // A modal dialog (job 7) opened over the battle-start job for one step.
    void DialogForOneStep() {
        app.Job().Add(ApplicationConfig::Key(7), kJobKindModal);
        Step();
        app.Job().Remove(ApplicationConfig::Key(7));
        Step();
    }
    // The running match's input job is on the list and the keyboard moves
    // player 0.
    void ExpectTheMatchRunsOnTheKeyboard() {
        ASSERT_TRUE(StepUntil([&] { return Game().Jobs.Test(battle::bGame::JobKey(5)); }, 10));
        const Long x = battle::gPlayers()[0].X;
        devices.SetKey(scan::Left, true);
        Steps(3);
        devices.SetKey(scan::Left, false);
        Step();
        EXPECT_LT(battle::gPlayers()[0].X, x) << "the keys reach the player";
    }
};

// A network match whose wait opens the set-up window (no session yet).
class NetworkBattleStart : public BattleStart {
protected:
    void SetUp() override {
        BattleStart::SetUp();
        net::GameNet() = net::NetState{};
        app.SetJobProcedure(kNetworkSetupJob, [](ApplicationConfig&, Long, Long, Long) {});
        Options().GameMode = 7;
        Options().CharaID(0, 1);
        Options().CharaID(1, 2);
    }
    void TearDown() override {
        net::GameNet() = net::NetState{};
        BattleStart::TearDown();
    }
    // The set-up window over job 1's wait, closed once a session with a peer
    // exists.
    void JoinFromTheWait() {
        Start();
        Step();
        ASSERT_TRUE(Active(kNetworkSetupJob)) << "the wait opened the set-up window";
        ASSERT_FALSE(Active(kBattleStartJob));
        net::gNetOwn().Name = "ゆき";
        net::gNetPeer().Name = "はる";
        app.Job().Remove(ApplicationConfig::Key(kNetworkSetupJob));
        Step();
        ASSERT_TRUE(Active(kBattleStartJob));
    }
};

TEST_F(BattleStart, TheArcadeStageFollowsTheOpponent) {
    for (Long opponent = 1; opponent <= 8; ++opponent) {
        Options().GameMode = 1;
        Options().CharaID(0, 1);
        Options().CharaID(1, opponent);
        Options().StageNumber = 5;
        Start();
        EXPECT_EQ(Options().StageNumber, StageOfChara(opponent)) << opponent;
        Finish();
    }
}

TEST_F(BattleStart, AFreeFightTakesEitherSidesStage) {
    std::set<Long> stages;
    for (std::uint64_t seed = 1; seed <= 24; ++seed) {
        core::gApi().SeedHelperRandom(seed);
        Options().GameMode = 2;
        Options().CharaID(0, 2);
        Options().CharaID(1, 4);
        Start();
        stages.insert(Options().StageNumber);
        Finish();
    }
    EXPECT_EQ(stages, (std::set<Long>{1, 3}));
}

TEST_F(BattleStart, RunsTheBattlesJobsAndEndsThemWithTheJob) {
    Options().GameMode = 4;
    Options().CharaID(0, 1);
    Options().CharaID(1, 2);
    Start();
    EXPECT_EQ(host.searchPathResets, 1);
    EXPECT_TRUE(Game().Jobs.Test(battle::bGame::JobKey(1)));
    Steps(3);
    EXPECT_TRUE(Game().Jobs.Test(battle::bGame::JobKey(2))) << "the battle's list is polled";
    EXPECT_TRUE(Game().KeepStateFlag());
    // The battle ends the match through its hook.
    ASSERT_TRUE(Game().FrontEnd.EndMatch);
    Game().FrontEnd.EndMatch();
    Game().FrontEnd.EndMatch();  // repeated in later steps: harmless
    Step();
    EXPECT_FALSE(On(kBattleStartJob));
    EXPECT_EQ(Game().Jobs.LinkedCount(), 0u);
    EXPECT_FALSE(Game().KeepStateFlag()) << "the match end ran";
    EXPECT_EQ(host.searchPathResets, 2);
    // The next match starts afresh.
    Start();
    Steps(2);
    EXPECT_TRUE(Game().KeepStateFlag());
}

TEST_F(BattleStart, ADialogOverAMatchSuspendsItAndGivesTheRecordsBack) {
    Options().GameMode = 4;
    Start();
    Steps(3);
    ASSERT_TRUE(Game().KeepStateFlag());
    framework::VKey()[0][0] = 5;
    app.Job().Add(ApplicationConfig::Key(7), kJobKindModal);
    Step();
    EXPECT_FALSE(Active(kBattleStartJob));
    EXPECT_FALSE(Game().KeepStateFlag());
    EXPECT_EQ(framework::VKey()[0][0], 0) << "the dialog starts from clear records";
    app.Job().Remove(ApplicationConfig::Key(7));
    Step();
    EXPECT_TRUE(Active(kBattleStartJob));
    EXPECT_TRUE(Game().KeepStateFlag());
    // Held for 5 steps before the dialog, released in the match's first step
    // after it.
    EXPECT_EQ(framework::VKey()[0][0], -5);
}

TEST_F(BattleStart, ADialogInTheFirstStepLeavesTheMatchStartAlone) {
    Options().GameMode = 4;
    Options().CharaID(0, 1);
    Options().CharaID(1, 2);
    Start();
    ASSERT_FALSE(Game().Jobs.Test(battle::bGame::JobKey(2))) << "before the match start";
    DialogForOneStep();
    ExpectTheMatchRunsOnTheKeyboard();
}

TEST_F(NetworkBattleStart, TheSetUpWindowOverTheWaitThenAReadyPeerStartsTheMatch) {
    JoinFromTheWait();
    net::NetPlayerRecord& peer = net::gNetPeer();
    peer.State = 3;
    peer.SetupA = Options().AILevel;
    peer.SetupB = 2;
    peer.SetupC = Options().StageNumber;
    ASSERT_TRUE(StepUntil([&] { return Game().Jobs.Test(battle::bGame::JobKey(3)); }, 10));
    peer.State = 5;
    ExpectTheMatchRunsOnTheKeyboard();
}

TEST_F(NetworkBattleStart, AMatchAfterACancelledWaitStarts) {
    JoinFromTheWait();
    Press(scan::X);  // button 2 leaves the wait
    ASSERT_FALSE(On(kBattleStartJob));
    Options().GameMode = 4;
    Start();
    ExpectTheMatchRunsOnTheKeyboard();
}

}  // namespace
}  // namespace brumil::frontend
