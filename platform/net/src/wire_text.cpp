#include "platform/net/wire_text.h"

namespace brumil::platform::net {

void AppendU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFFu));
}

void AppendString(std::string& out, std::string_view text) {
    const std::string_view cut = CutUtf8(text, kMaxStringBytes);
    AppendU32(out, static_cast<std::uint32_t>(cut.size()));
    out.append(cut);
}

bool WireReader::ReadU32(std::uint32_t& v) {
    if (Left() < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t{bytes_[pos_ + i]} << (8 * i);
    pos_ += 4;
    return true;
}

bool WireReader::ReadI32(std::int32_t& v) {
    std::uint32_t u = 0;
    if (!ReadU32(u)) return false;
    v = static_cast<std::int32_t>(u);
    return true;
}

bool WireReader::ReadString(std::string& text) {
    const std::size_t start = pos_;
    std::uint32_t count = 0;
    if (!ReadU32(count)) return false;
    if (count > kMaxStringBytes || count > Left()) {
        pos_ = start;
        return false;
    }
    text.assign(reinterpret_cast<const char*>(bytes_.data() + pos_), count);
    pos_ += count;
    return true;
}

namespace {

// Length of the valid UTF-8 sequence at the start of `s`, 0 when invalid
// (overlong forms, surrogates and values past U+10FFFF are invalid).
std::size_t SequenceLength(std::string_view s) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = b(0);
    if (c < 0x80) return 1;
    std::size_t n = 0;
    std::uint32_t cp = 0;
    std::uint32_t min = 0;
    if ((c & 0xE0) == 0xC0) {
        n = 2, cp = c & 0x1Fu, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3, cp = c & 0x0Fu, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4, cp = c & 0x07u, min = 0x10000;
    } else {
        return 0;
    }
    if (s.size() < n) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i) & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

}  // namespace

std::string CleanText(std::string_view text, bool stripControls) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t n = SequenceLength(text);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            text.remove_prefix(1);
            continue;
        }
        if (!(n == 1 && stripControls && IsControl(static_cast<unsigned char>(text[0])))) {
            out.append(text.substr(0, n));
        }
        text.remove_prefix(n);
    }
    return out;
}

bool IsCleanText(std::string_view text) {
    while (!text.empty()) {
        const std::size_t n = SequenceLength(text);
        if (n == 0 || (n == 1 && IsControl(static_cast<unsigned char>(text[0])))) return false;
        text.remove_prefix(n);
    }
    return true;
}

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    // Back up over continuation bytes to the start of the cut sequence.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace brumil::platform::net
