// The object's life cycle, its name and slot tables, variables and errors.

#include <cstdint>
#include <string>

#include "core/text.h"
#include "core/val.h"
#include "script/brisa_script.h"
#include "script_messages.h"
#include "script_support.h"

namespace brumil::script {
namespace {

struct Keyword {
    const char* name;
    Long code;
};

constexpr Keyword kKeywords[] = {
    {"if", kind::kIf},       {"select", kind::kSelect},       {"switch", kind::kSelect},
    {"case", kind::kCase},   {"else", kind::kElse},           {"elseif", kind::kElseIf},
    {"end", kind::kEnd},     {"loop", kind::kLoop},           {"for", kind::kFor},
    {"next", kind::kNext},   {"goto", kind::kGoto},           {"continue", kind::kContinue},
    {"break", kind::kBreak}, {"endscript", kind::kEndScript}, {"int", kind::kInt},
    {"str", kind::kStr},     {"extend", kind::kExtend},       {"array", kind::kArray},
};

// A lone LF becomes CR LF, so that LF-only texts end their lines.
std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
        out.push_back(text[i]);
    }
    return out;
}

// The text up to the first CR LF.
CharsView FirstLine(CharsView value) {
    const auto at = value.find(U"\r\n");
    return at == CharsView::npos ? value : value.substr(0, at);
}

}  // namespace

CBrisaScriptBRS8::CBrisaScriptBRS8(core::MathRandom random) : random_(random) {}

void CBrisaScriptBRS8::PreProcessBegin(std::string_view text, std::string_view name) {
    sourceText_ = ToChars(WithCrLf(text));
    scriptName_ = std::string(name);
    ErrorClear();
    pc_ = 0;
    commands_.clear();
    nameTable_.Clear();
    labelTable_.Clear();
    names_.clear();
    values_.clear();
    slotNames_.clear();
    lastName_.clear();
    for (const auto& k : kKeywords) Register(ToChars(k.name), {kNameKeyword, k.code, 0});
    lastName_.clear();
}

bool CBrisaScriptBRS8::MoveTo(std::string_view label) {
    const Long index = core::LVal(labelTable_.Item(KeyOf(ToChars(label)))) - 1;
    if (index < 0) return false;
    pc_ = index;
    return true;
}

const CommandRecord& CBrisaScriptBRS8::Command(Long index) const {
    static const CommandRecord kNone;
    if (index < 0 || index >= CommandCount()) return kNone;
    return commands_[static_cast<std::size_t>(index)];
}

// ---- Errors -----------------------------------------------------------------

void CBrisaScriptBRS8::ErrorPost(std::string_view message) {
    const std::string line(message);
    if (addError_) addError_(line);
    // A message holding CR LF counts as the lines it makes in the error text.
    Long lines = 1;
    for (std::size_t at = line.find("\r\n"); at != std::string::npos;
         at = line.find("\r\n", at + 2)) {
        ++lines;
    }
    errorCount_ = errorCount_ > INT32_MAX - lines ? INT32_MAX : errorCount_ + lines;
    // Only the first lines are kept: once one does not fit, none after it is.
    errorsFull_ = errorsFull_ || errorCount_ > kErrorLineLimit ||
                  errorText_.size() + line.size() + 2 > static_cast<std::size_t>(kErrorTextLimit);
    if (!errorsFull_) core::TextAdd(errorText_, line);
}

void CBrisaScriptBRS8::ErrorClear() {
    errorText_.clear();
    errorCount_ = 0;
    errorsFull_ = false;
}

void CBrisaScriptBRS8::ErrorLine(std::string_view message) {
    if (pc_ < 0 || pc_ >= CommandCount()) {
        ErrorPost(message);
        return;
    }
    std::string line = "Error://" + scriptName_ + ":Line ";
    line += std::to_string(commands_[static_cast<std::size_t>(pc_)].Line);
    line += ":";
    line += message;
    ErrorPost(line);
}

// ---- Names and slots --------------------------------------------------------

Long CBrisaScriptBRS8::AllocateSlot(CharsView name) {
    values_.emplace_back();
    slotNames_.emplace_back(name);
    return static_cast<Long>(values_.size()) - 1;
}

bool CBrisaScriptBRS8::Register(CharsView name, NameRecord record) {
    if (name.empty()) {
        ErrorLine(msg::kDeclName);
        return false;
    }
    if (nameTable_.Add(KeyOf(name)) < 0) {
        ErrorLine(msg::Duplicate(ToUtf8(name)));
        return false;
    }
    names_.push_back(record);
    lastName_ = Chars(name);
    return true;
}

Long CBrisaScriptBRS8::FindName(CharsView name) const {
    return name.empty() ? -1 : nameTable_.StringTest(KeyOf(name));
}

