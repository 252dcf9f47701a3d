#pragma once
// The game's one window. It shows the 640x480 logical picture, scaled from a
// back buffer of any size; in headless mode (no display, or BRUMIL_HEADLESS=1)
// nothing is shown and the last presented frame can be read back.
//
// Full-screen switches are requested and applied only between frames, never
// from inside the event pump.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace brumil::platform {

// How the window is opened.
struct WindowSettings {
    std::string title = "Brumil";
    bool fullScreen = false;
    // Scaling of the back buffer to the window: linear filtering, or nearest
    // pixel (sharp at whole-number factors).
    bool linearFilter = true;
    // Wait for the display's vertical blank when presenting.
    bool vsync = true;
};

// What the event pump saw since the previous pump.
struct WindowEvents {
    bool closeRequested = false;  // the close box, Alt+F4, or the session ending
    // The connection to the display is gone: nothing can be shown any more and
    // the window can only be let go. Comes with closeRequested, and from then
    // on with every pump.
    bool displayLost = false;
    bool focusLost = false;
    bool focusGained = false;
};

// The pointer as the picture sees it, gathered by the event pump and taken
// once per input step.
struct PointerActivity {
    int wheel = 0;       // wheel notches since the last take, away from the user > 0
    bool moved = false;  // the pointer moved over the window since the last take
    // Position as fractions 0..1 of the shown 640x480 picture (clamped), and in
    // pixels of the window's client area.
    float x = 0.0f;
    float y = 0.0f;
    int screenX = 0;
    int screenY = 0;
};

// Presses that something drawn over the picture (the menu, a dialog) took
// for itself: the game's input must not see them. A press stays taken until
// its release; one taken and released again since the last take is still
// reported once, so a quick click on the menu never reaches the game as a tap.
struct CapturedInput {
    bool left = false;
    bool right = false;
    bool middle = false;
    std::array<bool, 256> keys{};  // by set-1 scan code (scan_codes.h)
};

// The size the window manager gave the window.
enum class WindowSizeState { Normal, Maximised, Minimised };

struct PresentedFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // width * height pixels, 0xAARRGGBB
};

class Window {
public:
    virtual ~Window() = default;

    // Pixels of the back buffer, row-major, `pitch` pixels per row. The whole
    // buffer is shown scaled to the window's picture area.
    virtual void Present(std::span<const std::uint32_t> argb, int width, int height, int pitch) = 0;

    // The last frame handed to Present (always kept; tests read it back).
    virtual const PresentedFrame& LastFrame() const = 0;

    virtual bool IsHeadless() const = 0;
    virtual bool IsFullScreen() const = 0;
    virtual void SetTitle(const std::string& title) = 0;

    // Processes the pending window-system events. Never changes the window's
    // mode: a full-screen request made meanwhile waits for ApplyPendingMode.
    virtual WindowEvents PumpEvents() = 0;

    // Takes the pointer activity gathered since the last take.
    virtual PointerActivity TakePointerActivity() = 0;

    // Asks for full screen or a window; applied by the next ApplyPendingMode.
    virtual void RequestFullScreen(bool fullScreen) = 0;
    // Applies a pending mode change; called by the frame host between frames.
    // True when the mode changed.
    virtual bool ApplyPendingMode() = 0;

    // The presses taken from the game now or since the last take (above).
    virtual CapturedInput TakeCapturedInput() { return {}; }

    // Window managers maximise and minimise windows on their own; a window
    // without one always reads Normal.
    virtual WindowSizeState SizeState() const { return WindowSizeState::Normal; }
    // Puts a maximised or minimised window back to its normal size; nothing
    // for a window in the normal state.
    virtual void RestoreNormalSize() {}
};

// True when windows are not to be shown: BRUMIL_HEADLESS=1, or no display.
bool HeadlessRequested();

// Why no window can be opened, or "" when one can (or when running headless).
std::string VideoUnavailableReason();

// Opens the game's window: an SDL window, or a headless one when
// HeadlessRequested() or when no window can be opened.
std::unique_ptr<Window> OpenWindow(const WindowSettings& settings);

}  // namespace brumil::platform
