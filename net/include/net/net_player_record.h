#pragma once
// One side's network state. The game holds two, the own and the peer's
// (gNetOwn, gNetPeer in net_globals.h); a test or a tool may hold its own pair.

#include <string>

#include "core/vb_types.h"

namespace brumil::net {

// Key bits of an input message.
inline constexpr Long kKeyUp = 0x1;
inline constexpr Long kKeyDown = 0x2;
inline constexpr Long kKeyLeft = 0x4;
inline constexpr Long kKeyRight = 0x8;
inline constexpr Long kKeyButton1 = 0x10;  // buttons 1 to 6: 0x10 << (n - 1)
inline constexpr Long kKeyFlag = 0x400;
inline constexpr Long kKeyBitsMask = 0x7FF;

struct NetPlayerRecord {
    std::string Name;  // player name in the session; empty when nobody
    Long Id = 0;       // player id; 0 when nobody
    Long State = 0;    // match state code (messages 2 and 3)
    Long Frame = 0;    // input frame counter
    Long Extra = 0;    // a battle value sent with each input
    Long X = 0;
    Long Y = 0;
    // Input bits; on the peer's record the Or of every message taken since the
    // battle last consumed them (see TakeNetKeyBits).
    Long KeyBits = 0;
    bool Pending = false;  // input bits received and not yet consumed
    Long SetupA = 0;
    Long SetupB = 0;
    Long SetupC = 0;
    bool Flag = false;  // the own side's source of key bit 0x400
    // The bits of the newest input message: what the keys are after the
    // accumulated presses have been consumed.
    Long LatestBits = 0;

    bool operator==(const NetPlayerRecord&) const = default;
};

// Clears Frame, Extra, X, Y, KeyBits and Pending (a new link).
void ClearLinkFields(NetPlayerRecord& r);

// Consumes the peer's input: returns the accumulated bits, clears Pending and
// continues from the newest message's bits, so a press and release that both
// arrived before this call show once as pressed and then as released.
Long TakeNetKeyBits(NetPlayerRecord& peer);

}  // namespace brumil::net
