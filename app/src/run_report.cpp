#include "app/run_report.h"

#include <string_view>

namespace brumil::app {
namespace {

void AddLine(std::string& text, std::string_view line) {
    text.append(line);
    text.append("\r\n");
}

// Right-aligned in a field of six characters; a longer number is shown whole.
std::string RightAligned6(long long value) {
    std::string digits = std::to_string(value);
    if (digits.size() < 6) digits.insert(0, 6 - digits.size(), ' ');
    return digits;
}

}  // namespace

std::string RunReportText(const RunFacts& facts) {
    std::string text;
    AddLine(text, "[Brumilの実行データ]");
    AddLine(text, "");
    AddLine(text, "[サポートされている機能]");
    AddLine(text, facts.SupportText);
    AddLine(text, "");
    AddLine(text, "[サポートされていない機能]");
    AddLine(text, facts.NonSupportText);
    AddLine(text, "");
    AddLine(text, "[VsinkCorrect]");
    AddLine(text, std::to_string(facts.VsinkCorrect) + "/50");
    AddLine(text, "");
    AddLine(text, "[PixelBits]");
    AddLine(text, std::to_string(facts.PixelBits));
    AddLine(text, "");
    AddLine(text, "[BackBuffer]");
    AddLine(text, facts.BackInVideoMemory ? "VRAM" : "SystemMemory");
    AddLine(text, "");
    AddLine(text, "[VideoMemory]");
    AddLine(text, "Total LocalVRAM    =" + RightAligned6(facts.VideoMemoryTotalKB) + "KB");
    // Computed in 64 bits: the difference of two 32-bit figures may not fit.
    const long long used =
        static_cast<long long>(facts.VideoMemoryTotalKB) - facts.VideoMemoryFreeKB;
    AddLine(text, "Use   LocalVRAM    =" + RightAligned6(used) + "KB");
    AddLine(text, "");
    AddLine(text, "[TextureMemory]");
    if (facts.TextureLimit == 0) {
        AddLine(text, "現在のところは足りています");
    } else if (facts.TextureLimit == 1) {
        AddLine(text, "足りなくなりました、自動管理します");
    } else if (facts.TextureLimit > 1) {
        AddLine(text, "足りなくなりました、縮小します");
    }
    AddLine(text, "");
    AddLine(text, "------------------------");
    AddLine(text, "");
    return text;
}

}  // namespace brumil::app
