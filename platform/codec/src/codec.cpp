#include "platform/codec/codec.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace brumil::platform {
namespace {

constexpr std::array<std::uint8_t, 4> kMagic = {'B', 'R', 'C', '1'};

void PutU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

int LevelOf(std::uint32_t program) {
    switch (program) {
        case 1:
            return Z_BEST_SPEED;
        case 2:
            return Z_DEFAULT_COMPRESSION;
        default:
            return Z_BEST_COMPRESSION;
    }
}

std::optional<std::vector<std::uint8_t>> Deflate(std::span<const std::uint8_t> data, int level) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::vector<std::uint8_t> out(size);
    if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), level) != Z_OK) {
        return std::nullopt;
    }
    out.resize(size);
    return out;
}

// Inflates exactly `expected` bytes; any other outcome refuses the block.
bool Inflate(std::span<const std::uint8_t> coded, std::vector<std::uint8_t>& out,
             std::uint32_t expected) {
    out.assign(expected, 0);
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = const_cast<Bytef*>(coded.data());
    z.avail_in = static_cast<uInt>(coded.size());
    // One spare byte detects a stream that decodes to more than announced.
    std::uint8_t spare = 0;
    z.next_out = expected > 0 ? out.data() : &spare;
    z.avail_out = expected > 0 ? expected : 1;
    int rc = inflate(&z, Z_FINISH);
    if (rc == Z_BUF_ERROR && expected > 0 && z.avail_out == 0) {
        z.next_out = &spare;
        z.avail_out = 1;
        rc = inflate(&z, Z_FINISH);
    }
    const bool ok = rc == Z_STREAM_END && z.total_out == expected;
    inflateEnd(&z);
    return ok;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodeBlock(std::span<const std::uint8_t> data,
                                                     std::uint32_t program) {
    if (program >= kCodecProgramCount || data.size() > kMaxDecodedLength) return std::nullopt;
    std::vector<std::uint8_t> coded;
    if (program == 0) {
        coded.assign(data.begin(), data.end());
    } else if (program == 4) {
        std::vector<std::uint8_t> delta(data.size());
        std::uint8_t prev = 0;
        for (std::size_t i = 0; i < data.size(); ++i) {
            delta[i] = static_cast<std::uint8_t>(data[i] - prev);
            prev = data[i];
        }
        auto z = Deflate(delta, LevelOf(program));
        if (!z) return std::nullopt;
        coded = std::move(*z);
    } else {
        auto z = Deflate(data, LevelOf(program));
        if (!z) return std::nullopt;
        coded = std::move(*z);
    }
    std::vector<std::uint8_t> block(kCodecHeaderSize + coded.size());
    std::memcpy(block.data(), kMagic.data(), kMagic.size());
    PutU32(block.data() + 4, program);
    PutU32(block.data() + 8, static_cast<std::uint32_t>(data.size()));
    if (!coded.empty()) std::memcpy(block.data() + kCodecHeaderSize, coded.data(), coded.size());
    return block;
}

std::optional<std::uint32_t> BlockProgram(std::span<const std::uint8_t> block) {
    if (block.size() < kCodecHeaderSize) return std::nullopt;
    if (std::memcmp(block.data(), kMagic.data(), kMagic.size()) != 0) return std::nullopt;
    const std::uint32_t program = GetU32(block.data() + 4);
    if (program >= kCodecProgramCount) return std::nullopt;
    return program;
}

std::optional<std::vector<std::uint8_t>> DecodeBlock(std::span<const std::uint8_t> block) {
    const auto program = BlockProgram(block);
    if (!program) return std::nullopt;
    const std::uint32_t length = GetU32(block.data() + 8);
    if (length > kMaxDecodedLength) return std::nullopt;
    const auto coded = block.subspan(kCodecHeaderSize);
    std::vector<std::uint8_t> out;
    if (*program == 0) {
        if (coded.size() != length) return std::nullopt;
        out.assign(coded.begin(), coded.end());
        return out;
    }
    // Deflate cannot expand beyond about 1032:1; a larger claim is hostile.
    if (length / 1032 > coded.size() + 1) return std::nullopt;
    if (!Inflate(coded, out, length)) return std::nullopt;
    if (*program == 4) {
        std::uint8_t prev = 0;
        for (auto& b : out) {
            b = static_cast<std::uint8_t>(b + prev);
            prev = b;
        }
    }
    return out;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    // zlib takes the length as uInt: feed large inputs in pieces.
    uLong c = crc;
    while (!bytes.empty()) {
        const std::size_t n = std::min<std::size_t>(bytes.size(), 1u << 30);
        c = crc32(c, bytes.data(), static_cast<uInt>(n));
        bytes = bytes.subspan(n);
    }
    return static_cast<std::uint32_t>(c);
}

}  // namespace brumil::platform
