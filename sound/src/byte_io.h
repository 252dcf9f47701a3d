#pragma once
// Little-endian reads and writes over byte arrays for the sound file formats.
// Reads never go past the end: a short read reports failure and leaves the
// cursor where it was.

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "core/vb_types.h"

namespace brumil::sound::detail {

inline std::uint32_t PeekU32(std::span<const Byte> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

inline std::uint16_t PeekU16(std::span<const Byte> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// A bounds-checked cursor over bytes.
class ByteReader {
public:
    explicit ByteReader(std::span<const Byte> bytes, std::size_t at = 0)
        : bytes_(bytes), pos_(at) {}

    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return pos_ <= bytes_.size() ? bytes_.size() - pos_ : 0; }

    bool U16(std::uint16_t& out) {
        if (Remaining() < 2) return false;
        out = PeekU16(bytes_, pos_);
        pos_ += 2;
        return true;
    }
    bool U32(std::uint32_t& out) {
        if (Remaining() < 4) return false;
        out = PeekU32(bytes_, pos_);
        pos_ += 4;
        return true;
    }
    bool I32(Long& out) {
        std::uint32_t u = 0;
        if (!U32(u)) return false;
        out = static_cast<Long>(u);
        return true;
    }
    bool F32(Single& out) {
        std::uint32_t u = 0;
        if (!U32(u)) return false;
        std::memcpy(&out, &u, sizeof out);
        return true;
    }
    // The next n bytes, or an empty optional span when fewer remain.
    bool Take(std::size_t n, std::span<const Byte>& out) {
        if (Remaining() < n) return false;
        out = bytes_.subspan(pos_, n);
        pos_ += n;
        return true;
    }

private:
    std::span<const Byte> bytes_;
    std::size_t pos_;
};

// Appends little-endian values to a byte vector.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<Byte>& out) : out_(out) {}

    void U16(std::uint16_t v) {
        out_.push_back(static_cast<Byte>(v & 0xFF));
        out_.push_back(static_cast<Byte>(v >> 8));
    }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out_.push_back(static_cast<Byte>((v >> (8 * i)) & 0xFF));
    }
    void I32(Long v) { U32(static_cast<std::uint32_t>(v)); }
    void F32(Single v) {
        std::uint32_t u = 0;
        std::memcpy(&u, &v, sizeof u);
        U32(u);
    }
    void Tag(std::string_view fourcc) {
        for (char c : fourcc.substr(0, 4)) out_.push_back(static_cast<Byte>(c));
    }
    void Bytes(std::span<const Byte> b) { out_.insert(out_.end(), b.begin(), b.end()); }

private:
    std::vector<Byte>& out_;
};

}  // namespace brumil::sound::detail
