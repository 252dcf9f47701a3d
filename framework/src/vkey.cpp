#include "framework/vkey.h"

#include <limits>

#include "framework/input_state.h"

namespace brumil::framework {

void UpdateVKey(VKeyRecord& record, const VKeyFlags& flags) {
    Long newest = 0;
    for (int b = 0; b < 10; ++b) {
        const Long count = NextHoldCount(record[kVKeyButton1 + b], flags[std::size_t(b)]);
        record[kVKeyButton1 + b] = count;
        if (count == 1 && newest == 0) newest = b + 1;
    }
    record[kVKeyNewest] = newest;
    const Long x = Long(flags[kFlagRight]) - Long(flags[kFlagLeft]);
    const Long y = Long(flags[kFlagDown]) - Long(flags[kFlagUp]);
    const Long code = x - 3 * y;
    const Long hold = record[kVKeyDirectionHold];
    if (code != record[kVKeyDirection] || hold <= 0) {
        record[kVKeyDirectionHold] = 1;
    } else if (hold < std::numeric_limits<Long>::max()) {
        record[kVKeyDirectionHold] = hold + 1;
    }
    record[kVKeyDirection] = code;
    record[kVKeyX] = x;
    record[kVKeyY] = y;
}

std::array<VKeyRecord, kVKeyPlayers>& VKey() {
    static std::array<VKeyRecord, kVKeyPlayers> records;
    return records;
}

void UpdateVKey(Long player, const VKeyFlags& flags) {
    if (player < 0 || player >= kVKeyPlayers) return;
    UpdateVKey(VKey()[std::size_t(player)], flags);
}

std::array<bool, kVKeyPlayers>& gVKeyFromDevices() {
    static std::array<bool, kVKeyPlayers> flags{true, true, true, true};
    return flags;
}

}  // namespace brumil::framework
