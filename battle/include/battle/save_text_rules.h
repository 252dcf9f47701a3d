#pragma once
// Text rules shared by the two save files (the progress file here, the
// settings file in the shell): how a file text is cut into lines, how a number
// field is read, and how values are made safe to write on one line.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/vb_types.h"

namespace brumil::battle::save_text {

// Cuts a file text into lines at every LF; a CR just before the LF (or at the
// very end of the text) belongs to the line break. A final line break does not
// start another line, so "a\r\nb\r\n" gives {"a", "b"}.
std::vector<std::string_view> SplitFileLines(std::string_view text);

// A decimal integer with optional blanks (space, tab) around it and an optional
// sign, within the 32-bit range; anything else gives nothing.
std::optional<Long> ParseDecimalLong(std::string_view text);

// The text before the first `delimiter`, removing it and the delimiter from
// `rest`; without a delimiter the whole of `rest`, which is left empty.
std::string_view TakeUntil(std::string_view& rest, char delimiter);

// The text with CR, LF and NUL removed.
std::string StripLineBreaks(std::string_view text);

// The text with every CR LF pair, and every lone CR or LF, replaced by
// `replacement`; NUL characters are removed.
std::string ReplaceLineBreaks(std::string_view text, std::string_view replacement);

}  // namespace brumil::battle::save_text
