// The network match's waits, abort and end against the game's records over a
// fake transport: what each step sends, when each wait ends and which of the
// peer's values the match takes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "battle/match_seams.h"
#include "battle/network_match.h"
#include "battle_fixture.h"
#include "framework/input_state.h"
#include "net/net_message.h"
#include "net_fake_session.h"

namespace brumil::battle::test {
namespace {

constexpr Long kNetworkMode = 7;  // player 0 here, player 1 the peer
constexpr std::string_view kPeerName = "はる";

class NetworkWaitTest : public BattleFixture {
protected:
    void SetUp() override {
        BattleFixture::SetUp();
        net::GameNet() = net::NetState{};
        link.Host();
        net::BindGameSession(&link.session);
        net::gNetPeer().Name = kPeerName;
        net::gNetPeer().Id = 2;
        StartPlayers(kNetworkMode, 3, 4, 5);
        Options().StageNumber = 2;
        Game().FrontEnd.EndMatch = [this] { ++ends; };
        Game().FrontEnd.OpenNetworkSetup = [this] { ++setups; };
    }
    void TearDown() override {
        net::BindGameSession(nullptr);
        net::GameNet() = net::NetState{};
        framework::gInputState() = framework::InputStateBlock{};
        BattleFixture::TearDown();
    }

    // The peer's set-up message as the receiver stores it.
    static void PeerSetup(Long state, Long level, Long chara, Long stage) {
        net::NetPlayerRecord& peer = net::gNetPeer();
        peer.State = state;
        peer.SetupA = level;
        peer.SetupB = chara;
        peer.SetupC = stage;
    }

    std::vector<net::NetMessage> Sent(Long type) const {
        std::vector<net::NetMessage> out;
        for (const auto& m : link.fake->sent) {
            const auto* p = reinterpret_cast<const std::uint8_t*>(m.bytes.data());
            auto decoded = net::DecodeNetMessage({p, m.bytes.size()});
            if (decoded && decoded->type == type) out.push_back(*decoded);
        }
        return out;
    }
    std::vector<std::string> Notices() const {
        std::vector<std::string> out;
        for (const auto& m : Sent(net::kNoticeMessage)) out.push_back(m.text);
        return out;
    }
    Long LastPhaseSent() const {
        const auto states = Sent(net::kStateMessage);
        return states.empty() ? -1 : states.back().values[0];
    }

