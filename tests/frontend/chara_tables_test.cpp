#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "frontend/application_config.h"

namespace brumil::frontend {
namespace {

using AC = ApplicationConfig;

std::string Hint(std::initializer_list<std::string_view> lines) {
    std::string text;
    bool first = true;
    for (std::string_view line : lines) {
        if (!first) text += "\r\n";
        text += line;
        first = false;
    }
    return text;
}

TEST(CharaTables, EveryIdAndSlot) {
    struct Row {
        Long id;
        Long y;  // CharaRect's Y
        std::string folder;
        bool named;            // CharaName is a non-empty name other than "？"
        std::string hintHead;  // first line of CharaHint ("" for none)
        int hintLines;         // lines of CharaHint, 0 for an empty text
    };
    const Row rows[] = {
        {-1, 0, "", false, "", 0},
        {0, 0, "chara_none\\", false, "キャラクターをランダムに選びます。", 1},
        {1, 0, "chara_vesna\\", true, "白い魔術師", 6},
        {2, 28, "chara_pell\\", true, "魔力の無い魔術師", 7},
        {3, 15, "chara_odrane\\", true, "春の神殿に仕えている巫女", 6},
        {4, 5, "chara_marwenne\\", true, "異界を渡る魔術師", 6},
        {5, 50, "chara_tolka\\", true, "幼い吸血鬼", 6},
        {6, 40, "chara_brisa\\", true, "赤と黒の魔術師", 6},
        {7, 50, "chara_gundral\\", true, "コンペイトウの精霊", 6},
        {8, -10, "chara_emmet\\", true, "闇を討つ勇者", 7},
        {9, 0, "", false, "", 0},
        {100, 0, "", false, "", 0},
    };
    std::vector<std::string> names;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        const core::CRect rect = AC::CharaRect(r.id);
        EXPECT_EQ(rect.X, 0);
        EXPECT_EQ(rect.Y, r.y);
        EXPECT_EQ(rect.Width, 420);
        EXPECT_EQ(rect.Height, 420);
        EXPECT_EQ(AC::CharaFolder(r.id), r.folder);
        const std::string name = AC::CharaName(r.id);
        if (r.named) {
            EXPECT_FALSE(name.empty());
            EXPECT_NE(name, "？");
            names.push_back(name);
        } else {
            EXPECT_EQ(name, r.id == 0 ? "？" : "");
        }
        const std::string hint = AC::CharaHint(r.id);
        int lines = hint.empty() ? 0 : 1;
        for (std::size_t at = hint.find("\r\n"); at != std::string::npos;
             at = hint.find("\r\n", at + 2)) {
            ++lines;
        }
        EXPECT_EQ(lines, r.hintLines);
        EXPECT_EQ(hint.substr(0, r.hintHead.size()), r.hintHead);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end()) << "names must differ";
}

TEST(CharaTables, HintTextsExact) {
    EXPECT_EQ(AC::CharaHint(1), Hint({"白い魔術師", "", "固有ボム・テーブルターニング",
                                      "相手の弾を反射する", "", "通常攻撃・ローリングサンダー"}));
    EXPECT_EQ(AC::CharaHint(2),
              Hint({"魔力の無い魔術師", "", "固有ボム・", "高速移動しつつ相手の弾を反射する", "",
                    "通常攻撃・ブラストブレイド", "固定能力・移動が高速"}));
    EXPECT_EQ(AC::CharaHint(4), Hint({"異界を渡る魔術師", "", "固有ボム・ステイシス",
                                      "双方の弾を停止させたり消したり反射したりする", "",
                                      "通常攻撃・メテオフォール"}));
    EXPECT_EQ(AC::CharaHint(7), Hint({"コンペイトウの精霊", "", "固有ボム・アゴニイトロップ",
                                      "相手の弾を相手のトリガで炸裂するトラップにする", "",
                                      "通常攻撃・ショックウェーブ"}));
    EXPECT_EQ(AC::CharaHint(8), Hint({"闇を討つ勇者", "", "固有ボム・アルティメットハザード",
                                      "相手の弾をはじきとばしつつ反射する", "",
                                      "通常攻撃・スターソード", "固定能力・移動が遅い"}));
    EXPECT_EQ(AC::CharaHint(0), "キャラクターをランダムに選びます。");
}

TEST(CharaTables, IndexExchange) {
    const std::array<Long, 9> ids = {1, 2, 3, 7, 5, 6, 4, 8, 0};
    for (Long slot = 0; slot < 9; ++slot) EXPECT_EQ(AC::IndexExchange(slot), ids[slot]) << slot;
    for (Long slot : {-1, 9, 10, 1000}) EXPECT_EQ(AC::IndexExchange(slot), 0) << slot;
}

TEST(CharaTables, GetEnemDrawsUntilAFreeId) {
    struct Case {
        std::vector<Long> taken;
        std::vector<Long> draws;  // what the generator answers, in order
        Long expected;
        std::size_t drawsUsed;
    };
    const Case cases[] = {
        {{3, 0, 0, 0, 0}, {3, 3, 5}, 5, 3},
        {{3, 5, 0, 0, 0}, {1}, 1, 1},
        {{3, 5, 1, 8, 0}, {8, 1, 5, 3, 2}, 2, 5},
        {{}, {7}, 7, 1},
        {{1, 2, 3, 4, 5, 6, 7}, {1, 2, 8}, 8, 3},
        // Nothing left to draw: no draw at all, no opponent.
        {{1, 2, 3, 4, 5, 6, 7, 8}, {}, 0, 0},
        {{8, 7, 6, 5, 4, 3, 2, 1, 0}, {}, 0, 0},
    };
    for (const Case& c : cases) {
        std::size_t used = 0;
        const auto rnd = [&](Long min, Long max) {
            EXPECT_EQ(min, 1);
            EXPECT_EQ(max, 8);
            if (used >= c.draws.size()) {
                ADD_FAILURE() << "more draws than expected";
                return Long{0};
            }
            return c.draws[used++];
        };
        EXPECT_EQ(AC::GetEnem(c.taken, rnd), c.expected);
        EXPECT_EQ(used, c.drawsUsed);
    }
}

TEST(CharaTables, ArcadeOrderFromSharedGeneratorIsDistinct) {
    for (Long player = 1; player <= 8; ++player) {
        std::array<Long, 5> order = {player, 0, 0, 0, 0};
        for (std::size_t i = 1; i < 5; ++i) {
            order[i] = AC::GetEnem(order);
            ASSERT_GE(order[i], 1);
            ASSERT_LE(order[i], 8);
        }
        std::array<Long, 5> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    }
}

}  // namespace
}  // namespace brumil::frontend
