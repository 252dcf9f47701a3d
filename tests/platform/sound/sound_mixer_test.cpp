#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/sound/sound_device.h"

namespace brumil::platform {
namespace {

constexpr std::uint32_t kAllControls =
    kBufferCtrlVolume | kBufferCtrlPan | kBufferCtrlFrequency | kBufferGlobalFocus;

std::unique_ptr<SoundDevice> NullDevice(std::uint32_t hz = 44100) {
    SoundDeviceOptions o;
    o.hz = hz;
    o.output = SoundOutputKind::Null;
    auto d = SoundDevice::Open(o);
    EXPECT_TRUE(d && d->IsNullOutput());
    return d;
}

std::vector<std::uint8_t> Bytes16(const std::vector<std::int16_t>& s) {
    std::vector<std::uint8_t> b(s.size() * 2);
    std::memcpy(b.data(), s.data(), b.size());
    return b;
}

// A 16-bit buffer holding `samples`, with the given controls.
std::unique_ptr<SoundBuffer> Make16(SoundDevice& d, const std::vector<std::int16_t>& samples,
                                    std::uint16_t channels = 1, std::uint32_t flags = kAllControls,
                                    std::uint32_t hz = 44100) {
    SoundBufferDesc desc;
    desc.flags = flags;
    desc.bufferBytes = static_cast<std::uint32_t>(samples.size() * 2);
    desc.format = PcmFormat::Make(hz, 16, channels);
    auto b = d.CreateBuffer(desc);
    EXPECT_TRUE(b);
    if (b) {
        EXPECT_EQ(b->Write(0, Bytes16(samples)), SoundResult::Ok);
    }
    return b;
}

std::vector<std::int16_t> Ramp(int n, int start = 100, int step = 100) {
    std::vector<std::int16_t> s(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        s[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(start + i * step);
    return s;
}

std::uint32_t Status(const SoundBuffer& b) {
    std::uint32_t s = 0;
    EXPECT_EQ(b.GetStatus(s), SoundResult::Ok);
    return s;
}

TEST(SoundMixer, MonoPlayedOnceComesOutUnchangedOnBothSidesAndStops) {
    auto d = NullDevice();
    const auto samples = Ramp(64, -3200, 97);
    auto b = Make16(*d, samples);
    ASSERT_EQ(b->Play(0), SoundResult::Ok);
    EXPECT_EQ(Status(*b), kStatusPlaying);
    const auto out = d->RenderFrames(80);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        ASSERT_EQ(out[2 * i], samples[i]) << i;
        ASSERT_EQ(out[2 * i + 1], samples[i]) << i;
    }
    for (std::size_t i = samples.size() * 2; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i;
    EXPECT_EQ(Status(*b), 0u);
    std::uint32_t play = 1, write = 1;
    b->GetCurrentPosition(play, write);
    EXPECT_EQ(play, 0u);  // a sound that ended rewinds
    EXPECT_EQ(d->PlayingBufferCount(), 0u);
}

TEST(SoundMixer, LoopingWrapsWithoutGapAndReportsLooping) {
    auto d = NullDevice();
    const auto samples = Ramp(10);
    auto b = Make16(*d, samples);
    b->Play(kPlayLooping);
    EXPECT_EQ(Status(*b), kStatusPlaying | kStatusLooping);
    const auto out = d->RenderFrames(35);
    for (std::size_t i = 0; i < 35; ++i) ASSERT_EQ(out[2 * i], samples[i % 10]) << i;
    std::uint32_t play = 0, write = 0;
    b->GetCurrentPosition(play, write);
    EXPECT_EQ(play, 5u * 2);
}

TEST(SoundMixer, VolumeScalesByTenToTheHundredthsOver2000) {
    struct Case {
        std::int32_t mB;
        double gain;
    };
    const Case cases[] = {{0, 1.0}, {-600, 0.501187}, {-2000, 0.1}, {-10000, 0.0}};
    for (const auto& c : cases) {
        auto d = NullDevice();
        auto b = Make16(*d, std::vector<std::int16_t>(8, 20000));
        ASSERT_EQ(b->SetVolume(c.mB), SoundResult::Ok);
        std::int32_t back = 1;
        b->GetVolume(back);
        EXPECT_EQ(back, c.mB);
        b->Play(0);
        const auto out = d->RenderFrames(4);
        EXPECT_NEAR(out[0], 20000 * c.gain, 1.0) << c.mB;
        EXPECT_NEAR(out[1], 20000 * c.gain, 1.0) << c.mB;
    }
}

TEST(SoundMixer, PanAttenuatesTheOtherSideOnly) {
    struct Case {
        std::int32_t pan;
        double left;
        double right;
    };
    const Case cases[] = {
        {0, 1.0, 1.0},      {-600, 1.0, 0.501187}, {600, 0.501187, 1.0},
        {-10000, 1.0, 0.0}, {10000, 0.0, 1.0},
    };
    for (const auto& c : cases) {
        auto d = NullDevice();
        auto b = Make16(*d, std::vector<std::int16_t>(8, 10000));
        ASSERT_EQ(b->SetPan(c.pan), SoundResult::Ok);
        b->Play(0);
        const auto out = d->RenderFrames(2);
        EXPECT_NEAR(out[0], 10000 * c.left, 1.0) << c.pan;
        EXPECT_NEAR(out[1], 10000 * c.right, 1.0) << c.pan;
    }
}

TEST(SoundMixer, DoubledFrequencyHalvesTheLengthAndHalfRateInterpolates) {
    auto d = NullDevice();
    const auto samples = Ramp(40);
    auto fast = Make16(*d, samples);
    ASSERT_EQ(fast->SetFrequency(88200), SoundResult::Ok);
    fast->Play(0);
    auto out = d->RenderFrames(40);
    for (std::size_t i = 0; i < 20; ++i) ASSERT_EQ(out[2 * i], samples[2 * i]) << i;
    EXPECT_EQ(out[2 * 20], 0);
    EXPECT_EQ(Status(*fast), 0u);

    // A 22050 Hz buffer on the 44100 Hz output lasts twice as long, with the
    // midpoints between its samples.
    auto slow = Make16(*d, samples, 1, kAllControls, 22050);
    slow->Play(0);
    out = d->RenderFrames(80);
    EXPECT_EQ(out[0], samples[0]);
    EXPECT_EQ(out[2], (samples[0] + samples[1]) / 2);
    EXPECT_EQ(out[2 * 78], samples[39]);
    EXPECT_EQ(out[2 * 79], samples[39]);  // the last frame is held, not wrapped
    EXPECT_EQ(Status(*slow), 0u);

    std::uint32_t hz = 0;
    fast->SetFrequency(kFrequencyOriginal);
    fast->GetFrequency(hz);
    EXPECT_EQ(hz, 44100u);
}

TEST(SoundMixer, BytesWrittenAheadOfThePlayCursorAreHeard) {
    auto d = NullDevice();
    auto b = Make16(*d, std::vector<std::int16_t>(100, 0));
    b->Play(kPlayLooping);
    d->RenderFrames(30);
    std::uint32_t play = 0, write = 0;
    b->GetCurrentPosition(play, write);
    EXPECT_EQ(play, 60u);
    const std::vector<std::int16_t> marker(10, 1234);
    ASSERT_EQ(b->Write(play + 20, Bytes16(marker)), SoundResult::Ok);
    const auto out = d->RenderFrames(30);
    EXPECT_EQ(out[2 * 9], 0);
    for (std::size_t i = 10; i < 20; ++i) EXPECT_EQ(out[2 * i], 1234) << i;
    EXPECT_EQ(out[2 * 20], 0);
}

TEST(SoundMixer, StopKeepsThePositionAndPlayResumesThere) {
    auto d = NullDevice();
    const auto samples = Ramp(50);
    auto b = Make16(*d, samples);
    b->Play(0);
    d->RenderFrames(12);
    b->Stop();
    EXPECT_EQ(Status(*b), 0u);
    std::uint32_t play = 0, write = 0;
    b->GetCurrentPosition(play, write);
    EXPECT_EQ(play, 24u);
    EXPECT_EQ(write, play);  // stopped: the write cursor sits on the play cursor
    EXPECT_EQ(d->RenderFrames(4)[0], 0);
    b->Play(0);
    b->GetCurrentPosition(play, write);
    EXPECT_EQ(write, play + 50);  // playing: writers stay ahead (half of a small buffer)
    EXPECT_EQ(d->RenderFrames(1)[0], samples[12]);
    ASSERT_EQ(b->SetCurrentPosition(41), SoundResult::Ok);  // aligned down to frame 20
    EXPECT_EQ(d->RenderFrames(1)[0], samples[20]);
    EXPECT_EQ(b->SetCurrentPosition(100), SoundResult::InvalidParam);
}

TEST(SoundMixer, ControlsWithoutTheirCapabilityFailAndChangeNothing) {
    auto d = NullDevice();
    auto b = Make16(*d, std::vector<std::int16_t>(8, 8000), 1, kBufferGlobalFocus);
    EXPECT_EQ(b->SetVolume(-600), SoundResult::ControlUnavailable);
    EXPECT_EQ(b->SetPan(-10000), SoundResult::ControlUnavailable);
    EXPECT_EQ(b->SetFrequency(88200), SoundResult::ControlUnavailable);
    std::int32_t v = 7;
    std::uint32_t hz = 7;
    EXPECT_EQ(b->GetVolume(v), SoundResult::ControlUnavailable);
    EXPECT_EQ(b->GetFrequency(hz), SoundResult::ControlUnavailable);
    EXPECT_EQ(b->Get3DBuffer(), nullptr);
    b->Play(0);
    const auto out = d->RenderFrames(8);
    for (std::size_t i = 0; i < 16; ++i) ASSERT_EQ(out[i], 8000) << i;  // full, centred, own rate
}

TEST(SoundMixer, ValuesOutOfRangeAreRefusedAndKeepTheOldSetting) {
    auto d = NullDevice();
    auto b = Make16(*d, std::vector<std::int16_t>(8, 0));
    b->SetVolume(-300);
    b->SetPan(200);
    b->SetFrequency(30000);
    EXPECT_EQ(b->SetVolume(1), SoundResult::InvalidParam);
    EXPECT_EQ(b->SetVolume(-10001), SoundResult::InvalidParam);
    EXPECT_EQ(b->SetPan(10001), SoundResult::InvalidParam);
    EXPECT_EQ(b->SetFrequency(99), SoundResult::InvalidParam);
    EXPECT_EQ(b->SetFrequency(100001), SoundResult::InvalidParam);
    std::int32_t vol = 0, pan = 0;
    std::uint32_t hz = 0;
    b->GetVolume(vol);
    b->GetPan(pan);
    b->GetFrequency(hz);
    EXPECT_EQ(vol, -300);
    EXPECT_EQ(pan, 200);
    EXPECT_EQ(hz, 30000u);
    EXPECT_EQ(b->SetFrequency(100), SoundResult::Ok);
    EXPECT_EQ(b->SetFrequency(100000), SoundResult::Ok);
}

TEST(SoundMixer, RefusedDescriptionsMakeNoBuffer) {
    auto d = NullDevice();
    struct Case {
        const char* what;
        SoundBufferDesc desc;
    };
    auto desc = [](std::uint32_t flags, std::uint32_t bytes, PcmFormat f) {
        SoundBufferDesc x;
        x.flags = flags;
        x.bufferBytes = bytes;
        x.format = f;
        return x;
    };
    PcmFormat badAlign = PcmFormat::Make(44100, 16, 2);
    badAlign.blockAlign = 3;
    PcmFormat badTag = PcmFormat::Make(44100, 16, 2);
    badTag.formatTag = 3;
    const Case cases[] = {
        {"primary", desc(kBufferPrimary, 400, PcmFormat::Make(44100, 16, 2))},
        {"empty", desc(0, 0, PcmFormat::Make(44100, 16, 2))},
        {"too small", desc(0, 3, PcmFormat::Make(44100, 8, 1))},
        {"huge", desc(0, kBufferSizeMax + 1, PcmFormat::Make(44100, 8, 1))},
        {"12 bits", desc(0, 400, PcmFormat::Make(44100, 12, 1))},
        {"3 channels", desc(0, 400, PcmFormat::Make(44100, 16, 3))},
        {"rate 99", desc(0, 400, PcmFormat::Make(99, 16, 1))},
        {"rate 100001", desc(0, 400, PcmFormat::Make(100001, 16, 1))},
        {"align", desc(0, 400, badAlign)},
        {"not PCM", desc(0, 400, badTag)},
        {"less than a frame", desc(0, 4, PcmFormat::Make(44100, 24, 2))},
    };
    for (const auto& c : cases) EXPECT_EQ(d->CreateBuffer(c.desc), nullptr) << c.what;
    EXPECT_NE(d->CreateBuffer(desc(0, 6, PcmFormat::Make(100000, 24, 2))), nullptr);
}

TEST(SoundMixer, SampleSizesAndStereoReachTheRightSides) {
    auto d = NullDevice();
    SoundBufferDesc desc;
    desc.bufferBytes = 4;
    desc.format = PcmFormat::Make(44100, 8, 2);
    auto b8 = d->CreateBuffer(desc);
    const std::uint8_t u8[] = {0x80 + 10, 0x80 - 20, 0x80 + 10, 0x80 - 20};
    b8->Write(0, u8);
    b8->Play(0);
    auto out = d->RenderFrames(1);
    EXPECT_EQ(out[0], 2560);
    EXPECT_EQ(out[1], -5120);
    b8.reset();

    desc.bufferBytes = 6;
    desc.format = PcmFormat::Make(44100, 24, 1);
    auto b24 = d->CreateBuffer(desc);
    const std::uint8_t s24[] = {0x00, 0x34, 0x12, 0x80, 0xFF, 0xFF};  // 0x123400, -128
    b24->Write(0, s24);
    b24->Play(0);
    out = d->RenderFrames(2);
    EXPECT_EQ(out[0], 0x1234);
    EXPECT_EQ(out[1], 0x1234);
    EXPECT_EQ(out[2], 0);  // -0.5 rounds to even
}

TEST(SoundMixer, VoicesAddAndClampAt16Bits) {
    auto d = NullDevice();
    auto a = Make16(*d, std::vector<std::int16_t>(4, 30000));
    auto b = Make16(*d, std::vector<std::int16_t>(4, 30000));
    auto c = Make16(*d, std::vector<std::int16_t>(4, -1000));
    a->Play(0);
    b->Play(0);
    c->Play(0);
    EXPECT_EQ(d->RenderFrames(1)[0], 32767);
    a->SetVolume(kVolumeMin);
    b->SetVolume(kVolumeMin);
    EXPECT_EQ(d->RenderFrames(1)[0], -1000);
    c.reset();  // a released buffer is no longer mixed
    EXPECT_EQ(d->RenderFrames(1)[0], 0);
}

TEST(SoundMixer, WriteWrapsAtTheEndAndRefusesOversizedBlocks) {
    auto d = NullDevice();
    auto b = Make16(*d, std::vector<std::int16_t>(4, 0));
    const std::uint8_t six[] = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(b->Write(6, six), SoundResult::Ok);
    EXPECT_EQ(b->Contents(), (std::vector<std::uint8_t>{3, 4, 5, 6, 0, 0, 1, 2}));
    const std::vector<std::uint8_t> nine(9, 7);
    EXPECT_EQ(b->Write(0, nine), SoundResult::InvalidParam);
    EXPECT_EQ(b->Write(8, six), SoundResult::InvalidParam);
    EXPECT_EQ(b->Contents(), (std::vector<std::uint8_t>{3, 4, 5, 6, 0, 0, 1, 2}));
}

TEST(SoundMixer, LostBufferRefusesPlayAndWriteUntilRestored) {
    auto d = NullDevice();
    auto b = Make16(*d, std::vector<std::int16_t>(4, 500));
    b->Play(kPlayLooping);
    b->SimulateLoss();
    EXPECT_EQ(Status(*b), kStatusBufferLost);
    const SoundResult r = b->Play(0);
    EXPECT_EQ(r, SoundResult::BufferLost);
    EXPECT_EQ(ErrorNumber(r), 0x88780096u);
    EXPECT_EQ(b->Write(0, Bytes16({1})), SoundResult::BufferLost);
    EXPECT_EQ(d->RenderFrames(1)[0], 0);
    ASSERT_EQ(b->Restore(), SoundResult::Ok);
    EXPECT_EQ(Status(*b), 0u);
    EXPECT_EQ(b->Contents(), std::vector<std::uint8_t>(8, 0));  // the memory was lost
    EXPECT_EQ(b->Play(0), SoundResult::Ok);
    EXPECT_EQ(ErrorNumber(SoundResult::Ok), 0u);
}

TEST(SoundMixer, PrimaryReportsTheOutputFormat) {
    SoundDeviceOptions o;
    o.hz = 22050;
    o.channels = 1;
    o.output = SoundOutputKind::Null;
    auto d = SoundDevice::Open(o);
    ASSERT_TRUE(d);
    PcmFormat f;
    ASSERT_EQ(d->Primary().GetFormat(f), SoundResult::Ok);
    EXPECT_EQ(f.samplesPerSec, 22050u);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(f.bitsPerSample, 16);
    EXPECT_EQ(f.blockAlign, 2);
    o.channels = 3;
    EXPECT_EQ(SoundDevice::Open(o), nullptr);
    o.channels = 2;
    o.hz = 7999;
    EXPECT_EQ(SoundDevice::Open(o), nullptr);
}

}  // namespace
}  // namespace brumil::platform
