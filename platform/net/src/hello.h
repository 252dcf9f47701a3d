#pragma once
// The first message each side sends on the Text lane after connecting: who it
// is and which application and protocol it speaks.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace brumil::platform::net {

struct Hello {
    std::uint32_t playerId = 0;
    std::string name;
};

std::string EncodeHello(const Hello& hello);
// Nothing unless magic, version and the whole GUID match, the id is not 0 and
// the name is clean UTF-8 of at most kMaxNameBytes, with nothing after it.
std::optional<Hello> DecodeHello(std::span<const std::uint8_t> bytes);

// A name as this side sends it: controls dropped, cut to kMaxNameBytes.
std::string WireName(std::string_view name);

// A well-formed search query of this application; `stampMs` gets its stamp.
bool IsSearchQuery(std::span<const std::uint8_t> bytes, std::uint32_t& stampMs);
// Starts like a search query (such datagrams never reach the session layer).
bool LooksLikeQuery(std::span<const std::uint8_t> bytes);

}  // namespace brumil::platform::net
