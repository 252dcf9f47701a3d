// The "$" markers of texts: "$expression$", "$n:alt1:alt2$", "$name$",
// "$name,start,length$", "$a/b/c$" (one at random) and the full-width
// escapes "$＃$", "$＄$", "$；$", "$＾$" for the characters that would
// otherwise end or open a command.

#include <algorithm>

#include "script/brisa_script.h"
#include "script_messages.h"
#include "script_support.h"

namespace brumil::script {
namespace {

// The ASCII character a full-width escape stands for, 0 for none.
char32_t Unescaped(char32_t c) {
    switch (c) {
        case U'＃':
            return U'#';
        case U'＄':
            return U'$';
        case U'；':
            return U';';
        case U'＾':
            return U'^';
        default:
            return 0;
    }
}

}  // namespace

void CBrisaScriptBRS8::Replace(std::string& text, bool& found) {
    Chars chars = ToChars(text);
    found = ReplaceMarkers(chars);
    if (found) text = ToUtf8(chars);
}

// The result is built in a new text rather than by replacing in place, so a
// line of many markers costs its length, not its length times its markers.
bool CBrisaScriptBRS8::ReplaceMarkers(Chars& text) {
    Chars out;
    std::size_t from = 0;
    while (true) {
        const auto open = text.find(U'$', from);
        if (open == Chars::npos) break;
        const auto close = text.find(U'$', open + 1);
        if (close == Chars::npos) break;
        out.append(text, from, open - from);
        // The inserted text is not searched again.
        out += SubstituteMarker(Trim(CharsView(text).substr(open + 1, close - open - 1)));
        from = close + 1;
    }
    if (from == 0) return false;
    out.append(text, from);
    text = std::move(out);
    return true;
}

Chars CBrisaScriptBRS8::Substituted(const CommandRecord& c) {
    Chars text = c.Text;
    if (c.Mode < kModeResolved) ReplaceMarkers(text);
    return text;
}

Chars CBrisaScriptBRS8::SubstituteMarker(CharsView content) {
    const auto comma = content.find(U',');
    const Chars head = Trim(content.substr(0, comma));
    const CharsView tail = comma == CharsView::npos ? CharsView() : content.substr(comma + 1);
    Long pos = 1;
    const Long cls = ReadPrefix(head, pos);
    if (cls == kClassEnd) return {};
    if (IsDigitClass(cls) || IsSymbolClass(cls)) return SubstituteExpression(head);
    if (IsLetterClass(cls)) return SubstituteVariable(content, head, tail);
    if (const char32_t plain = Unescaped(head[0]); plain != 0) {
        return Chars(1, plain) + head.substr(1);
    }
    return PickPart(head);
}

Chars CBrisaScriptBRS8::SubstituteVariable(CharsView content, CharsView head, CharsView tail) {
    Long pos = 1;
    Chars name;
    Chars index;
    bool bad = false;
    ReadVariable(head, pos, name, index, bad);
    const Long at = FindName(name);
    if (at < 0) {
        ErrorLine(msg::UndeclaredInMarker(ToUtf8(content)));
        return {};
    }
    const NameRecord& record = names_[static_cast<std::size_t>(at)];
    if (record.NameKind == kNameKeyword) {
        ErrorLine(msg::NotForMarkers(ToUtf8(content)));
        return {};
    }
    if (record.NameKind == kNameInt || IsSymbolClass(ReadPrefix(head, pos))) {
        return SubstituteExpression(head);
    }
    if (bad) {
        ErrorLine(msg::kBadIndex);
        return {};
    }
    const Chars value = GetVar(name, MathExpr(index));
    if (tail.empty()) return value;
    const auto comma = tail.find(U',');
    const Chars startText = Trim(tail.substr(0, comma));
    const Chars lengthText = comma == CharsView::npos ? Chars() : Trim(tail.substr(comma + 1));
    const Long start = std::max<Long>(1, MathExpr(startText));
    if (lengthText.empty()) return MidChars(value, start);
    const Long length = MathExpr(lengthText);
    return length >= 1 ? MidChars(value, start, length) : Chars();
}

Chars CBrisaScriptBRS8::SubstituteExpression(CharsView head) {
    const auto colon = head.find(U':');
    const Long v = Evaluate(head.substr(0, colon));
    if (colon == CharsView::npos) return DecimalOf(v);
    const auto choices = SplitChars(head.substr(colon + 1), U':');
    if (v < 1 || v > static_cast<Long>(choices.size())) return {};
    // A choice holds no ":" and no ",", so this goes one level deep at most.
    return SubstituteMarker(Trim(choices[static_cast<std::size_t>(v - 1)]));
}

}  // namespace brumil::script
