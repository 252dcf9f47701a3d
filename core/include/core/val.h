#pragma once
// Reading numbers from text the way the original language's Val does.
//
// The leading number of the text is read: blanks (space, tab, line feed) are
// skipped wherever they appear inside it, then an optional sign, digits with an
// optional fraction and an optional exponent ("E" or "D"), or "&H" followed by
// hexadecimal digits ("&O" octal). Reading stops at the first other character.
// Hexadecimal and octal literals of up to 16 bits are taken as 16-bit signed
// values and longer ones as 32-bit signed values ("&HFFFF" is -1, "&H10000" is
// 65536), as the original language types them.

#include <optional>
#include <string_view>

#include "core/vb_types.h"

namespace brumil::core {

// The leading number, or nothing when the text does not start with one.
std::optional<double> ParseLeadingNumber(std::string_view text);

// The leading number, 0 when there is none. Overflowing values are infinite.
double Val(std::string_view text);

// The leading number rounded half to even and clamped to the 32-bit range;
// 0 when the text does not start with a number.
Long LVal(std::string_view text);

// As LVal, then clamped to min..max (a reversed range is put in order).
Long LValBound(std::string_view text, Long min = INT32_MIN, Long max = INT32_MAX);

// The leading number as a Single clamped to min..max; 0 when the text does not
// start with a number.
Single SValBound(std::string_view text, Single min = -32767.0f, Single max = 32767.0f);

}  // namespace brumil::core
