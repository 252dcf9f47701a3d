#pragma once
// ScreenHost: what the front end's screens need from outside the front end —
// the clock, the display and frame host, the input devices, pictures of the
// texture cache, and the shell's key set-up, menu sounds and window menus.
//
// PlatformScreenHost answers everything but the shell's part from the
// framework and the rendering library; the application shell derives from it
// and adds its part. Tests derive from it too and replace what they watch.
// Without a host on the front end (ApplicationConfig::Screens) the screens do
// nothing.

#include <memory>
#include <string_view>

#include "core/vb_types.h"
#include "image/cmg_bbi.h"
#include "platform/base/clock.h"

namespace brumil::platform {
class Surface;
}
namespace brumil::framework {
class CMaxwell;
}

namespace brumil::frontend {

class ScreenHost {
public:
    virtual ~ScreenHost() = default;

    // Milliseconds of the 32-bit clock; compare only wrap-safely.
    virtual platform::Millis NowMs() = 0;

    // The frame host the screens' views present through (nothing: none).
    virtual framework::CMaxwell* FrameHost() = 0;
    // True during the extra logic steps of a frame: screens draw nothing.
    virtual bool PaintDisable() = 0;
    // The next presentation shows the whole back surface.
    virtual void RePaint() = 0;
    virtual Long GetRenderLevel() = 0;
    // Logical 640x480 to back-surface pixels: 0.5, 1.0 or 1.6.
    virtual Single GetDrawScale() = 0;
    // The back surface, nothing while no display exists.
    virtual platform::Surface* BackSurface() = 0;

    // Joysticks counted at the last enumeration; enumerating again.
    virtual Long GetJoystickCount() = 0;
    virtual void SetupJoysticks() = 0;
    // The input code newly pressed in this step on the device (-1 keyboard,
    // 0 and 1 joysticks 1 and 2), 0 when none.
    virtual Long WaitInputCode(Long device) = 0;

    // The picture of the named texture; an empty picture when it is missing.
    virtual std::shared_ptr<const image::CmgBBI> TexturePicture(std::string_view name) = 0;

    // Shell: key defaults and saved keys for the current joystick count.
    virtual void SetupKeyAssign() = 0;
    // Shell: menu sound 1 to 4 (other numbers play nothing).
    virtual void PlayMenuSound(Long n) = 0;
    // Shell: the window menus "画面設定", "音量" and "システム".
    virtual void EnableScreenMenus(bool enabled) = 0;
    // Shell: the program's closing sequence (the title's "End").
    virtual void UnLoadTheApp() = 0;
    // Shell: empties the texture cache and sets its search paths again, so a
    // match loads its own textures and they leave with it.
    virtual void SetTextureSearchPaths() = 0;
};

// Framework and rendering library answers; the shell's part stays to the
// derived class.
class PlatformScreenHost : public ScreenHost {
public:
    explicit PlatformScreenHost(platform::Clock& clock = platform::SystemClock()) : clock_(clock) {}

    platform::Millis NowMs() override { return clock_.NowMs(); }
    framework::CMaxwell* FrameHost() override;
    bool PaintDisable() override;
    void RePaint() override;
    Long GetRenderLevel() override;
    Single GetDrawScale() override;
    platform::Surface* BackSurface() override;
    Long GetJoystickCount() override;
    void SetupJoysticks() override;
    Long WaitInputCode(Long device) override;
    std::shared_ptr<const image::CmgBBI> TexturePicture(std::string_view name) override;

private:
    platform::Clock& clock_;
};

}  // namespace brumil::frontend
