#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/sound/sound_device.h"

namespace brumil::platform {
namespace {

// Mixes one second of 44100 Hz stereo output from 32 playing buffers: a mix of
// mono and stereo, 16- and 8-bit, own-rate and resampled, looping.
void BM_Mix32BuffersOneSecond(benchmark::State& state) {
    SoundDeviceOptions o;
    o.output = SoundOutputKind::Null;
    auto device = SoundDevice::Open(o);
    std::vector<std::unique_ptr<SoundBuffer>> buffers;
    for (int i = 0; i < 32; ++i) {
        const std::uint16_t bits = i % 4 == 3 ? 8 : 16;
        const std::uint16_t channels = i % 2 == 0 ? 1 : 2;
        const std::uint32_t hz = i % 3 == 0 ? 22050 : 44100;
        SoundBufferDesc desc;
        desc.flags = kBufferCtrlVolume | kBufferCtrlPan | kBufferCtrlFrequency;
        desc.format = PcmFormat::Make(hz, bits, channels);
        desc.bufferBytes = desc.format.avgBytesPerSec / 2;  // half a second
        auto b = device->CreateBuffer(desc);
        std::vector<std::uint8_t> bytes(desc.bufferBytes);
        for (std::size_t k = 0; k < bytes.size(); ++k) {
            bytes[k] = static_cast<std::uint8_t>(128 + 60 * std::sin(0.01 * k * (i + 1)));
        }
        b->Write(0, bytes);
        b->SetVolume(-300 * (i % 5));
        b->SetPan(-5000 + 300 * i);
        if (i % 7 == 0) b->SetFrequency(hz + 3000);
        b->Play(kPlayLooping);
        buffers.push_back(std::move(b));
    }
    for (auto _ : state) {
        auto out = device->RenderFrames(44100);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * 44100 * 32);
}
BENCHMARK(BM_Mix32BuffersOneSecond)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brumil::platform