    net::testing::FakeGameSession link;
    int ends = 0;
    int setups = 0;
};

struct WaitCase {
    const char* what;
    bool ownName;
    bool peerName;
    Long peerState;
    Long peerChara;  // 0: no set-up message in this wait
    bool ends;
    Long phase;
    std::string_view text;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const WaitCase& c, std::ostream* os) {
    *os << c.what;
}

class NetworkWaitCases : public NetworkWaitTest, public ::testing::WithParamInterface<WaitCase> {};

TEST_P(NetworkWaitCases, EndsOnlyWithBothNamesAReadyPeerAndItsSetup) {
    const WaitCase& c = GetParam();
    if (!c.ownName) net::gNetOwn().Name.clear();
    if (!c.peerName) net::gNetPeer().Name.clear();
    EXPECT_FALSE(NetworkWaitStep(Game(), 1));
    PeerSetup(c.peerState, 4, c.peerChara, 3);
    EXPECT_EQ(NetworkWaitStep(Game(), 0), c.ends) << c.what;
    EXPECT_EQ(net::gNetOwn().State, c.phase) << c.what;
    EXPECT_EQ(LastPhaseSent(), c.phase) << c.what;
    EXPECT_EQ(Game().NetWaitText, c.text) << c.what;
    EXPECT_EQ(setups, c.ownName ? 0 : 1) << c.what;
    // Every step sends this side's set-up: phase, AI level, own character,
    // stage.
    const auto setup = Sent(net::kSetupMessage);
    ASSERT_EQ(setup.size(), 1u) << c.what;
    const Long phaseWhenSent = c.ends ? kPhaseReady : c.phase;
    EXPECT_EQ(setup[0].values, (std::array<Long, 5>{phaseWhenSent, 3, 4, 2, 0})) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NetworkWaitCases,
    ::testing::Values(
        WaitCase{"ready peer with set-up", true, true, 3, 6, true, kPhaseLoading, kTextLoading},
        WaitCase{"peer already loading", true, true, 4, 6, true, kPhaseLoading, kTextLoading},
        WaitCase{"no set-up yet", true, true, 3, 0, false, kPhaseReady, kTextWaitingForPeer},
        WaitCase{"peer still waiting", true, true, 2, 6, false, kPhaseReady, kTextWaitingForPeer},
        WaitCase{"no peer", true, false, 3, 6, false, kPhaseWaiting, kTextNoOpponent},
        WaitCase{"no session", false, true, 3, 6, false, kPhaseWaiting, kTextNoSession}));

TEST_F(NetworkWaitTest, ValuesFromBeforeTheWaitDoNotCount) {
    PeerSetup(kPhasePlaying, 4, 6, 3);  // left over from the last match
    net::gNetOwn().State = kPhaseDecided;
    EXPECT_FALSE(NetworkWaitStep(Game(), 1));
    EXPECT_EQ(net::gNetPeer().State, 0);
    EXPECT_EQ(net::gNetPeer().SetupB, 0);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(NetworkWaitStep(Game(), 0));
    EXPECT_EQ(net::gNetOwn().State, kPhaseReady);
    // The ready line goes out once, with the own name.
    EXPECT_EQ(Notices(), std::vector<std::string>{"ゆきは準備を終えました"});
    PeerSetup(kPhaseReady, 4, 6, 3);
    EXPECT_TRUE(NetworkWaitStep(Game(), 0));
    EXPECT_EQ(Options().CharaID(1), 6);
}

struct AgreeCase {
    const char* what;
    bool joined;
    Long level, chara, stage;                           // from the peer
    Long wantLevel, wantChara0, wantChara1, wantStage;  // own: level 3, chara 4/5, stage 2
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const AgreeCase& c, std::ostream* os) {
    *os << c.what;
}

class AgreeCases : public NetworkWaitTest, public ::testing::WithParamInterface<AgreeCase> {};

TEST_P(AgreeCases, PeerValuesInRangeOnly) {
    const AgreeCase& c = GetParam();
    Game().FrontEnd.JoinedNetworkSession = [&c] { return c.joined; };
    NetworkWaitStep(Game(), 1);
    PeerSetup(kPhaseReady, c.level, c.chara, c.stage);
    ASSERT_TRUE(NetworkWaitStep(Game(), 0)) << c.what;
    EXPECT_EQ(Options().AILevel, c.wantLevel) << c.what;
    EXPECT_EQ(Options().CharaID(0), c.wantChara0) << c.what;
    EXPECT_EQ(Options().CharaID(1), c.wantChara1) << c.what;
    EXPECT_EQ(Options().StageNumber, c.wantStage) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AgreeCases,
    ::testing::Values(AgreeCase{"host keeps its level and stage", false, 6, 8, 6, 3, 4, 8, 2},
                      AgreeCase{"joiner takes the host's", true, 6, 1, 0, 6, 4, 1, 0},
                      AgreeCase{"level 0 and stage 7", true, 0, 2, 7, 3, 4, 2, 2},
                      AgreeCase{"level 7 and stage -1", true, 7, 2, -1, 3, 4, 2, 2}));

// A character outside 1..8 is no set-up at all: the wait goes on with the own
// options untouched, the log says why once, and a good set-up still ends it.
TEST_F(NetworkWaitTest, ASetUpWithACharacterOutsideOneToEightIsRefused) {
    for (const Long chara : {9, -1, 100}) {
        net::gNetLog() = net::NetLog{};
        Options().CharaID(1, 5);
        NetworkWaitStep(Game(), 1);
        PeerSetup(kPhaseReady, 4, chara, 3);
        for (int i = 0; i < 3; ++i) EXPECT_FALSE(NetworkWaitStep(Game(), 0)) << chara;
        EXPECT_EQ(net::gNetOwn().State, kPhaseReady) << chara;
        EXPECT_EQ(Options().CharaID(1), 5) << chara;
        const std::string& log = net::gNetLog().Text;
        const std::string line = std::string(kLogPeerSetupRefused) + std::to_string(chara);
        const auto at = log.find(line);
        EXPECT_NE(at, std::string::npos) << chara;
        EXPECT_EQ(log.find(kLogPeerSetupRefused, at + 1), std::string::npos) << "said once";
        PeerSetup(kPhaseReady, 4, 6, 3);
        EXPECT_TRUE(NetworkWaitStep(Game(), 0)) << chara;
        EXPECT_EQ(Options().CharaID(1), 6) << chara;
    }
}

struct CancelCase {
    const char* what;
    bool button2;
    bool mouseRight;
    Long peerState;  // keeps the wait from ending
    bool cancels;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const CancelCase& c, std::ostream* os) {
    *os << c.what;
}

class CancelCases : public NetworkWaitTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CancelCases, ButtonTwoOrRightClickLeavesTheWait) {
    const CancelCase& c = GetParam();
    NetworkWaitStep(Game(), 1);
    NetworkWaitStep(Game(), 0);  // phase 3
    link.fake->sent.clear();
    PeerSetup(c.peerState, 0, 0, 0);
    if (c.button2) framework::VKey()[0][framework::kVKeyButton1 + 1] = 1;
    if (c.mouseRight) framework::gInputState().MouseRight = 1;
    EXPECT_FALSE(NetworkWaitStep(Game(), 0));
    EXPECT_EQ(ends, c.cancels ? 1 : 0) << c.what;
    EXPECT_EQ(net::gNetOwn().State, c.cancels ? kPhaseWaiting : kPhaseReady) << c.what;
    const std::vector<std::string> want = c.cancels
                                              ? std::vector<std::string>{"ゆきはキャンセルしました"}
                                              : std::vector<std::string>{};
    EXPECT_EQ(Notices(), want) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, CancelCases,
                         ::testing::Values(CancelCase{"button 2", true, false, 2, true},
                                           CancelCase{"right click", false, true, 2, true},
                                           CancelCase{"nothing pressed", false, false, 2, false}));

TEST_F(NetworkWaitTest, HeldButtonTwoDoesNotCancel) {
    NetworkWaitStep(Game(), 1);
    framework::VKey()[0][framework::kVKeyButton1 + 1] = 5;
    NetworkWaitStep(Game(), 0);
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(net::gNetOwn().State, kPhaseReady);
}

struct ReadyCase {
    Long peerState;
    bool ends;
    Long phase;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ReadyCase& c, std::ostream* os) {
    *os << "peerState=" << c.peerState << " ends=" << c.ends << " phase=" << c.phase;
}

class ReadyCases : public NetworkWaitTest, public ::testing::WithParamInterface<ReadyCase> {};

TEST_P(ReadyCases, EndsWhenThePeerHasLoaded) {
    const ReadyCase& c = GetParam();
    P(0).Life = 9;
    P(1).Life = 7;
    net::gNetOwn().Extra = 0;  // a lost life of the last match
    net::gNetOwn().Frame = 500;
    EXPECT_FALSE(NetworkReadyStep(Game(), 1));
    EXPECT_EQ(LastPhaseSent(), kPhaseLoading);
    // Input sent from now on carries this match's start.
    EXPECT_EQ(net::gNetOwn().Extra, 9);
    EXPECT_EQ(net::gNetOwn().X, P(0).X);
    EXPECT_EQ(net::gNetOwn().Y, P(0).Y);
    net::NetPlayerRecord& peer = net::gNetPeer();
    peer.State = c.peerState;
    peer.SetupB = Options().CharaID(1);  // the set-up this match was agreed on
    peer.X = 0x1000;
    peer.KeyBits = peer.LatestBits = 0x30;
    peer.Pending = true;
    peer.Frame = 300;
    EXPECT_EQ(NetworkReadyStep(Game(), 0), c.ends) << c.peerState;
    EXPECT_EQ(net::gNetOwn().State, c.phase) << c.peerState;
    EXPECT_EQ(LastPhaseSent(), c.phase) << c.peerState;
    // The set-up is repeated for a peer whose wait began late.
    const auto setup = Sent(net::kSetupMessage);
    ASSERT_EQ(setup.size(), 1u);
    EXPECT_EQ(setup[0].values, (std::array<Long, 5>{kPhaseLoaded, 3, 4, 2, 0}));
    if (c.ends) {
        EXPECT_EQ(net::gNetOwn().Extra, 9);
        EXPECT_EQ(peer.Extra, 7);
        EXPECT_EQ(peer.X, 0);
        EXPECT_EQ(peer.Frame, 0);
        EXPECT_EQ(net::gNetOwn().Frame, 500);
        EXPECT_EQ(peer.KeyBits, 0);
        EXPECT_FALSE(peer.Pending);
    } else {
        EXPECT_EQ(peer.X, 0x1000);
        EXPECT_TRUE(peer.Pending);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadyCases,
                         ::testing::Values(ReadyCase{3, false, kPhaseLoaded},
                                           ReadyCase{4, false, kPhaseLoaded},
                                           ReadyCase{5, true, kPhasePlaying},
                                           ReadyCase{6, true, kPhasePlaying}));

struct AbortCase {
    const char* what;
    Long ownPhase;
    bool peerStays;
    Long peerState;
    bool aborts;
    Long phaseAfter;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const AbortCase& c, std::ostream* os) {
    *os << c.what;
}

class AbortCases : public NetworkWaitTest, public ::testing::WithParamInterface<AbortCase> {};

TEST_P(AbortCases, PeerLeavingARunningMatch) {
    const AbortCase& c = GetParam();
    net::gNetOwn().State = c.ownPhase;
    net::gNetPeer().State = kPhasePlaying;
    NetworkAbortCheck(Game());  // the match runs with the peer
    ASSERT_EQ(ends, 0);
    // The session clears the record of a player who leaves.
    if (!c.peerStays) {
        net::gNetPeer().Name.clear();
        net::gNetPeer().Id = 0;
    }
    net::gNetPeer().State = c.peerState;
    NetworkAbortCheck(Game());
    EXPECT_EQ(ends, c.aborts ? 1 : 0) << c.what;
    const std::vector<std::string> want =
        c.aborts ? std::vector<std::string>{"はるはゲームを中断しました"}
                 : std::vector<std::string>{};
    EXPECT_EQ(Notices(), want) << c.what;
    EXPECT_EQ(net::gNetOwn().State, c.phaseAfter) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AbortCases,
    ::testing::Values(
        AbortCase{"peer left", kPhasePlaying, false, 0, true, kPhasePlaying},
        AbortCase{"peer back in the menus", kPhasePlaying, true, 2, true, kPhasePlaying},
        AbortCase{"peer still ready", kPhasePlaying, true, 3, false, kPhasePlaying},
        AbortCase{"peer playing", kPhasePlaying, true, 6, false, kPhasePlaying},
        AbortCase{"peer decided", kPhasePlaying, true, 7, false, kPhaseDecided},
        AbortCase{"own match decided", kPhaseDecided, false, 0, false, kPhaseDecided}));

TEST_F(NetworkWaitTest, AbortWithoutASessionStillLogsTheLine) {
    net::gNetOwn().State = kPhasePlaying;
    net::gNetPeer().State = kPhasePlaying;
    NetworkAbortCheck(Game());
    // The peer is gone and no session is left to send through.
    net::BindGameSession(nullptr);
    net::gNetPeer() = net::NetPlayerRecord{};
    NetworkAbortCheck(Game());
    EXPECT_EQ(ends, 1);
    EXPECT_NE(net::gNetLog().Text.find("はるはゲームを中断しました\r\n"), std::string::npos);
}

struct EndCase {
    Long ownPhase;
    Long peerState;
    bool notice;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const EndCase& c, std::ostream* os) {
    *os << "ownPhase=" << c.ownPhase << " peerState=" << c.peerState << " notice=" << c.notice;
}

class EndCases : public NetworkWaitTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(EndCases, MatchEndTellsTheWaitingPeerOnceDecided) {
    const EndCase& c = GetParam();
    net::gNetOwn().State = c.ownPhase;
    net::gNetPeer().State = c.peerState;
    NetworkMatchEnd();
    const std::vector<std::string> want =
        c.notice ? std::vector<std::string>{"ゲームは終了しました"} : std::vector<std::string>{};
    EXPECT_EQ(Notices(), want);
    EXPECT_EQ(net::gNetOwn().State, kPhaseWaiting);
    EXPECT_EQ(LastPhaseSent(), kPhaseWaiting);
}

INSTANTIATE_TEST_SUITE_P(Cases, EndCases,
                         ::testing::Values(EndCase{7, 2, true}, EndCase{6, 2, false},
                                           EndCase{7, 7, false}, EndCase{7, 6, false}));

}  // namespace
}  // namespace brumil::battle::test
