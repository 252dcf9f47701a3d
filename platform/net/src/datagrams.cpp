// Hello, search query and search answer: the datagrams of the session that are
// not game messages.

#include <charconv>
#include <cstdlib>

#include "hello.h"
#include "platform/net/peer_session.h"
#include "platform/net/wire_text.h"

namespace brumil::platform::net {

namespace {

constexpr std::uint32_t kHelloMagic = 0x4852424Eu;   // "NBRH"
constexpr std::uint32_t kQueryMagic = 0x5152424Eu;   // "NBRQ"
constexpr std::uint32_t kAnswerMagic = 0x4152424Eu;  // "NBRA"
constexpr std::size_t kMaxSessionNameBytes = 128;

// {4546C39E-3B5A-441D-B6C9-0F09204718E7} in its binary layout.
constexpr std::uint8_t kGuidBytes[16] = {0x9E, 0xC3, 0x46, 0x45, 0x5A, 0x3B, 0x1D, 0x44,
                                         0xB6, 0xC9, 0x0F, 0x09, 0x20, 0x47, 0x18, 0xE7};

}  // namespace

std::string WireName(std::string_view name) {
    const std::string clean = CleanText(name, true);
    return std::string(CutUtf8(clean, kMaxNameBytes));
}

std::string EncodeHello(const Hello& hello) {
    std::string out;
    AppendU32(out, kHelloMagic);
    AppendU32(out, kProtocolVersion);
    out.append(reinterpret_cast<const char*>(kGuidBytes), sizeof kGuidBytes);
    AppendU32(out, hello.playerId);
    AppendString(out, WireName(hello.name));
    return out;
}

std::optional<Hello> DecodeHello(std::span<const std::uint8_t> bytes) {
    WireReader r(bytes);
    std::uint32_t magic = 0;
    std::uint32_t version = 0;
    if (!r.ReadU32(magic) || magic != kHelloMagic) return std::nullopt;
    if (!r.ReadU32(version) || version != kProtocolVersion) return std::nullopt;
    if (bytes.size() < 8 + sizeof kGuidBytes) return std::nullopt;
    for (std::size_t i = 0; i < sizeof kGuidBytes; ++i) {
        if (bytes[8 + i] != kGuidBytes[i]) return std::nullopt;
    }
    WireReader rest(bytes.subspan(8 + sizeof kGuidBytes));
    Hello h;
    if (!rest.ReadU32(h.playerId) || h.playerId == 0) return std::nullopt;
    if (!rest.ReadString(h.name) || rest.Left() != 0) return std::nullopt;
    if (h.name.size() > kMaxNameBytes || !IsCleanText(h.name)) return std::nullopt;
    return h;
}

std::string EncodeSearchQuery(std::uint32_t stampMs) {
    std::string out;
    AppendU32(out, kQueryMagic);
    AppendU32(out, kApplicationTag);
    AppendU32(out, stampMs);
    return out;
}

std::string EncodeSearchAnswer(std::uint32_t stampMs, const HostAnswer& answer) {
    std::string out;
    AppendU32(out, kAnswerMagic);
    AppendU32(out, kApplicationTag);
    AppendU32(out, stampMs);
    AppendU32(out, answer.instance);
    AppendU32(out, answer.players);
    AppendU32(out, answer.maxPlayers);
    AppendU32(out, answer.port);
    AppendString(out, CutUtf8(CleanText(answer.sessionName, true), kMaxSessionNameBytes));
    return out;
}

bool DecodeSearchAnswer(std::span<const std::uint8_t> bytes, HostAnswer& answer,
                        std::uint32_t& stampMs) {
    WireReader r(bytes);
    std::uint32_t magic = 0;
    std::uint32_t tag = 0;
    std::uint32_t port = 0;
    HostAnswer a;
    if (!r.ReadU32(magic) || magic != kAnswerMagic) return false;
    if (!r.ReadU32(tag) || tag != kApplicationTag) return false;
    if (!r.ReadU32(stampMs) || !r.ReadU32(a.instance) || !r.ReadU32(a.players) ||
        !r.ReadU32(a.maxPlayers) || !r.ReadU32(port) || !r.ReadString(a.sessionName)) {
        return false;
    }
    if (r.Left() != 0 || port == 0 || port > 0xFFFF || a.players > a.maxPlayers ||
        a.maxPlayers > 2 || a.sessionName.size() > kMaxSessionNameBytes ||
        !IsCleanText(a.sessionName)) {
        return false;
    }
    a.port = static_cast<std::uint16_t>(port);
    answer = std::move(a);
    return true;
}

bool IsSearchQuery(std::span<const std::uint8_t> bytes, std::uint32_t& stampMs) {
    WireReader r(bytes);
    std::uint32_t magic = 0;
    std::uint32_t tag = 0;
    return bytes.size() == 12 && r.ReadU32(magic) && magic == kQueryMagic && r.ReadU32(tag) &&
           tag == kApplicationTag && r.ReadU32(stampMs);
}

bool LooksLikeQuery(std::span<const std::uint8_t> bytes) {
    WireReader r(bytes);
    std::uint32_t magic = 0;
    return r.ReadU32(magic) && magic == kQueryMagic;
}

std::uint16_t SplitHostPort(std::string_view text, std::string& host, std::uint16_t fallback) {
    const std::size_t colon = text.rfind(':');
    host = std::string(text);
    if (colon == std::string_view::npos) return fallback;
    const std::string_view digits = text.substr(colon + 1);
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc{} || end != digits.data() + digits.size() || value == 0 || value > 0xFFFF) {
        return fallback;
    }
    host = std::string(text.substr(0, colon));
    return static_cast<std::uint16_t>(value);
}

std::uint16_t ConfiguredPort() {
    const char* text = std::getenv("BRUMIL_NET_PORT");
    if (text == nullptr) return kDefaultPort;
    std::string host;
    return SplitHostPort(std::string(":") + text, host, kDefaultPort);
}

}  // namespace brumil::platform::net
