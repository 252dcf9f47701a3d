// CmsWIT: the sound record, its readers and writers, and the playable PCM.
#include <algorithm>

#include "core/api.h"
#include "sound/loop_file.h"
#include "sound/ms_wit.h"
#include "sound/riff_scan.h"
#include "sound_host.h"

namespace brumil::sound {

namespace {

// The most steps the music reader walks looking for "data".
constexpr int kWitWaveScanSteps = 100;

// Codec programs of the three compression passes, innermost first: byte
// deltas with deflate for the samples, a deflate pass, a stored outer block.
constexpr Long kCompress16[3] = {4, 2, 0};
constexpr Long kCompressOther[3] = {4, 1, 0};

}  // namespace

CmsWIT::CmsWIT() = default;

CmsWIT::~CmsWIT() {
    SystemBufferDelete();
}

void CmsWIT::DefaultStream(bool stream) {
    SystemBufferDelete();
    rec_.defaultStream = stream ? 1 : 0;
}

void CmsWIT::DefaultVolume(Single v) {
    rec_.defaultVolume = std::clamp(v, 0.0f, 1.0f);
}

std::span<const Byte> CmsWIT::Pcm() const {
    if (DecodedSource()) return decoded_;
    return rec_.data;
}

void CmsWIT::ResetRecord() {
    rec_.magic = kWitMagic;
    rec_.playerStart = 0;
    rec_.playerRestart = 0;
    rec_.playerEnd = 0;
    rec_.defaultStream = 0;
    rec_.defaultVolume = 1.0f;
    rec_.tagTitle.clear();
    rec_.tagInfo.clear();
    rec_.passCount = 0;
    rec_.sourceKind = kWitSourcePcm;
}

Long CmsWIT::Load(std::string_view file) {
    SystemBufferDelete();
    const auto bytes = detail::ReadSoundFile(file);
    if (!bytes) return 1;
    if (auto rec = ReadWitFile(*bytes)) {
        rec_ = std::move(*rec);
        ready_ = true;
        return 0;
    }
    const std::string ext = core::LowerAscii(core::gApi().GetFileExt(file));
    if (ext == "wav") {
        ReadWaveFile(file);
    } else if (ext == "ogg") {
        ReadOggFile(file);
    }
    return ready_ ? 0 : 1;
}

bool CmsWIT::ReadWaveFile(std::string_view file) {
    const LoopPoints loop = ReadLoopFile(file);
    const auto bytes = detail::ReadSoundFile(file);
    if (!bytes) return false;
    const WaveScan scan = ScanRiffWave(*bytes, kWitWaveScanSteps);
    if (scan.ogg || scan.fmtRefused || !scan.fmtFound) return false;
    const Long channels = scan.fmt.channels;
    const Long bits = scan.fmt.bitsPerSample;
    const auto hz = static_cast<std::int64_t>(scan.fmt.samplesPerSec);
    if (channels != 1 && channels != 2) return false;
    if (bits != 8 && bits != 16) return false;
    if (hz < 4000 || hz > 96000) return false;
    const std::uint64_t size = std::min<std::uint64_t>(scan.SampleBytes(), 0x7FFFFFFF);
    if (size == 0) return false;

    ResetRecord();
    const auto first = bytes->begin() + static_cast<std::ptrdiff_t>(scan.dataOffset);
    rec_.data.assign(first, first + static_cast<std::ptrdiff_t>(size));
    rec_.dataSize = static_cast<Long>(size);
    rec_.dataBits = bits;
    rec_.dataChannels = channels;
    rec_.dataHz = static_cast<Long>(hz);
    const Long block = rec_.BlockSize();
    rec_.playerRestart = RoundToLong(static_cast<double>(loop.loopStart) * block);
    rec_.playerEnd = RoundToLong(rec_.playerRestart + static_cast<double>(loop.loopLength) * block);
    ready_ = true;
    return true;
}

Long CmsWIT::ProbeOgg(std::span<const Byte> ogg) {
    Long mode = 0, index = -1, cursor = 0;
    std::vector<Byte> scratch;
    Long size = 0, bits = 0, channels = 0, hz = 0;
    const Long opened = detail::DecodeOggStream(mode, index, cursor, kOggBigStep, ogg, scratch,
                                                size, bits, channels, hz);
    mode = 2;
    detail::DecodeOggStream(mode, index, cursor, kOggBigStep, ogg, scratch, size, bits, channels,
                            hz);
    if (opened == 0) return 0;
    rec_.dataSize = size;
    rec_.dataBits = bits;
    rec_.dataChannels = channels;
    rec_.dataHz = hz;
    return opened;
}

bool CmsWIT::ReadOggFile(std::string_view file) {
    const LoopPoints loop = ReadLoopFile(file);
    auto bytes = detail::ReadSoundFile(file);
    if (!bytes) return false;
    if (ProbeOgg(*bytes) == 0) return false;
    ResetRecord();
    const Long block = rec_.BlockSize();
    rec_.playerRestart = RoundToLong(static_cast<double>(loop.loopStart) * block);
    rec_.playerEnd = RoundToLong(rec_.playerRestart + static_cast<double>(loop.loopLength) * block);
    rec_.defaultStream = 1;
    rec_.sourceKind = kWitSourceOgg;
    rec_.data = std::move(*bytes);
    ready_ = true;
    return true;
}

void CmsWIT::SetWavDataSource(std::span<const Byte> data, Long bits, Long channels, Long hz,
                              bool compress) {
    SystemBufferDelete();
    ResetRecord();
    rec_.dataSize = static_cast<Long>(std::min<std::size_t>(data.size(), 0x7FFFFFFF));
    rec_.dataBits = bits;
    rec_.dataChannels = channels;
    rec_.dataHz = hz;
    std::vector<Byte> bytes(data.begin(), data.end());
    if (compress) {
        const auto& programs = bits == 16 ? kCompress16 : kCompressOther;
        for (Long program : programs) {
            if (core::gApi().Encoder(bytes, program) == 0) ++rec_.passCount;
        }
    }
    rec_.data = std::move(bytes);
}

void CmsWIT::SetOggDataSource(std::span<const Byte> data) {
    SystemBufferDelete();
    if (ProbeOgg(data) == 0) return;
    ResetRecord();
    rec_.defaultStream = 1;
    rec_.sourceKind = kWitSourceOgg;
    rec_.data.assign(data.begin(), data.end());
}

Long CmsWIT::SaveToWIT(std::string_view file) {
    return detail::WriteSoundFile(file, WriteWitFile(rec_)) ? 0 : 1;
}

Long CmsWIT::SaveToWAV(std::string_view file) {
    if (!ready_) return 1;
    std::string path(file);
    core::ExepathAddition(path);
    if (DecodedSource()) DecodeOggAll();
    const std::span<const Byte> pcm = Pcm();
    if (rec_.dataSize < 1 || pcm.size() < static_cast<std::size_t>(rec_.dataSize)) return 1;
    auto temp =
        detail::CreateBuffer(rec_.dataSize, rec_.dataHz, rec_.dataBits, rec_.dataChannels, 8);
    if (!temp) return 1;
    if (temp->Write(0, pcm.first(static_cast<std::size_t>(rec_.dataSize))) !=
        platform::SoundResult::Ok) {
        return 1;
    }
    return temp->SaveToFile(path) == platform::SoundResult::Ok ? 0 : 1;
}

Long CmsWIT::GetWaveBuffer(std::vector<Byte>& out) {
    if (!ready_) return 1;
    if (DecodedSource()) DecodeOggAll();
    const auto pcm = Pcm();
    out.assign(pcm.begin(), pcm.end());
    return 0;
}

Long CmsWIT::OggStep(Long bytes) {
    oggResult_ =
        detail::DecodeOggStream(oggMode_, oggIndex_, oggCursor_, bytes, rec_.data, decoded_,
                                rec_.dataSize, rec_.dataBits, rec_.dataChannels, rec_.dataHz);
    return oggResult_;
}

void CmsWIT::SystemBufferCreate() {
    SystemBufferDelete();
    ClearStreamState();
    oggMode_ = 0;
    oggResult_ = 0;
    decoded_.clear();
    // An empty record holds no sound and is never ready.
    if (rec_.magic != kWitMagic) return;
    ready_ = true;

    if (rec_.sourceKind == kWitSourceOgg) {
        Long ok = 0;
        if (rec_.defaultStream != 0) {
            ok = OggStep(kOggBigStep);
        } else {
            ok = detail::DecodeOggWhole(rec_.data, decoded_, rec_.dataBits, rec_.dataChannels,
                                        rec_.dataHz);
            if (ok != 0) rec_.dataSize = ok;
        }
        if (ok == 0) SystemBufferDelete();
        return;
    }
    if (rec_.passCount >= 1) {
        core::CApi& api = core::gApi();
        bool ok = api.DecoderByProg(decoded_, rec_.data) == 0;
        for (Long i = 1; ok && i < rec_.passCount; ++i) ok = api.Decoder(decoded_) == 0;
        if (!ok) {
            decoded_.clear();
            SystemBufferDelete();
        }
    }
}

void CmsWIT::SystemBufferDelete() {
    LocalBufferDelete();
    if (oggMode_ == 1) {
        oggMode_ = 2;
        OggStep(kOggBigStep);
    }
    ready_ = false;
}

void CmsWIT::DecodeOggAll() {
    if (rec_.sourceKind != kWitSourceOgg || rec_.defaultStream == 0) return;
    while (oggResult_ < 0) OggStep(kOggBigStep);
}

}  // namespace brumil::sound
