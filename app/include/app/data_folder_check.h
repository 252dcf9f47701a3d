#pragma once
// The check at start that the data root holds the game's data: a "data"
// folder or its archive "data.pak", found case-insensitively like every other
// file. Without either, every picture, sound and font would be missing and the
// screens would stay blank without a word, so the program refuses to start and
// says where it looked.

#include <optional>
#include <string>
#include <string_view>

#include "app/failure_log.h"
#include "battle/mod_sumpa.h"

namespace brumil::app {

// The title of the boxes that end the program at start.
inline constexpr std::string_view kStartupFailureTitle = battle::kSumpaFailureTitle;

// The box's text when the data root holds neither "data" nor "data.pak";
// nothing when it holds one.
std::optional<std::string> MissingDataText();

// When the data is missing: shows the box (titled kStartupFailureTitle),
// writes its words as one line through `log` and answers false.
bool CheckDataFolder(const battle::StartupFailureBox& show, const FailureLog& log);

}  // namespace brumil::app
