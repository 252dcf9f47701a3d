#pragma once
// The character-level readers of the script language.
//
// The interpreter holds its texts as code points (one element per character),
// so that positions count characters and a Japanese character never splits.
// Every reader takes a 1-based character position and advances it; outside
// the text the class is 0 (end of line).
//
// Character classes:
//   0          end of line: CR, the other control codes, past the end
//   1          blank: TAB, LF, space, the ideographic space
//   128 + c    a printable ASCII symbol c
//   256 + c    an ASCII digit c
//   512 + c    an ASCII letter or "_"
//   1024       any other character

#include <string>
#include <string_view>

#include "core/vb_types.h"

namespace brumil::script {

using Chars = std::u32string;
using CharsView = std::u32string_view;

inline constexpr Long kClassEnd = 0;
inline constexpr Long kClassBlank = 1;
inline constexpr Long kClassSymbol = 128;
inline constexpr Long kClassDigit = 256;
inline constexpr Long kClassLetter = 512;
inline constexpr Long kClassOther = 1024;

// Group tests on a class value.
constexpr bool IsSymbolClass(Long c) {
    return c >= 128 && c < 256;
}
constexpr bool IsDigitClass(Long c) {
    return c >= 256 && c < 384;
}
constexpr bool IsLetterClass(Long c) {
    return c >= 512 && c < 640;
}
// Characters that make up names and number tokens (digits, letters, others).
constexpr bool IsWordClass(Long c) {
    return c >= 256;
}

// Operator codes. The precedence class of an operator is its code with the
// low four bits cleared; a higher class binds tighter.
namespace op {
inline constexpr Long kClose = 16;        // )
inline constexpr Long kOrElse = 32;       // ||
inline constexpr Long kAndAlso = 48;      // &&
inline constexpr Long kXor = 64;          // ^
inline constexpr Long kOr = 80;           // |
inline constexpr Long kAnd = 96;          // &
inline constexpr Long kEqual = 128;       // ==
inline constexpr Long kNotEqual = 129;    // !=
inline constexpr Long kLess = 144;        // <
inline constexpr Long kGreater = 145;     // >
inline constexpr Long kLessEq = 146;      // <=
inline constexpr Long kGreaterEq = 147;   // >=
inline constexpr Long kAdd = 256;         // +
inline constexpr Long kSub = 257;         // -
inline constexpr Long kMod = 272;         // %
inline constexpr Long kDiv = 273;         // /
inline constexpr Long kMul = 274;         // *
inline constexpr Long kNot = 480;         // ! (prefix)
inline constexpr Long kRandom = 481;      // ? (prefix)
inline constexpr Long kPlain = 482;       // @ (prefix)
inline constexpr Long kOpen = 512;        // (
inline constexpr Long kLet = 1024;        // =
inline constexpr Long kLetAdd = 1025;     // +=
inline constexpr Long kLetSub = 1026;     // -=
inline constexpr Long kIncrement = 1027;  // ++
inline constexpr Long kDecrement = 1028;  // --
inline constexpr Long kLetRandom = 1029;  // ?=
inline constexpr Long kLetList = 1030;    // @=
inline constexpr Long kPrefixClass = 480;
constexpr Long ClassOf(Long code) {
    return code & 0x7FF0;
}
constexpr bool IsAssignment(Long code) {
    return code >= 1024 && code <= 2046;
}
}  // namespace op

// The operator table: the code of the pair first + 128 x second (both ASCII),
// or of a single character when second is 0; 0 when there is no entry or a
// character lies outside ASCII.
Long OperatorCode(char32_t first, char32_t second);

// UTF-8 to code points and back. A byte that is not part of a well-formed
// sequence becomes a code point of its own (U+DC80..U+DCFF, which UTF-8
// cannot carry) and is written back as the same byte, so any text round-trips.
Chars ToChars(std::string_view utf8);
std::string ToUtf8(CharsView text);

// The class of one character.
Long CharClassOf(char32_t c);

// The text without leading and trailing blanks.
Chars Trim(CharsView text);
// True when the text holds a "$" followed later by another "$".
bool HasMarker(CharsView text);
// The characters from the 1-based `start`, `length` of them (the rest when
// length < 0); positions outside the text give what overlaps.
Chars MidChars(CharsView text, Long start, Long length = -1);

// ReadChar: the class at pos; pos unchanged.
Long ReadChar(CharsView text, Long pos);
// ReadPrefix: skips blanks; answers the class of the first other character.
Long ReadPrefix(CharsView text, Long& pos);
// ReadToken: after the blanks, a run of word characters, or one character.
Long ReadToken(CharsView text, Long& pos, Chars& token);
// ReadOperator: as ReadToken; for a symbol `code` is its operator code, taking
// a second character when the pair has an entry of its own; 0 for no entry
// and for anything that is not a symbol.
Long ReadOperator(CharsView text, Long& pos, Chars& token, Long& code);
// ReadEndMultiple: after the blanks, the part up to the next end of line, "^"
// or ";"; pos after that character, whose class is answered.
Long ReadEndMultiple(CharsView text, Long& pos, Chars& part);
// ReadEnd: the same, stopping only at an end of line.
Long ReadEnd(CharsView text, Long& pos, Chars& part);
// ReadSpace: the same, stopping at the first blank or end of line.
Long ReadSpace(CharsView text, Long& pos, Chars& part);
// ReadLabel: a label between double quotes, trimmed; bad when a quote is
// missing (the label is empty when the opening one is).
void ReadLabel(CharsView text, Long& pos, Chars& label, bool& bad);
// ReadDiv: moves past the next "," or "/"; bad when the line ends first.
void ReadDiv(CharsView text, Long& pos, bool& bad);
// ReadVariable: a name (starting with a letter or "_") and the text inside
// its outer brackets, if any; bad when a "]" is missing. A text that does not
// start with a name gives an empty name and index.
Long ReadVariable(CharsView text, Long& pos, Chars& name, Chars& index, bool& bad);

}  // namespace brumil::script
