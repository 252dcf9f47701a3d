// CIMDevice: the render-mode code and its cache.

#include <array>

#include "device_access.h"
#include "framework/display.h"
#include "render/im_device.h"

namespace brumil::render {

using namespace platform;
using detail::Device;
using detail::RenderState;

namespace {

void StageState(Long stage, D3DLong type, D3DLong value) {
    if (auto* dev = Device()) dev->SetTextureStageState(stage, type, value);
}

// Colour operation by bits 4-7; the entries past the table leave the stage as
// it was.
constexpr std::array<D3DLong, 12> kColorOps = {
    D3DTOP_SELECTARG2,        D3DTOP_SELECTARG1,       D3DTOP_MODULATE,
    D3DTOP_MODULATE2X,        D3DTOP_MODULATE4X,       D3DTOP_ADD,
    D3DTOP_SUBTRACT,          D3DTOP_ADDSIGNED,        D3DTOP_ADDSIGNED2X,
    D3DTOP_BLENDTEXTUREALPHA, D3DTOP_BLENDFACTORALPHA, D3DTOP_BLENDDIFFUSEALPHA,
};
constexpr std::array<D3DLong, 3> kAlphaOps = {D3DTOP_SELECTARG2, D3DTOP_SELECTARG1,
                                              D3DTOP_MODULATE};
constexpr std::array<D3DLong, 4> kArg1 = {D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTA_SPECULAR,
                                          D3DTA_TFACTOR};

struct Blend {
    D3DLong src, dest;
};
// By blend selector 1..7.
constexpr std::array<Blend, 8> kBlends = {{
    {0, 0},
    {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
    {D3DBLEND_ZERO, D3DBLEND_ONE},
    {D3DBLEND_ZERO, D3DBLEND_ONE},
    {D3DBLEND_ONE, D3DBLEND_ONE},
    {D3DBLEND_SRCALPHA, D3DBLEND_ONE},
    {D3DBLEND_ZERO, D3DBLEND_ONE},
    {D3DBLEND_ZERO, D3DBLEND_ONE},
}};

}  // namespace

void CIMDevice::SetStageColorOp(Long stage, RenderModeCode code) {
    const auto field = static_cast<std::size_t>((code & render_mode::kColorOpMask) >> 4);
    if (field < kColorOps.size()) StageState(stage, D3DTSS_COLOROP, kColorOps[field]);
}

void CIMDevice::SetStageAlphaOp(Long stage, RenderModeCode code) {
    const auto field = static_cast<std::size_t>((code & render_mode::kAlphaOpMask) >> 8);
    if (field < kAlphaOps.size()) StageState(stage, D3DTSS_ALPHAOP, kAlphaOps[field]);
}

void CIMDevice::SetStageArg1(Long stage, RenderModeCode code) {
    const auto field = static_cast<std::size_t>((code & render_mode::kArg1Mask) >> 12);
    if (field >= kArg1.size()) return;
    StageState(stage, D3DTSS_COLORARG1, kArg1[field]);
    StageState(stage, D3DTSS_ALPHAARG1, kArg1[field]);
}

void CIMDevice::SetRenderMode(RenderModeCode code) {
    StageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    StageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    StageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    StageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    RenderState(D3DRENDERSTATE_COLORKEYENABLE, (code & render_mode::kColorKey) != 0 ? 1 : 0);
    const auto blend = static_cast<std::size_t>(code & render_mode::kBlendMask);
    RenderState(D3DRENDERSTATE_ALPHABLENDENABLE, blend != 0 ? 1 : 0);
    if (blend != 0) {
        RenderState(D3DRENDERSTATE_DESTBLEND, kBlends[blend].dest);
        RenderState(D3DRENDERSTATE_SRCBLEND, kBlends[blend].src);
    }
    SetStageColorOp(0, code);
    SetStageAlphaOp(0, code);
    SetStageArg1(0, code);
    SetAlphaCmpMode((code & render_mode::kAlphaOpMask) != 0);
    lastRenderMode_ = code;
}

Long CIMDevice::SetRenderModeLE(RenderModeCode code) {
    const Long level = framework::GetRenderLevel();
    if (level != renderModeLevel_) {
        renderModeLevel_ = level;
        lastRenderMode_ = -1;
    }
    if (lastRenderMode_ != code) SetRenderMode(code);
    return 0;
}

void CIMDevice::SetRenderModeSecondStage(RenderModeCode code) {
    if (!framework::gD3DCaps().CapsMultiTexture) return;
    StageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    StageState(2, D3DTSS_COLOROP, D3DTOP_DISABLE);
    StageState(1, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
    StageState(2, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    SetStageColorOp(1, code);
    SetStageAlphaOp(1, code);
    SetStageArg1(1, code);
    // Stage 0's cached code no longer describes the device: the next draw
    // rewrites it, which also disables stage 1 again.
    lastRenderMode_ = -1;
}

}  // namespace brumil::render
