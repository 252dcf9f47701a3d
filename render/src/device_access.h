#pragma once
// The device the render library draws through, or nothing before the display
// has started.

#include "framework/display.h"
#include "platform/gfx/d3d_device.h"

namespace brumil::render::detail {

inline platform::Direct3DDevice7* Device() {
    return framework::gD3DDevice().get();
}

// One state write; nothing without a device, and a failure is passed over.
inline void RenderState(platform::D3DLong state, platform::D3DLong value) {
    if (auto* dev = Device()) dev->SetRenderState(state, value);
}

}  // namespace brumil::render::detail
