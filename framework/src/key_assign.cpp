#include "framework/key_assign.h"

#include <charconv>

#include "framework/input_codes.h"
#include "platform/base/scan_codes.h"

namespace brumil::framework {

namespace {

namespace scan = platform::scan;

bool ValidPlayer(Long player) {
    return player >= 0 && player < kKeyAssignPlayers;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A field holding exactly one valid code (an optional '+' or '-' sign is read
// and then refused by validation unless the value is valid).
bool ParseCode(std::string_view field, Long& out) {
    field = Trim(field);
    if (field.empty()) return false;
    if (field.front() == '+') field.remove_prefix(1);
    Long value = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc{} || end != field.data() + field.size()) return false;
    if (!IsValidInputCode(value)) return false;
    out = value;
    return true;
}

void LoadLine(KeyAssignRecord& record, std::string_view line) {
    for (int i = 0; i < kKeyAssignEntries; ++i) {
        const std::size_t comma = line.find(',');
        const std::string_view field = line.substr(0, comma);
        Long code = 0;
        if (ParseCode(field, code)) record[std::size_t(i)] = code;
        if (comma == std::string_view::npos) return;
        line.remove_prefix(comma + 1);
    }
}

}  // namespace

KeyAssignTable& gKeyAssign() {
    static KeyAssignTable table{};
    return table;
}

std::string SaveKeyAssign(const KeyAssignTable& table) {
    std::string text;
    for (std::size_t p = 0; p < table.size(); ++p) {
        if (p > 0) text += "\r\n";
        for (std::size_t i = 0; i < table[p].size(); ++i) {
            if (i > 0) text += ',';
            text += std::to_string(table[p][i]);
        }
    }
    return text;
}

void LoadKeyAssign(KeyAssignTable& table, std::string_view text) {
    std::size_t player = 0;
    while (!text.empty() && player < table.size()) {
        const std::size_t lf = text.find('\n');
        LoadLine(table[player++], text.substr(0, lf));
        if (lf == std::string_view::npos) break;
        text.remove_prefix(lf + 1);
    }
}

void SetDefaultKeyAssign1(KeyAssignRecord& record) {
    record.fill(0);
    record[0] = KeyboardCode(scan::Z);
    record[1] = KeyboardCode(scan::X);
    record[2] = KeyboardCode(scan::C);
    record[3] = KeyboardCode(scan::A);
    record[kAssignUp] = KeyboardCode(scan::Up);
    record[kAssignDown] = KeyboardCode(scan::Down);
    record[kAssignLeft] = KeyboardCode(scan::Left);
    record[kAssignRight] = KeyboardCode(scan::Right);
}

void SetDefaultPadAssign(KeyAssignTable& table) {
    for (int p = 0; p < kKeyAssignPlayers; ++p) {
        KeyAssignRecord& r = table[std::size_t(p)];
        for (int b = 0; b < 10; ++b) r[std::size_t(b)] = JoyButtonCode(p, b);
        r[kAssignUp] = JoyDirectionCode(p, kJoyUp);
        r[kAssignDown] = JoyDirectionCode(p, kJoyDown);
        r[kAssignLeft] = JoyDirectionCode(p, kJoyLeft);
        r[kAssignRight] = JoyDirectionCode(p, kJoyRight);
    }
}

void RemoveKeyAssign(KeyAssignTable& table, Long code) {
    if (code == 0) return;
    for (KeyAssignRecord& r : table) {
        for (Long& c : r) {
            if (c == code) c = 0;
        }
    }
}

std::string SaveKeyAssign() {
    return SaveKeyAssign(gKeyAssign());
}
void LoadKeyAssign(std::string_view text) {
    LoadKeyAssign(gKeyAssign(), text);
}
void SetDefaultKeyAssign1(Long player) {
    if (ValidPlayer(player)) SetDefaultKeyAssign1(gKeyAssign()[std::size_t(player)]);
}
void SetDefaultPadAssign() {
    SetDefaultPadAssign(gKeyAssign());
}
void ClearKeyAssign(Long player) {
    if (ValidPlayer(player)) gKeyAssign()[std::size_t(player)].fill(0);
}
void RemoveKeyAssign(Long code) {
    RemoveKeyAssign(gKeyAssign(), code);
}

}  // namespace brumil::framework
