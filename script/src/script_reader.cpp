#include "script/script_reader.h"

#include <array>
#include <cstddef>

#include "core/text.h"

namespace brumil::script {
namespace {

// Stray bytes of a malformed UTF-8 text are carried as these code points.
constexpr char32_t kStrayBase = 0xDC00;

constexpr std::size_t kOperatorTableSize = 128 * 128;

struct OperatorEntry {
    const char* text;
    Long code;
};

constexpr OperatorEntry kOperators[] = {
    {")", op::kClose},      {"||", op::kOrElse},    {"&&", op::kAndAlso},   {"^", op::kXor},
    {"|", op::kOr},         {"&", op::kAnd},        {"==", op::kEqual},     {"!=", op::kNotEqual},
    {"<", op::kLess},       {">", op::kGreater},    {"<=", op::kLessEq},    {">=", op::kGreaterEq},
    {"+", op::kAdd},        {"-", op::kSub},        {"%", op::kMod},        {"/", op::kDiv},
    {"*", op::kMul},        {"!", op::kNot},        {"?", op::kRandom},     {"@", op::kPlain},
    {"(", op::kOpen},       {"=", op::kLet},        {"+=", op::kLetAdd},    {"-=", op::kLetSub},
    {"++", op::kIncrement}, {"--", op::kDecrement}, {"?=", op::kLetRandom}, {"@=", op::kLetList},
};

using OperatorTable = std::array<Long, kOperatorTableSize>;

constexpr OperatorTable MakeOperatorTable() {
    OperatorTable table{};
    for (const auto& e : kOperators) {
        const auto first = static_cast<std::size_t>(e.text[0]);
        const auto second = static_cast<std::size_t>(e.text[1]);
        table[first + 128 * second] = e.code;
    }
    return table;
}

constexpr OperatorTable kOperatorTable = MakeOperatorTable();

using ClassTable = std::array<Long, 128>;

constexpr ClassTable MakeClassTable() {
    ClassTable table{};
    for (Long c = 0; c < 128; ++c) {
        Long k = kClassEnd;
        if (c == '\t' || c == '\n' || c == ' ') {
            k = kClassBlank;
        } else if (c >= '0' && c <= '9') {
            k = kClassDigit + c;
        } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') {
            k = kClassLetter + c;
        } else if (c >= 33) {
            k = kClassSymbol + c;
        }
        table[static_cast<std::size_t>(c)] = k;
    }
    return table;
}

constexpr ClassTable kClassTable = MakeClassTable();

// The character at a 1-based position, 0 outside the text.
char32_t CharAt(CharsView text, Long pos) {
    if (pos < 1 || static_cast<std::size_t>(pos) > text.size()) return 0;
    return text[static_cast<std::size_t>(pos - 1)];
}

// The part from pos up to (not including) the first character that `stop`
// accepts; pos moves past that character and its class is answered.
template <typename Stop>
Long ReadUntil(CharsView text, Long& pos, Chars& part, Stop stop) {
    ReadPrefix(text, pos);
    const Long from = pos;
    Long c = ReadChar(text, pos);
    while (!stop(c, CharAt(text, pos))) {
        ++pos;
        c = ReadChar(text, pos);
    }
    part = MidChars(text, from, pos - from);
    ++pos;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c >= kStrayBase + 0x80 && c <= kStrayBase + 0xFF) {
        out.push_back(static_cast<char>(c - kStrayBase));
    } else if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

Long OperatorCode(char32_t first, char32_t second) {
    if (first >= 128 || second >= 128) return 0;
    const std::size_t index = first + 128 * static_cast<std::size_t>(second);
    return index < kOperatorTable.size() ? kOperatorTable[index] : 0;
}

Chars ToChars(std::string_view utf8) {
    Chars text;
    text.reserve(utf8.size());
    for (const auto& ch : core::SplitUtf8(utf8)) {
        // A well-formed sequence of one byte is ASCII; a byte above 0x7F on
        // its own is a stray byte.
        const bool stray = ch.size == 1 && ch.code >= 0x80;
        text.push_back(stray ? kStrayBase + ch.code : ch.code);
    }
    return text;
}

std::string ToUtf8(CharsView text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) AppendUtf8(out, c);
    return out;
}

Long CharClassOf(char32_t c) {
    if (c < 128) return kClassTable[c];
    return c == U'\u3000' ? kClassBlank : kClassOther;
}

