#pragma once
// What the main window's menu and keys act on, so tests can fake the display
// and the program's end. The platform's version works on the framework's
// display, the frame host's window, the front end's job list and the sound
// master volume.

#include <functional>

#include "core/vb_types.h"
#include "framework/job_list.h"

namespace brumil::app {

class MainMenuServices {
public:
    virtual ~MainMenuServices() = default;
    virtual bool IsFullScreenMode() = 0;
    virtual bool IsDisplayReady() = 0;
    // Switches the display (and the window with it) when the mode differs.
    virtual void SetFullScreenMode(bool fullScreen) = 0;
    // The front end's job list; nothing while there is no front end.
    virtual framework::CJobResis* Jobs() = 0;
    virtual void SetVolumeLevel(Long step) = 0;
    // Applies the master volume anew to the playing sounds.
    virtual void AudioVolumeReset() = 0;
    // Shows the chat window when a network session exists; false otherwise.
    virtual bool ShowChat() = 0;
    // The window goes: with it the program ends.
    virtual void UnloadWindow() = 0;
};

// The platform's services (the one instance).
MainMenuServices& PlatformMainMenuServices();

// The keys the window handles itself.
enum class WindowKey { F1, F5, Alt, Enter, Other };

}  // namespace brumil::app
