#pragma once
// A device that draws nothing and records every call with its arguments, for
// tests that check the call sequence of the rendering library. Light-enable
// reads answer from the recorded enables; every call succeeds unless told to
// fail.

#include <string>
#include <vector>

#include "platform/gfx/d3d_device.h"

namespace brumil::platform {

struct RecordedCall {
    std::string name;              // "SetRenderState", "DrawPrimitive", ...
    std::vector<D3DLong> args;     // the numeric arguments in call order
    std::vector<float> values;     // floats: clear z, matrix, viewport depths, ...
    std::vector<std::byte> bytes;  // vertices of a draw (count records)
    std::vector<std::int16_t> indices;
    const Surface* texture = nullptr;  // SetTexture's surface (not owned)
};

class RecordingDevice final : public Direct3DDevice7 {
public:
    const std::vector<RecordedCall>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    // Every later call fails (and is still recorded).
    void SetFailing(bool failing) { failing_ = failing; }
    // Calls named `name` only.
    std::vector<RecordedCall> CallsNamed(const std::string& name) const;

    bool BeginScene() override;
    bool EndScene() override;
    bool Clear(std::span<const D3DRECT> rects, D3DLong flags, D3DLong color, float z,
               D3DLong stencil) override;
    bool SetViewport(const D3DVIEWPORT7& vp) override;
    bool GetViewport(D3DVIEWPORT7& vp) override;
    bool SetTransform(D3DLong state, const D3DMATRIX& m) override;
    bool GetTransform(D3DLong state, D3DMATRIX& m) override;
    bool SetRenderState(D3DLong state, D3DLong value) override;
    bool SetTextureStageState(D3DLong stage, D3DLong type, D3DLong value) override;
    bool SetTexture(D3DLong stage, const SurfacePtr& texture) override;
    bool SetMaterial(const D3DMATERIAL7& m) override;
    bool SetLight(D3DLong index, const D3DLIGHT7& light) override;
    bool LightEnable(D3DLong index, bool enable) override;
    bool GetLightEnable(D3DLong index) override;
    bool DrawPrimitive(D3DLong type, D3DLong fvf, std::span<const std::byte> vertices,
                       D3DLong count, D3DLong flags) override;
    bool DrawIndexedPrimitive(D3DLong type, D3DLong fvf, std::span<const std::byte> vertices,
                              D3DLong count, std::span<const std::int16_t> indices,
                              D3DLong indexCount, D3DLong flags) override;
    using Direct3DDevice7::DrawIndexedPrimitive;
    using Direct3DDevice7::DrawPrimitive;

private:
    RecordedCall& Add(std::string name, std::vector<D3DLong> args);

    std::vector<RecordedCall> calls_;
    bool failing_ = false;
    D3DVIEWPORT7 viewport_;
    D3DMATRIX transforms_[3];
    std::vector<bool> lightEnabled_;
};

}  // namespace brumil::platform
