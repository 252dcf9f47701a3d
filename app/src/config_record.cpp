#include "app/config_record.h"

#include <array>
#include <utility>

#include "battle/save_text_rules.h"

namespace brumil::app {
namespace {

constexpr std::string_view kCrLf = "\r\n";

void AddLine(std::string& text, std::string_view line) {
    text.append(line);
    text.append(kCrLf);
}

void AddNumber(std::string& text, std::string_view key, Long value) {
    text.append(key);
    text.push_back('=');
    AddLine(text, std::to_string(value));
}

// The number keys, matched exactly (case-sensitive, no blanks removed).
using NumberField = Long ConfigRecord::*;
constexpr std::array<std::pair<std::string_view, NumberField>, 10> kNumberKeys{{
    {"GraphicsAutomation", &ConfigRecord::GraphicsAutomation},
    {"ScreenMode", &ConfigRecord::ScreenMode},
    {"DeviceMode", &ConfigRecord::DeviceMode},
    {"PixelBits", &ConfigRecord::PixelBits},
    {"DisplaySize", &ConfigRecord::DisplaySize},
    {"Disable32BitTexture", &ConfigRecord::Disable32BitTexture},
    {"ZBuffer", &ConfigRecord::ZBuffer},
    {"FPSIndex", &ConfigRecord::FPSIndex},
    {"WaitVsink", &ConfigRecord::WaitVsink},
    {"Volume", &ConfigRecord::Volume},
}};

using TextField = std::string ConfigRecord::*;
constexpr std::array<std::pair<std::string_view, TextField>, 3> kKeyTextKeys{{
    {"Pad0", &ConfigRecord::Pad0},
    {"Pad1", &ConfigRecord::Pad1},
    {"PadX", &ConfigRecord::PadX},
}};

// A key text comes back from its one-line form: every "/" is a line break.
std::string KeyTextFromFile(std::string_view value) {
    std::string out;
    out.reserve(value.size() + 8);
    for (char c : value) {
        if (c == '/') {
            out.append(kCrLf);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace

void ConfigSetDefault(ConfigRecord& record) {
    record = ConfigRecord{};
}

void SetNetworkUserName(ConfigRecord& record, std::string_view name) {
    record.NetworkUserName = battle::save_text::StripLineBreaks(name);
}

std::string ConfigToText(const ConfigRecord& record) {
    std::string text;
    text.reserve(512 + record.Pad0.size() + record.Pad1.size() + record.PadX.size());
    AddLine(text, "[Brumil8x コンフィグデータ]");
    AddLine(text, "");
    AddLine(text, "[グラフィック]");
    AddNumber(text, "GraphicsAutomation", record.GraphicsAutomation);
    AddNumber(text, "ScreenMode", record.ScreenMode);
    AddNumber(text, "DeviceMode", record.DeviceMode);
    AddNumber(text, "PixelBits", record.PixelBits);
    AddNumber(text, "DisplaySize", record.DisplaySize);
    AddNumber(text, "Disable32BitTexture", record.Disable32BitTexture);
    AddNumber(text, "ZBuffer", record.ZBuffer);
    AddNumber(text, "FPSIndex", record.FPSIndex);
    AddNumber(text, "WaitVsink", record.WaitVsink);
    AddLine(text, "");
    AddLine(text, "[サウンド]");
    AddNumber(text, "Volume", record.Volume);
    AddLine(text, "");
    AddLine(text, "[ネットワーク]");
    // The record never holds a line break in the name, but a caller may have
    // assigned the field directly: the file must not gain lines from it.
    AddLine(text, "NetworkUserName=" + battle::save_text::StripLineBreaks(record.NetworkUserName));
    AddLine(text, "");
    AddLine(text, "[キーコンフィグ]");
    for (const auto& [key, field] : kKeyTextKeys) {
        text.append(key);
        text.push_back('=');
        // Every line break, not only CR LF, becomes "/": a lone CR or LF would
        // otherwise end the line in the file and shift the keys after it.
        AddLine(text, battle::save_text::ReplaceLineBreaks(record.*field, "/"));
    }
    AddLine(text, "");
    return text;
}

void ConfigFromText(ConfigRecord& record, std::string_view text) {
    ConfigSetDefault(record);
    for (std::string_view line : battle::save_text::SplitFileLines(text)) {
        std::string_view value = line;
        const std::string_view key = battle::save_text::TakeUntil(value, '=');
        if (key == "NetworkUserName") {
            SetNetworkUserName(record, value);
            continue;
        }
        bool matched = false;
        for (const auto& [name, field] : kKeyTextKeys) {
            if (key == name) {
                record.*field = KeyTextFromFile(value);
                matched = true;
                break;
            }
        }
        if (matched) continue;
        for (const auto& [name, field] : kNumberKeys) {
            if (key == name) {
                if (const auto number = battle::save_text::ParseDecimalLong(value))
                    record.*field = *number;
                break;
            }
        }
    }
}

}  // namespace brumil::app
