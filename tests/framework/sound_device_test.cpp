#include <gtest/gtest.h>

#include "framework/maxwell.h"
#include "framework/sound.h"
#include "framework/splib.h"
#include "platform/base/clock.h"
#include "platform/base/headless_window.h"

namespace brumil::framework {
namespace {

// Starts sound on the null output for one test and stops it afterwards.
class SoundOn : public ::testing::Test {
protected:
    void SetUp() override {
        SoundStartOptions o;
        o.nullOutput = true;
        ASSERT_TRUE(SoundStart(o));
    }
    void TearDown() override { SoundStop(); }
};

TEST(FrameworkSound, VolumeStepsMapToTheMasterOffsets) {
    struct Case {
        Long step;
        Long offset;
    };
    const Case cases[] = {{0, 0},   {1, -10},  {2, -20}, {3, -30},
                          {4, -45}, {5, -100}, {-3, 0},  {9, -100}};
    for (const auto& c : cases) {
        SetVolumeLevel(c.step);
        EXPECT_EQ(gVolumeOffset(), c.offset) << c.step;
    }
    SetVolumeLevel(0);
}

TEST(FrameworkSound, NothingIsMadeWhileSoundIsOff) {
    SoundStop();
    EXPECT_FALSE(SoundIsStarted());
    EXPECT_EQ(CreateSoundBuffer(1000, 22050, 16, 1, 0x80), nullptr);
    EXPECT_EQ(gDSPrimaryBuffer(), nullptr);
    EXPECT_EQ(gDSBufferAux(), nullptr);
    SoundStartOptions bad;
    bad.nullOutput = true;
    bad.channels = 6;
    EXPECT_FALSE(SoundStart(bad));
    EXPECT_EQ(gDirectSound(), nullptr);
}

TEST_F(SoundOn, BuffersGetTheBaseFlagsAndAPcmFormat) {
    auto b = CreateSoundBuffer(4410, 22050, 8, 2, 0xC0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Flags(), 0x180C0u);
    EXPECT_EQ(b->Size(), 4410u);
    const platform::PcmFormat f = b->Format();
    EXPECT_EQ(f.formatTag, 1);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.samplesPerSec, 22050u);
    EXPECT_EQ(f.avgBytesPerSec, 44100u);
    EXPECT_EQ(f.blockAlign, 2);
    EXPECT_EQ(f.bitsPerSample, 8);
    EXPECT_EQ(b->SetPan(-10000), platform::SoundResult::Ok);
    EXPECT_EQ(b->SetFrequency(44100), platform::SoundResult::ControlUnavailable);
}

TEST_F(SoundOn, RefusedBuffersAnswerNothing) {
    struct Case {
        Long size, hz, bits, channels, flags;
    };
    const Case cases[] = {{0, 22050, 16, 1, 0},      {-5, 22050, 16, 1, 0},
                          {1000, 22050, 12, 1, 0},   {1000, 22050, 16, 3, 0},
                          {1000, 50, 16, 1, 0},      {1000, 22050, 16, 1, 0x1},
                          {1000, 22050, 70000, 1, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(CreateSoundBuffer(c.size, c.hz, c.bits, c.channels, c.flags), nullptr)
            << c.size << " " << c.bits << " " << c.channels << " " << c.flags;
    }
}

TEST_F(SoundOn, PrimaryReportsTheStartFormatAndTheListenerCommits) {
    platform::PcmFormat f;
    ASSERT_NE(gDSPrimaryBuffer(), nullptr);
    gDSPrimaryBuffer()->GetFormat(f);
    EXPECT_EQ(f.samplesPerSec, 44100u);
    EXPECT_EQ(f.bitsPerSample, 16);
    EXPECT_EQ(f.channels, 2);
    ASSERT_NE(gDSBufferAux(), nullptr);
    gDSBufferAux()->SetPosition(1, 2, 3, platform::k3DDeferred);
    EXPECT_EQ(gDSBufferAux()->CommitDeferredSettings(), platform::SoundResult::Ok);
    EXPECT_EQ(gDSBufferAux()->GetPosition().z, 3.0f);
}

// Releases its buffer when sound terminates, checking that the device is
// still there at that moment.
class BufferHolder : public ILibEvents {
public:
    void xLib_TerminateSound() override {
        deviceAliveAtTerminate = gDirectSound() != nullptr;
        buffer.reset();
    }
    std::unique_ptr<platform::SoundBuffer> buffer;
    bool deviceAliveAtTerminate = false;
};

TEST(FrameworkSound, StopRaisesTerminateSoundBeforeReleasingTheDevice) {
    SoundStartOptions o;
    o.nullOutput = true;
    o.hz = 22050;
    ASSERT_TRUE(SoundStart(o));
    BufferHolder holder;
    LibEventSubscription sub(&holder);
    holder.buffer = CreateSoundBuffer(100, 22050, 16, 1, 0);
    ASSERT_NE(holder.buffer, nullptr);
    SoundStop();
    EXPECT_TRUE(holder.deviceAliveAtTerminate);
    EXPECT_EQ(holder.buffer, nullptr);
    EXPECT_FALSE(SoundIsStarted());
}

// The frame host with the framework's own sound steps: sound comes up with
// Connect when the settings ask for it and goes down with UnConnect, after the
// holders have let go of their buffers.
TEST(FrameworkSound, TheFrameHostStartsAndStopsSound) {
    for (const bool dsInit : {true, false}) {
        SoundStop();
        platform::ManualClock clock;
        CMaxwell host(clock);
        host.Config().ddInit = false;
        host.Config().dsInit = dsInit;
        host.Config().dsHz = 22050;
        MaxwellDevices devices;
        devices.startSound = [](const CMaxwellConfig& c) {
            SoundStartOptions o;
            o.hz = c.dsHz;
            o.bits = c.dsBits;
            o.channels = c.dsChannel;
            o.nullOutput = true;
            return SoundStart(o);
        };
        devices.stopSound = [] { SoundStop(); };
        host.SetDevices(devices);
        ASSERT_TRUE(host.Connect(std::make_unique<platform::HeadlessWindow>(), nullptr));
        EXPECT_EQ(SoundIsStarted(), dsInit);
        if (!dsInit) {
            host.UnConnect();
            continue;
        }
        platform::PcmFormat f;
        gDSPrimaryBuffer()->GetFormat(f);
        EXPECT_EQ(f.samplesPerSec, 22050u);

        BufferHolder holder;
        LibEventSubscription sub(&holder);
        holder.buffer = CreateSoundBuffer(100, 22050, 16, 1, 0);
        ASSERT_NE(holder.buffer, nullptr);
        host.UnConnect();
        EXPECT_TRUE(holder.deviceAliveAtTerminate);
        EXPECT_EQ(holder.buffer, nullptr);
        EXPECT_FALSE(SoundIsStarted());
    }
}

}  // namespace
}  // namespace brumil::framework
