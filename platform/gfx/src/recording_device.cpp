#include "platform/gfx/recording_device.h"

#include <algorithm>

namespace brumil::platform {

RecordedCall& RecordingDevice::Add(std::string name, std::vector<D3DLong> args) {
    RecordedCall c;
    c.name = std::move(name);
    c.args = std::move(args);
    calls_.push_back(std::move(c));
    return calls_.back();
}

std::vector<RecordedCall> RecordingDevice::CallsNamed(const std::string& name) const {
    std::vector<RecordedCall> out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
                 [&](const RecordedCall& c) { return c.name == name; });
    return out;
}

bool RecordingDevice::BeginScene() {
    Add("BeginScene", {});
    return !failing_;
}

bool RecordingDevice::EndScene() {
    Add("EndScene", {});
    return !failing_;
}

bool RecordingDevice::Clear(std::span<const D3DRECT> rects, D3DLong flags, D3DLong color, float z,
                            D3DLong stencil) {
    auto& c = Add("Clear", {static_cast<D3DLong>(rects.size()), flags, color, stencil});
    c.values.push_back(z);
    for (const auto& r : rects) c.args.insert(c.args.end(), {r.x1, r.y1, r.x2, r.y2});
    return !failing_;
}

bool RecordingDevice::SetViewport(const D3DVIEWPORT7& vp) {
    auto& c = Add("SetViewport", {vp.lX, vp.lY, vp.lWidth, vp.lHeight});
    c.values = {vp.minz, vp.maxz};
    if (failing_) return false;
    viewport_ = vp;
    return true;
}

bool RecordingDevice::GetViewport(D3DVIEWPORT7& vp) {
    Add("GetViewport", {});
    if (failing_) return false;
    vp = viewport_;
    return true;
}

bool RecordingDevice::SetTransform(D3DLong state, const D3DMATRIX& m) {
    auto& c = Add("SetTransform", {state});
    c.values.assign(&m.rc11, &m.rc11 + 16);
    if (failing_ || state < 1 || state > 3) return false;
    transforms_[state - 1] = m;
    return true;
}

bool RecordingDevice::GetTransform(D3DLong state, D3DMATRIX& m) {
    Add("GetTransform", {state});
    if (failing_ || state < 1 || state > 3) return false;
    m = transforms_[state - 1];
    return true;
}

bool RecordingDevice::SetRenderState(D3DLong state, D3DLong value) {
    Add("SetRenderState", {state, value});
    return !failing_;
}

bool RecordingDevice::SetTextureStageState(D3DLong stage, D3DLong type, D3DLong value) {
    Add("SetTextureStageState", {stage, type, value});
    return !failing_;
}

bool RecordingDevice::SetTexture(D3DLong stage, const SurfacePtr& texture) {
    Add("SetTexture", {stage}).texture = texture.get();
    return !failing_;
}

bool RecordingDevice::SetMaterial(const D3DMATERIAL7& m) {
    auto& c = Add("SetMaterial", {});
    for (const auto* v : {&m.diffuse, &m.ambient, &m.specular, &m.emissive}) {
        c.values.insert(c.values.end(), {v->r, v->g, v->b, v->a});
    }
    c.values.push_back(m.power);
    return !failing_;
}

bool RecordingDevice::SetLight(D3DLong index, const D3DLIGHT7& l) {
    auto& c = Add("SetLight", {index, l.dltType});
    c.values = {l.diffuse.r,    l.diffuse.g,    l.diffuse.b,   l.position.x,
                l.position.y,   l.position.z,   l.direction.x, l.direction.y,
                l.direction.z,  l.range,        l.falloff,     l.attenuation0,
                l.attenuation1, l.attenuation2, l.theta,       l.phi};
    return !failing_;
}

bool RecordingDevice::LightEnable(D3DLong index, bool enable) {
    Add("LightEnable", {index, enable ? 1 : 0});
    if (failing_ || index < 0 || index > 4095) return false;
    if (static_cast<std::size_t>(index) >= lightEnabled_.size()) lightEnabled_.resize(index + 1);
    lightEnabled_[index] = enable;
    return true;
}

bool RecordingDevice::GetLightEnable(D3DLong index) {
    Add("GetLightEnable", {index});
    return index >= 0 && static_cast<std::size_t>(index) < lightEnabled_.size() &&
           lightEnabled_[index];
}

bool RecordingDevice::DrawPrimitive(D3DLong type, D3DLong fvf, std::span<const std::byte> v,
                                    D3DLong count, D3DLong flags) {
    auto& c = Add("DrawPrimitive", {type, fvf, count, flags});
    const std::size_t n = std::min<std::size_t>(v.size(), std::max<D3DLong>(count, 0) * 32u);
    c.bytes.assign(v.begin(), v.begin() + n);
    return !failing_;
}

bool RecordingDevice::DrawIndexedPrimitive(D3DLong type, D3DLong fvf, std::span<const std::byte> v,
                                           D3DLong count, std::span<const std::int16_t> indices,
                                           D3DLong indexCount, D3DLong flags) {
    auto& c = Add("DrawIndexedPrimitive", {type, fvf, count, indexCount, flags});
    const std::size_t n = std::min<std::size_t>(v.size(), std::max<D3DLong>(count, 0) * 32u);
    c.bytes.assign(v.begin(), v.begin() + n);
    const std::size_t ni = std::min<std::size_t>(indices.size(), std::max<D3DLong>(indexCount, 0));
    c.indices.assign(indices.begin(), indices.begin() + ni);
    return !failing_;
}

}  // namespace brumil::platform
