// CIMArk: the demonstration scene, twelve lit boxes on a ring that turns and
// bobs from call to call. Nothing in the game calls it.
#include <cmath>

#include "render/ark.h"

namespace brumil::render {

void CIMArk::SampleDrawD3DSolid36() {
    if (!host_.BackSurfaceAlive()) return;
    vFrom(Get_v(0, 10, -30));
    vTo(Get_vTo(vFrom(), 0, 3.141592f * 0.1f));
    vUp(Get_v(0, 1, 0));
    roll(0);
    SettingProperty();

    host_.SetRenderMode(0x70);
    auto* device = Device();
    if (device != nullptr) {
        device->SetRenderState(platform::D3DRENDERSTATE_LIGHTING, 1);
        device->SetRenderState(platform::D3DRENDERSTATE_AMBIENT, static_cast<Long>(0xFF808080u));
        D3DLIGHT7 light;
        light.dltType = platform::D3DLIGHT_DIRECTIONAL;
        light.diffuse = {1, 1, 1, 0};
        light.specular = {1, 1, 1, 0};
        light.direction = {0, -0.1f, 0};
        device->SetLight(0, light);
        device->LightEnable(0, true);
        D3DMATERIAL7 material;
        material.diffuse = {1, 0.75f, 1, 0};
        material.ambient = {0.5f, 0.25f, 0.5f, 1};
        material.specular = {1, 0.5f, 1, 0};
        material.emissive = {0.1f, 0.1f, 0.1f, 0};
        material.power = 10;
        device->SetMaterial(material);
    }

    std::vector<D3DVERTEX> box;
    Primitive().GetD3DVERTEX_solid36(box, 1.5f);
    sampleA_ += 0.4f;
    sampleB_ += 0.0002f;
    const Single a = sampleA_, b = sampleB_;
    for (int i = 11; i >= 0; --i) {
        const double e = 0.5235 * i;
        const D3DMATRIX world = Get_Transform(static_cast<Single>(7 * std::sin(e + a / 20.0)),
                                              static_cast<Single>(2 * std::cos(e + b)),
                                              static_cast<Single>(7 * std::cos(e + a / 20.0)),
                                              a / 10, -1.5f * a / 10, a / 10, 1, 1, 1);
        InstantTransform(world);
        DrawD3DVertex(platform::D3DPT_TRIANGLELIST, box, 0, 36);
    }
    if (device != nullptr) device->LightEnable(0, false);
}

}  // namespace brumil::render
