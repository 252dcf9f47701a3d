#pragma once
// The Direct3D 7 device as the rendering library calls it: exactly the calls
// the game makes. Every call answers true on success; a failing call changes
// nothing. Vertices arrive as the bytes of 32-byte records of the format
// given (274, 482 or 452); an index at or past the vertex count is skipped.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/gfx/d3d_types.h"
#include "platform/gfx/surface.h"

namespace brumil::platform {

class Direct3DDevice7 {
public:
    virtual ~Direct3DDevice7() = default;

    virtual bool BeginScene() = 0;
    virtual bool EndScene() = 0;
    // Clears the rectangles (all of the viewport when empty), each clipped to
    // the viewport: the target with a 0xAARRGGBB colour and/or the depth buffer.
    virtual bool Clear(std::span<const D3DRECT> rects, D3DLong flags, D3DLong color, float z,
                       D3DLong stencil) = 0;
    virtual bool SetViewport(const D3DVIEWPORT7& vp) = 0;
    virtual bool GetViewport(D3DVIEWPORT7& vp) = 0;
    virtual bool SetTransform(D3DLong state, const D3DMATRIX& m) = 0;
    virtual bool GetTransform(D3DLong state, D3DMATRIX& m) = 0;
    virtual bool SetRenderState(D3DLong state, D3DLong value) = 0;
    virtual bool SetTextureStageState(D3DLong stage, D3DLong type, D3DLong value) = 0;
    // Nothing (nullptr) unbinds the stage.
    virtual bool SetTexture(D3DLong stage, const SurfacePtr& texture) = 0;
    virtual bool SetMaterial(const D3DMATERIAL7& m) = 0;
    virtual bool SetLight(D3DLong index, const D3DLIGHT7& light) = 0;
    virtual bool LightEnable(D3DLong index, bool enable) = 0;
    // A slot never set or enabled reads disabled.
    virtual bool GetLightEnable(D3DLong index) = 0;
    virtual bool DrawPrimitive(D3DLong type, D3DLong fvf, std::span<const std::byte> vertices,
                               D3DLong count, D3DLong flags) = 0;
    virtual bool DrawIndexedPrimitive(D3DLong type, D3DLong fvf,
                                      std::span<const std::byte> vertices, D3DLong count,
                                      std::span<const std::int16_t> indices, D3DLong indexCount,
                                      D3DLong flags) = 0;

    // Typed conveniences over the byte form.
    template <typename V>
    bool DrawPrimitive(D3DLong type, D3DLong fvf, std::span<const V> v, D3DLong count,
                       D3DLong flags) {
        return DrawPrimitive(type, fvf, std::as_bytes(v), count, flags);
    }
    template <typename V>
    bool DrawIndexedPrimitive(D3DLong type, D3DLong fvf, std::span<const V> v, D3DLong count,
                              std::span<const std::int16_t> indices, D3DLong indexCount,
                              D3DLong flags) {
        return DrawIndexedPrimitive(type, fvf, std::as_bytes(v), count, indices, indexCount, flags);
    }
};

}  // namespace brumil::platform
