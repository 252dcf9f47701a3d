#pragma once
// The two settings dialogs of the running program (frmKeyConfig and
// frmGraphicsConfig): made after the main window is attached, handed to the
// front end's dialog jobs 5 and 6, and drawn over the picture by the menu
// overlay when there is a display. Without a display the jobs still open and
// run them; nothing draws them.
//
// The attachment must go before the main window's attachment (and so before
// the overlay): on its way out it closes any open dialog, which puts the key
// assignments back as a Cancel would.

#include <memory>

namespace brumil::app {

class frmGraphicsConfig;
class frmKeyConfig;

class SettingsDialogsAttachment {
public:
    virtual ~SettingsDialogsAttachment() = default;
    virtual frmGraphicsConfig& GraphicsConfig() = 0;
    virtual frmKeyConfig& KeyConfig() = 0;
};

std::unique_ptr<SettingsDialogsAttachment> AttachSettingsDialogs();

}  // namespace brumil::app
