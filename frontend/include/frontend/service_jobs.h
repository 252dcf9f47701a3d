#pragma once
// The front end's service jobs, which are not screens of their own:
//   2  menu ticker: keeps the window menu current and, in full screen, shows
//      it while the mouse is at the top of the screen (kind 2, always runs);
//   5  key configuration dialog, 6 graphics settings dialog (kind 1, modal):
//      leave a half-size full screen for the dialog, disable the screen and
//      system menus while it is open, end when it closes;
//   8  closing transition: the last picture breaks into tiles, then the
//      program ends (at most 2500 ms however slowly frames are drawn);
//   9  apply graphics settings: re-runs the display start-up for the
//      settings' preset, then removes itself.
// Job 7 is the empty job of front_end_jobs.h.
//
// Everything they touch outside the front end goes through ServiceJobHost,
// which the application shell implements; without a host the jobs do nothing.

#include <memory>
#include <optional>

#include "core/math_random.h"
#include "core/vb_types.h"
#include "framework/display.h"
#include "frontend/job_numbers.h"
#include "frontend/network_jobs.h"
#include "frontend/settings_dialog.h"
#include "platform/base/clock.h"

namespace brumil::frontend {

class ApplicationConfig;
class CQuadefects;

// The closing transition is cut short this long after its first step.
inline constexpr std::uint32_t kClosingTimeoutMs = 2500;

// The graphics settings job 9 reads (the fields of the settings record).
struct GraphicsSettings {
    Long GraphicsAutomation = 0;
    Long ScreenMode = 1;
    Long DeviceMode = 1;
    Long PixelBits = 32;
    Long DisplaySize = 0;
    Long ZBuffer = 0;
    Long Disable32BitTexture = 0;
    Long WaitVsink = 3;
};

// What job 9 asks of the display for a preset: the first entry of the depth
// list, the start-up arguments and, for preset 10, the two pacing settings.
struct GraphicsApply {
    Long firstDepth = 0;
    framework::DisplaySettingsChange change;
    bool setsPacing = false;
    bool waitVsinkSP = false;
    bool paintManual = false;
};

// Nothing for a number that is not a preset (0, 1, 2, 3, 10 and 11 are).
std::optional<GraphicsApply> GraphicsApplyFor(const GraphicsSettings& settings);

class ServiceJobHost {
public:
    virtual ~ServiceJobHost() = default;
    // True while a drop-down of the menu is open or the pointer is over the
    // menu bar or a drop-down.
    virtual bool MenuInUse() = 0;

    // The main window.
    virtual void UpdateMainMenu() = 0;
    virtual void SettingMainMenu(bool force) = 0;
    virtual void MainMenu(bool show) = 0;
    virtual void UnLoadTheApp() = 0;
    // Enables or disables the menus "画面設定" and "システム".
    virtual void EnableScreenAndSystemMenus(bool enabled) = 0;
    // The screen position of the picture's top-left corner.
    virtual void PictureOrigin(Long& x, Long& y) = 0;
    // In window mode, a maximised or minimised main window goes back to its
    // normal size.
    virtual void RestoreMaximisedWindow() = 0;

    // The display.
    virtual bool IsFullScreenMode() = 0;
    virtual bool IsHalfSizeMode() = 0;
    virtual void SetFullScreenMode(bool fullScreen) = 0;
    virtual Long GetRenderLevel() = 0;
    // Sets the first entry of the depth list, then re-runs the start-up.
    virtual void ApplyDisplay(const GraphicsApply& apply) = 0;
    virtual void RestoreDDS() = 0;
    virtual Long GetTextureLimit() = 0;
    virtual void VideoMemoryCash() = 0;

    // Input.
    virtual bool MouseMoved() = 0;
    virtual Long MouseScreenY() = 0;
    virtual void SetupKeyboardMouse() = 0;

    // The dialog of job 5 or 6, made when needed; nothing when none exists.
    virtual SettingsDialog* Dialog(Long job) = 0;
    virtual GraphicsSettings Graphics() = 0;

    // The closing transition.
    virtual bool PaintDisable() = 0;
    virtual void FadeOutSound(Long milliseconds) = 0;
    virtual void SetTextureSearchPaths() = 0;
    virtual void SetFramePacing(Long sleepSaver, Long sleepFrame) = 0;
    // Copies the picture on show into the work surface.
    virtual void CaptureScreen() = 0;
    virtual void RePaint() = 0;
    virtual std::unique_ptr<CQuadefects> MakeQuad(core::MathRandom& random) = 0;
    virtual void DrawQuadFrame(CQuadefects& quad) = 0;
    virtual platform::Millis NowMs() = 0;
    // The menus' and looks' own generator (never the battle's).
    virtual core::MathRandom& LooksRandom() = 0;

    // Network play (jobs 3 and 4). The set-up window, made first when
    // `create` is set; nothing when there is none.
    virtual NetworkDialog* NetworkSetup(bool /*create*/) { return nullptr; }
    // Shows or hides the log panel; shown, its newest line is in view.
    virtual void ShowLogPanel(bool /*show*/) {}
    virtual bool LogPanelShown() { return false; }
    // Brings the main window back after a modal window in window mode.
    virtual void ShowMainWindow() {}
};

void AppJob2_MenuTicker(ApplicationConfig& app, Long job, Long message, Long parameter);
void AppJob5_KeyDialog(ApplicationConfig& app, Long job, Long message, Long parameter);
void AppJob6_GraphicsDialog(ApplicationConfig& app, Long job, Long message, Long parameter);
void AppJob8_Closing(ApplicationConfig& app, Long job, Long message, Long parameter);
void AppJob9_ApplyGraphics(ApplicationConfig& app, Long job, Long message, Long parameter);

// Sets up the closing transition by preset p (0..7), drawing the rule's
// random values from `random` in the order the rule lists them.
void SetupClosingQuad(CQuadefects& quad, Long preset, core::MathRandom& random);

}  // namespace brumil::frontend
