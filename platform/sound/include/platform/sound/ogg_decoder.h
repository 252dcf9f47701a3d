#pragma once
// Ogg Vorbis decoding of streams held in memory, to 16-bit little-endian PCM.
//
// A stream is accepted when it is made of whole Ogg pages from its first byte
// up to a page that ends a logical stream, the Vorbis headers decode, and it
// has one or two channels; bytes after the last such page (a tag block, padding)
// are ignored. Anything else (garbage, a truncated file, more channels, a hole
// in the data) answers failure; no input crashes.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace brumil::platform {

struct OggPcmInfo {
    std::int32_t size = 0;  // PCM bytes of the whole stream
    std::int32_t bits = 16;
    std::int32_t channels = 0;
    std::int32_t hz = 0;
};

// Decodes the whole stream. Answers the PCM byte count (pcm resized to it) and
// fills info; 0 on failure (pcm and info then untouched).
std::int32_t DecodeOggWhole(std::span<const std::uint8_t> source, std::vector<std::uint8_t>& pcm,
                            OggPcmInfo& info);

// The length of the stream at the start of the bytes: whole Ogg pages (each
// with its checksum) up to and including the last page that ends a logical
// stream before anything that is not such a page. 0 when no such page comes
// first (a truncated stream).
std::size_t OggStreamLength(std::span<const std::uint8_t> source);

// Step decoding with a fixed table of stream slots, driven by a mode value:
//   0 open: take a free slot (index), fill info, size pcm to info.size, cursor
//     := 0, decode a first step, mode := 1;
//   1 decode the next step into pcm from byte `cursor` on;
//   2 close the stream, free the slot, mode := 3;
//   3 nothing.
// A step is the requested byte count in units of 4096 bytes, rounded up, at
// least one unit. Answer: -cursor while the stream is not finished; info.size
// when this step finished it (then the stream is closed, the slot freed, index
// := -1, cursor := 0, mode := 3); 0 on failure and in modes 2 and 3. A failure
// also closes the stream, frees its slot and sets index -1 and mode 3.
//
// The slot reads from the `source` given on every call (the caller keeps the
// bytes alive between calls); a call whose source differs in size from the one
// the stream was opened with fails.
struct OggStreamCall {
    std::int32_t& mode;
    std::int32_t& index;
    std::int32_t& cursor;
    std::int32_t requestBytes;
    std::span<const std::uint8_t> source;
    std::vector<std::uint8_t>& pcm;
    OggPcmInfo& info;
};

class OggStreamTable {
public:
    static constexpr int kSlots = 16;
    static constexpr std::int32_t kStepUnit = 4096;

    OggStreamTable();
    ~OggStreamTable();
    OggStreamTable(const OggStreamTable&) = delete;
    OggStreamTable& operator=(const OggStreamTable&) = delete;

    std::int32_t Decode(OggStreamCall call);
    int OpenCount() const;

private:
    struct Slot;
    std::int32_t Open(OggStreamCall& call);
    std::int32_t Step(OggStreamCall& call);
    std::int32_t Fail(OggStreamCall& call);
    void Close(int index);

    std::array<std::unique_ptr<Slot>, kSlots> slots_;
};

}  // namespace brumil::platform
