#pragma once
// Job 1, the key set-up screen: the first screen of a run. It shows which key
// or pad button each action has, lets the player assign the keyboard (no pad
// connected) or each connected pad, follows the pad count while on show, and
// hands over to the logo (job 10) when the player confirms "決定".
//
// It edits the shared assignment records in place: page 0 edits player 1's
// record, page 1 player 2's. The screen's texts and layout lines are given by
// the functions below so that they are written down once.

#include <string>
#include <vector>

#include "core/vb_types.h"
#include "framework/key_assign.h"
#include "frontend/job_numbers.h"

namespace brumil::frontend {

class ApplicationConfig;

// Items of the screen: 0..4 buttons 1 to 5, 6..9 Up, Down, Left, Right,
// 10 the controller page, 11 confirm. Item 5 (button 6) has no line.
inline constexpr Long kKeySetupPageItem = 10;
inline constexpr Long kKeySetupDecideItem = 11;
// Joysticks are counted again this often while the screen is on show.
inline constexpr std::uint32_t kJoystickRescanMs = 2000;

// The record entry an item assigns: items 0..5 entries 0..5, items 6..9
// entries 10..13; -1 for any other item.
Long KeySetupEntryOfItem(Long item);

// True when the record can be confirmed: buttons 1 to 5 assigned and, with no
// joystick (keyboard page), the four directions as well.
bool KeySetupRecordComplete(const framework::KeyAssignRecord& record, Long joysticks);

// The heading line (layer 1).
std::string KeySetupHeadingLine(Long joysticks);
// The row labels (layer 2): the page line first, then the action rows.
std::vector<std::string> KeySetupLabelLines(Long joysticks, Long page);
// With two or more joysticks, the page line of the name layer; "" otherwise.
std::string KeySetupPageNameLine(Long joysticks, Long page);
// The name layer's lines: each assigned input's short name in its row.
std::vector<std::string> KeySetupNameLines(Long joysticks,
                                           const framework::KeyAssignRecord& record);
// The selectable items for the joystick count.
std::vector<std::string> KeySetupItemLines(Long joysticks);
// Vertical offset of the label and name layers' text boxes.
Long KeySetupRowOffset(Long joysticks);

// The job procedure (message 1 begin, 2 end, 3 reactivated, 0 every step).
void AppJob1_KeySetup(ApplicationConfig& app, Long job, Long message, Long parameter);

}  // namespace brumil::frontend
