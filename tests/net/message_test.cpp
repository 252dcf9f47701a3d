#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/net_message.h"
#include "platform/net/wire_text.h"

namespace brumil::net {
namespace {

using namespace std::string_literals;
using platform::net::AsBytes;

std::string Le(std::uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

TEST(NetMessage, GameMessagesExactBytesAndBack) {
    struct Case {
        const char* name;
        Long type;
        std::vector<Long> values;
        std::string bytes;
    };
    const Case cases[] = {
        {"state", kStateMessage, {6}, "\x02\0\0\0\x06\0\0\0"s},
        {"state negative", kStateMessage, {-1}, "\x02\0\0\0\xFF\xFF\xFF\xFF"s},
        {"set-up", kSetupMessage, {3, 8, 6, 2, 0}, Le(3) + Le(3) + Le(8) + Le(6) + Le(2) + Le(0)},
        {"input",
         kInputMessage,
         {0x01020304, 0x412, 0x14000, -5, 77},
         Le(4) + "\x04\x03\x02\x01"s + Le(0x412) + Le(0x14000) + Le(0xFFFFFFFB) + Le(77)},
    };
    for (const Case& c : cases) {
        const std::string bytes = EncodeGameMessage(c.type, c.values);
        EXPECT_EQ(bytes, c.bytes) << c.name;
        const auto m = DecodeNetMessage(AsBytes(bytes));
        ASSERT_TRUE(m) << c.name;
        EXPECT_EQ(m->type, c.type) << c.name;
        for (std::size_t i = 0; i < c.values.size(); ++i) {
            EXPECT_EQ(m->values[i], c.values[i]) << c.name << " value " << i;
        }
    }
}

TEST(NetMessage, TextMessagesExactBytesAndBack) {
    struct Case {
        const char* name;
        Long type;
        std::string text;
        std::string bytes;
    };
    const Case cases[] = {
        {"chat", kChatMessage, "hi", "\0\0\0\0\x02\0\0\0hi"s},
        {"notice japanese", kNoticeMessage, "準備", "\x01\0\0\0\x06\0\0\0準備"s},
        {"empty chat", kChatMessage, "", "\0\0\0\0\0\0\0\0"s},
    };
    for (const Case& c : cases) {
        const std::string_view texts[] = {c.text};
        const std::string bytes = EncodeTextMessage(c.type, texts);
        EXPECT_EQ(bytes, c.bytes) << c.name;
        const auto m = DecodeNetMessage(AsBytes(bytes));
        ASSERT_TRUE(m) << c.name;
        EXPECT_EQ(m->type, c.type) << c.name;
        EXPECT_EQ(m->text, c.text) << c.name;
    }
}

TEST(NetMessage, MalformedAreRefusedOrCleaned) {
    struct Case {
        const char* name;
        std::string bytes;
        bool decodes;
        std::string text = {};  // the text after cleaning, when it decodes
    };
    const std::string input = EncodeGameMessage(kInputMessage, std::vector<Long>{1, 2, 3, 4, 5});
    const Case cases[] = {
        {"empty", "", false},
        {"3 bytes", "\x04\0\0"s, false},
        {"type -1", Le(0xFFFFFFFF) + Le(0) + Le(0), false},
        {"type 5", Le(5) + Le(0) + Le(0) + Le(0) + Le(0) + Le(0), false},
        {"type 0x7FFFFFFF", Le(0x7FFFFFFF), false},
        {"state without value", Le(2), false},
        {"state with 3 bytes", Le(2) + "\x01\0\0"s, false},
        {"set-up one value short", Le(3) + Le(1) + Le(2) + Le(3) + Le(4), false},
        {"input one byte short", input.substr(0, input.size() - 1), false},
        {"chat without count", Le(0), false},
        {"chat count 0xFFFFFFFF", Le(0) + Le(0xFFFFFFFF) + "abc", false},
        {"chat count one too long", Le(0) + Le(4) + "abc", false},
        {"chat count over 1024", Le(0) + Le(1025) + std::string(1025, 'a'), false},
        {"chat of 1024 bytes", Le(0) + Le(1024) + std::string(1024, 'a'), true,
         std::string(1024, 'a')},
        {"invalid UTF-8 replaced", Le(0) + Le(3) + "a\xFFz", true, "a\xEF\xBF\xBDz"},
        {"CR LF NUL stripped", Le(1) + Le(6) + "a\r\nb\0c"s, true, "abc"},
        {"bytes after the string ignored", Le(0) + Le(1) + "a" + "junk", true, "a"},
    };
    for (const Case& c : cases) {
        const auto m = DecodeNetMessage(AsBytes(c.bytes));
        EXPECT_EQ(m.has_value(), c.decodes) << c.name;
        if (m && c.decodes) {
            EXPECT_EQ(m->text, c.text) << c.name;
        }
    }
}

TEST(NetMessage, InputBitsAreMasked) {
    const struct {
        Long sent;
        Long got;
    } cases[] = {{0x12, 0x12}, {0x7FF, 0x7FF}, {0x800, 0}, {-1, 0x7FF}, {0x10412, 0x412}};
    for (const auto& c : cases) {
        const std::string bytes =
            EncodeGameMessage(kInputMessage, std::vector<Long>{1, c.sent, 0, 0, 0});
        const auto m = DecodeNetMessage(AsBytes(bytes));
        ASSERT_TRUE(m);
        EXPECT_EQ(m->values[1], c.got) << c.sent;
    }
}

}  // namespace
}  // namespace brumil::net
