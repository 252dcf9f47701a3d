// CmsWAV: making wave data and adapting it to the output format.
#include <algorithm>

#include "sound/ms_wav.h"
#include "sound_host.h"

namespace brumil::sound {

namespace {

bool FormatAccepted(Long blocks, Long bits, Long channels, Long hz) {
    return blocks >= 1 && (channels == 1 || channels == 2) &&
           (bits == 8 || bits == 16 || bits == 24) && hz >= 4000;
}

}  // namespace

Long CmsWAV::Add(Long blocks, Long bits, Long channels, Long hz) {
    if (!FormatAccepted(blocks, bits, channels, hz)) return 1;
    const std::int64_t bytes = static_cast<std::int64_t>(bits) * channels / 8 * blocks;
    if (bytes > 0x7FFFFFFF) return 1;
    std::vector<Byte> data(static_cast<std::size_t>(bytes), bits == 8 ? Byte{128} : Byte{0});
    Commit(std::move(data), blocks, bits, channels, hz);
    return 0;
}

void CmsWAV::Commit(std::vector<Byte> data, Long blocks, Long bits, Long channels, Long hz) {
    header_.blockAlign = bits * channels / 8;
    header_.dataSize = header_.blockAlign * blocks;
    header_.blocks = blocks;
    header_.bits = static_cast<Integer>(bits);
    header_.channels = static_cast<Integer>(channels);
    header_.hz = hz;
    data_ = std::move(data);
    WaveLoaded = kTrue;
}

Long CmsWAV::WaveFormat() const {
    return platform::WaveFormatEnc(header_.bits, header_.channels, header_.hz);
}

platform::WaveDesc CmsWAV::WaveDescriptor() {
    return platform::WaveDesc{WaveFormat(), header_.blocks, std::span<Byte>(data_)};
}

void CmsWAV::WaveSetWaveBuffer(std::span<const Byte> source) {
    const std::size_t n = std::min(data_.size(), source.size());
    std::copy_n(source.begin(), n, data_.begin());
}

void CmsWAV::FormatCheck() {
    // Every output offers a format (the null output included); without a
    // device there is nothing to adapt to.
    const auto primary = detail::PrimaryFormat();
    if (!primary) return;
    const auto outHz = static_cast<double>(primary->samplesPerSec);
    const Long outChannels = primary->channels;
    const double hz = header_.hz;
    if (outHz == hz && outChannels == header_.channels) return;
    if (hz * 0.5 == outHz) {
        ConvertRate(0.5f, outChannels);
    } else if (outHz == hz * 2.0) {
        ConvertRate(2.0f, outChannels);
    } else if (outChannels != header_.channels) {
        ConvertChannels(outChannels);
    }
}

// Builds the converted wave aside and takes it only when the new format is
// accepted and the routine succeeds: a refused conversion leaves the sound as
// it was.
Long CmsWAV::Convert(Long blocks, Long channels, Long hz, float step, bool resample) {
    if (!FormatAccepted(blocks, header_.bits, channels, hz)) return 1;
    const Long bits = header_.bits;
    const std::int64_t bytes = static_cast<std::int64_t>(bits) * channels / 8 * blocks;
    if (bytes > 0x7FFFFFFF) return 1;
    std::vector<Byte> out(static_cast<std::size_t>(bytes), bits == 8 ? Byte{128} : Byte{0});
    const platform::WaveDesc dst{platform::WaveFormatEnc(bits, channels, hz), blocks,
                                 std::span<Byte>(out)};
    const platform::WaveDesc src = WaveDescriptor();
    const std::int32_t r =
        resample ? platform::WaveExpand(dst, src, step) : platform::WaveFormat(dst, src);
    if (r != 0) return 1;
    Commit(std::move(out), blocks, bits, channels, hz);
    return 0;
}

Long CmsWAV::ConvertRate(Single factor, Long channels) {
    if (WaveLoaded == kFalse || !(factor >= 0.5f)) return 1;
    const Long blocks = RoundToLong(static_cast<double>(header_.blocks) * factor);
    const Long hz = RoundToLong(static_cast<double>(header_.hz) * factor);
    return Convert(blocks, channels, hz, 1.0f / factor, true);
}

Long CmsWAV::ConvertChannels(Long channels) {
    if (WaveLoaded == kFalse) return 1;
    return Convert(header_.blocks, channels, header_.hz, 1.0f, false);
}

}  // namespace brumil::sound
