// Compiling, first half: splitting the source into commands, then parsing
// each command's keyword and the script's own declarations.

#include "core/val.h"
#include "script/brisa_script.h"
#include "script_messages.h"
#include "script_support.h"

namespace brumil::script {
namespace {

// Raw kind of a comment, before parsing makes it kind 0.
constexpr Long kRawComment = -1;

// The kind a command gets from its first character before parsing.
Long RawKind(Long cls, char32_t ch) {
    if (IsLetterClass(cls)) return kind::kStatement;
    if (ch == U'"') return kind::kLabel;
    if (ch == U'#' || ch == U'$' || cls == kClassOther) return kind::kText;
    if (ch == U';') return kRawComment;
    if (ch == U'^' || cls == kClassEnd) return kind::kEmpty;
    return kind::kNothing;  // a digit or another symbol: not a command
}

// The number of characters of a part without its trailing blanks.
Long TrimmedLength(CharsView part) {
    std::size_t n = part.size();
    while (n > 0 && CharClassOf(part[n - 1]) == kClassBlank) --n;
    return static_cast<Long>(n);
}

bool IsWord(CharsView token, std::string_view word) {
    return KeyOf(token) == word;
}

}  // namespace

void CBrisaScriptBRS8::PreProcessEnd() {
    SplitCommands();
    ParseCommands();
    LinkCommands();
    CheckMarkers();
    Move(0);
}

Chars CBrisaScriptBRS8::CommandSource(const CommandRecord& c) const {
    return MidChars(sourceText_, c.Start, c.Length);
}

void CBrisaScriptBRS8::SplitCommands() {
    commands_.clear();
    labelTable_.Clear();
    const CharsView src = sourceText_;
    const auto size = static_cast<Long>(src.size());
    Long pos = 1;
    Long line = 1;
    while (pos <= size) {
        const Long cls = ReadPrefix(src, pos);
        if (pos > size) break;  // only blanks were left
        CommandRecord record;
        record.Start = pos;
        record.Line = line;
        record.Kind = RawKind(cls, src[static_cast<std::size_t>(pos - 1)]);
        Chars part;
        Long endClass = kClassEnd;
        if (record.Kind == kRawComment) {
            endClass = ReadEnd(src, pos, part);
        } else {
            endClass = ReadEndMultiple(src, pos, part);
            // A command ending at ";" leaves the rest of its line a comment.
            if (pos - 1 <= size && src[static_cast<std::size_t>(pos - 2)] == U';') {
                Chars rest;
                endClass = ReadEnd(src, pos, rest);
            }
        }
        record.Length = TrimmedLength(part);
        commands_.push_back(std::move(record));
        if (endClass == kClassEnd) ++line;
    }
}

void CBrisaScriptBRS8::ParseCommands() {
    for (Long i = 0; i < CommandCount(); ++i) {
        pc_ = i;
        CommandRecord& c = commands_[static_cast<std::size_t>(i)];
        switch (c.Kind) {
            case kind::kNothing:
                ErrorLine(msg::kSyntax);
                break;
            case kind::kText: {
                Chars text = CommandSource(c);
                if (!text.empty() && text[0] == U'#') text.erase(0, 1);
                c.Text = std::move(text);
                break;
            }
            case kind::kLabel: {
                const Chars src = CommandSource(c);
                Long pos = 1;
                bool bad = false;
                ReadLabel(src, pos, c.Text, bad);
                if (!c.Text.empty() && labelTable_.Add(KeyOf(c.Text), std::to_string(i + 1)) < 0) {
                    ErrorLine(msg::DuplicateLabel(ToUtf8(c.Text)));
                }
                break;
            }
            case kRawComment:
                c.Kind = kind::kNothing;
                break;
            case kind::kStatement:
                ParseStatement(i);
                break;
            default:
                break;
        }
    }
}

void CBrisaScriptBRS8::ParseStatement(Long index) {
    CommandRecord& c = commands_[static_cast<std::size_t>(index)];
    const Chars src = CommandSource(c);
    Long pos = 1;
    Chars token;
    ReadToken(src, pos, token);
    const Long at = FindName(token);
    if (at < 0 || names_[static_cast<std::size_t>(at)].NameKind != kNameKeyword) return;
    c.Kind = names_[static_cast<std::size_t>(at)].Code;
    // The rest of the command after pos.
    const auto rest = [&src](Long from) { return Trim(MidChars(src, from)); };
    Long after = pos;
    Chars next;
    switch (c.Kind) {
        case kind::kIf:
        case kind::kElseIf:
        case kind::kFor:
            c.Text = rest(pos);
            break;
        case kind::kSelect:
            ReadToken(src, after, next);
            c.Text = rest(IsWord(next, "case") ? after : pos);
            break;
        case kind::kCase:
            ReadToken(src, after, next);
            if (IsWord(next, "else")) c.Kind = kind::kElse;
            c.Text = rest(pos);
            break;
        case kind::kElse:
            ReadToken(src, after, next);
            if (IsWord(next, "if")) {
                c.Kind = kind::kElseIf;
                c.Text = rest(after);
            }
            break;
        case kind::kGoto: {
            bool bad = false;
            ReadLabel(src, pos, c.Text, bad);
            break;
        }
        case kind::kInt:
        case kind::kStr:
        case kind::kExtend:
            ParseDeclaration(index, c.Kind, pos);
            break;
        case kind::kArray:
            ReadToken(src, after, next);
            AddArray(LongOf(next, 0, 32767));
            break;
        default:
            break;
    }
}

// A declaration list such as "int a, b, c = 5". An assignment after the names
// turns the command into that assignment ("c = 5"), compiled by the linker.
void CBrisaScriptBRS8::ParseDeclaration(Long index, Long declKind, Long pos) {
    const Chars src = CommandSource(commands_[static_cast<std::size_t>(index)]);
    Long lastNameAt = 0;
    while (true) {
        const Long cls = ReadPrefix(src, pos);
        if (cls == kClassEnd) return;
        const char32_t ch = src[static_cast<std::size_t>(pos - 1)];
        if (ch == U',') {
            ++pos;
            continue;
        }
        if (ch == U';') return;
        if (IsLetterClass(cls)) {
            lastNameAt = pos;
            Chars name;
            ReadToken(src, pos, name);
            const std::string n = ToUtf8(name);
            if (declKind == kind::kInt) AddInt(n);
            if (declKind == kind::kStr) AddStr(n);
            if (declKind == kind::kExtend) AddExtend(n);
            continue;
        }
        if (!IsSymbolClass(cls)) {
            ErrorLine(msg::kDeclName);
            return;
        }
        Chars token;
        Long code = 0;
        ReadOperator(src, pos, token, code);
        if (!op::IsAssignment(code)) {
            ErrorLine(msg::kDeclOperator);
        } else if (lastNameAt == 0) {
            ErrorLine(msg::kDecl);
        } else {
            CommandRecord& c = commands_[static_cast<std::size_t>(index)];
            c.Start += lastNameAt - 1;
            c.Length -= lastNameAt - 1;
            c.Kind = kind::kStatement;
        }
        return;
    }
}

}  // namespace brumil::script
