#include "net/net_fuzz.h"

#include <array>
#include <vector>

#include "net/net_message.h"
#include "net/net_session.h"
#include "platform/net/peer_session.h"
#include "platform/net/wire_text.h"

namespace brumil::net {

namespace {

// splitmix64: the fuzz cases' own stream, one draw per call.
class FuzzRandom {
public:
    explicit FuzzRandom(std::uint64_t seed) : s_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(Next() % n); }

private:
    std::uint64_t s_;
};

class NoEffects final : public EffectSink {
public:
    void PlayEffect(Long, Single, Single) override {}
};

constexpr Long kOwnId = 2;
constexpr Long kPeerId = 1;
constexpr Long kStrangerId = 9;

std::string Seed(FuzzRandom& r) {
    static constexpr std::array<std::string_view, 6> kTexts = {
        "", "こんにちは", "a\r\nb", "\xFF\xFE", "準備", "\0\x01\x1F"};
    const Long type = static_cast<Long>(r.Below(7)) - 1;
    if (type == kChatMessage || type == kNoticeMessage) {
        const std::string_view t[] = {kTexts[r.Below(kTexts.size())]};
        return EncodeTextMessage(type, t);
    }
    if (type == 5) {
        platform::net::HostAnswer a;
        a.instance = static_cast<std::uint32_t>(r.Next());
        a.players = r.Below(3);
        a.maxPlayers = 2;
        a.port = static_cast<std::uint16_t>(1 + r.Below(65535));
        a.sessionName = "NetBrumil - ゆき";
        return platform::net::EncodeSearchAnswer(static_cast<std::uint32_t>(r.Next()), a);
    }
    std::vector<Long> v(type == kStateMessage ? 1 : 5);
    for (Long& x : v) x = static_cast<Long>(r.Next());
    return EncodeGameMessage(type, v);
}

void Mutate(FuzzRandom& r, std::string& b) {
    const std::uint32_t edits = 1 + r.Below(4);
    for (std::uint32_t i = 0; i < edits; ++i) {
        const std::uint32_t what = r.Below(5);
        if (what == 0 && !b.empty()) {
            b[r.Below(static_cast<std::uint32_t>(b.size()))] = static_cast<char>(r.Next());
        } else if (what == 1 && !b.empty()) {
            b.resize(r.Below(static_cast<std::uint32_t>(b.size())));
        } else if (what == 2) {
            b.append(r.Below(8), static_cast<char>(r.Next()));
        } else if (what == 3 && b.size() >= 8) {
            // A string count or value set to an edge.
            static constexpr std::array<std::uint32_t, 5> kEdges = {0, 1, 1024, 1025, 0xFFFFFFFF};
            const std::uint32_t v = kEdges[r.Below(kEdges.size())];
            const std::size_t at = 4 * r.Below(static_cast<std::uint32_t>(b.size() / 4));
            for (int k = 0; k < 4; ++k) b[at + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
        } else if (what == 4 && b.size() >= 4) {
            b[r.Below(4)] = static_cast<char>(r.Below(8));  // another type
        }
    }
}

std::string CheckState(const NetState& s) {
    if (s.log.Lines > kNetLogLines) return "log longer than its limit";
    if (!s.log.Text.empty() && !s.log.Text.ends_with("\r\n")) return "log not ending a line";
    std::size_t at = 0;
    while (at < s.log.Text.size()) {
        const std::size_t end = s.log.Text.find("\r\n", at);
        if (!platform::net::IsCleanText(std::string_view(s.log.Text).substr(at, end - at))) {
            return "unclean log line";
        }
        at = end + 2;
    }
    if ((s.peer.KeyBits & ~kKeyBitsMask) != 0 || (s.peer.LatestBits & ~kKeyBitsMask) != 0) {
        return "key bits outside the mask";
    }
    return {};
}

}  // namespace

std::string NetFuzzCase(std::uint64_t seed, Long index) {
    FuzzRandom r(seed * 0x100000001B3ull + static_cast<std::uint64_t>(index));
    if (r.Below(4) == 0) {
        std::string b(r.Below(48), '\0');
        for (char& c : b) c = static_cast<char>(r.Next());
        return b;
    }
    std::string b = Seed(r);
    if (r.Below(5) != 0) Mutate(r, b);
    return b;
}

std::string NetFuzzOne(const std::string& bytes, bool& decoded, bool& answer) {
    const std::span<const std::uint8_t> in = platform::net::AsBytes(bytes);
    const std::optional<NetMessage> m = DecodeNetMessage(in);
    decoded = m.has_value();
    if (m) {
        if (m->type < 0 || m->type > 4) return "decoded a type outside 0..4";
        if (!platform::net::IsCleanText(m->text)) return "decoded text unclean";
        if (m->type == kInputMessage && (m->values[1] & ~kKeyBitsMask) != 0) {
            return "decoded bits unmasked";
        }
    }
    NoEffects fx;
    NetState s;
    s.own.Name = "ゆき";
    s.own.Id = kOwnId;
    s.peer.Name = "はる";
    s.peer.Id = kPeerId;
    const NetState before = s;
    ReceiveNetMessage(s, fx, kStrangerId, in);
    if (!(s.own == before.own && s.peer == before.peer && s.log.Text.empty())) {
        return "a stranger changed the state";
    }
    for (int i = 0; i < 2; ++i) {
        ReceiveNetMessage(s, fx, kPeerId, in);
        ReceiveNetMessage(s, fx, kOwnId, in);
    }
    if (s.own != before.own) return "the own record changed";
    if (s.peer.Name != before.peer.Name || s.peer.Id != before.peer.Id) return "peer renamed";
    if (std::string f = CheckState(s); !f.empty()) return f;

    platform::net::HostAnswer a;
    std::uint32_t stamp = 0;
    answer = platform::net::DecodeSearchAnswer(in, a, stamp);
    if (answer && (!platform::net::IsCleanText(a.sessionName) || a.players > a.maxPlayers ||
                   a.maxPlayers > 2 || a.port == 0)) {
        return "search answer out of range";
    }
    return {};
}

NetFuzzSummary NetFuzzRun(std::uint64_t seed, Long count) {
    NetFuzzSummary sum;
    for (Long i = 0; i < count; ++i) {
        bool decoded = false;
        bool answer = false;
        const std::string fault = NetFuzzOne(NetFuzzCase(seed, i), decoded, answer);
        ++sum.cases;
        sum.decoded += decoded ? 1 : 0;
        sum.answers += answer ? 1 : 0;
        if (!fault.empty() && ++sum.failures == 1) {
            sum.firstFailure = i;
            sum.fault = fault;
        }
    }
    return sum;
}

}  // namespace brumil::net
