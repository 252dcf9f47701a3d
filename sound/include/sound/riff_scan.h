#pragma once
// The one RIFF chunk walker of the sound library, shared by every WAV reader.
//
// A RIFF file is a "RIFF" header (tag, size, form type) followed by chunks of a
// 4-byte tag, a 4-byte little-endian size and the body, padded to an even
// length. The walker skips every chunk by its size and pad byte, so chunks it
// does not know ("LIST", "cue ", "bext", ...) are passed over whole, whatever
// their size. It reads through a callback so that a streamed file need not be
// held in memory; a span of bytes is the common case.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "core/vb_types.h"

namespace brumil::sound {

// Fills `out` with the bytes at `offset`; false when they are not all there.
using RiffReadFn = std::function<bool(std::uint64_t offset, std::span<Byte> out)>;

struct RiffChunk {
    std::array<char, 4> tag{};
    std::uint32_t size = 0;           // as declared; may exceed what the file holds
    std::uint64_t headerOffset = 0;   // where the tag is
    std::uint64_t bodyOffset = 0;     // headerOffset + 8
    std::uint64_t bodyAvailable = 0;  // bytes of the body that the file holds (<= size)

    bool Is(std::string_view fourcc) const {
        return fourcc.size() == 4 && std::string_view(tag.data(), 4) == fourcc;
    }
};

class RiffChunkWalker {
public:
    // Walks `length` bytes from `start`. A "RIFF" header at `start` is taken as
    // one step (tag, size and form type); without it the chunks begin at once.
    RiffChunkWalker(RiffReadFn read, std::uint64_t length, std::uint64_t start = 0);
    // Walks bytes held in memory; the span must outlive the walker.
    explicit RiffChunkWalker(std::span<const Byte> bytes);

    bool HasRiffHeader() const { return riffHeader_; }
    std::uint32_t RiffSize() const { return riffSize_; }

    // The next chunk header, or nothing when fewer than 8 bytes remain or a
    // previous chunk ran past the end of the file.
    std::optional<RiffChunk> Next();

    // Where the next chunk header would start; the end of the file once a
    // chunk has run past it.
    std::uint64_t Position() const { return pos_; }
    std::uint64_t Length() const { return length_; }

    // Reads part of a chunk body (offset relative to the body); false when the
    // bytes are not all inside the chunk and the file.
    bool ReadBody(const RiffChunk& chunk, std::uint64_t offset, std::span<Byte> out) const;

private:
    RiffReadFn read_;
    std::uint64_t length_;
    std::uint64_t pos_;
    bool riffHeader_ = false;
    std::uint32_t riffSize_ = 0;
};

// The "fmt " record of a PCM wave, as the readers need it.
struct WaveFmt {
    std::uint32_t chunkSize = 0;
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    // Taken from the block align when the chunk has no bits field (or it is 0).
    std::uint16_t bitsPerSample = 0;
};

// What a walk over a RIFF WAVE file found.
struct WaveScan {
    bool ogg = false;  // the file is an Ogg stream ("OggS" where a chunk was due)
    bool fmtFound = false;
    bool fmtRefused = false;  // format tag other than 1 (PCM), or no channels
    WaveFmt fmt;
    std::uint32_t factSize = 0;
    bool dataFound = false;
    Long dataSize = 0;  // as declared (0 or -1 mean "to the end of the file")
    // The first sample byte; where the walk stopped when no "data" chunk was met.
    std::uint64_t dataOffset = 0;
    std::uint64_t fileLength = 0;

    // Bytes after dataOffset.
    std::uint64_t Rest() const { return fileLength > dataOffset ? fileLength - dataOffset : 0; }
    // The sample bytes to take: the declared size, or the rest of the file when
    // that is 0 or less; never more than the rest. 0 means there are none.
    std::uint64_t SampleBytes() const;
};

// Walks at most `maxChunks` steps (the RIFF header counts as one). A "data"
// chunk or an Ogg stream ends the walk; a refused "fmt " ends it too.
WaveScan ScanRiffWave(RiffReadFn read, std::uint64_t length, int maxChunks,
                      std::uint64_t start = 0);
WaveScan ScanRiffWave(std::span<const Byte> bytes, int maxChunks);

}  // namespace brumil::sound
