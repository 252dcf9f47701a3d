#pragma once
// The player's progress and the text of its file "\save\system.sav"; the
// match results change it, the shell reads and writes the file.
//
// The file is a short text of "key value" lines (CR LF ends): the version
// banner, the unlock level, three win records and one line per non-empty score
// row. It is stored in the save-text encoded form; the reader takes the plain
// text that the loader gives back (which also reads a plain-text file).

#include <array>
#include <string>
#include <string_view>

#include "core/vb_types.h"

namespace brumil::battle {

struct ScoreRow {
    Long Score = 0;         // 0 marks an empty row
    std::string CharaText;  // the character's id text
    std::string LevelText;  // the computer level's name
    std::string DateText;   // date of the match; in memory only, never written

    friend bool operator==(const ScoreRow&, const ScoreRow&) = default;
};

inline constexpr int kScoreRowCount = 100;
inline constexpr std::string_view kSystemSaveVersion = "Brumil7version1.00";
inline constexpr std::string_view kSystemSaveFilePath = "\\save\\system.sav";
inline constexpr Long kPermitMax = 6;

struct SystemSaveRecord {
    std::string Version{kSystemSaveVersion};  // read back as stored, not checked
    Long WinVSFantasitcAI = 0;                // wins against level 4 ("Fantastic")
    Long WinVSMadnessAI = 0;                  // bit n: character n (1..8) has beaten "Madness"
    Long WinVSApocalypseAI = 0;               // kept in the file only
    Long Permit = 0;                          // unlock level 0..6
    // Rows 10 x L .. 10 x L + 9: the ten best of computer level L, best first.
    std::array<ScoreRow, kScoreRowCount> Scores{};

    friend bool operator==(const SystemSaveRecord&, const SystemSaveRecord&) = default;
};

// Numbers 0, texts empty, every row empty, Version the banner above.
void SystemSaveReset(SystemSaveRecord& record);

// The file text before encoding: five header lines, then "Score i,chara,level,
// score" for each row whose score is not 0, in row order. A "," or a line
// break inside a row's texts is written as a blank so that the row keeps its
// fields; line breaks in Version are dropped.
std::string SystemSaveToText(const SystemSaveRecord& record);

// Fills the record from a text, starting from the reset record. Lines may end
// with CR LF or LF alone. Permit is clamped to 0..6 and the win records to
// 0..2147483647 (text that is not a number gives 0); unknown keys are ignored.
// Answers how many lines had a known key.
int SystemSaveFromText(SystemSaveRecord& record, std::string_view text);

// Reads the part of a "Score" line after the key ("index,chara,level,score")
// into its row. An index outside 0..99 or a score that is not a decimal
// integer within the 32-bit range leaves every row as it was.
void ScoreRowFromText(SystemSaveRecord& record, std::string_view rest);

// The run's progress: loaded at start and saved at the end by the shell,
// changed by the match results and read by the level select.
SystemSaveRecord& gSystemSave();

}  // namespace brumil::battle
