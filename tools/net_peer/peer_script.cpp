#include "peer_script.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>

#include "net/net_message.h"
#include "net/net_session.h"
#include "platform/base/clock.h"

namespace brumil::tools {

namespace {

class SplitMix {
public:
    explicit SplitMix(std::uint64_t seed) : s_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    Long Below(Long n) { return static_cast<Long>(Next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t s_;
};

Role Other(Role r) {
    return r == Role::Host ? Role::Joiner : Role::Host;
}

class Silent final : public net::EffectSink {
public:
    void PlayEffect(Long, Single, Single) override {}
};

// Keeps every input message as it arrives, then passes events on.
class InputTap final : public platform::net::SessionEvents {
public:
    void CreatePlayer(std::uint32_t id, std::string_view name, bool local) override {
        to->CreatePlayer(id, name, local);
    }
    void DestroyPlayer(std::uint32_t id) override { to->DestroyPlayer(id); }
    void Receive(std::uint32_t sender, std::span<const std::uint8_t> bytes) override {
        const auto m = net::DecodeNetMessage(bytes);
        if (m && m->type == net::kInputMessage) {
            inputs.push_back({m->values[0], m->values[1], m->values[4]});
        }
        to->Receive(sender, bytes);
    }
    void ConnectComplete(bool ok) override { to->ConnectComplete(ok); }
    void HostFound(const platform::net::HostAnswer& a) override { to->HostFound(a); }

    platform::net::SessionEvents* to = nullptr;
    std::vector<InputStep> inputs;
};

constexpr std::string_view kDone = "おわり";

class Peer {
public:
    explicit Peer(const PeerOptions& o)
        : o_(o),
          clock_(platform::SystemClock()),
          session_(state_, silent_, clock_,
                   [this](platform::net::SessionEvents& e, platform::Clock& c) {
                       tap_.to = &e;
                       return platform::net::CreatePeerSession(tap_, c);
                   }),
          deadline_(platform::DeadlineAfter(clock_.NowMs(), o.limitMs)) {}

    int Run() {
        if (!Connect() || !Chat() || !Phases() || !Inputs() || !Finish()) {
            std::cerr << PlayerName(o_.role) << ": " << fault_ << "\n";
            return 1;
        }
        std::cout << PlayerName(o_.role) << ": all checks held\n";
        return 0;
    }

private:
    bool Fail(std::string why) {
        fault_ = std::move(why);
        return false;
    }

    // Polls until `done`, the run's deadline or a lost peer.
    bool Until(const std::function<bool()>& done, std::string_view what, bool needPeer = true) {
        while (!platform::DeadlinePassed(clock_.NowMs(), deadline_)) {
            session_.Poll();
            if (done()) return true;
            if (needPeer && connected_ && state_.peer.Id == 0) {
                return Fail("peer lost while waiting for " + std::string(what));
            }
            clock_.SleepMs(1);
        }
        return Fail("time limit while waiting for " + std::string(what));
    }

    bool Connect() {
        const std::string name = PlayerName(o_.role);
        if (o_.role == Role::Host) {
            if (!session_.Host(name, o_.address, 0)) return Fail("cannot host");
            std::ofstream(o_.portFile) << session_.Port() << "\n";
            if (!Until([&] { return state_.peer.Id != 0; }, "the joiner", false)) return false;
        } else {
            if (!session_.Join(name, o_.address, o_.port)) return Fail("cannot start the join");
            if (!Until([&] { return session_.JoinStatus() != net::JoinState::Joining; }, "join",
                       false)) {
                return false;
            }
            if (session_.JoinStatus() != net::JoinState::Joined) return Fail("join failed");
        }
        connected_ = true;
        if (state_.peer.Name != PlayerName(Other(o_.role))) return Fail("wrong peer name");
        return true;
    }

    bool HasLine(const std::string& line) const {
        return state_.log.Text.find(line + "\r\n") != std::string::npos;
    }

    bool Chat() {
        for (const std::string& line : ChatLines(o_.role)) {
            const std::string_view t[] = {line};
            if (!session_.SendTextMessage(net::kChatMessage, t)) return Fail("chat not sent");
        }
        std::vector<std::string> want;
        for (const Role r : {o_.role, Other(o_.role)}) {
            for (const std::string& line : ChatLines(r)) {
                want.push_back("<" + PlayerName(r) + "> " + line);
            }
        }
        return Until(
            [&] {
                return std::all_of(want.begin(), want.end(), [&](auto& l) { return HasLine(l); });
            },
            "the chat lines");
    }

    // Phases 2 to 6 in turn: each side announces a phase and moves on once
    // the peer has reached it; phase 3 carries the set-up values.
    bool Phases() {
        const std::vector<Long> mine = SetupValues(o_.role, o_.seed);
        const std::vector<Long> theirs = SetupValues(Other(o_.role), o_.seed);
        for (Long phase = 2; phase <= 6; ++phase) {
            state_.own.State = phase;
            if (phase == 3) {
                const Long v[] = {phase, mine[0], mine[1], mine[2], 0};
                session_.SendGameMessage(net::kSetupMessage, v);
            } else {
                const Long v[] = {phase};
                session_.SendGameMessage(net::kStateMessage, v);
            }
            if (!Until([&] { return state_.peer.State >= phase; },
                       "phase " + std::to_string(phase))) {
                return false;
            }
            if (phase == 3 && (state_.peer.SetupA != theirs[0] || state_.peer.SetupB != theirs[1] ||
                               state_.peer.SetupC != theirs[2])) {
                return Fail("set-up values differ");
            }
        }
        return true;
    }

    bool Inputs() {
        const std::vector<InputStep> plan = InputPlan(o_.role, o_.seed, o_.frames);
        for (const InputStep& s : plan) {
            const Long v[] = {s.frame, s.bits, s.frame, -s.frame, s.life};
            if (!session_.SendGameMessage(net::kInputMessage, v)) return Fail("input not sent");
            session_.Poll();
            clock_.SleepMs(1);
        }
        const std::vector<InputStep> want = InputPlan(Other(o_.role), o_.seed, o_.frames);
        if (!Until([&] { return tap_.inputs.size() >= want.size(); }, "the input frames"))
            return false;
        for (std::size_t i = 0; i < want.size(); ++i) {
            const InputStep& g = tap_.inputs[i];
            if (g.frame != want[i].frame || g.bits != want[i].bits || g.life != want[i].life) {
                return Fail("input message " + std::to_string(i) + " differs (frame " +
                            std::to_string(g.frame) + ")");
            }
        }
        if (tap_.inputs.size() != want.size()) return Fail("extra input messages");
        if (state_.peer.LatestBits != want.back().bits || state_.peer.Extra != want.back().life ||
            state_.peer.Frame != want.back().frame) {
            return Fail("final keys or life differ");
        }
        return true;
    }

    // Each side says it is done; the joiner leaves after the host's word and
    // the host sees it go.
    bool Finish() {
        const std::string_view t[] = {kDone};
        const std::string peerDone = std::string(kDone);
        const auto count = [&] {
            std::size_t n = 0;
            for (std::size_t at = 0; (at = state_.log.Text.find(peerDone, at)) != std::string::npos;
                 ++at)
                ++n;
            return n;
        };
        if (o_.role == Role::Joiner) {
            session_.SendTextMessage(net::kNoticeMessage, t);
            if (!Until([&] { return count() >= 2; }, "the host's last word")) return false;
            session_.Close();
            return true;
        }
        if (!Until([&] { return count() >= 1; }, "the joiner's last word")) return false;
        session_.SendTextMessage(net::kNoticeMessage, t);
        return Until([&] { return state_.peer.Id == 0; }, "the joiner leaving", false) &&
               (HasLine(PlayerName(Role::Joiner) + std::string(net::kLogPlayerLeft)) ||
                Fail("leave not logged"));
    }

    PeerOptions o_;
    platform::Clock& clock_;
    net::NetState state_;
    Silent silent_;
    InputTap tap_;
    net::NetSession session_;
    platform::Millis deadline_;
    bool connected_ = false;
    std::string fault_;
};

}  // namespace

std::string PlayerName(Role role) {
    return role == Role::Host ? "ホスト" : "ゲスト";
}

std::vector<std::string> ChatLines(Role role) {
    const std::string who = role == Role::Host ? "h" : "j";
    return {"こんにちは " + who, "line 2 " + who, "よろしく " + who};
}

std::vector<InputStep> InputPlan(Role role, std::uint64_t seed, Long frames) {
    SplitMix r(seed * 2 + (role == Role::Host ? 0 : 1));
    std::vector<InputStep> plan;
    Long bits = 0;
    Long life = 5;
    for (Long f = 1; f <= frames; ++f) {
        const Long before = bits;
        const Long lifeBefore = life;
        // Each frame may press or release one key; now and then a life goes.
        if (r.Below(4) == 0) bits ^= 1 << r.Below(11);
        if (life > 0 && r.Below(60) == 0) --life;
        if (bits != before || life != lifeBefore || f == frames) plan.push_back({f, bits, life});
    }
    return plan;
}

std::vector<Long> SetupValues(Role role, std::uint64_t seed) {
    SplitMix r(seed * 7 + (role == Role::Host ? 3 : 4));
    return {1 + r.Below(8), r.Below(7), 1 + r.Below(6)};
}

int RunPeer(const PeerOptions& options) {
    Peer peer(options);
    return peer.Run();
}

}  // namespace brumil::tools
