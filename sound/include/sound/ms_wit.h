#pragma once
// CmsWIT: the music player. It holds one sound record (the WIT container's,
// filled from a WIT, RIFF WAV or Ogg file or from memory) and plays it through
// one device buffer: either the whole sound in one buffer, or a ring buffer of
// 882000 bytes refilled by StreamUpdate on every framework timer tick (the
// one-call player pumps it), honouring the loop points.
//
// Ownership: the object owns its record, the decoded PCM, the ring mirror and
// its buffers; it frees the buffers on the framework's TerminateSound.
// Results written 0/1 mean success/failure.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/vb_types.h"
#include "framework/splib.h"
#include "platform/sound/sound_buffer.h"
#include "sound/wit_file.h"

namespace brumil::sound {

class CmsWIT final : public framework::ILibEvents {
public:
    // Fixed numbers of the ring stream, in bytes.
    static constexpr Long kRingSize = 882000;
    static constexpr Long kSeekLead = 1600;
    static constexpr Long kSafetyMargin = 88200;
    static constexpr Long kMaxChunk = 30000;
    static constexpr int kPrefillUpdates = 20;
    static constexpr Long kOggPlayStep = 8000;
    static constexpr Long kOggBigStep = 30000;
    static constexpr Long kOggLookAhead = 30000;

    CmsWIT();
    ~CmsWIT() override;
    CmsWIT(const CmsWIT&) = delete;
    CmsWIT& operator=(const CmsWIT&) = delete;

    // ---- The sound record ------------------------------------------------------
    const std::string& TagTitle() const { return rec_.tagTitle; }
    void TagTitle(std::string_view text) { rec_.tagTitle = text; }
    const std::string& TagInfo() const { return rec_.tagInfo; }
    void TagInfo(std::string_view text) { rec_.tagInfo = text; }
    Long PlayerStart() const { return rec_.playerStart; }
    void PlayerStart(Long v) { rec_.playerStart = v; }
    Long PlayerRestart() const { return rec_.playerRestart; }
    void PlayerRestart(Long v) { rec_.playerRestart = v; }
    Long PlayerEnd() const { return rec_.playerEnd; }
    void PlayerEnd(Long v) { rec_.playerEnd = v; }
    Long DataSize() const { return rec_.dataSize; }
    Long DataBits() const { return rec_.dataBits; }
    Long DataChannels() const { return rec_.dataChannels; }
    Long DataHz() const { return rec_.dataHz; }
    bool DefaultStream() const { return rec_.defaultStream != 0; }
    // Deletes the buffers first: the sound must be made ready again.
    void DefaultStream(bool stream);
    Single DefaultVolume() const { return rec_.defaultVolume; }
    // Stored clamped to 0..1.
    void DefaultVolume(Single v);
    const WitRecord& Record() const { return rec_; }
    bool Ready() const { return ready_; }

    // Reads a WIT file, else by extension a RIFF WAV (".wav") or Ogg (".ogg")
    // file with its loop file. 0 when the sound is ready.
    Long Load(std::string_view file);
    void Load(std::string_view file, Long& status) { status = Load(file); }
    // Raw PCM from memory, optionally wrapped in three codec blocks.
    void SetWavDataSource(std::span<const Byte> data, Long bits, Long channels, Long hz,
                          bool compress);
    // A whole Ogg Vorbis file from memory.
    void SetOggDataSource(std::span<const Byte> data);
    Long SaveToWIT(std::string_view file);
    Long SaveToWAV(std::string_view file);
    // The playable PCM; 0 when the sound is ready.
    Long GetWaveBuffer(std::vector<Byte>& out);

    // Turns the stored bytes into playable PCM (decoding codec blocks, or
    // starting the Ogg decoder). Needs a record that holds a sound.
    void SystemBufferCreate();
    void SystemBufferDelete();
    // Decodes the rest of an Ogg stream.
    void DecodeOggAll();

    // ---- Playing ------------------------------------------------------------
    // Makes the buffer (flags: the caller's control bits); nothing unless ready.
    void LocalBufferCreate(Long flags);
    void LocalBufferDelete();
    // loop: 1 loops, 0 plays once.
    void Play(Long loop);
    void Pose();
    // Byte offset from the start point.
    void SetCurrentPosition(Long position);
    bool GetState() const;
    void GetState(bool& playing) const { playing = GetState(); }
    double GetLength() const;
    void SetTime(double seconds);
    void SetVolum(Single volume);
    void SetTempo(Single semitones);
    void SetPan(Single pan, Single y = 0, Single z = 0, Single vx = 0, Single vy = 0,
                Single vz = 0);
    void Set3DPosition(Single x, Single y, Single z);
    void Set3DVelocity(Single x, Single y, Single z, Single vx, Single vy, Single vz);
    // One refill of the ring.
    void StreamUpdate();
    std::string GetStreamState() const;

    // Whether the buffer is the ring (stream) or holds the whole sound.
    bool Streaming() const { return streaming_; }
    platform::SoundBuffer* Buffer() { return buffer_.get(); }
    Long StartByte() const;
    Long RestartByte() const;
    Long EndByte() const;

    void xLib_TerminateSound() override { LocalBufferDelete(); }

private:
    bool DecodedSource() const { return rec_.sourceKind == kWitSourceOgg || rec_.passCount >= 1; }
    std::span<const Byte> Pcm() const;
    Byte SilenceByte() const { return rec_.dataBits == 8 ? Byte{0x80} : Byte{0}; }
    Long BytesPerSecond() const;
    Long OggStep(Long bytes);
    Long ProbeOgg(std::span<const Byte> ogg);
    bool ReadWitFileAt(std::string_view file);
    bool ReadWaveFile(std::string_view file);
    bool ReadOggFile(std::string_view file);
    void ResetRecord();
    void ClearStreamState();
    void ChunkWrite(Long n);

    WitRecord rec_;
    bool ready_ = false;
    std::vector<Byte> decoded_;

    // Ogg decoding state.
    Long oggMode_ = 0;
    Long oggIndex_ = -1;
    Long oggCursor_ = 0;
    Long oggResult_ = 0;

    // Playing state.
    std::unique_ptr<platform::SoundBuffer> buffer_;
    std::unique_ptr<platform::Sound3DBuffer> buffer3d_;
    std::vector<Byte> ring_;
    bool streaming_ = false;
    bool playing_ = false;
    bool loop_ = false;
    bool seekRequested_ = false;
    Long ringWritePos_ = 0;
    Long sourceReadPos_ = 0;
    Long seekPos_ = 0;
    Long silenceCount_ = 0;

    framework::LibEventSubscription events_{this};
};

}  // namespace brumil::sound
