#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "net/net_globals.h"
#include "net/net_message.h"
#include "net/net_session.h"
#include "net_test_support.h"
#include "platform/net/wire_text.h"

namespace brumil::net {
namespace {

using platform::net::AsBytes;
using platform::net::Lane;
using testing::Effect;
using testing::FakePeerSession;
using testing::LogLines;
using testing::RecordingEffects;

class FakeSession : public ::testing::Test {
protected:
    FakeSession()
        : session(state, effects, clock, [this](platform::net::SessionEvents& e, platform::Clock&) {
              auto t = std::make_unique<FakePeerSession>(e);
              fake = t.get();
              return t;
          }) {}

    NetState state;
    RecordingEffects effects;
    platform::ManualClock clock{1'000'000};
    FakePeerSession* fake = nullptr;
    NetSession session;
};

TEST_F(FakeSession, NothingIsSentWithoutASession) {
    const Long v[] = {1};
    const std::string_view t[] = {"x"};
    EXPECT_FALSE(session.SendGameMessage(kStateMessage, v));
    EXPECT_FALSE(session.SendTextMessage(kChatMessage, t));
    EXPECT_TRUE(fake->sent.empty());
    // Nor through the game's senders while no session is bound.
    BindGameSession(nullptr);
    EXPECT_FALSE(SendGameMessage(kStateMessage, v));
    EXPECT_FALSE(SendTextMessage(kChatMessage, t));
}

TEST_F(FakeSession, SendersPickLaneLoopbackAndBytes) {
    ASSERT_TRUE(session.Host("ゆき", "127.0.0.1", 0));
    const struct {
        const char* name;
        bool text;
        Long type;
        std::vector<Long> values;
        std::string_view textValue;
        Lane lane;
        bool loopback;
    } cases[] = {
        {"chat", true, kChatMessage, {}, "やあ", Lane::Text, true},
        {"notice", true, kNoticeMessage, {}, "準備", Lane::Text, true},
        {"state", false, kStateMessage, {6}, {}, Lane::Game, false},
        {"set-up", false, kSetupMessage, {3, 1, 2, 3, 0}, {}, Lane::Game, false},
        {"input", false, kInputMessage, {10, 0x12, 5, 6, 7}, {}, Lane::Game, false},
    };
    BindGameSession(&session);
    for (const auto& c : cases) {
        fake->sent.clear();
        const std::string_view texts[] = {c.textValue};
        // Half through the session, half through the game's bound senders.
        const bool ok = c.text ? SendTextMessage(c.type, texts) : SendGameMessage(c.type, c.values);
        ASSERT_TRUE(ok) << c.name;
        ASSERT_EQ(fake->sent.size(), 1u) << c.name;
        EXPECT_EQ(fake->sent[0].lane, c.lane) << c.name;
        EXPECT_EQ(fake->sent[0].loopback, c.loopback) << c.name;
        const std::string want =
            c.text ? EncodeTextMessage(c.type, texts) : EncodeGameMessage(c.type, c.values);
        EXPECT_EQ(fake->sent[0].bytes, want) << c.name;
    }
    BindGameSession(nullptr);
}

TEST_F(FakeSession, PlayersJoinAndLeaveInOrder) {
    ASSERT_TRUE(session.Host("ゆき", "127.0.0.1", 0));
    session.CreatePlayer(2, "はる", false);
    session.DestroyPlayer(99);  // not the peer: nothing
    session.DestroyPlayer(2);
    EXPECT_EQ(LogLines(state.log.Text),
              (std::vector<std::string>{"セッションを作成しました。接続を待っています",
                                        "はるが参加しました。ゲームを開始できます",
                                        "はるが居なくなりました"}));
    EXPECT_EQ(effects.played, (std::vector<Effect>{{33, 0.9f, 0.2f}, {71, 0.8f, -0.2f}}));
    EXPECT_EQ(state.own.Name, "ゆき");
    EXPECT_EQ(state.own.Id, 1);
    EXPECT_EQ(state.peer.Name, "");
    EXPECT_EQ(state.peer.Id, 0);
}

TEST_F(FakeSession, CloseClearsBothRecords) {
    ASSERT_TRUE(session.Host("ゆき", "", 0));
    session.CreatePlayer(2, "はる", false);
    state.own.State = 6;
    state.peer.State = 5;
    state.peer.SetupA = 4;
    session.Close();
    EXPECT_EQ(fake->closes, 1);
    for (const NetPlayerRecord* r : {&state.own, &state.peer}) {
        EXPECT_EQ(r->Name, "");
        EXPECT_EQ(r->Id, 0);
        EXPECT_EQ(r->State, 0);
    }
    EXPECT_EQ(state.peer.SetupA, 4);  // the battle resets the rest at match start
}

TEST_F(FakeSession, JoinOutcomeAndSearchStop) {
    ASSERT_TRUE(session.StartSearch("127.0.0.1:4321"));
    EXPECT_EQ(fake->searchAddress, "127.0.0.1");
    EXPECT_EQ(fake->searchPort, 4321);
    EXPECT_TRUE(session.Join("ゆき", "127.0.0.1", 4321));
    EXPECT_EQ(session.JoinStatus(), JoinState::Joining);
    EXPECT_TRUE(session.Hosts().Stopped());  // late answers no longer count
    session.ConnectComplete(false);
    EXPECT_EQ(session.JoinStatus(), JoinState::Failed);
    EXPECT_TRUE(fake->searching);  // a failed join leaves the search
    session.ConnectComplete(true);
    EXPECT_EQ(session.JoinStatus(), JoinState::Joined);
    EXPECT_FALSE(fake->searching);
    EXPECT_FALSE(session.Join("ゆき", "127.0.0.1", 0));
    EXPECT_EQ(session.JoinStatus(), JoinState::Failed);
}

platform::net::HostAnswer Answer(std::uint32_t instance, std::string name, std::uint32_t players,
                                 std::uint32_t latency) {
    platform::net::HostAnswer a;
    a.instance = instance;
    a.sessionName = std::move(name);
    a.players = players;
    a.maxPlayers = 2;
    a.latencyMs = latency;
    return a;
}

TEST_F(FakeSession, HostListLinesUpdatesAndExpiry) {
    ASSERT_TRUE(session.StartSearch(""));
    const auto lines = [&] {
        std::vector<std::string> out;
        for (const HostEntry& e : session.Hosts().Entries()) out.push_back(HostLine(e.answer));
        return out;
    };
    EXPECT_EQ(session.Hosts().HostCount(), -1);
    session.HostFound(Answer(7, "NetBrumil - ゆき", 1, 12));
    clock.AdvanceMs(500);
    session.HostFound(Answer(9, "NetBrumil - はる", 1, 3));
    EXPECT_EQ(lines(), (std::vector<std::string>{"NetBrumil - ゆき - 1/2 - Latency:12 ms",
                                                 "NetBrumil - はる - 1/2 - Latency:3 ms"}));
    EXPECT_EQ(session.Hosts().HostCount(), 1);
    // A second answer from a known session updates its line in place.
    clock.AdvanceMs(1000);
    session.HostFound(Answer(7, "NetBrumil - ゆき", 2, 140));
    EXPECT_EQ(lines()[0], "NetBrumil - ゆき - 2/2 - Latency:140 ms");
    // Expiry: each row is (ms to advance, lines left after a poll).
    const struct {
        Long advance;
        std::vector<std::string> left;
    } rows[] = {
        {1000,
         {"NetBrumil - ゆき - 2/2 - Latency:140 ms", "NetBrumil - はる - 1/2 - Latency:3 ms"}},
        {1, {"NetBrumil - ゆき - 2/2 - Latency:140 ms"}},  // はる: 2001 ms since its answer
        {999, {"NetBrumil - ゆき - 2/2 - Latency:140 ms"}},
        {1, {}},
    };
    for (const auto& r : rows) {
        clock.AdvanceMs(static_cast<std::uint64_t>(r.advance));
        session.Poll();
        EXPECT_EQ(lines(), r.left) << r.advance;
    }
    EXPECT_EQ(session.Hosts().HostCount(), -1);
    // While stopped (a join began) answers are ignored.
    session.Hosts().SetStopped(true);
    session.HostFound(Answer(11, "x", 1, 1));
    EXPECT_TRUE(session.Hosts().Entries().empty());
}

TEST_F(FakeSession, ReceivedBytesReachTheRecords) {
    ASSERT_TRUE(session.Host("ゆき", "", 0));
    session.CreatePlayer(2, "はる", false);
    const std::string bytes = EncodeGameMessage(kInputMessage, std::vector<Long>{3, 0x12, 1, 2, 3});
    session.Receive(2, AsBytes(bytes));
    EXPECT_EQ(state.peer.KeyBits, 0x12);
    session.Receive(5, AsBytes(EncodeGameMessage(kStateMessage, std::vector<Long>{6})));
    EXPECT_EQ(state.peer.State, 0);
}

}  // namespace
}  // namespace brumil::net