void CBrisaScriptBRS8::AddCommand(Long code, std::string_view name) {
    const Chars n = ToChars(name);
    if (code < kFirstHostCode) {
        ErrorLine(msg::ReservedCode(name));
        return;
    }
    Register(n, {kNameHost, code, AllocateSlot(n)});
}

void CBrisaScriptBRS8::AddInt(std::string_view name) {
    const Chars n = ToChars(name);
    Register(n, {kNameInt, 0, AllocateSlot(n)});
}

void CBrisaScriptBRS8::AddStr(std::string_view name) {
    const Chars n = ToChars(name);
    Register(n, {kNameStr, 0, AllocateSlot(n)});
}

void CBrisaScriptBRS8::AddExtend(std::string_view name) {
    const Chars n = ToChars(name);
    if (FindName(n) >= 0) return;
    Register(n, {kNameHost, 0, AllocateSlot(n)});
}

void CBrisaScriptBRS8::AddArray(Long count) {
    if (count > 0 && count > kSlotLimit - SlotCount()) {
        ErrorLine(msg::kTooManyElements);
        return;
    }
    for (Long i = 0; i < count; ++i) {
        // Elements are named base:0001, base:0002, ... after the last name.
        const auto colon = lastName_.find(U':');
        const Chars base = colon == Chars::npos ? lastName_ : lastName_.substr(0, colon);
        const Long last = colon == Chars::npos ? 0 : LongOf(CharsView(lastName_).substr(colon + 1));
        std::string number = std::to_string(static_cast<std::int64_t>(last) + 1);
        if (number.size() < 4) number.insert(0, 4 - number.size(), '0');
        const Chars name = base + U":" + ToChars(number);
        Register(name, {kNameInt, 0, AllocateSlot(name)});
    }
}

// ---- Variables --------------------------------------------------------------

Long CBrisaScriptBRS8::ResolveSlot(CharsView name, Long index, const NameRecord*& record) {
    record = nullptr;
    const Long at = FindName(name);
    if (at < 0) {
        ErrorLine(msg::Undeclared(ToUtf8(name)));
        return -1;
    }
    record = &names_[static_cast<std::size_t>(at)];
    if (record->NameKind == kNameKeyword) {
        ErrorLine(msg::NotAVariable(ToUtf8(name)));
        return -1;
    }
    const std::int64_t slot = std::int64_t{record->Slot} + index;
    if (slot < 0 || slot >= SlotCount()) {
        ErrorLine(msg::kOutOfRange);
        return -1;
    }
    return static_cast<Long>(slot);
}

Chars CBrisaScriptBRS8::LetVar(CharsView name, Long index, CharsView value) {
    const NameRecord* record = nullptr;
    const Long slot = ResolveSlot(name, index, record);
    if (slot < 0) return {};
    const auto s = static_cast<std::size_t>(slot);
    if (record->NameKind == kNameInt) {
        values_[s] = DecimalOf(LongOf(value, IntMin, IntMax));
    } else {
        values_[s] = Trim(FirstLine(value)).substr(0, static_cast<std::size_t>(kValueLimit));
    }
    return slotNames_[s];
}

Chars CBrisaScriptBRS8::GetVar(CharsView name, Long index) {
    const NameRecord* record = nullptr;
    const Long slot = ResolveSlot(name, index, record);
    if (slot < 0) return {};
    return values_[static_cast<std::size_t>(slot)];
}

std::string CBrisaScriptBRS8::LetVariable(std::string_view name, Long index,
                                          std::string_view value) {
    return ToUtf8(LetVar(ToChars(name), index, ToChars(value)));
}

std::string CBrisaScriptBRS8::GetVariable(std::string_view name, Long index) {
    return ToUtf8(GetVar(ToChars(name), index));
}

std::string CBrisaScriptBRS8::strData() const {
    std::string out;
    for (const Chars& slotName : slotNames_) {
        const Long at = FindName(slotName);
        if (at < 0) continue;
        const NameRecord& record = names_[static_cast<std::size_t>(at)];
        if (record.NameKind == kNameKeyword) continue;
        const Chars& value = values_[static_cast<std::size_t>(record.Slot)];
        core::TextAdd(out, ToUtf8(slotName) + "=" + ToUtf8(value));
    }
    return out;
}

void CBrisaScriptBRS8::strData(std::string_view text) {
    if (text.empty()) return;
    const Chars all = ToChars(text);
    std::size_t from = 0;
    while (true) {
        const auto at = all.find(U"\r\n", from);
        const CharsView line =
            CharsView(all).substr(from, at == Chars::npos ? Chars::npos : at - from);
        const auto eq = line.find(U'=');
        if (eq == CharsView::npos) {
            LetVar(Trim(line), 0, {});
        } else {
            LetVar(Trim(line.substr(0, eq)), 0, line.substr(eq + 1));
        }
        if (at == Chars::npos) break;
        from = at + 2;
    }
}

}  // namespace brumil::script
