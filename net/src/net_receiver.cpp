// The receiver: every message is decoded and checked first, then applied to
// the records and the log.

#include "net/net_message.h"
#include "net/net_session.h"

namespace brumil::net {

namespace {

// A chat line or notice sounds unless it is the own one coming back.
void ChatSound(EffectSink& effects, bool fromSelf) {
    if (!fromSelf) effects.PlayEffect(1, 0.8f, -0.2f);
}

void TakeInput(NetPlayerRecord& peer, const NetMessage& m) {
    const Long frame = m.values[0];
    // Frame 0 is a restarted sender; anything not newer is stale.
    if (frame != 0 && frame <= peer.Frame) return;
    const Long bits = m.values[1];
    peer.Frame = frame;
    peer.KeyBits = peer.Pending ? (peer.KeyBits | bits) : bits;
    peer.LatestBits = bits;
    peer.Pending = true;
    peer.X = m.values[2];
    peer.Y = m.values[3];
    peer.Extra = m.values[4];
}

}  // namespace

void ReceiveNetMessage(NetState& state, EffectSink& effects, Long sender,
                       std::span<const std::uint8_t> bytes) {
    if (sender == 0) return;
    const bool fromPeer = sender == state.peer.Id;
    const bool fromSelf = sender == state.own.Id;
    if (!fromPeer && !fromSelf) return;
    const std::optional<NetMessage> m = DecodeNetMessage(bytes);
    if (!m) return;
    switch (m->type) {
        case kChatMessage: {
            const std::string& name = fromPeer ? state.peer.Name : state.own.Name;
            AddNetworkLogLine(state.log, "<" + name + "> " + m->text);
            ChatSound(effects, fromSelf);
            break;
        }
        case kNoticeMessage:
            AddNetworkLogLine(state.log, m->text);
            ChatSound(effects, fromSelf);
            break;
        case kStateMessage:
            if (fromPeer) state.peer.State = m->values[0];
            break;
        case kSetupMessage:
            if (!fromPeer) break;
            state.peer.State = m->values[0];
            state.peer.SetupA = m->values[1];
            state.peer.SetupB = m->values[2];
            state.peer.SetupC = m->values[3];
            break;
        case kInputMessage:
            if (fromPeer) TakeInput(state.peer, *m);
            break;
        default:
            break;
    }
}

}  // namespace brumil::net
