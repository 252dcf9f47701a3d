#pragma once
// The main window's menu bar, its full-screen overlay and the log panel, drawn
// over the game's picture in the game's own window.
//
// The overlay only draws what its client describes each frame and reports what
// the user did: clicks on items, the keys the window handles itself (F1, F5,
// the Alt release, Alt+Enter) and the overlay losing the focus. It never acts
// on its own and keeps none of the menu's state.
//
// Window mode: the bar sits above the 640x480 picture and the window is taller
// by the bar. Full screen: the bar is drawn over the picture at the window's
// real resolution, only while the client says it is shown. The log panel is a
// read-only text area over the bottom of the picture, scrolled to its newest
// line whenever its text changes. ImGui's own keyboard navigation stays off:
// keys and typed text reach ImGui only while one of its text fields has the
// focus, and then not the window's own handlers.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/window.h"

namespace brumil::platform {

class OverlayWindow;  // overlay_window.h

struct OverlayItem {
    std::string caption;
    bool separator = false;
    bool checked = false;
    bool enabled = true;
};

struct OverlayMenu {
    std::string caption;
    bool enabled = true;
    std::vector<OverlayItem> items;
};

// What to draw this frame.
struct OverlayFrame {
    std::vector<OverlayMenu> menus;
    bool fullScreenBarShown = false;  // full screen: the overlay bar is on show
    bool logVisible = false;
    const std::string* logText = nullptr;
};

enum class OverlayKey { F1, F5, Alt, Enter, Other };

class OverlayClient {
public:
    virtual ~OverlayClient() = default;
    virtual OverlayFrame Describe() = 0;
    // A click on item `item` of menu `menu` (indexes as described).
    virtual void MenuItemChosen(int menu, int item) = 0;
    virtual void KeyDown(OverlayKey key) = 0;
    virtual void KeyUp(OverlayKey key, bool altHeld) = 0;
    // The window lost the focus while the full-screen bar was on show.
    virtual void BarLostFocus() = 0;
};

struct OverlayFont {
    std::filesystem::path file;
    int index = 0;    // face inside a collection
    float size = 14;  // pixels
    // Every character the bar must show (its captions); ASCII and kana are
    // always included.
    std::string glyphs;
    // Also the common Japanese ranges (kanji included), for texts that come
    // from players: names, chat and log lines.
    bool japanese = false;
};

class MenuOverlay {
public:
    virtual ~MenuOverlay() = default;
    // Rows of the window above the picture in window mode.
    virtual int BarHeight() const = 0;
    // The picture's top-left corner in screen coordinates.
    virtual void PictureOrigin(int& x, int& y) const = 0;
    // The size of the screen the window is on; 0 when not known.
    virtual void ScreenSize(int& width, int& height) const { width = height = 0; }
    // Once per frame after the game's presentation: when the game presented
    // nothing this frame, the last picture is shown again with the menu, so
    // the menu answers the mouse however rarely the picture changes.
    virtual void FrameDone() = 0;
    // True while a drop-down is open or the pointer is over the bar or a
    // drop-down (as of the last frame drawn): whoever hides the full-screen
    // bar must leave it alone then, or no item could ever be reached.
    virtual bool MenuInUse() const { return false; }
    // Windows drawn over the picture after the menu (the settings dialogs),
    // not owned; a window must be removed before it goes.
    virtual void AddWindow(OverlayWindow& window) { (void)window; }
    virtual void RemoveWindow(OverlayWindow& window) { (void)window; }
};

// Attaches the overlay to the game's window: nothing for a window without a
// display (headless runs drive the client directly). The overlay detaches on
// destruction and must go before the window.
std::unique_ptr<MenuOverlay> AttachMenuOverlay(Window& window, const OverlayFont& font,
                                               OverlayClient& client);

}  // namespace brumil::platform
