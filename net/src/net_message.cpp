#include "net/net_message.h"

#include "net/net_player_record.h"
#include "platform/net/wire_text.h"

namespace brumil::net {

namespace wire = platform::net;

std::string EncodeGameMessage(Long type, std::span<const Long> values) {
    std::string out;
    wire::AppendU32(out, static_cast<std::uint32_t>(type));
    for (const Long v : values) wire::AppendU32(out, static_cast<std::uint32_t>(v));
    return out;
}

std::string EncodeTextMessage(Long type, std::span<const std::string_view> texts) {
    std::string out;
    wire::AppendU32(out, static_cast<std::uint32_t>(type));
    for (const std::string_view t : texts) wire::AppendString(out, t);
    return out;
}

std::optional<NetMessage> DecodeNetMessage(std::span<const std::uint8_t> bytes) {
    wire::WireReader r(bytes);
    NetMessage m;
    if (!r.ReadI32(m.type)) return std::nullopt;
    switch (m.type) {
        case kChatMessage:
        case kNoticeMessage: {
            std::string raw;
            if (!r.ReadString(raw)) return std::nullopt;
            m.text = wire::CleanText(raw, true);
            return m;
        }
        case kStateMessage:
            if (!r.ReadI32(m.values[0])) return std::nullopt;
            return m;
        case kSetupMessage:
        case kInputMessage:
            for (Long& v : m.values) {
                if (!r.ReadI32(v)) return std::nullopt;
            }
            if (m.type == kInputMessage) m.values[1] &= kKeyBitsMask;
            return m;
        default:
            return std::nullopt;
    }
}

}  // namespace brumil::net
