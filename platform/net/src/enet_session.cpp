// The peer session over ENet. The host keeps two peer slots: one for the
// joiner, one only so that a third joiner gets an immediate refusal instead of
// silence. Search queries arrive on the session's own socket and are answered
// from ENet's intercept hook before ENet parses them.

#include <enet/enet.h>

#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "hello.h"
#include "name_lookup.h"
#include "platform/net/peer_session.h"
#include "platform/net/wire_text.h"

namespace brumil::platform::net {

namespace {

constexpr std::size_t kChannels = 2;
constexpr std::size_t kHostSlots = 2;
// A silent peer is dropped after this long (ENet's own retries before that).
constexpr enet_uint32 kPeerTimeoutMinMs = 2000;
constexpr enet_uint32 kPeerTimeoutMaxMs = 5000;

bool StartEnet() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] { ok = enet_initialize() == 0; });
    return ok;
}

struct HostDeleter {
    void operator()(ENetHost* h) const { enet_host_destroy(h); }
};
using HostPtr = std::unique_ptr<ENetHost, HostDeleter>;

struct SocketCloser {
    ENetSocket socket = ENET_SOCKET_NULL;
    SocketCloser() = default;
    SocketCloser(const SocketCloser&) = delete;
    SocketCloser& operator=(const SocketCloser&) = delete;
    ~SocketCloser() { Reset(); }
    void Reset(ENetSocket s = ENET_SOCKET_NULL) {
        if (socket != ENET_SOCKET_NULL) enet_socket_destroy(socket);
        socket = s;
    }
};

// Whether a socket could be bound to `address` now (false: another socket
// holds it, or the address is not this machine's).
bool CanBind(const ENetAddress& address) {
    SocketCloser probe;
    probe.Reset(enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM));
    return probe.socket != ENET_SOCKET_NULL && enet_socket_bind(probe.socket, &address) == 0;
}

std::string AddressText(const ENetAddress& a) {
    char text[64] = {};
    if (enet_address_get_host_ip(&a, text, sizeof text) != 0) return {};
    return text;
}

class EnetSession;
// The session whose host is being serviced on this thread: ENet's intercept
// hook has no user pointer, so the hook finds its session here.
thread_local EnetSession* tServicing = nullptr;

class EnetSession final : public PeerSession {
public:
    EnetSession(SessionEvents& events, Clock& clock, NameLookup lookup)
        : events_(events), clock_(clock), lookup_(std::move(lookup)) {}
    ~EnetSession() override { Close(); }

    bool Host(std::string_view name, std::string_view sessionName, std::string_view bindAddress,
              std::uint16_t port) override {
        hostFailure_ = HostFailure::Other;
        if (host_) return false;
        ENetAddress address{};
        address.host = ENET_HOST_ANY;
        address.port = port;
        if (!bindAddress.empty() &&
            enet_address_set_host_ip(&address, std::string(bindAddress).c_str()) != 0) {
            return false;
        }
        host_.reset(enet_host_create(&address, kHostSlots, kChannels, 0, 0));
        if (!host_) {
            if (!CanBind(address)) hostFailure_ = HostFailure::PortUnavailable;
            return false;
        }
        hostFailure_ = HostFailure::None;
        host_->maximumPacketSize = kMaxMessageBytes;
        host_->intercept = &Intercept;
        hosting_ = true;
        ownId_ = kHostPlayerId;
        ownName_ = WireName(name);
        sessionName_ = std::string(sessionName);
        instance_ =
            static_cast<std::uint32_t>(clock_.NowMicros() ^ (clock_.NowMicros() >> 32)) | 1u;
        StopSearch();
        events_.CreatePlayer(ownId_, ownName_, true);
        return true;
    }

    HostFailure LastHostFailure() const override { return hostFailure_; }

    bool Join(std::string_view name, std::string_view address, std::uint16_t port) override {
        if (host_) return false;
        ENetAddress to{};
        to.port = port;
        if (port == 0 || enet_address_set_host(&to, std::string(address).c_str()) != 0) {
            return false;
        }
        host_.reset(enet_host_create(nullptr, 1, kChannels, 0, 0));
        if (!host_) return false;
        host_->maximumPacketSize = kMaxMessageBytes;
        peer_ = enet_host_connect(host_.get(), &to, kChannels, kApplicationTag);
        if (peer_ == nullptr) {
            host_.reset();
            return false;
        }
        enet_peer_timeout(peer_, 0, kPeerTimeoutMinMs, kPeerTimeoutMaxMs);
        joining_ = true;
        ownId_ = kJoinerPlayerId;
        ownName_ = WireName(name);
        joinDeadline_ = DeadlineAfter(clock_.NowMs(), kConnectTimeoutMs);
        return true;
    }

