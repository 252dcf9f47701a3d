#pragma once
// The software Direct3D 7 device: draws into a colour surface with an optional
// depth surface, on the calling thread, with no display needed.

#include <memory>

#include "platform/gfx/d3d_device.h"
#include "platform/gfx/surface.h"

namespace brumil::platform {

struct SoftDeviceOptions {
    // The specialised inner loops; off only to compare them with the general
    // loop, which gives the same pixels.
    bool specialisedSpans = true;
};

// Nothing when the target is missing, lost or a depth surface, or when the
// depth surface is not a depth surface at least as large as the target.
std::unique_ptr<Direct3DDevice7> CreateSoftDevice(SurfacePtr target, SurfacePtr depth,
                                                  SoftDeviceOptions options = {});

// What the software device can do.
D3DCaps SoftDeviceCaps();

}  // namespace brumil::platform
