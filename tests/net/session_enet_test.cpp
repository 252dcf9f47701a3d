// Real sessions over ENet on 127.0.0.1, two or three in one process, each with
// its own records and log. Every wait is bounded.

#include <enet/enet.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/net_message.h"
#include "net/net_session.h"
#include "net_test_support.h"
#include "platform/net/wire_text.h"
#include "poll_until.h"

namespace brumil::net {
namespace {

using testing::LogLines;
using testing::RecordingEffects;

// Passes every event on to the session and keeps the received messages.
class Tap final : public platform::net::SessionEvents {
public:
    void CreatePlayer(std::uint32_t id, std::string_view name, bool local) override {
        to->CreatePlayer(id, name, local);
    }
    void DestroyPlayer(std::uint32_t id) override { to->DestroyPlayer(id); }
    void Receive(std::uint32_t sender, std::span<const std::uint8_t> bytes) override {
        if (auto m = DecodeNetMessage(bytes)) received.push_back(*m);
        to->Receive(sender, bytes);
    }
    void ConnectComplete(bool ok) override { to->ConnectComplete(ok); }
    void HostFound(const platform::net::HostAnswer& a) override { to->HostFound(a); }

    platform::net::SessionEvents* to = nullptr;
    std::vector<NetMessage> received;
};

struct Side {
    explicit Side(platform::Clock& clock = platform::SystemClock())
        : session(state, effects, clock,
                  [this](platform::net::SessionEvents& e, platform::Clock& c) {
                      tap.to = &e;
                      return platform::net::CreatePeerSession(tap, c);
                  }) {}
    std::vector<std::string> Log() const { return LogLines(state.log.Text); }

