#include "net/net_session.h"

#include "net/net_message.h"
#include "platform/net/wire_text.h"

namespace brumil::net {

namespace {

void ClearPlayer(NetPlayerRecord& r) {
    r.Name.clear();
    r.Id = 0;
    r.State = 0;
}

}  // namespace

NetSession::NetSession(NetState& state, EffectSink& effects, platform::Clock& clock,
                       Factory factory)
    : state_(state), effects_(effects), clock_(clock) {
    transport_ = factory ? factory(*this, clock) : platform::net::CreatePeerSession(*this, clock);
}

NetSession::~NetSession() {
    // The transport reports nothing from its destructor; close it while this
    // sink is still whole.
    if (transport_) transport_->Close();
}

bool NetSession::Host(std::string_view name, std::string_view bindAddress, std::uint16_t port) {
    if (!transport_) return false;
    const std::string sessionName = std::string(kSessionNamePrefix) + std::string(name);
    if (!transport_->Host(name, sessionName, bindAddress, port)) return false;
    StopSearch();
    return true;
}

platform::net::HostFailure NetSession::LastHostFailure() const {
    return transport_ ? transport_->LastHostFailure() : platform::net::HostFailure::Other;
}

bool NetSession::Join(std::string_view name, std::string_view address, std::uint16_t port) {
    hosts_.SetStopped(true);
    join_ = JoinState::Joining;
    if (!transport_ || !transport_->Join(name, address, port)) {
        join_ = JoinState::Failed;
        return false;
    }
    return true;
}

bool NetSession::StartSearch(std::string_view addressText) {
    if (!transport_) return false;
    std::string host;
    const std::uint16_t port =
        platform::net::SplitHostPort(addressText, host, platform::net::ConfiguredPort());
    hosts_.SetStopped(false);
    return transport_->StartSearch(host, port);
}

void NetSession::StopSearch() {
    if (transport_) transport_->StopSearch();
}

bool NetSession::Searching() const {
    return transport_ && transport_->Searching();
}

void NetSession::Poll() {
    if (!transport_) return;
    transport_->Service();
    hosts_.Expire(clock_.NowMs());
}

void NetSession::Close() {
    if (transport_) transport_->Close();
    ClearPlayer(state_.own);
    ClearPlayer(state_.peer);
    join_ = JoinState::Idle;
}

bool NetSession::InSession() const {
    return transport_ && transport_->InSession();
}

std::uint16_t NetSession::Port() const {
    return transport_ ? transport_->Port() : 0;
}

bool NetSession::SendGameMessage(Long type, std::span<const Long> values) {
    if (!InSession()) return false;
    const std::string bytes = EncodeGameMessage(type, values);
    return transport_->Send(platform::net::Lane::Game, platform::net::AsBytes(bytes), false);
}

bool NetSession::SendTextMessage(Long type, std::span<const std::string_view> texts) {
    if (!InSession()) return false;
    const std::string bytes = EncodeTextMessage(type, texts);
    return transport_->Send(platform::net::Lane::Text, platform::net::AsBytes(bytes), true);
}

void NetSession::CreatePlayer(std::uint32_t id, std::string_view name, bool local) {
    if (name.empty()) name = kNamelessPlayer;
    if (local) {
        AddNetworkLogLine(state_.log, kLogSessionMade);
        state_.own.Name = std::string(name);
        state_.own.Id = static_cast<Long>(id);
        effects_.PlayEffect(33, 0.9f, 0.2f);
        return;
    }
    AddNetworkLogLine(state_.log, std::string(name) + std::string(kLogPlayerJoined));
    state_.peer.Name = std::string(name);
    state_.peer.Id = static_cast<Long>(id);
    effects_.PlayEffect(71, 0.8f, -0.2f);
}

void NetSession::DestroyPlayer(std::uint32_t id) {
    if (static_cast<Long>(id) != state_.peer.Id || id == 0) return;
    AddNetworkLogLine(state_.log, state_.peer.Name + std::string(kLogPlayerLeft));
    ClearPlayer(state_.peer);
    // The player takes its match set-up along: whoever joins next has sent
    // none yet.
    state_.peer.SetupA = state_.peer.SetupB = state_.peer.SetupC = 0;
}

void NetSession::Receive(std::uint32_t sender, std::span<const std::uint8_t> bytes) {
    ReceiveNetMessage(state_, effects_, static_cast<Long>(sender), bytes);
}

void NetSession::ConnectComplete(bool ok) {
    join_ = ok ? JoinState::Joined : JoinState::Failed;
    if (ok) StopSearch();
}

void NetSession::HostFound(const platform::net::HostAnswer& answer) {
    hosts_.Add(answer, clock_.NowMs());
}

}  // namespace brumil::net
