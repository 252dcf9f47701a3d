#include "sound/wit_file.h"

#include "byte_io.h"

namespace brumil::sound {
namespace {

bool ReadTag(detail::ByteReader& r, std::string& out) {
    std::uint16_t n = 0;
    std::span<const Byte> text;
    if (!r.U16(n) || !r.Take(n, text)) return false;
    out.assign(text.begin(), text.end());
    return true;
}

// Longest prefix of at most 65535 bytes that does not split a UTF-8 sequence.
std::string_view FitTag(std::string_view s) {
    constexpr std::size_t kMax = 0xFFFF;
    if (s.size() <= kMax) return s;
    std::size_t n = kMax;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return s.substr(0, n);
}

void WriteTag(detail::ByteWriter& w, std::string_view s) {
    const std::string_view fit = FitTag(s);
    w.U16(static_cast<std::uint16_t>(fit.size()));
    w.Bytes(std::span(reinterpret_cast<const Byte*>(fit.data()), fit.size()));
}

}  // namespace

std::optional<WitRecord> ReadWitFile(std::span<const Byte> file) {
    detail::ByteReader r(file);
    WitRecord rec;
    const bool header = r.I32(rec.magic) && r.I32(rec.dataSize) && r.I32(rec.dataBits) &&
                        r.I32(rec.dataChannels) && r.I32(rec.dataHz) && r.I32(rec.playerStart) &&
                        r.I32(rec.playerRestart) && r.I32(rec.playerEnd) && r.I32(rec.reserved) &&
                        r.I32(rec.defaultStream) && r.F32(rec.defaultVolume);
    if (!header || rec.magic != kWitMagic) return std::nullopt;
    if (rec.dataBits != 8 && rec.dataBits != 16) return std::nullopt;
    if (rec.dataChannels != 1 && rec.dataChannels != 2) return std::nullopt;

    if (!ReadTag(r, rec.tagTitle) || !ReadTag(r, rec.tagInfo)) return std::nullopt;
    std::uint16_t dims = 0;
    std::uint32_t count = 0;
    Long lowerBound = 0;
    std::span<const Byte> data;
    if (!r.I32(rec.passCount) || !r.I32(rec.sourceKind) || !r.U16(dims) || dims != 1 ||
        !r.U32(count) || !r.I32(lowerBound) || !r.Take(count, data)) {
        return std::nullopt;
    }
    rec.data.assign(data.begin(), data.end());
    return rec;
}

std::vector<Byte> WriteWitFile(const WitRecord& rec) {
    std::vector<Byte> out;
    out.reserve(kWitHeaderSize + 24 + rec.tagTitle.size() + rec.tagInfo.size() + rec.data.size());
    detail::ByteWriter w(out);
    for (Long v :
         {rec.magic, rec.dataSize, rec.dataBits, rec.dataChannels, rec.dataHz, rec.playerStart,
          rec.playerRestart, rec.playerEnd, rec.reserved, rec.defaultStream}) {
        w.I32(v);
    }
    w.F32(rec.defaultVolume);
    WriteTag(w, rec.tagTitle);
    WriteTag(w, rec.tagInfo);
    w.I32(rec.passCount);
    w.I32(rec.sourceKind);
    w.U16(1);
    w.U32(static_cast<std::uint32_t>(rec.data.size()));
    w.I32(0);
    w.Bytes(rec.data);
    return out;
}

}  // namespace brumil::sound
