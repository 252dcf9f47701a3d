#pragma once
// Builds RIFF files chunk by chunk for the sound tests, including malformed
// ones (wrong sizes, missing pads, odd chunk orders).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/vb_types.h"

namespace brumil::sound::test {

class RiffBuilder {
public:
    // Starts with "RIFF", a size patched by Bytes() unless `riffSize` is given,
    // and the form type.
    explicit RiffBuilder(std::string_view form = "WAVE") { Tag("RIFF").U32(0).Tag(form); }

    RiffBuilder& Tag(std::string_view t) {
        for (char c : t) out_.push_back(static_cast<Byte>(c));
        return *this;
    }
    RiffBuilder& U16(std::uint32_t v) {
        out_.push_back(static_cast<Byte>(v & 0xFF));
        out_.push_back(static_cast<Byte>((v >> 8) & 0xFF));
        return *this;
    }
    RiffBuilder& U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out_.push_back(static_cast<Byte>((v >> (8 * i)) & 0xFF));
        return *this;
    }
    RiffBuilder& Raw(const std::vector<Byte>& b) {
        out_.insert(out_.end(), b.begin(), b.end());
        return *this;
    }
    // A "fmt " chunk of `size` bytes (14, 16 or 18 and more; the rest zero).
    RiffBuilder& Fmt(std::uint32_t tag, std::uint32_t channels, std::uint32_t hz,
                     std::uint32_t bits, std::uint32_t size = 16) {
        const std::uint32_t align = bits / 8 * channels;
        Tag("fmt ").U32(size).U16(tag).U16(channels).U32(hz).U32(hz * align).U16(align);
        if (size >= 16) U16(bits);
        for (std::uint32_t i = 16; i < size; ++i) out_.push_back(0);
        return *this;
    }
    // Any chunk with `n` filler bytes and its pad byte when n is odd.
    RiffBuilder& Chunk(std::string_view tag, std::uint32_t n, Byte fill = 0x55) {
        Tag(tag).U32(n);
        out_.insert(out_.end(), n + (n & 1), fill);
        return *this;
    }
    // A "data" chunk declaring `declared` bytes and holding `samples`.
    RiffBuilder& Data(const std::vector<Byte>& samples, std::uint32_t declared) {
        return Tag("data").U32(declared).Raw(samples);
    }
    RiffBuilder& Data(const std::vector<Byte>& samples) {
        return Data(samples, static_cast<std::uint32_t>(samples.size()));
    }
    std::vector<Byte> Bytes() const {
        std::vector<Byte> b = out_;
        const auto size = static_cast<std::uint32_t>(b.size() - 8);
        for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<Byte>((size >> (8 * i)) & 0xFF);
        return b;
    }
    std::string Text() const {
        const auto b = Bytes();
        return std::string(b.begin(), b.end());
    }

private:
    std::vector<Byte> out_;
};

// n bytes counting up from `start` (mod 256): recognisable sample data.
inline std::vector<Byte> Ramp(std::size_t n, unsigned start = 0) {
    std::vector<Byte> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<Byte>((start + i * 7) & 0xFF);
    return v;
}

}  // namespace brumil::sound::test
