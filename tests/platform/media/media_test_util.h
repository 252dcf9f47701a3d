#pragma once
// A null mixer at 44.1 kHz stereo and a temporary data root for the media
// tests, with helpers to write music files and to hear them.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/media/media_decoder.h"
#include "platform/media/media_output.h"
#include "platform/sound/sound_device.h"
#include "temp_root.h"

namespace brumil::platform::test {

class MediaTestEnv {
public:
    MediaTestEnv() {
        SoundDeviceOptions o;
        o.output = SoundOutputKind::Null;
        device_ = SoundDevice::Open(o);
    }
    MediaBufferMaker Maker() {
        return [this](const SoundBufferDesc& d) { return device_->CreateBuffer(d); };
    }
    std::vector<std::int16_t> Render(std::size_t frames) { return device_->RenderFrames(frames); }
    // Writes a file under the data root and answers its program path.
    std::string Write(const std::string& name, MediaFileKind kind,
                      const std::vector<std::int16_t>& samples, int channels, int hz) {
        const std::string path = "\\" + name;
        EXPECT_TRUE(WriteMediaFile(path, kind, samples, channels, hz)) << name;
        return path;
    }
    const brumil::testing::TempDataRoot& Root() const { return root_; }

private:
    brumil::testing::TempDataRoot root_;
    std::unique_ptr<SoundDevice> device_;
};

// Stereo samples, different on each side and never repeating within 65536
// frames, so that an offset by even one frame shows.
inline std::vector<std::int16_t> Ramp(std::size_t frames) {
    std::vector<std::int16_t> v(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        v[2 * i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(i * 3 + 1));
        v[2 * i + 1] = static_cast<std::int16_t>(static_cast<std::uint16_t>(~(i * 5)));
    }
    return v;
}

// Frames first..first+count of interleaved stereo samples.
inline std::vector<std::int16_t> Slice(const std::vector<std::int16_t>& v, std::size_t first,
                                       std::size_t count) {
    return std::vector<std::int16_t>(v.begin() + static_cast<std::ptrdiff_t>(2 * first),
                                     v.begin() + static_cast<std::ptrdiff_t>(2 * (first + count)));
}

}  // namespace brumil::platform::test
