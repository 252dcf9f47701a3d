#include "platform/sound/ogg_decoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace brumil::platform {
namespace {

// The bytes vorbisfile reads through its callbacks.
struct MemoryReader {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
};

std::size_t ReadMem(void* ptr, std::size_t size, std::size_t nmemb, void* source) {
    auto* r = static_cast<MemoryReader*>(source);
    if (size == 0) return 0;
    const std::size_t wanted = size * nmemb;
    const std::size_t n = std::min(wanted, r->size - r->pos);
    if (n > 0) std::memcpy(ptr, r->data + r->pos, n);
    r->pos += n;
    return n / size;
}

int SeekMem(void* source, ogg_int64_t offset, int whence) {
    auto* r = static_cast<MemoryReader*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(r->pos);
    if (whence == SEEK_END) base = static_cast<ogg_int64_t>(r->size);
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(r->size)) return -1;
    r->pos = static_cast<std::size_t>(target);
    return 0;
}

long TellMem(void* source) {
    return static_cast<long>(static_cast<MemoryReader*>(source)->pos);
}

constexpr ov_callbacks kMemoryCallbacks = {ReadMem, SeekMem, nullptr, TellMem};

constexpr std::uint8_t kEndOfStream = 0x04;

// An open vorbisfile handle over a memory reader; both stay at fixed addresses.
struct OpenStream {
    OggVorbis_File file{};
    MemoryReader reader;  // over the stream's own bytes, without what trails it
    std::size_t sourceSize = 0;
    OggPcmInfo info;
    bool open = false;

    ~OpenStream() {
        if (open) ov_clear(&file);
    }

    bool Open(std::span<const std::uint8_t> source) {
        const std::size_t length = OggStreamLength(source);
        if (length == 0) return false;
        sourceSize = source.size();
        reader = {source.data(), length, 0};
        if (ov_open_callbacks(&reader, &file, nullptr, 0, kMemoryCallbacks) != 0) return false;
        open = true;
        const vorbis_info* vi = ov_info(&file, -1);
        if (vi == nullptr || vi->channels < 1 || vi->channels > 2 || vi->rate <= 0) return false;
        const ogg_int64_t frames = ov_pcm_total(&file, -1);
        if (frames < 0) return false;
        const ogg_int64_t bytes = frames * vi->channels * 2;
        if (bytes > std::numeric_limits<std::int32_t>::max()) return false;
        info.size = static_cast<std::int32_t>(bytes);
        info.bits = 16;
        info.channels = vi->channels;
        info.hz = static_cast<std::int32_t>(vi->rate);
        return true;
    }

    // Decodes into dst until it is full or the stream ends. Answers the bytes
    // written, or -1 on damaged data or a format change inside the stream.
    long Read(std::uint8_t* dst, std::size_t length) {
        std::size_t done = 0;
        while (done < length) {
            const int chunk = static_cast<int>(std::min<std::size_t>(length - done, 1 << 16));
            int section = 0;
            const long got =
                ov_read(&file, reinterpret_cast<char*>(dst + done), chunk, 0, 2, 1, &section);
            if (got == 0) break;
            if (got < 0) return -1;
            const vorbis_info* vi = ov_info(&file, section);
            if (vi == nullptr || vi->channels != info.channels || vi->rate != info.hz) return -1;
            done += static_cast<std::size_t>(got);
        }
        return static_cast<long>(done);
    }
};

}  // namespace

namespace {

// The page checksum: CRC-32 with the polynomial 0x04C11DB7, high bit first,
// starting from 0, over the page with its own checksum field read as zero.
constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t r = i << 24;
        for (int k = 0; k < 8; ++k) r = (r & 0x80000000u) != 0 ? (r << 1) ^ 0x04C11DB7u : r << 1;
        t[i] = r;
    }
    return t;
}
constexpr auto kCrcTable = MakeCrcTable();
constexpr std::size_t kCrcField = 22;

bool PageChecksumHolds(const std::uint8_t* page, std::size_t length) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t b = (i >= kCrcField && i < kCrcField + 4) ? 0 : page[i];
        crc = (crc << 8) ^ kCrcTable[((crc >> 24) ^ b) & 0xFF];
    }
    const std::uint32_t stored = static_cast<std::uint32_t>(page[kCrcField]) |
                                 static_cast<std::uint32_t>(page[kCrcField + 1]) << 8 |
                                 static_cast<std::uint32_t>(page[kCrcField + 2]) << 16 |
                                 static_cast<std::uint32_t>(page[kCrcField + 3]) << 24;
    return crc == stored;
}

}  // namespace

