#pragma once
// Walking UTF-8 text one character at a time.

#include <string_view>

namespace brumil::image::detail {

struct Utf8Char {
    char32_t code = 0;
    std::string_view bytes;  // the character's bytes in the text
};

// Takes one character off the front of text. A malformed sequence yields
// U+FFFD for its first byte.
inline Utf8Char NextUtf8(std::string_view& text) {
    const auto b0 = static_cast<unsigned char>(text[0]);
    int len = 1;
    char32_t cp = 0xFFFD;
    if (b0 < 0x80) {
        cp = b0;
    } else if (b0 >= 0xC2 && b0 < 0xE0) {
        len = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 < 0xF0) {
        len = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 < 0xF5) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        len = 0;
    }
    bool ok = len > 0 && text.size() >= static_cast<std::size_t>(len);
    for (int i = 1; ok && i < len; ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b & 0xC0) != 0x80) ok = false;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (ok && len > 1) {
        const char32_t minimum = len == 2 ? 0x80 : (len == 3 ? 0x800 : 0x10000);
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) ok = false;
    }
    if (!ok) {
        len = 1;
        cp = 0xFFFD;
    }
    Utf8Char out{cp, text.substr(0, len)};
    text.remove_prefix(len);
    return out;
}

}  // namespace brumil::image::detail
