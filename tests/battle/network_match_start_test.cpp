// The start of a network match as the front end runs it (the headless
// harness's job list) over a fake session, with the peer's joins, leaves and
// messages fed in between the steps: which set-up a match is played on.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "battle/b_game.h"
#include "battle/network_match.h"
#include "battle_harness/match_harness.h"
#include "net/net_message.h"
#include "net_fake_session.h"

namespace brumil::battle::test {
namespace {

constexpr Long kNetworkMode = 7;  // player 0 here, player 1 the peer
constexpr std::uint32_t kPeerId = 2;
constexpr Long kPeerLevel = 5;  // taken only when this side joined
constexpr Long kPeerStage = 4;

enum class Act { Steps, Join, Leave, Setup, State };

// Steps: n steps; Join: the player "なつ" joins; Leave: the peer leaves;
// Setup: the peer's set-up message (state, character); State: its state
// message.
struct PeerAct {
    Act act;
    Long a = 0;
    Long b = 0;
};

struct StartCase {
    const char* what;
    bool joined;  // this side joined: the peer is the host
    std::vector<PeerAct> acts;
    // The start ends with the abort line naming はる.
    bool aborts;
    // Player 1's characters in phase 6, in this start or (after an abort) in
    // a fresh start with the peer present at the end.
    std::set<Long> played;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const StartCase& c, std::ostream* os) {
    *os << c.what;
}

PeerAct Steps(Long n) {
    return {Act::Steps, n};
}
PeerAct PeerSetup(Long state, Long chara) {
    return {Act::Setup, state, chara};
}

// Agrees on character 8 and reaches the ready wait on both sides.
std::vector<PeerAct> ReadyWithEight(std::vector<PeerAct> then) {
    std::vector<PeerAct> acts = {Steps(2), PeerSetup(3, 8), Steps(5), PeerSetup(4, 8), Steps(2)};
    acts.insert(acts.end(), then.begin(), then.end());
    return acts;
}

const PeerAct kLeave{Act::Leave};
const PeerAct kJoin{Act::Join};

class MatchStartCases : public ::testing::TestWithParam<StartCase> {
protected:
    void SetUp() override {
        net::GameNet() = net::NetState{};
        link.Host();
        net::BindGameSession(&link.session);
        link.session.CreatePlayer(kPeerId, "はる", false);
    }
    void TearDown() override {
        net::BindGameSession(nullptr);
        net::GameNet() = net::NetState{};
    }

    // One match start to its end or the last act.
    void Run(const std::vector<PeerAct>& acts, bool joined) {
        harness::MatchSetup setup;
        setup.GameMode = kNetworkMode;
        setup.AILevel = 3;
        setup.Chara0 = 1;
        setup.StageNumber = 1;
        harness::MatchHarness match(setup);
        match.Game().FrontEnd.JoinedNetworkSession = [joined] { return joined; };
        for (const PeerAct& a : acts) Apply(a, match);
    }

    void Apply(const PeerAct& a, harness::MatchHarness& match) {
        switch (a.act) {
            case Act::Steps:
                for (Long i = 0; i < a.a; ++i) {
                    match.Step();
                    if (net::gNetOwn().State == kPhasePlaying)
                        played.insert(match.Game().gd().CharaID(1));
                }
                break;
            case Act::Join:
                link.session.CreatePlayer(kPeerId, "なつ", false);
                break;
            case Act::Leave:
                link.session.DestroyPlayer(kPeerId);
                break;
            case Act::Setup:
                Receive(net::kSetupMessage, {a.a, kPeerLevel, a.b, kPeerStage, 0});
                break;
            case Act::State:
                Receive(net::kStateMessage, {a.a});
                break;
        }
    }

    void Receive(Long type, std::vector<Long> values) {
        const std::string bytes = net::EncodeGameMessage(type, values);
        link.session.Receive(kPeerId,
                             {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    }

    std::vector<std::string> AbortLines() const {
        std::vector<std::string> out;
        for (const auto& m : link.fake->sent) {
            const auto* p = reinterpret_cast<const std::uint8_t*>(m.bytes.data());
            const auto decoded = net::DecodeNetMessage({p, m.bytes.size()});
            if (decoded && decoded->type == net::kNoticeMessage &&
                decoded->text.ends_with(kNoticeAborted))
                out.push_back(decoded->text);
        }
        return out;
    }

    net::testing::FakeGameSession link;
    std::set<Long> played;
};

TEST_P(MatchStartCases, NoMatchRunsOnASetUpThePresentPeerDidNotSend) {
    const StartCase& c = GetParam();
    Run(c.acts, c.joined);
    const std::vector<std::string> want =
        c.aborts ? std::vector<std::string>{"はるはゲームを中断しました"}
                 : std::vector<std::string>{};
    EXPECT_EQ(AbortLines(), want) << c.what;
    // The next start takes the present peer's set-up afresh.
    if (c.aborts && !net::gNetPeer().Name.empty())
        Run({Steps(2), PeerSetup(3, 3), Steps(5), PeerSetup(5, 3), Steps(3)}, c.joined);
    EXPECT_EQ(played, c.played) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MatchStartCases,
    ::testing::Values(
        StartCase{"the peer stays", false, ReadyWithEight({PeerSetup(5, 8), Steps(3)}), false, {8}},
        StartCase{"it leaves in the ready wait, another joins with 3",
                  false,
                  ReadyWithEight({kLeave, Steps(2), kJoin, Steps(2), PeerSetup(3, 3), Steps(2),
                                  PeerSetup(4, 3), PeerSetup(5, 3), Steps(3)}),
                  true,
                  {3}},
        StartCase{"it leaves and another joins between two steps",
                  false,
                  ReadyWithEight({kLeave, kJoin, Steps(2), PeerSetup(3, 3), Steps(2),
                                  PeerSetup(5, 3), Steps(3)}),
                  true,
                  {3}},
        StartCase{
            "it goes back to the menus and comes again with 3",
            false,
            ReadyWithEight(
                {{Act::State, 2}, Steps(2), PeerSetup(3, 3), Steps(2), PeerSetup(5, 3), Steps(3)}),
            true,
            {3}},
        StartCase{"it leaves in the set-up wait, the next one's state comes first",
                  false,
                  {Steps(2),
                   PeerSetup(2, 8),
                   Steps(2),
                   kLeave,
                   kJoin,
                   {Act::State, 3},
                   Steps(2),
                   PeerSetup(3, 3),
                   Steps(5),
                   PeerSetup(5, 3),
                   Steps(3)},
                  false,
                  {3}},
        StartCase{"joined: the host stays",
                  true,
                  ReadyWithEight({PeerSetup(5, 8), Steps(3)}),
                  false,
                  {8}},
        StartCase{"joined: the host leaves in the ready wait",
                  true,
                  ReadyWithEight({kLeave, Steps(3)}),
                  true,
                  {}}));

}  // namespace
}  // namespace brumil::battle::test