    bool StartSearch(std::string_view address, std::uint16_t port) override {
        StopSearch();
        ENetAddress to{};
        to.port = port;
        const bool broadcast = address.empty();
        const std::string text(address);
        const bool numeric = !broadcast && enet_address_set_host_ip(&to, text.c_str()) == 0;
        if (broadcast) to.host = ENET_HOST_BROADCAST;
        const ENetSocket s = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
        if (s == ENET_SOCKET_NULL) return false;
        search_.Reset(s);
        // A name is looked up off the game thread; the queries wait for it.
        if (!broadcast && !numeric) pendingLookup_.emplace(lookup_, text);
        enet_socket_set_option(s, ENET_SOCKOPT_NONBLOCK, 1);
        if (broadcast) enet_socket_set_option(s, ENET_SOCKOPT_BROADCAST, 1);
        searchTo_ = to;
        nextQuery_ = clock_.NowMs();
        return true;
    }

    void StopSearch() override {
        search_.Reset();
        pendingLookup_.reset();
    }
    bool Searching() const override { return search_.socket != ENET_SOCKET_NULL; }

    bool Send(Lane lane, std::span<const std::uint8_t> bytes, bool loopback) override {
        if (bytes.size() > kMaxMessageBytes || !InSession()) return false;
        if (loopback) loopback_.emplace_back(bytes.begin(), bytes.end());
        if (!PeerConnected()) return loopback;
        ENetPacket* packet =
            enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
        if (packet == nullptr) return false;
        if (enet_peer_send(peer_, static_cast<enet_uint8>(lane), packet) != 0) {
            enet_packet_destroy(packet);
            return false;
        }
        return true;
    }

    void Service() override {
        while (!loopback_.empty()) {
            const std::vector<std::uint8_t> bytes = std::move(loopback_.front());
            loopback_.pop_front();
            events_.Receive(ownId_, bytes);
        }
        ServiceSearch();
        if (!host_) return;
        tServicing = this;
        ENetEvent ev{};
        while (host_ && enet_host_service(host_.get(), &ev, 0) > 0) {
            switch (ev.type) {
                case ENET_EVENT_TYPE_CONNECT:
                    OnConnect(ev);
                    break;
                case ENET_EVENT_TYPE_RECEIVE:
                    OnPacket(ev);
                    enet_packet_destroy(ev.packet);
                    break;
                case ENET_EVENT_TYPE_DISCONNECT:
                    OnDisconnect(ev.peer);
                    break;
                case ENET_EVENT_TYPE_NONE:
                    break;
            }
        }
        tServicing = nullptr;
        if (joining_ && DeadlinePassed(clock_.NowMs(), joinDeadline_)) FailJoin();
        if (hosting_ && peer_ != nullptr && !helloSeen_ &&
            DeadlinePassed(clock_.NowMs(), helloDeadline_)) {
            DropPeer();
        }
        if (host_) enet_host_flush(host_.get());
    }

    void Close() override {
        StopSearch();
        if (peer_ != nullptr) enet_peer_disconnect_now(peer_, 0);
        if (host_) enet_host_flush(host_.get());
        host_.reset();
        peer_ = nullptr;
        hosting_ = joining_ = joined_ = helloSeen_ = false;
        ownId_ = peerId_ = 0;
        loopback_.clear();
    }

    bool InSession() const override { return host_ != nullptr && (hosting_ || joined_); }
    bool PeerConnected() const override { return peer_ != nullptr && helloSeen_; }
    std::uint32_t OwnId() const override { return InSession() ? ownId_ : 0; }
    std::uint16_t Port() const override { return hosting_ && host_ ? host_->address.port : 0; }

private:
    static int ENET_CALLBACK Intercept(ENetHost* host, ENetEvent*) {
        EnetSession* self = tServicing;
        const std::span<const std::uint8_t> bytes(host->receivedData, host->receivedDataLength);
        if (self == nullptr || self->host_.get() != host) return 0;
        std::uint32_t stamp = 0;
        if (IsSearchQuery(bytes, stamp)) {
            self->AnswerQuery(host->receivedAddress, stamp);
            return 1;
        }
        return LooksLikeQuery(bytes) ? 1 : 0;
    }

    void AnswerQuery(const ENetAddress& from, std::uint32_t stamp) {
        HostAnswer a;
        a.instance = instance_;
        a.players = PeerConnected() ? 2 : 1;
        a.maxPlayers = 2;
        a.sessionName = sessionName_;
        a.port = host_->address.port;
        const std::string bytes = EncodeSearchAnswer(stamp, a);
        ENetBuffer buffer{};
        buffer.data = const_cast<char*>(bytes.data());
        buffer.dataLength = bytes.size();
        enet_socket_send(host_->socket, &from, &buffer, 1);
    }

