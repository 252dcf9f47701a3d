// CmsWAV: reading RIFF WAV and Ogg files, writing WAV files.
#include <algorithm>

#include "core/paths.h"
#include "sound/ms_wav.h"
#include "sound_host.h"

namespace brumil::sound {

Long CmsWAV::Load(std::string_view file) {
    header_ = WaveHeaderRecord{};
    WaveLoaded = kFalse;
    // A failed load leaves no sound behind: the buffer of an earlier sound
    // goes too, so the usual create-write-play sequence stays silent.
    auto fail = [this] {
        BufferDelete();
        return Long{1};
    };
    const auto bytes = detail::ReadSoundFile(file);
    if (!bytes) return fail();
    const WaveParse parse = ParseWaveFile(*bytes);
    header_ = parse.header;
    if (parse.status == WaveParseStatus::Failed) return fail();

    if (parse.status == WaveParseStatus::Ogg) {
        std::vector<Byte> pcm;
        Long bits = 0, channels = 0, hz = 0;
        const Long size = detail::DecodeOggWhole(*bytes, pcm, bits, channels, hz);
        if (size == 0 || bits < 8 || channels < 1) return fail();
        header_.bits = static_cast<Integer>(bits);
        header_.channels = static_cast<Integer>(channels);
        header_.hz = hz;
        header_.blockAlign = WaveBlockAlign(bits, channels);
        header_.dataSize = size - size % header_.blockAlign;
        header_.blocks = header_.dataSize / header_.blockAlign;
        data_ = std::move(pcm);
        WaveLoaded = kTrue;
        return 0;
    }

    const auto first = bytes->begin() + static_cast<std::ptrdiff_t>(parse.dataOffset);
    data_.assign(first, first + static_cast<std::ptrdiff_t>(parse.dataLength));
    WaveLoaded = kTrue;
    return 0;
}

void CmsWAV::SaveWaveFileHeader(std::vector<Byte>& file, Long blocks, Long bits, Long channels,
                                Long hz) {
    const auto header = MakeWaveFileHeader(blocks, bits, channels, hz);
    if (file.size() < header.size()) file.resize(header.size());
    std::copy(header.begin(), header.end(), file.begin());
}

Long CmsWAV::SaveToWaveEx(std::string_view file) {
    std::string path(file);
    core::ExepathAddition(path);
    if (WaveLoaded == kFalse) return 1;
    std::vector<Byte> bytes;
    bytes.reserve(kWaveFileHeaderSize + data_.size());
    SaveWaveFileHeader(bytes, header_.blocks, header_.bits, header_.channels, header_.hz);
    bytes.insert(bytes.end(), data_.begin(), data_.end());
    return detail::WriteSoundFile(path, bytes) ? 0 : 1;
}

Long CmsWAV::SaveToWave(std::string_view file) {
    std::string path(file);
    core::ExepathAddition(path);
    if (WaveLoaded == kFalse) return 1;
    if (data_.size() < static_cast<std::size_t>(std::max<Long>(header_.dataSize, 0))) return 1;
    auto temp =
        detail::CreateBuffer(header_.dataSize, header_.hz, header_.bits, header_.channels, 8);
    if (!temp) return 1;
    const std::span<const Byte> pcm =
        std::span<const Byte>(data_).first(static_cast<std::size_t>(header_.dataSize));
    if (temp->Write(0, pcm) != platform::SoundResult::Ok) return 1;
    if (temp->SaveToFile(path) != platform::SoundResult::Ok) return 1;
    return 0;
}

}  // namespace brumil::sound
