#pragma once
// A modeless window drawn by the menu overlay over the game's picture: after
// the menu bar and the log panel, inside the overlay's own Dear ImGui frame,
// with the window's own font. The settings dialogs are such windows.
//
// A window only draws what its client describes and reports what the user
// did; it keeps no state of its own beyond what ImGui keeps (its position
// after the user moved it).

#include <string>

#include "platform/ui/menu_overlay.h"

namespace brumil::platform {

// Where the overlay draws this frame.
struct OverlayPlace {
    // The window's client area on the screen: a window placed at a screen
    // position draws at that position less this origin.
    int clientScreenX = 0;
    int clientScreenY = 0;
    // The game's picture in client coordinates.
    int pictureX = 0;
    int pictureY = 0;
    int pictureWidth = 640;
    int pictureHeight = 480;
};

// What every dialog drawn as an overlay window describes besides its own
// controls: whether it is on show, where, its caption and its two buttons.
struct OverlayDialogHead {
    bool visible = false;
    // A screen position for the window's top-left corner; without one the
    // window opens at the picture's top-left corner.
    bool placed = false;
    int screenX = 0;
    int screenY = 0;
    std::string caption;
    std::string ok;
    std::string cancel;
};

class OverlayWindow {
public:
    virtual ~OverlayWindow() = default;
    // The face the window's texts are drawn with, with every character they
    // can show; read once, when the window is added. Nothing: ImGui's own.
    virtual const OverlayFont* Font() const { return nullptr; }
    // Makes the window's ImGui calls (its font already pushed).
    virtual void Draw(const OverlayPlace& place) = 0;
    // True while every key belongs to the window: the overlay's client hears
    // none of them (the game's input still reads the keyboard).
    virtual bool CapturesKeys() { return false; }
};

}  // namespace brumil::platform
