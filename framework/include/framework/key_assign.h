#pragma once
// Key assignments: for each of the four players, 14 input codes
// (framework/input_codes.h) in the order buttons 1 to 10, Up, Down, Left, Right.
//
// Text form (the settings file keeps one per joystick count): one line per
// record, the 14 codes in decimal joined by commas, lines joined by CR LF.
// Reading is tolerant: it lays the text over the records it is given, line i
// over record i; a field that is missing, not a number or not a valid code
// leaves that entry as it was; lines past the fourth are ignored.

#include <array>
#include <string>
#include <string_view>

#include "core/vb_types.h"

namespace brumil::framework {

constexpr int kKeyAssignEntries = 14;
constexpr int kKeyAssignPlayers = 4;
enum KeyAssignEntry : int { kAssignUp = 10, kAssignDown = 11, kAssignLeft = 12, kAssignRight = 13 };

using KeyAssignRecord = std::array<Long, kKeyAssignEntries>;
using KeyAssignTable = std::array<KeyAssignRecord, kKeyAssignPlayers>;

// The shared records, read and written in place.
KeyAssignTable& gKeyAssign();

std::string SaveKeyAssign(const KeyAssignTable& table);
void LoadKeyAssign(KeyAssignTable& table, std::string_view text);
// Arrow keys, and Z, X, C, A as buttons 1 to 4; the other buttons cleared.
void SetDefaultKeyAssign1(KeyAssignRecord& record);
// Joystick p for player p: buttons 1 to 10 on its buttons 1 to 10, the
// directions on its stick.
void SetDefaultPadAssign(KeyAssignTable& table);
void RemoveKeyAssign(KeyAssignTable& table, Long code);

// The same on the shared records. Players outside 0..3 are ignored.
std::string SaveKeyAssign();
void LoadKeyAssign(std::string_view text);
void SetDefaultKeyAssign1(Long player);
void SetDefaultPadAssign();
void ClearKeyAssign(Long player);
void RemoveKeyAssign(Long code);

}  // namespace brumil::framework
