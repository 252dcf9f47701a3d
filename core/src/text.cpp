#include "core/text.h"

#include <algorithm>

namespace brumil::core {
namespace {

// Length of a well-formed UTF-8 sequence at `i` and its code point; 0 when the
// byte does not start one.
std::size_t DecodeAt(std::string_view s, std::size_t i, char32_t& code) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        code = b0;
        return 1;
    }
    std::size_t n = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        n = 2;
        code = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3;
        code = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 4;
        code = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        code = (code << 6) | (b & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return n;
}

// Byte offset of the 1-based character position (the text's size past the end).
std::size_t ByteOffsetOf(const std::vector<Utf8Char>& chars, std::size_t textSize, Long pos) {
    if (pos < 1) return 0;
    const auto index = static_cast<std::size_t>(pos - 1);
    return index < chars.size() ? chars[index].offset : textSize;
}

// Finds `search` in `text` from character index `from` (0-based); answers the
// character index, or -1.
long FindChars(const std::vector<Utf8Char>& text, const std::vector<Utf8Char>& search,
               std::size_t from, Long compare) {
    if (search.empty() || search.size() > text.size()) return -1;
    for (std::size_t i = from; i + search.size() <= text.size(); ++i) {
        bool hit = true;
        for (std::size_t k = 0; k < search.size() && hit; ++k) {
            char32_t a = text[i + k].code;
            char32_t b = search[k].code;
            if (compare == kTextCompare) {
                a = FoldForTextCompare(a);
                b = FoldForTextCompare(b);
            }
            hit = a == b;
        }
        if (hit) return static_cast<long>(i);
    }
    return -1;
}

}  // namespace

std::vector<Utf8Char> SplitUtf8(std::string_view text) {
    std::vector<Utf8Char> chars;
    chars.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t code = 0;
        std::size_t n = DecodeAt(text, i, code);
        if (n == 0) {
            n = 1;
            code = static_cast<unsigned char>(text[i]);
        }
        chars.push_back({i, n, code});
        i += n;
    }
    return chars;
}

Long CharCount(std::string_view text) {
    return static_cast<Long>(SplitUtf8(text).size());
}

char32_t FoldForTextCompare(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) c = c - 0xFF01 + 0x21;
    if (c == 0x3000) c = 0x20;
    if (c >= 'A' && c <= 'Z') c = c - 'A' + 'a';
    return c;
}

Long InStr(Long start, std::string_view text, std::string_view search, Long compare) {
    const auto chars = SplitUtf8(text);
    if (start < 1) start = 1;
    if (search.empty()) return start <= static_cast<Long>(chars.size()) ? start : 0;
    const long at =
        FindChars(chars, SplitUtf8(search), static_cast<std::size_t>(start - 1), compare);
    return at < 0 ? 0 : static_cast<Long>(at + 1);
}

std::string Mid(std::string_view text, Long start, Long length) {
    const auto chars = SplitUtf8(text);
    if (start < 1) start = 1;
    const std::size_t from = ByteOffsetOf(chars, text.size(), start);
    if (length < 0) return std::string(text.substr(from));
    const Long endPos = start + std::min<Long>(length, INT32_MAX - start);
    const std::size_t to = ByteOffsetOf(chars, text.size(), endPos);
    return std::string(text.substr(from, to - from));
}

std::string Divide(std::string& text, std::string_view delimiter) {
    const std::size_t at = delimiter.empty() ? std::string::npos : text.find(delimiter);
    if (at == std::string::npos) {
        std::string all = std::move(text);
        text.clear();
        return all;
    }
    std::string head = text.substr(0, at);
    text.erase(0, at + delimiter.size());
    return head;
}

std::string DivideHalf(std::string_view text, std::string_view delimiter) {
    const std::size_t at = delimiter.empty() ? std::string_view::npos : text.find(delimiter);
    return std::string(text.substr(0, at));
}

std::string MidOther(std::string_view text, Long start, Long length, std::string_view replacement) {
    const auto chars = SplitUtf8(text);
    if (start < 1) start = 1;
    if (length < 0) length = 0;
    const std::size_t from = ByteOffsetOf(chars, text.size(), start);
    const Long endPos = start + std::min<Long>(length, INT32_MAX - start);
    const std::size_t to = ByteOffsetOf(chars, text.size(), endPos);
    std::string out(text.substr(0, from));
    out += replacement;
    out += text.substr(to);
    return out;
}

void TextAdd(std::string& text, std::string_view line) {
    text += line;
    text += "\r\n";
}

void TextChange(std::string& text, std::string_view search, std::string_view replacement,
                Long compare) {
    if (search.empty() || text.empty()) return;
    const auto chars = SplitUtf8(text);
    const auto needle = SplitUtf8(search);
    std::string out;
    std::size_t copied = 0;  // bytes of `text` already handled
    std::size_t from = 0;
    for (long at; (at = FindChars(chars, needle, from, compare)) >= 0;) {
        const auto first = static_cast<std::size_t>(at);
        const Utf8Char& last = chars[first + needle.size() - 1];
        out.append(text, copied, chars[first].offset - copied);
        out += replacement;
        copied = last.offset + last.size;
        from = first + needle.size();
    }
    if (copied == 0 && out.empty()) return;
    out.append(text, copied, std::string::npos);
    text = std::move(out);
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool EqualsNoCaseAscii(std::string_view a, std::string_view b) {
    return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

}  // namespace brumil::core
