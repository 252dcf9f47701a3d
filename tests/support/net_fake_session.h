#pragma once
// A peer session that keeps what is sent and reports nothing on its own, an
// effect sink that records what would have sounded, and the game's session
// (GameNet()) over such a fake, for tests of what sends and receives.

#include <memory>
#include <string>
#include <vector>

#include "net/net_globals.h"
#include "net/net_session.h"
#include "platform/base/clock.h"
#include "platform/net/peer_session.h"

namespace brumil::net::testing {

struct SentMessage {
    platform::net::Lane lane;
    std::string bytes;
    bool loopback;
};

class FakePeerSession final : public platform::net::PeerSession {
public:
    explicit FakePeerSession(platform::net::SessionEvents& events) : events_(events) {}

    bool Host(std::string_view name, std::string_view, std::string_view, std::uint16_t) override {
        inSession = true;
        events_.CreatePlayer(platform::net::kHostPlayerId, name, true);
        ownId = platform::net::kHostPlayerId;
        return true;
    }
    platform::net::HostFailure LastHostFailure() const override {
        return platform::net::HostFailure::None;
    }
    bool Join(std::string_view, std::string_view address, std::uint16_t port) override {
        joinAddress = std::string(address);
        joinPort = port;
        return port != 0;
    }
    bool StartSearch(std::string_view address, std::uint16_t port) override {
        searchAddress = std::string(address);
        searchPort = port;
        searching = true;
        return true;
    }
    void StopSearch() override { searching = false; }
    bool Searching() const override { return searching; }
    bool Send(platform::net::Lane lane, std::span<const std::uint8_t> bytes,
              bool loopback) override {
        if (!inSession) return false;
        sent.push_back({lane, std::string(bytes.begin(), bytes.end()), loopback});
        return true;
    }
    void Service() override { ++services; }
    void Close() override {
        inSession = false;
        ++closes;
    }
    bool InSession() const override { return inSession; }
    bool PeerConnected() const override { return inSession; }
    std::uint32_t OwnId() const override { return ownId; }
    std::uint16_t Port() const override { return 0; }

    platform::net::SessionEvents& events_;
    std::vector<SentMessage> sent;
    bool inSession = false;
    bool searching = false;
    std::string searchAddress;
    std::uint16_t searchPort = 0;
    std::string joinAddress;
    std::uint16_t joinPort = 0;
    std::uint32_t ownId = 0;
    int services = 0;
    int closes = 0;
};

struct Effect {
    Long n;
    Single volume;
    Single pan;
    bool operator==(const Effect&) const = default;
};

class RecordingEffects final : public EffectSink {
public:
    void PlayEffect(Long n, Single volume, Single pan) override {
        played.push_back({n, volume, pan});
    }
    std::vector<Effect> played;
};

// The game's records, fed by a session over the fake transport.
struct FakeGameSession {
    FakeGameSession()
        : session(GameNet(), effects, clock,
                  [this](platform::net::SessionEvents& e, platform::Clock&) {
                      auto t = std::make_unique<FakePeerSession>(e);
                      fake = t.get();
                      return t;
                  }) {}
    void Host() { session.Host("ゆき", "", 0); }

    RecordingEffects effects;
    platform::ManualClock clock{1'000'000};
    FakePeerSession* fake = nullptr;
    NetSession session;
};

}  // namespace brumil::net::testing
