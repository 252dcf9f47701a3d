#pragma once
// CmsSTM: the streamed WAV player. It keeps a long PCM WAV (or "<W1>") file
// open and, on every BufferUpdate (the one-call player calls it on each
// framework timer tick), copies the next stretch of samples into a looping
// device buffer of kRingSize bytes used as a ring. It loops the file, seeks,
// and stops itself once the play cursor has passed the end of the data.
//
// Ownership: the object owns its private helper object (which holds the open
// file between ticks), the ring image and its buffers. It does not listen to
// the framework's events. Results written 0/1 mean success/failure; the
// public flags hold -1 for true.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/vb_types.h"
#include "platform/sound/sound_buffer.h"
#include "sound/stream_header.h"

namespace brumil::core {
class CApi;
}

namespace brumil::sound {

class CmsSTM {
public:
    // Ring geometry, in bytes.
    static constexpr Long kRingSize = 1000000;
    static constexpr Long kSeekLead = 1600;       // a seek lands this far after the write cursor
    static constexpr Long kQueueAhead = 900000;   // most queued ahead of the write cursor
    static constexpr Long kMaxRefill = 100000;    // most written by one refill
    static constexpr double kLevelUnit = 9100.0;  // BufferLevel = queued bytes / this
    static constexpr int kMaxHeaderTags = 10;

    CmsSTM();
    ~CmsSTM();
    CmsSTM(const CmsSTM&) = delete;
    CmsSTM& operator=(const CmsSTM&) = delete;

    Integer WaveLoaded = kFalse;
    Integer BufferExists = kFalse;
    Integer Buffer3DExists = kFalse;
    // Queued bytes ahead of the play cursor / 9100, 0..100; set by BufferUpdate.
    Single BufferLevel = 0;

    // Opens the file (plain or pak entry) and reads its header. The same path
    // as the open one answers 0 without reopening; another file is opened over
    // it (close first with FileClose).
    Long FileOpen(std::string_view path);
    void FileClose();

    // Makes the ring buffer for the open file's format (flags: the caller's
    // control bits; the player adds software mixing).
    void BufferCreate(Long flags);
    void BufferDelete();
    // Starts streaming; flags non-zero loop the file.
    void Play(Integer flags);
    void Pose();
    // One refill, then BufferLevel.
    void BufferUpdate();
    // Byte position from the data start, taken at the next refill.
    void SetCurrentPosition(Long position);
    void SetTime(double seconds);
    // Loop start and the length cut off the end, in seconds.
    void SetLoopData(double loopStart, double loopEnd);
    bool GetState() const;
    double GetLength() const;

    void SetVolum(Single volume);
    void SetPan(Single pan, Single a2 = 0, Single a3 = 0, Single a4 = 0, Single a5 = 0,
                Single a6 = 0);
    void SetTempo(Single semitones);
    void Set3DPosition(Single x, Single y, Single z);
    void Set3DVelocity(Single x, Single y, Single z, Single vx, Single vy, Single vz);

    // ---- Inspection -----------------------------------------------------------
    const StreamHeader& Header() const { return header_; }
    const std::string& FileName() const { return fileName_; }
    // Offsets from the first byte of the file (or pak entry).
    Long DataStart() const { return dataStart_ - fileFirst_; }
    Long DataEnd() const { return dataEnd_ - fileFirst_; }
    Long ReadPosition() const { return readPos_ - fileFirst_; }
    Long Blocks() const { return blocks_; }
    Long WritePosition() const { return writePos_; }
    bool DataEnded() const { return dataEnded_; }
    platform::SoundBuffer* Buffer() { return buffer_.get(); }

private:
    bool OpenStream(std::string_view path);
    void CloseStream();
    bool ReadStreamHeader();
    void StreamFill();
    void WriteRing(Long start, Long count);
    Byte Silence() const { return header_.bits == 8 ? Byte{0x80} : Byte{0}; }
    bool HasBuffer() const { return buffer_ && BufferExists != kFalse; }

    std::unique_ptr<core::CApi> api_;  // made on first use; holds the open file
    std::string fileName_;
    StreamHeader header_;
    Long fileFirst_ = 0;  // 1-based position of the file's first byte
    Long dataStart_ = 0;  // file positions (1-based) of the first sample byte
    Long dataEnd_ = 0;    // and of the byte after the last
    Long blocks_ = 0;
    Long readPos_ = 0;

    std::vector<Byte> ring_;
    std::vector<Byte> chunk_;
    Long writePos_ = 0;
    Long playCursor_ = 0;
    Long prevPlayCursor_ = 0;
    bool dataEnded_ = false;
    Long endRingOffset_ = 0;
    bool playing_ = false;
    Integer playFlags_ = 0;
    Long seekRequest_ = 0;
    bool seekPending_ = false;

    bool loopSet_ = false;
    Long loopStart_ = 0;
    Long loopEnd_ = 0;

    std::unique_ptr<platform::SoundBuffer> buffer_;
    std::unique_ptr<platform::Sound3DBuffer> buffer3d_;
};

}  // namespace brumil::sound
