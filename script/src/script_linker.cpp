// Compiling, second half: linking statements to their names, matching blocks,
// resolving jumps, and checking where "$" markers may stand.

#include <vector>

#include "core/val.h"
#include "script/brisa_script.h"
#include "script_messages.h"
#include "script_support.h"

namespace brumil::script {
namespace {

struct OpenLevel {
    Long command;
    bool isFor;
};

// Kinds whose text is substituted when it runs.
bool TakesMarkers(Long k) {
    switch (k) {
        case kind::kText:
        case kind::kStatement:
        case kind::kIf:
        case kind::kSelect:
        case kind::kCase:
        case kind::kElseIf:
        case kind::kFor:
            return true;
        default:
            return false;
    }
}

}  // namespace

// The nearest label command from `from` in direction `step` (not counting
// `from` itself); the end of the program when there is none.
Long CBrisaScriptBRS8::NearestLabel(Long from, Long step) const {
    for (Long p = from + step; p >= 0 && p < CommandCount(); p += step) {
        if (commands_[static_cast<std::size_t>(p)].Kind == kind::kLabel) return p;
    }
    return CommandCount();
}

void CBrisaScriptBRS8::LinkCommands() {
    std::vector<OpenLevel> levels;
    levels.reserve(kNestingLimit);
    for (Long i = 0; i < CommandCount(); ++i) {
        pc_ = i;
        CommandRecord& c = commands_[static_cast<std::size_t>(i)];
        switch (c.Kind) {
            case kind::kStatement: {
                const Chars src = CommandSource(c);
                Long pos = 1;
                Chars word;
                ReadToken(src, pos, word);
                const Long at = FindName(word);
                const Long nameKind = at < 0 ? 0 : names_[static_cast<std::size_t>(at)].NameKind;
                if (nameKind == kNameHost) {
                    c.Text = Trim(MidChars(src, pos));
                    c.Target = names_[static_cast<std::size_t>(at)].Code;
                } else if (nameKind == kNameInt || nameKind == kNameStr) {
                    c.Kind = nameKind == kNameInt ? kind::kLetInt : kind::kLetStr;
                    c.Text = src;
                    c.Mode = kModeMarkers;
                    // A read-only run shows the assignment's errors now.
                    const Chars text = c.Text;
                    Long p = 1;
                    Assign(text, p, true, false);
                    c.Mode = HasMarker(text) ? kModeMarkers : kModeResolved;
                } else {
                    ErrorLine(msg::Undeclared(ToUtf8(word)));
                }
                break;
            }
            case kind::kIf:
            case kind::kSelect:
            case kind::kFor:
                if (static_cast<Long>(levels.size()) >= kNestingLimit) {
                    ErrorLine(msg::kNestTooDeep);
                } else {
                    levels.push_back({i, c.Kind == kind::kFor});
                }
                break;
            case kind::kCase:
            case kind::kElse:
            case kind::kElseIf:
            case kind::kLoop:
                if (levels.empty()) ErrorLine(msg::kOutsideBlock);
                break;
            case kind::kEnd:
                if (levels.empty()) {
                    ErrorLine(msg::kEndWithoutBlock);
                    break;
                }
                if (levels.back().isFor) c.Kind = kind::kNext;
                levels.pop_back();
                break;
            case kind::kNext:
                if (levels.empty()) {
                    ErrorLine(msg::kNextWithoutBlock);
                    break;
                }
                levels.pop_back();
                break;
            case kind::kGoto: {
                c.Mode = kModeMarkers;
                if (HasMarker(c.Text)) break;
                const Long target = core::LVal(labelTable_.Item(KeyOf(c.Text))) - 1;
                if (target < 0) ErrorLine(msg::UndefinedLabel(ToUtf8(c.Text)));
                c.Target = target < 0 ? i : target;
                c.Mode = kModeResolved;
                break;
            }
            case kind::kContinue:
                c.Target = NearestLabel(i, -1);
                break;
            case kind::kBreak:
                c.Target = NearestLabel(i, 1);
                break;
            case kind::kEndScript:
                c.Target = CommandCount();
                break;
            default:
                break;
        }
    }
    if (!levels.empty()) {
        pc_ = levels.back().command;
        ErrorLine(msg::kBlockNotClosed);
    }
}

void CBrisaScriptBRS8::CheckMarkers() {
    for (Long i = 0; i < CommandCount(); ++i) {
        CommandRecord& c = commands_[static_cast<std::size_t>(i)];
        switch (c.Kind) {
            case kind::kNothing:
            case kind::kLetInt:
            case kind::kLetStr:
            case kind::kGoto:
                continue;
            default:
                break;
        }
        const bool marked = HasMarker(CommandSource(c));
        if (TakesMarkers(c.Kind)) {
            c.Mode = marked ? kModeMarkers : kModeResolved;
            continue;
        }
        c.Mode = kModeResolved;
        if (marked) {
            pc_ = i;
            ErrorLine(msg::kNoMarkerHere);
        }
    }
}

}  // namespace brumil::script