    NetState state;
    RecordingEffects effects;
    Tap tap;
    NetSession session;
};

// Polls every side until `done` or `ms` pass; true when done.
bool PumpUntil(std::initializer_list<Side*> sides, const std::function<bool()>& done,
               std::uint32_t ms = 3000) {
    const auto poll = [&sides] {
        for (Side* s : sides) s->session.Poll();
        platform::SystemClock().SleepMs(1);
    };
    return brumil::testing::PollUntil(poll, done, ms);
}

class EnetPair : public ::testing::Test {
protected:
    void Connect() {
        ASSERT_TRUE(host.session.Host("あき", "127.0.0.1", 0));
        ASSERT_NE(host.session.Port(), 0);
        ASSERT_TRUE(join.session.Join("ふゆ", "127.0.0.1", host.session.Port()));
        ASSERT_TRUE(PumpUntil({&host, &join}, [&] {
            return join.session.JoinStatus() == JoinState::Joined && host.state.peer.Id != 0;
        }));
    }
    Side host;
    Side join;
};

TEST_F(EnetPair, HostAndJoinLogInOrder) {
    Connect();
    EXPECT_EQ(host.Log(), (std::vector<std::string>{"セッションを作成しました。接続を待っています",
                                                    "ふゆが参加しました。ゲームを開始できます"}));
    EXPECT_EQ(join.Log(), (std::vector<std::string>{"セッションを作成しました。接続を待っています",
                                                    "あきが参加しました。ゲームを開始できます"}));
    EXPECT_EQ(host.state.own.Id, 1);
    EXPECT_EQ(host.state.peer.Id, 2);
    EXPECT_EQ(join.state.own.Id, 2);
    EXPECT_EQ(join.state.peer.Id, 1);
    EXPECT_EQ(join.state.peer.Name, "あき");
}

TEST_F(EnetPair, ChatBothWaysAndBackToTheSender) {
    Connect();
    const std::string_view a[] = {"こんにちは"};
    const std::string_view b[] = {"よろしく\r\n"};
    ASSERT_TRUE(host.session.SendTextMessage(kChatMessage, a));
    ASSERT_TRUE(join.session.SendTextMessage(kChatMessage, b));
    ASSERT_TRUE(PumpUntil({&host, &join},
                          [&] { return host.state.log.Lines == 4 && join.state.log.Lines == 4; }));
    for (Side* s : {&host, &join}) {
        const std::vector<std::string> log = s->Log();
        const std::vector<std::string> tail(log.end() - 2, log.end());
        EXPECT_TRUE(std::find(tail.begin(), tail.end(), "<あき> こんにちは") != tail.end());
        EXPECT_TRUE(std::find(tail.begin(), tail.end(), "<ふゆ> よろしく") != tail.end());
    }
    // Each side hears only the other's line (join and chat sounds).
    EXPECT_EQ(host.effects.played.back().n, 1);
    EXPECT_EQ(host.effects.played.size(), 3u);
    EXPECT_EQ(join.effects.played.size(), 3u);
}

TEST_F(EnetPair, PhasesAndInputArriveInOrder) {
    Connect();
    std::vector<Long> sentBits;
    for (Long phase = 2; phase <= 6; ++phase) {
        const Long v[] = {phase};
        ASSERT_TRUE(host.session.SendGameMessage(kStateMessage, v));
    }
    for (Long frame = 1; frame <= 120; ++frame) {
        const Long bits = (frame * 37) & kKeyBitsMask;
        sentBits.push_back(bits);
        const Long v[] = {frame, bits, frame * 256, -frame, 9};
        ASSERT_TRUE(host.session.SendGameMessage(kInputMessage, v));
    }
    ASSERT_TRUE(PumpUntil({&host, &join}, [&] { return join.state.peer.Frame == 120; }));
    std::vector<Long> phases;
    std::vector<Long> bits;
    Long lastFrame = 0;
    for (const NetMessage& m : join.tap.received) {
        if (m.type == kStateMessage) phases.push_back(m.values[0]);
        if (m.type != kInputMessage) continue;
        EXPECT_EQ(m.values[0], lastFrame + 1);
        lastFrame = m.values[0];
        bits.push_back(m.values[1]);
    }
    EXPECT_EQ(phases, (std::vector<Long>{2, 3, 4, 5, 6}));
    EXPECT_EQ(bits, sentBits);
    EXPECT_EQ(join.state.peer.State, 6);
    EXPECT_EQ(join.state.peer.X, 120 * 256);
    EXPECT_EQ(join.state.peer.LatestBits, sentBits.back());
    EXPECT_TRUE(host.tap.received.empty());  // game messages do not come back
}

TEST_F(EnetPair, AThirdJoinerIsRefusedAtOnce) {
    Connect();
    Side third;
    ASSERT_TRUE(third.session.Join("なつ", "127.0.0.1", host.session.Port()));
    ASSERT_TRUE(PumpUntil(
        {&host, &join, &third}, [&] { return third.session.JoinStatus() == JoinState::Failed; },
        2000));
    EXPECT_EQ(host.state.peer.Name, "ふゆ");
    EXPECT_EQ(host.state.log.Lines, 2);
    EXPECT_FALSE(third.session.InSession());
}

TEST_F(EnetPair, DiscoveryByAddress) {
    ASSERT_TRUE(host.session.Host("あき", "127.0.0.1", 0));
    ASSERT_TRUE(join.session.StartSearch("127.0.0.1:" + std::to_string(host.session.Port())));
    ASSERT_TRUE(PumpUntil({&host, &join}, [&] { return !join.session.Hosts().Entries().empty(); }));
    const HostEntry& e = join.session.Hosts().Entries()[0];
    EXPECT_EQ(e.answer.sessionName, "NetBrumil - あき");
    EXPECT_EQ(e.answer.address, "127.0.0.1");
    EXPECT_EQ(e.answer.port, host.session.Port());
    EXPECT_EQ(HostLine(e.answer).rfind("NetBrumil - あき - 1/2 - Latency:", 0), 0u);
    // Joining the entry found stops the search.
    ASSERT_TRUE(join.session.Join("ふゆ", e.answer.address, e.answer.port));
    ASSERT_TRUE(
        PumpUntil({&host, &join}, [&] { return join.session.JoinStatus() == JoinState::Joined; }));
    EXPECT_FALSE(join.session.Searching());
}

TEST_F(EnetPair, ClosingOneSideIsLoggedOnTheOther) {
    Connect();
    host.session.Close();
    EXPECT_EQ(host.state.own.Id, 0);
    EXPECT_EQ(host.state.peer.Name, "");
    ASSERT_TRUE(PumpUntil({&join}, [&] { return join.state.peer.Id == 0; }));
    EXPECT_EQ(join.Log().back(), "あきが居なくなりました");
    EXPECT_EQ(join.state.peer.Name, "");
}

// A player whose name is empty on the wire (nothing typed but controls, or a
// build that sends none) goes by the stand-in name on both sides.
TEST(EnetSession, ANamelessPlayerGetsTheStandInNameOnBothSides) {
    const struct {
        const char* hostName;
        const char* joinName;
        const char* hostSees;  // the joiner's name on the host
        const char* joinSees;  // the host's name on the joiner
    } cases[] = {{"あき", "\t\r\n", "名無し", "あき"}, {"", "ふゆ", "ふゆ", "名無し"}};
    for (const auto& c : cases) {
        Side host;
        Side join;
        ASSERT_TRUE(host.session.Host(c.hostName, "127.0.0.1", 0));
        ASSERT_TRUE(join.session.Join(c.joinName, "127.0.0.1", host.session.Port()));
        ASSERT_TRUE(PumpUntil({&host, &join}, [&] {
            return join.session.JoinStatus() == JoinState::Joined && host.state.peer.Id != 0;
        }));
        EXPECT_EQ(host.state.peer.Name, c.hostSees);
        EXPECT_EQ(join.state.own.Name, c.hostSees);
        EXPECT_EQ(join.state.peer.Name, c.joinSees);
        EXPECT_EQ(host.state.own.Name, c.joinSees);
        EXPECT_EQ(host.Log().back(),
                  std::string(c.hostSees) + "が参加しました。ゲームを開始できます");
        EXPECT_EQ(join.Log().back(),
                  std::string(c.joinSees) + "が参加しました。ゲームを開始できます");
    }
}

TEST(EnetSession, JoiningADeadPortFailsWithinTheTimeOut) {
    std::uint16_t port = 0;
    {
        Side gone;
        ASSERT_TRUE(gone.session.Host("x", "127.0.0.1", 0));
        port = gone.session.Port();
    }
    Side join;
    ASSERT_TRUE(join.session.Join("ふゆ", "127.0.0.1", port));
    EXPECT_TRUE(PumpUntil(
        {&join}, [&] { return join.session.JoinStatus() == JoinState::Failed; },
        platform::net::kConnectTimeoutMs + 1000));
    EXPECT_FALSE(join.session.InSession());
    EXPECT_EQ(join.state.log.Lines, 0);
}

// Datagrams sent straight at the session's port from a plain socket.
void SendRaw(std::uint16_t port, const std::string& bytes) {
    const ENetSocket s = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
    ASSERT_NE(s, ENET_SOCKET_NULL);
    ENetAddress to{};
    enet_address_set_host_ip(&to, "127.0.0.1");
    to.port = port;
    ENetBuffer b{};
    b.data = const_cast<char*>(bytes.data());
    b.dataLength = bytes.size();
    enet_socket_send(s, &to, &b, 1);
    enet_socket_destroy(s);
}

TEST_F(EnetPair, GarbageDatagramsOnTheSessionPortAreIgnored) {
    Connect();
    std::string query = platform::net::EncodeSearchQuery(5);
    const std::string garbage[] = {
        std::string(60000, '\xAB'),
        std::string(1, '\0'),
        std::string("\x7F\xFF\x00\x00", 4) + std::string(200, '\x01'),
        query.substr(0, 8),  // a cut query
        query + "tail",      // an over-long query
        std::string(3000, '\0'),
    };
    for (const std::string& g : garbage) SendRaw(host.session.Port(), g);
    const std::string_view line[] = {"まだいる"};
    ASSERT_TRUE(join.session.SendTextMessage(kChatMessage, line));
    ASSERT_TRUE(PumpUntil({&host, &join}, [&] { return host.state.log.Lines == 3; }));
    EXPECT_EQ(host.Log().back(), "<ふゆ> まだいる");
    EXPECT_EQ(host.state.peer.Id, 2);
}

// A plain ENet client connecting to the session on 127.0.0.1:`port`.
struct RawClient {
    RawClient(std::uint16_t port, enet_uint32 connectData)
        : host(enet_host_create(nullptr, 1, 2, 0, 0)) {
        if (host == nullptr) return;
        ENetAddress to{};
        enet_address_set_host_ip(&to, "127.0.0.1");
        to.port = port;
        peer = enet_host_connect(host, &to, 2, connectData);
    }
    ~RawClient() {
        if (host != nullptr) enet_host_destroy(host);
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;
    ENetHost* host = nullptr;
    ENetPeer* peer = nullptr;  // owned by host
};

// A raw ENet client: wrong connect data, or the right one and garbage instead
// of a hello. Either way the host cuts it off and logs nothing.
TEST(EnetSession, IntrudersAreCutOff) {
    const struct {
        const char* name;
        enet_uint32 connectData;
        std::string firstMessage;
    } cases[] = {
        {"wrong application", 0x12345678u, ""},
        {"no hello", platform::net::kApplicationTag, std::string("\0\0\0\0\x01\0\0\0x", 9)},
        {"hello of another version", platform::net::kApplicationTag,
         std::string("NBRH\x09\0\0\0", 8) + std::string(24, '\0')},
    };
    for (const auto& c : cases) {
        Side host;
        ASSERT_TRUE(host.session.Host("あき", "127.0.0.1", 0));
        RawClient client(host.session.Port(), c.connectData);
        ASSERT_NE(client.peer, nullptr);
        bool cut = false;
        const auto poll = [&] {
            host.session.Poll();
            ENetEvent ev{};
            while (enet_host_service(client.host, &ev, 1) > 0) {
                if (ev.type == ENET_EVENT_TYPE_CONNECT && !c.firstMessage.empty()) {
                    enet_peer_send(client.peer, 1,
                                   enet_packet_create(c.firstMessage.data(), c.firstMessage.size(),
                                                      ENET_PACKET_FLAG_RELIABLE));
                }
                if (ev.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(ev.packet);
                if (ev.type == ENET_EVENT_TYPE_DISCONNECT) cut = true;
            }
        };
        brumil::testing::PollUntil(poll, [&cut] { return cut; });
        EXPECT_TRUE(cut) << c.name;
        EXPECT_EQ(host.state.peer.Id, 0) << c.name;
        EXPECT_EQ(host.state.log.Lines, 1) << c.name;
    }
}

// A client with the right connect data that never says hello holds the host's
// slot only until the hello time-out (the host's clock is driven by hand);
// then a real joiner gets in.
TEST(EnetSession, ASilentClientIsDroppedAfterTheHelloTimeOut) {
    platform::ManualClock hostClock{1'000'000};
    Side host(hostClock);
    ASSERT_TRUE(host.session.Host("あき", "127.0.0.1", 0));
    auto client = std::make_unique<RawClient>(host.session.Port(), platform::net::kApplicationTag);
    ASSERT_NE(client->peer, nullptr);
    bool greeted = false;  // the host's hello came: it counts the client in
    bool cut = false;
    // Runs host and client for at most `ms` of real time, until `done`.
    const auto pump = [&](std::uint32_t ms, const std::function<bool()>& done) {
        const auto poll = [&] {
            host.session.Poll();
            ENetEvent ev{};
            while (enet_host_service(client->host, &ev, 1) > 0) {
                if (ev.type == ENET_EVENT_TYPE_RECEIVE) {
                    greeted = true;
                    enet_packet_destroy(ev.packet);
                }
                if (ev.type == ENET_EVENT_TYPE_DISCONNECT) cut = true;
            }
        };
        return brumil::testing::PollUntil(poll, done, ms);
    };
    ASSERT_TRUE(pump(3000, [&] { return greeted; }));
    hostClock.SleepMs(platform::net::kHelloTimeoutMs - 1);
    EXPECT_FALSE(pump(200, [&] { return cut; }));
    hostClock.SleepMs(1);
    EXPECT_TRUE(pump(3000, [&] { return cut; }));
    client.reset();
    EXPECT_EQ(host.state.log.Lines, 1);

    Side join;
    ASSERT_TRUE(join.session.Join("ふゆ", "127.0.0.1", host.session.Port()));
    EXPECT_TRUE(
        PumpUntil({&host, &join}, [&] { return join.session.JoinStatus() == JoinState::Joined; }));
    EXPECT_EQ(host.state.peer.Name, "ふゆ");
}

}  // namespace
}  // namespace brumil::net
