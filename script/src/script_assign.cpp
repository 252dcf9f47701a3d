// Assignments: "=", "+=", "-=", "++", "--", "?=" and "@=" on integer and
// string variables.

#include <charconv>
#include <cmath>
#include <cstdint>

#include "core/val.h"
#include "script/brisa_script.h"
#include "script_messages.h"
#include "script_support.h"

namespace brumil::script {
namespace {

// How a right side is read.
enum class RightSide {
    Hash,        // "#text": the text itself
    Raw,         // "$", empty or a non-ASCII first character: kept as it is
    Expression,  // anything else: an integer expression
};

RightSide FormOf(CharsView r) {
    Long pos = 1;
    const Long cls = ReadPrefix(r, pos);
    if (cls == kClassEnd || cls == kClassOther) return RightSide::Raw;
    const char32_t first = r[static_cast<std::size_t>(pos - 1)];
    if (first == U'#') return RightSide::Hash;
    if (first == U'$') return RightSide::Raw;
    return RightSide::Expression;
}

// The trimmed right side without its leading "#".
Chars HashText(CharsView r) {
    Chars t = Trim(r);
    if (!t.empty() && t[0] == U'#') t.erase(0, 1);
    return t;
}

// A difference of two texts read as numbers, written the way a number is shown.
Chars DifferenceOf(CharsView a, CharsView b) {
    const double d = core::Val(ToUtf8(a)) - core::Val(ToUtf8(b));
    if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 1e15) {
        return DecimalOf(static_cast<std::int64_t>(d));
    }
    char buffer[64];
    const auto res =
        std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::general, 15);
    return ToChars(std::string_view(buffer, static_cast<std::size_t>(res.ptr - buffer)));
}

}  // namespace

void CBrisaScriptBRS8::Substitute(std::string_view text, Long& position, bool readOnly,
                                  bool noMarkers, std::string& result) {
    result = ToUtf8(Assign(ToChars(text), position, readOnly, noMarkers));
}

Chars CBrisaScriptBRS8::Assign(CharsView text, Long& pos, bool readOnly, bool noMarkers) {
    Chars name;
    Chars indexText;
    bool bad = false;
    ReadVariable(text, pos, name, indexText, bad);
    if (bad) {
        ErrorLine(msg::kBadIndex);
        return {};
    }
    Chars token;
    Long code = 0;
    ReadOperator(text, pos, token, code);
    const Long index = MathExpr(indexText);
    Chars r = MidChars(text, pos);
    pos = static_cast<Long>(text.size()) + 1;

    bool currentRead = false;
    const auto current = [&]() {
        currentRead = true;
        return GetVar(name, index);
    };
    const auto bounded = [&]() -> std::int64_t { return LongOf(current(), IntMin, IntMax); };

    Chars value;
    switch (code) {
        case op::kLet:
        case op::kLetAdd:
        case op::kLetSub: {
            if (!noMarkers) ReplaceMarkers(r);
            const RightSide form = FormOf(r);
            if (code == op::kLet) {
                if (form == RightSide::Hash) value = HashText(r);
                if (form == RightSide::Raw) value = r;
                if (form == RightSide::Expression) value = DecimalOf(MathExpr(r));
            } else if (form == RightSide::Hash) {
                // "-=" with a text appends it, as "+=" does.
                value = current() + HashText(r);
            } else if (form == RightSide::Raw) {
                value = code == op::kLetAdd ? current() + r : DifferenceOf(current(), r);
            } else {
                const std::int64_t before = bounded();
                const std::int64_t change = MathExpr(r);
                value = DecimalOf(code == op::kLetAdd ? before + change : before - change);
            }
            break;
        }
        case op::kIncrement:
            value = DecimalOf(bounded() + 1);
            break;
        case op::kDecrement:
            value = DecimalOf(bounded() - 1);
            break;
        case op::kLetRandom:
            value = PickPart(Trim(r));
            break;
        case op::kLetList: {
            Chars written;
            const auto parts = SplitChars(Trim(r), U',');
            for (std::size_t j = 0; j < parts.size(); ++j) {
                const Long at = static_cast<Long>(std::min<std::int64_t>(
                    std::int64_t{index} + static_cast<std::int64_t>(j), INT32_MAX));
                if (readOnly) {
                    GetVar(name, at);
                } else {
                    written = LetVar(name, at, parts[j]);
                }
            }
            return written;
        }
        case 0:
            ErrorLine(msg::kNoAssignOperator);
            return {};
        default:
            ErrorLine(msg::kBadAssignOperator);
            return {};
    }
    if (readOnly) {
        if (!currentRead) GetVar(name, index);
        return {};
    }
    return LetVar(name, index, value);
}

}  // namespace brumil::script
