#pragma once
// Key bits to and from virtual keys, and the range checks every value from the
// peer passes before the battle uses it: a peer may send anything, so a value
// out of range is clamped or refused, never trusted.

#include <optional>

#include "core/vb_types.h"
#include "framework/vkey.h"

namespace brumil::net {

// The battle field in fixed point (8 fractional bits): x 0..0x28000, y 0..0x1E000.
inline constexpr Long kFieldWidth = 0x28000;
inline constexpr Long kFieldHeight = 0x1E000;

// The bits the link job sends for a virtual-key record: 0x1 y < 0, 0x2 y >= 1,
// 0x4 x < 0, 0x8 x >= 1, 0x10..0x200 buttons 1 to 6 held, 0x400 `flag`.
Long NetKeyBitsFromVKey(const framework::VKeyRecord& record, bool flag);

// The flags the peer's bits give on this side, turned by half a turn (the
// peer's up is this side's down, its left this side's right); buttons 7 to 10
// released.
framework::VKeyFlags VKeyFlagsFromNetBits(Long bits);

struct FieldBounds {
    Long minX = 0;
    Long maxX = kFieldWidth;
    Long minY = 0;
    Long maxY = kFieldHeight;
};

// The peer's position seen from this side (turned by half a turn), computed
// without overflow and clamped to the player's bounds.
void MirroredPeerPosition(Long receivedX, Long receivedY, const FieldBounds& bounds, Long& x,
                          Long& y);

// The received life when it lies in 0..current (a decrease is a lost life);
// nothing otherwise.
std::optional<Long> AcceptedPeerLife(Long received, Long current);

// A set-up value from the peer when it lies in lo..hi, else the own value.
Long CheckedSetupValue(Long received, Long lo, Long hi, Long own);
// The ranges of the three set-up values.
inline constexpr Long kSetupCharacterMin = 1, kSetupCharacterMax = 8;
inline constexpr Long kSetupStageMin = 0, kSetupStageMax = 6;
inline constexpr Long kSetupLevelMin = 1, kSetupLevelMax = 6;

}  // namespace brumil::net
