#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/im_device.h"
#include "render_test_env.h"

namespace brumil::render {
namespace {

using testing::RecordedDisplayTest;
using Strings = std::vector<std::string>;

// Stage 1 and the second arguments of stage 0 open every full application.
const Strings kPrologue = {"TSS 0.3=0", "TSS 1.1=1", "TSS 0.6=0", "TSS 1.4=1"};
const Strings kAlphaTestOn = {"RS 15=1", "RS 24=1", "RS 25=7"};

Strings Join(std::initializer_list<Strings> parts) {
    Strings out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct ModeCase {
    Long code;
    Strings expected;  // after the prologue
};

class SetRenderModeWrites : public RecordedDisplayTest {};

TEST_F(SetRenderModeWrites, ExactStateWritesPerCode) {
    const std::vector<ModeCase> cases = {
        // Vertex colour alone.
        {0x0, {"RS 41=0", "RS 27=0", "TSS 0.1=3", "TSS 0.4=3", "TSS 0.2=2", "TSS 0.5=2"}},
        // Texture colour.
        {0x10, {"RS 41=0", "RS 27=0", "TSS 0.1=2", "TSS 0.4=3", "TSS 0.2=2", "TSS 0.5=2"}},
        // Blend by texture alpha.
        {0x90, {"RS 41=0", "RS 27=0", "TSS 0.1=13", "TSS 0.4=3", "TSS 0.2=2", "TSS 0.5=2"}},
        // Alpha blend, modulated alpha, alpha test.
        {0x211, Join({{"RS 41=0", "RS 27=1", "RS 20=6", "RS 19=5", "TSS 0.1=2", "TSS 0.4=4",
                       "TSS 0.2=2", "TSS 0.5=2"},
                      kAlphaTestOn})},
        // Source-alpha additive.
        {0x215, Join({{"RS 41=0", "RS 27=1", "RS 20=2", "RS 19=5", "TSS 0.1=2", "TSS 0.4=4",
                       "TSS 0.2=2", "TSS 0.5=2"},
                      kAlphaTestOn})},
        {0x251, Join({{"RS 41=0", "RS 27=1", "RS 20=6", "RS 19=5", "TSS 0.1=7", "TSS 0.4=4",
                       "TSS 0.2=2", "TSS 0.5=2"},
                      kAlphaTestOn})},
        {0x255, Join({{"RS 41=0", "RS 27=1", "RS 20=2", "RS 19=5", "TSS 0.1=7", "TSS 0.4=4",
                       "TSS 0.2=2", "TSS 0.5=2"},
                      kAlphaTestOn})},
        // Texture factor colour, flat.
        {0x3010, {"RS 41=0", "RS 27=0", "TSS 0.1=2", "TSS 0.4=3", "TSS 0.2=3", "TSS 0.5=3"}},
        // Colour operation field past the table: left as it was.
        {0xC0, {"RS 41=0", "RS 27=0", "TSS 0.4=3", "TSS 0.2=2", "TSS 0.5=2"}},
        // Alpha operation field past the table: left, but the alpha test goes on.
        {0x300,
         Join({{"RS 41=0", "RS 27=0", "TSS 0.1=3", "TSS 0.2=2", "TSS 0.5=2"}, kAlphaTestOn})},
        // Argument field past the table: both arguments left.
        {0x4000, {"RS 41=0", "RS 27=0", "TSS 0.1=3", "TSS 0.4=3"}},
        // Colour key with one-to-one additive blending.
        {0x1C,
         {"RS 41=1", "RS 27=1", "RS 20=2", "RS 19=2", "TSS 0.1=2", "TSS 0.4=3", "TSS 0.2=2",
          "TSS 0.5=2"}},
        // Selector 2 keeps the target: zero times source, one times target.
        {0x12,
         {"RS 41=0", "RS 27=1", "RS 20=2", "RS 19=1", "TSS 0.1=2", "TSS 0.4=3", "TSS 0.2=2",
          "TSS 0.5=2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        CIMDevice device;
        recorder_->ClearCalls();
        device.SetRenderMode(c.code);
        EXPECT_EQ(Calls(), Join({kPrologue, c.expected}));
        EXPECT_EQ(device.LastRenderMode(), c.code);
    }
}

TEST_F(SetRenderModeWrites, LeAppliesOnceAndAgainOnlyAfterTheDeviceWasRemade) {
    CIMDevice device;
    EXPECT_EQ(device.SetRenderModeLE(0x10), 0);
    EXPECT_FALSE(recorder_->Calls().empty());
    recorder_->ClearCalls();
    device.SetRenderModeLE(0x10);
    EXPECT_TRUE(recorder_->Calls().empty());
    // Another code is applied in full.
    device.SetRenderModeLE(0x211);
    EXPECT_EQ(Calls().front(), kPrologue.front());
    // The device is made again: the same code is sent again, once.
    ASSERT_TRUE(framework::DisplayStart(framework::DisplaySettings{}));
    InstallRecorder();
    framework::gD3DCaps().CapsAlphaGreaterEqual = true;
    device.SetRenderModeLE(0x211);
    EXPECT_EQ(recorder_->CallsNamed("SetTextureStageState").size(), 8u);
    recorder_->ClearCalls();
    device.SetRenderModeLE(0x211);
    EXPECT_TRUE(recorder_->Calls().empty());
}

TEST_F(SetRenderModeWrites, SecondStageForcesStageZeroToBeRewritten) {
    CIMDevice device;
    device.SetRenderModeLE(0x10);
    recorder_->ClearCalls();
    device.SetRenderModeSecondStage(0x1020);
    EXPECT_EQ(Calls(), (Strings{"TSS 1.3=1", "TSS 2.1=1", "TSS 1.6=1", "TSS 2.4=1", "TSS 1.1=4",
                                "TSS 1.4=3", "TSS 1.2=0", "TSS 1.5=0"}));
    recorder_->ClearCalls();
    device.SetRenderModeLE(0x10);
    EXPECT_EQ(Calls().size(), kPrologue.size() + 6);
    // Without multi-texturing the stage-1 code sends nothing and keeps the cache.
    framework::gD3DCaps().CapsMultiTexture = false;
    recorder_->ClearCalls();
    device.SetRenderModeSecondStage(0x1020);
    device.SetRenderModeLE(0x10);
    EXPECT_TRUE(recorder_->Calls().empty());
}

TEST_F(SetRenderModeWrites, AlphaTestOnlyOnChangeAndOnlyWithTheCapability) {
    struct Step {
        bool on;
        Strings expected;
    };
    const std::vector<Step> steps = {
        {true, kAlphaTestOn}, {true, {}}, {false, {"RS 15=0"}}, {false, {}}, {true, kAlphaTestOn},
    };
    CIMDevice device;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        recorder_->ClearCalls();
        device.SetAlphaCmpMode(steps[i].on);
        EXPECT_EQ(Calls(), steps[i].expected);
        EXPECT_EQ(device.AlphaTestEnabled(), steps[i].on);
    }
    // A device that cannot compare greater-or-equal is never asked.
    framework::gD3DCaps().CapsAlphaGreaterEqual = false;
    CIMDevice plain;
    recorder_->ClearCalls();
    plain.SetAlphaCmpMode(true);
    plain.SetRenderMode(0x211);
    EXPECT_EQ(recorder_->CallsNamed("SetRenderState").size(), 4u);  // no alpha test
    EXPECT_FALSE(plain.AlphaTestEnabled());
}

TEST_F(SetRenderModeWrites, ANewDeviceIsGivenTheAlphaTestAgain) {
    // The state before the device is made again, the code drawn after it,
    // and the alpha-test writes the new device must receive.
    struct Case {
        const char* name;
        Long before, after;
        Strings expected;
    };
    const std::vector<Case> cases = {
        {"test on, then on again", 0x211, 0x211, kAlphaTestOn},
        {"test on, then another code with the test", 0x211, 0x214, kAlphaTestOn},
        {"test off, then on", 0x10, 0x215, kAlphaTestOn},
        // A fresh device has the test off: nothing to switch off.
        {"test on, then a code without it", 0x211, 0x10, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CIMDevice device;
        device.SetRenderModeLE(c.before);
        ASSERT_TRUE(framework::DisplayStart(framework::DisplaySettings{}));
        InstallRecorder();
        framework::gD3DCaps().CapsAlphaGreaterEqual = true;
        device.SetRenderModeLE(c.after);
        Strings alphaTest;
        for (const auto& call : Calls()) {
            if (call.rfind("RS 15=", 0) == 0 || call.rfind("RS 24=", 0) == 0 ||
                call.rfind("RS 25=", 0) == 0) {
                alphaTest.push_back(call);
            }
        }
        EXPECT_EQ(alphaTest, c.expected);
        EXPECT_EQ(device.AlphaTestEnabled(), (c.after & 0xF00) != 0);
    }
}

TEST_F(SetRenderModeWrites, SingleStateSettersFollowTheCapabilities) {
    struct Case {
        const char* name;
        void (*call)(CIMDevice&);
        void (*caps)(platform::D3DCaps&, Long&);
        Strings expected;
    };
    const auto none = [](platform::D3DCaps&, Long&) {};
    const std::vector<Case> cases = {
        {"ambient forces alpha",
         [](CIMDevice& d) { d.SetAmbient(0x123456); },
         none,
         {"RS 139=" + std::to_string(static_cast<Long>(0xFF123456u))}},
        {"dither on 32 bits", [](CIMDevice& d) { d.SetDitherMode(true); }, none, {"RS 26=0"}},
        {"dither on 16 bits",
         [](CIMDevice& d) { d.SetDitherMode(true); },
         [](platform::D3DCaps&, Long& bits) { bits = 16; },
         {"RS 26=1"}},
        {"dither without the capability",
         [](CIMDevice& d) { d.SetDitherMode(true); },
         [](platform::D3DCaps& c, Long& bits) {
             bits = 16;
             c.CapsDither = false;
         },
         {"RS 26=0"}},
        {"culling 0 and 4 ignored",
         [](CIMDevice& d) {
             d.SetCullingMode(0);
             d.SetCullingMode(4);
             d.SetCullingMode(3);
         },
         none,
         {"RS 22=3"}},
        {"filter linear",
         [](CIMDevice& d) { d.SetFilterMode(true); },
         none,
         {"TSS 0.16=2", "TSS 0.17=2"}},
        {"filter without linear capability",
         [](CIMDevice& d) { d.SetFilterMode(true); },
         [](platform::D3DCaps& c, Long&) { c.CapsFilterLevel = 0; },
         {"TSS 0.16=1", "TSS 0.17=1"}},
        {"second-stage filter needs multi-texturing",
         [](CIMDevice& d) { d.SetFilterModeSecondStage(true); },
         [](platform::D3DCaps& c, Long&) { c.CapsMultiTexture = false; },
         {}},
        {"anti-aliasing and its per-object switch",
         [](CIMDevice& d) {
             d.SetAntiAreasMode(true);
             d.SetAntiAreasModeSub(true);
             d.SetAntiAreasModeSub(false);
         },
         none,
         {"RS 2=2", "RS 2=2", "RS 2=0"}},
        {"anti-aliasing needs level 2",
         [](CIMDevice& d) {
             d.SetAntiAreasMode(true);
             d.SetAntiAreasModeSub(true);
         },
         [](platform::D3DCaps& c, Long&) { c.CapsAntiAliasLevel = 1; },
         {"RS 2=0", "RS 2=0"}},
        {"shade, z, light, factor",
         [](CIMDevice& d) {
             d.SetShadeMode(false);
             d.SetZBufferMode(true);
             d.SetZBufferWriteMode(false);
             d.SetLightMode(true);
             d.SetFactorColor(0x7F);
         },
         none,
         {"RS 9=1", "RS 7=1", "RS 14=0", "RS 137=1", "RS 60=127"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto caps = framework::gD3DCaps();
        Long bits = 32;
        c.caps(framework::gD3DCaps(), bits);
        framework::gPixelBits() = bits;
        CIMDevice device;
        recorder_->ClearCalls();
        c.call(device);
        EXPECT_EQ(Calls(), c.expected);
        framework::gD3DCaps() = caps;
    }
}

}  // namespace
}  // namespace brumil::render
