#pragma once
// Storing the key assignments into the settings at the end of a run.

#include <string_view>

#include "app/config_record.h"
#include "core/vb_types.h"
#include "framework/key_assign.h"

namespace brumil::app {

class frmKeyConfig;

// Stores `keyText` in the settings slot of `setupJoysticks`, the joystick
// count the records were last set up for (Pad0 for none, Pad1 for one, PadX
// for two or more). A negative count means the records were never set up
// from the settings, so nothing is stored and the saved texts stay.
void StoreKeyAssignText(ConfigRecord& config, Long setupJoysticks, std::string_view keyText);

// The shut-down's storing of the assignments: first closes the key
// configuration dialog (when given) as its Cancel would, so that edits the
// player never confirmed go back before the text is taken; then stores the
// text of `table` under `setupJoysticks`.
void StoreKeyAssignments(ConfigRecord& config, Long setupJoysticks, frmKeyConfig* keyDialog,
                         const framework::KeyAssignTable& table);

}  // namespace brumil::app
