#pragma once
// Small conversions shared by the interpreter's parts.

#include <cstdint>
#include <string>
#include <vector>

#include "core/text.h"
#include "core/val.h"
#include "core/vb_types.h"
#include "script/script_reader.h"

namespace brumil::script {

// The key of a name in the name and label tables: ASCII letters lower-cased.
inline std::string KeyOf(CharsView name) {
    return core::LowerAscii(ToUtf8(name));
}

// The leading number of a text, rounded and bounded.
inline Long LongOf(CharsView text, Long min = INT32_MIN, Long max = INT32_MAX) {
    return core::LValBound(ToUtf8(text), min, max);
}

inline Chars DecimalOf(std::int64_t value) {
    return ToChars(std::to_string(value));
}

// The parts of a text between the separator.
inline std::vector<Chars> SplitChars(CharsView text, char32_t separator) {
    std::vector<Chars> parts;
    std::size_t from = 0;
    while (true) {
        const auto at = text.find(separator, from);
        parts.emplace_back(text.substr(from, at == CharsView::npos ? CharsView::npos : at - from));
        if (at == CharsView::npos) return parts;
        from = at + 1;
    }
}

}  // namespace brumil::script
