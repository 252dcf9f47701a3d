#pragma once
// A two-player peer session over UDP. One side hosts on a port, the other
// joins; each learns the other's player id and name from a hello message.
// Everything happens inside Service(), called on the game thread: the session
// reports what happened to the event sink it was given, in order, and never
// calls back from anywhere else.
//
// Two lanes, both reliable and ordered: Game for the match messages that must
// keep their order among themselves, Text for chat, notices and control.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/base/clock.h"

namespace brumil::platform::net {

// The port a session uses unless BRUMIL_NET_PORT names another.
inline constexpr std::uint16_t kDefaultPort = 28470;
// The first 32 bits of the application's GUID {4546C39E-...}: connect data and
// hello both carry it; anything else is refused.
inline constexpr std::uint32_t kApplicationTag = 0x4546C39Eu;
inline constexpr std::uint32_t kProtocolVersion = 1;
// The largest message either side sends or takes, in bytes.
inline constexpr std::size_t kMaxMessageBytes = 4096;
// A player name on the wire: UTF-8, at most this many bytes, no control codes.
inline constexpr std::size_t kMaxNameBytes = 64;
// A join that has not completed after this long has failed.
inline constexpr std::uint32_t kConnectTimeoutMs = 10000;
// The host drops a joiner whose hello has not arrived this long after it
// connected, so that a silent client cannot hold the only slot.
inline constexpr std::uint32_t kHelloTimeoutMs = 5000;
// The host search asks again this often; an answer is kept this long.
inline constexpr std::uint32_t kSearchIntervalMs = 500;
inline constexpr std::uint32_t kHostExpiryMs = 2000;
// The player ids of the two sides (never 0, which means nobody).
inline constexpr std::uint32_t kHostPlayerId = 1;
inline constexpr std::uint32_t kJoinerPlayerId = 2;

enum class Lane : std::uint8_t { Game = 0, Text = 1 };

// Why the last Host() failed.
enum class HostFailure {
    None,
    PortUnavailable,  // the address and port cannot be opened (another program holds them)
    Other,
};

// Turns a host name into a numeric IPv4 address text ("192.0.2.7"); empty when
// the name does not resolve. It may take long: the session calls it on a
// thread of its own.
using NameLookup = std::function<std::string(const std::string& name)>;

// One answer to a host search.
struct HostAnswer {
    std::uint32_t instance = 0;  // differs per hosting run
    std::uint32_t players = 0;   // players in the session now
    std::uint32_t maxPlayers = 0;
    std::string sessionName;
    std::string address;          // the host's address as text ("127.0.0.1")
    std::uint16_t port = 0;       // the session's port
    std::uint32_t latencyMs = 0;  // round trip of this query
};

// What a session reports, all from inside Service() (or Host(), for the
// host's own player).
class SessionEvents {
public:
    virtual ~SessionEvents() = default;
    // A player entered the session; `local` for this machine's own player. The
    // own player is always reported before the other one.
    virtual void CreatePlayer(std::uint32_t id, std::string_view name, bool local) = 0;
    // The other player left (closed, lost or refused after its hello).
    virtual void DestroyPlayer(std::uint32_t id) = 0;
    // A message from player `sender` (the own id for a message sent with
    // loopback). The bytes are only valid during the call.
    virtual void Receive(std::uint32_t sender, std::span<const std::uint8_t> bytes) = 0;
    // A join attempt ended: connected and hello received, or failed.
    virtual void ConnectComplete(bool ok) = 0;
    virtual void HostFound(const HostAnswer& answer) = 0;
};

// The text after the last ':' of "addr:port" as a port, else `fallback`;
// `host` gets the part before it (the whole text when there is no port).
std::uint16_t SplitHostPort(std::string_view text, std::string& host, std::uint16_t fallback);

// The port to use: BRUMIL_NET_PORT when it holds a number 1..65535, else
// kDefaultPort.
std::uint16_t ConfiguredPort();

// Search query and answer datagrams, written and read here so that the host,
// the search and the tests agree on them.
std::string EncodeSearchQuery(std::uint32_t stampMs);
// Answer to a query whose stamp was `stampMs`.
std::string EncodeSearchAnswer(std::uint32_t stampMs, const HostAnswer& answer);
// False for anything that is not a well-formed answer of this application; on
// success `answer` holds the fields sent (not address or latency) and `stampMs`
// the echoed stamp.
bool DecodeSearchAnswer(std::span<const std::uint8_t> bytes, HostAnswer& answer,
                        std::uint32_t& stampMs);

class PeerSession {
public:
    virtual ~PeerSession() = default;

    // Hosts a session for two players on `bindAddress`:`port` (port 0 picks a
    // free one, see Port()). Reports the own player at once. False when the
    // port cannot be opened or a session already exists; LastHostFailure()
    // then tells which.
    virtual bool Host(std::string_view name, std::string_view sessionName,
                      std::string_view bindAddress, std::uint16_t port) = 0;
    virtual HostFailure LastHostFailure() const = 0;
    // Starts joining the session at `address`:`port`; the outcome arrives as
    // ConnectComplete within kConnectTimeoutMs. False when it cannot start.
    virtual bool Join(std::string_view name, std::string_view address, std::uint16_t port) = 0;
    // Sends a search query every kSearchIntervalMs to `address`:`port`, or to
    // the LAN's broadcast address when `address` is empty, until StopSearch or
    // a session is made. A host name is looked up first without waiting for
    // it; the search ends by itself when the name does not resolve.
    virtual bool StartSearch(std::string_view address, std::uint16_t port) = 0;
    virtual void StopSearch() = 0;
    virtual bool Searching() const = 0;

    // Sends to the other player; with `loopback` the own sink receives the
    // message too (at the next Service). False without a connected peer and
    // without loopback, or for a message over kMaxMessageBytes.
    virtual bool Send(Lane lane, std::span<const std::uint8_t> bytes, bool loopback) = 0;

    // Runs the session without waiting: delivers what arrived, answers host
    // searches, sends queries, times out a join.
    virtual void Service() = 0;
    // Ends the session (the peer is told) and the search.
    virtual void Close() = 0;

    virtual bool InSession() const = 0;  // hosting or joined
    virtual bool PeerConnected() const = 0;
    virtual std::uint32_t OwnId() const = 0;
    virtual std::uint16_t Port() const = 0;  // the hosting port; 0 when not hosting
};

// A session over ENet reporting to `events`, timed by `clock`, looking host
// names up through `lookup` (the system's resolver when empty). Null when the
// network library cannot start.
std::unique_ptr<PeerSession> CreatePeerSession(SessionEvents& events, Clock& clock,
                                               NameLookup lookup = {});

}  // namespace brumil::platform::net
