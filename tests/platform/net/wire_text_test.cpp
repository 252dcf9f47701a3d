#include "platform/net/wire_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/net/peer_session.h"

namespace brumil::platform::net {
namespace {

using namespace std::string_literals;

// n replacement characters.
std::string Rep(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "\xEF\xBF\xBD";
    return s;
}

TEST(WireText, CleanTextTable) {
    struct Case {
        const char* name;
        std::string in;
        bool strip;
        std::string out;
    };
    const Case cases[] = {
        {"ascii", "hello", true, "hello"},
        {"japanese kept", "準備できました", true, "準備できました"},
        {"CR LF NUL stripped", "a\r\nb\0c"s, true, "abc"},
        {"tab and DEL stripped", "a\tb\x7F", true, "ab"},
        {"controls kept without strip", "a\r\n", false, "a\r\n"},
        {"lone continuation", "a\x80z", true, "a" + Rep(1) + "z"},
        {"truncated sequence", "\xE6\x97", true, Rep(2)},
        {"overlong slash", "\xC0\xAF", true, Rep(2)},
        {"surrogate", "\xED\xA0\x80", true, Rep(3)},
        {"past U+10FFFF", "\xF4\x90\x80\x80", true, Rep(4)},
        {"four-byte kept", "\xF0\x9F\x8E\xAE", true, "\xF0\x9F\x8E\xAE"},
        {"empty", "", true, ""},
    };
    for (const Case& c : cases) {
        const std::string& want = c.out;
        EXPECT_EQ(CleanText(c.in, c.strip), want) << c.name;
        EXPECT_TRUE(IsCleanText(CleanText(c.in, true))) << c.name;
        EXPECT_EQ(IsCleanText(c.in), c.in == want && c.strip) << c.name;
    }
}

TEST(WireText, CutKeepsWholeCharacters) {
    const std::string text = "aあい";  // 1 + 3 + 3 bytes
    const struct {
        std::size_t max;
        std::string_view want;
    } cases[] = {{0, ""},    {1, "a"},   {2, "a"},     {3, "a"},
                 {4, "aあ"}, {6, "aあ"}, {7, "aあい"}, {99, "aあい"}};
    for (const auto& c : cases) EXPECT_EQ(CutUtf8(text, c.max), c.want) << c.max;
}

TEST(WireText, StringsRoundTripAndLimits) {
    std::string out;
    AppendString(out, "ゆき");
    AppendU32(out, 0xDEADBEEF);
    ASSERT_EQ(out.size(), 4u + 6u + 4u);
    EXPECT_EQ(out.substr(0, 4), std::string("\x06\x00\x00\x00", 4));
    WireReader r(AsBytes(out));
    std::string s;
    std::uint32_t v = 0;
    ASSERT_TRUE(r.ReadString(s));
    EXPECT_EQ(s, "ゆき");
    ASSERT_TRUE(r.ReadU32(v));
    EXPECT_EQ(v, 0xDEADBEEFu);
    EXPECT_FALSE(r.ReadU32(v));

    // A text over the limit is cut on the way out.
    std::string big;
    AppendString(big, std::string(3000, 'x'));
    EXPECT_EQ(big.size(), 4u + kMaxStringBytes);

    const struct {
        const char* name;
        std::string bytes;
    } bad[] = {
        {"count past end", std::string("\x05\x00\x00\x00"
                                       "abcd",
                                       8)},
        {"count 0xFFFFFFFF", std::string("\xFF\xFF\xFF\xFF"
                                         "abcd",
                                         8)},
        {"count over limit", std::string("\x01\x04\x00\x00", 4) + std::string(1025, 'a')},
        {"short count", std::string("\x01\x00", 2)},
    };
    for (const auto& b : bad) {
        WireReader br(AsBytes(b.bytes));
        std::string t;
        EXPECT_FALSE(br.ReadString(t)) << b.name;
        EXPECT_EQ(br.Left(), b.bytes.size()) << b.name;  // position unchanged
    }
}

TEST(SearchAnswer, RoundTripAndRejects) {
    HostAnswer a;
    a.instance = 77;
    a.players = 1;
    a.maxPlayers = 2;
    a.sessionName = "NetBrumil - ゆき";
    a.port = 40123;
    const std::string bytes = EncodeSearchAnswer(1234, a);
    HostAnswer back;
    std::uint32_t stamp = 0;
    ASSERT_TRUE(DecodeSearchAnswer(AsBytes(bytes), back, stamp));
    EXPECT_EQ(stamp, 1234u);
    EXPECT_EQ(back.instance, 77u);
    EXPECT_EQ(back.players, 1u);
    EXPECT_EQ(back.maxPlayers, 2u);
    EXPECT_EQ(back.port, 40123);
    EXPECT_EQ(back.sessionName, a.sessionName);

    const auto with = [&](std::size_t at, char c) {
        std::string b = bytes;
        b[at] = c;
        return b;
    };
    const struct {
        const char* name;
        std::string bytes;
    } bad[] = {
        {"empty", ""},
        {"cut short", bytes.substr(0, bytes.size() - 1)},
        {"trailing byte", bytes + "x"},
        {"wrong magic", with(0, 'X')},
        {"wrong application", with(4, 0)},
        {"more players than room", with(16, 3)},
        {"port 0", with(24, 0).replace(25, 1, std::string(1, '\0'))},
        {"a query", EncodeSearchQuery(5)},
        {"control in name", with(bytes.size() - 1, '\n')},
    };
    for (const auto& b : bad) {
        HostAnswer out;
        std::uint32_t st = 0;
        EXPECT_FALSE(DecodeSearchAnswer(AsBytes(b.bytes), out, st)) << b.name;
    }
}

TEST(HostPort, SplitTable) {
    const struct {
        const char* text;
        std::string host;
        std::uint16_t port;
    } cases[] = {
        {"127.0.0.1:4000", "127.0.0.1", 4000},
        {"127.0.0.1", "127.0.0.1", 9},
        {"", "", 9},
        {"host:0", "host:0", 9},
        {"host:70000", "host:70000", 9},
        {"host:12x", "host:12x", 9},
        {":65535", "", 65535},
    };
    for (const auto& c : cases) {
        std::string host;
        EXPECT_EQ(SplitHostPort(c.text, host, 9), c.port) << c.text;
        EXPECT_EQ(host, c.host) << c.text;
    }
}

}  // namespace
}  // namespace brumil::platform::net
