// CIMDevice: texture binding and filtering.

#include "device_access.h"
#include "framework/display.h"
#include "render/admin_lib.h"
#include "render/graphics.h"
#include "render/im_device.h"
#include "render/im_texture.h"

namespace brumil::render {

using namespace platform;
using detail::Device;

namespace {

// An explicit surface (or none) is bound; no cache index describes it.
constexpr Long kNoIndex = -2;

void Bind(Long stage, const SurfacePtr& surface) {
    if (auto* dev = Device()) dev->SetTexture(stage, surface);
}

void Filter(Long stage, bool linear) {
    auto* dev = Device();
    if (!dev) return;
    const D3DLong f =
        linear && framework::gD3DCaps().CapsFilterLevel >= 1 ? D3DTFG_LINEAR : D3DTFG_POINT;
    dev->SetTextureStageState(stage, D3DTSS_MAGFILTER, f);
    dev->SetTextureStageState(stage, D3DTSS_MINFILTER, f);
}

}  // namespace

void CIMDevice::SetTexture(const SurfacePtr& surface) {
    Bind(0, surface);
    lastTextureIndex_ = kNoIndex;
}

void CIMDevice::SetTextureSecondStage(const SurfacePtr& surface) {
    if (!framework::gD3DCaps().CapsMultiTexture) return;
    Bind(1, surface);
    lastTextureIndex2_ = kNoIndex;
}

void CIMDevice::BindIndex(Long stage, Long index, Long& lastIndex, Long& level) {
    const Long now = framework::GetRenderLevel();
    if (now != level) {
        level = now;
        lastIndex = kNoIndex;
    }
    if (lastIndex == index) return;
    // An index outside the cache gives a fresh graphic that nobody stores; the
    // device's binding holds its texture surface, so the surface outlives it.
    const std::shared_ptr<CGraphics> graphic = gIMTexture().Item(index);
    if (graphic) {
        // Making a texture is surface work: not inside an open scene.
        SceneBreak();
        if (graphic->ExistDDSTexture(true, true)) {
            Bind(stage, graphic->Surface);
        } else {
            Bind(stage, nullptr);
        }
        SceneRestore();
    } else {
        Bind(stage, nullptr);
    }
    lastIndex = index;
}

void CIMDevice::SetTextureIndex(Long index) {
    BindIndex(0, index, lastTextureIndex_, textureLevel_);
}

void CIMDevice::SetTextureIndexSecondStage(Long index) {
    if (!framework::gD3DCaps().CapsMultiTexture) return;
    BindIndex(1, index, lastTextureIndex2_, textureLevel2_);
}

void CIMDevice::SetFilterMode(bool linear) {
    Filter(0, linear);
}

void CIMDevice::SetFilterModeSecondStage(bool linear) {
    if (!framework::gD3DCaps().CapsMultiTexture) return;
    Filter(1, linear);
}

}  // namespace brumil::render