    void ServiceSearch() {
        if (!Searching() || !LookupDone()) return;
        const Millis now = clock_.NowMs();
        if (DeadlinePassed(now, nextQuery_)) {
            const std::string q = EncodeSearchQuery(now);
            ENetBuffer buffer{};
            buffer.data = const_cast<char*>(q.data());
            buffer.dataLength = q.size();
            enet_socket_send(search_.socket, &searchTo_, &buffer, 1);
            nextQuery_ = DeadlineAfter(now, kSearchIntervalMs);
        }
        std::uint8_t data[1500];
        for (int i = 0; i < 64 && Searching(); ++i) {
            ENetAddress from{};
            ENetBuffer buffer{};
            buffer.data = data;
            buffer.dataLength = sizeof data;
            const int got = enet_socket_receive(search_.socket, &from, &buffer, 1);
            if (got <= 0) break;
            HostAnswer a;
            std::uint32_t stamp = 0;
            if (!DecodeSearchAnswer({data, static_cast<std::size_t>(got)}, a, stamp)) continue;
            const std::int32_t rtt = MsSince(clock_.NowMs(), stamp);
            if (rtt < 0 || rtt > 60000) continue;  // not a stamp of ours
            a.address = AddressText(from);
            a.latencyMs = static_cast<std::uint32_t>(rtt);
            events_.HostFound(a);
        }
    }

    // False while the searched host's name is being looked up; a name that
    // does not resolve ends the search.
    bool LookupDone() {
        if (!pendingLookup_) return true;
        std::string numeric;
        if (!pendingLookup_->Ready(numeric)) return false;
        pendingLookup_.reset();
        if (numeric.empty() || enet_address_set_host_ip(&searchTo_, numeric.c_str()) != 0) {
            StopSearch();
            return false;
        }
        return true;
    }

    void OnConnect(const ENetEvent& ev) {
        if (hosting_) {
            if (peer_ != nullptr || ev.data != kApplicationTag) {
                enet_peer_disconnect_now(ev.peer, 0);
                return;
            }
            peer_ = ev.peer;
            enet_peer_timeout(peer_, 0, kPeerTimeoutMinMs, kPeerTimeoutMaxMs);
            helloDeadline_ = DeadlineAfter(clock_.NowMs(), kHelloTimeoutMs);
        } else if (ev.peer != peer_) {
            return;
        }
        SendHello();
    }

    void SendHello() {
        const std::string bytes = EncodeHello({ownId_, ownName_});
        ENetPacket* packet =
            enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
        if (packet != nullptr &&
            enet_peer_send(peer_, static_cast<enet_uint8>(Lane::Text), packet) != 0) {
            enet_packet_destroy(packet);
        }
    }

    void OnPacket(const ENetEvent& ev) {
        if (ev.peer != peer_ || ev.packet->dataLength > kMaxMessageBytes) return;
        const std::span<const std::uint8_t> bytes(ev.packet->data, ev.packet->dataLength);
        if (helloSeen_) {
            events_.Receive(peerId_, bytes);
            return;
        }
        const std::optional<Hello> hello =
            ev.channelID == static_cast<enet_uint8>(Lane::Text) ? DecodeHello(bytes) : std::nullopt;
        if (!hello || hello->playerId == ownId_) {
            DropPeer();
            return;
        }
        helloSeen_ = true;
        peerId_ = hello->playerId;
        if (joining_) {
            joining_ = false;
            joined_ = true;
            StopSearch();
            events_.CreatePlayer(ownId_, ownName_, true);
            events_.CreatePlayer(peerId_, hello->name, false);
            events_.ConnectComplete(true);
        } else {
            events_.CreatePlayer(peerId_, hello->name, false);
        }
    }

    void OnDisconnect(ENetPeer* peer) {
        if (peer != peer_) return;
        peer_ = nullptr;
        LosePeer();
    }

    // A peer that broke the protocol or stayed silent before its hello is cut
    // off.
    void DropPeer() {
        enet_peer_disconnect_now(peer_, 0);
        peer_ = nullptr;
        LosePeer();
    }

    void LosePeer() {
        if (helloSeen_) {
            helloSeen_ = false;
            const std::uint32_t id = peerId_;
            peerId_ = 0;
            events_.DestroyPlayer(id);
        }
        if (joining_) FailJoin();
    }

    void FailJoin() {
        joining_ = false;
        if (peer_ != nullptr) enet_peer_reset(peer_);
        peer_ = nullptr;
        host_.reset();
        ownId_ = 0;
        events_.ConnectComplete(false);
    }

    SessionEvents& events_;
    Clock& clock_;
    NameLookup lookup_;
    HostPtr host_;
    ENetPeer* peer_ = nullptr;  // the other player's slot, owned by host_
    bool hosting_ = false;
    bool joining_ = false;
    bool joined_ = false;
    bool helloSeen_ = false;
    std::uint32_t ownId_ = 0;
    std::uint32_t peerId_ = 0;
    std::string ownName_;
    std::string sessionName_;
    std::uint32_t instance_ = 0;
    Millis joinDeadline_ = 0;
    Millis helloDeadline_ = 0;
    HostFailure hostFailure_ = HostFailure::None;
    SocketCloser search_;
    ENetAddress searchTo_{};
    Millis nextQuery_ = 0;
    std::optional<PendingLookup> pendingLookup_;
    std::deque<std::vector<std::uint8_t>> loopback_;
};

}  // namespace

std::unique_ptr<PeerSession> CreatePeerSession(SessionEvents& events, Clock& clock,
                                               NameLookup lookup) {
    if (!StartEnet()) return nullptr;
    return std::make_unique<EnetSession>(events, clock, std::move(lookup));
}

}  // namespace brumil::platform::net
