#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/base/files.h"
#include "platform/sound/sound_device.h"
#include "temp_root.h"

namespace brumil::platform {
namespace {

struct Rig {
    std::unique_ptr<SoundDevice> device;
    std::unique_ptr<SoundBuffer> buffer;
    std::unique_ptr<Sound3DBuffer> b3d;
};

// A looping 3D buffer holding a constant 16000.
Rig Make3D() {
    Rig r;
    SoundDeviceOptions o;
    o.output = SoundOutputKind::Null;
    r.device = SoundDevice::Open(o);
    SoundBufferDesc d;
    d.flags = kBufferCtrl3D | kBufferCtrlVolume;
    d.bufferBytes = 64;
    d.format = PcmFormat::Make(44100, 16, 1);
    r.buffer = r.device->CreateBuffer(d);
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 32; ++i) {
        bytes.push_back(0x80);  // 16000 = 0x3E80
        bytes.push_back(0x3E);
    }
    r.buffer->Write(0, bytes);
    r.buffer->Play(kPlayLooping);
    r.b3d = r.buffer->Get3DBuffer();
    return r;
}

std::pair<int, int> Frame(SoundDevice& d) {
    const auto out = d.RenderFrames(1);
    return {out[0], out[1]};
}

TEST(Sound3D, DistanceGainFollowsMinimumAndMaximumDistance) {
    struct Case {
        float z;
        float minD;
        float maxD;
        double gain;
    };
    const Case cases[] = {
        {0.5f, 1, 32, 1.0}, {1, 1, 32, 1.0},        {2, 1, 32, 0.5},
        {4, 1, 32, 0.25},   {100, 1, 32, 1 / 32.0}, {10, 5, 100, 0.5},
    };
    for (const auto& c : cases) {
        Rig r = Make3D();
        ASSERT_TRUE(r.b3d);
        r.b3d->SetMinDistance(c.minD, k3DImmediate);
        r.b3d->SetMaxDistance(c.maxD, k3DImmediate);
        r.b3d->SetPosition(0, 0, c.z, k3DImmediate);
        const auto [l, rr] = Frame(*r.device);
        EXPECT_NEAR(l, 16000 * c.gain, 1.0) << c.z;
        EXPECT_NEAR(rr, 16000 * c.gain, 1.0) << c.z;
    }
}

TEST(Sound3D, ASourceToTheRightQuietensTheLeftSide) {
    Rig r = Make3D();
    r.b3d->SetPosition(1, 0, 0, k3DImmediate);  // at the minimum distance, fully right
    auto [l, rr] = Frame(*r.device);
    EXPECT_EQ(rr, 16000);
    EXPECT_EQ(l, 8000);
    r.b3d->SetPosition(-0.6f, 0, 0.8f, k3DImmediate);
    std::tie(l, rr) = Frame(*r.device);
    EXPECT_EQ(l, 16000);
    EXPECT_EQ(rr, 11200);  // 1 - 0.5 x 0.6
}

TEST(Sound3D, DeferredSettingsWaitForTheListenerCommit) {
    Rig r = Make3D();
    Sound3DListener& listener = r.device->Listener();
    r.b3d->SetPosition(0, 0, 4, k3DDeferred);
    EXPECT_EQ(r.b3d->GetPosition().z, 4.0f);   // the latest value is reported
    EXPECT_EQ(Frame(*r.device).first, 16000);  // not heard yet
    ASSERT_EQ(listener.CommitDeferredSettings(), SoundResult::Ok);
    EXPECT_EQ(Frame(*r.device).first, 4000);

    listener.SetPosition(0, 0, 2, k3DDeferred);
    EXPECT_EQ(Frame(*r.device).first, 4000);
    listener.CommitDeferredSettings();
    EXPECT_EQ(Frame(*r.device).first, 8000);  // now 2 away

    listener.SetRolloffFactor(0.0f, k3DImmediate);  // no fall-off at all
    EXPECT_EQ(Frame(*r.device).first, 16000);
}

TEST(Sound3D, InvalidValuesAreRefused) {
    Rig r = Make3D();
    EXPECT_EQ(r.b3d->SetMinDistance(0, k3DImmediate), SoundResult::InvalidParam);
    EXPECT_EQ(r.b3d->SetMaxDistance(-1, k3DImmediate), SoundResult::InvalidParam);
    EXPECT_EQ(r.b3d->SetPosition(0, 0, 1, 7), SoundResult::InvalidParam);
    EXPECT_EQ(r.b3d->SetVelocity(std::nanf(""), 0, 0, k3DImmediate), SoundResult::InvalidParam);
    EXPECT_EQ(r.device->Listener().SetRolloffFactor(11, k3DImmediate), SoundResult::InvalidParam);
    EXPECT_EQ(r.b3d->GetMinDistance(), 1.0f);
    ASSERT_EQ(r.b3d->SetVelocity(1, 2, 3, k3DDeferred), SoundResult::Ok);
    EXPECT_EQ(r.b3d->GetVelocity().y, 2.0f);
}

TEST(SoundBufferFile, SaveToFileWritesACanonicalWav) {
    testing::TempDataRoot root;
    SoundDeviceOptions o;
    o.output = SoundOutputKind::Null;
    auto d = SoundDevice::Open(o);
    SoundBufferDesc desc;
    desc.bufferBytes = 1000;
    desc.format = PcmFormat::Make(44100, 16, 2);
    auto b = d->CreateBuffer(desc);
    const std::vector<std::uint8_t> head = {1, 2, 3, 4};
    b->Write(0, head);
    ASSERT_EQ(b->SaveToFile("\\out.wav"), SoundResult::Ok);
    const auto file = ReadFile("\\out.wav");
    ASSERT_TRUE(file);
    ASSERT_EQ(file->size(), 1044u);
    auto u32 = [&](std::size_t at) {
        return (*file)[at] | (*file)[at + 1] << 8 | (*file)[at + 2] << 16 |
               static_cast<std::uint32_t>((*file)[at + 3]) << 24;
    };
    EXPECT_EQ(std::string(file->begin(), file->begin() + 4), "RIFF");
    EXPECT_EQ(u32(4), 1036u);
    EXPECT_EQ(std::string(file->begin() + 8, file->begin() + 16), "WAVEfmt ");
    EXPECT_EQ(u32(16), 16u);
    EXPECT_EQ(u32(24), 44100u);
    EXPECT_EQ(u32(28), 176400u);
    EXPECT_EQ((*file)[32], 4);
    EXPECT_EQ((*file)[34], 16);
    EXPECT_EQ(u32(40), 1000u);
    EXPECT_EQ((*file)[44], 1);
    EXPECT_EQ((*file)[47], 4);
}

}  // namespace
}  // namespace brumil::platform
