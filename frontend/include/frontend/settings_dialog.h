#pragma once
// What the front end's dialog jobs (5 and 6) need of a settings dialog: the
// key configuration and the graphics settings dialogs implement it. A dialog
// is placed, filled from the settings (Init, which opens it) and shown
// without waiting; the job then watches IsOpen until it turns false.

#include "core/vb_types.h"

namespace brumil::frontend {

class SettingsDialog {
public:
    virtual ~SettingsDialog() = default;
    // Puts the dialog's top-left corner at a screen position.
    virtual void Place(Long x, Long y) = 0;
    // Fills the dialog from the settings; IsOpen is true afterwards.
    virtual void Init() = 0;
    // Shows the dialog without waiting for it.
    virtual void Show() = 0;
    // True from Init until the dialog closes (OK, Cancel or its close box).
    virtual bool IsOpen() const = 0;
    // Once per logic step while the dialog is on show (after the step's
    // input): a dialog that reads the devices polls them here.
    virtual void Step() {}
};

}  // namespace brumil::frontend
