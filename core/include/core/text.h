#pragma once
// Text helpers. Text is UTF-8; positions and lengths count characters (code
// points), 1-based where the caller gives a position. A byte that is not part
// of a well-formed UTF-8 sequence counts as one character of its own and is
// kept as it is.
//
// Compare modes: 0 compares exactly (binary); 1 compares as text: ASCII letters
// without regard to case, and the full-width forms U+FF01..U+FF5E and the
// ideographic space U+3000 alike with their ASCII counterparts, so that ":" and
// "：" match.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/vb_types.h"

namespace brumil::core {

constexpr Long kBinaryCompare = 0;
constexpr Long kTextCompare = 1;

// One character of a UTF-8 text: where it starts, how many bytes it has, and
// its code point (the byte value for a stray byte).
struct Utf8Char {
    std::size_t offset;
    std::size_t size;
    char32_t code;
};
std::vector<Utf8Char> SplitUtf8(std::string_view text);
// The number of characters.
Long CharCount(std::string_view text);
// The code point as text compare sees it.
char32_t FoldForTextCompare(char32_t c);

// 1-based character position of the first `search` at or after `start`, 0
// when absent (an empty search answers `start` when it lies inside the text).
Long InStr(Long start, std::string_view text, std::string_view search,
           Long compare = kBinaryCompare);

// `length` characters from the 1-based `start` (the rest when length < 0).
std::string Mid(std::string_view text, Long start, Long length = -1);

// The text before the first `delimiter`; `text` keeps what follows it. Without
// the delimiter (or with an empty one) the whole text is answered and `text`
// is emptied.
std::string Divide(std::string& text, std::string_view delimiter);
// The text before the first `delimiter`, or the whole text; `text` unchanged.
std::string DivideHalf(std::string_view text, std::string_view delimiter);
// The text with `length` characters from the 1-based `start` replaced by
// `replacement`. A start before 1 is taken as 1, a start past the end appends;
// the length is cut to the characters available.
std::string MidOther(std::string_view text, Long start, Long length, std::string_view replacement);
// Appends the line followed by CR LF.
void TextAdd(std::string& text, std::string_view line);
// Replaces every occurrence of `search` (non-overlapping, left to right) in
// place. An empty search changes nothing.
void TextChange(std::string& text, std::string_view search, std::string_view replacement,
                Long compare = kBinaryCompare);

// ASCII lower case (other characters unchanged).
std::string LowerAscii(std::string_view text);
bool EqualsNoCaseAscii(std::string_view a, std::string_view b);

}  // namespace brumil::core
