#pragma once
// CIMDevice: the one place that touches the state of the Direct3D device
// (framework::gD3DDevice()). It offers scene control, thin setters for single
// render states, texture binding by surface or by texture-cache index, and the
// render-mode code, applied through a cache so that a run of draws with the
// same code and texture costs no device calls.
//
// The caches describe the device last seen. The framework raises its render
// level each time it makes a device; every cached operation compares the
// level it remembers and forgets its cache when the level moved, so a new
// device is given the whole state again.
//
// Device calls that fail are skipped; the operation carries on and its caches
// are still updated. Without a device nothing is sent.

#include <span>

#include "core/vb_types.h"
#include "platform/gfx/d3d_types.h"
#include "platform/gfx/surface.h"

namespace brumil::render {

using platform::D3DTLVERTEX;

// The render-mode code of one draw. Only the low 16 bits are read:
//   bits 0-2   blend selector (0 off, 1 alpha, 4 additive, 5 alpha-additive,
//              2/3/6/7 keep the target)
//   bit 3      colour keying
//   bits 4-7   stage colour operation (&HC0..&HF0 leave it as it was)
//   bits 8-11  stage alpha operation; any non-zero value switches the alpha
//              test on (&H300..&HF00 leave the operation as it was)
//   bits 12-15 source of the stage's first colour and alpha argument
//              (&H4000..&HF000 leave both as they were)
using RenderModeCode = Long;

namespace render_mode {
constexpr RenderModeCode kBlendMask = 0x7;
constexpr RenderModeCode kColorKey = 0x8;
constexpr RenderModeCode kColorOpMask = 0xF0;
constexpr RenderModeCode kAlphaOpMask = 0xF00;
constexpr RenderModeCode kArg1Mask = 0xF000;
// Common codes.
constexpr RenderModeCode kTexture = 0x10;                // texture colour alone
constexpr RenderModeCode kTextureAlpha = 0x211;          // + alpha blend and test
constexpr RenderModeCode kTextureAdditive = 0x14;        // + one-to-one additive
constexpr RenderModeCode kTextureAlphaAdditive = 0x215;  // + source-alpha additive
constexpr RenderModeCode kFactorFlat = 0x3010;           // texture factor colour, flat
}  // namespace render_mode

class CIMDevice {
public:
    // Scene control.
    // Clears the whole screen: the target (with colour) and/or the depth
    // buffer (to 1.0). The depth flag is dropped when there is no depth
    // surface; asked for nothing, nothing is sent.
    void SceneClear(bool clearTarget, bool clearZ, Long colour);
    // Width or height 0 means the screen's.
    void SceneViewPort(Long x, Long y, Long width, Long height);
    bool SceneBegin();
    void SceneEnd();
    // Close and reopen an open scene around surface work; the scene flag
    // stays set in between.
    void SceneBreak();
    void SceneRestore();
    bool InScene() const { return inScene_; }

    // Single render states.
    void SetAmbient(Long colour);  // alpha forced to 255
    void SetLightMode(bool on);
    void SetMaterial(const platform::D3DMATERIAL7& material);
    // Dithers only on a 16-bit display whose device can dither.
    void SetDitherMode(bool on);
    // 1 none, 2 clockwise, 3 counter-clockwise; other values change nothing.
    void SetCullingMode(Long mode);
    // Alpha test "alpha >= 1" on or off; sent only when the device can compare
    // greater-or-equal and the state changes. A re-created device counts as
    // having the test off.
    void SetAlphaCmpMode(bool on);
    void SetZBufferMode(bool on);
    void SetZBufferWriteMode(bool on);
    void SetShadeMode(bool gouraud);
    void SetAntiAreasMode(bool on);
    // Per-object switch under SetAntiAreasMode.
    void SetAntiAreasModeSub(bool on);
    void SetFactorColor(Long colour);

    // Textures. Binding an explicit surface forgets the cached index.
    void SetTexture(const platform::SurfacePtr& surface);
    // Binds texture-cache entry `index` to stage 0, making its texture first
    // when needed (outside any open scene). The same index twice sends
    // nothing. An empty slot binds no texture; an index outside the cache
    // binds the texture of the fresh picture the cache answers for it (the
    // binding keeps that texture alive).
    void SetTextureIndex(Long index);
    // Stage 1; nothing without multi-texturing.
    void SetTextureSecondStage(const platform::SurfacePtr& surface);
    void SetTextureIndexSecondStage(Long index);
    // Linear filtering when asked and the device can, else point filtering.
    void SetFilterMode(bool linear);
    void SetFilterModeSecondStage(bool linear);

    // Render-mode codes.
    // The per-draw entry point: applies the code only when it differs from the
    // code last applied (or the device was re-created). Always answers 0.
    Long SetRenderModeLE(RenderModeCode code);
    // Applies the whole code to stage 0 unconditionally.
    void SetRenderMode(RenderModeCode code);
    // The stage-1 part of a code (nothing without multi-texturing); the next
    // SetRenderModeLE rewrites stage 0 in full, so apply stage 0 first.
    void SetRenderModeSecondStage(RenderModeCode code);

    // Screen-space quads.
    // Writes seven fields of the vertex; the specular field is left alone.
    static void TLVertex(Single sx, Single sy, Single sz, Single rhw, Long colour, Single tu,
                         Single tv, D3DTLVERTEX& vertex);
    // Fills vertices 0..3 (top-left, top-right, bottom-left, bottom-right: a
    // four-vertex triangle strip, clockwise on the screen) of the width x
    // height rectangle whose point (originX x width, originY x height) sits at
    // (x, y), turned by `angle` radians (counter-clockwise on the screen) about
    // that point and scaled by `scale`. sz 0, rhw 1, specular 0, colours(2 x
    // row + column). Nothing is written when either span holds fewer than 4.
    static void GetD3DTLVERTEX_Box(std::span<D3DTLVERTEX> vertices, Single x, Single y,
                                   Single width, Single height, Single originX, Single originY,
                                   Single tu1, Single tv1, Single tu2, Single tv2, Single angle,
                                   Single scale, std::span<const Long> colours);

    // Cache state, readable for diagnostics.
    RenderModeCode LastRenderMode() const { return lastRenderMode_; }
    Long LastTextureIndex() const { return lastTextureIndex_; }
    bool AlphaTestEnabled() const { return alphaTestEnabled_; }

private:
    void BindIndex(Long stage, Long index, Long& lastIndex, Long& level);
    void SetStageColorOp(Long stage, RenderModeCode code);
    void SetStageAlphaOp(Long stage, RenderModeCode code);
    void SetStageArg1(Long stage, RenderModeCode code);

    // Every field starts at zero, as the device expects nothing of us yet.
    RenderModeCode lastRenderMode_ = 0;
    Long lastTextureIndex_ = 0;
    Long lastTextureIndex2_ = 0;
    bool inScene_ = false;
    bool antiAreasEnabled_ = false;
    bool alphaTestEnabled_ = false;
    Long textureLevel_ = 0;
    Long textureLevel2_ = 0;
    Long renderModeLevel_ = 0;
    Long alphaTestLevel_ = 0;
};

}  // namespace brumil::render
