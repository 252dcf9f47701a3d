#pragma once
// Fixtures of the tests that draw: a started headless display with its software
// device, optionally replaced by a recording device, and a compact text form
// of recorded calls.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/display.h"
#include "platform/gfx/recording_device.h"
#include "render/admin_lib.h"
#include "render/im_texture.h"

namespace brumil::render::testing {

// "RS state=value", "TSS stage.type=value", "SetTexture stage", "Clear
// flags", "BeginScene", "EndScene", ... in call order.
inline std::vector<std::string> Describe(const std::vector<platform::RecordedCall>& calls) {
    std::vector<std::string> out;
    for (const auto& c : calls) {
        if (c.name == "SetRenderState") {
            out.push_back("RS " + std::to_string(c.args[0]) + "=" + std::to_string(c.args[1]));
        } else if (c.name == "SetTextureStageState") {
            out.push_back("TSS " + std::to_string(c.args[0]) + "." + std::to_string(c.args[1]) +
                          "=" + std::to_string(c.args[2]));
        } else if (c.name == "SetTexture") {
            out.push_back("SetTexture " + std::to_string(c.args.at(0)) +
                          (c.texture ? "" : " nothing"));
        } else if (c.name == "Clear") {
            out.push_back("Clear " + std::to_string(c.args[1]));
        } else {
            out.push_back(c.name);
        }
    }
    return out;
}

// A running 640x480 display on the software device; the texture cache is
// emptied around each test.
class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(framework::DisplayStart(Settings()));
        gIMTexture().Clear();
    }
    void TearDown() override {
        gIMTexture().Clear();
        framework::DisplayStop();
    }
    virtual framework::DisplaySettings Settings() const { return {}; }
};

// The same display with its device replaced by a recorder that can do
// everything the wrapper asks about.
class RecordedDisplayTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        InstallRecorder();
        auto& caps = framework::gD3DCaps();
        caps.CapsAlphaGreaterEqual = true;
        caps.CapsMultiTexture = true;
        caps.CapsFilterLevel = 2;
        caps.CapsAntiAliasLevel = 2;
        caps.CapsDither = true;
    }
    void InstallRecorder() {
        recorder_ = std::make_shared<platform::RecordingDevice>();
        framework::gD3DDevice() = recorder_;
    }
    std::vector<std::string> Calls() const { return Describe(recorder_->Calls()); }

    std::shared_ptr<platform::RecordingDevice> recorder_;
};

}  // namespace brumil::render::testing
