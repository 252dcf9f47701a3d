#pragma once
// A host for the scene object over a recording device, with a render level,
// screen size and frame-copy log that tests set and read.

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/recording_device.h"
#include "render/ark_host.h"

namespace brumil::render::testing {

class FakeArkHost final : public ArkHost {
public:
    std::shared_ptr<platform::Direct3DDevice7> device =
        std::make_shared<platform::RecordingDevice>();
    bool hasDevice = true;
    Long level = 1;
    Long width = 640, height = 480;
    bool noDoubleZBuffer = false;
    bool backAlive = true;
    // The wrapper calls and frame copies in order, e.g. "ModeLE 12304".
    std::vector<std::string> log;

    platform::RecordingDevice& Recorder() {
        return static_cast<platform::RecordingDevice&>(*device);
    }

    platform::Direct3DDevice7* Device() override { return hasDevice ? device.get() : nullptr; }
    Long RenderLevel() override { return level; }
    Long ScreenWidth() override { return width; }
    Long ScreenHeight() override { return height; }
    bool NoDoubleZBuffer() override { return noDoubleZBuffer; }
    bool BackSurfaceAlive() override { return backAlive; }
    void CopyWorkSurface(Long mode) override { log.push_back("Copy " + std::to_string(mode)); }
    void SetRenderModeLE(Long code) override { log.push_back("ModeLE " + std::to_string(code)); }
    void SetRenderMode(Long code) override { log.push_back("Mode " + std::to_string(code)); }
    void SetFactorColor(Long color) override { log.push_back("Factor " + std::to_string(color)); }
    void SceneBreak() override { log.push_back("Break"); }
    void SceneRestore() override { log.push_back("Restore"); }
};

}  // namespace brumil::render::testing
