#include "net/net_input.h"

#include <algorithm>
#include <cstdint>

#include "net/net_player_record.h"

namespace brumil::net {

Long NetKeyBitsFromVKey(const framework::VKeyRecord& r, bool flag) {
    Long bits = 0;
    if (r[framework::kVKeyY] < 0) bits |= kKeyUp;
    if (r[framework::kVKeyY] >= 1) bits |= kKeyDown;
    if (r[framework::kVKeyX] < 0) bits |= kKeyLeft;
    if (r[framework::kVKeyX] >= 1) bits |= kKeyRight;
    for (int b = 0; b < 6; ++b) {
        if (r[framework::kVKeyButton1 + b] != 0) bits |= kKeyButton1 << b;
    }
    if (flag) bits |= kKeyFlag;
    return bits;
}

framework::VKeyFlags VKeyFlagsFromNetBits(Long bits) {
    framework::VKeyFlags f{};
    for (int b = 0; b < 6; ++b) f[static_cast<std::size_t>(b)] = (bits & (kKeyButton1 << b)) != 0;
    f[framework::kFlagDown] = (bits & kKeyUp) != 0;
    f[framework::kFlagUp] = (bits & kKeyDown) != 0;
    f[framework::kFlagRight] = (bits & kKeyLeft) != 0;
    f[framework::kFlagLeft] = (bits & kKeyRight) != 0;
    return f;
}

void MirroredPeerPosition(Long receivedX, Long receivedY, const FieldBounds& b, Long& x, Long& y) {
    const std::int64_t mx = std::int64_t{kFieldWidth} - receivedX;
    const std::int64_t my = std::int64_t{kFieldHeight} - receivedY;
    x = static_cast<Long>(std::clamp<std::int64_t>(mx, b.minX, b.maxX));
    y = static_cast<Long>(std::clamp<std::int64_t>(my, b.minY, b.maxY));
}

std::optional<Long> AcceptedPeerLife(Long received, Long current) {
    if (received < 0 || received > current) return std::nullopt;
    return received;
}

Long CheckedSetupValue(Long received, Long lo, Long hi, Long own) {
    return received >= lo && received <= hi ? received : own;
}

}  // namespace brumil::net
