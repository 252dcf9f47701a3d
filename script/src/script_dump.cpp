// The program listing: one line per source line, each command as its kind.

#include <string>

#include "script/brisa_script.h"
#include "script_support.h"

namespace brumil::script {
namespace {

constexpr const char* kMarks[] = {" ： ", " ▼ ", " ■ "};

std::string LineNumber(Long line) {
    std::string n = std::to_string(line);
    if (n.size() < 4) n.insert(0, 4 - n.size(), ' ');
    return n;
}

std::string CommandText(const CommandRecord& c) {
    const std::string text = ToUtf8(c.Text);
    switch (c.Kind) {
        case kind::kText:
            return "<テキスト>" + text;
        case kind::kLabel:
            return "<ラベル> \"" + text + "\"";
        case kind::kStatement:
            return "Command[" + std::to_string(c.Target) + "]";
        case kind::kLetInt:
            return "@Int " + text;
        case kind::kLetStr:
            return "@Str " + text;
        case kind::kIf:
            return "@If";
        case kind::kSelect:
            return "@Select";
        case kind::kCase:
            return "@Case";
        case kind::kElse:
            return "@Else";
        case kind::kElseIf:
            return "@ElseIf";
        case kind::kEnd:
            return "@End";
        case kind::kLoop:
            return "@Loop";
        case kind::kFor:
            return "@For " + text;
        case kind::kNext:
            return "@Next";
        case kind::kGoto:
            return "@Goto " + text;
        case kind::kContinue:
            return "@Continue";
        case kind::kBreak:
            return "@Break";
        case kind::kEndScript:
            return "@EndScript";
        case kind::kInt:
            return "@Int";
        case kind::kStr:
            return "@Str";
        case kind::kExtend:
            return "@Extend";
        case kind::kArray:
            return "@Array";
        default:
            return {};
    }
}

}  // namespace

void CBrisaScriptBRS8::DumpAlt() {
    if (pc_ < 0 || pc_ >= CommandCount()) return;
    Long& mark = commands_[static_cast<std::size_t>(pc_)].DumpMark;
    if (mark < 2) ++mark;
}

std::string CBrisaScriptBRS8::Dump() const {
    std::string out;
    bool first = true;
    Long line = 0;
    for (const CommandRecord& c : commands_) {
        if (first || c.Line != line) {
            if (!first) out += "\r\n";
            first = false;
            line = c.Line;
            out += LineNumber(c.Line);
            out += kMarks[c.DumpMark >= 0 && c.DumpMark <= 2 ? c.DumpMark : 0];
        } else {
            out += " ";
        }
        out += CommandText(c);
    }
    return out;
}

}  // namespace brumil::script
