#pragma once
// The game's network state and its session: gNetOwn, gNetPeer and gNetLog,
// and the session that every sender uses (none until the set-up window makes
// or joins one).

#include <span>
#include <string_view>

#include "net/net_session.h"

namespace brumil::net {

NetState& GameNet();
inline NetPlayerRecord& gNetOwn() {
    return GameNet().own;
}
inline NetPlayerRecord& gNetPeer() {
    return GameNet().peer;
}
inline NetLog& gNetLog() {
    return GameNet().log;
}

// The session the senders use; the set-up window binds its session while it
// holds one and unbinds it (nullptr) before releasing it.
void BindGameSession(NetSession* session);
NetSession* GetDPP();

// Send through the bound session; nothing without one.
bool SendGameMessage(Long type, std::span<const Long> values);
bool SendTextMessage(Long type, std::span<const std::string_view> texts);
void AddNetworkLogLine(std::string_view line);

}  // namespace brumil::net
