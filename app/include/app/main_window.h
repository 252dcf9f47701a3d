#pragma once
// What the window UI, the service jobs' host and the screens' host ask of the
// main window. TheApp implements it; those parts hold a MainWindow and never
// the application itself.

#include "app/main_menu.h"
#include "app/main_menu_services.h"
#include "core/vb_types.h"

namespace brumil::app {

class MainWindow {
public:
    virtual ~MainWindow() = default;

    // The window's menus: captions, checks and enabled states.
    virtual MainMenuModel& MenuModel() = 0;
    // Marks the menu checks for refreshing.
    virtual void UpdateMainMenu() = 0;
    // Refreshes the checks when forced or marked.
    virtual void SettingMainMenu(bool force) = 0;
    // Shows or hides the menu overlay in full-screen mode.
    virtual void MainMenu(bool show) = 0;
    // The first call starts the closing transition, a later one ends the run.
    virtual void UnLoadTheApp() = 0;
    // A close request (close box, window manager): true lets it go ahead.
    virtual bool QueryClose() = 0;
    // A click on a menu item (control and index as in the menu model).
    virtual void MenuClick(MenuControl control, Long index) = 0;
    virtual void KeyDown(WindowKey key) = 0;
    virtual void KeyUp(WindowKey key, bool altHeld) = 0;
    // The overlay hid itself (it lost the focus).
    virtual void MenuOverlayHidden() = 0;
    // True while the overlay is on show.
    virtual bool MenuOverlayVisible() const = 0;
    // Runs the display changes asked since the last call.
    virtual void ApplyDisplayChanges() = 0;
};

}  // namespace brumil::app
