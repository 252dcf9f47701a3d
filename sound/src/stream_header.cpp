#include "sound/stream_header.h"

#include "byte_io.h"

namespace brumil::sound {
namespace {

void Put32(std::array<Byte, StreamHeader::kSize>& out, std::size_t at, Long v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (std::size_t i = 0; i < 4; ++i) out[at + i] = static_cast<Byte>((u >> (8 * i)) & 0xFF);
}

void Put16(std::array<Byte, StreamHeader::kSize>& out, std::size_t at, Integer v) {
    const auto u = static_cast<std::uint16_t>(v);
    out[at] = static_cast<Byte>(u & 0xFF);
    out[at + 1] = static_cast<Byte>(u >> 8);
}

}  // namespace

StreamHeader StreamHeader::Read(std::span<const Byte> b) {
    StreamHeader h;
    h.fmtSize = static_cast<Long>(detail::PeekU32(b, 0));
    h.factSize = static_cast<Long>(detail::PeekU32(b, 4));
    h.dataSize = static_cast<Long>(detail::PeekU32(b, 8));
    h.riffSize = static_cast<Long>(detail::PeekU32(b, 12));
    h.blockAlign = static_cast<Long>(detail::PeekU32(b, 16));
    h.bits = static_cast<Integer>(detail::PeekU16(b, 20));
    h.channels = static_cast<Integer>(detail::PeekU16(b, 22));
    h.hz = static_cast<Long>(detail::PeekU32(b, 24));
    h.reserved1 = static_cast<Long>(detail::PeekU32(b, 28));
    h.reserved2 = static_cast<Long>(detail::PeekU32(b, 32));
    return h;
}

std::array<Byte, StreamHeader::kSize> StreamHeader::Bytes() const {
    std::array<Byte, kSize> out{};
    Put32(out, 0, fmtSize);
    Put32(out, 4, factSize);
    Put32(out, 8, dataSize);
    Put32(out, 12, riffSize);
    Put32(out, 16, blockAlign);
    Put16(out, 20, bits);
    Put16(out, 22, channels);
    Put32(out, 24, hz);
    Put32(out, 28, reserved1);
    Put32(out, 32, reserved2);
    return out;
}

}  // namespace brumil::sound