std::size_t OggStreamLength(std::span<const std::uint8_t> source) {
    std::size_t pos = 0;
    std::size_t streamEnd = 0;  // just past the last page that ended a stream
    while (pos < source.size()) {
        const std::size_t left = source.size() - pos;
        const std::uint8_t* p = source.data() + pos;
        // What follows the end of a stream and is no whole page (a tag block,
        // padding, a truncated copy) is not part of the stream.
        if (left < 27 || std::memcmp(p, "OggS", 4) != 0 || p[4] != 0) break;
        const std::size_t segments = p[26];
        if (left < 27 + segments) break;
        std::size_t body = 0;
        for (std::size_t i = 0; i < segments; ++i) body += p[27 + i];
        const std::size_t page = 27 + segments + body;
        // A page cut short and filled up by whatever follows it fails its
        // checksum.
        if (left < page || !PageChecksumHolds(p, page)) break;
        pos += page;
        if ((p[5] & kEndOfStream) != 0) streamEnd = pos;
    }
    return streamEnd;
}

std::int32_t DecodeOggWhole(std::span<const std::uint8_t> source, std::vector<std::uint8_t>& pcm,
                            OggPcmInfo& info) {
    OpenStream stream;
    if (!stream.Open(source)) return 0;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(stream.info.size));
    const long got = stream.Read(out.data(), out.size());
    if (got <= 0) return 0;
    out.resize(static_cast<std::size_t>(got));
    pcm = std::move(out);
    info = stream.info;
    info.size = static_cast<std::int32_t>(got);
    return info.size;
}

struct OggStreamTable::Slot {
    OpenStream stream;
};

OggStreamTable::OggStreamTable() = default;
OggStreamTable::~OggStreamTable() = default;

int OggStreamTable::OpenCount() const {
    return static_cast<int>(
        std::count_if(slots_.begin(), slots_.end(), [](const auto& s) { return s != nullptr; }));
}

void OggStreamTable::Close(int index) {
    if (index >= 0 && index < kSlots) slots_[static_cast<std::size_t>(index)].reset();
}

std::int32_t OggStreamTable::Fail(OggStreamCall& call) {
    Close(call.index);
    call.index = -1;
    call.mode = 3;
    return 0;
}

std::int32_t OggStreamTable::Decode(OggStreamCall call) {
    switch (call.mode) {
        case 0:
            return Open(call);
        case 1:
            return Step(call);
        case 2:
            Close(call.index);
            call.index = -1;
            call.mode = 3;
            return 0;
        default:
            return 0;
    }
}

std::int32_t OggStreamTable::Open(OggStreamCall& call) {
    call.index = -1;
    const auto free = std::find(slots_.begin(), slots_.end(), nullptr);
    if (free == slots_.end()) return Fail(call);
    auto slot = std::make_unique<Slot>();
    if (!slot->stream.Open(call.source)) return Fail(call);
    call.index = static_cast<std::int32_t>(free - slots_.begin());
    call.info = slot->stream.info;
    call.pcm.assign(static_cast<std::size_t>(call.info.size), 0);
    call.cursor = 0;
    call.mode = 1;
    *free = std::move(slot);
    return Step(call);
}

std::int32_t OggStreamTable::Step(OggStreamCall& call) {
    if (call.index < 0 || call.index >= kSlots) return Fail(call);
    Slot* slot = slots_[static_cast<std::size_t>(call.index)].get();
    if (slot == nullptr) return Fail(call);
    OpenStream& s = slot->stream;
    if (call.source.size() != s.sourceSize) return Fail(call);
    s.reader.data = call.source.data();  // the caller's bytes may have moved
    call.info = s.info;
    const std::int32_t size = s.info.size;
    if (call.cursor < 0 || call.cursor > size || call.pcm.size() < static_cast<std::size_t>(size)) {
        return Fail(call);
    }
    const std::int64_t units =
        std::max<std::int64_t>(1, (std::int64_t{call.requestBytes} + kStepUnit - 1) / kStepUnit);
    const std::int64_t target = std::min<std::int64_t>(size, call.cursor + units * kStepUnit);
    const std::size_t want = static_cast<std::size_t>(target - call.cursor);
    const long got = s.Read(call.pcm.data() + call.cursor, want);
    if (got < 0) return Fail(call);
    call.cursor += static_cast<std::int32_t>(got);
    const bool ended = static_cast<std::size_t>(got) < want;
    if (call.cursor >= size || ended) {
        Close(call.index);
        call.index = -1;
        call.cursor = 0;
        call.mode = 3;
        return size;
    }
    return -call.cursor;
}

}  // namespace brumil::platform
