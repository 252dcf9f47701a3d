#include "core/save_text.h"

#include <cstring>

#include "platform/codec/codec.h"

namespace brumil::core {
namespace {

constexpr std::size_t kHeaderSize = 16;

void PutU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

// XORs the bytes with the keystream; applying it twice restores them.
void Scramble(std::span<std::uint8_t> bytes, std::uint32_t length) {
    std::uint32_t x = 0x2545F491u ^ length;
    if (x == 0) x = 1;
    for (auto& b : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b ^= static_cast<std::uint8_t>(x >> 24);
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeSaveText(std::string_view text) {
    const auto length = static_cast<std::uint32_t>(text.size());
    std::vector<std::uint8_t> out(kHeaderSize + text.size());
    std::memcpy(out.data(), kSaveTextMagic, sizeof kSaveTextMagic);
    PutU32(out.data() + 8, length);
    const std::span plain(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    PutU32(out.data() + 12, platform::Crc32(plain));
    if (!text.empty()) std::memcpy(out.data() + kHeaderSize, text.data(), text.size());
    Scramble(std::span(out).subspan(kHeaderSize), length);
    return out;
}

bool IsSaveTextEncoded(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= sizeof kSaveTextMagic &&
           std::memcmp(bytes.data(), kSaveTextMagic, sizeof kSaveTextMagic) == 0;
}

std::optional<std::string> DecodeSaveText(std::span<const std::uint8_t> bytes) {
    if (!IsSaveTextEncoded(bytes) || bytes.size() < kHeaderSize) return std::nullopt;
    const std::uint32_t length = GetU32(bytes.data() + 8);
    if (bytes.size() - kHeaderSize != length) return std::nullopt;
    std::vector<std::uint8_t> plain(bytes.begin() + kHeaderSize, bytes.end());
    Scramble(plain, length);
    if (platform::Crc32(plain) != GetU32(bytes.data() + 12)) return std::nullopt;
    return std::string(plain.begin(), plain.end());
}

}  // namespace brumil::core
