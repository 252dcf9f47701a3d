// The character tables of the select and continue screens.
#include <algorithm>
#include <array>
#include <string_view>

#include "core/api.h"
#include "frontend/application_config.h"

namespace brumil::frontend {
namespace {

constexpr Long kCharaCount = 8;
constexpr Long kRandomPick = 0;

bool IsCharaId(Long id) {
    return id >= 1 && id <= kCharaCount;
}

// Slot order on the select screen (slot 8 is the random pick).
constexpr std::array<Long, 9> kSlotToId = {1, 2, 3, 7, 5, 6, 4, 8, kRandomPick};

// Portrait offsets downwards, by id 1..8.
constexpr std::array<Long, 9> kPortraitY = {0, 0, 28, 15, 5, 50, 40, 50, -10};

constexpr std::array<std::string_view, 9> kFolders = {
    "chara_none\\",  "chara_vesna\\", "chara_pell\\",    "chara_odrane\\", "chara_marwenne\\",
    "chara_tolka\\", "chara_brisa\\", "chara_gundral\\", "chara_emmet\\",
};

constexpr std::array<std::string_view, 9> kNames = {
    "？",     "ヴェスナ", "ペル",       "オドラーネ", "マルウェンヌ",
    "トルカ", "ブリーサ", "グンドラル", "エメット",
};

struct Hint {
    std::string_view title;
    std::string_view bomb;
    std::string_view effect;
    std::string_view attack;
    std::string_view last;  // empty: no last line
};

constexpr std::array<Hint, 9> kHints = {{
    {},
    {"白い魔術師", "固有ボム・テーブルターニング", "相手の弾を反射する",
     "通常攻撃・ローリングサンダー", ""},
    {"魔力の無い魔術師", "固有ボム・", "高速移動しつつ相手の弾を反射する",
     "通常攻撃・ブラストブレイド", "固定能力・移動が高速"},
    {"春の神殿に仕えている巫女", "固有ボム・エイプリルブラスター", "相手の攻撃をすべて消し去る",
     "通常攻撃・フラワーガーデン", ""},
    {"異界を渡る魔術師", "固有ボム・ステイシス", "双方の弾を停止させたり消したり反射したりする",
     "通常攻撃・メテオフォール", ""},
    {"幼い吸血鬼", "固有ボム・シャドウフリップ", "相手の弾を光線攻撃に変化して反射する",
     "通常攻撃・デススパイラル", ""},
    {"赤と黒の魔術師", "固有ボム・ルナティックカウンター", "すべての弾をトラップにする",
     "通常攻撃・フォールスリープ", ""},
    {"コンペイトウの精霊", "固有ボム・アゴニイトロップ",
     "相手の弾を相手のトリガで炸裂するトラップにする", "通常攻撃・ショックウェーブ", ""},
    {"闇を討つ勇者", "固有ボム・アルティメットハザード", "相手の弾をはじきとばしつつ反射する",
     "通常攻撃・スターソード", "固定能力・移動が遅い"},
}};

constexpr std::string_view kRandomHint = "キャラクターをランダムに選びます。";

}  // namespace

Long ApplicationConfig::IndexExchange(Long slot) {
    if (slot < 0 || slot >= static_cast<Long>(kSlotToId.size())) return kRandomPick;
    return kSlotToId[static_cast<std::size_t>(slot)];
}

core::CRect ApplicationConfig::CharaRect(Long id) {
    const Long y = IsCharaId(id) ? kPortraitY[static_cast<std::size_t>(id)] : 0;
    return core::CRect(0, y, 420, 420);
}

std::string ApplicationConfig::CharaFolder(Long id) {
    if (id < 0 || id > kCharaCount) return {};
    return std::string(kFolders[static_cast<std::size_t>(id)]);
}

std::string ApplicationConfig::CharaName(Long id) {
    if (id < 0 || id > kCharaCount) return {};
    return std::string(kNames[static_cast<std::size_t>(id)]);
}

std::string ApplicationConfig::CharaHint(Long id) {
    if (id == kRandomPick) return std::string(kRandomHint);
    if (!IsCharaId(id)) return {};
    const Hint& h = kHints[static_cast<std::size_t>(id)];
    std::string text;
    for (std::string_view line :
         {h.title, std::string_view(), h.bomb, h.effect, std::string_view(), h.attack}) {
        text += line;
        text += "\r\n";
    }
    if (h.last.empty()) {
        text.resize(text.size() - 2);  // no line break after the last line
    } else {
        text += h.last;
    }
    return text;
}

Long ApplicationConfig::GetEnem(std::span<const Long> taken, const RandomRange& rnd) {
    const auto isTaken = [&](Long id) {
        return std::find(taken.begin(), taken.end(), id) != taken.end();
    };
    bool anyFree = false;
    for (Long id = 1; id <= kCharaCount; ++id) anyFree = anyFree || !isTaken(id);
    if (!anyFree) return 0;
    for (;;) {
        const Long id = rnd(1, kCharaCount);
        if (!isTaken(id)) return id;
    }
}

Long ApplicationConfig::GetEnem(std::span<const Long> taken) {
    return GetEnem(taken, [](Long min, Long max) { return core::gApi().Rnd(min, max); });
}

}  // namespace brumil::frontend