Chars Trim(CharsView text) {
    std::size_t from = 0;
    std::size_t to = text.size();
    while (from < to && CharClassOf(text[from]) == kClassBlank) ++from;
    while (to > from && CharClassOf(text[to - 1]) == kClassBlank) --to;
    return Chars(text.substr(from, to - from));
}

bool HasMarker(CharsView text) {
    const auto first = text.find(U'$');
    return first != CharsView::npos && text.find(U'$', first + 1) != CharsView::npos;
}

Chars MidChars(CharsView text, Long start, Long length) {
    if (start < 1) start = 1;
    const auto from = static_cast<std::size_t>(start - 1);
    if (from >= text.size()) return {};
    if (length < 0) return Chars(text.substr(from));
    return Chars(text.substr(from, static_cast<std::size_t>(length)));
}

Long ReadChar(CharsView text, Long pos) {
    if (pos < 1 || static_cast<std::size_t>(pos) > text.size()) return kClassEnd;
    return CharClassOf(text[static_cast<std::size_t>(pos - 1)]);
}

Long ReadPrefix(CharsView text, Long& pos) {
    if (pos < 1) pos = 1;
    Long c = ReadChar(text, pos);
    while (c == kClassBlank) c = ReadChar(text, ++pos);
    return c;
}

Long ReadToken(CharsView text, Long& pos, Chars& token) {
    const Long c = ReadPrefix(text, pos);
    const Long from = pos;
    if (IsWordClass(c)) {
        while (IsWordClass(ReadChar(text, pos))) ++pos;
    } else {
        ++pos;
    }
    token = MidChars(text, from, pos - from);
    return c;
}

Long ReadOperator(CharsView text, Long& pos, Chars& token, Long& code) {
    const Long c = ReadToken(text, pos, token);
    code = 0;
    if (!IsSymbolClass(c)) return c;
    const char32_t first = token.empty() ? 0 : token[0];
    const char32_t second = CharAt(text, pos);
    const Long pair = second == 0 ? 0 : OperatorCode(first, second);
    if (pair == 0) {
        code = OperatorCode(first, 0);
    } else {
        code = pair;
        token.push_back(second);
        ++pos;
    }
    return c;
}

Long ReadEndMultiple(CharsView text, Long& pos, Chars& part) {
    return ReadUntil(text, pos, part, [](Long c, char32_t ch) {
        return c == kClassEnd || ch == U'^' || ch == U';';
    });
}

Long ReadEnd(CharsView text, Long& pos, Chars& part) {
    return ReadUntil(text, pos, part, [](Long c, char32_t) { return c == kClassEnd; });
}

Long ReadSpace(CharsView text, Long& pos, Chars& part) {
    return ReadUntil(text, pos, part,
                     [](Long c, char32_t) { return c == kClassEnd || c == kClassBlank; });
}

void ReadLabel(CharsView text, Long& pos, Chars& label, bool& bad) {
    label.clear();
    ReadPrefix(text, pos);
    if (CharAt(text, pos) != U'"') {
        bad = true;
        return;
    }
    const Long from = ++pos;
    while (pos <= static_cast<Long>(text.size()) && CharAt(text, pos) != U'"') ++pos;
    label = Trim(MidChars(text, from, pos - from));
    bad = pos > static_cast<Long>(text.size());
    if (!bad) ++pos;
}

void ReadDiv(CharsView text, Long& pos, bool& bad) {
    if (pos < 1) pos = 1;
    while (true) {
        if (ReadChar(text, pos) == kClassEnd) {
            bad = true;
            return;
        }
        const char32_t ch = CharAt(text, pos++);
        if (ch == U',' || ch == U'/') {
            bad = false;
            return;
        }
    }
}

Long ReadVariable(CharsView text, Long& pos, Chars& name, Chars& index, bool& bad) {
    name.clear();
    index.clear();
    bad = false;
    const Long c = ReadPrefix(text, pos);
    if (!IsLetterClass(c)) return c;
    const Long from = pos;
    while (IsWordClass(ReadChar(text, pos))) ++pos;
    name = MidChars(text, from, pos - from);
    if (CharAt(text, pos) != U'[') return c;
    const Long inner = ++pos;
    Long depth = 1;
    const auto size = static_cast<Long>(text.size());
    for (; pos <= size; ++pos) {
        const char32_t ch = CharAt(text, pos);
        if (ch == U'[') ++depth;
        if (ch == U']' && --depth == 0) break;
    }
    index = MidChars(text, inner, pos - inner);
    bad = pos > size;
    if (!bad) ++pos;
    return c;
}

}  // namespace brumil::script
