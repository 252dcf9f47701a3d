#include "sound/riff_scan.h"

#include <algorithm>
#include <cstring>

#include "byte_io.h"

namespace brumil::sound {
namespace {

RiffReadFn SpanReader(std::span<const Byte> bytes) {
    return [bytes](std::uint64_t offset, std::span<Byte> out) {
        if (offset > bytes.size() || bytes.size() - offset < out.size()) return false;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
        return true;
    };
}

}  // namespace

RiffChunkWalker::RiffChunkWalker(RiffReadFn read, std::uint64_t length, std::uint64_t start)
    : read_(std::move(read)), length_(length), pos_(start) {
    std::array<Byte, 12> head{};
    if (pos_ <= length_ && length_ - pos_ >= head.size() && read_(pos_, head) &&
        std::memcmp(head.data(), "RIFF", 4) == 0) {
        riffHeader_ = true;
        riffSize_ = detail::PeekU32(head, 4);
        pos_ += head.size();
    }
}

RiffChunkWalker::RiffChunkWalker(std::span<const Byte> bytes)
    : RiffChunkWalker(SpanReader(bytes), bytes.size()) {}

std::optional<RiffChunk> RiffChunkWalker::Next() {
    std::array<Byte, 8> head{};
    if (pos_ > length_ || length_ - pos_ < head.size() || !read_(pos_, head)) {
        pos_ = std::max(pos_, length_);
        return std::nullopt;
    }
    RiffChunk c;
    std::memcpy(c.tag.data(), head.data(), 4);
    c.size = detail::PeekU32(head, 4);
    c.headerOffset = pos_;
    c.bodyOffset = pos_ + 8;
    c.bodyAvailable = std::min<std::uint64_t>(c.size, length_ - c.bodyOffset);
    // Bodies of odd size carry one pad byte. A chunk that runs past the end
    // ends the walk: nothing after it can be found.
    const std::uint64_t next = c.bodyOffset + c.size + (c.size & 1u);
    pos_ = next <= length_ ? next : length_;
    return c;
}

bool RiffChunkWalker::ReadBody(const RiffChunk& chunk, std::uint64_t offset,
                               std::span<Byte> out) const {
    if (offset > chunk.bodyAvailable || chunk.bodyAvailable - offset < out.size()) return false;
    return read_(chunk.bodyOffset + offset, out);
}

std::uint64_t WaveScan::SampleBytes() const {
    const std::uint64_t rest = Rest();
    if (dataSize <= 0) return rest;
    return std::min<std::uint64_t>(static_cast<std::uint64_t>(dataSize), rest);
}

namespace {

// Reads the "fmt " record: 14 bytes always, bits when the chunk is longer than
// 14 bytes. False when the record is not all there.
bool ReadFmt(const RiffChunkWalker& walker, const RiffChunk& chunk, WaveFmt& fmt) {
    std::array<Byte, 16> rec{};
    const std::size_t want = chunk.size > 14 ? 16 : 14;
    if (chunk.size < 14 || !walker.ReadBody(chunk, 0, std::span<Byte>(rec).first(want))) {
        return false;
    }
    fmt.chunkSize = chunk.size;
    fmt.formatTag = detail::PeekU16(rec, 0);
    fmt.channels = detail::PeekU16(rec, 2);
    fmt.samplesPerSec = detail::PeekU32(rec, 4);
    fmt.avgBytesPerSec = detail::PeekU32(rec, 8);
    fmt.blockAlign = detail::PeekU16(rec, 12);
    fmt.bitsPerSample = want == 16 ? detail::PeekU16(rec, 14) : 0;
    if (fmt.bitsPerSample == 0 && fmt.channels != 0) {
        // The block align is taken as a signed 16-bit value, as it was stored.
        const auto align = static_cast<Integer>(fmt.blockAlign);
        const Long bits = RoundToLong(align * 8.0 / fmt.channels);
        fmt.bitsPerSample = static_cast<std::uint16_t>(std::clamp<Long>(bits, 0, 0xFFFF));
    }
    return true;
}

}  // namespace

WaveScan ScanRiffWave(RiffReadFn read, std::uint64_t length, int maxChunks, std::uint64_t start) {
    WaveScan scan;
    scan.fileLength = length;
    std::array<Byte, 4> first{};
    if (start <= length && length - start >= 4 && read(start, first) &&
        std::memcmp(first.data(), "OggS", 4) == 0) {
        scan.ogg = true;
        scan.dataOffset = start;
        return scan;
    }
    RiffChunkWalker walker(std::move(read), length, start);
    int steps = walker.HasRiffHeader() ? 1 : 0;
    for (; steps < maxChunks; ++steps) {
        auto chunk = walker.Next();
        if (!chunk) break;
        if (chunk->Is("OggS")) {
            scan.ogg = true;
            scan.dataOffset = chunk->headerOffset;
            return scan;
        }
        if (chunk->Is("fmt ")) {
            WaveFmt fmt;
            if (!ReadFmt(walker, *chunk, fmt) || fmt.formatTag != 1 || fmt.channels == 0) {
                scan.fmtRefused = true;
                scan.dataOffset = walker.Position();
                return scan;
            }
            scan.fmt = fmt;
            scan.fmtFound = true;
        } else if (chunk->Is("fact")) {
            scan.factSize = chunk->size;
        } else if (chunk->Is("data")) {
            scan.dataFound = true;
            scan.dataSize = static_cast<Long>(chunk->size);
            scan.dataOffset = chunk->bodyOffset;
            return scan;
        }
    }
    scan.dataOffset = walker.Position();
    return scan;
}

WaveScan ScanRiffWave(std::span<const Byte> bytes, int maxChunks) {
    return ScanRiffWave(SpanReader(bytes), bytes.size(), maxChunks);
}

}  // namespace brumil::sound
