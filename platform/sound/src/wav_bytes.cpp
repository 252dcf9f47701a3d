#include "wav_bytes.h"

#include <cstring>

namespace brumil::platform::detail {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

std::vector<std::uint8_t> CanonicalWavBytes(const PcmFormat& format,
                                            std::span<const std::uint8_t> pcm) {
    std::vector<std::uint8_t> out;
    out.reserve(44 + pcm.size());
    const auto dataBytes = static_cast<std::uint32_t>(pcm.size());
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, format.formatTag);
    Put16(out, format.channels);
    Put32(out, format.samplesPerSec);
    Put32(out, format.avgBytesPerSec);
    Put16(out, format.blockAlign);
    Put16(out, format.bitsPerSample);
    PutTag(out, "data");
    Put32(out, dataBytes);
    out.insert(out.end(), pcm.begin(), pcm.end());
    return out;
}

}  // namespace brumil::platform::detail
