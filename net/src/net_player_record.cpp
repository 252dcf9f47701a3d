#include "net/net_player_record.h"

namespace brumil::net {

void ClearLinkFields(NetPlayerRecord& r) {
    r.Frame = 0;
    r.Extra = 0;
    r.X = 0;
    r.Y = 0;
    r.KeyBits = 0;
    r.LatestBits = 0;
    r.Pending = false;
}

Long TakeNetKeyBits(NetPlayerRecord& peer) {
    const Long bits = peer.KeyBits;
    peer.Pending = false;
    peer.KeyBits = peer.LatestBits;
    return bits;
}

}  // namespace brumil::net
