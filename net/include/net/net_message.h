#pragma once
// The five message types and their bytes. Offset 0 holds the type; numbers
// are 32-bit little-endian, strings a 32-bit byte count and UTF-8 bytes.
//
//   0 chat     one string             2 state   state code
//   1 notice   one string             3 set-up  state, SetupA, SetupB, SetupC, 0
//                                     4 input   Frame, KeyBits, X, Y, Extra

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/vb_types.h"

namespace brumil::net {

enum MessageType : Long {
    kChatMessage = 0,
    kNoticeMessage = 1,
    kStateMessage = 2,
    kSetupMessage = 3,
    kInputMessage = 4,
};

// A received message after checking: the text is valid UTF-8 without control
// characters, input bits are masked to kKeyBitsMask.
struct NetMessage {
    Long type = 0;
    std::string text;              // types 0 and 1
    std::array<Long, 5> values{};  // types 2 (one value), 3 and 4 (five)
};

// The type, then each value as 4 bytes (values a caller leaves out are simply
// not in the list).
std::string EncodeGameMessage(Long type, std::span<const Long> values);
// The type, then each text as a string.
std::string EncodeTextMessage(Long type, std::span<const std::string_view> texts);

// Nothing for a message shorter than its type needs, a type outside 0..4, or a
// string whose count passes the end or 1024 bytes. Bytes after what the type
// needs are ignored.
std::optional<NetMessage> DecodeNetMessage(std::span<const std::uint8_t> bytes);

}  // namespace brumil::net
