#pragma once
// What the 3D scene object needs from the rest of the program: the Direct3D
// device, the display's size and render level, the frame copies, and the few
// calls of the device wrapper that it shares with every other drawing path.
//
// The scene object holds a host by reference; the framework host forwards to
// the shared display state and the shared device wrapper, and tests give a
// host of their own over a recording or software device.

#include "core/vb_types.h"
#include "platform/gfx/d3d_device.h"

namespace brumil::render {

class ArkHost {
public:
    virtual ~ArkHost() = default;

    // The device in use; nullptr while no display runs.
    virtual platform::Direct3DDevice7* Device() = 0;
    // Raised by one each time the device is created; 0 before the first.
    virtual Long RenderLevel() = 0;
    virtual Long ScreenWidth() = 0;
    virtual Long ScreenHeight() = 0;
    // True when no second depth buffer exists (the frame copies cannot keep depth).
    virtual bool NoDoubleZBuffer() = 0;
    // True when the back surface exists and is not lost.
    virtual bool BackSurfaceAlive() = 0;
    // The framework's work-surface copy: mode 4 saves the back surface and its
    // depth, mode 3 restores them.
    virtual void CopyWorkSurface(Long mode) = 0;

    // The device wrapper's calls (render-mode codes, texture factor, scene break).
    virtual void SetRenderModeLE(Long code) = 0;
    virtual void SetRenderMode(Long code) = 0;
    virtual void SetFactorColor(Long color) = 0;
    virtual void SceneBreak() = 0;
    virtual void SceneRestore() = 0;
};

// The host over the framework's display state and the shared device wrapper;
// lives for the whole run.
ArkHost& FrameworkArkHost();

}  // namespace brumil::render
