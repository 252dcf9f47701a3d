#include "battle/system_save_record.h"

#include <limits>

#include "battle/line_list.h"
#include "battle/save_text_rules.h"
#include "core/val.h"

namespace brumil::battle {
namespace {

constexpr Long kWinMax = std::numeric_limits<Long>::max();

std::string RowText(std::string_view text) {
    std::string out = save_text::ReplaceLineBreaks(text, " ");
    for (char& c : out) {
        if (c == ',') c = ' ';
    }
    return out;
}

}  // namespace

void SystemSaveReset(SystemSaveRecord& record) {
    record = SystemSaveRecord{};
}

std::string SystemSaveToText(const SystemSaveRecord& record) {
    LineList list;
    std::string line;
    list.LineListAdd(line, true);
    const auto add = [&list](std::string text) { list.LineListAdd(text, false); };
    add("Version " + save_text::StripLineBreaks(record.Version));
    add("Permit " + std::to_string(record.Permit));
    add("WinVSFantasitcAI " + std::to_string(record.WinVSFantasitcAI));
    add("WinVSMadnessAI " + std::to_string(record.WinVSMadnessAI));
    add("WinVSApocalypseAI " + std::to_string(record.WinVSApocalypseAI));
    for (int i = 0; i < kScoreRowCount; ++i) {
        const ScoreRow& row = record.Scores[static_cast<std::size_t>(i)];
        if (row.Score == 0) continue;
        add("Score " + std::to_string(i) + "," + RowText(row.CharaText) + "," +
            RowText(row.LevelText) + "," + std::to_string(row.Score));
    }
    std::string text;
    list.LineListAdd(text, true);
    return text;
}

void ScoreRowFromText(SystemSaveRecord& record, std::string_view rest) {
    const Long index = core::LVal(save_text::TakeUntil(rest, ','));
    if (index < 0 || index >= kScoreRowCount) return;
    const std::string_view chara = save_text::TakeUntil(rest, ',');
    const std::string_view level = save_text::TakeUntil(rest, ',');
    const auto score = save_text::ParseDecimalLong(save_text::TakeUntil(rest, ','));
    if (!score) return;
    ScoreRow& row = record.Scores[static_cast<std::size_t>(index)];
    row.CharaText = chara;
    row.LevelText = level;
    row.Score = *score;
}

int SystemSaveFromText(SystemSaveRecord& record, std::string_view text) {
    SystemSaveReset(record);
    int known = 0;
    for (std::string_view line : save_text::SplitFileLines(text)) {
        std::string_view rest = line;
        const std::string_view key = save_text::TakeUntil(rest, ' ');
        if (key == "Version") {
            record.Version = rest;
        } else if (key == "Permit") {
            record.Permit = core::LValBound(rest, 0, kPermitMax);
        } else if (key == "WinVSFantasitcAI") {
            record.WinVSFantasitcAI = core::LValBound(rest, 0, kWinMax);
        } else if (key == "WinVSMadnessAI") {
            record.WinVSMadnessAI = core::LValBound(rest, 0, kWinMax);
        } else if (key == "WinVSApocalypseAI") {
            record.WinVSApocalypseAI = core::LValBound(rest, 0, kWinMax);
        } else if (key == "Score") {
            ScoreRowFromText(record, rest);
        } else {
            continue;
        }
        ++known;
    }
    return known;
}

SystemSaveRecord& gSystemSave() {
    static SystemSaveRecord record;
    return record;
}

}  // namespace brumil::battle
