#pragma once
// One side of network play: a peer session with the two records, the log and
// the host list it feeds. The session's events land here (player joins and
// leaves, messages, search answers) and are written into the NetState given
// at construction; the game gives its own (GameNet()), tests and tools give
// theirs, so two sessions can run side by side in one process.

#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "net/host_list.h"
#include "net/net_log.h"
#include "net/net_player_record.h"
#include "platform/base/clock.h"
#include "platform/net/peer_session.h"

namespace brumil::net {

struct NetState {
    NetPlayerRecord own;   // gNetOwn
    NetPlayerRecord peer;  // gNetPeer
    NetLog log;            // gNetLog, gNetLogTimer
};

// How the network side plays its sound effects (effect number of the game's
// table, volume, pan).
class EffectSink {
public:
    virtual ~EffectSink() = default;
    virtual void PlayEffect(Long effect, Single volume, Single pan) = 0;
};

// Texts of the log and the session.
inline constexpr std::string_view kSessionNamePrefix = "NetBrumil - ";
inline constexpr std::string_view kLogSessionMade = "セッションを作成しました。接続を待っています";
inline constexpr std::string_view kLogPlayerJoined = "が参加しました。ゲームを開始できます";
inline constexpr std::string_view kLogPlayerLeft = "が居なくなりました";
// The name a player goes by when it has none: the match takes a player without
// a name for nobody.
inline constexpr std::string_view kNamelessPlayer = "名無し";

enum class JoinState { Idle, Joining, Joined, Failed };

class NetSession final : public platform::net::SessionEvents {
public:
    using Factory = std::function<std::unique_ptr<platform::net::PeerSession>(
        platform::net::SessionEvents&, platform::Clock&)>;

    // `factory` makes the transport (the real ENet session when empty).
    NetSession(NetState& state, EffectSink& effects, platform::Clock& clock, Factory factory = {});
    ~NetSession() override;
    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;

    // False when the network layer could not start: nothing can be made,
    // joined or searched.
    bool NetworkStarted() const { return transport_ != nullptr; }
    // Hosts "NetBrumil - " & name; stops the host search. False on failure,
    // and LastHostFailure() tells why.
    bool Host(std::string_view name, std::string_view bindAddress, std::uint16_t port);
    platform::net::HostFailure LastHostFailure() const;
    // Starts joining; JoinStatus() tells the outcome (at most 10 s later).
    bool Join(std::string_view name, std::string_view address, std::uint16_t port);
    JoinState JoinStatus() const { return join_; }
    // Searches `addressText` ("host" or "host:port"; empty for the LAN).
    bool StartSearch(std::string_view addressText);
    void StopSearch();
    bool Searching() const;
    HostList& Hosts() { return hosts_; }

    // Services the transport and expires old hosts. Call once per logic step.
    void Poll();
    // Ends the session; both records lose name, id and state.
    void Close();

    bool InSession() const;
    std::uint16_t Port() const;

    // Type and values, reliably, not to the sender itself. False without a
    // session (nothing is sent).
    bool SendGameMessage(Long type, std::span<const Long> values);
    // Type and texts, reliably, to the peer and back to the sender.
    bool SendTextMessage(Long type, std::span<const std::string_view> texts);

    // SessionEvents. A player reported without a name is recorded as
    // kNamelessPlayer.
    void CreatePlayer(std::uint32_t id, std::string_view name, bool local) override;
    void DestroyPlayer(std::uint32_t id) override;
    void Receive(std::uint32_t sender, std::span<const std::uint8_t> bytes) override;
    void ConnectComplete(bool ok) override;
    void HostFound(const platform::net::HostAnswer& answer) override;

private:
    NetState& state_;
    EffectSink& effects_;
    platform::Clock& clock_;
    std::unique_ptr<platform::net::PeerSession> transport_;
    HostList hosts_;
    JoinState join_ = JoinState::Idle;
};

// The receiver alone: applies one message from `sender` to `state` (the
// session calls it for every message; tests and the fuzz entry call it
// directly). Messages from anyone but the peer, or the own side for chat and
// notices, change nothing.
void ReceiveNetMessage(NetState& state, EffectSink& effects, Long sender,
                       std::span<const std::uint8_t> bytes);

}  // namespace brumil::net
