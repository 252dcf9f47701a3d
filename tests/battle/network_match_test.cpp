// What the running network match takes from the peer: its keys, its
// position turned by half a turn and clamped, its lives (decreases only);
// and what it reports: the own position, life and the decision.
#include "battle/network_match.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "battle/frame_step.h"
#include "battle/input_sources.h"
#include "battle/match_seams.h"
#include "battle_fixture.h"
#include "net/net_message.h"
#include "net_fake_session.h"

namespace brumil::battle::test {
namespace {

constexpr Long kNetworkMode = 7;  // player 0 here, player 1 the peer

class NetworkMatchTest : public BattleFixture {
protected:
    void SetUp() override {
        BattleFixture::SetUp();
        net::GameNet() = net::NetState{};
        link.Host();
        net::BindGameSession(&link.session);
        net::gNetPeer().Name = "はる";
        StartPlayers(kNetworkMode, 3, 4, 5);
        net::gNetOwn().State = kPhasePlaying;
        net::gNetPeer().State = kPhasePlaying;
    }
    void TearDown() override {
        net::BindGameSession(nullptr);
        net::GameNet() = net::NetState{};
        BattleFixture::TearDown();
    }
    void Versus(int p) {
        PlayerShotsVersus(Game(), P(p), P(p ^ 1), [](Long, Long) {});
    }
    std::vector<Long> PhasesSent() const {
        std::vector<Long> out;
        for (const auto& m : link.fake->sent) {
            const auto* b = reinterpret_cast<const std::uint8_t*>(m.bytes.data());
            auto d = net::DecodeNetMessage({b, m.bytes.size()});
            if (d && d->type == net::kStateMessage) out.push_back(d->values[0]);
        }
        return out;
    }

