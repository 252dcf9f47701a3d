// CIMDevice: scene control and the single render-state setters.

#include "device_access.h"
#include "framework/display.h"
#include "render/im_device.h"

namespace brumil::render {

using namespace platform;
using detail::Device;
using detail::RenderState;

void CIMDevice::SceneClear(bool clearTarget, bool clearZ, Long colour) {
    D3DLong flags = 0;
    if (clearTarget) flags |= D3DCLEAR_TARGET;
    if (clearZ && framework::gZBufferDDS() != nullptr) flags |= D3DCLEAR_ZBUFFER;
    // A clear of nothing would still cost a device round trip.
    if (flags == 0) return;
    auto* dev = Device();
    if (!dev) return;
    const D3DRECT rect{0, 0, framework::gScreenWidth(), framework::gScreenHeight()};
    dev->Clear(std::span<const D3DRECT>(&rect, 1), flags, colour, 1.0f, 0);
}

void CIMDevice::SceneViewPort(Long x, Long y, Long width, Long height) {
    auto* dev = Device();
    if (!dev) return;
    D3DVIEWPORT7 vp;
    vp.lX = x;
    vp.lY = y;
    vp.lWidth = width == 0 ? framework::gScreenWidth() : width;
    vp.lHeight = height == 0 ? framework::gScreenHeight() : height;
    vp.minz = 0.0f;
    vp.maxz = 1.0f;
    dev->SetViewport(vp);
}

bool CIMDevice::SceneBegin() {
    auto* dev = Device();
    inScene_ = dev != nullptr && dev->BeginScene();
    return inScene_;
}

void CIMDevice::SceneEnd() {
    if (auto* dev = Device()) dev->EndScene();
    inScene_ = false;
}

void CIMDevice::SceneBreak() {
    if (!inScene_) return;
    if (auto* dev = Device()) dev->EndScene();
}

void CIMDevice::SceneRestore() {
    if (!inScene_) return;
    if (auto* dev = Device()) dev->BeginScene();
}

void CIMDevice::SetAmbient(Long colour) {
    RenderState(D3DRENDERSTATE_AMBIENT,
                static_cast<Long>(static_cast<std::uint32_t>(colour) | 0xFF000000u));
}

void CIMDevice::SetLightMode(bool on) {
    RenderState(D3DRENDERSTATE_LIGHTING, on ? 1 : 0);
}

void CIMDevice::SetMaterial(const D3DMATERIAL7& material) {
    if (auto* dev = Device()) dev->SetMaterial(material);
}

void CIMDevice::SetDitherMode(bool on) {
    const bool dither = on && framework::gPixelBits() == 16 && framework::gD3DCaps().CapsDither;
    RenderState(D3DRENDERSTATE_DITHERENABLE, dither ? 1 : 0);
}

void CIMDevice::SetCullingMode(Long mode) {
    if (mode < D3DCULL_NONE || mode > D3DCULL_CCW) return;
    RenderState(D3DRENDERSTATE_CULLMODE, mode);
}

void CIMDevice::SetAlphaCmpMode(bool on) {
    if (!framework::gD3DCaps().CapsAlphaGreaterEqual) return;
    // A device made anew starts with the test off, whatever was sent to the
    // one before it.
    const Long level = framework::GetRenderLevel();
    if (level != alphaTestLevel_) {
        alphaTestLevel_ = level;
        alphaTestEnabled_ = false;
    }
    if (!on && alphaTestEnabled_) {
        RenderState(D3DRENDERSTATE_ALPHATESTENABLE, 0);
        alphaTestEnabled_ = false;
    } else if (on && !alphaTestEnabled_) {
        // Alpha >= 1: pixels of alpha 0 are discarded.
        RenderState(D3DRENDERSTATE_ALPHATESTENABLE, 1);
        RenderState(D3DRENDERSTATE_ALPHAREF, 1);
        RenderState(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_GREATEREQUAL);
        alphaTestEnabled_ = true;
    }
}

void CIMDevice::SetZBufferMode(bool on) {
    RenderState(D3DRENDERSTATE_ZENABLE, on ? 1 : 0);
}

void CIMDevice::SetZBufferWriteMode(bool on) {
    RenderState(D3DRENDERSTATE_ZWRITEENABLE, on ? 1 : 0);
}

void CIMDevice::SetShadeMode(bool gouraud) {
    RenderState(D3DRENDERSTATE_SHADEMODE, gouraud ? D3DSHADE_GOURAUD : D3DSHADE_FLAT);
}

void CIMDevice::SetAntiAreasMode(bool on) {
    if (on && framework::gD3DCaps().CapsAntiAliasLevel >= 2) {
        RenderState(D3DRENDERSTATE_ANTIALIAS, D3DANTIALIAS_SORTINDEPENDENT);
        antiAreasEnabled_ = true;
    } else {
        RenderState(D3DRENDERSTATE_ANTIALIAS, D3DANTIALIAS_NONE);
        antiAreasEnabled_ = false;
    }
}

void CIMDevice::SetAntiAreasModeSub(bool on) {
    RenderState(D3DRENDERSTATE_ANTIALIAS,
                antiAreasEnabled_ && on ? D3DANTIALIAS_SORTINDEPENDENT : D3DANTIALIAS_NONE);
}

void CIMDevice::SetFactorColor(Long colour) {
    RenderState(D3DRENDERSTATE_TEXTUREFACTOR, colour);
}

}  // namespace brumil::render
