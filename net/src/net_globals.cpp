#include "net/net_globals.h"

namespace brumil::net {

namespace {

NetSession*& BoundSession() {
    static NetSession* session = nullptr;
    return session;
}

}  // namespace

NetState& GameNet() {
    static NetState state;
    return state;
}

void BindGameSession(NetSession* session) {
    BoundSession() = session;
}

NetSession* GetDPP() {
    return BoundSession();
}

bool SendGameMessage(Long type, std::span<const Long> values) {
    NetSession* s = GetDPP();
    return s != nullptr && s->SendGameMessage(type, values);
}

bool SendTextMessage(Long type, std::span<const std::string_view> texts) {
    NetSession* s = GetDPP();
    return s != nullptr && s->SendTextMessage(type, texts);
}

void AddNetworkLogLine(std::string_view line) {
    AddNetworkLogLine(gNetLog(), line);
}

}  // namespace brumil::net
