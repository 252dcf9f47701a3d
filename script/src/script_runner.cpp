// Stepping: one command per Coming, block statements and jumps.

#include <cstdint>
#include <optional>

#include "script/brisa_script.h"
#include "script_messages.h"
#include "script_support.h"

namespace brumil::script {

void CBrisaScriptBRS8::Coming(Long& kindOut, std::string& text) {
    if (pc_ < 0 || pc_ >= CommandCount()) {
        kindOut = -1;
        text.clear();
        return;
    }
    const CommandRecord& c = commands_[static_cast<std::size_t>(pc_)];
    switch (c.Kind) {
        case kind::kEmpty:
            kindOut = kind::kEmpty;
            text.clear();
            break;
        case kind::kText:
        case kind::kLabel:
            kindOut = c.Kind;
            text = ToUtf8(Substituted(c));
            break;
        case kind::kStatement:
            kindOut = c.Target;
            text = ToUtf8(Substituted(c));
            break;
        case kind::kLetInt:
        case kind::kLetStr: {
            kindOut = kind::kStatement;
            Long pos = 1;
            const Chars command = c.Text;
            text = ToUtf8(Assign(command, pos, false, c.Mode == kModeResolved));
            break;
        }
        case kind::kIf:
        case kind::kSelect:
        case kind::kCase:
        case kind::kElse:
        case kind::kElseIf:
        case kind::kEnd:
        case kind::kLoop:
        case kind::kFor:
        case kind::kNext:
            kindOut = kind::kNothing;
            RunBlock(c);
            break;
        case kind::kGoto:
        case kind::kContinue:
        case kind::kBreak:
        case kind::kEndScript:
            kindOut = kind::kLabel;
            RunJump(c);
            break;
        default:
            kindOut = kind::kNothing;
            break;
    }
    ++pc_;
}

bool CBrisaScriptBRS8::ConditionHolds(const CommandRecord& c) {
    return MathExpr(Substituted(c)) != 0;
}

// The variable that begins a "for" text goes one up; 64 bits, because a text
// variable may hold the largest integer.
void CBrisaScriptBRS8::BumpForVariable(const CommandRecord& c) {
    Long pos = 1;
    Chars name;
    Chars index;
    bool bad = false;
    ReadVariable(c.Text, pos, name, index, bad);
    if (name.empty()) return;
    const Long i = MathExpr(index);
    const std::int64_t value = LongOf(GetVar(name, i));
    LetVar(name, i, DecimalOf(value + 1));
}

void CBrisaScriptBRS8::ClearForVariable(const CommandRecord& c) {
    Long pos = 1;
    Chars name;
    Chars index;
    bool bad = false;
    ReadVariable(c.Text, pos, name, index, bad);
    if (name.empty()) return;
    LetVar(name, MathExpr(index), U"0");
}

void CBrisaScriptBRS8::RunBlock(const CommandRecord& c) {
    Long step = 1;
    bool skip = false;
    std::optional<Long> selected;
    switch (c.Kind) {
        case kind::kIf:
            if (ConditionHolds(c)) return;
            break;
        case kind::kSelect:
            selected = MathExpr(Substituted(c));
            break;
        case kind::kCase:
        case kind::kElse:
        case kind::kElseIf:
            // A branch was taken: go past the block's end.
            skip = true;
            break;
        case kind::kFor:
            if (ConditionHolds(c)) return;
            ClearForVariable(c);
            skip = true;
            break;
        case kind::kLoop:
        case kind::kNext:
            step = -1;
            break;
        default:
            return;
    }
    // Forward scans start at depth 0, backward scans at -1: reaching -1 on the
    // way back is the block's opener, which then runs again.
    Long depth = step > 0 ? 0 : -1;
    const bool open = !skip;
    for (Long p = pc_ + step;; p += step) {
        if (p < 0 || p >= CommandCount()) {
            ErrorLine(msg::kBlockOpenAtRun);
            return;
        }
        const CommandRecord& k = commands_[static_cast<std::size_t>(p)];
        bool stop = false;
        switch (k.Kind) {
            case kind::kIf:
            case kind::kSelect:
            case kind::kFor:
                if (depth == -1) {
                    if (k.Kind == kind::kFor) BumpForVariable(k);
                    --p;
                    stop = true;
                } else {
                    ++depth;
                }
                break;
            case kind::kCase:
                stop = depth == 0 && open && selected && MathExpr(Substituted(k)) == *selected;
                break;
            case kind::kElse:
                stop = depth == 0 && open;
                break;
            case kind::kElseIf:
                stop = depth == 0 && open && ConditionHolds(k);
                break;
            case kind::kEnd:
            case kind::kNext:
                if (depth == 0) {
                    stop = true;
                } else {
                    --depth;
                }
                break;
            default:
                break;
        }
        if (stop) {
            pc_ = p;
            return;
        }
    }
}

void CBrisaScriptBRS8::RunJump(const CommandRecord& c) {
    if (c.Mode == kModeResolved) {
        pc_ = c.Target;
        return;
    }
    if (c.Kind != kind::kGoto) return;
    // A computed label: the substituted text, or the label between its quotes
    // when it starts with one.
    Chars label = Trim(Substituted(c));
    if (!label.empty() && label[0] == U'"') {
        const Chars quoted = label;
        Long pos = 1;
        bool bad = false;
        ReadLabel(quoted, pos, label, bad);
    }
    MoveTo(ToUtf8(label));
}

}  // namespace brumil::script
