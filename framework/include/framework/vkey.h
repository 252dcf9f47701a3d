#pragma once
// Virtual keys: each player's input as one record, whatever drives it (local
// devices, the computer opponent, the network peer).

#include <array>
#include <span>

#include "core/vb_types.h"

namespace brumil::framework {

constexpr int kVKeyPlayers = 4;

// Entries of a record.
enum VKeyEntry : int {
    kVKeyButton1 = 0,  // 0..9: hold counts of buttons 1 to 10
    kVKeyNewest = 10,  // newest button 1..10 gone down this step, 0 when none
    kVKeyDirectionHold = 11,
    kVKeyDirection = 12,  // x - 3 * y: 0 neutral, -3 up, 3 down, -1 left, 1 right ...
    kVKeyX = 13,          // -1 left, 0, 1 right
    kVKeyY = 14,          // -1 up, 0, 1 down
};

struct VKeyRecord {
    std::array<Long, 15> Entry{};
    Long& operator[](int i) { return Entry[static_cast<std::size_t>(i)]; }
    Long operator[](int i) const { return Entry[static_cast<std::size_t>(i)]; }
};

// Fourteen flags in the order buttons 1 to 10, Up, Down, Left, Right.
using VKeyFlags = std::array<bool, 14>;
enum VKeyFlag : int { kFlagUp = 10, kFlagDown = 11, kFlagLeft = 12, kFlagRight = 13 };

// One step of a record: button hold counts (the input block's rule), the
// newest button (the lowest-numbered one that went down this step), x, y, the
// direction code and its hold count (1 when the code changed, else one more).
void UpdateVKey(VKeyRecord& record, const VKeyFlags& flags);

// The players' records; player i uses record i.
std::array<VKeyRecord, kVKeyPlayers>& VKey();
// UpdateVKey on player's record; players outside 0..3 are ignored.
void UpdateVKey(Long player, const VKeyFlags& flags);

// True when the input step fills that player's record from the local devices.
// All four start True.
std::array<bool, kVKeyPlayers>& gVKeyFromDevices();

}  // namespace brumil::framework