    net::testing::FakeGameSession link;
};

struct KeyCase {
    Long bits;
    Long peerState;
    Long x, y;  // the record's inputs after the step
    Long button1, button2;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << "bits=" << c.bits << " peerState=" << c.peerState << " x=" << c.x << " y=" << c.y
        << " button1=" << c.button1 << " button2=" << c.button2;
}

class NetworkKeyCases : public NetworkMatchTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(NetworkKeyCases, PeerBitsTurnedByHalfATurn) {
    const KeyCase& c = GetParam();
    net::NetPlayerRecord& peer = net::gNetPeer();
    peer.State = c.peerState;
    peer.KeyBits = peer.LatestBits = c.bits;
    peer.Pending = true;
    InputFromNetwork(1);
    const framework::VKeyRecord& r = framework::VKey()[1];
    EXPECT_EQ(r[framework::kVKeyX], c.x) << std::hex << c.bits;
    EXPECT_EQ(r[framework::kVKeyY], c.y) << std::hex << c.bits;
    EXPECT_EQ(r[framework::kVKeyButton1], c.button1) << std::hex << c.bits;
    EXPECT_EQ(r[framework::kVKeyButton1 + 1], c.button2) << std::hex << c.bits;
    // Consumed only while the peer plays this match.
    EXPECT_EQ(peer.Pending, c.peerState < kPhasePlaying);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NetworkKeyCases,
    ::testing::Values(KeyCase{0x12, kPhasePlaying, 0, -1, 1, 0},  // Down there: Up here
                      KeyCase{0x01, kPhasePlaying, 0, 1, 0, 0},   // Up there: Down here
                      KeyCase{0x04, kPhasePlaying, 1, 0, 0, 0},   // Left there: Right here
                      KeyCase{0x28, kPhasePlaying, -1, 0, 0, 1},  // Right there, button 2
                      KeyCase{0x12, kPhaseDecided, 0, -1, 1, 0},
                      KeyCase{0x12, kPhaseLoaded, 0, 0, 0, 0},  // not playing yet
                      KeyCase{0x12, 0, 0, 0, 0, 0}));

TEST_F(NetworkMatchTest, PressAndReleaseBetweenTwoStepsShowOnceEach) {
    net::NetPlayerRecord& peer = net::gNetPeer();
    peer.KeyBits = 0x10;  // pressed, then released before the step
    peer.LatestBits = 0;
    peer.Pending = true;
    // Pressed in the first step, released (-1) in the second, up after.
    const Long want[] = {1, -1, 0};
    for (Long hold : want) {
        InputFromNetwork(1);
        EXPECT_EQ(framework::VKey()[1][framework::kVKeyButton1], hold);
    }
}

struct PositionCase {
    const char* what;
    Long peerState;
    Long rx, ry;        // received
    Long wantX, wantY;  // player 1 after its movement step
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const PositionCase& c, std::ostream* os) {
    *os << c.what;
}

class PeerPositionCases : public NetworkMatchTest,
                          public ::testing::WithParamInterface<PositionCase> {};

TEST_P(PeerPositionCases, MirroredAndClampedToTheBounds) {
    const PositionCase& c = GetParam();
    net::gNetPeer().State = c.peerState;
    net::gNetPeer().X = c.rx;
    net::gNetPeer().Y = c.ry;
    // Keys that would move a player simulated here must not move this one.
    framework::VKeyRecord keys{};
    keys[framework::kVKeyX] = 1;
    PlayerFrameUpdate(Game(), 1, keys);
    EXPECT_EQ(P(1).X, c.wantX) << c.what;
    EXPECT_EQ(P(1).Y, c.wantY) << c.what;
    EXPECT_EQ(P(1).MoveDX, c.wantX - 81920) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PeerPositionCases,
    ::testing::Values(PositionCase{"inside", kPhasePlaying, 0x10000, 0x8000, 0x18000, 0x16000},
                      PositionCase{"peer's start", kPhasePlaying, 81920, 90112, 81920, 32768},
                      PositionCase{"only x sent", kPhasePlaying, 0x10000, 0, 0x18000, 114688},
                      PositionCase{"huge", kPhasePlaying, INT_MAX, INT_MIN, 6144, 114688},
                      PositionCase{"negative", kPhasePlaying, INT_MIN, INT_MAX, 157696, 8192},
                      PositionCase{"nothing sent", kPhasePlaying, 0, 0, 81920, 32768},
                      PositionCase{"not playing yet", kPhaseLoaded, 0x10000, 0x8000, 81920,
                                   32768}));

TEST_F(NetworkMatchTest, OwnPositionIsPublished) {
    framework::VKeyRecord keys{};
    keys[framework::kVKeyX] = 1;
    PlayerFrameUpdate(Game(), 0, keys);
    EXPECT_NE(P(0).X, 81920);
    EXPECT_EQ(net::gNetOwn().X, P(0).X);
    EXPECT_EQ(net::gNetOwn().Y, P(0).Y);
    // A knocked-back player is published after the push too.
    P(0).KnockBack = 10;
    P(0).Decided = 1;
    PlayerFrameUpdate(Game(), 0, framework::VKeyRecord{});
    EXPECT_EQ(net::gNetOwn().Y, P(0).Y);
    EXPECT_GT(P(0).Y, 90112);
}

struct LifeCase {
    const char* what;
    Long peerState;
    Long received;
    Long wantLife;
    bool lost;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const LifeCase& c, std::ostream* os) {
    *os << c.what;
}

class PeerLifeCases : public NetworkMatchTest, public ::testing::WithParamInterface<LifeCase> {};

TEST_P(PeerLifeCases, TakenOnlyAsADecrease) {
    const LifeCase& c = GetParam();
    P(1).StartBlock = 0;
    net::gNetPeer().State = c.peerState;
    net::gNetPeer().Extra = c.received;
    Versus(1);
    EXPECT_EQ(P(1).Life, c.wantLife) << c.what;
    EXPECT_EQ(P(1).KnockBack, c.lost ? 35 : 0) << c.what;
    EXPECT_EQ(P(1).Invulnerable, c.lost ? 120 : 0) << c.what;
    EXPECT_EQ(P(0).Score, c.lost ? 50000 : 0) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, PeerLifeCases,
                         ::testing::Values(LifeCase{"lost two", kPhasePlaying, 8, 8, true},
                                           LifeCase{"lost one", kPhasePlaying, 9, 9, true},
                                           LifeCase{"unchanged", kPhasePlaying, 10, 10, false},
                                           LifeCase{"above current", kPhasePlaying, 11, 10, false},
                                           LifeCase{"negative", kPhasePlaying, -1, 10, false},
                                           LifeCase{"huge", kPhasePlaying, INT_MAX, 10, false},
                                           LifeCase{"not playing", kPhaseLoaded, 8, 10, false}));

TEST_F(NetworkMatchTest, OwnLifeIsReported) {
    net::gNetOwn().Extra = 10;
    P(0).HitStrength = 2;
    Versus(0);
    EXPECT_EQ(P(0).Life, 8);
    EXPECT_EQ(net::gNetOwn().Extra, 8);
    // The peer's player is not reported back.
    P(1).HitStrength = 2;
    net::gNetPeer().Extra = 10;
    Versus(1);
    EXPECT_EQ(net::gNetOwn().Extra, 8);
}

TEST_F(NetworkMatchTest, PeerLosingItsLastLifeDecidesOnceAndSendsPhaseSeven) {
    P(1).Life = 2;
    net::gNetPeer().Extra = 0;
    for (int step = 0; step < 3; ++step) {
        Versus(0);
        Versus(1);
    }
    EXPECT_EQ(P(1).Life, 0);
    EXPECT_EQ(Game().Winner, 0);
    EXPECT_EQ(Game().EndCount, 1);
    EXPECT_EQ(net::gNetOwn().State, kPhaseDecided);
    EXPECT_EQ(PhasesSent(), std::vector<Long>{kPhaseDecided});
}

TEST_F(NetworkMatchTest, LocalMatchSendsNoPhase) {
    StartPlayers(4, 3, 4, 5);
    P(1).Life = 2;
    P(1).HitStrength = 2;
    Versus(1);
    EXPECT_EQ(Game().Winner, 0);
    EXPECT_EQ(net::gNetOwn().State, kPhasePlaying);
    EXPECT_TRUE(PhasesSent().empty());
}

}  // namespace
}  // namespace brumil::battle::test
