#include "sound/wave_file.h"

#include <vector>

#include "byte_io.h"
#include "sound/riff_scan.h"

namespace brumil::sound {

Long WaveBlockAlign(Long bits, Long channels) {
    return RoundToLong(static_cast<double>(bits) / 8.0 * channels);
}

WaveParse ParseWaveFile(std::span<const Byte> file) {
    WaveParse out;
    const WaveScan scan = ScanRiffWave(file, kWaveScanSteps);
    if (scan.ogg) {
        out.status = WaveParseStatus::Ogg;
        return out;
    }
    WaveHeaderRecord& h = out.header;
    h.factSize = static_cast<Long>(scan.factSize);
    if (scan.fmtFound || scan.fmtRefused) h.fmtSize = static_cast<Long>(scan.fmt.chunkSize);
    if (scan.fmtRefused || !scan.fmtFound) return out;
    h.bits = static_cast<Integer>(scan.fmt.bitsPerSample);
    h.channels = static_cast<Integer>(scan.fmt.channels);
    h.hz = static_cast<Long>(scan.fmt.samplesPerSec);

    const std::uint64_t bytes = scan.SampleBytes();
    if (bytes == 0) return out;
    if (h.channels != 1 && h.channels != 2) return out;
    if (h.bits != 8 && h.bits != 16 && h.bits != 24) return out;
    if (h.hz < 4000 || h.hz > 96000) return out;

    h.blockAlign = WaveBlockAlign(h.bits, h.channels);
    // A sound is held in one array indexed by a 32-bit size.
    const std::uint64_t capped = std::min<std::uint64_t>(bytes, 0x7FFFFFFFu);
    h.dataSize = static_cast<Long>(capped - capped % static_cast<std::uint64_t>(h.blockAlign));
    h.blocks = h.dataSize / h.blockAlign;
    out.dataOffset = scan.dataOffset;
    out.dataLength = static_cast<std::uint64_t>(h.dataSize);
    out.status = WaveParseStatus::Pcm;
    return out;
}

std::array<Byte, kWaveFileHeaderSize> MakeWaveFileHeader(Long blocks, Long bits, Long channels,
                                                         Long hz) {
    const Long align = WaveBlockAlign(bits, channels);
    const Long dataBytes = RoundToLong(static_cast<double>(blocks) * channels * bits / 8.0);
    std::vector<Byte> v;
    v.reserve(kWaveFileHeaderSize);
    detail::ByteWriter w(v);
    w.Tag("RIFF");
    w.I32(dataBytes + 50);
    w.Tag("WAVE");
    w.Tag("fmt ");
    w.I32(18);
    w.U16(1);
    w.U16(static_cast<std::uint16_t>(channels));
    w.I32(hz);
    w.I32(static_cast<Long>(static_cast<std::int64_t>(hz) * align));
    w.U16(static_cast<std::uint16_t>(align));
    w.U16(static_cast<std::uint16_t>(bits));
    w.U16(0);
    w.Tag("fact");
    w.I32(4);
    w.I32(blocks);
    w.Tag("data");
    w.I32(dataBytes);
    std::array<Byte, kWaveFileHeaderSize> out{};
    std::copy(v.begin(), v.end(), out.begin());
    return out;
}

}  // namespace brumil::sound
