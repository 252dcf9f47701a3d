// CApi's Ogg Vorbis members: thin adapters from the helper's by-reference
// values to the decoder of the sound platform.

#include "core/api.h"

namespace brumil::core {

Long CApi::DecodeOggMemory(std::span<const std::uint8_t> dataSource,
                           std::vector<std::uint8_t>& buffer, Long& size, Long& bits,
                           Long& channels, Long& hz) {
    platform::OggPcmInfo info;
    const Long n = platform::DecodeOggWhole(dataSource, buffer, info);
    if (n == 0) return 0;
    size = info.size;
    bits = info.bits;
    channels = info.channels;
    hz = info.hz;
    return n;
}

Long CApi::DecodeOggStreamMemory(Long& streamFlag, Long& index, Long& cursor,
                                 Long requestDecodeSize, std::span<const std::uint8_t> dataSource,
                                 std::vector<std::uint8_t>& buffer, Long& size, Long& bits,
                                 Long& channels, Long& hz) {
    platform::OggPcmInfo info{size, bits, channels, hz};
    const Long r = oggStreams_.Decode(
        {streamFlag, index, cursor, requestDecodeSize, dataSource, buffer, info});
    size = info.size;
    bits = info.bits;
    channels = info.channels;
    hz = info.hz;
    return r;
}

}  // namespace brumil::core
