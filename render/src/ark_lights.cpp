// CIMArk: light and material records, and the calls that put lights, the
// ambient colour and the world matrix on the device.
#include "render/ark.h"

namespace brumil::render {

void CIMArk::SetLight(const D3DLIGHT7& light, Long slot, bool enable) {
    if (auto* device = Device()) {
        device->SetLight(slot, light);
        device->LightEnable(slot, enable);
    }
    ChangedLight = true;
}

void CIMArk::SetLightEnable(Long slot, bool enable) {
    auto* device = Device();
    if (device == nullptr) return;
    if (device->GetLightEnable(slot) == enable) return;
    device->LightEnable(slot, enable);
    ChangedLight = true;
}

void CIMArk::SetLightAmbient(Long color) {
    if (auto* device = Device()) device->SetRenderState(platform::D3DRENDERSTATE_AMBIENT, color);
}

void CIMArk::InstantTransform(const D3DMATRIX& world) {
    if (auto* device = Device()) device->SetTransform(platform::D3DTRANSFORMSTATE_WORLD, world);
}

namespace {

// The attenuation of the brim and spot lights.
void SoftAttenuation(D3DLIGHT7& l) {
    l.attenuation0 = 0.75f;
    l.attenuation1 = 0.075f;
    l.attenuation2 = 0.0075f;
}

}  // namespace

D3DLIGHT7 CIMArk::Get_Light_BrimLight(const D3DVECTOR& position, Single scale, Single r, Single g,
                                      Single b, Single range) {
    D3DLIGHT7 l;
    l.dltType = platform::D3DLIGHT_POINT;
    l.diffuse = {scale * r, scale * g, scale * b, 0};
    l.position = position;
    l.range = range;
    SoftAttenuation(l);
    return l;
}

D3DLIGHT7 CIMArk::Get_Light_PointLight(const D3DVECTOR& position, Single r, Single g, Single b,
                                       Single k) {
    D3DLIGHT7 l;
    l.dltType = platform::D3DLIGHT_POINT;
    l.diffuse = {r, g, b, 0};
    l.position = position;
    l.range = 100;
    l.attenuation0 = k;
    l.attenuation1 = static_cast<Single>(0.1 * k);
    l.attenuation2 = static_cast<Single>(0.01 * k);
    return l;
}

D3DLIGHT7 CIMArk::Get_Light_SpotLight(const D3DVECTOR& position, const D3DVECTOR& direction,
                                      Single r, Single g, Single b, Single angle) {
    D3DLIGHT7 l;
    l.dltType = platform::D3DLIGHT_SPOT;
    l.diffuse = {r, g, b, 0};
    l.position = position;
    l.direction = direction;
    l.range = 100;
    l.falloff = 1;
    SoftAttenuation(l);
    l.phi = static_cast<Single>(angle * 3.141592);
    l.theta = static_cast<Single>(0.25 * l.phi);
    return l;
}

D3DLIGHT7 CIMArk::Get_Light_DirectionalLight(Single dx, Single dy, Single dz, Single r, Single g,
                                             Single b) {
    D3DLIGHT7 l;
    l.dltType = platform::D3DLIGHT_DIRECTIONAL;
    l.diffuse = {r, g, b, 0};
    l.direction = {dx, dy, dz};
    return l;
}

D3DMATERIAL7 CIMArk::Get_Material(Single dr, Single dg, Single db, Single er, Single eg, Single eb,
                                  Single ar, Single ag, Single ab) {
    D3DMATERIAL7 m;
    m.diffuse = {dr, dg, db, 0};
    m.emissive = {er, eg, eb, 0};
    m.ambient = {ar, ag, ab, 0};
    return m;
}

}  // namespace brumil::render
