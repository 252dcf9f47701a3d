#pragma once
// CmsWAV: one whole sound held as PCM bytes, with one device buffer carrying a
// copy of them. The player of every sound effect (Load, FormatCheck,
// BufferCreate, BufferWrite, then PlaySE as often as needed), of short music
// and the sample container of the wave tools.
//
// Ownership: the object owns its wave data, its buffer and 3D buffer. It
// listens to the framework's events for its whole life and frees the buffer
// on TerminateSound. Results written 0/1 mean success/failure; the three
// public flags hold -1 for true.

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "core/vb_types.h"
#include "framework/splib.h"
#include "platform/sound/sound_buffer.h"
#include "platform/sound/wave_routines.h"
#include "sound/wave_file.h"

namespace brumil::sound {

class CmsWAV final : public framework::ILibEvents {
public:
    CmsWAV();
    ~CmsWAV() override;
    CmsWAV(const CmsWAV&) = delete;
    CmsWAV& operator=(const CmsWAV&) = delete;

    // Public state flags (-1 true, 0 false); callers may read and write them.
    Integer WaveLoaded = kFalse;
    Integer BufferExists = kFalse;
    Integer Buffer3DExists = kFalse;

    // Silent wave data of the format: 1 (object unchanged) unless blocks >= 1,
    // channels 1 or 2, bits 8, 16 or 24 and hz >= 4000.
    Long Add(Long blocks, Long bits, Long channels, Long hz);

    // Reads a RIFF WAV or Ogg file (plain file or pak entry) whole.
    Long Load(std::string_view file);
    // The same with the status by reference.
    void Load(std::string_view file, Long& status) { status = Load(file); }

    // Writes the wave data as a WAV file with the 58-byte header.
    Long SaveToWaveEx(std::string_view file);
    // Has a temporary device buffer save the sound.
    Long SaveToWave(std::string_view file);
    // Puts the 58-byte header at the start of `file`, growing it when shorter.
    static void SaveWaveFileHeader(std::vector<Byte>& file, Long blocks, Long bits, Long channels,
                                   Long hz);

    // Playback; every call does nothing without a buffer.
    void Play(Long flags);
    void PlaySE(Single volume, Single pan, Single tempo);
    void Pose();
    void SetCurrentPosition(Long position);
    bool GetState() const;
    double GetLength() const;
    void SetTime(double seconds);
    void SetTempo(Single semitones);
    void SetPan(Single pan, Single a2 = 0, Single a3 = 0, Single a4 = 0, Single a5 = 0,
                Single a6 = 0);
    void SetVolum(Single volume);
    void Set3DPosition(Single x, Single y, Single z);
    void Set3DVelocity(Single x, Single y, Single z, Single vx, Single vy, Single vz);

    Long WaveBit() const { return header_.bits; }
    Long WaveChannel() const { return header_.channels; }
    Long WaveHz() const { return header_.hz; }
    Long WaveSize() const { return header_.dataSize; }
    Long WaveBlocks() const { return header_.blocks; }
    const WaveHeaderRecord& WaveHeader() const { return header_; }
    // The wave routines' format code and the descriptor of the wave data.
    Long WaveFormat() const;
    platform::WaveDesc WaveDescriptor();

    void WaveGetWaveBuffer(std::vector<Byte>& out) const { out = data_; }
    std::span<const Byte> WaveData() const { return data_; }
    // Copies bytes over the start of the wave data; length and header stay.
    void WaveSetWaveBuffer(std::span<const Byte> source);

    // Adapts the wave to the output's format: halving or doubling the rate,
    // or the channel count. Nothing without an output format.
    void FormatCheck();
    Long ConvertRate(Single factor, Long channels);
    Long ConvertChannels(Long channels);

    void ReleaseBuffer();
    void BufferCreate(Long flags);
    void BufferDelete();
    void BufferWrite();
    void BufferWriteRuntime(Long start, Long count);

    // The device buffer (for tests and the wave tools); null when none.
    platform::SoundBuffer* Buffer() { return buffer_.get(); }
    Long CapabilityFlags() const { return caps_; }

    void xLib_TerminateSound() override { BufferDelete(); }

private:
    bool HasBuffer() const { return buffer_ && BufferExists != kFalse; }
    // Replaces the wave by `data` of the given format (already validated).
    void Commit(std::vector<Byte> data, Long blocks, Long bits, Long channels, Long hz);
    Long Convert(Long blocks, Long channels, Long hz, float step, bool resample);

    WaveHeaderRecord header_;
    std::vector<Byte> data_;
    std::unique_ptr<platform::SoundBuffer> buffer_;
    std::unique_ptr<platform::Sound3DBuffer> buffer3d_;
    Long caps_ = 0;
    Single lastVolume_ = 1.0f;
    Single lastPan_ = 0.0f;
    Single lastTempo_ = 0.0f;
    framework::LibEventSubscription events_{this};
};

}  // namespace brumil::sound
