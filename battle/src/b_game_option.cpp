#include "battle/b_game_option.h"

namespace brumil::battle {
namespace {

struct ModeRow {
    Long type0, type1, control0, control1;
    std::string_view caption;
};

// Modes 0 to 8.
constexpr std::array<ModeRow, 9> kModes = {{
    {0, 0, 0, 0, "エラー"},
    {1, 2, 1, 1, "arcade"},
    {1, 2, 1, 1, "freefight"},
    {2, 1, 1, 1, "freefight"},
    {1, 1, 1, 1, "battle"},
    {2, 2, 1, 1, "watch"},
    {3, 3, 2, 2, "replay"},
    {1, 4, 1, 2, "networked battle"},
    {4, 1, 2, 1, "networked battle"},
}};

struct CharaRow {
    std::string_view folder;
    std::string_view id;
};

// Ids 1 to 8.
constexpr std::array<CharaRow, kCharacterCount> kCharas = {{
    {"chara_vesna\\", "vesna"},
    {"chara_pell\\", "pell"},
    {"chara_odrane\\", "odrane"},
    {"chara_marwenne\\", "marwenne"},
    {"chara_tolka\\", "tolka"},
    {"chara_brisa\\", "brisa"},
    {"chara_gundral\\", "gundral"},
    {"chara_emmet\\", "emmet"},
}};

constexpr std::array<std::string_view, kAILevelCount> kLevelNames = {
    "Easy", "Normal", "Hard", "Fantastic", "Madness", "Apocalypse"};

bool IsPlayer(Long player) {
    return player == 0 || player == 1;
}

const ModeRow* Mode(Long mode) {
    if (mode < 0 || mode >= static_cast<Long>(kModes.size())) return nullptr;
    return &kModes[static_cast<std::size_t>(mode)];
}

}  // namespace

std::string_view CharaFolderOf(Long id) {
    if (id < 1 || id > kCharacterCount) return {};
    return kCharas[static_cast<std::size_t>(id - 1)].folder;
}

std::string_view CharaStrOf(Long id) {
    if (id < 1 || id > kCharacterCount) return {};
    return kCharas[static_cast<std::size_t>(id - 1)].id;
}

Long BGameOption::CharaID(Long player) const {
    return IsPlayer(player) ? chara_[static_cast<std::size_t>(player)] : 0;
}

void BGameOption::CharaID(Long player, Long id) {
    if (IsPlayer(player)) chara_[static_cast<std::size_t>(player)] = id;
}

std::string_view BGameOption::CharaFolder(Long player) const {
    return CharaFolderOf(CharaID(player));
}

std::string_view BGameOption::CharaStr(Long player) const {
    return CharaStrOf(CharaID(player));
}

Long BGameOption::PlayerControl(Long player) const {
    const ModeRow* row = Mode(GameMode);
    if (row == nullptr || !IsPlayer(player)) return 0;
    return player == 0 ? row->control0 : row->control1;
}

Long BGameOption::PlayerType(Long player) const {
    const ModeRow* row = Mode(GameMode);
    if (row == nullptr || !IsPlayer(player)) return 0;
    return player == 0 ? row->type0 : row->type1;
}

std::string_view BGameOption::AILevelStr() const {
    if (AILevel < 1 || AILevel > kAILevelCount) return {};
    return kLevelNames[static_cast<std::size_t>(AILevel - 1)];
}

std::string_view BGameOption::ModeCaption() const {
    const ModeRow* row = Mode(GameMode);
    return row == nullptr ? std::string_view{} : row->caption;
}

}  // namespace brumil::battle
