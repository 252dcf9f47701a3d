#pragma once
// Numbers and strings as both peers write them: 32-bit little-endian numbers,
// strings as a 32-bit byte count and that many bytes of UTF-8. Readers take
// untrusted bytes: every read checks the length first and reports failure
// instead of reading past the end.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace brumil::platform::net {

// The longest string either side writes or accepts, in bytes.
inline constexpr std::uint32_t kMaxStringBytes = 1024;

void AppendU32(std::string& out, std::uint32_t v);
// Count and bytes; a longer text is cut to kMaxStringBytes at a character
// boundary.
void AppendString(std::string& out, std::string_view text);

// Reads over a byte span from a position that advances with each read.
class WireReader {
public:
    explicit WireReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool ReadU32(std::uint32_t& v);
    bool ReadI32(std::int32_t& v);
    // Fails (and leaves the position) when the count exceeds kMaxStringBytes or
    // the bytes left. The text is returned raw: see CleanText.
    bool ReadString(std::string& text);
    std::size_t Left() const { return bytes_.size() - pos_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// Valid UTF-8 of `text`: each invalid byte becomes U+FFFD; with
// `stripControls` the C0 controls (CR, LF, NUL, TAB ...) and DEL are dropped.
std::string CleanText(std::string_view text, bool stripControls);
// Whether `text` is valid UTF-8 without control characters.
bool IsCleanText(std::string_view text);
// `text` cut to at most `maxBytes` without splitting a UTF-8 sequence.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);

inline std::span<const std::uint8_t> AsBytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

}  // namespace brumil::platform::net
