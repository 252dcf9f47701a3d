// CmsSTM: opening the file and reading its header.
#include "sound/ms_stm.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "byte_io.h"
#include "core/api.h"
#include "sound/riff_scan.h"

namespace brumil::sound {

CmsSTM::CmsSTM() = default;

CmsSTM::~CmsSTM() {
    FileClose();
}

Long CmsSTM::FileOpen(std::string_view path) {
    if (!fileName_.empty() && path == fileName_) return 0;
    OpenStream(path);
    return WaveLoaded != kFalse ? 0 : 1;
}

void CmsSTM::FileClose() {
    if (fileName_.empty()) return;
    CloseStream();
    BufferDelete();
}

bool CmsSTM::OpenStream(std::string_view path) {
    WaveLoaded = kFalse;
    loopSet_ = false;
    if (!api_) api_ = std::make_unique<core::CApi>();
    if (api_->PakFileOpen(path) != 0) return false;
    if (!ReadStreamHeader()) {
        CloseStream();
        return false;
    }
    fileName_ = std::string(path);
    WaveLoaded = kTrue;
    SetCurrentPosition(0);
    return true;
}

void CmsSTM::CloseStream() {
    if (api_) api_->PakFileClose();
    fileName_.clear();
    WaveLoaded = kFalse;
}

bool CmsSTM::ReadStreamHeader() {
    const Long first = api_->PakFileRecnumber();
    if (first <= 0) return false;
    const Long number = api_->PakFileNumber();
    const Long length = api_->PakFileLength();
    const core::CApi& api = *api_;
    RiffReadFn read = [&api, number, first](std::uint64_t offset, std::span<Byte> out) {
        if (offset > static_cast<std::uint64_t>(INT32_MAX - first)) return false;
        return api.ReadBytes(number, first + static_cast<Long>(offset), out) ==
               static_cast<Long>(out.size());
    };
    header_ = StreamHeader{};
    StreamHeader& h = header_;

    // Chunks are walked by their sizes, so unknown ones are skipped whole; the
    // walk ends at "data" or at a "<W1>" record.
    RiffChunkWalker walker(read, static_cast<std::uint64_t>(std::max<Long>(length, 0)));
    int steps = 0;
    if (walker.HasRiffHeader()) {
        h.riffSize = static_cast<Long>(walker.RiffSize());
        steps = 2;  // the "RIFF" tag and the form type
    }
    std::uint64_t dataOffset = 0;
    bool found = false;
    for (; steps < kMaxHeaderTags && !found; ++steps) {
        const std::optional<RiffChunk> chunk = walker.Next();
        if (!chunk) break;
        if (chunk->Is("fmt ")) {
            // 14 bytes of record, the bits word when the chunk is longer.
            std::array<Byte, 16> rec{};
            const std::size_t want = chunk->size > 14 ? 16 : 14;
            if (chunk->size < 14 || !walker.ReadBody(*chunk, 0, std::span<Byte>(rec).first(want))) {
                return false;
            }
            const std::uint16_t tag = detail::PeekU16(rec, 0);
            h.channels = static_cast<Integer>(detail::PeekU16(rec, 2));
            if (tag != 1 || h.channels == 0) return false;
            h.fmtSize = static_cast<Long>(chunk->size);
            h.hz = static_cast<Long>(detail::PeekU32(rec, 4));
            h.blockAlign = static_cast<Integer>(detail::PeekU16(rec, 12));
            h.bits = want == 16 ? static_cast<Integer>(detail::PeekU16(rec, 14)) : Integer{0};
            if (h.bits == 0) {
                const auto align = static_cast<Integer>(detail::PeekU16(rec, 12));
                h.bits = static_cast<Integer>(RoundToLong(align * 8.0 / h.channels));
            }
        } else if (chunk->Is("fact")) {
            h.factSize = static_cast<Long>(chunk->size);
        } else if (chunk->Is("data")) {
            h.dataSize = static_cast<Long>(chunk->size);
            dataOffset = chunk->bodyOffset;
            found = true;
        } else if (chunk->Is("<W1>")) {
            std::array<Byte, StreamHeader::kSize> rec{};
            if (!read(chunk->headerOffset + 4, rec)) return false;
            h = StreamHeader::Read(rec);
            dataOffset = chunk->headerOffset + 4 + StreamHeader::kSize + StreamHeader::kTrailer;
            found = true;
        } else if (chunk->Is("<W2>")) {
            return false;
        }
    }
    if (!found) dataOffset = walker.Position();
    // Bytes consumed after an 8-byte RIFF header.
    const Long consumed = static_cast<Long>(dataOffset) - 8;

    if (h.riffSize <= 0) h.riffSize = length - 8;
    if (h.dataSize <= 0) h.dataSize = h.riffSize - consumed;
    if (h.dataSize <= 0) return false;
    if (h.channels != 1 && h.channels != 2) return false;
    if (h.bits != 8 && h.bits != 16) return false;
    if (h.hz < 4000 || h.hz > 96000) return false;
    h.dataSize = std::min(h.dataSize, length - consumed - 8);
    h.blockAlign = RoundToLong(h.bits / 8.0 * h.channels);
    h.dataSize -= h.dataSize % h.blockAlign;
    blocks_ = h.dataSize / h.blockAlign;

    fileFirst_ = first;
    dataStart_ = first + static_cast<Long>(dataOffset);
    readPos_ = dataStart_;
    dataEnd_ = dataStart_ + h.dataSize;
    return true;
}

void CmsSTM::SetCurrentPosition(Long position) {
    if (WaveLoaded == kFalse) return;
    seekRequest_ = position;
    seekPending_ = true;
}

void CmsSTM::SetTime(double seconds) {
    SetCurrentPosition(RoundToLong(header_.hz * seconds * header_.blockAlign));
}

void CmsSTM::SetLoopData(double loopStart, double loopEnd) {
    loopSet_ = true;
    loopStart_ = RoundToLong(header_.hz * loopStart * header_.blockAlign);
    loopEnd_ = RoundToLong(header_.hz * loopEnd * header_.blockAlign);
}

double CmsSTM::GetLength() const {
    if (header_.hz <= 0) return 0.0;
    return static_cast<double>(blocks_) / header_.hz;
}

}  // namespace brumil::sound
