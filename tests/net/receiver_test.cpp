#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/net_message.h"
#include "net/net_session.h"
#include "net_test_support.h"
#include "platform/net/wire_text.h"

namespace brumil::net {
namespace {

using platform::net::AsBytes;
using testing::Effect;
using testing::LogLines;
using testing::RecordingEffects;

constexpr Long kOwn = 2;
constexpr Long kPeer = 1;

class Receiver : public ::testing::Test {
protected:
    Receiver() {
        state.own.Name = "ゆき";
        state.own.Id = kOwn;
        state.peer.Name = "はる";
        state.peer.Id = kPeer;
    }
    void Input(Long frame, Long bits, Long x = 0, Long y = 0, Long extra = 0, Long from = kPeer) {
        const std::vector<Long> v{frame, bits, x, y, extra};
        Deliver(from, EncodeGameMessage(kInputMessage, v));
    }
    void Text(Long type, std::string_view text, Long from) {
        const std::string_view texts[] = {text};
        Deliver(from, EncodeTextMessage(type, texts));
    }
    void Deliver(Long from, const std::string& bytes) {
        ReceiveNetMessage(state, effects, from, AsBytes(bytes));
    }

    NetState state;
    RecordingEffects effects;
};

TEST_F(Receiver, InputFrameOrder) {
    // Each row: a message (frame, bits) and the peer's frame and bits after it,
    // the bits consumed after every row.
    const struct {
        Long frame;
        Long bits;
        Long wantFrame;
        bool taken;
    } rows[] = {
        {5, 0x1, 5, true},  {4, 0x2, 5, false},  {5, 0x4, 5, false},
        {6, 0x8, 6, true},  {0, 0x10, 0, true},  // a restarted sender
        {1, 0x20, 1, true}, {1, 0x40, 1, false},
    };
    for (const auto& r : rows) {
        Input(r.frame, r.bits, r.frame * 10);
        EXPECT_EQ(state.peer.Frame, r.wantFrame) << r.frame;
        EXPECT_EQ(state.peer.Pending, r.taken) << r.frame;
        if (r.taken) {
            EXPECT_EQ(state.peer.X, r.frame * 10) << r.frame;
            EXPECT_EQ(TakeNetKeyBits(state.peer), r.bits) << r.frame;
        }
    }
}

TEST_F(Receiver, PendingBitsAccumulateAndPressReleaseShowsOnce) {
    const struct {
        const char* name;
        std::vector<Long> bits;  // messages between two consumptions
        Long first;              // the consumption right after
        Long second;             // the next consumption with nothing new
    } cases[] = {
        {"two presses or", {0x10, 0x20}, 0x30, 0x20},
        {"press then release", {0x10, 0x0}, 0x10, 0x0},
        {"held stays held", {0x1, 0x1}, 0x1, 0x1},
        {"release then press", {0x0, 0x4}, 0x4, 0x4},
        {"three changes", {0x1, 0x2, 0x8}, 0xB, 0x8},
    };
    for (const auto& c : cases) {
        state.peer.Frame = 0;
        state.peer.Pending = false;
        state.peer.KeyBits = state.peer.LatestBits = 0;
        Long frame = 1;
        for (const Long b : c.bits) Input(frame++, b);
        EXPECT_TRUE(state.peer.Pending) << c.name;
        EXPECT_EQ(TakeNetKeyBits(state.peer), c.first) << c.name;
        EXPECT_FALSE(state.peer.Pending) << c.name;
        EXPECT_EQ(TakeNetKeyBits(state.peer), c.second) << c.name;
    }
}

TEST_F(Receiver, InputStoresPositionAndExtra) {
    Input(9, 0x412, 0x14000, -3, 42);
    EXPECT_EQ(state.peer.KeyBits, 0x412);
    EXPECT_EQ(state.peer.X, 0x14000);
    EXPECT_EQ(state.peer.Y, -3);
    EXPECT_EQ(state.peer.Extra, 42);
    EXPECT_EQ(state.own.Frame, 0);  // the own record is never written
}

TEST_F(Receiver, StateAndSetupMessages) {
    Deliver(kPeer, EncodeGameMessage(kStateMessage, std::vector<Long>{2}));
    EXPECT_EQ(state.peer.State, 2);
    Deliver(kPeer, EncodeGameMessage(kSetupMessage, std::vector<Long>{3, 7, 4, 5, 99}));
    EXPECT_EQ(state.peer.State, 3);
    EXPECT_EQ(state.peer.SetupA, 7);
    EXPECT_EQ(state.peer.SetupB, 4);
    EXPECT_EQ(state.peer.SetupC, 5);
    // Game messages claiming to come from the own side change nothing.
    Deliver(kOwn, EncodeGameMessage(kStateMessage, std::vector<Long>{6}));
    Deliver(kOwn, EncodeGameMessage(kSetupMessage, std::vector<Long>{6, 1, 1, 1, 0}));
    Input(50, 0x1, 0, 0, 0, kOwn);
    EXPECT_EQ(state.peer.State, 3);
    EXPECT_EQ(state.peer.SetupA, 7);
    EXPECT_EQ(state.peer.Frame, 0);
    EXPECT_TRUE(state.log.Text.empty());
}

TEST_F(Receiver, ChatAndNoticeLinesAndSounds) {
    const Effect chatSound{1, 0.8f, -0.2f};
    const struct {
        const char* name;
        Long type;
        std::string text;
        Long from;
        std::string line;
        bool sounds;
    } cases[] = {
        {"peer chat", kChatMessage, "こんにちは", kPeer, "<はる> こんにちは", true},
        {"own chat back", kChatMessage, "やあ", kOwn, "<ゆき> やあ", false},
        {"peer notice", kNoticeMessage, "準備完了", kPeer, "準備完了", true},
        {"own notice back", kNoticeMessage, "中断", kOwn, "中断", false},
        {"chat with line breaks", kChatMessage, "a\r\nb", kPeer, "<はる> ab", true},
        {"stranger", kChatMessage, "spam", 77, "", false},
        {"nobody", kChatMessage, "spam", 0, "", false},
    };
    for (const auto& c : cases) {
        state.log = {};
        effects.played.clear();
        Text(c.type, c.text, c.from);
        const std::vector<std::string> lines = LogLines(state.log.Text);
        if (c.line.empty()) {
            EXPECT_TRUE(lines.empty()) << c.name;
        } else {
            ASSERT_EQ(lines.size(), 1u) << c.name;
            EXPECT_EQ(lines[0], c.line) << c.name;
            EXPECT_EQ(state.log.Timer, kNetLogShowSteps) << c.name;
        }
        EXPECT_EQ(effects.played, c.sounds ? std::vector<Effect>{chatSound} : std::vector<Effect>{})
            << c.name;
    }
}

TEST_F(Receiver, SameNameFromPeerStillSounds) {
    // The sound rule compares ids: a peer that picked the own name is heard.
    state.peer.Name = state.own.Name;
    Text(kChatMessage, "x", kPeer);
    EXPECT_EQ(effects.played.size(), 1u);
}

TEST(NetLog, KeepsNewestLinesAndSetsTimer) {
    NetLog log;
    for (Long i = 1; i <= kNetLogLines + 20; ++i) AddNetworkLogLine(log, std::to_string(i));
    const std::vector<std::string> lines = LogLines(log.Text);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kNetLogLines));
    EXPECT_EQ(lines.front(), "21");
    EXPECT_EQ(lines.back(), std::to_string(kNetLogLines + 20));
    EXPECT_EQ(log.Lines, kNetLogLines);
    EXPECT_EQ(log.Added, kNetLogLines + 20);
    log.Timer = 3;
    AddNetworkLogLine(log, "x\ry\nz");
    EXPECT_EQ(LogLines(log.Text).back(), "xyz");
    EXPECT_EQ(log.Timer, kNetLogShowSteps);
}

}  // namespace
}  // namespace brumil::net
