#include "frontend/screen_host.h"

#include "framework/display.h"
#include "framework/input_module.h"
#include "framework/maxwell.h"
#include "render/admin_lib.h"
#include "render/graphics.h"
#include "render/im_texture.h"

namespace brumil::frontend {

framework::CMaxwell* PlatformScreenHost::FrameHost() {
    return framework::gMaxwell().get();
}

bool PlatformScreenHost::PaintDisable() {
    const auto& host = framework::gMaxwell();
    return host && host->Config().PaintDisable;
}

void PlatformScreenHost::RePaint() {
    if (auto& host = framework::gMaxwell()) host->RePaint();
}

Long PlatformScreenHost::GetRenderLevel() {
    return framework::GetRenderLevel();
}

Single PlatformScreenHost::GetDrawScale() {
    return framework::GetDrawScale();
}

platform::Surface* PlatformScreenHost::BackSurface() {
    return framework::gBackDDS().get();
}

Long PlatformScreenHost::GetJoystickCount() {
    return framework::GetJoystickCount();
}

void PlatformScreenHost::SetupJoysticks() {
    framework::DirectInputSetupJoysticks();
}

Long PlatformScreenHost::WaitInputCode(Long device) {
    return framework::WaitInputCode(device);
}

std::shared_ptr<const image::CmgBBI> PlatformScreenHost::TexturePicture(std::string_view name) {
    std::shared_ptr<render::CGraphics> graphic = render::gIMTexture().ItemAs(name);
    if (!graphic) return std::make_shared<const image::CmgBBI>();
    // The picture lives as long as its graphic does, whatever the cache does.
    return std::shared_ptr<const image::CmgBBI>(graphic, &graphic->Image);
}

}  // namespace brumil::frontend
