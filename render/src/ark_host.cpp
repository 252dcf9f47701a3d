// The scene object's host over the framework's display state and the shared
// device wrapper.
#include "render/ark_host.h"

#include "framework/display.h"
#include "render/admin_lib.h"
#include "render/im_device.h"

namespace brumil::render {

namespace {

class FrameworkHost final : public ArkHost {
public:
    platform::Direct3DDevice7* Device() override { return framework::gD3DDevice().get(); }
    Long RenderLevel() override { return framework::GetRenderLevel(); }
    Long ScreenWidth() override { return framework::gScreenWidth(); }
    Long ScreenHeight() override { return framework::gScreenHeight(); }
    bool NoDoubleZBuffer() override { return framework::gNoDoubleZBuffer(); }
    bool BackSurfaceAlive() override { return framework::IsDDSAlive(framework::gBackDDS()); }
    void CopyWorkSurface(Long mode) override { framework::GetWorkDDS(mode); }

    void SetRenderModeLE(Long code) override { gIMDevice().SetRenderModeLE(code); }
    void SetRenderMode(Long code) override { gIMDevice().SetRenderMode(code); }
    void SetFactorColor(Long color) override { gIMDevice().SetFactorColor(color); }
    void SceneBreak() override { gIMDevice().SceneBreak(); }
    void SceneRestore() override { gIMDevice().SceneRestore(); }
};

}  // namespace

ArkHost& FrameworkArkHost() {
    static FrameworkHost host;
    return host;
}

}  // namespace brumil::render
